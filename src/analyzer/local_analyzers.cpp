// Analyzers of the commands that the host sends to its own module, and their replies.

#include "analyzer/analyzer.h"
#include "analyzer/analyzer_common.h"
#include "analyzer/field_printers.h"
#include "analyzer/version_text.h"
#include "platform/gbk.h"
#include "platform/text_format.h"

using analyzer_detail::Branch;
using analyzer_detail::PrintStatusOr;
using analyzer_detail::ReadBranch;

void analyzer_detail::AppendByteCharacters(const ByteString& frame, std::string& text, long long from,
                                           unsigned count) {
    std::string raw;
    for (unsigned i = 0; i < count; ++i) {
        const unsigned char b = FrameByte(frame, from + i);
        if (b != 0) raw.push_back(static_cast<char>(b));
    }
    text += GbkToUtf8(raw);
}

namespace {

// count bytes from position from, shown as characters, then "(0x", the same bytes as hex, ")"
// and CRLF.
void PrintPasswordCharacters(const ByteString& frame, std::string& text, long long from, unsigned count) {
    text += "用户口令：";
    analyzer_detail::AppendByteCharacters(frame, text, from, count);
    text += "(0x";
    AppendHexRange(frame, text, from, count);
    text += ")";
    text += kCrLf;
}

void AnalyzeReadAddress(const ByteString& frame, std::string& text, const char* title, const char* label,
                        const char* requestError) {
    const Branch b = ReadBranch(frame);
    text += title;
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        if (b.length == 6) {
            text += label;
            const int cursor = 5;
            PrintAddress(frame, text, &cursor);
        } else {
            text += "回复帧错误";
            text += kCrLf;
        }
    } else if (b.dir == 1) {
        PrintStatusOr(frame, text, b.length, "回复帧错误");
    } else if (b.length > 0) {
        text += requestError;
    }
    text += kCrLf;
}

const char* BaudRateText(unsigned code) {
    static const char* const names[] = {"600,",   "1200,",  "2400,",  "4800,",  "9600,",  "14400,",
                                        "19200,", "38400,", "56000,", "57600,", "115200,"};
    return code < sizeof names / sizeof names[0] ? names[code] : "Unknown,";
}

const char* ParityText(unsigned code) {
    switch (code) {
        case 0: return "8, None, ";
        case 1: return "8, Even, ";
        case 2: return "8, Odd, ";
        default: return "Unknown, ";
    }
}

const char* StopBitText(unsigned code) {
    switch (code) {
        case 0: return "1";
        case 1: return "2";
        default: return "Unknown";
    }
}

const char* SubcarrierText(unsigned code) {
    switch (code) {
        case 0: return "131子载波, ";
        case 1: return "411子载波, ";
        default: return "Unknown, ";
    }
}

const char* TransmitPowerText(unsigned code) {
    switch (code) {
        case 0: return "0 档发送功率";
        case 1: return "1 档发送功率";
        case 2: return "2 档发送功率";
        case 3: return "3 档发送功率";
        default: return "Unknown";
    }
}

}  // namespace

void analyzer_detail::PrintNetworkParamLines(const ByteString& frame, std::string& text, long long p) {
    const unsigned level = FrameByte(frame, p);
    const unsigned serial = FrameByte(frame, p + 1);
    const unsigned carrier = FrameByte(frame, p + 2);
    AppendFormat(text, "透传层级限制: %u\r\n", level & 0x0F);
    text += "串口参数: ";
    text += BaudRateText(serial >> 4);
    text += ParityText((serial >> 2) & 3);
    text += StopBitText(serial & 3);
    text += kCrLf;
    text += "载波参数: ";
    text += SubcarrierText(carrier & 0x0F);
    text += TransmitPowerText(carrier >> 4);
    text += kCrLf;
}

void PrintFailureReason(uint8_t reason, std::string& text) {
    text += "失败原因: ";
    text += reason == 1 ? "升级中" : "保留";
    text += kCrLf;
}

int PrintRestartResult(const ByteString& frame, std::string& text, int cursor) {
    const uint8_t result = FrameByte(frame, cursor);
    text += "重启结果: ";
    text += result == 0 ? "重启失败" : result == 1 ? "重启成功" : "出错";
    text += kCrLf;
    if (result == 0) PrintFailureReason(FrameByte(frame, cursor + 1), text);
    return cursor + 2;
}

void AnalyzeModuleRestart(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "模块重启帧";
    text += kCrLf;
    if (b.dir == 0) {
        if (b.length > 0) text += "模块启动帧错误";
    } else if (b.resp == 1) {
        text += "设备重启失败";
        PrintStatusOr(frame, text, b.length, "回复帧错误");
    } else {
        PrintRestartResult(frame, text, 5);
    }
    text += kCrLf;
}

void PrintVersionInfo(const ByteString& frame, std::string& text, int c) {
    const bool known = FrameWord(frame, c) == 0x5156;  // "VQ" little-endian
    text += "厂商标识： ";
    text += known ? "QV" : "其他厂商";
    text += kCrLf;
    std::string version = known ? "版本号:QV" : "版本号:未知";

    const std::string chip = StrFormat("%02X%02X", FrameByte(frame, c + 3), FrameByte(frame, c + 2));
    text += "芯片类型: " + chip + kCrLf;
    version += "-" + chip;

    const std::string product = StrFormat("%02X", FrameByte(frame, c + 4));
    text += "产品信息: " + product + kCrLf;
    version += "-" + product;

    const std::string release = StrFormat("%02X-%02X", FrameByte(frame, c + 6), FrameByte(frame, c + 5));
    text += "版本信息： " + release + kCrLf;
    version += "-" + release;

    // Only a reply that really holds all seven bytes may change the label.
    if (FieldInside(frame, c, 7)) ShowVersionText(version);
}

void AnalyzeReadVersion(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "读取版本帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        if (b.length == 7)
            PrintVersionInfo(frame, text, 5);
        else
            text += "回复帧错误";
    } else if (b.dir == 1) {
        PrintStatusOr(frame, text, b.length, "回复帧错误");
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
    text += "设置通信地址帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        if (frame.size() <= 5) {
            text += kIncompleteFrameText;
            return -1;
        }
        text += "设置通信地址成功";
    } else if (b.dir == 1) {
        text += "设置通信地址失败\n";
        PrintStatusOr(frame, text, b.length, "异常回复帧错误");
    } else if (b.length != 6) {
        text += "Error : 报文不完整";
    } else {
        text += "DST Addr: ";
        const int cursor = 5;
        PrintAddress(frame, text, &cursor);
    }
    text += kCrLf;
    return 5;
}

void AnalyzeReadNetworkParams(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "读取网络参数帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        if (b.length == 7) {
            analyzer_detail::PrintNetworkParamLines(frame, text, 5);
        } else {
            text += "回复帧错误";
            text += kCrLf;
        }
    } else if (b.dir == 1) {
        PrintStatusOr(frame, text, b.length, "回复帧错误");
    } else if (b.length > 0) {
        text += "读取网络参数帧错误";
    }
    text += kCrLf;
}

int AnalyzeSetNetworkParams(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "设置网络参数帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 1) {
        text += "设置网络参数失败\n";
        PrintStatusOr(frame, text, b.length, "异常回复帧错误");
    } else if (b.dir == 1) {
        if (frame.size() <= 5) {
            text += kIncompleteFrameText;
            return -1;
        }
        text += "设置网络参数成功";
    }
    text += kCrLf;
    return 5;
}

void PrintUserPassword(const ByteString& frame, std::string& text, int c) {
    const unsigned n = FrameByte(frame, c);
    if (FrameDataLength(frame) >= 9) {
        AppendFormat(text, "用户口令长度: %u\r\n", n);
        PrintPasswordCharacters(frame, text, c + 1, n);
    } else {
        text += "口令结果：    ";
        text += n == 0 ? " 无口令" : "回复帧错误";
    }
}

void AnalyzeReadLocalPassword(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "读取本地网络口令帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        PrintUserPassword(frame, text, 5);
    } else if (b.dir == 1) {
        PrintStatusOr(frame, text, b.length, "异常回复帧错误");
    } else if (b.resp == 0) {
        text += b.length == 0 ? "读取本地口令帧" : "读取本地口令帧错误";
    } else {
        text += "读取本地口令帧错误";
    }
    text += kCrLf;
}

void AnalyzeSetLocalPassword(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "设置本地网络口令帧";
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        const unsigned n = FrameByte(frame, 5);
        AppendFormat(text, "用户口令长度: %u\r\n", n);
        if (n < 8) text += "该操作为清除操作！\r\n";
        PrintPasswordCharacters(frame, text, 6, n);
    } else if (b.dir == 1 && b.resp == 0) {
        text += "设置本地网络口令成功";
    } else if (b.dir == 1) {
        if (b.length == 1) PrintStatusLine(frame, text);
    }
    text += kCrLf;
}
