// The smart-home monitor page: its rows, export, clear and the frame detail of a row.

#include <gtest/gtest.h>

#include "support/dialog_lookup.h"
#include "support/main_window_fixture.h"

namespace {

using namespace testsupport;

class SmartHomeMonitorTest : public MainWindowWithModule {
protected:
    SmartHomeMonitorTest() : MainWindowWithModule(14, true) {}
    CSmartHomeMonitorDlg& Page() { return Within<CSmartHomeMonitorDlg>(*dlg); }
    ListView Rows() { return Page().m_frameList; }
    void Press(int id) { Button(Page().GetDlgItem(id)).Click(); }
};

TEST_F(SmartHomeMonitorTest, RowsAreExportedClearedAndShownInDetail) {
    dlg->PostDataFrameRow("79 00 00 C0 01 41 41 ");
    Page().AddFrameRow("0102", "0304", "AA BB ");
    ASSERT_EQ(Rows().GetItemCount(), 2);
    const std::vector<std::string> first = {kFixedStamp, "00", "数据帧", "", "", "79 00 00 C0 01 41 41 "};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(Rows().GetItemText(0, c), first[static_cast<size_t>(c)]) << c;
    EXPECT_EQ(Rows().GetItemText(1, 1) + Rows().GetItemText(1, 3) + Rows().GetItemText(1, 4), "0101020304");

    const std::string path = Path("aps.txt");
    filePaths.push_back(path);
    Press(IDC_SMART_HOME_EXPORT);
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_EQ(fileRequests[0].fileName, "APSDATAEXPORT,  2024-03-05 06-07-08.txt");
    EXPECT_FALSE(fileRequests[0].open);  // an export creates its file: a save dialog
    const std::string header = Blanks(8) + "时间" + Blanks(6) + "编号" + Blanks(11) + "类型" + Blanks(11) + "源地址" +
                               Blanks(9) + "目的地址" + Blanks(7) + "APS数据" + Blanks(10) + "\r\n";
    const std::string row0 = std::string(kFixedStamp) + Blanks(4) + "00" + Blanks(14) + "数据帧" + Blanks(10) +
                             Blanks(16) + Blanks(16) + "79 00 00 C0 01 41 41 " + Blanks(4) + "\r\n";
    const std::string row1 = std::string(kFixedStamp) + Blanks(4) + "01" + Blanks(14) + "数据帧" + Blanks(10) + "0102" +
                             Blanks(12) + "0304" + Blanks(12) + "AA BB " + Blanks(10) + "\r\n";
    EXPECT_EQ(ReadFileBytes(path), Utf8ToGbk(header + row0 + row1));

    // A file that cannot be written says so.
    filePaths.push_back(Path("missing/aps.txt"));
    Press(IDC_SMART_HOME_EXPORT);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"导出失败！"});
    boxes.clear();

    // A double click shows the row's frame text; with no row selected it does nothing.
    Rows().ClearSelection();
    Page().OnDblclkFrameList();
    EXPECT_FALSE(Within<CFrameDetailDlg>(*dlg).IsWindowVisible());
    Rows().ClickRow(1, Notify::DblClick);
    EXPECT_TRUE(Within<CFrameDetailDlg>(*dlg).IsWindowVisible());
    EXPECT_EQ(Within<CFrameDetailDlg>(*dlg).GetDlgItemText(IDC_DETAIL_TEXT), "AA BB ");

    // Cancel keeps the rows; OK clears them.
    MessageBoxHook previous = SetMessageBoxHook([this](const MessageBoxRequest& r) {
        boxes.push_back(r);
        return kIdCancel;
    });
    Press(IDC_SMART_HOME_CLEAR);
    EXPECT_EQ(Rows().GetItemCount(), 2);
    SetMessageBoxHook(previous);
    Press(IDC_SMART_HOME_CLEAR);
    EXPECT_EQ(Rows().GetItemCount(), 0);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text + "|" + boxes[0].caption, "确认要清除报文吗？|提示");
    EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(kMbOkCancel | kMbIconInformation));

    // Exported with no rows, the file of that name is removed and none written.
    filePaths.push_back(path);
    Press(IDC_SMART_HOME_EXPORT);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(boxes.size(), 2u);
}

}  // namespace
