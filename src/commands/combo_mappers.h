#pragma once
// The command pages' combo boxes and the field tables they stand for: a combo offers the combo
// texts of its field's table, and its selected text turns back into the code of the first
// entry with that exact text (case-sensitive). No match leaves the code as it was.

#include <cstddef>
#include <cstdint>

#include "link/byte_string.h"
#include "link/field_tables.h"
#include "platform/ui.h"

// Adds the combo texts of the first count entries of the table.
void AddChoices(ComboBox& combo, const CodeText* table, size_t count);
template <size_t N>
void AddChoices(ComboBox& combo, const CodeText (&table)[N]) {
    AddChoices(combo, table, N);
}

// Readers of the combos of the main window's command pages: each maps the selected text of its
// combo; no match leaves the field as it was.
void GetDeviceMode(Dialog& page, uint8_t& mode);   // target device mode, combo IDC_DST_MODE_COMBO
void GetDeviceMode2(Dialog& page, uint8_t& mode);  // source device mode, combo IDC_SRC_MODE_COMBO
void GetPasswordType(Dialog& page, uint8_t& type);
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
