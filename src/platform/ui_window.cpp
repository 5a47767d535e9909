// Window handles and the simple controls.

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/gbk.h"
#include "platform/ui_internal.h"

using namespace uiimpl;

namespace {

// Longer texts than this are replaced whole: being mostly new, one replacement costs less than
// a change per line.
constexpr int kMaxLinesReplaced = 500;

// Sets a multi-line edit's text as setPlainText does, but rewrites only the lines that differ, so
// the lines that stay keep their layout: a pane that shows one explanation after another
// (mostly the same lines) is laid out and drawn again only where it changed.
void ReplaceLines(QPlainTextEdit* p, const QString& text) {
    for (QChar c : text) {
        // Characters that also end a block: leave them to the plain path.
        if (c == QLatin1Char('\r') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator ||
            c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1) {
            p->setPlainText(text);
            return;
        }
    }
    QTextDocument* doc = p->document();
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > kMaxLinesReplaced || doc->blockCount() > kMaxLinesReplaced) {
        p->setPlainText(text);
        return;
    }
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);  // as setPlainText: no undo history, and none piling up
    QTextCursor edit(doc);
    edit.beginEditBlock();
    QTextBlock block = doc->firstBlock();
    int i = 0;
    for (; i < lines.size() && block.isValid(); ++i) {
        const QTextBlock next = block.next();
        if (block.text() != lines[i]) {
            QTextCursor line(block);
            line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            if (lines[i].isEmpty()) line.removeSelectedText();
            else line.insertText(lines[i]);
        }
        block = next;
    }
    if (i < lines.size()) {
        QTextCursor end(doc);
        end.movePosition(QTextCursor::End);
        for (; i < lines.size(); ++i) end.insertText(QLatin1Char('\n') + lines[i]);
    } else if (block.isValid()) {
        QTextCursor rest(doc);
        rest.setPosition(block.position() - 1);
        rest.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        rest.removeSelectedText();
    }
    edit.endEditBlock();
    doc->setUndoRedoEnabled(undo);
    // As after setPlainText: the caret at the start, the view at the top left. The document
    // tells one change for the edit, also when no line differed.
    p->setTextCursor(QTextCursor(doc));
    p->horizontalScrollBar()->setValue(0);
    p->verticalScrollBar()->setValue(0);
}

}  // namespace

QValidator::State EditInput::validate(QString& input, int& pos) const {
    if (written_) {
        written_ = false;
        length_ = static_cast<int>(input.size());
        return Acceptable;
    }
    if (digitsOnly_) {
        for (QChar c : input) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return Invalid;
        }
    }
    const int room = std::max(limit_, length_);
    if (limit_ > 0 && input.size() > room) {
        // What does not fit is cut from the end of what was just put in, before the caret.
        const int excess = static_cast<int>(input.size()) - room;
        const int from = std::max(0, pos - excess);
        input.remove(from, excess);
        pos = from;
    }
    length_ = static_cast<int>(input.size());
    return Acceptable;
}

void EditInput::SetWholeText(QLineEdit* e, const QString& text) {
    auto* in = dynamic_cast<EditInput*>(const_cast<QValidator*>(e->validator()));
    if (in) in->written_ = true;
    e->setText(text);
    if (in) {
        in->written_ = false;
        in->length_ = static_cast<int>(e->text().size());
    }
}

EditInput* EditInput::Of(QLineEdit* e) {
    auto* in = dynamic_cast<EditInput*>(const_cast<QValidator*>(e->validator()));
    if (!in && !e->validator()) {
        in = new EditInput(false, e);
        e->setValidator(in);
    }
    return in;
}

int Window::GetId() const {
    QWidget* w = W(*this);
    return w ? w->property(kIdProperty).toInt() : 0;
}

uint64_t Window::UniqueId() const {
    if (id_ != 0 || !w_) return id_;
    return W(*this)->property(kSerialProperty).toULongLong();
}

uint64_t uiimpl::NextWindowSerial() {
    static std::atomic<uint64_t> next{1};
    return next++;
}

void Window::SetText(const std::string& text) {
    QWidget* w = W(*this);
    if (!w) return;
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        EditInput::SetWholeText(e, Q(text));
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        ReplaceLines(p, ToWidgetText(text));
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(Q(text));
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(ToWidgetText(text));
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable()) c->setEditText(Q(text));
    } else if (w->isWindow()) {
        w->setWindowTitle(Q(text));
    } else {
        w->setProperty("kvt_text", Q(text));
    }
}

std::string Window::GetText() const {
    QWidget* w = W(*this);
    if (!w) return {};
    if (auto* e = qobject_cast<QLineEdit*>(w)) return S(e->text());
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return FromWidgetText(p->toPlainText());
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return S(b->text());
    if (auto* l = qobject_cast<QLabel*>(w)) return FromWidgetText(l->text());
    if (auto* c = qobject_cast<QComboBox*>(w)) return S(c->currentText());
    if (w->isWindow()) return S(w->windowTitle());
    return S(w->property("kvt_text").toString());
}

void Window::Show(bool show) {
    if (QWidget* w = W(*this)) w->setVisible(show);
}

bool Window::IsVisible() const {
    QWidget* w = W(*this);
    // Visible by its own flag, as a control is visible within a hidden parent.
    return w && !w->isHidden();
}

void Window::Enable(bool enable) {
    if (QWidget* w = W(*this)) w->setEnabled(enable);
}

bool Window::IsEnabled() const {
    QWidget* w = W(*this);
    return w && w->isEnabled();
}

void Window::Move(int x, int y, int width, int height, bool repaint) {
    QWidget* w = W(*this);
    if (!w) return;
    // A combo box's height includes room for its drop-down list; the box itself keeps its own.
    if (qobject_cast<QComboBox*>(w)) height = std::min(height, w->sizeHint().height());
    w->setGeometry(x, y, std::max(0, width), std::max(0, height));
    if (repaint) w->update();
}

Rect Window::GetWindowRect() const {
    QWidget* w = W(*this);
    if (!w) return {};
    if (w->isWindow()) {
        const QRect g = w->frameGeometry();
        return Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    const QPoint tl = w->mapToGlobal(QPoint(0, 0));
    return Rect{tl.x(), tl.y(), tl.x() + w->width(), tl.y() + w->height()};
}

Rect Window::GetNeededSize() const {
    QWidget* w = W(*this);
    if (!w) return {};
    const QFontMetrics fm = w->fontMetrics();
    // Widths: the text's advance with what the control draws beside it; heights: the ink of the
    // text (the line's leading may fall outside).
    const auto ink = [&fm](const QString& text) { return fm.tightBoundingRect(text).height(); };
    QSize need;
    if (auto* l = qobject_cast<QLabel*>(w)) {
        if (!l->text().isEmpty())
            need = l->wordWrap() ? QSize(0, l->heightForWidth(l->width())) : QSize(l->sizeHint().width(), ink(l->text()));
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        // The title drawn into the top line, a few pixels in from the left.
        if (!g->title().isEmpty()) need = QSize(fm.horizontalAdvance(g->title()) + 12, ink(g->title()));
    } else if (auto* b = qobject_cast<QPushButton*>(w)) {
        // The text inside the bevel.
        if (!b->text().isEmpty()) need = QSize(fm.horizontalAdvance(b->text()) + 6, ink(b->text()) + 2);
    } else if (auto* a = qobject_cast<QAbstractButton*>(w)) {
        const int indicator = a->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, a);
        need = QSize(a->sizeHint().width(), std::max(indicator, a->text().isEmpty() ? 0 : ink(a->text())));
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        opt.editable = c->isEditable();
        opt.currentText = c->currentText();
        const QSize text(fm.horizontalAdvance(c->currentText()), fm.height());
        need = QSize(c->style()->sizeFromContents(QStyle::CT_ComboBox, &opt, text, c).width(),
                     c->currentText().isEmpty() ? 0 : ink(c->currentText()) + 2);
    }
    return Rect{0, 0, need.width(), need.height()};
}

Rect Window::GetClientRect() const {
    QWidget* w = W(*this);
    if (!w) return {};
    return Rect{0, 0, w->width(), w->height()};
}

bool Window::IsTopLevel() const {
    QWidget* w = W(*this);
    return w && w->isWindow();
}

Rect Window::GetRectInParent() const {
    QWidget* w = W(*this);
    if (!w) return {};
    const QRect g = w->geometry();
    return Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void Window::SetFocus() {
    QWidget* w = W(*this);
    if (!w) return;
    // As a focus given by the program: the window that holds the control becomes the active one.
    if (w->isVisible() && !w->window()->isActiveWindow()) w->activateWindow();
    w->setFocus();
}

bool Window::HasFocus() const {
    QWidget* w = W(*this);
    return w && w->hasFocus();
}

void Window::Invalidate() {
    if (QWidget* w = W(*this)) w->update();
}

void Window::SetFont(const std::string& face, int pixelHeight, int weight) {
    QWidget* w = W(*this);
    if (!w) return;
    QFont f = w->font();
    f.setFamilies({Q(face), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    if (pixelHeight > 0) f.setPixelSize(pixelHeight);
    // Weights 0-1000 map onto Qt's 1-1000 scale.
    f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    w->setFont(f);
}

Point Window::ScreenToClient(Point screen) const {
    QWidget* w = W(*this);
    if (!w) return screen;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) w = area->viewport();
    const QPoint p = w->mapFromGlobal(QPoint(screen.x, screen.y));
    return Point{p.x(), p.y()};
}

void Window::MouseClick(Point client, bool shift) {
    QWidget* w = W(*this);
    if (!w) return;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) w = area->viewport();
    QPoint at(client.x, client.y);
    if (QWidget* child = w->childAt(at)) {
        at = child->mapFrom(w, at);
        w = child;
    }
    QPointer<QWidget> target(w);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        if (!target) return;
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent e(type, at, target->mapTo(target->window(), at), target->mapToGlobal(at), Qt::LeftButton, held,
                      shift ? Qt::ShiftModifier : Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
}

ColorRef Window::GetPixel(Point client) const {
    QWidget* w = W(*this);
    if (!w) return 0;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) w = area->viewport();
    if (!w->rect().contains(client.x, client.y)) return 0;
    const QImage image = w->grab(QRect(client.x, client.y, 1, 1)).toImage();
    if (image.isNull()) return 0;
    const QColor c = image.pixelColor(0, 0);
    return MakeRgb(c.red(), c.green(), c.blue());
}

// Buttons.

int Button::GetCheck() const {
    auto* b = qobject_cast<QAbstractButton*>(W(*this));
    return b && b->isChecked() ? 1 : 0;
}

void Button::SetCheck(int check) {
    if (auto* b = qobject_cast<QAbstractButton*>(W(*this))) {
        const bool old = b->blockSignals(true);
        b->setChecked(check != 0);
        b->blockSignals(old);
    }
}

void Button::Click() {
    if (auto* b = qobject_cast<QAbstractButton*>(W(*this))) {
        if (b->isEnabled()) b->click();
    }
}

// Edits.

void Edit::SetLimitText(int chars) {
    if (auto* e = qobject_cast<QLineEdit*>(W(*this))) {
        if (EditInput* in = EditInput::Of(e)) in->SetLimit(chars);
    }
    if (QWidget* w = W(*this)) w->setProperty("kvt_limit", chars);
}

int Edit::GetLimitText() const {
    if (auto* e = qobject_cast<QLineEdit*>(W(*this))) {
        const EditInput* in = dynamic_cast<const EditInput*>(e->validator());
        return in && in->Limit() > 0 ? in->Limit() : 32767;
    }
    QWidget* w = W(*this);
    return w ? w->property("kvt_limit").toInt() : 0;
}

void Edit::AppendText(const std::string& text) {
    if (auto* p = qobject_cast<QPlainTextEdit*>(W(*this))) {
        QTextCursor c = p->textCursor();
        c.movePosition(QTextCursor::End);
        c.insertText(ToWidgetText(text));
        p->setTextCursor(c);
        p->ensureCursorVisible();
    } else if (auto* e = qobject_cast<QLineEdit*>(W(*this))) {
        EditInput::SetWholeText(e, e->text() + Q(text));
    }
}

void Edit::SetSel(int start, int end) {
    if (auto* p = qobject_cast<QPlainTextEdit*>(W(*this))) {
        QTextCursor c = p->textCursor();
        if (start < 0) {
            c.movePosition(QTextCursor::End);
        } else {
            c.setPosition(start);
            if (end < 0) c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            else c.setPosition(end, QTextCursor::KeepAnchor);
        }
        p->setTextCursor(c);
    } else if (auto* e = qobject_cast<QLineEdit*>(W(*this))) {
        if (start < 0) e->end(false);
        else e->setSelection(start, (end < 0 ? e->text().size() : end) - start);
    }
}

void Edit::ReplaceSel(const std::string& text) {
    if (auto* p = qobject_cast<QPlainTextEdit*>(W(*this))) {
        p->textCursor().insertText(ToWidgetText(text));
        p->ensureCursorVisible();
    } else if (auto* e = qobject_cast<QLineEdit*>(W(*this))) {
        e->insert(Q(text));
    }
}

int Edit::GetLineCount() const {
    if (auto* p = qobject_cast<QPlainTextEdit*>(W(*this))) return p->blockCount();
    return W(*this) ? 1 : 0;
}

void Edit::TypeText(const std::string& text) {
    if (auto* e = qobject_cast<QLineEdit*>(W(*this))) {
        if (!e->isReadOnly()) e->insert(Q(text));
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(W(*this))) {
        if (!p->isReadOnly()) p->insertPlainText(ToWidgetText(text));
    }
}

// Combo boxes.

namespace {

QComboBox* Combo(const Window& w) { return qobject_cast<QComboBox*>(W(w)); }

// Case-insensitive comparison of the GBK bytes of two texts.
int CompareGbkNoCase(const std::string& a, const std::string& b) {
    const std::string x = Utf8ToGbk(a);
    const std::string y = Utf8ToGbk(b);
    const size_t n = std::min(x.size(), y.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char cx = static_cast<unsigned char>(x[i]);
        unsigned char cy = static_cast<unsigned char>(y[i]);
        if (cx >= 'A' && cx <= 'Z') cx = static_cast<unsigned char>(cx - 'A' + 'a');
        if (cy >= 'A' && cy <= 'Z') cy = static_cast<unsigned char>(cy - 'A' + 'a');
        if (cx != cy) return cx < cy ? -1 : 1;
    }
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

}  // namespace

int ComboBox::AddString(const std::string& text) {
    QComboBox* c = Combo(*this);
    if (!c) return -1;
    const bool old = c->blockSignals(true);
    int index = c->count();
    if (HasStyle(c->property(kStyleProperty).toUInt(), ControlStyle::kSorted)) {
        index = 0;
        while (index < c->count() && CompareGbkNoCase(S(c->itemText(index)), text) <= 0) ++index;
    }
    const int cur = c->currentIndex();
    c->insertItem(index, Q(text));
    // Adding an entry never selects it.
    c->setCurrentIndex(cur >= index ? cur + 1 : cur);
    if (cur < 0) c->setCurrentIndex(-1);
    c->blockSignals(old);
    return index;
}

int ComboBox::InsertString(int index, const std::string& text) {
    QComboBox* c = Combo(*this);
    if (!c) return -1;
    if (index < 0 || index > c->count()) index = c->count();
    const bool old = c->blockSignals(true);
    const int cur = c->currentIndex();
    c->insertItem(index, Q(text));
    c->setCurrentIndex(cur < 0 ? -1 : (cur >= index ? cur + 1 : cur));
    c->blockSignals(old);
    return index;
}

void ComboBox::ResetContent() {
    if (QComboBox* c = Combo(*this)) {
        const bool old = c->blockSignals(true);
        c->clear();
        c->blockSignals(old);
    }
}

int ComboBox::GetCount() const {
    QComboBox* c = Combo(*this);
    return c ? c->count() : 0;
}

int ComboBox::GetCurSel() const {
    QComboBox* c = Combo(*this);
    return c ? c->currentIndex() : -1;
}

void ComboBox::SetCurSel(int index) {
    if (QComboBox* c = Combo(*this)) {
        const bool old = c->blockSignals(true);
        c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
        c->blockSignals(old);
    }
}

std::string ComboBox::GetLBText(int index) const {
    QComboBox* c = Combo(*this);
    return c && index >= 0 && index < c->count() ? S(c->itemText(index)) : std::string();
}

int ComboBox::FindStringExact(const std::string& text) const {
    QComboBox* c = Combo(*this);
    if (!c) return -1;
    for (int i = 0; i < c->count(); ++i)
        if (c->itemText(i).compare(Q(text), Qt::CaseInsensitive) == 0) return i;
    return -1;
}

std::string ComboBox::GetSelectedText() const {
    QComboBox* c = Combo(*this);
    if (!c) return {};
    if (c->isEditable()) return S(c->currentText());
    return c->currentIndex() >= 0 ? S(c->itemText(c->currentIndex())) : std::string();
}

void ComboBox::SetItemData(int index, intptr_t data) {
    if (QComboBox* c = Combo(*this)) c->setItemData(index, QVariant::fromValue<qlonglong>(data));
}

intptr_t ComboBox::GetItemData(int index) const {
    QComboBox* c = Combo(*this);
    return c ? static_cast<intptr_t>(c->itemData(index).toLongLong()) : 0;
}

void ComboBox::SelectAsUser(int index) {
    QComboBox* c = Combo(*this);
    if (!c || index < 0 || index >= c->count()) return;
    SetCurSel(index);
    emit c->activated(index);
}

// Trees.

namespace {

QTreeWidget* Tree(const Window& w) { return qobject_cast<QTreeWidget*>(W(w)); }
QTreeWidgetItem* Item(TreeItem i) { return reinterpret_cast<QTreeWidgetItem*>(i); }
TreeItem Handle(QTreeWidgetItem* i) { return reinterpret_cast<TreeItem>(i); }

}  // namespace

TreeItem TreeView::InsertItem(const std::string& text, TreeItem parent) {
    QTreeWidget* t = Tree(*this);
    if (!t) return 0;
    auto* item = parent ? new QTreeWidgetItem(Item(parent)) : new QTreeWidgetItem(t);
    item->setText(0, Q(text));
    return Handle(item);
}

void TreeView::SetItemData(TreeItem item, intptr_t data) {
    if (item) Item(item)->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(data));
}

intptr_t TreeView::GetItemData(TreeItem item) const {
    return item ? static_cast<intptr_t>(Item(item)->data(0, Qt::UserRole).toLongLong()) : 0;
}

std::string TreeView::GetItemText(TreeItem item) const { return item ? S(Item(item)->text(0)) : std::string(); }

void TreeView::Expand(TreeItem item, bool expand) {
    if (item) Item(item)->setExpanded(expand);
}

bool TreeView::IsExpanded(TreeItem item) const { return item && Item(item)->isExpanded(); }

TreeItem TreeView::GetRootItem() const {
    QTreeWidget* t = Tree(*this);
    return t && t->topLevelItemCount() > 0 ? Handle(t->topLevelItem(0)) : 0;
}

TreeItem TreeView::GetNextSibling(TreeItem item) const {
    QTreeWidget* t = Tree(*this);
    if (!t || !item) return 0;
    QTreeWidgetItem* i = Item(item);
    QTreeWidgetItem* p = i->parent();
    if (p) {
        const int k = p->indexOfChild(i);
        return k + 1 < p->childCount() ? Handle(p->child(k + 1)) : 0;
    }
    const int k = t->indexOfTopLevelItem(i);
    return k + 1 < t->topLevelItemCount() ? Handle(t->topLevelItem(k + 1)) : 0;
}

TreeItem TreeView::GetChildItem(TreeItem item) const {
    return item && Item(item)->childCount() > 0 ? Handle(Item(item)->child(0)) : 0;
}

void TreeView::DeleteAllItems() {
    if (QTreeWidget* t = Tree(*this)) t->clear();
}

TreeItem TreeView::HitTest(Point client) const {
    QTreeWidget* t = Tree(*this);
    return t ? Handle(t->itemAt(QPoint(client.x, client.y))) : 0;
}

Point TreeView::ItemCenter(TreeItem item) const {
    QTreeWidget* t = Tree(*this);
    if (!t || !item) return {};
    const QRect r = t->visualItemRect(Item(item));
    return Point{r.center().x(), r.center().y()};
}

// Tab controls: a frame with a tab bar along its top.

namespace {
QTabBar* Bar(const Window& w) {
    QWidget* host = W(w);
    return host ? host->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}
}  // namespace

int TabBar::InsertItem(int index, const std::string& text) {
    QTabBar* b = Bar(*this);
    if (!b) return -1;
    const bool old = b->blockSignals(true);
    const int i = b->insertTab(index, Q(text));
    b->blockSignals(old);
    return i;
}

void TabBar::DeleteAllItems() {
    if (QTabBar* b = Bar(*this)) {
        const bool old = b->blockSignals(true);
        while (b->count() > 0) b->removeTab(0);
        b->blockSignals(old);
    }
}

int TabBar::GetItemCount() const {
    QTabBar* b = Bar(*this);
    return b ? b->count() : 0;
}

std::string TabBar::GetItemText(int index) const {
    QTabBar* b = Bar(*this);
    return b ? S(b->tabText(index)) : std::string();
}

int TabBar::GetCurSel() const {
    QTabBar* b = Bar(*this);
    return b ? b->currentIndex() : -1;
}

void TabBar::SetCurSel(int index) {
    if (QTabBar* b = Bar(*this)) {
        const bool old = b->blockSignals(true);
        b->setCurrentIndex(index);
        b->blockSignals(old);
    }
}

Rect TabBar::GetPageRect() const {
    QWidget* host = W(*this);
    QTabBar* b = Bar(*this);
    if (!host || !b) return {};
    const int top = b->sizeHint().height();
    return Rect{0, top, host->width(), host->height()};
}

// IP address edits.

void IpAddressEdit::SetAddress(uint32_t a) {
    if (auto* e = qobject_cast<QLineEdit*>(W(*this)))
        e->setText(QStringLiteral("%1.%2.%3.%4").arg(a >> 24).arg((a >> 16) & 0xFF).arg((a >> 8) & 0xFF).arg(a & 0xFF));
}
