// Fuzz entry: arbitrary bytes as a frame to explain and as hex text to convert.

#include <cstddef>
#include <cstdint>
#include <string>

#include "analyzer/analyzer.h"
#include "analyzer/broadcast_test_analyzers.h"
#include "analyzer/connection_analyzers.h"
#include "analyzer/data_analyzers.h"
#include "analyzer/monitor_reset_analyzers.h"
#include "analyzer/local_analyzers.h"
#include "analyzer/pairing_analyzers.h"
#include "analyzer/remote_command_analyzers.h"
#include "analyzer/remote_multicast_analyzers.h"
#include "analyzer/tcpip_analyzers.h"
#include "analyzer/test_tool_analyzers.h"
#include "link/conversions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ByteString frame = size ? ByteString(data, size) : ByteString();
    std::string text;
    AnalyzerSink sink;
    AnalyzeFrame(frame, text, sink);
    // The analyzers that nothing dispatches.
    AnalyzeExecStateReport(frame, text);
    AnalyzePointRead(frame, text);
    AnalyzeRemoteSetLwip(frame, text);
    AnalyzeBroadcast(frame, text);
    DispatchPairingAnalyzer(frame, text);
    DispatchTestToolAnalyzer(frame, text);
    DispatchSmartMonitorAnalyzer(frame, text, sink);
    DispatchResetInfoAnalyzer(frame, text);
    DispatchBroadcastReplyTestAnalyzer(frame, text);
    AnalyzeConfigBleRequest(frame, text);
    AnalyzeConfigBleReply(frame, text);
    AnalyzeSetMulticastAddress(frame, text);
    AnalyzeReadMulticastAddress(frame, text);
    AnalyzeSetLocalTone(frame, text);
    AnalyzeSetPassword(frame, text);
    AnalyzeSetLocalMacAddress(frame, text);
    AnalyzeStartConnection(frame, text);
    AnalyzeLinkStateReport(frame, text);
    AnalyzeDeleteConnection(frame, text);
    AnalyzeRemoteSetMulticastRequest(frame, text);
    AnalyzeRemoteSetMulticastReply(frame, text);
    AnalyzeRemoteSetMulticastRequestReport(frame, text);
    AnalyzeRemoteSetMulticastReplyReport(frame, text);
    PrintUpgradeBinType(FrameByte(frame, 5), text);
    AnalyzeEnableTcpipMode(frame, text);
    AnalyzeReadLocalNetPort(frame, text);
    AnalyzeSetLocalNetPort(frame, text);
    AnalyzeDnsResolve(frame, text);
    AnalyzeDnsResolveReport(frame, text);
    AnalyzeTcpStateReport(frame, text);
    AnalyzeTcpStateQuery(frame, text);
    AnalyzeTcpConnect(frame, text);
    AnalyzeTcpDisconnect(frame, text);
    AnalyzeTcpSendData(frame, text);
    AnalyzeTcpReceiveData(frame, text);

    const std::string asText = size ? std::string(reinterpret_cast<const char*>(data), size) : std::string();
    ByteString bytes;
    HexTextToBytes(asText, bytes, 0);
    HexTextToBytes(asText, bytes, 1);
    std::string hex;
    BytesToHexText(hex, frame);
    BytesToHexTextSpaced(hex, frame, 0);
    // Hex text of bytes converts back to the same bytes.
    HexTextToBytes(hex, bytes, 0);
    if (bytes != frame && frame.size() <= kMaxHexTextBytes) __builtin_trap();
    return 0;
}
