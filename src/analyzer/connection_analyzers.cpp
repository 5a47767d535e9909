// Start connection, link state report and delete connection frames.

#include "analyzer/connection_analyzers.h"

#include "analyzer/analyzer_common.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"

using namespace analyzer_detail;

namespace {

constexpr int kStopped = -1;
constexpr long long kPeerPosition = FrameReader::kFirstDataByte + 2;
constexpr uint8_t kCloudServer = 2;
constexpr unsigned kShortestRequest = 8;

void AppendLine(const char* label, const char* name, std::string& text) {
    text += label;
    text += name;
    text += kCrLf;
}

void PrintIpLine(const char* label, FrameReader& in, std::string& text) {
    text += label;
    PrintIpv4Address(in, text);
}

// A port past the frame's end reads as 0.
void PrintPortLine(const char* label, FrameReader& in, std::string& text) {
    text += label;
    PrintNumberLine(in.Word16OrZero(), text);
}

// Where the stop tests of a cloud server's socket pair fall: the source port's before the source
// address or after it; the destination port's, or none.
struct PeerChecks {
    bool sourceFirst;
    bool destinationPort;
};

// The peer from the cursor: the socket pair for a cloud server, else the device address. False
// after the stop.
bool PrintPeer(FrameReader& in, std::string& text, uint8_t targetMode, PeerChecks checks) {
    if (targetMode != kCloudServer) {
        if (!in.NeedEachTime(6)) return false;
        text += "Dst addr: ";
        PrintAddress(in, text);
        return true;
    }
    if (checks.sourceFirst && !in.NeedEachTime(6)) return false;
    PrintIpLine("Src IP:   ", in, text);
    if (!checks.sourceFirst && !in.NeedEachTime(6)) return false;
    PrintPortLine("Src port:     ", in, text);
    PrintIpLine("Dst IP:   ", in, text);
    if (checks.destinationPort && !in.NeedEachTime(2)) return false;
    PrintPortLine("Dst port:     ", in, text);
    return true;
}

// A request's mode word, when both its bytes are inside the frame.
bool ReadRequestWord(const ByteString& frame, std::string& text, uint16_t& word) {
    FrameReader in(frame, text);
    if (!in.Need(2)) return false;
    word = in.Word16OrZero();
    return true;
}

}  // namespace

int AnalyzeStartConnection(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "开始链接帧";
    text += kCrLf;
    if (b.normalAnswer) {
        text += "开始连接成功";
    } else if (b.dir == 1) {
        if (b.length == 1) PrintStatusLine(b.status, text);
    } else if (b.resp == 0) {
        uint16_t word = 0;
        if (b.length < kShortestRequest) {
            text += "开始连接帧错误";
        } else if (!ReadRequestWord(frame, text, word)) {
            return kStopped;
        } else {
            PrintStartConnectionFields(word, text, frame);
        }
    }
    text += kCrLf;
    return 0;
}

int AnalyzeLinkStateReport(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "连接状态上报帧";
    text += kCrLf;
    if (b.dir == 0) {
        if (b.resp == 0 && b.length == 0)
            text += "连接状态上报成功";
        else if (b.resp == 1 && b.length == 1)
            PrintStatusLine(b.status, text);
        else
            text += "连接状态上报回复帧错误";
    } else if (b.resp == 0) {
        if (!in.Need(2)) return kStopped;
        ConnectionModes modes;
        UnpackConnectionStateWord(modes, in.Word16OrZero());
        PrintSourceDeviceMode(modes.sourceMode, text);
        PrintTargetDeviceMode(modes.targetMode, text);
        if (!PrintPeer(in, text, modes.targetMode, {false, true})) return kStopped;
        if (!in.NeedEachTime(1)) return kStopped;
        PrintConnectionState(in.ByteOrZero(), text);
    }
    return in.Position();
}

int AnalyzeDeleteConnection(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "删除链接帧";
    text += kCrLf;
    if (b.normalAnswer) {
        text += b.length == 0 ? "删除链接成功" : "回复帧错误";
    } else if (b.dir == 1) {
        if (b.length == 1) PrintStatusLine(b.status, text);
    } else {
        uint16_t word = 0;
        if (b.length < kShortestRequest) {
            text += "删除连接帧错误";
        } else if (!ReadRequestWord(frame, text, word)) {
            return kStopped;
        } else {
            PrintDeleteConnectionFields(word, text, frame);
        }
    }
    text += kCrLf;
    return static_cast<int>(FrameReader::kFirstDataByte);
}

int PrintStartConnectionFields(uint16_t word, std::string& text, const ByteString& frame) {
    using namespace connection_word;
    const uint8_t target = kTargetMode.Get(word);
    PrintSourceDeviceMode(kSourceMode.Get(word), text);
    PrintTargetDeviceMode(target, text);
    PrintConnectionType(kConnectionType.Get(word), text);
    FrameReader in(frame, text, kPeerPosition);
    return PrintPeer(in, text, target, {false, false}) ? in.Position() : kStopped;
}

int PrintDeleteConnectionFields(uint16_t word, std::string& text, const ByteString& frame) {
    using namespace connection_word;
    const uint8_t target = kTargetMode.Get(word);
    PrintSourceDeviceMode(kSourceMode.Get(word), text);
    PrintTargetDeviceMode(target, text);
    FrameReader in(frame, text, kPeerPosition);
    return PrintPeer(in, text, target, {true, false}) ? in.Position() : kStopped;
}

void UnpackConnectionStateWord(ConnectionModes& modes, uint16_t word) {
    modes.sourceMode = connection_word::kSourceMode.Get(word);
    modes.targetMode = connection_word::kTargetMode.Get(word);
}

void PrintConnectionType(uint8_t code, std::string& text) {
    AppendLine("连接类型：    ", TextOfCode(kProtocolNames, code, ""), text);
}

void PrintConnectionState(uint8_t code, std::string& text) {
    AppendLine("连接状态：    ", TextOfCode(kConnectionStateNames, code, "错误状态"), text);
}

void PrintIpFlag(uint8_t code, std::string& text) { AppendLine("IP flag:  ", TextOfCode(kIpFlagNames, code, "保留"), text); }

void PrintTransferMode(uint8_t code, std::string& text) {
    AppendLine("传输方式：    ", TextOfCode(kTransferModeNames, code, "出错"), text);
}

void PrintPhase(uint8_t code, std::string& text) { AppendLine("Phase:        ", TextOfCode(kPhaseNames, code, "出错  "), text); }
