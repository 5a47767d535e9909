#include "link/frame_splitter.h"

#include <algorithm>
#include <cstring>

#include "link/module_frame.h"
#include "platform/text_format.h"

namespace {

constexpr unsigned char kVersionCommand = 0x02;
constexpr size_t kVersionDataBytes = 7;
constexpr size_t kMeterAddressBytes = 6;

void Classify(const SplitHandlers& handlers, const ByteString& bytes, int mode) {
    if (handlers.classify) handlers.classify(bytes, mode);
}

// True when bytes i+1 .. i+L+4 fold to the sum and XOR after them. The caller has checked
// that the whole frame lies inside the block.
bool ChecksMatch(const unsigned char* p, size_t length) {
    unsigned char sum = 0;
    unsigned char x = 0;
    const unsigned char* end = p + length + 5;
    for (const unsigned char* q = p + 1; q != end; ++q) {
        sum = static_cast<unsigned char>(sum + *q);
        x ^= *q;
    }
    return sum == end[0] && x == end[1];
}

// Looks for the answer of the meter being read. True when one was found and handed on.
bool MeterPass(const ByteString& block, const SplitSettings& settings, const SplitHandlers& handlers) {
    const size_t n = block.size();
    const unsigned char* p = block.data();
    for (size_t i = 0; i < n; ++i) {
        if (p[i] != kMeterFrameStart) continue;
        // The first 0x68 that does not open a whole meter frame of the right address ends the pass.
        if (i + 9 >= n || p[i + 7] != kMeterFrameStart) return false;
        const size_t length = p[i + 9];
        if (i + length + 11 >= n) return false;
        if (settings.meterAddress.size() != kMeterAddressBytes ||
            std::memcmp(p + i + 1, settings.meterAddress.data(), kMeterAddressBytes) != 0) {
            return false;
        }
        unsigned char sum = 0;
        for (size_t k = i; k <= i + length + 9; ++k) sum = static_cast<unsigned char>(sum + p[k]);
        if (sum != p[i + length + 10]) continue;

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

size_t IncompleteFrameStart(const ByteString& block) {
    const size_t n = block.size();
    const unsigned char* p = block.data();
    size_t completeEnd = 0;  // just past the last byte of any checked frame
    size_t pending = n;      // the first cut-off candidate at or after completeEnd
    for (size_t i = 0; i < n; ++i) {
        const void* next = std::memchr(p + i, kFrameStart, n - i);
        if (next == nullptr) break;
        i = static_cast<size_t>(static_cast<const unsigned char*>(next) - p);
        const bool cutOff = i + 2 >= n || i + (p[i + 1] | (static_cast<size_t>(p[i + 2]) << 8)) + 6 >= n;
        if (cutOff) {
            if (pending == n && i >= completeEnd) pending = i;
            continue;
        }
        const size_t length = p[i + 1] | (static_cast<size_t>(p[i + 2]) << 8);
        if (!ChecksMatch(p + i, length)) continue;
        completeEnd = std::max(completeEnd, i + length + kFrameOverhead);
        if (pending < completeEnd) pending = n;
    }
    return pending;
}

void SplitReceivedStream(const ByteString& block, const SplitSettings& settings, const SplitHandlers& handlers) {
    if (settings.showAllReceived) Classify(handlers, block, kRawChunk);

    const size_t n = block.size();
    const unsigned char* p = block.data();
    for (size_t i = 0; i < n; ++i) {
        const void* next = std::memchr(p + i, kFrameStart, n - i);
        if (next == nullptr) break;
        i = static_cast<size_t>(static_cast<const unsigned char*>(next) - p);
        if (i + 2 >= n) break;
        const size_t length = p[i + 1] | (static_cast<size_t>(p[i + 2]) << 8);
        const size_t last = i + length + 6;
        if (last >= n || !ChecksMatch(p + i, length)) continue;

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

    if (settings.meterPassEnabled && MeterPass(block, settings, handlers)) return;
    if (!settings.showAllReceived) Classify(handlers, block, kRawChunk);
}
