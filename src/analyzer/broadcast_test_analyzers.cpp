// Broadcast reply test and BLE configuration frames.

#include "analyzer/broadcast_test_analyzers.h"

#include "analyzer/control_field.h"
#include "analyzer/field_printers.h"
#include "analyzer/frame_reader.h"
#include "link/sub_commands.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"

namespace {

bool IsHostRequest(const ByteString& frame) { return GetDirectionBit(frame) == 0 && GetRespBit(frame) == 0; }
bool IsModuleReply(const ByteString& frame) { return GetDirectionBit(frame) == 1 && GetRespBit(frame) == 0; }

void NumberLine(const char* label, unsigned value, std::string& text) {
    text += label;
    text += std::to_string(value);
    text += kCrLf;
}

// Title; for the frame's own direction the address, index and signed 32-bit data.
void AnalyzeConfigBle(const ByteString& frame, bool fields, const char* title, const char* error,
                      std::string& text) {
    text += title;
    text += kCrLf;
    if (fields) {
        FrameReader in(frame, text);
        text += "MAC地址：";
        PrintAddress(in, text);
        NumberLine("index:    ", in.ByteOrZero(), text);
        const ByteString b = in.BytesOrZero(4);
        const uint32_t data = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
        AppendFormat(text, "data: %d", static_cast<int>(static_cast<int32_t>(data)));
    } else {
        text += error;
    }
    text += kCrLf;
}

}  // namespace

void DispatchBroadcastReplyTestAnalyzer(const ByteString& frame, std::string& text) {
    switch (FrameByte(frame, FrameReader::kFirstDataByte)) {
        case BROADCAST_TEST_REQUEST: AnalyzeBroadcastReplyTestRequest(frame, text); break;
        case BROADCAST_TEST_REPLY: AnalyzeBroadcastReplyTestReply(frame, text); break;
        default: break;
    }
}

void PrintBroadcastTestRequestFlags(uint8_t byte, BroadcastTestRequestFlags& flags, std::string& text) {
    using namespace broadcast_test_request_flags;
    flags = BroadcastTestRequestFlags{kMulticast.Get(byte), kPasswordMode.Get(byte), 0};
    PrintMulticastFlag(flags.multicast, text);
    PrintPasswordMode(flags.passwordMode, text);
}

void PrintBroadcastTestReplyFlags(uint8_t byte, BroadcastTestReplyFlags& flags, std::string& text) {
    using namespace broadcast_test_reply_flags;
    flags = BroadcastTestReplyFlags{kMulticast.Get(byte), kDepth.Get(byte), kPasswordMode.Get(byte), 0};
    PrintMulticastFlag(flags.multicast, text);
    NumberLine("Depth:    ", flags.depth, text);
    PrintPasswordMode(flags.passwordMode, text);
}

void AnalyzeBroadcastReplyTestRequest(const ByteString& frame, std::string& text) {
    text += "广播应答测试请求帧";
    text += kCrLf;
    if (!IsHostRequest(frame)) return;
    FrameReader in(frame, text, FrameReader::kFirstDataByte + 1);
    BroadcastTestRequestFlags flags;
    PrintBroadcastTestRequestFlags(in.ByteOrZero(), flags, text);
    if (flags.multicast == 1) PrintMulticastAddress(in, text);
    AppendFormat(text, "BRD DSN:  0x %02X", in.ByteOrZero());
    text += kCrLf;
    NumberLine("应答上报间隔：    ", in.Word16OrZero(), text);
    NumberLine("上报次数：    ", in.ByteOrZero(), text);
    NumberLine("数据长度：    ", in.Word16OrZero(), text);
}

void AnalyzeBroadcastReplyTestReply(const ByteString& frame, std::string& text) {
    text += "广播应答测试应答帧";
    text += kCrLf;
    if (!IsModuleReply(frame)) return;
    FrameReader in(frame, text, FrameReader::kFirstDataByte + 1);
    BroadcastTestReplyFlags flags;
    PrintBroadcastTestReplyFlags(in.ByteOrZero(), flags, text);
    if (flags.multicast == 1) PrintMulticastAddress(in, text);
    text += "src add:  ";
    if (!PrintAddressChecked(in, text)) return;
    NumberLine("Dsn:  ", in.ByteOrZero(), text);
    NumberLine("应答上报间隔：    ", in.Word16OrZero(), text);
    NumberLine("上报次数：    ", in.ByteOrZero(), text);
    NumberLine("当前上报次数：    ", in.ByteOrZero(), text);
    NumberLine("数据长度：    ", in.Word16OrZero(), text);
}

void AnalyzeConfigBleRequest(const ByteString& frame, std::string& text) {
    AnalyzeConfigBle(frame, IsHostRequest(frame), "配置BLE请求帧", "配置BLE参数请求帧出错", text);
}

void AnalyzeConfigBleReply(const ByteString& frame, std::string& text) {
    AnalyzeConfigBle(frame, IsModuleReply(frame), "配置BLE回复帧", "配置BLE参数回复帧出错", text);
}
