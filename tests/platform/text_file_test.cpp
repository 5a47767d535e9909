#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {
std::string TempPath(const char* name) { return ::testing::TempDir() + name; }
std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(TextFile, WritesGbkWithCrLfAndReadsBack) {
    const std::string path = TempPath("kvt_text_file.txt");
    {
        TextFile f;
        ASSERT_TRUE(f.Open(path, TextFile::kWrite));
        EXPECT_TRUE(f.WriteString("序号    地址\n"));
        EXPECT_TRUE(f.WriteString("1    000000000001\r\n"));
        EXPECT_TRUE(f.WriteString("last"));
    }
    EXPECT_EQ(ReadBytes(path), std::string("\xD0\xF2\xBA\xC5    \xB5\xD8\xD6\xB7\r\n1    000000000001\r\nlast"));
    TextFile f;
    ASSERT_TRUE(f.Open(path, TextFile::kRead));
    std::string line;
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "序号    地址");
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "1    000000000001");
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(f.ReadLine(line));
    f.Close();
    EXPECT_TRUE(RemoveFile(path));
    EXPECT_FALSE(FileExists(path));
}

TEST(TextFile, ReadsLfOnlyAndEmptyLines) {
    const std::string path = TempPath("kvt_text_lf.txt");
    {
        std::ofstream out(path, std::ios::binary);
        out << "a\n\nb\r\n";
    }
    TextFile f;
    ASSERT_TRUE(f.Open(path, TextFile::kRead));
    std::string line;
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "a");
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "b");
    EXPECT_FALSE(f.ReadLine(line));
    std::remove(path.c_str());
}

TEST(TextFile, MissingFileFailsToOpen) {
    TextFile f;
    EXPECT_FALSE(f.Open("/nonexistent-dir/x.txt", TextFile::kRead));
    EXPECT_FALSE(f.WriteString("x"));
    std::string line;
    EXPECT_FALSE(f.ReadLine(line));
}
