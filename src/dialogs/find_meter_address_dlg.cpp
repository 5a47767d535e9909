#include "dialogs/find_meter_address_dlg.h"

#include "dialogs/warning_dlg.h"
#include "res/resource_ids.h"

CFindMeterAddressDlg::CFindMeterAddressDlg() : Dialog(IDD_FIND_METER) {
    MapCommand(IDC_FIND_METER_FIND, Notify::Clicked, [this] { OnFind(); });
}

void CFindMeterAddressDlg::OnDestroy() { WarningBox().Dismiss(*this); }

bool CFindMeterAddressDlg::FindLongAddress(const std::string& /*shortAddress*/, std::string& /*longAddress*/) {
    return false;
}

void CFindMeterAddressDlg::OnFind() {
    std::string text;
    for (char c : GetDlgItemText(IDC_FIND_METER_SHORT))
        if (c != ' ') text += c;
    if (text.size() % 4 != 0) {
        ShowMessageBox("输入正确短地址");
        WarningBox().Raise(*this, "123");
        return;
    }
    std::string result = "查找长地址信息：\r\n";
    for (size_t i = 0; i < text.size(); i += 4) {
        if (i) result += "-->";
        const std::string group = text.substr(i, 4);
        std::string longAddress;
        if (FindLongAddress(group, longAddress))
            result += longAddress;
        else
            result += "\r\n" + group + "长地址为找到" + "\r\n";
    }
    SetDlgItemText(IDC_FIND_METER_RESULT, result + "\r\n");
}
