#pragma once
// Printers of the fields that recur in module frames. Each appends to the text; none clears it.

#include <cstdint>
#include <string>

#include "link/byte_string.h"

extern const char kCrLf[];
extern const char kIncompleteFrameText[];  // "\r\nError:报文不完整\r\n"
extern const char kStatusLabel[];          // "异常状态为：   "

// Data length L from frame bytes 1-2.
inline unsigned FrameDataLength(const ByteString& frame) { return FrameWord(frame, 1); }

// True when a field of n bytes at position p lies inside the frame (check bytes included).
inline bool FieldInside(const ByteString& frame, long long p, long long n) {
    return p + n - 1 < static_cast<long long>(frame.size());
}

const char* ErrorStatusName(uint8_t status);
const char* DeviceModeName(uint8_t mode);

void PrintErrorStatus(uint8_t status, std::string& text);
void PrintTargetDeviceMode(uint8_t mode, std::string& text);
void PrintSourceDeviceMode(uint8_t mode, std::string& text);
void PrintPasswordMode(uint8_t mode, std::string& text);
void PrintMulticastFlag(uint8_t flag, std::string& text);
void PrintMulticastBit(uint8_t byte, uint8_t& flag, std::string& text);
void PrintNumberLine(uint16_t value, std::string& text);

// 6 bytes from the cursor, last first, as 12 hex digits and CRLF; the cursor stays.
void PrintAddress(const ByteString& frame, std::string& text, const int* cursor);
// Like PrintAddress but tests the frame's length first; moves the cursor by 6 when printed.
bool PrintAddressChecked(const ByteString& frame, std::string& text, int* cursor);
// "组播地址：    " and 2 bytes, last first; cursor +2.
void PrintMulticastAddress(const ByteString& frame, std::string& text, int* cursor);
// Count and group identifiers; cursor +1 +2 per group.
void PrintGroupIdList(const ByteString& frame, std::string& text, int* cursor);
// count bytes from start, last first, as hex and CRLF. Returns 1.
int PrintReversedBytes(const ByteString& frame, std::string& text, uint8_t count, int start);
// IPv4 address, last byte first, dotted decimal; returns the new position or -1 when incomplete.
int PrintIpv4Address(const ByteString& frame, std::string& text, int* position);
// Length-prefixed payload; returns the new cursor or -1 when incomplete.
int PrintPayload(const ByteString& frame, std::string& text, int* cursor);

// "异常状态为：   " and the status name of data byte d0.
void PrintStatusLine(const ByteString& frame, std::string& text);
// Appends bytes [from, from+count) in frame order as "%02X" pairs.
void AppendHexRange(const ByteString& frame, std::string& text, long long from, long long count);
// Appends bytes [from, from+count) from the last to the first as "%02X" pairs.
void AppendReversedHex(const ByteString& frame, std::string& text, long long from, long long count);
