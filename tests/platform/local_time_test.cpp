#include "platform/local_time.h"

#include <gtest/gtest.h>

TEST(LocalTime, TestClockReplacesAndRestores) {
    const SystemTime fixed{2026, 12, 0, 6, 9, 8, 7, 654};
    SetLocalTimeSource([fixed] { return fixed; });
    EXPECT_EQ(GetLocalTime(), fixed);
    SetLocalTimeSource(nullptr);
    const SystemTime now = GetLocalTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_LE(now.milliseconds, 999);
    EXPECT_NE(now, fixed);
}

TEST(LocalTime, EpochMilliseconds) {
    EXPECT_EQ(SystemTimeToEpochMs(SystemTime{1970, 1, 0, 1, 0, 0, 0, 0}), 0);
    EXPECT_EQ(SystemTimeToEpochMs(SystemTime{2000, 3, 0, 1, 0, 0, 1, 2}), 951868800000LL + 1002);
}
