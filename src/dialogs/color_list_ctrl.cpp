#include "dialogs/color_list_ctrl.h"

#include "dialogs/sort_list_ctrl.h"

void CColorListCtrl::Attach(Dialog& owner, int id) {
    static_cast<ListView&>(*this) = ListView(owner.GetDlgItem(id));
    SetListColors(MakeRgb(0, 0, 0), MakeRgb(255, 255, 255));
    owner.MapCommand(id, Notify::ColumnClick, [this] { OnColumnClick(LastClickedColumn()); });
}

void CColorListCtrl::OnColumnClick(int column) {
    if (column < 0) return;
    if (column == m_sortColumn) {
        m_sortAscending = !m_sortAscending;
    } else {
        m_sortColumn = column;
        m_sortAscending = 0;
    }
    const int rows = GetItemCount();
    for (int i = 0; i < rows; ++i) SetItemData(i, i);
    const bool ascending = m_sortAscending != 0;
    SortRows(column, [ascending, column](std::string_view a, std::string_view b) {
        const int r = CompareListTexts(a, b, column);
        return ascending ? r : -r;
    });
}
