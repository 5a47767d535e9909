#include "dialogs/continuous_send_dlg.h"

#include <string>

#include "dialogs/number_text.h"

CContinuousSendDlg::CContinuousSendDlg(ContinuousSendSettings& settings)
    : Dialog(IDD_CONTINUOUS_SEND), m_settings(settings) {
    MapCommand(IDC_CONT_SEND_ENABLE, Notify::Clicked, [this] { OnEnableCheck(); });
    MapCommand(IDC_CONT_SEND_RESTART_COUNT, Notify::Clicked, [this] { OnRestartCountCheck(); });
}

bool CContinuousSendDlg::OnInitDialog() {
    Button(GetDlgItem(IDC_CONT_SEND_ENABLE)).SetCheck(m_settings.enabled ? 1 : 0);
    GetDlgItem(IDC_CONT_SEND_RESTART_COUNT).Enable(!m_settings.fresh);
    SetDlgItemText(IDC_CONT_SEND_INTERVAL, std::to_string(m_settings.intervalSeconds));
    SetDlgItemText(IDC_CONT_SEND_TOTAL, std::to_string(m_settings.count));
    GetDlgItem(IDC_CONT_SEND_TOTAL).Enable(false);
    return true;
}

void CContinuousSendDlg::OnEnableCheck() {
    m_settings.enabled = Button(GetDlgItem(IDC_CONT_SEND_ENABLE)).GetCheck() == 1;
}

void CContinuousSendDlg::OnRestartCountCheck() {
    if (Button(GetDlgItem(IDC_CONT_SEND_RESTART_COUNT)).GetCheck() != 1) return;
    m_settings.count = 0;
    m_settings.success = 0;
}

void CContinuousSendDlg::OnOK() {
    if (m_settings.enabled && !StoreInterval()) return;
    EndDialog(kIdOk);
}

bool CContinuousSendDlg::StoreInterval() {
    // A huge number saturates, so it stays huge.
    const long long seconds = LeadingWholeNumber(GetDlgItemText(IDC_CONT_SEND_INTERVAL));
    if (seconds < 0 || seconds > kMaxSeconds) {
        ShowMessageBox(kBadContIntervalText);
        return false;
    }
    m_settings.intervalSeconds = static_cast<uint32_t>(seconds);
    m_settings.ticks = m_settings.intervalSeconds * 1000 / 200;
    return true;
}
