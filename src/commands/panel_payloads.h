#pragma once
// Payloads of the module test panel's commands, built from field values without a window, and
// the checks of the typed texts they come from.

#include <cstdint>
#include <string>

#include "link/broadcast_test.h"
#include "link/byte_string.h"

// An address typed most significant byte first, of any length: blanks and line breaks dropped,
// padded with '0' in front to an even digit count, byte pairs reversed, upper case. False when
// a character is not a hexadecimal digit. An empty text gives an empty wire text.
bool WireAddressText(const std::string& typed, std::string& wire);

// A multicast address of one to four hexadecimal digits as its wire text: padded to four digits,
// the two byte pairs reversed, upper case. False for an empty, longer or non-hexadecimal text.
bool WireMulticastText(const std::string& typed, std::string& wire);

// The address-mode byte of the remote commands: the multicast flag in bit 0, bits 1-7 zero.
uint8_t AddressModeByte(uint8_t multicastFlag);

// Where a remote command goes: the address-mode byte, the multicast address (two bytes, only
// when the flag is set) and the destination address.
struct RemoteTarget {
    uint8_t multicast = 0;
    ByteString group;
    ByteString address;
};
void AppendRemoteTarget(const RemoteTarget& target, ByteString& payload);

// The packet of the network-port test and the throughput request: the sequence number (32 bits)
// and the data length 255 (16 bits), both low byte first, then the data bytes 0x00 to 0xFE.
constexpr size_t kNetTestDataLength = 255;
void AppendNetTestPacket(uint32_t sequence, ByteString& payload);

// A fixed-size field of the pairing commands (PANID 2 bytes, pairing time 1, device address 6),
// typed most significant byte first: blanks and line breaks dropped, padded with '0' in front,
// appended least significant byte first. False, with nothing appended, for an empty text, more
// digits than the field holds, or a character that is not a hexadecimal digit.
bool AppendFixedHexField(const std::string& typed, size_t size, ByteString& payload);

// Most data bytes the pairing data field's one-byte count holds.
constexpr size_t kMaxPairingData = 0xFF;
// The pairing data field: its byte count (one byte) and its bytes in text order (blanks and
// line breaks dropped, an odd digit count completed in front). An empty text gives a count of 0.
// False, with nothing appended, for a character that is not a hexadecimal digit or more than
// kMaxPairingData bytes. count receives the number of data bytes.
bool AppendPairingData(const std::string& typed, ByteString& payload, size_t& count);
