// Every export through the real file dialog on an X server: the dialog is the kind that creates a
// file, takes a new name typed into it (xdotool) and Enter, and the file is written. Run on an X
// display of its own (xvfb_run.sh); skipped without one.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "support/desktop_fixture.h"
#include "support/dialog_lookup.h"
#include "support/x_pointer.h"

namespace {

using namespace testsupport;

// Waits in the background for the program's file dialog, notes its title in titleFile, types path
// as its file name and presses Enter. A dialog that refuses the name (one that opens existing
// files only) stays: it and the box it raised are closed with Esc, so the export ends either way.
pid_t AnswerFileDialog(const std::string& path, const std::string& titleFile) {
    static const char kScript[] =
        "w=$(timeout 20 xdotool search --sync --onlyvisible --name '^(另存为|Save As|打开|Open)$' | head -n1)\n"
        "[ -n \"$w\" ] || exit 1\n"
        "xdotool getwindowname \"$w\" > \"$2\"\n"
        "xdotool windowfocus --sync \"$w\" 2>/dev/null\n"
        "xdotool key --delay 40 ctrl+a\n"
        "xdotool type --delay 10 \"$1\"\n"
        "xdotool key --delay 40 Return\n"
        "n=0\n"
        "while [ $n -lt 20 ] && xdotool search --onlyvisible --name '^(打开|Open)$' >/dev/null 2>&1; do\n"
        "  xdotool key Escape; sleep 0.3; n=$((n+1))\n"
        "done\n";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execlp("sh", "sh", "-c", kScript, "sh", path.c_str(), titleFile.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

class ExportsOnScreen : public MainWindowOnScreen {
protected:
    ExportsOnScreen() : MainWindowOnScreen(19) {}
    void SetUp() override {
        MainWindowOnScreen::SetUp();
        if (IsSkipped()) return;
        SetFileDialogHook(nullptr);  // the real dialog; the fixture puts its own back
        // What the dialog remembers goes into the test's own directory.
        if (const char* config = std::getenv("XDG_CONFIG_HOME")) savedConfig = config;
        setenv("XDG_CONFIG_HOME", workDir.c_str(), 1);
        configSet = true;
    }
    void TearDown() override {
        if (configSet && savedConfig.empty()) unsetenv("XDG_CONFIG_HOME");
        if (configSet && !savedConfig.empty()) setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
        MainWindowOnScreen::TearDown();
    }
    std::string savedConfig;
    bool configSet = false;
};

TEST_F(ExportsOnScreen, EachExportCreatesANewFileThroughTheFileDialog) {
    CDeviceSearchListDlg& devices = Within<CDeviceSearchListDlg>(*dlg);
    CBroadcastReplyTestDlg& replies = Within<CBroadcastReplyTestDlg>(*dlg);
    CSmartHomeMonitorDlg& smartHome = Within<CSmartHomeMonitorDlg>(*dlg);
    const struct {
        const char* name;
        std::function<void()> fill;
        std::function<void()> press;
        const char* firstLine;  // the start of the header, as written (GBK)
    } cases[] = {
        {"device search list",
         [&] {
             std::vector<SearchedDeviceRow> rows(1);
             rows[0].cells[2] = "010203040506";
             devices.AppendDeviceRows(rows);
         },
         [&] { Button(devices.GetDlgItem(IDC_SEARCH_LIST_EXPORT)).Click(); }, "        时间"},
        {"broadcast reply test",
         [&] {
             std::vector<BroadcastReplyRow> rows(1);
             replies.AppendReplyRows(rows);
         },
         [&] { Button(replies.GetDlgItem(IDC_BROADCAST_TEST_EXPORT)).Click(); }, "        时间"},
        {"smart-home page", [&] { smartHome.AddFrameRow("0102", "0304", "AA BB "); },
         [&] { Button(smartHome.GetDlgItem(IDC_SMART_HOME_EXPORT)).Click(); }, "        时间"},
        {"results", [&] { ListOf(IDC_ADDRESS_LIST).AppendRow({"1", "000000000001", "成功", "00 ms"}); },
         [&] { Click(IDC_EXPORT_RESULTS); }, "地址"},
        {"frame logs", [&] { ListOf(IDC_FRAME_LOG).AppendRow({kFixedStamp, "3", "79 00 00 40 02 42 42 "}); },
         [&] { dlg->DispatchNotify(IDM_EXPORT_FRAMES, Notify::Clicked); }, "时间"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("new" + std::to_string(++n) + ".txt");
        const std::string title = Path("title" + std::to_string(n));
        ASSERT_FALSE(FileExists(path));
        c.fill();
        const pid_t typist = AnswerFileDialog(path, title);
        ASSERT_GT(typist, 0);
        c.press();  // returns once the dialog is closed
        int status = -1;
        ASSERT_TRUE(WaitPumping([&] { return ::waitpid(typist, &status, WNOHANG) == typist; }, 30000));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const std::string kind = ReadFileBytes(title);
        EXPECT_TRUE(kind == "另存为\n" || kind == "Save As\n") << kind;
        ASSERT_TRUE(FileExists(path));
        EXPECT_EQ(ReadFileBytes(path).rfind(Utf8ToGbk(c.firstLine), 0), 0u) << ReadFileBytes(path).substr(0, 40);
        EXPECT_TRUE(boxes.empty());
    }
}

}  // namespace
