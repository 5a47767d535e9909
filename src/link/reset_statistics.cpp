#include "link/reset_statistics.h"

#include "platform/text_format.h"

bool ReadResetStatistics(const ByteString& frame, ResetStatistics& out) {
    constexpr size_t kWordAt = 12;
    constexpr size_t kCountsAt = 16;
    if (frame.size() <= kWordAt) return false;
    // Bytes past the frame's end read as 0.
    auto at = [&frame](size_t i) -> uint32_t { return i < frame.size() ? frame[i] : 0; };
    out.resetWord.clear();
    for (size_t i = kWordAt + 4; i-- > kWordAt;) AppendFormat(out.resetWord, "%02X", at(i));
    for (size_t k = 0; k < 4; ++k) {
        const size_t i = kCountsAt + 4 * k;
        out.counts[k] = at(i) | at(i + 1) << 8 | at(i + 2) << 16 | at(i + 3) << 24;
    }
    return true;
}
