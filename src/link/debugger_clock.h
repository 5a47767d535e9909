#pragma once
// The carrier debugger's clock setting: a frame of the debugger's own format (0xA5 at both ends)
// carrying a local time, and the verdict on its answer.

#include <string>

#include "link/byte_string.h"
#include "platform/local_time.h"

constexpr unsigned char kDebuggerFrameMark = 0xA5;

// A5 01 09, year (low byte first), month, day, hour, minute, second, milliseconds (low byte
// first), the 8-bit sum of those nine bytes, A5. The day of the week is not sent.
ByteString DebuggerClockFrame(const SystemTime& time);

// A received raw block that starts with the debugger's mark is its answer.
inline bool IsDebuggerAnswer(const ByteString& block) { return !block.empty() && block[0] == kDebuggerFrameMark; }

// The verdict on the oldest answer (none: nullptr): its byte 2 is 0 for success, 1 for failure;
// another value gives an empty text.
std::string DebuggerClockVerdict(const ByteString* answer);
