#include "dialogs/sort_list_ctrl.h"

#include <climits>

namespace {

// Room beside the text of a fitted column.
constexpr int kFitMargin = 12;

const ColorRef kWindowText = MakeRgb(0, 0, 0);
const ColorRef kWindow = MakeRgb(255, 255, 255);
const ColorRef kHighlightText = MakeRgb(255, 255, 255);
const ColorRef kFocusRowBack = MakeRgb(0, 150, 200);
const ColorRef kSelectedText = MakeRgb(0, 0, 255);

}  // namespace

int ListTextToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) v = -v;
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

int CompareListTexts(std::string_view a, std::string_view b, int column) {
    if (column == 0 || column == 1) {
        const int x = ListTextToInt(a);
        const int y = ListTextToInt(b);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    const int r = a.compare(b);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

void CSortListCtrl::Attach(Dialog& owner, int id) {
    static_cast<ListView&>(*this) = ListView(owner.GetDlgItem(id));
    SetListColors(kWindowText, kWindow);
    SetOwnerDraw([this](ListPainter& dc, const ListRowDraw& item) { DrawItem(dc, item); },
                 [this](ListPainter& dc, const Rect& area) { OnPaint(dc, area); });
    owner.MapCommand(id, Notify::ColumnClick, [this] { OnColumnClick(LastClickedColumn()); });
}

int CSortListCtrl::SetColumns(const std::vector<std::string>* titles, const std::vector<uint8_t>* percents,
                              Align format) {
    if (!titles || !percents) return 1;
    if (static_cast<int>(titles->size()) != m_columnCount) return 2;
    if (static_cast<int>(percents->size()) != m_columnCount) return 3;
    int total = 0;
    for (uint8_t p : *percents) total += p;
    if (total != 100) return 4;
    const int width = GetWindowRect().Width();
    for (int i = 0; i < m_columnCount; ++i) {
        const int w = (*percents)[static_cast<size_t>(i)] * (width - 25) / 100;
        InsertColumn(i, (*titles)[static_cast<size_t>(i)], w, format);
        m_lastColumnWidth = w;
    }
    return 0;
}

int CSortListCtrl::InsertRow(const std::vector<std::string>* texts, int index) {
    if (!texts || static_cast<int>(texts->size()) != m_columnCount || !IsValid()) return -1;
    const int count = GetItemCount();
    int row;
    if (index < 0 || index >= count) {
        row = AppendRow(*texts);
    } else {
        row = InsertItem(index, texts->empty() ? std::string() : texts->front());
        for (int i = 1; i < m_columnCount; ++i) SetItemText(row, i, (*texts)[static_cast<size_t>(i)]);
    }
    if (row < 0) return -1;
    if (m_columnCount > 0) FitToText(texts->back());
    return row;
}

int CSortListCtrl::AppendCellRow(const ListCell* cells, size_t count, ColorRef color) {
    if (!cells || static_cast<int>(count) != m_columnCount || m_columnCount == 0 || !IsValid()) return -1;
    const int row = AppendCells(cells, count, &color);
    if (row < 0) return -1;
    FitToText(GetItemText(row, m_columnCount - 1));
    return row;
}

void CSortListCtrl::FitToText(const std::string& text) {
    if (GetItemCount() == 1) {
        m_widestText = 0;
        m_longestMeasured = 0;
    }
    // A text no longer than one measured before is taken to be no wider: the texts of a column
    // differ mostly in their digits, so measuring each new length is enough, not each row.
    if (text.size() <= m_longestMeasured && m_longestMeasured > 0) return;
    m_longestMeasured = text.size();
    const int w = GetStringWidth(text);
    if (m_lastColumnWidth < w) {
        FitLastColumn(w);
        m_lastColumnWidth = -1;
    }
}

void CSortListCtrl::FitLastColumn(int textWidth) {
    // Fitted to the widest text so far: one measure per row, never a pass over all rows.
    if (textWidth > m_widestText) m_widestText = textWidth;
    const int last = GetColumnCount() - 1;
    if (last < 0) return;
    const int w = m_widestText + kFitMargin;
    if (GetColumnWidth(last) != w) SetColumnWidth(last, w);
}

int CSortListCtrl::DeleteRow(int row) {
    if (row < 0 || row >= GetItemCount()) return 0;
    return DeleteItem(row) ? 1 : 0;
}

void CSortListCtrl::DeleteAllRows() {
    DeleteAllItems();
    m_widestText = 0;
    m_longestMeasured = 0;
    const int last = GetColumnCount() - 1;
    if (last >= 0) SetColumnWidth(last, 400);
    m_lastColumnWidth = 400;
}

int CSortListCtrl::SetCellTextColor(ColorRef color, int row, int column) {
    if (column < 0 || column >= m_columnCount || row < 0 || row >= GetItemCount()) return 0;
    ListView::SetCellTextColor(row, column, color);
    return 1;
}

int CSortListCtrl::SetCellBackColor(ColorRef color, int row, int column) {
    if (column < 0 || column >= m_columnCount || row < 0 || row >= GetItemCount()) return 0;
    ListView::SetCellBackColor(row, column, color);
    return 1;
}

ColorRef CSortListCtrl::GetCellTextColor(int row, int column) const {
    if (column < 0 || column >= m_columnCount) return kWindowText;
    return ListView::GetCellTextColor(row, column);
}

ColorRef CSortListCtrl::GetCellBackColor(int row, int column) const {
    if (column < 0 || column >= m_columnCount) return kWindow;
    return ListView::GetCellBackColor(row, column);
}

int CSortListCtrl::SetItemState(int row, unsigned state, unsigned mask) {
    if (row == -1) return 0;
    return ListView::SetItemState(row, state, mask) ? 1 : 0;
}

void CSortListCtrl::SetGridLines(int on) {
    m_gridLines = on;
    Invalidate();
}

void CSortListCtrl::SetCellFrames(int on) {
    m_cellFrames = on;
    Invalidate();
}

void CSortListCtrl::SetDisplayFlag(int on) {
    m_displayFlag = on;
    Invalidate();
}

void CSortListCtrl::OnColumnClick(int column) {
    if (column < 0) return;
    if (column == m_sortColumn) {
        m_sortAscending = !m_sortAscending;
    } else {
        m_sortColumn = column;
        m_sortAscending = 0;
    }
    const bool ascending = m_sortAscending != 0;
    SortRows(column, [ascending, column](std::string_view a, std::string_view b) {
        const int r = CompareListTexts(a, b, column);
        return ascending ? r : -r;
    });
}

Rect CSortListCtrl::ShrinkUnlessFull(const Rect& r, bool full) {
    return full ? r : Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

Rect CSortListCtrl::GetCellRect(const Rect& rowBounds, int column, bool full) const {
    Rect cell = rowBounds;
    for (int i = 0; i < column; ++i) cell.left += GetColumnWidth(i);
    cell.right = cell.left + GetColumnWidth(column);
    return ShrinkUnlessFull(cell, full);
}

void CSortListCtrl::DrawItem(ListPainter& dc, const ListRowDraw& item) const {
    const bool selected = (item.state & kStateSelected) && (item.listHasFocus || item.showSelectionAlways);
    int mode = 3;
    if (!item.listHasFocus) mode = selected ? 4 : 3;
    else if (item.state & kStateFocused) mode = 1;
    else if (selected) mode = 2;

    const int columns = GetColumnCount();
    if (mode == 1 || mode == 4 || mode == 2) {
        if (mode != 2 && GetItemText(item.row, 0).empty()) return;
        dc.FillRect(item.bounds, mode == 2 ? kWindow : kFocusRowBack);
        const ColorRef text = mode == 2 ? kSelectedText : kHighlightText;
        for (int c = 0; c < columns; ++c) dc.DrawText(GetCellRect(item.bounds, c, false), GetItemText(item.row, c), text);
        return;
    }
    for (int c = 0; c < columns; ++c) {
        const Rect full = GetCellRect(item.bounds, c, true);
        dc.FillRect(full, GetCellBackColor(item.row, c));
        if (m_cellFrames) dc.FrameRect(full, kWindowText);
        dc.DrawText(ShrinkUnlessFull(full, false), GetItemText(item.row, c), GetCellTextColor(item.row, c));
    }
}

void CSortListCtrl::OnPaint(ListPainter& dc, const Rect& rowsArea) const {
    if (!m_gridLines) return;
    int x = -GetOrigin().x;
    for (int c = 0; c < GetColumnCount(); ++c) {
        x += GetColumnWidth(c);
        if (x >= rowsArea.right) break;
        dc.DrawDottedLine(x - 1, rowsArea.top, rowsArea.bottom, kHighlightText);
    }
}
