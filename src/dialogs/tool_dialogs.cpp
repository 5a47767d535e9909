#include "dialogs/tool_dialogs.h"

#include "app/main_tester_dlg.h"

namespace {
void EnableMainButton(int id) {
    if (CMainTesterDlg* main = CMainTesterDlg::Instance()) main->GetDlgItem(id).Enable(true);
}
}  // namespace

void CBroadcastReplyTestDlg::OnBroadcastReplyFrame(const ByteString& /*frame*/) {}

void CBroadcastReplyTestDlg::ClearList() {}

void CButtonOwnedDialog::Release() {
    EnableMainButton(m_ownerButton);
    DestroyWindow();
}
