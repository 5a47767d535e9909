#include "link/module_frame.h"

#include "link/header_fields.h"
#include "link/word_layouts.h"

void PackControlByte(ByteString& out, const ModuleFrame& f) {
    using namespace control_byte;
    out.push_back(static_cast<unsigned char>(kDirection.Put(f.direction) | kInitiator.Put(f.initiator) |
                                             kReplyStatus.Put(f.replyStatus) | kChannelType.Put(f.channelType) |
                                             kReserved.Put(f.reserved)));
}

void EncodeFrame(ByteString& out, const ModuleFrame& f) {
    out.assign(1, f.start);
    out.push_back(static_cast<unsigned char>(f.length & 0xFF));
    out.push_back(static_cast<unsigned char>(f.length >> 8));
    PackControlByte(out, f);
    out.push_back(f.command);
    out += f.payload;
    uint8_t sum = 0;
    uint8_t x = 0;
    FrameSum8(out, sum);
    FrameXor8(out, x);
    out.push_back(sum);
    out.push_back(x);
}

int FrameSum8(ByteString bytes, uint8_t& sum) {
    unsigned s = 0;
    for (size_t i = 1; i < bytes.size(); ++i) s += bytes[i];
    sum = static_cast<uint8_t>(s);
    return 1;
}

int FrameXor8(ByteString bytes, uint8_t& x) {
    uint8_t v = 0;
    for (size_t i = 1; i < bytes.size(); ++i) v ^= bytes[i];
    x = v;
    return 1;
}

int ReadDirectionText(const std::string& text, uint8_t& direction) {
    CodeOfText(kDirectionNames, text, direction);
    return 1;
}

int ReadInitiatorText(const std::string& text, uint8_t& initiator) {
    CodeOfText(kInitiatorNames, text, initiator);
    return 1;
}

int ReadReplyStatusText(const std::string& text, uint8_t& replyStatus) {
    CodeOfText(kReplyStatusNames, text, replyStatus);
    return 1;
}

int ReadChannelTypeText(const std::string& text, uint8_t& channelType) {
    CodeOfText(kChannelTypeNames, text, channelType);
    return 1;
}
