// The carrier debugger's clock frame and the verdicts on its answer.

#include <gtest/gtest.h>

#include "link/debugger_clock.h"
#include "test_frames.h"

namespace {

using testing_frames::Hex;

TEST(DebuggerClock, FrameOfALocalTime) {
    const struct {
        SystemTime time;
        const char* frame;
    } cases[] = {
        // The day of the week (6 here) is not sent; the sum drops its carries.
        {{2026, 12, 6, 5, 14, 13, 31, 250}, "A5 01 09 EA 07 0C 05 0E 0D 1F FA 00 36 A5"},
        {{2027, 1, 5, 31, 23, 59, 59, 999}, "A5 01 09 EB 07 01 1F 17 3B 3B E7 03 89 A5"},
    };
    for (const auto& c : cases) EXPECT_EQ(DebuggerClockFrame(c.time), Hex(c.frame)) << c.frame;
}

TEST(DebuggerClock, Verdicts) {
    const struct {
        const char* answer;
        const char* verdict;
    } cases[] = {{"A5 01 00 A5", "PLC调试器时钟设置成功"}, {"A5 01 01 A5", "PLC调试器时钟设置失败"},
                 {"A5 01 02 A5", ""}, {"A5 01", ""}};
    for (const auto& c : cases) {
        const ByteString answer = Hex(c.answer);
        EXPECT_EQ(DebuggerClockVerdict(&answer), c.verdict) << c.answer;
    }
    EXPECT_EQ(DebuggerClockVerdict(nullptr), "PLC调试器时钟设置超时，无回复");
    EXPECT_TRUE(IsDebuggerAnswer(Hex("A5")));
    EXPECT_FALSE(IsDebuggerAnswer(Hex("79 A5")));
    EXPECT_FALSE(IsDebuggerAnswer(ByteString()));
}

}  // namespace
