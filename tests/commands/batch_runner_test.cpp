// The batch runner over a module link whose channel is a loopback socket that takes every frame:
// what it sends, which replies it judges, the rows it hands over, skipping and stopping, and the request
// of each device asked for when the run reaches it.

#include "commands/batch_runner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "link/conversions.h"
#include "platform/sync.h"
#include "support/quiet_link_listener.h"
#include "support/udp_sink.h"

namespace {

using Lines = std::vector<std::string>;

using testsupport::QuietLinkListener;

ByteString Bytes(const char* hex) {
    ByteString bytes;
    HexTextToBytes(hex, bytes, 0);
    return bytes;
}

// A reply's first byte: 01 success, 02 failure, anything else another device's.
TestStatus Judge(const ByteString& reply) {
    return reply[0] == 1 ? TestStatus::Success : reply[0] == 2 ? TestStatus::Failure : TestStatus::Unchanged;
}

// Runs the devices and records what the job was told. The page answers on the run's own thread,
// at once, unless the window is made deaf.
struct Runner : UiThread, BatchSteps {
    ModuleLink link;
    testsupport::UdpSink sink{link};
    QueueReplySource replies;
    BatchRunner runner{link, *this, replies, "no thread"};
    BatchSettings settings{30, false, false, false};
    std::map<std::string, ByteString> frames;  // each device's request; none: refused
    StepRequest::Refused refused = StepRequest::Refused::WaitAndFail;
    std::function<void(const ByteString&)> onSent;
    std::atomic<bool> deaf{false};
    std::mutex lock;
    Lines told;
    std::atomic<bool> ended{false};

    explicit Runner(LinkListener& listener, bool resetQueue = false)
        : link(listener),
          replies(resetQueue ? link.Queues().resetInfo : link.Queues().pointRead, link.Queues().pointReadArrived) {}

    void Post(std::function<void()> task) override {
        if (!deaf) task();
    }
    StepRequest Request(size_t index, const std::string& wire) override {
        Tell("asked " + std::to_string(index) + " " + wire);
        StepRequest request;
        request.frame = frames[wire];
        request.refused = refused;
        request.judge = Judge;
        return request;
    }
    void Sent(const ByteString& frame) override {
        Tell("sent " + Hex(frame));
        if (onSent) onSent(frame);
    }
    void Done(const BatchRow& row) override {
        Tell("row " + row.address + " " + std::to_string(static_cast<int>(row.status)) + " " + row.time + " " +
             Hex(row.reply));
    }
    void PortClosed() override { Tell("closed"); }
    void Ended() override { ended = true; }

    void Tell(const std::string& text) {
        std::lock_guard<std::mutex> guard(lock);
        told.push_back(text);
    }
    static std::string Hex(const ByteString& bytes) {
        std::string hex;
        BytesToHexText(hex, bytes);
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
        run.settings.othersGiveWay = c.othersGiveWay;
        run.settings.writesTime = c.writesTime;
        run.frames["120000000000"] = Bytes(c.frame);
        const Lines replies = c.replies;
        run.onSent = [&run, replies](const ByteString&) {
            for (const std::string& r : replies) run.link.Queues().File(ReplyQueueId::PointRead, Bytes(r.c_str()));
        };
        // A reply left from before the run is no answer.
        run.link.Queues().File(ReplyQueueId::PointRead, Bytes("01"));
        ASSERT_EQ(run.runner.Start({"120000000000"}, run.settings, run), 1);
        Lines told = c.told;
        told.insert(told.begin(), "asked 0 120000000000");
        EXPECT_EQ(run.Finish(), told);
        EXPECT_EQ(run.link.History().SentCount() - 1, c.told.size() - 1);  // it counts from 1
        EXPECT_FALSE(run.runner.IsRunning());
    }
    SetLocalTimeSource(nullptr);
}

TEST(BatchRunner, AFlagRaisedByTheQueueThatSharesItIsNoAnswer) {
    // Point reading and reset information share one arrived flag.
    SetLocalTimeSource([] { return SystemTime{}; });
    QuietLinkListener listener;
    Runner run(listener, true);
    run.settings.writesTime = true;
    run.frames["120000000000"] = Bytes("AA");
    run.onSent = [&run](const ByteString&) { run.link.Queues().File(ReplyQueueId::PointRead, Bytes("01")); };
    ASSERT_EQ(run.runner.Start({"120000000000"}, run.settings, run), 1);
    EXPECT_EQ(run.Finish(), (Lines{"asked 0 120000000000", "sent AA", "row 000000000012 2 00 秒 "}));
    SetLocalTimeSource(nullptr);
}

TEST(BatchRunner, WithoutAChannelStepsAreSkippedAndAStopEndsTheWait) {
    QuietLinkListener listener;
    Runner run(listener);
    run.settings.skipsWithoutPort = true;
    run.frames = {{"01", Bytes("AA")}, {"02", Bytes("BB")}};
    ASSERT_EQ(run.runner.Start({"01", "02"}, run.settings, run), 1);
    EXPECT_EQ(run.Finish(), (Lines{"closed", "closed"}));
    EXPECT_EQ(run.link.History().SentCount(), 1u);  // nothing sent: it counts from 1

    // The first step's wait is cut short: it gets no row, and the second is never sent.
    Runner stopped(listener);
    stopped.settings.waitMs = 600000;
    stopped.settings.skipsWithoutPort = true;
    stopped.frames = {{"01", Bytes("AA")}, {"02", Bytes("BB")}};
    stopped.link.SetPortOpen(true);  // an open channel: the step goes out
    ASSERT_EQ(stopped.runner.Start({"01", "02"}, stopped.settings, stopped), 1);
    while (stopped.link.History().SentCount() == 1) SleepMs(1);
    stopped.runner.Stop();
    EXPECT_FALSE(stopped.runner.IsActive());
    EXPECT_EQ(stopped.Finish(), (Lines{"asked 0 01", "sent AA"}));
}

TEST(BatchRunner, EachRequestIsAskedForWhenTheRunReachesItsDevice) {
    // The second device's request changes after the first went out: the new one is sent. A
    // refused request waits and fails, is passed over, or ends the run.
    const struct {
        StepRequest::Refused refused;
        Lines told;
    } cases[] = {
        {StepRequest::Refused::WaitAndFail,
         {"asked 0 01", "sent AA", "row 010000000000 2  ", "asked 1 02", "sent CC", "row 020000000000 2  ",
          "asked 2 03", "row 030000000000 2  "}},
        {StepRequest::Refused::Skip,
         {"asked 0 01", "sent AA", "row 010000000000 2  ", "asked 1 02", "sent CC", "row 020000000000 2  ",
          "asked 2 03"}},
        {StepRequest::Refused::EndRun,
         {"asked 0 01", "sent AA", "row 010000000000 2  ", "asked 1 02", "sent CC", "row 020000000000 2  ",
          "asked 2 03"}},
    };
    for (const auto& c : cases) {
        QuietLinkListener listener;
        Runner run(listener);
        run.settings.waitMs = 0;
        run.refused = c.refused;
        run.frames = {{"01", Bytes("AA")}, {"02", Bytes("BB")}};
        run.onSent = [&run](const ByteString&) { run.frames["02"] = Bytes("CC"); };
        ASSERT_EQ(run.runner.Start({"01", "02", "03", "01"}, run.settings, run), 1);
        Lines told = c.told;
        if (c.refused != StepRequest::Refused::EndRun)
            told.insert(told.end(), {"asked 3 01", "sent AA", "row 010000000000 2  "});
        EXPECT_EQ(run.Finish(), told);
    }
}

TEST(BatchRunner, AStopEndsTheWaitForTheWindowsAnswer) {
    QuietLinkListener listener;
    Runner run(listener);
    run.deaf = true;  // the window never answers
    run.frames = {{"01", Bytes("AA")}};
    ASSERT_EQ(run.runner.Start({"01"}, run.settings, run), 1);
    run.runner.Stop();
    EXPECT_FALSE(run.runner.IsActive());
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.Finish(), Lines{});
    EXPECT_EQ(run.link.History().SentCount(), 1u);
}

}  // namespace
