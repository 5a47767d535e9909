#pragma once
// The reset-information record of a device (command 0xF4): its reset word and its soft, watchdog,
// power-down and external reset counts, each 32-bit little-endian. A remote device's answer
// (sub-code 2) carries it from frame byte 12.

#include <cstdint>
#include <string>

#include "link/byte_string.h"
#include "link/received_frame.h"

struct ResetCounters {
    unsigned char word[4];  // as the frame carries it, least significant first
    uint32_t counts[4];
};
// The record at the cursor, bytes past the end as 0; the cursor moves by 20.
ResetCounters ReadResetCounters(FrameCursor& in);

struct ResetStatistics {
    std::string resetWord;  // 8 upper-case hex digits, most significant first
    uint32_t counts[4] = {0, 0, 0, 0};
};
// Bytes past the frame's end count as 0. False, out untouched, when the frame ends before the
// reset word.
bool ReadResetStatistics(const ByteString& frame, ResetStatistics& out);
