// The batch runner over a module link without a channel (every frame counts as sent): what it
// sends, which replies it judges, the rows it hands over, skipping and stopping.

#include "commands/batch_runner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "link/conversions.h"
#include "platform/sync.h"
#include "support/quiet_link_listener.h"

namespace {

using Lines = std::vector<std::string>;

using testsupport::QuietLinkListener;

ByteString Bytes(const char* hex) {
    ByteString bytes;
    HexTextToBytes(hex, bytes, 0);
    return bytes;
}

// A reply's first byte: 01 success, 02 failure, anything else another device's.
TestStatus Judge(const std::string&, const ByteString& reply) {
    return reply[0] == 1 ? TestStatus::Success : reply[0] == 2 ? TestStatus::Failure : TestStatus::Unchanged;
}

// Runs the steps and records what the plan was told.
struct Runner {
    ModuleLink link;
    BatchRunner runner{link, "no thread"};
    BatchPlan plan;
    std::mutex lock;
    Lines told;
    std::atomic<bool> ended{false};

    explicit Runner(LinkListener& listener) : link(listener) {
        plan.queue = &link.Queues().pointRead;
        plan.arrived = &link.Queues().pointReadArrived;
        plan.waitMs = 30;
        plan.judge = Judge;
        plan.sent = [this](const ByteString& frame) { Tell("sent " + Hex(frame)); };
        plan.post = [this](const BatchRow& row) {
            Tell("row " + row.address + " " + std::to_string(static_cast<int>(row.status)) + " " + row.time + " " +
                 Hex(row.reply));
        };
        plan.ended = [this] { ended = true; };
    }
    void Tell(const std::string& text) {
        std::lock_guard<std::mutex> guard(lock);
        told.push_back(text);
    }
    static std::string Hex(const ByteString& bytes) {
        std::string hex;
        BytesToHexText(hex, bytes, 0);
        return hex;
    }
    Lines Finish() {
        while (!ended) SleepMs(1);
        runner.Stop();
        std::lock_guard<std::mutex> guard(lock);
        return told;
    }
};

TEST(BatchRunner, SendsEachStepAndJudgesTheRepliesOfItsWait) {
    // Status numbers: 0 unchanged, 1 success, 2 failure. The clock stands still: "00 ms".
    const struct {
        const char* name;
        const char* frame;  // "": refused when built
        Lines replies;      // filed as the request goes out
        bool othersGiveWay, writesTime;
        Lines told;
    } cases[] = {
        {"answer", "AA", {"01"}, false, true, {"sent AA", "row 000000000012 1 00 ms 01"}},
        {"silent", "AA", {}, false, true, {"sent AA", "row 000000000012 2 00 秒 "}},
        {"silent, no time", "AA", {}, false, false, {"sent AA", "row 000000000012 2  "}},
        {"oldest only", "AA", {"00", "01"}, false, true, {"sent AA", "row 000000000012 0 00 ms 00"}},
        {"others give way", "AA", {"00", "02", "01"}, true, false, {"sent AA", "row 000000000012 2  02"}},
        {"only others", "AA", {"00", "03"}, true, false, {"sent AA", "row 000000000012 0  03"}},
        {"refused", "", {}, false, true, {"row 000000000012 2 00 秒 "}},
    };
    SetLocalTimeSource([] { return SystemTime{}; });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QuietLinkListener listener;
        Runner run(listener);
        run.plan.othersGiveWay = c.othersGiveWay;
        run.plan.writesTime = c.writesTime;
        const Lines replies = c.replies;
        run.plan.sent = [&run, replies](const ByteString& frame) {
            run.Tell("sent " + Runner::Hex(frame));
            for (const std::string& r : replies) run.link.Queues().File(ReplyQueueId::PointRead, Bytes(r.c_str()));
        };
        // A reply left from before the run is no answer.
        run.link.Queues().File(ReplyQueueId::PointRead, Bytes("01"));
        ASSERT_EQ(run.runner.Start({{"120000000000", Bytes(c.frame)}}, run.plan), 1);
        EXPECT_EQ(run.Finish(), c.told);
        EXPECT_EQ(run.link.History().SentCount() - 1, c.told.size() - 1);  // it counts from 1
        EXPECT_FALSE(run.runner.IsRunning());
    }
    SetLocalTimeSource(nullptr);
}

TEST(BatchRunner, AFlagRaisedByTheQueueThatSharesItIsNoAnswer) {
    // Point reading and reset information share one arrived flag.
    SetLocalTimeSource([] { return SystemTime{}; });
    QuietLinkListener listener;
    Runner run(listener);
    run.plan.queue = &run.link.Queues().resetInfo;
    run.plan.writesTime = true;
    run.plan.sent = [&run](const ByteString&) { run.link.Queues().File(ReplyQueueId::PointRead, Bytes("01")); };
    ASSERT_EQ(run.runner.Start({{"120000000000", Bytes("AA")}}, run.plan), 1);
    EXPECT_EQ(run.Finish(), Lines{"row 000000000012 2 00 秒 "});
    SetLocalTimeSource(nullptr);
}

TEST(BatchRunner, WithoutAChannelStepsAreSkippedAndAStopEndsTheWait) {
    QuietLinkListener listener;
    Runner run(listener);
    run.plan.portClosed = [&run] { run.Tell("closed"); };
    ASSERT_EQ(run.runner.Start({{"01", Bytes("AA")}, {"02", Bytes("BB")}}, run.plan), 1);
    EXPECT_EQ(run.Finish(), (Lines{"closed", "closed"}));
    EXPECT_EQ(run.link.History().SentCount(), 1u);  // nothing sent: it counts from 1

    // The first step's wait is cut short: it gets no row, and the second is never sent.
    Runner stopped(listener);
    stopped.plan.waitMs = 600000;
    stopped.link.SetPortOpen(true);  // an open channel: the step goes out
    stopped.plan.portClosed = [&stopped] { stopped.Tell("closed"); };
    ASSERT_EQ(stopped.runner.Start({{"01", Bytes("AA")}, {"02", Bytes("BB")}}, stopped.plan), 1);
    while (stopped.link.History().SentCount() == 1) SleepMs(1);
    const std::shared_ptr<WorkerThread> thread = stopped.runner.ThreadWorker().Thread();
    stopped.runner.Stop();
    EXPECT_TRUE(thread->IsFinished());
    EXPECT_EQ(stopped.Finish(), Lines{"sent AA"});
}

}  // namespace
