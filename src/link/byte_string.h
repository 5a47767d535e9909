#pragma once
// The byte string that carries every frame and payload.

#include <cstddef>
#include <cstdint>
#include <string>

using ByteString = std::basic_string<unsigned char>;

// Reads byte i of a frame; any index outside the frame reads as 0.
inline unsigned char FrameByte(const ByteString& frame, long long i) {
    return (i >= 0 && static_cast<unsigned long long>(i) < frame.size())
               ? frame[static_cast<size_t>(i)]
               : 0;
}

// 16-bit little-endian value at i (zero past the end).
inline uint16_t FrameWord(const ByteString& frame, long long i) {
    return static_cast<uint16_t>(FrameByte(frame, i) | (FrameByte(frame, i + 1) << 8));
}
