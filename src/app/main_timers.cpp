// The main window's timers.

#include "app/main_tester_dlg.h"
#include "res/resource_ids.h"

void CMainTesterDlg::OnTimer(int id) {
    switch (id) {
        case TIMER_WAIT_MODE_REFRESH:
            GetDlgItem(IDC_ROUND_SEND_DELAY).Enable(m_waitModeCombo.GetSelectedText() == "超时时间(ms)");
            KillTimer(TIMER_WAIT_MODE_REFRESH);
            break;
        case TIMER_VERSION_WAIT:
            m_link.EndVersionWait();
            KillTimer(TIMER_VERSION_WAIT);
            break;
        default:
            // Not built yet: the steps of timers 4-9 (continuous, repeated and test sends).
            break;
    }
}
