// The command pages' combos: their entries from the field tables, their texts back to codes.

#include "commands/combo_mappers.h"

#include "res/resource_ids.h"

void AddChoices(ComboBox& combo, const CodeText* table, size_t count) {
    for (size_t i = 0; i < count; ++i) combo.AddString(ChoiceText(table[i]));
}

namespace {

// The code of the selected text of the page's combo in the table.
template <size_t N>
bool ReadChoice(Dialog& page, int comboId, const CodeText (&table)[N], uint8_t& code) {
    return CodeOfText(table, ComboBox(page.GetDlgItem(comboId)).GetSelectedText(), code);
}

// Appends the code of the selected text, when there is one.
template <size_t N>
bool AppendChoice(Dialog& page, int comboId, const CodeText (&table)[N], ByteString& payload) {
    uint8_t code = 0;
    if (!ReadChoice(page, comboId, table, code)) return false;
    payload.push_back(code);
    return true;
}

}  // namespace

void GetDeviceMode(Dialog& page, uint8_t& mode) { ReadChoice(page, IDC_DST_MODE_COMBO, kDeviceModeNames, mode); }

void GetDeviceMode2(Dialog& page, uint8_t& mode) { ReadChoice(page, IDC_SRC_MODE_COMBO, kDeviceModeNames, mode); }

void GetPasswordType(Dialog& page, uint8_t& type) { ReadChoice(page, IDC_KEY_MODE_COMBO, kPasswordModeNames, type); }

void GetProtocol(Dialog& page, uint8_t& protocol) { ReadChoice(page, IDC_PROTOCOL_COMBO, kProtocolNames, protocol); }

void GetMulticastFlag(Dialog& page, uint8_t& flag) {
    ReadChoice(page, IDC_MULTICAST_MODE_COMBO, kMulticastFlagNames, flag);
}

void GetPriority(Dialog& page, uint8_t& priority) { ReadChoice(page, IDC_PRIORITY_COMBO, kPriorityNames, priority); }

void GetSearchScope(Dialog& page, uint8_t& scope) {
    ReadChoice(page, IDC_SEARCH_SCOPE_COMBO, kSearchScopeNames, scope);
}

void GetDecryptResult(Dialog& page, uint8_t& result) {
    ReadChoice(page, IDC_DECRYPT_RESULT_COMBO, kDecryptResultNames, result);
}

void GetParity(Dialog& page, uint8_t& parity) { ReadChoice(page, IDC_PARITY_COMBO, kParityNames, parity); }

void GetStopBits(Dialog& page, uint8_t& stopBits) { ReadChoice(page, IDC_STOP_BITS_COMBO, kStopBitsNames, stopBits); }

// The mappers of the network-parameter, TCP/IP, search-attribute and password-reply pages.

bool GetBaudCode(Dialog& page, uint8_t& code) { return ReadChoice(page, IDC_BAUD_RATE_COMBO, kBaudRateNames, code); }

void GetLevel(Dialog& page, uint8_t& level) { ReadChoice(page, IDC_TX_POWER_COMBO, kPowerLevelNames, level); }

bool GetBand(Dialog& page, uint8_t& band) { return ReadChoice(page, IDC_BAND_COMBO, kBandNames, band); }

void GetTcpState(Dialog& page, ByteString& payload) {
    AppendChoice(page, IDC_TCP_STATE_COMBO, kTcpStateNames, payload);
}

void GetTcpOrUdp(Dialog& page, ByteString& payload) {
    AppendChoice(page, IDC_TCP_TYPE_COMBO, kTransportNames, payload);
}

void GetSearchParticipation(Dialog& page, uint8_t& state) {
    ReadChoice(page, IDC_SEARCH_PARTICIPATION_COMBO, kSearchParticipationNames, state);
}

bool GetChangeConsent(Dialog& page, ByteString& payload) {
    return AppendChoice(page, IDC_CHANGE_CONSENT_COMBO, kChangeResultNames, payload);
}
