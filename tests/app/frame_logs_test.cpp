// The main window's frame logs: rows written in one turn of the window's thread go in as one
// batch, in the order written, whatever thread wrote them; each key reaches its own list and
// counter; emptying the logs drops the rows still waiting to go in; a received frame goes into
// the log its command names.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "commands/TestDlg/test_dlg.h"
#include "commands/page_codes.h"
#include "dialogs/timed_send_dlg.h"
#include "platform/text_format.h"
#include "support/dialog_lookup.h"
#include "support/main_window_fixture.h"
#include "support/sender_checks.h"

namespace {

using namespace testsupport;

class FrameLogsTest : public MainWindowWithModule {
protected:
    FrameLogsTest() : MainWindowWithModule(11, true) {}
};

// A frame of its own for row i.
std::string RowHex(int i) { return StrFormat("7900008015%04X", i); }

TEST_F(FrameLogsTest, RowsOfOneTurnGoInAsOneBatchInTheOrderWritten) {
    int selectionChanges = 0;
    dlg->MapCommand(IDC_DATA_REPLY_LOG, Notify::ItemChanged, [&] { ++selectionChanges; });
    ListView log = ListOf(IDC_DATA_REPLY_LOG);
    // A reader thread's rows, then the window's own, all before the window's next turn.
    std::thread reader([this] {
        for (int i = 0; i < 20; ++i) dlg->Logs().Add(LogList::DataReplyLog, RowHex(i));
    });
    reader.join();
    for (int i = 20; i < 40; ++i) dlg->Logs().Add(LogList::DataReplyLog, RowHex(i));
    EXPECT_EQ(log.GetItemCount(), 0);
    ASSERT_TRUE(WaitFor([&] { return log.GetItemCount() == 40; }));
    PumpFor(100);
    ASSERT_EQ(log.GetItemCount(), 40);
    for (int i = 0; i < 40; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log.GetItemText(i, 1), StrFormat("%02d", i));
        EXPECT_EQ(log.GetItemText(i, 2), Spaced(FromHex(RowHex(i))));
    }
    // The batch selects its last row once, not each row in turn.
    EXPECT_EQ(log.GetSelectedRows(), std::vector<int>{39});
    EXPECT_EQ(selectionChanges, 1);
}

// 自动更新 checked: the newest row is scrolled to, selected and explained; cleared: rows are only
// appended.
TEST_F(FrameLogsTest, OnlyAutomaticUpdateScrollsToAndSelectsTheNewestRow) {
    const struct {
        int check;
        bool follows;
    } cases[] = {{1, true}, {0, false}};
    ASSERT_TRUE(ClickTreeItem(*dlg, PAGE_SET_NETWORK_PARAMS));  // a page that shows the log
    ListView log = ListOf(IDC_FRAME_LOG);
    ASSERT_TRUE(log.IsVisible());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.check);
        dlg->DispatchNotify(IDM_CLEAR_FRAME_LISTS, Notify::Clicked);
        Button(dlg->GetDlgItem(IDC_AUTO_UPDATE)).SetCheck(c.check);
        dlg->SetDlgItemText(IDC_ANALYSIS_PANE, "untouched");
        // More rows than the list shows at once.
        for (int i = 0; i < 80; ++i) dlg->Logs().Add(LogList::FrameLog, RowHex(i));
        ASSERT_TRUE(WaitFor([&] { return log.GetItemCount() == 80; }));
        PumpFor(100);
        if (c.follows) {
            EXPECT_EQ(log.GetSelectedRows(), std::vector<int>{79});
            EXPECT_GT(log.GetTopIndex(), 0);
            EXPECT_NE(Text(IDC_ANALYSIS_PANE), "untouched");
        } else {
            EXPECT_TRUE(log.GetSelectedRows().empty());
            EXPECT_EQ(log.GetTopIndex(), 0);
            EXPECT_EQ(Text(IDC_ANALYSIS_PANE), "untouched");
        }
    }
}

TEST_F(FrameLogsTest, EmptyingTheLogsDropsTheRowsStillWaiting) {
    struct Log {
        int id;
        std::function<void(const std::string& hex)> write;
    };
    const std::vector<Log> logs = {
        {IDC_FRAME_LOG, [this](const std::string& hex) { dlg->Logs().Add(LogList::FrameLog, hex); }},
        {IDC_DATA_REPLY_LOG, [this](const std::string& hex) { dlg->Logs().Add(LogList::DataReplyLog, hex); }},
        {IDC_SEARCH_LOG, [this](const std::string& hex) { dlg->Logs().Add(LogList::SearchLog, hex); }},
        {IDC_PASS_THROUGH_LIST,
         [this](const std::string& hex) { dlg->Logs().Add(LogList::PassThrough, PassThroughRow(hex, true)); }},
    };
    // One row in each log, then rows written by a reader thread that have not gone in yet.
    for (const Log& log : logs) log.write(RowHex(0));
    ASSERT_TRUE(WaitFor([&] {
        for (const Log& log : logs)
            if (ListOf(log.id).GetItemCount() != 1) return false;
        return true;
    }));
    std::thread reader([&] {
        for (int i = 1; i <= 25; ++i)
            for (const Log& log : logs) log.write(RowHex(i));
    });
    reader.join();
    dlg->DispatchNotify(IDM_CLEAR_FRAME_LISTS, Notify::Clicked);
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{"确认要清除LIST中的数据吗？"});
    PumpFor(200);
    for (const Log& log : logs) EXPECT_EQ(ListOf(log.id).GetItemCount(), 0) << log.id;
    // What comes after the clear goes in, numbered from 00 again.
    dlg->Logs().Add(LogList::DataReplyLog, RowHex(7));
    ASSERT_TRUE(WaitFor([&] { return ListOf(IDC_DATA_REPLY_LOG).GetItemCount() == 1; }));
    EXPECT_EQ(ListOf(IDC_DATA_REPLY_LOG).GetItemText(0, 1), "00");
    EXPECT_EQ(ListOf(IDC_DATA_REPLY_LOG).GetItemText(0, 2), Spaced(FromHex(RowHex(7))));
}

TEST_F(FrameLogsTest, AReceivedFrameGoesInAsItsBytesInTheLogItsCommandNames) {
    const struct {
        uint8_t command;  // 0: a raw chunk
        int id;
    } logs[] = {{0xF3, IDC_FRAME_LOG},      {0x17, IDC_SEARCH_LOG},   {0x14, IDC_DATA_LOG},
                {0x15, IDC_DATA_REPLY_LOG}, {0x1F, IDC_PASSWORD_LOG}, {0x1D, IDC_PASSWORD_REPLY_LOG},
                {0, IDC_PASS_THROUGH_LIST}};
    // Log k gets k + 1 frames of its own, as the link classifies them.
    const auto frameOf = [&logs](int k, int j) {
        const uint8_t data = static_cast<uint8_t>(k * 16 + j);
        return logs[k].command ? kvtsim::BuildFrame(0x80, logs[k].command, {data}) : ByteString{0x79, data};
    };
    for (int k = 0; k < 7; ++k) {
        const int mode = logs[k].command ? kCheckedFrame : kRawChunk;
        for (int j = 0; j <= k; ++j) dlg->Link().ClassifyReceivedFrame(frameOf(k, j), mode);
    }
    for (int k = 0; k < 7; ++k) {
        SCOPED_TRACE(k);
        ListView list = ListOf(logs[k].id);
        ASSERT_TRUE(WaitFor([&] { return list.GetItemCount() == k + 1; }));
        for (int j = 0; j <= k; ++j) {
            EXPECT_EQ(list.GetItemText(j, 1), StrFormat("%02d", j));
            EXPECT_EQ(list.GetItemText(j, 2), Spaced(frameOf(k, j)));
        }
    }
    // A received raw chunk: "R" and its length.
    ListView passThrough = ListOf(IDC_PASS_THROUGH_LIST);
    EXPECT_EQ(passThrough.GetItemText(0, 3), "R");
    EXPECT_EQ(passThrough.GetItemText(0, 4), "  2");
}

TEST_F(FrameLogsTest, EachKeyReachesItsOwnListAndCounterAndTheMenuEmptiesThemAll) {
    const std::vector<std::pair<LogList, int>> logs = {
        {LogList::FrameLog, IDC_FRAME_LOG},          {LogList::SearchLog, IDC_SEARCH_LOG},
        {LogList::DataLog, IDC_DATA_LOG},            {LogList::DataReplyLog, IDC_DATA_REPLY_LOG},
        {LogList::PasswordLog, IDC_PASSWORD_LOG},    {LogList::PasswordReplyLog, IDC_PASSWORD_REPLY_LOG},
        {LogList::PassThrough, IDC_PASS_THROUGH_LIST}, {LogList::MeterRead, IDC_METER_READ_LIST},
    };
    ListView panelLog(Within<CTestDlg>(*dlg).GetDlgItem(IDC_PANEL_LOG_LIST));
    // Log k gets k + 1 rows, each its own frame; None gets none.
    auto writeAll = [this, &logs] {
        for (size_t k = 0; k < logs.size(); ++k)
            for (size_t i = 0; i <= k; ++i) dlg->Logs().Add(logs[k].first, RowHex(static_cast<int>(16 * k + i)));
        dlg->Logs().Add(LogList::None, RowHex(255));
        Within<CTestDlg>(*dlg).AddLogRow(RowHex(254));
    };
    std::thread reader(writeAll);
    reader.join();
    ASSERT_TRUE(WaitFor([&] { return ListOf(IDC_METER_READ_LIST).GetItemCount() == 8 && panelLog.GetItemCount(); }));
    PumpFor(100);
    for (size_t k = 0; k < logs.size(); ++k) {
        SCOPED_TRACE(logs[k].second);
        ListView list = ListOf(logs[k].second);
        ASSERT_EQ(list.GetItemCount(), static_cast<int>(k + 1));
        EXPECT_EQ(list.GetItemText(static_cast<int>(k), 2), Spaced(FromHex(RowHex(static_cast<int>(17 * k)))));
        EXPECT_EQ(dlg->Logs()[logs[k].first].Counter(), k);
    }
    // Rows still waiting in every log and the test panel's are dropped by the menu's clear.
    std::thread again(writeAll);
    again.join();
    dlg->DispatchNotify(IDM_CLEAR_FRAME_LISTS, Notify::Clicked);
    PumpFor(200);
    for (const auto& log : logs) EXPECT_EQ(ListOf(log.second).GetItemCount(), 0) << log.second;
    EXPECT_EQ(panelLog.GetItemCount(), 0);
}

// A window whose module answers while a request is being written: the answer's row goes into
// the request's log during the send.
class AnsweringWindow : public CMainTesterDlg {
public:
    LogList answerLog = LogList::None;
    void SendFrame(ByteString frame) override {
        Logs().Add(answerLog, "7955AA55AA55");
        CMainTesterDlg::SendFrame(std::move(frame));
    }
};

class RequestRowsTest : public FrameLogsTest {
protected:
    std::unique_ptr<CMainTesterDlg> MakeWindow() override { return std::make_unique<AnsweringWindow>(); }
};

TEST_F(RequestRowsTest, ARequestsRowStandsAboveAnAnswerThatCameDuringItsSend) {
    auto click = [this](int id) { dlg->DispatchNotify(id, Notify::Clicked); };
    const struct {
        const char* name;
        LogList log;
        int list;
        std::function<void()> send;
    } senders[] = {
        {"组帧测试", LogList::FrameLog, IDC_FRAME_LOG,
         [&] {
             dlg->SetDlgItemText(IDC_FRAME_TEST_CMD, "01");
             click(IDC_FRAME_TEST);
         }},
        {"raw send", LogList::FrameLog, IDC_FRAME_LOG,
         [&] {
             dlg->SetDlgItemText(IDC_RAW_SEND_DATA, "79 00 01");
             click(IDC_RAW_SEND);
         }},
        {"F3", LogList::FrameLog, IDC_FRAME_LOG, [&] { click(IDM_COMMAND_F3_ON); }},
        {"debugger clock", LogList::FrameLog, IDC_FRAME_LOG, [&] { click(IDM_DEBUGGER_CLOCK); }},
        {"meter send", LogList::PassThrough, IDC_PASS_THROUGH_LIST,
         [&] {
             dlg->SetDlgItemText(IDC_PASS_THROUGH_DATA, "6801");
             click(IDC_PASS_THROUGH_SEND);
         }},
        {"timed send", LogList::FrameLog, IDC_FRAME_LOG,
         [&] {
             click(IDC_TIMED_SEND);
             CTimedSendDlg& d = Within<CTimedSendDlg>(*dlg);
             d.SetDlgItemText(IDC_TIMED_INTERVAL, "100");
             d.SetDlgItemText(IDC_TIMED_COUNT, "1");
             d.SetDlgItemText(IDC_TIMED_FRAME_TEXT, "79 00 00 40 18 58 58");
             Button(d.GetDlgItem(IDC_TIMED_START_STOP)).Click();
             dlg->KillTimer(TIMER_TIMED_SEND);
             dlg->DeliverTimerTick(TIMER_TIMED_SEND);
         }},
    };
    auto& window = static_cast<AnsweringWindow&>(*dlg);
    for (const auto& s : senders) {
        SCOPED_TRACE(s.name);
        dlg->Logs().ClearAll();
        window.answerLog = s.log;
        s.send();
        ListView log = ListOf(s.list);
        ASSERT_TRUE(WaitFor([&] { return log.GetItemCount() == 2; })) << log.GetItemCount();
        auto row = [&](int r) {
            std::string text;
            for (int c = 0; c < 5; ++c) text += log.GetItemText(r, c) + "|";
            return text;
        };
        EXPECT_EQ(row(0).find("55 AA 55"), std::string::npos) << row(0);
        EXPECT_NE(row(1).find("55 AA 55"), std::string::npos) << row(1);
    }
}

}  // namespace
