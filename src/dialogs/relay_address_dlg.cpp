#include "dialogs/relay_address_dlg.h"

#include "dialogs/warning_dlg.h"
#include "link/conversions.h"
#include "res/resource_ids.h"

CRelayAddressDlg::CRelayAddressDlg(MainWindowPort& window) : Dialog(IDD_RELAY_ADDRESS), m_window(window) {
    MapCommand(IDC_RELAY_ADD, Notify::Clicked, [this] { OnAddRelay(); });
    MapCommand(IDC_RELAY_DELETE, Notify::Clicked, [this] { OnDeleteRelays(); });
    MapCommand(IDC_RELAY_CONFIRM, Notify::Clicked, [this] { OnConfirmRelays(); });
    MapCommand(IDC_RELAY_SELECT_ALL, Notify::Clicked, [this] { OnSelectAll(); });
    MapCommand(IDC_RELAY_USE, Notify::Clicked, [this] { OnUseRelaysCheck(); });
    MapCommand(IDC_RELAY_INDEX_CHECK, Notify::Clicked, [this] { OnIndexCheck(); });
    MapCommand(IDC_RELAY_LIST, Notify::Click, [this] { OnClickRelayList(); });
}

bool CRelayAddressDlg::OnInitDialog() {
    m_relayList = ListView(GetDlgItem(IDC_RELAY_LIST));
    m_relayList.SetExtendedStyle(ListView::kExGridLines | ListView::kExCheckBoxes | ListView::kExFullRowSelect |
                                 ListView::kExFlatScrollBars);
    m_relayList.InsertColumn(0, "RELAY ADDRESS", 100);
    m_relayList.SetColumnAlign(0, ListView::kRight);
    Button(GetDlgItem(IDC_RELAY_USE)).SetCheck(1);
    Edit(GetDlgItem(IDC_RELAY_ADDRESS)).SetLimitText(12);
    m_rowCount = 0;
    return true;
}

void CRelayAddressDlg::OnDestroy() { WarningBox().Dismiss(*this); }

void CRelayAddressDlg::OnAddRelay() {
    m_rowCount = m_relayList.GetItemCount();
    if (m_rowCount >= RelaySettings::kMaxRelays) {
        WarningBox().Raise(*this, "已达到中继数目6");
        return;
    }
    std::string text = WithoutHexBlanks(GetDlgItemText(IDC_RELAY_ADDRESS));
    if (text.size() > 12 || !IsBcdText(text)) {
        ShowMessageBox("输入表地址长度过长或不是BCD格式");
        return;
    }
    PadLeftZeros(text, 11);
    m_relayList.InsertItem(m_rowCount, text);
    ++m_rowCount;
}

void CRelayAddressDlg::OnDeleteRelays() {
    if (ShowMessageBox("确认要清除选中表地址吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    for (int r = m_relayList.GetItemCount() - 1; r >= 0; --r) {
        if (!m_relayList.GetCheck(r)) continue;
        m_relayList.DeleteItem(r);
        --m_rowCount;
    }
}

void CRelayAddressDlg::OnSelectAll() {
    const bool check = Button(GetDlgItem(IDC_RELAY_SELECT_ALL)).GetCheck() == 1;
    for (int r = m_relayList.GetItemCount() - 1; r >= 0; --r) m_relayList.SetCheck(r, check);
}

void CRelayAddressDlg::OnConfirmRelays() {
    RelaySettings& relays = m_window.Relays();
    relays.count = 0;
    const int rows = m_relayList.GetItemCount();
    for (int r = 0; r < rows && relays.count < RelaySettings::kMaxRelays; ++r)
        if (m_relayList.GetCheck(r)) relays.addresses[relays.count++] = m_relayList.GetItemText(r, 0);
    OnUseRelaysCheck();
    OnIndexCheck();
}

void CRelayAddressDlg::OnUseRelaysCheck() {
    m_window.Relays().enabled = Button(GetDlgItem(IDC_RELAY_USE)).GetCheck() == 1;
}

void CRelayAddressDlg::OnIndexCheck() {
    RelaySettings& relays = m_window.Relays();
    relays.indexOn = Button(GetDlgItem(IDC_RELAY_INDEX_CHECK)).GetCheck() == 1;
    if (relays.indexOn) relays.indexText = GetDlgItemText(IDC_RELAY_INDEX);
}

void CRelayAddressDlg::OnClickRelayList() {
    for (int r : m_relayList.GetSelectedRows()) m_relayList.SetCheck(r, !m_relayList.GetCheck(r));
}

bool CRelayAddressDlg::PreTranslateKey(Key key) {
    if (key == Key::Shift) FillCheckRange();
    return false;
}

void CRelayAddressDlg::FillCheckRange() {
    int first = -1, second = -1;
    const int rows = m_relayList.GetItemCount();
    for (int r = 0; r < rows && second < 0; ++r) {
        if (!m_relayList.GetCheck(r)) continue;
        if (first < 0)
            first = r;
        else
            second = r;
    }
    for (int r = first + 1; second >= 0 && r < second; ++r) m_relayList.SetCheck(r, true);
}
