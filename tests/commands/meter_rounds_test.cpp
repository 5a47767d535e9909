// The meter-reading page against DL/T 645 meters behind the simulated module: the requests on
// the line, the rows and statistics of the rounds in both wait modes, the refusals, stopping and
// closing during a run or during a write the device does not take, and the page's raw send and
// frame text.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "commands/meter_rounds.h"
#include "sim/dlt645_meter.h"
#include "support/held_line.h"
#include "support/main_window_fixture.h"

namespace {

using kvtsim::MeterFault;
using testsupport::Spaced;
using ms = std::chrono::milliseconds;

double Seconds(const std::string& text) { return std::atof(text.c_str()); }

class MeterPageTest : public testsupport::MainWindowWithModule {
protected:
    MeterPageTest() : MainWindowWithModule(23) {}

    void SetUp() override {
        MainWindowWithModule::SetUp();
        OpenPort();
    }

    // The page's fields; a mode that is no entry of the combo is typed.
    void Enter(const char* start, const char* end, const char* rounds, const char* wait, const char* delay,
               const std::string& mode = kTimeoutModeText, const char* id = "00010000") {
        const std::pair<int, const char*> fields[] = {{IDC_ROUND_START_ADDR, start}, {IDC_ROUND_END_ADDR, end},
                                                      {IDC_ROUND_COUNT, rounds},     {IDC_ROUND_WAIT_TIME, wait},
                                                      {IDC_ROUND_SEND_DELAY, delay}, {IDC_ROUND_DATA_ID, id}};
        for (const auto& f : fields) dlg->SetDlgItemText(f.first, f.second);
        ComboBox combo(dlg->GetDlgItem(IDC_ROUND_WAIT_MODE_COMBO));
        if (combo.FindStringExact(mode) >= 0)
            combo.SetCurSel(combo.FindStringExact(mode));
        else
            combo.SetText(mode);
    }
    bool Ended() { return Enabled(IDC_ROUND_START) && !dlg->RoundReadingWorker().IsRunning(); }
    ListView Rows() { return ListOf(IDC_METER_READ_LIST); }
    std::string Cell(int row, int column) { return Rows().GetItemText(row, column); }
    void RunToEnd(int rows, uint32_t timeoutMs = 5000) {
        Rows().DeleteAllItems();
        Click(IDC_ROUND_START);
        ASSERT_TRUE(WaitFor([&] { return Ended() && Rows().GetItemCount() == rows; }, timeoutMs))
            << Rows().GetItemCount();
    }

    kvtsim::Dlt645Meters meters{sim};
};

TEST_F(MeterPageTest, RequestsCarryTheRangeAndIdentifierAndBadAnswersTimeOut) {
    meters.Add("201708180006", {MeterFault::BadCheckSum, ms(0), false});
    meters.Add("201708180007", {MeterFault::OtherAddress, ms(0), false});
    meters.Add("201708180008", {MeterFault::CutShort, ms(0), true});
    const struct {
        const char *id, *start, *end;
        std::vector<std::string> frames;
    } cases[] = {
        {"00010000", "201708180001", "201708180001", {"68 01 00 18 08 17 20 68 11 04 33 33 34 33 0A 16"}},
        // Ten digits: the last eight are read as 00081800; one digit: the first four as 0001.
        {"02010100", "2017081800", "2017081800", {"68 00 18 08 00 17 20 68 11 04 33 34 34 35 0C 16"}},
        {"1", "1", "1", {"68 00 00 00 00 01 00 68 11 04 34 33 33 33 B3 16"}},
        {"FF00", "201799999998", "201800000001",
         {"68 98 99 99 99 17 20 68 11 04 33 32 33 33 4A 16", "68 99 99 99 99 17 20 68 11 04 33 32 33 33 4B 16",
          "68 00 00 00 00 18 20 68 11 04 33 32 33 33 E8 16", "68 01 00 00 00 18 20 68 11 04 33 32 33 33 E9 16"}},
        {"00010000", "201708180006", "201708180008",
         {"68 06 00 18 08 17 20 68 11 04 33 33 34 33 0F 16", "68 07 00 18 08 17 20 68 11 04 33 33 34 33 10 16",
          "68 08 00 18 08 17 20 68 11 04 33 33 34 33 11 16"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        const size_t before = meters.Requests().size();
        Enter(c.start, c.end, "1", "150", "0", kTimeoutModeText, c.id);
        RunToEnd(static_cast<int>(c.frames.size() * 2));
        ASSERT_EQ(meters.Requests().size(), before + c.frames.size());
        for (size_t i = 0; i < c.frames.size(); ++i) {
            EXPECT_EQ(Spaced(meters.Requests()[before + i]), c.frames[i] + " ");
            EXPECT_EQ(Cell(static_cast<int>(2 * i), 2), c.frames[i] + " ");
        }
        // Time-outs only (a wrong check sum, address or framing is no answer): the minimum keeps
        // its start value.
        EXPECT_EQ(Text(IDC_ROUND_SENT) + " " + Text(IDC_ROUND_REPLIES), std::to_string(c.frames.size()) + " 0");
        EXPECT_EQ(Text(IDC_ROUND_MIN_TIME), "4294967.29s");
        EXPECT_EQ(Text(IDC_ROUND_SUCCESS_RATE), "0.00");
    }
}

TEST_F(MeterPageTest, TwoRoundsOverFiveMetersWithASilentAndALateOne) {
    // A loaded machine can hold a request or an answer on the line, or the threads between, for a
    // good part of a short wait: the wait leaves room for that.
    constexpr int kWaitMs = 1000;
    const char* address[] = {"201708180001", "201708180002", "201708180003", "201708180004", "201708180005"};
    meters.Add(address[0], {MeterFault::None, ms(0), true});
    meters.Add(address[1]);
    meters.Add(address[2], {MeterFault::None, ms(kWaitMs + 100), false});  // in the pause after its time-out
    meters.Add(address[3], {MeterFault::Silent, ms(0), false});
    meters.Add(address[4]);
    Enter(address[0], address[4], "2", std::to_string(kWaitMs).c_str(), "250");
    RunToEnd(20, 30000);

    // The late answer is booked neither for its own meter nor for the next one.
    for (int row = 0; row < 20; row += 2) {
        const int k = row / 2 % 5;
        const bool answered = k != 2 && k != 3;
        SCOPED_TRACE(address[k]);
        EXPECT_EQ(Cell(row, 2), Spaced(kvtsim::Dlt645ReadRequest(address[k], "00010000")));
        EXPECT_EQ(Cell(row + 1, 3), answered ? "成功" : "超时");
        if (answered) {
            EXPECT_EQ(Cell(row + 1, 2), Spaced(kvtsim::Dlt645ReadAnswer(address[k], "00010000")));
            // The gather's quiet time of about 52 ms is part of every reply time, and none is
            // longer than the wait.
            EXPECT_TRUE(Seconds(Cell(row + 1, 4)) >= 0.05 && Seconds(Cell(row + 1, 4)) <= kWaitMs / 1000.0)
                << Cell(row + 1, 4);
        } else {
            EXPECT_EQ(Cell(row + 1, 2), address[k] + std::string(48, ' '));
            EXPECT_EQ(Cell(row + 1, 4), "");
        }
    }
    EXPECT_EQ(Text(IDC_ROUND_SENT) + " " + Text(IDC_ROUND_REPLIES) + " " + Text(IDC_ROUND_SUCCESS_RATE), "10 6 60.00");
    const double min = Seconds(Text(IDC_ROUND_MIN_TIME)), avg = Seconds(Text(IDC_ROUND_AVG_TIME));
    const double max = Seconds(Text(IDC_ROUND_MAX_TIME));
    EXPECT_TRUE(0.05 <= min && min <= avg && avg <= max && max <= kWaitMs / 1000.0)
        << min << " " << avg << " " << max;
    EXPECT_NEAR(Seconds(Text(IDC_ROUND_TOTAL_TIME)), 6 * avg, 0.06);
}

TEST_F(MeterPageTest, TheIntervalModeSendsOneRequestPerInterval) {
    const char* address[] = {"201708180011", "201708180012", "201708180013"};
    ComboBox combo(dlg->GetDlgItem(IDC_ROUND_WAIT_MODE_COMBO));
    combo.SelectAsUser(combo.FindStringExact(kIntervalModeText));
    ASSERT_TRUE(WaitFor([&] { return !Enabled(IDC_ROUND_SEND_DELAY); }, 1000));
    // A late answer takes its time out of the interval: requests go out one interval apart, below
    // interval + 150 ms, the least a pause after a 150 ms late answer gives. The times are the
    // window's own, taken as it sends: when the module's thread comes to read them is the machine's.
    // The intervals leave room for a loaded machine to hold a request or an answer a while.
    const struct {
        int lateMs, interval;
    } cases[] = {{0, 800}, {150, 1000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.interval);
        for (const char* a : address) meters.Add(a, {MeterFault::None, ms(c.lateMs), false});
        const size_t before = History().size();
        const size_t requestsBefore = meters.RequestTimes().size();
        Enter(address[0], address[2], "1", std::to_string(c.interval).c_str(), "", kIntervalModeText);
        dlg->DispatchNotify(IDC_ROUND_END_ADDR, Notify::SetFocus);  // the end takes the start's text
        EXPECT_EQ(Text(IDC_ROUND_END_ADDR), address[0]);
        dlg->SetDlgItemText(IDC_ROUND_END_ADDR, address[2]);
        RunToEnd(6, 15000);
        std::vector<int64_t> sent;
        const std::vector<MonitorRecord> history = History();
        for (size_t i = before; i < history.size(); ++i) {
            const MonitorRecord& r = history[i];
            if (r.kind == '0' && r.frame[0] == 0x68) sent.push_back(SystemTimeToEpochMs(r.time));
        }
        ASSERT_EQ(sent.size(), 3u);
        for (size_t i = 1; i < sent.size(); ++i) {
            EXPECT_TRUE(sent[i] - sent[i - 1] >= c.interval - 5 && sent[i] - sent[i - 1] < c.interval + 150)
                << sent[i] - sent[i - 1];
        }
        EXPECT_EQ(meters.RequestTimes().size(), requestsBefore + 3);
        EXPECT_EQ(Text(IDC_ROUND_REPLIES), "3");
    }
    EXPECT_FALSE(Enabled(IDC_ROUND_SEND_DELAY));  // it serves the time-out mode alone
    combo.SelectAsUser(combo.FindStringExact(kTimeoutModeText));
    EXPECT_TRUE(WaitFor([&] { return Enabled(IDC_ROUND_SEND_DELAY); }, 1000));
}

TEST_F(MeterPageTest, AnswersAt1200BaudAreFoundInEveryRound) {
    // A byte every 8 ms: each answer takes longer than the gather's bound of a busy line.
    meters.Add("201708180031", {MeterFault::None, ms(0), false, ms(8)});
    meters.Add("201708180032", {MeterFault::None, ms(0), true, ms(8)});
    Enter("201708180031", "201708180032", "3", "800", "0");
    // A loaded machine can stall the line past the gather's quiet time, which cuts an answer
    // rightly: a run whose line came near that (half of it) does not count.
    std::vector<std::string> results;
    for (int run = 0; run < 8; ++run) {
        RunToEnd(12, 15000);
        results.clear();
        for (int row = 1; row < 12; row += 2) results.push_back(Cell(row, 3));
        if (results == std::vector<std::string>(6, "成功") || meters.TakeLongestPause() < ms(26)) break;
    }
    EXPECT_EQ(results, std::vector<std::string>(6, "成功"));
    EXPECT_EQ(Cell(1, 2), Spaced(kvtsim::Dlt645ReadAnswer("201708180031", "00010000")));
}

TEST_F(MeterPageTest, FieldsThatCannotMakeARunAreRefusedAndNothingIsSent) {
    const struct {
        int id;
        const char* text;
        std::string mode;
        const char* message;
    } cases[] = {
        {IDC_ROUND_DATA_ID, "", kTimeoutModeText, "数据标识不能为空"},
        {IDC_ROUND_COUNT, "", kTimeoutModeText, "轮抄次数不能为空"},
        {IDC_ROUND_WAIT_TIME, "", kTimeoutModeText, "超时时间不能为空"},
        {IDC_ROUND_WAIT_TIME, "", kIntervalModeText, "等待时间不能为空"},
        {IDC_ROUND_SEND_DELAY, "", kTimeoutModeText, "间隔时间不能为空"},
        {IDC_ROUND_DATA_ID, "0001000G", kTimeoutModeText, "数据标识格式错误"},
        {IDC_ROUND_START_ADDR, "20170818000A", kTimeoutModeText, "起始地址格式错误"},
        {IDC_ROUND_WAIT_TIME, "0", kIntervalModeText, "等待时间必须是大于0的毫秒数"},
        {IDC_ROUND_START_ADDR, "201708180003", kTimeoutModeText, "终止地址不能小于起始地址"},
        {IDC_ROUND_COUNT, "0", "超时", "请选择等待方式"},
    };
    for (const auto& c : cases) {
        Enter("201708180001", "201708180002", "0", "100", "10", c.mode);
        dlg->SetDlgItemText(c.id, c.text);
        boxes.clear();
        Click(IDC_ROUND_START);
        ASSERT_EQ(boxes.size(), 1u) << c.message;
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_TRUE(Ended());
    }
    // A rounds thread that does not start says so and gives the inputs back.
    dlg->Link().Workers().SetLauncher([](std::function<void()>) { return std::shared_ptr<WorkerThread>(); });
    Enter("201708180001", "201708180002", "1", "100", "10");
    boxes.clear();
    Click(IDC_ROUND_START);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text + boxes[0].caption, "启动轮抄线程失败错误");
    EXPECT_TRUE(Ended());
    dlg->Link().Workers().SetLauncher(nullptr);
    PumpFor(150);
    EXPECT_TRUE(meters.Requests().empty());
    EXPECT_EQ(HistoryCount('0'), 1u);  // the version request of the opening
}

TEST_F(MeterPageTest, StopOrCloseEndsTheRoundsAtOnceInAWaitOrAPause) {
    meters.Add("201708180021");
    const struct {
        const char *address, *delay;
        int rows;  // before the stop: a request, or a request and its answer
        bool close;
    } cases[] = {{"201708189901", "0", 1, false}, {"201708180021", "5000", 2, false}, {"201708189901", "0", 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        Rows().DeleteAllItems();
        Enter(c.address, c.address, "0", "5000", c.delay);
        Click(IDC_ROUND_START);
        ASSERT_TRUE(WaitFor([&] { return Rows().GetItemCount() == c.rows; }));
        const std::shared_ptr<WorkerThread> thread = dlg->RoundReadingWorker().Thread();
        ASSERT_TRUE(thread && !thread->IsFinished());
        if (c.close) {
            dlg->Close();
            EXPECT_TRUE(thread->IsFinished());
            return;
        }
        Click(IDC_ROUND_STOP);
        EXPECT_TRUE(WaitFor([&] { return Ended(); }, 1000));
        EXPECT_TRUE(thread->Join(1000));
        PumpFor(100);
        EXPECT_EQ(Rows().GetItemCount(), c.rows);  // the stopped address has no result
    }
}

// The device stops reading and the line is filled: a request of the rounds soon waits on it for
// a time-out of 40 s. Once it waits, the window closes, or goes without a close: either ends the
// write with the port rather than join the rounds first. Its time is the only sign; the bound
// lies well between its own work and that time-out.
class AnEndDuringAWrite : public MeterPageTest, public ::testing::WithParamInterface<bool> {};

TEST_P(AnEndDuringAWrite, DoesNotWaitForTheWriteTheDeviceDoesNotTake) {
    const bool close = GetParam();
    // The module holds at its one chunk and the line is full again, so the write the round
    // waits in can never finish before its time-out.
    testsupport::ModuleReadingHold hold(sim);
    CSerialComm& port = *dlg->Link().SerialComm();
    testsupport::ModuleReadingHold::Fill(port, 40000);
    ASSERT_TRUE(hold.WaitUntilHeld(std::chrono::seconds(10)));
    testsupport::ModuleReadingHold::Fill(port, 40000);  // the room the held chunk left
    Enter("000000000001", "999999999999", "1", "1", "0");
    Click(IDC_ROUND_START);
    ASSERT_TRUE(WaitFor([&] { return port.WritesWaiting() == 1; }, 120000));
    const std::shared_ptr<WorkerThread> thread = dlg->RoundReadingWorker().Thread();
    ASSERT_TRUE(thread);
    const auto start = std::chrono::steady_clock::now();
    if (close)
        dlg->Close();
    else
        dlg.reset();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<ms>(took).count(), 10000);
    EXPECT_TRUE(thread->IsFinished());  // joined on the way
}

INSTANTIATE_TEST_SUITE_P(Rounds, AnEndDuringAWrite, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Close" : "Destruction");
                         });

TEST_F(MeterPageTest, RawSendOnClickAndTimerAndTheContinuousSendTimer) {
    const struct {
        const char *typed, *bytes, *length;  // bytes "": refused
    } cases[] = {{"68 01 00", "68 01 00", "  3"}, {"123", "12 03", "  2"}, {"12 G4", "", ""}, {"12\r\n34", "", ""}};
    ListView rows = ListOf(IDC_PASS_THROUGH_LIST);
    int sentRows = 0;
    for (const auto& c : cases) {
        sim.ClearReceived();
        boxes.clear();
        dlg->SetDlgItemText(IDC_PASS_THROUGH_DATA, c.typed);
        Click(IDC_PASS_THROUGH_SEND);
        if (*c.bytes == '\0') {
            ASSERT_EQ(boxes.size(), 1u) << c.typed;
            EXPECT_EQ(boxes[0].text, "字符范围为0~9,a~f,A~F");
            continue;
        }
        EXPECT_TRUE(WaitFor([&] { return sim.ReceivedBytes() == kvtsim::FromHex(c.bytes); }, 1000)) << c.typed;
        // The row goes in with the log's next batch.
        ASSERT_TRUE(WaitFor([&] { return rows.GetItemCount() == sentRows + 1; })) << c.typed;
        const int last = sentRows++;
        EXPECT_EQ(rows.GetItemText(last, 2) + rows.GetItemText(last, 3) + rows.GetItemText(last, 4),
                  std::string(c.bytes) + " T" + c.length);
    }
    PumpFor(100);
    EXPECT_EQ(rows.GetItemCount(), 2);
    // The raw-send timer, which nothing on the page starts, sends on every tick.
    dlg->SetDlgItemText(IDC_PASS_THROUGH_DATA, "79 00 00 40 18 58 58");
    const uint32_t sentBefore = dlg->Link().History().SentCount();
    dlg->SetTimer(TIMER_PASS_THROUGH_SEND, 20);
    EXPECT_TRUE(WaitFor([&] { return sim.ReceivedFrames().size() >= 3; }, 3000));
    dlg->KillTimer(TIMER_PASS_THROUGH_SEND);
    // Every frame the timer sent has reached the module before the next part counts frames.
    const uint32_t sentByTimer = dlg->Link().History().SentCount() - sentBefore;
    EXPECT_TRUE(WaitFor([&] { return sim.ReceivedFrames().size() == sentByTimer; }));
    for (const kvtsim::Bytes& f : sim.ReceivedFrames()) EXPECT_EQ(Spaced(f), "79 00 00 40 18 58 58 ");
    // The continuous-send timer sends the send-data frame again on its tick.
    sim.ClearReceived();
    dlg->SetTimer(TIMER_CONTINUOUS_SEND, 200);
    EXPECT_TRUE(WaitFor([&] { return sim.ReceivedFrames().size() >= 3; }, 3000));
    dlg->KillTimer(TIMER_CONTINUOUS_SEND);
    for (const kvtsim::Bytes& f : sim.ReceivedFrames()) EXPECT_EQ(f[4], 0x14);
}

TEST_F(MeterPageTest, FrameTextIsGeneratedFromTheCommandAndData) {
    // The header combos as the window starts: sent by the host, initiated, normal (control 0x40).
    const struct {
        const char *command, *data, *text;  // text "": refused
    } cases[] = {
        {"02", "", "79000040024242\r\n79 00 00 40 02 42 42\r\n0x79, 0x00, 0x00, 0x40, 0x02, 0x42, 0x42"},
        {"1F3", "1 23",
         "79020040F312034AA0\r\n79 02 00 40 F3 12 03 4A A0\r\n0x79, 0x02, 0x00, 0x40, 0xF3, 0x12, 0x03, 0x4A, 0xA0"},
        {" ", "12", ""},
    };
    for (const auto& c : cases) {
        boxes.clear();
        dlg->SetDlgItemText(IDC_FRAME_GEN_OUTPUT, "");
        dlg->SetDlgItemText(IDC_FRAME_GEN_CMD, c.command);
        dlg->SetDlgItemText(IDC_FRAME_GEN_DATA, c.data);
        Click(IDC_FRAME_GEN_BUILD);
        EXPECT_EQ(Text(IDC_FRAME_GEN_OUTPUT), c.text);
        EXPECT_EQ(boxes.empty() ? "" : boxes[0].text, *c.text ? "" : "命令为空");
    }
    EXPECT_EQ(HistoryCount('0'), 1u);  // nothing sent
}

}  // namespace
