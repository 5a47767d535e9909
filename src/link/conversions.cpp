#include "link/conversions.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/gbk.h"
#include "platform/text_format.h"

namespace {

int HexDigitValue(char c) {
    const int v = static_cast<signed char>(c);
    return v >= 'A' ? v - 'A' + 10 : v - '0';
}

const char kHex[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, unsigned char b) {
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 0x0F]);
}

}  // namespace

std::string WithoutHexBlanks(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\r'; }),
               text.end());
    return text;
}

bool IsBcdText(const std::string& text) { return text.find_first_not_of("0123456789") == std::string::npos; }

int HexTextToBytes(std::string text, ByteString& out, int mode) {
    text = WithoutHexBlanks(std::move(text));
    if (text.size() % 2 != 0) {
        if (mode == 1)
            text.insert(text.size() - 1, 1, '0');
        else
            text.insert(text.begin(), '0');
    }
    if (text.size() > kMaxHexTextBytes * 2) text.resize(kMaxHexTextBytes * 2);
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    std::vector<unsigned char> scratch(text.size() / 2);
    int count = 0;
    HexToBytesRaw(text.c_str(), scratch.data(), count, scratch.size());
    out.clear();
    out.reserve(static_cast<size_t>(count));
    for (int i = count - 1; i >= 0; --i) out.push_back(scratch[static_cast<size_t>(i)]);
    return 1;
}

void HexToBytesRaw(const char* text, unsigned char* bytes, int& count, size_t capacity) {
    size_t n = 0;
    while (text[n] != '\0') ++n;
    // Pairs from the end; an odd leading character is left unread.
    for (size_t end = n; end >= 2; end -= 2) {
        if (count < 0 || static_cast<size_t>(count) >= capacity) return;
        const int hi = HexDigitValue(text[end - 2]);
        const int lo = HexDigitValue(text[end - 1]);
        bytes[count] = static_cast<unsigned char>(static_cast<unsigned>(hi * 16 + lo) & 0xFF);
        ++count;
    }
}

int BytesToHexText(std::string& out, ByteString bytes) {
    out.clear();
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) AppendHexByte(out, b);
    return 1;
}

int BytesToHexTextSpaced(std::string& out, ByteString bytes, int flag) {
    out.clear();
    out.reserve(bytes.size() * 3);
    for (unsigned char b : bytes) {
        AppendHexByte(out, b);
        if (flag == 0) out.push_back(' ');
    }
    return 1;
}

unsigned char ByteAt(const std::string& text, int index) {
    if (index < 0 || static_cast<size_t>(index) >= text.size()) return 0;
    return static_cast<unsigned char>(text[static_cast<size_t>(index)]);
}

void BcdBytesToBinary(ByteString& bytes, int count) {
    const size_t n = count < 0 ? bytes.size() : std::min(bytes.size(), static_cast<size_t>(count));
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>((bytes[i] >> 4) * 10 + (bytes[i] & 0x0F));
}

bool IsBcdBytes(const ByteString& bytes, int start, int count) {
    if (start < 0) return false;
    const size_t from = static_cast<size_t>(start);
    if (from >= bytes.size()) return true;
    const size_t end = count < 0 ? bytes.size() : std::min(bytes.size(), from + static_cast<size_t>(count));
    for (size_t i = from; i < end; ++i) {
        if ((bytes[i] >> 4) > 9 || (bytes[i] & 0x0F) > 9) return false;
    }
    return true;
}

void PadRightBlanks(std::string& text, int length) {
    if (length <= 0) return;
    const size_t width = GbkLength(text);
    if (width < static_cast<size_t>(length)) text.append(static_cast<size_t>(length) - width, ' ');
}

void PadLeftZeros(std::string& text, int lastIndex) {
    if (lastIndex < 0) return;
    const size_t want = static_cast<size_t>(lastIndex) + 1;
    if (text.size() < want) text.insert(0, want - text.size(), '0');
}

void AppendWord16(ByteString& payload, uint16_t word) {
    payload.push_back(static_cast<unsigned char>(word & 0xFF));
    payload.push_back(static_cast<unsigned char>(word >> 8));
}

void ReverseHexPairs(std::string& text, int pairs) {
    if (text.empty() || pairs <= 0) return;
    const size_t width = static_cast<size_t>(pairs) * 2;
    PadLeftZeros(text, static_cast<int>(width) - 1);
    std::string reversed;
    reversed.reserve(width);
    for (size_t pair = width / 2; pair > 0; --pair) reversed.append(text, (pair - 1) * 2, 2);
    text = reversed;
}

std::string AsciiUpper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

void ReverseHexBytes12(std::string& text) { ReverseHexPairs(text, 6); }

void ReverseHexBytes4(std::string& text) { ReverseHexPairs(text, 2); }

int FitAddressBytes(ByteString& bytes, int length) {
    if (length < 0) length = bytes.size() < 3 ? 2 : 6;
    const size_t n = static_cast<size_t>(length);
    if (bytes.size() > n)
        bytes.erase(0, bytes.size() - n);
    else if (bytes.size() < n)
        bytes.insert(0, n - bytes.size(), 0);
    return length;
}

int64_t SystemTimeDiffMs(const SystemTime& first, const SystemTime& second) {
    return SystemTimeToEpochMs(first) - SystemTimeToEpochMs(second);
}

void AddBytesWithCarry(ByteString& a, ByteString b, int count) {
    if (count <= 0) return;
    const size_t n = std::min(a.size(), static_cast<size_t>(count));
    unsigned carry = 0;
    for (size_t k = n; k-- > 0;) {
        const unsigned s = a[k] + FrameByte(b, static_cast<long long>(k)) + carry;
        a[k] = static_cast<unsigned char>(s & 0xFF);
        carry = s >> 8;
    }
}

int SumBytesToHexText(ByteString bytes, std::string& out) {
    unsigned s = 0;
    for (unsigned char b : bytes) s += b;
    out = StrFormat("%02X", s & 0xFF);
    return 1;
}

uint32_t ImageChecksum(const unsigned char* /*bytes*/, size_t /*length*/) {
    const uint32_t running = 0xFFFFFFFFu;
    return ~running;
}
