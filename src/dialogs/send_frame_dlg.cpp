#include "dialogs/send_frame_dlg.h"

#include "dialogs/hex_frame_text.h"
#include "res/resource_ids.h"

CSendFrameDlg::CSendFrameDlg(MainWindowPort& window) : Dialog(IDD_SEND_FRAME), m_window(window) {
    MapCommand(IDC_SEND_FRAME_SEND, Notify::Clicked, [this] { OnSend(); });
    MapCommand(IDC_SEND_FRAME_CANCEL, Notify::Clicked, [this] { EndDialog(kIdCancel); });
}

bool CSendFrameDlg::OnInitDialog() {
    Edit(GetDlgItem(IDC_SEND_FRAME_CHANNEL)).SetLimitText(2);
    return true;
}

void CSendFrameDlg::OnSend() {
    ByteString bytes;
    if (!ParseHexFrameText(GetDlgItemText(IDC_SEND_FRAME_TEXT), bytes) || bytes.empty()) return;
    m_window.SendFrame(bytes);
}
