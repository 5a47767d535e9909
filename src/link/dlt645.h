#pragma once
// DL/T 645-2007 meter frames: 68 A0..A5 68 C L DATA CS 16, the address least significant byte
// first, every data byte plus 0x33, CS the sum of every byte before it.

#include <string>

#include "link/byte_string.h"

// The four identifier bytes of a read request: the text padded to 8 hexadecimal digits, its
// byte pairs last first, each byte plus 0x33.
ByteString DataIdentifierBytes(const std::string& text);
// The six address bytes of 12 decimal digits as the frame carries them: byte pairs last first.
ByteString MeterAddressBytes(const std::string& digits);
// 68 A0..A5 68 C L DATA CS 16 of the address (6 bytes as the frame carries them), control and data.
ByteString Dlt645Frame(const ByteString& address, unsigned char control, const ByteString& data);
// 68 A0..A5 68 11 04 DI0..DI3 CS 16.
ByteString Dlt645ReadFrame(const ByteString& address, const ByteString& identifier);
// The size of the whole frame that starts at offset (its two 68s, length, sum and 16 checked),
// or 0 when none does.
size_t Dlt645FrameAt(const unsigned char* bytes, size_t count, size_t offset);
inline size_t Dlt645FrameAt(const ByteString& bytes, size_t offset) {
    return Dlt645FrameAt(bytes.data(), bytes.size(), offset);
}
