#pragma once
// Reads the fields of one module frame in order from a cursor, never past the frame's end.

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/byte_string.h"

extern const char kIncompleteFrameText[];  // "\r\nError:报文不完整\r\n"

// The bound is the whole frame as handed over, the two check bytes included.
//
// Byte, Word16, Bytes and Need want their field inside the frame. A field that does not fit
// reads as zero (or empty) and leaves the cursor where it was; the first one also appends the
// incomplete-frame text to the explanation, and ok() is false from then on.
//
// The ...OrZero reads and Advance take what is there: bytes past the end read as zero, nothing
// is reported and the cursor always moves.
class FrameReader {
public:
    static constexpr long long kFirstDataByte = 5;

    FrameReader(const ByteString& frame, std::string& text, long long position = kFirstDataByte);

    uint8_t Byte();
    uint16_t Word16();  // low byte first
    ByteString Bytes(size_t n);
    // The test alone: true when n bytes from the cursor are inside the frame; the cursor stays.
    bool Need(size_t n) {
        return position_ + static_cast<long long>(n) <= static_cast<long long>(frame_.size()) || Short();
    }

    uint8_t ByteOrZero();
    uint16_t Word16OrZero() {
        const uint16_t w = FrameWord(frame_, position_);
        position_ += 2;
        return w;
    }
    ByteString BytesOrZero(size_t n);
    // n bytes from the cursor into out, zero past the end; the cursor moves by n.
    void CopyOrZero(unsigned char* out, size_t n);
    // The same; the cursor stays.
    void PeekOrZero(unsigned char* out, size_t n) const;
    // The n bytes at the cursor when all are inside the frame, else null; the cursor stays.
    const unsigned char* Span(size_t n) const {
        return position_ >= 0 && position_ + static_cast<long long>(n) <= static_cast<long long>(frame_.size())
                   ? frame_.data() + position_
                   : nullptr;
    }
    // Byte i from the cursor, zero past the end; the cursor stays.
    uint8_t PeekOrZero(size_t i) const { return FrameByte(frame_, position_ + static_cast<long long>(i)); }
    void Advance(size_t n) { position_ += static_cast<long long>(n); }

    int Position() const { return static_cast<int>(position_); }
    size_t Remaining() const;
    bool ok() const { return ok_; }

private:
    bool Short();  // reports a field past the end; false

    const ByteString& frame_;
    std::string& text_;
    long long position_;
    bool ok_ = true;
};
