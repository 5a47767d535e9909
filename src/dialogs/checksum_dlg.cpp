#include "dialogs/checksum_dlg.h"

#include "dialogs/hex_frame_text.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

CChecksumDlg::CChecksumDlg() : Dialog(IDD_CHECKSUM) {
    MapCommand(IDC_CHECKSUM_COMPUTE, Notify::Clicked, [this] { OnCompute(); });
}

bool CChecksumDlg::OnInitDialog() {
    Button(GetDlgItem(IDC_CHECKSUM_SUM)).SetCheck(1);
    return true;
}

void CChecksumDlg::OnCompute() {
    if (Button(GetDlgItem(IDC_CHECKSUM_PHYSICAL)).GetCheck()) {
        ShowMessageBox("不支持物理层校验");
        return;
    }
    ByteString bytes;
    if (!ParseHexFrameText(GetDlgItemText(IDC_CHECKSUM_FRAME), bytes)) return;
    unsigned sum = 0, x = 0;
    for (unsigned char b : bytes) {
        sum += b;
        x ^= b;
    }
    const bool xorCheck = Button(GetDlgItem(IDC_CHECKSUM_XOR)).GetCheck() == 1;
    SetDlgItemText(IDC_CHECKSUM_RESULT, StrFormat("%02X", (xorCheck ? x : sum) & 0xFF));
}
