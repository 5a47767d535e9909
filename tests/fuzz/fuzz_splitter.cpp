// Fuzz entry: arbitrary bytes as a received block for the stream splitter.
// The first byte picks the settings; everything the splitter hands on is checked against the
// block it came from, and where the gather's bound would cut the block. With bit 0x10 the bytes
// build a meter answer between raw bytes instead, cut into bound blocks anywhere: the answer
// lies whole in one block and the meter pass finds it.

#include <cstddef>
#include <cstdint>
#include <algorithm>
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

// Where the gather's bound cuts a block: never past it, at a start byte or a wake-up byte.
void CheckBoundCut(const ByteString& block) {
    const size_t used = IncompleteFrameStart(block);
    if (used > block.size() || IncompleteFrameStart(block.data(), block.size()) != used) __builtin_trap();
    if (used < block.size() && block[used] != 0x79 && block[used] != 0x68 && block[used] != 0xFE) __builtin_trap();
}

// The input's bytes one by one; zeros once they run out.
struct Reader {
    const ByteString& bytes;
    size_t at = 0;
    unsigned char Next() { return at < bytes.size() ? bytes[at++] : 0; }
    bool More() const { return at < bytes.size(); }
};

// Raw bytes that hold no start byte of either frame kind.
ByteString Raw(Reader& in, size_t count) {
    ByteString raw;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char b = in.Next();
        raw.push_back(b == 0x68 || b == 0x79 ? static_cast<unsigned char>(b ^ 1) : b);
    }
    return raw;
}

// Raw bytes, wake-up bytes, a meter answer (any address and data) and raw bytes, handed to the
// splitter in blocks cut as the gather's bound cuts them, at arbitrary arrival points; then the
// rest as a quiet block.
void CheckMeterAnswerUnderBoundCuts(const ByteString& input) {
    Reader in{input};
    const size_t wakeUp = in.Next() % 8;
    ByteString answer{0x68};
    for (int i = 0; i < 6; ++i) answer.push_back(in.Next());
    const ByteString address = answer.substr(1, 6);
    answer += ByteString{0x68, 0x91};
    const size_t length = in.Next() % 48;
    answer.push_back(static_cast<unsigned char>(length));
    for (size_t i = 0; i < length; ++i) answer.push_back(in.Next());
    unsigned char sum = 0;
    for (unsigned char b : answer) sum = static_cast<unsigned char>(sum + b);
    answer += ByteString{sum, in.Next()};  // the end byte is not tested
    const ByteString before = Raw(in, in.Next() % 24) + ByteString(wakeUp, 0xFE);
    const ByteString stream = before + answer + Raw(in, in.Next() % 24);
    const bool no79 = answer.find(0x79) == ByteString::npos;

    SplitSettings settings;
    settings.meterPassEnabled = true;
    settings.meterAddress = address;
    size_t found = 0;
    SplitHandlers handlers;
    handlers.meterFrame = [&](const ByteString& f) {
        if (f != answer) __builtin_trap();
        ++found;
    };
    ByteString carry;
    size_t arrived = 0;   // stream bytes received so far
    size_t split = 0;     // stream bytes handed to the splitter so far
    const auto take = [&](size_t used) {
        // The answer is never cut across two blocks.
        const size_t end = split + used;
        if (split < before.size() + answer.size() && end > before.size() && (split > before.size() || end < before.size() + answer.size()))
            __builtin_trap();
        SplitReceivedStream(carry.substr(0, used), settings, handlers);
        carry.erase(0, used);
        split = end;
    };
    while (arrived < stream.size()) {
        const size_t chunk = std::min<size_t>(in.More() ? in.Next() % 32 + 1 : 7, stream.size() - arrived);
        carry += stream.substr(arrived, chunk);
        arrived += chunk;
        const size_t used = IncompleteFrameStart(carry);
        // What is held back is at most an unfinished meter frame with its wake-up bytes.
        if (carry.size() - used > 270) __builtin_trap();
        if (used > 0) take(used);
    }
    take(carry.size());
    if (split != stream.size()) __builtin_trap();
    // With no module frame in the stream nothing stops the meter pass.
    if (no79 && found != 1) __builtin_trap();
    if (found > 1) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t options = data[0];
    const ByteString block(data + 1, size - 1);
    if (options & 0x10) {
        CheckMeterAnswerUnderBoundCuts(block);
        return 0;
    }
    CheckBoundCut(block);

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
