// Analyzers of the remote commands 0x50-0x5D and of broadcast 0x16.

#include "analyzer/remote_command_analyzers.h"

#include "analyzer/analyzer.h"
#include "analyzer/analyzer_common.h"
#include "analyzer/field_printers.h"
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
    // Fields of the module's answer after the source address; returns the cursor.
    int (*printAnswer)(const ByteString& frame, std::string& text);
};

int AnalyzeRemoteCommand(const ByteString& frame, std::string& text, const RemoteCommand& command) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    text += command.title;
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        text += "DST Addr: ";
        cursor = 6;
        PrintAddress(frame, text, &cursor);
    } else if (b.dir == 1 && b.resp == 0) {
        text += command.sourceLabel;
        PrintAddress(frame, text, &cursor);
        cursor = command.printAnswer(frame, text);
    } else if (b.dir == 1) {
        text += command.abnormalTitle;
        text += kCrLf;
        if (b.length == 1) {
            text += command.statusLabel;
            PrintErrorStatus(FrameByte(frame, 5), text);
            if (command.blankLineAfterStatus) text += kCrLf;
        } else {
            text += "异常回复帧错误";
        }
    }
    text += kCrLf;
    return cursor;
}

int PrintRestartAnswer(const ByteString& frame, std::string& text) {
    const uint8_t state = FrameByte(frame, 11);
    text += "执行状态: ";
    if (state != 0) {
        text += "重启成功\r\n";
    } else {
        text += "重启失败\r\n";
        PrintFailureReason(FrameByte(frame, 12), text);
    }
    return 11;
}

int PrintVersionAnswer(const ByteString& frame, std::string& text) {
    PrintVersionInfo(frame, text, 11);
    return 11;
}

int PrintMacAnswer(const ByteString& frame, std::string& text) {
    const int cursor = 11;
    text += "MAC     : ";
    PrintAddress(frame, text, &cursor);
    return cursor;
}

int PrintNetworkParamsAnswer(const ByteString& frame, std::string& text) {
    analyzer_detail::PrintNetworkParamLines(frame, text, 11);
    return 11;
}

}  // namespace

int AnalyzeRemoteRestart(const ByteString& frame, std::string& text) {
    static const RemoteCommand command{"远程设备重启帧", "SRC Addr: ", "远程设备重启回复帧异常", kStatusLabel, false,
                                       PrintRestartAnswer};
    return AnalyzeRemoteCommand(frame, text, command);
}

int AnalyzeRemoteReadVersion(const ByteString& frame, std::string& text) {
    static const RemoteCommand command{"远程读取版本号帧", "SRC Addr: ", "远程读取版本号回复异常帧", kStatusLabel,
                                       true, PrintVersionAnswer};
    return AnalyzeRemoteCommand(frame, text, command);
}

int AnalyzeRemoteReadMacAddress(const ByteString& frame, std::string& text) {
    static const RemoteCommand command{"远程读取MAC地址帧", "SRC Addr: ", "远程读取MAC地址异常回复帧", kStatusLabel,
                                       false, PrintMacAnswer};
    return AnalyzeRemoteCommand(frame, text, command);
}

int AnalyzeRemoteReadNetworkParams(const ByteString& frame, std::string& text) {
    static const RemoteCommand command{"远程读取网络口令帧", "SRC addr: ", "远程读取网络口令异常回复帧",
                                       "异常状态为：  ", false, PrintNetworkParamsAnswer};
    return AnalyzeRemoteCommand(frame, text, command);
}

void PrintSetType(uint8_t value, std::string& text) {
    text += "设置类型: ";
    text += value == 0 ? "关闭" : value == 1 ? "打开" : "出错";
    text += kCrLf;
}

void PrintBroadcastParams(uint16_t word, std::string& text, BroadcastParamWord& fields) {
    fields.sourceMode = word & 0x0F;
    fields.targetMode = (word >> 4) & 0x0F;
    fields.priority = (word >> 8) & 1;
    fields.radius = (word >> 9) & 0x0F;
    fields.passwordMode = (word >> 13) & 1;
    fields.multicastFlag = (word >> 14) & 1;
    PrintSourceDeviceMode(fields.sourceMode, text);
    PrintTargetDeviceMode(fields.targetMode, text);
    PrintPriority(fields.priority, text);
    AppendFormat(text, "半径：      %d\r\n", fields.radius);
    PrintPasswordMode(fields.passwordMode, text);
    PrintMulticastFlag(fields.multicastFlag, text);
}

void PrintVersionType(uint8_t value, std::string& text) {
    static const char* const names[] = {"boot版本", "固件版本", "分层应用版本", "其他版本"};
    text += "版本类型: ";
    if (value < 4) text += names[value];
    text += kCrLf;
}

void PrintMulticastAndVersionType(uint8_t value, std::string& text, MulticastAndVersionType& fields) {
    fields.multicastFlag = value & 1;
    fields.versionType = (value >> 1) & 3;
    PrintMulticastFlag(fields.multicastFlag, text);
    PrintVersionType(fields.versionType, text);
}

int AnalyzeRemoteSetLwip(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    text += "远程设置LWIP模式帧";
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        if (b.length < 8) {
            text += "远程设置LWIP模式帧出错";
            return cursor;
        }
        uint8_t multicastFlag = 0;
        cursor = 6;
        PrintMulticastBit(FrameByte(frame, 5), multicastFlag, text);
        if (!PrintCheckedMulticastAndAddress(frame, text, cursor, multicastFlag == 1, "DST Addr: ")) return -1;
        PrintSetType(FrameByte(frame, cursor), text);
        cursor += 1;
    } else if (b.dir == 0) {
        text += "远程设置LWIP模式异常帧";
    } else if (b.resp == 0) {
        if (!FieldInside(frame, cursor, 6)) {
            text += kIncompleteFrameText;
            return -1;
        }
        text += "SRC Addr: ";
        PrintAddress(frame, text, &cursor);
        cursor = 11;
        PrintSetType(FrameByte(frame, 11), text);
        cursor = 12;
        AppendFormat(text, "当前节点状态: 0x %02X%02X\r\n", FrameByte(frame, 13), FrameByte(frame, 12));
    } else {
        text += "远程设置LWIP指令回复异常";
        PrintStatusLine(frame, text);
        text += kCrLf;
    }
    return cursor;
}

int AnalyzeBroadcast(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    text += "广播通信帧";
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        BroadcastParamWord params;
        PrintBroadcastParams(FrameWord(frame, 5), text, params);
        cursor = 7;
        if (params.multicastFlag == 1) {
            if (!FieldInside(frame, cursor, 2)) {
                text += kIncompleteFrameText;
                return -1;
            }
            PrintMulticastAddress(frame, text, &cursor);
        }
        if (!FieldInside(frame, cursor, 2)) {
            text += kIncompleteFrameText;
            return -1;
        }
        const unsigned n = FrameWord(frame, cursor);
        AppendFormat(text, "payload len:  %u\r\n", n);
        cursor += 2;
        if (!FieldInside(frame, cursor, n)) {
            text += kIncompleteFrameText;
            return -1;
        }
        text += "payload:  ";
        AppendHexRange(frame, text, cursor, n);
        text += kCrLf;
    } else if (b.dir == 1 && b.resp == 0) {
        if (b.length == 0) text += "广播通信成功";
    } else if (b.dir == 1) {
        if (b.length == 1) PrintStatusLine(frame, text);
    }
    return cursor;
}
