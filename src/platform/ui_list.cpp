// Report list control over a table model.

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QPixmapCache>
#include <QProxyStyle>
#include <QRawFont>
#include <QGlyphRun>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numeric>
#include <system_error>
#include <thread>

#include "platform/memory.h"
#include "platform/sync.h"
#include "platform/ui_internal.h"

using namespace uiimpl;

ListCell ListCell::TimeStamp(const SystemTime& t) {
    // Every field that the text shows, in 52 bits; fields out of their ranges go as text.
    if (t.milliseconds < 1024 && t.second < 64 && t.minute < 64 && t.hour < 32 && t.day < 32 && t.month < 16) {
        const uint64_t v = static_cast<uint64_t>(t.milliseconds) | static_cast<uint64_t>(t.second) << 10 |
                           static_cast<uint64_t>(t.minute) << 16 | static_cast<uint64_t>(t.hour) << 22 |
                           static_cast<uint64_t>(t.day) << 27 | static_cast<uint64_t>(t.month) << 32 |
                           static_cast<uint64_t>(t.year) << 36;
        return ListCell(kTimeStamp, nullptr, 0, v);
    }
    return ListCell(kTimeStamp, reinterpret_cast<const char*>(&t), sizeof t, 0);
}

namespace uiimpl {

void CompactBytes::Assign(std::string_view bytes) {
    Free();
    if (bytes.size() <= kInline) {
        if (!bytes.empty()) std::memcpy(buf_, bytes.data(), bytes.size());
        len_ = static_cast<uint8_t>(bytes.size());
        return;
    }
    char* p = new char[bytes.size()];
    std::memcpy(p, bytes.data(), bytes.size());
    const uint32_t n = static_cast<uint32_t>(bytes.size());
    std::memcpy(buf_, &p, sizeof p);
    std::memcpy(buf_ + sizeof p, &n, sizeof n);
    len_ = kHeap;
}

char* CompactBytes::HeapPtr() const {
    char* p = nullptr;
    std::memcpy(&p, buf_, sizeof p);
    return p;
}

uint32_t CompactBytes::HeapSize() const {
    uint32_t n = 0;
    std::memcpy(&n, buf_ + sizeof(char*), sizeof n);
    return n;
}

namespace packed {

namespace {

constexpr unsigned kKindBits = 3;

void PutLength(std::string& out, size_t n) {
    while (n >= 0x80) {
        out += static_cast<char>((n & 0x7F) | 0x80);
        n >>= 7;
    }
    out += static_cast<char>(n);
}

// Reads the length at pos and moves pos past it.
size_t GetLength(std::string_view s, size_t& pos) {
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

void PutHeader(std::string& out, ListCell::Kind kind, size_t n) { PutLength(out, n << kKindBits | kind); }

// Position of the header of cell `column`; sets found to the index reached.
size_t CellStart(std::string_view row, size_t column, size_t& found) {
    size_t pos = 0;
    found = 0;
    while (found < column && pos < row.size()) {
        const size_t n = GetLength(row, pos) >> kKindBits;
        pos = std::min(row.size(), pos + n);
        ++found;
    }
    return pos;
}

void PutLittle(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint64_t GetLittle(std::string_view s) {
    uint64_t v = 0;
    for (size_t i = 0; i < s.size() && i < 8; ++i) v |= static_cast<uint64_t>(static_cast<unsigned char>(s[i])) << (8 * i);
    return v;
}

// Decimal digits of v, at least width of them.
void PutDecimal(std::string& out, uint64_t v, int width) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    for (int i = n; i < width; ++i) out += '0';
    while (n) out += digits[--n];
}

void PutInt(std::string& out, int32_t v, int width) {
    if (v < 0) {
        out += '-';
        // "%02d" counts the sign in the width.
        PutDecimal(out, static_cast<uint64_t>(-static_cast<int64_t>(v)), width - 1);
        return;
    }
    PutDecimal(out, static_cast<uint64_t>(v), width);
}

void FormatCell(ListCell::Kind kind, std::string_view payload, std::string& out) {
    switch (kind) {
        case ListCell::kText: out.append(payload.data(), payload.size()); return;
        case ListCell::kHexBytes: {
            static const char kDigits[] = "0123456789ABCDEF";
            out.reserve(out.size() + payload.size() * 3);
            for (char c : payload) {
                const auto b = static_cast<unsigned char>(c);
                out += kDigits[b >> 4];
                out += kDigits[b & 0xF];
                out += ' ';
            }
            return;
        }
        case ListCell::kTimeStamp: {
            const uint64_t v = GetLittle(payload);
            PutDecimal(out, v >> 36 & 0xFFFF, 4);
            out += '-';
            PutDecimal(out, v >> 32 & 0xF, 2);
            out += '-';
            PutDecimal(out, v >> 27 & 0x1F, 2);
            out += ' ';
            PutDecimal(out, v >> 22 & 0x1F, 2);
            out += ':';
            PutDecimal(out, v >> 16 & 0x3F, 2);
            out += ':';
            PutDecimal(out, v >> 10 & 0x3F, 2);
            out += ':';
            PutDecimal(out, v & 0x3FF, 3);
            return;
        }
        case ListCell::kNumber:
        case ListCell::kNumber2:
            PutInt(out, static_cast<int32_t>(static_cast<uint32_t>(GetLittle(payload))), kind == ListCell::kNumber2 ? 2 : 0);
            return;
    }
}

}  // namespace

std::string Pack(const std::vector<std::string>& cells) {
    size_t total = 0;
    for (const std::string& c : cells) total += c.size() + 1 + (c.size() >= 0x10 ? 2 : 0);
    std::string out;
    out.reserve(total);
    for (const std::string& c : cells) {
        PutHeader(out, ListCell::kText, c.size());
        out += c;
    }
    return out;
}

void AppendCell(std::string& row, const ListCell& cell) {
    switch (cell.kind) {
        case ListCell::kText:
        case ListCell::kHexBytes:
            PutHeader(row, cell.kind, cell.size);
            if (cell.size) row.append(cell.data, cell.size);
            return;
        case ListCell::kTimeStamp:
            if (cell.data) {
                // Fields the compact form cannot hold: kept as text.
                SystemTime t;
                std::memcpy(&t, cell.data, sizeof t);
                char text[64];
                const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d:%03d", t.year, t.month,
                                            t.day, t.hour, t.minute, t.second, t.milliseconds);
                PutHeader(row, ListCell::kText, static_cast<size_t>(std::max(n, 0)));
                row.append(text, static_cast<size_t>(std::max(n, 0)));
                return;
            }
            PutHeader(row, cell.kind, 7);
            PutLittle(row, cell.value, 7);
            return;
        case ListCell::kNumber:
        case ListCell::kNumber2:
            PutHeader(row, cell.kind, 4);
            PutLittle(row, cell.value, 4);
            return;
    }
}

size_t Count(std::string_view row) {
    size_t found = 0;
    CellStart(row, static_cast<size_t>(-1), found);
    return found;
}

void Text(std::string_view row, size_t column, std::string& out) {
    size_t found = 0;
    size_t pos = CellStart(row, column, found);
    if (found < column || pos >= row.size()) return;
    const size_t header = GetLength(row, pos);
    const size_t n = std::min(header >> kKindBits, row.size() - pos);
    FormatCell(static_cast<ListCell::Kind>(header & ((1u << kKindBits) - 1)), row.substr(pos, n), out);
}

std::string Text(std::string_view row, size_t column) {
    std::string out;
    Text(row, column, out);
    return out;
}

void Set(std::string& row, size_t column, std::string_view text) {
    size_t found = 0;
    size_t pos = CellStart(row, column, found);
    std::string cell;
    cell.reserve(text.size() + 3);
    for (; found < column; ++found) PutHeader(cell, ListCell::kText, 0);
    PutHeader(cell, ListCell::kText, text.size());
    cell.append(text.data(), text.size());
    if (pos >= row.size()) {
        row += cell;
        return;
    }
    const size_t start = pos;
    const size_t n = GetLength(row, pos) >> kKindBits;
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

namespace {

constexpr int kTrimAfterRows = 10000;

}  // namespace

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : committed_; }

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns.size());
}

static QColor ToQColor(ColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

static Qt::Alignment ToQtAlign(ListView::Align a) {
    return a == ListView::kCenter ? Qt::AlignHCenter : a == ListView::kRight ? Qt::AlignRight : Qt::AlignLeft;
}

void ListModel::CellText(const Row& r, int column, std::string& out) const {
    if (column >= 0) packed::Text(r.cells.View(), static_cast<size_t>(column), out);
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= committed_) return {};
    const Row& r = RowAt(index.row());
    switch (role) {
        case Qt::DisplayRole: {
            std::string t;
            CellText(r, index.column(), t);
            return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(ToQtAlign(ColumnAlign(index.column())) | Qt::AlignVCenter);
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
            if (checkBoxes && index.column() == 0) return r.Has(Row::kChecked) ? Qt::Checked : Qt::Unchecked;
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
    if (r.Has(Row::kUniformCells)) {
        out = r.cellColor;
        return true;
    }
    if (r.Has(Row::kHasColor)) {
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
    if (r.Has(Row::kUniformCells)) {
        if (r.cellColor == color) return;
        // One cell leaves the common colour: every cell gets its own entry.
        if (!r.cellColors) r.cellColors = std::make_unique<CellColors>();
        r.cellColors->text.reserve(static_cast<size_t>(n));
        for (int c = 0; c < n; ++c) r.cellColors->text.emplace_back(c, r.cellColor);
        r.Set(Row::kUniformCells, false);
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
            r.Set(Row::kUniformCells, true);
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
    RowAt(index.row()).Set(Row::kChecked, value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    ++userChecks;
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

void ListModel::SetRowLimit(int maxRows, int dropRows) {
    maxRows_ = std::max(1, maxRows);
    dropRows_ = std::clamp(dropRows, 1, maxRows_);
}

void ListModel::DropOldest() {
    if (static_cast<int>(rows_.size()) < maxRows_) return;
    Flush();
    RemoveRange(0, std::min(static_cast<size_t>(dropRows_), rows_.size()));
}

QItemSelectionModel* ListModel::Selection() const {
    const auto* view = qobject_cast<const QAbstractItemView*>(parent());
    return view && view->model() == this ? view->selectionModel() : nullptr;
}

void ListModel::RemoveRange(size_t first, size_t end) {
    const int top = static_cast<int>(first), bottom = static_cast<int>(end);
    // The dropped rows leave the selection and the focus first, so the removal has nothing to move
    // onto another row. Selection ranges are cut, never split into cells: the cost does not grow
    // with the selection. The owner hears of none of this: no row it sees selected changes.
    dropping_ = true;
    QItemSelectionModel* sm = Selection();
    if (sm && !columns.empty()) {
        const QModelIndex current = sm->currentIndex();
        if (current.isValid() && current.row() >= top && current.row() < bottom)
            sm->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        if (sm->hasSelection()) {
            sm->select(QItemSelection(index(top, 0), index(bottom - 1, static_cast<int>(columns.size()) - 1)),
                       QItemSelectionModel::Deselect);
        }
    }
    beginRemoveRows(QModelIndex(), top, bottom - 1);
    rows_.erase(rows_.begin() + top, rows_.begin() + bottom);
    committed_ = static_cast<int>(rows_.size());
    endRemoveRows();
    dropping_ = false;
}

int ListModel::Append(Row row) {
    DropOldest();
    rows_.push_back(std::move(row));
    ScheduleFlush();
    return static_cast<int>(rows_.size()) - 1;
}

int ListModel::Insert(int index, Row row) {
    Flush();
    if (index < 0 || index >= static_cast<int>(rows_.size())) {
        DropOldest();
        rows_.push_back(std::move(row));
        Flush();
        return static_cast<int>(rows_.size()) - 1;
    }
    if (static_cast<int>(rows_.size()) >= maxRows_) {
        const int before = static_cast<int>(rows_.size());
        DropOldest();
        index = std::max(0, index - (before - static_cast<int>(rows_.size())));
    }
    beginInsertRows(QModelIndex(), index, index);
    rows_.insert(rows_.begin() + index, std::move(row));
    committed_ = static_cast<int>(rows_.size());
    endInsertRows();
    return index;
}

int ListModel::InsertBlock(int index, std::deque<Row>& rows, size_t& removed, size_t& refused) {
    Flush();
    const size_t count = rows_.size();
    size_t at = index < 0 ? count : std::min(count, static_cast<size_t>(index));
    // Past the limit the rows that were there go first, from the top, whole drops at a time as
    // appends drop them; then the block keeps as many of its first rows as fit.
    const size_t total = count + rows.size();
    const size_t maxRows = static_cast<size_t>(maxRows_);
    const size_t dropRows = static_cast<size_t>(dropRows_);
    removed = total > maxRows ? std::min(count, (total - maxRows + dropRows - 1) / dropRows * dropRows) : 0;
    if (removed > 0) {
        RemoveRange(0, removed);
        at -= std::min(removed, at);
    }
    const size_t added = std::min(rows.size(), maxRows - rows_.size());
    refused = rows.size() - added;
    if (added == 0) {
        rows.clear();
        return -1;
    }
    beginInsertRows(QModelIndex(), static_cast<int>(at), static_cast<int>(at + added) - 1);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(added)));
    committed_ = static_cast<int>(rows_.size());
    endInsertRows();
    rows.clear();
    return static_cast<int>(at);
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

bool ListModel::Clear() {
    const bool big = rows_.size() >= static_cast<size_t>(kTrimAfterRows);
    beginResetModel();
    std::deque<Row>().swap(rows_);
    committed_ = 0;
    endResetModel();
    return big;
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
        std::vector<std::string> keys(n);
        for (size_t i = 0; i < n; ++i) CellText(rows_[i], column, keys[i]);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return compare(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]) < 0;
        });
    }
    emit layoutAboutToBeChanged();
    std::deque<Row> sorted;
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

namespace {

// Runs work(part) for each part, all but the first on threads of their own, and returns when
// every part is done. A part whose thread cannot be had runs here.
template <typename Work>
void RunParts(size_t parts, const Work& work) {
    std::vector<std::thread> threads;
    threads.reserve(parts);
    for (size_t p = 1; p < parts; ++p) {
        try {
            threads.emplace_back([&work, p] { work(p); });
        } catch (const std::system_error&) {
            work(p);
        }
    }
    work(0);
    for (std::thread& t : threads) t.join();
}

// Raw room for rows moved bitwise.
struct alignas(ListModel::Row) RowSlot {
    unsigned char bytes[sizeof(ListModel::Row)];
};

}  // namespace

template <typename Drop>
int ListModel::RemoveRowsWhere(Drop drop) {
    Flush();
    const size_t n = rows_.size();
    const auto begin = rows_.begin();
    const auto end = rows_.end();
    // Iterators, not indexes: a deque's index costs a division per row.
    size_t first = 0;
    for (auto it = begin; it != end && !drop(first, *it); ++it) ++first;
    if (first == n) return 0;

    // The rows from the first dropped one on are looked at, and moved, in parts on threads of
    // their own: on a long list one core's share of the memory's speed is the bound.
    constexpr size_t kRowsPerPart = 131072;
    constexpr size_t kMaxParts = 4;
    const size_t parts = std::min<size_t>(
        std::min<size_t>(AllowedCpuCount(), kMaxParts),
        (n - first + kRowsPerPart - 1) / kRowsPerPart);
    // The dropped rows' old indexes as runs [first, end), with the rows dropped above each run.
    struct Run {
        size_t first, end, above;
    };
    struct Part {
        size_t from = 0, to = 0;
        size_t kept = 0;
        size_t dest = 0;                  // where its first kept row goes
        size_t savedFrom = 0, savedAt = 0;  // its rows from savedFrom on wait in saved[savedAt...]
        std::vector<Run> runs;
    };
    std::vector<Part> part(parts);
    for (size_t p = 0; p < parts; ++p) {
        part[p].from = first + (n - first) * p / parts;
        part[p].to = first + (n - first) * (p + 1) / parts;
        // Room for every run the part can have, taken here: a thread's first allocation would
        // set up a heap of its own. Untouched room costs no memory.
        part[p].runs.reserve((part[p].to - part[p].from) / 2 + 1);
    }
    RunParts(parts, [&](size_t p) {
        // Counted here, not in the part: parts share cache lines.
        const size_t stop = part[p].to;
        size_t count = 0;
        std::vector<Run> found;
        found.swap(part[p].runs);
        size_t i = part[p].from;
        for (auto r = begin + static_cast<std::ptrdiff_t>(i); i < stop; ++r, ++i) {
            if (!drop(i, *r)) {
                ++count;
            } else if (!found.empty() && found.back().end == i) {
                ++found.back().end;
            } else {
                found.push_back({i, i + 1, 0});
            }
        }
        part[p].kept = count;
        part[p].runs.swap(found);
    });
    std::vector<Run> runs;
    size_t runCount = 0;
    for (const Part& p : part) runCount += p.runs.size();
    runs.reserve(runCount);
    size_t kept = first;
    for (Part& p : part) {
        p.dest = kept;
        kept += p.kept;
        for (const Run& r : p.runs) {
            if (!runs.empty() && runs.back().end == r.first) {
                runs.back().end = r.end;
            } else {
                const size_t above = runs.empty() ? 0 : runs.back().above + (runs.back().end - runs.back().first);
                runs.push_back({r.first, r.end, above});
            }
        }
        std::vector<Run>().swap(p.runs);
    }
    if (runs.size() == 1) {
        // One range (the oldest rows of a list in time order).
        RemoveRange(runs.front().first, runs.front().end);
        return static_cast<int>(runs.front().end - runs.front().first);
    }

    // Scattered rows: the kept rows move up in place, and the places left at the end go as one
    // range (a removal per run would cost the view a pass over every row each time). Selection
    // and focus move with their rows; a dropped row leaves them, and no other row takes them.
    // The last run that begins at or above row, if any.
    const auto runFrom = [&runs](size_t row) -> const Run* {
        auto after = std::upper_bound(runs.begin(), runs.end(), row, [](size_t r, const Run& run) { return r < run.first; });
        return after == runs.begin() ? nullptr : &*(after - 1);
    };
    // A row's new index: less the dropped rows above it; none when it was dropped.
    const auto newRow = [&runFrom](size_t row) {
        const Run* run = runFrom(row);
        if (!run) return static_cast<int>(row);
        if (row < run->end) return -1;
        return static_cast<int>(row - run->above - (run->end - run->first));
    };
    const auto newIndex = [&](const QModelIndex& i) {
        const int row = i.isValid() && i.row() < static_cast<int>(n) ? newRow(static_cast<size_t>(i.row())) : -1;
        return row >= 0 ? index(row, i.column()) : QModelIndex();
    };
    // Rows are moved bitwise, so every place is written once. A part's kept rows go below its
    // own first row, over rows of the parts above it: those rows (from the next part's first
    // place on) are set aside first. When that is much, one part moves everything instead.
    size_t saving = 0;
    for (size_t p = 0; p + 1 < parts; ++p) {
        part[p].savedFrom = std::max(part[p + 1].dest, part[p].from);
        part[p].savedAt = saving;
        saving += part[p].to - part[p].savedFrom;
    }
    if (saving > (n - first) / 4) {
        part.resize(1);
        part[0].to = n;
        saving = 0;
    }
    part.back().savedFrom = part.back().to;
    std::unique_ptr<RowSlot[]> saved(saving ? new RowSlot[saving] : nullptr);
    // When a selection range begins or ends on a dropped row, the selection is taken out and put
    // back after the move: each range's kept rows stand together then. The cost goes with the
    // ranges, not with their rows. The owner hears of none of this.
    dropping_ = true;
    QItemSelectionModel* sm = Selection();
    struct KeptRange {
        int top, left, bottom, right;
    };
    std::vector<KeptRange> keptRanges;
    bool reselect = false;
    if (sm && !columns.empty()) {
        // The run that holds row, if any.
        const auto runAt = [&runFrom](size_t row) -> const Run* {
            const Run* run = runFrom(row);
            return run && row < run->end ? run : nullptr;
        };
        {
            const QItemSelection selected = sm->selection();
            for (const QItemSelectionRange& range : selected) {
                if (!range.isValid()) continue;
                const Run* above = runAt(static_cast<size_t>(range.top()));
                const Run* below = runAt(static_cast<size_t>(range.bottom()));
                reselect = reselect || above || below;
                const long top = above ? static_cast<long>(above->end) : range.top();
                const long bottom = below ? static_cast<long>(below->first) - 1 : range.bottom();
                if (top <= bottom) {
                    keptRanges.push_back({newRow(static_cast<size_t>(top)), range.left(),
                                          newRow(static_cast<size_t>(bottom)), range.right()});
                }
            }
        }
        const QModelIndex current = sm->currentIndex();
        if (current.isValid() && newRow(static_cast<size_t>(current.row())) < 0)
            sm->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        if (reselect) sm->clearSelection();
    }
    const QModelIndexList from = persistentIndexList();
    RunParts(part.size(), [&](size_t p) {
        const Part& me = part[p];
        auto r = begin + static_cast<std::ptrdiff_t>(me.savedFrom);
        for (size_t i = me.savedFrom; i < me.to; ++i, ++r) {
            std::memcpy(saved[me.savedAt + (i - me.savedFrom)].bytes, static_cast<const void*>(&*r), sizeof(Row));
        }
    });
    RunParts(part.size(), [&](size_t p) {
        const Part& me = part[p];
        const size_t stop = me.to, savedFrom = me.savedFrom, savedAt = me.savedAt;
        auto write = begin + static_cast<std::ptrdiff_t>(me.dest);
        auto r = begin + static_cast<std::ptrdiff_t>(me.from);
        for (size_t i = me.from; i < stop; ++i, ++r) {
            Row* row = i < savedFrom ? &*r : reinterpret_cast<Row*>(saved[savedAt + (i - savedFrom)].bytes);
            if (drop(i, *row)) {
                row->~Row();
                continue;
            }
            if (&*write != row) std::memcpy(static_cast<void*>(&*write), static_cast<const void*>(row), sizeof(Row));
            ++write;
        }
    });
    // The places from the last kept row on hold moved or dropped rows' bytes: empty rows now.
    for (auto r = begin + static_cast<std::ptrdiff_t>(kept); r != end; ++r) new (static_cast<void*>(&*r)) Row();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& i : from) to.append(newIndex(i));
    changePersistentIndexList(from, to);
    beginRemoveRows(QModelIndex(), static_cast<int>(kept), static_cast<int>(n) - 1);
    rows_.erase(begin + static_cast<std::ptrdiff_t>(kept), end);
    committed_ = static_cast<int>(rows_.size());
    endRemoveRows();
    if (!columns.empty()) {
        emit dataChanged(index(static_cast<int>(first), 0),
                         index(static_cast<int>(kept) - 1, static_cast<int>(columns.size()) - 1));
    }
    if (reselect && !keptRanges.empty()) {
        QItemSelection restored;
        restored.reserve(static_cast<qsizetype>(keptRanges.size()));
        for (const KeptRange& r : keptRanges)
            restored.append(QItemSelectionRange(index(r.top, r.left), index(r.bottom, r.right)));
        sm->select(restored, QItemSelectionModel::Select);
    }
    dropping_ = false;
    return static_cast<int>(n - kept);
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
    for (Row& r : rows_) {
        std::string cells(r.cells.View());
        packed::InsertEmpty(cells, static_cast<size_t>(index));
        r.cells.Assign(cells);
    }
    endInsertColumns();
}

namespace {

// Draws the cells of a list. A cell of printable ASCII text that fits its column (the usual
// cell: times, numbers, frames in hexadecimal) is drawn as the style would draw it, but from
// glyphs looked up once per font, with no text shaping; any other cell goes to the style.
class ListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    using QStyledItemDelegate::initStyleOption;

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const auto* m = static_cast<const ListModel*>(index.model());
        if (!PaintFast(p, option, index, *m)) QStyledItemDelegate::paint(p, option, index);
    }

    static constexpr int kFirst = 0x20;
    static constexpr int kCount = 0x7F - kFirst;

    struct Glyphs {
        QFont font;
        bool loaded = false;
        QRawFont raw;
        quint32 index[kCount] = {};
        qreal advance[kCount] = {};
        quint32 ellipsis = 0;  // U+2026, 0 when the font has none
        qreal ellipsisAdvance = 0;
        qreal ascent = 0;
        int height = 0;
    };

    const Glyphs& GlyphsFor(const QFont& font) const {
        if (glyphs_.loaded && glyphs_.font == font) return glyphs_;
        glyphs_ = Glyphs();
        glyphs_.font = font;
        glyphs_.loaded = true;
        glyphs_.raw = QRawFont::fromFont(font);
        if (!glyphs_.raw.isValid()) return glyphs_;
        QString chars;
        for (int c = 0; c < kCount; ++c) chars += QChar(kFirst + c);
        const QList<quint32> idx = glyphs_.raw.glyphIndexesForString(chars);
        if (idx.size() != kCount) {
            glyphs_.raw = QRawFont();
            return glyphs_;
        }
        const QList<QPointF> adv = glyphs_.raw.advancesForGlyphIndexes(idx);
        for (int c = 0; c < kCount; ++c) {
            glyphs_.index[c] = idx[c];
            glyphs_.advance[c] = c < adv.size() ? adv[c].x() : 0;
        }
        const QList<quint32> dots = glyphs_.raw.glyphIndexesForString(QString(QChar(0x2026)));
        if (dots.size() == 1 && dots[0] != 0) {
            glyphs_.ellipsis = dots[0];
            const QList<QPointF> dotsAdvance = glyphs_.raw.advancesForGlyphIndexes(dots);
            glyphs_.ellipsisAdvance = dotsAdvance.isEmpty() ? 0 : dotsAdvance[0].x();
        }
        const QFontMetricsF fm(font);
        glyphs_.ascent = fm.ascent();
        glyphs_.height = static_cast<int>(fm.ascent() + fm.descent());
        return glyphs_;
    }

    // One line of printable ASCII text from the cached glyphs, at x with its box's top at top;
    // false (nothing drawn) for any other text or a font without them.
    bool DrawAscii(QPainter* p, const QFont& font, std::string_view text, qreal x, int top) const {
        const Glyphs& g = GlyphsFor(font);
        if (!g.raw.isValid()) return false;
        QList<quint32> glyphs;
        QList<QPointF> positions;
        glyphs.reserve(static_cast<qsizetype>(text.size()));
        positions.reserve(static_cast<qsizetype>(text.size()));
        qreal at = 0;
        for (char c : text) {
            const int i = static_cast<unsigned char>(c) - kFirst;
            if (i < 0 || i >= kCount || g.index[i] == 0) return false;
            glyphs.append(g.index[i]);
            positions.append(QPointF(at, 0));
            at += g.advance[i];
        }
        QGlyphRun run;
        run.setRawFont(g.raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        p->drawGlyphRun(QPointF(x, top + g.ascent), run);
        return true;
    }

    int LineHeight(const QFont& font) const {
        const Glyphs& g = GlyphsFor(font);
        return g.raw.isValid() ? g.height : QFontMetrics(font).height();
    }

private:
    bool PaintFast(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index, const ListModel& m) const {
        // Focus frames and check boxes: the style's.
        if ((option.state & QStyle::State_HasFocus) || (m.checkBoxes && index.column() == 0)) return false;
        if (index.row() >= m.Count()) return false;
        const ListModel::Row& r = m.RowAt(index.row());
        text_.clear();
        m.CellText(r, index.column(), text_);
        const Glyphs& g = GlyphsFor(option.font);
        if (!g.raw.isValid()) return false;
        qreal width = 0;
        for (char c : text_) {
            const int i = static_cast<unsigned char>(c) - kFirst;
            if (i < 0 || i >= kCount || g.index[i] == 0) return false;
            width += g.advance[i];
        }
        const QWidget* w = option.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 1;
        const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
        // Too wide: the characters that fit before an ellipsis, as the style elides on the right.
        size_t shown = text_.size();
        bool elided = false;
        if (width > textRect.width()) {
            const qreal available = textRect.width() - g.ellipsisAdvance;
            if (g.ellipsis == 0 || available <= 0 || option.textElideMode != Qt::ElideRight) return false;
            qreal sum = 0;
            shown = 0;
            while (shown < text_.size()) {
                sum += g.advance[static_cast<unsigned char>(text_[shown]) - kFirst];
                if (sum >= available) break;
                ++shown;
            }
            elided = true;
            width = 0;
            for (size_t i = 0; i < shown; ++i) width += g.advance[static_cast<unsigned char>(text_[i]) - kFirst];
            width += g.ellipsisAdvance;
        }

        QPalette::ColorGroup cg = (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        if (cg == QPalette::Normal && !(option.state & QStyle::State_Active)) cg = QPalette::Inactive;
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        ColorRef c = 0;
        if (selected) {
            p->fillRect(option.rect, option.palette.brush(cg, QPalette::Highlight));
        } else if (m.CellBackColor(r, index.column(), c)) {
            p->fillRect(option.rect, ToQColor(c));
        }
        if (text_.empty()) return true;
        QColor pen = option.palette.color(cg, QPalette::Text);
        if (selected) pen = option.palette.color(cg, QPalette::HighlightedText);
        else if (m.CellTextColor(r, index.column(), c)) pen = ToQColor(c);

        qreal x = textRect.left();
        const ListView::Align align = m.ColumnAlign(index.column());
        if (align == ListView::kCenter) x += (textRect.width() - width) / 2;
        else if (align == ListView::kRight) x += textRect.width() - width;
        const int top = textRect.top() + (textRect.height() - g.height) / 2;

        QList<quint32> glyphs;
        QList<QPointF> positions;
        glyphs.reserve(static_cast<qsizetype>(shown + 1));
        positions.reserve(static_cast<qsizetype>(shown + 1));
        qreal at = 0;
        for (size_t k = 0; k < shown; ++k) {
            const int i = static_cast<unsigned char>(text_[k]) - kFirst;
            glyphs.append(g.index[i]);
            positions.append(QPointF(at, 0));
            at += g.advance[i];
        }
        if (elided) {
            glyphs.append(g.ellipsis);
            positions.append(QPointF(at, 0));
        }
        QGlyphRun run;
        run.setRawFont(g.raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        p->save();
        p->setClipRect(option.rect, Qt::IntersectClip);
        p->setPen(pen);
        p->drawGlyphRun(QPointF(x, top + g.ascent), run);
        p->restore();
        return true;
    }

    mutable Glyphs glyphs_;
    mutable std::string text_;
};

// The style of the lists' scroll bars: the application's, with each picture kept once drawn.
// Rows arriving move the handle of a long list by less than a pixel, so a list that grows
// mostly redraws a bar it has drawn before.
class CachedScrollBarStyle : public QProxyStyle {
public:
    CachedScrollBarStyle() : QProxyStyle(QApplication::style()->name()) {}

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* p,
                            const QWidget* widget) const override {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar || option->rect.isEmpty()) {
            QProxyStyle::drawComplexControl(control, option, p, widget);
            return;
        }
        const QRect handle = subControlRect(control, option, SC_ScrollBarSlider, widget);
        const qreal dpr = p->device()->devicePixelRatio();
        const QString key = QStringLiteral("kvt_sb_%1_%2_%3_%4_%5_%6_%7_%8_%9")
                                .arg(option->rect.width())
                                .arg(option->rect.height())
                                .arg(handle.x())
                                .arg(handle.y())
                                .arg(handle.width())
                                .arg(handle.height())
                                .arg(static_cast<uint>(option->state) ^ (static_cast<uint>(bar->activeSubControls) << 24) ^
                                     (static_cast<uint>(bar->orientation) << 20))
                                .arg(option->palette.cacheKey())
                                .arg(dpr);
        QPixmap picture;
        if (!QPixmapCache::find(key, &picture)) {
            picture = QPixmap(option->rect.size() * dpr);
            picture.setDevicePixelRatio(dpr);
            // The style covers the whole bar; an opaque picture is copied, not blended.
            picture.fill(option->palette.color(QPalette::Window));
            QPainter pp(&picture);
            QStyleOptionSlider at = *bar;
            at.rect = QRect(QPoint(0, 0), option->rect.size());
            QProxyStyle::drawComplexControl(control, &at, &pp, widget);
            pp.end();
            QPixmapCache::insert(key, picture);
        }
        p->drawPixmap(option->rect.topLeft(), picture);
    }
};

QStyle* ListScrollBarStyle() {
    static QPointer<QStyle> style;
    if (!style) style = new CachedScrollBarStyle();
    return style;
}

// What a ListPainter draws with.
struct ListPainterImpl {
    QPainter* p;
    const ListDelegate* text;
    QFont font;
};

class ListTableView : public QTableView {
public:
    explicit ListTableView(QWidget* parent) : QTableView(parent), delegate_(new ListDelegate(this)) {
        setItemDelegate(delegate_);
        // The bars' pictures cover them whole: nothing under them needs drawing first.
        for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
            bar->setStyle(ListScrollBarStyle());
            bar->setAttribute(Qt::WA_OpaquePaintEvent);
        }
    }

    void scrollTo(const QModelIndex& index, ScrollHint hint) override {
        QScrollBar* h = horizontalScrollBar();
        const int x = h->value();
        QTableView::scrollTo(index, hint);
        h->setValue(x);
    }

    // The row header keeps room for every row it has seen, also once the rows are gone: a
    // fresh one, set up alike, lets that go.
    void ReleaseRowSections() {
        QHeaderView* old = verticalHeader();
        auto* fresh = new QHeaderView(Qt::Vertical, this);
        fresh->setSectionResizeMode(QHeaderView::Fixed);
        fresh->setMinimumSectionSize(old->minimumSectionSize());
        fresh->setDefaultSectionSize(old->defaultSectionSize());
        const bool hidden = old->isHidden();
        setVerticalHeader(fresh);
        if (hidden) fresh->hide();
    }

    // Where the delegate draws a row's check box and takes the click that toggles it.
    QRect CheckBoxRect(int row) {
        const QModelIndex index = model() ? model()->index(row, 0) : QModelIndex();
        if (!index.isValid() || !(model()->flags(index) & Qt::ItemIsUserCheckable)) return {};
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualRect(index);
        delegate_->initStyleOption(&option, index);
        return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
    }

    void SetOwnerDraw(ListView::DrawRowHook row, ListView::AfterPaintHook after) {
        drawRow_ = std::move(row);
        afterPaint_ = std::move(after);
        viewport()->update();
    }

protected:
    void focusInEvent(QFocusEvent* e) override {
        QTableView::focusInEvent(e);
        if (drawRow_) viewport()->update();
    }
    void focusOutEvent(QFocusEvent* e) override {
        QTableView::focusOutEvent(e);
        if (drawRow_) viewport()->update();
    }

    // After a scroll the view looks up the pointer to update the row under it: a round trip to
    // the display server, for every row a busy list scrolls to. Only a pointer over the rows
    // can be under one.
    void verticalScrollbarValueChanged(int value) override {
        if (viewport()->underMouse()) QTableView::verticalScrollbarValueChanged(value);
    }
    void horizontalScrollbarValueChanged(int value) override {
        if (viewport()->underMouse()) QTableView::horizontalScrollbarValueChanged(value);
    }

    // The grid goes on below the rows, in empty rows of the same height.
    void paintEvent(QPaintEvent* e) override {
        if (drawRow_) {
            PaintOwnerDrawn(e->rect());
            return;
        }
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

private:
    void PaintOwnerDrawn(const QRect& dirty) {
        QPainter p(viewport());
        p.fillRect(dirty, palette().color(QPalette::Base));
        ListPainterImpl impl{&p, delegate_, font()};
        ListPainter painter(&impl);
        const int rows = model() ? model()->rowCount() : 0;
        int first = rows > 0 ? rowAt(dirty.top()) : -1;
        if (first < 0 && rows > 0 && dirty.top() < rowViewportPosition(0)) first = 0;
        if (first >= 0) {
            int last = rowAt(dirty.bottom());
            if (last < 0) last = rows - 1;
            const QItemSelectionModel* sm = selectionModel();
            const int current = sm->currentIndex().isValid() ? sm->currentIndex().row() : -1;
            ListRowDraw item;
            item.listHasFocus = hasFocus();
            item.showSelectionAlways = HasStyle(property(kStyleProperty).toUInt(), ControlStyle::kShowSelAlways);
            const int left = -horizontalScrollBar()->value();
            const int width = horizontalHeader()->length();
            for (int r = first; r <= last; ++r) {
                const int top = rowViewportPosition(r);
                item.row = r;
                item.bounds = Rect{left, top, left + width, top + rowHeight(r)};
                item.state = (r == current ? ListView::kStateFocused : 0u) |
                             (sm->isRowSelected(r, QModelIndex()) ? ListView::kStateSelected : 0u);
                drawRow_(painter, item);
            }
        }
        if (afterPaint_) afterPaint_(painter, Rect{0, 0, viewport()->width(), viewport()->height()});
    }

    ListDelegate* delegate_;
    ListView::DrawRowHook drawRow_;
    ListView::AfterPaintHook afterPaint_;
};

}  // namespace

QTableView* NewListView(QWidget* parent) { return new ListTableView(parent); }

}  // namespace uiimpl

namespace {

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace

void ListPainter::FillRect(const Rect& r, ColorRef color) {
    if (r.Width() > 0 && r.Height() > 0) static_cast<ListPainterImpl*>(impl_)->p->fillRect(ToQRect(r), ToQColor(color));
}

void ListPainter::FrameRect(const Rect& r, ColorRef color) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    QPainter* p = static_cast<ListPainterImpl*>(impl_)->p;
    const QColor c = ToQColor(color);
    p->fillRect(QRect(r.left, r.top, r.Width(), 1), c);
    p->fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), c);
    p->fillRect(QRect(r.left, r.top, 1, r.Height()), c);
    p->fillRect(QRect(r.right - 1, r.top, 1, r.Height()), c);
}

void ListPainter::DrawText(const Rect& r, std::string_view text, ColorRef color) {
    if (text.empty() || r.Width() <= 0 || r.Height() <= 0) return;
    const auto* impl = static_cast<ListPainterImpl*>(impl_);
    QPainter* p = impl->p;
    p->save();
    p->setClipRect(ToQRect(r), Qt::IntersectClip);
    p->setPen(ToQColor(color));
    p->setFont(impl->font);
    const int top = r.top + (r.Height() - impl->text->LineHeight(impl->font)) / 2;
    if (!impl->text->DrawAscii(p, impl->font, text, r.left, top)) {
        p->drawText(ToQRect(r), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    p->restore();
}

void ListPainter::DrawDottedLine(int x, int top, int bottom, ColorRef color) {
    QPainter* p = static_cast<ListPainterImpl*>(impl_)->p;
    const QColor c = ToQColor(color);
    for (int y = top; y < bottom; y += 2) p->fillRect(QRect(x, y, 1, 1), c);
}

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
    r.cells.Assign(packed::Pack(cells));
    if (index < 0 || index >= m->Count()) return m->Append(std::move(r));
    return m->Insert(index, std::move(r));
}

int ListView::AppendRow(const std::vector<std::string>& cells) {
    ListModel* m = Model(*this);
    if (!m) return -1;
    ListModel::Row r;
    std::string packedCells = packed::Pack(cells);
    for (size_t i = cells.size(); i < m->columns.size(); ++i) packedCells += '\0';
    r.cells.Assign(packedCells);
    return m->Append(std::move(r));
}

// A row of compact cells; the cells past count, up to columns, stay empty.
static ListModel::Row RowOfCells(const ListCell* cells, size_t count, size_t columns) {
    std::string packedCells;
    packedCells.reserve(32);
    for (size_t i = 0; i < count; ++i) packed::AppendCell(packedCells, cells[i]);
    for (size_t i = count; i < columns; ++i) packedCells += '\0';
    ListModel::Row r;
    r.cells.Assign(packedCells);
    return r;
}

int ListView::AppendCells(const ListCell* cells, size_t count, const ColorRef* textColor) {
    ListModel* m = Model(*this);
    if (!m) return -1;
    ListModel::Row r = RowOfCells(cells, count, m->columns.size());
    if (textColor) {
        r.cellColor = *textColor;
        r.Set(ListModel::Row::kUniformCells, true);
    }
    return m->Append(std::move(r));
}

struct ListRows::Rows {
    std::deque<ListModel::Row> rows;
    size_t maxRows = 0;
    size_t columns = 0;
    size_t removed = 0;
    size_t refused = 0;
};

ListRows::ListRows(const ListView& list) : rows_(std::make_unique<Rows>()) {
    const ListModel* m = Model(list);
    rows_->maxRows = static_cast<size_t>(m ? m->MaxRows() : ListView::kDefaultRowLimit);
    rows_->columns = m ? m->columns.size() : 0;
}

ListRows::~ListRows() = default;

void ListRows::Add(const ListCell* cells, size_t count) {
    if (Full()) {
        ++rows_->refused;
        return;
    }
    rows_->rows.push_back(RowOfCells(cells, count, rows_->columns));
}

size_t ListRows::Size() const { return rows_->rows.size(); }

bool ListRows::Full() const { return rows_->rows.size() >= rows_->maxRows; }

size_t ListRows::RemovedRows() const { return rows_->removed; }

size_t ListRows::RefusedRows() const { return rows_->refused; }

int ListView::InsertRows(int index, ListRows& rows) {
    ListModel* m = Model(*this);
    if (!m) return -1;
    size_t refused = 0;
    const int first = m->InsertBlock(index, rows.rows_->rows, rows.rows_->removed, refused);
    rows.rows_->refused += refused;
    return first;
}

void ListView::SetRowLimit(int maxRows, int dropRows) {
    if (ListModel* m = Model(*this)) m->SetRowLimit(maxRows, dropRows);
}

bool ListView::SetItemText(int row, int column, const std::string& text) {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row) || column < 0) return false;
    ListModel::Row& r = m->RowAt(row);
    std::string cells(r.cells.View());
    if (static_cast<size_t>(column) >= std::max<size_t>(m->columns.size(), 1) &&
        static_cast<size_t>(column) >= packed::Count(cells))
        return false;
    packed::Set(cells, static_cast<size_t>(column), text);
    r.cells.Assign(cells);
    m->RowChanged(row);
    return true;
}

std::string ListView::GetItemText(int row, int column) const {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row) || column < 0) return {};
    std::string text;
    m->CellText(m->RowAt(row), column, text);
    return text;
}

bool ListView::DeleteItem(int row) {
    ListModel* m = Model(*this);
    return m && m->Remove(row);
}

void ListView::DeleteAllItems() {
    ListModel* m = Model(*this);
    if (!m || !m->Clear()) return;
    if (auto* v = dynamic_cast<ListTableView*>(View(*this))) v->ReleaseRowSections();
    ReturnFreedMemory();
}

int ListView::DeleteItemsWithDataBelow(intptr_t data) {
    ListModel* m = Model(*this);
    return m ? m->RemoveRowsWhere([data](size_t, const ListModel::Row& r) { return r.data < data; }) : 0;
}

int ListView::DeleteItems(const std::vector<bool>& drop) {
    ListModel* m = Model(*this);
    return m ? m->RemoveRowsWhere([&drop](size_t i, const ListModel::Row&) { return i < drop.size() && drop[i]; }) : 0;
}

void ListView::SetItemData(int row, intptr_t data) {
    ListModel* m = Model(*this);
    if (ValidRow(m, row)) m->RowAt(row).data = data;
}

intptr_t ListView::GetItemData(int row) const {
    ListModel* m = Model(*this);
    return ValidRow(m, row) ? m->RowAt(row).data : 0;
}

void ListView::SetCellTextColor(int row, int column, ColorRef color) {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return;
    m->SetCellTextColor(m->RowAt(row), column, color);
    m->RowChanged(row);
}

ColorRef ListView::GetCellTextColor(int row, int column) const {
    ListModel* m = Model(*this);
    ColorRef c = MakeRgb(0, 0, 0);
    if (ValidRow(m, row)) m->CellTextColor(m->RowAt(row), column, c);
    return c;
}

void ListView::SetCellBackColor(int row, int column, ColorRef color) {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return;
    m->SetCellBackColor(m->RowAt(row), column, color);
    m->RowChanged(row);
}

ColorRef ListView::GetCellBackColor(int row, int column) const {
    ListModel* m = Model(*this);
    ColorRef c = MakeRgb(255, 255, 255);
    if (ValidRow(m, row)) m->CellBackColor(m->RowAt(row), column, c);
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

bool ListView::GetCheck(int row) const {
    ListModel* m = Model(*this);
    return ValidRow(m, row) && m->RowAt(row).Has(ListModel::Row::kChecked);
}

void ListView::SetCheck(int row, bool check) {
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return;
    m->RowAt(row).Set(ListModel::Row::kChecked, check);
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

void ListView::SetOwnerDraw(DrawRowHook drawRow, AfterPaintHook afterPaint) {
    if (auto* v = dynamic_cast<ListTableView*>(View(*this))) v->SetOwnerDraw(std::move(drawRow), std::move(afterPaint));
}

int ListView::GetStringWidth(const std::string& text) const {
    QTableView* v = View(*this);
    return v ? v->fontMetrics().horizontalAdvance(Q(text)) : 0;
}

void ListView::PressSelectAll() {
    QWidget* w = View(*this);
    if (!w) return;
    if (ListModel* m = Model(*this)) m->Flush();
    SendKeyStroke(w, Qt::Key_A, Qt::ControlModifier);
}

void ListView::MouseClickRow(int row, bool shift) {
    QTableView* v = View(*this);
    ListModel* m = Model(*this);
    if (!ValidRow(m, row)) return;
    m->Flush();
    v->scrollTo(m->index(row, 0));
    const QPoint at = v->visualRect(m->index(row, 0)).center();
    MouseClick(Point{at.x(), at.y()}, shift);
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

int ListView::LastToggledRow() const {
    QWidget* w = W(*this);
    if (!w) return -1;
    const QVariant r = w->property("kvt_lastToggledRow");
    return r.isValid() ? r.toInt() : -1;
}

Rect ListView::GetCheckBoxRect(int row) const {
    auto* v = dynamic_cast<ListTableView*>(View(*this));
    ListModel* m = Model(*this);
    if (!v || !ValidRow(m, row)) return {};
    m->Flush();
    const QRect r = v->CheckBoxRect(row);
    return r.isEmpty() ? Rect{} : Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

