// Upgrade files byte for byte with every refusal, and images an ordinary user can only read or
// cannot read at all.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "commands/image_compare.h"
#include "commands/upgrade_image.h"
#include "test_frames.h"

namespace {

namespace fs = std::filesystem;
using testing_frames::Hex;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Image(size_t n) {
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

class ImageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char d[] = "/tmp/kvt_image_XXXXXX";
        ASSERT_NE(::mkdtemp(d), nullptr);
        dir = d;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
        return names;
    }
    std::string dir;
};

TEST_F(ImageFilesTest, UpgradeFileIsHeaderThenImageOrARefusalThatWritesNothing) {
    const std::string image = dir + "/APP_0102030405.bin";
    const std::string output = dir + "/APP_update-0102030405.bin";
    // After the length: the mark, eight zeros, the version; zeros (the checksum's too) to the end.
    const std::string boot = "51 75 6F 72 76 61 6E 74 00 00 00 00 00 00 00 00 05 04 03 02 01";
    const struct {
        UpgradeForm form;
        size_t size;
        const char* version;
        std::string header;  // after the length; "": refused with the text
        std::string text = "";
    } cases[] = {
        {UpgradeForm::kBoot, 1, "0102030405", boot},
        {UpgradeForm::kBoot, kBootImageLimit, "102030405", boot},
        {UpgradeForm::kBoot, 5000, "01 02 03 04 05", boot},
        {UpgradeForm::kSecHigh, kSecHighImageLimit, "102030405", "00 00 00 00"},
        {UpgradeForm::kBoot, 0, "0102030405", "", "升级文件为空"},
        {UpgradeForm::kBoot, kBootImageLimit + 1, "0102030405", "", "升级文件大于1024*128"},
        {UpgradeForm::kSecHigh, kSecHighImageLimit + 1, "0102030405", "", "升级文件大于1024*384"},
        {UpgradeForm::kSecHigh, 1, " \r\n", "", "版本号不能为空"},
        {UpgradeForm::kBoot, 1, "01020A0405", "", "版本号不是BCD格式"},
        {UpgradeForm::kBoot, 1, "01020304050", "", "版本号不能超过10位"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version + std::to_string(c.size));
        WriteAll(image, Image(c.size));
        WriteAll(output, "older");
        const UpgradeOutcome outcome = PrepareUpgradeFile(c.form, image, c.version);
        EXPECT_EQ(outcome.refusal, c.text);
        ByteString header = Hex("00 00 00 00") + Hex(c.header);
        for (int i = 0; i < 3; ++i) header[i] = static_cast<unsigned char>(c.size >> (8 * i));
        header.resize(c.form == UpgradeForm::kBoot ? 64 : 8, 0);
        const std::string written = std::string(header.begin(), header.end()) + Image(c.size);
        EXPECT_EQ(ReadAll(output), c.header.empty() ? "older" : written);
        EXPECT_EQ(Names(), (std::set<std::string>{"APP_0102030405.bin", "APP_update-0102030405.bin"}));
    }
    EXPECT_EQ(PrepareUpgradeFile(UpgradeForm::kBoot, "", "1").refusal, "请选择处理文件");
    EXPECT_EQ(PrepareUpgradeFile(UpgradeForm::kBoot, dir + "/none.bin", "1").refusal, "无法打开文件");
    EXPECT_EQ(PrepareUpgradeFile(UpgradeForm::kSecHigh, dir, "1").refusal, "无法打开文件");
    // A pipe is refused at once, not waited on.
    ASSERT_EQ(::mkfifo((dir + "/pipe.bin").c_str(), 0600), 0);
    EXPECT_EQ(PrepareUpgradeFile(UpgradeForm::kSecHigh, dir + "/pipe.bin", "1").refusal, "无法打开文件");
    fs::remove(dir + "/pipe.bin");
    // A folder holds the output's name: it cannot be written, and no temporary file stays.
    fs::remove(output);
    fs::create_directory(output);
    EXPECT_EQ(PrepareUpgradeFile(UpgradeForm::kBoot, image, "0102030405").refusal, "无法写入升级文件：" + output);
    EXPECT_EQ(Names(), (std::set<std::string>{"APP_0102030405.bin", "APP_update-0102030405.bin"}));
}

TEST(UpgradeNames, TheVersionIsCutFromTheNameNeverFromItsFolder) {
    const struct {
        const char *image, *output, *versionText;
    } cases[] = {
        {"/d/APP_0102030405.bin", "/d/APP_update-0102030405.bin", "0102030405"},
        {"APP_0102030405.bin", "APP_update-0102030405.bin", "0102030405"},
        {"/a/long/folder/x.bin", "/a/long/folder/update-0102030405.bin", "x.bin"},
        {"/d/固件版本_9876543210.bin", "/d/固件版本_update-0102030405.bin", "9876543210"},
        {"/d/固件版本.bin", "/d/update-0102030405.bin", "固件版本.bin"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpgradeOutputPath(c.image, Hex("05 04 03 02 01")), c.output);
        EXPECT_EQ(VersionTextOfImage(c.image), c.versionText);
    }
}

// True when the check holds in a child process run as an ordinary user (root reads any file).
bool AsOrdinaryUser(const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ImageFilesTest, AReadOnlyImageIsUsedUnchangedAndAnUnreadableOneIsRefused) {
    const std::string readOnly = dir + "/RO_0102030405.bin";
    const std::string unreadable = dir + "/NO_0102030405.bin";
    const std::string output = dir + "/RO_update-0102030405.bin";
    WriteAll(readOnly, Image(300));
    WriteAll(unreadable, Image(300));
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444) | ::chmod(unreadable.c_str(), 0) | ::chmod(dir.c_str(), 0777), 0);
    const auto prepare = [&] { return PrepareUpgradeFile(UpgradeForm::kSecHigh, readOnly, "0102030405").refusal; };
    EXPECT_TRUE(AsOrdinaryUser([&] {
        return prepare().empty() && ReadAll(output).size() == 308 && ReadAll(readOnly) == Image(300) &&
               PrepareUpgradeFile(UpgradeForm::kBoot, unreadable, "1").refusal == "无法打开文件" &&
               ComparisonText(CompareImageFiles(readOnly, unreadable)) == "请选择对比文件" &&
               ComparisonText(CompareImageFiles(unreadable, readOnly)) == "请选择对比文件";
    }));
    // A write cut short (a file size limit, as a full disk would): the older file stays whole and
    // no part of the new one is left.
    const std::set<std::string> before = Names();
    EXPECT_TRUE(AsOrdinaryUser([&] {
        const rlimit limit{100, 100};
        ::signal(SIGXFSZ, SIG_IGN);
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 && prepare() == "无法写入升级文件：" + output &&
               ReadAll(output).size() == 308;
    }));
    EXPECT_EQ(Names(), before);
}

}  // namespace
