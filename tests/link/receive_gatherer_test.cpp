#include "link/receive_gatherer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "test_frames.h"

using testing_frames::Hex;

namespace {

void Append(ReceiveGatherer& g, const ByteString& bytes) { g.Append(bytes.data(), bytes.size()); }

// Polls n times; true when none of them took a block.
bool PollsTakeNothing(ReceiveGatherer& g, int n) {
    ByteString block;
    for (int i = 0; i < n; ++i) {
        if (g.Poll(block)) return false;
    }
    return true;
}

}  // namespace

TEST(ReceiveGatherer, BlockIsTakenAtThe52ndPollAfterTheLastChange) {
    ReceiveGatherer g;
    ByteString block;
    EXPECT_FALSE(g.Poll(block));  // nothing received
    Append(g, Hex("79 00 00"));
    EXPECT_TRUE(PollsTakeNothing(g, 1));   // sees the new length
    EXPECT_TRUE(PollsTakeNothing(g, 51));  // quiet, counting up to 51
    ASSERT_TRUE(g.Poll(block));            // the 52nd poll after the change
    EXPECT_EQ(block, Hex("79 00 00"));
    EXPECT_EQ(g.PendingLength(), 0u);
    EXPECT_TRUE(PollsTakeNothing(g, 100));
}

TEST(ReceiveGatherer, GrowthStartsTheQuietCountAgain) {
    ReceiveGatherer g;
    Append(g, Hex("01 02"));
    EXPECT_TRUE(PollsTakeNothing(g, 50));
    Append(g, Hex("03"));
    EXPECT_TRUE(PollsTakeNothing(g, 52));
    ByteString block;
    ASSERT_TRUE(g.Poll(block));
    EXPECT_EQ(block, Hex("01 02 03"));
}

TEST(ReceiveGatherer, ZeroBytesAreKeptAndCounted) {
    ReceiveGatherer g;
    Append(g, Hex("00 00 79 00"));
    EXPECT_EQ(g.PendingLength(), 4u);
    EXPECT_TRUE(PollsTakeNothing(g, 52));
    ByteString block;
    ASSERT_TRUE(g.Poll(block));
    EXPECT_EQ(block, Hex("00 00 79 00"));
}

TEST(ReceiveGatherer, ResetDropsWhatWasReceived) {
    ReceiveGatherer g;
    Append(g, Hex("AA"));
    EXPECT_TRUE(PollsTakeNothing(g, 10));
    g.Reset();
    EXPECT_EQ(g.PendingLength(), 0u);
    Append(g, Hex("BB"));
    EXPECT_TRUE(PollsTakeNothing(g, 52));
    ByteString block;
    ASSERT_TRUE(g.Poll(block));
    EXPECT_EQ(block, Hex("BB"));
}

TEST(ReceiveGatherer, RunTakesEachBurstFedFromAnotherThread) {
    ReceiveGatherer g;
    std::atomic<bool> running{true};
    std::mutex lock;
    std::condition_variable changed;
    std::vector<ByteString> blocks;

    Append(g, Hex("EE"));  // received before the loop starts: dropped by the owner's reset
    g.Reset();
    std::thread gather([&] {
        g.Run([&] { return running.load(); },
              [&](const ByteString& block) {
                  std::lock_guard<std::mutex> l(lock);
                  blocks.push_back(block);
                  changed.notify_all();
              });
    });
    auto waitForBlocks = [&](size_t n) {
        std::unique_lock<std::mutex> l(lock);
        return changed.wait_for(l, std::chrono::seconds(10), [&] { return blocks.size() >= n; });
    };

    EXPECT_EQ(g.PendingLength(), 0u);
    const ByteString first = Hex("79 06 00 80 03 01 02 03 04 05 06 9B 85");
    std::thread feeder([&] { Append(g, first); });
    feeder.join();
    ASSERT_TRUE(waitForBlocks(1));

    std::thread feeder2([&] { Append(g, Hex("01 02 03")); });
    feeder2.join();
    ASSERT_TRUE(waitForBlocks(2));

    running = false;
    gather.join();
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0], first);
    EXPECT_EQ(blocks[1], Hex("01 02 03"));
}

TEST(ReceiveGatherer, RunEndsWhenItsFlagIsCleared) {
    ReceiveGatherer g;
    std::atomic<bool> running{true};
    std::thread gather([&] { g.Run([&] { return running.load(); }, nullptr); });
    running = false;
    gather.join();
    SUCCEED();
}
