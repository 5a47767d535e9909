#include "commands/TestDlg/test_dlg.h"

#include "commands/combo_mappers.h"
#include "commands/command_frame.h"
#include "dialogs/frame_log.h"
#include "link/conversions.h"
#include "res/resource_ids.h"

bool CTestDlg::OnInitDialog() {
    m_directionCombo = ComboBox(GetDlgItem(IDC_PANEL_DIRECTION_COMBO));
    m_initiatorCombo = ComboBox(GetDlgItem(IDC_PANEL_INITIATOR_COMBO));
    m_replyStatusCombo = ComboBox(GetDlgItem(IDC_PANEL_REPLY_STATUS_COMBO));
    m_channelTypeCombo = ComboBox(GetDlgItem(IDC_PANEL_CHANNEL_TYPE_COMBO));
    m_logList = ListView(GetDlgItem(IDC_PANEL_LOG_LIST));
    m_logRow = 0;
    MapCommand(IDC_PANEL_LOG_LIST, Notify::ItemChanged, [this] { OnItemchangedLogList(); });
    MapCommand(IDC_PANEL_LOG_LIST, Notify::DblClick, [this] { OnDblclkLogList(); });
    InitComboBoxes();
    InitLogColumns();
    Button(GetDlgItem(IDC_PANEL_AUTO_UPDATE)).SetCheck(1);
    return true;
}

void CTestDlg::InitComboBoxes() {
    AddChoices(m_directionCombo, kDirectionNames);
    m_directionCombo.SetCurSel(m_directionCombo.GetCount() - 1);
    AddChoices(m_replyStatusCombo, kReplyStatusNames);
    m_replyStatusCombo.SetCurSel(m_replyStatusCombo.GetCount() - 1);
    AddChoices(m_initiatorCombo, kInitiatorNames);
    m_initiatorCombo.SetCurSel(m_replyStatusCombo.GetCount() - 1);
    AddChoices(m_channelTypeCombo, kChannelTypeNames);
    m_channelTypeCombo.SetCurSel(1);
}

void CTestDlg::InitLogColumns() {
    m_logList.InsertColumn(0, "时间", 150, ListView::kCenter);
    m_logList.InsertColumn(1, "序号", 50, ListView::kCenter);
    m_logList.InsertColumn(2, "报文显示", 1000, ListView::kLeft);
    m_logList.SetColumnAlign(0, ListView::kRight);
}

void CTestDlg::ShowGroup(int pageCode) { m_group = pageCode; }

int CTestDlg::FillControlFields(ModuleFrame& frame) { return ::FillControlFields(*this, kTestPanelHeaderCombos, frame); }

void CTestDlg::AddLogRow(std::string frameHex) {
    FrameLogRow row;
    row.time = FormatTimeStamp(GetLocalTime());
    SpaceHexPairs(frameHex);
    row.spacedHex = std::move(frameHex);
    AppendFrameLogRow(*this, m_logList, Button(GetDlgItem(IDC_PANEL_AUTO_UPDATE)), std::move(row), &m_logRow);
}

void CTestDlg::ShowResultText(const std::string& text) { SetDlgItemText(IDC_PANEL_RESULT_PANE, text); }

void CTestDlg::SendVersionRequest() {
    ByteString bytes;
    BuildCommandFrame(*this, kTestPanelHeaderCombos, 0x02, nullptr, bytes);
    std::string hex;
    BytesToHexText(hex, bytes, 0);
    m_window.SendFrame(bytes);
    AddLogRow(hex);
}

void CTestDlg::OnItemchangedLogList() {
    const std::vector<int> rows = m_logList.GetSelectedRows();
    if (rows.empty()) return;
    ShowResultText(ExplainHexText(m_logList.GetItemText(rows.front(), 2), "解析信息:"));
}

void CTestDlg::OnDblclkLogList() { m_window.ShowRowDetail(m_logList); }
