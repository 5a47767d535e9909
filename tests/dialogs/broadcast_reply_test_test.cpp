// The broadcast reply test: answers from the simulated module, rows, pane, the count per device
// of one sequence number, export and import.

#include <gtest/gtest.h>

#include <array>

#include "analyzer/analyzer.h"
#include "commands/TestDlg/test_dlg.h"
#include "commands/page_codes.h"
#include "platform/text_format.h"
#include "support/dialog_lookup.h"
#include "support/main_window_fixture.h"
#include "support/sender_checks.h"
#include "test_frames.h"

namespace {

using namespace testsupport;
using testing_frames::Hex;
using Cells = std::vector<std::string>;

// Multicast 1234, flags 0x3F, DSN 0A, delay 300, 3 answers, this the first, 16 data bytes.
const char* const kAnswerA = "01 3F 34 12 06 05 04 03 02 01 0A 2C 01 03 01 10 00";
// No multicast, depth 1, initial key, DSN 0A, delay 0, answer 2 of 3, no data.
const char* const kAnswerB = "01 02 AA BB CC DD EE FF 0A 00 00 03 02 00 00";

ByteString Answer(const std::string& data, uint8_t control = 0xC0) {
    return BuildFrame(control, 0xF5, FromHex(data));
}

const Cells kRowA = {kFixedStamp, "0000", "组播", "15", "用户密钥", "1234", "010203040506", "0A", "300", "3", "1", "16"};
const Cells kRowB = {kFixedStamp, "0001", "非组播", "1", "初始密钥", "", "FFEEDDCCBBAA", "0A", "0", "3", "2", "0"};

// The export of rows A and B, as the file holds it (GBK).
std::string ExportedFile() {
    const std::string header = Blanks(8) + "时间" + Blanks(6) + "编号" + Blanks(11) + "地址模式" + Blanks(7) + "深度" +
                               Blanks(11) + "密钥类型" + Blanks(8) + "组播地址" + Blanks(7) + "MAC地址" + Blanks(7) +
                               "序列号" + Blanks(9) + "时延" + Blanks(10) + "总次数" + Blanks(9) + "当前次数" +
                               Blanks(7) + "数据长度" + Blanks(9) + "\r\n";
    const std::string a = std::string(kFixedStamp) + Blanks(4) + "0000" + Blanks(12) + "组播" + Blanks(12) + "15" +
                          Blanks(14) + "用户密钥" + Blanks(8) + "1234" + Blanks(12) + "010203040506" + Blanks(4) +
                          "0A" + Blanks(14) + "300" + Blanks(13) + "3" + Blanks(15) + "1" + Blanks(15) + "16" +
                          Blanks(14) + "\r\n";
    const std::string b = std::string(kFixedStamp) + Blanks(4) + "0001" + Blanks(12) + "非组播" + Blanks(10) + "1" +
                          Blanks(15) + "初始密钥" + Blanks(8) + Blanks(16) + "FFEEDDCCBBAA" + Blanks(4) + "0A" +
                          Blanks(14) + "0" + Blanks(15) + "3" + Blanks(15) + "2" + Blanks(15) + "0" + Blanks(15) +
                          "\r\n";
    return Utf8ToGbk(header + a + b);
}

class BroadcastReplyTestTest : public MainWindowWithModule {
protected:
    BroadcastReplyTestTest() : MainWindowWithModule(12, true) {}

    CBroadcastReplyTestDlg& Test() { return Within<CBroadcastReplyTestDlg>(*dlg); }
    ListView Rows() { return Test().m_replyList; }
    void Press(int id) { Button(Test().GetDlgItem(id)).Click(); }
    Cells Row(int r) {
        Cells cells;
        for (int c = 0; c < 12; ++c) cells.push_back(Rows().GetItemText(r, c));
        return cells;
    }
    bool WaitRows(int count) { return WaitFor([&] { return Rows().GetItemCount() == count; }); }
    // Rows straight into the list: MAC address, DSN and current report count.
    void AddRows(const std::vector<std::array<const char*, 3>>& rows) {
        std::vector<BroadcastReplyRow> list;
        for (const auto& r : rows) {
            list.emplace_back();
            list.back().cells[6] = r[0];
            list.back().cells[7] = r[1];
            list.back().cells[10] = r[2];
        }
        Test().AppendReplyRows(list);
    }
    std::vector<std::string> Statistic(const std::string& dsn) {
        boxes.clear();
        Test().SetDlgItemText(IDC_BROADCAST_TEST_DSN, dsn);
        Press(IDC_BROADCAST_TEST_STATISTICS);
        std::vector<std::string> out;
        for (const auto& b : boxes) out.push_back(b.caption + "|" + b.text);
        return out;
    }
};

TEST_F(BroadcastReplyTestTest, AnswersAreListedExplainedExportedAndImported) {
    OpenPort();
    ASSERT_TRUE(sim.Send(Answer(kAnswerA)));
    ASSERT_TRUE(WaitRows(1));
    ASSERT_TRUE(sim.Send(Answer(kAnswerB)));
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ(Row(0), kRowA);
    EXPECT_EQ(Row(1), kRowB);
    EXPECT_EQ(Test().m_macRecords[1], Hex("FF EE DD CC BB AA"));
    std::string explained;
    AnalyzerSink none;
    AnalyzeFrame(Answer(kAnswerB), explained, none);
    // The pane shows every line break as CR LF.
    std::string pane;
    for (char ch : Spaced(Answer(kAnswerB)) + "\n" + explained) {
        if (ch == '\n' && (pane.empty() || pane.back() != '\r')) pane += '\r';
        pane += ch;
    }
    WaitFor([&] { return Test().GetDlgItemText(IDC_BROADCAST_TEST_PANE) == pane; });
    EXPECT_EQ(Test().GetDlgItemText(IDC_BROADCAST_TEST_PANE), pane);

    const std::string path = Path("replies.txt");
    filePaths.push_back(path);
    Press(IDC_BROADCAST_TEST_EXPORT);
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_FALSE(fileRequests[0].open);  // an export creates its file: a save dialog
    EXPECT_EQ(fileRequests[0].fileName, "ROUTEREXPORT,  2024-03-05 06-07-08.txt");
    EXPECT_EQ(fileRequests[0].filter, "TXT Files(*.txt)|*.txt||");
    ASSERT_EQ(ReadFileBytes(path), ExportedFile());

    // Cleared and read back: the same rows, and exported again the same bytes.
    Press(IDC_BROADCAST_TEST_CLEAR);
    ASSERT_EQ(Rows().GetItemCount(), 0);
    filePaths.push_back(path);
    Press(IDC_BROADCAST_TEST_IMPORT);
    ASSERT_EQ(Rows().GetItemCount(), 2);
    EXPECT_EQ(Row(0), kRowA);
    EXPECT_EQ(Row(1), kRowB);
    EXPECT_EQ(Test().m_macRecords[0], Hex("01 02 03 04 05 06"));
    const std::string again = Path("again.txt");
    filePaths.push_back(again);
    Press(IDC_BROADCAST_TEST_EXPORT);
    EXPECT_EQ(ReadFileBytes(again), ExportedFile());
    EXPECT_TRUE(boxes.empty());
    // Esc and the close box hide the dialog and keep its rows.
    dlg->ShowBroadcastReplyTest();
    Test().PressKey(Key::Escape);
    EXPECT_FALSE(Test().IsWindowVisible());
    dlg->ShowBroadcastReplyTest();
    Test().Close();
    EXPECT_FALSE(Test().IsWindowVisible());
    EXPECT_TRUE(Test().IsCreated());
    // The next answer is numbered after the imported rows.
    ASSERT_TRUE(sim.Send(Answer(kAnswerB)));
    ASSERT_TRUE(WaitRows(3));
    EXPECT_EQ(Rows().GetItemText(2, 1), "0002");
}

// Rows cut short keep their empty cells through an export and an import; an empty list leaves no
// file.
TEST_F(BroadcastReplyTestTest, CutRowsReadBackAndAnEmptyListLeavesNoFile) {
    std::vector<BroadcastReplyRow> list(2);
    ASSERT_EQ(CBroadcastReplyTestDlg::ReadReplyRow(Answer("01 01 34 12 06"), 0, list[0]), -1);
    ASSERT_EQ(CBroadcastReplyTestDlg::ReadReplyRow(Answer("01 00 01 02 03 04 05 06 0A"), 0, list[1]), -1);
    Test().AppendReplyRows(list);
    const Cells first = Row(0), second = Row(1);
    const std::string path = Path("cut.txt");
    filePaths.push_back(path);
    Press(IDC_BROADCAST_TEST_EXPORT);
    Press(IDC_BROADCAST_TEST_CLEAR);
    filePaths.push_back(path);
    Press(IDC_BROADCAST_TEST_IMPORT);
    ASSERT_EQ(fileRequests.size(), 2u);
    EXPECT_TRUE(fileRequests[1].open);
    EXPECT_EQ(fileRequests[1].fileName, "");
    ASSERT_EQ(Rows().GetItemCount(), 2);
    EXPECT_EQ(Row(0), first);
    EXPECT_EQ(Row(1), second);
    EXPECT_TRUE(boxes.empty());

    Press(IDC_BROADCAST_TEST_CLEAR);
    filePaths.push_back(path);
    Press(IDC_BROADCAST_TEST_EXPORT);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(boxes.empty());
}

// Once the list is full no further line is read: the lines left are only counted, a line of no
// layout and a line of blanks among them.
TEST_F(BroadcastReplyTestTest, AFullListReadsNoFurtherAndCountsTheLinesLeft) {
    const std::string file = ExportedFile();
    const size_t rowsAt = file.find("\r\n") + 2;
    const std::string header = file.substr(0, rowsAt);
    const std::string good = file.substr(rowsAt, file.find("\r\n", rowsAt) + 2 - rowsAt);
    const std::string bad = std::string(kFixedStamp) + "XXXXXXXXXXXXXXXXXXXXXXXXXXXXX\r\n";
    const struct {
        const char* name;
        size_t rowsBefore;
        std::string file;
        int imported;
        const char* message;
    } cases[] = {
        {"lines past the limit", 9999, header + good + good + bad + good + "  \r\n", 1, "列表已满，有4行未导入"},
        // An empty line is an empty row.
        {"both", 9998, header + bad + good + "\r\n" + good + good, 2,
         "有1行格式不符，已跳过\n列表已满，有2行未导入"},
        {"full before", 10000, header + good + bad, 0, "列表已满，有2行未导入"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Press(IDC_BROADCAST_TEST_CLEAR);
        std::vector<BroadcastReplyRow> before(c.rowsBefore);
        Test().AppendReplyRows(before);
        const uint32_t dropped = Test().m_droppedRows;
        WriteFileBytes(Path("in.txt"), c.file);
        filePaths.push_back(Path("in.txt"));
        boxes.clear();
        Press(IDC_BROADCAST_TEST_IMPORT);
        ASSERT_EQ(Rows().GetItemCount(), static_cast<int>(c.rowsBefore) + c.imported);
        if (c.imported > 0) {
            EXPECT_EQ(Row(static_cast<int>(c.rowsBefore)), kRowA);
        }
        if (c.imported > 1) {
            EXPECT_EQ(Row(static_cast<int>(c.rowsBefore) + 1), Cells(BroadcastReplyRow::kColumns));
        }
        EXPECT_EQ(BoxTexts(), Cells{c.message});
        EXPECT_GT(Test().m_droppedRows, dropped);
    }
}

// The list keeps a time compactly only when it shows the same text.
TEST_F(BroadcastReplyTestTest, TimeCellsShowTheirTextUnchanged) {
    const Cells times = {kFixedStamp,           "9999-12-31 23:59:59:999", "2024-13-05 06:07:08:009",
                         " 024-03-05 06:07:08:009", "2024-03-05 06:07:08:1000", "2024-3-5 6:7:8:9", "+024-03-05 06:07:08:009",
                         ""};
    std::vector<BroadcastReplyRow> list(times.size());
    for (size_t i = 0; i < times.size(); ++i) list[i].cells[0] = times[i];
    Test().AppendReplyRows(list);
    for (size_t i = 0; i < times.size(); ++i) EXPECT_EQ(Rows().GetItemText(static_cast<int>(i), 0), times[i]);
}

TEST_F(BroadcastReplyTestTest, ImportTakesTheNarrowLayoutSkipsBadLinesKeepsEmptyOnesAndReportsAFailedOpen) {
    const std::string narrow = Utf8ToGbk(
        "header\r\n" + std::string(kFixedStamp) + " " + "0007" + Blanks(9) + "组播" + Blanks(9) + "15" + Blanks(11) +
        "用户密钥" + Blanks(5) + "1234" + Blanks(9) + "010203040506 " + "0A" + Blanks(11) + "300" + Blanks(10) + "3" +
        Blanks(12) + "1" + Blanks(12) + "16\r\n" + std::string(kFixedStamp) + "XXXXXXXXXXXXXXXXXXXXXXXXXXXXX\r\n\r\n");
    const std::string path = Path("narrow.txt");
    WriteFileBytes(path, narrow);
    filePaths.push_back(path);
    Press(IDC_BROADCAST_TEST_IMPORT);
    ASSERT_EQ(Rows().GetItemCount(), 2);
    Cells expected = kRowA;
    expected[0] = "2024-03-0506:07:08:009";  // the fixed layout drops every blank
    expected[1] = "0007";
    EXPECT_EQ(Row(0), expected);
    EXPECT_EQ(Row(1), Cells(BroadcastReplyRow::kColumns));  // the empty last line
    EXPECT_EQ(Test().m_macRecords[1], ByteString());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"有1行格式不符，已跳过"});

    boxes.clear();
    filePaths.push_back(Path("missing/none.txt"));
    Press(IDC_BROADCAST_TEST_IMPORT);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"打开文件失败"});
    EXPECT_EQ(Rows().GetItemCount(), 2);

    // An export that cannot be written says so and keeps the rows.
    boxes.clear();
    filePaths.push_back(Path("missing/out.txt"));
    Press(IDC_BROADCAST_TEST_EXPORT);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"导出失败！"});
    EXPECT_EQ(Rows().GetItemCount(), 2);
}

TEST(BroadcastReplyFields, ReadFromTheFrameDataOnly) {
    struct Case {
        const char* name;
        const char* data;
        int end;
        Cells cells;  // columns 2 to 11
    } const cases[] = {
        {"multicast", kAnswerA, 22, {"组播", "15", "用户密钥", "1234", "010203040506", "0A", "300", "3", "1", "16"}},
        {"no multicast", kAnswerB, 20, {"非组播", "1", "初始密钥", "", "FFEEDDCCBBAA", "0A", "0", "3", "2", "0"}},
        {"255 answers", "01 00 01 02 03 04 05 06 FF FF FF FF FF FF FF", 20,
         {"非组播", "0", "初始密钥", "", "060504030201", "FF", "65535", "255", "255", "65535"}},
        // The check bytes are not taken for the data length's bytes.
        {"data length cut", "01 00 01 02 03 04 05 06 0A 00 00 03 02", -1,
         {"非组播", "0", "初始密钥", "", "060504030201", "0A", "0", "3", "2", ""}},
        {"cut before the MAC", "01 01 34 12 06 05 04", -1, {"组播", "0", "初始密钥", "1234", "", "", "", "", "", ""}},
        {"no flags", "01", -1, {"", "", "", "", "", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        BroadcastReplyRow row;
        EXPECT_EQ(CBroadcastReplyTestDlg::ReadReplyRow(Answer(c.data), 0, row), c.end) << c.name;
        EXPECT_EQ(Cells(row.cells + 2, row.cells + 12), c.cells) << c.name;
    }
}

TEST_F(BroadcastReplyTestTest, EveryAnswerHasItsRowOnlyNormalAnswersFromTheModule) {
    OpenPort();
    // Cut before the MAC address: a row all the same, numbered; the next answer follows it.
    ASSERT_TRUE(sim.Send(Answer("01 01 34 12 06")));
    ASSERT_TRUE(sim.Send(Answer(kAnswerB, 0x40)));  // from the host: explained, no row
    ASSERT_TRUE(sim.Send(Answer(kAnswerB, 0xA0)));  // abnormal answer: no row
    ASSERT_TRUE(sim.Send(Answer(kAnswerB)));
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ(Rows().GetItemText(0, 1) + Rows().GetItemText(0, 5) + Rows().GetItemText(0, 6), "00001234");
    EXPECT_EQ(Row(1), kRowB);
    EXPECT_EQ(Test().m_rowCount, 2u);
}

TEST_F(BroadcastReplyTestTest, StatisticCountsDistinctAnswerNumbersPerDeviceForOneDsn) {
    EXPECT_EQ(Statistic(""), std::vector<std::string>{ApplicationTitle() + "|请输入查找的DSN"});
    AddRows({{"000000000001", "0A", "1"},
             {"000000000002", "0A", "255"},
             {"000000000001", "0A", "2"},
             {"000000000001", "0A", "2"},
             {"000000000003", "0B", "1"},
             {"000000000002", "0A", "255"}});
    EXPECT_EQ(Statistic("a"), std::vector<std::string>{"广播应答测试|000000000001: 2\r\n000000000002: 1\r\n"});
    EXPECT_EQ(Statistic(" 0 b"), std::vector<std::string>{"广播应答测试|000000000003: 1\r\n"});
    EXPECT_EQ(Statistic("0C"), std::vector<std::string>{ApplicationTitle() + "|无此DSN"});
    // At most 300 devices are counted; the others are told.
    std::vector<std::array<const char*, 3>> many;
    std::vector<std::string> macs;
    for (int i = 0; i < 301; ++i) macs.push_back(StrFormat("%012d", 1000 + i));
    for (const std::string& m : macs) many.push_back({m.c_str(), "0D", "1"});
    AddRows(many);
    const std::vector<std::string> shown = Statistic("0D");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("000000001299: 1\r\n另有1个设备未统计\r\n"), std::string::npos);
}

TEST_F(BroadcastReplyTestTest, StartingATestClearsTheListBeforeItsAnswerComes) {
    OpenPort();
    ASSERT_TRUE(sim.Send(Answer(kAnswerA)));
    ASSERT_TRUE(WaitRows(1));
    // The module answers at once.
    sim.SetAnswer(0xF5, Answer(kAnswerB));
    CTestDlg& panel = Within<CTestDlg>(*dlg);
    panel.ShowGroup(PAGE_BROADCAST_REPLY_TEST);
    TypeTexts(panel, {{IDC_PANEL_BRD_DSN, "5"}, {IDC_PANEL_BRD_DELAY, "300"}, {IDC_PANEL_RESP_TIMES, "3"},
                      {IDC_PANEL_DATA_LEN, "16"}});
    Button(panel.GetDlgItem(IDC_PANEL_BROADCAST_REPLY_TEST)).Click();
    ASSERT_TRUE(WaitFor([&] { return Rows().GetItemCount() == 1 && Rows().GetItemText(0, 6) == "FFEEDDCCBBAA"; }));
    EXPECT_EQ(Rows().GetItemText(0, 1), "0000");
    PumpFor(100);
    EXPECT_EQ(Rows().GetItemCount(), 1);
}

// A window whose line answers before the send returns: the answer reaches the dialog while the
// request is being written.
class AnsweringWindow : public MainWindowPort {
public:
    CBroadcastReplyTestDlg replies{*this};
    ByteString answer;
    std::vector<ByteString> sent;

    void SendFrame(ByteString frame) override {
        sent.push_back(frame);
        replies.OnBroadcastReplyFrame(answer);
    }
    void ClearBroadcastReplyList() override { replies.ClearList(); }
    void EnableControl(int) override {}
    void ShowRowDetail(ListView) override {}
    void VisitHistory(const std::function<void(uint32_t, const MonitorRecord&)>&) override {}
    RecordView ViewHistoryRecord(intptr_t, SystemTime&, SystemTime&) override { return RecordView::Missing; }
    void ViewHistoryRecords(intptr_t, intptr_t) override {}
};

TEST(BroadcastReplyTestStart, AnAnswerThatComesDuringTheSendIsKept) {
    AnsweringWindow window;
    ASSERT_TRUE(window.replies.Create());
    CTestDlg panel(window);
    ASSERT_TRUE(panel.Create());
    ListView rows = window.replies.m_replyList;
    std::vector<BroadcastReplyRow> earlier(2);
    window.replies.AppendReplyRows(earlier);
    ASSERT_EQ(rows.GetItemCount(), 2);

    window.answer = Answer(kAnswerB);
    panel.ShowGroup(PAGE_BROADCAST_REPLY_TEST);
    TypeTexts(panel, {{IDC_PANEL_BRD_DSN, "10"}, {IDC_PANEL_BRD_DELAY, "0"}, {IDC_PANEL_RESP_TIMES, "3"},
                      {IDC_PANEL_DATA_LEN, "0"}});
    Button(panel.GetDlgItem(IDC_PANEL_BROADCAST_REPLY_TEST)).Click();
    ASSERT_EQ(window.sent.size(), 1u);
    EXPECT_EQ(window.sent[0][4], 0xF5);
    ASSERT_EQ(rows.GetItemCount(), 1);
    EXPECT_EQ(rows.GetItemText(0, 1) + " " + rows.GetItemText(0, 6), "0000 FFEEDDCCBBAA");
    EXPECT_EQ(window.replies.m_rowCount, 1u);
    panel.DestroyWindow();
    window.replies.DestroyWindow();
}

}  // namespace
