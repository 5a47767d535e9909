#pragma once
// Explains one 0x79 module frame as text. Every operation appends to the caller's text and
// reads the frame through a FrameReader, so no frame, however short, is read out of bounds.

#include <string>

#include "analyzer/data_analyzers.h"
#include "analyzer/frame_reader.h"
#include "analyzer/remote_command_analyzers.h"
#include "analyzer/remote_password_analyzers.h"
#include "analyzer/search_analyzers.h"
#include "link/byte_string.h"

struct DecodedControlField {
    uint8_t direction = 0;    // bit 7
    uint8_t startFlag = 0;    // bit 6
    uint8_t respFlag = 0;     // bit 5
    uint8_t channelType = 0;  // bits 4-3
};

DecodedControlField DecodeControlField(const ByteString& frame);

void AnalyzeFrame(const ByteString& frame, std::string& text);
void PrintControlField(const ByteString& frame, std::string& text);
void PrintDirection(const DecodedControlField& cf, std::string& text);
void PrintStartFlag(const DecodedControlField& cf, std::string& text);
void PrintRespFlag(const DecodedControlField& cf, std::string& text);
void PrintChannelType(const DecodedControlField& cf, std::string& text);
int GetDirectionBit(const ByteString& frame);
int GetRespBit(const ByteString& frame);
void DispatchCommandAnalyzer(const ByteString& frame, std::string& text);
// The text of a code without an analyzer.
void AnalyzeUnknownCommand(const ByteString& frame, std::string& text);

// Meter frames get no explanation.
void AnalyzeMeterFrame(const ByteString& frame, std::string& text);
int AnalyzeStubAccept(const ByteString& frame, uint32_t a, uint32_t b, uint32_t c);
int AnalyzeStubReject(const ByteString& frame, std::string& text);

// Local module commands.
void AnalyzeModuleRestart(const ByteString& frame, std::string& text);
void AnalyzeReadVersion(const ByteString& frame, std::string& text);
void AnalyzeReadMacAddress(const ByteString& frame, std::string& text);
void AnalyzeReadLocalPassword(const ByteString& frame, std::string& text);
void AnalyzeSetLocalPassword(const ByteString& frame, std::string& text);
void AnalyzeReadCommAddress(const ByteString& frame, std::string& text);
int AnalyzeSetCommAddress(const ByteString& frame, std::string& text);
void AnalyzeReadNetworkParams(const ByteString& frame, std::string& text);
int AnalyzeSetNetworkParams(const ByteString& frame, std::string& text);

// The result byte and the failure reason byte.
void PrintRestartResult(FrameReader& in, std::string& text);
void PrintFailureReason(uint8_t reason, std::string& text);
// The four version lines of 7 bytes; when all 7 are inside the frame, also shows the version in
// the main window's label.
void PrintVersionInfo(FrameReader& in, std::string& text);
// The password of a reply whose data length is dataLength.
void PrintUserPassword(FrameReader& in, std::string& text, unsigned dataLength);
