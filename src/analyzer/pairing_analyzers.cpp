// Pairing frames: the shared shape, the dispatcher and the local pairing sub-codes.

#include "analyzer/pairing_analyzers.h"

#include "analyzer/control_field.h"
#include "analyzer/field_printers.h"
#include "analyzer/pairing_common.h"
#include "analyzer/pairing_remote_analyzers.h"
#include "link/field_tables.h"
#include "link/sub_commands.h"

namespace pairing_detail {

void AnalyzePairing(const ByteString& frame, std::string& text, const PairingShape& shape) {
    const unsigned length = FrameDataLength(frame);
    std::string ignored;  // the reads past the frame give zeros and report nothing
    FrameReader in(frame, ignored, FrameReader::kFirstDataByte + 1);
    text += shape.title;
    text += kCrLf;
    if (GetRespBit(frame) == 0) {
        const PairingBranch branch = GetDirectionBit(frame) == 0 ? shape.host : shape.module;
        if (branch) branch(in, length, text);
    }
    if (shape.closingCrLf) text += kCrLf;
}

namespace {

// n bytes at the cursor, last byte first, as upper-case hex digits.
void PrintReversed(FrameReader& in, size_t n, std::string& text) {
    static const char kDigits[] = "0123456789ABCDEF";
    char digits[12];
    for (size_t i = n; i > 0; --i) {
        const uint8_t b = in.ByteOrZero();
        digits[2 * i - 2] = kDigits[b >> 4];
        digits[2 * i - 1] = kDigits[b & 0x0F];
    }
    text.append(digits, 2 * n);
}

}  // namespace

void PrintMac(FrameReader& in, std::string& text) { PrintReversed(in, 6, text); }

void PrintPanId(FrameReader& in, std::string& text) { PrintReversed(in, 2, text); }

void PrintDecimal(uint8_t value, std::string& text) {
    if (value >= 100) text.push_back(static_cast<char>('0' + value / 100));
    if (value >= 10) text.push_back(static_cast<char>('0' + value / 10 % 10));
    text.push_back(static_cast<char>('0' + value % 10));
}

void PrintDecimal(FrameReader& in, std::string& text) { PrintDecimal(in.ByteOrZero(), text); }

void PrintBytes(FrameReader& in, size_t n, std::string& text) { AppendHex(in.BytesOrZero(n), text); }

void PrintToLastDataByte(FrameReader& in, unsigned length, std::string& text) {
    const long long end = FrameReader::kFirstDataByte + length;
    if (in.Position() < end) PrintBytes(in, static_cast<size_t>(end - in.Position()), text);
}

}  // namespace pairing_detail

using namespace pairing_detail;

namespace {

void ReadLocalAnswer(FrameReader& in, unsigned length, std::string& text) {
    if (length != 9) return;
    text += "MAC地址：";
    PrintMac(in, text);
    text += kCrLf;
    text += "PANID: ";
    PrintPanId(in, text);
    text += kCrLf;
}

void SetLocalRequest(FrameReader& in, unsigned length, std::string& text) {
    text += "设置本地配对信息请求帧";
    text += kCrLf;
    if (length != 3) return;
    text += "PANID:    ";
    PrintPanId(in, text);
}
PAIRING_TEXT_IF_L1(SetLocalAnswer, "设置本地配对信息成功")

void SetWaitRequest(FrameReader& in, unsigned length, std::string& text) {
    text += "设置本地配对状态请求帧";
    text += kCrLf;
    if (length != 2) return;
    text += "待配对持续时间:   ";
    PrintDecimal(in, text);
}
PAIRING_TEXT_IF_L1(SetWaitAnswer, "设置待配对状态成功")

PAIRING_TEXT(StartAutoRequest, "启动自动配对请求帧")
PAIRING_TEXT_IF_L1(StartAutoAnswer, "启动自动配对成功")

PAIRING_TEXT_IF_L1(AutoReportAnswer, "上报自动配对信息成功")
void AutoReport(FrameReader& in, unsigned length, std::string& text) {
    if (length != 10) {
        text += "上报配对信息帧出错";
        return;
    }
    PrintAutoPairResult(in.ByteOrZero(), text);
    text += "成功配对MAC地址：";
    PrintMac(in, text);
    text += kCrLf;
    text += "PANID:    ";
    PrintPanId(in, text);
    text += kCrLf;
}

PAIRING_TEXT(AvailableNetworksRequest, "读取可用网络号请求帧")
void AvailableNetworksAnswer(FrameReader& in, unsigned length, std::string& text) {
    if (length != 3) return;
    text += "网络号：";
    PrintPanId(in, text);
    text += kCrLf;
}

PAIRING_TEXT(ClearLocalRequest, "清除本地配对信息请求")
PAIRING_TEXT_IF_L1(ClearLocalAnswer, "清除本地配对信息成功")

using PairingAnalyzer = void (*)(const ByteString& frame, std::string& text);

struct PairingRow {
    uint8_t subCode;
    PairingAnalyzer analyze;
};

constexpr PairingRow kPairingAnalyzers[] = {
    {PAIR_READ_LOCAL, AnalyzePairReadLocal},
    {PAIR_SET_LOCAL, AnalyzePairSetLocal},
    {PAIR_SET_WAIT_STATE, AnalyzePairSetWaitState},
    {PAIR_START_AUTO, AnalyzePairStartAuto},
    {PAIR_AUTO_REPORT, AnalyzePairAutoReport},
    {PAIR_READ_AVAILABLE_NETWORKS, AnalyzePairReadAvailableNetworks},
    {PAIR_CLEAR_LOCAL, AnalyzePairClearLocal},
    {PAIR_SEARCH_REQUEST, AnalyzePairSearchRequest},
    {PAIR_SEARCH_REQUEST_REPORT, AnalyzePairSearchRequestReport},
    {PAIR_SEARCH_RESULT_REPORT, AnalyzePairSearchResultReport},
    {PAIR_COMM_TEST_REQUEST, AnalyzePairCommTestRequest},
    {PAIR_COMM_TEST_REQUEST_REPORT, AnalyzePairCommTestRequestReport},
    {PAIR_COMM_TEST_REPLY, AnalyzePairCommTestReply},
    {PAIR_COMM_TEST_REPLY_REPORT, AnalyzePairCommTestReplyReport},
    {PAIR_REMOTE_SET_REQUEST, AnalyzePairRemoteSetRequest},
    {PAIR_REMOTE_SET_31, AnalyzePairRemoteSetReplyReport},
    {PAIR_REMOTE_SET_REPORT, AnalyzePairRemoteSetRequestReport},
    {PAIR_REMOTE_READ, AnalyzePairRemoteReadRequest},
    {PAIR_REMOTE_READ_REPLY_REPORT, AnalyzePairRemoteReadReplyReport},
    {PAIR_CLEAR_NETWORK, AnalyzePairClearNetwork},
    {PAIR_CLEAR_NETWORK_REPORT, AnalyzePairClearNetworkReport},
    {PAIR_DEVICE_SEARCH, AnalyzePairDeviceSearch},
    {PAIR_SEARCH_REPORT, AnalyzePairSearchReport},
    {PAIR_REMOTE_READ_INTERNAL, AnalyzePairRemoteReadRequest},
    {PAIR_REMOTE_READ_INTERNAL_REPLY_REPORT, AnalyzePairRemoteReadReplyReport},
};

// The analyzer of every sub-code, by its byte.
struct PairingIndex {
    PairingAnalyzer bySubCode[256] = {};
    PairingIndex() {
        for (const PairingRow& row : kPairingAnalyzers) bySubCode[row.subCode] = row.analyze;
    }
};

}  // namespace

void DispatchPairingAnalyzer(const ByteString& frame, std::string& text) {
    static const PairingIndex index;
    if (PairingAnalyzer analyze = index.bySubCode[ReceivedFrame(frame).SubCommand()])
        analyze(frame, text);
}

void PrintAutoPairResult(uint8_t result, std::string& text) {
    text += "上报自动配对结果状态：";
    text += TextOfCode(kAutoPairResultNames, result, "保留");
}

void AnalyzePairReadLocal(const ByteString& frame, std::string& text) {
    static const PairingShape shape{"读取本地配对信息", nullptr, ReadLocalAnswer, false};
    AnalyzePairing(frame, text, shape);
}

void AnalyzePairSetLocal(const ByteString& frame, std::string& text) {
    static const PairingShape shape{"设置本地配对信息", SetLocalRequest, SetLocalAnswer, true};
    AnalyzePairing(frame, text, shape);
}

void AnalyzePairSetWaitState(const ByteString& frame, std::string& text) {
    static const PairingShape shape{"设置待配对状态", SetWaitRequest, SetWaitAnswer, true};
    AnalyzePairing(frame, text, shape);
}

void AnalyzePairStartAuto(const ByteString& frame, std::string& text) {
    static const PairingShape shape{"启动自动配对", StartAutoRequest, StartAutoAnswer, true};
    AnalyzePairing(frame, text, shape);
}

void AnalyzePairAutoReport(const ByteString& frame, std::string& text) {
    static const PairingShape shape{"上报自动配对信息", AutoReportAnswer, AutoReport, true};
    AnalyzePairing(frame, text, shape);
}

void AnalyzePairReadAvailableNetworks(const ByteString& frame, std::string& text) {
    static const PairingShape shape{"读取可用网络号", AvailableNetworksRequest, AvailableNetworksAnswer, true};
    AnalyzePairing(frame, text, shape);
}

void AnalyzePairClearLocal(const ByteString& frame, std::string& text) {
    static const PairingShape shape{"清除本地配对信息：", ClearLocalRequest, ClearLocalAnswer, true};
    AnalyzePairing(frame, text, shape);
}
