#include "dialogs/test_continuous_send_dlg.h"

#include <algorithm>
#include <string>

#include "dialogs/number_text.h"

CTestContinuousSendDlg::CTestContinuousSendDlg(TestContinuousSendSettings& settings)
    : Dialog(IDD_TEST_CONTINUOUS_SEND), m_settings(settings) {
    MapCommand(IDC_TEST_SEND_START, Notify::Clicked, [this] { OnStart(); });
}

bool CTestContinuousSendDlg::OnInitDialog() {
    SetDlgItemText(IDC_TEST_SEND_TOTAL, std::to_string(m_settings.total));
    SetDlgItemText(IDC_TEST_SEND_SUCCESS, std::to_string(m_settings.success));
    SetDlgItemText(IDC_TEST_SEND_INTERVAL, "1000");
    return true;
}

void CTestContinuousSendDlg::OnStart() {
    if (ValidateInterval()) {
        m_settings.success = 0;
        m_settings.total = 0;
        m_settings.armed = true;
    }
    EndDialog(kIdOk);
}

bool CTestContinuousSendDlg::ValidateInterval() {
    // Held to 32 bits, as a larger number saturates.
    const long long ms = std::min<long long>(LeadingWholeNumber(GetDlgItemText(IDC_TEST_SEND_INTERVAL)), kMaxMs);
    if (ms < kMinMs) {
        ShowMessageBox("最小间隔为300ms");
        return false;
    }
    m_settings.ticks = static_cast<uint32_t>(ms / 100 + (ms % 100 != 0 ? 1 : 0));
    return true;
}
