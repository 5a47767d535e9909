#pragma once
// Reads the fields of one module frame in order from a cursor, never past the frame's end, and
// says so in the explanation when the frame is cut short.

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/byte_string.h"
#include "link/received_frame.h"

extern const char kIncompleteFrameText[];  // "\r\nError:报文不完整\r\n"

// The bound is the whole frame as handed over, the two check bytes included.
//
// Byte, Word16, Bytes and Need want their field inside the frame. A field that does not fit reads
// as zero (or empty) and leaves the cursor where it was; the first one also appends the
// incomplete-frame text to the explanation, and ok() is false from then on.
//
// The ...OrZero reads and Advance take what is there: bytes past the end read as zero, nothing
// is reported and the cursor always moves.
class FrameReader : public FrameCursor {
public:
    static constexpr long long kFirstDataByte = ReceivedFrame::kFirstDataByte;

    FrameReader(const ByteString& frame, std::string& text, long long position = kFirstDataByte)
        : FrameCursor(frame, position), text_(text) {}

    uint8_t Byte() { return Need(1) ? ByteOrZero() : 0; }
    uint16_t Word16() { return Need(2) ? Word16OrZero() : 0; }  // low byte first
    ByteString Bytes(size_t n) { return Need(n) ? BytesOrZero(n) : ByteString(); }
    // The test alone: true when n bytes from the cursor are inside the frame; the cursor stays.
    bool Need(size_t n) {
        const bool reported = Short();
        if (FrameCursor::Need(n)) return true;
        if (!reported) text_ += kIncompleteFrameText;
        return false;
    }

    // The stop test of explanations that report every field that does not fit: true when n bytes
    // from the cursor are inside the frame, else the incomplete-frame text, each time; ok() stays.
    bool NeedEachTime(size_t n) {
        if (Has(n)) return true;
        text_ += kIncompleteFrameText;
        return false;
    }

    int Position() const { return static_cast<int>(FrameCursor::Position()); }
    bool ok() const { return !Short(); }

private:
    std::string& text_;
};
