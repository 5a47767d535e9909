// Analyzers of the commands that the host sends to its own module, and their replies.

#include "analyzer/local_analyzers.h"

#include "analyzer/analyzer_common.h"
#include "analyzer/field_printers.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"

using analyzer_detail::Branch;
using analyzer_detail::PrintStatusOr;
using analyzer_detail::ReadBranch;

namespace {

// The password bytes as characters, then "(0x", the same bytes as hex, ")" and CRLF.
void PrintPasswordCharacters(const ByteString& password, std::string& text) {
    text += "用户口令：";
    AppendByteCharacters(password, text);
    text += "(0x";
    AppendHex(password, text);
    text += ")";
    text += kCrLf;
}

void AnalyzeReadAddress(const ByteString& frame, std::string& text, const char* title, const char* label,
                        const char* requestError) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += title;
    text += kCrLf;
    if (b.normalAnswer) {
        if (b.length == 6) {
            text += label;
            PrintAddress(in, text);
        } else {
            text += "回复帧错误";
            text += kCrLf;
        }
    } else if (b.dir == 1) {
        PrintStatusOr(b, text, "回复帧错误");
    } else if (b.length > 0) {
        text += requestError;
    }
    text += kCrLf;
}

}  // namespace

void analyzer_detail::PrintNetworkParamLines(FrameReader& in, std::string& text) {
    const unsigned level = in.ByteOrZero();
    const unsigned serial = in.ByteOrZero();
    const unsigned carrier = in.ByteOrZero();
    using namespace net_params_bytes;
    AppendFormat(text, "透传层级限制: %u\r\n", static_cast<unsigned>(kLevelLimit.Get(level)));
    text += "串口参数: ";
    text += TextOfCode(kBaudRateNames, kBaud.Get(serial), "Unknown");
    text += ",";
    // Appended piece by piece: no temporary strings on this path.
    if (const char* parity = TextOfCode(kParityNames, kParity.Get(serial), nullptr)) {
        text += "8, ";
        text += parity;
        text += ", ";
    } else {
        text += "Unknown, ";
    }
    text += TextOfCode(kStopBitsNames, kStopBits.Get(serial), "Unknown");
    text += kCrLf;
    text += "载波参数: ";
    if (const char* band = TextOfCode(kBandNames, kBand.Get(carrier), nullptr)) {
        text += band;
        text += "子载波, ";
    } else {
        text += "Unknown, ";
    }
    if (const char* power = TextOfCode(kPowerLevelNames, kPowerLevel.Get(carrier), nullptr)) {
        text += power;
        text += "发送功率";
    } else {
        text += "Unknown";
    }
    text += kCrLf;
}

void PrintFailureReason(uint8_t reason, std::string& text) {
    text += "失败原因: ";
    text += TextOfCode(kRestartFailureNames, reason, "保留");
    text += kCrLf;
}

void PrintRestartResult(FrameReader& in, std::string& text) {
    const uint8_t result = in.ByteOrZero();
    const uint8_t reason = in.ByteOrZero();
    text += "重启结果: ";
    text += TextOfCode(kRestartResultNames, result, "出错");
    text += kCrLf;
    if (result == 0) PrintFailureReason(reason, text);
}

void AnalyzeModuleRestart(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "模块重启帧";
    text += kCrLf;
    if (b.dir == 0) {
        if (b.length > 0) text += "模块启动帧错误";
    } else if (b.resp == 1) {
        text += "设备重启失败";
        PrintStatusOr(b, text, "回复帧错误");
    } else {
        PrintRestartResult(in, text);
    }
    text += kCrLf;
}

void PrintVersionInfo(FrameReader& in, std::string& text, AnalyzerSink& sink) {
    // Only a reply whose data hold all seven bytes may change the label: the reader's bound
    // takes in the two check bytes, which must not pass for version digits.
    constexpr size_t kVersionBytes = 7;
    constexpr size_t kCheckBytes = 2;
    const bool whole = in.Remaining() >= kVersionBytes + kCheckBytes;
    const bool known = in.Word16OrZero() == 0x5156;  // "VQ" little-endian
    const std::string chip = StrFormat("%04X", in.Word16OrZero());
    const std::string product = StrFormat("%02X", in.ByteOrZero());
    const unsigned low = in.ByteOrZero();
    const std::string release = StrFormat("%02X-%02X", in.ByteOrZero(), low);

    text += "厂商标识： ";
    text += known ? "QV" : "其他厂商";
    text += kCrLf;
    text += "芯片类型: " + chip + kCrLf;
    text += "产品信息: " + product + kCrLf;
    text += "版本信息： " + release + kCrLf;
    if (whole) sink.ShowVersionText((known ? "版本号:QV" : "版本号:未知") + ("-" + chip) + "-" + product + "-" + release);
}

void AnalyzeReadVersion(const ByteString& frame, std::string& text, AnalyzerSink& sink) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "读取版本帧";
    text += kCrLf;
    if (b.normalAnswer) {
        if (b.length == 7)
            PrintVersionInfo(in, text, sink);
        else
            text += "回复帧错误";
    } else if (b.dir == 1) {
        PrintStatusOr(b, text, "回复帧错误");
    } else if (b.length > 0) {
        text += "读取版本请求帧错误";
    }
    text += kCrLf;
}

void AnalyzeReadMacAddress(const ByteString& frame, std::string& text) {
    AnalyzeReadAddress(frame, text, "读取MAC地址帧", "MAC地址： ", "读取MAC地址帧错误");
}

void AnalyzeReadCommAddress(const ByteString& frame, std::string& text) {
    AnalyzeReadAddress(frame, text, "读取通信地址帧", "通信地址：    ", "读取通信地址帧错误");
}

int AnalyzeSetCommAddress(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "设置通信地址帧";
    text += kCrLf;
    if (b.normalAnswer) {
        if (!in.Need(1)) return -1;
        text += "设置通信地址成功";
    } else if (b.dir == 1) {
        text += "设置通信地址失败\n";
        PrintStatusOr(b, text, "异常回复帧错误");
    } else if (b.length != 6) {
        text += "Error : 报文不完整";
    } else {
        text += "DST Addr: ";
        PrintAddress(in, text);
    }
    text += kCrLf;
    return FrameReader::kFirstDataByte;
}

void AnalyzeReadNetworkParams(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "读取网络参数帧";
    text += kCrLf;
    if (b.normalAnswer) {
        if (b.length == 7) {
            analyzer_detail::PrintNetworkParamLines(in, text);
        } else {
            text += "回复帧错误";
            text += kCrLf;
        }
    } else if (b.dir == 1) {
        PrintStatusOr(b, text, "回复帧错误");
    } else if (b.length > 0) {
        text += "读取网络参数帧错误";
    }
    text += kCrLf;
}

int AnalyzeSetNetworkParams(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "设置网络参数帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 1) {
        text += "设置网络参数失败\n";
        PrintStatusOr(b, text, "异常回复帧错误");
    } else if (b.dir == 1) {
        if (!in.Need(1)) return -1;
        text += "设置网络参数成功";
    }
    text += kCrLf;
    return FrameReader::kFirstDataByte;
}

void PrintUserPassword(FrameReader& in, std::string& text, unsigned dataLength) {
    const unsigned n = in.ByteOrZero();
    if (dataLength >= 9) {
        AppendFormat(text, "用户口令长度: %u\r\n", n);
        PrintPasswordCharacters(in.BytesOrZero(n), text);
    } else {
        text += "口令结果：    ";
        text += n == 0 ? " 无口令" : "回复帧错误";
    }
}

void AnalyzeReadLocalPassword(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "读取本地网络口令帧";
    text += kCrLf;
    if (b.normalAnswer) {
        PrintUserPassword(in, text, b.length);
    } else if (b.dir == 1) {
        PrintStatusOr(b, text, "异常回复帧错误");
    } else if (b.resp == 0) {
        text += b.length == 0 ? "读取本地口令帧" : "读取本地口令帧错误";
    } else {
        text += "读取本地口令帧错误";
    }
    text += kCrLf;
}

void AnalyzeSetLocalPassword(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "设置本地网络口令帧";
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        const unsigned n = in.ByteOrZero();
        AppendFormat(text, "用户口令长度: %u\r\n", n);
        if (n < 8) text += "该操作为清除操作！\r\n";
        PrintPasswordCharacters(in.BytesOrZero(n), text);
    } else if (b.normalAnswer) {
        text += "设置本地网络口令成功";
    } else if (b.dir == 1) {
        if (b.length == 1) PrintStatusLine(b.status, text);
    }
    text += kCrLf;
}
