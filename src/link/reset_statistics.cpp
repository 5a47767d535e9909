#include "link/reset_statistics.h"

#include "platform/text_format.h"

ResetCounters ReadResetCounters(FrameCursor& in) {
    unsigned char b[20];
    in.CopyOrZero(b, sizeof b);
    ResetCounters out;
    for (size_t i = 0; i < 4; ++i) out.word[i] = b[i];
    for (size_t k = 0; k < 4; ++k) {
        const unsigned char* c = b + 4 + 4 * k;
        out.counts[k] = c[0] | c[1] << 8 | c[2] << 16 | static_cast<uint32_t>(c[3]) << 24;
    }
    return out;
}

bool ReadResetStatistics(const ByteString& frame, ResetStatistics& out) {
    constexpr long long kWordAt = 12;
    FrameCursor in(frame, kWordAt);
    if (!in.Has(1)) return false;
    const ResetCounters counters = ReadResetCounters(in);
    out.resetWord.clear();
    for (size_t i = 4; i-- > 0;) AppendFormat(out.resetWord, "%02X", counters.word[i]);
    for (size_t k = 0; k < 4; ++k) out.counts[k] = counters.counts[k];
    return true;
}
