// Smart-monitor and reset-information frames.

#include "analyzer/monitor_reset_analyzers.h"

#include "analyzer/control_field.h"
#include "analyzer/field_printers.h"
#include "link/sub_commands.h"
#include "platform/text_format.h"

namespace {

enum class Frame { HostRequest, HostAbnormal, Reply, Abnormal };

Frame KindOf(const ByteString& frame) {
    const bool abnormal = GetRespBit(frame) == 1;
    if (GetDirectionBit(frame) == 0) return abnormal ? Frame::HostAbnormal : Frame::HostRequest;
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
void PrintMac(FrameReader& in, std::string& text) {
    text += "MAC地址： ";
    AppendHexReversed(in.BytesOrZero(6), text);
}

// The address mode, the multicast address when its flag is set, and the device address; the
// cursor stays on the device address.
void PrintRemoteRequest(const ByteString& frame, FrameReader& in, std::string& text) {
    uint8_t multicast = 0;
    PrintMulticastBit(in.ByteOrZero(), multicast, text);
    if (multicast == 1) PrintMulticastAddress(in, text);
    ByteString mac;
    for (int i = 0; i < 6; ++i) mac.push_back(FrameByte(frame, in.Position() + i));
    text += "MAC地址： ";
    AppendHexReversed(mac, text);
}

void ReadLocal(const ByteString& frame, FrameReader& in, std::string& text) {
    const unsigned length = FrameDataLength(frame);
    switch (KindOf(frame)) {
        case Frame::HostRequest: text += length == 1 ? "读取本地复位信息请求" : "读取本地复位信息请求错误"; break;
        case Frame::HostAbnormal: text += "读取本地复位信息请求错误"; break;
        case Frame::Reply:
            if (length == 21) {
                text += "读取本地复位信息回复";
                text += kCrLf;
                PrintResetCounters(in, text);
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
                text += "读取远程复位信息请求";
                text += kCrLf;
                PrintRemoteRequest(frame, in, text);
            } else {
                text += "读取远程复位信息请求错误";
            }
            break;
        case Frame::HostAbnormal: text += "读取远程复位信息请求异常"; break;
        case Frame::Reply:
            if (length == 27) {
                text += "远程读取复位信息回复成功";
                text += kCrLf;
                PrintMac(in, text);
                text += kCrLf;
                PrintResetCounters(in, text);
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
                text += "清除远程复位信息请求";
                text += kCrLf;
                PrintRemoteRequest(frame, in, text);
            }
            break;
        case Frame::HostAbnormal: text += "清除远程复位信息请求异常"; break;
        case Frame::Reply:
            if (length == 7) {
                text += "清除远程复位信息回复成功";
                text += kCrLf;
                PrintMac(in, text);
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
    const uint8_t sub = FrameByte(frame, FrameReader::kFirstDataByte);
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

void PrintResetCounters(FrameReader& in, std::string& text) {
    text += "复位标志: 0x";
    AppendHexReversed(in.BytesOrZero(4), text);
    text += kCrLf;
    const char* labels[] = {"软件复位次数: ", "看门狗复位次数:   ", "掉电复位次数: ", "外部复位次数: "};
    for (const char* label : labels) {
        const ByteString b = in.BytesOrZero(4);
        const uint32_t count = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
        // Unsigned: a count of 2^31 or more is no negative number.
        text += label;
        text += std::to_string(count);
        text += kCrLf;
    }
}
