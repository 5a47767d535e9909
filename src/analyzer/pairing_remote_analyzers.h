#pragma once
// Pairing frames that reach beyond the local module: the pairing search (0x10-0x12), the
// communication test (0x20-0x23), remote pairing (0x30-0x35, 0xF2, 0xF3), clearing a network's
// pairing (0x40, 0x41) and the device search by PANID (0xF0, 0xF1). Reached through
// DispatchPairingAnalyzer.

#include <cstdint>
#include <string>

#include "analyzer/frame_reader.h"
#include "link/byte_string.h"

void AnalyzePairSearchRequest(const ByteString& frame, std::string& text);
void AnalyzePairSearchRequestReport(const ByteString& frame, std::string& text);
void AnalyzePairSearchResultReport(const ByteString& frame, std::string& text);
void AnalyzePairCommTestRequest(const ByteString& frame, std::string& text);
void AnalyzePairCommTestRequestReport(const ByteString& frame, std::string& text);
void AnalyzePairCommTestReply(const ByteString& frame, std::string& text);
void AnalyzePairCommTestReplyReport(const ByteString& frame, std::string& text);
void AnalyzePairRemoteSetRequest(const ByteString& frame, std::string& text);
void AnalyzePairRemoteSetReplyReport(const ByteString& frame, std::string& text);
void AnalyzePairRemoteSetRequestReport(const ByteString& frame, std::string& text);
// 0x34 and 0xF2.
void AnalyzePairRemoteReadRequest(const ByteString& frame, std::string& text);
// 0x35 and 0xF3.
void AnalyzePairRemoteReadReplyReport(const ByteString& frame, std::string& text);
void AnalyzePairClearNetwork(const ByteString& frame, std::string& text);
void AnalyzePairClearNetworkReport(const ByteString& frame, std::string& text);
void AnalyzePairDeviceSearch(const ByteString& frame, std::string& text);
void AnalyzePairSearchReport(const ByteString& frame, std::string& text);

// One entry at the cursor, which moves past it: MAC, PANID, attribute length and attribute.
void PrintPairSearchResultEntry(FrameReader& in, std::string& text);
// One searched device at the cursor: MAC and PANID.
void PrintSearchedDeviceEntry(FrameReader& in, std::string& text);
// "搜索规则：    ", the rule's name and CRLF.
void PrintSearchRule(uint8_t rule, std::string& text);
