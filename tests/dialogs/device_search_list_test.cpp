// The device search list: reports from the simulated module, rows, pane, statistics, export,
// import and the routing file.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "analyzer/analyzer_texts.h"
#include "search_console_fixture.h"
#include "test_frames.h"

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

std::string SpacedHex(const ByteString& frame) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s;
    for (unsigned char b : frame) {
        s += kDigits[b >> 4];
        s += kDigits[b & 15];
        s += ' ';
    }
    return s;
}

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

class DeviceSearchListTest : public ToolWindowTest {
protected:
    CDeviceSearchListDlg& List() { return dlg->m_deviceSearchDlg; }
    ListView Rows() { return List().m_deviceList; }

    std::vector<std::string> Row(int r) {
        std::vector<std::string> cells;
        for (int c = 0; c < 10; ++c) cells.push_back(Rows().GetItemText(r, c));
        return cells;
    }

    bool WaitRows(int count) {
        return WaitPumping([&] { return Rows().GetItemCount() == count; }, 5000);
    }

    // The two devices of kTwoDevices, sent by the module.
    void ReceiveTwoDevices() {
        ASSERT_TRUE(sim.Send(kvtsim::SearchReport(FromHex(kTwoDevices))));
        ASSERT_TRUE(WaitRows(2));
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

TEST_F(DeviceSearchListTest, ListStartsWithItsColumns) {
    const char* const titles[] = {"TIME", "seq", "MACID", "Depth", "net", "Devmode",
                                  "groupmode", "groupID", "len", "Attribute"};
    const int widths[] = {170, 45, 100, 50, 60, 120, 80, 80, 45, 500};
    ASSERT_EQ(Rows().GetColumnCount(), 10);
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(Rows().GetColumnHeading(c), titles[c]);
        EXPECT_EQ(Rows().GetColumnWidth(c), widths[c]);
    }
    EXPECT_EQ(List().GetWindowText(), "搜索设备列表");
    EXPECT_FALSE(List().IsWindowVisible());
    EXPECT_EQ(List().GetDlgItemText(1018), "统计网络状态");
    EXPECT_EQ(List().GetDlgItemText(1262), "统计depth");
}

TEST_F(DeviceSearchListTest, AReportFromTheModuleAddsOneRowPerDeviceAndExplainsTheFrame) {
    OpenPort();
    const ByteString frame = B(kvtsim::SearchReport(FromHex(kTwoDevices)));
    ASSERT_TRUE(sim.Send(kvtsim::Bytes(frame.begin(), frame.end())));
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ(Row(0), kRow1);
    EXPECT_EQ(Row(1), kRow2);
    EXPECT_EQ(List().m_rowCount, 2u);
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
    EXPECT_EQ(List().GetDlgItemText(1246), expected);
    // The main window's search log has the frame too.
    EXPECT_TRUE(WaitPumping([&] { return dlg->m_searchLogList.GetItemCount() == 1; }, 5000));
}

TEST_F(DeviceSearchListTest, TheSameDeviceTwiceGivesTwoRowsNumberedOnward) {
    OpenPort();
    const kvtsim::Bytes report = kvtsim::SearchReport(FromHex("01 06 05 04 03 02 01 13 14 34 12 03 41 42 00"));
    ASSERT_TRUE(sim.Send(report));
    ASSERT_TRUE(WaitRows(1));
    ASSERT_TRUE(sim.Send(report));
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ(Row(0), kRow1);
    std::vector<std::string> second = kRow1;
    second[1] = "0002";
    EXPECT_EQ(Row(1), second);
}

TEST_F(DeviceSearchListTest, FramesNotANormalModuleReportAreExplainedButAddNoRow) {
    OpenPort();
    const ByteString abnormal = MakeFrame(0xA0, 0x19, "05");
    ASSERT_TRUE(sim.Send(kvtsim::Bytes(abnormal.begin(), abnormal.end())));
    const std::string abnormalText =
        SpacedHex(abnormal) + "\r\n" + analyzer_texts::Header(0xA0) + "设备搜索上报帧\r\n\r\n";
    ASSERT_TRUE(WaitPumping([&] { return List().GetDlgItemText(1246) == abnormalText; }, 5000))
        << List().GetDlgItemText(1246);

    const ByteString host = MakeFrame(0x40, 0x19, std::string(kTwoDevices));
    ASSERT_TRUE(sim.Send(kvtsim::Bytes(host.begin(), host.end())));
    const std::string hostText = SpacedHex(host) + "\r\n" + analyzer_texts::Header(0x40) + "设备搜索上报帧\r\n\r\n";
    ASSERT_TRUE(WaitPumping([&] { return List().GetDlgItemText(1246) == hostText; }, 5000))
        << List().GetDlgItemText(1246);

    const ByteString none = B(kvtsim::SearchReport(FromHex("00")));
    ASSERT_TRUE(sim.Send(kvtsim::Bytes(none.begin(), none.end())));
    const std::string noneText = SpacedHex(none) + "\r\n" + analyzer_texts::Header(0xC0) +
                                 "设备搜索上报帧\r\n设备数目：    00\r\n\r\n";
    ASSERT_TRUE(WaitPumping([&] { return List().GetDlgItemText(1246) == noneText; }, 5000));
    EXPECT_EQ(Rows().GetItemCount(), 0);
    EXPECT_EQ(List().m_rowCount, 0u);
}

TEST_F(DeviceSearchListTest, AnEntryRunningPastTheFrameKeepsTheCellsWritten) {
    OpenPort();
    // Three entries announced; the second's attribute of 9 bytes runs past the frame (two check
    // bytes follow its one byte), the third is not there.
    ASSERT_TRUE(sim.Send(kvtsim::SearchReport(FromHex("03 06 05 04 03 02 01 13 14 34 12 03 41 42 00"
                                                      "11 22 33 44 55 66 25 03 09 41"))));
    ASSERT_TRUE(WaitRows(2));
    PumpFor(50);
    EXPECT_EQ(Rows().GetItemCount(), 2);
    EXPECT_EQ(Row(0), kRow1);
    EXPECT_EQ(Row(1), (std::vector<std::string>{kFixedStamp, "0002", "665544332211", "05", "属于其他", "8182MAC地址",
                                                "非组播", "", "9", ""}));
    EXPECT_EQ(List().m_rowCount, 2u);
}

TEST_F(DeviceSearchListTest, EntriesAreReadFromTheFrameAsReceived) {
    std::vector<SearchedDeviceRow> rows;
    // The MAC address lies inside only with the check bytes.
    EXPECT_EQ(CDeviceSearchListDlg::AddSearchedDevices(Hex("79 07 00 80 19 01 01 02 03 04 05"), 0, rows), -1);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(CDeviceSearchListDlg::AddSearchedDevices(Hex("79 07 00 80 19 01 01 02 03 04 05 06"), 0, rows), -1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells[2], "060504030201");
    EXPECT_EQ(rows[0].cells[3], "");
    // A multicast address of which only one byte lies inside.
    rows.clear();
    EXPECT_EQ(CDeviceSearchListDlg::AddSearchedDevices(Hex("79 00 00 80 19 01 01 02 03 04 05 06 00 10 34"), 0, rows),
              -1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells[6], "组播");
    EXPECT_EQ(rows[0].cells[7], "");
    // Device type 1, 6 and 15; net state 4 and 15.
    rows.clear();
    EXPECT_EQ(CDeviceSearchListDlg::AddSearchedDevices(
                  Hex("79 00 00 80 19 03 01 02 03 04 05 06 40 01 00 01 02 03 04 05 06 F0 06 00 01 02 03 04 05 06 "
                      "00 0F 00"),
                  0, rows),
              33);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].cells[4], "保留");
    EXPECT_EQ(rows[0].cells[5], "网关");
    EXPECT_EQ(rows[1].cells[4], "保留");
    EXPECT_EQ(rows[1].cells[5], "出错");
    EXPECT_EQ(rows[2].cells[5], "出错");
}

TEST_F(DeviceSearchListTest, ACountOf255Ends) {
    ByteString frame = Hex("79 00 00 C0 19 FF");
    for (int i = 0; i < 255; ++i) frame += Hex("01 02 03 04 05 06 00 00 00");
    std::vector<SearchedDeviceRow> rows;
    EXPECT_EQ(CDeviceSearchListDlg::AddSearchedDevices(frame, 0, rows), static_cast<int>(frame.size()));
    EXPECT_EQ(rows.size(), 255u);
}

TEST_F(DeviceSearchListTest, TheListHoldsAtMost10000RowsAndCountsTheRest) {
    std::vector<SearchedDeviceRow> rows(10001);
    for (size_t i = 0; i < rows.size(); ++i) rows[i].mac = ByteString(6, static_cast<unsigned char>(i));
    List().AppendDeviceRows(rows);
    EXPECT_EQ(Rows().GetItemCount(), 10000);
    EXPECT_EQ(List().m_rowCount, 10000u);
    EXPECT_EQ(List().m_droppedRows, 1u);
    EXPECT_EQ(Rows().GetItemText(9999, 1), "10000");
    // An import beyond the limit adds nothing either.
    const std::string path = Path("full.txt");
    WriteFileBytes(path, ExportHeaderBytes() + Row1Cells(true));
    filePaths.push_back(path);
    Button(List().GetDlgItem(1044)).Click();
    EXPECT_EQ(Rows().GetItemCount(), 10000);
    EXPECT_EQ(List().m_droppedRows, 2u);
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
    Button(List().GetDlgItem(1250)).Click();
    ASSERT_EQ(Rows().GetItemCount(), 3);
    EXPECT_EQ(Rows().GetItemText(0, 1), "0001");
    EXPECT_EQ(Rows().GetItemText(1, 1), "0002");
    EXPECT_EQ(Rows().GetItemText(2, 1), "0003");
    EXPECT_EQ(Rows().GetItemText(0, 2), "111111111111");
    EXPECT_EQ(Rows().GetItemText(1, 2), "333333333333");
    EXPECT_EQ(Rows().GetItemText(2, 2), "555555555555");
    EXPECT_EQ(List().m_rowCount, 3u);
    EXPECT_EQ(List().m_macRecords[0], ByteString(6, 1));
    EXPECT_EQ(List().m_macRecords[1], ByteString(6, 3));
    EXPECT_EQ(List().m_macRecords[2], ByteString(6, 5));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(List().m_keepMarks[static_cast<size_t>(i)], 1);
    // A new row continues the numbering.
    List().AppendDeviceRows(std::vector<SearchedDeviceRow>(1));
    EXPECT_EQ(Rows().GetItemText(3, 1), "0004");

    Button(List().GetDlgItem(1240)).Click();
    EXPECT_EQ(Rows().GetItemCount(), 0);
    EXPECT_EQ(List().m_rowCount, 0u);
}

TEST_F(DeviceSearchListTest, ExportWritesGbkColumnsAndImportGivesTheSameRows) {
    OpenPort();
    ReceiveTwoDevices();
    const std::string path = Path("devices.txt");
    filePaths.push_back(path);
    Button(List().GetDlgItem(1260)).Click();
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_TRUE(fileRequests[0].open);
    EXPECT_EQ(fileRequests[0].fileName, "ROUTEREXPORT,  2024-03-05 06-07-08.txt");
    EXPECT_EQ(fileRequests[0].filter, "TXT Files(*.txt)|*.txt||");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ReadFileBytes(path), ExportHeaderBytes() + Row1Cells(true) + Row2Cells(true));

    Button(List().GetDlgItem(1240)).Click();
    ASSERT_EQ(Rows().GetItemCount(), 0);
    filePaths.push_back(path);
    Button(List().GetDlgItem(1044)).Click();
    ASSERT_EQ(fileRequests.size(), 2u);
    EXPECT_EQ(fileRequests[1].fileName, "");
    ASSERT_EQ(Rows().GetItemCount(), 2);
    EXPECT_EQ(Row(0), kRow1);
    EXPECT_EQ(Row(1), kRow2);
    EXPECT_EQ(List().m_rowCount, 2u);
    EXPECT_EQ(List().m_macRecords[0], Hex("01 02 03 04 05 06"));
    EXPECT_EQ(List().m_macRecords[1], Hex("FF EE DD CC BB AA"));

    // Exported again, the file is the same.
    filePaths.push_back(path);
    Button(List().GetDlgItem(1260)).Click();
    EXPECT_EQ(ReadFileBytes(path), ExportHeaderBytes() + Row1Cells(true) + Row2Cells(true));
}

TEST_F(DeviceSearchListTest, ExportingAnEmptyListDeletesTheChosenFile) {
    const std::string path = Path("old.txt");
    WriteFileBytes(path, "old");
    filePaths.push_back(path);
    Button(List().GetDlgItem(1260)).Click();
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(boxes.empty());
    // A cancelled dialog ends silently.
    Button(List().GetDlgItem(1260)).Click();
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DeviceSearchListTest, ExportToAPlaceThatCannotBeWrittenFails) {
    AddRows({{"01", "未知"}});
    filePaths.push_back(Path("no/such/dir.txt"));
    Button(List().GetDlgItem(1260)).Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "导出失败！");
    EXPECT_EQ(boxes[0].caption, ApplicationTitle());
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
    Button(List().GetDlgItem(1044)).Click();
    ASSERT_EQ(Rows().GetItemCount(), 2);  // the empty line is skipped
    EXPECT_EQ(Row(0), (std::vector<std::string>{"2024-03-0506:07:08:009", "0007", "A1A2A3A4A5A6", "02", "属于其他",
                                                "网关", "非组播", "", "0", ""}));
    EXPECT_EQ(List().m_macRecords[0], Hex("A1 A2 A3 A4 A5 A6"));
    // A line shorter than 24 characters fills column 0 only.
    EXPECT_EQ(Row(1), (std::vector<std::string>{"2024-03-05", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(List().m_rowCount, 2u);
}

TEST_F(DeviceSearchListTest, AMalformedLineIsSkippedAndTheRestIsRead) {
    AddRows({{"01", "未知"}});
    const std::string path = Path("bad.txt");
    // The second line has a cell that runs into the next column's place.
    const std::string bad = Utf8ToGbk(std::string(kFixedStamp) + Blanks(4) + "0001" + Blanks(9) + "X" + Blanks(2) +
                                      "010203040506" + "\r\n");
    WriteFileBytes(path, ExportHeaderBytes() + Row1Cells(true) + bad + Row2Cells(false));
    filePaths.push_back(path);
    Button(List().GetDlgItem(1044)).Click();
    ASSERT_EQ(Rows().GetItemCount(), 3);
    EXPECT_EQ(Rows().GetItemText(0, 3), "01");
    EXPECT_EQ(Row(1), kRow1);
    std::vector<std::string> shortRow = kRow2;
    shortRow[8] = "";  // the line ends after column 7
    EXPECT_EQ(Row(2), shortRow);
    EXPECT_EQ(List().m_rowCount, 3u);
}

TEST_F(DeviceSearchListTest, AnImportThatCannotOpenItsFileLeavesTheList) {
    AddRows({{"01", "未知"}, {"02", "未知"}});
    filePaths.push_back(Path("missing.txt"));
    Button(List().GetDlgItem(1044)).Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "打开文件失败");
    EXPECT_EQ(Rows().GetItemCount(), 2);
    EXPECT_EQ(List().m_rowCount, 2u);
    // A cancelled dialog changes nothing and says nothing.
    Button(List().GetDlgItem(1044)).Click();
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(DeviceSearchListTest, StatisticsCountTheShownTexts) {
    AddRows({{"15", "属于自己"}, {"15", "属于自己"}, {"10", "保留"}, {"", "不在网"}, {"16", "x"}});
    Button(List().GetDlgItem(1262)).Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "DepthInfo");
    EXPECT_EQ(boxes[0].text,
              "0:      0      1:      0      2:       0\n"
              "3:      0      4:      0      5:      0\n"
              "6:      0      7:      0      8:      0\n"
              "9:      0      10:     1      11:     0\n"
              "12:     0      13:     0      14:    0\n"
              "15:     2         \n");
    Button(List().GetDlgItem(1018)).Click();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].caption, "网络状态");
    EXPECT_EQ(boxes[1].text, "不在网 : 1\n属于自己: 2\n属于其他: 0\n未知   : 0\n保留   : 1\n");
}

TEST_F(DeviceSearchListTest, RoutingExportWritesTheFileAndClearsTheList) {
    OpenPort();
    ReceiveTwoDevices();
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    List().AutoExportRouting();
    ASSERT_EQ(chdir(previous), 0);
    const std::string expected =
        Utf8ToGbk(Blanks(8) + "时间" + Blanks(6) + "编号" + Blanks(8 + 3) + "地址" + Blanks(8 + 3) + "深度" +
                  Blanks(8 + 2) + "网络状态" + Blanks(4 + 4) + "设备类别" + Blanks(4 + 3) + "地址模式" + Blanks(4 + 3) +
                  "组播地址" + Blanks(4 + 5) + "\r\n") +
        Row1Cells(false) + Row2Cells(false);
    EXPECT_EQ(ReadFileBytes(Path(" routing,  2024-03-05 06-07-08.txt")), expected);
    EXPECT_EQ(Rows().GetItemCount(), 0);
    EXPECT_EQ(List().m_rowCount, 0u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DeviceSearchListTest, ARoutingFileThatCannotBeOpenedKeepsTheList) {
    AddRows({{"01", "未知"}});
    ASSERT_EQ(mkdir(Path(" routing,  2024-03-05 06-07-08.txt").c_str(), 0755), 0);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    List().AutoExportRouting();
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(Rows().GetItemCount(), 1);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DeviceSearchListTest, AHeaderClickSortsAndTheSameHeaderAgainReverses) {
    std::vector<SearchedDeviceRow> rows(3);
    rows[0].cells[2] = "BBBBBBBBBBBB";
    rows[1].cells[2] = "AAAAAAAAAAAA";
    rows[2].cells[2] = "CCCCCCCCCCCC";
    List().AppendDeviceRows(rows);
    PumpMessages();
    Rows().ClickColumn(2);
    const std::string first = Rows().GetItemText(0, 2);
    EXPECT_TRUE(first == "AAAAAAAAAAAA" || first == "CCCCCCCCCCCC") << first;
    EXPECT_EQ(Rows().GetItemText(1, 2), "BBBBBBBBBBBB");
    Rows().ClickColumn(2);
    EXPECT_EQ(Rows().GetItemText(2, 2), first);
    EXPECT_EQ(Rows().GetItemText(1, 2), "BBBBBBBBBBBB");
}

TEST_F(DeviceSearchListTest, ShownByTheMainWindowAndHiddenByItsCloseBox) {
    dlg->OnShowSearchList();
    EXPECT_TRUE(List().IsWindowVisible());
    EXPECT_FALSE(dlg->GetDlgItem(1834).IsEnabled());
    // Neither Enter nor Esc closes it.
    List().PressKey(Key::Escape);
    List().PressKey(Key::Enter);
    EXPECT_TRUE(List().IsWindowVisible());
    List().Close();
    EXPECT_FALSE(List().IsWindowVisible());
    EXPECT_TRUE(List().IsCreated());
    EXPECT_TRUE(dlg->GetDlgItem(1834).IsEnabled());
}

}  // namespace
