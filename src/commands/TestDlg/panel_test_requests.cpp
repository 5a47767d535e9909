// The module test panel's network-port test, throughput request and broadcast reply test.

#include <algorithm>
#include <cstdint>
#include <limits>

#include "commands/TestDlg/test_dlg.h"
#include "commands/field_text.h"
#include "commands/panel_payloads.h"
#include "dialogs/number_text.h"
#include "link/module_command.h"
#include "platform/text_format.h"

// ---- Network-port test ----

bool CTestDlg::BuildNetTestPacket(ByteString& payload) {
    AppendNetTestPacket(m_netTestSequence++, payload);
    return true;
}

// Test frames are not logged: a run would flood the list.
void CTestDlg::SendNetPortTestFrame() {
    SendCommand(CMD_NETPORT_TEST, [this](ByteString& payload) { return BuildNetTestPacket(payload); }, false);
}

void CTestDlg::OnNetPortTest() {
    // The leading number of the text, 0 when there is none: a count of 0 or less runs the
    // button's frame and one tick's.
    const long long count = LeadingWholeNumber(GetDlgItemText(IDC_PANEL_NUMBER));
    m_netTestCount = static_cast<int32_t>(std::clamp<long long>(count, std::numeric_limits<int32_t>::min(),
                                                                std::numeric_limits<int32_t>::max()));
    SendNetPortTestFrame();
    SetTimer(PANEL_TIMER_NET_PORT_TEST, 1);
    m_netTestTicks = 0;
}

void CTestDlg::OnStopNetPortTest() { KillTimer(PANEL_TIMER_NET_PORT_TEST); }

void CTestDlg::OnTimer(int id) {
    if (id != PANEL_TIMER_NET_PORT_TEST) return;
    if (++m_netTestTicks >= m_netTestCount) KillTimer(PANEL_TIMER_NET_PORT_TEST);
    SendNetPortTestFrame();
}

// ---- Broadcast reply test ----

bool CTestDlg::BuildBroadcastReplyTestPayload(ByteString& payload) {
    BroadcastReplyRequest request;
    request.multicast = GetMulticastFlag();
    request.keyMode = GetKeyMode();
    if (request.multicast == 1 && !ReadMulticastAddress(IDC_PANEL_MULTICAST_ADDR, request.group)) return false;
    long long sequence = 0, delay = 0, replyTimes = 0, dataLength = 0;
    if (!ReadDecimalEdit(IDC_PANEL_BRD_DSN, "brd dsn", 0xFF, sequence)) return false;
    // The next request carries the next sequence number without the user typing it.
    SetDlgItemText(IDC_PANEL_BRD_DSN, StrFormat("%d", static_cast<int>((sequence + 1) % 256)));
    if (!ReadDecimalEdit(IDC_PANEL_BRD_DELAY, "brd delay", 0xFFFF, delay)) return false;
    if (!ReadDecimalEdit(IDC_PANEL_RESP_TIMES, "resp tms", 0xFF, replyTimes)) return false;
    if (!ReadDecimalEdit(IDC_PANEL_DATA_LEN, "数据长度", 0xFFFF, dataLength)) return false;
    request.sequence = static_cast<uint8_t>(sequence);
    request.delay = static_cast<uint16_t>(delay);
    request.replyTimes = static_cast<uint8_t>(replyTimes);
    request.dataLength = static_cast<uint16_t>(dataLength);
    BuildBroadcastReplyPayload(request, payload);
    return true;
}

void CTestDlg::OnBroadcastReplyTest() {
    // The dialog gathers the answers to this request only: it is emptied before the request goes
    // out, so an answer that comes at once is kept.
    SendCommand(CMD_BROADCAST_REPLY_TEST, [this](ByteString& payload) {
        if (!BuildBroadcastReplyTestPayload(payload)) return false;
        m_window.ClearBroadcastReplyList();
        return true;
    });
}
