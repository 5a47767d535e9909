#pragma once
// Printers of the fields that recur in module frames. Each appends to the text; none clears it.

#include <cstdint>
#include <string>

#include "analyzer/frame_reader.h"
#include "analyzer/text_pieces.h"
#include "link/byte_string.h"

inline constexpr char kCrLf[] = "\r\n";
extern const char kStatusLabel[];  // "异常状态为：   "

// Data length L from frame bytes 1-2.
inline unsigned FrameDataLength(const ByteString& frame) { return ReceivedFrame(frame).DeclaredLength(); }

void PrintErrorStatus(uint8_t status, std::string& text);
void PrintErrorStatus(uint8_t status, TextPieces& out);
void PrintTargetDeviceMode(uint8_t mode, std::string& text);
void PrintSourceDeviceMode(uint8_t mode, std::string& text);
void PrintPasswordMode(uint8_t mode, std::string& text);
void PrintMulticastFlag(uint8_t flag, std::string& text);
void PrintMulticastBit(uint8_t byte, uint8_t& flag, std::string& text);
void PrintNumberLine(uint16_t value, std::string& text);
// "异常状态为：   " and the status name.
void PrintStatusLine(uint8_t status, std::string& text);
void PrintStatusLine(uint8_t status, TextPieces& out);

// The bytes in their order, as "%02X" pairs.
void AppendHex(const ByteString& bytes, std::string& text);
// The bytes from the last to the first, as "%02X" pairs.
void AppendHexReversed(const ByteString& bytes, std::string& text);
void AppendHexReversed(const unsigned char* bytes, size_t n, std::string& text);
// n bytes from the cursor (zero past the frame's end), last first, as "%02X" pairs; the cursor
// moves by n.
void AppendHexReversed(FrameReader& in, size_t n, std::string& text);
// The bytes as characters of the GBK code page; a zero byte adds nothing.
void AppendByteCharacters(const ByteString& bytes, std::string& text);
void AppendByteCharacters(const unsigned char* bytes, size_t n, TextPieces& out);

// A 6-byte address, last byte first, as 12 hex digits and CRLF.
void PrintAddress(FrameReader& in, std::string& text);
// The same when all 6 bytes are inside the frame; false after the incomplete-frame text.
bool PrintAddressChecked(FrameReader& in, std::string& text);
// "组播地址：    " and 2 bytes, last first.
void PrintMulticastAddress(FrameReader& in, std::string& text);
// The same when both bytes are inside the frame; false after the incomplete-frame text.
bool PrintMulticastAddressChecked(FrameReader& in, std::string& text);
// Count and group identifiers.
void PrintGroupIdList(FrameReader& in, std::string& text);
// count bytes, last first, as hex and CRLF.
void PrintReversedBytes(FrameReader& in, std::string& text, uint8_t count);
// IPv4 address, last byte first, dotted decimal; false after the incomplete-frame text.
bool PrintIpv4Address(FrameReader& in, std::string& text);
// Length-prefixed payload; false after the incomplete-frame text.
bool PrintPayload(FrameReader& in, std::string& text);
