// Dialogs built from templates, their controls, message maps, timers and messages.

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "platform/ui_internal.h"

using namespace uiimpl;

// The client area: holds the controls and paints the background image.
class ClientArea : public QWidget {
public:
    explicit ClientArea(QWidget* parent) : QWidget(parent) {}
    QPixmap background;

protected:
    void paintEvent(QPaintEvent*) override {
        if (background.isNull()) return;
        QPainter p(this);
        p.drawPixmap(rect(), background);
    }
};

// What the Qt widget of a Dialog knows of it: its owner, and the owner's virtual operations.
class DialogHost {
public:
    explicit DialogHost(Dialog* owner) : owner_(owner) {}
    virtual ~DialogHost() = default;
    Dialog* Owner() const { return owner_; }
    void Detach() { owner_ = nullptr; }

    static void Close(Dialog* d) {
        if (d) d->OnClose();
    }
    static bool PreTranslate(Dialog* d, Key k) { return d && d->PreTranslateKey(k); }
    static void Ok(Dialog* d) {
        if (d) d->OnOK();
    }
    static void Cancel(Dialog* d) {
        if (d) d->OnCancel();
    }
    static void SysCommand(Dialog* d, int id) {
        if (d) d->OnSysCommand(id);
    }

protected:
    void Resized();
    void ShowSystemMenu(QWidget* self, const QPoint& at);
    Dialog* owner_;
};

// The widget of a Dialog: Base is QDialog for a window of its own, QWidget for a child page.
template <class Base>
class Host : public Base, public DialogHost {
public:
    Host(Dialog* owner, QWidget* parent, Qt::WindowFlags flags) : Base(parent, flags), DialogHost(owner) {}

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        Close(owner_);
    }
    void resizeEvent(QResizeEvent* e) override {
        Base::resizeEvent(e);
        Resized();
    }
    void contextMenuEvent(QContextMenuEvent* e) override { ShowSystemMenu(this, e->globalPos()); }
};

// A modal or modeless dialog: a window.
class WindowHost : public Host<QDialog> {
public:
    using Host::Host;

protected:
    void reject() override { Cancel(owner_); }
};

// A child page: a plain widget inside its parent, never a window (a QDialog always is one).
// Inside a dialog's client area it lies above every control of that dialog that one of its own
// controls overlaps, and below those that lie only in its empty parts (a row of buttons that
// the page's rectangle spans stays live). A page in a control (a tab page) lies below the
// control's own parts.
class PageHost : public Host<QWidget> {
public:
    PageHost(Dialog* owner, QWidget* parent, Qt::WindowFlags flags, bool inDialog)
        : Host(owner, parent, flags), inDialog_(inDialog) {
        if (!inDialog_) lower();
    }

protected:
    void showEvent(QShowEvent* e) override {
        Host::showEvent(e);
        Restack();
    }
    void moveEvent(QMoveEvent* e) override {
        Host::moveEvent(e);
        if (isVisible()) Restack();
    }
    void resizeEvent(QResizeEvent* e) override {
        Host::resizeEvent(e);
        if (isVisible()) Restack();
    }

private:
    void Restack();
    bool inDialog_;
};

void PageHost::Restack() {
    QWidget* parent = parentWidget();
    if (!inDialog_ || !parent) return;
    // The page's controls (the children of its client area) that take the mouse, shown or
    // not, in the parent's coordinates.
    QRegion own;
    for (QWidget* area : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        for (QWidget* c : area->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (c->isWindow() || c->testAttribute(Qt::WA_TransparentForMouseEvents)) continue;
            own += QRect(c->mapTo(parent, QPoint(0, 0)), c->size());
        }
    }
    raise();
    // Raised in their own order, so they keep it among themselves.
    const QObjectList siblings = parent->children();
    for (QObject* o : siblings) {
        auto* s = qobject_cast<QWidget*>(o);
        if (!s || s == this || s->isWindow() || !s->geometry().intersects(geometry())) continue;
        if (!own.intersects(s->geometry())) s->raise();
    }
}

struct Dialog::Impl {
    Dialog* self = nullptr;
    const DialogTemplate* tmpl = nullptr;
    QPointer<QWidget> widget;
    DialogHost* host = nullptr;  // the widget's own side; valid while widget is
    ClientArea* client = nullptr;
    std::map<int, ControlInfo> controls;
    std::vector<QPointer<QWidget>> byIndex;
    std::map<std::pair<int, int>, std::function<void()>> commands;
    std::map<uint32_t, std::function<intptr_t(uintptr_t, intptr_t)>> messages;
    std::map<int, QTimer*> timers;
    QEventLoop* loop = nullptr;
    bool ended = false;
    int result = 0;
    bool modal = false;
    std::unique_ptr<QObject> postbox;
    std::vector<std::pair<int, std::string>> sysItems;
    QSize minSize;
};

void DialogHost::Resized() {
    if (!owner_) return;
    const Rect r = owner_->GetClientRect();
    owner_->OnSize(r.Width(), r.Height());
}

void DialogHost::ShowSystemMenu(QWidget* self, const QPoint& at) {
    if (!owner_ || owner_->SystemMenuItems().empty()) return;
    QMenu menu(self);
    for (const auto& item : owner_->impl_->sysItems) {
        const int id = item.first;
        if (item.second.empty())
            menu.addSeparator();
        else
            menu.addAction(Q(item.second), [this, id] { SysCommand(owner_, id); });
    }
    menu.exec(at);
}

namespace {

Dialog* OwnerDialog(QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (auto* host = dynamic_cast<DialogHost*>(w)) return host->Owner();
    }
    return nullptr;
}

QPoint g_lastMousePos;

Key ToKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return Key::Enter;
        case Qt::Key_Escape: return Key::Escape;
        case Qt::Key_Shift: return Key::Shift;
        case Qt::Key_Space: return Key::Space;
        default: return Key::Other;
    }
}

}  // namespace

// Routes key presses through the dialogs' pre-translation and records mouse positions.
class InputFilter : public QObject {
public:
    using QObject::QObject;
    // Runs the pre-translation chain and the default Enter/Esc handling. True: swallowed.
    static bool HandleKey(QWidget* target, Key key) {
        // The dialog nearest the key's target pre-translates it and, for Enter and Esc, takes
        // its own default handling; the dialogs around it do not see the key.
        QWidget* hostWidget = target;
        while (hostWidget && !dynamic_cast<DialogHost*>(hostWidget)) hostWidget = hostWidget->parentWidget();
        Dialog* owner = hostWidget ? dynamic_cast<DialogHost*>(hostWidget)->Owner() : nullptr;
        if (!owner) return false;
        if (DialogHost::PreTranslate(owner, key)) return true;
        // Space checks no row of a list: the rows' checks change by clicks.
        if (key == Key::Space && qobject_cast<QTableView*>(target)) return true;
        if (key == Key::Escape) {
            DialogHost::Cancel(owner);
            return true;
        }
        if (key != Key::Enter) return false;
        // A multi-line edit that wants Enter keeps it.
        if (auto* p = qobject_cast<QPlainTextEdit*>(target)) {
            if (HasStyle(p->property(kStyleProperty).toUInt(), ControlStyle::kWantReturn)) return false;
        }
        // Enter presses the focused push button, else the dialog's default button; only a
        // dialog without a default button gets OnOK.
        auto* button = qobject_cast<QPushButton*>(target);
        if (!button) {
            for (QPushButton* b : hostWidget->findChildren<QPushButton*>()) {
                if (b->property(kKindProperty).toInt() == static_cast<int>(ControlKind::DefPushButton) &&
                    OwnerDialog(b) == owner) {
                    button = b;
                    break;
                }
            }
        }
        if (!button) DialogHost::Ok(owner);
        else if (button->isEnabled() && !button->isHidden()) button->click();
        return true;
    }

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        switch (ev->type()) {
            case QEvent::KeyPress: {
                auto* w = qobject_cast<QWidget*>(obj);
                if (!w || !w->isWidgetType()) break;
                // Popups of combo boxes handle their own keys.
                if (w->window() && w->window()->windowFlags().testFlag(Qt::Popup)) break;
                auto* k = static_cast<QKeyEvent*>(ev);
                if (HandleKey(w, ToKey(k->key()))) return true;
                break;
            }
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
                g_lastMousePos = static_cast<QMouseEvent*>(ev)->globalPosition().toPoint();
                break;
            default:
                break;
        }
        return QObject::eventFilter(obj, ev);
    }
};

void InstallInputFilter() {
    static InputFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new InputFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

Point GetMessagePos() { return Point{g_lastMousePos.x(), g_lastMousePos.y()}; }

// Controls.

namespace {

// Sends list and tree mouse events to the dialog as notifications.
class ViewMouseFilter : public QObject {
public:
    ViewMouseFilter(QWidget* view, int id) : QObject(view), view_(view), id_(id) {}

protected:
    bool eventFilter(QObject*, QEvent* ev) override {
        Notify code;
        switch (ev->type()) {
            case QEvent::MouseButtonRelease:
                if (static_cast<QMouseEvent*>(ev)->button() != Qt::LeftButton) return false;
                code = Notify::Click;
                break;
            case QEvent::MouseButtonDblClick:
                code = Notify::DblClick;
                break;
            case QEvent::MouseButtonPress:
                if (static_cast<QMouseEvent*>(ev)->button() != Qt::RightButton) {
                    Record(static_cast<QMouseEvent*>(ev));
                    return false;
                }
                code = Notify::RClick;
                break;
            default:
                return false;
        }
        Record(static_cast<QMouseEvent*>(ev));
        const int id = id_;
        QPointer<QWidget> v = view_;
        const uint64_t checks = UserChecks(v);
        // After the view has handled the event (selection first, as the user sees it). A click
        // that toggled a row's check box is the list's own: it toggles that box once, and no
        // click goes out for it.
        QTimer::singleShot(0, view_, [v, id, code, checks] {
            if (code == Notify::Click && UserChecks(v) != checks) return;
            if (Dialog* d = OwnerDialog(v)) d->DispatchNotify(id, code);
        });
        return false;
    }

private:
    static uint64_t UserChecks(QWidget* view) {
        auto* t = qobject_cast<QTableView*>(view);
        auto* m = t ? dynamic_cast<ListModel*>(t->model()) : nullptr;
        return m ? m->userChecks : 0;
    }

    void Record(QMouseEvent* e) {
        g_lastMousePos = e->globalPosition().toPoint();
        if (auto* t = qobject_cast<QTableView*>(view_)) {
            const QModelIndex i = t->indexAt(e->position().toPoint());
            view_->setProperty("kvt_lastRow", i.isValid() ? i.row() : -1);
        }
    }
    QWidget* view_;
    int id_;
};

void Notify_(QWidget* w, int id, Notify code) {
    if (Dialog* d = OwnerDialog(w)) d->DispatchNotify(id, code);
}

// Tells the dialog when an edit gets the focus.
class FocusInFilter : public QObject {
public:
    FocusInFilter(QWidget* edit, int id) : QObject(edit), edit_(edit), id_(id) {}

protected:
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() == QEvent::FocusIn) Notify_(edit_, id_, Notify::SetFocus);
        return false;
    }

private:
    QWidget* edit_;
    int id_;
};

// A button's click. OK and Cancel buttons that the message map leaves out run OnOK and OnCancel.
void ButtonClicked(QWidget* b, int id) {
    Dialog* d = OwnerDialog(b);
    if (!d || d->DispatchNotify(id, Notify::Clicked)) return;
    if (id == kIdOk) DialogHost::Ok(d);
    else if (id == kIdCancel) DialogHost::Cancel(d);
}

QWidget* MakeControl(const ControlTemplate& c, QWidget* parent, QButtonGroup*& radioGroup) {
    const QString caption = ToWidgetText(c.caption ? c.caption : "");
    const int id = c.id;
    QWidget* w = nullptr;
    switch (c.kind) {
        case ControlKind::PushButton:
        case ControlKind::DefPushButton: {
            auto* b = new QPushButton(caption, parent);
            b->setAutoDefault(false);
            b->setDefault(c.kind == ControlKind::DefPushButton);
            QObject::connect(b, &QPushButton::clicked, b, [b, id] { ButtonClicked(b, id); });
            w = b;
            break;
        }
        case ControlKind::CheckBox: {
            auto* b = new QCheckBox(caption, parent);
            QObject::connect(b, &QCheckBox::clicked, b, [b, id] { Notify_(b, id, Notify::Clicked); });
            w = b;
            break;
        }
        case ControlKind::RadioButton: {
            auto* b = new QRadioButton(caption, parent);
            if (HasStyle(c.style, ControlStyle::kGroup) || !radioGroup) {
                radioGroup = new QButtonGroup(parent);
                radioGroup->setExclusive(true);
            }
            radioGroup->addButton(b);
            QObject::connect(b, &QRadioButton::clicked, b, [b, id] { Notify_(b, id, Notify::Clicked); });
            w = b;
            break;
        }
        case ControlKind::Static: {
            auto* l = new QLabel(StaticText(caption), parent);
            if (HasStyle(c.style, ControlStyle::kCenter)) l->setAlignment(Qt::AlignCenter);
            else if (HasStyle(c.style, ControlStyle::kRight)) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            else l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            if (HasStyle(c.style, ControlStyle::kSunken)) l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            l->setWordWrap(HasStyle(c.style, ControlStyle::kMultiline));
            w = l;
            break;
        }
        case ControlKind::GroupBox: {
            // The title sits on the top line of the frame, as dialog group boxes draw it.
            auto* g = new QGroupBox(caption, parent);
            // A frame: clicks go to what lies over or under it.
            g->setAttribute(Qt::WA_TransparentForMouseEvents);
            g->setStyleSheet(QStringLiteral(
                "QGroupBox{border:1px solid palette(mid);border-radius:2px;margin-top:0.5em;}"
                "QGroupBox::title{subcontrol-origin:margin;subcontrol-position:top left;left:6px;padding:0 2px;}"));
            w = g;
            break;
        }
        case ControlKind::Picture: {
            auto* l = new QLabel(parent);
            l->setScaledContents(true);
            // The caption names the image resource.
            bool number = false;
            const int image = caption.toInt(&number);
            if (const char* file = number ? FindImageFile(image) : nullptr) l->setPixmap(QPixmap(QString::fromUtf8(file)));
            w = l;
            break;
        }
        case ControlKind::Edit:
        case ControlKind::RichEdit: {
            if (c.kind == ControlKind::RichEdit || HasStyle(c.style, ControlStyle::kMultiline)) {
                auto* p = new QPlainTextEdit(parent);
                p->setPlainText(caption);
                p->setReadOnly(HasStyle(c.style, ControlStyle::kReadOnly));
                p->setLineWrapMode(HasStyle(c.style, ControlStyle::kHScroll) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
                QObject::connect(p, &QPlainTextEdit::textChanged, p, [p, id] { Notify_(p, id, Notify::EditChange); });
                w = p;
            } else {
                auto* e = new QLineEdit(caption, parent);
                e->setReadOnly(HasStyle(c.style, ControlStyle::kReadOnly));
                if (HasStyle(c.style, ControlStyle::kPassword)) e->setEchoMode(QLineEdit::Password);
                e->setValidator(new EditInput(HasStyle(c.style, ControlStyle::kNumber), e));
                QObject::connect(e, &QLineEdit::textChanged, e, [e, id] { Notify_(e, id, Notify::EditChange); });
                QObject::connect(e, &QLineEdit::editingFinished, e, [e, id] { Notify_(e, id, Notify::KillFocus); });
                e->installEventFilter(new FocusInFilter(e, id));
                w = e;
            }
            break;
        }
        case ControlKind::ComboDropList:
        case ControlKind::ComboDropDown: {
            auto* cb = new QComboBox(parent);
            cb->setEditable(c.kind == ControlKind::ComboDropDown);
            cb->setInsertPolicy(QComboBox::NoInsert);
            cb->setMaxVisibleItems(15);
            QObject::connect(cb, QOverload<int>::of(&QComboBox::activated), cb,
                             [cb, id](int) { Notify_(cb, id, Notify::SelChange); });
            w = cb;
            break;
        }
        case ControlKind::ListReport: {
            QTableView* v = NewListView(parent);
            v->setModel(new ListModel(v));
            v->setSelectionBehavior(QAbstractItemView::SelectRows);
            v->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
            v->setSelectionMode(HasStyle(c.style, ControlStyle::kSingleSel) ? QAbstractItemView::SingleSelection
                                                        : QAbstractItemView::ExtendedSelection);
            v->setEditTriggers(QAbstractItemView::NoEditTriggers);
            v->setWordWrap(false);
            v->setCornerButtonEnabled(false);
            v->verticalHeader()->hide();
            v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
            v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 6);
            v->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
            v->horizontalHeader()->setStretchLastSection(false);
            v->horizontalHeader()->setHighlightSections(false);
            v->setContextMenuPolicy(Qt::PreventContextMenu);
            v->setProperty("kvt_lastRow", -1);
            v->viewport()->installEventFilter(new ViewMouseFilter(v, id));
            QObject::connect(v->selectionModel(), &QItemSelectionModel::selectionChanged, v, [v, id] {
                if (!static_cast<ListModel*>(v->model())->Dropping()) Notify_(v, id, Notify::ItemChanged);
            });
            QObject::connect(v->horizontalHeader(), &QHeaderView::sectionClicked, v, [v, id](int section) {
                v->setProperty("kvt_lastColumn", section);
                Notify_(v, id, Notify::ColumnClick);
            });
            static_cast<ListModel*>(v->model())->onUserCheck = [v, id](int row) {
                v->setProperty("kvt_lastToggledRow", row);
                Notify_(v, id, Notify::CheckToggled);
                Notify_(v, id, Notify::ItemChanged);
            };
            ListView(Window(v)).SetExtendedStyle(ListView::kExGridLines | ListView::kExFullRowSelect |
                                                 (HasStyle(c.style, ControlStyle::kCheckBoxes) ? ListView::kExCheckBoxes : 0u));
            w = v;
            break;
        }
        case ControlKind::Tree: {
            auto* t = new QTreeWidget(parent);
            t->setHeaderHidden(true);
            t->setColumnCount(1);
            t->setRootIsDecorated(true);
            t->viewport()->installEventFilter(new ViewMouseFilter(t, id));
            w = t;
            break;
        }
        case ControlKind::Tab: {
            auto* host = new QFrame(parent);
            host->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
            auto* bar = new QTabBar(host);
            bar->setDrawBase(true);
            bar->setExpanding(false);
            bar->move(0, 0);
            QObject::connect(bar, &QTabBar::currentChanged, host, [host, id](int) { Notify_(host, id, Notify::SelChange); });
            w = host;
            break;
        }
        case ControlKind::IpAddress: {
            auto* e = new QLineEdit(parent);
            e->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("^([0-9]{0,3})(\\.([0-9]{0,3})){0,3}$")), e));
            w = e;
            break;
        }
        case ControlKind::Progress:
            w = new QProgressBar(parent);
            break;
    }
    if (!w) return nullptr;
    w->setProperty(kIdProperty, id);
    w->setProperty(kSerialProperty, QVariant::fromValue<qulonglong>(NextWindowSerial()));
    w->setProperty(kKindProperty, static_cast<int>(c.kind));
    w->setProperty(kStyleProperty, static_cast<uint>(c.style));
    if (HasStyle(c.style, ControlStyle::kDisabled)) w->setEnabled(false);
    return w;
}

QRect TemplateRect(const DialogTemplate& t, const ControlTemplate& c) {
    if (t.units == TemplateUnits::Fractions) {
        return QRect(static_cast<int>(c.x * t.width), static_cast<int>(c.y * t.height), static_cast<int>(c.w * t.width),
                     static_cast<int>(c.h * t.height));
    }
    return QRect(DialogUnitsToPixelsX(c.x), DialogUnitsToPixelsY(c.y), DialogUnitsToPixelsX(c.w),
                 DialogUnitsToPixelsY(c.h));
}

QFont TemplateFont(const DialogTemplate& t) {
    QFont f = qApp ? qApp->font() : QFont();
    f.setFamilies({Q(t.fontName ? t.fontName : "SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                   QStringLiteral("Noto Sans CJK SC")});
    if (t.fontPointSize > 0) f.setPointSize(t.fontPointSize);
    return f;
}

void AddMenuItems(QWidget* host, QMenu* menu, const std::vector<MenuItemTemplate>& items) {
    for (const MenuItemTemplate& it : items) {
        if (!it.children.empty()) {
            QMenu* sub = menu->addMenu(Q(it.caption ? it.caption : ""));
            AddMenuItems(host, sub, it.children);
        } else if (it.id == 0) {
            menu->addSeparator();
        } else {
            const int id = it.id;
            QAction* a = menu->addAction(Q(it.caption ? it.caption : ""));
            a->setProperty(kIdProperty, id);
            QObject::connect(a, &QAction::triggered, host, [host, id] { Notify_(host, id, Notify::Clicked); });
        }
    }
}

}  // namespace

// Dialog.

Dialog::Dialog(int templateId) : templateId_(templateId), impl_(new Impl) {
    impl_->self = this;
    impl_->tmpl = FindDialogTemplate(templateId);
    impl_->postbox.reset(new QObject());
    if (qApp && QThread::currentThread() != qApp->thread()) impl_->postbox->moveToThread(qApp->thread());
}

Dialog::~Dialog() {
    if (impl_->widget) {
        impl_->host->Detach();
        delete impl_->widget.data();
    }
}

struct DialogAccess {
    static bool Build(Dialog* d, QWidget* parent, bool child, bool modal) {
        Dialog::Impl* im = d->impl_.get();
        const DialogTemplate* t = im->tmpl;
        if (!t || im->widget) return false;
        InstallInputFilter();
        Qt::WindowFlags flags = child ? Qt::Widget : Qt::Dialog;
        if (!child) {
            flags |= Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
            if (t->style & kDlgMinimizeBox) flags |= Qt::WindowMinimizeButtonHint;
            if (t->style & kDlgMaximizeBox) flags |= Qt::WindowMaximizeButtonHint;
            if (t->style & kDlgSystemMenu) flags |= Qt::WindowSystemMenuHint;
        }
        QWidget* host;
        if (child) {
            auto* page = new PageHost(d, parent, flags, dynamic_cast<ClientArea*>(parent) != nullptr);
            im->host = page;
            host = page;
        } else {
            auto* window = new WindowHost(d, parent, flags);
            window->setModal(modal);
            if (t->style & kDlgResizable) window->setSizeGripEnabled(false);
            im->host = window;
            host = window;
        }
        host->setAttribute(Qt::WA_DeleteOnClose, false);
        host->setFont(TemplateFont(*t));
        host->setWindowTitle(Q(t->caption ? t->caption : ""));
        auto* layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        if (t->menuId != 0) {
            if (const MenuTemplate* mt = FindMenuTemplate(t->menuId)) {
                auto* bar = new QMenuBar(host);
                for (const MenuItemTemplate& top : mt->items) {
                    if (top.children.empty()) {
                        const int id = top.id;
                        QAction* a = bar->addAction(Q(top.caption ? top.caption : ""));
                        QObject::connect(a, &QAction::triggered, host, [host, id] { Notify_(host, id, Notify::Clicked); });
                    } else {
                        QMenu* m = bar->addMenu(Q(top.caption ? top.caption : ""));
                        AddMenuItems(host, m, top.children);
                    }
                }
                layout->setMenuBar(bar);
            }
        }
        auto* client = new ClientArea(host);
        layout->addWidget(client);
        im->widget = host;
        im->client = client;
        im->ended = false;
        im->result = 0;
        im->modal = modal;

        QButtonGroup* radios = nullptr;
        im->byIndex.clear();
        for (const ControlTemplate& c : t->controls) {
            QWidget* w = MakeControl(c, client, radios);
            im->byIndex.emplace_back(w);
            if (!w) continue;
            QRect r = TemplateRect(*t, c);
            // A combo box's template height is that of its drop-down list; the closed box is as
            // tall as its text.
            if (c.kind == ControlKind::ComboDropList || c.kind == ControlKind::ComboDropDown)
                r.setHeight(std::min(r.height(), w->sizeHint().height()));
            w->setGeometry(r);
            if (c.kind == ControlKind::GroupBox) w->lower();
            if (c.kind == ControlKind::Tab) {
                if (QTabBar* bar = w->findChild<QTabBar*>()) bar->resize(w->width(), bar->sizeHint().height());
            }
            if (HasStyle(c.style, ControlStyle::kHidden)) w->hide();
            if (c.id != -1 && !im->controls.count(c.id))
                im->controls[c.id] = ControlInfo{w, c.kind, w->property(kSerialProperty).toULongLong()};
        }
        int width, height;
        if (t->units == TemplateUnits::Fractions) {
            width = t->width;
            height = t->height;
        } else {
            width = DialogUnitsToPixelsX(t->width);
            height = DialogUnitsToPixelsY(t->height);
        }
        host->resize(width, height + (layout->menuBar() ? layout->menuBar()->sizeHint().height() : 0));
        // Sizes the client area now, so OnInitDialog sees the real client rectangle.
        layout->activate();
        if (!child && !(t->style & kDlgResizable)) host->setFixedSize(host->size());
        return true;
    }

    // Ends the window: OnDestroy, then the controls and timers go with it.
    static void Destroy(Dialog* d) {
        Dialog::Impl* im = d->impl_.get();
        if (!im->widget) return;
        d->OnDestroy();
        for (auto& t : im->timers) delete t.second;
        im->timers.clear();
        im->controls.clear();
        im->byIndex.clear();
        im->host->Detach();
        im->widget->hide();
        im->widget->deleteLater();
        im->widget = nullptr;
        im->host = nullptr;
        im->client = nullptr;
    }
};

int Dialog::DoModal(Dialog* parent) {
    QWidget* pw = parent && parent->impl_->widget ? parent->impl_->widget.data() : nullptr;
    if (!DialogAccess::Build(this, pw, false, true)) return -1;
    impl_->widget->setWindowModality(Qt::ApplicationModal);
    OnInitDialog();
    if (!impl_->ended && impl_->widget) {
        impl_->widget->show();
        QEventLoop loop;
        impl_->loop = &loop;
        loop.exec();
        impl_->loop = nullptr;
    }
    const int result = impl_->result;
    DialogAccess::Destroy(this);
    return result;
}

bool Dialog::Create(Dialog* parent) {
    const bool child = impl_->tmpl && (impl_->tmpl->style & kDlgChild);
    QWidget* pw = nullptr;
    if (parent && parent->impl_->widget) pw = child ? static_cast<QWidget*>(parent->impl_->client) : parent->impl_->widget.data();
    if (!DialogAccess::Build(this, pw, child, false)) return false;
    OnInitDialog();
    if (impl_->widget) {
        if (impl_->tmpl->style & kDlgVisible) impl_->widget->show();
        else if (child) impl_->widget->hide();
    }
    return true;
}

bool Dialog::CreateIn(Window host) {
    QWidget* pw = W(host);
    if (!pw) return false;
    if (!DialogAccess::Build(this, pw, true, false)) return false;
    OnInitDialog();
    if (impl_->widget && !(impl_->tmpl->style & kDlgVisible)) impl_->widget->hide();
    return true;
}

void Dialog::DestroyWindow() { DialogAccess::Destroy(this); }

std::vector<Dialog*> DialogsWithin(Window window) {
    std::vector<Dialog*> dialogs;
    if (QWidget* w = W(window)) {
        for (QWidget* child : w->findChildren<QWidget*>())
            if (auto* host = dynamic_cast<DialogHost*>(child); host && host->Owner()) dialogs.push_back(host->Owner());
    }
    return dialogs;
}

bool Dialog::IsCreated() const { return impl_->widget != nullptr; }

void Dialog::EndDialog(int code) {
    impl_->result = code;
    impl_->ended = true;
    if (impl_->loop) impl_->loop->exit();
    else if (impl_->widget && !impl_->modal) impl_->widget->hide();
}

Window Dialog::GetWindow() const { return Window(impl_->widget.data()); }

Window Dialog::GetTemplateControl(int index) const {
    if (index < 0 || index >= static_cast<int>(impl_->byIndex.size())) return Window();
    QWidget* w = impl_->byIndex[static_cast<size_t>(index)].data();
    return w ? Window(w, w->property(kSerialProperty).toULongLong()) : Window();
}

Window Dialog::GetDlgItem(int id) const {
    auto it = impl_->controls.find(id);
    if (it == impl_->controls.end() || !it->second.widget) return Window();
    return Window(it->second.widget.data(), it->second.serial);
}

void Dialog::SetDlgItemText(int id, const std::string& text) { GetDlgItem(id).SetText(text); }

std::string Dialog::GetDlgItemText(int id) const { return GetDlgItem(id).GetText(); }

void Dialog::ShowWindow(bool show) {
    if (impl_->widget) impl_->widget->setVisible(show);
}

bool Dialog::IsWindowVisible() const { return impl_->widget && !impl_->widget->isHidden(); }

void Dialog::MoveWindow(int x, int y, int width, int height) {
    if (!impl_->widget) return;
    impl_->widget->setGeometry(x, y, width, height);
}

Rect Dialog::GetWindowRect() const { return GetWindow().GetWindowRect(); }

Rect Dialog::GetClientRect() const {
    if (!impl_->client) return {};
    return Rect{0, 0, impl_->client->width(), impl_->client->height()};
}

void Dialog::SetMinTrackSize(int width, int height) {
    impl_->minSize = QSize(width, height);
    if (impl_->widget) impl_->widget->setMinimumSize(width, height);
}

void Dialog::SetIconFromFile(const std::string& path) {
    if (impl_->widget) impl_->widget->setWindowIcon(QIcon(Q(path)));
}

void Dialog::SetBackgroundImage(const std::string& path) {
    if (!impl_->client) return;
    impl_->client->background = QPixmap(Q(path));
    impl_->client->update();
}

void Dialog::AppendSystemMenuItem(int id, const std::string& text) { impl_->sysItems.emplace_back(id, text); }

std::vector<std::string> Dialog::SystemMenuItems() const {
    std::vector<std::string> out;
    for (const auto& i : impl_->sysItems) out.push_back(i.second);
    return out;
}

void Dialog::SetTimer(int id, uint32_t periodMs) {
    if (!impl_->widget) return;
    QTimer*& t = impl_->timers[id];
    if (!t) {
        t = new QTimer(impl_->widget);
        QObject::connect(t, &QTimer::timeout, impl_->widget, [this, id] { OnTimer(id); });
    }
    t->start(static_cast<int>(periodMs));
}

void Dialog::KillTimer(int id) {
    auto it = impl_->timers.find(id);
    if (it != impl_->timers.end() && it->second) it->second->stop();
}

bool Dialog::IsTimerRunning(int id) const {
    auto it = impl_->timers.find(id);
    return it != impl_->timers.end() && it->second && it->second->isActive();
}

uint32_t Dialog::TimerPeriod(int id) const {
    if (!IsTimerRunning(id)) return 0;
    return static_cast<uint32_t>(impl_->timers.at(id)->interval());
}

void Dialog::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    QMetaObject::invokeMethod(impl_->postbox.get(), [this, message, wParam, lParam] {
        if (!impl_->widget) return;
        auto it = impl_->messages.find(message);
        if (it != impl_->messages.end()) it->second(wParam, lParam);
    }, Qt::QueuedConnection);
}

intptr_t Dialog::SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    intptr_t result = 0;
    auto run = [this, message, wParam, lParam, &result] {
        if (!impl_->widget) return;
        auto it = impl_->messages.find(message);
        if (it != impl_->messages.end()) result = it->second(wParam, lParam);
    };
    if (!qApp || QThread::currentThread() == impl_->postbox->thread())
        run();
    else
        QMetaObject::invokeMethod(impl_->postbox.get(), run, Qt::BlockingQueuedConnection);
    return result;
}

void Dialog::PostTask(std::function<void()> task) {
    QMetaObject::invokeMethod(impl_->postbox.get(), [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

void Dialog::PostTaskAfter(uint32_t delayMs, std::function<void()> task) {
    QObject* box = impl_->postbox.get();
    QMetaObject::invokeMethod(box, [box, delayMs, task = std::move(task)]() mutable {
        QTimer::singleShot(static_cast<int>(delayMs), box, std::move(task));
    }, Qt::QueuedConnection);
}

void Dialog::SendTask(const std::function<void()>& task) {
    if (!qApp || QThread::currentThread() == impl_->postbox->thread())
        task();
    else
        QMetaObject::invokeMethod(impl_->postbox.get(), [&task] { task(); }, Qt::BlockingQueuedConnection);
}

void Dialog::MapCommand(int id, Notify code, std::function<void()> handler) {
    impl_->commands[{id, static_cast<int>(code)}] = std::move(handler);
}

void Dialog::MapMessage(uint32_t message, std::function<intptr_t(uintptr_t, intptr_t)> handler) {
    impl_->messages[message] = std::move(handler);
}

bool Dialog::DispatchNotify(int id, Notify code) {
    auto it = impl_->commands.find({id, static_cast<int>(code)});
    if (it == impl_->commands.end()) return false;
    // A copy: the handler may remap or destroy.
    std::function<void()> h = it->second;
    h();
    return true;
}

bool Dialog::PressKey(Key key) {
    // To the control that has the focus in this dialog (or would have, were it active).
    QWidget* target = impl_->widget ? impl_->widget->focusWidget() : nullptr;
    if (!target || OwnerDialog(target) != this) target = impl_->widget;
    if (!target) return false;
    return InputFilter::HandleKey(target, key);
}

void Dialog::Close() {
    if (impl_->widget) OnClose();
}

// Notifications that tests raise as a user would.

void ListView::ClickRow(int row, Notify kind) {
    QWidget* w = W(*this);
    if (!w) return;
    if (row >= 0 && row < GetItemCount()) {
        ClearSelection();
        SelectRow(row);
    }
    w->setProperty("kvt_lastRow", row);
    if (Dialog* d = OwnerDialog(w)) d->DispatchNotify(GetId(), kind);
}

void TreeView::ClickAt(Point client) {
    auto* t = qobject_cast<QTreeWidget*>(W(*this));
    if (!t) return;
    g_lastMousePos = t->viewport()->mapToGlobal(QPoint(client.x, client.y));
    if (Dialog* d = OwnerDialog(t)) d->DispatchNotify(GetId(), Notify::Click);
}

bool SaveWindowImage(const Dialog& dialog, const std::string& path) {
    QWidget* w = W(dialog.GetWindow());
    if (!w) return false;
    return w->grab().save(Q(path), "PNG");
}
