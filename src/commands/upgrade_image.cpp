#include "commands/upgrade_image.h"

#include <algorithm>

#include "link/conversions.h"
#include "platform/binary_file.h"
#include "platform/text_file.h"

namespace {

constexpr const char* kNoImageText = "请选择处理文件";
constexpr const char* kCannotOpenText = "无法打开文件";
constexpr const char* kEmptyImageText = "升级文件为空";
constexpr const char* kCannotReadText = "无法读取文件";
constexpr const char* kVersionEmptyText = "版本号不能为空";
constexpr const char* kVersionNotBcdText = "版本号不是BCD格式";
constexpr const char* kVersionTooLongText = "版本号不能超过10位";
constexpr const char* kCannotWriteText = "无法写入升级文件：";

// Characters of the name that the version and ".bin" take.
constexpr size_t kVersionedTail = 14;
constexpr const char* kBootMark = "Quorvant";

struct FormRule {
    size_t limit;
    const char* tooLongText;
};

FormRule RuleOf(UpgradeForm form) {
    if (form == UpgradeForm::kBoot) return {kBootImageLimit, "升级文件大于1024*128"};
    return {kSecHighImageLimit, "升级文件大于1024*384"};
}

void AppendU32(ByteString& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
}

// Where the file name starts within the path.
size_t NameStart(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// The byte index count characters (UTF-8) before the end of the text, or 0 when it has fewer.
size_t CharactersBeforeEnd(const std::string& text, size_t count) {
    size_t index = text.size();
    while (count > 0 && index > 0) {
        --index;
        while (index > 0 && (static_cast<unsigned char>(text[index]) & 0xC0) == 0x80) --index;
        --count;
    }
    return index;
}

// The byte length of the first count characters (UTF-8) of the text from start.
size_t CharactersLength(const std::string& text, size_t start, size_t count) {
    size_t end = start;
    while (count > 0 && end < text.size()) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        --count;
    }
    return end - start;
}

}  // namespace

std::string ReadBcdVersion(const std::string& text, ByteString& version) {
    std::string digits;
    for (char c : text)
        if (c != ' ' && c != '\r' && c != '\n') digits.push_back(c);
    if (digits.empty()) return kVersionEmptyText;
    if (digits.find_first_not_of("0123456789") != std::string::npos) return kVersionNotBcdText;
    if (digits.size() > kVersionDigits) return kVersionTooLongText;
    digits.insert(0, kVersionDigits - digits.size(), '0');
    ByteString inReadingOrder;
    HexTextToBytes(digits, inReadingOrder, 0);
    version.assign(inReadingOrder.rbegin(), inReadingOrder.rend());
    return std::string();
}

std::string VersionDigitsText(const ByteString& version) {
    std::string text;
    BytesToHexText(text, ByteString(version.rbegin(), version.rend()));
    return text;
}

ByteString BuildUpgradeHeader(UpgradeForm form, uint32_t length, const ByteString& version, uint32_t checksum) {
    ByteString header;
    AppendU32(header, length);
    if (form == UpgradeForm::kSecHigh) {
        AppendU32(header, checksum);
        return header;
    }
    header.append(reinterpret_cast<const unsigned char*>(kBootMark), 8);
    header.append(8, 0);
    header.append(version.substr(0, 5));
    header.append(5 - std::min<size_t>(version.size(), 5), 0);
    header.append(3, 0);
    AppendU32(header, checksum);
    header.append(kBootHeaderSize - header.size(), 0);
    return header;
}

std::string UpgradeOutputPath(const std::string& imagePath, const ByteString& version) {
    const size_t nameStart = NameStart(imagePath);
    const std::string name = imagePath.substr(nameStart);
    const std::string kept = name.substr(0, CharactersBeforeEnd(name, kVersionedTail));
    return imagePath.substr(0, nameStart) + kept + "update-" + VersionDigitsText(version) + ".bin";
}

std::string VersionTextOfImage(const std::string& imagePath) {
    const std::string name = imagePath.substr(NameStart(imagePath));
    const size_t start = CharactersBeforeEnd(name, kVersionedTail);
    return name.substr(start, CharactersLength(name, start, kVersionDigits));
}

UpgradeOutcome PrepareUpgradeFile(UpgradeForm form, const std::string& imagePath, const std::string& versionText) {
    UpgradeOutcome outcome;
    if (imagePath.empty()) {
        outcome.refusal = kNoImageText;
        return outcome;
    }
    const FormRule rule = RuleOf(form);
    ByteString image;
    {
        BinaryReader file;
        if (!file.Open(imagePath)) {
            outcome.refusal = kCannotOpenText;
            return outcome;
        }
        const int64_t size = file.Size();
        if (size <= 0) {
            outcome.refusal = size == 0 ? kEmptyImageText : kCannotReadText;
            return outcome;
        }
        if (static_cast<uint64_t>(size) > rule.limit) {
            outcome.refusal = rule.tooLongText;
            return outcome;
        }
        image.resize(static_cast<size_t>(size));
        if (file.ReadAt(0, &image[0], image.size()) != image.size()) {
            outcome.refusal = kCannotReadText;
            return outcome;
        }
    }
    const uint32_t checksum = ImageChecksum(image.data(), image.size());
    ByteString version;
    outcome.refusal = ReadBcdVersion(versionText, version);
    if (!outcome.refusal.empty()) return outcome;
    const ByteString header = BuildUpgradeHeader(form, static_cast<uint32_t>(image.size()), version, checksum);

    const std::string path = UpgradeOutputPath(imagePath, version);
    TextFile out;
    bool written = out.Open(path, TextFile::kReplace) && out.WriteRaw(header.data(), header.size()) &&
                   out.WriteRaw(image.data(), image.size());
    if (!out.Close()) written = false;
    if (!written) {
        outcome.refusal = kCannotWriteText + path;
        return outcome;
    }
    outcome.outputPath = path;
    return outcome;
}
