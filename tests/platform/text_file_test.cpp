#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Each test writes into a directory of its own.
class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(mkdtemp(dir_), nullptr); }
    void TearDown() override { EXPECT_EQ(std::system(("rm -rf '" + std::string(dir_) + "'").c_str()), 0); }
    std::string Path(const char* name) const { return std::string(dir_) + "/" + name; }
    static std::vector<std::string> ReadLines(const std::string& path) {
        TextFile f;
        std::vector<std::string> lines;
        std::string line;
        if (f.Open(path, TextFile::kRead))
            while (f.ReadLine(line)) lines.push_back(line);
        return lines;
    }
    char dir_[32] = "/tmp/kvt_text_XXXXXX";
};

}  // namespace

TEST_F(TextFileTest, WritesGbkWithCrLfAndReadsBack) {
    const std::string path = Path("out.txt");
    TextFile f;
    ASSERT_TRUE(f.Open(path, TextFile::kWrite));
    EXPECT_TRUE(f.WriteString("序号    地址\n1    000000000001\r\n"));
    EXPECT_TRUE(f.WriteString("last"));
    EXPECT_TRUE(f.Close());
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "\xD0\xF2\xBA\xC5    \xB5\xD8\xD6\xB7\r\n1    000000000001\r\nlast");
    ASSERT_TRUE(f.Open(path, TextFile::kAppend));
    EXPECT_TRUE(f.WriteString("\n尾"));
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(ReadLines(path), (std::vector<std::string>{"序号    地址", "1    000000000001", "last", "尾"}));
    EXPECT_TRUE(RemoveFile(path));
    EXPECT_FALSE(FileExists(path));
}

TEST_F(TextFileTest, ReadsLinesEndingInLfOrCrLf) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\n\nb\r\n", {"a", "", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"\xB5\xD8\xD6\xB7\r\n\r\n", {"地址", ""}},
        {"", {}},
    };
    for (const auto& [bytes, lines] : cases) {
        std::ofstream(Path("in.txt"), std::ios::binary) << bytes;
        EXPECT_EQ(ReadLines(Path("in.txt")), lines) << bytes;
    }
}

TEST_F(TextFileTest, FailuresAreReported) {
    TextFile f;
    EXPECT_FALSE(f.Open(Path("no-such-dir/x.txt"), TextFile::kWrite));
    EXPECT_FALSE(f.WriteString("x"));
    EXPECT_FALSE(f.Close());
    if (!FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    ASSERT_TRUE(f.Open("/dev/full", TextFile::kWrite));
    EXPECT_FALSE(f.WriteString("1    000000000001\n"));  // the disk is full
    EXPECT_FALSE(f.Close());
}
