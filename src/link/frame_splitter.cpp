#include "link/frame_splitter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "link/module_frame.h"
#include "platform/text_format.h"

namespace {

constexpr unsigned char kVersionCommand = 0x02;
constexpr size_t kVersionDataBytes = 7;
constexpr size_t kMeterAddressBytes = 6;

void Classify(const SplitHandlers& handlers, const ByteString& bytes, int mode) {
    if (handlers.classify) handlers.classify(bytes, mode);
}

// DL/T 645: 68, six address bytes, 68, control, length; then the data, the sum and 16.
constexpr size_t kMeterHeadBytes = 10;
constexpr size_t kMeterMaxFrame = kMeterHeadBytes + 255 + 2;
// Wake-up bytes a meter may send before its frame; at most this many are kept with it.
constexpr unsigned char kMeterWakeUp = 0xFE;
constexpr size_t kMeterMaxWakeUp = 4;

// The 8-bit sum and XOR of a stretch of bytes.
struct Folded {
    unsigned char sum;
    unsigned char x;
};

// Eight bytes at a time: the XOR of the words, and their bytes summed in 16-bit lanes (128
// words fit in a lane before it could carry into the next).
Folded FoldBytes(const unsigned char* p, size_t count) {
    constexpr uint64_t kLowBytes = 0x00FF00FF00FF00FFull;
    uint64_t words = 0;
    unsigned lanesTotal = 0;
    while (count >= 8) {
        const size_t run = std::min<size_t>(count / 8, 128);
        uint64_t lanes = 0;
        for (size_t k = 0; k < run; ++k, p += 8) {
            uint64_t w;
            std::memcpy(&w, p, 8);
            words ^= w;
            lanes += (w & kLowBytes) + ((w >> 8) & kLowBytes);
        }
        lanesTotal += static_cast<unsigned>(lanes + (lanes >> 16) + (lanes >> 32) + (lanes >> 48));
        count -= run * 8;
    }
    words ^= words >> 32;
    words ^= words >> 16;
    words ^= words >> 8;
    Folded f{static_cast<unsigned char>(lanesTotal), static_cast<unsigned char>(words)};
    for (; count > 0; --count, ++p) {
        f.sum = static_cast<unsigned char>(f.sum + *p);
        f.x ^= *p;
    }
    return f;
}

// Sums and XORs of stretches of one block. A short stretch is folded from its bytes; so is a long
// one while the long ones so folded stay within about twice the block's size (stuck-together
// frames cost that once, nested ones a few times); past that, running sums over the block,
// filled once as far as asked, give any stretch in the same time whatever its length. So a block
// costs time in proportion to its size however many start bytes claim long frames.
class BlockChecks {
public:
    BlockChecks(const unsigned char* p, size_t n) : m_p(p), m_n(n), m_budget(2 * n + 64) {}

    // Of the bytes from .. to-1.
    Folded Fold(size_t from, size_t to) {
        const size_t count = to - from;
        if (count < 8) {  // the smallest frames: four bytes, folded as one word
            Folded f{0, 0};
            const unsigned char* q = m_p + from;
            if (count >= 4) {
                uint32_t w;
                std::memcpy(&w, q, 4);
                const uint32_t lanes = (w & 0x00FF00FFu) + ((w >> 8) & 0x00FF00FFu);
                w ^= w >> 16;
                f = Folded{static_cast<unsigned char>(lanes + (lanes >> 16)), static_cast<unsigned char>(w ^ (w >> 8))};
                q += 4;
            }
            for (; q != m_p + to; ++q) {
                f.sum = static_cast<unsigned char>(f.sum + *q);
                f.x ^= *q;
            }
            return f;
        }
        // Short stretches cost little whatever comes: only longer ones draw on the budget.
        if (count > kShort) {
            if (count > m_budget) return FromRunning(from, to);
            m_budget -= count;
        }
        return FoldBytes(m_p + from, count);
    }

private:
    static constexpr size_t kShort = 64;

    // Out of line: only hostile blocks come here.
    [[gnu::noinline]] Folded FromRunning(size_t from, size_t to) {
        if (!m_running) {
            m_running.reset(new Folded[m_n + 1]);
            m_running[0] = Folded{0, 0};
        }
        Folded r = m_running[m_filled];
        for (; m_filled < to; ++m_filled) {
            r.sum = static_cast<unsigned char>(r.sum + m_p[m_filled]);
            r.x ^= m_p[m_filled];
            m_running[m_filled + 1] = r;
        }
        return Folded{static_cast<unsigned char>(m_running[to].sum - m_running[from].sum),
                      static_cast<unsigned char>(m_running[to].x ^ m_running[from].x)};
    }

    const unsigned char* m_p;
    size_t m_n;
    size_t m_budget;                      // bytes of long stretches that may still be folded
    std::unique_ptr<Folded[]> m_running;  // sum and XOR of the bytes before each index
    size_t m_filled = 0;                  // m_running[0 .. m_filled] are filled
};

size_t FrameLength(const unsigned char* p, size_t i) { return p[i + 1] | (static_cast<size_t>(p[i + 2]) << 8); }

// The first start byte at or after i; n when there is none.
size_t NextStart(const unsigned char* p, size_t i, size_t n) {
    const void* at = i < n ? std::memchr(p + i, kFrameStart, n - i) : nullptr;
    return at == nullptr ? n : static_cast<size_t>(static_cast<const unsigned char*>(at) - p);
}

// True when the bytes after the start byte at i, up to its check bytes, fold to the sum and XOR
// after them. The caller has checked that the whole frame lies inside the block.
bool ChecksMatch(const unsigned char* p, size_t i, size_t length, BlockChecks& checks) {
    const size_t end = i + length + 5;
    const Folded f = checks.Fold(i + 1, end);
    return f.sum == p[end] && f.x == p[end + 1];
}

// How a meter frame that starts at i stands against the end of the block.
enum class MeterShape { Not, Whole, Prefix };

MeterShape MeterShapeAt(const unsigned char* p, size_t n, size_t i, BlockChecks& checks) {
    const size_t have = n - i;
    if (have >= 8 && p[i + 7] != kMeterFrameStart) return MeterShape::Not;
    if (have < kMeterHeadBytes) return MeterShape::Prefix;
    const size_t length = p[i + 9];
    if (have >= length + 11 && checks.Fold(i, i + length + 10).sum != p[i + length + 10]) return MeterShape::Not;
    return have >= length + 12 ? MeterShape::Whole : MeterShape::Prefix;
}

// The whole meter frames of a block, met walking forward: whether a position lies inside one.
class WholeMeterFrames {
public:
    WholeMeterFrames(const unsigned char* p, size_t n, BlockChecks& checks) : m_p(p), m_n(n), m_checks(checks) {}

    // True when a whole meter frame starts before q and ends after it. q never goes back.
    bool Covers(size_t q) {
        // A frame that starts further back ends before q.
        if (q > kMeterMaxFrame) m_next = std::max(m_next, q - kMeterMaxFrame);
        for (; m_next < q; ++m_next) {
            const void* at = std::memchr(m_p + m_next, kMeterFrameStart, q - m_next);
            if (at == nullptr) {
                m_next = q;
                break;
            }
            m_next = static_cast<size_t>(static_cast<const unsigned char*>(at) - m_p);
            if (MeterShapeAt(m_p, m_n, m_next, m_checks) == MeterShape::Whole)
                m_end = std::max(m_end, m_next + m_p[m_next + 9] + 12);
        }
        return m_end > q;
    }

private:
    const unsigned char* m_p;
    size_t m_n;
    BlockChecks& m_checks;
    size_t m_next = 0;  // 0x68 bytes before here are counted
    size_t m_end = 0;   // the furthest end of those frames
};

// The last bytes of a block that an unfinished meter frame and its wake-up bytes can take, and
// which of them lie inside a whole frame of either kind.
class TailCover {
public:
    static constexpr size_t kWindow = kMeterMaxFrame - 1 + kMeterMaxWakeUp;

    explicit TailCover(size_t n) : m_n(n), m_first(n > kWindow ? n - kWindow : 0) {}
    size_t First() const { return m_first; }
    // Whole frames, each kind in start order; at most one of each kind starts at a byte.
    void AddWhole(size_t start, size_t end) {
        if (end <= m_first) return;
        if (start < m_first) {
            m_before = std::max(m_before, end);
        } else if (m_count < 2 * kWindow) {
            m_within[m_count++] = Whole{static_cast<uint16_t>(start - m_first), static_cast<uint16_t>(end - m_first)};
        }
    }
    // After the last AddWhole.
    void Settle() {
        uint16_t startEnd[kWindow] = {};  // the furthest end of a whole frame starting at each byte
        for (size_t k = 0; k < m_count; ++k) startEnd[m_within[k].start] = std::max(startEnd[m_within[k].start], m_within[k].end);
        size_t run = m_before;
        for (size_t q = m_first; q < m_n; ++q) {
            run = std::max(run, m_first + startEnd[q - m_first]);
            m_covered[q - m_first] = run > q;
        }
    }
    bool Covered(size_t q) const { return m_covered[q - m_first]; }

private:
    struct Whole {
        uint16_t start;  // from m_first
        uint16_t end;
    };
    size_t m_n;
    size_t m_first;
    size_t m_before = 0;  // the furthest end of a whole frame that starts before m_first
    Whole m_within[2 * kWindow];
    size_t m_count = 0;
    bool m_covered[kWindow];
};

// True when the bytes from i to the end of the block can still become a whole meter frame.
bool MeterFrameUnfinished(const unsigned char* p, size_t n, size_t i, BlockChecks& checks) {
    return p[i] == kMeterFrameStart && MeterShapeAt(p, n, i, checks) == MeterShape::Prefix;
}

// Where an unfinished meter frame at the end of the block starts, its wake-up bytes included
// (or where wake-up bytes alone end it); n when there is none. The earliest 0x68 that can still
// open a whole frame and lies inside no whole frame of either kind.
size_t MeterTailStart(const unsigned char* p, size_t n, BlockChecks& checks) {
    const auto next68 = [&](size_t i) {
        const void* at = i < n ? std::memchr(p + i, kMeterFrameStart, n - i) : nullptr;
        return at == nullptr ? n : static_cast<size_t>(static_cast<const unsigned char*>(at) - p);
    };
    TailCover cover(n);
    const size_t first = cover.First();
    size_t i = next68(first);
    while (i < n && !MeterFrameUnfinished(p, n, i, checks)) i = next68(i + 1);
    if (i == n && (n == 0 || p[n - 1] != kMeterWakeUp)) return n;  // the usual case: nothing to hold

    // The whole frames that reach into the window: module frames can be long, meter frames not.
    const size_t moduleFrom = first > kFrameOverhead + 0xFFFF ? first - kFrameOverhead - 0xFFFF : 0;
    for (size_t k = NextStart(p, moduleFrom, n); k < n; k = NextStart(p, k + 1, n)) {
        if (k + 2 >= n) break;
        const size_t length = FrameLength(p, k);
        if (k + length + 6 < n && ChecksMatch(p, k, length, checks)) cover.AddWhole(k, k + length + kFrameOverhead);
    }
    for (size_t k = next68(first > kMeterMaxFrame ? first - kMeterMaxFrame : 0); k < n; k = next68(k + 1)) {
        if (MeterShapeAt(p, n, k, checks) == MeterShape::Whole) cover.AddWhole(k, k + p[k + 9] + 12);
    }
    cover.Settle();
    while (i < n && (cover.Covered(i) || !MeterFrameUnfinished(p, n, i, checks))) i = next68(i + 1);
    size_t start = i;
    while (start > first && i - start < kMeterMaxWakeUp && p[start - 1] == kMeterWakeUp && !cover.Covered(start - 1))
        --start;
    return start;
}

// Looks for the answer of the meter being read. True when one was found and handed on; the
// bytes around it go on as raw chunks when rawChunks is set.
bool MeterPass(const ByteString& block, const SplitSettings& settings, const SplitHandlers& handlers,
               BlockChecks& checks, bool rawChunks) {
    const size_t n = block.size();
    const unsigned char* p = block.data();
    for (size_t i = 0; i < n; ++i) {
        const void* next = std::memchr(p + i, kMeterFrameStart, n - i);
        if (next == nullptr) break;
        i = static_cast<size_t>(static_cast<const unsigned char*>(next) - p);
        // The first 0x68 that does not open a whole meter frame ends the pass.
        if (i + 9 >= n || p[i + 7] != kMeterFrameStart) return false;
        const size_t length = p[i + 9];
        if (i + length + 11 >= n) return false;
        const bool sumMatches = checks.Fold(i, i + length + 10).sum == p[i + length + 10];
        if (settings.meterAddress.size() != kMeterAddressBytes ||
            std::memcmp(p + i + 1, settings.meterAddress.data(), kMeterAddressBytes) != 0) {
            // Another meter's whole frame (a late answer) does not hide the one that follows it.
            if (!sumMatches) return false;
            i += length + 11;
            continue;
        }
        if (!sumMatches) continue;

        const size_t frameSize = length + 12;
        if (handlers.meterFrame) handlers.meterFrame(block.substr(i, frameSize));
        if (rawChunks && i > 0) Classify(handlers, block.substr(0, i), kRawChunk);
        if (rawChunks && i + frameSize < n) Classify(handlers, block.substr(i + frameSize), kRawChunk);
        return true;
    }
    return false;
}

}  // namespace

bool VersionTextFromFrame(const ByteString& frame, std::string& text) {
    std::string out = "版本号:";
    if (FrameByte(frame, 4) == kVersionCommand) {
        if (frame.size() < kFrameOverhead + kVersionDataBytes || FrameWord(frame, 1) < kVersionDataBytes) {
            return false;
        }
        const unsigned char* d = frame.data() + 5;
        out += (d[0] | (d[1] << 8)) == 0x5156 ? "QV" : "未知";
        AppendFormat(out, "-%02X%02X-%02X-%02X-%02X", d[3], d[2], d[4], d[6], d[5]);
    }
    text = out;
    return true;
}

size_t IncompleteFrameStart(const unsigned char* p, size_t n) {
    BlockChecks checks(p, n);
    WholeMeterFrames meterFrames(p, n, checks);
    size_t completeEnd = 0;  // just past the last byte of any checked frame
    size_t pending = n;      // the first cut-off candidate at or after completeEnd
    for (size_t i = NextStart(p, 0, n); i < n; i = NextStart(p, i + 1, n)) {
        const bool cutOff = i + 2 >= n || i + FrameLength(p, i) + 6 >= n;
        if (cutOff) {
            // A 0x79 inside a whole meter frame is one of its bytes.
            if (pending == n && i >= completeEnd && !meterFrames.Covers(i)) pending = i;
            continue;
        }
        const size_t length = FrameLength(p, i);
        if (!ChecksMatch(p, i, length, checks)) continue;
        completeEnd = std::max(completeEnd, i + length + kFrameOverhead);
        if (pending < completeEnd) pending = n;
    }
    return std::min(pending, MeterTailStart(p, n, checks));
}

size_t IncompleteFrameStart(const ByteString& block) { return IncompleteFrameStart(block.data(), block.size()); }

void SplitReceivedStream(const ByteString& block, const SplitSettings& settings, const SplitHandlers& handlers) {
    if (settings.showAllReceived) Classify(handlers, block, kRawChunk);

    const size_t n = block.size();
    const unsigned char* p = block.data();
    BlockChecks checks(p, n);
    for (size_t i = NextStart(p, 0, n); i < n; i = NextStart(p, i + 1, n)) {
        if (i + 2 >= n) break;
        const size_t length = FrameLength(p, i);
        const size_t last = i + length + 6;
        if (last >= n || !ChecksMatch(p, i, length, checks)) continue;

        const ByteString frame = block.substr(i, length + kFrameOverhead);
        if (handlers.claimVersionCapture && handlers.claimVersionCapture()) {
            std::string text;
            if (VersionTextFromFrame(frame, text) && handlers.setVersionText) handlers.setVersionText(text);
        } else {
            Classify(handlers, frame, kCheckedFrame);
        }
        if (last == n - 1) {
            // A meter answer before the block's last frame still reaches the rounds.
            if (settings.meterPassEnabled) MeterPass(block, settings, handlers, checks, false);
            return;
        }
        // Go on at the byte after the start byte: a frame inside this one's data counts too.
    }

    if (settings.meterPassEnabled && MeterPass(block, settings, handlers, checks, true)) return;
    if (!settings.showAllReceived) Classify(handlers, block, kRawChunk);
}
