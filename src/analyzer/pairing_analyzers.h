#pragma once
// Pairing frames (command 0x60): the dispatcher on the sub-code (the first data byte) and the
// analyzers of the local pairing sub-codes 0x00-0x06. The search, test and remote sub-codes are
// in pairing_remote_analyzers.h. The frame analyzer's table has no row for the pairing command,
// so a pairing frame given to AnalyzeFrame reads as an unknown command; only this dispatcher
// reaches these analyzers.

#include <cstdint>
#include <string>

#include "link/byte_string.h"

// Appends the text of the frame's sub-code; a sub-code without an analyzer appends nothing.
void DispatchPairingAnalyzer(const ByteString& frame, std::string& text);

void AnalyzePairReadLocal(const ByteString& frame, std::string& text);
void AnalyzePairSetLocal(const ByteString& frame, std::string& text);
void AnalyzePairSetWaitState(const ByteString& frame, std::string& text);
void AnalyzePairStartAuto(const ByteString& frame, std::string& text);
void AnalyzePairAutoReport(const ByteString& frame, std::string& text);
void AnalyzePairReadAvailableNetworks(const ByteString& frame, std::string& text);
void AnalyzePairClearLocal(const ByteString& frame, std::string& text);

// "上报自动配对结果状态：" and the result's name, no line break.
void PrintAutoPairResult(uint8_t result, std::string& text);
