#include "app/frame_log.h"

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

void AppendFrameLogRow(Dialog& owner, ListView list, Button autoUpdate, FrameLogRow row, uint32_t* counter) {
    if (!IsUiThread()) {
        owner.PostTask([&owner, list, autoUpdate, row = std::move(row), counter]() mutable {
            AppendFrameLogRow(owner, list, autoUpdate, std::move(row), counter);
        });
        return;
    }
    const int index = list.GetItemCount();
    if (counter) *counter = static_cast<uint32_t>(index);
    std::vector<std::string> cells;
    cells.reserve(3 + row.extra.size());
    cells.push_back(std::move(row.time));
    cells.push_back(StrFormat("%02d", index));
    cells.push_back(std::move(row.spacedHex));
    for (std::string& e : row.extra) cells.push_back(std::move(e));
    const int r = list.AppendRow(cells);
    if (autoUpdate.GetCheck()) {
        list.EnsureVisible(r);
        list.ClearSelection();
        list.SelectRow(r);
    }
}
