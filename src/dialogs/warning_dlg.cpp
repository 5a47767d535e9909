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
    // Over its owner it is reused; over another dialog it goes with that one instead.
    if (IsCreated() && m_owner != &parent) DestroyWindow();
    m_parent = &parent;
    if (IsCreated())
        CentreOverParent();
    else
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
    CentreOverParent();
    return true;
}

void CWarningDlg::CentreOverParent() {
    if (!m_parent) return;
    // The frames are centred; MoveWindow places the area inside the frame.
    const Rect p = m_parent->GetWindowRect();
    const Rect q = GetWindowRect();
    const Rect inside = GetWindow().GetClientRect();
    const Point origin = GetWindow().ScreenToClient(Point{0, 0});
    const int frameLeft = -origin.x - q.left, frameTop = -origin.y - q.top;
    MoveWindow(p.left + (p.Width() - q.Width()) / 2 + frameLeft, p.top + (p.Height() - q.Height()) / 2 + frameTop,
               inside.Width(), inside.Height());
}
