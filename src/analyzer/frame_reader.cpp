#include "analyzer/frame_reader.h"

#include <algorithm>

const char kIncompleteFrameText[] = "\r\nError:报文不完整\r\n";

FrameReader::FrameReader(const ByteString& frame, std::string& text, long long position)
    : frame_(frame), text_(text), position_(position) {}

size_t FrameReader::Remaining() const {
    const long long size = static_cast<long long>(frame_.size());
    return position_ < size ? static_cast<size_t>(size - position_) : 0;
}

bool FrameReader::Short() {
    if (ok_) text_ += kIncompleteFrameText;
    ok_ = false;
    return false;
}

uint8_t FrameReader::Byte() { return Need(1) ? ByteOrZero() : 0; }

uint16_t FrameReader::Word16() { return Need(2) ? Word16OrZero() : 0; }

uint8_t FrameReader::ByteOrZero() { return FrameByte(frame_, position_++); }

ByteString FrameReader::Bytes(size_t n) { return Need(n) ? BytesOrZero(n) : ByteString(); }

ByteString FrameReader::BytesOrZero(size_t n) {
    ByteString out(n, 0);
    // The part inside the frame in one copy; the rest stays zero.
    const long long end = position_ + static_cast<long long>(n);
    const long long from = std::max(position_, 0LL);
    const long long to = std::min(end, static_cast<long long>(frame_.size()));
    if (from < to) std::copy(frame_.begin() + from, frame_.begin() + to, out.begin() + (from - position_));
    position_ = end;
    return out;
}

void FrameReader::CopyOrZero(unsigned char* out, size_t n) {
    PeekOrZero(out, n);
    position_ += static_cast<long long>(n);
}

void FrameReader::PeekOrZero(unsigned char* out, size_t n) const {
    if (const unsigned char* inside = Span(n)) {
        std::copy(inside, inside + n, out);
        return;
    }
    for (size_t i = 0; i < n; ++i) out[i] = FrameByte(frame_, position_ + static_cast<long long>(i));
}
