#include "dialogs/frame_log.h"

#include "analyzer/analyzer.h"
#include "link/conversions.h"
#include "platform/text_format.h"

std::string FormatTimeStamp(const SystemTime& t) {
    return StrFormat("%04d-%02d-%02d %02d:%02d:%02d:%03d", t.year, t.month, t.day, t.hour, t.minute, t.second,
                     t.milliseconds);
}

void SpaceHexPairs(std::string& text) {
    std::string out;
    out.reserve(text.size() / 2 * 3);
    for (size_t i = 0; i < text.size() / 2; ++i) {
        out += text[2 * i];
        out += text[2 * i + 1];
        out += ' ';
    }
    text = std::move(out);
}

void SetRowHex(FrameLogRow& row, std::string hex) {
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1; };
    const size_t pairs = hex.size() / 2;
    ByteString frame;
    frame.reserve(pairs);
    for (size_t i = 0; i < pairs; ++i) {
        const int hi = digit(hex[2 * i]);
        const int lo = digit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) {
            SpaceHexPairs(hex);
            row.spacedHex = std::move(hex);
            row.hasFrame = false;
            return;
        }
        frame.push_back(static_cast<unsigned char>(hi << 4 | lo));
    }
    row.frame = std::move(frame);
    row.hasFrame = true;
}

std::string ExplainHexText(const std::string& hexText, const char* header, AnalyzerSink& sink) {
    ByteString frame;
    HexTextToBytes(hexText, frame, 0);
    std::string text = std::string(header) + "\r\n";
    AnalyzeFrame(frame, text, sink);
    return text;
}

FrameLogRow StampedRow(std::string frameHex) {
    FrameLogRow row;
    row.stamp = GetLocalTime();
    row.hasStamp = true;
    SetRowHex(row, std::move(frameHex));
    return row;
}

FrameLogRow PassThroughRow(std::string frameHex, bool received) {
    const size_t bytes = frameHex.size() / 2;
    FrameLogRow row = StampedRow(std::move(frameHex));
    row.extra = {received ? "R" : "T", StrFormat("%3d", static_cast<int>(bytes))};
    return row;
}

namespace {

// How long rows gather before the list shows them: at the line's rate the list then scrolls
// and selects once per batch, not once per row.
constexpr uint32_t kBatchMs = 30;

}  // namespace

void FrameLog::Attach(Dialog& owner, ListView list, Button autoUpdate) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_owner = &owner;
    m_list = list;
    m_autoUpdate = autoUpdate;
    m_counter = 0;
}

ListView FrameLog::List() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_list;
}

void FrameLog::Append(FrameLogRow row) {
    Dialog* owner = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_owner) return;
        m_pending.push_back(std::move(row));
        if (!m_flushPosted) {
            m_flushPosted = true;
            owner = m_owner;
        }
    }
    // Rows from every thread, the user-interface thread's too, wait for one batch.
    if (owner) owner->PostTaskAfter(kBatchMs, [this] { Flush(); });
}

void FrameLog::Flush() {
    std::vector<FrameLogRow> batch;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        batch.swap(m_pending);
        m_flushPosted = false;
    }
    int last = -1;
    std::vector<ListCell> cells;
    for (const FrameLogRow& row : batch) {
        const int index = m_list.GetItemCount();
        cells.clear();
        cells.push_back(row.hasStamp ? ListCell::TimeStamp(row.stamp) : ListCell::Text(row.time));
        cells.push_back(ListCell::Number(index, 2));
        cells.push_back(row.hasFrame ? ListCell::HexBytes(row.frame.data(), row.frame.size())
                                     : ListCell::Text(row.spacedHex));
        for (const std::string& e : row.extra) cells.push_back(ListCell::Text(e));
        last = m_list.AppendCells(cells.data(), cells.size());
        std::lock_guard<std::mutex> lock(m_lock);
        m_counter = static_cast<uint32_t>(index);
    }
    if (last >= 0 && m_autoUpdate.GetCheck()) {
        m_list.EnsureVisible(last);
        m_list.ClearSelection();
        m_list.SelectRow(last);
    }
}

void FrameLog::Clear() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_pending.clear();
        if (!m_owner) return;
    }
    m_list.DeleteAllItems();
}

uint32_t FrameLog::Counter() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_counter;
}

void FrameLogs::Add(LogList list, std::string frameHex) {
    if (list != LogList::None) (*this)[list].Append(StampedRow(std::move(frameHex)));
}

void FrameLogs::Add(LogList list, FrameLogRow row) {
    if (list != LogList::None) (*this)[list].Append(std::move(row));
}

void FrameLogs::ClearAll() {
    for (FrameLog& log : m_logs) log.Clear();
}
