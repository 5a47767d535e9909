#pragma once
// Pieces of an explanation gathered in a buffer on the stack and appended to the text in one go:
// one append for a run of lines instead of one per piece. Whatever writes to the text itself
// (a printer taking the text, a FrameReader reporting a cut frame) comes after Flush().

#include <charconv>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

class TextPieces {
public:
    explicit TextPieces(std::string& text) : text_(text) {}
    ~TextPieces() { Flush(); }
    TextPieces(const TextPieces&) = delete;
    TextPieces& operator=(const TextPieces&) = delete;

    TextPieces& operator<<(std::string_view s) {
        if (s.size() > sizeof buffer_ - used_) {
            Flush();
            if (s.size() > sizeof buffer_) {
                text_.append(s.data(), s.size());
                return *this;
            }
        }
        std::memcpy(buffer_ + used_, s.data(), s.size());
        used_ += s.size();
        return *this;
    }

    // "%d" of the value.
    TextPieces& Decimal(long long value) {
        Room(kMaxDigits);
        used_ = static_cast<size_t>(std::to_chars(buffer_ + used_, buffer_ + sizeof buffer_, value).ptr - buffer_);
        return *this;
    }

    // "%u" of the byte.
    TextPieces& ByteDecimal(unsigned char value) {
        Commit(PutByteDecimal(Reserve(3), value));
        return *this;
    }

    // "%u" of the byte written at out; the end of what was written.
    static char* PutByteDecimal(char* out, unsigned char value) {
        if (value >= 100) *out++ = static_cast<char>('0' + value / 100);
        if (value >= 10) *out++ = static_cast<char>('0' + value / 10 % 10);
        *out++ = static_cast<char>('0' + value % 10);
        return out;
    }

    // The bytes in their order, as "%02X" pairs.
    TextPieces& HexBytes(const unsigned char* bytes, size_t n) {
        return HexPairs(n, [bytes](size_t i) { return bytes[i]; });
    }

    // The bytes from the last to the first, as "%02X" pairs.
    TextPieces& HexReversed(const unsigned char* bytes, size_t n) {
        return HexPairs(n, [bytes, n](size_t i) { return bytes[n - 1 - i]; });
    }

    // n "%02X" pairs of byteAt(0) to byteAt(n - 1), written a buffer at a time.
    template <typename ByteAt>
    TextPieces& HexPairs(size_t n, ByteAt byteAt) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        for (size_t i = 0; i < n;) {
            size_t k = (sizeof buffer_ - used_) / 2;
            if (k == 0) {
                Flush();
                continue;
            }
            if (k > n - i) k = n - i;
            char* out = buffer_ + used_;
            for (const size_t end = i + k; i < end; ++i) {
                const unsigned char byte = byteAt(i);
                *out++ = kDigits[byte >> 4];
                *out++ = kDigits[byte & 0x0F];
            }
            used_ += 2 * k;
        }
        return *this;
    }

    // "%02X" of the byte.
    TextPieces& Hex(unsigned char byte) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        Room(2);
        buffer_[used_++] = kDigits[byte >> 4];
        buffer_[used_++] = kDigits[byte & 0x0F];
        return *this;
    }

    // Room for n characters (n no more than the buffer holds), to be written in place from the
    // pointer returned; Commit(end) keeps those before end.
    char* Reserve(size_t n) {
        Room(n);
        return buffer_ + used_;
    }
    void Commit(const char* end) { used_ = static_cast<size_t>(end - buffer_); }

    // Appends what was gathered.
    void Flush() {
        if (used_ == 0) return;
        text_.append(buffer_, used_);
        used_ = 0;
    }

private:
    static constexpr size_t kMaxDigits = 20;

    void Room(size_t n) {
        if (n > sizeof buffer_ - used_) Flush();
    }

    std::string& text_;
    char buffer_[384];
    size_t used_ = 0;
};
