#include "dialogs/tool_dialogs.h"

void CButtonOwnedDialog::Release() {
    m_window.EnableControl(m_ownerButton);
    DestroyWindow();
}
