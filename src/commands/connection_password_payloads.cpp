// Payloads of the connection, password and network-parameter commands.

#include "commands/combo_mappers.h"
#include "commands/field_readers.h"
#include "commands/field_text.h"
#include "commands/page_payloads.h"
#include "dialogs/number_text.h"
#include "link/word_layouts.h"
#include "res/resource_ids.h"

// ---- Start and delete connection (0x11, 0x13) ----

bool GatherConnectionFields(Dialog& page, ConnectionFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    GetProtocol(page, fields.protocol);
    return ReadAddressField(page, IDC_DST_ADDR, fields.targetMode, fields.address);
}

void PackConnectionWord(const ConnectionFields& fields, ByteString& payload) {
    using namespace connection_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.sourceMode) |
                                                kTargetMode.Put(fields.targetMode) | kProtocol.Put(fields.protocol)));
}

void BuildConnectionPayload(const ConnectionFields& fields, ByteString& payload) {
    PackConnectionWord(fields, payload);
    if (CarriesAddress(fields.targetMode)) AppendAddressText(fields.address, payload);
}

void PackDeleteConnectionWord(const ConnectionFields& fields, ByteString& payload) {
    using namespace connection_word;
    AppendWord16(payload,
                 static_cast<uint16_t>(kSourceMode.Put(fields.sourceMode) | kTargetMode.Put(fields.targetMode)));
}

void BuildDeleteConnectionPayload(const ConnectionFields& fields, ByteString& payload) {
    PackDeleteConnectionWord(fields, payload);
    if (CarriesAddress(fields.targetMode)) AppendAddressText(fields.address, payload);
}

// ---- User network password (0x07) ----

bool GatherUserPasswordFields(Dialog& page, UserPasswordFields& fields) {
    return ReadPasswordField(page, IDC_NEW_PSK, IDC_NEW_PSK_LEN, 1, 64, "口令长度为1-64", "口令长度为1-64",
                             fields.password);
}

void BuildUserPasswordPayload(const UserPasswordFields& fields, ByteString& payload) {
    AppendLengthAndBytes(fields.password, payload);
}

// ---- Remote user password setting (0x1C) ----

bool GatherRemotePasswordFields(Dialog& page, RemotePasswordFields& fields) {
    if (fields.fourth == 1 && !ReadMulticastAddress(page, IDC_PASSWORD_MULTICAST, fields.group)) return false;
    if (!ReadAddressField(page, IDC_PASSWORD_DST_ADDR, fields.first, fields.address)) return false;
    if (!ReadPasswordField(page, IDC_OLD_PSK, IDC_OLD_PSK_LEN, 8, 64, "口令长度为8-64", "密钥长度为8-64", fields.key))
        return false;
    return ReadPasswordField(page, IDC_NEW_PSK, IDC_NEW_PSK_LEN, 8, 64, "口令长度为8-64", "密钥长度为8-64",
                             fields.password);
}

void PackRemotePasswordWord(const RemotePasswordFields& fields, ByteString& payload) {
    using namespace remote_password_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.second) | kTargetMode.Put(fields.first) |
                                                kPriority.Put(fields.third) | kMulticast.Put(fields.fourth) |
                                                kReserved.Put(fields.fifth)));
}

void BuildRemotePasswordPayload(const RemotePasswordFields& fields, ByteString& payload) {
    PackRemotePasswordWord(fields, payload);
    if (fields.fourth == 1) AppendMulticastText(fields.group, payload);
    if (CarriesAddress(fields.first)) AppendAddressText(fields.address, payload);
    AppendLengthAndBytes(fields.key, payload);
    AppendLengthAndBytes(fields.password, payload);
}

// ---- Password request (0x1D here; 0x22 on the backbone-password page) ----

bool GatherPasswordRequestFields(Dialog& page, PasswordRequestFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    fields.relayDepth = page.GetDlgItemText(IDC_RELAY_DEPTH);
    GetDecryptResult(page, fields.decryptResult);
    if (!ReadAddressField(page, IDC_PASSWORD_DST_ADDR, fields.targetMode, fields.address)) return false;
    return ReadPasswordField(page, IDC_OLD_PSK, IDC_OLD_PSK_LEN, 8, 64, "口令长度为8-64", "口令长度为8-64",
                             fields.password);
}

void BuildPasswordRequestPayload(const PasswordRequestFields& fields, ByteString& payload) {
    const ByteString relay = HexFieldBytes(fields.relayDepth);
    const uint8_t relayDepth = relay.empty() ? 0 : relay[0];
    using namespace password_request_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.sourceMode) |
                                                kTargetMode.Put(fields.targetMode) | kDepth.Put(relayDepth) |
                                                kDecryptState.Put(fields.decryptResult)));
    if (CarriesAddress(fields.targetMode)) AppendAddressText(fields.address, payload);
    AppendLengthAndBytes(fields.password, payload);
}

// ---- Network parameters (0x0E) ----

bool GatherNetParamsFields(Dialog& page, NetParamsFields& fields) {
    fields.levelLimit = page.GetDlgItemText(IDC_PASS_THROUGH_LEVEL_LIMIT);
    GetBaudCode(page, fields.baud);
    GetParity(page, fields.parity);
    GetStopBits(page, fields.stopBits);
    GetLevel(page, fields.level);
    GetBand(page, fields.band);
    return true;
}

void BuildNetParamsPayload(const NetParamsFields& fields, ByteString& payload) {
    const long long levelLimit = LeadingWholeNumber(fields.levelLimit);
    using namespace net_params_bytes;
    payload.push_back(static_cast<unsigned char>(kLevelLimit.Put(static_cast<uint32_t>(levelLimit))));
    payload.push_back(static_cast<unsigned char>(kBaud.Put(fields.baud) | kParity.Put(fields.parity) |
                                                 kStopBits.Put(fields.stopBits)));
    payload.push_back(static_cast<unsigned char>(kPowerLevel.Put(fields.level) | kBand.Put(fields.band)));
    payload.append(4, 0);
}
