// The main window with the simulated module behind COM7: the settings dialog, the frame logs and
// the history, hang-ups and closing. The window is reached through its public methods,
// its link and its controls by id.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/about_dlg.h"
#include "app/main_tester_dlg.h"
#include "platform/dialog_template.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"
#include "support/main_window_fixture.h"
#include "support/thread_gate.h"

namespace {

using namespace testsupport;

class MainWindowTest : public MainWindowWithModule {
protected:
    MainWindowTest() : MainWindowWithModule(7) {}
};

TEST_F(MainWindowTest, OpeningFromTheSettingsDialogStartsTheReceivePath) {
    EXPECT_TRUE(std::filesystem::exists("parsefile.txt"));  // in the test's own directory
    EXPECT_EQ(dlg->GetDlgItemText(IDC_PORT_STATUS), "串口未打开");
    EXPECT_FALSE(dlg->Link().IsGatherThreadRunning() || dlg->Link().IsMonitorThreadRunning());
    // The reply comes after the window's 100 ms wait: the capture waits for its block.
    sim.SetAnswer(0x02, kvtsim::VersionReply(), std::chrono::milliseconds(150));
    dlg->PostTask([this] {
        Button(dlg->SerialSettingsDialog().GetDlgItem(IDC_SERIAL_OPEN_CLOSE)).Click();
        EXPECT_TRUE(dlg->IsTimerRunning(TIMER_VERSION_WAIT));
        EXPECT_TRUE(dlg->Link().IsVersionCaptureArmed());
    });
    dlg->OnSerialSettings();
    EXPECT_FALSE(dlg->SerialSettingsDialog().IsCreated());
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(dlg->Link().IsGatherThreadRunning() && dlg->Link().IsMonitorThreadRunning());
    EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_SERIAL);
    EXPECT_EQ(dlg->GetDlgItemText(IDC_PORT_STATUS), "COM7,115200, 8,无校验, 1");
    // The version request reaches the module byte for byte; its reply is captured, not classified.
    ASSERT_TRUE(sim.WaitForFrames(1, std::chrono::seconds(5)));
    EXPECT_EQ(sim.ReceivedFrames()[0], FromHex("79 00 00 40 02 42 42"));
    EXPECT_TRUE(WaitFor([&] { return dlg->GetDlgItemText(IDC_VERSION_TEXT) == "版本号:QV-5207-01-03-02"; }));
    EXPECT_EQ(HistoryCount('0'), 1u);
    EXPECT_EQ(HistoryCount('1'), 0u);
}

TEST_F(MainWindowTest, FramesOfOneBurstLandInTheirLogsAndTheHistory) {
    OpenPort();
    const ByteString data = BuildFrame(0x80, 0x15, FromHex("01 02"));
    const ByteString password = BuildFrame(0x80, 0x1D, FromHex("AA"));
    const ByteString search = BuildFrame(0xC0, 0x1B, FromHex("01"));
    const ByteString reset = BuildFrame(0x80, 0xF4, FromHex("02 00"));
    ASSERT_TRUE(sim.Send(data + password + search + reset));
    ASSERT_TRUE(WaitFor([&] { return HistoryCount('1') == 4 && ListOf(IDC_FRAME_LOG).GetItemCount() == 1; }));
    const std::pair<int, ByteString> rows[] = {
        {IDC_DATA_REPLY_LOG, data}, {IDC_PASSWORD_REPLY_LOG, password}, {IDC_SEARCH_LOG, search}, {IDC_FRAME_LOG, reset}};
    for (const auto& row : rows) {
        ASSERT_TRUE(WaitFor([&] { return ListOf(row.first).GetItemCount() == 1; })) << row.first;
        EXPECT_EQ(ListOf(row.first).GetItemText(0, 1) + "|" + ListOf(row.first).GetItemText(0, 2),
                  "00|" + Spaced(row.second));
    }
    const std::string stamp = ListOf(IDC_DATA_REPLY_LOG).GetItemText(0, 0);
    ASSERT_EQ(stamp.size(), 23u);
    EXPECT_EQ(stamp[19], ':');
    const std::vector<MonitorRecord> history = History();
    ASSERT_EQ(history.size(), 5u);
    EXPECT_EQ(history[1].frame, data);
    EXPECT_EQ(history[4].frame, reset);

    // Reception off: frames are still logged but leave no record.
    Button(dlg->GetDlgItem(IDC_TOGGLE_RECEIVE)).Click();
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x15, FromHex("03"))));
    ASSERT_TRUE(WaitFor([&] { return ListOf(IDC_DATA_REPLY_LOG).GetItemCount() == 2; }));
    PumpFor(50);
    EXPECT_EQ(HistoryCount('1'), 4u);
    EXPECT_EQ(dlg->Link().History().ReceivedCount(), 5u);

    EXPECT_EQ(dlg->Link().Queues().receiveData.Size(), 2u);
    dlg->ClearRecords();  // the question is answered OK
    EXPECT_TRUE(History().empty());
    EXPECT_EQ(dlg->Link().Queues().receiveData.Size() + dlg->Link().Queues().allFrames.Size(), 0u);
    EXPECT_EQ(dlg->Link().History().SentCount(), 1u);
    EXPECT_TRUE(dlg->Link().IsMonitorThreadRunning());
}

// The window is the explanations' sink: their descramble switch reaches the link, which then
// records the data of 0x00 frames descrambled.
TEST_F(MainWindowTest, TheExplanationsDescrambleSwitchReachesTheLink) {
    OpenPort();
    AnalyzerSink& sink = *dlg;
    const ByteString frame = BuildFrame(0x80, 0x00, FromHex("4E 79 00"));
    const std::pair<bool, ByteString> cases[] = {{true, FromHex("00 00 43")}, {false, FromHex("4E 79 00")}};
    size_t records = 0;
    for (const auto& c : cases) {
        sink.SetDescramble(c.first);
        ASSERT_TRUE(sim.Send(frame));
        ++records;
        ASSERT_TRUE(WaitFor([&] { return HistoryCount('1') == records; })) << c.first;
        EXPECT_EQ(History().back().frame, c.second) << c.first;
    }
}

TEST_F(MainWindowTest, CloseReopenAndCloseTheWindow) {
    OpenPort(false);
    const std::shared_ptr<WorkerThread> monitor = dlg->Link().MonitorWorker().Thread();
    OpenPort(false);  // the button now reads "关闭串口": closes; the monitor keeps running
    EXPECT_FALSE(dlg->Link().IsGatherThreadRunning());
    EXPECT_FALSE(dlg->Link().IsPortOpen());
    EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NONE);
    EXPECT_EQ(dlg->GetDlgItemText(IDC_PORT_STATUS), "串口未打开");
    OpenPort(false);
    EXPECT_TRUE(dlg->Link().IsPortOpen());
    EXPECT_EQ(dlg->Link().MonitorWorker().Thread(), monitor);  // no second monitor beside it
    const std::shared_ptr<WorkerThread> gather = dlg->Link().GatherWorker().Thread();
    EXPECT_TRUE(boxes.empty());

    dlg->Close();
    EXPECT_TRUE(gather->IsFinished() && monitor->IsFinished());
    EXPECT_FALSE(dlg->Link().IsGatherThreadRunning() || dlg->Link().IsMonitorThreadRunning());
    EXPECT_EQ(dlg->Link().SerialComm(), nullptr);
}

TEST_F(MainWindowTest, NoThreadStartsOnceTheCloseHasBegun) {
    // "清除报文" stops the monitor thread, pumping, and starts it again. The monitor's thread is
    // held before its work, so the stop waits while the window closes; the restart after it
    // starts nothing.
    OpenPort();
    ThreadGate threads(dlg->Link().Workers());
    Click(IDC_CLEAR_RECORDS);
    ASSERT_EQ(threads.Starts(), 1u);  // the monitor, held
    dlg->PostTask([this] { dlg->Close(); });
    dlg->PostTask(threads.Opener());
    Click(IDC_CLEAR_RECORDS);
    ASSERT_EQ(dlg->Link().SerialComm(), nullptr);  // the close came in the clearing
    EXPECT_EQ(threads.Starts(), 1u);
    EXPECT_FALSE(dlg->Link().IsMonitorThreadRunning());
}

TEST_F(MainWindowTest, HangUpClosesThePortAndSaysWhy) {
    OpenPort();
    sim.HangUp();
    ASSERT_TRUE(WaitFor([&] { return !dlg->Link().IsGatherThreadRunning(); }));
    EXPECT_FALSE(dlg->Link().IsPortOpen());
    EXPECT_EQ(dlg->GetDlgItemText(IDC_PORT_STATUS), "串口未打开");
    EXPECT_EQ(dlg->GetDlgItemText(IDC_VERSION_TEXT), "版本号:");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "错误");
    EXPECT_EQ(boxes[0].text, "串口 COM7 (" + sim.SlavePath() + ") 已断开(设备被拔出或线路挂断)");
}

TEST_F(MainWindowTest, FailedOpeningsShowTheirOwnTextsAloneAndLeaveThePortClosed) {
    setenv("KVT_COM5", "/nonexistent/ttyKVT5", 1);
    const struct {
        const char* name;
        uint32_t port;
        bool held, noThread;  // by another program; a receive thread that does not start
        std::vector<std::string> texts;
    } cases[] = {
        {"no receive thread", 7, false, true, {"启动串口通讯线程失败", "打开串口失败"}},
        {"no port chosen", 0, false, false, {"打开串口失败"}},
        {"no such device", 5, false, false, {"打开串口失败"}},
        {"held by another program", 7, true, false, {"串口硬件不可用(被其它设备锁定)"}},
    };
    CSerialPort other;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.held) {
            ASSERT_EQ(other.Open(7, 115200, 8, 0, "1"), 0);
        }
        if (c.noThread)
            dlg->Link().Workers().SetLauncher([](std::function<void()>) { return std::shared_ptr<WorkerThread>(); });
        dlg->SerialSettingsRecord().comPort = c.port;
        boxes.clear();
        OpenPort();  // the dialog, still offering "打开串口", is closed
        EXPECT_EQ(BoxTexts(), c.texts);
        EXPECT_EQ(boxes[0].caption, "错误");
        EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(kMbOk | kMbIconStop));
        EXPECT_FALSE(dlg->Link().IsPortOpen() || dlg->Link().IsGatherThreadRunning());
        EXPECT_FALSE(dlg->Link().SerialComm() && dlg->Link().SerialComm()->IsOpen());
        EXPECT_EQ(dlg->GetDlgItemText(IDC_PORT_STATUS), "串口未打开");
        if (!c.noThread) continue;
        // Once the thread starts, the same button opens it.
        dlg->Link().Workers().SetLauncher(nullptr);
        OpenPort();
        EXPECT_TRUE(dlg->Link().IsPortOpen());
        EXPECT_EQ(boxes.size(), 2u);
        OpenPort(false);  // closed again
    }
    unsetenv("KVT_COM5");
}

TEST_F(MainWindowTest, RowsFromAnotherThreadKeepTheirOrderAndTheNewestIsSelected) {
    WorkerThread::Start([this] {
        for (int i = 0; i < 50; ++i) dlg->Logs().Add(LogList::DataReplyLog, StrFormat("79%02X", i));
    })->Join();
    dlg->Logs().Add(LogList::DataReplyLog, "0A0B0");  // on this thread: after the rows written before it
    dlg->Logs().Add(LogList::DataReplyLog, "0a0G1");  // not upper-case hexadecimal: shown as given, spaced
    ListView list = ListOf(IDC_DATA_REPLY_LOG);
    ASSERT_TRUE(WaitFor([&] { return list.GetItemCount() == 52; })) << list.GetItemCount();
    EXPECT_EQ(list.GetItemText(51, 2), "0a 0G ");
    for (int i = 0; i < 50; ++i) EXPECT_EQ(list.GetItemText(i, 1) + list.GetItemText(i, 2), StrFormat("%02d79 %02X ", i, i));
    EXPECT_EQ(list.GetItemText(50, 2), "0A 0B ");  // an odd last digit is dropped
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{51});

    // The menu's "清除报文" empties the frame logs once confirmed; the history stays.
    dlg->Logs().Add(LogList::SearchLog, "7901");
    dlg->SendFrame(ByteString{0x79, 0x00, 0x00, 0x00, 0x02, 0x02, 0x02});
    const size_t history = History().size();
    dlg->DispatchNotify(IDM_CLEAR_FRAME_LISTS, Notify::Clicked);
    ASSERT_EQ(boxes.back().text, "确认要清除LIST中的数据吗？");
    PumpFor(100);
    for (int id : {IDC_DATA_REPLY_LOG, IDC_SEARCH_LOG}) EXPECT_EQ(ListOf(id).GetItemCount(), 0) << id;
    EXPECT_EQ(History().size(), history);
    dlg->Logs().Add(LogList::DataReplyLog, "7902");  // numbering starts again
    ASSERT_TRUE(WaitFor([&] { return list.GetItemCount() == 1; }));
    EXPECT_EQ(list.GetItemText(0, 1), "00");
}

TEST_F(MainWindowTest, ControlsFollowTheWindowSizeAtTheirFractions) {
    // A font taller than the wait-mode combo's share of the height, so its height shows the layout's.
    dlg->GetDlgItem(IDC_ROUND_WAIT_MODE_COMBO).SetFont("", 60, 400);
    dlg->MoveWindow(20, 10, 1000, 560);
    const DialogTemplate* t = FindDialogTemplate(dlg->TemplateId());
    ASSERT_NE(t, nullptr);
    const auto frac = [](double f, int size) { return static_cast<int>(f * size); };
    const auto window = [this] { return dlg->GetWindowRect(); };
    ASSERT_TRUE(WaitFor([&] {
        return dlg->GetClientRect().Width() == 1000 &&
               dlg->GetDlgItem(IDC_FRAME_LOG).GetRectInParent().Width() == frac(0.50, window().Width());
    }));
    const int W = window().Width(), H = window().Height();
    ASSERT_NE(W, H);
    const auto text = [](const Rect& r) { return StrFormat("%d,%d %dx%d", r.left, r.top, r.Width(), r.Height()); };
    for (const ControlTemplate& c : t->controls) {
        // Plain labels have no id; the title and the reception tabs take fractions of the client area.
        if (c.id == -1 || c.id == IDC_TITLE_TEXT || c.id == IDC_RECEIVE_TABS) continue;
        Rect r = dlg->GetDlgItem(c.id).GetRectInParent();
        const Rect expected{frac(c.x, W), frac(c.y, H), frac(c.x, W) + frac(c.w, W), frac(c.y, H) + frac(c.h, H)};
        // Every other combo has room for its list: its own height, above its share.
        const bool combo = c.kind == ControlKind::ComboDropDown || c.kind == ControlKind::ComboDropList;
        if (combo && c.id != IDC_ROUND_WAIT_MODE_COMBO) {
            EXPECT_GT(r.Height(), expected.Height()) << c.id;
            r.bottom = expected.bottom;
        }
        EXPECT_EQ(text(r), text(expected)) << c.id;
    }
}

// The about box's picture shows the program's icon: its pixels are not all one colour.
TEST(AboutBox, ThePictureShowsTheProgramsIcon) {
    CAboutDlg about;
    ASSERT_TRUE(about.Create());
    about.ShowWindow(true);
    const Window picture = about.GetTemplateControl(0);
    const Rect r = picture.GetClientRect();
    ASSERT_GT(r.Width(), 8);
    std::set<ColorRef> colours;
    for (int y = 1; y < r.Height(); y += 3)
        for (int x = 1; x < r.Width(); x += 3) colours.insert(picture.GetPixel(Point{x, y}));
    EXPECT_GE(colours.size(), 3u);
    about.DestroyWindow();
}

}  // namespace
