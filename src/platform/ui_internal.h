#pragma once
// Qt side of the window layer; included only by the platform's own sources.

#include <QAbstractTableModel>
#include <QDialog>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QTableView>
#include <QTimer>

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

// The cells of one row packed in one string: each cell is its length (LEB128) followed by its
// bytes. One allocation per row instead of one per cell keeps big lists small.
namespace packed {
std::string Pack(const std::vector<std::string>& cells);
size_t Count(const std::string& row);
// The cell's text; empty past the last cell.
std::string_view Get(const std::string& row, size_t column);
// Replaces one cell; missing cells before it are added empty.
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
    struct Row {
        std::string cells;  // packed
        intptr_t data = 0;
        std::unique_ptr<CellColors> cellColors;
        ColorRef color = 0;      // row text colour, when hasColor
        ColorRef cellColor = 0;  // text colour of every cell, when uniformCells
        bool hasColor = false;
        bool uniformCells = false;
        bool checked = false;
    };

    explicit ListModel(QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    int Count() const { return static_cast<int>(rows_.size()); }
    void Flush();
    void ScheduleFlush();
    int Append(Row row);
    int Insert(int index, Row row);
    bool Remove(int row);
    void Clear();
    void Sort(int column, bool ascending);
    // Stable sort by one column; compare < 0 puts a before b. Selection follows the rows.
    void SortBy(int column, const std::function<int(std::string_view, std::string_view)>& compare);
    void RowChanged(int row);
    void AddColumn(int index, Column c);
    void SetCheckBoxes(bool on);
    // Text and background colour of a cell as drawn; false when the list's own colours apply.
    bool CellTextColor(const Row& r, int column, ColorRef& out) const;
    bool CellBackColor(const Row& r, int column, ColorRef& out) const;
    void SetCellTextColor(Row& r, int column, ColorRef color);
    void SetCellBackColor(Row& r, int column, ColorRef color);

    std::vector<Column> columns;
    std::vector<Row> rows_;
    bool checkBoxes = false;
    std::function<void(int)> onUserCheck;  // row whose check the user toggled

    static constexpr qint64 kCommitIntervalMs = 30;

private:
    int committed_ = 0;
    bool flushPending_ = false;
    QElapsedTimer lastCommit_;
};

// The view of a report list. Selecting or scrolling a row into view moves it vertically only:
// the columns stay where the user scrolled them.
QTableView* NewListView(QWidget* parent);

// Per-control record kept by a dialog.
struct ControlInfo {
    QPointer<QWidget> widget;
    ControlKind kind;
    uint64_t serial;
};

}  // namespace uiimpl
