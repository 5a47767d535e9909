#pragma once
// Report list with colours per cell and columns that sort on a header click.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

// The compare of the sortable lists: columns 0 and 1 by the integer value of their texts,
// other columns byte by byte. -1, 0 or 1.
int CompareListTexts(std::string_view a, std::string_view b, int column);
// The text's leading integer (blanks, a sign, digits), 0 when there is none; clamped to int.
int ListTextToInt(std::string_view text);

class CSortListCtrl : public ListView {
public:
    explicit CSortListCtrl(int columnCount) : m_columnCount(columnCount) {}

    // Binds control id of owner; header clicks of it sort the rows.
    void Attach(Dialog& owner, int id);

    // 0 done; 1 an array missing; 2 the titles do not match the column count; 3 nor do the
    // percentages; 4 the percentages do not add up to 100. Width = percent x (window width - 25) / 100.
    int SetColumns(const std::vector<std::string>* titles, const std::vector<uint8_t>* percents,
                   Align format = kLeft);
    // Inserts a row at min(index, row count); -1 or past the end appends. Returns the row, or -1
    // when the array is missing or does not hold one text per column.
    int InsertRow(const std::vector<std::string>* texts, int index);
    // Appends a row of compact cells, one a column, every cell drawn in color, and fits the last
    // column as InsertRow does. Returns the row, or -1 when count is not the column count.
    int AppendCellRow(const ListCell* cells, size_t count, ColorRef color);
    // 0 when there is no such row, else 1 after deleting it.
    int DeleteRow(int row);
    // Deletes every row; the last column becomes 400 pixels wide.
    void DeleteAllRows();

    // 0 for a column past the count (nothing stored) or no such row, else 1.
    int SetCellTextColor(ColorRef color, int row, int column);
    int SetCellBackColor(ColorRef color, int row, int column);
    // Outside the columns: the window-text colour (black) and the window colour (white).
    ColorRef GetCellTextColor(int row, int column) const;
    ColorRef GetCellBackColor(int row, int column) const;
    // Refuses row -1 with 0; else sets the states (kStateSelected, kStateFocused) in mask.
    int SetItemState(int row, unsigned state, unsigned mask);

    void SetGridLines(int on);
    void SetCellFrames(int on);
    void SetDisplayFlag(int on);

    // Draws one row by its mode: the focus row of a focused list, and a selected row of an
    // unfocused one, white on RGB(0, 150, 200) (nothing when its first column is empty); the
    // other selected rows of a focused list blue on white; every other row in its cells' colours,
    // each cell framed while the cell-frame flag is set.
    void DrawItem(ListPainter& dc, const ListRowDraw& item) const;
    // After the rows: dotted column separators while the grid-lines flag is set.
    void OnPaint(ListPainter& dc, const Rect& rowsArea) const;

    // A header click: the same column reverses the order, another column sorts descending first.
    void OnColumnClick(int column);
    int SortColumn() const { return m_sortColumn; }
    int SortAscending() const { return m_sortAscending; }

private:
    // A rectangle shrunk by a pixel on each side unless full; one column's part of a row's bounds.
    static Rect ShrinkUnlessFull(const Rect& r, bool full);
    Rect GetCellRect(const Rect& rowBounds, int column, bool full) const;
    // Measures the new last-column text of a row and fits the column when it is wider.
    void FitToText(const std::string& text);
    void FitLastColumn(int textWidth);

    int m_columnCount;
    int m_lastColumnWidth = 0;
    int m_gridLines = 1;
    int m_cellFrames = 0;
    int m_displayFlag = 0;
    // Sorted by column 0, descending, until a header is clicked: a first click on column 0
    // sorts ascending.
    int m_sortAscending = 0;
    int m_sortColumn = 0;
    int m_widestText = 0;  // widest last-column text since the list was last empty
    size_t m_longestMeasured = 0;  // longest last-column text measured since then
};
