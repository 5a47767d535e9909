// The frame monitor and the frame detail viewer, with frames travelling over a pseudo-terminal
// between the main window and the simulated module.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <thread>

#include "analyzer/analyzer_texts.h"
#include "dialogs/frame_log.h"
#include "platform/text_format.h"
#include "support/dialog_lookup.h"
#include "support/main_window_fixture.h"

namespace {

using namespace testsupport;

const ColorRef kRed = 0x0000F0;
const ColorRef kBlack = 0x000000;

const std::string kVersionRequestText = "解析信息：\r\n" + analyzer_texts::Header(0x40) + "读取版本帧\r\n\r\n";
const std::string kMacReplyText =
    "解析信息：\r\n" + analyzer_texts::Header(0x80) + "读取MAC地址帧\r\nMAC地址： 060504030201\r\n\r\n";
const ByteString kMacReply = BuildFrame(0x80, 0x03, FromHex("01 02 03 04 05 06"));

// The time lines under an explanation: arrival, record, first selection.
std::string Times(const std::string& recorded, const std::string& viewed) {
    return recorded + "\r\n" + recorded + "\r\n" + viewed + "\r\n";
}

class FrameMonitorTest : public MainWindowWithModule {
protected:
    FrameMonitorTest() : MainWindowWithModule(11, true) {}

    void SetUp() override {
        MainWindowWithModule::SetUp();
        monitor = &Within<CFrameMonitorDlg>(*dlg);
        list = &monitor->m_frameList;
    }

    bool WaitForRows(int n) { return WaitFor([&] { return list->GetItemCount() == n; }); }
    // Recorded as a frame a channel took.
    void SendCommand(uint8_t command) { dlg->Link().RecordSentFrame('0', BuildFrame(0x40, command, {})); }
    void NoAutoRefresh() { Button(monitor->GetDlgItem(IDC_MONITOR_AUTO_REFRESH)).SetCheck(0); }

    void ExpectRow(int row, const std::string& time, const std::string& number, const std::string& hex,
                   ColorRef color) {
        EXPECT_EQ(list->GetItemText(row, 0) + "|" + list->GetItemText(row, 1) + "|" + list->GetItemText(row, 2),
                  time + "|" + number + "|" + hex);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(list->GetCellTextColor(row, c), color) << row << "," << c;
    }

    std::string Pane() const { return monitor->GetDlgItemText(IDC_MONITOR_ANALYSIS_PANE); }
    std::string Elapsed() const { return monitor->GetDlgItemText(IDC_MONITOR_ELAPSED); }
    // The pane's last lines, as long as expected.
    std::string PaneEnd(const std::string& expected) const {
        const std::string pane = Pane();
        return pane.substr(pane.size() - std::min(pane.size(), expected.size()));
    }

    // Every record of the history has one row, which shows it, and no row is without a record.
    void ExpectEveryRecordListed() {
        const FrameHistory& history = dlg->Link().History();
        ASSERT_TRUE(WaitFor([&] { return list->GetItemCount() == static_cast<int>(history.Size()); }))
            << list->GetItemCount() << " rows, " << history.Size() << " records";
        PumpFor(50);
        const std::vector<MonitorRecord> records = History();
        const intptr_t first = static_cast<intptr_t>(history.FirstPosition());
        ASSERT_EQ(list->GetItemCount(), static_cast<int>(records.size()));
        std::map<intptr_t, int> rowOf;
        for (int row = 0; row < list->GetItemCount(); ++row)
            EXPECT_TRUE(rowOf.emplace(list->GetItemData(row), row).second) << "two rows of one record";
        for (size_t i = 0; i < records.size(); ++i) {
            SCOPED_TRACE("record " + std::to_string(i));
            const auto it = rowOf.find(first + static_cast<intptr_t>(i));
            ASSERT_NE(it, rowOf.end()) << "no row";
            const MonitorRecord& r = records[i];
            EXPECT_EQ(list->GetItemText(it->second, 0) + "|" + list->GetItemText(it->second, 2),
                      FormatTimeStamp(r.time) + "|" + Spaced(r.frame));
            EXPECT_EQ(list->GetCellTextColor(it->second, 2), r.kind == '0' ? kRed : kBlack);
        }
    }

    CFrameMonitorDlg* monitor = nullptr;
    CSortListCtrl* list = nullptr;
};

// Frame i of a series: sent, received or imported, each its own bytes.
ByteString Nth(uint8_t command, int i) {
    return BuildFrame(0x80, command, {static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i)});
}

TEST_F(FrameMonitorTest, EveryRecordOfTheHistoryHasItsRowAfterAnySequence) {
    OpenPort();
    const std::string records = Path("records.txt");
    {
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += StrFormat("2024-03-05 06:07:09:%03d  ", i) + Spaced(Nth(0x19, i)) + "\r\n";
        WriteFileBytes(records, text);
    }
    const auto fromWindow = [this](int n) {
        for (int i = 0; i < n; ++i) dlg->SendFrame(Nth(0x40, i));
    };
    // A worker sends meanwhile, as the batch tests do; the returned thread is joined by the caller.
    const auto fromWorker = [this](int n) {
        return std::thread([this, n] {
            for (int i = 0; i < n; ++i) dlg->SendFrame(Nth(0x41, i));
        });
    };
    const auto fromModule = [this](int n) {
        kvtsim::Bytes block;
        for (int i = 0; i < n; ++i) {
            const ByteString f = Nth(0x15, i);
            block.insert(block.end(), f.begin(), f.end());
        }
        ASSERT_TRUE(sim.Send(block));
        const size_t received = HistoryCount('1') + static_cast<size_t>(n);
        ASSERT_TRUE(WaitFor([&] { return HistoryCount('1') >= received; }));
    };
    const auto import = [this, &records] {
        const size_t received = HistoryCount('1') + 40;
        filePaths.push_back(records);
        dlg->DispatchNotify(IDC_IMPORT_RECORDS, Notify::Clicked);
        ASSERT_TRUE(WaitFor([&] { return HistoryCount('1') >= received && dlg->Link().IsMonitorThreadRunning(); }));
    };
    const auto clear = [this] { dlg->DispatchNotify(IDC_CLEAR_RECORDS, Notify::Clicked); };
    const auto show = [this](bool on) { monitor->ShowWindow(on); };
    // listed frames shown, then more recorded on the window's thread before the next showing.
    const auto overflow = [&](int listed, int more) {
        fromWindow(listed);
        ASSERT_TRUE(WaitForRows(listed));
        fromWindow(more);
    };

    struct Sequence {
        const char* name;
        std::function<void()> run;
    };
    const Sequence sequences[] = {
        {"hidden: the window, a worker and the module at once",
         [&] {
             show(false);
             std::thread worker = fromWorker(60);
             fromWindow(10);
             fromModule(20);
             worker.join();
         }},
        {"shown: the same", [&] {
             show(true);
             std::thread worker = fromWorker(60);
             fromWindow(10);
             fromModule(20);
             worker.join();
         }},
        {"a record import while frames flow",
         [&] {
             std::thread worker = fromWorker(80);
             import();
             fromModule(10);
             worker.join();
         }},
        {"sorted between bursts, hidden and shown again",
         [&] {
             fromWindow(5);
             ASSERT_TRUE(WaitForRows(5));
             list->ClickColumn(2);
             show(false);
             std::thread worker = fromWorker(30);
             fromModule(5);
             worker.join();
             ASSERT_TRUE(WaitForRows(40));
             list->ClickColumn(0);
             show(true);
             fromWindow(5);
         }},
        {"a clearing while a worker sends: rows of records made before it go with them",
         [&] {
             std::thread worker = fromWorker(300);
             ASSERT_TRUE(WaitFor([&] { return dlg->Link().History().SentCount() > 50; }));
             clear();
             worker.join();
             fromModule(5);
         }},
        {"rows still waiting when a clearing runs",
         [&] {
             fromWindow(5);
             clear();
             fromWindow(3);
         }},
        {"the history's bound drops its oldest records, the list sorted newest first",
         [&] {
             // The list's own bound as large as the history's, as they are by default.
             dlg->Link().History().SetBound(40, 10);
             list->SetRowLimit(40, 10);
             fromWindow(30);
             ASSERT_TRUE(WaitForRows(30));
             list->ClickColumn(2);  // descending by the frame: the newest first
             std::thread worker = fromWorker(10);
             fromModule(5);
             worker.join();
             EXPECT_GT(dlg->Link().History().FirstPosition(), 0u);
         }},
        {"more records than the bound less its drop between two showings: rows still waiting go too",
         [&] {
             dlg->Link().History().SetBound(40, 10);
             overflow(35, 40);
             EXPECT_GT(dlg->Link().History().FirstPosition(), 35u);
         }},
        {"the bound in two generations, the second dropping fewer than the first",
         [&] {
             dlg->Link().History().SetBound(40, 10);
             overflow(35, 40);
             ExpectEveryRecordListed();
             clear();
             overflow(35, 10);
             EXPECT_LT(dlg->Link().History().FirstPosition(), 35u);
         }},
    };
    for (const Sequence& s : sequences) {
        SCOPED_TRACE(s.name);
        clear();
        s.run();
        ExpectEveryRecordListed();
    }
}

TEST_F(FrameMonitorTest, SentAndReceivedFramesBecomeRowsAndTheNewestIsExplained) {
    OpenPort();
    // The version request that the opening sends: the first sent frame, selected and explained
    // with its arrival time, the time put into the history and the time first selected.
    ASSERT_TRUE(WaitForRows(1));
    ExpectRow(0, kFixedStamp, "1", "79 00 00 40 02 42 42 ", kRed);
    EXPECT_EQ(Elapsed(), "");  // the first frame only sets the reference
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{0});
    EXPECT_EQ(Pane(), kVersionRequestText + Times(kFixedStamp, kFixedStamp));

    SetClock(T(2024, 3, 5, 6, 7, 9, 509));
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x15, FromHex("01 02"))));
    ASSERT_TRUE(WaitForRows(2));
    ExpectRow(1, "2024-03-05 06:07:09:509", "1", "79 02 00 80 15 01 02 9A 94 ", kBlack);
    EXPECT_EQ(Elapsed(), "00:00:01:500");

    SetClock(T(2024, 3, 5, 6, 8, 0, 0));
    SendCommand(0x03);
    ASSERT_TRUE(sim.Send(kMacReply));
    ASSERT_TRUE(WaitForRows(4));
    ExpectRow(2, "2024-03-05 06:08:00:000", "2", "79 00 00 40 03 43 43 ", kRed);
    ExpectRow(3, "2024-03-05 06:08:00:000", "2", "79 06 00 80 03 01 02 03 04 05 06 9E 82 ", kBlack);
    EXPECT_EQ(Elapsed(), "00:00:51:991");
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{3});
    EXPECT_EQ(list->GetItemState(3, ListView::kStateFocused), ListView::kStateFocused);
    // Rows the refresh selects in quick succession are explained a little later, the newest one.
    const std::string macExplained = kMacReplyText + Times("2024-03-05 06:08:00:000", "2024-03-05 06:08:00:000");
    EXPECT_TRUE(WaitFor([&] { return Pane() == macExplained; })) << Pane();
    // A row the user picks is explained at once.
    list->ClickRow(0);
    EXPECT_EQ(Pane(), kVersionRequestText + Times(kFixedStamp, kFixedStamp));
    const std::vector<MonitorRecord> history = History();
    ASSERT_EQ(history.size(), 4u);
    EXPECT_EQ(history[3].notViewed, 0u);
    EXPECT_EQ(history[3].viewedTime, T(2024, 3, 5, 6, 8, 0, 0));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FrameMonitorTest, EveryRowOfABurstIsStampedAsViewedAndARefillListsThemAgain) {
    // Three frames recorded before the window runs again: one showing puts all three rows up.
    SetClock(T(2024, 3, 5, 6, 30, 0, 7));
    for (uint8_t command : {0x01, 0x02, 0x03}) SendCommand(command);
    ASSERT_TRUE(WaitForRows(3));
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{2});
    for (const MonitorRecord& r : History()) {
        EXPECT_EQ(r.notViewed, 0u);
        EXPECT_EQ(r.viewedTime, T(2024, 3, 5, 6, 30, 0, 7));
    }
    // Selected later, the first row shows the moment it was shown.
    SetClock(T(2024, 3, 5, 7, 0, 0, 0));
    list->ClickRow(0);
    const std::string shown = "2024-03-05 06:30:00:007";
    EXPECT_EQ(PaneEnd(Times(shown, shown)), Times(shown, shown));
    // Refilled, the list shows the history once more, numbered from 0.
    monitor->RefillRows();
    ASSERT_TRUE(WaitForRows(6));
    ExpectRow(3, shown, "0", "79 00 00 40 01 41 41 ", kRed);
    ExpectRow(5, shown, "2", "79 00 00 40 03 43 43 ", kRed);
    // A refilled row explains its own record, and the next frame recorded gets a row of its own.
    list->ClickRow(4);
    EXPECT_EQ(PaneEnd(Times(shown, shown)), Times(shown, shown));
    SetClock(T(2024, 3, 5, 8, 0, 0, 0));
    SendCommand(0x04);
    ASSERT_TRUE(WaitForRows(7));
    list->ClickRow(6);
    const std::string later = "2024-03-05 08:00:00:000";
    EXPECT_EQ(PaneEnd(Times(later, later)), Times(later, later));
}

TEST_F(FrameMonitorTest, AfterASortTheSelectionAndTheExplanationStayWithTheirFrames) {
    NoAutoRefresh();
    // Commands 01, 03, 02 sent 1 ms apart: sorting them moves every row.
    const uint8_t commands[] = {0x01, 0x03, 0x02};
    for (int i = 0; i < 3; ++i) {
        SetClock(T(2024, 3, 5, 6, 7, 8, i));
        SendCommand(commands[i]);
    }
    ASSERT_TRUE(WaitForRows(3));
    // Without the automatic refresh nothing is selected or explained, nor stamped as viewed.
    EXPECT_TRUE(list->GetSelectedRows().empty());
    EXPECT_EQ(Pane(), "");
    EXPECT_EQ(History()[0].notViewed, 1u);
    // A right click copies the selected row's text, and nothing without a selection.
    SetClipboardText("untouched");
    list->ClickRow(-1, Notify::RClick);
    EXPECT_EQ(GetClipboardText(), "untouched");
    list->ClickRow(2);
    list->ClickColumn(2);  // descending by the frame text: 03, 02, 01
    ASSERT_EQ(list->GetItemText(0, 2), "79 00 00 40 03 43 43 ");
    ASSERT_EQ(list->GetItemText(2, 2), "79 00 00 40 01 41 41 ");
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{1});
    list->ClickRow(-1, Notify::RClick);
    EXPECT_EQ(GetClipboardText(), "79 00 00 40 02 42 42 ");
    // A click explains the clicked frame with the times of its own record.
    SetClock(T(2024, 3, 5, 7, 0, 0, 1));
    list->ClickRow(0);
    EXPECT_NE(Pane().find("读取MAC地址帧"), std::string::npos) << Pane();
    const std::string times = Times("2024-03-05 06:07:08:001", "2024-03-05 07:00:00:001");
    EXPECT_EQ(PaneEnd(times), times);
    // Clicked again later, it keeps the moment of its first selection.
    SetClock(T(2024, 3, 5, 8, 0, 0, 0));
    list->ClickRow(1);
    list->ClickRow(0);
    EXPECT_EQ(PaneEnd(times), times);
    const std::vector<MonitorRecord> history = History();
    EXPECT_EQ(history[1].viewedTime, T(2024, 3, 5, 7, 0, 0, 1));
    EXPECT_EQ(history[0].notViewed, 1u);
}

// A row being read that the history's bound drops leaves no row selected: its explanation
// stays, and no other row is selected or marked as viewed in its place, whatever the order.
TEST_F(FrameMonitorTest, ASelectedRowThatTheBoundDropsLeavesNoRowSelected) {
    NoAutoRefresh();
    dlg->Link().History().SetBound(40, 10);
    // MAC replies, each explained with its own address, whose texts sort in another order than
    // they were recorded.
    const auto record = [this](int from, int to) {
        for (int i = from; i < to; ++i) {
            const uint8_t n = static_cast<uint8_t>(i * 7 % 30);
            dlg->Link().RecordSentFrame('0', BuildFrame(0x80, 0x03, {n, 2, 3, 4, 5, 6}));
        }
    };
    const struct {
        const char* name;
        bool sorted;
    } orders[] = {{"recording order", false}, {"sorted by the frame", true}};
    for (const auto& order : orders) {
        SCOPED_TRACE(order.name);
        dlg->DispatchNotify(IDC_CLEAR_RECORDS, Notify::Clicked);
        record(0, 30);
        ASSERT_TRUE(WaitForRows(30));
        if (order.sorted) list->ClickColumn(2);
        // The user reads the row of the fourth record.
        const intptr_t read = static_cast<intptr_t>(dlg->Link().History().FirstPosition()) + 3;
        int row = 0;
        while (row < list->GetItemCount() && list->GetItemData(row) != read) ++row;
        ASSERT_LT(row, 30);
        EXPECT_TRUE(!order.sorted || row != 3) << "the sort left the row in place";
        list->ClickRow(row);
        const std::string explained = Pane();
        ASSERT_NE(explained.find(StrFormat("MAC地址： 0605040302%02X", 3 * 7)), std::string::npos) << explained;
        // Past the bound the ten oldest records go, the one being read among them.
        record(30, 45);
        ASSERT_TRUE(WaitForRows(35));
        PumpFor(50);
        EXPECT_TRUE(list->GetSelectedRows().empty());
        EXPECT_EQ(Pane(), explained);
        for (const MonitorRecord& r : History()) {
            EXPECT_EQ(r.notViewed, 1u);
        }
        ExpectEveryRecordListed();
    }
}

TEST_F(FrameMonitorTest, RowsWithoutAModuleFrameOrARecordShowTheirTimeLines) {
    NoAutoRefresh();
    // A meter frame of 18 bytes and a short one, as if sent.
    dlg->Link().RecordSentFrame('0', kvtsim::MeterAnswer(FromHex("01 02 03 04 05 06"), FromHex("00 01 00 00"),
                                                        FromHex("12")));
    dlg->Link().RecordSentFrame('0', ByteString{0x68, 0x16});
    ASSERT_TRUE(WaitForRows(2));
    EXPECT_GT(ListView(*list).GetItemText(0, 2).size(), 16u * 3);
    for (int row : {0, 1}) {
        list->ClickRow(row);
        EXPECT_EQ(Pane(), Times(kFixedStamp, kFixedStamp)) << row;
    }
    // Written as the recording routines write it, but with no history record behind it, and
    // stamped before the reference frame: its elapsed time is 0, never negative.
    monitor->AddFrameRow('1', FromHex("79 00 00 40 02 42 42"), T(2024, 3, 5, 6, 7, 7, 999), 9);
    ASSERT_TRUE(WaitForRows(3));
    ExpectRow(2, "2024-03-05 06:07:07:999", "9", "79 00 00 40 02 42 42 ", kBlack);
    EXPECT_EQ(Elapsed(), "00:00:00:000");
    list->ClickRow(2);
    EXPECT_EQ(Pane(), kVersionRequestText + "2024-03-05 06:07:07:999\r\n");
    EXPECT_EQ(CFrameMonitorDlg::FormatElapsed(25LL * 3600000), "01:00:00:000");
    EXPECT_EQ(CFrameMonitorDlg::FormatElapsed(3723004), "01:02:03:004");
}

TEST_F(FrameMonitorTest, DoubleClickShowsTheFrameInTheMonitorsOwnViewer) {
    OpenPort();
    ASSERT_TRUE(sim.Send(kMacReply));
    ASSERT_TRUE(WaitForRows(2));
    list->ClickRow(1, Notify::DblClick);
    CFrameDetailDlg& viewer = monitor->m_detailDlg;
    EXPECT_TRUE(viewer.IsWindowVisible());
    EXPECT_EQ(viewer.GetDlgItemText(IDC_DETAIL_TEXT), "79 06 00 80 03 01 02 03 04 05 06 9E 82 ");
    EXPECT_FALSE(Within<CFrameDetailDlg>(*dlg).IsWindowVisible());
}

TEST_F(FrameMonitorTest, ClearingRestartsTheNumbersAndTheFirstFrameTime) {
    OpenPort();
    SetClock(T(2024, 3, 5, 6, 7, 10, 9));
    ASSERT_TRUE(sim.Send(kMacReply));
    ASSERT_TRUE(WaitForRows(2));
    EXPECT_EQ(Elapsed(), "00:00:02:000");
    EXPECT_NE(Pane(), "");

    dlg->ClearRecords();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"确认要清除报文吗？"});
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(Pane(), "");
    // A row recorded, but not yet on the list when a clearing runs, does not outlive it.
    SendCommand(0x03);
    dlg->ClearRecords();
    PumpFor(50);
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_TRUE(History().empty());

    // The first frame after the clearing is number 1 again and the new reference; the edit keeps
    // its text until the second.
    SetClock(T(2024, 3, 6, 0, 0, 0, 0));
    SendCommand(0x03);
    ASSERT_TRUE(WaitForRows(1));
    ExpectRow(0, "2024-03-06 00:00:00:000", "1", "79 00 00 40 03 43 43 ", kRed);
    EXPECT_EQ(Elapsed(), "00:00:02:000");
    SetClock(T(2024, 3, 6, 0, 0, 0, 250));
    ASSERT_TRUE(sim.Send(kMacReply));
    ASSERT_TRUE(WaitForRows(2));
    ExpectRow(1, "2024-03-06 00:00:00:250", "1", "79 06 00 80 03 01 02 03 04 05 06 9E 82 ", kBlack);
    EXPECT_EQ(Elapsed(), "00:00:00:250");
}

}  // namespace
