#include "analyzer/field_printers.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "analyzer/text_pieces.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"
#include "platform/gbk.h"
#include "platform/text_format.h"

const char kStatusLabel[] = "异常状态为：   ";

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Writes value in decimal at out, which has room for 10 digits; returns the end.
char* PutDecimal(char* out, unsigned value) { return std::to_chars(out, out + 10, value).ptr; }

void AppendLine(std::string_view label, const char* name, std::string& text) {
    TextPieces(text) << label << name << kCrLf;
}

}  // namespace

void PrintErrorStatus(uint8_t status, std::string& text) {
    TextPieces out(text);
    PrintErrorStatus(status, out);
}

void PrintErrorStatus(uint8_t status, TextPieces& out) {
    out << TextOfCode(kErrorStatusNames, status, "RESV") << kCrLf;
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
    char line[12];
    char* end = PutDecimal(line, value);
    *end++ = '\r';
    *end++ = '\n';
    text.append(line, static_cast<size_t>(end - line));
}

void PrintStatusLine(uint8_t status, std::string& text) {
    TextPieces out(text);
    PrintStatusLine(status, out);
}

void PrintStatusLine(uint8_t status, TextPieces& out) {
    out << kStatusLabel;
    PrintErrorStatus(status, out);
}

namespace {

// The n bytes that next() gives in turn, as "%02X" pairs, appended a buffer at a time.
template <typename Next>
void AppendHexPairs(size_t n, std::string& text, Next next) {
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
    const unsigned char* b = bytes.data();
    AppendHexPairs(bytes.size(), text, [&b] { return *b++; });
}

void AppendHexReversed(const unsigned char* bytes, size_t n, std::string& text) {
    const unsigned char* b = bytes + n;
    AppendHexPairs(n, text, [&b] { return *--b; });
}

void AppendHexReversed(const ByteString& bytes, std::string& text) {
    AppendHexReversed(bytes.data(), bytes.size(), text);
}

void AppendHexReversed(FrameReader& in, size_t n, std::string& text) {
    if (const unsigned char* bytes = in.Span(n)) {
        AppendHexReversed(bytes, n, text);
    } else {
        size_t i = n;
        AppendHexPairs(n, text, [&] { return in.PeekOrZero(--i); });
    }
    in.Advance(n);
}

void AppendByteCharacters(const ByteString& bytes, std::string& text) {
    TextPieces out(text);
    AppendByteCharacters(bytes.data(), bytes.size(), out);
}

void AppendByteCharacters(const unsigned char* bytes, size_t n, TextPieces& out) {
    const unsigned char* end = bytes + n;
    // ASCII reads the same in both, so it goes as it is, without its zero bytes; only other
    // bytes need the conversion.
    if (std::all_of(bytes, end, [](unsigned char b) { return b < 0x80; })) {
        for (const unsigned char* run = bytes; run != end;) {
            const unsigned char* zero = std::find(run, end, 0);
            out << std::string_view(reinterpret_cast<const char*>(run), static_cast<size_t>(zero - run));
            run = zero == end ? end : zero + 1;
        }
        return;
    }
    std::string raw;
    for (const unsigned char* b = bytes; b != end; ++b)
        if (*b != 0) raw.push_back(static_cast<char>(*b));
    out << GbkToUtf8(raw);
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
    TextPieces out(text);
    out << (n < 10 ? "组地址数目：  0" : "组地址数目：  ");
    out.ByteDecimal(static_cast<unsigned char>(n)) << kCrLf;
    // "GPID%u: %04X" and a line end, each line written in place, without printf: a count of 255
    // makes 255 lines.
    text.reserve(text.size() + 16 * n);
    for (unsigned i = 1; i <= n; ++i) {
        const unsigned id = in.Word16OrZero();
        char* const line = out.Reserve(16);
        std::memcpy(line, "GPID", 4);
        char* end = line + 4;
        if (i >= 100) *end++ = static_cast<char>('0' + i / 100);
        if (i >= 10) *end++ = static_cast<char>('0' + i / 10 % 10);
        *end++ = static_cast<char>('0' + i % 10);
        *end++ = ':';
        *end++ = ' ';
        end[0] = kHexDigits[id >> 12 & 0x0F];
        end[1] = kHexDigits[id >> 8 & 0x0F];
        end[2] = kHexDigits[id >> 4 & 0x0F];
        end[3] = kHexDigits[id & 0x0F];
        end[4] = '\r';
        end[5] = '\n';
        out.Commit(end + 6);
    }
}

void PrintReversedBytes(FrameReader& in, std::string& text, uint8_t count) {
    AppendHexReversed(in, count, text);
    text += kCrLf;
}

bool PrintIpv4Address(FrameReader& in, std::string& text) {
    if (!in.Need(4)) return false;
    uint8_t a[4];
    for (uint8_t& b : a) b = in.ByteOrZero();
    char line[24];
    char* end = line;
    for (int i = 3; i >= 0; --i) {
        end = PutDecimal(end, a[i]);
        *end++ = i ? '.' : '\r';
    }
    *end++ = '\n';
    text.append(line, static_cast<size_t>(end - line));
    return true;
}

bool PrintPayload(FrameReader& in, std::string& text) {
    if (!in.Need(2)) return false;
    const unsigned n = in.Word16OrZero();
    TextPieces out(text);
    (out << "payload len:  ").Decimal(n) << kCrLf;
    out.Flush();
    if (!in.Need(n)) return false;
    out << "payload:  ";
    if (const unsigned char* bytes = in.Span(n))
        out.HexBytes(bytes, n);
    else
        out.HexPairs(n, [&in](size_t i) { return in.PeekOrZero(i); });
    in.Advance(n);
    out << kCrLf;
    return true;
}
