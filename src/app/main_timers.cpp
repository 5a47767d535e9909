// The main window's timers.

#include "app/main_tester_dlg.h"

void CMainTesterDlg::OnTimer(int id) {
    switch (id) {
        case TIMER_WAIT_MODE_REFRESH:
            GetDlgItem(3015).Enable(m_waitModeCombo.GetSelectedText() == "超时时间(ms)");
            KillTimer(TIMER_WAIT_MODE_REFRESH);
            break;
        case TIMER_VERSION_WAIT:
            m_link.EndVersionWait();
            KillTimer(TIMER_VERSION_WAIT);
            break;
        default:
            break;
    }
}
