#include "dialogs/frame_log.h"

#include <mutex>
#include <unordered_map>

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

namespace {

// Rows waiting for the user-interface thread, per list, in the order they were written.
struct PendingRows {
    std::vector<FrameLogRow> rows;
    Button autoUpdate;
    uint32_t* counter = nullptr;
    bool flushPosted = false;
};

std::mutex g_pendingLock;
std::unordered_map<uint64_t, PendingRows> g_pending;

// How long rows gather before the list shows them: at the line's rate the list then scrolls
// and selects once per batch, not once per row.
constexpr uint32_t kBatchMs = 30;

// Appends what is pending for the list; user-interface thread only.
void Flush(ListView list) {
    PendingRows batch;
    {
        std::lock_guard<std::mutex> lock(g_pendingLock);
        auto it = g_pending.find(list.UniqueId());
        if (it == g_pending.end()) return;
        batch = std::move(it->second);
        g_pending.erase(it);
    }
    int last = -1;
    std::vector<ListCell> cells;
    for (const FrameLogRow& row : batch.rows) {
        const int index = list.GetItemCount();
        if (batch.counter) *batch.counter = static_cast<uint32_t>(index);
        cells.clear();
        cells.push_back(row.hasStamp ? ListCell::TimeStamp(row.stamp) : ListCell::Text(row.time));
        cells.push_back(ListCell::Number(index, 2));
        cells.push_back(row.hasFrame ? ListCell::HexBytes(row.frame.data(), row.frame.size())
                                     : ListCell::Text(row.spacedHex));
        for (const std::string& e : row.extra) cells.push_back(ListCell::Text(e));
        last = list.AppendCells(cells.data(), cells.size());
    }
    if (last >= 0 && batch.autoUpdate.GetCheck()) {
        list.EnsureVisible(last);
        list.ClearSelection();
        list.SelectRow(last);
    }
}

}  // namespace

void AppendFrameLogRow(Dialog& owner, ListView list, Button autoUpdate, FrameLogRow row, uint32_t* counter) {
    bool post = false;
    {
        std::lock_guard<std::mutex> lock(g_pendingLock);
        PendingRows& p = g_pending[list.UniqueId()];
        p.rows.push_back(std::move(row));
        p.autoUpdate = autoUpdate;
        p.counter = counter;
        if (!p.flushPosted) {
            p.flushPosted = true;
            post = true;
        }
    }
    // Rows from every thread, the user-interface thread's too, wait for one batch.
    if (post) owner.PostTaskAfter(kBatchMs, [list] { Flush(list); });
}

void ClearFrameLog(ListView list) {
    {
        std::lock_guard<std::mutex> lock(g_pendingLock);
        auto it = g_pending.find(list.UniqueId());
        if (it != g_pending.end()) it->second.rows.clear();
    }
    list.DeleteAllItems();
}
