#pragma once
// Broadcast reply test frames (command 0xF5: sub-code 0 the request, 1 an answer) and the BLE
// configuration frames (0xE1 request, 0xE2 reply). The frame analyzer's table has no row for
// these commands; only these operations explain them.

#include <cstdint>
#include <string>

#include "link/byte_string.h"

// The request's or the answer's explanation; nothing for another sub-code.
void DispatchBroadcastReplyTestAnalyzer(const ByteString& frame, std::string& text);
void AnalyzeBroadcastReplyTestRequest(const ByteString& frame, std::string& text);
void AnalyzeBroadcastReplyTestReply(const ByteString& frame, std::string& text);

struct BroadcastTestRequestFlags {
    uint8_t multicast = 0;
    uint8_t passwordMode = 0;
    uint8_t reserved = 0;
};
struct BroadcastTestReplyFlags {
    uint8_t multicast = 0;
    uint8_t depth = 0;
    uint8_t passwordMode = 0;
    uint8_t reserved = 0;
};
// Decode the flag byte and print its lines.
void PrintBroadcastTestRequestFlags(uint8_t byte, BroadcastTestRequestFlags& flags, std::string& text);
void PrintBroadcastTestReplyFlags(uint8_t byte, BroadcastTestReplyFlags& flags, std::string& text);

void AnalyzeConfigBleRequest(const ByteString& frame, std::string& text);
void AnalyzeConfigBleReply(const ByteString& frame, std::string& text);
