#include "link/received_frame.h"

#include <algorithm>

#include "link/module_frame.h"
#include "link/word_layouts.h"

FrameCursor::FrameCursor(const ByteString& frame, long long position, long long end)
    : data_(frame.data()),
      end_(std::min(end, static_cast<long long>(frame.size()))),
      position_(position) {}

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

ReceivedFrame::ReceivedFrame(const ByteString& frame) : frame_(frame) {
    using namespace control_byte;
    const uint8_t control = FrameByte(frame, 3);
    direction_ = kDirection.Get(control);
    replyStatus_ = kReplyStatus.Get(control);
    initiator_ = kInitiator.Get(control);
    channelType_ = kChannelType.Get(control);
    command_ = FrameByte(frame, 4);
    subCommand_ = FrameByte(frame, kFirstDataByte);
    declaredLength_ = FrameWord(frame, 1);
    dataSize_ = frame.size() < kFrameOverhead ? 0 : std::min<size_t>(declaredLength_, frame.size() - kFrameOverhead);
}
