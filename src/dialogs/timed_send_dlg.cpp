#include "dialogs/timed_send_dlg.h"

#include "dialogs/number_text.h"
#include "link/conversions.h"

namespace {

constexpr const char* kStartText = "开始";
constexpr const char* kStopText = "停止";

}  // namespace

bool ReadFrameText(const std::string& text, ByteString& frame) {
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) return false;
        digits += c;
    }
    if (digits.empty() || digits.size() % 2 != 0 || digits.size() > 2 * kMaxHexTextBytes) return false;
    HexTextToBytes(digits, frame, 0);
    return true;
}

CTimedSendDlg::CTimedSendDlg(TimedSendPort& window) : Dialog(IDD_TIMED_SEND), m_window(window) {
    MapCommand(IDC_TIMED_START_STOP, Notify::Clicked, [this] { OnStartStop(); });
}

bool CTimedSendDlg::OnInitDialog() {
    Edit(GetDlgItem(IDC_TIMED_CHANNEL)).SetLimitText(2);
    Edit(GetDlgItem(IDC_TIMED_INTERVAL)).SetLimitText(10);
    Edit(GetDlgItem(IDC_TIMED_COUNT)).SetLimitText(10);
    const TimedSendSettings& s = m_window.TimedSettings();
    SetDlgItemText(IDC_TIMED_INTERVAL, std::to_string(s.intervalMs));
    SetDlgItemText(IDC_TIMED_COUNT, std::to_string(s.count));
    SetDlgItemText(IDC_TIMED_FRAME_TEXT, s.frameText);
    SetDlgItemText(IDC_TIMED_START_STOP, m_window.IsTimedSendRunning() ? kStopText : kStartText);
    return true;
}

void CTimedSendDlg::OnTimedSendEnded() {
    if (IsCreated()) SetDlgItemText(IDC_TIMED_START_STOP, kStartText);
}

bool CTimedSendDlg::ReadSettings(TimedSendSettings& settings) {
    if (!ReadPositiveNumber(GetDlgItemText(IDC_TIMED_INTERVAL), kMaxValue, settings.intervalMs)) {
        ShowMessageBox(NumberRangeText("时间间隔", 1, kMaxValue));
        return false;
    }
    if (!ReadPositiveNumber(GetDlgItemText(IDC_TIMED_COUNT), kMaxValue, settings.count)) {
        ShowMessageBox(NumberRangeText("发送次数", 1, kMaxValue));
        return false;
    }
    settings.frameText = GetDlgItemText(IDC_TIMED_FRAME_TEXT);
    ByteString frame;
    if (!ReadFrameText(settings.frameText, frame)) {
        ShowMessageBox(settings.frameText.find_first_not_of(" \t\r\n") == std::string::npos ? "MAC报文不能为空"
                                                                                           : "MAC报文格式错误");
        return false;
    }
    return true;
}

void CTimedSendDlg::OnStartStop() {
    if (GetDlgItemText(IDC_TIMED_START_STOP) != kStartText) {
        SetDlgItemText(IDC_TIMED_START_STOP, kStartText);
        m_window.StopTimedSend();
        return;
    }
    TimedSendSettings settings;
    if (!ReadSettings(settings)) return;
    m_window.TimedSettings() = settings;
    if (m_window.StartTimedSend()) SetDlgItemText(IDC_TIMED_START_STOP, kStopText);
}

void CTimedSendDlg::Release() {
    m_window.OnTimedSendClosed();
    DestroyWindow();
}
