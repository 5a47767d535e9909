#pragma once
// The remote network-password exchange (0x1C-0x1F) and the record its requests carry.

#include <cstdint>
#include <string>

#include "analyzer/frame_reader.h"
#include "link/byte_string.h"

struct PskField {
    uint8_t length = 0;
    ByteString bytes;
};

// The head of a remote password request; packed into the 16-bit mode word, low byte first.
struct RemotePasswordParams {
    uint8_t targetMode = 0;     // bits 4-7, DeviceModeCode
    uint8_t sourceMode = 0;     // bits 0-3, DeviceModeCode
    uint8_t priority = 0;       // bit 8
    uint8_t multicastFlag = 0;  // bit 9
    uint8_t reserved = 0;       // bits 10-15
    PskField psk1;
    PskField psk2;
};

// The mode word of the record's head fields; each field is cut to its bits.
uint16_t PackModeWord(const RemotePasswordParams& params);

void AnalyzeRemoteSetPassword(const ByteString& frame, std::string& text);
// The caller appends the title first.
void AnalyzeRemoteSetPasswordSlaveRequest(const ByteString& frame, std::string& text);
void AnalyzeRemoteSetPasswordReply(const ByteString& frame, std::string& text);
void AnalyzeRemoteSetPasswordReplyReport(const ByteString& frame, std::string& text);

// Unpacks source mode, target mode, priority and multicast flag into the record and prints them.
void PrintRequestModeWord(uint16_t word, std::string& text, RemotePasswordParams* params);
// Body of a 0x1D module request; false after the incomplete-frame text.
bool PrintPasswordSlaveRequest(FrameReader& in, std::string& text);
// Body of a 0x1F module frame; reads past the frame as zeros.
void PrintPasswordReplyReport(FrameReader& in, std::string& text);
void PrintPriority(uint8_t value, std::string& text);
void PrintDecryptState(uint8_t value, std::string& text);
void PrintModifyResult(uint8_t value, std::string& text);
