#pragma once
// Qt side of the window layer; included only by the platform's own sources.

#include <QAbstractTableModel>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QValidator>
#include <QTableView>
#include <QTimer>

#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

namespace uiimpl {

inline QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
inline std::string S(const QString& s) {
    const QByteArray b = s.toUtf8();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

// "\r\n" in program text; "\n" inside multi-line Qt widgets.
inline QString ToWidgetText(const std::string& s) {
    QString q = Q(s);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return q;
}
// A label's text as a dialog's static control shows it: "&&" is one '&', a single '&' only
// marks the next character and is not drawn.
inline QString StaticText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}
inline std::string FromWidgetText(const QString& q) {
    QString t = q;
    t.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return S(t);
}

inline QWidget* W(const Window& w) { return static_cast<QWidget*>(w.Raw()); }

constexpr const char* kIdProperty = "kvt_id";
constexpr const char* kKindProperty = "kvt_kind";
constexpr const char* kStyleProperty = "kvt_style";
constexpr const char* kSerialProperty = "kvt_serial";
constexpr const char* kExStyleProperty = "kvt_exstyle";  // a report list's extended styles

// Serial numbers of windows, never reused.
uint64_t NextWindowSerial();

// Bytes kept inside the object up to kInline of them, on the heap beyond: a list row's cells
// mostly fit, so a row costs no allocation of its own. One spare byte is the owner's.
class CompactBytes {
public:
    static constexpr size_t kInline = 30;
    CompactBytes() = default;
    CompactBytes(const CompactBytes&) = delete;
    CompactBytes& operator=(const CompactBytes&) = delete;
    CompactBytes(CompactBytes&& o) noexcept { Take(o); }
    CompactBytes& operator=(CompactBytes&& o) noexcept {
        if (this != &o) {
            Free();
            Take(o);
        }
        return *this;
    }
    ~CompactBytes() { Free(); }

    std::string_view View() const {
        if (len_ != kHeap) return std::string_view(reinterpret_cast<const char*>(buf_), len_);
        return std::string_view(HeapPtr(), HeapSize());
    }
    void Assign(std::string_view bytes);

    uint8_t spare = 0;

private:
    static constexpr uint8_t kHeap = 0xFF;
    char* HeapPtr() const;
    uint32_t HeapSize() const;
    // Inline: moving rows (a sort, a removal) is a move per row.
    void Free() {
        if (len_ == kHeap) delete[] HeapPtr();
        len_ = 0;
    }
    void Take(CompactBytes& o) {
        std::memcpy(buf_, o.buf_, kInline);
        len_ = o.len_;
        spare = o.spare;
        o.len_ = 0;
    }

    alignas(8) unsigned char buf_[kInline] = {};
    uint8_t len_ = 0;
};

// The cells of one row packed in one string: each cell is a header (LEB128 of its length times
// 8 plus its kind) and its bytes. A text cell holds its text; the other kinds hold the compact
// value their text is made from when the cell is drawn or read.
namespace packed {
std::string Pack(const std::vector<std::string>& cells);
void AppendCell(std::string& row, const ListCell& cell);
size_t Count(std::string_view row);
// The cell's text; empty past the last cell.
void Text(std::string_view row, size_t column, std::string& out);
std::string Text(std::string_view row, size_t column);
// Replaces one cell with a text cell; missing cells before it are added empty.
void Set(std::string& row, size_t column, std::string_view text);
// Puts an empty cell at column (when the row has that many cells).
void InsertEmpty(std::string& row, size_t column);
}  // namespace packed

// The model behind a report list. Rows appended in a burst are announced to the view in one
// batch on the next turn of the event loop, and at most once per kCommitIntervalMs while rows
// keep coming (each announcement repaints the list). Operations that need the view to know
// every row (selection, scrolling, sorting, removal) announce them at once.
class ListModel : public QAbstractTableModel {
public:
    struct Column {
        QString heading;
        int width = 100;
        ListView::Align align = ListView::kLeft;
    };
    // Colours of single cells; rows without any keep no such record.
    struct CellColors {
        std::vector<std::pair<int, ColorRef>> text;
        std::vector<std::pair<int, ColorRef>> back;
    };
    // Rows are moved bitwise (RemoveRowsWhere): nothing in a row may point into the row itself.
    struct Row {
        enum Flag : uint8_t { kHasColor = 1, kUniformCells = 2, kChecked = 4 };
        CompactBytes cells;  // packed; cells.spare holds the flags
        intptr_t data = 0;
        std::unique_ptr<CellColors> cellColors;
        ColorRef color = 0;      // row text colour, when kHasColor
        ColorRef cellColor = 0;  // text colour of every cell, when kUniformCells

        bool Has(Flag f) const { return (cells.spare & f) != 0; }
        void Set(Flag f, bool on) { cells.spare = static_cast<uint8_t>(on ? cells.spare | f : cells.spare & ~f); }
    };

    explicit ListModel(QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    int Count() const { return static_cast<int>(rows_.size()); }
    Row& RowAt(int row) { return rows_[static_cast<size_t>(row)]; }
    const Row& RowAt(int row) const { return rows_[static_cast<size_t>(row)]; }
    // The text of a cell as shown.
    void CellText(const Row& r, int column, std::string& out) const;
    void Flush();
    void ScheduleFlush();
    int Append(Row row);
    int Insert(int index, Row row);
    // Inserts the rows before index in one step (see ListView::InsertRows); rows is emptied.
    // removed: the list's rows that went to make room; refused: the block's rows left out.
    int InsertBlock(int index, std::deque<Row>& rows, size_t& removed, size_t& refused);
    bool Remove(int row);
    // Empties the list; true when it held enough rows that freed memory is worth returning.
    bool Clear();
    void SetRowLimit(int maxRows, int dropRows);
    int MaxRows() const { return maxRows_; }
    void Sort(int column, bool ascending);
    // Stable sort by one column; compare < 0 puts a before b. Selection follows the rows.
    void SortBy(int column, const std::function<int(std::string_view, std::string_view)>& compare);
    // Removes the rows drop(index, row) picks, in one change; the rest keep their order, selection
    // and focus. drop is asked about each row, some rows twice, from several threads at once: it
    // only reads.
    template <typename Drop>
    int RemoveRowsWhere(Drop drop);
    void RowChanged(int row);
    void AddColumn(int index, Column c);
    void SetCheckBoxes(bool on);
    ListView::Align ColumnAlign(int column) const {
        return column >= 0 && column < static_cast<int>(columns.size()) ? columns[static_cast<size_t>(column)].align
                                                                          : ListView::kLeft;
    }
    // Text and background colour of a cell as drawn; false when the list's own colours apply.
    bool CellTextColor(const Row& r, int column, ColorRef& out) const;
    bool CellBackColor(const Row& r, int column, ColorRef& out) const;
    void SetCellTextColor(Row& r, int column, ColorRef color);
    void SetCellBackColor(Row& r, int column, ColorRef color);

    // True while a removal takes its dropped rows out of the selection: the list's owner is not
    // told of that change.
    bool Dropping() const { return dropping_; }

    std::vector<Column> columns;
    bool checkBoxes = false;
    std::function<void(int)> onUserCheck;  // row whose check the user toggled
    uint64_t userChecks = 0;               // how many checks the user has toggled

    static constexpr qint64 kCommitIntervalMs = 30;

private:
    // Removes the oldest rows so that one more fits under the limit.
    void DropOldest();
    // Removes rows first to end - 1 (at least one); no other row takes a dropped one's selection.
    void RemoveRange(size_t first, size_t end);
    // The selection of the view showing this model, if any.
    QItemSelectionModel* Selection() const;

    std::deque<Row> rows_;
    int committed_ = 0;
    int maxRows_ = ListView::kDefaultRowLimit;
    int dropRows_ = ListView::kDefaultDropRows;
    bool flushPending_ = false;
    bool dropping_ = false;
    QElapsedTimer lastCommit_;
};

// The view of a report list. Selecting or scrolling a row into view moves it vertically only:
// the columns stay where the user scrolled them.
QTableView* NewListView(QWidget* parent);

// What a one-line edit takes from the keyboard: digits only when asked, and no more characters
// than its limit (0: any number). The limit holds for typing only: a text the program writes is
// kept whole (SetWholeText), and typing may then shorten it but not lengthen it.
class EditInput : public QValidator {
public:
    EditInput(bool digitsOnly, QLineEdit* edit)
        : QValidator(edit), digitsOnly_(digitsOnly), length_(static_cast<int>(edit->text().size())) {}
    State validate(QString& input, int& pos) const override;
    void SetLimit(int chars) { limit_ = chars > 0 ? chars : 0; }
    int Limit() const { return limit_; }
    // Sets the edit's text, whole, whatever its limit.
    static void SetWholeText(QLineEdit* e, const QString& text);
    // The edit's input rules, made on first use.
    static EditInput* Of(QLineEdit* e);

private:
    bool digitsOnly_;
    int limit_ = 0;
    mutable bool written_ = false;  // the next text is the program's
    mutable int length_;            // the length of the text last taken
};

// Presses and releases a key on target as the keyboard would; false when the press destroyed it.
bool SendKeyStroke(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                   const QString& typed = QString());

// Per-control record kept by a dialog.
struct ControlInfo {
    QPointer<QWidget> widget;
    ControlKind kind;
    uint64_t serial;
};

}  // namespace uiimpl
