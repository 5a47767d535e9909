#pragma once
// Text-to-byte helpers of the command pages' fields: addresses, depth, data, ports and
// passwords. None of them needs a window.

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/byte_string.h"
#include "link/conversions.h"

// The text without blanks, carriage returns and line feeds.
std::string StripHexSeparators(std::string text);

// An edit that holds nothing but separators is as empty as one that holds nothing.
bool IsBlankField(const std::string& text);

// Whether a frame carries the address of a target of this device mode (modes 1 to 5).
bool CarriesAddress(uint8_t targetMode);

// The depth typed in its edit: the first two characters read as a decimal number (leading
// digits, 0 when there are none), as a byte.
uint8_t DepthFromText(const std::string& text);

// Appends an address typed most significant byte first as its six bytes in wire order (least
// significant byte first): separators removed, cut to 12 digits, padded with leading zeros.
void AppendAddressText(const std::string& text, ByteString& payload);

// Appends a 4-digit multicast or group address the same way: two bytes, least significant first.
void AppendMulticastText(const std::string& text, ByteString& payload);

// Most bytes a 16-bit length counts, and what is said when a field or a frame holds more.
constexpr size_t kMaxLength16 = 0xFFFF;
constexpr const char* kTooLongForLength16 = "数据长度超过65535字节";

// Appends a 16-bit little-endian byte count and the bytes of a hexadecimal data text; blanks,
// carriage returns and line feeds are ignored, an odd digit count is completed in front. False
// when there are more bytes than the count can hold (nothing is appended then).
bool AppendDataText(const std::string& text, ByteString& payload);

// Appends the leading whole number of a port text as two bytes, low byte first. False when the
// text holds no number or the number does not fit in 16 bits (nothing is appended then).
bool AppendPortText(const std::string& text, ByteString& payload);

// An IPv4 address typed as four dotted decimal fields of 0 to 255, the first field in the high
// byte; an empty text is 0.0.0.0. False for any other text.
bool ParseIpText(const std::string& text, uint32_t& address);

// Appends a domain name: its length byte, then its bytes in the code page of the files. False
// when it is empty or longer than a length byte counts (nothing is appended then).
constexpr size_t kMaxDomainName = 255;
bool AppendDomainName(const std::string& text, ByteString& payload);

// The bytes of a password: hexadecimal text (blanks ignored, odd count completed in front) or
// the text's own bytes in the code page of the files (a Chinese character counts two).
ByteString PasswordTextToBytes(const std::string& text, bool hex);

// Appends a length byte and the bytes (a password field).
void AppendLengthAndBytes(const ByteString& bytes, ByteString& payload);

// The bytes of a text typed as hexadecimal bytes.
ByteString HexFieldBytes(const std::string& text);

// The first byte of a text typed as decimal digits read as BCD (12 gives 12), 0 when it is empty.
uint8_t BcdFieldByte(const std::string& text);
