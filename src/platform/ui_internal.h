#pragma once
// Qt side of the window layer; included only by the platform's own sources.

#include <QAbstractTableModel>
#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QTableView>
#include <QTimer>

#include <map>
#include <string>
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

// The model behind a report list. Rows appended in a burst are announced to the view in one
// batch on the next turn of the event loop.
class ListModel : public QAbstractTableModel {
public:
    struct Column {
        QString heading;
        int width = 100;
        ListView::Align align = ListView::kLeft;
    };
    struct Row {
        std::vector<std::string> cells;
        intptr_t data = 0;
        ColorRef color = 0;
        bool hasColor = false;
        bool checked = false;
        std::vector<std::pair<int, ColorRef>> cellColors;
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
    void RowChanged(int row);
    void AddColumn(int index, Column c);
    void SetCheckBoxes(bool on);

    std::vector<Column> columns;
    std::vector<Row> rows_;
    bool checkBoxes = false;
    std::function<void(int)> onUserCheck;  // row whose check the user toggled

private:
    int committed_ = 0;
    bool flushPending_ = false;
};

// Per-control record kept by a dialog.
struct ControlInfo {
    QPointer<QWidget> widget;
    ControlKind kind;
};

}  // namespace uiimpl
