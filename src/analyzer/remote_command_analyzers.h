#pragma once
// Commands the host sends through its module to a distant device, and broadcast.

#include <cstdint>
#include <string>

#include "analyzer/analyzer_sink.h"
#include "link/byte_string.h"

// A broadcast request's parameter word (16 bits, low byte first), unpacked.
struct BroadcastParamWord {
    uint8_t sourceMode = 0;     // bits 0-3
    uint8_t targetMode = 0;     // bits 4-7
    uint8_t priority = 0;       // bit 8
    uint8_t radius = 0;         // bits 9-12
    uint8_t passwordMode = 0;   // bit 13
    uint8_t multicastFlag = 0;  // bit 14
};

struct MulticastAndVersionType {
    uint8_t multicastFlag = 0;  // bit 0
    uint8_t versionType = 0;    // bits 1-2
};

int AnalyzeRemoteRestart(const ByteString& frame, std::string& text);
// A whole version answer also shows its version through the sink.
int AnalyzeRemoteReadVersion(const ByteString& frame, std::string& text, AnalyzerSink& sink);
int AnalyzeRemoteReadMacAddress(const ByteString& frame, std::string& text);
int AnalyzeRemoteReadNetworkParams(const ByteString& frame, std::string& text);
int AnalyzeRemoteSetLwip(const ByteString& frame, std::string& text);
int AnalyzeBroadcast(const ByteString& frame, std::string& text);

void PrintSetType(uint8_t value, std::string& text);
void PrintBroadcastParams(uint16_t word, std::string& text, BroadcastParamWord& fields);
void PrintVersionType(uint8_t value, std::string& text);
void PrintMulticastAndVersionType(uint8_t value, std::string& text, MulticastAndVersionType& fields);
