#pragma once

#include "link/byte_string.h"

// XORs the payload in place with a repeating 132-byte key.
void DescrambleXor(ByteString& payload);

// The key the module scrambles with.
extern const char kDescrambleKey[133];
