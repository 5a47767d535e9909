// The window's repeats.

#include "commands/repeats.h"

#include <utility>

#include "platform/text_format.h"
#include "res/resource_ids.h"

// ---- Continuous send ----

ContinuousSend::ContinuousSend(RepeatWindow& window, ArrivedFlag& replyArrived, std::function<void()> flush,
                               std::function<void()> send)
    : m_window(window), m_replyArrived(replyArrived), m_flush(std::move(flush)), m_send(std::move(send)) {}

void ContinuousSend::StartIfEnabled() {
    if (!m_settings.enabled) return;
    m_replyArrived = 0;
    Start();
}

void ContinuousSend::Start() {
    Step();
    m_goingOn = true;
    m_tick = 0;
    m_window.StartTimer(TIMER_CONTINUOUS_SEND, kTickMs);
}

void ContinuousSend::Step() {
    m_flush();
    m_send();
    ++m_count;
    m_window.SetControlText(IDC_CONTINUOUS_SEND_DATA, StrFormat("第%d次发送", static_cast<int>(m_count)));
}

void ContinuousSend::Tick() {
    // Compared signed, as the interval was set.
    ++m_tick;
    if (static_cast<int32_t>(m_tick) > static_cast<int32_t>(m_settings.ticks)) {
        m_window.StopTimer(TIMER_CONTINUOUS_SEND);
        Start();
    } else if (m_goingOn) {
        m_replyArrived = 0;
    } else {
        m_window.StopTimer(TIMER_CONTINUOUS_SEND);
    }
}

void ContinuousSend::Stop() {
    m_window.StopTimer(TIMER_CONTINUOUS_SEND);
    m_goingOn = false;
    m_settings.enabled = false;
    m_window.SetControlText(IDC_CONTINUOUS_SEND_DATA, "连续发送数据");
}

// ---- Timed send ----

void TimedSend::Start() {
    m_done = 0;
    if (m_running) return;
    m_window.StartTimer(TIMER_TIMED_SEND, m_settings.intervalMs);
    m_running = true;
}

void TimedSend::Stop() {
    if (!m_running) return;
    m_window.StopTimer(TIMER_TIMED_SEND);
    m_running = false;
}

void TimedSend::Tick() {
    // Not built yet: sends the frame text, counts it in m_done and stops after the count.
}

// ---- Repeated search ----

void RepeatedSearch::Start() {
    m_window.StartTimer(TIMER_CONTINUOUS_SEARCH, m_settings.periodMs);
    m_running = true;
}

void RepeatedSearch::Stop() {
    m_window.StopTimer(TIMER_CONTINUOUS_SEARCH);
    m_running = false;
}

void RepeatedSearch::Tick() {
    // Not built yet: saves the search log, writes the routing file and searches again.
}

// ---- Repeated broadcast ----

void RepeatedBroadcast::Start() {
    m_window.StartTimer(TIMER_CONTINUOUS_BROADCAST, m_settings.periodMs);
    m_running = true;
}

void RepeatedBroadcast::Stop() {
    m_window.StopTimer(TIMER_CONTINUOUS_BROADCAST);
    m_running = false;
}

void RepeatedBroadcast::Tick() {
    // Not built yet: broadcasts again with the period read anew.
}
