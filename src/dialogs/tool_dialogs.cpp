#include "dialogs/tool_dialogs.h"

// Not built yet: the broadcast reply test keeps no list; replies are dropped here.
void CBroadcastReplyTestDlg::OnBroadcastReplyFrame(const ByteString& /*frame*/) {}

// Not built yet (see above).
void CBroadcastReplyTestDlg::ClearList() {}

void CButtonOwnedDialog::Release() {
    m_window.EnableControl(m_ownerButton);
    DestroyWindow();
}
