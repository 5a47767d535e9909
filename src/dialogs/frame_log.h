#pragma once
// Writing time-stamped frame rows into a list, from any thread.

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "analyzer/analyzer_sink.h"
#include "link/byte_string.h"
#include "link/classifier.h"
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

// A row stamped now with the frame's hex text (no blanks), as SetRowHex takes it.
FrameLogRow StampedRow(std::string frameHex);
// A row of the pass-through list: stamped, then "R" (received) or "T" and the byte count "%3d".
FrameLogRow PassThroughRow(std::string frameHex, bool received);

// One frame log list with its counter and lock. Rows from any thread, the user-interface
// thread's own too, gather for a short while and go in as one batch, in the order written.
class FrameLog {
public:
    FrameLog() = default;
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    // The list, the check box that keeps its last row in view, and the dialog whose thread
    // appends the rows; the counter starts again at 0.
    void Attach(Dialog& owner, ListView list, Button autoUpdate);
    ListView List() const;
    // From any thread. The index column is the list's item count at insertion. With autoUpdate
    // checked the batch's last row is scrolled into view and becomes the only selection.
    void Append(FrameLogRow row);
    // Deletes every row of the list and drops the rows still waiting to go in.
    void Clear();
    // The index of the row that went in last; 0 from the attachment on.
    uint32_t Counter() const;

private:
    // Appends what is pending; user-interface thread only.
    void Flush();

    mutable std::mutex m_lock;
    Dialog* m_owner = nullptr;
    ListView m_list;
    Button m_autoUpdate;
    std::vector<FrameLogRow> m_pending;
    bool m_flushPosted = false;
    uint32_t m_counter = 0;
};

// The main window's frame logs, one for each LogList key but None.
class FrameLogs {
public:
    FrameLog& operator[](LogList list) { return m_logs[static_cast<size_t>(list)]; }
    // A row stamped now with the frame's hex text, or the row given; from any thread. None
    // writes nothing.
    void Add(LogList list, std::string frameHex);
    void Add(LogList list, FrameLogRow row);
    // Empties every log, dropping the rows still waiting.
    void ClearAll();

private:
    std::array<FrameLog, static_cast<size_t>(LogList::MeterRead) + 1> m_logs;
};
