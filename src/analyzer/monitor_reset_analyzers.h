#pragma once
// Smart-monitor frames (sub-code 1 on, 0 off) and reset-information frames (command 0xF4): a
// dispatcher on the first data byte for each family. The frame analyzer's table has no row for
// either; only these dispatchers reach their analyzers.

#include <string>

#include "analyzer/analyzer_sink.h"
#include "analyzer/frame_reader.h"
#include "analyzer/text_pieces.h"
#include "link/byte_string.h"

// Appends the text of the sub-code (nothing for one outside the family); a module reply
// switches the sink's descrambling as it reports the mode. Returns the cursor, 6.
int DispatchSmartMonitorAnalyzer(const ByteString& frame, std::string& text, AnalyzerSink& sink);

// Appends the text of the sub-code (nothing for one outside the family); returns the cursor the
// analyzer left, or -1 after the incomplete-frame text when the frame has no sub-code.
int DispatchResetInfoAnalyzer(const ByteString& frame, std::string& text);

// Flags, then the software, watchdog, power-down and external counts, one line each.
void PrintResetCounters(FrameReader& in, TextPieces& out);
