#pragma once
// Writing time-stamped frame rows into a list, from any thread.

#include <string>
#include <vector>

#include "analyzer/analyzer_sink.h"
#include "link/byte_string.h"
#include "platform/local_time.h"
#include "platform/ui.h"

// "%04d-%02d-%02d %02d:%02d:%02d:%03d"
std::string FormatTimeStamp(const SystemTime& t);

// A blank after every two characters; an odd last character is dropped.
void SpaceHexPairs(std::string& text);

// The header, CRLF and the explanation of the frame in a row's hex text.
std::string ExplainHexText(const std::string& hexText, const char* header, AnalyzerSink& sink);

// One row of a frame log: time, "%02d" index, spaced hex text, then the extra columns.
struct FrameLogRow {
    std::string time;
    std::string spacedHex;
    std::vector<std::string> extra;
    // Compact forms that stand for time and spacedHex when set: the list makes the texts from
    // them when it draws the row.
    bool hasStamp = false;
    SystemTime stamp;
    bool hasFrame = false;
    ByteString frame;  // shown as "%02X " a byte
};

// The row's frame column from hex text without blanks, shown as SpaceHexPairs shows it: kept
// as bytes when the text is upper-case hexadecimal, else as the spaced text.
void SetRowHex(FrameLogRow& row, std::string hex);

// Appends the row on the user-interface thread: rows from any thread, that thread's own too,
// gather for a short while and go in as one batch, in the order they were written.
// The index column is the list's item count at insertion; counter (when given) receives it.
// With autoUpdate checked the batch's last row is scrolled into view and becomes the only selection.
void AppendFrameLogRow(Dialog& owner, ListView list, Button autoUpdate, FrameLogRow row, uint32_t* counter = nullptr);

// Deletes every row of the list and drops the rows still waiting to go in.
void ClearFrameLog(ListView list);
