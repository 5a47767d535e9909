#pragma once
// A tab control that owns up to 16 child dialog pages and shows the page of the selected tab.

#include <string>

#include "platform/ui.h"

class CPageTabCtrl : public TabBar {
public:
    static constexpr int kMaxPages = 16;

    // Records a page; 0 when 16 pages are held already.
    int AddPage(const std::string& title, Dialog* page, int templateId);
    // Creates each recorded page inside the tab control and inserts its tab; shows page 0.
    void CreatePages();
    // Places every page below the tabs; the current page on top and shown.
    void LayoutPages();
    // The tab selection changed.
    void OnSelChange();

    int PageCount() const { return m_pageCount; }
    void SetPageCount(int n) { m_pageCount = n; }
    Dialog* Page(int index) const { return index >= 0 && index < m_pageCount ? m_pages[index] : nullptr; }

private:
    Dialog* m_pages[kMaxPages] = {};
    std::string m_titles[kMaxPages];
    int m_templateIds[kMaxPages] = {};
    int m_pageCount = 0;
    int m_current = 0;
};
