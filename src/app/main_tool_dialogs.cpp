// The main window's side of its tool dialogs and the test panel.

#include "app/main_tester_dlg.h"
#include "res/resource_ids.h"

void CMainTesterDlg::EnableControl(int id) { GetDlgItem(id).Enable(true); }

void CMainTesterDlg::ShowBroadcastReplyTest() { m_broadcastTestDlg.ShowWindow(true); }

void CMainTesterDlg::ClearBroadcastReplyList() { m_broadcastTestDlg.ClearList(); }

void CMainTesterDlg::VisitHistory(const std::function<void(uint32_t index, const MonitorRecord&)>& visit) {
    m_link.History().Visit([&visit](size_t i, const MonitorRecord& r) { visit(static_cast<uint32_t>(i), r); });
}

intptr_t CMainTesterDlg::FirstHistoryPosition() {
    return static_cast<intptr_t>(m_link.History().FirstPosition());
}

MainWindowPort::RecordView CMainTesterDlg::ViewHistoryRecord(intptr_t position, SystemTime& shown,
                                                             SystemTime& viewed) {
    // The recording threads only post while they hold the history, so waiting for it is short.
    MonitorRecord record;
    if (position < 0 || !m_link.History().MarkViewed(static_cast<size_t>(position), record))
        return RecordView::Missing;
    shown = record.shownTime;
    viewed = record.viewedTime;
    return RecordView::Found;
}

void CMainTesterDlg::ViewHistoryRecords(intptr_t first, intptr_t last) {
    if (last >= 0) m_link.History().MarkViewed(static_cast<size_t>(first < 0 ? 0 : first), static_cast<size_t>(last));
}

void CMainTesterDlg::OnShowSearchList() {
    m_deviceSearchDlg.ShowWindow(true);
    GetDlgItem(IDC_SHOW_SEARCH_LIST).Enable(false);
}
