#pragma once
// The reset-information answer of a remote device (command 0xF4, sub-code 2): its reset word
// (frame bytes 12-15) and its soft, watchdog, power-down and external reset counts (32-bit
// little-endian from byte 16).

#include <cstdint>
#include <string>

#include "link/byte_string.h"

struct ResetStatistics {
    std::string resetWord;  // 8 upper-case hex digits, most significant first
    uint32_t counts[4] = {0, 0, 0, 0};
};
// Bytes past the frame's end count as 0. False, out untouched, when the frame ends before the
// reset word.
bool ReadResetStatistics(const ByteString& frame, ResetStatistics& out);
