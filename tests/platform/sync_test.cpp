#include "platform/sync.h"

#include <gtest/gtest.h>

#include <atomic>

TEST(Events, WaitForAnyTakesTheLowestSignalledAndResetsIt) {
    AutoResetEvent a, b;
    EXPECT_EQ(WaitForAnyEvent({&a, &b}, 10), kWaitTimeout);
    a.Set();
    b.Set();
    EXPECT_EQ(WaitForAnyEvent({&a, &b}, 0), 0);
    EXPECT_EQ(WaitForAnyEvent({&a, &b}, 0), 1);
    EXPECT_EQ(WaitForAnyEvent({&a, &b}, 0), kWaitTimeout);  // both consumed
    b.Set();
    b.Reset();
    EXPECT_FALSE(b.Wait(5));
}

TEST(Events, ASetOnAnotherThreadWakesTheWaiterOnce) {
    AutoResetEvent a, b;
    std::atomic<int> woke{-2};
    auto t = WorkerThread::Start([&] { woke = WaitForAnyEvent({&a, &b}, kWaitInfinite); });
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->Join(20));  // nothing set yet
    b.Set();
    EXPECT_TRUE(t->Join(5000));
    EXPECT_TRUE(t->IsFinished());
    EXPECT_EQ(woke, 1);
    EXPECT_FALSE(b.Wait(0));
}
