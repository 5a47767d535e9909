// The frame log lists of the main window: row writers and selection handlers.

#include "app/main_tester_dlg.h"
#include "dialogs/frame_log.h"
#include "link/conversions.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

FrameLogRow MakeRow(std::string hex) {
    FrameLogRow row;
    row.stamp = GetLocalTime();
    row.hasStamp = true;
    SetRowHex(row, std::move(hex));
    return row;
}

}  // namespace

void CMainTesterDlg::WriteRow(ListView list, uint32_t& counter, FrameLogRow row, bool sharedLock) {
    if (sharedLock) {
        // The writers of the three lists that share one counter.
        LockGuard lock(m_listLock);
        AppendFrameLogRow(*this, list, m_autoUpdateCheck, std::move(row), &counter);
    } else {
        AppendFrameLogRow(*this, list, m_autoUpdateCheck, std::move(row), &counter);
    }
}

void CMainTesterDlg::AddFrameLogRow(std::string frameHex) { WriteRow(m_frameLogList, m_frameLogRow, MakeRow(std::move(frameHex)), true); }

void CMainTesterDlg::AddMeterReadRequestRow(std::string frameHex) {
    WriteRow(m_meterReadList, m_frameLogRow, MakeRow(std::move(frameHex)), true);
}

void CMainTesterDlg::AddMeterReadResultRow(const MeterReplyEntry* entry) {
    if (!entry) return;
    FrameLogRow row;
    row.stamp = GetLocalTime();
    row.hasStamp = true;
    if (entry->valid == 1) {
        row.frame = entry->frame;
        row.hasFrame = true;
        row.extra = {"成功", StrFormat("%.2f", entry->elapsedMs / 1000.0)};
    } else {
        BytesToHexText(row.spacedHex, entry->frame, 0);
        row.spacedHex += std::string(48, ' ');
        row.extra = {"超时", ""};
    }
    WriteRow(m_meterReadList, m_frameLogRow, std::move(row), true);
}

void CMainTesterDlg::AddPassThroughRow(std::string frameHex, unsigned char received) {
    const size_t bytes = frameHex.size() / 2;
    FrameLogRow row = MakeRow(std::move(frameHex));
    row.extra = {received ? "R" : "T", StrFormat("%3d", static_cast<int>(bytes))};
    WriteRow(m_passThroughList, m_frameLogRow, std::move(row), true);
}

void CMainTesterDlg::AddSearchLogRow(std::string frameHex) {
    WriteRow(m_searchLogList, m_searchLogRow, MakeRow(std::move(frameHex)), false);
}

void CMainTesterDlg::AddDataLogRow(std::string frameHex) {
    WriteRow(m_dataLogList, m_dataLogRow, MakeRow(std::move(frameHex)), false);
}

void CMainTesterDlg::AddDataReplyLogRow(std::string frameHex) {
    WriteRow(m_dataReplyLogList, m_dataReplyLogRow, MakeRow(std::move(frameHex)), false);
}

void CMainTesterDlg::AddPasswordLogRow(std::string frameHex) {
    WriteRow(m_passwordLogList, m_passwordLogRow, MakeRow(std::move(frameHex)), false);
}

void CMainTesterDlg::AddPasswordReplyLogRow(std::string frameHex) {
    WriteRow(m_passwordReplyLogList, m_passwordReplyLogRow, MakeRow(std::move(frameHex)), false);
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

void CMainTesterDlg::MapFrameLogHandlers() {
    const std::pair<int, ListView*> analysed[] = {
        {IDC_FRAME_LOG, &m_frameLogList},       {IDC_SEARCH_LOG, &m_searchLogList},
        {IDC_DATA_LOG, &m_dataLogList},         {IDC_DATA_REPLY_LOG, &m_dataReplyLogList},
        {IDC_PASSWORD_LOG, &m_passwordLogList}, {IDC_PASSWORD_REPLY_LOG, &m_passwordReplyLogList}};
    for (const auto& l : analysed) {
        ListView* list = l.second;
        MapCommand(l.first, Notify::ItemChanged, [this, list] { ShowRowAnalysis(*list, "解析信息:"); });
        MapCommand(l.first, Notify::DblClick, [this, list] { ShowRowDetail(*list); });
    }
    MapCommand(IDC_FRAME_LOG, Notify::Click, [this] { ShowRowAnalysis(m_frameLogList, "解析信息："); });
    MapCommand(IDC_METER_READ_LIST, Notify::DblClick, [this] { ShowRowDetail(m_meterReadList); });
    MapCommand(IDC_PASS_THROUGH_LIST, Notify::DblClick, [this] { ShowRowDetail(m_passThroughList); });
}
