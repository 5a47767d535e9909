// Analyzers of data transfer and reports: 0x14, 0x15, 0xE0, 0x10 and 0xF1.

#include "analyzer/data_analyzers.h"

#include "analyzer/analyzer_common.h"
#include "analyzer/field_printers.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"

using analyzer_detail::Branch;
using analyzer_detail::PrintCheckedMulticastAndAddress;
using analyzer_detail::ReadBranch;

void UnpackReceiveInfoWord(uint32_t word, ReceiveInfoWord& fields) {
    using namespace receive_info_word;
    fields.sourceMode = kSourceMode.Get(word);
    fields.targetMode = kTargetMode.Get(word);
    fields.depth = kDepth.Get(word);
    fields.bits12to13 = kBits12to13.Get(word);
    fields.multicastFlag = kMulticast.Get(word);
    fields.passwordMode = kPasswordMode.Get(word);
    fields.bits16to23 = kBits16to23.Get(word);
}

void PrintReceiveInfo(const ReceiveInfoWord& fields, std::string& text) {
    PrintSourceDeviceMode(fields.sourceMode, text);
    PrintTargetDeviceMode(fields.targetMode, text);
    AppendFormat(text, "Depth:        %d\r\n", fields.depth);
    PrintPasswordMode(fields.passwordMode, text);
}

void PrintExceptionCode(uint8_t code, std::string& text) { text += TextOfCode(kExceptionCodeNames, code, ""); }

void PrintFlagByte(uint8_t flag, PointReadFlags& fields, std::string& text) {
    fields.multicastFlag = point_read_flags::kMulticast.Get(flag);
    fields.passwordMode = point_read_flags::kPasswordMode.Get(flag);
    fields.reserved = point_read_flags::kReserved.Get(flag);
    PrintMulticastFlag(fields.multicastFlag, text);
    PrintPasswordMode(fields.passwordMode, text);
}

void AnalyzeSendData(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "发送数据帧";
    text += kCrLf;
    if (b.resp == 0) {
        text += "发送数据成功";
    } else {
        text += "发送数据帧回复异常\r\n";
        analyzer_detail::PrintStatusOr(b, text, "发送数据帧异常回复帧错误");
    }
    text += kCrLf;
}

int AnalyzeReceiveData(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "接收数据帧";
    text += kCrLf;
    if (b.normalAnswer) {
        const ByteString word = in.Bytes(3);
        if (!in.ok()) return -1;
        ReceiveInfoWord info;
        UnpackReceiveInfoWord(word[0] | word[1] << 8 | static_cast<uint32_t>(word[2]) << 16, info);
        PrintReceiveInfo(info, text);
        if (!PrintCheckedMulticastAndAddress(in, text, info.multicastFlag == 1, "Src addr: ")) return -1;
        // A payload that does not fit is reported and the explanation still closes.
        PrintPayload(in, text);
    } else if (b.dir == 1) {
        text += "异常帧";
    } else if (b.resp == 0) {
        text += b.length == 0 ? "接收数据成功" : "接收数据出错";
    } else {
        text += "接收数据异常帧";
    }
    text += kCrLf;
    return in.Position();
}

void AnalyzeActiveReport(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "读取主动上报帧";
    text += kCrLf;
    if (b.normalAnswer) {
        if (b.length >= 2) {
            text += "源地址：   ";
            PrintAddress(in, text);
            AppendFormat(text, "上报类型：%02X\r\n", in.ByteOrZero());
            const unsigned n = in.ByteOrZero();
            AppendFormat(text, "信息长度：%02X\r\n", n);
            text += "信息：       \r\n";
            AppendHex(in.BytesOrZero(n), text);
            text += kCrLf;
        } else {
            text += "主动上报帧错误\r\n";
        }
    } else if (b.dir == 1) {
        analyzer_detail::PrintStatusOr(b, text, "主动上报帧错误");
    } else if (b.length > 0) {
        text += "主动上报帧错误";
    }
    text += kCrLf;
}

int AnalyzeExecStateReport(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "执行状态上报帧";
    text += kCrLf;
    if (b.normalAnswer) {
        const uint8_t modes = in.ByteOrZero();
        const uint8_t targetMode = exec_state_modes::kTargetMode.Get(modes);
        PrintSourceDeviceMode(exec_state_modes::kSourceMode.Get(modes), text);
        PrintTargetDeviceMode(targetMode, text);
        if (!in.Need(6)) return -1;
        if (targetMode == 2) {
            // A destination address that does not fit prints the incomplete-frame text in its
            // place and the report goes on.
            text += "Src IP:   ";
            PrintIpv4Address(in, text);
            text += "Src port:     ";
            PrintNumberLine(in.Word16OrZero(), text);
            text += "Dst IP:   ";
            PrintIpv4Address(in, text);
            text += "Dst port:     ";
            PrintNumberLine(in.Word16OrZero(), text);
        } else {
            text += "Dst addr: ";
            PrintAddress(in, text);
        }
        AppendFormat(text, "cmd为：       %d\r\n", in.ByteOrZero());
        text += kStatusLabel;
        PrintExceptionCode(in.ByteOrZero(), text);
    } else if (b.dir == 0 && b.resp == 0) {
        text += "执行状态上报成功";
    } else if (b.dir == 0) {
        if (b.length == 1) {
            text += "异常状态码为：    ";
            PrintErrorStatus(b.status, text);
        }
    }
    text += kCrLf;
    return in.Position();
}

int AnalyzePointRead(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "远程点抄帧";
    text += kCrLf;
    if (b.dir == 1 && b.length == 1) {
        text += "状态为：   ";
        PrintErrorStatus(b.status, text);
        text += kCrLf;
        return in.Position();
    }
    if (b.dir == 0 && b.length < 3) return in.Position();

    PointReadFlags flags;
    PrintFlagByte(in.ByteOrZero(), flags, text);
    if (flags.multicastFlag == 1) PrintMulticastAddress(in, text);
    text += b.dir == 1 ? "Src addr: " : "DST addr: ";
    PrintAddress(in, text);
    const unsigned n = in.Word16OrZero();
    AppendFormat(text, "数据长度：    %u\r\n", n);
    if (b.dir == 0) return in.Position();

    const ByteString data = in.Bytes(n);
    if (!in.ok()) return -1;
    text += kCrLf;
    text += IsCountingPattern(data) ? "远程点抄成功" : "远程点抄失败";
    text += "\r\n\r\n";
    text += "数据：";
    text += kCrLf;
    AppendHex(data, text);
    text += kCrLf;
    return in.Position();
}
