#include "link/module_frame.h"

void PackControlByte(ByteString& out, const ModuleFrame& f) {
    out.push_back(static_cast<unsigned char>(((f.direction & 1) << 7) | ((f.initiator & 1) << 6) |
                                             ((f.replyStatus & 1) << 5) |
                                             ((f.channelType & 3) << 3) | (f.reserved & 7)));
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

namespace {

struct TextValue {
    const char* text;
    uint8_t value;
};

template <size_t N>
int ReadByText(const TextValue (&table)[N], const std::string& text, uint8_t& field) {
    for (const TextValue& e : table) {
        if (text == e.text) {
            field = e.value;
            break;
        }
    }
    return 1;
}

}  // namespace

int ReadDirectionText(const std::string& text, uint8_t& direction) {
    static const TextValue table[] = {{"主机发出帧", 0}, {"从机发出帧", 1}};
    return ReadByText(table, text, direction);
}

int ReadInitiatorText(const std::string& text, uint8_t& initiator) {
    static const TextValue table[] = {{"主动发起", 1}, {"命令回应", 0}};
    return ReadByText(table, text, initiator);
}

int ReadReplyStatusText(const std::string& text, uint8_t& replyStatus) {
    static const TextValue table[] = {{"正常应答", 0}, {"异常应答", 1}};
    return ReadByText(table, text, replyStatus);
}

int ReadChannelTypeText(const std::string& text, uint8_t& channelType) {
    static const TextValue table[] = {
        {"5281PLC", CHAN_TRM5281_PLC}, {"Bluetooth", CHAN_BLUETOOTH},
        {"WiFi", CHAN_WIFI}, {"5207PLC", CHAN_TRM5207_PLC}};
    return ReadByText(table, text, channelType);
}
