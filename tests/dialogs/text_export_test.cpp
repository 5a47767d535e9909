// The text export and import helper: what its file dialog asks, the file it writes or leaves,
// and the caller's text when a file cannot be written or opened.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dialogs/text_export.h"
#include "platform/ui.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class TextExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/kvt_text_export_XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        m_dir = dir;
        m_fileHook = SetFileDialogHook([this](const FileDialogRequest& r) {
            requests.push_back(r);
            return answer;
        });
        m_boxHook = SetMessageBoxHook([this](const MessageBoxRequest& r) {
            boxes.push_back(r.text);
            return kIdOk;
        });
    }
    void TearDown() override {
        SetMessageBoxHook(m_boxHook);
        SetFileDialogHook(m_fileHook);
        std::filesystem::remove_all(m_dir);
    }
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }

    std::string answer;  // the path the file dialog gives
    std::vector<FileDialogRequest> requests;
    std::vector<std::string> boxes;

private:
    std::string m_dir;
    FileDialogHook m_fileHook;
    MessageBoxHook m_boxHook;
};

TEST_F(TextExportTest, TheDialogAsksWithTheTextFilterAndTheCallersChoices) {
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
    answer = "chosen.txt";
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
}

TEST_F(TextExportTest, AnExportWritesAllOrNothingAndSaysWhatTheCallerGives) {
    const std::string target = Path("out.txt");
    const struct {
        const char* name;
        std::string path;
        bool any;              // build has something to export
        const char* expected;  // the target's bytes after; nullptr: no file
        std::vector<std::string> boxes;
    } cases[] = {
        {"cancelled", "", true, "earlier", {}},
        {"nothing to export", target, false, nullptr, {}},
        {"written", target, true, "\xca\xb1\xbc\xe4\r\nrow\r\n", {}},
        {"a folder in the way", Path("taken"), true, "earlier", {"not written"}},
    };
    std::filesystem::create_directory(Path("taken"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(target, "earlier");
        boxes.clear();
        answer = c.path;
        ExportTextFile(TextFileDialog(), "not written", [&c](std::string& text) {
            text = "时间\nrow\n";
            return c.any;
        });
        if (c.expected)
            EXPECT_EQ(ReadBytes(target), c.expected);
        else
            EXPECT_FALSE(FileExists(target));
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_TRUE(std::filesystem::is_directory(Path("taken")));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("")), {}), 2);
}

TEST_F(TextExportTest, AnImportOpensTheChosenFileOrSaysWhatTheCallerGives) {
    WriteBytes(Path("in.txt"), "\xca\xb1\xbc\xe4\r\n");
    const struct {
        std::string path;
        std::string opened;
        std::vector<std::string> boxes;
    } cases[] = {
        {"", "", {}},
        {Path("missing.txt"), "", {"cannot open"}},
        {Path("in.txt"), Path("in.txt"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        boxes.clear();
        answer = c.path;
        TextFile file;
        EXPECT_EQ(OpenTextImport(file, TextFileDialog(), "cannot open"), c.opened);
        EXPECT_EQ(file.IsOpen(), !c.opened.empty());
        EXPECT_EQ(boxes, c.boxes);
        std::string line;
        if (file.IsOpen()) {
            EXPECT_TRUE(file.ReadLine(line));
        }
        EXPECT_EQ(line, c.opened.empty() ? "" : "时间");
    }
}

}  // namespace
