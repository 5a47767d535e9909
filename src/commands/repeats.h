#pragma once
// The window's repeats: continuous send, timed send, repeated search and repeated broadcast.
// Each runs on a timer of the main window; the window's timer handler hands each tick to its
// repeat. Everything here runs on the user-interface thread. Each repeat is built on the small
// ports it needs (commands/repeat_ports.h).

#include <cstdint>
#include <string>

#include "commands/repeat_ports.h"
#include "dialogs/continuous_send_dlg.h"
#include "dialogs/timed_send_dlg.h"
#include "link/byte_string.h"

// ---- Continuous send of the send-data frame: one frame, then every interval + 200 ms ----

class ContinuousSend {
public:
    static constexpr uint32_t kTickMs = 200;

    // replies: the send-data replies; sender sends the page's send-data frame with its row.
    ContinuousSend(RepeatWindow& window, RepeatReplySource& replies, CommandSender& sender)
        : m_window(window), m_replies(replies), m_sender(sender) {}

    ContinuousSendSettings& Settings() { return m_settings; }
    uint32_t Count() const { return m_settings.count; }
    uint32_t Successes() const { return m_settings.success; }
    // Good replies in percent of the frames sent; 0 before the first.
    uint32_t SuccessRate() const;
    bool IsGoingOn() const { return m_settings.fresh; }
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
    RepeatReplySource& m_replies;
    CommandSender& m_sender;
    ContinuousSendSettings m_settings;
    uint32_t m_tick = 0;  // ticks since the last step
};

// ---- Timed send: a frame text every interval, a number of times ----

// Where the timed send's frames go, and who hears of its end.
class TimedSendOutput {
public:
    virtual ~TimedSendOutput() = default;
    // Writes the frame's bytes with their row in the frame log.
    virtual void SendTimedFrame(const ByteString& frame) = 0;
    // The run ended by its count.
    virtual void OnTimedSendEnded() = 0;
};

class TimedSend {
public:
    TimedSend(RepeatWindow& window, TimedSendOutput& output) : m_window(window), m_output(output) {}

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
    TimedSendOutput& m_output;
    TimedSendSettings m_settings;
    ByteString m_frame;
    uint32_t m_done = 0;
    bool m_running = false;
};

// ---- Repeated search and repeated broadcast: one command again at a period ----

// The name of the period's edit in what a refused period says.
constexpr const char* kPeriodField = "超时时间";

// What a pass of the repeated search does to the window besides its period and its search.
class SearchPass {
public:
    virtual ~SearchPass() = default;
    // Empties the search log's rows.
    virtual void ClearLog() = 0;
    // The period's edit and the buttons that start searches.
    virtual void EnableControls(bool enable) = 0;
    // The search log and the routing file of the pass that ends.
    virtual void SaveFiles() = 0;
};

class RepeatedSearch {
public:
    static constexpr uint32_t kMaxSeconds = 0xFFFF;

    // The period is read from the page's edit IDC_REPEAT_PERIOD, in seconds; sender sends the
    // start-search command.
    RepeatedSearch(RepeatWindow& window, PageTexts& page, CommandSender& sender, SearchPass& pass)
        : m_window(window), m_page(page), m_sender(sender), m_pass(pass) {}

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
    PageTexts& m_page;
    CommandSender& m_sender;
    SearchPass& m_pass;
    uint32_t m_periodMs = 0;
    bool m_running = false;
};

class RepeatedBroadcast {
public:
    static constexpr uint32_t kMaxMs = 0x7FFFFFFF;

    // The period is read from the page's edit IDC_REPEAT_PERIOD, in milliseconds; sender sends
    // the broadcast command.
    RepeatedBroadcast(RepeatWindow& window, PageTexts& page, CommandSender& sender)
        : m_window(window), m_page(page), m_sender(sender) {}

    bool IsRunning() const { return m_running; }
    uint32_t PeriodMs() const { return m_periodMs; }
    // Sets the timer with the period read anew and broadcasts once. A bad period or a refused
    // broadcast shows its message once and leaves the repeat stopped.
    bool Start();
    void Stop();
    void Tick();

private:
    RepeatWindow& m_window;
    PageTexts& m_page;
    CommandSender& m_sender;
    uint32_t m_periodMs = 0;
    bool m_running = false;
};
