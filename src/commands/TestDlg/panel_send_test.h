#pragma once
// The test panel's continuous send test: each step counts a send and waits on the window's
// 100 ms timer for a test-data reply from the last address entered on the panel. A matching
// reply counts as a success and the next step follows after a pause; no reply within the
// interval is a time-out and the next step follows at once. User-interface thread only.

#include <cstdint>
#include <functional>
#include <string>

#include "commands/repeats.h"
#include "dialogs/test_continuous_send_dlg.h"
#include "link/byte_string.h"

// What the test needs of the panel, and of the window besides its timer.
class SendTestPanel {
public:
    virtual ~SendTestPanel() = default;
    // The address last entered on the panel: wire order, hexadecimal.
    virtual std::string LastAddressText() const = 0;
    // The panel's text pane.
    virtual void ShowResultText(const std::string& text) = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
    virtual void EnableControl(int id, bool enable) = 0;
    // Runs the task on this thread after the delay.
    virtual void After(uint32_t delayMs, std::function<void()> task) = 0;
};

class PanelSendTest {
public:
    static constexpr uint32_t kTickMs = 100;
    static constexpr uint32_t kPauseMs = 300;

    // replies: the test-data replies.
    PanelSendTest(RepeatWindow& window, RepeatReplySource& replies, SendTestPanel& panel)
        : m_window(window), m_replies(replies), m_panel(panel) {}

    TestContinuousSendSettings& Settings() { return m_settings; }
    bool IsActive() const { return m_active; }
    // Successes in percent of the steps; 0 before the first step.
    uint32_t Rate() const;

    // After the settings dialog: the timer stops; an armed test starts a step.
    void Begin();
    // A step: the replies emptied, the count shown, the timer started.
    void Start();
    void Tick();
    // "停止连续发送".
    void Stop();

private:
    void Step();
    void ShowReply();
    bool ParseReply(const ByteString& frame, std::string& text);
    void ShowRate();

    RepeatWindow& m_window;
    RepeatReplySource& m_replies;
    SendTestPanel& m_panel;
    TestContinuousSendSettings m_settings;
    bool m_active = false;
    bool m_replyDone = false;
    uint32_t m_tickCount = 0;
    uint32_t m_run = 0;  // steps started; a pause ends only the step it follows
};
