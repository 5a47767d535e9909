#pragma once
// Texts of the command pages' combo boxes and the codes they stand for. Each mapper compares
// the whole text, case-sensitively, with its entries in a fixed order; the first equal entry
// gives the code. No match leaves the code as it was and returns false.

#include <cstdint>
#include <string>

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
