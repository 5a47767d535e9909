// The meter-reading page against DL/T 645 meters behind the simulated module: the requests on
// the line, the rows and statistics of the rounds in both wait modes, the refusals, stopping and
// closing during a run, and the page's raw send, frame text and timers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "commands/meter_rounds.h"
#include "sim/dlt645_meter.h"
#include "platform/text_format.h"
#include "support/main_window_fixture.h"

namespace {

using kvtsim::Dlt645ReadAnswer;
using kvtsim::Dlt645ReadRequest;
using kvtsim::MeterBehaviour;
using kvtsim::MeterFault;
using ms = std::chrono::milliseconds;
using Fields = std::vector<std::pair<int, std::string>>;

std::string Spaced(const kvtsim::Bytes& bytes) {
    std::string text;
    for (unsigned char b : bytes) text += StrFormat("%02X ", b);
    return text;
}

// Seconds shown as "%.2fs" (or "%.2f" in the 耗时 column).
double Seconds(const std::string& text) { return std::atof(text.c_str()); }

class MeterPageTest : public testsupport::MainWindowWithModule {
protected:
    MeterPageTest() : MainWindowWithModule(23) {}

    void SetUp() override {
        MainWindowWithModule::SetUp();
        OpenPort();
    }

    // The page's fields; the mode is selected, or typed when it is no entry.
    void Enter(const Fields& fields, const std::string& mode = kTimeoutModeText) {
        for (const auto& f : fields) dlg->SetDlgItemText(f.first, f.second);
        ComboBox combo(dlg->GetDlgItem(IDC_ROUND_WAIT_MODE_COMBO));
        const int index = combo.FindStringExact(mode);
        if (index >= 0) combo.SetCurSel(index);
        else combo.SetText(mode);
    }
    void Press(int id) { Button(dlg->GetDlgItem(id)).Click(); }
    bool Enabled(int id) { return dlg->GetDlgItem(id).IsEnabled(); }
    bool Ended() { return Enabled(IDC_ROUND_START) && !dlg->RoundReadingWorker().IsRunning(); }
    ListView Rows() { return ListView(dlg->GetDlgItem(IDC_METER_READ_LIST)); }
    std::string Cell(int row, int column) { return Rows().GetItemText(row, column); }
    // Starts the rounds and waits until they are over with this many rows.
    void RunToEnd(int rows, uint32_t timeoutMs = 5000) {
        Press(IDC_ROUND_START);
        ASSERT_TRUE(WaitFor([&] { return Ended() && Rows().GetItemCount() == rows; }, timeoutMs))
            << Rows().GetItemCount() << " rows";
    }

    kvtsim::Dlt645Meters meters{sim};
};

// ---- Requests ----

struct RequestCase {
    const char* identifier;
    const char* start;
    const char* end;
    std::vector<std::string> frames;
};

TEST_F(MeterPageTest, RequestsCarryTheAddressesOfTheRangeAndTheIdentifier) {
    const RequestCase cases[] = {
        {"00010000", "201708180001", "201708180001", {"68 01 00 18 08 17 20 68 11 04 33 33 34 33 0A 16"}},
        // Ten digits: the last eight are read as 00081800.
        {"02010100", "2017081800", "2017081800", {"68 00 18 08 00 17 20 68 11 04 33 34 34 35 0C 16"}},
        {"1", "1", "1", {"68 00 00 00 00 01 00 68 11 04 34 33 33 33 B3 16"}},
        {"FF00",
         "201799999998",
         "201800000001",
         {"68 98 99 99 99 17 20 68 11 04 33 32 33 33 4A 16", "68 99 99 99 99 17 20 68 11 04 33 32 33 33 4B 16",
          "68 00 00 00 00 18 20 68 11 04 33 32 33 33 E8 16", "68 01 00 00 00 18 20 68 11 04 33 32 33 33 E9 16"}},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.start);
        Rows().DeleteAllItems();
        const size_t before = meters.Requests().size();
        Enter({{IDC_ROUND_DATA_ID, c.identifier}, {IDC_ROUND_START_ADDR, c.start}, {IDC_ROUND_END_ADDR, c.end},
               {IDC_ROUND_COUNT, "1"}, {IDC_ROUND_WAIT_TIME, "60"}, {IDC_ROUND_SEND_DELAY, "0"}});
        RunToEnd(static_cast<int>(c.frames.size() * 2));
        const std::vector<kvtsim::Bytes> requests = meters.Requests();
        ASSERT_EQ(requests.size(), before + c.frames.size());
        for (size_t i = 0; i < c.frames.size(); ++i) {
            EXPECT_EQ(Spaced(requests[before + i]), c.frames[i] + " ");
            EXPECT_EQ(Cell(static_cast<int>(2 * i), 2), c.frames[i] + " ");
        }
        // Time-outs only: the minimum keeps its start value.
        EXPECT_EQ(dlg->GetDlgItemText(IDC_ROUND_SENT), std::to_string(c.frames.size()));
        EXPECT_EQ(dlg->GetDlgItemText(IDC_ROUND_MIN_TIME), "4294967.29s");
        EXPECT_EQ(dlg->GetDlgItemText(IDC_ROUND_SUCCESS_RATE), "0.00");
    }
}

// ---- Rounds ----

TEST_F(MeterPageTest, TwoRoundsOverFiveMetersWithASilentAndALateOne) {
    const std::string id = "00010000";
    const std::string address[] = {"201708180001", "201708180002", "201708180003", "201708180004", "201708180005"};
    const MeterBehaviour behaviour[] = {{MeterFault::None, ms(0), true},
                                        {},
                                        {MeterFault::None, ms(280), false},  // after its time-out
                                        {MeterFault::Silent, ms(0), false},
                                        {}};
    for (int k = 0; k < 5; ++k) meters.Add(address[k], behaviour[k]);
    Enter({{IDC_ROUND_DATA_ID, id}, {IDC_ROUND_START_ADDR, address[0]}, {IDC_ROUND_END_ADDR, address[4]},
           {IDC_ROUND_COUNT, "2"}, {IDC_ROUND_WAIT_TIME, "200"}, {IDC_ROUND_SEND_DELAY, "200"}});
    RunToEnd(20, 15000);

    // The late answer comes while the next meter is asked: it is booked for neither.
    for (int row = 0; row < 20; row += 2) {
        const int k = row / 2 % 5;
        SCOPED_TRACE(address[k]);
        EXPECT_EQ(Cell(row, 2), Spaced(Dlt645ReadRequest(address[k], id)));
        const bool answered = k != 2 && k != 3;
        if (answered) {
            EXPECT_EQ(Cell(row + 1, 2), Spaced(Dlt645ReadAnswer(address[k], id, {0x00, 0x12, 0x34, 0x56})));
            // The gather's quiet time of about 52 ms is part of every reply time.
            EXPECT_GE(Seconds(Cell(row + 1, 4)), 0.05);
            EXPECT_LE(Seconds(Cell(row + 1, 4)), 0.3);
        } else {
            EXPECT_EQ(Cell(row + 1, 2), address[k] + std::string(48, ' '));
            EXPECT_EQ(Cell(row + 1, 4), "");
        }
        EXPECT_EQ(Cell(row + 1, 3), answered ? "成功" : "超时");
    }
    EXPECT_EQ(dlg->GetDlgItemText(IDC_ROUND_SENT), "10");
    EXPECT_EQ(dlg->GetDlgItemText(IDC_ROUND_REPLIES), "6");
    EXPECT_EQ(dlg->GetDlgItemText(IDC_ROUND_SUCCESS_RATE), "60.00");
    const double min = Seconds(dlg->GetDlgItemText(IDC_ROUND_MIN_TIME));
    const double avg = Seconds(dlg->GetDlgItemText(IDC_ROUND_AVG_TIME));
    const double max = Seconds(dlg->GetDlgItemText(IDC_ROUND_MAX_TIME));
    EXPECT_TRUE(0.05 <= min && min <= avg && avg <= max && max <= 0.3) << min << " " << avg << " " << max;
    EXPECT_NEAR(Seconds(dlg->GetDlgItemText(IDC_ROUND_TOTAL_TIME)), 6 * avg, 0.06);
}

TEST_F(MeterPageTest, AnswersWithAWrongCheckSumAddressOrFramingTimeOut) {
    meters.Add("201708180006", {MeterFault::BadCheckSum, ms(0), false});
    meters.Add("201708180007", {MeterFault::OtherAddress, ms(0), false});
    meters.Add("201708180008", {MeterFault::CutShort, ms(0), true});
    Enter({{IDC_ROUND_DATA_ID, "00010000"}, {IDC_ROUND_START_ADDR, "201708180006"}, {IDC_ROUND_END_ADDR, "201708180008"},
           {IDC_ROUND_COUNT, "1"}, {IDC_ROUND_WAIT_TIME, "250"}, {IDC_ROUND_SEND_DELAY, "0"}});
    RunToEnd(6);
    for (int row = 1; row < 6; row += 2) EXPECT_EQ(Cell(row, 3), "超时") << row;
    EXPECT_EQ(dlg->GetDlgItemText(IDC_ROUND_REPLIES), "0");
}

TEST_F(MeterPageTest, TheIntervalModeSendsOneRequestPerInterval) {
    for (const char* a : {"201708180011", "201708180012", "201708180013"}) meters.Add(a);
    ComboBox combo(dlg->GetDlgItem(IDC_ROUND_WAIT_MODE_COMBO));
    combo.SelectAsUser(combo.FindStringExact(kIntervalModeText));
    ASSERT_TRUE(WaitFor([&] { return !Enabled(IDC_ROUND_SEND_DELAY); }, 1000));
    Enter({{IDC_ROUND_DATA_ID, "00010000"}, {IDC_ROUND_START_ADDR, "201708180011"}, {IDC_ROUND_END_ADDR, "201708180013"},
           {IDC_ROUND_COUNT, "1"}, {IDC_ROUND_WAIT_TIME, "300"}, {IDC_ROUND_SEND_DELAY, ""}},
          kIntervalModeText);
    RunToEnd(6);
    const auto times = meters.RequestTimes();
    ASSERT_EQ(times.size(), 3u);
    for (size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], ms(295)) << i;
    EXPECT_EQ(dlg->GetDlgItemText(IDC_ROUND_REPLIES), "3");
    // The send delay belongs to the time-out mode: it stays disabled after the run.
    EXPECT_FALSE(Enabled(IDC_ROUND_SEND_DELAY));
    combo.SelectAsUser(combo.FindStringExact(kTimeoutModeText));
    EXPECT_TRUE(WaitFor([&] { return Enabled(IDC_ROUND_SEND_DELAY); }, 1000));
}

// ---- Refusals ----

TEST_F(MeterPageTest, FieldsThatCannotMakeARunAreRefusedAndNothingIsSent) {
    const Fields good = {{IDC_ROUND_DATA_ID, "00010000"}, {IDC_ROUND_START_ADDR, "201708180001"},
                         {IDC_ROUND_END_ADDR, "201708180002"}, {IDC_ROUND_COUNT, "0"},
                         {IDC_ROUND_WAIT_TIME, "100"},         {IDC_ROUND_SEND_DELAY, "10"}};
    const struct {
        Fields change;
        std::string mode;
        const char* message;
    } cases[] = {
        {{{IDC_ROUND_DATA_ID, ""}}, kTimeoutModeText, "数据标识不能为空"},
        {{{IDC_ROUND_START_ADDR, ""}}, kTimeoutModeText, "起始地址不能为空"},
        {{{IDC_ROUND_END_ADDR, ""}}, kTimeoutModeText, "终止地址不能为空"},
        {{{IDC_ROUND_COUNT, ""}}, kTimeoutModeText, "轮抄次数不能为空"},
        {{{IDC_ROUND_WAIT_TIME, ""}}, kTimeoutModeText, "超时时间不能为空"},
        {{{IDC_ROUND_WAIT_TIME, ""}}, kIntervalModeText, "等待时间不能为空"},
        {{{IDC_ROUND_SEND_DELAY, ""}}, kTimeoutModeText, "间隔时间不能为空"},
        {{{IDC_ROUND_DATA_ID, "0001000G"}}, kTimeoutModeText, "数据标识格式错误"},
        {{{IDC_ROUND_START_ADDR, "20170818000A"}}, kTimeoutModeText, "起始地址格式错误"},
        {{{IDC_ROUND_WAIT_TIME, "0"}}, kIntervalModeText, "等待时间必须是大于0的毫秒数"},
        {{{IDC_ROUND_START_ADDR, "201708180003"}}, kTimeoutModeText, "终止地址不能小于起始地址"},
        {{}, "超时", "请选择等待方式"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Enter(good);
        Enter(c.change, c.mode);
        boxes.clear();
        Press(IDC_ROUND_START);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_TRUE(Ended());
    }
    PumpFor(150);
    EXPECT_TRUE(meters.Requests().empty());
    EXPECT_EQ(HistoryCount('0'), 1u);  // the version request of the opening
}

// ---- Stop and close ----

TEST_F(MeterPageTest, StopOrCloseEndsTheRoundsAtOnceInAWaitOrAPause) {
    meters.Add("201708180021");
    const struct {
        const char* start;  // answering meter or none
        const char* delay;
        int rowsBeforeStop;
        bool close;
    } cases[] = {{"201708189901", "0", 1, false}, {"201708180021", "5000", 2, false}, {"201708189901", "0", 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.delay);
        Rows().DeleteAllItems();
        Enter({{IDC_ROUND_DATA_ID, "00010000"}, {IDC_ROUND_START_ADDR, c.start}, {IDC_ROUND_END_ADDR, c.start},
               {IDC_ROUND_COUNT, "0"}, {IDC_ROUND_WAIT_TIME, "5000"}, {IDC_ROUND_SEND_DELAY, c.delay}});
        Press(IDC_ROUND_START);
        ASSERT_TRUE(WaitFor([&] { return Rows().GetItemCount() == c.rowsBeforeStop; }));
        const std::shared_ptr<WorkerThread> thread = dlg->RoundReadingWorker().Thread();
        ASSERT_TRUE(thread && !thread->IsFinished());
        if (c.close) {
            dlg->Close();
            EXPECT_TRUE(thread->IsFinished());
            EXPECT_FALSE(dlg->Link().IsGatherThreadRunning());
            return;
        }
        Press(IDC_ROUND_STOP);
        EXPECT_TRUE(WaitFor([&] { return Ended(); }, 1000));
        EXPECT_TRUE(thread->Join(1000));
        PumpFor(100);
        EXPECT_EQ(Rows().GetItemCount(), c.rowsBeforeStop);  // the stopped address has no result
    }
}

// ---- The page's tools ----

TEST_F(MeterPageTest, TheEndAddressTakesTheStartAddressWithTheFocus) {
    dlg->SetDlgItemText(IDC_ROUND_START_ADDR, "201708180042");
    dlg->DispatchNotify(IDC_ROUND_END_ADDR, Notify::SetFocus);
    EXPECT_EQ(dlg->GetDlgItemText(IDC_ROUND_END_ADDR), "201708180042");
}

TEST_F(MeterPageTest, RawSendSendsTheTypedBytesAsTheyAre) {
    const struct {
        const char* typed;
        const char* bytes;  // "" refused
        const char* length;
    } cases[] = {{"68 01 00", "68 01 00", "  3"}, {"123", "12 03", "  2"}, {"12 G4", "", ""}, {"12\r\n34", "", ""}};
    ListView rows(dlg->GetDlgItem(IDC_PASS_THROUGH_LIST));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        sim.ClearReceived();
        boxes.clear();
        const int before = rows.GetItemCount();
        dlg->SetDlgItemText(IDC_PASS_THROUGH_DATA, c.typed);
        Press(IDC_PASS_THROUGH_SEND);
        if (*c.bytes == '\0') {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, "字符范围为0~9,a~f,A~F");
            EXPECT_EQ(rows.GetItemCount(), before);
            continue;
        }
        const kvtsim::Bytes expected = kvtsim::FromHex(c.bytes);
        EXPECT_TRUE(WaitFor([&] { return sim.ReceivedBytes() == expected; }, 1000));
        ASSERT_EQ(rows.GetItemCount(), before + 1);
        EXPECT_EQ(rows.GetItemText(before, 2), Spaced(expected));
        EXPECT_EQ(rows.GetItemText(before, 3), "T");
        EXPECT_EQ(rows.GetItemText(before, 4), c.length);
    }
}

TEST_F(MeterPageTest, FrameTextIsGeneratedFromTheCommandAndData) {
    const std::pair<int, const char*> header[] = {{IDC_DIRECTION_COMBO, "主机发出帧"},
                                                  {IDC_INITIATOR_COMBO, "主动发起"},
                                                  {IDC_REPLY_STATUS_COMBO, "正常应答"},
                                                  {IDC_CHANNEL_TYPE_COMBO, "5281PLC"}};
    for (const auto& h : header) ComboBox(dlg->GetDlgItem(h.first)).SetCurSel(ComboBox(dlg->GetDlgItem(h.first)).FindStringExact(h.second));
    const struct {
        const char* command;
        const char* data;
        const char* text;  // "" refused
    } cases[] = {
        {"02", "", "79000040024242\r\n79 00 00 40 02 42 42\r\n0x79, 0x00, 0x00, 0x40, 0x02, 0x42, 0x42"},
        {"1F3", "1 23", "79020040F312034AA0\r\n79 02 00 40 F3 12 03 4A A0\r\n"
                        "0x79, 0x02, 0x00, 0x40, 0xF3, 0x12, 0x03, 0x4A, 0xA0"},
        {" ", "12", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        boxes.clear();
        dlg->SetDlgItemText(IDC_FRAME_GEN_OUTPUT, "");
        dlg->SetDlgItemText(IDC_FRAME_GEN_CMD, c.command);
        dlg->SetDlgItemText(IDC_FRAME_GEN_DATA, c.data);
        Press(IDC_FRAME_GEN_BUILD);
        EXPECT_EQ(dlg->GetDlgItemText(IDC_FRAME_GEN_OUTPUT), c.text);
        const std::vector<std::string> expected = *c.text ? std::vector<std::string>{} : std::vector<std::string>{"命令为空"};
        std::vector<std::string> shown;
        for (const MessageBoxRequest& b : boxes) shown.push_back(b.text);
        EXPECT_EQ(shown, expected);
    }
    EXPECT_EQ(HistoryCount('0'), 1u);  // nothing sent
}

TEST_F(MeterPageTest, TimersRepeatTheRawAndTheContinuousSend) {
    const struct {
        int timer;
        unsigned char command;
    } cases[] = {{TIMER_PASS_THROUGH_SEND, 0x18}, {TIMER_CONTINUOUS_SEND, 0x14}};
    dlg->SetDlgItemText(IDC_PASS_THROUGH_DATA, "79 00 00 40 18 58 58");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.timer);
        sim.ClearReceived();
        if (c.timer == TIMER_CONTINUOUS_SEND) dlg->StartContinuousSend();
        else dlg->SetTimer(c.timer, 20);
        EXPECT_TRUE(WaitFor([&] { return sim.ReceivedFrames().size() >= 3; }, 3000));
        dlg->KillTimer(c.timer);
        for (const kvtsim::Bytes& f : sim.ReceivedFrames()) EXPECT_EQ(f[4], c.command);
    }
}

}  // namespace
