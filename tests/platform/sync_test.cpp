#include "platform/sync.h"

#include <gtest/gtest.h>

#include <atomic>

TEST(AutoResetEvent, LetsOneWaiterThroughPerSet) {
    AutoResetEvent e;
    EXPECT_FALSE(e.Wait(0));
    e.Set();
    EXPECT_TRUE(e.Wait(0));
    EXPECT_FALSE(e.Wait(0));  // reset by the first wait
    e.Set();
    e.Reset();
    EXPECT_FALSE(e.Wait(5));
}

TEST(AutoResetEvent, WakesAWaiterOnAnotherThread) {
    AutoResetEvent e;
    std::atomic<bool> woke{false};
    auto t = WorkerThread::Start([&] { woke = e.Wait(kWaitInfinite); });
    ASSERT_TRUE(t);
    e.Set();
    EXPECT_TRUE(t->Join(5000));
    EXPECT_TRUE(woke);
}

TEST(WaitForAnyEvent, ReturnsTheSignalledIndexOrTimeout) {
    AutoResetEvent a, b;
    EXPECT_EQ(WaitForAnyEvent({&a, &b}, 10), kWaitTimeout);
    b.Set();
    EXPECT_EQ(WaitForAnyEvent({&a, &b}, 10), 1);
    EXPECT_EQ(WaitForAnyEvent({&a, &b}, 0), kWaitTimeout);  // consumed
    a.Set();
    b.Set();
    EXPECT_EQ(WaitForAnyEvent({&a, &b}, 0), 0);
    EXPECT_EQ(WaitForAnyEvent({&a, &b}, 0), 1);
    auto t = WorkerThread::Start([&] {
        SleepMs(20);
        a.Set();
    });
    EXPECT_EQ(WaitForAnyEvent({&a, &b}, kWaitInfinite), 0);
    t->Join();
}

TEST(WorkerThread, RunsOnceAndJoins) {
    std::atomic<int> runs{0};
    AutoResetEvent go;
    auto t = WorkerThread::Start([&] {
        go.Wait(kWaitInfinite);
        ++runs;
    });
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->IsFinished());
    EXPECT_FALSE(t->Join(10));
    go.Set();
    EXPECT_TRUE(t->Join(5000));
    EXPECT_TRUE(t->IsFinished());
    EXPECT_EQ(runs, 1);
}

TEST(CriticalSection, IsRecursive) {
    CriticalSection cs;
    LockGuard a(cs);
    LockGuard b(cs);
    std::atomic<bool> got{true};
    auto t = WorkerThread::Start([&] { got = cs.TryLock(); });
    t->Join();
    EXPECT_FALSE(got);
}
