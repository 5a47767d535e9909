#include "dialogs/warning_dlg.h"

CWarningDlg& WarningBox() {
    // Never destroyed: it may outlive the application object at exit.
    static CWarningDlg* box = new CWarningDlg;
    return *box;
}

CWarningDlg::CWarningDlg() : Dialog(IDD_WARNING) {
    MapCommand(IDC_WARNING_OK, Notify::Clicked, [this] { DestroyWindow(); });
}

void CWarningDlg::Raise(Dialog& parent, const std::string& text) {
    if (IsCreated()) DestroyWindow();
    m_parent = &parent;
    Create(&parent);
    m_parent = nullptr;
    m_owner = &parent;
    ShowWindow(true);
    SetText(text);
}

void CWarningDlg::Dismiss(const Dialog& owner) {
    if (m_owner != &owner) return;
    DestroyWindow();
    m_owner = nullptr;
}

void CWarningDlg::SetText(const std::string& text) { SetDlgItemText(IDC_WARNING_TEXT, text); }

bool CWarningDlg::OnInitDialog() {
    if (m_parent) {
        const Rect p = m_parent->GetWindowRect();
        const Rect q = GetWindowRect();
        MoveWindow(p.left + (p.Width() - q.Width()) / 2, p.top + (p.Height() - q.Height()) / 2, q.Width(),
                   q.Height());
    }
    return true;
}
