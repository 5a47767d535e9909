// General buttons, keys and status texts of the main window.

#include "app/about_dlg.h"
#include "app/main_tester_dlg.h"
#include "commands/TestDlg/test_dlg.h"
#include "link/conversions.h"

void CMainTesterDlg::MapMessages() {
    MapCommand(1265, Notify::Click, [this] { OnTreeClick(); });
    MapCommand(1047, Notify::SelChange, [this] { m_receiveTabs.OnSelChange(); });
    MapCommand(1001, Notify::Clicked, [this] { OnToggleReceive(); });
    MapCommand(1021, Notify::Clicked, [this] { OnShowFrameMonitor(); });
    MapCommand(1834, Notify::Clicked, [this] { OnShowSearchList(); });
    MapCommand(1232, Notify::Clicked, [this] { OnClearRecords(); });
    MapCommand(1033, Notify::Clicked, [this] { OnBuildFrame(); });
    MapCommand(1034, Notify::Clicked, [this] { OnParseFrame(); });
    MapCommand(1046, Notify::Clicked, [this] { OnTimedSend(); });
    MapCommand(1044, Notify::Clicked, [this] { OnImportRecords(); });
    MapCommand(3771, Notify::Clicked, [this] { OnSerialSettings(); });
    MapCommand(1402, Notify::Clicked, [this] { m_link.SetShowAllReceived(Button(GetDlgItem(1402)).GetCheck() != 0); });
    MapFrameLogHandlers();
    MapCommandSenders();
    MapNetworkChannel();
}

void CMainTesterDlg::SetPortStatusText(const std::string& text) {
    if (!IsUiThread()) {
        PostTask([this, text] { SetPortStatusText(text); });
        return;
    }
    SetDlgItemText(1227, text);
}

void CMainTesterDlg::SetVersionText(std::string text) {
    if (!IsUiThread()) {
        PostTask([this, text] { SetVersionText(text); });
        return;
    }
    if (text.empty()) {
        SetTimer(TIMER_VERSION_WAIT, 100);
        return;
    }
    SetDlgItemText(3042, text);
}

int CMainTesterDlg::ReadHexBytes(int controlId, ByteString& out) {
    HexTextToBytes(GetDlgItemText(controlId), out, 0);
    return 1;
}

void CMainTesterDlg::OnToggleReceive() {
    if (GetDlgItemText(1001) == "关闭接收") {
        m_link.History().SetRecordReceived(false);
        SetDlgItemText(1001, "打开接收");
    } else {
        m_link.History().SetRecordReceived(true);
        SetDlgItemText(1001, "关闭接收");
    }
}

void CMainTesterDlg::OnShowFrameMonitor() {
    m_frameMonitorDlg.ShowWindow(true);
    GetDlgItem(1021).Enable(false);
}

void CMainTesterDlg::OnClearRecords() { ClearRecords(); }

void CMainTesterDlg::ClearRecords() {
    if (ShowMessageBox("确认要清除报文吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    const bool restartMonitor = m_link.IsMonitorThreadRunning();
    if (restartMonitor) m_link.StopMonitorThread();
    m_macFramePage.m_list.DeleteAllItems();
    m_netFramePage.m_list.DeleteAllItems();
    m_appFramePage.m_list.DeleteAllItems();
    // The monitor's list is a model: emptying it at once keeps the window as alive as
    // deleting row by row with pumping would.
    ListView(m_frameMonitorDlg.GetDlgItem(1006)).DeleteAllItems();
    m_frameMonitorDlg.SetDlgItemText(1007, "");
    m_link.History().Restart([this] { m_frameMonitorDlg.m_firstFrame = 1; });
    m_versionTest.RequestStop();
    if (restartMonitor) m_link.StartMonitorThread();
}

void CMainTesterDlg::OnBuildFrame() {}

void CMainTesterDlg::OnParseFrame() {
    if (!m_parseFrameDlg.IsCreated()) m_parseFrameDlg.Create(this);
    m_parseFrameDlg.ShowWindow(true);
    GetDlgItem(1034).Enable(false);
}

void CMainTesterDlg::OnTimedSend() {
    if (!m_timedSendDlg.IsCreated()) m_timedSendDlg.Create(this);
    m_timedSendDlg.ShowWindow(true);
    GetDlgItem(1046).Enable(false);
}

void CMainTesterDlg::OnImportRecords() {
    StopImportThread();
    StartImportThread();
}

void CMainTesterDlg::StopImportThread() { m_link.Workers().Stop(m_import); }

int CMainTesterDlg::StartImportThread() {
    return m_link.Workers().Start(m_import, WorkerSet::OneShot(m_import, [this] { ImportWorker(); }),
                                  "启动导入线程失败");
}

void CMainTesterDlg::ImportWorker() {}

bool CMainTesterDlg::PreTranslateKey(Key key) {
    if (key == Key::Enter || key == Key::Escape) return true;
    if (key == Key::Shift) FillCheckRange();
    return false;
}

void CMainTesterDlg::FillCheckRange() {
    int first = -1;
    int second = -1;
    const int rows = m_addressList.GetItemCount();
    for (int i = 0; i < rows; ++i) {
        if (!m_addressList.GetCheck(i)) continue;
        if (first < 0) {
            first = i;
        } else {
            second = i;
            break;
        }
    }
    if (second < 0) return;
    for (int i = first + 1; i < second; ++i) m_addressList.SetCheck(i, true);
}

void CMainTesterDlg::OnSysCommand(int id) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal(this);
    }
}
