// The main window's repeats on its timers, controls and reply queues.

#include "commands/window_repeats.h"

#include <utility>

#include "commands/TestDlg/test_dlg.h"
#include "dialogs/continuous_send_dlg.h"
#include "dialogs/device_search_list_dlg.h"
#include "dialogs/frame_log.h"
#include "dialogs/main_window_port.h"
#include "dialogs/test_continuous_send_dlg.h"
#include "link/conversions.h"
#include "link/module_link.h"
#include "res/resource_ids.h"

WindowRepeats::WindowRepeats(const RepeatWindowParts& parts)
    : m_parts(parts),
      m_timers(parts.window),
      m_sendDataReplies(parts.link.Queues().sendData, parts.link.Queues().sendDataArrived),
      m_testReplies(parts.link.Queues().test, parts.link.Queues().testArrived),
      m_continuousSend(m_timers, m_sendDataReplies, parts.host),
      m_timedSend(m_timers, *this),
      m_repeatedSearch(m_timers, *this, parts.host, *this),
      m_repeatedBroadcast(m_timers, *this, parts.host),
      m_panelSendTest(m_timers, m_testReplies, *this) {}

void WindowRepeats::MapButtons() {
    Dialog& w = m_parts.window;
    w.MapCommand(IDC_CONTINUOUS_SEND_DATA, Notify::Clicked, [this] { OnContinuousSendData(); });
    // "中断": the timer stops, sending is switched off and the caption restored.
    w.MapCommand(IDC_INTERRUPT_SEND, Notify::Clicked, [this] { m_continuousSend.Stop(); });
    w.MapCommand(IDC_CONTINUOUS_BROADCAST, Notify::Clicked, [this] { m_repeatedBroadcast.Start(); });
    w.MapCommand(IDC_STOP_CONTINUOUS_BROADCAST, Notify::Clicked, [this] { m_repeatedBroadcast.Stop(); });
    w.MapCommand(IDC_TIMED_SEND, Notify::Clicked, [this] { OnTimedSend(); });
    w.MapCommand(IDC_CONTINUOUS_SEARCH, Notify::Clicked, [this] { m_repeatedSearch.Start(); });
    w.MapCommand(IDC_STOP_CONTINUOUS_SEARCH, Notify::Clicked, [this] { m_repeatedSearch.Stop(); });
}

void WindowRepeats::Tick(int timer) {
    switch (timer) {
        case TIMER_CONTINUOUS_SEND:
            m_continuousSend.Tick();
            break;
        case TIMER_SEND_TEST_STEP:
            m_panelSendTest.Tick();
            break;
        case TIMER_CONTINUOUS_SEARCH:
            m_repeatedSearch.Tick();
            break;
        case TIMER_CONTINUOUS_BROADCAST:
            m_repeatedBroadcast.Tick();
            break;
        case TIMER_TIMED_SEND:
            m_timedSend.Tick();
            break;
        default:
            break;
    }
}

void WindowRepeats::OnContinuousSendData() {
    // The dialog's result is not looked at: what it switched on stays on.
    CContinuousSendDlg settings(m_continuousSend.Settings());
    m_parts.host.RunModal(settings);
    m_continuousSend.StartIfEnabled();
}

void WindowRepeats::OnPanelContinuousSend() {
    CTestContinuousSendDlg settings(m_panelSendTest.Settings());
    m_parts.host.RunModal(settings);
    m_panelSendTest.Begin();
}

void WindowRepeats::OnTimedSend() {
    CTimedSendDlg& dialog = m_parts.timedSendDialog;
    if (!dialog.IsCreated()) dialog.Create(&m_parts.window);
    dialog.ShowWindow(true);
    m_parts.window.GetDlgItem(IDC_TIMED_SEND).Enable(false);
}

void WindowRepeats::OnTimedSendClosed() { m_parts.window.GetDlgItem(IDC_TIMED_SEND).Enable(true); }

// ---- The ports of the repeats ----

std::string WindowRepeats::ControlText(int id) const { return m_parts.window.GetDlgItemText(id); }

void WindowRepeats::SendTimedFrame(const ByteString& frame) {
    std::string hex;
    BytesToHexText(hex, frame);
    m_parts.logs.Add(LogList::FrameLog, std::move(hex));
    m_parts.port.SendFrame(frame);
}

void WindowRepeats::OnTimedSendEnded() { m_parts.timedSendDialog.OnTimedSendEnded(); }

void WindowRepeats::ClearLog() { m_parts.logs[LogList::SearchLog].Clear(); }

void WindowRepeats::EnableControls(bool enable) {
    for (int id : {IDC_REPEAT_PERIOD, IDC_CONTINUOUS_SEARCH, IDC_START_SEARCH})
        m_parts.window.GetDlgItem(id).Enable(enable);
}

void WindowRepeats::SaveFiles() {
    m_parts.host.SaveSearchLog();
    m_parts.searchList.AutoExportRouting();
}

std::string WindowRepeats::LastAddressText() const { return m_parts.panel.LastAddressText(); }

void WindowRepeats::ShowResultText(const std::string& text) { m_parts.panel.ShowResultText(text); }

void WindowRepeats::SetControlText(int id, const std::string& text) { m_parts.panel.SetDlgItemText(id, text); }

void WindowRepeats::EnableControl(int id, bool enable) { m_parts.panel.GetDlgItem(id).Enable(enable); }

void WindowRepeats::After(uint32_t delayMs, std::function<void()> task) {
    m_parts.window.PostTaskAfter(delayMs, std::move(task));
}
