// The test panel's upgrade-file group: the image's choice fills the version, each button writes
// its upgrade file next to the image or says why not, and nothing reaches the module.

#include <gtest/gtest.h>

#include <string>

#include "commands/TestDlg/test_dlg.h"
#include "commands/page_codes.h"
#include "support/main_window_fixture.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

class UpgradeFilePanelTest : public testsupport::MainWindowWithModule {
protected:
    UpgradeFilePanelTest() : MainWindowWithModule(25) {}
    CTestDlg& Panel() { return dlg->TestPanel(); }
    void Press(int id) { Button(Panel().GetDlgItem(id)).Click(); }
    std::string Version() { return Panel().GetDlgItemText(IDC_PANEL_UPGRADE_VERSION); }
};

TEST_F(UpgradeFilePanelTest, ChosenImageGivesItsVersionAndEachButtonItsFile) {
    // No tree item shows the group: it is shown as its page code would show it.
    Panel().ShowWindow(true);
    Panel().ShowGroup(PAGE_UPGRADE_FILE);
    for (int id : {IDC_PANEL_UPGRADE_VERSION, IDC_PANEL_CHOOSE_UPGRADE_FILE, IDC_PANEL_BOOT_FILE,
                   IDC_PANEL_SEC_HIGH_FILE})
        EXPECT_TRUE(Panel().GetDlgItem(id).IsVisible()) << id;
    EXPECT_FALSE(Panel().GetDlgItem(IDC_PANEL_LOG_LIST).IsVisible());

    const std::string image = Path("APP_0102030405.bin");
    const std::string output = Path("APP_update-0102030405.bin");
    const std::string bytes(1000, '\x5A');
    WriteFileBytes(image, bytes);
    filePaths = {image};
    Press(IDC_PANEL_CHOOSE_UPGRADE_FILE);
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_TRUE(fileRequests[0].open);
    EXPECT_EQ(fileRequests[0].filter, ".BIN Files(*.bin)|*.bin||");
    EXPECT_EQ(fileRequests[0].defaultExt + fileRequests[0].fileName, "");
    EXPECT_EQ(Version(), "0102030405");

    Press(IDC_PANEL_BOOT_FILE);
    EXPECT_EQ(ReadFileBytes(output).size(), bytes.size() + 64);
    EXPECT_EQ(ReadFileBytes(output).substr(0, 12), std::string("\xE8\x03\0\0Quorvant", 12));
    Panel().SetDlgItemText(IDC_PANEL_UPGRADE_VERSION, "102030405");
    Press(IDC_PANEL_SEC_HIGH_FILE);
    EXPECT_EQ(ReadFileBytes(output), std::string("\xE8\x03\0\0\0\0\0\0", 8) + bytes);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});

    // Refusals: a version that is not BCD, then a cancelled choice that empties the path.
    Panel().SetDlgItemText(IDC_PANEL_UPGRADE_VERSION, "010203040A");
    Press(IDC_PANEL_BOOT_FILE);
    Press(IDC_PANEL_CHOOSE_UPGRADE_FILE);
    EXPECT_EQ(Version(), "");
    Press(IDC_PANEL_SEC_HIGH_FILE);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"版本号不是BCD格式", "请选择处理文件"}));
    for (const MessageBoxRequest& b : boxes) EXPECT_EQ(b.type, kMbOk);
    EXPECT_EQ(ReadFileBytes(output).size(), bytes.size() + 8);
    EXPECT_EQ(HistoryCount('0'), 0u);
}

}  // namespace
