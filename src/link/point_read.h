#pragma once
// The data a point-reading answer (0xF1) carries back: the counting pattern the device fills it with.

#include "link/byte_string.h"

// True when every byte equals its index modulo 256 (00 01 ... FF 00 01 ...); true when empty.
bool IsCountingPattern(const ByteString& data);
