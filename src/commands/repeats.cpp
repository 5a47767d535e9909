// The window's repeats.

#include "commands/repeats.h"

#include <utility>

#include "dialogs/number_text.h"
#include "link/received_frame.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

// ---- Continuous send ----

uint32_t ContinuousSend::SuccessRate() const {
    if (m_settings.count == 0) return 0;
    return static_cast<uint32_t>(uint64_t{m_settings.success} * 100 / m_settings.count);
}

void ContinuousSend::StartIfEnabled() {
    if (!m_settings.enabled) return;
    m_replies.LowerArrived();
    Start();
}

void ContinuousSend::Start() {
    if (!Step()) return;
    m_settings.fresh = true;
    m_tick = 0;
    m_window.StartTimer(TIMER_CONTINUOUS_SEND, kTickMs);
}

bool ContinuousSend::Step() {
    m_replies.Flush();
    if (!m_sender.OnCommandButton(IDC_SEND_DATA)) {
        Stop();
        return false;
    }
    ++m_settings.count;
    m_window.SetControlText(IDC_CONTINUOUS_SEND_DATA, StrFormat("第%u次发送", m_settings.count));
    return true;
}

void ContinuousSend::JudgeReply() {
    // Once interrupted, replies are left to whoever looks next.
    if (!m_settings.fresh || !m_replies.Arrived()) return;
    m_replies.LowerArrived();
    ReplyEntry entry;
    if (!m_replies.Pop(entry)) return;
    const ByteString& reply = entry.frame;
    if (reply.size() < 5) return;
    // An answer from the module, normal, with no data.
    const ReceivedFrame answer(reply);
    if (answer.IsNormalAnswer() && answer.DeclaredLength() == 0) ++m_settings.success;
}

void ContinuousSend::Tick() {
    JudgeReply();
    // Compared signed, as the interval was set.
    ++m_tick;
    if (static_cast<int32_t>(m_tick) > static_cast<int32_t>(m_settings.ticks)) {
        m_window.StopTimer(TIMER_CONTINUOUS_SEND);
        Start();
    } else if (m_settings.fresh) {
        m_replies.LowerArrived();
    } else {
        m_window.StopTimer(TIMER_CONTINUOUS_SEND);
    }
}

void ContinuousSend::Stop() {
    m_window.StopTimer(TIMER_CONTINUOUS_SEND);
    m_settings.fresh = false;
    m_settings.enabled = false;
    m_window.SetControlText(IDC_CONTINUOUS_SEND_DATA, "连续发送数据");
}

// ---- Timed send ----

bool TimedSend::Start() {
    m_done = 0;
    if (m_running) return true;
    ByteString frame;
    if (m_settings.intervalMs == 0 || m_settings.count == 0 || !ReadFrameText(m_settings.frameText, frame))
        return false;
    m_frame = std::move(frame);
    m_window.StartTimer(TIMER_TIMED_SEND, m_settings.intervalMs);
    m_running = true;
    return true;
}

void TimedSend::Stop() {
    if (!m_running) return;
    m_window.StopTimer(TIMER_TIMED_SEND);
    m_running = false;
}

void TimedSend::Tick() {
    if (!m_running) return;
    m_output.SendTimedFrame(m_frame);
    if (++m_done < m_settings.count) return;
    Stop();
    m_output.OnTimedSendEnded();
}

// ---- Repeated search ----

bool RepeatedSearch::Start() {
    uint32_t seconds = 0;
    if (!ReadPositiveNumber(m_page.ControlText(IDC_REPEAT_PERIOD), kMaxSeconds, seconds)) {
        Stop();
        ShowMessageBox(NumberRangeText(kPeriodField, 1, kMaxSeconds));
        return false;
    }
    m_periodMs = seconds * 1000;
    m_pass.ClearLog();
    m_pass.EnableControls(false);
    m_window.StartTimer(TIMER_CONTINUOUS_SEARCH, m_periodMs);
    m_running = true;
    if (m_sender.OnCommandButton(IDC_START_SEARCH)) return true;
    Stop();
    return false;
}

void RepeatedSearch::Stop() {
    m_window.StopTimer(TIMER_CONTINUOUS_SEARCH);
    m_running = false;
    m_pass.EnableControls(true);
}

void RepeatedSearch::Tick() {
    m_window.StopTimer(TIMER_CONTINUOUS_SEARCH);
    if (!m_running) return;
    // The log is saved before the next pass clears it.
    m_pass.SaveFiles();
    Start();
}

// ---- Repeated broadcast ----

bool RepeatedBroadcast::Start() {
    uint32_t period = 0;
    if (!ReadPositiveNumber(m_page.ControlText(IDC_REPEAT_PERIOD), kMaxMs, period)) {
        Stop();
        ShowMessageBox(NumberRangeText(kPeriodField, 1, kMaxMs));
        return false;
    }
    m_periodMs = period;
    m_window.StartTimer(TIMER_CONTINUOUS_BROADCAST, m_periodMs);
    m_running = true;
    if (m_sender.OnCommandButton(IDC_BROADCAST)) return true;
    Stop();
    return false;
}

void RepeatedBroadcast::Stop() {
    m_window.StopTimer(TIMER_CONTINUOUS_BROADCAST);
    m_running = false;
}

void RepeatedBroadcast::Tick() {
    m_window.StopTimer(TIMER_CONTINUOUS_BROADCAST);
    if (m_running) Start();
}
