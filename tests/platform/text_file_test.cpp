#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
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
    // The disk is full: the write or, when it sat in the buffer, the close says so.
    const bool written = f.WriteString("1    000000000001\n");
    EXPECT_FALSE(f.Close() && written);
}

namespace {
// Runs body in a child process whose files cannot grow past limit bytes; returns its exit code.
int InChildWithFileLimit(rlim_t limit, const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

size_t FilesIn(const std::string& dir) {
    size_t n = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}
}  // namespace

TEST_F(TextFileTest, ReplaceFailingOnAFullDiskKeepsThePreviousFile) {
    const std::string path = Path("export.txt");
    std::ofstream(path, std::ios::binary) << "previous";
    // Small enough to sit in the write buffer: only the close can see the failure.
    const int code = InChildWithFileLimit(4, [&] {
        TextFile f;
        if (!f.Open(path, TextFile::kReplace)) return 1;
        if (!f.WriteString("0123456789\n")) return 2;
        return f.Close() ? 3 : 0;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadLines(path), std::vector<std::string>{"previous"});
    EXPECT_EQ(FilesIn(dir_), 1u);  // no temporary file left behind
}

TEST_F(TextFileTest, ReplaceRenamesOnlyWhenClosed) {
    const std::string path = Path("export.txt");
    {
        TextFile f;
        ASSERT_TRUE(f.Open(path, TextFile::kReplace));
        ASSERT_TRUE(f.WriteString("abandoned\n"));
    }  // not closed: nothing replaced, nothing left
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(FilesIn(dir_), 0u);
    TextFile f;
    ASSERT_TRUE(f.Open(path, TextFile::kReplace));
    ASSERT_TRUE(f.WriteString("地址\n"));
    EXPECT_FALSE(FileExists(path));
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(ReadLines(path), std::vector<std::string>{"地址"});
    EXPECT_EQ(FilesIn(dir_), 1u);
}
