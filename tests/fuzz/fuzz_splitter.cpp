// Fuzz entry: arbitrary bytes as a received block for the stream splitter.
// The first byte picks the settings; everything the splitter hands on is checked against the
// block it came from.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "link/frame_splitter.h"

namespace {

bool Inside(const ByteString& part, const ByteString& block) {
    return part.empty() || block.find(part) != ByteString::npos;
}

bool IsCheckedFrame(const ByteString& f) {
    if (f.size() < 7 || f[0] != 0x79) return false;
    const size_t length = f[1] | (static_cast<size_t>(f[2]) << 8);
    if (f.size() != length + 7) return false;
    unsigned char sum = 0, x = 0;
    for (size_t i = 1; i < length + 5; ++i) {
        sum = static_cast<unsigned char>(sum + f[i]);
        x ^= f[i];
    }
    return sum == f[length + 5] && x == f[length + 6];
}

bool IsMeterFrame(const ByteString& f, const ByteString& address) {
    if (f.size() < 12 || f[0] != 0x68 || f[7] != 0x68 || f.size() != f[9] + 12u) return false;
    if (std::memcmp(f.data() + 1, address.data(), 6) != 0) return false;
    unsigned char sum = 0;
    for (size_t i = 0; i + 2 < f.size(); ++i) sum = static_cast<unsigned char>(sum + f[i]);
    return sum == f[f.size() - 2];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t options = data[0];
    const ByteString block(data + 1, size - 1);

    SplitSettings settings;
    settings.showAllReceived = options & 1;
    settings.meterPassEnabled = options & 2;
    // The meter address: the six bytes after the first 0x68 of the block, when there are any,
    // so that meter frames can match.
    const size_t at = block.find(static_cast<unsigned char>(0x68));
    settings.meterAddress = (options & 8) && at != ByteString::npos && at + 7 <= block.size()
                                ? block.substr(at + 1, 6)
                                : ByteString(6, 0x11);
    bool versionPending = options & 4;
    size_t frames = 0, raw = 0, meters = 0;

    SplitHandlers handlers;
    handlers.classify = [&](const ByteString& bytes, int mode) {
        if (mode == kCheckedFrame) {
            if (!IsCheckedFrame(bytes) || !Inside(bytes, block)) __builtin_trap();
            ++frames;
        } else {
            if (mode != kRawChunk || !Inside(bytes, block)) __builtin_trap();
            ++raw;
        }
    };
    handlers.meterFrame = [&](const ByteString& f) {
        if (!settings.meterPassEnabled || !IsMeterFrame(f, settings.meterAddress) || !Inside(f, block))
            __builtin_trap();
        ++meters;
    };
    handlers.claimVersionCapture = [&] { return std::exchange(versionPending, false); };
    handlers.setVersionText = [&](const std::string& text) {
        if (text.compare(0, 10, "版本号:") != 0) __builtin_trap();
    };
    SplitReceivedStream(block, settings, handlers);

    if (meters > 1) __builtin_trap();
    // At most the check box's copy, the leftover block, or the two sides of a meter frame.
    if (raw > 2 + (settings.showAllReceived ? 1 : 0)) __builtin_trap();
    // Every frame starts at its own start byte and ends inside the block.
    if (frames > (block.size() >= 7 ? block.size() - 6 : 0)) __builtin_trap();
    return 0;
}
