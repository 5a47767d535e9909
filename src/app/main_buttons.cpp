// General buttons, keys and status texts of the main window.

#include "app/about_dlg.h"
#include "app/main_tester_dlg.h"
#include "commands/TestDlg/test_dlg.h"
#include "dialogs/frame_log.h"
#include "link/conversions.h"
#include "res/resource_ids.h"

void CMainTesterDlg::MapMessages() {
    MapCommand(IDC_FUNCTION_TREE, Notify::Click, [this] { OnTreeClick(); });
    MapCommand(IDC_RECEIVE_TABS, Notify::SelChange, [this] { m_receiveTabs.OnSelChange(); });
    MapCommand(IDC_TOGGLE_RECEIVE, Notify::Clicked, [this] { OnToggleReceive(); });
    MapCommand(IDC_SHOW_FRAME_MONITOR, Notify::Clicked, [this] { OnShowFrameMonitor(); });
    MapCommand(IDC_SHOW_SEARCH_LIST, Notify::Clicked, [this] { OnShowSearchList(); });
    MapCommand(IDC_CLEAR_RECORDS, Notify::Clicked, [this] { OnClearRecords(); });
    MapCommand(IDM_CLEAR_FRAME_LISTS, Notify::Clicked, [this] { OnClearMessages(); });
    MapCommand(IDC_BUILD_FRAME, Notify::Clicked, [this] { OnBuildFrame(); });
    MapCommand(IDC_PARSE_FRAME, Notify::Clicked, [this] { OnParseFrame(); });
    MapCommand(IDC_IMPORT_RECORDS, Notify::Clicked, [this] { OnImportRecords(); });
    MapCommand(IDM_SERIAL_SETTINGS, Notify::Clicked, [this] { OnSerialSettings(); });
    MapCommand(IDC_SHOW_ALL_RECEIVED, Notify::Clicked,
               [this] { m_link.SetShowAllReceived(Button(GetDlgItem(IDC_SHOW_ALL_RECEIVED)).GetCheck() != 0); });
    MapFrameLogHandlers();
    m_addressListCommands.MapButtons();
    for (int id : m_addressJobs.Buttons()) MapCommand(id, Notify::Clicked, [this, id] { m_addressJobs.OnButton(id); });
    MapRecordFileHandlers();
    MapCommandSenders();
    MapMeterPageHandlers();
    MapNetworkChannel();
    m_imageCompare.MapButtons();
}

void CMainTesterDlg::SetPortStatusText(const std::string& text) {
    if (!IsUiThread()) {
        PostTask([this, text] { SetPortStatusText(text); });
        return;
    }
    SetDlgItemText(IDC_PORT_STATUS, text);
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
    SetDlgItemText(IDC_VERSION_TEXT, text);
}

void CMainTesterDlg::OnToggleReceive() {
    if (GetDlgItemText(IDC_TOGGLE_RECEIVE) == "关闭接收") {
        m_link.History().SetRecordReceived(false);
        SetDlgItemText(IDC_TOGGLE_RECEIVE, "打开接收");
    } else {
        m_link.History().SetRecordReceived(true);
        SetDlgItemText(IDC_TOGGLE_RECEIVE, "关闭接收");
    }
}

void CMainTesterDlg::OnShowFrameMonitor() {
    m_frameMonitorDlg.ShowWindow(true);
    GetDlgItem(IDC_SHOW_FRAME_MONITOR).Enable(false);
}

void CMainTesterDlg::OnClearRecords() { ClearRecords(); }

// The menu's "清除报文": the frame log lists and the test panel's log, not the history.
void CMainTesterDlg::OnClearMessages() {
    if (ShowMessageBox("确认要清除LIST中的数据吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    m_frameLogs.ClearAll();
    m_testPanel->ClearLogList();
}

void CMainTesterDlg::ClearRecords() {
    if (ShowMessageBox("确认要清除报文吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    const bool restartMonitor = m_link.IsMonitorThreadRunning();
    if (restartMonitor) m_link.StopMonitorThread();
    m_macFramePage.m_list.DeleteAllItems();
    m_netFramePage.m_list.DeleteAllItems();
    m_appFramePage.m_list.DeleteAllItems();
    // The monitor's list is a model: emptying it at once keeps the window as alive as
    // deleting row by row with pumping would.
    ListView(m_frameMonitorDlg.GetDlgItem(IDC_MONITOR_LIST)).DeleteAllItems();
    m_frameMonitorDlg.SetDlgItemText(IDC_MONITOR_ANALYSIS_PANE, "");
    m_link.History().Restart([this] { m_frameMonitorDlg.m_firstFrame = 1; });
    m_link.ClearQueues();
    m_addressJobs.RequestStop(IDC_VERSION_TEST);
    if (restartMonitor) m_link.StartMonitorThread();
}

// "组织报文" does nothing, by design.
void CMainTesterDlg::OnBuildFrame() {}

void CMainTesterDlg::OnParseFrame() {
    if (!m_parseFrameDlg.IsCreated()) m_parseFrameDlg.Create(this);
    m_parseFrameDlg.ShowWindow(true);
    GetDlgItem(IDC_PARSE_FRAME).Enable(false);
}

void CMainTesterDlg::OnImportRecords() {
    ++m_importRun;  // the end of an import still running is not this one's
    StopImportThread();
    StartImportThread();
}

void CMainTesterDlg::StopImportThread() { m_link.Workers().Stop(m_import); }

// The monitor thread goes on meanwhile: frames that arrive are recorded as they come, between the
// imported records, and none waits in its bounded queue for the import's end.
int CMainTesterDlg::StartImportThread() {
    const uint32_t run = ++m_importRun;
    const int started = m_link.Workers().Start(m_import, WorkerSet::OneShot(m_import, [this, run] {
                                                   ImportWorker();
                                                   PostTask([this, run] { OnImportEnded(run); });
                                               }),
                                               "启动导入线程失败");
    if (started == 0) OnImportEnded(run);
    return started;
}

void CMainTesterDlg::OnImportEnded(uint32_t run) {
    if (m_closing || run != m_importRun) return;
    StopImportThread();
}

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
