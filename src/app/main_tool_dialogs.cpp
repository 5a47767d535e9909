// The main window's side of its tool dialogs and the test panel.

#include "app/main_tester_dlg.h"

void CMainTesterDlg::EnableControl(int id) { GetDlgItem(id).Enable(true); }

void CMainTesterDlg::VisitHistory(const std::function<void(uint32_t index, const MonitorRecord&)>& visit) {
    LockGuard history(m_historyLock);
    LockGuard monitor(m_monitorLock);
    for (size_t i = 0; i < m_frameHistory.size(); ++i) visit(static_cast<uint32_t>(i), m_frameHistory[i]);
}

MainWindowPort::RecordView CMainTesterDlg::ViewHistoryRecord(intptr_t position, SystemTime& shown,
                                                             SystemTime& viewed) {
    if (!m_historyLock.TryLock()) return RecordView::Busy;
    RecordView view = RecordView::Missing;
    if (position >= 0 && static_cast<size_t>(position) < m_frameHistory.size()) {
        MonitorRecord& record = m_frameHistory[static_cast<size_t>(position)];
        if (record.notViewed != 0) {
            record.viewedTime = GetLocalTime();
            record.notViewed = 0;
        }
        shown = record.shownTime;
        viewed = record.viewedTime;
        view = RecordView::Found;
    }
    m_historyLock.Unlock();
    return view;
}

void CMainTesterDlg::OnShowSearchList() {
    m_deviceSearchDlg.ShowWindow(true);
    GetDlgItem(1834).Enable(false);
}
