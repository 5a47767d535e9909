// Analyzers of data transfer and reports: 0x14, 0x15, 0xE0, 0x10 and 0xF1.

#include "analyzer/data_analyzers.h"

#include "analyzer/analyzer.h"
#include "analyzer/analyzer_common.h"
#include "analyzer/field_printers.h"
#include "platform/text_format.h"

using analyzer_detail::Branch;
using analyzer_detail::PrintCheckedMulticastAndAddress;
using analyzer_detail::ReadBranch;

void UnpackReceiveInfoWord(uint32_t word, ReceiveInfoWord& fields) {
    fields.sourceMode = word & 0x0F;
    fields.targetMode = (word >> 4) & 0x0F;
    fields.depth = (word >> 8) & 0x0F;
    fields.bits12to13 = (word >> 12) & 3;
    fields.multicastFlag = (word >> 14) & 1;
    fields.passwordMode = (word >> 15) & 1;
    fields.bits16to23 = (word >> 16) & 0xFF;
}

void PrintReceiveInfo(const ReceiveInfoWord& fields, std::string& text) {
    PrintSourceDeviceMode(fields.sourceMode, text);
    PrintTargetDeviceMode(fields.targetMode, text);
    AppendFormat(text, "Depth:        %d\r\n", fields.depth);
    PrintPasswordMode(fields.passwordMode, text);
}

void PrintExceptionCode(uint8_t code, std::string& text) {
    switch (code) {
        case 0: text += "无效路径"; break;
        case 1: text += "csma失败"; break;
        case 2: text += "通信失败回复错误帧"; break;
        default: break;
    }
}

void PrintFlagByte(uint8_t flag, PointReadFlags& fields, std::string& text) {
    fields.multicastFlag = flag & 1;
    fields.passwordMode = (flag >> 1) & 1;
    fields.reserved = flag >> 2;
    PrintMulticastFlag(fields.multicastFlag, text);
    PrintPasswordMode(fields.passwordMode, text);
}

bool IsCountingPattern(const ByteString& data) {
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] != static_cast<unsigned char>(i & 0xFF)) return false;
    }
    return true;
}

void AnalyzeSendData(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "发送数据帧";
    text += kCrLf;
    if (b.resp == 0) {
        text += "发送数据成功";
    } else {
        text += "发送数据帧回复异常\r\n";
        analyzer_detail::PrintStatusOr(frame, text, b.length, "发送数据帧异常回复帧错误");
    }
    text += kCrLf;
}

int AnalyzeReceiveData(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    text += "接收数据帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        if (!FieldInside(frame, cursor, 3)) {
            text += kIncompleteFrameText;
            return -1;
        }
        const uint32_t word = FrameByte(frame, cursor) | (FrameByte(frame, cursor + 1) << 8) |
                              (static_cast<uint32_t>(FrameByte(frame, cursor + 2)) << 16);
        ReceiveInfoWord info;
        UnpackReceiveInfoWord(word, info);
        PrintReceiveInfo(info, text);
        cursor += 3;
        if (!PrintCheckedMulticastAndAddress(frame, text, cursor, info.multicastFlag == 1, "Src addr: ")) return -1;
        PrintPayload(frame, text, &cursor);
    } else if (b.dir == 1) {
        text += "异常帧";
    } else if (b.resp == 0) {
        text += b.length == 0 ? "接收数据成功" : "接收数据出错";
    } else {
        text += "接收数据异常帧";
    }
    text += kCrLf;
    return cursor;
}

void AnalyzeActiveReport(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "读取主动上报帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        if (b.length >= 2) {
            int cursor = 5;
            text += "源地址：   ";
            PrintAddress(frame, text, &cursor);
            cursor += 6;
            AppendFormat(text, "上报类型：%02X\r\n", FrameByte(frame, cursor));
            cursor += 1;
            const unsigned n = FrameByte(frame, cursor);
            AppendFormat(text, "信息长度：%02X\r\n", n);
            cursor += 1;
            text += "信息：       \r\n";
            AppendHexRange(frame, text, cursor, n);
            text += kCrLf;
        } else {
            text += "主动上报帧错误\r\n";
        }
    } else if (b.dir == 1) {
        analyzer_detail::PrintStatusOr(frame, text, b.length, "主动上报帧错误");
    } else if (b.length > 0) {
        text += "主动上报帧错误";
    }
    text += kCrLf;
}

int AnalyzeExecStateReport(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    text += "执行状态上报帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        const uint8_t modes = FrameByte(frame, cursor);
        const uint8_t targetMode = modes >> 4;
        PrintSourceDeviceMode(modes & 0x0F, text);
        PrintTargetDeviceMode(targetMode, text);
        cursor += 1;
        if (targetMode == 2) {
            if (!FieldInside(frame, cursor, 6)) {
                text += kIncompleteFrameText;
                return -1;
            }
            // An address that does not fit prints the incomplete-frame text in its place and
            // the report goes on.
            text += "Src IP:   ";
            PrintIpv4Address(frame, text, &cursor);
            text += "Src port:     ";
            PrintNumberLine(FrameWord(frame, cursor), text);
            cursor += 2;
            text += "Dst IP:   ";
            PrintIpv4Address(frame, text, &cursor);
            text += "Dst port:     ";
            PrintNumberLine(FrameWord(frame, cursor), text);
            cursor += 2;
        } else {
            if (!FieldInside(frame, cursor, 6)) {
                text += kIncompleteFrameText;
                return -1;
            }
            text += "Dst addr: ";
            PrintAddress(frame, text, &cursor);
            cursor += 6;
        }
        AppendFormat(text, "cmd为：       %d\r\n", FrameByte(frame, cursor));
        cursor += 1;
        text += kStatusLabel;
        PrintExceptionCode(FrameByte(frame, cursor), text);
        cursor += 1;
    } else if (b.dir == 0 && b.resp == 0) {
        text += "执行状态上报成功";
    } else if (b.dir == 0) {
        if (b.length == 1) {
            text += "异常状态码为：    ";
            PrintErrorStatus(FrameByte(frame, 5), text);
        }
    }
    text += kCrLf;
    return cursor;
}

int AnalyzePointRead(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    text += "远程点抄帧";
    text += kCrLf;
    if (b.dir == 1 && b.length == 1) {
        text += "状态为：   ";
        PrintErrorStatus(FrameByte(frame, 5), text);
        text += kCrLf;
        return cursor;
    }
    if (b.dir == 0 && b.length < 3) return cursor;

    PointReadFlags flags;
    PrintFlagByte(FrameByte(frame, cursor), flags, text);
    cursor += 1;
    if (flags.multicastFlag == 1) PrintMulticastAddress(frame, text, &cursor);
    text += b.dir == 1 ? "Src addr: " : "DST addr: ";
    PrintAddress(frame, text, &cursor);
    cursor += 6;
    const unsigned n = FrameWord(frame, cursor);
    AppendFormat(text, "数据长度：    %u\r\n", n);
    cursor += 2;
    if (b.dir == 0) return cursor;

    if (!FieldInside(frame, cursor, n)) {
        text += kIncompleteFrameText;
        return -1;
    }
    text += kCrLf;
    ByteString data;
    for (unsigned i = 0; i < n; ++i) data.push_back(FrameByte(frame, cursor + i));
    text += IsCountingPattern(data) ? "远程点抄成功" : "远程点抄失败";
    text += "\r\n\r\n";
    text += "数据：";
    text += kCrLf;
    AppendHexRange(frame, text, cursor, n);
    text += kCrLf;
    cursor += static_cast<int>(n);
    return cursor;
}
