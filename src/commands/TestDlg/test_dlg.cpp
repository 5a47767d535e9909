// The module test panel: start-up, header, log list, text pane and layout.

#include "commands/TestDlg/test_dlg.h"

#include <iterator>

#include "commands/TestDlg/panel_fields.h"
#include "commands/combo_mappers.h"
#include "dialogs/frame_log.h"
#include "link/field_tables.h"

CTestDlg::CTestDlg(MainWindowPort& window) : Dialog(IDD_TEST_PANEL), m_window(window) { MapHandlers(); }

bool CTestDlg::OnInitDialog() {
    m_logList = ListView(GetDlgItem(IDC_PANEL_LOG_LIST));
    m_log.Attach(*this, m_logList, Button(GetDlgItem(IDC_PANEL_AUTO_UPDATE)));
    m_netTestCount = 0;
    m_netTestTicks = 0;
    LayoutControls();
    InitComboBoxes();
    InitDefaultTexts();
    InitLogColumns();
    HideAllGroups();
    Button(GetDlgItem(IDC_PANEL_AUTO_UPDATE)).SetCheck(1);
    return true;
}

namespace {

// Fills a combo from its field's table and selects an entry by its place in the sorted list.
template <size_t N>
void FillCombo(Dialog& page, int id, const CodeText (&table)[N], int selection) {
    ComboBox combo(page.GetDlgItem(id));
    AddChoices(combo, table);
    combo.SetCurSel(selection);
}

}  // namespace

void CTestDlg::InitComboBoxes() {
    FillCombo(*this, IDC_PANEL_DIRECTION_COMBO, kDirectionNames, static_cast<int>(std::size(kDirectionNames)) - 1);
    FillCombo(*this, IDC_PANEL_REPLY_STATUS_COMBO, kReplyStatusNames,
              static_cast<int>(std::size(kReplyStatusNames)) - 1);
    // Its selection counts the reply-status entries: "主动发起".
    FillCombo(*this, IDC_PANEL_INITIATOR_COMBO, kInitiatorNames,
              ComboBox(GetDlgItem(IDC_PANEL_REPLY_STATUS_COMBO)).GetCount() - 1);
    FillCombo(*this, IDC_PANEL_CHANNEL_TYPE_COMBO, kChannelTypeNames, 1);
    FillCombo(*this, IDC_PANEL_LWIP_MODE_COMBO, kSetTypeNames, 1);
    FillCombo(*this, IDC_PANEL_MODULATION_COMBO, kModulationNames, 0);
    FillCombo(*this, IDC_PANEL_FEC_COMBO, kFecRateNames, 0);
    FillCombo(*this, IDC_PANEL_PB_TYPE_COMBO, kPbBlockNames, 0);
    FillCombo(*this, IDC_PANEL_COPIES_COMBO, kCopiesNames, 5);
    FillCombo(*this, IDC_PANEL_ADDRESS_MODE_COMBO, kMulticastFlagNames, 0);
    FillCombo(*this, IDC_PANEL_KEY_MODE_COMBO, kKeyModeNames, 1);
    FillCombo(*this, IDC_PANEL_PAIRING_SCOPE_COMBO, kPairingSearchRuleNames, 1);
}

void CTestDlg::InitDefaultTexts() {
    SetDlgItemText(IDC_PANEL_PB_COUNT, "1");
    SetDlgItemText(IDC_PANEL_DST_ADDR, "201708180");
}

void CTestDlg::InitLogColumns() {
    m_logList.SetExtendedStyle(ListView::kExGridLines | ListView::kExFullRowSelect | ListView::kExFlatScrollBars);
    m_logList.InsertColumn(0, "时间", 150, ListView::kCenter);
    m_logList.InsertColumn(1, "序号", 50, ListView::kCenter);
    m_logList.InsertColumn(2, "报文显示", 1000, ListView::kLeft);
    m_logList.SetColumnAlign(0, ListView::kRight);
}

void CTestDlg::OnSize(int /*width*/, int /*height*/) { LayoutControls(); }

void CTestDlg::LayoutControls() {
    // The template's rectangles scaled from its own size to the panel's.
    const DialogTemplate* t = FindDialogTemplate(TemplateId());
    if (!t || t->width <= 0 || t->height <= 0) return;
    const Rect client = GetClientRect();
    const double sx = static_cast<double>(client.Width()) / t->width;
    const double sy = static_cast<double>(client.Height()) / t->height;
    auto scaled = [](double v, double scale) { return static_cast<int>(v * scale); };
    for (const ControlTemplate& c : t->controls) {
        GetDlgItem(c.id).Move(scaled(c.x, sx), scaled(c.y, sy), scaled(c.w, sx), scaled(c.h, sy));
    }
}

int CTestDlg::FillControlFields(ModuleFrame& frame) {
    return ::FillControlFields(*this, kTestPanelHeaderCombos, frame);
}

void CTestDlg::AddLogRow(std::string frameHex) {
    FrameLogRow row;
    row.time = FormatTimeStamp(GetLocalTime());
    SpaceHexPairs(frameHex);
    row.spacedHex = std::move(frameHex);
    m_log.Append(std::move(row));
}

void CTestDlg::ClearLogList() { m_log.Clear(); }

void CTestDlg::ShowResultText(const std::string& text) { SetDlgItemText(IDC_PANEL_RESULT_PANE, text + "\r\n"); }

void CTestDlg::OnItemchangedLogList() {
    const std::vector<int> rows = m_logList.GetSelectedRows();
    if (rows.empty()) return;
    ShowResultText(ExplainHexText(m_logList.GetItemText(rows.front(), 2), "解析信息:", m_window));
}

void CTestDlg::OnDblclkLogList() {
    if (m_logList.GetSelectedRows().empty()) return;
    m_window.ShowRowDetail(m_logList);
}
