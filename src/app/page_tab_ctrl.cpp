#include "app/page_tab_ctrl.h"

int CPageTabCtrl::AddPage(const std::string& title, Dialog* page, int templateId) {
    if (m_pageCount >= kMaxPages) return 0;
    m_pages[m_pageCount] = page;
    m_titles[m_pageCount] = title;
    m_templateIds[m_pageCount] = templateId;
    ++m_pageCount;
    return 1;
}

void CPageTabCtrl::CreatePages() {
    for (int i = 0; i < m_pageCount; ++i) {
        if (m_pages[i] && !m_pages[i]->IsCreated()) m_pages[i]->CreateIn(*this);
        InsertItem(i, m_titles[i]);
    }
    m_current = 0;
    SetCurSel(0);
    LayoutPages();
}

void CPageTabCtrl::LayoutPages() {
    const Rect page = GetPageRect();
    const int x = page.left;
    const int y = page.top + 1;
    const int width = page.right - x - 2;
    const int height = page.bottom - y - 2;
    for (int i = 0; i < m_pageCount; ++i) {
        if (!m_pages[i]) continue;
        m_pages[i]->MoveWindow(x, y, width, height);
        m_pages[i]->ShowWindow(i == m_current);
    }
}

void CPageTabCtrl::OnSelChange() {
    const int sel = GetCurSel();
    if (sel == m_current || sel < 0 || sel >= m_pageCount) return;
    if (m_pages[m_current]) m_pages[m_current]->ShowWindow(false);
    m_current = sel;
    if (m_pages[m_current]) {
        m_pages[m_current]->ShowWindow(true);
        m_pages[m_current]->GetWindow().SetFocus();
    }
}
