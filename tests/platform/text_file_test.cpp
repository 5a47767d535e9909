#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
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

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>

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

std::string MakeTempDir() {
    std::string dir = ::testing::TempDir() + "kvt_textfile_XXXXXX";
    return mkdtemp(&dir[0]) ? dir : std::string();
}
}  // namespace

TEST(TextFile, ReplaceFailingOnAFullDiskKeepsThePreviousFile) {
    const std::string dir = MakeTempDir();
    ASSERT_FALSE(dir.empty());
    const std::string path = dir + "/export.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "previous";
    }
    // Small enough to sit in the write buffer: only the close can see the failure.
    const int code = InChildWithFileLimit(4, [&] {
        TextFile f;
        if (!f.Open(path, TextFile::kReplace)) return 1;
        if (!f.WriteString("0123456789\n")) return 2;
        return f.Close() ? 3 : 0;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadBytes(path), "previous");
    EXPECT_EQ(FilesIn(dir), 1u);  // no temporary file left behind
    // A plain write to a full disk fails at the close too.
    EXPECT_EQ(InChildWithFileLimit(4, [&] {
        TextFile f;
        if (!f.Open(dir + "/plain.txt", TextFile::kWrite)) return 1;
        f.WriteString("0123456789\n");
        return f.Close() ? 3 : 0;
    }), 0);
}

TEST(TextFile, ReplaceRenamesOnlyWhenClosed) {
    const std::string dir = MakeTempDir();
    ASSERT_FALSE(dir.empty());
    const std::string path = dir + "/export.txt";
    {
        TextFile f;
        ASSERT_TRUE(f.Open(path, TextFile::kReplace));
        ASSERT_TRUE(f.WriteString("abandoned\n"));
    }  // not closed: nothing replaced, nothing left
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(FilesIn(dir), 0u);
    TextFile f;
    ASSERT_TRUE(f.Open(path, TextFile::kReplace));
    ASSERT_TRUE(f.WriteString("地址\n"));
    EXPECT_FALSE(FileExists(path));
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(ReadBytes(path), "\xB5\xD8\xD6\xB7\r\n");
    EXPECT_EQ(FilesIn(dir), 1u);
}
