#pragma once
// Data transfer and reports: send and receive data, active report, execution-state report and
// point reading, with the tests the point-reading worker shares.

#include <cstdint>
#include <string>

#include "link/byte_string.h"
#include "link/point_read.h"

// The 24-bit info word of a receive-data frame from the module (low byte first).
struct ReceiveInfoWord {
    uint8_t sourceMode = 0;     // bits 0-3
    uint8_t targetMode = 0;     // bits 4-7
    uint8_t depth = 0;          // bits 8-11
    uint8_t bits12to13 = 0;     // not shown
    uint8_t multicastFlag = 0;  // bit 14; 1 = a multicast address follows
    uint8_t passwordMode = 0;   // bit 15
    uint8_t bits16to23 = 0;     // not shown
};

// The flag byte of a point-reading frame.
struct PointReadFlags {
    uint8_t multicastFlag = 0;  // bit 0; 1 = a multicast address follows
    uint8_t passwordMode = 0;   // bit 1
    uint8_t reserved = 0;       // bits 2-7
};

void AnalyzeSendData(const ByteString& frame, std::string& text);
int AnalyzeReceiveData(const ByteString& frame, std::string& text);
void AnalyzeActiveReport(const ByteString& frame, std::string& text);
int AnalyzeExecStateReport(const ByteString& frame, std::string& text);
int AnalyzePointRead(const ByteString& frame, std::string& text);

void UnpackReceiveInfoWord(uint32_t word, ReceiveInfoWord& fields);
void PrintReceiveInfo(const ReceiveInfoWord& fields, std::string& text);
// The name of an execution exception code, without a line break; nothing for unnamed codes.
void PrintExceptionCode(uint8_t code, std::string& text);
// Fills the fields and prints the multicast-flag and password-mode lines.
void PrintFlagByte(uint8_t flag, PointReadFlags& fields, std::string& text);
