#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <thread>

// The clock reads the calendar once a second: stamps must still follow it from one second to
// the next and agree with the C library's local time.
TEST(LocalTime, StampsFollowTheCalendarFromSecondToSecond) {
    const SystemTime first = GetLocalTime();
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    for (int attempt = 0; attempt < 3; ++attempt) {
        // The same clock as the stamps: time() reads a coarser one, which may still be in the
        // second before.
        const auto wallSecond = [] { return std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()); };
        const std::time_t before = wallSecond();
        const SystemTime now = GetLocalTime();
        if (wallSecond() != before) continue;  // read across a second: try again
        std::tm tm{};
        localtime_r(&before, &tm);
        EXPECT_EQ(now.year, tm.tm_year + 1900);
        EXPECT_EQ(now.month, tm.tm_mon + 1);
        EXPECT_EQ(now.day, tm.tm_mday);
        EXPECT_EQ(now.hour, tm.tm_hour);
        EXPECT_EQ(now.minute, tm.tm_min);
        EXPECT_EQ(now.second, tm.tm_sec);
        const int64_t apart = SystemTimeToEpochMs(now) - SystemTimeToEpochMs(first);
        EXPECT_GE(apart, 1100);
        EXPECT_LT(apart, 60000);
        return;
    }
    FAIL() << "every read crossed a second";
}
