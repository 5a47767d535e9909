// Every text import of the tool against files that are not what it reads: a folder or a FIFO is
// refused at once with "打开文件失败" and nothing changes; a line longer than any export writes
// is skipped and counted as a line of no layout, and the lines around it are imported.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/broadcast_reply_test_dlg.h"
#include "dialogs/device_search_list_dlg.h"
#include "dialogs/meter_manage_dlg.h"
#include "dialogs/text_export.h"
#include "dialogs/warning_dlg.h"
#include "support/dialog_lookup.h"
#include "support/fifo_watchdog.h"
#include "support/main_window_fixture.h"

namespace {

using namespace testsupport;

// A line as an export writes it: each cell padded, then four blanks (GBK).
std::string CellsLine(const std::vector<std::string>& cells) {
    std::string line;
    for (const std::string& c : cells) line += ExportCell(c);
    return Utf8ToGbk(line) + "\r\n";
}

class ImportFilesTest : public MainWindowWithModule {
protected:
    ImportFilesTest() : MainWindowWithModule(13, true) {}
    void TearDown() override {
        meters.reset();
        MainWindowWithModule::TearDown();
    }

    struct Import {
        const char* name;
        std::function<void()> run;      // the import, its file dialog answered with the next path
        std::function<int()> rows;      // what it fills
        std::string header;             // its first line, which it passes over ("" for none)
        std::string line;               // a line it imports
        const char* skippedOne;         // what it says of one line of no layout
        bool warns = false;             // says it in the warning box, not a message box
        bool onThread = false;          // reads on a thread of its own
    };

    std::vector<Import> Imports() {
        auto press = [](Dialog& d, int id) { Button(d.GetDlgItem(id)).Click(); };
        return {
            {"frame logs", [this] { dlg->DispatchNotify(IDM_IMPORT_FRAMES, Notify::Clicked); },
             [this] { return ListOf(IDC_FRAME_LOG).GetItemCount(); }, "header\r\n",
             std::string(kFixedStamp) + "    79 00 00 40 02 42 42     \r\n", "1行格式错误，已跳过"},
            {"received records", [this] { Click(IDC_IMPORT_RECORDS); },
             [this] { return static_cast<int>(History().size()); }, "",
             std::string(kFixedStamp) + "  79 00 00 40 02 42 42 \r\n", "1行格式错误，已跳过", false, true},
            {"device list", [this, press] { press(Within<CDeviceSearchListDlg>(*dlg), IDC_SEARCH_LIST_IMPORT); },
             [this] { return Within<CDeviceSearchListDlg>(*dlg).m_deviceList.GetItemCount(); }, "header\r\n",
             CellsLine({kFixedStamp, "0001", "010203040506", "03", "属于自己", "07MAC地址", "组播", "1234", "3", "414200"}),
             "有1行格式不符，已跳过"},
            {"broadcast replies",
             [this, press] { press(Within<CBroadcastReplyTestDlg>(*dlg), IDC_BROADCAST_TEST_IMPORT); },
             [this] { return Within<CBroadcastReplyTestDlg>(*dlg).m_replyList.GetItemCount(); }, "header\r\n",
             CellsLine({kFixedStamp, "0000", "组播", "15", "用户密钥", "1234", "010203040506", "0A", "300", "3", "1",
                        "16"}),
             "有1行格式不符，已跳过"},
            {"meter management", [this, press] { press(Meters(), IDC_METER_IMPORT); },
             [this] { return ListOf(IDC_ADDRESS_LIST).GetItemCount(); }, "", "000000000001 0002\r\n",
             "1行地址格式错误，已跳过", true},
        };
    }

    CMeterManageDlg& Meters() {
        if (!meters) {
            meters = std::make_unique<CMeterManageDlg>(ListOf(IDC_ADDRESS_LIST));
            EXPECT_TRUE(meters->Create(dlg.get()));
        }
        return *meters;
    }

    // What the import said last: the text of its box, or of the warning box.
    std::string Said(const Import& import) {
        if (!boxes.empty() || !import.warns) return boxes.empty() ? "" : boxes.back().text;
        CWarningDlg& box = WarningBox();
        return box.IsCreated() && box.IsWindowVisible() ? box.GetDlgItemText(IDC_WARNING_TEXT) : "";
    }

    // Runs the import on path; true once it has said something.
    bool RunOn(const Import& import, const std::string& path) {
        boxes.clear();
        if (WarningBox().IsCreated()) WarningBox().ShowWindow(false);
        filePaths.push_back(path);
        import.run();
        if (!import.onThread) return !Said(import).empty();
        return WaitFor([&] { return !Said(import).empty(); }, 30000);
    }

    std::unique_ptr<CMeterManageDlg> meters;
};

TEST_F(ImportFilesTest, AFolderOrAFifoIsRefusedAtOnceAndChangesNothing) {
    ASSERT_EQ(::mkdir(Path("folder.txt").c_str(), 0700), 0);
    for (const Import& import : Imports()) {
        SCOPED_TRACE(import.name);
        const int rows = import.rows();
        EXPECT_TRUE(RunOn(import, Path("folder.txt")));
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"打开文件失败"});
        {
            // A faulty import waits in the open until the watchdog frees it, and then fails here.
            FifoWatchdog fifo(Path("fifo.txt"), std::chrono::seconds(10));
            ASSERT_TRUE(fifo.Made());
            EXPECT_TRUE(RunOn(import, fifo.Path()));
            EXPECT_EQ(BoxTexts(), std::vector<std::string>{"打开文件失败"});
            EXPECT_FALSE(fifo.Freed());
        }
        EXPECT_EQ(import.rows(), rows);
    }
}

TEST_F(ImportFilesTest, ALineLongerThanTheBoundIsSkippedAndCountedAndTheOthersAreRead) {
    for (const Import& import : Imports()) {
        SCOPED_TRACE(import.name);
        const int rows = import.rows();
        // A line each import would take, but for the blanks that run it past the bound.
        const std::string longLine = import.line.substr(0, import.line.size() - 2) +
                                     std::string(TextFile::kMaxLineBytes, ' ') + "\r\n";
        WriteFileBytes(Path("long.txt"), import.header + import.line + longLine + import.line);
        EXPECT_TRUE(RunOn(import, Path("long.txt")));
        EXPECT_EQ(Said(import), import.skippedOne);
        EXPECT_EQ(import.rows(), import.warns ? 2 : rows + 2);  // meter management replaces its rows
    }
}

}  // namespace
