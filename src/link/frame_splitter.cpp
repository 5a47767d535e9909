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

// Sums and XORs of stretches of one block. A stretch is folded from its bytes while the bytes so
// folded stay within about twice the block's size (stuck-together frames cost that once, nested
// ones a few times); past that, running sums over the block, filled once as far as asked, give
// any stretch in the same time whatever its length. So a block costs time in proportion to its
// size however many start bytes claim long frames.
class BlockChecks {
public:
    BlockChecks(const unsigned char* p, size_t n) : m_p(p), m_n(n), m_budget(2 * n + 64) {}

    // Of the bytes from .. to-1.
    Folded Fold(size_t from, size_t to) {
        const size_t count = to - from;
        if (count > m_budget) return FromRunning(from, to);
        m_budget -= count;
        if (count >= 8) return FoldBytes(m_p + from, count);
        Folded f{0, 0};  // the smallest frames: four bytes
        for (const unsigned char* q = m_p + from; q != m_p + to; ++q) {
            f.sum = static_cast<unsigned char>(f.sum + *q);
            f.x ^= *q;
        }
        return f;
    }

private:
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
    size_t m_budget;                      // bytes that may still be folded one by one
    std::unique_ptr<Folded[]> m_running;  // sum and XOR of the bytes before each index
    size_t m_filled = 0;                  // m_running[0 .. m_filled] are filled
};

size_t FrameLength(const unsigned char* p, size_t i) { return p[i + 1] | (static_cast<size_t>(p[i + 2]) << 8); }

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
    bool Inside(size_t q) {
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
    void AddWhole(size_t start, size_t end) {
        if (end <= m_first) return;
        size_t& e = start < m_first ? m_before : m_startEnd[start - m_first];
        e = std::max(e, end);
    }
    // After the last AddWhole.
    void Settle() {
        size_t run = m_before;
        for (size_t q = m_first; q < m_n; ++q) {
            run = std::max(run, m_startEnd[q - m_first]);
            m_covered[q - m_first] = run > q;
        }
    }
    bool Covered(size_t q) const { return m_covered[q - m_first]; }

private:
    size_t m_n;
    size_t m_first;
    size_t m_before = 0;             // the furthest end of a whole frame that starts before m_first
    size_t m_startEnd[kWindow] = {};  // the furthest end of a whole frame starting at each byte
    bool m_covered[kWindow] = {};
};

// Where an unfinished meter frame at the end of the block starts, its wake-up bytes included
// (or where wake-up bytes alone end it); n when there is none. The earliest 0x68 that can still
// open a whole frame and lies inside no whole frame. cover holds the whole module frames.
size_t MeterTailStart(const unsigned char* p, size_t n, BlockChecks& checks, TailCover& cover) {
    const auto next68 = [&](size_t i) {
        const void* at = std::memchr(p + i, kMeterFrameStart, n - i);
        return at == nullptr ? n : static_cast<size_t>(static_cast<const unsigned char*>(at) - p);
    };
    const size_t first = cover.First();
    for (size_t i = next68(first > kMeterMaxFrame ? first - kMeterMaxFrame : 0); i < n; i = next68(i + 1)) {
        if (MeterShapeAt(p, n, i, checks) == MeterShape::Whole) cover.AddWhole(i, i + p[i + 9] + 12);
    }
    cover.Settle();
    size_t tail = n;
    for (size_t i = next68(first); i < n; i = next68(i + 1)) {
        if (!cover.Covered(i) && MeterShapeAt(p, n, i, checks) == MeterShape::Prefix) {
            tail = i;
            break;
        }
    }
    size_t start = tail;
    while (start > first && tail - start < kMeterMaxWakeUp && p[start - 1] == kMeterWakeUp && !cover.Covered(start - 1))
        --start;
    return start;
}

// Looks for the answer of the meter being read. True when one was found and handed on.
bool MeterPass(const ByteString& block, const SplitSettings& settings, const SplitHandlers& handlers,
               BlockChecks& checks) {
    const size_t n = block.size();
    const unsigned char* p = block.data();
    for (size_t i = 0; i < n; ++i) {
        const void* next = std::memchr(p + i, kMeterFrameStart, n - i);
        if (next == nullptr) break;
        i = static_cast<size_t>(static_cast<const unsigned char*>(next) - p);
        // The first 0x68 that does not open a whole meter frame of the right address ends the pass.
        if (i + 9 >= n || p[i + 7] != kMeterFrameStart) return false;
        const size_t length = p[i + 9];
        if (i + length + 11 >= n) return false;
        if (settings.meterAddress.size() != kMeterAddressBytes ||
            std::memcmp(p + i + 1, settings.meterAddress.data(), kMeterAddressBytes) != 0) {
            return false;
        }
        if (checks.Fold(i, i + length + 10).sum != p[i + length + 10]) continue;

        const size_t frameSize = length + 12;
        if (handlers.meterFrame) handlers.meterFrame(block.substr(i, frameSize));
        if (i > 0) Classify(handlers, block.substr(0, i), kRawChunk);
        if (i + frameSize < n) Classify(handlers, block.substr(i + frameSize), kRawChunk);
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
    TailCover cover(n);
    size_t completeEnd = 0;  // just past the last byte of any checked frame
    size_t pending = n;      // the first cut-off candidate at or after completeEnd
    for (size_t i = 0; i < n; ++i) {
        const void* next = std::memchr(p + i, kFrameStart, n - i);
        if (next == nullptr) break;
        i = static_cast<size_t>(static_cast<const unsigned char*>(next) - p);
        const bool cutOff = i + 2 >= n || i + FrameLength(p, i) + 6 >= n;
        if (cutOff) {
            // A 0x79 inside a whole meter frame is one of its bytes.
            if (pending == n && i >= completeEnd && !meterFrames.Inside(i)) pending = i;
            continue;
        }
        const size_t length = FrameLength(p, i);
        if (!ChecksMatch(p, i, length, checks)) continue;
        completeEnd = std::max(completeEnd, i + length + kFrameOverhead);
        cover.AddWhole(i, i + length + kFrameOverhead);
        if (pending < completeEnd) pending = n;
    }
    return std::min(pending, MeterTailStart(p, n, checks, cover));
}

size_t IncompleteFrameStart(const ByteString& block) { return IncompleteFrameStart(block.data(), block.size()); }

void SplitReceivedStream(const ByteString& block, const SplitSettings& settings, const SplitHandlers& handlers) {
    if (settings.showAllReceived) Classify(handlers, block, kRawChunk);

    const size_t n = block.size();
    const unsigned char* p = block.data();
    BlockChecks checks(p, n);
    for (size_t i = 0; i < n; ++i) {
        const void* next = std::memchr(p + i, kFrameStart, n - i);
        if (next == nullptr) break;
        i = static_cast<size_t>(static_cast<const unsigned char*>(next) - p);
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
        if (last == n - 1) return;
        // Go on at the byte after the start byte: a frame inside this one's data counts too.
    }

    if (settings.meterPassEnabled && MeterPass(block, settings, handlers, checks)) return;
    if (!settings.showAllReceived) Classify(handlers, block, kRawChunk);
}
