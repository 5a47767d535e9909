// The window's timed send and repeated search against the simulated module: the frames at the
// module, the dialog's texts and refusals, and the files a repeated search writes. Ticks are
// driven by hand; the real timers are killed as soon as they are seen running.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "commands/TestDlg/test_dlg.h"
#include "platform/text_file.h"
#include "support/dialog_lookup.h"
#include "support/sender_checks.h"

namespace {

using namespace testsupport;

class RepeatSendsTest : public MainWindowSenders {
protected:
    RepeatSendsTest() : MainWindowSenders(11, true) {}
    void SetUp() override {
        MainWindowSenders::SetUp();
        OpenWithHostHeader();
    }
    std::string Box() {
        const std::string text = boxes.empty() ? "" : boxes.back().text;
        boxes.clear();
        return text;
    }
};

TEST_F(RepeatSendsTest, TimedSendSendsItsFrameTextTheSetNumberOfTimes) {
    Click(IDC_TIMED_SEND);
    CTimedSendDlg& d = Within<CTimedSendDlg>(*dlg);
    ASSERT_TRUE(d.IsCreated());
    EXPECT_FALSE(Enabled(IDC_TIMED_SEND));
    EXPECT_EQ(d.GetDlgItemText(IDC_TIMED_INTERVAL) + "|" + d.GetDlgItemText(IDC_TIMED_COUNT) + "|" +
                  d.GetDlgItemText(IDC_TIMED_FRAME_TEXT) + "|" + d.GetDlgItemText(IDC_TIMED_START_STOP),
              "500|2||开始");
    // Enter does nothing.
    d.PressKey(Key::Enter);
    PumpFor(50);
    EXPECT_TRUE(d.IsCreated() && d.IsWindowVisible());

    // A number out of its range is refused with a message that names the range.
    const char* badInterval = "时间间隔须为1到2147483647之间的整数";
    const char* badCount = "发送次数须为1到2147483647之间的整数";
    const struct {
        const char *interval, *count, *frame, *message;
    } refusals[] = {{"0", "2", "7900", badInterval},          {"-1", "2", "7900", badInterval},
                    {"100", "", "7900", badCount},            {"100", "x", "7900", badCount},
                    {"100", "2", " \r\n", "MAC报文不能为空"},   {"100", "2", "79 0G", "MAC报文格式错误"},
                    {"100", "2", "790", "MAC报文格式错误"},   {"abc", "2", "7900", badInterval},
                    {"2147483648", "2", "7900", badInterval}, {"4294967297", "2", "7900", badInterval},
                    {"99999999999999999999", "2", "7900", badInterval},
                    {"100", "0", "7900", badCount},           {"100", "-5", "7900", badCount},
                    {"100", "4294967296", "7900", badCount},  {"100", "4294967297", "7900", badCount}};
    for (const auto& r : refusals) {
        d.SetDlgItemText(IDC_TIMED_INTERVAL, r.interval);
        d.SetDlgItemText(IDC_TIMED_COUNT, r.count);
        d.SetDlgItemText(IDC_TIMED_FRAME_TEXT, r.frame);
        Button(d.GetDlgItem(IDC_TIMED_START_STOP)).Click();
        EXPECT_EQ(Box(), r.message) << r.frame;
        EXPECT_EQ(d.GetDlgItemText(IDC_TIMED_START_STOP), "开始");
        EXPECT_FALSE(dlg->IsTimerRunning(TIMER_TIMED_SEND));
    }
    // Each field is read as its leading whole number; the dialog opened again shows what was taken.
    const struct {
        const char *interval, *count, *taken;
    } accepted[] = {{"500ms", "2x", "500|2"},   {"500.5", "+3", "500|3"},         {"+500", " 4", "500|4"},
                    {" 500", "5 times", "500|5"}, {"2147483647", "1.9", "2147483647|1"}};
    for (const auto& a : accepted) {
        d.SetDlgItemText(IDC_TIMED_INTERVAL, a.interval);
        d.SetDlgItemText(IDC_TIMED_COUNT, a.count);
        d.SetDlgItemText(IDC_TIMED_FRAME_TEXT, "7900");
        Button(d.GetDlgItem(IDC_TIMED_START_STOP)).Click();
        EXPECT_EQ(Box(), "") << a.interval;
        EXPECT_EQ(dlg->TimerPeriod(TIMER_TIMED_SEND), static_cast<uint32_t>(std::stoul(a.taken))) << a.interval;
        Button(d.GetDlgItem(IDC_TIMED_START_STOP)).Click();
        EXPECT_FALSE(dlg->IsTimerRunning(TIMER_TIMED_SEND));
        d.PressKey(Key::Escape);
        Click(IDC_TIMED_SEND);
        EXPECT_EQ(d.GetDlgItemText(IDC_TIMED_INTERVAL) + "|" + d.GetDlgItemText(IDC_TIMED_COUNT), a.taken);
    }
    EXPECT_EQ(HistoryCount('0'), 1u);  // the version request alone

    d.SetDlgItemText(IDC_TIMED_COUNT, "2");
    d.SetDlgItemText(IDC_TIMED_FRAME_TEXT, "79 00 00 40\r\n18 58 58");
    Button(d.GetDlgItem(IDC_TIMED_START_STOP)).Click();
    EXPECT_EQ(d.GetDlgItemText(IDC_TIMED_START_STOP), "停止");
    EXPECT_TRUE(dlg->IsTimerRunning(TIMER_TIMED_SEND));
    dlg->KillTimer(TIMER_TIMED_SEND);
    // Closed, the window leaves the run going; opened again, it shows it.
    d.PressKey(Key::Escape);
    EXPECT_FALSE(d.IsCreated());
    EXPECT_TRUE(Enabled(IDC_TIMED_SEND));
    Click(IDC_TIMED_SEND);
    EXPECT_EQ(d.GetDlgItemText(IDC_TIMED_START_STOP), "停止");
    EXPECT_EQ(d.GetDlgItemText(IDC_TIMED_FRAME_TEXT), "79 00 00 40\r\n18 58 58");
    for (int tick = 0; tick < 2; ++tick) {
        ExpectSent([&] { dlg->DeliverTimerTick(TIMER_TIMED_SEND); }, kStopSearchFrame, IDC_FRAME_LOG);
        EXPECT_EQ(d.GetDlgItemText(IDC_TIMED_START_STOP), tick == 0 ? "停止" : "开始");
    }
    // Ended: a late tick sends nothing.
    ExpectRefused([&] { dlg->DeliverTimerTick(TIMER_TIMED_SEND); }, "");
    // Started and stopped by hand.
    Button(d.GetDlgItem(IDC_TIMED_START_STOP)).Click();
    EXPECT_TRUE(dlg->IsTimerRunning(TIMER_TIMED_SEND));
    Button(d.GetDlgItem(IDC_TIMED_START_STOP)).Click();
    EXPECT_EQ(d.GetDlgItemText(IDC_TIMED_START_STOP), "开始");
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_TIMED_SEND));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RepeatSendsTest, RepeatedSearchSavesItsLogAndRoutingFileEachPass) {
    const std::string search = "79 06 00 40 17 21 2F 03 0A 0B 0C D1 51";
    Enter({{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "云服务器"}, {IDC_SEARCH_SCOPE_COMBO, "搜索未入网设备"},
            {IDC_MULTICAST_MODE_COMBO, "00: 非组播"}},
           {{IDC_SEARCH_DEPTH, "15"}, {IDC_USER_DATA, "0A0B0C"}, {IDC_REPEAT_PERIOD, "1"}}});
    ListOf(IDC_SEARCH_LOG).AppendRow({"old", "1", "00 "});
    SetClock(T(2023, 11, 2, 3, 4, 5, 6));
    // A pass: the log emptied, then only this pass's row.
    auto pass = [&](const std::function<void()>& press) {
        press();
        EXPECT_TRUE(dlg->IsTimerRunning(TIMER_CONTINUOUS_SEARCH));
        dlg->KillTimer(TIMER_CONTINUOUS_SEARCH);
        EXPECT_EQ(NextFrame(), search + " ");
        EXPECT_TRUE(WaitFor([&] { return ListOf(IDC_SEARCH_LOG).GetItemCount() == 1; }));
        EXPECT_EQ(ListOf(IDC_SEARCH_LOG).GetItemText(0, 2), search + " ");
    };
    pass([&] { Click(IDC_CONTINUOUS_SEARCH); });
    for (int id : {IDC_REPEAT_PERIOD, IDC_CONTINUOUS_SEARCH, IDC_START_SEARCH}) EXPECT_FALSE(Enabled(id)) << id;
    const std::string row = ListOf(IDC_SEARCH_LOG).GetItemText(0, 0);

    // The tick saves the pass's log and the routing file, then searches again.
    pass([&] { dlg->DeliverTimerTick(TIMER_CONTINUOUS_SEARCH); });
    EXPECT_EQ(ReadFileBytes(Path(" frame,  2023-11-02 03-04-05.txt")),
              Utf8ToGbk("时间" + Blanks(8 + 6) + "报文" + Blanks(8) + "\r\n" + row + "    " + search + " " +
                        "    \r\n"));
    // The device list is empty: the routing file holds its title line.
    EXPECT_EQ(ReadFileBytes(Path(" routing,  2023-11-02 03-04-05.txt")),
              Utf8ToGbk(Blanks(8) + "时间" + Blanks(6) + "编号" + Blanks(8 + 3) + "地址" + Blanks(8 + 3) + "深度" +
                        Blanks(8 + 2) + "网络状态" + Blanks(4 + 4) + "设备类别" + Blanks(4 + 3) + "地址模式" +
                        Blanks(4 + 3) + "组播地址" + Blanks(4 + 5) + "\r\n"));
    EXPECT_TRUE(boxes.empty());

    Click(IDC_STOP_CONTINUOUS_SEARCH);
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_CONTINUOUS_SEARCH));
    for (int id : {IDC_REPEAT_PERIOD, IDC_CONTINUOUS_SEARCH, IDC_START_SEARCH}) EXPECT_TRUE(Enabled(id)) << id;
    // A period of 0 is refused: nothing is sent, nothing written.
    Enter({{}, {{IDC_REPEAT_PERIOD, "0"}}});
    ExpectRefused([&] { Click(IDC_CONTINUOUS_SEARCH); }, "超时时间须为1到65535之间的整数");
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_CONTINUOUS_SEARCH));
}

TEST_F(RepeatSendsTest, RepeatedBroadcastSendsAtOnceAndOnEachTick) {
    const std::string broadcast = "79 06 00 40 16 11 29 02 00 01 02 9B 69";
    Enter({{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "网关"}, {IDC_PRIORITY_COMBO, "High"},
            {IDC_KEY_MODE_COMBO, "01: 用户网络口令"}, {IDC_MULTICAST_MODE_COMBO, "00: 非组播"}},
           {{IDC_RADIUS, "20"}, {IDC_USER_DATA, "0102"}, {IDC_REPEAT_PERIOD, "500"}}});
    bool running = false;
    uint32_t period = 0;
    auto press = [&](const std::function<void()>& how) {
        return [&, how] {
            how();
            running = dlg->IsTimerRunning(TIMER_CONTINUOUS_BROADCAST);
            period = dlg->TimerPeriod(TIMER_CONTINUOUS_BROADCAST);
            dlg->KillTimer(TIMER_CONTINUOUS_BROADCAST);
        };
    };
    ExpectSent(press([&] { Click(IDC_CONTINUOUS_BROADCAST); }), broadcast, IDC_DATA_LOG);
    EXPECT_TRUE(running);
    EXPECT_EQ(period, 500u);
    Enter({{}, {{IDC_REPEAT_PERIOD, "2"}}});
    ExpectSent(press([&] { dlg->DeliverTimerTick(TIMER_CONTINUOUS_BROADCAST); }), broadcast, IDC_DATA_LOG);
    EXPECT_TRUE(running);
    EXPECT_EQ(period, 2u);
    dlg->SetTimer(TIMER_CONTINUOUS_BROADCAST, 1000);
    Click(IDC_STOP_CONTINUOUS_BROADCAST);
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_CONTINUOUS_BROADCAST));
    ExpectRefused([&] { dlg->DeliverTimerTick(TIMER_CONTINUOUS_BROADCAST); }, "");
    Enter({{}, {{IDC_REPEAT_PERIOD, "abc"}}});
    ExpectRefused([&] { Click(IDC_CONTINUOUS_BROADCAST); }, "超时时间须为1到2147483647之间的整数");
}

TEST_F(RepeatSendsTest, PanelContinuousSendTestSettingsDialog) {
    Dialog& panel = Within<CTestDlg>(*dlg);
    struct Seen {
        std::string interval, total, success;
        bool openAfterEnter = false;
    };
    std::vector<Seen> seen;
    auto answer = [&](const char* interval) {
        dlg->SetModalWatcher([&, interval](Dialog& d) {
            Seen s{d.GetDlgItemText(IDC_TEST_SEND_INTERVAL), d.GetDlgItemText(IDC_TEST_SEND_TOTAL),
                   d.GetDlgItemText(IDC_TEST_SEND_SUCCESS)};
            d.PressKey(Key::Enter);
            s.openAfterEnter = d.IsCreated();
            seen.push_back(s);
            d.SetDlgItemText(IDC_TEST_SEND_INTERVAL, interval);
            Button(d.GetDlgItem(IDC_TEST_SEND_START)).Click();
        });
    };
    // Refused: the message, the dialog closed, nothing armed.
    answer("299");
    Button(panel.GetDlgItem(IDC_PANEL_CONTINUOUS_SEND)).Click();
    EXPECT_EQ(Box(), "最小间隔为300ms");
    // Not armed: no step began.
    EXPECT_EQ(panel.GetDlgItemText(IDC_PANEL_CONTINUOUS_SEND), "连续发送数据");
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_SEND_TEST_STEP));
    EXPECT_TRUE(panel.GetDlgItem(IDC_PANEL_CONTINUOUS_SEND).IsEnabled());
    // 350 ms: four ticks, a first step at once.
    answer("350");
    Button(panel.GetDlgItem(IDC_PANEL_CONTINUOUS_SEND)).Click();
    EXPECT_TRUE(dlg->IsTimerRunning(TIMER_SEND_TEST_STEP));
    dlg->KillTimer(TIMER_SEND_TEST_STEP);
    EXPECT_EQ(panel.GetDlgItemText(IDC_PANEL_CONTINUOUS_SEND), "第1次发送");
    // Four ticks: the fourth ends the step by time-out and begins the next.
    for (int tick = 1; tick <= 4; ++tick) {
        dlg->DeliverTimerTick(TIMER_SEND_TEST_STEP);
        EXPECT_EQ(panel.GetDlgItemText(IDC_PANEL_CONTINUOUS_SEND), tick < 4 ? "第1次发送" : "第2次发送") << tick;
    }
    EXPECT_TRUE(dlg->IsTimerRunning(TIMER_SEND_TEST_STEP));
    EXPECT_FALSE(panel.GetDlgItem(IDC_PANEL_CONTINUOUS_SEND).IsEnabled());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].interval + "|" + seen[0].total + "|" + seen[0].success, "1000|0|0");
    EXPECT_TRUE(seen[0].openAfterEnter);
    Button(panel.GetDlgItem(IDC_PANEL_STOP_CONTINUOUS_SEND)).Click();
    EXPECT_EQ(panel.GetDlgItemText(IDC_PANEL_CONTINUOUS_SEND), "连续发送数据");
    EXPECT_TRUE(panel.GetDlgItem(IDC_PANEL_CONTINUOUS_SEND).IsEnabled());
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_SEND_TEST_STEP));
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
