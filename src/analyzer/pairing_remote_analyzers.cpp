// Pairing search, communication test, remote pairing, network clearing and device search.

#include "analyzer/pairing_remote_analyzers.h"

#include "analyzer/field_printers.h"
#include "analyzer/pairing_common.h"
#include "link/field_tables.h"

using namespace pairing_detail;

namespace {

constexpr char kPanIdLabel[] = "PANID:    ";
constexpr char kPadIdLabel[] = "PADID:    ";
constexpr char kMacLabel[] = "MAC地址：";
constexpr char kMacBlankLabel[] = "MAC地址： ";
constexpr char kAttributeLengthLabel[] = "属性信息长度：    ";
constexpr char kAttributeLabel[] = "属性：    ";

// The MAC with its label and CRLF, then the PANID with its label.
void PrintMacAndPanId(FrameReader& in, const char* macLabel, std::string& text) {
    text += macLabel;
    PrintMac(in, text);
    text += kCrLf;
    text += kPanIdLabel;
    PrintPanId(in, text);
}

// MAC, data length N and N data bytes; the closing CRLF ends the data's line.
void CommTestBody(FrameReader& in, unsigned, std::string& text) {
    text += kMacBlankLabel;
    PrintMac(in, text);
    text += kCrLf;
    const uint8_t n = in.ByteOrZero();
    text += "通信数据长度：";
    PrintDecimal(n, text);
    text += kCrLf;
    text += "通信数据：";
    PrintBytes(in, n, text);
}

void SearchRequest(FrameReader& in, unsigned length, std::string& text) {
    text += kAttributeLengthLabel;
    PrintDecimal(in, text);
    text += kCrLf;
    text += kAttributeLabel;
    PrintToLastDataByte(in, length, text);
}
void SearchRequestAnswer(FrameReader& in, unsigned length, std::string& text) {
    if (length != 3) return;
    text += kPanIdLabel;
    PrintPanId(in, text);
    text += kCrLf;
}

void SearchRequestReportVerdict(FrameReader& in, unsigned length, std::string& text) {
    if (length < 9) return;
    text += TextOfCode(kPairSearchVerdictNames, in.ByteOrZero(), "");
    text += kCrLf;
    text += "发起搜索MAC地址：";
    PrintMac(in, text);
    text += kCrLf;
    text += kAttributeLengthLabel;
    PrintDecimal(in, text);
    text += kCrLf;
    text += kAttributeLabel;
    PrintToLastDataByte(in, length, text);
}
void SearchRequestReport(FrameReader& in, unsigned length, std::string& text) {
    if (length < 8) return;
    text += "发起设备搜索MAC地址：";
    PrintMac(in, text);
    text += kCrLf;
    const uint8_t n = in.ByteOrZero();
    text += kAttributeLengthLabel;
    PrintDecimal(n, text);
    text += kCrLf;
    text += kAttributeLabel;
    PrintBytes(in, n, text);
}

PAIRING_TEXT_IF_L1(SearchResultAnswer, "上报配对搜索结果成功")
void SearchResultReport(FrameReader& in, unsigned, std::string& text) {
    for (uint8_t count = in.ByteOrZero(); count > 0; --count) PrintPairSearchResultEntry(in, text);
}

PAIRING_TEXT_IF_L1(CommTestRequestAnswer, "发起通信请求成功")
PAIRING_TEXT_IF_L1(CommTestRequestReportAnswer, "上报通信测试请求成功")
PAIRING_TEXT_IF_L1(CommTestReplyAnswer, "上报通信测试应答成功")

void RemoteSetRequest(FrameReader& in, unsigned, std::string& text) { PrintMacAndPanId(in, kMacLabel, text); }
PAIRING_TEXT_IF_L1(RemoteSetRequestAnswer, "远程上报配对信信请求成功")

PAIRING_TEXT_IF_L1(RemoteSetReplyReportAnswer, "上报远程设置配对信息应答成功")
void RemoteSetReplyReport(FrameReader& in, unsigned, std::string& text) { PrintMacAndPanId(in, kMacBlankLabel, text); }

PAIRING_TEXT(RemoteSetRequestReportAnswer, "上报远程设置配对信息请求主机回复帧")
void RemoteSetRequestReport(FrameReader& in, unsigned length, std::string& text) {
    if (length != 9) return;
    PrintMacAndPanId(in, kMacLabel, text);
    text += kCrLf;
}

void RemoteReadRequest(FrameReader& in, unsigned length, std::string& text) {
    if (length != 7) return;
    text += kMacBlankLabel;
    PrintMac(in, text);
    text += kCrLf;
}
void RemotePairingIfWhole(FrameReader& in, unsigned length, std::string& text) {
    if (length == 9) PrintMacAndPanId(in, kMacBlankLabel, text);
}
PAIRING_TEXT_IF_L1(RemoteReadReplyReportAnswer, "上报远程读取配对信息应答成功")

void ClearNetworkRequest(FrameReader& in, unsigned length, std::string& text) {
    if (length != 3) return;
    text += kPadIdLabel;
    PrintPanId(in, text);
}
PAIRING_TEXT_IF_L1(ClearNetworkAnswer, "清除配对信息成功")
PAIRING_TEXT_IF_L1(ClearNetworkReportAnswer, "上报清除网络配对信息成功")
PAIRING_TEXT_IF_L1(ClearNetworkReport, "上报清除网络配对信息")

void DeviceSearchRequest(FrameReader& in, unsigned length, std::string& text) {
    if (length != 4) return;
    PrintSearchRule(in.ByteOrZero(), text);
    text += kPadIdLabel;
    PrintPanId(in, text);
}
PAIRING_TEXT_IF_L1(DeviceSearchAnswer, "发起设备搜索成功")

PAIRING_TEXT_IF_L1(SearchReportAnswer, "上报搜索结果成功")
void SearchReport(FrameReader& in, unsigned length, std::string& text) {
    const uint8_t count = in.ByteOrZero();
    text += "搜索结果数目：    ";
    PrintDecimal(count, text);
    text += kCrLf;
    if (length != 8u * count + 2) {
        text += "回复帧有误";
        return;
    }
    for (uint8_t i = 0; i < count; ++i) PrintSearchedDeviceEntry(in, text);
}

}  // namespace

void PrintPairSearchResultEntry(FrameReader& in, std::string& text) {
    text += "mac地址：";
    PrintMac(in, text);
    text += kCrLf;
    text += kPanIdLabel;
    PrintPanId(in, text);
    text += kCrLf;
    const uint8_t n = in.ByteOrZero();
    text += "属性：";
    PrintBytes(in, n, text);
    text += kCrLf;
}

void PrintSearchedDeviceEntry(FrameReader& in, std::string& text) {
    PrintMacAndPanId(in, kMacBlankLabel, text);
    text += kCrLf;
}

void PrintSearchRule(uint8_t rule, std::string& text) {
    text += "搜索规则：    ";
    text += TextOfCode(kPairingSearchRuleNames, rule, "保留");
    text += kCrLf;
}

#define PAIRING_ANALYZER(name, title, host, module, closing)                  \
    void name(const ByteString& frame, std::string& text) {                   \
        static const PairingShape shape{title, host, module, closing};        \
        AnalyzePairing(frame, text, shape);                                    \
    }

PAIRING_ANALYZER(AnalyzePairSearchRequest, "发起配对搜索请求", SearchRequest, SearchRequestAnswer, true)
PAIRING_ANALYZER(AnalyzePairSearchRequestReport, "上报配对搜索请求", SearchRequestReportVerdict,
                 SearchRequestReport, true)
PAIRING_ANALYZER(AnalyzePairSearchResultReport, "上报配对搜索结果", SearchResultAnswer, SearchResultReport, false)
PAIRING_ANALYZER(AnalyzePairCommTestRequest, "发起通信测试请求", CommTestBody, CommTestRequestAnswer, true)
PAIRING_ANALYZER(AnalyzePairCommTestRequestReport, "上报通信测试请求", CommTestRequestReportAnswer, CommTestBody,
                 true)
PAIRING_ANALYZER(AnalyzePairCommTestReply, "上报通信测试应答", CommTestBody, CommTestReplyAnswer, true)
PAIRING_ANALYZER(AnalyzePairCommTestReplyReport, "上报通信测试应答", CommTestReplyAnswer, CommTestBody, true)
PAIRING_ANALYZER(AnalyzePairRemoteSetRequest, "远程设置配对信息请求", RemoteSetRequest, RemoteSetRequestAnswer, true)
PAIRING_ANALYZER(AnalyzePairRemoteSetReplyReport, "上报远程设置配对信息应答", RemoteSetReplyReportAnswer,
                 RemoteSetReplyReport, true)
PAIRING_ANALYZER(AnalyzePairRemoteSetRequestReport, "上报远程设置配对信息请求", RemoteSetRequestReportAnswer,
                 RemoteSetRequestReport, true)
PAIRING_ANALYZER(AnalyzePairRemoteReadRequest, "远程读取配对信息请求", RemoteReadRequest, RemotePairingIfWhole, true)
PAIRING_ANALYZER(AnalyzePairRemoteReadReplyReport, "上报远程读取配对信息应答", RemoteReadReplyReportAnswer,
                 RemotePairingIfWhole, true)
PAIRING_ANALYZER(AnalyzePairClearNetwork, "清除配对信息", ClearNetworkRequest, ClearNetworkAnswer, true)
PAIRING_ANALYZER(AnalyzePairClearNetworkReport, "上报清除网络配对信息", ClearNetworkReportAnswer, ClearNetworkReport,
                 true)
PAIRING_ANALYZER(AnalyzePairDeviceSearch, "发起设备搜索", DeviceSearchRequest, DeviceSearchAnswer, true)
PAIRING_ANALYZER(AnalyzePairSearchReport, "上报搜索设备", SearchReportAnswer, SearchReport, true)
