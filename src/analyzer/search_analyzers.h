#pragma once
// Device search: start and stop a search, search reports, and the attribute request and reply.

#include <cstdint>
#include <string>

#include "analyzer/frame_reader.h"
#include "link/byte_string.h"

// The search parameters of a start-search request (a 16-bit word, low byte first).
struct SearchParamWord {
    uint8_t sourceMode = 0;     // bits 0-3, DeviceModeCode
    uint8_t targetMode = 0;     // bits 4-7, DeviceModeCode
    uint8_t radius = 0;         // bits 8-11
    uint8_t range = 0;          // bits 12-14, SearchRange
    uint8_t multicastFlag = 0;  // bit 15; 1 = a multicast address follows
};

// The info word of one device of a search report (16 bits, low byte first).
struct DeviceInfoWord {
    uint8_t depth = 0;          // bits 0-3
    uint8_t netState = 0;       // bits 4-7, NetState
    uint8_t deviceType = 0;     // bits 8-11, DeviceModeCode
    uint8_t multicastFlag = 0;  // bit 12; 1 = a multicast address follows
    uint8_t reserved = 0;       // bits 13-15, not shown
};

DeviceInfoWord UnpackDeviceInfoWord(uint16_t word);

// The attribute-request word of 0x1A.
struct AttributeRequestWord {
    uint8_t sourceMode = 0;     // bits 0-3
    uint8_t targetMode = 0;     // bits 4-7
    uint8_t multicastFlag = 0;  // bit 8
};

// The attribute-reply word of 0x1B.
struct AttributeReplyWord {
    uint8_t sourceMode = 0;     // bits 0-3
    uint8_t targetMode = 0;     // bits 4-7
    uint8_t replyState = 0;     // bit 8, AttributeReplyState; 1 = an attribute follows
    uint8_t multicastFlag = 0;  // bit 9
};

int AnalyzeStartSearch(const ByteString& frame, std::string& text);
void AnalyzeStopSearch(const ByteString& frame, std::string& text);
void AnalyzeSearchReport(const ByteString& frame, std::string& text);
int AnalyzeRequestSearchAttribute(const ByteString& frame, std::string& text);
int AnalyzeReplySearchAttribute(const ByteString& frame, std::string& text);

// Unpacks the word and prints its five lines.
void PrintSearchParams(uint16_t word, std::string& text, SearchParamWord& fields);
void PrintSearchRange(uint8_t value, std::string& text);
void PrintNetState(uint8_t value, std::string& text);
void PrintAttributeReplyState(uint8_t value, std::string& text);
// Depth, net state, device type and multicast flag of the word.
DeviceInfoWord PrintDeviceInfoWord(uint16_t word, std::string& text);
void PrintAttributeRequestWord(uint16_t word, std::string& text, AttributeRequestWord& fields);
void UnpackAttributeReplyWord(uint16_t word, AttributeReplyWord& fields);
// Length byte and attribute; false after the incomplete-frame text.
bool PrintAttribute(FrameReader& in, std::string& text);
