#include "analyzer/field_printers.h"

#include <string_view>

#include "analyzer/text_pieces.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"
#include "platform/gbk.h"
#include "platform/text_format.h"

const char kStatusLabel[] = "异常状态为：   ";

namespace {

void AppendLine(std::string_view label, const char* name, std::string& text) {
    TextPieces(text) << label << name << kCrLf;
}

}  // namespace

void PrintErrorStatus(uint8_t status, std::string& text) {
    AppendLine("", TextOfCode(kErrorStatusNames, status, "RESV"), text);
}

void PrintTargetDeviceMode(uint8_t mode, std::string& text) {
    AppendLine("目标设备模式：    ", TextOfCode(kDeviceModeNames, mode, "出错"), text);
}

void PrintSourceDeviceMode(uint8_t mode, std::string& text) {
    AppendLine("Src 设备模式：    ", TextOfCode(kDeviceModeNames, mode, "出错"), text);
}

void PrintPasswordMode(uint8_t mode, std::string& text) {
    AppendLine("网络口令模式: ", TextOfCode(kPasswordModeNames, mode, "出错"), text);
}

void PrintMulticastFlag(uint8_t flag, std::string& text) {
    AppendLine("组播标志：    ", TextOfCode(kMulticastFlagNames, flag, "出错"), text);
}

void PrintMulticastBit(uint8_t byte, uint8_t& flag, std::string& text) {
    flag = address_mode_byte::kMulticast.Get(byte);
    PrintMulticastFlag(flag, text);
}

void PrintNumberLine(uint16_t value, std::string& text) {
    AppendFormat(text, "%u", static_cast<unsigned>(value));
    text += kCrLf;
}

void PrintStatusLine(uint8_t status, std::string& text) {
    text += kStatusLabel;
    PrintErrorStatus(status, text);
}

namespace {

// The n bytes that next() gives in turn, as "%02X" pairs, appended a buffer at a time.
template <typename Next>
void AppendHexPairs(size_t n, std::string& text, Next next) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    char digits[64];
    while (n > 0) {
        const size_t k = n < sizeof digits / 2 ? n : sizeof digits / 2;
        for (size_t i = 0; i < k; ++i) {
            const unsigned char b = next();
            digits[2 * i] = kHexDigits[b >> 4];
            digits[2 * i + 1] = kHexDigits[b & 0x0F];
        }
        text.append(digits, 2 * k);
        n -= k;
    }
}

}  // namespace

void AppendHex(const ByteString& bytes, std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    for (unsigned char b : bytes) {
        text.push_back(hex[b >> 4]);
        text.push_back(hex[b & 0x0F]);
    }
}

void AppendHexReversed(const unsigned char* bytes, size_t n, std::string& text) {
    const unsigned char* b = bytes + n;
    AppendHexPairs(n, text, [&b] { return *--b; });
}

void AppendHexReversed(const ByteString& bytes, std::string& text) {
    AppendHexReversed(bytes.data(), bytes.size(), text);
}

void AppendHexReversed(FrameReader& in, size_t n, std::string& text) {
    unsigned char bytes[16];
    if (n > sizeof bytes) {
        AppendHexReversed(in.BytesOrZero(n), text);
        return;
    }
    in.CopyOrZero(bytes, n);
    AppendHexReversed(bytes, n, text);
}


void AppendByteCharacters(const ByteString& bytes, std::string& text) {
    std::string raw;
    for (unsigned char b : bytes) {
        if (b != 0) raw.push_back(static_cast<char>(b));
    }
    text += GbkToUtf8(raw);
}

void PrintAddress(FrameReader& in, std::string& text) {
    AppendHexReversed(in, 6, text);
    text += kCrLf;
}

bool PrintAddressChecked(FrameReader& in, std::string& text) {
    if (!in.Need(6)) return false;
    PrintAddress(in, text);
    return true;
}

void PrintMulticastAddress(FrameReader& in, std::string& text) {
    unsigned char group[2];
    in.CopyOrZero(group, sizeof group);
    TextPieces out(text);
    out << "组播地址：    ";
    out.HexReversed(group, sizeof group) << kCrLf;
}

bool PrintMulticastAddressChecked(FrameReader& in, std::string& text) {
    if (!in.Need(2)) return false;
    PrintMulticastAddress(in, text);
    return true;
}

void PrintGroupIdList(FrameReader& in, std::string& text) {
    const unsigned n = in.ByteOrZero();
    AppendFormat(text, "组地址数目：  %02u\r\n", n);
    for (unsigned i = 1; i <= n; ++i) AppendFormat(text, "GPID%u: %04X\r\n", i, in.Word16OrZero());
}

void PrintReversedBytes(FrameReader& in, std::string& text, uint8_t count) {
    AppendHexReversed(in, count, text);
    text += kCrLf;
}

bool PrintIpv4Address(FrameReader& in, std::string& text) {
    const ByteString a = in.Bytes(4);
    if (a.size() != 4) return false;
    AppendFormat(text, "%u.%u.%u.%u\r\n", a[3], a[2], a[1], a[0]);
    return true;
}

bool PrintPayload(FrameReader& in, std::string& text) {
    if (!in.Need(2)) return false;
    const unsigned n = in.Word16OrZero();
    AppendFormat(text, "payload len:  %u\r\n", n);
    if (!in.Need(n)) return false;
    text += "payload:  ";
    AppendHex(in.BytesOrZero(n), text);
    text += kCrLf;
    return true;
}
