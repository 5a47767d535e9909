#pragma once
// The window's repeats: continuous send, timed send, repeated search and repeated broadcast.
// Each runs on a timer of the main window; the window's timer handler hands each tick to its
// repeat. Everything here runs on the user-interface thread.

#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/continuous_send_dlg.h"
#include "dialogs/timed_send_dlg.h"
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

class TimedSend {
public:
    // send writes the frame's bytes with their row; stopped tells the dialog that the run ended.
    TimedSend(RepeatWindow& window, std::function<void(const ByteString&)> send, std::function<void()> stopped);

    TimedSendSettings& Settings() { return m_settings; }
    bool IsRunning() const { return m_running; }
    uint32_t Done() const { return m_done; }

    // Counts from 0 and starts the timer, unless it runs. False, with nothing started, for a
    // period or count of 0 or a frame text that is empty or not hexadecimal.
    bool Start();
    void Stop();
    // Sends the frame text; stops after the count.
    void Tick();

private:
    RepeatWindow& m_window;
    std::function<void(const ByteString&)> m_send;
    std::function<void()> m_stopped;
    TimedSendSettings m_settings;
    ByteString m_frame;
    uint32_t m_done = 0;
    bool m_running = false;
};

// ---- Repeated search and repeated broadcast: one command again at a period ----

// The edit that gives both their period, and what a refused period says.
constexpr const char* kBadPeriodText = "超时时间须为大于0的整数";

// What a pass of the repeated search does to the window.
struct SearchPass {
    std::function<std::string()> periodText;  // the seconds edit
    std::function<void()> clearLog;           // the search log's rows
    std::function<void(bool)> enableControls; // the edit and the buttons that start searches
    std::function<bool()> search;             // one start-search command (false: refused)
    std::function<void()> saveFiles;          // the search log and the routing file
};

class RepeatedSearch {
public:
    static constexpr uint32_t kMaxSeconds = 0xFFFF;

    RepeatedSearch(RepeatWindow& window, SearchPass pass) : m_window(window), m_pass(std::move(pass)) {}

    bool IsRunning() const { return m_running; }
    uint32_t PeriodMs() const { return m_periodMs; }
    // One pass: the log cleared, the controls disabled, the timer set and one search sent. A bad
    // period or a refused search shows its message once and leaves the repeat stopped.
    bool Start();
    // Kills the timer and gives the controls back.
    void Stop();
    // Saves the files of the pass that ends, then starts the next with the period read anew.
    void Tick();

private:
    RepeatWindow& m_window;
    SearchPass m_pass;
    uint32_t m_periodMs = 0;
    bool m_running = false;
};

class RepeatedBroadcast {
public:
    static constexpr uint32_t kMaxMs = 0x7FFFFFFF;

    // periodText: the milliseconds edit; broadcast: one broadcast (false: refused).
    RepeatedBroadcast(RepeatWindow& window, std::function<std::string()> periodText, std::function<bool()> broadcast)
        : m_window(window), m_periodText(std::move(periodText)), m_broadcast(std::move(broadcast)) {}

    bool IsRunning() const { return m_running; }
    uint32_t PeriodMs() const { return m_periodMs; }
    // Sets the timer with the period read anew and broadcasts once. A bad period or a refused
    // broadcast shows its message once and leaves the repeat stopped.
    bool Start();
    void Stop();
    void Tick();

private:
    RepeatWindow& m_window;
    std::function<std::string()> m_periodText;
    std::function<bool()> m_broadcast;
    uint32_t m_periodMs = 0;
    bool m_running = false;
};
