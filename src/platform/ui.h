#pragma once
// The window layer: dialogs built from templates, controls reached by id, message maps,
// timers, posted and sent messages, message pumping, message boxes and file dialogs.
//
// Only the user-interface thread touches windows. Other threads post or send closures or
// numbered messages to a window; a sent message blocks until the user-interface thread has
// run it, so a thread that waits for a worker must pump messages (WaitPumping).

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/local_time.h"

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct Point {
    int x = 0, y = 0;
};

// Text colour as 0x00BBGGRR.
using ColorRef = uint32_t;
constexpr ColorRef MakeRgb(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Dialog end codes and message-box answers.
enum DialogResult { kIdOk = 1, kIdCancel = 2 };

// Notifications of a control to its dialog's message map.
enum class Notify {
    Clicked,       // button, check box, radio button, menu command
    SelChange,     // combo box selection, tab selection
    EditChange,    // edit text changed by the user
    Click,         // list or tree: mouse click
    DblClick,      // list or tree: double click
    RClick,        // list: right click
    ItemChanged,   // list: selection or check state of a row changed
    CheckToggled,  // list: the user toggled a row's check box (ListView::LastToggledRow)
    ColumnClick,   // list: header clicked
    KillFocus,
    SetFocus,      // edit: got the keyboard focus
};

// Keys that dialogs pre-translate.
enum class Key { Enter, Escape, Shift, Space, Other };

class Window;
class Dialog;

// A handle to one window: a dialog or a control. Copies refer to the same window.
// A default-constructed handle refers to nothing; every call on it does nothing.
class Window {
public:
    Window() = default;
    bool IsValid() const { return w_ != nullptr; }
    int GetId() const;
    // A number no other window of the process has had or will have (0 for no window). Handles
    // from GetDlgItem carry it, so any thread may ask them.
    uint64_t UniqueId() const;

    void SetText(const std::string& text);
    std::string GetText() const;
    void Show(bool show = true);
    void Hide() { Show(false); }
    bool IsVisible() const;
    void Enable(bool enable = true);
    bool IsEnabled() const;
    // Position relative to the parent's client area.
    void Move(int x, int y, int width, int height, bool repaint = true);
    // Rectangle in screen coordinates.
    Rect GetWindowRect() const;
    Rect GetClientRect() const;
    // Rectangle relative to the parent's client area.
    Rect GetRectInParent() const;
    // A window of its own (a dialog), not a control or page inside a parent.
    bool IsTopLevel() const;
    // Gives the control the keyboard focus, its window made the active one.
    void SetFocus();
    // The control has the keyboard focus and its window is the active one.
    bool HasFocus() const;
    void Invalidate();
    void SetFont(const std::string& face, int pixelHeight, int weight);
    Point ScreenToClient(Point screen) const;
    // The colour drawn at a point of the window's client area (0 outside it).
    ColorRef GetPixel(Point client) const;
    // The least width and height (as right and bottom) that show the control's text whole: a
    // label's, a button's, a check box's, a group box's title, a combo box's current choice.
    // Empty for controls whose content scrolls (edits, lists) and for windows without text.
    Rect GetNeededSize() const;

    // Presses and releases the left button at a client point, the events going where the
    // pointer's would, Shift held when asked (for tests).
    void MouseClick(Point client, bool shift = false);

    // Raw access for the platform's own code.
    void* Raw() const { return w_; }
    explicit Window(void* w, uint64_t uniqueId = 0) : w_(w), id_(uniqueId) {}

protected:
    void* w_ = nullptr;
    uint64_t id_ = 0;  // known when the handle is made: read without touching the window
};

class Button : public Window {
public:
    Button() = default;
    explicit Button(Window w) : Window(w) {}
    int GetCheck() const;  // 0 or 1
    void SetCheck(int check);
    void Click();  // as if the user clicked it
};

class Edit : public Window {
public:
    Edit() = default;
    explicit Edit(Window w) : Window(w) {}
    void SetLimitText(int chars);
    int GetLimitText() const;
    // Appends text at the end and scrolls to it.
    void AppendText(const std::string& text);
    // Replaces the selection; SetSel(-1, -1) then ReplaceSel appends.
    void SetSel(int start, int end);
    void ReplaceSel(const std::string& text);
    int GetLineCount() const;
    // Types text as a user would: limits and filters apply, notifications follow.
    void TypeText(const std::string& text);
};

class RichEdit : public Edit {
public:
    RichEdit() = default;
    explicit RichEdit(Window w) : Edit(w) {}
};

class ComboBox : public Window {
public:
    ComboBox() = default;
    explicit ComboBox(Window w) : Window(w) {}
    // Adds an entry; a sorted box places it by its GBK bytes, case-insensitively. Returns its index.
    int AddString(const std::string& text);
    int InsertString(int index, const std::string& text);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;  // -1: none
    void SetCurSel(int index);
    std::string GetLBText(int index) const;
    int FindStringExact(const std::string& text) const;
    // The selected entry's text (or, for a box with an edit field, the edit text).
    std::string GetSelectedText() const;
    void SetItemData(int index, intptr_t data);
    intptr_t GetItemData(int index) const;
    // Selects as a user would; the dialog gets Notify::SelChange.
    void SelectAsUser(int index);
};

// One cell of a list row, kept in a compact form and turned into its text only when the row is
// drawn or read. A text cell refers to the caller's text, which must live until the row is added.
class ListCell {
public:
    enum Kind : uint8_t { kText, kHexBytes, kTimeStamp, kNumber, kNumber2 };
    static ListCell Text(std::string_view text) { return ListCell(kText, text.data(), text.size(), 0); }
    // "%02X " for every byte.
    static ListCell HexBytes(const unsigned char* bytes, size_t count) {
        return ListCell(kHexBytes, reinterpret_cast<const char*>(bytes), count, 0);
    }
    // "%04d-%02d-%02d %02d:%02d:%02d:%03d" of year, month, day, hour, minute, second, milliseconds.
    // t must live until the row is added.
    static ListCell TimeStamp(const SystemTime& t);
    // "%d" of the value, or "%02d" with width 2.
    static ListCell Number(int value, int width = 0) {
        return ListCell(width == 2 ? kNumber2 : kNumber, nullptr, 0, static_cast<uint64_t>(static_cast<uint32_t>(value)));
    }

    Kind kind;
    const char* data;
    size_t size;
    uint64_t value;

private:
    ListCell(Kind k, const char* d, size_t n, uint64_t v) : kind(k), data(d), size(n), value(v) {}
};

class ListView;

// Rows gathered apart from a list, then put into it in a single step (ListView::InsertRows). A
// block holds at most the list's row limit: rows added past it are only counted.
class ListRows {
public:
    explicit ListRows(const ListView& list);
    ~ListRows();
    ListRows(const ListRows&) = delete;
    ListRows& operator=(const ListRows&) = delete;
    // Adds a row of compact cells (cells past count stay empty); their texts are copied.
    void Add(const ListCell* cells, size_t count);
    size_t Size() const;
    // The block holds as many rows as the list may.
    bool Full() const;
    // After InsertRows: the list's rows that went to make room for the block, and the rows of
    // the block that the list did not take (added past Full or left out by the insertion).
    size_t RemovedRows() const;
    size_t RefusedRows() const;

private:
    friend class ListView;
    struct Rows;
    std::unique_ptr<Rows> rows_;
};

// Drawing on a list that draws its own rows, in the coordinates of the rows' area.
class ListPainter {
public:
    void FillRect(const Rect& r, ColorRef color);
    // A one-pixel frame along the inner edge of r.
    void FrameRect(const Rect& r, ColorRef color);
    // One line of text, left-aligned and vertically centred in r, cut at its edges.
    void DrawText(const Rect& r, std::string_view text, ColorRef color);
    // A vertical line of every other pixel at x, from top to bottom (bottom left out).
    void DrawDottedLine(int x, int top, int bottom, ColorRef color);

    explicit ListPainter(void* impl) : impl_(impl) {}

private:
    void* impl_;
};

// One row of a list that draws its own rows.
struct ListRowDraw {
    int row = -1;
    Rect bounds;                       // the row across every column, as scrolled
    unsigned state = 0;                // ListView::kStateFocused, ListView::kStateSelected
    bool listHasFocus = false;         // the list is the focus window
    bool showSelectionAlways = false;  // the list's template shows the selection unfocused too
};

// Report list control backed by a model: fast with many rows.
class ListView : public Window {
public:
    ListView() = default;
    explicit ListView(Window w) : Window(w) {}
    enum Align { kLeft, kCenter, kRight };
    int InsertColumn(int index, const std::string& heading, int width, Align align = kLeft);
    void SetColumnAlign(int column, Align align);
    int GetColumnCount() const;
    std::string GetColumnHeading(int column) const;
    int GetColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // Extended styles (combine with |). A list made from a template starts with grid lines and
    // full-row selection, and check boxes when the template asks for them. Grid lines run on
    // below the last row to the bottom of the list. Rows are always selected whole and the
    // scroll bars have one look whatever those two flags say.
    enum ExtendedStyle : uint32_t {
        kExGridLines = 0x1,
        kExCheckBoxes = 0x4,
        kExFullRowSelect = 0x20,
        kExFlatScrollBars = 0x100,
    };
    void SetExtendedStyle(uint32_t styles);
    uint32_t GetExtendedStyle() const;
    // Adds or removes kExCheckBoxes.
    void SetCheckBoxes(bool on);

    int GetItemCount() const;
    // Inserts a row with its first cell; index at or past the end appends. Returns the row.
    int InsertItem(int index, const std::string& text);
    // Appends a whole row.
    int AppendRow(const std::vector<std::string>& cells);
    // Inserts the rows, in their order, before row index (at or past the end: after the last
    // row) in one step, and empties rows. Past the row limit the rows that were there go first,
    // from the top, dropRows at a time as appends drop them; then the block keeps its first rows
    // that fit. Returns the first inserted row, -1 for none.
    int InsertRows(int index, ListRows& rows);
    // Appends a row of compact cells (cells past count stay empty); with textColor, every cell
    // of the row is drawn in that colour. Returns the row.
    int AppendCells(const ListCell* cells, size_t count, const ColorRef* textColor = nullptr);
    // A list keeps at most maxRows rows: an append past them first removes the dropRows oldest.
    // Every list starts with kDefaultRowLimit and kDefaultDropRows.
    void SetRowLimit(int maxRows, int dropRows);
    static constexpr int kDefaultRowLimit = 1000000;
    static constexpr int kDefaultDropRows = 100000;
    bool SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const;
    bool DeleteItem(int row);
    void DeleteAllItems();
    // Deletes every row whose item data is below data; the others keep their order, selection
    // and focus. Returns how many went.
    int DeleteItemsWithDataBelow(intptr_t data);
    // Deletes row r where drop[r] is true, in one step; rows past drop's end stay. The others
    // keep their order, selection and focus. Returns how many went.
    int DeleteItems(const std::vector<bool>& drop);
    void SetItemData(int row, intptr_t data);
    intptr_t GetItemData(int row) const;
    void SetCellTextColor(int row, int column, ColorRef color);
    bool GetCheck(int row) const;
    void SetCheck(int row, bool check);
    // Selection and focus.
    int GetSelectionMark() const;  // focused or first selected row, -1 when none
    std::vector<int> GetSelectedRows() const;
    void SelectRow(int row, bool select = true);  // also makes it the focused row
    void ClearSelection();
    // Scrolls vertically until the row is in view; the horizontal position stays.
    void EnsureVisible(int row);
    int GetTopIndex() const;
    // Scroll position in pixels (x across the columns, y down the rows), and a scroll by pixels.
    Point GetOrigin() const;
    void Scroll(int dx, int dy);
    // Sorts the rows by one column's text.
    void SortByColumn(int column, bool ascending);
    // Sorts stably by one column: compare(a, b) < 0 puts a first. The selection follows its rows.
    void SortRows(int column, const std::function<int(std::string_view, std::string_view)>& compare);
    // Clicks as a user would: selects the row and sends Notify::Click (or DblClick / RClick).
    void ClickRow(int row, Notify kind = Notify::Click);
    // Clicks a column header as a user would: the dialog gets Notify::ColumnClick.
    void ClickColumn(int column);
    // The header clicked last, -1 for none.
    int LastClickedColumn() const;
    // Presses Ctrl+A on the list as the keyboard would.
    void PressSelectAll();
    // Scrolls the row into view and clicks its first cell with the mouse, Shift held when asked.
    void MouseClickRow(int row, bool shift = false);
    // The row whose check box the user toggled last, -1 for none.
    int LastToggledRow() const;
    // A row's check box in client coordinates, where a click toggles it; empty when the row has
    // none.
    Rect GetCheckBoxRect(int row) const;

    // Cell colours as drawn: a cell's own, else its row's, else black text on white.
    ColorRef GetCellTextColor(int row, int column) const;
    void SetCellBackColor(int row, int column, ColorRef color);
    ColorRef GetCellBackColor(int row, int column) const;
    // Colours of rows that have none of their own, and of the selected rows.
    void SetListColors(ColorRef text, ColorRef background);
    // Row states: kStateFocused, kStateSelected. Sets the states in mask to those in state;
    // selecting a row of a single-selection list deselects the others. False for no such row.
    enum ItemState : unsigned { kStateFocused = 0x1, kStateSelected = 0x2 };
    bool SetItemState(int row, unsigned state, unsigned mask);
    unsigned GetItemState(int row, unsigned mask) const;
    // Width in pixels of a text in the list's font.
    int GetStringWidth(const std::string& text) const;

    // Rows drawn by the owner: on each paint the list fills the part of its rows' area to be
    // drawn with its background colour, calls drawRow for every row in that part, then
    // afterPaint with the whole rows' area. The list draws no cells, check boxes or grid of its
    // own then. Focus changes repaint the list. Empty hooks give the list its own drawing back.
    using DrawRowHook = std::function<void(ListPainter&, const ListRowDraw&)>;
    using AfterPaintHook = std::function<void(ListPainter&, const Rect& rowsArea)>;
    void SetOwnerDraw(DrawRowHook drawRow, AfterPaintHook afterPaint);
};

using TreeItem = intptr_t;  // 0: no item
constexpr TreeItem kTreeRoot = 0;

class TreeView : public Window {
public:
    TreeView() = default;
    explicit TreeView(Window w) : Window(w) {}
    TreeItem InsertItem(const std::string& text, TreeItem parent = kTreeRoot);
    void SetItemData(TreeItem item, intptr_t data);
    intptr_t GetItemData(TreeItem item) const;
    std::string GetItemText(TreeItem item) const;
    void Expand(TreeItem item, bool expand = true);
    bool IsExpanded(TreeItem item) const;
    TreeItem GetRootItem() const;
    TreeItem GetNextSibling(TreeItem item) const;
    TreeItem GetChildItem(TreeItem item) const;
    void DeleteAllItems();
    // Item at a point in client coordinates; 0 when none.
    TreeItem HitTest(Point client) const;
    // Client-coordinate centre of an item's row (for tests).
    Point ItemCenter(TreeItem item) const;
    // Clicks at a client point as a user would: Notify::Click to the dialog.
    void ClickAt(Point client);
};

class TabBar : public Window {
public:
    TabBar() = default;
    explicit TabBar(Window w) : Window(w) {}
    int InsertItem(int index, const std::string& text);
    void DeleteAllItems();
    int GetItemCount() const;
    std::string GetItemText(int index) const;
    int GetCurSel() const;
    void SetCurSel(int index);
    // Client area below the tabs, in the tab control's own coordinates.
    Rect GetPageRect() const;
};

class IpAddressEdit : public Window {
public:
    IpAddressEdit() = default;
    explicit IpAddressEdit(Window w) : Window(w) {}
    // Address as a 32-bit value, first octet in the high byte.
    void SetAddress(uint32_t address);
};

// A dialog built from a template. Derive from it, map handlers in the constructor, and
// override the virtual operations.
class Dialog {
public:
    explicit Dialog(int templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int TemplateId() const { return templateId_; }

    // Runs modally; returns the end code given to EndDialog.
    int DoModal(Dialog* parent = nullptr);
    // Creates a modeless window (or a child page for a child template). True on success.
    bool Create(Dialog* parent = nullptr);
    // Creates the dialog as a child page inside another window (such as a tab control).
    bool CreateIn(Window host);
    void DestroyWindow();
    bool IsCreated() const;
    void EndDialog(int code);

    // This dialog's own window.
    Window GetWindow() const;
    Window GetDlgItem(int id) const;
    // The window made for the template's control at this index (plain labels included).
    Window GetTemplateControl(int index) const;
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void ShowWindow(bool show = true);
    bool IsWindowVisible() const;
    void MoveWindow(int x, int y, int width, int height);
    Rect GetWindowRect() const;
    Rect GetClientRect() const;
    void SetMinTrackSize(int width, int height);
    void SetIconFromFile(const std::string& path);
    // Stretches the image over the whole client area behind the controls.
    void SetBackgroundImage(const std::string& path);
    // Adds an item to the window's system menu; choosing it calls OnSysCommand(id).
    void AppendSystemMenuItem(int id, const std::string& text);
    std::vector<std::string> SystemMenuItems() const;

    // Window timers by id; the tick calls OnTimer on the user-interface thread.
    void SetTimer(int id, uint32_t periodMs);
    void KillTimer(int id);
    bool IsTimerRunning(int id) const;
    // The period of a running timer; 0 when it is not running.
    uint32_t TimerPeriod(int id) const;
    // Delivers one tick of the timer as it would come, running or not (used by tests).
    void DeliverTimerTick(int id) { OnTimer(id); }

    // Messages from any thread. Posted ones run later on the user-interface thread; sent
    // ones run there before the call returns (at once when called on that thread).
    void PostMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    intptr_t SendMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    void PostTask(std::function<void()> task);
    // Runs the task on the user-interface thread after the delay (from any thread).
    void PostTaskAfter(uint32_t delayMs, std::function<void()> task);
    void SendTask(const std::function<void()>& task);

    // Message map.
    void MapCommand(int id, Notify code, std::function<void()> handler);
    void MapMessage(uint32_t message, std::function<intptr_t(uintptr_t, intptr_t)> handler);
    // Delivers a notification as the control would (used by the platform and by tests).
    bool DispatchNotify(int id, Notify code);

    // Simulates a key press on this dialog (for tests); returns true when it was swallowed.
    bool PressKey(Key key);
    // Simulates the window's close command.
    void Close();

protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(kIdOk); }
    virtual void OnCancel() { EndDialog(kIdCancel); }
    // Default: OnCancel.
    virtual void OnClose() { OnCancel(); }
    virtual void OnTimer(int /*id*/) {}
    virtual void OnSize(int /*width*/, int /*height*/) {}
    virtual void OnSysCommand(int /*id*/) {}
    // Called for every key press in the dialog or its controls; true swallows the key.
    virtual bool PreTranslateKey(Key /*key*/) { return false; }
    // Called before the window is destroyed.
    virtual void OnDestroy() {}

private:
    friend class DialogHost;
    friend struct DialogAccess;
    int templateId_;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Message boxes: every one passes through the hook, so tests can answer them.
enum MessageBoxType : uint32_t {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbIconStop = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconWarning = 0x30,
    kMbIconInformation = 0x40,
};

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    uint32_t type = kMbOk;
};

using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
// Installs a hook (nullptr restores the real message box). Returns the previous one.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
// Shows a message box; returns kIdOk or kIdCancel. An empty caption means the program's title.
int ShowMessageBox(const std::string& text, const std::string& caption = std::string(),
                   uint32_t type = kMbOk);
// The texts of the buttons of the message box that ShowMessageBox shows for this type: OK,
// then Cancel when it has one.
std::vector<std::string> MessageBoxButtonTexts(uint32_t type);
void SetApplicationTitle(const std::string& title);
std::string ApplicationTitle();

struct FileDialogRequest {
    bool open = true;          // false: save
    std::string defaultExt;    // e.g. "txt": a save dialog adds it to a name typed without
                               // one; an open dialog hands back the file chosen
    std::string fileName;      // proposed name
    std::string filter;        // "TXT Files(*.txt)|*.txt||"
};

using FileDialogHook = std::function<std::string(const FileDialogRequest&)>;
FileDialogHook SetFileDialogHook(FileDialogHook hook);
// The chosen path, or "" when cancelled.
std::string ShowFileDialog(const FileDialogRequest& request);

// The application: one per process.
class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    static bool HasDisplay();
};

// True on the user-interface thread.
bool IsUiThread();
// Runs every pending message once.
void PumpMessages();
// Pumps messages until done() is true or the time runs out; true when done.
bool WaitPumping(const std::function<bool()>& done, uint32_t timeoutMs = 0xFFFFFFFFu);
// Pumps messages for the given time.
void PumpFor(uint32_t ms);
// Has a wait of the user-interface thread look at its condition now (a worker thread's end
// calls it); any thread.
void WakeUiThread();
// Presses and releases a key on the window that has the keyboard focus (a message box that is
// up, for one), as the keyboard would.
void PressKeyOnFocusWindow(Key key);

// Types the text over all of what the window that has the keyboard focus holds, as select-all
// and the keyboard would.
void TypeOnFocusWindow(const std::string& text);
// The modal window that is up (a message box, a file dialog): its title and a message box's
// text; both empty when none is up. typing: the keyboard focus is in one of its text fields.
struct ModalWindowTexts {
    std::string title;
    std::string text;
    bool typing = false;
};
ModalWindowTexts ActiveModalWindowTexts();

// Clipboard text.
void SetClipboardText(const std::string& text);
std::string GetClipboardText();

// Screen position of the last mouse event delivered to the program.
Point GetMessagePos();

// The dialogs created over or inside a window, at any depth: those created with its dialog as
// parent and the pages created in it or in its controls (such as a tab control's). In no
// particular order; the window's own dialog is not among them.
std::vector<Dialog*> DialogsWithin(Window window);

// Saves a picture of a dialog's window as PNG. True on success.
bool SaveWindowImage(const Dialog& dialog, const std::string& path);
