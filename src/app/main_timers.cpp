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
        case TIMER_PORT_TEST:
            // The network-port test runs on the test panel's own timer; this one only stops.
            KillTimer(TIMER_PORT_TEST);
            break;
        default:
            // Not built yet: the steps of timers 4-6, 8 and 9 (continuous, repeated and test sends).
            break;
    }
}
