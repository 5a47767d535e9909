#pragma once
// Hexadecimal frame text typed into the checksum and send-frame dialogs.

#include <string>

#include "link/byte_string.h"

// Blanks removed, an even number of hexadecimal digits, in text order; otherwise shows
// "非有效16进制报文!" and returns false.
bool ParseHexFrameText(const std::string& text, ByteString& bytes);
