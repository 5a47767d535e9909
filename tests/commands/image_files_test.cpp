// Upgrade files written byte for byte (header, image, name, bounds, every refusal) and images
// that an ordinary user cannot read, for both the upgrade file and the comparison.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <csignal>

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

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// An image whose every byte differs from its neighbours'.
std::string Image(size_t n) {
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

std::string AsText(const ByteString& bytes) { return std::string(bytes.begin(), bytes.end()); }

class ImageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char d[] = "/tmp/kvt_image_XXXXXX";
        ASSERT_NE(::mkdtemp(d), nullptr);
        dir = d;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const std::string& name) const { return dir + "/" + name; }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
        return names;
    }
    std::string dir;
};

TEST_F(ImageFilesTest, UpgradeFilesAreHeaderAndImageUnderTheVersionsName) {
    // After the length: the mark, eight zeros and the version; zeros (the checksum's included) to the end.
    const std::string bootHeader = "51 75 6F 72 76 61 6E 74 00 00 00 00 00 00 00 00 05 04 03 02 01";
    const struct {
        UpgradeForm form;
        size_t size;
        const char* version;
        std::string headerAfterLength;
    } cases[] = {
        {UpgradeForm::kBoot, 1, "0102030405", bootHeader},
        {UpgradeForm::kBoot, kBootImageLimit, "102030405", bootHeader},
        {UpgradeForm::kBoot, 5000, "01 02 03 04 05", bootHeader},
        {UpgradeForm::kSecHigh, 5000, "0102030405", "00 00 00 00"},
        {UpgradeForm::kSecHigh, kSecHighImageLimit, "102030405", "00 00 00 00"},
    };
    const std::string image = Path("APP_0102030405.bin");
    const std::string output = Path("APP_update-0102030405.bin");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string bytes = Image(c.size);
        WriteAll(image, bytes);
        WriteAll(output, "an older upgrade file");
        const UpgradeOutcome outcome = PrepareUpgradeFile(c.form, image, c.version);
        EXPECT_EQ(outcome.refusal, "");
        EXPECT_EQ(outcome.outputPath, output);
        ByteString header = {static_cast<unsigned char>(c.size), static_cast<unsigned char>(c.size >> 8),
                             static_cast<unsigned char>(c.size >> 16), 0};
        header += Hex(c.headerAfterLength);
        header.resize(c.form == UpgradeForm::kBoot ? 64 : 8, 0);
        EXPECT_EQ(ReadAll(output), AsText(header) + bytes);
        EXPECT_EQ(ReadAll(image), bytes);
        EXPECT_EQ(Names(), (std::set<std::string>{"APP_0102030405.bin", "APP_update-0102030405.bin"}));
    }
}

TEST_F(ImageFilesTest, RefusalsSayWhyAndWriteNothing) {
    const std::string image = Path("APP_0102030405.bin");
    const std::string output = Path("APP_update-0102030405.bin");
    const struct {
        UpgradeForm form;
        std::string path;
        std::string bytes;
        const char* version;
        std::string text;
    } cases[] = {
        {UpgradeForm::kBoot, "", "", "0102030405", "请选择处理文件"},
        {UpgradeForm::kBoot, Path("none_0102030405.bin"), "", "0102030405", "无法打开文件"},
        {UpgradeForm::kSecHigh, dir, "", "0102030405", "无法打开文件"},
        {UpgradeForm::kBoot, image, "", "0102030405", "升级文件为空"},
        {UpgradeForm::kBoot, image, Image(kBootImageLimit + 1), "0102030405", "升级文件大于1024*128"},
        {UpgradeForm::kSecHigh, image, Image(kSecHighImageLimit + 1), "0102030405", "升级文件大于1024*384"},
        {UpgradeForm::kBoot, image, "x", "", "版本号不能为空"},
        {UpgradeForm::kSecHigh, image, "x", " \r\n", "版本号不能为空"},
        {UpgradeForm::kBoot, image, "x", "01020A0405", "版本号不是BCD格式"},
        {UpgradeForm::kSecHigh, image, "x", "0G", "版本号不是BCD格式"},
        {UpgradeForm::kBoot, image, "x", "01020304050", "版本号不能超过10位"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " " + c.version);
        if (c.path == image) WriteAll(image, c.bytes);
        WriteAll(output, "kept");
        EXPECT_EQ(PrepareUpgradeFile(c.form, c.path, c.version).refusal, c.text);
        EXPECT_EQ(ReadAll(output), "kept");
        fs::remove(output);
    }
    // An output that cannot be written: a folder holds its name. No temporary file stays.
    fs::create_directory(output);
    EXPECT_EQ(PrepareUpgradeFile(UpgradeForm::kBoot, image, "0102030405").refusal, "无法写入升级文件：" + output);
    EXPECT_TRUE(fs::is_directory(output));
    EXPECT_EQ(Names(), (std::set<std::string>{"APP_0102030405.bin", "APP_update-0102030405.bin"}));
}

TEST(UpgradeNames, TheVersionIsCutFromTheNameNeverFromItsFolder) {
    const ByteString version = Hex("05 04 03 02 01");
    const struct {
        const char* image;
        const char* output;
        const char* versionText;
    } cases[] = {
        {"/d/APP_0102030405.bin", "/d/APP_update-0102030405.bin", "0102030405"},
        {"APP_0102030405.bin", "APP_update-0102030405.bin", "0102030405"},
        {"/d/0102030405.bin", "/d/update-0102030405.bin", "0102030405"},
        {"/a/long/folder/x.bin", "/a/long/folder/update-0102030405.bin", "x.bin"},
        {"/d/固件版本_9876543210.bin", "/d/固件版本_update-0102030405.bin", "9876543210"},
        {"/d/固件版本.bin", "/d/update-0102030405.bin", "固件版本.bin"},
        {"", "update-0102030405.bin", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpgradeOutputPath(c.image, version), c.output);
        EXPECT_EQ(VersionTextOfImage(c.image), c.versionText) << c.image;
    }
}

// Runs the check in a child process as an ordinary user (root reads any file); true when it held.
bool AsOrdinaryUser(const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ImageFilesTest, AReadOnlyImageIsUsedUnchangedAndAnUnreadableOneIsRefused) {
    ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
    const std::string readOnly = Path("RO_0102030405.bin");
    const std::string unreadable = Path("NO_0102030405.bin");
    WriteAll(readOnly, Image(300));
    WriteAll(unreadable, Image(300));
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(unreadable.c_str(), 0), 0);
    EXPECT_TRUE(AsOrdinaryUser([&] {
        return PrepareUpgradeFile(UpgradeForm::kSecHigh, readOnly, "0102030405").refusal.empty() &&
               ReadAll(Path("RO_update-0102030405.bin")).size() == 308 && ReadAll(readOnly) == Image(300) &&
               PrepareUpgradeFile(UpgradeForm::kBoot, unreadable, "0102030405").refusal == "无法打开文件" &&
               ComparisonText(CompareImageFiles(readOnly, unreadable)) == "请选择对比文件" &&
               ComparisonText(CompareImageFiles(unreadable, readOnly)) == "请选择对比文件" &&
               ComparisonText(CompareImageFiles(readOnly, readOnly)) == "对比结果为：\r\n对比文件成功";
    }));
    // A folder the user cannot write to: the refusal names the file, the older file stays whole.
    ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
    const std::string output = Path("RO_update-0102030405.bin");
    EXPECT_TRUE(AsOrdinaryUser([&] {
        return PrepareUpgradeFile(UpgradeForm::kBoot, readOnly, "0102030405").refusal ==
                   "无法写入升级文件：" + output &&
               ReadAll(output).size() == 308;
    }));
    ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
    // A write cut short (a file size limit, as a full disk would): the older file stays whole and
    // no part of the new one is left.
    const std::set<std::string> before = Names();
    EXPECT_TRUE(AsOrdinaryUser([&] {
        const rlimit limit{100, 100};
        ::signal(SIGXFSZ, SIG_IGN);
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
               PrepareUpgradeFile(UpgradeForm::kBoot, readOnly, "0102030405").refusal ==
                   "无法写入升级文件：" + output &&
               ReadAll(output).size() == 308;
    }));
    EXPECT_EQ(Names(), before);
}

}  // namespace
