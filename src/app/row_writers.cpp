// The frame log lists of the main window: their lists by key and their selection handlers.

#include "app/main_tester_dlg.h"
#include "dialogs/frame_log.h"
#include "res/resource_ids.h"

namespace {

// The frame logs' lists.
constexpr std::pair<LogList, int> kLogLists[] = {
    {LogList::FrameLog, IDC_FRAME_LOG},
    {LogList::SearchLog, IDC_SEARCH_LOG},
    {LogList::DataLog, IDC_DATA_LOG},
    {LogList::DataReplyLog, IDC_DATA_REPLY_LOG},
    {LogList::PasswordLog, IDC_PASSWORD_LOG},
    {LogList::PasswordReplyLog, IDC_PASSWORD_REPLY_LOG},
    {LogList::PassThrough, IDC_PASS_THROUGH_LIST},
    {LogList::MeterRead, IDC_METER_READ_LIST},
};

}  // namespace

void CMainTesterDlg::AttachFrameLogs() {
    for (const auto& l : kLogLists)
        m_frameLogs[l.first].Attach(*this, ListView(GetDlgItem(l.second)), m_autoUpdateCheck);
}

void CMainTesterDlg::ShowAnalysisText(const std::string& text) { m_analysisEdit.SetText(text + "\r\n"); }

void CMainTesterDlg::ShowRowAnalysis(ListView list, const char* header) {
    const std::vector<int> selected = list.GetSelectedRows();
    if (selected.empty()) return;
    ShowAnalysisText(ExplainHexText(list.GetItemText(selected.front(), 2), header, *this));
}

void CMainTesterDlg::ShowRowDetail(ListView list) {
    const std::vector<int> selected = list.GetSelectedRows();
    if (selected.empty()) return;
    m_frameDetailDlg.ShowWindow(true);
    m_frameDetailDlg.SetText(list.GetItemText(selected.front(), 2));
}

void CMainTesterDlg::ShowDetailText(const std::string& text) {
    m_frameDetailDlg.ShowWindow(true);
    m_frameDetailDlg.SetText(text);
}

void CMainTesterDlg::PostDataFrameRow(const std::string& text) {
    m_smartHomePage.AddFrameRow(m_dataFrameSource, m_dataFrameDestination, text);
}

void CMainTesterDlg::MapFrameLogHandlers() {
    // Every log shows a row's frame in the detail viewer; all but the meter-reading and
    // pass-through lists explain the selected row.
    for (const auto& l : kLogLists) {
        FrameLog* log = &m_frameLogs[l.first];
        MapCommand(l.second, Notify::DblClick, [this, log] { ShowRowDetail(log->List()); });
        if (l.first == LogList::PassThrough || l.first == LogList::MeterRead) continue;
        MapCommand(l.second, Notify::ItemChanged, [this, log] { ShowRowAnalysis(log->List(), "解析信息:"); });
    }
    MapCommand(IDC_FRAME_LOG, Notify::Click, [this] { ShowRowAnalysis(m_frameLogList, "解析信息："); });
}
