#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/fifo_watchdog.h"

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

// Only regular files are read: a folder or a FIFO is refused at once (a FIFO without a writer
// would hold the open).
TEST_F(TextFileTest, ReadingOpensRegularFilesOnly) {
    std::ofstream(Path("in.txt")) << "x";
    ASSERT_EQ(::mkdir(Path("folder.txt").c_str(), 0700), 0);
    testsupport::FifoWatchdog fifo(Path("fifo.txt"), std::chrono::seconds(10));
    ASSERT_TRUE(fifo.Made());
    const std::pair<std::string, bool> cases[] = {
        {Path("in.txt"), true}, {Path("folder.txt"), false}, {fifo.Path(), false}, {Path("none.txt"), false}};
    for (const auto& [path, opens] : cases) {
        TextFile f;
        EXPECT_EQ(f.Open(path, TextFile::kRead), opens) << path;
        EXPECT_EQ(f.IsOpen(), opens) << path;
    }
    EXPECT_FALSE(fifo.Freed());  // the open did not wait for a writer
}

// A line longer than the bound is read to its end and given as an empty line marked too long;
// the lines after it are read as usual.
TEST_F(TextFileTest, LinesPastTheBoundArePassedOverAndMarked) {
    const size_t bound = TextFile::kMaxLineBytes;
    const std::string fits(bound, 'a');
    const std::string over(bound + 1, 'a');
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
        std::vector<bool> tooLong;
    } cases[] = {
        {"a line of the bound, CRLF", fits + "\r\nb\r\n", {fits, "b"}, {false, false}},
        {"one byte over", over + "\nb", {"", "b"}, {true, false}},
        {"one byte over, CRLF", over + "\r\n\xB5\xD8\r\n", {"", "地"}, {true, false}},
        {"no line break at all", std::string(3 * bound + 5, 'x'), {""}, {true}},
        {"between short lines", "1\n" + std::string(2 * bound, ' ') + "\n\n2", {"1", "", "", "2"}, {false, true, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(Path("in.txt"), std::ios::binary | std::ios::trunc) << c.bytes;
        TextFile f;
        ASSERT_TRUE(f.Open(Path("in.txt"), TextFile::kRead));
        std::vector<std::string> lines;
        std::vector<bool> tooLong;
        std::string line;
        while (f.ReadLine(line)) {
            lines.push_back(line);
            tooLong.push_back(f.LineTooLong());
            EXPECT_LE(line.capacity(), 2 * (bound + 1));  // a long line costs what a line that fits does
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(tooLong, c.tooLong);
    }
}

TEST_F(TextFileTest, TheLinesLeftAreCountedWithoutReadingThem) {
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "0000000000" + std::to_string(i % 10) + "\r\n";
    const struct {
        std::string bytes;
        int read;  // lines read before
        size_t left;
    } cases[] = {
        {"a\nb\n\nc", 1, 3}, {"a\nb\n", 1, 1}, {"a", 1, 0}, {"", 0, 0}, {"\n\n", 0, 2}, {many, 3, 99997},
        {many + "tail", 0, 100001},
    };
    for (const auto& c : cases) {
        std::ofstream(Path("in.txt"), std::ios::binary | std::ios::trunc) << c.bytes;
        TextFile f;
        ASSERT_TRUE(f.Open(Path("in.txt"), TextFile::kRead));
        std::string line;
        for (int i = 0; i < c.read; ++i) ASSERT_TRUE(f.ReadLine(line));
        EXPECT_EQ(f.SkipRemainingLines(), c.left) << c.bytes.substr(0, 20);
        EXPECT_FALSE(f.ReadLine(line));
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
        while (dirent* e = readdir(d)) n += std::string(e->d_name) != "." && std::string(e->d_name) != "..";
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
    EXPECT_EQ(FilesIn(dir_), 1u);  // the temporary file, beside the target
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(ReadLines(path), std::vector<std::string>{"地址"});
    EXPECT_EQ(FilesIn(dir_), 1u);
}

// A file made read-only is neither replaced nor deleted, whoever runs the program; a name of
// 255 bytes is written.
TEST_F(TextFileTest, ReplaceKeepsAReadOnlyFileAndTakesAnyLegalName) {
    const std::string path = Path("kept.txt"), before = "previous\r\n\xB5\xD8";
    for (const mode_t mode : {0444, 0466}) {
        std::ofstream(path, std::ios::binary) << before;
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        TextFile f;
        EXPECT_FALSE(f.Open(path, TextFile::kReplace) && f.WriteString("new\n") && f.Close()) << mode;
        EXPECT_FALSE(RemoveFile(path)) << mode;
        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before) << mode;
        struct stat st {};
        EXPECT_TRUE(::stat(path.c_str(), &st) == 0 && (st.st_mode & 0777) == mode) << mode;
        EXPECT_EQ(FilesIn(dir_), 1u);
        ::unlink(path.c_str());
    }
    const std::string longest = Path(std::string(255, 'a').c_str());
    TextFile f;
    EXPECT_TRUE(f.Open(longest, TextFile::kReplace) && f.WriteString("new\n") && f.Close());
    EXPECT_EQ(ReadLines(longest), std::vector<std::string>{"new"});
    EXPECT_EQ(FilesIn(dir_), 1u);
}
