#pragma once
// Test-tool frames (command 0xF2): the dispatcher on the sub-code (the first data byte) and the
// printers of their fields. The frame analyzer's table has no row for the command; only this
// dispatcher reaches these analyzers.

#include <cstdint>
#include <string>

#include "analyzer/text_pieces.h"
#include "link/byte_string.h"

// Appends the text of the frame's sub-code (nothing for a sub-code without an analyzer) and
// returns the cursor the analyzer left.
int DispatchTestToolAnalyzer(const ByteString& frame, std::string& text);

// Modulation, copy count and FEC rate lines of a modulation word.
void PrintModulationInfo(uint16_t word, TextPieces& out);
// PB amount and PB type lines.
void PrintPbInfo(uint8_t info, TextPieces& out);
// Total frames and current frame lines.
void PrintFrameCounters(uint8_t counters, TextPieces& out);
// High byte whole ppm, low byte hundredths, each signed.
double FrequencyOffsetToPpm(uint16_t word);
