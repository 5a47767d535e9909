// The main window's timers.

#include "app/main_tester_dlg.h"
#include "commands/window_repeats.h"
#include "res/resource_ids.h"

void CMainTesterDlg::OnTimer(int id) {
    switch (id) {
        case TIMER_WAIT_MODE_REFRESH:
            GetDlgItem(IDC_ROUND_SEND_DELAY).Enable(m_waitModeCombo.GetSelectedText() == kTimeoutModeText);
            KillTimer(TIMER_WAIT_MODE_REFRESH);
            break;
        case TIMER_DEBUGGER_CLOCK:
            KillTimer(TIMER_DEBUGGER_CLOCK);
            ReportClockReply();
            break;
        case TIMER_VERSION_WAIT:
            m_link.EndVersionWait();
            KillTimer(TIMER_VERSION_WAIT);
            break;
        case TIMER_PORT_TEST:
            // The network-port test runs on the test panel's own timer; this one only stops.
            KillTimer(TIMER_PORT_TEST);
            break;
        case TIMER_PASS_THROUGH_SEND:
            // Nothing starts it; while it runs every tick is a raw send.
            OnMeterSend();
            break;
        case TIMER_CONTINUOUS_SEND:
        case TIMER_SEND_TEST_STEP:
        case TIMER_CONTINUOUS_SEARCH:
        case TIMER_CONTINUOUS_BROADCAST:
        case TIMER_TIMED_SEND:
            m_repeats->Tick(id);
            break;
        default:
            // Timers 2 and 3 are not used.
            break;
    }
}
