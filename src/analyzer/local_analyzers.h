#pragma once
// Commands that the host sends to its own module, and their replies.

#include <cstdint>
#include <string>

#include "analyzer/analyzer_sink.h"
#include "analyzer/frame_reader.h"
#include "link/byte_string.h"

void AnalyzeModuleRestart(const ByteString& frame, std::string& text);
// A whole version reply also shows its version through the sink.
void AnalyzeReadVersion(const ByteString& frame, std::string& text, AnalyzerSink& sink);
void AnalyzeReadMacAddress(const ByteString& frame, std::string& text);
void AnalyzeReadLocalPassword(const ByteString& frame, std::string& text);
void AnalyzeSetLocalPassword(const ByteString& frame, std::string& text);
void AnalyzeReadCommAddress(const ByteString& frame, std::string& text);
int AnalyzeSetCommAddress(const ByteString& frame, std::string& text);
void AnalyzeReadNetworkParams(const ByteString& frame, std::string& text);
int AnalyzeSetNetworkParams(const ByteString& frame, std::string& text);
// Not routed by the command dispatcher: the multicast group addresses (set, read) and the local
// tone (0x20); the tone's result is the cursor after its fields.
void AnalyzeSetMulticastAddress(const ByteString& frame, std::string& text);
void AnalyzeReadMulticastAddress(const ByteString& frame, std::string& text);
int AnalyzeSetLocalTone(const ByteString& frame, std::string& text);
// Also not routed: setting a password key, and the local MAC address (its result the cursor,
// -1 after the incomplete-frame text).
void AnalyzeSetPassword(const ByteString& frame, std::string& text);
int AnalyzeSetLocalMacAddress(const ByteString& frame, std::string& text);

// "节点子载波数：    " and 136tone (0) or 411tone (1), nothing for another code; a line.
void PrintSubcarrierCount(uint8_t code, std::string& text);
// The result byte and the failure reason byte.
void PrintRestartResult(FrameReader& in, std::string& text);
void PrintFailureReason(uint8_t reason, std::string& text);
// The four version lines of 7 bytes; when all 7 are inside the frame, also shows the version
// through the sink.
void PrintVersionInfo(FrameReader& in, std::string& text, AnalyzerSink& sink);
// The password of a reply whose data length is dataLength.
void PrintUserPassword(FrameReader& in, std::string& text, unsigned dataLength);
