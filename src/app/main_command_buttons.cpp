// The command buttons of the main window's pages: each sends its command, built from the page,
// and writes one row into its page's log; and the upgrade page's start and stop.

#include "app/main_tester_dlg.h"
#include "commands/field_text.h"
#include "commands/page_payloads.h"
#include "commands/point_reading.h"
#include "commands/tcpip_payloads.h"
#include "commands/tone_multicast_payloads.h"
#include "commands/TestDlg/test_dlg.h"
#include "commands/window_repeats.h"
#include "link/conversions.h"
#include "link/debugger_clock.h"
#include "link/module_command.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

struct CommandButton {
    int button;
    uint8_t command;
    PagePayload payload;
    LogList log;
    bool serialOnly = false;  // refused while the network channel is the one in use
};

const std::vector<CommandButton>& CommandButtons() {
    static const std::vector<CommandButton> buttons = {
        // Also each step of continuous sending.
        {IDC_SEND_DATA, CMD_SEND_DATA, FromPage(GatherSendDataFields, BuildSendDataPayload), LogList::DataLog},
        {IDC_EXEC_STATE_REPORT, CMD_EXEC_STATE_REPORT, FromPage(GatherExecStateFields, BuildExecStatePayload),
         LogList::FrameLog},
        {IDC_START_SEARCH, CMD_START_SEARCH, FromPage(GatherSearchFields, BuildSearchPayload),
         LogList::SearchLog},
        {IDC_STOP_SEARCH, CMD_STOP_SEARCH, nullptr, LogList::FrameLog},
        {IDC_START_CONNECTION, CMD_START_CONNECTION, FromPage(GatherConnectionFields, BuildConnectionPayload),
         LogList::FrameLog},
        {IDC_DELETE_CONNECTION, CMD_DELETE_CONNECTION, FromPage(GatherConnectionFields, BuildDeleteConnectionPayload),
         LogList::FrameLog},
        {IDC_SET_USER_PASSWORD, CMD_SET_LOCAL_PASSWORD, FromPage(GatherUserPasswordFields, BuildUserPasswordPayload),
         LogList::PasswordLog},
        {IDC_REMOTE_PASSWORD_SET, CMD_REMOTE_SET_PASSWORD,
         FromPage(GatherRemotePasswordFields, BuildRemotePasswordPayload), LogList::PasswordLog},
        {IDC_SET_NETWORK_PARAMS, CMD_SET_NETWORK_PARAMS, FromPage(GatherNetParamsFields, BuildNetParamsPayload),
         LogList::FrameLog},
        {IDC_LINK_STATE_REPORT, CMD_LINK_STATE_REPORT, FromPage(GatherLinkStateFields, BuildLinkStatePayload),
         LogList::FrameLog},
        {IDC_BROADCAST, CMD_BROADCAST, FromPage(GatherBroadcastFields, BuildBroadcastPayload), LogList::DataLog},
        {IDC_REQUEST_SEARCH_ATTRIBUTES, CMD_REQUEST_SEARCH_ATTRIBUTE,
         FromPage(GatherRequestAttributeFields, BuildRequestAttributesPayload), LogList::SearchLog},
        {IDC_REPLY_SEARCH_ATTRIBUTES, CMD_REPLY_SEARCH_ATTRIBUTE,
         FromPage(GatherReplyAttributeFields, BuildReplyAttributesPayload), LogList::SearchLog},
        {IDC_ANSWER_REMOTE_PASSWORD, CMD_REMOTE_SET_PASSWORD_REPLY,
         FromPage(GatherPasswordReplyFields, BuildPasswordReplyPayload), LogList::PasswordLog},
        {IDC_SLAVE_PASSWORD_REPLY, CMD_REMOTE_SET_PASSWORD_REPLY_REPORT,
         FromPage(GatherSlaveReplyFields, BuildSlavePasswordReplyPayload), LogList::FrameLog},
        {IDC_ENABLE_TCPIP, CMD_ENABLE_TCPIP_MODE, nullptr, LogList::FrameLog},
        {IDC_READ_LOCAL_NETPORT, CMD_READ_LOCAL_NETPORT, nullptr, LogList::FrameLog},
        {IDC_SET_LOCAL_NETPORT, CMD_SET_LOCAL_NETPORT, FromPage(GatherNetportFields, BuildLocalNetportPayload),
         LogList::DataLog, true},
        {IDC_DNS_RESOLVE, CMD_DNS_RESOLVE, FromPage(GatherDnsFields, BuildDnsPayload), LogList::FrameLog},
        {IDC_DNS_RESOLVE_REPORT, CMD_DNS_RESOLVE_REPORT, FromPage(GatherDnsReportFields, BuildDnsReportPayload),
         LogList::FrameLog},
        {IDC_TCP_STATE_REPORT, CMD_TCP_STATE_REPORT, FromPage(GatherTcpStateFields, BuildTcpStatePayload),
         LogList::FrameLog},
        {IDC_TCP_STATE_QUERY, CMD_TCP_STATE_QUERY, FromPage(GatherSocketPairFields, BuildSocketPairPayload),
         LogList::FrameLog},
        {IDC_TCP_CONNECT, CMD_TCP_CONNECT, FromPage(GatherTcpConnectFields, BuildTcpConnectPayload),
         LogList::FrameLog},
        {IDC_TCP_DISCONNECT, CMD_TCP_DISCONNECT, FromPage(GatherSocketPairFields, BuildSocketPairPayload),
         LogList::FrameLog},
        {IDC_TCP_SEND_DATA, CMD_TCP_SEND_DATA, FromPage(GatherTcpDataFields, BuildTcpDataPayload),
         LogList::FrameLog},
        {IDC_TCP_RECEIVE_DATA, CMD_TCP_RECEIVE_DATA, FromPage(GatherTcpDataFields, BuildTcpDataPayload),
         LogList::FrameLog},
        {IDM_COMMAND_0A, CMD_CODE_0A, FromPage(GatherUserPasswordFields, BuildUserPasswordPayload),
         LogList::FrameLog},
        {IDC_SET_LOCAL_TONE, CMD_SET_LOCAL_TONE, FromPage(GatherToneFields, BuildLocalTonePayload), LogList::FrameLog},
        // The backbone password: the builders of the user password's remote setting and replies.
        {IDC_REMOTE_BACKBONE_REQUEST, CMD_REMOTE_SET_BACKBONE_PASSWORD_REQUEST,
         FromPage(GatherRemotePasswordFields, BuildRemotePasswordPayload), LogList::DataLog},
        {IDC_SLAVE_BACKBONE_REQUEST, CMD_SLAVE_SET_BACKBONE_PASSWORD_REQUEST,
         FromPage(GatherPasswordRequestFields, BuildPasswordRequestPayload), LogList::DataLog},
        {IDC_REMOTE_BACKBONE_REPLY, CMD_REMOTE_SET_BACKBONE_PASSWORD_REPLY,
         FromPage(GatherPasswordReplyFields, BuildPasswordReplyPayload), LogList::FrameLog},
        {IDC_SLAVE_BACKBONE_REPLY, CMD_SLAVE_SET_BACKBONE_PASSWORD_REPLY,
         FromPage(GatherSlaveReplyFields, BuildSlavePasswordReplyPayload), LogList::FrameLog},
        {IDC_REMOTE_MULTICAST_REQUEST, CMD_REMOTE_SET_MULTICAST_REQUEST,
         FromPage(GatherMulticastRequestFields, BuildMulticastRequestPayload), LogList::DataLog},
        {IDC_REMOTE_MULTICAST_REPLY, CMD_REMOTE_SET_MULTICAST_REPLY,
         FromPage(GatherMulticastReplyFields, BuildMulticastReplyPayload), LogList::DataLog},
        {IDC_REMOTE_POINT_READ, CMD_POINT_READ, RemotePointReadPayload, LogList::FrameLog},
    };
    return buttons;
}

bool SendRow(CMainTesterDlg& dlg, const CommandButton& b) {
    if (b.serialOnly && dlg.Link().GetChannelMode() == CHANNEL_NETWORK) {
        ShowMessageBox("网口模式下，该功能不可用");
        return false;
    }
    return dlg.SendModuleCommand(b.command, b.payload, b.log);
}


}  // namespace

void CMainTesterDlg::MapCommandSenders() {
    for (const CommandButton& b : CommandButtons())
        MapCommand(b.button, Notify::Clicked, [this, &b] { SendRow(*this, b); });
    m_repeats->MapButtons();
    MapCommand(IDC_DEVICE_REPORT, Notify::Clicked, [this] { OnDeviceReport(); });
    MapCommand(IDC_ADD_REPORT_DEVICE, Notify::Clicked, [this] { OnAddReportDevice(); });
    m_upgrade.MapButtons();
    MapCommand(IDC_RAW_SEND, Notify::Clicked, [this] { OnSendRawText(); });
    MapCommand(IDC_FRAME_TEST, Notify::Clicked, [this] { OnFrameTest(); });
    MapCommand(IDM_DEBUGGER_CLOCK, Notify::Clicked, [this] { OnSetDebuggerClock(); });
    MapCommand(IDM_COMMAND_F3_ON, Notify::Clicked, [this] { SendCommandF3(1); });
    MapCommand(IDM_COMMAND_F3_OFF, Notify::Clicked, [this] { SendCommandF3(0); });
}

bool CMainTesterDlg::OnCommandButton(int button) {
    for (const CommandButton& b : CommandButtons())
        if (b.button == button) return SendRow(*this, b);
    return false;
}

void CMainTesterDlg::OnSendRawText() {
    // The bytes go out as typed: no framing, no check bytes.
    ByteString bytes = HexFieldBytes(GetDlgItemText(IDC_RAW_SEND_DATA));
    std::string hex;
    BytesToHexText(hex, bytes);
    m_frameLogs.Add(LogList::FrameLog, std::move(hex));
    SendFrame(std::move(bytes));
}

void CMainTesterDlg::OnFrameTest() {
    const ByteString command = HexFieldBytes(GetDlgItemText(IDC_FRAME_TEST_CMD));
    const std::string data = GetDlgItemText(IDC_FRAME_TEST_DATA);
    // An empty command text sends command 0.
    SendModuleCommand(command.empty() ? 0 : command[0],
                      [&data](Dialog&, ByteString& payload) {
                          payload = HexFieldBytes(data);
                          return true;
                      },
                      LogList::FrameLog);
}

bool CMainTesterDlg::SendModuleCommand(uint8_t command, const PagePayload& payload, LogList log) {
    ByteString bytes;
    if (!BuildCommandFrame(*this, kMainHeaderCombos, command, payload, bytes)) return false;
    std::string hex;
    BytesToHexText(hex, bytes);
    m_frameLogs.Add(log, std::move(hex));
    SendFrame(bytes);
    return true;
}

void CMainTesterDlg::SendRemotePasswordSlaveRequest() {
    SendModuleCommand(CMD_REMOTE_SET_PASSWORD_SLAVE_REQUEST,
                      FromPage(GatherPasswordRequestFields, BuildPasswordRequestPayload), LogList::DataLog);
}

void CMainTesterDlg::OnDeviceReport() {
    SendModuleCommand(
        CMD_SEARCH_REPORT,
        [this](Dialog& page, ByteString& payload) {
            BuildDeviceReportPayload(page.GetDlgItemText(IDC_DEVICE_COUNT), m_addDeviceText, payload);
            return true;
        },
        LogList::FrameLog);
}

void CMainTesterDlg::OnAddReportDevice() {
    CAddDeviceDlg adding(ReadDeviceLimit(*this));
    AddReportDevices(adding);
}

void CMainTesterDlg::AddReportDevices(CAddDeviceDlg& adding) {
    adding.DoModal(this);
    // Closed without "确定添加": the devices stay as they were.
    if (adding.Confirmed()) m_addDeviceText = adding.DeviceText();
}

// Command 0xF3 with one data byte; its row goes into the frame, search and data logs and the
// test panel's list.
void CMainTesterDlg::SendCommandF3(uint8_t on) {
    ByteString bytes;
    const PagePayload payload = [on](Dialog&, ByteString& data) {
        data.push_back(on);
        return true;
    };
    if (!BuildCommandFrame(*this, kMainHeaderCombos, CMD_CODE_F3, payload, bytes)) return;
    std::string hex;
    BytesToHexText(hex, bytes);
    for (LogList list : {LogList::FrameLog, LogList::SearchLog, LogList::DataLog}) m_frameLogs.Add(list, hex);
    m_testPanel->AddLogRow(hex);
    SendFrame(bytes);
}

// ---- The carrier debugger's clock ----

void CMainTesterDlg::OnSetDebuggerClock() {
    ByteString frame = DebuggerClockFrame(m_clockSource());
    m_link.Queues().debuggerClock.Clear();
    std::string hex;
    BytesToHexText(hex, frame);
    m_frameLogs.Add(LogList::FrameLog, std::move(hex));
    SendFrame(std::move(frame));
    // The answer is looked at a second later; the window goes on meanwhile.
    SetTimer(TIMER_DEBUGGER_CLOCK, 1000);
}

void CMainTesterDlg::ReportClockReply() {
    ReplyEntry answer;
    const bool answered = m_link.Queues().debuggerClock.Pop(answer);
    ShowAnalysisText(DebuggerClockVerdict(answered ? &answer.frame : nullptr));
}

// ---- The repeats' settings dialogs ----

void CMainTesterDlg::OnPanelContinuousSend() { m_repeats->OnPanelContinuousSend(); }

void CMainTesterDlg::OnPanelStopContinuousSend() { m_repeats->OnPanelStopContinuousSend(); }

int CMainTesterDlg::RunModal(Dialog& dialog) {
    if (m_modalWatcher) PostTask([this, &dialog] { m_modalWatcher(dialog); });
    return dialog.DoModal(this);
}

