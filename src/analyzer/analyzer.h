#pragma once
// Explains one 0x79 module frame as text: the control field's lines, then the analyzer that the
// dispatch table gives for the frame's command and sub-command. Every operation appends to the
// caller's text and reads the frame through a FrameReader, so no frame, however short, is read
// out of bounds. What an explanation changes besides the text goes to the caller's sink.

#include <cstdint>
#include <string>

#include "analyzer/analyzer_sink.h"
#include "link/byte_string.h"

void AnalyzeFrame(const ByteString& frame, std::string& text, AnalyzerSink& sink);
void DispatchCommandAnalyzer(const ByteString& frame, std::string& text, AnalyzerSink& sink);
// The text of a code without an analyzer.
void AnalyzeUnknownCommand(const ByteString& frame, std::string& text);

// Meter frames get no explanation.
void AnalyzeMeterFrame(const ByteString& frame, std::string& text);
int AnalyzeStubAccept(const ByteString& frame, uint32_t a, uint32_t b, uint32_t c);
int AnalyzeStubReject(const ByteString& frame, std::string& text);
