// Test-tool frames.

#include "analyzer/test_tool_analyzers.h"

#include "analyzer/control_field.h"
#include "analyzer/field_printers.h"
#include "analyzer/frame_reader.h"
#include "link/code_text.h"
#include "link/sub_commands.h"
#include "platform/text_format.h"

namespace {

constexpr char kError[] = "出错";
constexpr uint16_t kNoOffset = 0x7F7F;

constexpr CodeText kModulationNames[] = {{1, "MM_BPSK"}, {2, "MM_QPSK"}, {3, "MM_8QAM"}, {4, "MM_16QAM"}};
constexpr CodeText kCopyCountNames[] = {{1, "1"}, {2, "2"}, {4, "4"}, {5, "5"}, {7, "7"}, {11, "11"}};
constexpr CodeText kFecRateNames[] = {{0, "FEC_RATE_1_2"}, {1, "FEC_RATE_16_21"}, {2, "FEC_RATE_16_18"}};
constexpr CodeText kPbTypeNames[] = {{0, "136pb块"}, {1, "520pb块"}};

// What picks a branch: host or module, normal or abnormal, and L.
struct Kind {
    bool module;
    bool abnormal;
    unsigned length;
};

Kind KindOf(const ByteString& frame) {
    return Kind{GetDirectionBit(frame) == 1, GetRespBit(frame) == 1, FrameDataLength(frame)};
}

void Line(const char* label, const std::string& value, std::string& text) {
    text += label;
    text += value;
    text += kCrLf;
}

// "MAC地址： " and the six bytes at the cursor, last first; false after the incomplete-frame text.
bool MacChecked(FrameReader& in, std::string& text) {
    if (!in.Need(6)) return false;
    text += "MAC地址： ";
    AppendHexReversed(in.BytesOrZero(6), text);
    return true;
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

void SignedLine(const char* label, uint8_t value, std::string& text) {
    Line(label, std::to_string(static_cast<int8_t>(value)), text);
}

// Modulation word, PB byte and gain after an address.
void SendParameters(FrameReader& in, const char* gainLabel, std::string& text) {
    PrintModulationInfo(in.Word16OrZero(), text);
    PrintPbInfo(in.ByteOrZero(), text);
    text += gainLabel;
    text += std::to_string(static_cast<int8_t>(in.ByteOrZero()));
}

bool FreqOffsetSync(const ByteString& frame, FrameReader& in, std::string& text) {
    const Kind k = KindOf(frame);
    text += "频偏同步帧";
    text += kCrLf;
    if (!k.module && !k.abnormal) {
        if (!MacChecked(in, text)) return false;
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
    text += "读取频偏帧";
    text += kCrLf;
    if (!k.module && !k.abnormal) {
        return MacChecked(in, text);
    } else if (!k.module) {
        text += "读取频偏帧异常";
    } else if (!k.abnormal) {
        if (!MacChecked(in, text)) return false;
        text += kCrLf;
        const uint16_t word = FrameWord(frame, in.Position());
        text += "频偏：    ";
        text += word == kNoOffset ? std::string("频偏无效") : StrFormat("(%g)ppm", FrequencyOffsetToPpm(word));
        text += kCrLf;
    } else {
        StatusOr(k, frame, kStatusLabel, "频偏同步帧异常", text);
    }
    return true;
}

bool SendDataRequest(const ByteString& frame, FrameReader& in, std::string& text) {
    const Kind k = KindOf(frame);
    text += "发送测试数据请求帧";
    text += kCrLf;
    if (!k.module && !k.abnormal) {
        if (!MacChecked(in, text)) return false;
        text += kCrLf;
        SendParameters(in, "Rgain:        ", text);
        text += kCrLf;
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
    text += "发送测试数据应答帧";
    text += kCrLf;
    if (k.module && !k.abnormal) {
        if (!MacChecked(in, text)) return false;
        text += kCrLf;
        SendParameters(in, "Rxgain:       ", text);
        text += "\r\n\r\n发送测试数据应答成功";
        text += kCrLf;
    } else if (k.module) {
        StatusOr(k, frame, "发送测试数据应答帧异常状态为： ", "发送测试数据请求帧异常", text);
    }
    text += kCrLf;
    return true;
}

bool ReadGain(const ByteString& frame, FrameReader& in, std::string& text) {
    const Kind k = KindOf(frame);
    text += "读取GAIN配置帧";
    text += kCrLf;
    if (!k.module && !k.abnormal) {
        text += k.length == 1 ? "读取GAIN配置" : "读取GAIN配置出错";
    } else if (!k.module) {
        text += "读取GAIN配置异常帧";
    } else if (!k.abnormal) {
        const uint8_t rxgain = in.ByteOrZero();
        const uint8_t tgain = in.ByteOrZero();
        SignedLine("rxgain:   ", rxgain, text);
        SignedLine("Tgain:    ", tgain, text);
    } else {
        StatusOr(k, frame, "读取GAIN设置异常码为： ", "读取GAIN设置异常", text);
    }
    text += kCrLf;
    return true;
}

bool GetModuleAddress(const ByteString& frame, FrameReader& in, std::string& text) {
    const Kind k = KindOf(frame);
    text += "获取被测模块地址帧";
    text += kCrLf;
    if (!k.module && !k.abnormal) {
        Line(k.length == 1 ? "获取被测模块地址请求" : "获取被测模块地址请求有误", "", text);
    } else if (!k.module) {
        Line("获取被测模块地址请求有误", "", text);
    } else if (!k.abnormal) {
        Line("获取被测模块地址回复帧", "", text);
        PrintFrameCounters(in.ByteOrZero(), text);
        const unsigned count = in.ByteOrZero();
        Line("节点个数：    ", std::to_string(count), text);
        // A count beyond the frame prints addresses of zero bytes, never reading past it.
        for (unsigned i = 1; i <= count; ++i) {
            text += "MAC地址";
            text += std::to_string(i);
            text += ':';
            AppendHexReversed(in.BytesOrZero(6), text);
            text += kCrLf;
        }
    } else {
        text += "获取被测模块地址回复异常";
    }
    text += kCrLf;
    return true;
}

bool ClearModuleAddress(const ByteString& frame, FrameReader&, std::string& text) {
    const Kind k = KindOf(frame);
    text += "删除被测模块地址帧";
    text += kCrLf;
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
    const uint8_t sub = FrameByte(frame, FrameReader::kFirstDataByte);
    FrameReader in(frame, text, FrameReader::kFirstDataByte + 1);
    if (sub <= TEST_CLEAR_MODULE_ADDRESS) kSubAnalyzers[sub](frame, in, text);
    return in.Position();
}

void PrintModulationInfo(uint16_t word, std::string& text) {
    Line("mm:       ", TextOfCode(kModulationNames, word & 0x0F, kError), text);
    Line("copy:     ", TextOfCode(kCopyCountNames, word >> 4 & 0x0F, kError), text);
    Line("fec:      ", TextOfCode(kFecRateNames, word >> 8 & 0x07, kError), text);
}

void PrintPbInfo(uint8_t info, std::string& text) {
    Line("pb amount:    ", std::to_string(info & 0x0F), text);
    Line("pb type:  ", TextOfCode(kPbTypeNames, info >> 4 & 0x01, kError), text);
}

void PrintFrameCounters(uint8_t counters, std::string& text) {
    Line("总帧数：  ", std::to_string(counters & 0x0F) + ":", text);
    Line("当前帧序号：  ", std::to_string(counters >> 4), text);
}

double FrequencyOffsetToPpm(uint16_t word) {
    const int whole = static_cast<int8_t>(word >> 8);
    const int hundredths = static_cast<int8_t>(word & 0xFF);
    return whole + hundredths * 0.01;
}
