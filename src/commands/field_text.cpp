// Text-to-byte helpers of the command pages' fields.

#include "commands/field_text.h"

#include <algorithm>

#include "dialogs/number_text.h"
#include "link/conversions.h"
#include "platform/gbk.h"

std::string StripHexSeparators(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\r' || c == '\n'; }),
               text.end());
    return text;
}

bool IsBlankField(const std::string& text) { return StripHexSeparators(text).empty(); }

bool CarriesAddress(uint8_t targetMode) { return targetMode >= 1 && targetMode <= 5; }

uint8_t DepthFromText(const std::string& text) {
    return static_cast<uint8_t>(LeadingWholeNumber(text.substr(0, 2)));
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void AppendReversedHex(const std::string& text, void (*reverse)(std::string&), ByteString& payload) {
    std::string digits = StripHexSeparators(text);
    if (digits.empty()) digits = "0";
    reverse(digits);
    payload += HexFieldBytes(digits);
}

}  // namespace

void AppendAddressText(const std::string& text, ByteString& payload) {
    AppendReversedHex(text, ReverseHexBytes12, payload);
}

void AppendMulticastText(const std::string& text, ByteString& payload) {
    AppendReversedHex(text, ReverseHexBytes4, payload);
}

bool AppendDataText(const std::string& text, ByteString& payload) {
    ByteString bytes;
    HexTextToBytes(StripHexSeparators(text), bytes, 0);
    if (bytes.size() > kMaxLength16) return false;
    AppendWord16(payload, static_cast<uint16_t>(bytes.size()));
    payload += bytes;
    return true;
}

bool AppendPortText(const std::string& text, ByteString& payload) {
    long long port = 0;
    if (!ReadWholeNumber(text, 0, 0xFFFF, port)) return false;
    AppendWord16(payload, static_cast<uint16_t>(port));
    return true;
}

bool ParseIpText(const std::string& text, uint32_t& address) {
    address = 0;
    if (text.empty()) return true;
    int fields = 0;
    size_t start = 0;
    for (;;) {
        const size_t dot = text.find('.', start);
        const std::string field = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (field.empty() || field.size() > 3 || !std::all_of(field.begin(), field.end(), IsDigit)) return false;
        const long long value = LeadingWholeNumber(field);
        if (value > 255) return false;
        address = (address << 8) | static_cast<uint32_t>(value);
        ++fields;
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return fields == 4;
}

bool AppendDomainName(const std::string& text, ByteString& payload) {
    const std::string local = Utf8ToGbk(text);
    if (local.empty() || local.size() > kMaxDomainName) return false;
    payload.push_back(static_cast<unsigned char>(local.size()));
    payload.append(local.begin(), local.end());
    return true;
}

ByteString PasswordTextToBytes(const std::string& text, bool hex) {
    ByteString bytes;
    if (hex) {
        HexTextToBytes(text, bytes, 0);
    } else {
        const std::string local = Utf8ToGbk(text);
        bytes.assign(local.begin(), local.end());
    }
    return bytes;
}

void AppendLengthAndBytes(const ByteString& bytes, ByteString& payload) {
    payload.push_back(static_cast<unsigned char>(bytes.size()));
    payload += bytes;
}

ByteString HexFieldBytes(const std::string& text) {
    ByteString bytes;
    HexTextToBytes(text, bytes, 0);
    return bytes;
}

uint8_t BcdFieldByte(const std::string& text) {
    ByteString bytes = HexFieldBytes(text);
    BcdBytesToBinary(bytes, -1);
    return bytes.empty() ? 0 : bytes[0];
}
