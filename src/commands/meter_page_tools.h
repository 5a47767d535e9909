#pragma once
// The tools of the meter-reading page: bytes typed as hexadecimal sent as they are, and the
// text of a module frame built from a command byte and data, to paste elsewhere.

#include <cstdint>
#include <string>

#include "link/byte_string.h"

// What the raw send says of a character that is no hexadecimal digit.
constexpr const char* kHexDigitsOnlyText = "字符范围为0~9,a~f,A~F";

// The hexadecimal digits of a raw send: blanks removed; an odd count gets a '0' before the last
// digit. False at any other character (line breaks too).
bool RawSendDigits(const std::string& typed, std::string& digits);

// The command byte typed in hexadecimal: its leading hexadecimal digits (none: 0), low 8 bits.
uint8_t CommandByteFromText(const std::string& text);

// The data bytes typed in hexadecimal: blanks removed, an odd count completed before the last
// digit, other characters converted as the codec converts them.
ByteString FrameDataFromText(const std::string& text);

// Three lines, CRLF between them: the frame's hexadecimal text, the same with a blank between
// bytes, and the bytes as "0x.." constants separated by ", ".
std::string FrameTextLines(const ByteString& frame);
