// The module test panel's commands to the local module and to remote devices, and the readers
// of their fields.

#include "commands/TestDlg/panel_fields.h"
#include "commands/TestDlg/test_dlg.h"
#include "commands/field_text.h"
#include "commands/panel_payloads.h"
#include "dialogs/number_text.h"
#include "link/conversions.h"
#include "link/field_tables.h"
#include "link/module_command.h"
#include "link/sub_commands.h"

namespace {

constexpr const char* kAddressMessage = "请输入地址";

// A payload of fixed bytes.
std::function<bool(ByteString&)> Fixed(ByteString bytes) {
    return [bytes](ByteString& payload) {
        payload += bytes;
        return true;
    };
}

}  // namespace

void CTestDlg::MapHandlers() {
    auto on = [this](int id, std::function<void()> handler) { MapCommand(id, Notify::Clicked, std::move(handler)); };
    auto sends = [this, on](int id, uint8_t command, Payload payload) {
        on(id, [this, command, payload] { SendCommand(command, payload); });
    };
    auto with = [this](bool (CTestDlg::*build)(ByteString&)) {
        return [this, build](ByteString& payload) { return (this->*build)(payload); };
    };
    auto withSubCode = [this](bool (CTestDlg::*build)(uint8_t, ByteString&), uint8_t subCode) {
        return [this, build, subCode](ByteString& payload) { return (this->*build)(subCode, payload); };
    };

    // The continuous send test runs on the window's timer.
    on(IDC_PANEL_CONTINUOUS_SEND, [this] { m_window.OnPanelContinuousSend(); });
    on(IDC_PANEL_STOP_CONTINUOUS_SEND, [this] { m_window.OnPanelStopContinuousSend(); });

    // The local module.
    sends(IDC_PANEL_MODULE_RESTART, CMD_MODULE_RESTART, nullptr);
    on(IDC_PANEL_READ_VERSION, [this] { OnReadVersion(); });
    sends(IDC_PANEL_READ_MAC, CMD_READ_MAC_ADDRESS, nullptr);
    sends(IDC_PANEL_COMMAND_09, CMD_CODE_09, nullptr);
    sends(IDC_PANEL_READ_COMM_ADDRESS, CMD_READ_COMM_ADDRESS, nullptr);
    sends(IDC_PANEL_READ_NET_PARAMS, CMD_READ_NETWORK_PARAMS, nullptr);
    sends(IDC_PANEL_READ_USER_PASSWORD, CMD_READ_LOCAL_PASSWORD, nullptr);
    sends(IDC_PANEL_SET_COMM_ADDRESS, CMD_SET_COMM_ADDRESS,
          [this](ByteString& payload) { return ReadHexAddressEdit(IDC_PANEL_DST_ADDR, payload); });
    // The user network password is set from the main window's page; here the button does nothing.
    on(IDC_PANEL_SET_USER_PASSWORD, [] {});

    // Remote devices.
    sends(IDC_PANEL_REMOTE_RESTART, CMD_REMOTE_RESTART, with(&CTestDlg::BuildZeroAndDstPayload));
    sends(IDC_PANEL_REMOTE_SET_LWIP, CMD_REMOTE_SET_LWIP, with(&CTestDlg::BuildLwipPayload));
    sends(IDC_PANEL_REMOTE_READ_VERSION, CMD_REMOTE_READ_VERSION, with(&CTestDlg::BuildZeroAndDstPayload));
    sends(IDC_PANEL_REMOTE_READ_MAC, CMD_REMOTE_READ_MAC_ADDRESS, with(&CTestDlg::BuildZeroAndDstPayload));
    sends(IDC_PANEL_REMOTE_READ_NET_PARAMS, CMD_REMOTE_READ_NETWORK_PARAMS, with(&CTestDlg::BuildZeroAndDstPayload));

    // Test tool and reset information.
    sends(IDC_PANEL_READ_GAIN, CMD_TEST_TOOL, Fixed({TEST_READ_GAIN}));
    sends(IDC_PANEL_READ_FREQ_OFFSET, CMD_TEST_TOOL,
          withSubCode(&CTestDlg::BuildSubCodeAndDstPayload, TEST_READ_FREQ_OFFSET));
    sends(IDC_PANEL_GET_TESTED_ADDRESS, CMD_TEST_TOOL, Fixed({TEST_GET_MODULE_ADDRESS}));
    sends(IDC_PANEL_CLEAR_TESTED_ADDRESS, CMD_TEST_TOOL, Fixed({TEST_CLEAR_MODULE_ADDRESS}));
    sends(IDC_PANEL_READ_LOCAL_RESET, CMD_RESET_INFO, Fixed({RESET_INFO_READ_LOCAL}));
    sends(IDC_PANEL_CLEAR_LOCAL_RESET, CMD_RESET_INFO, Fixed({RESET_INFO_CLEAR_LOCAL}));
    sends(IDC_PANEL_READ_REMOTE_RESET, CMD_RESET_INFO,
          withSubCode(&CTestDlg::BuildSubCodeAndTargetPayload, RESET_INFO_READ_REMOTE));
    sends(IDC_PANEL_CLEAR_REMOTE_RESET, CMD_RESET_INFO,
          withSubCode(&CTestDlg::BuildSubCodeAndTargetPayload, RESET_INFO_CLEAR_REMOTE));

    // Network-port test, throughput request and broadcast reply test.
    on(IDC_PANEL_NET_PORT_TEST, [this] { OnNetPortTest(); });
    on(IDC_PANEL_STOP_NET_PORT_TEST, [this] { OnStopNetPortTest(); });
    sends(IDC_PANEL_THROUGHPUT_TEST, CMD_THROUGHPUT_TEST, with(&CTestDlg::BuildNetTestPacket));
    on(IDC_PANEL_BROADCAST_REPLY_TEST, [this] { OnBroadcastReplyTest(); });
    on(IDC_PANEL_BROADCAST_REPLY_INFO, [this] { m_window.ShowBroadcastReplyTest(); });

    MapPairingHandlers();

    // The upgrade-file group.
    on(IDC_PANEL_CHOOSE_UPGRADE_FILE, [this] { OnSelectUpgradeFile(); });
    on(IDC_PANEL_BOOT_FILE, [this] { OnProcessBootFile(); });
    on(IDC_PANEL_SEC_HIGH_FILE, [this] { OnProcessSecHighFile(); });

    MapCommand(IDC_PANEL_LOG_LIST, Notify::ItemChanged, [this] { OnItemchangedLogList(); });
    MapCommand(IDC_PANEL_LOG_LIST, Notify::DblClick, [this] { OnDblclkLogList(); });
}

bool CTestDlg::SendCommand(uint8_t command, const Payload& payload, bool logRow) {
    PagePayload build;
    if (payload) build = [&payload](Dialog&, ByteString& bytes) { return payload(bytes); };
    ByteString frame;
    if (!BuildCommandFrame(*this, kTestPanelHeaderCombos, command, build, frame)) return false;
    std::string hex;
    BytesToHexText(hex, frame);
    // The row goes in before the write: an answer's row, written by the receive path, follows it.
    if (logRow) AddLogRow(hex);
    m_window.SendFrame(frame);
    return true;
}

void CTestDlg::OnReadVersion() { SendCommand(CMD_READ_VERSION, nullptr, !m_window.IsVersionCaptureArmed()); }

// ---- Field readers ----

bool CTestDlg::ReadHexAddressEdit(int editId, ByteString& payload) {
    std::string wire;
    if (!WireAddressText(GetDlgItemText(editId), wire)) {
        ShowMessageBox(kAddressMessage);
        return false;
    }
    m_lastAddressText = wire;
    payload += HexFieldBytes(wire);
    return true;
}

bool CTestDlg::ReadMulticastAddress(int editId, ByteString& payload) {
    std::string wire;
    if (!WireMulticastText(GetDlgItemText(editId), wire)) {
        ShowMessageBox(kAddressMessage);
        return false;
    }
    m_lastAddressText = wire;
    payload += HexFieldBytes(wire);
    return true;
}

bool CTestDlg::ReadRemoteTarget(ByteString& payload) {
    RemoteTarget target;
    target.multicast = GetMulticastFlag();
    if (target.multicast == 1 && !ReadMulticastAddress(IDC_PANEL_MULTICAST_ADDR, target.group)) return false;
    if (!ReadHexAddressEdit(IDC_PANEL_DST_ADDR, target.address)) return false;
    AppendRemoteTarget(target, payload);
    return true;
}

bool CTestDlg::ReadDecimalEdit(int editId, const char* field, long long high, long long& value) {
    const std::string text = GetDlgItemText(editId);
    if (ReadWholeNumber(text, 0, high, value)) return true;
    ShowMessageBox(RefusedNumberText(text, field, 0, high));
    return false;
}

uint8_t CTestDlg::GetMulticastFlag() {
    uint8_t flag = 0;
    CodeOfText(kMulticastFlagNames, ComboBox(GetDlgItem(IDC_PANEL_ADDRESS_MODE_COMBO)).GetSelectedText(), flag);
    return flag;
}

uint8_t CTestDlg::GetKeyMode() {
    uint8_t mode = 0;
    CodeOfText(kKeyModeNames, ComboBox(GetDlgItem(IDC_PANEL_KEY_MODE_COMBO)).GetSelectedText(), mode);
    return mode;
}

void CTestDlg::GetOpenClose(ByteString& payload) {
    uint8_t mode = 0;
    if (CodeOfText(kSetTypeNames, ComboBox(GetDlgItem(IDC_PANEL_LWIP_MODE_COMBO)).GetSelectedText(), mode))
        payload.push_back(mode);
}

// ---- Payload builders ----

bool CTestDlg::BuildZeroAndDstPayload(ByteString& payload) { return BuildSubCodeAndDstPayload(0x00, payload); }

bool CTestDlg::BuildSubCodeAndDstPayload(uint8_t subCode, ByteString& payload) {
    payload.push_back(subCode);
    return ReadHexAddressEdit(IDC_PANEL_DST_ADDR, payload);
}

bool CTestDlg::BuildSubCodeAndTargetPayload(uint8_t subCode, ByteString& payload) {
    payload.push_back(subCode);
    return ReadRemoteTarget(payload);
}

bool CTestDlg::BuildLwipPayload(ByteString& payload) {
    if (!ReadRemoteTarget(payload)) return false;
    GetOpenClose(payload);
    return true;
}
