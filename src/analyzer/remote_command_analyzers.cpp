// Analyzers of the remote commands 0x50-0x5D and of broadcast 0x16.

#include "analyzer/remote_command_analyzers.h"

#include "analyzer/analyzer_common.h"
#include "analyzer/field_printers.h"
#include "analyzer/local_analyzers.h"
#include "analyzer/remote_password_analyzers.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"

using analyzer_detail::Branch;
using analyzer_detail::PrintCheckedMulticastAndAddress;
using analyzer_detail::ReadBranch;

namespace {

// What differs between the four remote read and restart analyzers.
struct RemoteCommand {
    const char* title;
    const char* sourceLabel;
    const char* abnormalTitle;
    const char* statusLabel;
    bool blankLineAfterStatus;
    // Fields of the module's answer after the source address.
    void (*printAnswer)(FrameReader& in, std::string& text, AnalyzerSink& sink);
};

template <void (*print)(FrameReader&, std::string&)>
void WithoutSink(FrameReader& in, std::string& text, AnalyzerSink& /*sink*/) {
    print(in, text);
}

// Returns where the request's address or the answer's own fields begin.
int AnalyzeRemoteCommand(const ByteString& frame, std::string& text, const RemoteCommand& command,
                         AnalyzerSink& sink) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    int cursor = in.Position();
    text += command.title;
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        in.Advance(1);  // d0 is not shown
        cursor = in.Position();
        text += "DST Addr: ";
        PrintAddress(in, text);
    } else if (b.normalAnswer) {
        text += command.sourceLabel;
        PrintAddress(in, text);
        cursor = in.Position();
        command.printAnswer(in, text, sink);
    } else if (b.dir == 1) {
        text += command.abnormalTitle;
        text += kCrLf;
        if (b.length == 1) {
            text += command.statusLabel;
            PrintErrorStatus(b.status, text);
            if (command.blankLineAfterStatus) text += kCrLf;
        } else {
            text += "异常回复帧错误";
        }
    }
    text += kCrLf;
    return cursor;
}

void PrintRestartAnswer(FrameReader& in, std::string& text) {
    const uint8_t state = in.ByteOrZero();
    const uint8_t reason = in.ByteOrZero();
    text += "执行状态: ";
    text += TextOfCode(kRestartResultNames, state == 0 ? 0 : 1, "");
    text += kCrLf;
    if (state == 0) PrintFailureReason(reason, text);
}

void PrintMacAnswer(FrameReader& in, std::string& text) {
    text += "MAC     : ";
    PrintAddress(in, text);
}

}  // namespace

int AnalyzeRemoteRestart(const ByteString& frame, std::string& text) {
    static const RemoteCommand command{"远程设备重启帧", "SRC Addr: ", "远程设备重启回复帧异常", kStatusLabel, false,
                                       WithoutSink<PrintRestartAnswer>};
    AnalyzerSink none;
    return AnalyzeRemoteCommand(frame, text, command, none);
}

int AnalyzeRemoteReadVersion(const ByteString& frame, std::string& text, AnalyzerSink& sink) {
    static const RemoteCommand command{"远程读取版本号帧", "SRC Addr: ", "远程读取版本号回复异常帧", kStatusLabel,
                                       true, PrintVersionInfo};
    return AnalyzeRemoteCommand(frame, text, command, sink);
}

int AnalyzeRemoteReadMacAddress(const ByteString& frame, std::string& text) {
    static const RemoteCommand command{"远程读取MAC地址帧", "SRC Addr: ", "远程读取MAC地址异常回复帧", kStatusLabel,
                                       false, WithoutSink<PrintMacAnswer>};
    AnalyzerSink none;
    return AnalyzeRemoteCommand(frame, text, command, none);
}

int AnalyzeRemoteReadNetworkParams(const ByteString& frame, std::string& text) {
    static const RemoteCommand command{"远程读取网络口令帧", "SRC addr: ", "远程读取网络口令异常回复帧",
                                       "异常状态为：  ", false, WithoutSink<analyzer_detail::PrintNetworkParamLines>};
    AnalyzerSink none;
    return AnalyzeRemoteCommand(frame, text, command, none);
}

void PrintSetType(uint8_t value, std::string& text) {
    text += "设置类型: ";
    text += TextOfCode(kSetTypeNames, value, "出错");
    text += kCrLf;
}

void PrintBroadcastParams(uint16_t word, std::string& text, BroadcastParamWord& fields) {
    using namespace broadcast_param_word;
    fields.sourceMode = kSourceMode.Get(word);
    fields.targetMode = kTargetMode.Get(word);
    fields.priority = kPriority.Get(word);
    fields.radius = kRadius.Get(word);
    fields.passwordMode = kPasswordMode.Get(word);
    fields.multicastFlag = kMulticast.Get(word);
    PrintSourceDeviceMode(fields.sourceMode, text);
    PrintTargetDeviceMode(fields.targetMode, text);
    PrintPriority(fields.priority, text);
    AppendFormat(text, "半径：      %d\r\n", fields.radius);
    PrintPasswordMode(fields.passwordMode, text);
    PrintMulticastFlag(fields.multicastFlag, text);
}

void PrintVersionType(uint8_t value, std::string& text) {
    text += "版本类型: ";
    text += TextOfCode(kVersionTypeNames, value, "");
    text += kCrLf;
}

void PrintMulticastAndVersionType(uint8_t value, std::string& text, MulticastAndVersionType& fields) {
    fields.multicastFlag = version_type_byte::kMulticast.Get(value);
    fields.versionType = version_type_byte::kVersionType.Get(value);
    PrintMulticastFlag(fields.multicastFlag, text);
    PrintVersionType(fields.versionType, text);
}

int AnalyzeRemoteSetLwip(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "远程设置LWIP模式帧";
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        if (b.length < 8) {
            text += "远程设置LWIP模式帧出错";
            return in.Position();
        }
        uint8_t multicastFlag = 0;
        PrintMulticastBit(in.ByteOrZero(), multicastFlag, text);
        if (!PrintCheckedMulticastAndAddress(in, text, multicastFlag == 1, "DST Addr: ")) return -1;
        PrintSetType(in.ByteOrZero(), text);
        return in.Position();
    }
    if (b.dir == 0) {
        text += "远程设置LWIP模式异常帧";
    } else if (b.resp == 0) {
        if (!in.Need(6)) return -1;
        text += "SRC Addr: ";
        PrintAddress(in, text);
        PrintSetType(in.ByteOrZero(), text);
        // The cursor stays at the node state.
        const int cursor = in.Position();
        AppendFormat(text, "当前节点状态: 0x %04X\r\n", in.Word16OrZero());
        return cursor;
    } else {
        text += "远程设置LWIP指令回复异常";
        PrintStatusLine(b.status, text);
        text += kCrLf;
    }
    return in.Position();
}

int AnalyzeBroadcast(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "广播通信帧";
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        BroadcastParamWord params;
        PrintBroadcastParams(in.Word16OrZero(), text, params);
        if (params.multicastFlag == 1 && !PrintMulticastAddressChecked(in, text)) return -1;
        const unsigned n = in.Word16();
        if (!in.ok()) return -1;
        AppendFormat(text, "payload len:  %u\r\n", n);
        // The cursor stays at the payload.
        const int cursor = in.Position();
        const ByteString payload = in.Bytes(n);
        if (!in.ok()) return -1;
        text += "payload:  ";
        AppendHex(payload, text);
        text += kCrLf;
        return cursor;
    }
    if (b.normalAnswer) {
        if (b.length == 0) text += "广播通信成功";
    } else if (b.dir == 1) {
        if (b.length == 1) PrintStatusLine(b.status, text);
    }
    return in.Position();
}
