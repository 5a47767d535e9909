// The link's rooms as plain objects, and the module link over a pseudo-terminal with the
// simulated module. No window.

#include "link/module_link.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <poll.h>
#include <unistd.h>

#include "link/conversions.h"
#include "link/receive_gatherer.h"
#include "sim/sim_module.h"
#include "support/held_line.h"
#include "test_frames.h"

using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

using Lines = std::vector<std::string>;
using std::chrono::milliseconds;

std::string HexOf(const ByteString& bytes) {
    std::string hex;
    BytesToHexText(hex, bytes);
    return hex;
}

// Records what the link reports, from any thread: events as "<what> <hex>", and monitor rows
// as "<kind><number> <hex>".
class Recorder : public LinkListener {
public:
    void OnLogFrame(LogList list, const ByteString& frame) override {
        static const char* const kNames[] = {"none",      "frame",    "search",        "data",
                                             "dataReply", "password", "passwordReply", "passThrough"};
        Add(m_events, std::string(kNames[static_cast<int>(list)]) + " " + HexOf(frame));
    }
    void OnVersionText(const std::string& text) override { Add(m_events, "version " + text); }
    void OnHangUp() override { Add(m_events, "hangUp"); }
    void OnToolFrame(ToolFrame tool, const ByteString& frame) override {
        static const char* const kNames[] = {"none", "searchReport", "broadcast", "panel"};
        Add(m_events, std::string(kNames[static_cast<int>(tool)]) + " " + HexOf(frame));
    }
    void OnFrameRecorded(char kind, const ByteString& frame, const SystemTime&, uint32_t number) override {
        Add(m_rows, kind + std::to_string(number) + " " + HexOf(frame));
    }
    void OnThreadStartFailed(const std::string& text) override { Add(m_events, "failed " + text); }

    Lines Events() { return Copy(m_events); }
    Lines Rows() { return Copy(m_rows); }
    // Waits until done(events, rows) holds; true when it does.
    template <typename F>
    bool WaitFor(F done) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return done(m_events, m_rows); });
    }

private:
    Lines Copy(const Lines& lines) {
        std::lock_guard<std::mutex> lock(m_lock);
        return lines;
    }
    void Add(Lines& lines, std::string line) {
        std::lock_guard<std::mutex> lock(m_lock);
        lines.push_back(std::move(line));
        m_changed.notify_all();
    }
    std::mutex m_lock;
    std::condition_variable m_changed;
    Lines m_events, m_rows;
};

// Records the arrived flag as it stood while the entry was being queued.
struct FlagProbe {
    ArrivedFlag* flag = nullptr;
    int seen = -1;
    explicit FlagProbe(ArrivedFlag* f) : flag(f) {}
    FlagProbe(FlagProbe&& o) noexcept : flag(o.flag), seen(flag->load()) {}
    FlagProbe& operator=(FlagProbe&&) = default;
};

// Every entry of every queue that holds any: the frame's hex text and the second and millisecond
// it was filed at.
Lines Entries(ReplyQueues& q) {
    Lines entries;
    for (ReplyQueue<ReplyEntry>* queue : {&q.sendData, &q.receiveData, &q.remotePassword, &q.passwordRequest,
                                          &q.pointRead, &q.test, &q.resetInfo, &q.cmdF0, &q.config, &q.version,
                                          &q.allFrames}) {
        for (const ReplyEntry& e : queue->Snapshot())
            entries.push_back(HexOf(e.frame) + " " + std::to_string(e.time.second) + "." +
                              std::to_string(e.time.milliseconds));
    }
    return entries;
}

// The queues holding entries, then the arrived flags raised.
std::string Filed(ReplyQueues& q) {
    const std::pair<const char*, size_t> queues[] = {
        {"sendData", q.sendData.Size()},   {"receiveData", q.receiveData.Size()},
        {"remotePassword", q.remotePassword.Size()}, {"passwordRequest", q.passwordRequest.Size()},
        {"pointRead", q.pointRead.Size()}, {"test", q.test.Size()},
        {"resetInfo", q.resetInfo.Size()}, {"cmdF0", q.cmdF0.Size()},
        {"config", q.config.Size()},       {"version", q.version.Size()}};
    const std::pair<const char*, int> flags[] = {
        {"sendData", q.sendDataArrived},   {"receiveData", q.receiveDataArrived},
        {"remotePassword", q.remotePasswordArrived}, {"passwordRequest", q.passwordRequestArrived},
        {"pointRead", q.pointReadArrived}, {"version", q.versionArrived},
        {"config", q.configArrived},       {"test", q.testArrived}};
    std::string filed;
    for (const auto& e : queues) filed += e.second ? std::string(e.first) + " " : "";
    for (const auto& f : flags) filed += f.second ? std::string("+") + f.first + " " : "";
    return filed;
}

}  // namespace

TEST(ReplyQueue, FlagRaisedAfterThePushAndPoppedOnlyWhenNotEmpty) {
    ArrivedFlag arrived{0};
    ReplyQueue<FlagProbe> probes(&arrived);
    probes.Push(FlagProbe(&arrived));
    EXPECT_EQ(arrived, 1);
    FlagProbe popped(&arrived);
    ASSERT_TRUE(probes.Pop(popped));
    EXPECT_EQ(popped.seen, 0);

    ReplyQueue<ByteString> queue(nullptr, 3);  // no flag; beyond 3 entries the oldest goes
    ByteString entry = Hex("EE");
    EXPECT_FALSE(queue.Pop(entry));
    EXPECT_EQ(entry, Hex("EE"));
    for (const char* b : {"01", "02", "03", "04", "05"}) queue.Push(Hex(b));
    EXPECT_EQ(queue.Dropped(), 2u);
    ASSERT_TRUE(queue.Pop(entry));
    EXPECT_EQ(entry, Hex("03"));  // oldest first
    EXPECT_EQ(queue.Snapshot(), (std::vector<ByteString>{Hex("04"), Hex("05")}));
    queue.Clear();
    EXPECT_EQ(queue.Size(), 0u);
    ReplyQueues queues;  // the queues that nothing pops are bounded too
    for (size_t i = 0; i <= kReplyQueueBound; ++i) queues.allFrames.Push(ReplyEntry{Hex("01"), {}});
    EXPECT_EQ(queues.allFrames.Size(), kReplyQueueBound);
}

TEST(Classifier, RoutesByCommandAndSubCode) {
    const struct {
        uint8_t command;
        const char* data;
        Lines events;  // what the listener heard, in order
        const char* filed;
    } cases[] = {
        {0x19, "01", {"search", "searchReport"}, ""},
        {0x1B, "01", {"search"}, ""},
        {0x15, "01 02", {"dataReply"}, "receiveData +receiveData "},
        {0x1E, "01", {"password"}, "remotePassword +remotePassword "},
        {0x1D, "01", {"passwordReply"}, "passwordRequest +passwordRequest "},
        {0x32, "01", {"data"}, "sendData +sendData "},
        {0xF1, "01", {"frame"}, "pointRead +pointRead "},
        {0xF5, "01", {"panel", "broadcast"}, ""},
        {0xF5, "02", {"panel"}, ""},
        {0xF2, "03", {"panel"}, "test +test "},
        {0xF4, "02", {"panel", "frame"}, "resetInfo +pointRead "},
        {0xF4, "03", {"panel", "frame"}, "resetInfo +pointRead "},
        {0x52, "56 51", {"panel"}, "version +version "},
        {0x0E, "01", {"frame"}, ""},
        {0xF0, "01", {"frame"}, "cmdF0 "},
        {0xE2, "01", {"frame"}, "config +config "},
        {0x99, "01", {"frame"}, ""},
    };
    SetLocalTimeSource([] {
        SystemTime t;
        t.second = 7;
        t.milliseconds = 250;
        return t;
    });
    for (const auto& c : cases) {
        Recorder listener;
        ModuleLink link(listener);
        const ByteString frame = MakeFrame(0x80, c.command, c.data);
        link.ClassifyReceivedFrame(frame, kCheckedFrame);
        Lines expected;
        for (const std::string& e : c.events) expected.push_back(e + " " + HexOf(frame));
        EXPECT_EQ(listener.Events(), expected) << HexOf(frame);
        EXPECT_EQ(Filed(link.Queues()), c.filed) << HexOf(frame);
        ASSERT_EQ(link.Queues().allFrames.Size(), 1u);
        EXPECT_EQ(link.Queues().allFrames.Snapshot()[0].frame, frame);
        // Each queue's entry, the all-frames queue's too, carries the time it was filed at.
        const std::string stamped = HexOf(frame) + " 7.250";
        EXPECT_EQ(Entries(link.Queues()), Lines(std::string(c.filed).empty() ? 1 : 2, stamped)) << HexOf(frame);
        link.MonitorThreadStep();  // recorded as received
        EXPECT_EQ(listener.Rows(), Lines{"11 " + HexOf(frame)});
        link.ClassifyReceivedFrame(frame, kCheckedFrame);
        link.ClearQueues();  // every queue and the frames pending for the monitor, not the flags
        link.MonitorThreadStep();
        EXPECT_EQ(listener.Rows().size() + link.Queues().allFrames.Size(), 1u);
        const std::string filed = c.filed;
        EXPECT_EQ(Filed(link.Queues()), filed.substr(std::min(filed.find('+'), filed.size())));
    }
    SetLocalTimeSource(nullptr);
}

TEST(Classifier, RawChunksCommandZeroAndNetworkTestFrames) {
    char dir[] = "/tmp/kvt_link_XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string workingFile = std::string(dir) + "/parsefile.txt";
    Recorder listener;
    ModuleLink link(listener);
    ASSERT_TRUE(link.OpenWorkingFile(workingFile));
    link.ClassifyReceivedFrame(Hex("79 02 00"), kRawChunk);
    // Command 0x00: no row; its data alone, without the two check bytes, reaches the history.
    link.ClassifyReceivedFrame(MakeFrame(0x80, 0x00, "01 02 03"), kCheckedFrame);
    // Command 0x40: numbered into the working file; the test panel's log instead of the history.
    const ByteString netTest = MakeFrame(0x80, 0x40, "0A 0B 0C 0D 0E");
    link.ClassifyReceivedFrame(netTest, kCheckedFrame);
    link.ClassifyReceivedFrame(MakeFrame(0x80, 0x40, "01"), kCheckedFrame);
    link.MonitorThreadStep();
    EXPECT_EQ(listener.Rows(), Lines{"11 010203"});
    EXPECT_EQ(listener.Events(), (Lines{"passThrough 790200", "panel " + HexOf(netTest), "panel 790100804001C2C0"}));
    EXPECT_EQ(link.Queues().allFrames.Size(), 3u);  // not the raw chunk
    TextFile file;
    ASSERT_TRUE(file.Open(workingFile, TextFile::kRead));
    std::string first, second;
    ASSERT_TRUE(file.ReadLine(first) && file.ReadLine(second));
    EXPECT_EQ(first, "接收数据：[  1]0A 0B 0C 0D ");
    EXPECT_EQ(second, "接收数据：[  2]01 C2 C0 00 ");  // the check bytes, then 00 past the end
    EXPECT_FALSE(file.ReadLine(first));
    std::filesystem::remove_all(dir);
}


TEST(Classifier, TheMeterAnswerOfTheRoundsIsKeptAndSignalled) {
    Recorder listener;
    ModuleLink link(listener);
    const kvtsim::Bytes meter = kvtsim::MeterAnswer({0x11, 0x22, 0x33, 0x44, 0x55, 0x66}, {0, 0, 1, 0}, {0x12, 0x34});
    const ByteString block(meter.begin(), meter.end());
    link.SplitReceivedStream(block);  // no rounds running: a raw chunk
    link.SetMeterPass(true, Hex("11 22 33 44 55 66"));
    link.SplitReceivedStream(block);
    EXPECT_TRUE(link.MeterReplyEvent().Wait(0));
    EXPECT_EQ(link.MeterReplyFrame(), block);
    EXPECT_EQ(listener.Events(), Lines{"passThrough " + HexOf(block)});
}

TEST(FrameHistory, NumbersRowsRecordsInOrderAndRestarts) {
    int minute = 0;
    SetLocalTimeSource([&minute] { return SystemTime{2024, 1, 1, 1, 0, static_cast<uint16_t>(minute++), 0, 0}; });
    FrameHistory history;
    Lines rows;
    const auto sink = [&rows](char kind, const ByteString& frame, const SystemTime& time, uint32_t number) {
        rows.push_back(kind + std::to_string(number) + " " + HexOf(frame) + " @" + std::to_string(time.minute));
    };
    history.SetRowSink(sink);
    const SystemTime arrival{2024, 1, 1, 1, 0, 59, 0, 0};
    history.RecordSentFrame('0', Hex("01"));
    history.RecordReceivedFrame('1', Hex("02"), arrival);
    history.SetRecordReceived(false);
    history.RecordReceivedFrame('1', Hex("03"), arrival);  // reception off: no record, no row
    history.SetRecordReceived(true);
    history.RecordSentFrame('0', Hex("04"));
    EXPECT_EQ(rows, (Lines{"01 01 @1", "11 02 @59", "02 04 @4"}));
    EXPECT_EQ(history.Snapshot()[1].shownTime.minute, 2);
    MonitorRecord viewed;
    ASSERT_TRUE(history.MarkViewed(1, viewed));
    ASSERT_TRUE(history.MarkViewed(1, viewed));  // stamped once, the first time
    EXPECT_EQ(viewed.viewedTime.minute, 5);
    EXPECT_FALSE(history.MarkViewed(3, viewed));
    rows.clear();
    history.Replay(sink);  // numbered by index
    EXPECT_EQ(rows, (Lines{"00 01 @0", "11 02 @59", "02 04 @3"}));
    history.Restart(nullptr);
    EXPECT_TRUE(history.Snapshot().empty());
    EXPECT_EQ(history.SentCount() + history.ReceivedCount(), 2u);
    SetLocalTimeSource(nullptr);
}

TEST(FrameHistory, WhenFullDropsTheOldestAndStillReachesRecordsByPosition) {
    SetLocalTimeSource([] { return SystemTime{2024, 1, 1, 1, 0, 0, 0, 0}; });
    const auto frame = [](size_t i) {
        return ByteString{static_cast<unsigned char>(i), static_cast<unsigned char>(i >> 8), static_cast<unsigned char>(i >> 16)};
    };
    FrameHistory history;
    for (size_t i = 0; i <= FrameHistory::kMaxRecords; ++i) history.RecordSentFrame('0', frame(i));
    EXPECT_EQ(history.Size(), FrameHistory::kMaxRecords - FrameHistory::kDropRecords + 1);
    EXPECT_EQ(history.SentCount(), FrameHistory::kMaxRecords + 2);  // the numbers go on
    EXPECT_EQ(history.FirstPosition(), FrameHistory::kDropRecords);
    MonitorRecord r;
    EXPECT_FALSE(history.MarkViewed(FrameHistory::kDropRecords - 1, r));
    for (size_t position : {FrameHistory::kDropRecords, FrameHistory::kMaxRecords}) {
        ASSERT_TRUE(history.MarkViewed(position, r)) << position;
        EXPECT_EQ(r.frame, frame(position)) << position;
    }
    history.Restart(nullptr);
    EXPECT_EQ(history.Size(), 0u);
    EXPECT_EQ(history.FirstPosition(), 0u);
    EXPECT_FALSE(history.MarkViewed(0, r));
    // Positions count afresh from the emptying. A clock that moves at every reading: the three
    // records are made at minutes 0, 2 and 4, and one mark stamps them all at minute 6.
    int minute = 0;
    SetLocalTimeSource([&minute] { return SystemTime{2024, 1, 1, 1, 0, static_cast<uint16_t>(minute++), 0, 0}; });
    for (size_t i = 0; i < 3; ++i) history.RecordSentFrame('0', frame(i));
    history.MarkViewed(0, 2);
    for (size_t position = 0; position < 3; ++position) {
        ASSERT_TRUE(history.MarkViewed(position, r)) << position;
        EXPECT_EQ(r.frame, frame(position));
        EXPECT_EQ(r.shownTime.minute, 2 * position);
        EXPECT_EQ(r.viewedTime.minute, 6) << position;
    }
    SetLocalTimeSource(nullptr);
}

TEST(WorkerSet, OneShotRunsOncePerStartAndStopWaitsThroughTheInjectedWait) {
    WorkerSet workers;
    int waits = 0;
    workers.SetWait([&waits](const std::function<bool()>&) { ++waits; });
    Worker once;
    std::atomic<int> runs{0};
    for (int start = 1; start <= 2; ++start) {
        ASSERT_EQ(workers.Start(once, WorkerSet::OneShot(once, [&runs] { ++runs; }), "x"), 1);
        ASSERT_TRUE(once.Thread()->Join(10000));
        EXPECT_EQ(runs.load(), start);  // on a new thread each time
        EXPECT_FALSE(once.IsRunning());
    }
    workers.Stop(once);
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(once.Thread(), nullptr);
    workers.Stop(once);  // nothing left to stop: no wait
    EXPECT_EQ(waits, 1);

    std::vector<std::string> failures;
    workers.SetStartFailure([&failures](const std::string& text) { failures.push_back(text); });
    workers.SetLauncher([](std::function<void()>) { return std::shared_ptr<WorkerThread>(); });
    EXPECT_EQ(workers.Start(once, WorkerSet::OneShot(once, [&runs] { ++runs; }), "no thread"), 0);
    EXPECT_FALSE(once.IsRunning());  // the flag of a thread that never started is clear
    EXPECT_EQ(failures, std::vector<std::string>{"no thread"});
}

// Opens COM9 (the simulated module) and starts the receive path as the settings dialog does.
void OpenLink(ModuleLink& link) {
    ASSERT_EQ(link.CreateSerialComm(), 1);
    link.SerialComm()->SetSettings(SerialSettings{9, 115200, 8, 0, "1"});
    ASSERT_EQ(link.SerialComm()->Open(), SERIAL_OK);
    ASSERT_EQ(link.StartGatherThread() + link.StartMonitorThread(), 2);
    link.SetPortOpen(true);
    link.SetChannelMode(CHANNEL_SERIAL);
}

// Receive-data frames numbered from first, none holding a second start byte; rows receives
// the history rows they make, numbered from 1.
ByteString NumberedFrames(int count, Lines& rows) {
    ByteString all;
    for (int k = 0; static_cast<int>(rows.size()) < count; ++k) {
        const ByteString f = MakeFrame(0x80, 0x15, ByteString{static_cast<unsigned char>(k >> 8),
                                                            static_cast<unsigned char>(k), 0x00});
        if (f.find(0x79, 1) != ByteString::npos) continue;
        all += f;
        rows.push_back("1" + std::to_string(rows.size() + 1) + " " + HexOf(f));
    }
    return all;
}

bool Has(const Lines& lines, const std::string& head) {
    for (const std::string& l : lines) {
        if (l.compare(0, head.size(), head) == 0) return true;
    }
    return false;
}

class ModuleLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start());
        ::setenv("KVT_COM9", sim.SlavePath().c_str(), 1);
    }
    void TearDown() override {
        link.Shutdown();
        ::unsetenv("KVT_COM9");
    }
    void Open() { OpenLink(link); }

    kvtsim::SimModule sim;
    Recorder listener;
    ModuleLink link{listener};
};

TEST_F(ModuleLinkTest, DeletingThePortEndsAWriteTheDeviceDoesNotTake) {
    Open();
    // The module reads the first chunk of a 1 MiB request and no more: the write waits on a full
    // line, and its own time-out (50 ms a byte) is hours away.
    testsupport::ModuleReadingHold hold(sim);
    const uint32_t sentBefore = link.History().SentCount();
    const std::shared_ptr<WorkerThread> sender =
        WorkerThread::Start([this] { link.SendFrame(ByteString(1 << 20, 0x55)); });
    ASSERT_TRUE(hold.WaitUntilHeld(std::chrono::seconds(10)));
    link.DeleteSerialComm();
    EXPECT_TRUE(sender->Join(10000));
    EXPECT_EQ(link.History().SentCount(), sentBefore);  // cut short: no frame sent
    EXPECT_FALSE(link.IsPortOpen());
}

TEST_F(ModuleLinkTest, WithNoChannelAFrameIsNeitherWrittenNorRecordedAsSent) {
    ASSERT_EQ(link.CreateSerialComm(), 1);
    link.SendFrame(MakeFrame(0x40, 0x03, ByteString()));
    EXPECT_EQ(listener.Rows(), Lines{});
    EXPECT_EQ(link.History().Size(), 0u);
    EXPECT_TRUE(sim.ReceivedBytes().empty());
}

TEST(ModuleLinkEnd, BytesAlreadyReadGoThroughBeforeTheGatherStops) {
    const struct {
        const char* name;
        int frames, spacingMs, delayMs;
        bool hangUp;  // else the user closes the port
    } cases[] = {
        {"hang-up 5 ms after a frame", 1, 0, 5, true},
        {"hang-up 20 ms after a frame", 1, 0, 20, true},
        {"hang-up 40 ms after a frame", 1, 0, 40, true},
        {"hang-up after 142 frames 2 ms apart", 142, 2, 5, true},
        {"closed 5 ms after a frame", 1, 0, 5, false},
    };
    for (const auto& c : cases) {
        kvtsim::SimModule sim;
        ASSERT_TRUE(sim.Start());
        ::setenv("KVT_COM9", sim.SlavePath().c_str(), 1);
        Recorder listener;
        ModuleLink link(listener);
        OpenLink(link);
        Lines rows;
        const ByteString frames = NumberedFrames(c.frames, rows);
        ASSERT_TRUE(sim.SendPaced(frames, c.spacingMs ? 10 : frames.size(), milliseconds(c.spacingMs)));
        // Once the port has read them (a loaded machine can leave them in the line a while), the
        // bytes wait in the gather for the quiet time: the line ends meanwhile.
        ASSERT_TRUE(sim.WaitUntilRead(milliseconds(10000))) << c.name;
        std::this_thread::sleep_for(milliseconds(c.delayMs));
        const std::shared_ptr<WorkerThread> gather = link.GatherWorker().Thread();
        std::string why;
        EXPECT_FALSE(link.CloseAfterHangUp(why));  // the line is still up
        if (c.hangUp) {
            sim.HangUp();
            ASSERT_TRUE(listener.WaitFor([](const Lines& e, const Lines&) { return Has(e, "hangUp"); })) << c.name;
            EXPECT_EQ(link.SerialComm()->Write(frames.data(), 7), SERIAL_WRONG_STATE);
            ASSERT_TRUE(link.CloseAfterHangUp(why)) << c.name;
            EXPECT_EQ(why, "串口 COM9 (" + sim.SlavePath() + ") 已断开(设备被拔出或线路挂断)");
        } else {
            link.CloseSerialChannel();
        }
        EXPECT_EQ(link.SerialComm()->Close(), SERIAL_WRONG_STATE);
        EXPECT_TRUE(gather->IsFinished() && link.IsMonitorThreadRunning()) << c.name;
        EXPECT_FALSE(link.IsGatherThreadRunning() || link.IsPortOpen() || link.GetChannelMode() != CHANNEL_NONE);
        ASSERT_TRUE(listener.WaitFor([&](const Lines&, const Lines& r) { return r.size() >= rows.size(); })) << c.name;
        EXPECT_EQ(listener.Rows(), rows) << c.name;
        link.Shutdown();
    }
    ::unsetenv("KVT_COM9");
}

TEST_F(ModuleLinkTest, AnotherReaderOfTheDeviceIsNoHangUp) {
    // A program that opened the device before the tool and ignores its lock.
    const int other = ::open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0);
    Open();
    size_t taken = 0;  // the other program races the port's reader for every frame
    const ByteString frame = MakeFrame(0x80, 0x15, "01");
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(sim.Send(frame));
        pollfd p{other, POLLIN, 0};
        unsigned char buf[64];
        const ssize_t n = ::poll(&p, 1, 2) > 0 ? ::read(other, buf, sizeof buf) : 0;
        taken += n > 0 ? static_cast<size_t>(n) : 0;
    }
    ::close(other);
    EXPECT_GT(taken, 0u);
    EXPECT_TRUE(link.SerialComm()->IsOpen());
    EXPECT_FALSE(link.SerialComm()->HasHungUp());
    ASSERT_TRUE(sim.Send(MakeFrame(0x80, 0x15, "02")));  // and the port still reads
    ASSERT_TRUE(listener.WaitFor([](const Lines& e, const Lines&) { return Has(e, "dataReply 790100801502"); }));
    EXPECT_FALSE(Has(listener.Events(), "hangUp"));
}

TEST_F(ModuleLinkTest, TheBoundEndsTheVersionCaptureOfASilentModule) {
    sim.SetAnswer(0x02, kvtsim::Bytes());
    Open();
    link.ArmVersionCapture();
    link.SendFrame(MakeFrame(0x40, 0x02, ByteString()));
    std::this_thread::sleep_for(milliseconds(100));
    link.EndVersionWait();  // the window's wait is over, no block came: still armed
    EXPECT_TRUE(link.IsVersionCaptureArmed());
    std::this_thread::sleep_for(milliseconds(450));
    EXPECT_FALSE(link.IsVersionCaptureArmed());
    const kvtsim::Bytes reply = kvtsim::VersionReply();  // too late: classified
    ASSERT_TRUE(sim.Send(reply));
    ASSERT_TRUE(listener.WaitFor([](const Lines& e, const Lines&) { return !e.empty(); }));
    EXPECT_EQ(listener.Events(), Lines{"panel " + HexOf(ByteString(reply.begin(), reply.end()))});
}

// A module with a link that has opened its port: one attempt of a test over a line meant never
// to pause.
struct OpenModule {
    OpenModule() {
        if (!sim.Start()) return;
        ::setenv("KVT_COM9", sim.SlavePath().c_str(), 1);
        OpenLink(link);
        ::unsetenv("KVT_COM9");
    }
    ~OpenModule() { link.Shutdown(); }
    kvtsim::SimModule sim;
    Recorder listener;
    ModuleLink link{listener};
};

// What went wrong in one attempt ("" when nothing), and how long its line may have paused.
struct Attempt {
    std::string fault;
    milliseconds pause{0};
};

// Runs attempts until one holds, or one fails on a line that never came near a pause: a loaded
// machine can stall the sender or the port's reader past the quiet time, and the gather then
// rightly takes a pause. Half the quiet time counts as near, since a reader stalled between its
// read and the gather is not seen from the line. The fault of the last attempt; "" when one held.
template <typename F>
std::string FaultOnALineThatNeverPaused(F attempt) {
    Attempt a;
    for (int tries = 0; tries < 8; ++tries) {
        a = attempt();
        if (a.fault.empty() || a.pause < ReceiveGatherer::kQuietTime / 2) break;
    }
    return a.fault.empty() ? "" : a.fault + " (the line paused " + std::to_string(a.pause.count()) + " ms)";
}

TEST_F(ModuleLinkTest, AFrameSplitByAQuietGapIsLostAsTwoRawChunks) {
    const ByteString frame = MakeFrame(0x80, 0x15, "01 02 03 04");
    const Lines chunks{"passThrough " + HexOf(frame.substr(0, 6)), "passThrough " + HexOf(frame.substr(6))};
    // The second half goes 150 ms after the first. A loaded machine can stall the gather past that
    // gap, and it then rightly takes both halves as one block: a try counts once the first half
    // was handed on before the second was sent.
    Lines events;
    size_t frames = 0;
    for (int tries = 0; tries < 8; ++tries) {
        OpenModule m;
        ASSERT_TRUE(m.sim.Send(frame.substr(0, 6)));
        std::this_thread::sleep_for(milliseconds(150));
        const bool handedOn = !m.listener.Events().empty();
        ASSERT_TRUE(m.sim.Send(frame.substr(6)));
        // Two chunks, or a frame made whole, which the monitor records.
        m.listener.WaitFor([](const Lines& e, const Lines& r) { return e.size() >= 2 || !r.empty(); });
        events = m.listener.Events();
        frames = m.link.Queues().receiveData.Size();
        if ((events == chunks && frames == 0) || handedOn) break;
    }
    EXPECT_EQ(events, chunks);
    EXPECT_EQ(frames, 0u);
}

TEST_F(ModuleLinkTest, ALineThatNeverPausesReachesTheHistoryWhileItRuns) {
    Lines rows;
    const ByteString stream = NumberedFrames(600, rows);
    const std::string fault = FaultOnALineThatNeverPaused([&] {
        OpenModule m;
        Attempt a;
        std::atomic<bool> sending{true};
        // 12 bytes every 2 ms for a second: frames of 10 bytes are cut anywhere.
        std::thread module([&] {
            m.sim.SendPaced(stream, 12, milliseconds(2), a.pause);
            sending = false;
        });
        const bool early = m.listener.WaitFor([](const Lines&, const Lines& r) { return !r.empty(); });
        const bool stillSending = sending.load();
        module.join();
        m.listener.WaitFor([&](const Lines&, const Lines& r) { return r.size() >= rows.size(); });
        if (!early || !stillSending) a.fault = "no row while the line ran";
        // In order, none lost, frames cut by the bound too.
        if (m.listener.Rows() != rows) a.fault += " rows " + std::to_string(m.listener.Rows().size());
        if (Has(m.listener.Events(), "passThrough")) a.fault += " raw bytes";
        return a;
    });
    EXPECT_EQ(fault, "");
}

TEST(ModuleLinkLine, AMeterAnswerLongerThanTheBoundIsFoundWhole) {
    const ByteString address = Hex("01 00 18 08 17 20");
    const ByteString with79 = Hex("79 00 18 08 17 20");  // a start byte in the address
    const auto answer = [](const ByteString& a) {
        const kvtsim::Bytes f = kvtsim::MeterAnswer(a, {0x00, 0x00, 0x01, 0x00}, {0x00, 0x12, 0x34, 0x56});
        return ByteString(f.begin(), f.end());
    };
    ByteString noise;
    for (unsigned char b = 0; b < 20; ++b) noise.push_back(static_cast<unsigned char>(0x30 + b));
    const ByteString wake = Hex("FE FE FE FE");
    const struct {
        const char* name;
        ByteString address, before, after;
    } cases[] = {
        {"alone", address, {}, {}},
        {"after wake-up bytes", address, wake, {}},
        {"inside a line that never pauses", address, noise + wake, noise},
        {"a start byte in its address", with79, noise, noise},
    };
    for (const auto& c : cases) {
        const ByteString meter = answer(c.address);
        const std::string fault = FaultOnALineThatNeverPaused([&] {
            OpenModule m;
            Attempt a;
            m.link.SetMeterPass(true, c.address);
            // At 1200 baud: a byte every 8 ms, so the answer takes longer than the gather's bound.
            if (!m.sim.SendPaced(c.before + meter + c.after, 1, milliseconds(8), a.pause)) a.fault = "not sent";
            const std::string rest = HexOf(c.before + c.after);
            const auto raw = [](const Lines& events) {
                std::string hex;
                for (const std::string& e : events) hex += e.substr(e.find(' ') + 1);
                return hex;
            };
            const bool found = m.link.MeterReplyEvent().Wait(3000);
            m.listener.WaitFor([&](const Lines& e, const Lines&) { return raw(e).size() >= rest.size(); });
            if (!found || m.link.MeterReplyFrame() != meter)
                a.fault += " answer " + HexOf(m.link.MeterReplyFrame());
            // Everything else as raw chunks, in order.
            if (raw(m.listener.Events()) != rest) a.fault += " raw " + raw(m.listener.Events());
            return a;
        });
        EXPECT_EQ(fault, "") << c.name;
    }
}

namespace {

// Notes the threads that hand frames to the logs.
class ThreadRecorder : public Recorder {
public:
    void OnLogFrame(LogList list, const ByteString& frame) override {
        {
            std::lock_guard<std::mutex> lock(m_idLock);
            m_ids.push_back(std::this_thread::get_id());
        }
        Recorder::OnLogFrame(list, frame);
    }
    std::vector<std::thread::id> Ids() {
        std::lock_guard<std::mutex> lock(m_idLock);
        return m_ids;
    }

private:
    std::mutex m_idLock;
    std::vector<std::thread::id> m_ids;
};

struct SocketWatch : NetworkListener {
    void OnNetworkMessage(const std::string&) override {}
    bool OnNetworkSocket(int socket) override {
        fd = socket;
        return true;
    }
    void OnNetworkClosed(const std::string&) override {}
    void RequestNetworkRead(uint32_t) override {}
    void OnForeignDatagrams(uint64_t) override {}
    int fd = -1;
};

// A loopback UDP socket standing for the module, made the network link's peer; the link's own
// UDP socket is opened.
int OpenUdpModule(NetworkLink& network) {
    const int module = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t length = sizeof a;
    ::bind(module, reinterpret_cast<sockaddr*>(&a), length);
    ::getsockname(module, reinterpret_cast<sockaddr*>(&a), &length);
    network.SetPeer({INADDR_LOOPBACK, ntohs(a.sin_port)});
    network.ToggleUdpSocket({INADDR_LOOPBACK, 0});
    return module;
}

}  // namespace

TEST(ModuleLinkNetwork, BlocksAreSplitOnTheGatherThreadWithTheTimeTheyWereRead) {
    ThreadRecorder listener;
    ModuleLink link(listener);
    SocketWatch watch;
    NetworkLink& network = link.Network();
    network.SetListener(&watch);
    const int module = OpenUdpModule(network);
    ASSERT_TRUE(network.IsSocketOpen());
    ASSERT_TRUE(link.StartNetworkChannel());
    EXPECT_EQ(link.GetChannelMode(), CHANNEL_NETWORK);

    const std::thread::id reader = std::this_thread::get_id();
    const SystemTime read{2024, 3, 5, 2, 6, 7, 8, 9};
    const SystemTime later{2024, 3, 5, 2, 6, 7, 9, 0};
    SetLocalTimeSource([&] { return std::this_thread::get_id() == reader ? read : later; });
    // 30,000 start bytes whose frames would run past the block, then a frame.
    const ByteString frame = MakeFrame(0x80, 0x15, "01");
    const ByteString block = ByteString(30000, 0x79) + frame;
    sockaddr_in a{};
    socklen_t length = sizeof a;
    ::getsockname(watch.fd, reinterpret_cast<sockaddr*>(&a), &length);
    ::sendto(module, block.data(), block.size(), 0, reinterpret_cast<sockaddr*>(&a), length);
    pollfd p{watch.fd, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    network.OnNetworkRead(static_cast<uintptr_t>(watch.fd), kNetworkReadEvent);
    ASSERT_TRUE(listener.WaitFor([](const Lines&, const Lines& r) { return !r.empty(); }));
    SetLocalTimeSource(nullptr);
    EXPECT_EQ(listener.Events(), Lines{"dataReply " + HexOf(frame)});
    ASSERT_EQ(listener.Ids().size(), 1u);
    EXPECT_NE(listener.Ids()[0], reader);
    const std::vector<MonitorRecord> records = link.History().Snapshot();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].frame, frame);
    EXPECT_TRUE(records[0].time == read);

    // The channel ends: nothing feeds the gather any more.
    network.CloseSocket();
    EXPECT_EQ(link.EndNetworkChannel(), CHANNEL_NONE);
    EXPECT_FALSE(link.IsGatherThreadRunning());
    ::close(module);
    link.Shutdown();
}

TEST_F(ModuleLinkTest, FramesGoToTheChannelTheModeChoseWhenItWasChosen) {
    // The serial mode is chosen before its channel is made.
    link.SetChannelMode(CHANNEL_SERIAL);
    ASSERT_EQ(link.CreateSerialComm(), 1);
    link.SerialComm()->SetSettings(SerialSettings{9, 115200, 8, 0, "1"});
    ASSERT_EQ(link.SerialComm()->Open(), SERIAL_OK);
    const ByteString toPort = MakeFrame(0x40, 0x03, ByteString());
    link.SendFrame(toPort);
    ASSERT_TRUE(sim.WaitForFrames(1, milliseconds(2000)));

    SocketWatch watch;
    NetworkLink& network = link.Network();
    network.SetListener(&watch);
    const int module = OpenUdpModule(network);
    ASSERT_TRUE(link.StartNetworkChannel());
    const ByteString toNetwork = MakeFrame(0x40, 0x14, "0102");
    link.SendFrame(toNetwork);
    unsigned char datagram[64];
    pollfd p{module, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    EXPECT_EQ(ByteString(datagram, static_cast<size_t>(::recv(module, datagram, sizeof datagram, 0))), toNetwork);

    // Back on the port once the network is done.
    network.CloseSocket();
    ASSERT_EQ(link.EndNetworkChannel(), CHANNEL_SERIAL);
    const ByteString toPortAgain = MakeFrame(0x40, 0x03, "05");
    link.SendFrame(toPortAgain);
    ASSERT_TRUE(sim.WaitForFrames(2, milliseconds(2000)));
    EXPECT_EQ(sim.ReceivedFrames(), (std::vector<ByteString>{toPort, toPortAgain}));
    EXPECT_EQ(listener.Rows(),
              (Lines{"01 " + HexOf(toPort), "02 " + HexOf(toNetwork), "03 " + HexOf(toPortAgain)}));
    EXPECT_EQ(::recv(module, datagram, sizeof datagram, MSG_DONTWAIT), -1);
    ::close(module);
}

namespace {

// True while the thread sits in a poll: a writer that waits for room.
bool InPoll(long tid) {
    std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/syscall");
    long number = -1;
    in >> number;
#ifdef SYS_poll
    if (number == SYS_poll) return true;
#endif
    return number == SYS_ppoll;
}

}  // namespace

TEST(ModuleLinkNetwork, ACloseAStopOrTheWindowGoingEndsAWriteThePeerDoesNotTake) {
    enum How { kClose, kStop, kWindowGoes };
    for (const How how : {kClose, kStop, kWindowGoes}) {
        Recorder listener;
        ModuleLink link(listener);
        SocketWatch watch;
        NetworkLink& network = link.Network();
        network.SetListener(&watch);
        // A peer that accepts and never reads, with small buffers on both ends.
        const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int small = 4096;
        ::setsockopt(server, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
        sockaddr_in a{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof a;
        ::bind(server, reinterpret_cast<sockaddr*>(&a), length);
        ::getsockname(server, reinterpret_cast<sockaddr*>(&a), &length);
        ::listen(server, 1);
        network.ToggleTcpClientSocket({INADDR_LOOPBACK, ntohs(a.sin_port)});
        ASSERT_TRUE(network.IsSocketOpen());
        ASSERT_TRUE(link.StartNetworkChannel());
        const int peer = ::accept(server, nullptr, nullptr);
        ::setsockopt(watch.fd, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);

        std::atomic<long> writer{0};
        std::thread sender([&] {
            writer = ::syscall(SYS_gettid);
            link.SendFrame(ByteString(4 << 20, 0x55));
        });
        // Both buffers full, the write waits for room (for seconds, unless woken).
        bool waiting = false;
        for (int i = 0; i < 20000 && !waiting; ++i) {
            waiting = writer.load() != 0 && InPoll(writer.load());
            if (!waiting) std::this_thread::sleep_for(milliseconds(1));
        }
        const auto start = std::chrono::steady_clock::now();
        switch (how) {
            case kClose: network.CurrentChannel()->Close(); break;
            case kStop: network.CloseSocket(); break;
            case kWindowGoes: link.DeleteSerialComm(); break;
        }
        sender.join();
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_TRUE(waiting) << how;
        EXPECT_LT(took, std::chrono::seconds(1)) << how;
        EXPECT_EQ(listener.Rows(), Lines{}) << how;  // cut short: not sent
        ::close(peer);
        ::close(server);
        link.Shutdown();
    }
}
