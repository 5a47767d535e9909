#pragma once
// The window's repeats: continuous send, timed send, repeated search and repeated broadcast.
// Each runs on a timer of the main window; the window's timer handler hands each tick to its
// repeat. Everything here runs on the user-interface thread.

#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/continuous_send_dlg.h"
#include "link/byte_string.h"
#include "link/reply_queue.h"
#include "platform/ui.h"

// What a repeat does to the window it runs on.
class RepeatWindow {
public:
    virtual ~RepeatWindow() = default;
    virtual void StartTimer(int id, uint32_t periodMs) = 0;
    virtual void StopTimer(int id) = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
};

// A dialog's own timers and controls.
class DialogRepeatWindow : public RepeatWindow {
public:
    explicit DialogRepeatWindow(Dialog& dialog) : m_dialog(dialog) {}
    void StartTimer(int id, uint32_t periodMs) override { m_dialog.SetTimer(id, periodMs); }
    void StopTimer(int id) override { m_dialog.KillTimer(id); }
    void SetControlText(int id, const std::string& text) override { m_dialog.SetDlgItemText(id, text); }

private:
    Dialog& m_dialog;
};

// ---- Continuous send of the send-data frame: one frame, then every interval + 200 ms ----

class ContinuousSend {
public:
    static constexpr uint32_t kTickMs = 200;

    // flush empties the send-data reply queue; send sends the page's send-data frame with its
    // row (false: refused, its message shown); popReply takes the oldest send-data reply.
    ContinuousSend(RepeatWindow& window, ArrivedFlag& replyArrived, std::function<void()> flush,
                   std::function<bool()> send, std::function<bool(ByteString&)> popReply);

    ContinuousSendSettings& Settings() { return m_settings; }
    uint32_t Count() const { return m_settings.count; }
    uint32_t Successes() const { return m_settings.success; }
    // Good replies in percent of the frames sent; 0 before the first.
    uint32_t SuccessRate() const;
    bool IsGoingOn() const { return m_goingOn; }
    // The settings dialog's "是否重新计数".
    void ResetCount() { m_settings.count = m_settings.success = 0; }

    // The button: when enabled, clears the reply flag and starts; otherwise nothing.
    void StartIfEnabled();
    // One step, then the timer from its first tick; a refused step stops instead.
    void Start();
    // Flushes the replies, sends and shows the count. A refused payload stops the sending
    // (its message shown once); false then.
    bool Step();
    // The timer's tick: judges a reply that came, then the next step once the interval is used up.
    void Tick();
    // "中断": the timer stops, sending is switched off and the caption restored.
    void Stop();

private:
    void JudgeReply();

    RepeatWindow& m_window;
    ArrivedFlag& m_replyArrived;
    std::function<void()> m_flush;
    std::function<bool()> m_send;
    std::function<bool(ByteString&)> m_popReply;
    ContinuousSendSettings m_settings;
    uint32_t m_tick = 0;  // ticks since the last step
    bool m_goingOn = true;
};

// ---- Timed send: a frame text every interval, a number of times ----

struct TimedSendSettings {
    uint32_t intervalMs = 500;
    uint32_t count = 2;
    std::string frameText;
};

class TimedSend {
public:
    explicit TimedSend(RepeatWindow& window) : m_window(window) {}

    TimedSendSettings& Settings() { return m_settings; }
    bool IsRunning() const { return m_running; }
    uint32_t Done() const { return m_done; }

    // Counts from 0 and starts the timer, unless it runs.
    void Start();
    void Stop();
    void Tick();

private:
    RepeatWindow& m_window;
    TimedSendSettings m_settings;
    uint32_t m_done = 0;
    bool m_running = false;
};

// ---- Repeated search and repeated broadcast: one command again at a period ----

struct RepeatPeriod {
    uint32_t periodMs = 0;
};

class RepeatedSearch {
public:
    explicit RepeatedSearch(RepeatWindow& window) : m_window(window) {}

    RepeatPeriod& Settings() { return m_settings; }
    bool IsRunning() const { return m_running; }
    void Start();
    void Stop();
    void Tick();

private:
    RepeatWindow& m_window;
    RepeatPeriod m_settings;
    bool m_running = false;
};

class RepeatedBroadcast {
public:
    explicit RepeatedBroadcast(RepeatWindow& window) : m_window(window) {}

    RepeatPeriod& Settings() { return m_settings; }
    bool IsRunning() const { return m_running; }
    void Start();
    void Stop();
    void Tick();

private:
    RepeatWindow& m_window;
    RepeatPeriod m_settings;
    bool m_running = false;
};
