// The text export and import helper's file dialog: the text filter with the caller's choices.
// Its files and failure texts are checked through the lists that use it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/text_export.h"
#include "platform/ui.h"

namespace {

TEST(TextExport, TheDialogAsksWithTheTextFilterAndTheCallersChoices) {
    std::vector<FileDialogRequest> requests;
    const FileDialogHook previous = SetFileDialogHook([&requests](const FileDialogRequest& r) {
        requests.push_back(r);
        return std::string("chosen.txt");
    });
    TextFileDialog open;
    open.open = true;
    TextFileDialog noExt = open;
    noExt.defaultExt.clear();
    TextFileDialog save;
    save.fileName = "ResultExport," + FileNameStamp(SystemTime{2024, 3, 0, 5, 6, 7, 8, 9}) + ".txt";
    const struct {
        TextFileDialog dialog;
        bool open;
        const char* defaultExt;
        const char* fileName;
    } cases[] = {
        {open, true, "txt", ""},
        {noExt, true, "", ""},
        {save, false, "txt", "ResultExport, 2024-03-05 06-07-08.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        EXPECT_EQ(AskTextFilePath(c.dialog), "chosen.txt");
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.back().open, c.open);
        EXPECT_EQ(requests.back().defaultExt, c.defaultExt);
        EXPECT_EQ(requests.back().fileName, c.fileName);
        EXPECT_EQ(requests.back().filter, "TXT Files(*.txt)|*.txt||");
    }
    EXPECT_EQ(FileNameStamp(SystemTime{2030, 12, 0, 31, 23, 59, 58, 999}), " 2030-12-31 23-59-58");
    SetFileDialogHook(previous);
}

}  // namespace
