#include "dialogs/tool_dialogs.h"

#include "app/main_tester_dlg.h"

namespace {
void EnableMainButton(int id) {
    if (CMainTesterDlg* main = CMainTesterDlg::Instance()) main->GetDlgItem(id).Enable(true);
}
}  // namespace

void CFrameMonitorDlg::OnClose() {
    EnableMainButton(1021);
    ShowWindow(false);
}

void CDeviceSearchListDlg::OnClose() {
    EnableMainButton(1834);
    ShowWindow(false);
}

void CBroadcastReplyTestDlg::ClearList() {}

void CFrameDetailDlg::SetText(std::string text) { SetDlgItemText(1010, text); }

void CButtonOwnedDialog::Release() {
    EnableMainButton(m_ownerButton);
    DestroyWindow();
}
