// Connection, password and network-parameter commands of the main window.

#include <cstdlib>

#include "app/main_tester_dlg.h"
#include "commands/combo_mappers.h"
#include "commands/field_text.h"
#include "link/module_command.h"

// ---- Start and delete connection (0x11, 0x13) ----

void CMainTesterDlg::GatherConnectionFields(ConnectionFields& fields) {
    GetDeviceMode2(fields.sourceMode);
    GetDeviceMode(fields.targetMode);
    GetProtocol(fields.protocol);
}

void CMainTesterDlg::PackConnectionWord(const ConnectionFields& fields, ByteString& payload) {
    AppendWord16(payload, static_cast<uint16_t>((fields.sourceMode & 0x0F) | (fields.targetMode & 0x0F) << 4 |
                                                (fields.protocol & 0x03) << 8));
}

bool CMainTesterDlg::BuildConnectionPayload(ByteString& payload) {
    ConnectionFields fields;
    GatherConnectionFields(fields);
    PackConnectionWord(fields, payload);
    return ReadAddressField(1546, payload, fields.targetMode);
}

void CMainTesterDlg::OnStartConnection() {
    SendModuleCommand(CMD_START_CONNECTION, [this](ByteString& p) { return BuildConnectionPayload(p); },
                      &CMainTesterDlg::AddFrameLogRow);
}

void CMainTesterDlg::GatherDeleteConnectionFields(ConnectionFields& fields) {
    GetDeviceMode2(fields.sourceMode);
    GetDeviceMode(fields.targetMode);
}

void CMainTesterDlg::PackDeleteConnectionWord(const ConnectionFields& fields, ByteString& payload) {
    AppendWord16(payload, static_cast<uint16_t>((fields.sourceMode & 0x0F) | (fields.targetMode & 0x0F) << 4));
}

bool CMainTesterDlg::BuildDeleteConnectionPayload(ByteString& payload) {
    ConnectionFields fields;
    GatherDeleteConnectionFields(fields);
    PackDeleteConnectionWord(fields, payload);
    return ReadAddressField(1546, payload, fields.targetMode);
}

void CMainTesterDlg::OnDeleteConnection() {
    SendModuleCommand(CMD_DELETE_CONNECTION, [this](ByteString& p) { return BuildDeleteConnectionPayload(p); },
                      &CMainTesterDlg::AddFrameLogRow);
}

// ---- User network password (0x07) ----

bool CMainTesterDlg::BuildUserPasswordPayload(ByteString& payload) {
    return ReadPasswordField(1614, 1611, 1, 64, "口令长度为1-64", "口令长度为1-64", payload);
}

void CMainTesterDlg::OnSetUserNetPassword() {
    SendModuleCommand(CMD_SET_LOCAL_PASSWORD, [this](ByteString& p) { return BuildUserPasswordPayload(p); },
                      &CMainTesterDlg::AddPasswordLogRow);
}

// ---- Remote user password setting (0x1C) ----

void CMainTesterDlg::GatherRemotePasswordFields(RemotePasswordFields& fields) {
    fields.first = 3;
    fields.second = 3;
    fields.third = 0;
    fields.fourth = 0;
    fields.fifth = 0;
}

void CMainTesterDlg::PackRemotePasswordWord(const RemotePasswordFields& fields, ByteString& payload) {
    AppendWord16(payload, static_cast<uint16_t>((fields.second & 0x0F) | (fields.first & 0x0F) << 4 |
                                                (fields.third & 0x01) << 8 | (fields.fourth & 0x01) << 9 |
                                                (fields.fifth & 0x3F) << 10));
}

bool CMainTesterDlg::BuildRemotePasswordPayload(ByteString& payload) {
    RemotePasswordFields fields;
    GatherRemotePasswordFields(fields);
    PackRemotePasswordWord(fields, payload);
    if (fields.fourth == 1 && !ReadMulticastAddress(1981, payload)) return false;
    if (!ReadAddressField(1805, payload, fields.first)) return false;
    if (!ReadPasswordField(1558, 1556, 8, 64, "口令长度为8-64", "密钥长度为8-64", payload)) return false;
    return ReadPasswordField(1614, 1611, 8, 64, "口令长度为8-64", "密钥长度为8-64", payload);
}

void CMainTesterDlg::OnRemoteUserPasswordSetting() {
    SendModuleCommand(CMD_REMOTE_SET_PASSWORD, [this](ByteString& p) { return BuildRemotePasswordPayload(p); },
                      &CMainTesterDlg::AddPasswordLogRow);
}

// ---- Password request (0x1D here; 0x22 on the backbone-password page) ----

void CMainTesterDlg::GatherPasswordRequestFields(PasswordRequestFields& fields) {
    GetDeviceMode2(fields.sourceMode);
    GetDeviceMode(fields.targetMode);
    ByteString relay;
    ReadHexBytes(1823, relay);
    if (!relay.empty()) fields.relayDepth = relay[0];
    GetDecryptResult(fields.decryptResult);
}

bool CMainTesterDlg::BuildPasswordRequestPayload(ByteString& payload) {
    PasswordRequestFields fields;
    GatherPasswordRequestFields(fields);
    AppendWord16(payload, static_cast<uint16_t>((fields.sourceMode & 0x0F) | (fields.targetMode & 0x0F) << 4 |
                                                (fields.relayDepth & 0x0F) << 8 | (fields.decryptResult & 0x03) << 12));
    if (!ReadAddressField(1805, payload, fields.targetMode)) return false;
    return ReadPasswordField(1558, 1556, 8, 64, "口令长度为8-64", "口令长度为8-64", payload);
}

void CMainTesterDlg::SendRemotePasswordSlaveRequest() {
    SendModuleCommand(CMD_REMOTE_SET_PASSWORD_SLAVE_REQUEST,
                      [this](ByteString& p) { return BuildPasswordRequestPayload(p); }, &CMainTesterDlg::AddDataLogRow);
}

// ---- Network parameters (0x0E) ----

bool CMainTesterDlg::BuildNetParamsPayload(ByteString& payload) {
    const int levelLimit = std::atoi(GetDlgItemText(1588).c_str());
    uint8_t baud = 10;
    GetBaudCode(baud);
    uint8_t parity = 0;
    GetParity(parity);
    uint8_t stopBits = 0;
    MapStopBitsText(m_stopBitsCombo.GetSelectedText(), stopBits);
    uint8_t level = 2;
    GetLevel(level);
    uint8_t band = 1;
    GetBand(band);
    payload.push_back(static_cast<unsigned char>(levelLimit & 0x0F));
    payload.push_back(static_cast<unsigned char>((baud & 0x0F) << 4 | (parity & 0x03) << 2 | (stopBits & 0x03)));
    payload.push_back(static_cast<unsigned char>((level & 0x0F) << 4 | (band & 0x0F)));
    payload.append(4, 0);
    return true;
}

void CMainTesterDlg::OnSetNetParams() {
    SendModuleCommand(CMD_SET_NETWORK_PARAMS, [this](ByteString& p) { return BuildNetParamsPayload(p); },
                      &CMainTesterDlg::AddFrameLogRow);
}
