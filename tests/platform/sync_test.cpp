#include "platform/sync.h"

#include <gtest/gtest.h>

#include <sched.h>

#include <atomic>
#include <thread>
#include <vector>

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

// The count follows the thread's affinity, not the machine's processors.
TEST(Threads, TheAllowedCpusAreThoseTheThreadMayRunOn) {
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof(all), &all), 0);
    EXPECT_EQ(AllowedCpuCount(), static_cast<unsigned>(CPU_COUNT(&all)));
    std::vector<int> cpus;
    for (int c = 0; c < CPU_SETSIZE; ++c)
        if (CPU_ISSET(c, &all)) cpus.push_back(c);
    for (size_t allowed : {size_t{1}, size_t{2}}) {
        if (cpus.size() < allowed) continue;
        std::thread([&] {
            cpu_set_t some;
            CPU_ZERO(&some);
            for (size_t i = 0; i < allowed; ++i) CPU_SET(cpus[i], &some);
            ASSERT_EQ(sched_setaffinity(0, sizeof(some), &some), 0);
            EXPECT_EQ(AllowedCpuCount(), allowed);
        }).join();
    }
}
