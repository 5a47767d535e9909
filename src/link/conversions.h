#pragma once
// Conversions between bytes, hexadecimal text, BCD and number text.

#include <cstdint>
#include <string>

#include "link/byte_string.h"
#include "platform/local_time.h"

// Most bytes HexTextToBytes produces from one text.
constexpr size_t kMaxHexTextBytes = 65536;

// The text without what HexTextToBytes skips: blanks and carriage returns. A field converted
// with it is checked without them.
std::string WithoutHexBlanks(std::string text);

// Whether every character is a decimal digit, so the bytes HexTextToBytes makes are BCD.
bool IsBcdText(const std::string& text);

// Removes blanks and carriage returns, completes an odd digit count (mode 0: '0' in front,
// mode 1: '0' before the last digit), upper-cases and replaces out with the bytes in text order.
// Other characters are not checked. Returns 1.
int HexTextToBytes(std::string text, ByteString& out, int mode);

// Reads the digit pairs of text from its end to its start, storing each byte at the next place
// of bytes and adding 1 to count; stops when count reaches capacity. With an odd length the
// first character is not read.
void HexToBytesRaw(const char* text, unsigned char* bytes, int& count, size_t capacity);

// "%02X" for every byte, no separators. Returns 1.
int BytesToHexText(std::string& out, ByteString bytes);

// flag 0: "%02X " for every byte (the text ends with a blank); any other flag: "%02X". Returns 1.
int BytesToHexTextSpaced(std::string& out, ByteString bytes, int flag);

// The character at index as a byte; 0 outside the text.
unsigned char ByteAt(const std::string& text, int index);

// In place, each BCD byte becomes its value; count -1 converts the whole string.
void BcdBytesToBinary(ByteString& bytes, int count);

// True when both nibbles of every byte in the range are below 10; count -1 runs to the end.
bool IsBcdBytes(const ByteString& bytes, int start, int count);

// Appends blanks until the text is length characters wide (GBK bytes); never shortens it.
void PadRightBlanks(std::string& text, int length);

// Puts '0' in front until the text has lastIndex + 1 characters; never shortens it.
void PadLeftZeros(std::string& text, int lastIndex);

// Appends a 16-bit word, low byte first.
void AppendWord16(ByteString& payload, uint16_t word);

// Pads the text with '0' in front to 2 * pairs characters and reverses the order of its byte
// pairs in place; a longer text uses only its first 2 * pairs characters. An empty text stays
// empty; the case is not changed.
void ReverseHexPairs(std::string& text, int pairs);

// The text with its ASCII letters in upper case (hex digits as the wire form shows them).
std::string AsciiUpper(std::string text);

// Display form to wire form of a 12-digit address and a 4-digit multicast address (and back).
void ReverseHexBytes12(std::string& text);
void ReverseHexBytes4(std::string& text);

// Length -1: 2 for strings under 3 bytes, else 6. Keeps the last bytes of a longer string,
// puts zero bytes in front of a shorter one. Returns the length used.
int FitAddressBytes(ByteString& bytes, int length);

// Milliseconds from the second time to the first (negative when the first is earlier).
int64_t SystemTimeDiffMs(const SystemTime& first, const SystemTime& second);

// Adds b to a over the first count bytes, last byte least significant, with carry; the final
// carry is dropped.
void AddBytesWithCarry(ByteString& a, ByteString b, int count);

// The sum of all bytes modulo 256 as "%02X". Returns 1.
int SumBytesToHexText(ByteString bytes, std::string& out);

// Checksum carried by the upgrade image header over the image's length bytes: it starts from
// 0xFFFFFFFF and gives the complement without folding any byte in, so it is always 0.
uint32_t ImageChecksum(const unsigned char* bytes, size_t length);
