// Test-tool frames.

#include "analyzer/test_tool_analyzers.h"

#include <cmath>

#include "analyzer/field_printers.h"
#include "analyzer/frame_reader.h"
#include "analyzer/text_pieces.h"
#include "link/code_text.h"
#include "link/field_tables.h"
#include "link/sub_commands.h"

namespace {

constexpr char kError[] = "出错";
constexpr uint16_t kNoOffset = 0x7F7F;

// What picks a branch: host or module, normal or abnormal, and L.
struct Kind {
    bool module;
    bool abnormal;
    unsigned length;
};

Kind KindOf(const ByteString& frame) {
    const ReceivedFrame f(frame);
    return Kind{f.Direction() == 1, f.ReplyStatus() == 1, f.DeclaredLength()};
}

// "MAC地址： " and the six bytes at the cursor, last first.
void Mac(FrameReader& in, TextPieces& out) {
    unsigned char mac[6];
    in.CopyOrZero(mac, sizeof mac);
    out << "MAC地址： ";
    out.HexReversed(mac, sizeof mac);
}

// The status is d1, at the cursor; the cursor stays.
void StatusOr(const Kind& k, const ByteString& frame, const char* label, const char* otherwise, std::string& text) {
    if (k.length == 2) {
        text += label;
        PrintErrorStatus(FrameByte(frame, FrameReader::kFirstDataByte + 1), text);
    } else {
        text += otherwise;
    }
}

// The address line, the modulation word, the PB byte and the gain (its label given, no line end).
void SendParameters(FrameReader& in, const char* gainLabel, TextPieces& out) {
    Mac(in, out);
    out << "\r\n";
    PrintModulationInfo(in.Word16OrZero(), out);
    PrintPbInfo(in.ByteOrZero(), out);
    out << gainLabel;
    out.Decimal(static_cast<int8_t>(in.ByteOrZero()));
}

// "(%g)ppm" of the offset: its value is a whole number of hundredths below 129 in size, which
// "%g" prints without exponent and without trailing zeros.
void Ppm(uint16_t word, TextPieces& out) {
    const long long hundredths = std::llround(FrequencyOffsetToPpm(word) * 100);
    const long long size = hundredths < 0 ? -hundredths : hundredths;
    out << (hundredths < 0 ? "(-" : "(");
    out.Decimal(size / 100);
    const long long fraction = size % 100;
    if (fraction != 0) {
        const char digits[] = {'.', static_cast<char>('0' + fraction / 10), static_cast<char>('0' + fraction % 10)};
        out << std::string_view(digits, fraction % 10 == 0 ? 2 : 3);
    }
    out << ")ppm";
}

bool FreqOffsetSync(const ByteString& frame, FrameReader& in, std::string& text) {
    const Kind k = KindOf(frame);
    text += "频偏同步帧\r\n";
    if (!k.module && !k.abnormal) {
        if (!in.Need(6)) return false;
        TextPieces out(text);
        Mac(in, out);
    } else if (!k.module) {
        text += "频偏同步帧异常";
    } else if (!k.abnormal) {
        if (k.length == 1) text += "频偏同步成功";
    } else {
        StatusOr(k, frame, kStatusLabel, "频偏同步帧异常", text);
    }
    text += kCrLf;
    return true;
}

bool ReadFreqOffset(const ByteString& frame, FrameReader& in, std::string& text) {
    const Kind k = KindOf(frame);
    text += "读取频偏帧\r\n";
    if (!k.module && !k.abnormal) {
        if (!in.Need(6)) return false;
        TextPieces out(text);
        Mac(in, out);
    } else if (!k.module) {
        text += "读取频偏帧异常";
    } else if (!k.abnormal) {
        if (!in.Need(6)) return false;
        TextPieces out(text);
        Mac(in, out);
        // The word after the address; the cursor stays on it.
        const uint16_t word = FrameWord(frame, in.Position());
        out << "\r\n频偏：    ";
        if (word == kNoOffset)
            out << "频偏无效";
        else
            Ppm(word, out);
        out << "\r\n";
    } else {
        StatusOr(k, frame, kStatusLabel, "频偏同步帧异常", text);
    }
    return true;
}

bool SendDataRequest(const ByteString& frame, FrameReader& in, std::string& text) {
    const Kind k = KindOf(frame);
    text += "发送测试数据请求帧\r\n";
    if (!k.module && !k.abnormal) {
        if (!in.Need(6)) return false;
        TextPieces out(text);
        SendParameters(in, "Rgain:        ", out);
        out << "\r\n";
    } else if (!k.module) {
        text += "发送测试数据请求帧异常";
    } else if (!k.abnormal) {
        if (k.length == 1) text += "发送测试数据请求帧成功";
    } else {
        StatusOr(k, frame, "发送测试数据请求帧异常状态为： ", "发送测试数据请求帧异常", text);
    }
    text += kCrLf;
    return true;
}

bool SendDataReply(const ByteString& frame, FrameReader& in, std::string& text) {
    const Kind k = KindOf(frame);
    text += "发送测试数据应答帧\r\n";
    if (k.module && !k.abnormal) {
        if (!in.Need(6)) return false;
        TextPieces out(text);
        SendParameters(in, "Rxgain:       ", out);
        out << "\r\n\r\n发送测试数据应答成功\r\n";
    } else if (k.module) {
        StatusOr(k, frame, "发送测试数据应答帧异常状态为： ", "发送测试数据请求帧异常", text);
    }
    text += kCrLf;
    return true;
}

bool ReadGain(const ByteString& frame, FrameReader& in, std::string& text) {
    const Kind k = KindOf(frame);
    text += "读取GAIN配置帧\r\n";
    if (!k.module && !k.abnormal) {
        text += k.length == 1 ? "读取GAIN配置" : "读取GAIN配置出错";
    } else if (!k.module) {
        text += "读取GAIN配置异常帧";
    } else if (!k.abnormal) {
        const auto rxgain = static_cast<int8_t>(in.ByteOrZero());
        const auto tgain = static_cast<int8_t>(in.ByteOrZero());
        TextPieces out(text);
        out << "rxgain:   ";
        out.Decimal(rxgain) << "\r\nTgain:    ";
        out.Decimal(tgain) << "\r\n";
    } else {
        StatusOr(k, frame, "读取GAIN设置异常码为： ", "读取GAIN设置异常", text);
    }
    text += kCrLf;
    return true;
}

bool GetModuleAddress(const ByteString& frame, FrameReader& in, std::string& text) {
    const Kind k = KindOf(frame);
    text += "获取被测模块地址帧\r\n";
    if (!k.module && !k.abnormal) {
        text += k.length == 1 ? "获取被测模块地址请求\r\n" : "获取被测模块地址请求有误\r\n";
    } else if (!k.module) {
        text += "获取被测模块地址请求有误\r\n";
    } else if (!k.abnormal) {
        const uint8_t counters = in.ByteOrZero();
        const unsigned count = in.ByteOrZero();
        TextPieces out(text);
        out << "获取被测模块地址回复帧\r\n";
        PrintFrameCounters(counters, out);
        out << "节点个数：    ";
        out.Decimal(count) << "\r\n";
        // A count beyond the frame prints addresses of zero bytes, never reading past it.
        for (unsigned i = 1; i <= count; ++i) {
            unsigned char mac[6];
            in.CopyOrZero(mac, sizeof mac);
            out << "MAC地址";
            out.Decimal(i) << ":";
            out.HexReversed(mac, sizeof mac) << "\r\n";
        }
    } else {
        text += "获取被测模块地址回复异常";
    }
    text += kCrLf;
    return true;
}

bool ClearModuleAddress(const ByteString& frame, FrameReader&, std::string& text) {
    const Kind k = KindOf(frame);
    text += "删除被测模块地址帧\r\n";
    if (!k.module && !k.abnormal)
        text += k.length == 1 ? "删除被测模块地址请求帧" : "删除被测模块地址帧出错";
    else if (!k.module)
        text += "删除被测模块地址请求异常";
    else
        text += k.abnormal ? "删除被测模块地址失败" : "删除被测模块地址成功";
    text += kCrLf;
    return true;
}

using SubAnalyzer = bool (*)(const ByteString&, FrameReader&, std::string&);

const SubAnalyzer kSubAnalyzers[] = {
    FreqOffsetSync,  ReadFreqOffset,   SendDataRequest,    SendDataReply,
    ReadGain,        GetModuleAddress, ClearModuleAddress,
};
static_assert(sizeof(kSubAnalyzers) / sizeof(kSubAnalyzers[0]) == TEST_CLEAR_MODULE_ADDRESS + 1);

}  // namespace

int DispatchTestToolAnalyzer(const ByteString& frame, std::string& text) {
    const uint8_t sub = ReceivedFrame(frame).SubCommand();
    FrameReader in(frame, text, FrameReader::kFirstDataByte + 1);
    if (sub <= TEST_CLEAR_MODULE_ADDRESS) kSubAnalyzers[sub](frame, in, text);
    return in.Position();
}

void PrintModulationInfo(uint16_t word, TextPieces& out) {
    out << "mm:       " << TextOfCode(kModulationNames, word & 0x0F, kError) << "\r\ncopy:     "
        << TextOfCode(kCopiesNames, word >> 4 & 0x0F, kError) << "\r\nfec:      "
        << TextOfCode(kFecRateNames, word >> 8 & 0x07, kError) << "\r\n";
}

void PrintPbInfo(uint8_t info, TextPieces& out) {
    out << "pb amount:    ";
    out.Decimal(info & 0x0F) << "\r\npb type:  " << TextOfCode(kPbBlockNames, info >> 4 & 0x01, kError) << "\r\n";
}

void PrintFrameCounters(uint8_t counters, TextPieces& out) {
    out << "总帧数：  ";
    out.Decimal(counters & 0x0F) << ":\r\n当前帧序号：  ";
    out.Decimal(counters >> 4) << "\r\n";
}

double FrequencyOffsetToPpm(uint16_t word) {
    const int whole = static_cast<int8_t>(word >> 8);
    const int hundredths = static_cast<int8_t>(word & 0xFF);
    return whole + hundredths * 0.01;
}
