#pragma once
// Report list drawn black on white whose columns sort on a header click.

#include "platform/ui.h"

class CColorListCtrl : public ListView {
public:
    CColorListCtrl() = default;

    // Binds control id of owner; header clicks of it sort the rows.
    void Attach(Dialog& owner, int id);

    // A header click: the same column reverses the order, another column sorts descending
    // first. Each row's item data becomes its index before the sort.
    void OnColumnClick(int column);
    int SortColumn() const { return m_sortColumn; }
    int SortAscending() const { return m_sortAscending; }

private:
    int m_sortAscending = 1;
    int m_sortColumn = -1;
};
