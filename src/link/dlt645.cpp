// DL/T 645-2007 meter frames.

#include "link/dlt645.h"

#include "link/conversions.h"

namespace {

constexpr unsigned char kMeterStart = 0x68;
constexpr unsigned char kReadData = 0x11;
constexpr unsigned char kMeterEnd = 0x16;
constexpr unsigned char kDataOffset = 0x33;

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

}  // namespace

ByteString DataIdentifierBytes(const std::string& text) {
    std::string digits = text.empty() ? std::string("0") : text;
    ReverseHexPairs(digits, 4);
    ByteString bytes;
    for (size_t i = 0; i + 1 < digits.size(); i += 2) {
        const int value = HexDigitValue(digits[i]) * 16 + HexDigitValue(digits[i + 1]);
        bytes.push_back(static_cast<unsigned char>(value + kDataOffset));
    }
    return bytes;
}

ByteString MeterAddressBytes(const std::string& digits) {
    std::string text = digits;
    ReverseHexBytes12(text);
    ByteString bytes;
    HexTextToBytes(text, bytes, 0);
    return bytes;
}

ByteString Dlt645Frame(const ByteString& address, unsigned char control, const ByteString& data) {
    ByteString frame;
    frame.push_back(kMeterStart);
    frame += address;
    frame.push_back(kMeterStart);
    frame.push_back(control);
    frame.push_back(static_cast<unsigned char>(data.size()));
    frame += data;
    unsigned char sum = 0;
    for (unsigned char b : frame) sum = static_cast<unsigned char>(sum + b);
    frame.push_back(sum);
    frame.push_back(kMeterEnd);
    return frame;
}

ByteString Dlt645ReadFrame(const ByteString& address, const ByteString& identifier) {
    return Dlt645Frame(address, kReadData, identifier);
}

size_t Dlt645FrameAt(const unsigned char* bytes, size_t count, size_t offset) {
    constexpr size_t kOverhead = 12;  // 68, address, 68, control, length, sum, 16
    if (offset > count || count - offset < kOverhead) return 0;
    const unsigned char* p = bytes + offset;
    const size_t size = kOverhead + p[9];
    if (p[0] != kMeterStart || p[7] != kMeterStart || size > count - offset || p[size - 1] != kMeterEnd) return 0;
    unsigned char sum = 0;
    for (size_t i = 0; i + 2 < size; ++i) sum = static_cast<unsigned char>(sum + p[i]);
    return sum == p[size - 2] ? size : 0;
}
