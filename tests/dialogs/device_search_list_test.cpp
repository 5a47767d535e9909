// The device search list: reports from the simulated module, rows, pane, statistics, export,
// import and the routing file.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "analyzer/analyzer_texts.h"
#include "res/resource_ids.h"
#include "test_frames.h"
#include "tool_window_fixture.h"

namespace {

using namespace dialog_tests;
using kvtsim::FromHex;
using testing_frames::Hex;
using testing_frames::MakeFrame;

// Device 1: multicast 1234, depth 3, own network, type 4, attribute 41 42 00.
// Device 2: depth 15, net state 9, type 0, no multicast, empty attribute.
constexpr const char* kTwoDevices =
    "02"
    "06 05 04 03 02 01 13 14 34 12 03 41 42 00"
    "AA BB CC DD EE FF 9F 00 00";

const std::vector<std::string> kRow1 = {kFixedStamp, "0001", "010203040506", "03", "属于自己",
                                        "07MAC地址", "组播", "1234", "3", "414200"};
const std::vector<std::string> kRow2 = {kFixedStamp, "0002", "FFEEDDCCBBAA", "15", "保留",
                                        "不区分设备", "非组播", "", "0", ""};

// The export lines of the two devices, as GBK bytes.
std::string ExportHeaderBytes() {
    return Utf8ToGbk(Blanks(8) + "时间" + Blanks(6) + "编号" + Blanks(8 + 3) + "地址" + Blanks(8 + 3) + "深度" +
                     Blanks(8 + 2) + "网络状态" + Blanks(4 + 4) + "设备类别" + Blanks(4 + 2) + "地址模式" +
                     Blanks(4 + 4) + "组播地址" + Blanks(4 + 3) + "属性长度" + Blanks(4 + 3) + "属性" +
                     Blanks(8 + 5) + "\r\n");
}
std::string Row1Cells(bool all) {
    std::string s = std::string(kFixedStamp) + Blanks(4) + "0001" + Blanks(12) + "010203040506" + Blanks(4) + "03" +
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

class DeviceSearchListTest : public ToolWindowTest {
protected:
    CDeviceSearchListDlg& List() { return dlg->DeviceSearchList(); }
    ListView Rows() { return List().m_deviceList; }

    std::vector<std::string> Row(int r) {
        std::vector<std::string> cells;
        for (int c = 0; c < 10; ++c) cells.push_back(Rows().GetItemText(r, c));
        return cells;
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : boxes) texts.push_back(b.text);
        return texts;
    }

    bool WaitRows(int count) {
        return WaitPumping([&] { return Rows().GetItemCount() == count; }, 5000);
    }

    // Rows straight into the list, for the statistics.
    void AddRows(const std::vector<std::pair<const char*, const char*>>& depthAndNet) {
        std::vector<SearchedDeviceRow> rows;
        for (const auto& d : depthAndNet) {
            SearchedDeviceRow r;
            r.cells[3] = d.first;
            r.cells[4] = d.second;
            rows.push_back(r);
        }
        List().AppendDeviceRows(rows);
    }
};

TEST_F(DeviceSearchListTest, AReportFromTheModuleAddsOneRowPerDeviceAndExplainsTheFrame) {
    OpenPort();
    const ByteString frame = B(kvtsim::SearchReport(FromHex(kTwoDevices)));
    ASSERT_TRUE(sim.Send(kvtsim::Bytes(frame.begin(), frame.end())));
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ(Row(0), kRow1);
    EXPECT_EQ(Row(1), kRow2);
    EXPECT_EQ(List().m_macRecords[0], Hex("01 02 03 04 05 06"));
    EXPECT_EQ(List().m_macRecords[1], Hex("FF EE DD CC BB AA"));
    // The edit gives its line breaks back as CRLF.
    const std::string expected = SpacedHex(frame) + "\r\n" + analyzer_texts::Header(0xC0) +
                                 "设备搜索上报帧\r\n"
                                 "设备数目：    02\r\n"
                                 "设备1: \r\n"
                                 "MAC地址： 010203040506\r\n"
                                 "DEPTH:     03\r\n"
                                 "NetState:  属于自己的网络\r\n"
                                 "目标设备模式：    TRM5207 MAC地址\r\n"
                                 "组播标志：    组播\r\n"
                                 "组播地址：    1234\r\n"
                                 "属性长度: 3\r\n"
                                 "属性: AB(0x004241)\r\n"
                                 "设备2: \r\n"
                                 "MAC地址： FFEEDDCCBBAA\r\n"
                                 "DEPTH:     15\r\n"
                                 "NetState:  \r\n"
                                 "目标设备模式：    不区分设备类型\r\n"
                                 "组播标志：    非组播\r\n"
                                 "属性长度: 0\r\n"
                                 "属性: (0x)\r\n"
                                 "\r\n";
    EXPECT_EQ(List().GetDlgItemText(IDC_SEARCH_LIST_PANE), expected);
    // The main window's search log has the frame too.
    EXPECT_TRUE(WaitPumping([&] { return ListView(dlg->GetDlgItem(IDC_SEARCH_LOG)).GetItemCount() == 1; }, 5000));
    // The same device again is a row of its own, numbered onward.
    ASSERT_TRUE(sim.Send(kvtsim::SearchReport(FromHex("01 06 05 04 03 02 01 13 14 34 12 03 41 42 00"))));
    ASSERT_TRUE(WaitRows(3));
    std::vector<std::string> third = kRow1;
    third[1] = "0003";
    EXPECT_EQ(Row(2), third);
}

TEST_F(DeviceSearchListTest, FramesNotANormalModuleReportAreExplainedButAddNoRow) {
    OpenPort();
    const std::pair<ByteString, std::string> frames[] = {
        {MakeFrame(0xA0, 0x19, "05"), analyzer_texts::Header(0xA0) + "设备搜索上报帧\r\n\r\n"},
        {MakeFrame(0x40, 0x19, std::string(kTwoDevices)), analyzer_texts::Header(0x40) + "设备搜索上报帧\r\n\r\n"},
        {MakeFrame(0xC0, 0x19, "00"), analyzer_texts::Header(0xC0) + "设备搜索上报帧\r\n设备数目：    00\r\n\r\n"},
    };
    for (const auto& f : frames) {
        ASSERT_TRUE(sim.Send(kvtsim::Bytes(f.first.begin(), f.first.end())));
        const std::string text = SpacedHex(f.first) + "\r\n" + f.second;
        EXPECT_TRUE(WaitPumping([&] { return List().GetDlgItemText(IDC_SEARCH_LIST_PANE) == text; }, 5000))
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

TEST_F(DeviceSearchListTest, TheListHoldsAtMost10000RowsAndCountsTheRest) {
    std::vector<SearchedDeviceRow> rows(10001);
    for (size_t i = 0; i < rows.size(); ++i) rows[i].mac = ByteString(6, static_cast<unsigned char>(i));
    List().AppendDeviceRows(rows);
    EXPECT_EQ(Rows().GetItemCount(), 10000);
    EXPECT_EQ(List().m_droppedRows, 1u);
    EXPECT_EQ(Rows().GetItemText(9999, 1), "10000");
}

TEST_F(DeviceSearchListTest, ImportSaysWhatItSkippedAndWhatDidNotFit) {
    const std::string good = Row1Cells(true);
    std::string narrow = std::string(kFixedStamp) + " 0007";  // 24 and 13 characters wide
    narrow = Utf8ToGbk(narrow + Blanks(9) + "A1A2A3A4A5A6 02\r\n");
    const std::string narrowBad = narrow.substr(0, 23) + narrow.substr(24);  // the time runs on
    const struct {
        const char* name;
        int rowsBefore;
        std::string file;
        int rowsAfter;
        const char* message;  // "" for none
    } cases[] = {
        {"all read", 0, ExportHeaderBytes() + good + narrow + "\r\n" + good, 3, ""},
        {"a line of no layout", 0, ExportHeaderBytes() + BadLine() + good + narrowBad, 1, "有2行格式不符，已跳过"},
        {"narrow file", 0, "header\r\n" + narrow + narrowBad + good, 2, "有1行格式不符，已跳过"},
        // Once full, no line is read: the bad line after that point is counted as not imported.
        {"lines past the limit", 9999, ExportHeaderBytes() + good + good + BadLine() + good, 10000,
         "列表已满，有3行未导入"},
        {"both", 9998, ExportHeaderBytes() + BadLine() + good + "\r\n" + good + good + "  \r\n" + good, 10000,
         "有1行格式不符，已跳过\n列表已满，有2行未导入"},
        {"full before", 10000, ExportHeaderBytes() + good + "1", 10000, "列表已满，有2行未导入"},
    };
    for (const auto& c : cases) {
        Button(List().GetDlgItem(IDC_SEARCH_LIST_CLEAR)).Click();
        List().AppendDeviceRows(std::vector<SearchedDeviceRow>(static_cast<size_t>(c.rowsBefore)));
        WriteFileBytes(Path("in.txt"), c.file);
        filePaths.push_back(Path("in.txt"));
        boxes.clear();
        Button(List().GetDlgItem(IDC_SEARCH_LIST_IMPORT)).Click();
        EXPECT_EQ(Rows().GetItemCount(), c.rowsAfter) << c.name;
        EXPECT_EQ(Rows().GetItemText(c.rowsAfter - 1, 2), c.rowsAfter > c.rowsBefore ? "010203040506" : "") << c.name;
        EXPECT_EQ(BoxTexts(), c.message[0] ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.name;
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
        const std::string path = c.routing ? routing : Path("devices.txt");
        WriteFileBytes(path, "earlier");
        Button(List().GetDlgItem(IDC_SEARCH_LIST_CLEAR)).Click();
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
                Button(List().GetDlgItem(IDC_SEARCH_LIST_EXPORT)).Click();
        }
        EXPECT_EQ(ReadFileBytes(path), "earlier") << c.name;
        EXPECT_EQ(Rows().GetItemCount(), static_cast<int>(c.rows)) << c.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(workDir), {}), files) << c.name;
        EXPECT_EQ(BoxTexts(), c.message[0] ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.name;
    }
    // Without the limit the earlier file is replaced.
    filePaths = {Path("devices.txt")};
    Button(List().GetDlgItem(IDC_SEARCH_LIST_EXPORT)).Click();
    EXPECT_EQ(ReadFileBytes(Path("devices.txt")).substr(0, ExportHeaderBytes().size()), ExportHeaderBytes());
}

TEST_F(DeviceSearchListTest, DeletingRenumbersAndCompactsTheAddresses) {
    std::vector<SearchedDeviceRow> rows(5);
    for (int i = 0; i < 5; ++i) {
        rows[static_cast<size_t>(i)].mac = ByteString(6, static_cast<unsigned char>(i + 1));
        rows[static_cast<size_t>(i)].cells[2] = std::string(12, static_cast<char>('1' + i));
    }
    List().AppendDeviceRows(rows);
    PumpMessages();
    Rows().SelectRow(1);
    Rows().SelectRow(3);
    Button(List().GetDlgItem(IDC_SEARCH_LIST_DELETE)).Click();
    ASSERT_EQ(Rows().GetItemCount(), 3);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(Rows().GetItemText(r, 1), "000" + std::to_string(r + 1));
        EXPECT_EQ(Rows().GetItemText(r, 2), std::string(12, static_cast<char>('1' + 2 * r)));
        EXPECT_EQ(List().m_macRecords[static_cast<size_t>(r)], ByteString(6, static_cast<unsigned char>(1 + 2 * r)));
    }
    for (int i = 0; i < 5; ++i) EXPECT_EQ(List().m_keepMarks[static_cast<size_t>(i)], 1);
    // A new row continues the numbering.
    List().AppendDeviceRows(std::vector<SearchedDeviceRow>(1));
    EXPECT_EQ(Rows().GetItemText(3, 1), "0004");

    // Clearing starts the numbering again.
    Button(List().GetDlgItem(IDC_SEARCH_LIST_CLEAR)).Click();
    EXPECT_EQ(Rows().GetItemCount(), 0);
    List().AppendDeviceRows(std::vector<SearchedDeviceRow>(1));
    EXPECT_EQ(Rows().GetItemText(0, 1), "0001");
}

TEST_F(DeviceSearchListTest, ExportWritesGbkColumnsImportGivesTheSameRowsAndRoutingClears) {
    OpenPort();
    ASSERT_TRUE(sim.Send(kvtsim::SearchReport(FromHex(kTwoDevices))));
    ASSERT_TRUE(WaitRows(2));
    const std::string path = Path("devices.txt");
    filePaths.push_back(path);
    Button(List().GetDlgItem(IDC_SEARCH_LIST_EXPORT)).Click();
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_TRUE(fileRequests[0].open);
    EXPECT_EQ(fileRequests[0].fileName, "ROUTEREXPORT,  2024-03-05 06-07-08.txt");
    EXPECT_EQ(fileRequests[0].filter, "TXT Files(*.txt)|*.txt||");
    EXPECT_EQ(ReadFileBytes(path), ExportHeaderBytes() + Row1Cells(true) + Row2Cells(true));

    Button(List().GetDlgItem(IDC_SEARCH_LIST_CLEAR)).Click();
    ASSERT_EQ(Rows().GetItemCount(), 0);
    filePaths.push_back(path);
    Button(List().GetDlgItem(IDC_SEARCH_LIST_IMPORT)).Click();
    ASSERT_EQ(fileRequests.size(), 2u);
    EXPECT_EQ(fileRequests[1].fileName, "");
    ASSERT_EQ(Rows().GetItemCount(), 2);
    EXPECT_EQ(Row(0), kRow1);
    EXPECT_EQ(Row(1), kRow2);
    EXPECT_EQ(List().m_macRecords[0], Hex("01 02 03 04 05 06"));
    EXPECT_EQ(List().m_macRecords[1], Hex("FF EE DD CC BB AA"));

    // The routing file of a repetition takes the first eight columns, and the list is cleared.
    List().AutoExportRouting();
    const std::string routingHeader =
        Utf8ToGbk(Blanks(8) + "时间" + Blanks(6) + "编号" + Blanks(8 + 3) + "地址" + Blanks(8 + 3) + "深度" +
                  Blanks(8 + 2) + "网络状态" + Blanks(4 + 4) + "设备类别" + Blanks(4 + 3) + "地址模式" + Blanks(4 + 3) +
                  "组播地址" + Blanks(4 + 5) + "\r\n");
    EXPECT_EQ(ReadFileBytes(Path(" routing,  2024-03-05 06-07-08.txt")),
              routingHeader + Row1Cells(false) + Row2Cells(false));
    EXPECT_EQ(Rows().GetItemCount(), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DeviceSearchListTest, FilesThatCannotBeUsedLeaveTheList) {
    // Exporting an empty list deletes the chosen file.
    WriteFileBytes(Path("old.txt"), "old");
    filePaths = {Path("old.txt"), Path("no/such/dir.txt"), Path("missing.txt")};
    Button(List().GetDlgItem(IDC_SEARCH_LIST_EXPORT)).Click();
    EXPECT_FALSE(FileExists(Path("old.txt")));
    AddRows({{"01", "未知"}, {"02", "未知"}});
    Button(List().GetDlgItem(IDC_SEARCH_LIST_EXPORT)).Click();
    Button(List().GetDlgItem(IDC_SEARCH_LIST_IMPORT)).Click();
    Button(List().GetDlgItem(IDC_SEARCH_LIST_IMPORT)).Click();  // cancelled: nothing said
    Button(List().GetDlgItem(IDC_SEARCH_LIST_EXPORT)).Click();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "导出失败！");
    EXPECT_EQ(boxes[0].caption, ApplicationTitle());
    EXPECT_EQ(boxes[1].text, "打开文件失败");
    // The routing file's place is taken by a folder.
    ASSERT_EQ(mkdir(Path(" routing,  2024-03-05 06-07-08.txt").c_str(), 0755), 0);
    List().AutoExportRouting();
    EXPECT_EQ(Rows().GetItemCount(), 2);
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(DeviceSearchListTest, ImportReadsTheNarrowLayoutToo) {
    // 24 characters for the time, 13 for each further column (GBK bytes).
    std::string narrow = std::string(kFixedStamp) + " ";
    for (const char* cell : {"0007", "A1A2A3A4A5A6", "02", "属于其他", "网关", "非组播", "", "0"}) {
        narrow += cell;
        narrow += Blanks(13 - GbkLength(cell));
    }
    ASSERT_EQ(GbkLength(narrow), 24u + 8 * 13);
    const std::string path = Path("narrow.txt");
    WriteFileBytes(path, Utf8ToGbk("header\r\n" + narrow + "\r\n\r\n2024-03-05\r\n"));
    filePaths.push_back(path);
    Button(List().GetDlgItem(IDC_SEARCH_LIST_IMPORT)).Click();
    ASSERT_EQ(Rows().GetItemCount(), 2);  // the empty line is skipped
    EXPECT_EQ(Row(0), (std::vector<std::string>{"2024-03-0506:07:08:009", "0007", "A1A2A3A4A5A6", "02", "属于其他",
                                                "网关", "非组播", "", "0", ""}));
    EXPECT_EQ(List().m_macRecords[0], Hex("A1 A2 A3 A4 A5 A6"));
    // A line shorter than 24 characters fills column 0 only.
    EXPECT_EQ(Row(1), (std::vector<std::string>{"2024-03-05", "", "", "", "", "", "", "", "", ""}));
}

TEST_F(DeviceSearchListTest, AMalformedLineIsSkippedAndTheRestIsRead) {
    AddRows({{"01", "未知"}});
    const std::string path = Path("bad.txt");
    WriteFileBytes(path, ExportHeaderBytes() + Row1Cells(true) + BadLine() + Row2Cells(false));
    filePaths.push_back(path);
    Button(List().GetDlgItem(IDC_SEARCH_LIST_IMPORT)).Click();
    ASSERT_EQ(Rows().GetItemCount(), 3);
    EXPECT_EQ(Rows().GetItemText(0, 3), "01");
    EXPECT_EQ(Row(1), kRow1);
    std::vector<std::string> shortRow = kRow2;
    shortRow[8] = "";  // the line ends after column 7
    EXPECT_EQ(Row(2), shortRow);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "有1行格式不符，已跳过");
}

TEST_F(DeviceSearchListTest, StatisticsCountTheShownTexts) {
    AddRows({{"15", "属于自己"}, {"15", "属于自己"}, {"10", "保留"}, {"", "不在网"}, {"16", "x"}});
    Button(List().GetDlgItem(IDC_SEARCH_LIST_COUNT_DEPTHS)).Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "DepthInfo");
    EXPECT_EQ(boxes[0].text,
              "0:      0      1:      0      2:       0\n"
              "3:      0      4:      0      5:      0\n"
              "6:      0      7:      0      8:      0\n"
              "9:      0      10:     1      11:     0\n"
              "12:     0      13:     0      14:    0\n"
              "15:     2         \n");
    Button(List().GetDlgItem(IDC_SEARCH_LIST_COUNT_STATES)).Click();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].caption, "网络状态");
    EXPECT_EQ(boxes[1].text, "不在网 : 1\n属于自己: 2\n属于其他: 0\n未知   : 0\n保留   : 1\n");
}

TEST_F(DeviceSearchListTest, AHeaderClickSortsAndTheSameHeaderAgainReverses) {
    std::vector<SearchedDeviceRow> rows(3);
    for (int i = 0; i < 3; ++i) rows[static_cast<size_t>(i)].cells[2] = std::string(12, "BAC"[i]);
    List().AppendDeviceRows(rows);
    Rows().ClickColumn(2);  // descending first
    EXPECT_EQ(Rows().GetItemText(0, 2), "CCCCCCCCCCCC");
    EXPECT_EQ(Rows().GetItemText(1, 2), "BBBBBBBBBBBB");
    Rows().ClickColumn(2);
    EXPECT_EQ(Rows().GetItemText(0, 2), "AAAAAAAAAAAA");
    EXPECT_EQ(Rows().GetItemText(2, 2), "CCCCCCCCCCCC");
}

TEST_F(DeviceSearchListTest, ShownByTheMainWindowAndHiddenByItsCloseBox) {
    Button(dlg->GetDlgItem(IDC_SHOW_SEARCH_LIST)).Click();
    EXPECT_TRUE(List().IsWindowVisible());
    EXPECT_FALSE(dlg->GetDlgItem(IDC_SHOW_SEARCH_LIST).IsEnabled());
    // Neither Enter nor Esc closes it.
    List().PressKey(Key::Escape);
    List().PressKey(Key::Enter);
    EXPECT_TRUE(List().IsWindowVisible());
    List().Close();
    EXPECT_FALSE(List().IsWindowVisible());
    EXPECT_TRUE(List().IsCreated());
    EXPECT_TRUE(dlg->GetDlgItem(IDC_SHOW_SEARCH_LIST).IsEnabled());
}

}  // namespace
