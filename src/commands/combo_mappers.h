#pragma once
// Texts of the command pages' combo boxes and the codes they stand for. Each mapper compares
// the whole text, case-sensitively, with its entries in a fixed order; the first equal entry
// gives the code. No match leaves the code as it was and returns false.

#include <cstdint>
#include <string>

#include "link/byte_string.h"
#include "platform/ui.h"

// Device mode as the device-mode combos give it (4 bits).
enum DeviceModeCode : uint8_t {
    DEVICE_MODE_ANY = 0,
    DEVICE_MODE_GATEWAY = 1,
    DEVICE_MODE_CLOUD_SERVER = 2,
    DEVICE_MODE_TRM5281_MAC = 3,
    DEVICE_MODE_RM5207_MAC = 4,
    DEVICE_MODE_BLE_MAC = 5,
};

bool MapDeviceModeText(const std::string& text, uint8_t& code);
bool MapPasswordTypeText(const std::string& text, uint8_t& code);
bool MapProtocolText(const std::string& text, uint8_t& code);
bool MapMulticastFlagText(const std::string& text, uint8_t& code);
bool MapPriorityText(const std::string& text, uint8_t& code);
bool MapSearchScopeText(const std::string& text, uint8_t& code);
bool MapDecryptResultText(const std::string& text, uint8_t& code);
bool MapParityText(const std::string& text, uint8_t& code);
bool MapStopBitsText(const std::string& text, uint8_t& code);
bool MapBaudText(const std::string& text, uint8_t& code);
bool MapLevelText(const std::string& text, uint8_t& code);
bool MapBandText(const std::string& text, uint8_t& code);
bool MapTcpStateText(const std::string& text, uint8_t& code);
bool MapTcpOrUdpText(const std::string& text, uint8_t& code);
bool MapSearchParticipationText(const std::string& text, uint8_t& code);
bool MapChangeConsentText(const std::string& text, uint8_t& code);

// Readers of the combos of the main window's command pages: each maps the selected text of its
// combo; no match leaves the field as it was.
void GetDeviceMode(Dialog& page, uint8_t& mode);   // target device mode, combo IDC_DST_MODE_COMBO
void GetDeviceMode2(Dialog& page, uint8_t& mode);  // source device mode, combo IDC_SRC_MODE_COMBO
void GetPasswordType(Dialog& page, uint8_t& type);
void GetPasswordType2(Dialog& page, uint8_t& type);
void GetProtocol(Dialog& page, uint8_t& protocol);
void GetMulticastFlag(Dialog& page, uint8_t& flag);
void GetPriority(Dialog& page, uint8_t& priority);
void GetSearchScope(Dialog& page, uint8_t& scope);
void GetDecryptResult(Dialog& page, uint8_t& result);
void GetParity(Dialog& page, uint8_t& parity);
void GetStopBits(Dialog& page, uint8_t& stopBits);
bool GetBaudCode(Dialog& page, uint8_t& code);
void GetLevel(Dialog& page, uint8_t& level);
bool GetBand(Dialog& page, uint8_t& band);
void GetSearchParticipation(Dialog& page, uint8_t& state);
// These append the code to the payload when the text matches.
void GetTcpState(Dialog& page, ByteString& payload);
void GetTcpOrUdp(Dialog& page, ByteString& payload);
bool GetChangeConsent(Dialog& page, ByteString& payload);
