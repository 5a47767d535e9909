#include "commands/TestDlg/panel_send_test.h"

#include <cctype>

#include "link/conversions.h"
#include "link/received_frame.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

uint32_t PanelSendTest::Rate() const {
    if (m_settings.total == 0) return 0;
    return static_cast<uint32_t>(uint64_t{m_settings.success} * 100 / m_settings.total);
}

void PanelSendTest::Begin() {
    m_window.StopTimer(TIMER_SEND_TEST_STEP);
    if (!m_settings.armed) return;
    m_replies.LowerArrived();
    m_replyDone = false;
    Start();
    m_panel.EnableControl(IDC_PANEL_CONTINUOUS_SEND, false);
}

void PanelSendTest::Start() {
    Step();
    m_active = true;
    m_tickCount = 0;
    ++m_run;
    m_window.StartTimer(TIMER_SEND_TEST_STEP, kTickMs);
}

void PanelSendTest::Step() {
    m_replies.Flush();
    ++m_settings.total;
    m_panel.SetControlText(IDC_PANEL_CONTINUOUS_SEND, StrFormat("第%u次发送", m_settings.total));
}

void PanelSendTest::Tick() {
    ++m_tickCount;
    if (m_tickCount < m_settings.ticks) {
        if (m_active) {
            ShowReply();
            m_replyDone = false;
            m_replies.LowerArrived();
        } else {
            m_panel.ShowResultText("停止连续抄读");
            ShowRate();
            m_window.StopTimer(TIMER_SEND_TEST_STEP);
        }
        return;
    }
    m_window.StopTimer(TIMER_SEND_TEST_STEP);
    m_panel.ShowResultText("超时");
    ShowRate();
    Start();
}

void PanelSendTest::ShowReply() {
    if (!m_replies.Arrived()) return;
    ReplyEntry reply;
    if (!m_replies.Pop(reply)) return;
    std::string text = "发送测试数据回复结果： \r\n";
    ParseReply(reply.frame, text);
    m_panel.ShowResultText(text);
    if (!m_replyDone) return;
    // The next step after a pause on a timer, not a sleep.
    m_window.StopTimer(TIMER_SEND_TEST_STEP);
    if (!m_settings.armed) return;
    const uint32_t run = m_run;
    m_panel.After(kPauseMs, [this, run] {
        if (m_settings.armed && m_run == run) Start();
    });
}

bool PanelSendTest::ParseReply(const ByteString& frame, std::string& text) {
    // A reply too short for its address is not read.
    const unsigned char* from = ReceivedFrame(frame).Cursor(6).Span(6);
    if (!from) return false;
    std::string address;
    BytesToHexText(address, ByteString(from, 6));
    const std::string expected = AsciiUpper(m_panel.LastAddressText());
    if (address != expected) return false;
    std::string reading = address;
    ReverseHexBytes12(reading);
    text += "发送测试数据成功\r\nMAC地址:  " + reading + "\r\n";
    m_replyDone = true;
    ++m_settings.success;
    ShowRate();
    m_panel.SetControlText(IDC_PANEL_SUCCESS_COUNT, std::to_string(m_settings.success));
    return true;
}

void PanelSendTest::ShowRate() { m_panel.SetControlText(IDC_PANEL_SUCCESS_RATE, std::to_string(Rate())); }

void PanelSendTest::Stop() {
    m_window.StopTimer(TIMER_SEND_TEST_STEP);
    m_active = false;
    m_settings.armed = false;
    ++m_run;
    m_panel.SetControlText(IDC_PANEL_CONTINUOUS_SEND, "连续发送数据");
    m_panel.EnableControl(IDC_PANEL_CONTINUOUS_SEND, true);
    m_panel.SetControlText(IDC_PANEL_SUCCESS_COUNT, std::to_string(m_settings.success));
}
