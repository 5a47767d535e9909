#include "dialogs/tool_dialogs.h"

void CBroadcastReplyTestDlg::OnBroadcastReplyFrame(const ByteString& /*frame*/) {}

void CBroadcastReplyTestDlg::ClearList() {}

void CButtonOwnedDialog::Release() {
    m_window.EnableControl(m_ownerButton);
    DestroyWindow();
}
