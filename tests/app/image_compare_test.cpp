// The main window's image comparison: the master and the compared image chosen through the file
// dialog, and the verdict in the result pane, for each edge of the block-by-block comparison.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/main_window_fixture.h"

namespace {

using testsupport::WriteFileBytes;

class ImageCompareTest : public testsupport::MainWindowWithModule {
protected:
    ImageCompareTest() : MainWindowWithModule(26) {}
    std::string Pane() { return Text(IDC_COMPARE_RESULT); }
};

// An image of n bytes; each byte differs from its neighbours'.
std::string Image(size_t n) {
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 13 + i / 256) & 0xFF);
    return bytes;
}

std::string With(std::string bytes, size_t at, const std::string& part) { return bytes.replace(at, part.size(), part); }

constexpr size_t kTwoMiB = 2 << 20;
const std::string kSuccess = "对比结果为：\r\n对比文件成功\r\n";
const std::string kFailure = "对比结果为：\r\n对比文件失败！！！\r\n";

TEST_F(ImageCompareTest, VerdictOfEachPairReplacesThePane) {
    const std::string big = Image(kTwoMiB);
    const struct {
        const char* name;
        std::string master, compared, pane;
    } cases[] = {
        {"MAC bytes differ, valid MAC", big, With(big, 0xF0000, "\x12\x34\x56\x78\x9A\xBC"), kSuccess + "MAC地址合法\r\n"},
        {"MAC all FF", big, With(big, 0xF0000, std::string(6, '\xFF')), kSuccess + "MAC地址不合法\r\n"},
        {"MAC all 00", With(big, 0xF0000, "\x01"), With(big, 0xF0000, std::string(6, '\0')),
         kSuccess + "MAC地址不合法\r\n"},
        {"differ at 0xF0006", big, With(big, 0xF0006, "\x01"), kFailure},
        {"differ at the last byte", big, With(big, kTwoMiB - 1, "\x01"), kFailure},
        {"5000 bytes equal", Image(5000), Image(5000), kSuccess},
        {"5000 bytes, differ at 4999", Image(5000), With(Image(5000), 4999, "\x01"), kFailure},
        {"4096 against 4097", Image(4096), Image(4097), kFailure},
        {"MAC block cut short", Image(0xF0003), With(Image(0xF0003), 0xF0000, "\x01\x01\x01"), kSuccess},
        {"MAC block holds the MAC alone", Image(0xF0006), With(Image(0xF0006), 0xF0000, std::string(6, '\xFF')),
         kSuccess + "MAC地址不合法\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(Path("master.bin"), c.master);
        WriteFileBytes(Path("device.bin"), c.compared);
        filePaths = {Path("master.bin"), Path("device.bin")};
        Click(IDC_CHOOSE_MASTER_IMAGE);
        Click(IDC_CHOOSE_COMPARE_IMAGE);
        Click(IDC_COMPARE_IMAGES);
        EXPECT_EQ(Pane(), c.pane);
    }
    for (const FileDialogRequest& r : fileRequests) {
        EXPECT_TRUE(r.open);
        EXPECT_EQ(r.filter + r.defaultExt + r.fileName, ".BIN Files(*.bin)|*.bin||");
    }
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
}

TEST_F(ImageCompareTest, ACancelledOrMissingChoiceAsksForTheFiles) {
    WriteFileBytes(Path("a.bin"), "same");
    const struct {
        std::vector<std::string> answers;  // master, then compared; "" cancels
    } cases[] = {
        {{Path("a.bin"), ""}},
        {{"", Path("a.bin")}},
        {{Path("a.bin"), Path("missing.bin")}},
        {{workDir, Path("a.bin")}},
    };
    for (const auto& c : cases) {
        // A good choice first, so a cancel has a path to empty.
        filePaths = {Path("a.bin"), Path("a.bin"), c.answers[0], c.answers[1]};
        Click(IDC_CHOOSE_MASTER_IMAGE);
        Click(IDC_CHOOSE_COMPARE_IMAGE);
        Click(IDC_COMPARE_IMAGES);
        EXPECT_EQ(Pane(), kSuccess);
        Click(IDC_CHOOSE_MASTER_IMAGE);
        Click(IDC_CHOOSE_COMPARE_IMAGE);
        Click(IDC_COMPARE_IMAGES);
        EXPECT_EQ(Pane(), "请选择对比文件\r\n") << c.answers[0] << " " << c.answers[1];
    }
}

}  // namespace
