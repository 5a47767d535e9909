#pragma once
// The 0x79 module frame: the record senders fill, and its wire encoding.
//
// Wire layout: 0x79, data length L (16 bits, little-endian), control byte, command byte,
// L data bytes, 8-bit sum and 8-bit XOR of every byte after the start byte.

#include <cstdint>
#include <string>

#include "link/byte_string.h"

constexpr unsigned char kFrameStart = 0x79;
constexpr size_t kFrameOverhead = 7;

enum ChannelType : uint8_t {
    CHAN_TRM5281_PLC = 0,
    CHAN_BLUETOOTH = 1,
    CHAN_WIFI = 2,
    CHAN_TRM5207_PLC = 3,
};

// Bits of the control byte.
enum ControlFieldBits : uint8_t {
    CF_DIR = 0x80,        // 1: sent by the module
    CF_PRM = 0x40,        // 1: initiated by the sender
    CF_RESP = 0x20,       // 1: abnormal answer
    CF_CHAN_TYPE = 0x18,  // ChannelType << 3
    CF_RESERVED = 0x07,
};

struct ControlField {
    uint8_t direction = 0;
    uint8_t initiator = 0;
    uint8_t replyStatus = 0;
    uint8_t channelType = 0;
    uint8_t reserved = 0;
};

struct ModuleFrame {
    uint8_t start = kFrameStart;
    uint16_t length = 0;
    uint8_t direction = 0;
    uint8_t initiator = 0;
    uint8_t replyStatus = 0;
    uint8_t channelType = 0;
    uint8_t reserved = 0;
    uint8_t command = 0;
    ByteString payload;
};

// Appends the control byte built from the frame's control fields.
void PackControlByte(ByteString& out, const ModuleFrame& frame);

// Builds the wire frame, replacing what out held. The length bytes come from frame.length.
void EncodeFrame(ByteString& out, const ModuleFrame& frame);

// Sum and XOR of every byte from index 1 to the end; both return 1.
int FrameSum8(ByteString bytes, uint8_t& sum);
int FrameXor8(ByteString bytes, uint8_t& x);

// The header combo texts and the control field values they stand for. A text that matches
// none of the entries leaves the field unchanged. Each returns 1.
int ReadDirectionText(const std::string& text, uint8_t& direction);
int ReadInitiatorText(const std::string& text, uint8_t& initiator);
int ReadReplyStatusText(const std::string& text, uint8_t& replyStatus);
int ReadChannelTypeText(const std::string& text, uint8_t& channelType);
