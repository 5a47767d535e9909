// The device search list: reports from the simulated module, rows, pane, statistics, export,
// import and the routing file.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "analyzer/analyzer.h"
#include "analyzer/analyzer_texts.h"
#include "support/dialog_lookup.h"
#include "support/main_window_fixture.h"
#include "test_frames.h"

namespace {

using namespace testsupport;
using testing_frames::Hex;
using testing_frames::MakeFrame;
using Cells = std::vector<std::string>;

// Device 1: multicast 1234, depth 3, own network, type 4, attribute 41 42 00.
// Device 2: depth 15, net state 9, type 0, no multicast, empty attribute.
constexpr const char* kTwoDevices =
    "02"
    "06 05 04 03 02 01 13 14 34 12 03 41 42 00"
    "AA BB CC DD EE FF 9F 00 00";

const Cells kRow1 = {kFixedStamp, "0001", "010203040506", "03", "属于自己", "07MAC地址", "组播", "1234", "3", "414200"};
const Cells kRow2 = {kFixedStamp, "0002", "FFEEDDCCBBAA", "15", "保留", "不区分设备", "非组播", "", "0", ""};

// The export lines of the two devices, as GBK bytes.
std::string ExportHeaderBytes() {
    return Utf8ToGbk(Blanks(8) + "时间" + Blanks(6) + "编号" + Blanks(8 + 3) + "地址" + Blanks(8 + 3) + "深度" +
                     Blanks(8 + 2) + "网络状态" + Blanks(4 + 4) + "设备类别" + Blanks(4 + 2) + "地址模式" +
                     Blanks(4 + 4) + "组播地址" + Blanks(4 + 3) + "属性长度" + Blanks(4 + 3) + "属性" +
                     Blanks(8 + 5) + "\r\n");
}
std::string Row1Cells(bool all, const std::string& number = "0001") {
    std::string s = std::string(kFixedStamp) + Blanks(4) + number + Blanks(12) + "010203040506" + Blanks(4) + "03" +
                    Blanks(14) + "属于自己" + Blanks(8) + "07MAC地址" + Blanks(7) + "组播" + Blanks(12) + "1234" +
                    Blanks(12);
    if (all) s += "3" + Blanks(15) + "414200" + Blanks(10);
    return Utf8ToGbk(s + "\r\n");
}
std::string Row2Cells(bool all) {
    std::string s = std::string(kFixedStamp) + Blanks(4) + "0002" + Blanks(12) + "FFEEDDCCBBAA" + Blanks(4) + "15" +
                    Blanks(14) + "保留" + Blanks(12) + "不区分设备" + Blanks(6) + "非组播" + Blanks(10) + Blanks(16);
    if (all) s += "0" + Blanks(15) + Blanks(16);
    return Utf8ToGbk(s + "\r\n");
}

// While it lives, no file of this process grows past limit bytes: writes fail rather than
// raise SIGXFSZ, as on a full disk. It lasts one call of the window's thread; a forked copy of
// this process could hang on a lock held by one of the threads that the copy lacks.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) : m_handler(signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        const rlimit r{limit, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        signal(SIGXFSZ, m_handler);
    }

private:
    sighandler_t m_handler;
    rlimit m_saved{};
};

// A line with a cell that runs into the next column's place, in either layout.
std::string BadLine() {
    return Utf8ToGbk(std::string(kFixedStamp) + Blanks(4) + "0001" + Blanks(9) + "X" + Blanks(2) + "010203040506\r\n");
}

class DeviceSearchListTest : public MainWindowWithModule {
protected:
    DeviceSearchListTest() : MainWindowWithModule(11, true) {}

    CDeviceSearchListDlg& List() { return Within<CDeviceSearchListDlg>(*dlg); }
    ListView Rows() { return List().m_deviceList; }
    void Press(int id) { Button(List().GetDlgItem(id)).Click(); }

    Cells Row(int r) {
        Cells cells;
        for (int c = 0; c < 10; ++c) cells.push_back(Rows().GetItemText(r, c));
        return cells;
    }

    bool WaitRows(int count) { return WaitFor([&] { return Rows().GetItemCount() == count; }); }

    // Rows straight into the list, for the statistics.
    void AddRows(const std::vector<std::pair<const char*, const char*>>& depthAndNet) {
        std::vector<SearchedDeviceRow> rows;
        for (const auto& d : depthAndNet) {
            rows.emplace_back();
            rows.back().cells[3] = d.first;
            rows.back().cells[4] = d.second;
        }
        List().AppendDeviceRows(rows);
    }
};

TEST_F(DeviceSearchListTest, ReportRowsAreExplainedExportedImportedAndRouted) {
    OpenPort();
    const ByteString frame = kvtsim::SearchReport(FromHex(kTwoDevices));
    ASSERT_TRUE(sim.Send(frame));
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ(Row(0), kRow1);
    EXPECT_EQ(Row(1), kRow2);
    EXPECT_EQ(List().m_macRecords[1], Hex("FF EE DD CC BB AA"));
    // The pane: the frame and its explanation; the main window's search log has the frame too.
    std::string explained;
    AnalyzerSink none;
    AnalyzeFrame(frame, explained, none);
    EXPECT_NE(explained.find("MAC地址： FFEEDDCCBBAA\r\n"), std::string::npos) << explained;
    EXPECT_EQ(List().GetDlgItemText(IDC_SEARCH_LIST_PANE), Spaced(frame) + "\r\n" + explained);
    EXPECT_TRUE(WaitFor([&] { return ListOf(IDC_SEARCH_LOG).GetItemCount() == 1; }));

    const std::string path = Path("devices.txt");
    filePaths.push_back(path);
    Press(IDC_SEARCH_LIST_EXPORT);
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_FALSE(fileRequests[0].open);  // an export creates its file: a save dialog
    EXPECT_EQ(fileRequests[0].fileName, "ROUTEREXPORT,  2024-03-05 06-07-08.txt");
    EXPECT_EQ(fileRequests[0].filter, "TXT Files(*.txt)|*.txt||");
    EXPECT_EQ(ReadFileBytes(path), ExportHeaderBytes() + Row1Cells(true) + Row2Cells(true));

    Press(IDC_SEARCH_LIST_CLEAR);
    ASSERT_EQ(Rows().GetItemCount(), 0);
    filePaths.push_back(path);
    Press(IDC_SEARCH_LIST_IMPORT);
    ASSERT_EQ(fileRequests.size(), 2u);
    EXPECT_EQ(fileRequests[1].fileName, "");
    ASSERT_EQ(Rows().GetItemCount(), 2);
    EXPECT_EQ(Row(0), kRow1);
    EXPECT_EQ(Row(1), kRow2);
    EXPECT_EQ(List().m_macRecords[0], Hex("01 02 03 04 05 06"));
    EXPECT_EQ(List().m_macRecords[1], Hex("FF EE DD CC BB AA"));
    // The same device again is a row of its own, numbered onward.
    ASSERT_TRUE(sim.Send(kvtsim::SearchReport(FromHex("01 06 05 04 03 02 01 13 14 34 12 03 41 42 00"))));
    ASSERT_TRUE(WaitRows(3));
    Cells third = kRow1;
    third[1] = "0003";
    EXPECT_EQ(Row(2), third);

    // The routing file of a repetition takes the first eight columns, and the list is cleared.
    List().AutoExportRouting();
    const std::string routingHeader =
        Utf8ToGbk(Blanks(8) + "时间" + Blanks(6) + "编号" + Blanks(8 + 3) + "地址" + Blanks(8 + 3) + "深度" +
                  Blanks(8 + 2) + "网络状态" + Blanks(4 + 4) + "设备类别" + Blanks(4 + 3) + "地址模式" + Blanks(4 + 3) +
                  "组播地址" + Blanks(4 + 5) + "\r\n");
    EXPECT_EQ(ReadFileBytes(Path(" routing,  2024-03-05 06-07-08.txt")),
              routingHeader + Row1Cells(false) + Row2Cells(false) + Row1Cells(false, "0003"));
    EXPECT_EQ(Rows().GetItemCount(), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DeviceSearchListTest, FramesNotANormalModuleReportAreExplainedButAddNoRow) {
    OpenPort();
    // Whole entries behind the counts: a frame taken for a report would add rows.
    const std::pair<ByteString, std::string> frames[] = {
        {MakeFrame(0xA0, 0x19, std::string(kTwoDevices)), analyzer_texts::Header(0xA0) + "设备搜索上报帧\r\n\r\n"},
        {MakeFrame(0x40, 0x19, std::string(kTwoDevices)), analyzer_texts::Header(0x40) + "设备搜索上报帧\r\n\r\n"},
        {MakeFrame(0xC0, 0x19, "00"), analyzer_texts::Header(0xC0) + "设备搜索上报帧\r\n设备数目：    00\r\n\r\n"},
    };
    for (const auto& f : frames) {
        ASSERT_TRUE(sim.Send(f.first));
        const std::string text = Spaced(f.first) + "\r\n" + f.second;
        EXPECT_TRUE(WaitFor([&] { return List().GetDlgItemText(IDC_SEARCH_LIST_PANE) == text; }))
            << List().GetDlgItemText(IDC_SEARCH_LIST_PANE);
    }
    EXPECT_EQ(Rows().GetItemCount(), 0);
}

TEST(SearchReportEntries, ReadFromTheFrameAsReceived) {
    ByteString full = Hex("79 00 00 C0 19 FF");
    for (int i = 0; i < 255; ++i) full += Hex("01 02 03 04 05 06 00 00 00");
    struct Cell {
        size_t row;
        int column;
        const char* text;
    };
    struct Case {
        const char* name;
        ByteString frame;
        int end;
        size_t rows;
        std::vector<Cell> cells;
    } const cases[] = {
        // The MAC address lies inside only with the check bytes.
        {"MAC cut", Hex("79 07 00 80 19 01 01 02 03 04 05"), -1, 0, {}},
        {"word cut", Hex("79 07 00 80 19 01 01 02 03 04 05 06"), -1, 1, {{0, 2, "060504030201"}, {0, 3, ""}}},
        {"multicast cut", Hex("79 00 00 80 19 01 01 02 03 04 05 06 00 10 34"), -1, 1, {{0, 6, "组播"}, {0, 7, ""}}},
        {"device types 1, 6 and 15; net states 4 and 15",
         Hex("79 00 00 80 19 03 01 02 03 04 05 06 40 01 00 01 02 03 04 05 06 F0 06 00 01 02 03 04 05 06 00 0F 00"),
         33, 3, {{0, 4, "保留"}, {0, 5, "网关"}, {1, 4, "保留"}, {1, 5, "出错"}, {2, 5, "出错"}}},
        {"a count of 255 ends", full, static_cast<int>(full.size()), 255, {}},
    };
    for (const Case& c : cases) {
        std::vector<SearchedDeviceRow> rows;
        EXPECT_EQ(CDeviceSearchListDlg::AddSearchedDevices(c.frame, 0, rows), c.end) << c.name;
        ASSERT_EQ(rows.size(), c.rows) << c.name;
        for (const Cell& cell : c.cells) EXPECT_EQ(rows[cell.row].cells[cell.column], cell.text) << c.name;
    }
}

TEST_F(DeviceSearchListTest, ImportReadsBothLayoutsSaysWhatItSkippedAndWhatDidNotFit) {
    const std::string good = Row1Cells(true);
    // 24 characters for the time, 13 for each further column (GBK bytes).
    std::string narrow = std::string(kFixedStamp) + " ";
    for (const char* cell : {"0007", "A1A2A3A4A5A6", "02", "属于其他", "网关", "非组播", "", "0"})
        narrow += cell + Blanks(13 - GbkLength(cell));
    narrow = Utf8ToGbk(narrow + "\r\n");
    const Cells narrowRow = {"2024-03-0506:07:08:009", "0007", "A1A2A3A4A5A6", "02", "属于其他",
                             "网关", "非组播", "", "0", ""};
    const std::string narrowBad = narrow.substr(0, 23) + narrow.substr(24);  // the time runs on
    Cells shortRow2 = kRow2;
    shortRow2[8] = "";  // the line ends after column 7
    const struct {
        const char* name;
        int rowsBefore;  // empty rows, which stay
        std::string file;
        std::vector<Cells> imported;
        const char* message;  // "" for none
    } cases[] = {
        // A line shorter than 24 characters fills column 0 only; an empty line gives an empty row.
        {"all read", 1, ExportHeaderBytes() + good + narrow + "\r\n" + Row2Cells(false) + "2024-03-05\r\n",
         {kRow1, narrowRow, Cells(10), shortRow2, {"2024-03-05", "", "", "", "", "", "", "", "", ""}}, ""},
        {"a line of no layout", 0, ExportHeaderBytes() + BadLine() + good + narrowBad, {kRow1},
         "有2行格式不符，已跳过"},
        {"narrow file", 0, "header\r\n" + narrow + narrowBad + good, {narrowRow, kRow1}, "有1行格式不符，已跳过"},
        // Once full, no line is read: the bad line after that point is counted as not imported.
        {"lines past the limit", 9999, ExportHeaderBytes() + good + good + BadLine() + good, {kRow1},
         "列表已满，有3行未导入"},
        {"both", 9998, ExportHeaderBytes() + BadLine() + good + "  \r\n" + good + good + "\r\n" + good, {kRow1, Cells(10)},
         "有1行格式不符，已跳过\n列表已满，有4行未导入"},
        {"full before", 10000, ExportHeaderBytes() + good + "1", {}, "列表已满，有2行未导入"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Press(IDC_SEARCH_LIST_CLEAR);
        List().AppendDeviceRows(std::vector<SearchedDeviceRow>(static_cast<size_t>(c.rowsBefore)));
        WriteFileBytes(Path("in.txt"), c.file);
        filePaths.push_back(Path("in.txt"));
        boxes.clear();
        Press(IDC_SEARCH_LIST_IMPORT);
        ASSERT_EQ(Rows().GetItemCount(), c.rowsBefore + static_cast<int>(c.imported.size()));
        for (size_t i = 0; i < c.imported.size(); ++i) {
            EXPECT_EQ(Row(c.rowsBefore + static_cast<int>(i)), c.imported[i]);
            EXPECT_EQ(List().m_macRecords[static_cast<size_t>(c.rowsBefore) + i], Hex(c.imported[i][2]));
        }
        EXPECT_EQ(BoxTexts(), c.message[0] ? Cells{c.message} : Cells{});
    }
}

TEST_F(DeviceSearchListTest, AnExportNotWrittenWholeKeepsTheEarlierFileAndTheRows) {
    const std::string routing = Path(" routing,  2024-03-05 06-07-08.txt");
    const struct {
        const char* name;
        size_t rows;
        rlim_t limit;
        bool routing;
        const char* message;
    } cases[] = {
        {"export failing at the close", 2, 16, false, "导出失败！"},
        {"export failing while writing", 400, 8192, false, "导出失败！"},
        {"routing failing at the close", 2, 16, true, ""},
        {"routing failing while writing", 400, 8192, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.routing ? routing : Path("devices.txt");
        WriteFileBytes(path, "earlier");
        Press(IDC_SEARCH_LIST_CLEAR);
        std::vector<SearchedDeviceRow> rows(c.rows);
        for (SearchedDeviceRow& r : rows) r.cells[9] = std::string(100, 'A');
        List().AppendDeviceRows(rows);
        const auto files = std::distance(std::filesystem::directory_iterator(workDir), {});
        filePaths = {path};
        boxes.clear();
        {
            FileSizeLimit limit(c.limit);
            if (c.routing)
                List().AutoExportRouting();
            else
                Press(IDC_SEARCH_LIST_EXPORT);
        }
        EXPECT_EQ(ReadFileBytes(path), "earlier");
        EXPECT_EQ(Rows().GetItemCount(), static_cast<int>(c.rows));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(workDir), {}), files);
        EXPECT_EQ(BoxTexts(), c.message[0] ? Cells{c.message} : Cells{});
    }
    // Without the limit the earlier file is replaced.
    filePaths = {Path("devices.txt")};
    Press(IDC_SEARCH_LIST_EXPORT);
    EXPECT_EQ(ReadFileBytes(Path("devices.txt")).substr(0, ExportHeaderBytes().size()), ExportHeaderBytes());
}

TEST_F(DeviceSearchListTest, DeletingRenumbersAndCompactsClearingRestartsAndTheListHasALimit) {
    std::vector<SearchedDeviceRow> rows(5);
    for (int i = 0; i < 5; ++i) {
        rows[static_cast<size_t>(i)].mac = ByteString(6, static_cast<unsigned char>(i + 1));
        rows[static_cast<size_t>(i)].cells[2] = std::string(12, static_cast<char>('1' + i));
    }
    List().AppendDeviceRows(rows);
    PumpMessages();
    Rows().SelectRow(1);
    Rows().SelectRow(3);
    Press(IDC_SEARCH_LIST_DELETE);
    ASSERT_EQ(Rows().GetItemCount(), 3);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(Rows().GetItemText(r, 1), "000" + std::to_string(r + 1));
        EXPECT_EQ(Rows().GetItemText(r, 2), std::string(12, static_cast<char>('1' + 2 * r)));
        EXPECT_EQ(List().m_macRecords[static_cast<size_t>(r)], ByteString(6, static_cast<unsigned char>(1 + 2 * r)));
    }
    for (int i = 0; i < 5; ++i) EXPECT_EQ(List().m_keepMarks[static_cast<size_t>(i)], 1);
    // A new row continues the numbering; clearing starts it again.
    List().AppendDeviceRows(std::vector<SearchedDeviceRow>(1));
    EXPECT_EQ(Rows().GetItemText(3, 1), "0004");
    Press(IDC_SEARCH_LIST_CLEAR);
    EXPECT_EQ(Rows().GetItemCount(), 0);
    // The list holds at most 10000 rows and counts the rest.
    List().AppendDeviceRows(std::vector<SearchedDeviceRow>(10001));
    EXPECT_EQ(Rows().GetItemCount(), 10000);
    EXPECT_EQ(List().m_droppedRows, 1u);
    EXPECT_EQ(Rows().GetItemText(0, 1) + " " + Rows().GetItemText(9999, 1), "0001 10000");
}

TEST_F(DeviceSearchListTest, FilesThatCannotBeUsedLeaveTheList) {
    // Exporting an empty list deletes the chosen file.
    WriteFileBytes(Path("old.txt"), "old");
    filePaths = {Path("old.txt"), Path("no/such/dir.txt"), Path("missing.txt")};
    Press(IDC_SEARCH_LIST_EXPORT);
    EXPECT_FALSE(FileExists(Path("old.txt")));
    AddRows({{"01", "未知"}, {"02", "未知"}});
    Press(IDC_SEARCH_LIST_EXPORT);
    Press(IDC_SEARCH_LIST_IMPORT);
    Press(IDC_SEARCH_LIST_IMPORT);  // cancelled: nothing said
    EXPECT_EQ(BoxTexts(), (Cells{"导出失败！", "打开文件失败"}));
    EXPECT_EQ(boxes[0].caption, ApplicationTitle());
    // The routing file's place is taken by a folder.
    ASSERT_EQ(mkdir(Path(" routing,  2024-03-05 06-07-08.txt").c_str(), 0755), 0);
    List().AutoExportRouting();
    EXPECT_EQ(Rows().GetItemCount(), 2);
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(DeviceSearchListTest, StatisticsCountTheShownTexts) {
    AddRows({{"15", "属于自己"}, {"15", "属于自己"}, {"10", "保留"}, {"", "不在网"}, {"16", "x"}});
    Press(IDC_SEARCH_LIST_COUNT_DEPTHS);
    Press(IDC_SEARCH_LIST_COUNT_STATES);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "DepthInfo");
    EXPECT_EQ(boxes[0].text,
              "0:      0      1:      0      2:       0\n"
              "3:      0      4:      0      5:      0\n"
              "6:      0      7:      0      8:      0\n"
              "9:      0      10:     1      11:     0\n"
              "12:     0      13:     0      14:    0\n"
              "15:     2         \n");
    EXPECT_EQ(boxes[1].caption, "网络状态");
    EXPECT_EQ(boxes[1].text, "不在网 : 1\n属于自己: 2\n属于其他: 0\n未知   : 0\n保留   : 1\n");
}

TEST_F(DeviceSearchListTest, AHeaderClickSortsAndTheSameHeaderAgainReverses) {
    std::vector<SearchedDeviceRow> rows(3);
    for (int i = 0; i < 3; ++i) rows[static_cast<size_t>(i)].cells[2] = std::string(12, "BAC"[i]);
    List().AppendDeviceRows(rows);
    const std::pair<const char*, const char*> orders[] = {{"CBA", "descending first"}, {"ABC", "then ascending"}};
    for (const auto& order : orders) {
        Rows().ClickColumn(2);
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(Rows().GetItemText(r, 2), std::string(12, order.first[r])) << order.second;
    }
}

// The modeless tool dialogs: Enter never closes them; the close box hides them and gives their
// button back.
TEST_F(DeviceSearchListTest, ToolDialogsStayOnEnterAndHideOnTheirCloseBox) {
    const struct {
        Dialog& dialog;
        int button;  // 0: none shows it
        bool escHides;
    } cases[] = {
        {List(), IDC_SHOW_SEARCH_LIST, false},
        {Within<CFrameMonitorDlg>(*dlg), IDC_SHOW_FRAME_MONITOR, false},
        {Within<CSendConsoleDlg>(*dlg), 0, true},
        {Within<CFrameMonitorDlg>(*dlg).m_detailDlg, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        if (c.button)
            Click(c.button);
        else
            c.dialog.ShowWindow(true);
        EXPECT_TRUE(c.dialog.IsWindowVisible());
        EXPECT_FALSE(c.button && Enabled(c.button));
        EXPECT_TRUE(c.dialog.PressKey(Key::Enter));
        EXPECT_TRUE(c.dialog.IsWindowVisible());
        c.dialog.PressKey(Key::Escape);
        EXPECT_EQ(c.dialog.IsWindowVisible(), !c.escHides);
        c.dialog.Close();
        EXPECT_FALSE(c.dialog.IsWindowVisible());
        EXPECT_TRUE(c.dialog.IsCreated());
        EXPECT_TRUE(!c.button || Enabled(c.button));
    }
}

}  // namespace
