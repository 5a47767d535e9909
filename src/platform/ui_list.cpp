// Report list control over a table model.

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>

#include <algorithm>

#include "platform/ui_internal.h"

using namespace uiimpl;

namespace uiimpl {

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
        case Qt::DisplayRole:
            return col < r.cells.size() ? Q(r.cells[col]) : QString();
        case Qt::TextAlignmentRole: {
            const ListView::Align a = col < columns.size() ? columns[col].align : ListView::kLeft;
            const Qt::Alignment h = a == ListView::kCenter ? Qt::AlignHCenter
                                    : a == ListView::kRight ? Qt::AlignRight
                                                            : Qt::AlignLeft;
            return QVariant::fromValue(h | Qt::AlignVCenter);
        }
        case Qt::ForegroundRole:
            for (const auto& cc : r.cellColors)
                if (cc.first == index.column()) return ToQColor(cc.second);
            if (r.hasColor) return ToQColor(r.color);
            return {};
        case Qt::CheckStateRole:
            if (checkBoxes && index.column() == 0) return r.checked ? Qt::Checked : Qt::Unchecked;
            return {};
        default:
            return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns.size())) return {};
    if (role == Qt::DisplayRole) return columns[static_cast<size_t>(section)].heading;
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
    }
}

void ListModel::ScheduleFlush() {
    if (flushPending_) return;
    flushPending_ = true;
    QTimer::singleShot(0, this, [this] { Flush(); });
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
    Flush();
    emit layoutAboutToBeChanged();
    const size_t c = static_cast<size_t>(column);
    std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
        const std::string& x = c < a.cells.size() ? a.cells[c] : std::string();
        const std::string& y = c < b.cells.size() ? b.cells[c] : std::string();
        return ascending ? x < y : y < x;
    });
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
    for (Row& r : rows_)
        if (static_cast<int>(r.cells.size()) > index) r.cells.insert(r.cells.begin() + index, std::string());
    endInsertColumns();
}

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

void ListView::SetCheckBoxes(bool on) {
    if (ListModel* m = Model(*this)) m->SetCheckBoxes(on);
}

int ListView::GetItemCount() const {
    ListModel* m = Model(*this);
    return m ? m->Count() : 0;
}

int ListView::InsertItem(int index, const std::string& text) {
    ListModel* m = Model(*this);
    if (!m) return -1;
    ListModel::Row r;
    r.cells.resize(std::max<size_t>(1, m->columns.size()));
    r.cells[0] = text;
    if (index < 0 || index >= m->Count()) return m->Append(std::move(r));
    return m->Insert(index, std::move(r));
}

int ListView::AppendRow(const std::vector<std::string>& cells) {
    ListModel* m = Model(*this);
    if (!m) return -1;
    ListModel::Row r;
    r.cells = cells;
    if (r.cells.size() < m->columns.size()) r.cells.resize(m->columns.size());
    return m->Append(std::move(r));
}

bool ListView::SetItemText(int row, int column, const std::string& text) {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row) || column < 0) return false;
    auto& cells = m->rows_[static_cast<size_t>(row)].cells;
    if (static_cast<size_t>(column) >= cells.size()) {
        if (static_cast<size_t>(column) >= std::max<size_t>(m->columns.size(), 1)) return false;
        cells.resize(static_cast<size_t>(column) + 1);
    }
    cells[static_cast<size_t>(column)] = text;
    m->RowChanged(row);
    return true;
}

std::string ListView::GetItemText(int row, int column) const {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row) || column < 0) return {};
    const auto& cells = m->rows_[static_cast<size_t>(row)].cells;
    return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : std::string();
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
    auto& cc = m->rows_[static_cast<size_t>(row)].cellColors;
    for (auto& p : cc) {
        if (p.first == column) {
            p.second = color;
            m->RowChanged(row);
            return;
        }
    }
    cc.emplace_back(column, color);
    m->RowChanged(row);
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

int ListView::GetTopIndex() const {
    QTableView* v = View(*this);
    return v ? std::max(0, v->rowAt(0)) : 0;
}

void ListView::SortByColumn(int column, bool ascending) {
    if (ListModel* m = Model(*this)) m->Sort(column, ascending);
}

int ListView::LastClickedRow() const {
    QWidget* w = W(*this);
    return w ? w->property("kvt_lastRow").toInt() : -1;
}
