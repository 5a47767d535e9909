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
#include "link/reply_queue.h"

// What the test needs of the window and the panel.
struct PanelSendTestPort {
    std::function<void()> flushReplies;
    std::function<bool(ByteString&)> popReply;        // the oldest test-data reply
    std::function<std::string()> lastAddress;         // wire order, hexadecimal
    std::function<void(const std::string&)> showText;  // the panel's text pane
    std::function<void(int, const std::string&)> setText;
    std::function<void(int, bool)> enable;
    std::function<void(uint32_t, std::function<void()>)> after;  // a task after a delay
};

class PanelSendTest {
public:
    static constexpr uint32_t kTickMs = 100;
    static constexpr uint32_t kPauseMs = 300;

    PanelSendTest(RepeatWindow& window, ArrivedFlag& arrived, PanelSendTestPort port)
        : m_window(window), m_arrived(arrived), m_port(std::move(port)) {}

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
    ArrivedFlag& m_arrived;
    PanelSendTestPort m_port;
    TestContinuousSendSettings m_settings;
    bool m_active = false;
    bool m_replyDone = false;
    uint32_t m_tickCount = 0;
    uint32_t m_run = 0;  // steps started; a pause ends only the step it follows
};
