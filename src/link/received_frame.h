#pragma once
// A received 0x79 module frame read without any text: the header decoded once, the data span,
// a bounded cursor, and whether the frame is a normal answer.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "link/byte_string.h"
#include "link/module_frame.h"
#include "link/word_layouts.h"

// Reads fields in order between the cursor and an end, never past the end.
//
// Byte, Word16, Bytes and Need want their field before the end. A field that does not fit reads
// as zero (or empty) and leaves the cursor where it was; Short() is true from then on.
//
// Has tests without marking. The ...OrZero reads and Advance take what is there: bytes at or past
// the end (or before the frame) read as zero and the cursor always moves.
class FrameCursor {
public:
    // end is cut to the frame's size.
    FrameCursor(const ByteString& frame, long long position, long long end)
        : data_(frame.data()),
          end_(std::min(end, static_cast<long long>(frame.size()))),
          position_(position) {}
    explicit FrameCursor(const ByteString& frame, long long position = 5)
        : FrameCursor(frame, position, static_cast<long long>(frame.size())) {}

    bool Has(size_t n) const { return position_ >= 0 && position_ + static_cast<long long>(n) <= end_; }
    bool Need(size_t n) { return Has(n) || MarkShort(); }

    uint8_t Byte() { return Need(1) ? ByteOrZero() : 0; }
    uint16_t Word16() { return Need(2) ? Word16OrZero() : 0; }  // low byte first
    ByteString Bytes(size_t n) { return Need(n) ? BytesOrZero(n) : ByteString(); }

    uint8_t ByteOrZero() { return At(position_++); }
    uint16_t Word16OrZero() {
        const uint16_t w = static_cast<uint16_t>(At(position_) | At(position_ + 1) << 8);
        position_ += 2;
        return w;
    }
    ByteString BytesOrZero(size_t n);
    // n bytes from the cursor into out, zero past the end; the cursor moves by n.
    void CopyOrZero(unsigned char* out, size_t n) {
        PeekOrZero(out, n);
        position_ += static_cast<long long>(n);
    }
    // The same; the cursor stays.
    void PeekOrZero(unsigned char* out, size_t n) const;
    // Byte i from the cursor, zero past the end; the cursor stays.
    uint8_t PeekOrZero(size_t i) const { return At(position_ + static_cast<long long>(i)); }
    // The n bytes at the cursor when all lie before the end, else null; the cursor stays.
    const unsigned char* Span(size_t n) const { return Has(n) ? data_ + position_ : nullptr; }
    void Advance(size_t n) { position_ += static_cast<long long>(n); }

    long long Position() const { return position_; }
    size_t Remaining() const { return position_ < end_ ? static_cast<size_t>(end_ - position_) : 0; }
    bool Short() const { return short_; }

private:
    uint8_t At(long long i) const { return i >= 0 && i < end_ ? data_[i] : 0; }
    bool MarkShort() {
        short_ = true;
        return false;
    }

    const unsigned char* data_;
    long long end_;
    long long position_;
    bool short_ = false;
};

// The header of a received frame and what it carries. Bytes past the frame's end read as zero.
class ReceivedFrame {
public:
    static constexpr long long kFirstDataByte = 5;

    explicit ReceivedFrame(const ByteString& frame)
        : frame_(frame),
          direction_(control_byte::kDirection.Get(FrameByte(frame, 3))),
          replyStatus_(control_byte::kReplyStatus.Get(FrameByte(frame, 3))),
          initiator_(control_byte::kInitiator.Get(FrameByte(frame, 3))),
          channelType_(control_byte::kChannelType.Get(FrameByte(frame, 3))),
          command_(FrameByte(frame, 4)),
          subCommand_(FrameByte(frame, kFirstDataByte)),
          declaredLength_(FrameWord(frame, 1)),
          dataSize_(frame.size() < kFrameOverhead
                        ? 0
                        : std::min<size_t>(declaredLength_, frame.size() - kFrameOverhead)) {}

    const ByteString& Bytes() const { return frame_; }
    uint8_t Direction() const { return direction_; }      // 1 from the module
    uint8_t ReplyStatus() const { return replyStatus_; }  // 1 for an abnormal answer
    uint8_t Initiator() const { return initiator_; }
    uint8_t ChannelType() const { return channelType_; }
    uint8_t Command() const { return command_; }
    uint8_t SubCommand() const { return subCommand_; }  // the first data byte
    unsigned DeclaredLength() const { return declaredLength_; }

    // The module's answer with a normal status.
    bool IsNormalAnswer() const { return direction_ == 1 && replyStatus_ == 0; }
    // The host's request with a normal status.
    bool IsNormalRequest() const { return direction_ == 0 && replyStatus_ == 0; }

    // The declared data as far as the frame holds them before its two check bytes.
    size_t DataSize() const { return dataSize_; }
    ByteString Data() const { return dataSize_ ? frame_.substr(kFirstDataByte, dataSize_) : ByteString(); }
    // A cursor over the whole frame, the check bytes included.
    FrameCursor Cursor(long long position = kFirstDataByte) const { return FrameCursor(frame_, position); }
    // A cursor over the frame up to its check bytes.
    FrameCursor CursorBeforeChecks(long long position) const {
        return FrameCursor(frame_, position, static_cast<long long>(frame_.size()) - 2);
    }
    // A cursor over the data span.
    FrameCursor DataCursor() const {
        return FrameCursor(frame_, kFirstDataByte, kFirstDataByte + static_cast<long long>(dataSize_));
    }

private:
    const ByteString& frame_;
    uint8_t direction_, replyStatus_, initiator_, channelType_, command_, subCommand_;
    unsigned declaredLength_;
    size_t dataSize_;
};
