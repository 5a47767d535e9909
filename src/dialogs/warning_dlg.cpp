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

namespace {

// The area inside a window's frame, in screen coordinates.
Rect InsideFrame(const Window& w) {
    const Point origin = w.ScreenToClient(Point{0, 0});
    const Rect size = w.GetClientRect();
    return Rect{-origin.x, -origin.y, -origin.x + size.Width(), -origin.y + size.Height()};
}

}  // namespace

void CWarningDlg::CentreOverParent() {
    if (!m_parent) return;
    // The frames are centred. A popup not yet framed by the window manager is given the frame
    // of its parent; MoveWindow places the area inside the frame.
    const Rect p = m_parent->GetWindowRect();
    const Rect q = GetWindowRect();
    const Rect inside = InsideFrame(GetWindow());
    Rect frame{inside.left - q.left, inside.top - q.top, q.right - inside.right, q.bottom - inside.bottom};
    if (frame.left == 0 && frame.top == 0 && frame.right == 0 && frame.bottom == 0) {
        const Rect parentInside = InsideFrame(m_parent->GetWindow());
        frame = Rect{parentInside.left - p.left, parentInside.top - p.top, p.right - parentInside.right,
                     p.bottom - parentInside.bottom};
    }
    const int width = inside.Width() + frame.left + frame.right;
    const int height = inside.Height() + frame.top + frame.bottom;
    MoveWindow(p.left + (p.Width() - width) / 2 + frame.left, p.top + (p.Height() - height) / 2 + frame.top,
               inside.Width(), inside.Height());
}
