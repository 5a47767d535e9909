// Payloads of the module test panel's commands.

#include "commands/panel_payloads.h"

#include <cctype>

#include "commands/field_text.h"
#include "link/conversions.h"
#include "link/word_layouts.h"

namespace {

bool IsHexText(const std::string& text) {
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

}  // namespace

bool WireAddressText(const std::string& typed, std::string& wire) {
    std::string digits = StripHexSeparators(typed);
    if (!IsHexText(digits)) return false;
    ReverseHexPairs(digits, static_cast<int>((digits.size() + 1) / 2));
    wire = AsciiUpper(digits);
    return true;
}

bool WireMulticastText(const std::string& typed, std::string& wire) {
    std::string digits = StripHexSeparators(typed);
    if (digits.empty() || digits.size() > 4 || !IsHexText(digits)) return false;
    ReverseHexBytes4(digits);
    wire = AsciiUpper(digits);
    return true;
}

uint8_t AddressModeByte(uint8_t multicastFlag) {
    return static_cast<uint8_t>(address_mode_byte::kMulticast.Put(multicastFlag));
}

void AppendRemoteTarget(const RemoteTarget& target, ByteString& payload) {
    payload.push_back(AddressModeByte(target.multicast));
    if (target.multicast == 1) payload += target.group;
    payload += target.address;
}

void AppendNetTestPacket(uint32_t sequence, ByteString& payload) {
    for (int shift = 0; shift < 32; shift += 8) payload.push_back(static_cast<unsigned char>(sequence >> shift));
    AppendWord16(payload, static_cast<uint16_t>(kNetTestDataLength));
    for (size_t i = 0; i < kNetTestDataLength; ++i) payload.push_back(static_cast<unsigned char>(i));
}

bool AppendFixedHexField(const std::string& typed, size_t size, ByteString& payload) {
    std::string digits = StripHexSeparators(typed);
    if (digits.empty() || digits.size() > 2 * size || !IsHexText(digits)) return false;
    ReverseHexPairs(digits, static_cast<int>(size));
    payload += HexFieldBytes(digits);
    return true;
}

bool AppendPairingData(const std::string& typed, ByteString& payload, size_t& count) {
    const std::string digits = StripHexSeparators(typed);
    if (!IsHexText(digits) || (digits.size() + 1) / 2 > kMaxPairingData) return false;
    ByteString bytes;
    HexTextToBytes(digits, bytes, 0);
    count = bytes.size();
    payload.push_back(static_cast<unsigned char>(count));
    payload += bytes;
    return true;
}
