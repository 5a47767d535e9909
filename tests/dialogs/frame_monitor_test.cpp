// The frame monitor and the frame detail viewer, with frames travelling over a pseudo-terminal
// between the main window and the simulated module.

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>

#include "app/main_tester_dlg.h"
#include "link/serial_settings_dlg.h"
#include "sim/sim_module.h"
#include "support/main_window_fixture.h"

namespace {

using kvtsim::BuildFrame;
using kvtsim::FromHex;

using testsupport::B;

SystemTime T(int year, int month, int day, int hour, int minute, int second, int ms) {
    SystemTime t;
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    t.milliseconds = static_cast<uint16_t>(ms);
    return t;
}

// A local clock that stands still until the test moves it; read on every thread.
class TestClock {
public:
    TestClock() {
        SetLocalTimeSource([this] {
            std::lock_guard<std::mutex> lock(m_);
            return now_;
        });
    }
    ~TestClock() { SetLocalTimeSource(nullptr); }
    void Set(const SystemTime& t) {
        std::lock_guard<std::mutex> lock(m_);
        now_ = t;
    }

private:
    std::mutex m_;
    SystemTime now_ = T(2024, 3, 5, 6, 7, 8, 9);
};

const ColorRef kRed = 0x0000F0;
const ColorRef kBlack = 0x000000;

class FrameMonitorTest : public testsupport::MainWindowWithModule {
protected:
    FrameMonitorTest() : MainWindowWithModule(7) {}
    void SetUp() override {
        MainWindowWithModule::SetUp();
        monitor = &dlg->m_frameMonitorDlg;
        list = &monitor->m_frameList;
    }

    bool WaitForRows(int n) { return WaitFor([&] { return list->GetItemCount() == n; }); }

    void ExpectRow(int row, const std::string& time, const std::string& number, const std::string& hex,
                   ColorRef color) {
        EXPECT_EQ(list->GetItemText(row, 0), time) << row;
        EXPECT_EQ(list->GetItemText(row, 1), number) << row;
        EXPECT_EQ(list->GetItemText(row, 2), hex) << row;
        for (int c = 0; c < 3; ++c) EXPECT_EQ(list->GetCellTextColor(row, c), color) << row << "," << c;
    }

    std::string Pane() const { return monitor->GetDlgItemText(1007); }

    TestClock clock;
    CFrameMonitorDlg* monitor = nullptr;
    CSortListCtrl* list = nullptr;
};

TEST_F(FrameMonitorTest, TemplateColumnsAndStart) {
    EXPECT_EQ(monitor->GetWindowText(), "报文监控");
    EXPECT_FALSE(monitor->IsWindowVisible());
    ASSERT_EQ(list->GetColumnCount(), 3);
    EXPECT_EQ(list->GetColumnHeading(0), "时间");
    EXPECT_EQ(list->GetColumnHeading(1), "序号");
    EXPECT_EQ(list->GetColumnHeading(2), "报文");
    EXPECT_EQ(monitor->GetDlgItemText(1009), "自动刷新");
    EXPECT_EQ(Button(monitor->GetDlgItem(1009)).GetCheck(), 1);
    EXPECT_TRUE(monitor->GetDlgItem(1248).IsValid());
    EXPECT_EQ(monitor->m_firstFrame, 1);
    EXPECT_TRUE(monitor->m_detailDlg.IsCreated());
    EXPECT_FALSE(monitor->m_detailDlg.IsWindowVisible());
    EXPECT_EQ(list->GetItemCount(), 0);
}

TEST_F(FrameMonitorTest, SentAndReceivedFramesBecomeRowsByKindWithTimesAndNumbers) {
    clock.Set(T(2024, 3, 5, 6, 7, 8, 9));
    OpenPort();
    // The version request that the opening sends: the first sent frame.
    ASSERT_TRUE(WaitForRows(1));
    ExpectRow(0, "2024-03-05 06:07:08:009", "1", "79 00 00 40 02 42 42 ", kRed);
    EXPECT_EQ(monitor->GetDlgItemText(1248), "");  // the first frame only sets the reference

    clock.Set(T(2024, 3, 5, 6, 7, 9, 509));
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x15, FromHex("01 02"))));
    ASSERT_TRUE(WaitForRows(2));
    ExpectRow(1, "2024-03-05 06:07:09:509", "1", "79 02 00 80 15 01 02 9A 94 ", kBlack);
    EXPECT_EQ(monitor->GetDlgItemText(1248), "00:00:01:500");

    clock.Set(T(2024, 3, 5, 6, 8, 0, 0));
    dlg->SendFrame(B(BuildFrame(0x40, 0x03, kvtsim::Bytes())));
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x03, FromHex("01 02 03 04 05 06"))));
    ASSERT_TRUE(WaitForRows(4));
    ExpectRow(2, "2024-03-05 06:08:00:000", "2", "79 00 00 40 03 43 43 ", kRed);
    ExpectRow(3, "2024-03-05 06:08:00:000", "2", "79 06 00 80 03 01 02 03 04 05 06 9E 82 ", kBlack);
    EXPECT_EQ(monitor->GetDlgItemText(1248), "00:00:51:991");
    EXPECT_EQ(boxes.size(), 0u);
}

const char* const kVersionRequestText =
    "解析信息：\r\n"
    "控制域解析信息：\r\n"
    "帧方向：  主机发出帧,\r\n"
    "启动标志位：  主动发起\r\n"
    "RESP:     正常应答帧，\r\n"
    "CHAN TYPE:    TRM5281PLC\r\n"
    "\r\n"
    "读取版本帧\r\n"
    "\r\n";

const char* const kMacReplyText =
    "解析信息：\r\n"
    "控制域解析信息：\r\n"
    "帧方向：  从机发出帧,\r\n"
    "启动标志位：  命令回应\r\n"
    "RESP:     正常应答帧，\r\n"
    "CHAN TYPE:    TRM5281PLC\r\n"
    "\r\n"
    "读取MAC地址帧\r\n"
    "MAC地址： 060504030201\r\n"
    "\r\n";

TEST_F(FrameMonitorTest, TheNewestRowIsSelectedAndExplainedWhileRefreshIsOn) {
    clock.Set(T(2024, 3, 5, 6, 7, 8, 9));
    OpenPort();
    ASSERT_TRUE(WaitForRows(1));
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{0});
    EXPECT_EQ(Pane(), std::string(kVersionRequestText) +
                          "2024-03-05 06:07:08:009\r\n2024-03-05 06:07:08:009\r\n2024-03-05 06:07:08:009\r\n");

    clock.Set(T(2024, 3, 5, 6, 7, 9, 509));
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x03, FromHex("01 02 03 04 05 06"))));
    ASSERT_TRUE(WaitForRows(2));
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{1});
    EXPECT_EQ(list->GetItemState(1, ListView::kStateFocused), ListView::kStateFocused);
    // Arrival time of the row, time put into the history, time first selected.
    EXPECT_EQ(Pane(), std::string(kMacReplyText) +
                          "2024-03-05 06:07:09:509\r\n2024-03-05 06:07:09:509\r\n2024-03-05 06:07:09:509\r\n");
    LockGuard lock(dlg->m_historyLock);
    ASSERT_EQ(dlg->m_frameHistory.size(), 2u);
    EXPECT_EQ(dlg->m_frameHistory[1].notViewed, 0u);
    EXPECT_EQ(dlg->m_frameHistory[1].viewedTime, T(2024, 3, 5, 6, 7, 9, 509));
}

TEST_F(FrameMonitorTest, SelectionExplainsTheRowAndStampsTheFirstViewOnce) {
    Button(monitor->GetDlgItem(1009)).SetCheck(0);
    clock.Set(T(2024, 3, 5, 6, 7, 8, 9));
    OpenPort();
    clock.Set(T(2024, 3, 5, 6, 7, 9, 509));
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x03, FromHex("01 02 03 04 05 06"))));
    ASSERT_TRUE(WaitForRows(2));
    // Without the automatic refresh nothing is selected and the pane stays empty.
    EXPECT_TRUE(list->GetSelectedRows().empty());
    EXPECT_EQ(Pane(), "");
    {
        LockGuard lock(dlg->m_historyLock);
        EXPECT_EQ(dlg->m_frameHistory[0].notViewed, 1u);
    }

    clock.Set(T(2024, 3, 5, 7, 0, 0, 1));
    list->ClickRow(0);
    EXPECT_EQ(Pane(), std::string(kVersionRequestText) +
                          "2024-03-05 06:07:08:009\r\n2024-03-05 06:07:08:009\r\n2024-03-05 07:00:00:001\r\n");
    clock.Set(T(2024, 3, 5, 7, 0, 5, 0));
    list->ClickRow(1);
    EXPECT_EQ(Pane(), std::string(kMacReplyText) +
                          "2024-03-05 06:07:09:509\r\n2024-03-05 06:07:09:509\r\n2024-03-05 07:00:05:000\r\n");
    // The same row again: the moment of its first selection stays.
    clock.Set(T(2024, 3, 5, 8, 0, 0, 0));
    list->ClickRow(0);
    EXPECT_EQ(Pane(), std::string(kVersionRequestText) +
                          "2024-03-05 06:07:08:009\r\n2024-03-05 06:07:08:009\r\n2024-03-05 07:00:00:001\r\n");
    LockGuard lock(dlg->m_historyLock);
    EXPECT_EQ(dlg->m_frameHistory[0].viewedTime, T(2024, 3, 5, 7, 0, 0, 1));
    EXPECT_EQ(dlg->m_frameHistory[0].notViewed, 0u);
}

TEST_F(FrameMonitorTest, AfterASortARowStillShowsTheTimesOfItsOwnRecord) {
    Button(monitor->GetDlgItem(1009)).SetCheck(0);
    clock.Set(T(2024, 3, 5, 6, 7, 8, 9));
    OpenPort();
    clock.Set(T(2024, 3, 5, 6, 7, 9, 509));
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x03, FromHex("01 02 03 04 05 06"))));
    ASSERT_TRUE(WaitForRows(2));
    // Descending by the frame text: the received frame ("79 06 ...") comes first.
    list->ClickColumn(2);
    ASSERT_EQ(list->GetItemText(0, 2), "79 06 00 80 03 01 02 03 04 05 06 9E 82 ");
    clock.Set(T(2024, 3, 5, 7, 0, 0, 1));
    list->ClickRow(0);
    EXPECT_EQ(Pane(), std::string(kMacReplyText) +
                          "2024-03-05 06:07:09:509\r\n2024-03-05 06:07:09:509\r\n2024-03-05 07:00:00:001\r\n");
    LockGuard lock(dlg->m_historyLock);
    EXPECT_EQ(dlg->m_frameHistory[1].viewedTime, T(2024, 3, 5, 7, 0, 0, 1));
    EXPECT_EQ(dlg->m_frameHistory[0].notViewed, 1u);
}

TEST_F(FrameMonitorTest, FramesThatAreNotModuleFramesShowTheirTimeLinesOnly) {
    Button(monitor->GetDlgItem(1009)).SetCheck(0);
    clock.Set(T(2024, 3, 5, 6, 7, 8, 9));
    // A meter frame of 18 bytes and a short one, as if sent.
    dlg->SendFrame(B(kvtsim::MeterAnswer(FromHex("01 02 03 04 05 06"), FromHex("00 01 00 00"), FromHex("12"))));
    dlg->SendFrame(ByteString{0x68, 0x16});
    ASSERT_TRUE(WaitForRows(2));
    EXPECT_GT(ListView(*list).GetItemText(0, 2).size(), 16u * 3);
    list->ClickRow(0);
    EXPECT_EQ(Pane(), "2024-03-05 06:07:08:009\r\n2024-03-05 06:07:08:009\r\n2024-03-05 06:07:08:009\r\n");
    list->ClickRow(1);
    EXPECT_EQ(Pane(), "2024-03-05 06:07:08:009\r\n2024-03-05 06:07:08:009\r\n2024-03-05 06:07:08:009\r\n");
}

TEST_F(FrameMonitorTest, ARowPastTheHistoryShowsItsExplanationAndTimeLineOnly) {
    Button(monitor->GetDlgItem(1009)).SetCheck(0);
    clock.Set(T(2024, 3, 5, 6, 7, 8, 9));
    // Written as the recording routines write it, but with no history record behind it.
    {
        LockGuard history(dlg->m_historyLock);
        LockGuard lock(dlg->m_monitorLock);
        monitor->AddFrameRow('1', B(FromHex("79 00 00 40 02 42 42")), T(2024, 1, 2, 3, 4, 5, 6), 9);
    }
    ASSERT_TRUE(WaitForRows(1));
    ExpectRow(0, "2024-01-02 03:04:05:006", "9", "79 00 00 40 02 42 42 ", kBlack);
    list->ClickRow(0);
    EXPECT_EQ(Pane(), std::string(kVersionRequestText) + "2024-01-02 03:04:05:006\r\n");
}

TEST_F(FrameMonitorTest, RightClickCopiesTheHexTextOfTheSelectedRow) {
    OpenPort();
    ASSERT_TRUE(WaitForRows(1));
    list->ClearSelection();
    SetClipboardText("untouched");
    list->ClickRow(-1, Notify::RClick);
    EXPECT_EQ(GetClipboardText(), "untouched");
    list->ClickRow(0, Notify::RClick);
    EXPECT_EQ(GetClipboardText(), "79 00 00 40 02 42 42 ");
}

TEST_F(FrameMonitorTest, DoubleClickShowsTheFrameInTheMonitorsOwnViewer) {
    OpenPort();
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x03, FromHex("01 02 03 04 05 06"))));
    ASSERT_TRUE(WaitForRows(2));
    list->ClickRow(1, Notify::DblClick);
    CFrameDetailDlg& viewer = monitor->m_detailDlg;
    EXPECT_TRUE(viewer.IsWindowVisible());
    EXPECT_EQ(viewer.GetDlgItemText(1010), "79 06 00 80 03 01 02 03 04 05 06 9E 82 ");
    EXPECT_FALSE(dlg->m_frameDetailDlg.IsWindowVisible());
    // Esc hides the viewer, and so does its close box; Enter does nothing.
    EXPECT_TRUE(viewer.PressKey(Key::Enter));
    EXPECT_TRUE(viewer.IsWindowVisible());
    viewer.PressKey(Key::Escape);
    EXPECT_FALSE(viewer.IsWindowVisible());
    list->ClickRow(0, Notify::DblClick);
    EXPECT_EQ(viewer.GetDlgItemText(1010), "79 00 00 40 02 42 42 ");
    viewer.Close();
    EXPECT_FALSE(viewer.IsWindowVisible());
    EXPECT_TRUE(viewer.IsCreated());
}

TEST_F(FrameMonitorTest, ClearingRestartsTheNumbersAndTheFirstFrameTime) {
    clock.Set(T(2024, 3, 5, 6, 7, 8, 9));
    OpenPort();
    clock.Set(T(2024, 3, 5, 6, 7, 10, 9));
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x03, FromHex("01 02 03 04 05 06"))));
    ASSERT_TRUE(WaitForRows(2));
    EXPECT_EQ(monitor->GetDlgItemText(1248), "00:00:02:000");
    EXPECT_NE(Pane(), "");

    dlg->ClearRecords();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "确认要清除报文吗？");
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(Pane(), "");
    EXPECT_EQ(monitor->m_firstFrame, 1);

    // The first frame after the clearing is number 1 again and the new reference; the edit keeps
    // its text until the second.
    clock.Set(T(2024, 3, 6, 0, 0, 0, 0));
    dlg->SendFrame(B(BuildFrame(0x40, 0x03, kvtsim::Bytes())));
    ASSERT_TRUE(WaitForRows(1));
    ExpectRow(0, "2024-03-06 00:00:00:000", "1", "79 00 00 40 03 43 43 ", kRed);
    EXPECT_EQ(monitor->GetDlgItemText(1248), "00:00:02:000");
    EXPECT_EQ(monitor->m_firstFrame, 0);
    clock.Set(T(2024, 3, 6, 0, 0, 0, 250));
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x03, FromHex("01 02 03 04 05 06"))));
    ASSERT_TRUE(WaitForRows(2));
    ExpectRow(1, "2024-03-06 00:00:00:250", "1", "79 06 00 80 03 01 02 03 04 05 06 9E 82 ", kBlack);
    EXPECT_EQ(monitor->GetDlgItemText(1248), "00:00:00:250");
    // A day and an hour later the hours wrap.
    clock.Set(T(2024, 3, 7, 1, 0, 0, 0));
    dlg->SendFrame(B(BuildFrame(0x40, 0x03, kvtsim::Bytes())));
    ASSERT_TRUE(WaitForRows(3));
    EXPECT_EQ(list->GetItemText(2, 1), "2");
    EXPECT_EQ(monitor->GetDlgItemText(1248), "01:00:00:000");
}

TEST_F(FrameMonitorTest, RowsRecordedJustBeforeAClearingDoNotOutliveIt) {
    // Recorded, but not yet on the list when the clearing runs.
    dlg->SendFrame(B(BuildFrame(0x40, 0x03, kvtsim::Bytes())));
    dlg->ClearRecords();
    PumpFor(50);
    EXPECT_EQ(list->GetItemCount(), 0);
    {
        LockGuard lock(dlg->m_historyLock);
        EXPECT_TRUE(dlg->m_frameHistory.empty());
    }
    dlg->SendFrame(B(BuildFrame(0x40, 0x03, kvtsim::Bytes())));
    ASSERT_TRUE(WaitForRows(1));
    EXPECT_EQ(list->GetItemText(0, 1), "1");
}

TEST_F(FrameMonitorTest, AnElapsedTimeIsNeverNegative) {
    clock.Set(T(2024, 3, 5, 6, 7, 8, 9));
    dlg->SendFrame(B(BuildFrame(0x40, 0x03, kvtsim::Bytes())));
    {
        // A received frame whose arrival was stamped before the reference frame.
        LockGuard history(dlg->m_historyLock);
        LockGuard lock(dlg->m_monitorLock);
        monitor->AddFrameRow('1', B(FromHex("79 00 00 40 02 42 42")), T(2024, 3, 5, 6, 7, 7, 999), 1);
    }
    ASSERT_TRUE(WaitForRows(2));
    EXPECT_EQ(monitor->GetDlgItemText(1248), "00:00:00:000");
    EXPECT_EQ(CFrameMonitorDlg::FormatElapsed(25LL * 3600000), "01:00:00:000");
    EXPECT_EQ(CFrameMonitorDlg::FormatElapsed(3723004), "01:02:03:004");
}

TEST_F(FrameMonitorTest, EveryKindHasItsColour) {
    const std::pair<char, ColorRef> kinds[] = {
        {'0', 0x0000F0}, {'1', 0x000000}, {'2', 0xFF0000}, {'3', 0x808080}, {'4', 0x008000}, {'5', 0x000000},
        {'6', 0x0080FF}, {'7', 0xFF8080}, {'8', 0xFF80FF}, {'9', 0x808080}, {':', 0xFFFF00}, {'A', 0x000000},
        {'/', 0x000000}};
    {
        LockGuard history(dlg->m_historyLock);
        LockGuard lock(dlg->m_monitorLock);
        for (const auto& k : kinds) monitor->AddFrameRow(k.first, ByteString{0x79}, T(2024, 3, 5, 6, 7, 8, 9), 1);
    }
    const int n = static_cast<int>(sizeof(kinds) / sizeof(kinds[0]));
    ASSERT_TRUE(WaitForRows(n));
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(CFrameMonitorDlg::KindColor(kinds[i].first), kinds[i].second) << kinds[i].first;
        for (int c = 0; c < 3; ++c) EXPECT_EQ(list->GetCellTextColor(i, c), kinds[i].second) << kinds[i].first;
    }
}

TEST_F(FrameMonitorTest, TheMonitorButtonShowsItAndTheCloseBoxHidesIt) {
    Button(dlg->GetDlgItem(1021)).Click();
    EXPECT_TRUE(monitor->IsWindowVisible());
    EXPECT_FALSE(dlg->GetDlgItem(1021).IsEnabled());
    EXPECT_TRUE(monitor->PressKey(Key::Enter));
    EXPECT_TRUE(monitor->PressKey(Key::Escape));
    EXPECT_TRUE(monitor->IsWindowVisible());
    dlg->SendFrame(B(BuildFrame(0x40, 0x03, kvtsim::Bytes())));
    ASSERT_TRUE(WaitForRows(1));
    monitor->Close();
    EXPECT_FALSE(monitor->IsWindowVisible());
    EXPECT_TRUE(dlg->GetDlgItem(1021).IsEnabled());
    // Rows live on while it is hidden, and keep coming.
    dlg->SendFrame(B(BuildFrame(0x40, 0x03, kvtsim::Bytes())));
    ASSERT_TRUE(WaitForRows(2));
}

TEST_F(FrameMonitorTest, ControlsFollowTheWindowSizeAndItStaysAtLeast400By300) {
    monitor->ShowWindow(true);
    PumpMessages();
    for (const auto& size : {std::pair<int, int>{900, 600}, std::pair<int, int>{1200, 700}}) {
        const Rect r = monitor->GetWindowRect();
        monitor->MoveWindow(r.left, r.top, size.first, size.second);
        PumpMessages();
        const Rect win = monitor->GetWindowRect();
        const int W = win.Width();
        const int H = win.Height();
        EXPECT_EQ(list->GetRectInParent(), (Rect{0, 0, static_cast<int>(W * 0.7), static_cast<int>(H * 0.9)}));
        EXPECT_EQ(list->GetColumnWidth(0), static_cast<int>(W * 0.7 * 0.24));
        EXPECT_EQ(list->GetColumnWidth(1), static_cast<int>(W * 0.7 * 0.06));
        EXPECT_EQ(list->GetColumnWidth(2), static_cast<int>(W * 0.7 * 0.7));
        auto expect = [&](int id, double x, double y, double w, double h) {
            const Rect got = monitor->GetDlgItem(id).GetRectInParent();
            EXPECT_EQ(got, (Rect{static_cast<int>(W * x), static_cast<int>(H * y),
                                 static_cast<int>(W * x) + static_cast<int>(W * w),
                                 static_cast<int>(H * y) + static_cast<int>(H * h)}))
                << id;
        };
        expect(1007, 0.71, 0.03, 0.27, 0.85);
        expect(1009, 0.71, 0.88, 0.1, 0.04);
        expect(1248, 0.81, 0.88, 0.15, 0.04);
    }
    const Rect r = monitor->GetWindowRect();
    monitor->MoveWindow(r.left, r.top, 200, 100);
    PumpMessages();
    EXPECT_GE(monitor->GetWindowRect().Width(), 400);
    EXPECT_GE(monitor->GetWindowRect().Height(), 300);
}

TEST_F(FrameMonitorTest, TheMainWindowsViewerTakesLongTexts) {
    CFrameDetailDlg& viewer = dlg->m_frameDetailDlg;
    ASSERT_TRUE(viewer.IsCreated());
    EXPECT_EQ(viewer.GetWindowText(), "");
    EXPECT_FALSE(viewer.IsWindowVisible());
    viewer.ShowWindow(true);
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "79 ";
    viewer.SetText(text);
    EXPECT_EQ(viewer.GetDlgItemText(1010), text);
    viewer.SetText("");
    EXPECT_EQ(viewer.GetDlgItemText(1010), "");
}

TEST_F(FrameMonitorTest, RefillRowsListsTheHistoryNumberedFromZero) {
    Button(monitor->GetDlgItem(1009)).SetCheck(0);
    clock.Set(T(2024, 3, 5, 6, 7, 8, 9));
    dlg->SendFrame(B(BuildFrame(0x40, 0x03, kvtsim::Bytes())));
    dlg->SendFrame(B(BuildFrame(0x40, 0x02, kvtsim::Bytes())));
    ASSERT_TRUE(WaitForRows(2));
    monitor->RefillRows();
    ASSERT_TRUE(WaitForRows(4));
    ExpectRow(2, "2024-03-05 06:07:08:009", "0", "79 00 00 40 03 43 43 ", kRed);
    ExpectRow(3, "2024-03-05 06:07:08:009", "1", "79 00 00 40 02 42 42 ", kRed);
}

TEST_F(FrameMonitorTest, TheMacLayerPageSortsOnAHeaderClick) {
    ListView& page = dlg->m_macFramePage.m_list;
    for (const char* n : {"10", "9", "100"}) page.AppendRow({n, "a"});
    page.ClickColumn(0);
    EXPECT_EQ(page.GetItemText(0, 0), "100");
    page.ClickColumn(0);
    EXPECT_EQ(page.GetItemText(0, 0), "9");
    EXPECT_EQ(page.GetItemText(2, 0), "100");
}

}  // namespace
