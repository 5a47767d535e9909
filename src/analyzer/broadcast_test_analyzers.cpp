// Broadcast reply test and BLE configuration frames.

#include "analyzer/broadcast_test_analyzers.h"

#include <string_view>

#include "analyzer/field_printers.h"
#include "analyzer/frame_reader.h"
#include "analyzer/text_pieces.h"
#include "link/broadcast_test.h"
#include "link/received_frame.h"
#include "link/sub_commands.h"
#include "link/word_layouts.h"

namespace {

// Title; for the frame's own direction the address, index and signed 32-bit data.
void AnalyzeConfigBle(const ByteString& frame, bool fields, std::string_view title, std::string_view error,
                      std::string& text) {
    TextPieces out(text);
    out << title << "\r\n";
    if (fields) {
        FrameReader in(frame, text);
        unsigned char mac[6];
        in.CopyOrZero(mac, sizeof mac);
        const unsigned index = in.ByteOrZero();
        unsigned char b[4];
        in.CopyOrZero(b, sizeof b);
        const uint32_t data = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
        out << "MAC地址：";
        out.HexReversed(mac, sizeof mac) << "\r\nindex:    ";
        out.Decimal(index) << "\r\ndata: ";
        out.Decimal(static_cast<int32_t>(data));
    } else {
        out << error;
    }
    out << "\r\n";
}

}  // namespace

void DispatchBroadcastReplyTestAnalyzer(const ByteString& frame, std::string& text) {
    switch (ReceivedFrame(frame).SubCommand()) {
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
    (TextPieces(text) << "Depth:    ").Decimal(flags.depth) << kCrLf;
    PrintPasswordMode(flags.passwordMode, text);
}

void AnalyzeBroadcastReplyTestRequest(const ByteString& frame, std::string& text) {
    text += "广播应答测试请求帧\r\n";
    if (!ReceivedFrame(frame).IsNormalRequest()) return;
    FrameReader in(frame, text, FrameReader::kFirstDataByte + 1);
    BroadcastTestRequestFlags flags;
    PrintBroadcastTestRequestFlags(in.ByteOrZero(), flags, text);
    if (flags.multicast == 1) PrintMulticastAddress(in, text);
    const uint8_t dsn = in.ByteOrZero();
    const unsigned interval = in.Word16OrZero();
    const unsigned count = in.ByteOrZero();
    const unsigned length = in.Word16OrZero();
    TextPieces out(text);
    out << "BRD DSN:  0x ";
    out.Hex(dsn) << "\r\n应答上报间隔：    ";
    out.Decimal(interval) << "\r\n上报次数：    ";
    out.Decimal(count) << "\r\n数据长度：    ";
    out.Decimal(length) << "\r\n";
}

void AnalyzeBroadcastReplyTestReply(const ByteString& frame, std::string& text) {
    text += "广播应答测试应答帧\r\n";
    if (!ReceivedFrame(frame).IsNormalAnswer()) return;
    FrameReader in(frame, text, FrameReader::kFirstDataByte + 1);
    BroadcastTestReplyFlags flags;
    PrintBroadcastTestReplyFlags(in.ByteOrZero(), flags, text);
    if (flags.multicast == 1) PrintMulticastAddress(in, text);
    text += "src add:  ";
    if (!in.Need(6)) return;
    // From the source address on, fields past the frame's end read as zero.
    const BroadcastTestReplyLayout at = BroadcastTestReplyOffsets(flags.multicast == 1);
    const auto field = [&frame](size_t d) {
        return FrameCursor(frame, FrameReader::kFirstDataByte + static_cast<long long>(d));
    };
    unsigned char source[6];
    field(at.source).PeekOrZero(source, sizeof source);
    const unsigned dsn = field(at.sequence).ByteOrZero();
    const unsigned interval = field(at.interval).Word16OrZero();
    const unsigned count = field(at.reportCount).ByteOrZero();
    const unsigned current = field(at.currentCount).ByteOrZero();
    const unsigned length = field(at.dataLength).Word16OrZero();
    TextPieces out(text);
    out.HexReversed(source, sizeof source) << "\r\nDsn:  ";
    out.Decimal(dsn) << "\r\n应答上报间隔：    ";
    out.Decimal(interval) << "\r\n上报次数：    ";
    out.Decimal(count) << "\r\n当前上报次数：    ";
    out.Decimal(current) << "\r\n数据长度：    ";
    out.Decimal(length) << "\r\n";
}

void AnalyzeConfigBleRequest(const ByteString& frame, std::string& text) {
    AnalyzeConfigBle(frame, ReceivedFrame(frame).IsNormalRequest(), "配置BLE请求帧", "配置BLE参数请求帧出错", text);
}

void AnalyzeConfigBleReply(const ByteString& frame, std::string& text) {
    AnalyzeConfigBle(frame, ReceivedFrame(frame).IsNormalAnswer(), "配置BLE回复帧", "配置BLE参数回复帧出错", text);
}
