// The test panel's upgrade-file group: the chosen image gives the version, each button writes its
// upgrade file next to the image or says why not.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/TestDlg/test_dlg.h"
#include "support/dialog_lookup.h"
#include "support/main_window_fixture.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::Within;

class UpgradeFilePanelTest : public testsupport::MainWindowWithModule {
protected:
    UpgradeFilePanelTest() : MainWindowWithModule(25) {}
    void Press(int id) { Button(Within<CTestDlg>(*dlg).GetDlgItem(id)).Click(); }
    std::string Version() { return Within<CTestDlg>(*dlg).GetDlgItemText(IDC_PANEL_UPGRADE_VERSION); }
};

TEST_F(UpgradeFilePanelTest, ChosenImageGivesItsVersionAndEachButtonItsFile) {
    const std::string output = Path("APP_update-0102030405.bin");
    testsupport::WriteFileBytes(Path("APP_0102030405.bin"), std::string(1000, 'Z'));
    filePaths = {Path("APP_0102030405.bin")};
    Press(IDC_PANEL_CHOOSE_UPGRADE_FILE);
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_TRUE(fileRequests[0].open);
    const FileDialogRequest& r = fileRequests[0];
    EXPECT_EQ(r.filter + r.defaultExt + r.fileName, ".BIN Files(*.bin)|*.bin||");
    EXPECT_EQ(Version(), "0102030405");
    Press(IDC_PANEL_BOOT_FILE);
    EXPECT_EQ(ReadFileBytes(output).substr(0, 12), std::string("\xE8\x03\0\0Quorvant", 12));
    EXPECT_EQ(ReadFileBytes(output).size(), 1064u);
    Press(IDC_PANEL_SEC_HIGH_FILE);
    EXPECT_EQ(ReadFileBytes(output), std::string("\xE8\x03\0\0\0\0\0\0", 8) + std::string(1000, 'Z'));
    // A version that is not BCD, then a cancelled choice that empties the path and the version.
    Within<CTestDlg>(*dlg).SetDlgItemText(IDC_PANEL_UPGRADE_VERSION, "010203040A");
    Press(IDC_PANEL_BOOT_FILE);
    Press(IDC_PANEL_CHOOSE_UPGRADE_FILE);
    EXPECT_EQ(Version(), "");
    Press(IDC_PANEL_SEC_HIGH_FILE);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"版本号不是BCD格式", "请选择处理文件"}));
    EXPECT_EQ(ReadFileBytes(output).size(), 1008u);
}

}  // namespace
