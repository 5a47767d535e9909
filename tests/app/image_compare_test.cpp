// The main window's image comparison: both images chosen through the file dialog, and the
// verdict in the result pane for each edge of the block-by-block comparison.

#include <gtest/gtest.h>

#include <string>

#include "support/main_window_fixture.h"

namespace {

class ImageCompareTest : public testsupport::MainWindowWithModule {
protected:
    ImageCompareTest() : MainWindowWithModule(26) {}
    // Chooses both images (a "" answer cancels) and compares them; the pane's text.
    std::string Compare(const std::string& master, const std::string& compared) {
        filePaths = {master, compared};
        Click(IDC_CHOOSE_MASTER_IMAGE);
        Click(IDC_CHOOSE_COMPARE_IMAGE);
        Click(IDC_COMPARE_IMAGES);
        return Text(IDC_COMPARE_RESULT);
    }
};

std::string Image(size_t n, size_t at = 0, const std::string& part = "") {
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 13 + i / 256);
    return bytes.replace(at, part.size(), part);
}

TEST_F(ImageCompareTest, VerdictOfEachPairReplacesThePane) {
    const size_t big = 2 << 20;
    const std::string ok = "对比结果为：\r\n对比文件成功\r\n";
    const std::string failed = "对比结果为：\r\n对比文件失败！！！\r\n";
    const std::string ff(6, '\xFF');
    const struct {
        std::string master, compared, pane;
    } cases[] = {
        {Image(big), Image(big, 0xF0000, "\x12\x34\x56\x78\x9A\xBC"), ok + "MAC地址合法\r\n"},
        {Image(big), Image(big, 0xF0000, ff), ok + "MAC地址不合法\r\n"},
        {Image(big, 0xF0000, "\x01"), Image(big, 0xF0000, std::string(6, '\0')), ok + "MAC地址不合法\r\n"},
        {Image(big), Image(big, 0xF0006, "\x01"), failed},
        {Image(big), Image(big, big - 1, "\x01"), failed},
        {Image(5000), Image(5000), ok},
        {Image(5000), Image(5000, 4999, "\x01"), failed},
        {Image(4096), Image(4097), failed},
        {Image(0xF0003), Image(0xF0003, 0xF0000, "\x01\x01\x01"), ok},
        {Image(0xF0006), Image(0xF0006, 0xF0000, ff), ok + "MAC地址不合法\r\n"},
    };
    for (const auto& c : cases) {
        testsupport::WriteFileBytes(Path("master.bin"), c.master);
        testsupport::WriteFileBytes(Path("device.bin"), c.compared);
        EXPECT_EQ(Compare(Path("master.bin"), Path("device.bin")), c.pane) << c.master.size();
    }
    for (const FileDialogRequest& r : fileRequests)
        EXPECT_EQ(r.filter + r.defaultExt + r.fileName + std::to_string(r.open), ".BIN Files(*.bin)|*.bin||1");
    // A cancelled second choice empties its path; a file that is missing cannot be opened.
    EXPECT_EQ(Compare(Path("master.bin"), ""), "请选择对比文件\r\n");
    EXPECT_EQ(Compare(Path("missing.bin"), Path("device.bin")), "请选择对比文件\r\n");
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
