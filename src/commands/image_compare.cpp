#include "commands/image_compare.h"

#include <algorithm>
#include <cstring>

#include "platform/binary_file.h"

ImageComparison CompareOpenImages(const BinaryReader& master, const BinaryReader& compared) {
    ImageComparison result;
    result.verdict = ImageComparison::kDifferent;
    const int64_t size = master.Size();
    if (size < 0 || compared.Size() != size) return result;
    unsigned char a[kCompareBlockSize];
    unsigned char b[kCompareBlockSize];
    const uint64_t total = static_cast<uint64_t>(size);
    for (uint64_t offset = 0; offset < total; offset += kCompareBlockSize) {
        const size_t length = static_cast<size_t>(std::min<uint64_t>(kCompareBlockSize, total - offset));
        if (master.ReadAt(offset, a, length) != length || compared.ReadAt(offset, b, length) != length) return result;
        size_t from = 0;
        if (offset == kMacBlockOffset) {
            from = std::min(length, kMacLength);
            result.macRead = from == kMacLength;
            std::memcpy(result.mac.data(), b, from);
        }
        if (std::memcmp(a + from, b + from, length - from) != 0) return result;
    }
    result.verdict = ImageComparison::kEqual;
    return result;
}

ImageComparison CompareImageFiles(const std::string& masterPath, const std::string& comparedPath) {
    BinaryReader master;
    BinaryReader compared;
    if (!master.Open(masterPath) || !compared.Open(comparedPath)) return ImageComparison{};
    return CompareOpenImages(master, compared);
}

bool IsValidMac(const std::array<unsigned char, kMacLength>& mac) {
    const auto all = [&mac](unsigned char v) {
        return std::all_of(mac.begin(), mac.end(), [v](unsigned char b) { return b == v; });
    };
    return !all(0xFF) && !all(0x00);
}

std::string ComparisonText(const ImageComparison& comparison) {
    if (comparison.verdict == ImageComparison::kNotOpened) return "请选择对比文件";
    std::string text = "对比结果为：\r\n";
    if (comparison.verdict == ImageComparison::kDifferent) return text + "对比文件失败！！！";
    text += "对比文件成功";
    if (comparison.macRead) text += IsValidMac(comparison.mac) ? "\r\nMAC地址合法" : "\r\nMAC地址不合法";
    return text;
}
