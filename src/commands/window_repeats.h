#pragma once
// The main window's five repeats as one object: continuous send, timed send, repeated search,
// repeated broadcast and the test panel's continuous send test, built on the window's timers,
// controls, reply queues and senders. The window holds one of these, hands it the ticks of the
// repeats' timers and lets it map the repeats' buttons.

#include <cstdint>
#include <functional>
#include <string>

#include "commands/TestDlg/panel_send_test.h"
#include "commands/repeats.h"
#include "dialogs/timed_send_dlg.h"

class CDeviceSearchListDlg;
class CTestDlg;
class FrameLogs;
class MainWindowPort;
class ModuleLink;

// The parts of the main window the repeats use.
struct RepeatWindowParts {
    Dialog& window;
    RepeatHost& host;
    MainWindowPort& port;  // the channel frames are written on
    ModuleLink& link;      // the send-data and test-data reply queues
    FrameLogs& logs;
    CDeviceSearchListDlg& searchList;
    CTimedSendDlg& timedSendDialog;
    CTestDlg& panel;
};

class WindowRepeats final : public TimedSendPort,
                            private PageTexts,
                            private TimedSendOutput,
                            private SearchPass,
                            private SendTestPanel {
public:
    explicit WindowRepeats(const RepeatWindowParts& parts);

    // Maps "连续发送数据", "中断", "定时发送", and the starts and stops of the repeated broadcast
    // and search.
    void MapButtons();
    // A tick of one of the repeats' timers.
    void Tick(int timer);

    // The test panel's start (after its settings dialog) and stop.
    void OnPanelContinuousSend();
    void OnPanelStopContinuousSend() { m_panelSendTest.Stop(); }

    // The timed send's window.
    TimedSendSettings& TimedSettings() override { return m_timedSend.Settings(); }
    bool IsTimedSendRunning() const override { return m_timedSend.IsRunning(); }
    bool StartTimedSend() override { return m_timedSend.Start(); }
    void StopTimedSend() override { m_timedSend.Stop(); }
    void OnTimedSendClosed() override;

private:
    // "连续发送数据": the settings dialog, then a start when it left sending switched on.
    void OnContinuousSendData();
    // "定时发送": shows the timed send's window; the button stays disabled while it exists.
    void OnTimedSend();

    std::string ControlText(int id) const override;
    void SendTimedFrame(const ByteString& frame) override;
    void OnTimedSendEnded() override;
    void ClearLog() override;
    void EnableControls(bool enable) override;
    void SaveFiles() override;
    std::string LastAddressText() const override;
    void ShowResultText(const std::string& text) override;
    void SetControlText(int id, const std::string& text) override;
    void EnableControl(int id, bool enable) override;
    void After(uint32_t delayMs, std::function<void()> task) override;

    RepeatWindowParts m_parts;
    DialogRepeatWindow m_timers;
    QueueRepeatReplySource m_sendDataReplies;
    QueueRepeatReplySource m_testReplies;
    ContinuousSend m_continuousSend;
    TimedSend m_timedSend;
    RepeatedSearch m_repeatedSearch;
    RepeatedBroadcast m_repeatedBroadcast;
    PanelSendTest m_panelSendTest;
};
