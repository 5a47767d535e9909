#include "dialogs/acq_unit_address_dlg.h"

#include "dialogs/warning_dlg.h"
#include "link/conversions.h"
#include "res/resource_ids.h"

namespace {
constexpr const char* kHead = "数据域头部";
constexpr const char* kTail = "数据域尾部";
}  // namespace

CAcqUnitAddressDlg::CAcqUnitAddressDlg(MainWindowPort& window) : Dialog(IDD_ACQ_UNIT), m_window(window) {
    MapCommand(IDC_ACQ_UNIT_READ_VIA, Notify::Clicked, [this] { OnReadViaAcqUnitCheck(); });
    MapCommand(IDC_ACQ_UNIT_CONFIRM, Notify::Clicked, [this] { OnConfirm(); });
}

bool CAcqUnitAddressDlg::OnInitDialog() {
    const AcqUnitSettings& unit = m_window.AcqUnit();
    ComboBox position(GetDlgItem(IDC_ACQ_UNIT_POSITION));
    position.AddString(kHead);
    position.AddString(kTail);
    position.SetCurSel(position.FindStringExact(unit.position == 1 ? kHead : kTail));
    Edit(GetDlgItem(IDC_ACQ_UNIT_ADDRESS)).SetLimitText(12);
    if (unit.readVia) {
        Button(GetDlgItem(IDC_ACQ_UNIT_READ_VIA)).SetCheck(1);
        ByteString shown(unit.address.rbegin(), unit.address.rend());
        std::string text;
        BytesToHexText(text, shown);
        SetDlgItemText(IDC_ACQ_UNIT_ADDRESS, text);
    } else {
        SetDlgItemText(IDC_ACQ_UNIT_ADDRESS, "111111111111");
    }
    return true;
}

void CAcqUnitAddressDlg::OnDestroy() { WarningBox().Dismiss(*this); }

void CAcqUnitAddressDlg::OnReadViaAcqUnitCheck() {
    m_window.AcqUnit().readVia = Button(GetDlgItem(IDC_ACQ_UNIT_READ_VIA)).GetCheck() == 1;
}

void CAcqUnitAddressDlg::OnConfirm() {
    AcqUnitSettings& unit = m_window.AcqUnit();
    if (!unit.readVia) return;
    std::string text = GetDlgItemText(IDC_ACQ_UNIT_ADDRESS);
    if (text.empty()) {
        WarningBox().Raise(*this, "请输入采集器地址");
    } else {
        ReverseHexBytes12(text);
        ByteString bytes;
        HexTextToBytes(text, bytes, 0);
        unit.address = bytes;
    }
    unit.position = ComboBox(GetDlgItem(IDC_ACQ_UNIT_POSITION)).GetSelectedText() == kHead ? 1 : 0;
}
