// The application object, message pumping, message boxes, file dialogs and the clipboard.

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/sync.h"
#include "platform/ui_internal.h"

using namespace uiimpl;

void InstallInputFilter();

namespace {

std::unique_ptr<QApplication> g_app;
std::mutex g_hookMutex;
MessageBoxHook g_messageBoxHook;
FileDialogHook g_fileDialogHook;
std::string g_appTitle = "kvtester";

// Qt's standard buttons: their texts come from Qt's own translation.
void SetUpMessageBox(QMessageBox& box, const MessageBoxRequest& r) {
    box.setWindowTitle(Q(r.caption));
    box.setText(ToWidgetText(r.text));
    switch (r.type & 0xF0) {
        case kMbIconStop: box.setIcon(QMessageBox::Critical); break;
        case kMbIconQuestion: box.setIcon(QMessageBox::Question); break;
        case kMbIconWarning: box.setIcon(QMessageBox::Warning); break;
        case kMbIconInformation: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
    }
    const bool withCancel = (r.type & 0x0F) == kMbOkCancel;
    box.setStandardButtons(withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::Ok);
}

int RealMessageBox(const MessageBoxRequest& r) {
    QMessageBox box;
    SetUpMessageBox(box, r);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Ok) ? kIdOk : kIdCancel;
}

// Qt's own texts (standard buttons, file dialogs) in the program's language.
void InstallQtTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    else
        delete translator;
}

// "TXT Files(*.txt)|*.txt||" -> "TXT Files(*.txt)"
QString QtFilter(const std::string& filter) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        if (!name.contains(QLatin1Char('('))) name += QStringLiteral(" (") + parts[i + 1] + QStringLiteral(")");
        out << name;
    }
    return out.join(QStringLiteral(";;"));
}

// A save dialog adds the default extension to a typed name itself, before it asks whether to
// replace a file, so its question concerns the very file handed back (a native dialog would ask
// first and have the extension added after). An open dialog hands back the file chosen.
std::string RealFileDialog(const FileDialogRequest& r) {
    QFileDialog dialog(nullptr, QString(), Q(r.fileName), QtFilter(r.filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(r.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(r.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!r.open) dialog.setDefaultSuffix(Q(r.defaultExt));
    if (dialog.exec() != QDialog::Accepted) return std::string();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? std::string() : S(files.first());
}

}  // namespace

Application::Application(int& argc, char** argv) {
    if (!g_app) {
        g_app = std::make_unique<QApplication>(argc, argv);
        QFont f = g_app->font();
        f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
        f.setPointSize(9);
        g_app->setFont(f);
        InstallQtTranslation(*g_app);
        InstallInputFilter();
        SetWorkerEndHook(&WakeUiThread);
    }
}

Application::~Application() {
    SetWorkerEndHook(nullptr);
    // Before the program's static objects go: Qt must not outlive main.
    g_app.reset();
}

bool Application::HasDisplay() {
    for (const char* v : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* s = std::getenv(v);
        if (s && *s) return true;
    }
    return false;
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    std::swap(g_messageBoxHook, hook);
    return hook;
}

int ShowMessageBox(const std::string& text, const std::string& caption, uint32_t type) {
    MessageBoxRequest r{text, caption.empty() ? g_appTitle : caption, type};
    MessageBoxHook hook;
    {
        std::lock_guard<std::mutex> lock(g_hookMutex);
        hook = g_messageBoxHook;
    }
    if (hook) return hook(r);
    return RealMessageBox(r);
}

std::vector<std::string> MessageBoxButtonTexts(uint32_t type) {
    QMessageBox box;
    SetUpMessageBox(box, MessageBoxRequest{std::string(), std::string(), type});
    std::vector<std::string> texts;
    for (QMessageBox::StandardButton b : {QMessageBox::Ok, QMessageBox::Cancel}) {
        if (QAbstractButton* button = box.button(b)) texts.push_back(S(button->text()));
    }
    return texts;
}

void SetApplicationTitle(const std::string& title) { g_appTitle = title; }
std::string ApplicationTitle() { return g_appTitle; }

FileDialogHook SetFileDialogHook(FileDialogHook hook) {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    std::swap(g_fileDialogHook, hook);
    return hook;
}

std::string ShowFileDialog(const FileDialogRequest& request) {
    FileDialogHook hook;
    {
        std::lock_guard<std::mutex> lock(g_hookMutex);
        hook = g_fileDialogHook;
    }
    if (hook) return hook(request);
    return RealFileDialog(request);
}

bool IsUiThread() { return qApp && QThread::currentThread() == qApp->thread(); }

void PumpMessages() {
    if (qApp) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace {

// A wait on the user-interface thread sleeps in the event loop: its condition is checked after
// the events that woke it, and, for a state another thread changes without posting anything,
// after a recheck time that starts at 1 ms and doubles up to 16 ms while nothing else comes.
constexpr int kRecheckFirstMs = 1;
constexpr int kRecheckMaxMs = 16;

// A timer of the waiting thread that notes when it has fired.
struct WaitTimer {
    explicit WaitTimer(bool singleShot) {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setSingleShot(singleShot);
        QObject::connect(&timer, &QTimer::timeout, [this] { fired = true; });
    }
    QTimer timer;
    bool fired = false;
};

}  // namespace

bool WaitPumping(const std::function<bool()>& done, uint32_t timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    const bool bounded = timeoutMs != 0xFFFFFFFFu;
    if (done()) return true;
    if (!IsUiThread()) {
        // No event loop of ours here: look again every half millisecond.
        for (;;) {
            PumpMessages();
            if (done()) return true;
            if (bounded && std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(timeoutMs))
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    }
    WaitTimer deadline(true);
    if (bounded) deadline.timer.start(static_cast<int>(std::min<uint32_t>(timeoutMs, INT32_MAX)));
    WaitTimer recheck(false);
    int interval = kRecheckFirstMs;
    recheck.timer.start(interval);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (done()) return true;
        if (deadline.fired) return false;
        if (recheck.fired) {
            recheck.fired = false;
            if (interval < kRecheckMaxMs) {
                interval = std::min(interval * 2, kRecheckMaxMs);
                recheck.timer.start(interval);
            }
        }
    }
}

void WakeUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(app->thread())) dispatcher->wakeUp();
}

void PumpFor(uint32_t ms) {
    if (!IsUiThread()) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            PumpMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return;
    }
    // Asleep in the event loop until the time is up, waking only for events.
    WaitTimer end(true);
    end.timer.start(static_cast<int>(std::min<uint32_t>(ms, INT32_MAX)));
    while (!end.fired) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void PressKeyOnFocusWindow(Key key) {
    if (!qApp) return;
    QWidget* target = QApplication::focusWidget();
    if (!target) target = QApplication::activeModalWidget();
    if (!target) target = QApplication::activeWindow();
    if (!target) return;
    int code = Qt::Key_unknown;
    switch (key) {
        case Key::Enter: code = Qt::Key_Return; break;
        case Key::Escape: code = Qt::Key_Escape; break;
        case Key::Shift: code = Qt::Key_Shift; break;
        case Key::Space: code = Qt::Key_Space; break;
        case Key::Other: break;
    }
    SendKeyStroke(target, code);
}

bool uiimpl::SendKeyStroke(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& typed) {
    QPointer<QWidget> alive(target);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, typed);
    QCoreApplication::sendEvent(target, &press);
    if (!alive) return false;
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, typed);
    QCoreApplication::sendEvent(target, &release);
    return !alive.isNull();
}

void TypeOnFocusWindow(const std::string& text) {
    QWidget* target = QApplication::focusWidget();
    if (!target) return;
    if (!SendKeyStroke(target, Qt::Key_A, Qt::ControlModifier)) return;  // all of it, to be typed over
    for (const QChar c : Q(text)) {
        if (!SendKeyStroke(target, Qt::Key_unknown, Qt::NoModifier, QString(c))) return;
    }
}

ModalWindowTexts ActiveModalWindowTexts() {
    ModalWindowTexts texts;
    QWidget* modal = qApp ? QApplication::activeModalWidget() : nullptr;
    if (!modal) return texts;
    texts.title = S(modal->windowTitle());
    if (auto* box = qobject_cast<QMessageBox*>(modal)) texts.text = S(box->text());
    QWidget* focus = QApplication::focusWidget();
    texts.typing = qobject_cast<QLineEdit*>(focus) && modal->isAncestorOf(focus);
    return texts;
}

void SetClipboardText(const std::string& text) {
    if (qApp) QApplication::clipboard()->setText(Q(text));
}

std::string GetClipboardText() { return qApp ? S(QApplication::clipboard()->text()) : std::string(); }
