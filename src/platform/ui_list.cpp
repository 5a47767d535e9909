// Report list control over a table model.

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <numeric>

#include "platform/ui_internal.h"

using namespace uiimpl;

namespace uiimpl {

namespace packed {

namespace {

void PutLength(std::string& out, size_t n) {
    while (n >= 0x80) {
        out += static_cast<char>((n & 0x7F) | 0x80);
        n >>= 7;
    }
    out += static_cast<char>(n);
}

// Reads the length at pos and moves pos past it.
size_t GetLength(const std::string& s, size_t& pos) {
    size_t n = 0;
    int shift = 0;
    while (pos < s.size()) {
        const auto b = static_cast<unsigned char>(s[pos++]);
        if (shift < 63) n |= static_cast<size_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) break;
        shift += 7;
    }
    return n;
}

// Position of the length of cell `column`; sets found to the index reached.
size_t CellStart(const std::string& row, size_t column, size_t& found) {
    size_t pos = 0;
    found = 0;
    while (found < column && pos < row.size()) {
        const size_t n = GetLength(row, pos);
        pos = std::min(row.size(), pos + n);
        ++found;
    }
    return pos;
}

}  // namespace

std::string Pack(const std::vector<std::string>& cells) {
    size_t total = 0;
    for (const std::string& c : cells) total += c.size() + 1 + (c.size() >= 0x80 ? 2 : 0);
    std::string out;
    out.reserve(total);
    for (const std::string& c : cells) {
        PutLength(out, c.size());
        out += c;
    }
    return out;
}

size_t Count(const std::string& row) {
    size_t found = 0;
    CellStart(row, static_cast<size_t>(-1), found);
    return found;
}

std::string_view Get(const std::string& row, size_t column) {
    size_t found = 0;
    size_t pos = CellStart(row, column, found);
    if (found < column || pos >= row.size()) return {};
    const size_t n = GetLength(row, pos);
    return std::string_view(row.data() + pos, std::min(n, row.size() - pos));
}

void Set(std::string& row, size_t column, std::string_view text) {
    size_t found = 0;
    size_t pos = CellStart(row, column, found);
    std::string cell;
    cell.reserve(text.size() + 3);
    for (; found < column; ++found) PutLength(cell, 0);
    PutLength(cell, text.size());
    cell.append(text.data(), text.size());
    if (pos >= row.size()) {
        row += cell;
        return;
    }
    const size_t start = pos;
    const size_t n = GetLength(row, pos);
    const size_t end = std::min(row.size(), pos + n);
    row.replace(start, end - start, cell);
}

void InsertEmpty(std::string& row, size_t column) {
    size_t found = 0;
    const size_t pos = CellStart(row, column, found);
    if (found < column || pos >= row.size()) return;
    row.insert(pos, 1, '\0');
}

}  // namespace packed

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : committed_; }

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns.size());
}

static QColor ToQColor(ColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= committed_) return {};
    const Row& r = rows_[static_cast<size_t>(index.row())];
    const size_t col = static_cast<size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole: {
            const std::string_view t = packed::Get(r.cells, col);
            return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
        }
        case Qt::TextAlignmentRole: {
            const ListView::Align a = col < columns.size() ? columns[col].align : ListView::kLeft;
            const Qt::Alignment h = a == ListView::kCenter ? Qt::AlignHCenter
                                    : a == ListView::kRight ? Qt::AlignRight
                                                            : Qt::AlignLeft;
            return QVariant::fromValue(h | Qt::AlignVCenter);
        }
        case Qt::ForegroundRole: {
            ColorRef c = 0;
            if (CellTextColor(r, index.column(), c)) return ToQColor(c);
            return {};
        }
        case Qt::BackgroundRole: {
            ColorRef c = 0;
            if (CellBackColor(r, index.column(), c)) return ToQColor(c);
            return {};
        }
        case Qt::CheckStateRole:
            if (checkBoxes && index.column() == 0) return r.checked ? Qt::Checked : Qt::Unchecked;
            return {};
        default:
            return {};
    }
}

bool ListModel::CellTextColor(const Row& r, int column, ColorRef& out) const {
    if (r.cellColors) {
        for (const auto& p : r.cellColors->text) {
            if (p.first == column) {
                out = p.second;
                return true;
            }
        }
    }
    if (r.uniformCells) {
        out = r.cellColor;
        return true;
    }
    if (r.hasColor) {
        out = r.color;
        return true;
    }
    return false;
}

bool ListModel::CellBackColor(const Row& r, int column, ColorRef& out) const {
    if (!r.cellColors) return false;
    for (const auto& p : r.cellColors->back) {
        if (p.first == column) {
            out = p.second;
            return true;
        }
    }
    return false;
}

void ListModel::SetCellTextColor(Row& r, int column, ColorRef color) {
    const int n = static_cast<int>(columns.size());
    if (r.uniformCells) {
        if (r.cellColor == color) return;
        // One cell leaves the common colour: every cell gets its own entry.
        if (!r.cellColors) r.cellColors = std::make_unique<CellColors>();
        r.cellColors->text.reserve(static_cast<size_t>(n));
        for (int c = 0; c < n; ++c) r.cellColors->text.emplace_back(c, r.cellColor);
        r.uniformCells = false;
    }
    if (!r.cellColors) r.cellColors = std::make_unique<CellColors>();
    auto& t = r.cellColors->text;
    auto it = std::find_if(t.begin(), t.end(), [column](const auto& p) { return p.first == column; });
    if (it != t.end()) {
        it->second = color;
    } else {
        if (t.empty()) t.reserve(static_cast<size_t>(std::max(n, 1)));
        t.emplace_back(column, color);
    }
    // Every cell of the same colour: kept as one value, the record dropped when it is empty.
    if (n > 0 && static_cast<int>(t.size()) == n) {
        const bool same = std::all_of(t.begin(), t.end(), [&](const auto& p) {
            return p.first >= 0 && p.first < n && p.second == t.front().second;
        });
        if (same) {
            r.uniformCells = true;
            r.cellColor = t.front().second;
            std::vector<std::pair<int, ColorRef>>().swap(t);
            if (r.cellColors->back.empty()) r.cellColors.reset();
        }
    }
}

void ListModel::SetCellBackColor(Row& r, int column, ColorRef color) {
    if (!r.cellColors) r.cellColors = std::make_unique<CellColors>();
    auto& b = r.cellColors->back;
    auto it = std::find_if(b.begin(), b.end(), [column](const auto& p) { return p.first == column; });
    if (it != b.end()) it->second = color;
    else b.emplace_back(column, color);
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns.size())) return {};
    const Column& c = columns[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole) return c.heading;
    if (role == Qt::TextAlignmentRole) {
        // A heading sits where its column's texts sit, so wide left columns show theirs.
        const Qt::Alignment h = c.align == ListView::kLeft ? Qt::AlignLeft
                                : c.align == ListView::kRight ? Qt::AlignRight
                                                              : Qt::AlignHCenter;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (checkBoxes && index.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !checkBoxes || index.column() != 0 || index.row() >= committed_) return false;
    rows_[static_cast<size_t>(index.row())].checked = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    if (onUserCheck) onUserCheck(index.row());
    return true;
}

void ListModel::Flush() {
    flushPending_ = false;
    const int n = static_cast<int>(rows_.size());
    if (n > committed_) {
        beginInsertRows(QModelIndex(), committed_, n - 1);
        committed_ = n;
        endInsertRows();
        lastCommit_.start();
    }
}

void ListModel::ScheduleFlush() {
    if (flushPending_) return;
    flushPending_ = true;
    const qint64 since = lastCommit_.isValid() ? lastCommit_.elapsed() : kCommitIntervalMs;
    const int wait = since >= kCommitIntervalMs ? 0 : static_cast<int>(kCommitIntervalMs - since);
    QTimer::singleShot(wait, this, [this] { Flush(); });
}

int ListModel::Append(Row row) {
    rows_.push_back(std::move(row));
    ScheduleFlush();
    return static_cast<int>(rows_.size()) - 1;
}

int ListModel::Insert(int index, Row row) {
    Flush();
    if (index < 0 || index >= static_cast<int>(rows_.size())) {
        rows_.push_back(std::move(row));
        Flush();
        return static_cast<int>(rows_.size()) - 1;
    }
    beginInsertRows(QModelIndex(), index, index);
    rows_.insert(rows_.begin() + index, std::move(row));
    committed_ = static_cast<int>(rows_.size());
    endInsertRows();
    return index;
}

bool ListModel::Remove(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return false;
    Flush();
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    committed_ = static_cast<int>(rows_.size());
    endRemoveRows();
    return true;
}

void ListModel::Clear() {
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    committed_ = 0;
    endResetModel();
}

void ListModel::Sort(int column, bool ascending) {
    SortBy(column, [ascending](std::string_view a, std::string_view b) {
        return ascending ? a.compare(b) : b.compare(a);
    });
}

void ListModel::SortBy(int column, const std::function<int(std::string_view, std::string_view)>& compare) {
    Flush();
    const size_t n = rows_.size();
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    {
        std::vector<std::string_view> keys(n);
        for (size_t i = 0; i < n; ++i) keys[i] = packed::Get(rows_[i].cells, static_cast<size_t>(column));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return compare(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]) < 0;
        });
    }
    emit layoutAboutToBeChanged();
    std::vector<Row> sorted;
    sorted.reserve(n);
    std::vector<int> newRow(n);
    for (size_t i = 0; i < n; ++i) {
        sorted.push_back(std::move(rows_[static_cast<size_t>(order[i])]));
        newRow[static_cast<size_t>(order[i])] = static_cast<int>(i);
    }
    rows_.swap(sorted);
    // Selection and focus stay with their rows.
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& i : from) {
        to.append(i.isValid() && i.row() < static_cast<int>(n) ? index(newRow[static_cast<size_t>(i.row())], i.column())
                                                               : QModelIndex());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged();
}

void ListModel::RowChanged(int row) {
    if (row < committed_) emit dataChanged(index(row, 0), index(row, static_cast<int>(columns.size()) - 1));
}

void ListModel::SetCheckBoxes(bool on) {
    beginResetModel();
    checkBoxes = on;
    endResetModel();
}

void ListModel::AddColumn(int index, Column c) {
    if (index < 0 || index > static_cast<int>(columns.size())) index = static_cast<int>(columns.size());
    beginInsertColumns(QModelIndex(), index, index);
    columns.insert(columns.begin() + index, std::move(c));
    for (Row& r : rows_) packed::InsertEmpty(r.cells, static_cast<size_t>(index));
    endInsertColumns();
}

namespace {

class ListTableView : public QTableView {
public:
    using QTableView::QTableView;
    void scrollTo(const QModelIndex& index, ScrollHint hint) override {
        QScrollBar* h = horizontalScrollBar();
        const int x = h->value();
        QTableView::scrollTo(index, hint);
        h->setValue(x);
    }

protected:
    // The grid goes on below the rows, in empty rows of the same height.
    void paintEvent(QPaintEvent* e) override {
        QTableView::paintEvent(e);
        const int columns = horizontalHeader()->count();
        if (!showGrid() || columns == 0) return;
        const int rows = model() ? model()->rowCount() : 0;
        const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
        const int top = rows == 0 ? 0 : rowViewportPosition(rows - 1) + rowHeight;
        const int bottom = viewport()->height();
        const int right = columnViewportPosition(columns - 1) + columnWidth(columns - 1);
        if (top >= bottom || top < 0) return;
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QColor color(static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
        QPainter p(viewport());
        p.setPen(QPen(color, 0, gridStyle()));
        for (int y = top + rowHeight - 1; y < bottom; y += rowHeight) p.drawLine(0, y, right - 1, y);
        for (int c = 0; c < columns; ++c) {
            if (isColumnHidden(c)) continue;
            const int x = columnViewportPosition(c) + columnWidth(c) - 1;
            p.drawLine(x, top, x, bottom);
        }
    }
};

}  // namespace

QTableView* NewListView(QWidget* parent) { return new ListTableView(parent); }

}  // namespace uiimpl

namespace {

QTableView* View(const Window& w) { return qobject_cast<QTableView*>(W(w)); }
ListModel* Model(const Window& w) {
    QTableView* v = View(w);
    return v ? static_cast<ListModel*>(v->model()) : nullptr;
}

bool ValidRow(ListModel* m, int row) { return m && row >= 0 && row < m->Count(); }

}  // namespace

int ListView::InsertColumn(int index, const std::string& heading, int width, Align align) {
    ListModel* m = Model(*this);
    if (!m) return -1;
    if (index < 0 || index > static_cast<int>(m->columns.size())) index = static_cast<int>(m->columns.size());
    m->AddColumn(index, ListModel::Column{Q(heading), width, align});
    View(*this)->horizontalHeader()->resizeSection(index, width);
    return index;
}

void ListView::SetColumnAlign(int column, Align align) {
    ListModel* m = Model(*this);
    if (!m || column < 0 || column >= static_cast<int>(m->columns.size())) return;
    m->columns[static_cast<size_t>(column)].align = align;
    if (m->rowCount() > 0) emit m->dataChanged(m->index(0, column), m->index(m->rowCount() - 1, column));
}

int ListView::GetColumnCount() const {
    ListModel* m = Model(*this);
    return m ? static_cast<int>(m->columns.size()) : 0;
}

std::string ListView::GetColumnHeading(int column) const {
    ListModel* m = Model(*this);
    if (!m || column < 0 || column >= static_cast<int>(m->columns.size())) return {};
    return S(m->columns[static_cast<size_t>(column)].heading);
}

int ListView::GetColumnWidth(int column) const {
    QTableView* v = View(*this);
    return v ? v->horizontalHeader()->sectionSize(column) : 0;
}

void ListView::SetColumnWidth(int column, int width) {
    if (QTableView* v = View(*this)) v->horizontalHeader()->resizeSection(column, width);
}

void ListView::SetExtendedStyle(uint32_t styles) {
    QTableView* v = View(*this);
    ListModel* m = Model(*this);
    if (!v || !m) return;
    v->setProperty(kExStyleProperty, static_cast<uint>(styles));
    v->setShowGrid(styles & kExGridLines);
    if (m->checkBoxes != ((styles & kExCheckBoxes) != 0)) m->SetCheckBoxes(styles & kExCheckBoxes);
    v->viewport()->update();
}

uint32_t ListView::GetExtendedStyle() const {
    QTableView* v = View(*this);
    return v ? v->property(kExStyleProperty).toUInt() : 0;
}

void ListView::SetCheckBoxes(bool on) {
    const uint32_t styles = GetExtendedStyle();
    SetExtendedStyle(on ? styles | kExCheckBoxes : styles & ~static_cast<uint32_t>(kExCheckBoxes));
}

int ListView::GetItemCount() const {
    ListModel* m = Model(*this);
    return m ? m->Count() : 0;
}

int ListView::InsertItem(int index, const std::string& text) {
    ListModel* m = Model(*this);
    if (!m) return -1;
    ListModel::Row r;
    std::vector<std::string> cells(std::max<size_t>(1, m->columns.size()));
    cells[0] = text;
    r.cells = packed::Pack(cells);
    if (index < 0 || index >= m->Count()) return m->Append(std::move(r));
    return m->Insert(index, std::move(r));
}

int ListView::AppendRow(const std::vector<std::string>& cells) {
    ListModel* m = Model(*this);
    if (!m) return -1;
    ListModel::Row r;
    r.cells = packed::Pack(cells);
    for (size_t i = cells.size(); i < m->columns.size(); ++i) r.cells += '\0';
    return m->Append(std::move(r));
}

bool ListView::SetItemText(int row, int column, const std::string& text) {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row) || column < 0) return false;
    std::string& cells = m->rows_[static_cast<size_t>(row)].cells;
    if (static_cast<size_t>(column) >= std::max<size_t>(m->columns.size(), 1) &&
        static_cast<size_t>(column) >= packed::Count(cells))
        return false;
    packed::Set(cells, static_cast<size_t>(column), text);
    m->RowChanged(row);
    return true;
}

std::string ListView::GetItemText(int row, int column) const {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row) || column < 0) return {};
    return std::string(packed::Get(m->rows_[static_cast<size_t>(row)].cells, static_cast<size_t>(column)));
}

bool ListView::DeleteItem(int row) {
    ListModel* m = Model(*this);
    return m && m->Remove(row);
}

void ListView::DeleteAllItems() {
    if (ListModel* m = Model(*this)) m->Clear();
}

void ListView::SetItemData(int row, intptr_t data) {
    ListModel* m = Model(*this);
    if (ValidRow(m, row)) m->rows_[static_cast<size_t>(row)].data = data;
}

intptr_t ListView::GetItemData(int row) const {
    ListModel* m = Model(*this);
    return ValidRow(m, row) ? m->rows_[static_cast<size_t>(row)].data : 0;
}

void ListView::SetRowTextColor(int row, ColorRef color) {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return;
    auto& r = m->rows_[static_cast<size_t>(row)];
    r.color = color;
    r.hasColor = true;
    m->RowChanged(row);
}

ColorRef ListView::GetRowTextColor(int row) const {
    ListModel* m = Model(*this);
    return ValidRow(m, row) ? m->rows_[static_cast<size_t>(row)].color : 0;
}

void ListView::SetCellTextColor(int row, int column, ColorRef color) {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return;
    m->SetCellTextColor(m->rows_[static_cast<size_t>(row)], column, color);
    m->RowChanged(row);
}

ColorRef ListView::GetCellTextColor(int row, int column) const {
    ListModel* m = Model(*this);
    ColorRef c = MakeRgb(0, 0, 0);
    if (ValidRow(m, row)) m->CellTextColor(m->rows_[static_cast<size_t>(row)], column, c);
    return c;
}

void ListView::SetCellBackColor(int row, int column, ColorRef color) {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return;
    m->SetCellBackColor(m->rows_[static_cast<size_t>(row)], column, color);
    m->RowChanged(row);
}

ColorRef ListView::GetCellBackColor(int row, int column) const {
    ListModel* m = Model(*this);
    ColorRef c = MakeRgb(255, 255, 255);
    if (ValidRow(m, row)) m->CellBackColor(m->rows_[static_cast<size_t>(row)], column, c);
    return c;
}

void ListView::SetListColors(ColorRef text, ColorRef background) {
    QTableView* v = View(*this);
    if (!v) return;
    QPalette p = v->palette();
    p.setColor(QPalette::Text, ToQColor(text));
    p.setColor(QPalette::Base, ToQColor(background));
    v->setPalette(p);
}

void ListView::SetSelectionColors(ColorRef text, ColorRef background) {
    QTableView* v = View(*this);
    if (!v) return;
    QPalette p = v->palette();
    // The same look whether or not the list has the focus.
    p.setColor(QPalette::HighlightedText, ToQColor(text));
    p.setColor(QPalette::Highlight, ToQColor(background));
    v->setPalette(p);
}

bool ListView::GetCheck(int row) const {
    ListModel* m = Model(*this);
    return ValidRow(m, row) && m->rows_[static_cast<size_t>(row)].checked;
}

void ListView::SetCheck(int row, bool check) {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return;
    m->rows_[static_cast<size_t>(row)].checked = check;
    m->RowChanged(row);
}

int ListView::GetSelectionMark() const {
    QTableView* v = View(*this);
    if (!v) return -1;
    const QModelIndex cur = v->selectionModel()->currentIndex();
    if (cur.isValid() && v->selectionModel()->isRowSelected(cur.row(), QModelIndex())) return cur.row();
    const QModelIndexList rows = v->selectionModel()->selectedRows();
    if (!rows.isEmpty()) return rows.first().row();
    return cur.isValid() ? cur.row() : -1;
}

std::vector<int> ListView::GetSelectedRows() const {
    std::vector<int> out;
    QTableView* v = View(*this);
    if (!v) return out;
    for (const QModelIndex& i : v->selectionModel()->selectedRows()) out.push_back(i.row());
    std::sort(out.begin(), out.end());
    return out;
}

void ListView::SelectRow(int row, bool select) {
    QTableView* v = View(*this);
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return;
    m->Flush();
    const QModelIndex idx = m->index(row, 0);
    const auto flags = (select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                       QItemSelectionModel::Rows;
    v->selectionModel()->select(idx, flags);
    if (select) v->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
}

void ListView::ClearSelection() {
    if (QTableView* v = View(*this)) v->selectionModel()->clearSelection();
}

void ListView::EnsureVisible(int row) {
    QTableView* v = View(*this);
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return;
    m->Flush();
    v->scrollTo(m->index(row, 0));
}

// Columns scroll by pixels, rows one row at a time.

Point ListView::GetOrigin() const {
    QTableView* v = View(*this);
    if (!v) return {};
    return Point{v->horizontalScrollBar()->value(),
                 v->verticalScrollBar()->value() * v->verticalHeader()->defaultSectionSize()};
}

void ListView::Scroll(int dx, int dy) {
    QTableView* v = View(*this);
    if (!v) return;
    QScrollBar* h = v->horizontalScrollBar();
    QScrollBar* r = v->verticalScrollBar();
    h->setValue(h->value() + dx);
    r->setValue(r->value() + dy / std::max(1, v->verticalHeader()->defaultSectionSize()));
}

int ListView::GetTopIndex() const {
    QTableView* v = View(*this);
    return v ? std::max(0, v->rowAt(0)) : 0;
}

void ListView::SortByColumn(int column, bool ascending) {
    if (ListModel* m = Model(*this)) m->Sort(column, ascending);
}

void ListView::SortRows(int column, const std::function<int(std::string_view, std::string_view)>& compare) {
    ListModel* m = Model(*this);
    if (m && column >= 0 && compare) m->SortBy(column, compare);
}

bool ListView::SetItemState(int row, unsigned state, unsigned mask) {
    QTableView* v = View(*this);
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return false;
    m->Flush();
    const QModelIndex idx = m->index(row, 0);
    QItemSelectionModel* sm = v->selectionModel();
    if (mask & kStateFocused) {
        if (state & kStateFocused) sm->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
        else if (sm->currentIndex().row() == row) sm->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    if (mask & kStateSelected) {
        QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Deselect;
        if (state & kStateSelected) {
            flags = v->selectionMode() == QAbstractItemView::SingleSelection ? QItemSelectionModel::ClearAndSelect
                                                                              : QItemSelectionModel::Select;
        }
        sm->select(idx, flags | QItemSelectionModel::Rows);
    }
    return true;
}

unsigned ListView::GetItemState(int row, unsigned mask) const {
    QTableView* v = View(*this);
    ListModel* m = Model(*this);
    if (!ValidRow(m, row) || row >= m->rowCount()) return 0;
    unsigned state = 0;
    if (v->selectionModel()->currentIndex().isValid() && v->selectionModel()->currentIndex().row() == row)
        state |= kStateFocused;
    if (v->selectionModel()->isRowSelected(row, QModelIndex())) state |= kStateSelected;
    return state & mask;
}

int ListView::GetStringWidth(const std::string& text) const {
    QTableView* v = View(*this);
    return v ? v->fontMetrics().horizontalAdvance(Q(text)) : 0;
}

void ListView::ClickColumn(int column) {
    QTableView* v = View(*this);
    if (!v || column < 0 || column >= v->horizontalHeader()->count()) return;
    emit v->horizontalHeader()->sectionClicked(column);
}

int ListView::LastClickedColumn() const {
    QWidget* w = W(*this);
    if (!w) return -1;
    const QVariant c = w->property("kvt_lastColumn");
    return c.isValid() ? c.toInt() : -1;
}

int ListView::LastClickedRow() const {
    QWidget* w = W(*this);
    return w ? w->property("kvt_lastRow").toInt() : -1;
}
