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

    // The bytes from the last to the first, as "%02X" pairs.
    TextPieces& HexReversed(const unsigned char* bytes, size_t n) {
        for (size_t i = n; i-- > 0;) Hex(bytes[i]);
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
