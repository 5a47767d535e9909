// The command buttons of the main window's pages.

#include <utility>

#include "app/main_tester_dlg.h"

void CMainTesterDlg::MapCommandSenders() {
    const std::pair<int, void (CMainTesterDlg::*)()> buttons[] = {
        {1601, &CMainTesterDlg::OnSendData},
        {1500, &CMainTesterDlg::OnContinuousSendData},
        {1553, &CMainTesterDlg::OnExecStateReport},
        {1607, &CMainTesterDlg::OnStartSearch},
        {1816, &CMainTesterDlg::OnStopSearch},
        {1565, &CMainTesterDlg::OnDeviceReport},
        {1564, &CMainTesterDlg::OnAddReportDevice},
        {1616, &CMainTesterDlg::OnStartConnection},
        {1622, &CMainTesterDlg::OnDeleteConnection},
        {1608, &CMainTesterDlg::OnSetUserNetPassword},
        {1609, &CMainTesterDlg::OnRemoteUserPasswordSetting},
        {1591, &CMainTesterDlg::OnSetNetParams},
    };
    for (const auto& b : buttons) {
        const auto handler = b.second;
        MapCommand(b.first, Notify::Clicked, [this, handler] { (this->*handler)(); });
    }
}
