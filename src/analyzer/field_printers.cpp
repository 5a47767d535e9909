#include "analyzer/field_printers.h"

#include "platform/text_format.h"

const char kCrLf[] = "\r\n";
const char kIncompleteFrameText[] = "\r\nError:报文不完整\r\n";
const char kStatusLabel[] = "异常状态为：   ";

const char* ErrorStatusName(uint8_t status) {
    switch (status) {
        case 0: return "错误的格式";
        case 1: return "错误的数据单元";
        case 2: return "错误的长度";
        case 3: return "指令字无效";
        case 4: return "RAM空间不足";
        case 5: return "错误的状态";
        default: return "RESV";
    }
}

const char* DeviceModeName(uint8_t mode) {
    switch (mode) {
        case 0: return "不区分设备类型";
        case 1: return "网关";
        case 2: return "云服务器";
        case 3: return "TRM5281/82 MAC地址";
        case 4: return "TRM5207 MAC地址";
        case 5: return "Bluetooth MAC地址";
        default: return "出错";
    }
}

void PrintErrorStatus(uint8_t status, std::string& text) {
    text += ErrorStatusName(status);
    text += kCrLf;
}

void PrintTargetDeviceMode(uint8_t mode, std::string& text) {
    text += "目标设备模式：    ";
    text += DeviceModeName(mode);
    text += kCrLf;
}

void PrintSourceDeviceMode(uint8_t mode, std::string& text) {
    text += "Src 设备模式：    ";
    text += DeviceModeName(mode);
    text += kCrLf;
}

void PrintPasswordMode(uint8_t mode, std::string& text) {
    text += "网络口令模式: ";
    text += mode == 0 ? "初始网络口令" : mode == 1 ? "用户网络口令" : "出错";
    text += kCrLf;
}

void PrintMulticastFlag(uint8_t flag, std::string& text) {
    text += "组播标志：    ";
    text += flag == 0 ? "非组播" : flag == 1 ? "组播" : "出错";
    text += kCrLf;
}

void PrintMulticastBit(uint8_t byte, uint8_t& flag, std::string& text) {
    flag = byte & 1;
    PrintMulticastFlag(flag, text);
}

void PrintNumberLine(uint16_t value, std::string& text) {
    AppendFormat(text, "%u", static_cast<unsigned>(value));
    text += kCrLf;
}

namespace {

void AppendHexByte(std::string& text, unsigned char b) {
    static const char hex[] = "0123456789ABCDEF";
    text.push_back(hex[b >> 4]);
    text.push_back(hex[b & 0x0F]);
}

}  // namespace

void AppendReversedHex(const ByteString& frame, std::string& text, long long from, long long count) {
    for (long long i = from + count - 1; i >= from; --i) AppendHexByte(text, FrameByte(frame, i));
}

void AppendHexRange(const ByteString& frame, std::string& text, long long from, long long count) {
    for (long long i = 0; i < count; ++i) AppendHexByte(text, FrameByte(frame, from + i));
}

void PrintAddress(const ByteString& frame, std::string& text, const int* cursor) {
    AppendReversedHex(frame, text, *cursor, 6);
    text += kCrLf;
}

bool PrintAddressChecked(const ByteString& frame, std::string& text, int* cursor) {
    if (!FieldInside(frame, *cursor, 6)) {
        text += kIncompleteFrameText;
        return false;
    }
    PrintAddress(frame, text, cursor);
    *cursor += 6;
    return true;
}

void PrintMulticastAddress(const ByteString& frame, std::string& text, int* cursor) {
    text += "组播地址：    ";
    AppendReversedHex(frame, text, *cursor, 2);
    text += kCrLf;
    *cursor += 2;
}

void PrintGroupIdList(const ByteString& frame, std::string& text, int* cursor) {
    const unsigned n = FrameByte(frame, *cursor);
    AppendFormat(text, "组地址数目：  %02u\r\n", n);
    *cursor += 1;
    for (unsigned i = 1; i <= n; ++i) {
        AppendFormat(text, "GPID%u: %02X%02X\r\n", i, FrameByte(frame, *cursor + 1), FrameByte(frame, *cursor));
        *cursor += 2;
    }
}

int PrintReversedBytes(const ByteString& frame, std::string& text, uint8_t count, int start) {
    AppendReversedHex(frame, text, start, count);
    text += kCrLf;
    return 1;
}

int PrintIpv4Address(const ByteString& frame, std::string& text, int* position) {
    if (!FieldInside(frame, *position, 4)) {
        text += kIncompleteFrameText;
        return -1;
    }
    const int p = *position;
    AppendFormat(text, "%u.%u.%u.%u", FrameByte(frame, p + 3), FrameByte(frame, p + 2),
                 FrameByte(frame, p + 1), FrameByte(frame, p));
    *position += 4;
    text += kCrLf;
    return *position;
}

int PrintPayload(const ByteString& frame, std::string& text, int* cursor) {
    if (!FieldInside(frame, *cursor, 2)) {
        text += kIncompleteFrameText;
        return -1;
    }
    const unsigned n = FrameWord(frame, *cursor);
    AppendFormat(text, "payload len:  %u\r\n", n);
    *cursor += 2;
    if (!FieldInside(frame, *cursor, n)) {
        text += kIncompleteFrameText;
        return -1;
    }
    text += "payload:  ";
    AppendHexRange(frame, text, *cursor, n);
    text += kCrLf;
    *cursor += static_cast<int>(n);
    return *cursor;
}

void PrintStatusLine(const ByteString& frame, std::string& text) {
    text += kStatusLabel;
    PrintErrorStatus(FrameByte(frame, 5), text);
}
