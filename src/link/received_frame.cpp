#include "link/received_frame.h"

#include <algorithm>

ByteString FrameCursor::BytesOrZero(size_t n) {
    ByteString out(n, 0);
    PeekOrZero(out.data(), n);
    position_ += static_cast<long long>(n);
    return out;
}

void FrameCursor::PeekOrZero(unsigned char* out, size_t n) const {
    if (Has(n)) {
        std::copy(data_ + position_, data_ + position_ + static_cast<long long>(n), out);
        return;
    }
    // The part before the end in one copy; the rest is zero.
    const long long to = std::min(position_ + static_cast<long long>(n), end_);
    const long long from = std::max(position_, 0LL);
    std::fill(out, out + n, 0);
    if (from < to) std::copy(data_ + from, data_ + to, out + (from - position_));
}
