#pragma once
// The remote multicast-group setting: the host's request and reply and the module's reports of
// them. The command dispatcher routes none of these; they read no command byte and append no
// title. Each returns false when the destination address was cut by the end of the frame.

#include <cstdint>
#include <string>

#include "link/byte_string.h"

// The word at the head of the request and the reply.
struct MulticastRequestFields {
    uint8_t sourceMode = 0;     // bits 0-3
    uint8_t targetMode = 0;     // bits 4-7
    uint8_t multicastFlag = 0;  // bit 8
};

// The word at the head of the two reports.
struct MulticastReportFields {
    uint8_t sourceMode = 0;     // bits 0-3
    uint8_t targetMode = 0;     // bits 4-7
    uint8_t depth = 0;          // bits 8-11
    uint8_t multicastFlag = 0;  // bit 12
};

bool AnalyzeRemoteSetMulticastRequest(const ByteString& frame, std::string& text);
bool AnalyzeRemoteSetMulticastReply(const ByteString& frame, std::string& text);
bool AnalyzeRemoteSetMulticastRequestReport(const ByteString& frame, std::string& text);
bool AnalyzeRemoteSetMulticastReplyReport(const ByteString& frame, std::string& text);

// Unpacks the word into the fields and prints source mode, target mode and multicast flag.
bool PrintMulticastRequestWord(uint16_t word, std::string& text, MulticastRequestFields* fields);
// Unpacks the word into the fields and prints source mode, target mode, depth and multicast flag.
void PrintMulticastReportWord(uint16_t word, std::string& text, MulticastReportFields* fields);
// "升级Bin类型： " and the kind of an upgrade image.
void PrintUpgradeBinType(uint8_t value, std::string& text);
