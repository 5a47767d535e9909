// The module test panel's pairing commands: every button sends command 0x60 with its sub-code
// and the fields that the sub-code needs.

#include <string>

#include "commands/TestDlg/test_dlg.h"
#include "commands/panel_payloads.h"
#include "link/field_tables.h"
#include "link/module_command.h"
#include "link/sub_commands.h"

namespace {

constexpr const char* kFieldMessage = "请输入所需内容";

using PairingFields = bool (CTestDlg::*)(ByteString& payload, uint8_t subCode);

struct PairingButton {
    int button;
    uint8_t subCode;
    PairingFields fields;  // nullptr: the sub-code alone
};

}  // namespace

void CTestDlg::MapPairingHandlers() {
    static const PairingButton buttons[] = {
        {IDC_PANEL_READ_LOCAL_PAIRING, PAIR_READ_LOCAL, nullptr},
        {IDC_PANEL_SET_LOCAL_PAIRING, PAIR_SET_LOCAL, &CTestDlg::AppendPanId},
        {IDC_PANEL_SET_PAIRING_WAIT, PAIR_SET_WAIT_STATE, &CTestDlg::AppendPairingTime},
        {IDC_PANEL_START_AUTO_PAIRING, PAIR_START_AUTO, nullptr},
        {IDC_PANEL_READ_AVAILABLE_NETWORKS, PAIR_READ_AVAILABLE_NETWORKS, nullptr},
        {IDC_PANEL_CLEAR_LOCAL_PAIRING, PAIR_CLEAR_LOCAL, nullptr},
        {IDC_PANEL_PAIRING_SEARCH, PAIR_SEARCH_REQUEST, &CTestDlg::AppendSearchRequestData},
        {IDC_PANEL_COMM_TEST_REQUEST, PAIR_COMM_TEST_REQUEST, &CTestDlg::AppendAddressAndData},
        {IDC_PANEL_COMM_TEST_REPLY, PAIR_COMM_TEST_REPLY, &CTestDlg::AppendAddressAndData},
        {IDC_PANEL_REMOTE_SET_PAIRING, PAIR_REMOTE_SET_REQUEST, &CTestDlg::AppendAddressAndPanId},
        {IDC_PANEL_PAIRING_CODE_31, PAIR_REMOTE_SET_31, &CTestDlg::AppendAddressAndPanId},
        {IDC_PANEL_REMOTE_READ_PAIRING, PAIR_REMOTE_READ, &CTestDlg::AppendAddress6},
        {IDC_PANEL_CLEAR_NETWORK_PAIRING, PAIR_CLEAR_NETWORK, &CTestDlg::AppendPanId},
        {IDC_PANEL_PAIRING_DEVICE_SEARCH, PAIR_DEVICE_SEARCH, &CTestDlg::AppendSearchRule},
        {IDC_PANEL_REMOTE_READ_PAIRING_INT, PAIR_REMOTE_READ_INTERNAL, &CTestDlg::AppendAddress6},
    };
    for (const PairingButton& b : buttons) {
        MapCommand(b.button, Notify::Clicked, [this, &b] {
            SendCommand(CMD_PAIRING, [this, &b](ByteString& payload) {
                if (b.fields) return (this->*b.fields)(payload, b.subCode);
                payload.push_back(b.subCode);
                return true;
            });
        });
    }
}

// ---- Field readers ----

bool CTestDlg::ReadHexEdit(int editId, ByteString& payload, size_t count) {
    if (AppendFixedHexField(GetDlgItemText(editId), count, payload)) return true;
    ShowMessageBox(kFieldMessage);
    return false;
}

bool CTestDlg::AppendHexEdit(ByteString& payload, int editId) {
    size_t count = 0;
    if (!AppendPairingData(GetDlgItemText(editId), payload, count)) {
        ShowMessageBox(kFieldMessage);
        return false;
    }
    SetDlgItemText(IDC_PANEL_NUMBER, std::to_string(count));
    return true;
}

bool CTestDlg::GetPairingScope(ByteString& payload) {
    uint8_t rule = 0;
    if (!CodeOfText(kPairingSearchRuleNames, ComboBox(GetDlgItem(IDC_PANEL_PAIRING_SCOPE_COMBO)).GetSelectedText(),
                    rule))
        return false;
    payload.push_back(rule);
    return true;
}

// ---- Payload builders ----

bool CTestDlg::AppendPanId(ByteString& payload, uint8_t subCode) {
    payload.push_back(subCode);
    return ReadHexEdit(IDC_PANEL_NUMBER, payload, 2);
}

bool CTestDlg::AppendPairingTime(ByteString& payload, uint8_t subCode) {
    payload.push_back(subCode);
    return ReadHexEdit(IDC_PANEL_NUMBER, payload, 1);
}

bool CTestDlg::AppendSearchRequestData(ByteString& payload, uint8_t subCode) {
    payload.push_back(subCode);
    return AppendHexEdit(payload, IDC_PANEL_DATA);
}

bool CTestDlg::AppendAddressAndData(ByteString& payload, uint8_t subCode) {
    return AppendAddress6(payload, subCode) && AppendHexEdit(payload, IDC_PANEL_DATA);
}

bool CTestDlg::AppendAddressAndPanId(ByteString& payload, uint8_t subCode) {
    return AppendAddress6(payload, subCode) && ReadHexEdit(IDC_PANEL_REMOTE_PANID, payload, 2);
}

bool CTestDlg::AppendSearchRule(ByteString& payload, uint8_t subCode) {
    payload.push_back(subCode);
    return GetPairingScope(payload) && ReadHexEdit(IDC_PANEL_NUMBER, payload, 2);
}

bool CTestDlg::AppendAddress6(ByteString& payload, uint8_t subCode) {
    payload.push_back(subCode);
    return ReadHexEdit(IDC_PANEL_DST_ADDR, payload, 6);
}
