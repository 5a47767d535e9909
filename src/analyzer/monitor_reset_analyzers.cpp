// Smart-monitor and reset-information frames.

#include "analyzer/monitor_reset_analyzers.h"

#include <iterator>
#include <string_view>

#include "analyzer/field_printers.h"
#include "analyzer/text_pieces.h"
#include "link/reset_statistics.h"
#include "link/sub_commands.h"
#include "platform/text_format.h"

namespace {

enum class Frame { HostRequest, HostAbnormal, Reply, Abnormal };

Frame KindOf(const ByteString& frame) {
    const ReceivedFrame f(frame);
    const bool abnormal = f.ReplyStatus() == 1;
    if (f.Direction() == 0) return abnormal ? Frame::HostAbnormal : Frame::HostRequest;
    return abnormal ? Frame::Abnormal : Frame::Reply;
}

// The texts of a switch and the flag its success leaves.
struct MonitorSwitch {
    const char *request, *hostAbnormal, *success, *failure;
    bool on;
};

constexpr MonitorSwitch kMonitorOff{"关闭智能监控模式请求帧", "关闭智能监控模式异常请求", "关闭智能监控模式成功",
                                    "关闭智能监控模式异常", false};
constexpr MonitorSwitch kMonitorOn{"开启智能监控模式请求帧", "开启智能监控模式异常请求", "开启智能监控模式成功",
                                   "开启智能监控模式异常", true};

void AnalyzeSmartMonitor(const ByteString& frame, const MonitorSwitch& s, std::string& text, AnalyzerSink& sink) {
    switch (KindOf(frame)) {
        case Frame::HostRequest: text += s.request; break;
        case Frame::HostAbnormal: text += s.hostAbnormal; break;
        case Frame::Reply:
            if (FrameDataLength(frame) == 1) {
                text += s.success;
                sink.SetDescramble(s.on);
                break;
            }
            [[fallthrough]];
        case Frame::Abnormal:
            // A failed switch leaves the mode as it was before.
            text += s.failure;
            sink.SetDescramble(!s.on);
            break;
    }
    text += kCrLf;
}

// "MAC地址： " and the six bytes at the cursor, last first, without a line break.
void PrintMac(FrameReader& in, TextPieces& out) {
    unsigned char mac[6];
    in.CopyOrZero(mac, sizeof mac);
    out << "MAC地址： ";
    out.HexReversed(mac, sizeof mac);
}

// The address mode, the multicast address when its flag is set, and the device address; the
// cursor stays on the device address.
void PrintRemoteRequest(FrameReader& in, std::string& text) {
    uint8_t multicast = 0;
    PrintMulticastBit(in.ByteOrZero(), multicast, text);
    if (multicast == 1) PrintMulticastAddress(in, text);
    unsigned char mac[6];
    in.PeekOrZero(mac, sizeof mac);
    text += "MAC地址： ";
    AppendHexReversed(mac, sizeof mac, text);
}

void ReadLocal(const ByteString& frame, FrameReader& in, std::string& text) {
    const unsigned length = FrameDataLength(frame);
    switch (KindOf(frame)) {
        case Frame::HostRequest: text += length == 1 ? "读取本地复位信息请求" : "读取本地复位信息请求错误"; break;
        case Frame::HostAbnormal: text += "读取本地复位信息请求错误"; break;
        case Frame::Reply:
            if (length == 21) {
                TextPieces out(text);
                out << "读取本地复位信息回复\r\n";
                PrintResetCounters(in, out);
            } else {
                text += "读取本地复位信息回复错误";
            }
            break;
        case Frame::Abnormal: text += "读取本地复位信息回复异常帧"; break;
    }
    text += kCrLf;
}

void ClearLocal(const ByteString& frame, FrameReader&, std::string& text) {
    const unsigned length = FrameDataLength(frame);
    switch (KindOf(frame)) {
        case Frame::HostRequest: text += length == 1 ? "清除本地复位信息请求" : "清除本地复位信息请求错误"; break;
        case Frame::HostAbnormal: text += "清除本地复位信息请求错误"; break;
        case Frame::Reply: text += length == 1 ? "清除本地复位信息成功" : "清除本地复位信息失败"; break;
        case Frame::Abnormal: text += "清除本地复位信息异常回复"; break;
    }
    text += kCrLf;
}

void ReadRemote(const ByteString& frame, FrameReader& in, std::string& text) {
    const unsigned length = FrameDataLength(frame);
    switch (KindOf(frame)) {
        case Frame::HostRequest:
            if (length >= 8) {
                text += "读取远程复位信息请求\r\n";
                PrintRemoteRequest(in, text);
            } else {
                text += "读取远程复位信息请求错误";
            }
            break;
        case Frame::HostAbnormal: text += "读取远程复位信息请求异常"; break;
        case Frame::Reply:
            if (length == 27) {
                TextPieces out(text);
                out << "远程读取复位信息回复成功\r\n";
                PrintMac(in, out);
                out << "\r\n";
                PrintResetCounters(in, out);
            } else {
                text += "远程读取复位信息回复异常";
            }
            break;
        case Frame::Abnormal: text += "远程读取复位信息回复异常"; break;
    }
    text += kCrLf;
}

void ClearRemote(const ByteString& frame, FrameReader& in, std::string& text) {
    const unsigned length = FrameDataLength(frame);
    switch (KindOf(frame)) {
        case Frame::HostRequest:
            if (length >= 8) {
                text += "清除远程复位信息请求\r\n";
                PrintRemoteRequest(in, text);
            }
            break;
        case Frame::HostAbnormal: text += "清除远程复位信息请求异常"; break;
        case Frame::Reply:
            if (length == 7) {
                TextPieces out(text);
                out << "清除远程复位信息回复成功\r\n";
                PrintMac(in, out);
            } else {
                text += "清除远程复位信息失败";
            }
            break;
        case Frame::Abnormal: text += "清除远程复位回复异常"; break;
    }
    text += "\r\n\r\n";
}

using ResetAnalyzer = void (*)(const ByteString&, FrameReader&, std::string&);
const ResetAnalyzer kResetAnalyzers[] = {ReadLocal, ClearLocal, ReadRemote, ClearRemote};
static_assert(sizeof(kResetAnalyzers) / sizeof(kResetAnalyzers[0]) == RESET_INFO_CLEAR_REMOTE + 1);

}  // namespace

int DispatchSmartMonitorAnalyzer(const ByteString& frame, std::string& text, AnalyzerSink& sink) {
    const uint8_t sub = ReceivedFrame(frame).SubCommand();
    if (sub == 0) AnalyzeSmartMonitor(frame, kMonitorOff, text, sink);
    if (sub == 1) AnalyzeSmartMonitor(frame, kMonitorOn, text, sink);
    return FrameReader::kFirstDataByte + 1;
}

int DispatchResetInfoAnalyzer(const ByteString& frame, std::string& text) {
    FrameReader in(frame, text);
    if (!in.Need(1)) return -1;
    const uint8_t sub = in.Byte();
    if (sub <= RESET_INFO_CLEAR_REMOTE) kResetAnalyzers[sub](frame, in, text);
    return in.Position();
}

// Flags, then the software, watchdog, power-down and external counts, one line each.
void PrintResetCounters(FrameReader& in, TextPieces& out) {
    static constexpr std::string_view kLabels[] = {"\r\n软件复位次数: ", "\r\n看门狗复位次数:   ",
                                                   "\r\n掉电复位次数: ", "\r\n外部复位次数: "};
    const ResetCounters counters = ReadResetCounters(in);
    out << "复位标志: 0x";
    out.HexReversed(counters.word, sizeof counters.word);
    for (size_t k = 0; k < std::size(kLabels); ++k) {
        // Unsigned: a count of 2^31 or more is no negative number.
        out << kLabels[k];
        out.Decimal(counters.counts[k]);
    }
    out << "\r\n";
}
