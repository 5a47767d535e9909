#include "platform/ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <atomic>
#include <thread>

#include "platform/sync.h"
#include "support/x_pointer.h"

// The window tests bring their own templates, under ids the program does not use.
namespace {

using S = ControlStyle;

constexpr int kDialogId = 9900;
constexpr int kPageId = 9901;

const DialogTemplate kTestDialog = {
    kDialogId, "测试窗口", TemplateUnits::DialogUnits, 220, 140, "SimSun", 9, kDlgSystemMenu, 0,
    {
        {1, ControlKind::DefPushButton, "确定", 10, 120, 50, 14, S::kNone},
        {2, ControlKind::PushButton, "取消", 70, 120, 50, 14, S::kNone},
        {1001, ControlKind::Edit, "", 10, 10, 80, 12, S::kNone},
        {1002, ControlKind::ComboDropDown, "", 10, 30, 80, 60, S::kSorted},
        {1010, ControlKind::Static, "下一行", 10, 48, 80, 10, S::kNone},
        {1003, ControlKind::ListReport, "", 100, 10, 110, 70, S::kCheckBoxes},
        {1006, ControlKind::Static, "状态", 100, 104, 60, 10, S::kHidden},
        {1007, ControlKind::Edit, "", 160, 90, 50, 24, S::kMultiline | S::kWantReturn},
        {1008, ControlKind::ComboDropList, "", 130, 120, 60, 60, S::kNone},
        {1009, ControlKind::Tab, "", 0, 0, 10, 10, S::kHidden},
        {1011, ControlKind::ListReport, "", 0, 0, 10, 10, S::kHidden | S::kSingleSel},
    }};

const DialogTemplate kPageTemplate = {
    kPageId, "", TemplateUnits::DialogUnits, 60, 40, "SimSun", 9, kDlgChild, 0,
    {{1100, ControlKind::Edit, "页", 2, 2, 40, 12, S::kNone}}};

// A window whose frame holds a row of buttons and, below it, a page's place; the page spans
// the row too, as the main window's pages do.
constexpr int kFramedId = 9902;
constexpr int kFramedPageId = 9903;
const DialogTemplate kFramedDialog = {
    kFramedId, "框", TemplateUnits::DialogUnits, 200, 120, "SimSun", 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::GroupBox, "", 4, 4, 192, 112, S::kNone},
        {1200, ControlKind::PushButton, "行", 20, 10, 40, 14, S::kNone},
    }};
const DialogTemplate kFramedPage = {
    kFramedPageId, "", TemplateUnits::DialogUnits, 192, 112, "SimSun", 9, kDlgChild, 0,
    {
        {-1, ControlKind::GroupBox, "页框", 6, 28, 150, 60, S::kNone},
        {1300, ControlKind::PushButton, "页", 20, 44, 40, 14, S::kNone},
    }};

const DialogTemplate* TestTemplate(int id) {
    switch (id) {
        case kDialogId: return &kTestDialog;
        case kPageId: return &kPageTemplate;
        case kFramedId: return &kFramedDialog;
        case kFramedPageId: return &kFramedPage;
        default: return nullptr;
    }
}
const bool kRegistered = (RegisterResourceSource({TestTemplate, nullptr, nullptr}), true);

class TestDialog : public Dialog {
public:
    explicit TestDialog(int templateId = kDialogId) : Dialog(templateId) {
        MapMessage(0x401, [this](uintptr_t wp, intptr_t lp) -> intptr_t {
            messageThread = std::this_thread::get_id();
            messages.push_back(static_cast<int>(wp + static_cast<uintptr_t>(lp)));
            return 77;
        });
    }
    int okCalls = 0, cancelCalls = 0, timerTicks = 0;
    std::vector<int> messages;
    bool swallowEnter = false;
    std::thread::id messageThread;
    std::function<void()> onInit;

protected:
    bool OnInitDialog() override {
        if (onInit) onInit();
        return true;
    }
    void OnOK() override {
        ++okCalls;
        Dialog::OnOK();
    }
    void OnCancel() override {
        ++cancelCalls;
        Dialog::OnCancel();
    }
    void OnTimer(int id) override { timerTicks += id == 3; }
    bool PreTranslateKey(Key key) override { return swallowEnter && key == Key::Enter; }
};

}  // namespace

TEST(Dialogs, ModalEndCodes) {
    struct Case {
        const char* name;
        std::function<void(TestDialog&)> act;  // run from the dialog's own message loop
        int code, okCalls;
    };
    const Case cases[] = {
        {"Enter on the default OK button", [](TestDialog& d) { d.PressKey(Key::Enter); }, kIdOk, 1},
        {"OK button", [](TestDialog& d) { Button(d.GetDlgItem(1)).Click(); }, kIdOk, 1},
        {"Cancel button", [](TestDialog& d) { Button(d.GetDlgItem(2)).Click(); }, kIdCancel, 0},
        {"Esc", [](TestDialog& d) { d.PressKey(Key::Escape); }, kIdCancel, 0},
        {"close box", [](TestDialog& d) { d.Close(); }, kIdCancel, 0},
    };
    for (const Case& c : cases) {
        TestDialog d;
        d.onInit = [&] {
            d.PostTask([&] { c.act(d); });
            d.PostTaskAfter(3000, [&] { d.EndDialog(-1); });  // the act did not end it
        };
        EXPECT_EQ(d.DoModal(), c.code) << c.name;
        EXPECT_EQ(d.okCalls, c.okCalls) << c.name;
        EXPECT_FALSE(d.IsCreated()) << c.name;
    }
    TestDialog ended;
    ended.onInit = [&] { ended.EndDialog(5); };  // inside OnInitDialog: never shown
    EXPECT_EQ(ended.DoModal(), 5);
}

TEST(Dialogs, EnterPressesTheDefaultButtonAndNeverEndsTheDialogItself) {
    struct Case {
        const char* name;
        int focus;
        bool defaultEnabled, preTranslated, swallowed;
        const char* pressed;  // the buttons whose handlers ran
    };
    const Case cases[] = {
        {"in an edit", 1001, true, false, true, "1"},
        {"on another button", 2, true, false, true, "2"},
        {"in a multi-line edit that wants Enter", 1007, true, false, false, ""},
        {"default button disabled", 1001, false, false, true, ""},
        {"taken by the dialog's pre-translation", 1001, true, true, true, ""},
    };
    for (const Case& c : cases) {
        TestDialog d;
        d.swallowEnter = c.preTranslated;
        std::string pressed;
        d.MapCommand(1, Notify::Clicked, [&] { pressed += "1"; });
        d.MapCommand(2, Notify::Clicked, [&] { pressed += "2"; });
        ASSERT_TRUE(d.Create());
        d.ShowWindow(true);
        d.GetDlgItem(1).Enable(c.defaultEnabled);
        d.GetDlgItem(c.focus).SetFocus();
        EXPECT_EQ(d.PressKey(Key::Enter), c.swallowed) << c.name;
        EXPECT_EQ(pressed, c.pressed) << c.name;
        EXPECT_EQ(d.okCalls, 0) << c.name;
        EXPECT_TRUE(d.IsWindowVisible()) << c.name;
    }
}

TEST(Dialogs, TheDialogsWithinAWindowAreThoseCreatedOverOrInsideIt) {
    TestDialog d, other;
    ASSERT_TRUE(d.Create());
    ASSERT_TRUE(other.Create());
    TestDialog first(kPageId), second(kPageId), inDialog(kPageId), over, elsewhere(kPageId);
    ASSERT_TRUE(first.CreateIn(d.GetDlgItem(1009)));
    ASSERT_TRUE(second.CreateIn(d.GetDlgItem(1009)));
    ASSERT_TRUE(inDialog.Create(&d));
    ASSERT_TRUE(over.Create(&d));
    ASSERT_TRUE(elsewhere.Create(&other));
    const auto sorted = [](std::vector<Dialog*> dialogs) {
        std::sort(dialogs.begin(), dialogs.end());
        return dialogs;
    };
    EXPECT_EQ(sorted(DialogsWithin(d.GetDlgItem(1009))), sorted({&first, &second}));
    EXPECT_EQ(sorted(DialogsWithin(d.GetWindow())), sorted({&first, &second, &inDialog, &over}));
    // A destroyed dialog is not among them.
    over.DestroyWindow();
    EXPECT_EQ(sorted(DialogsWithin(d.GetWindow())), sorted({&first, &second, &inDialog}));
    EXPECT_TRUE(DialogsWithin(d.GetDlgItem(1)).empty());
    EXPECT_TRUE(DialogsWithin(Window()).empty());
}

TEST(Dialogs, AChildPageIsAWidgetInsideItsParentNeverAWindow) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    EXPECT_FALSE(d.IsWindowVisible());
    d.ShowWindow(true);
    TestDialog inHost(kPageId), inDialog(kPageId);
    ASSERT_TRUE(inHost.CreateIn(d.GetDlgItem(1009)));
    ASSERT_TRUE(inDialog.Create(&d));
    EXPECT_TRUE(d.GetWindow().IsTopLevel());
    EXPECT_FALSE(d.GetDlgItem(1006).IsVisible());  // hidden by its template
    for (TestDialog* page : {&inHost, &inDialog}) {
        EXPECT_FALSE(page->IsWindowVisible());
        page->ShowWindow(true);
        page->MoveWindow(5, 5, 40, 30);
        EXPECT_FALSE(page->GetWindow().IsTopLevel());
        const Rect outer = d.GetWindowRect();
        const Rect r = page->GetWindowRect();
        EXPECT_TRUE(r.left > outer.left && r.top > outer.top && r.right < outer.right && r.bottom < outer.bottom);
        // The innermost dialog takes Enter and Esc; with no default button Enter is its OnOK.
        EXPECT_TRUE(page->PressKey(Key::Enter));
        EXPECT_TRUE(page->PressKey(Key::Escape));
        EXPECT_EQ(page->okCalls, 1);
        EXPECT_EQ(page->cancelCalls, 1);
    }
    EXPECT_EQ(inHost.GetDlgItemText(1100), "页");
    EXPECT_EQ(d.okCalls + d.cancelCalls, 0);
    d.EndDialog(kIdOk);  // a modeless dialog only hides
    EXPECT_FALSE(d.IsWindowVisible());
    d.DestroyWindow();
    EXPECT_FALSE(d.GetDlgItem(1001).IsValid());
}

// Through the X server (desktop_platform_ui_*): the page's button over its parent's frame and the
// parent's button in the page's empty part both take the mouse.
TEST(Dialogs, APageTakesClicksOverItsParentsFrameAndLeavesItsEmptyPartsToTheParent) {
    if (!testsupport::CanClickThroughX()) GTEST_SKIP() << "needs an X display and xdotool";
    TestDialog d(kFramedId), page(kFramedPageId);
    std::string clicked;
    d.MapCommand(1200, Notify::Clicked, [&] { clicked += "row "; });
    page.MapCommand(1300, Notify::Clicked, [&] { clicked += "page "; });
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    ASSERT_TRUE(page.Create(&d));
    const Rect frame = d.GetTemplateControl(0).GetRectInParent();
    page.MoveWindow(frame.left, frame.top, frame.Width(), frame.Height());
    page.ShowWindow(true);
    PumpFor(700);  // placed by the window manager, if any
    ASSERT_TRUE(testsupport::ClickScreen(testsupport::Centre(page.GetDlgItem(1300))));
    ASSERT_TRUE(testsupport::ClickScreen(testsupport::Centre(d.GetDlgItem(1200))));
    EXPECT_EQ(clicked, "page row ");
}

TEST(Dialogs, TimersTickUntilKilled) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    d.SetTimer(3, 5);
    EXPECT_TRUE(d.IsTimerRunning(3));
    EXPECT_TRUE(WaitPumping([&] { return d.timerTicks >= 3; }, 5000));
    d.KillTimer(3);
    EXPECT_FALSE(d.IsTimerRunning(3));
    const int ticks = d.timerTicks;
    PumpFor(30);
    EXPECT_EQ(d.timerTicks, ticks);
}

TEST(Messages, FromAWorkerRunOnTheUiThreadInOrder) {
    auto gone = std::make_unique<TestDialog>();
    TestDialog d;
    ASSERT_TRUE(gone->Create() && d.Create());
    AutoResetEvent posted;
    std::atomic<intptr_t> result{0};
    std::thread::id ran;
    auto t = WorkerThread::Start([&] {
        gone->PostMessage(0x401, 1, 1);
        d.PostMessage(0x401, 40, 2);
        posted.Set();
        result = d.SendMessage(0x401, 1, 2);  // returns once the UI thread has run it
        d.SendTask([&] { ran = std::this_thread::get_id(); });
    });
    ASSERT_TRUE(posted.Wait(5000));
    EXPECT_TRUE(d.messages.empty());  // not yet: posted
    gone.reset();                     // its message must not touch it
    // The UI thread waits for the worker, pumping, as the stop routines do.
    EXPECT_TRUE(WaitPumping([&] { return t->IsFinished(); }, 5000));
    EXPECT_EQ(result, 77);
    EXPECT_EQ(d.messages, (std::vector<int>{42, 3}));
    EXPECT_EQ(d.messageThread, std::this_thread::get_id());
    EXPECT_EQ(ran, std::this_thread::get_id());
    EXPECT_EQ(d.SendMessage(0x401, 5, 5), 77);  // on the UI thread: at once
    EXPECT_EQ(d.messages.back(), 10);
}

TEST(MessageBoxes, TheHookSeesEveryBox) {
    std::vector<std::string> shown;
    MessageBoxHook previous = SetMessageBoxHook([&](const MessageBoxRequest& r) {
        shown.push_back(r.caption + "|" + r.text + "|" + std::to_string(r.type));
        return shown.size() == 1 ? kIdCancel : kIdOk;
    });
    SetApplicationTitle("KV3391T");
    EXPECT_EQ(ShowMessageBox("确认要清除报文吗？", "提示", kMbOkCancel | kMbIconInformation), kIdCancel);
    EXPECT_EQ(ShowMessageBox("打开文件失败"), kIdOk);
    SetMessageBoxHook(previous);
    // No caption: the program's title.
    EXPECT_EQ(shown, (std::vector<std::string>{"提示|确认要清除报文吗？|" + std::to_string(kMbOkCancel | kMbIconInformation),
                                               "KV3391T|打开文件失败|" + std::to_string(kMbOk)}));
}

TEST(MessageBoxes, QtsOwnButtonsSpeakChinese) {
    EXPECT_EQ(MessageBoxButtonTexts(kMbOk | kMbIconStop), std::vector<std::string>{"确定"});
    EXPECT_EQ(MessageBoxButtonTexts(kMbOkCancel | kMbIconInformation), (std::vector<std::string>{"确定", "取消"}));
}

TEST(Controls, ComboBoxesOrderKeepTheSelectionAndCloseToTheirText) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    ComboBox sorted(d.GetDlgItem(1002));
    const std::vector<std::vector<std::string>> sortedRuns = {
        {"从机发出帧", "主机发出帧"},                       // GBK B4D3 before D6F7
        {"5207PLC", "5281PLC", "Bluetooth", "bz", "WiFi"},  // case does not count
    };
    for (const auto& run : sortedRuns) {
        sorted.ResetContent();
        // Even places first, then odd: entries land before, between and after others.
        for (size_t start : {0, 1})
            for (size_t i = start; i < run.size(); i += 2) sorted.AddString(run[i]);
        std::vector<std::string> got;
        for (int i = 0; i < sorted.GetCount(); ++i) got.push_back(sorted.GetLBText(i));
        EXPECT_EQ(got, run);
        EXPECT_EQ(sorted.GetCurSel(), -1);  // adding never selects
    }

    struct Case {
        int box;  // 1002 sorted, 1008 not
        const char *selected, *added;
        int insertAt, selection;  // insertAt -1: AddString
    };
    const Case cases[] = {
        {1002, "c", "a", -1, 3},   // before the selection
        {1002, "c", "bb", -1, 3},  // at the selection's place
        {1002, "b", "b", -1, 1},   // an equal text goes after it
        {1008, "b", "a", -1, 1},   // appended
        {1008, "b", "x", 1, 2},
        {1008, "b", "x", 2, 1},
    };
    for (const Case& k : cases) {
        ComboBox c(d.GetDlgItem(k.box));
        c.ResetContent();
        for (const char* s : {"a", "b", "c"}) c.AddString(s);
        c.SetCurSel(c.FindStringExact(k.selected));
        if (k.insertAt < 0) c.AddString(k.added);
        else c.InsertString(k.insertAt, k.added);
        EXPECT_EQ(c.GetCurSel(), k.selection) << k.box << " " << k.selected << " + " << k.added;
        EXPECT_EQ(c.GetSelectedText(), k.selected) << k.box << " " << k.added;
    }

    // Closed, a template's combo is as tall as its text, whatever height gives its list room.
    const Rect combo = d.GetDlgItem(1002).GetRectInParent();
    const Rect below = d.GetDlgItem(1010).GetRectInParent();  // the next row of the template
    EXPECT_GT(combo.Height(), 0);
    EXPECT_LE(combo.bottom, below.top);
    d.GetDlgItem(1002).Move(combo.left, combo.top, combo.Width(), 300);
    EXPECT_EQ(d.GetDlgItem(1002).GetRectInParent(), combo);
}

TEST(Controls, ReportListRowsChecksAndSelection) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    ListView l(d.GetDlgItem(1003));
    l.InsertColumn(0, "时间", 150, ListView::kCenter);
    l.InsertColumn(1, "序号", 50);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(l.AppendRow({"t" + std::to_string(i), std::to_string(i)}), i);
    EXPECT_EQ(l.GetItemCount(), 5);  // counted before the view has seen them
    EXPECT_EQ(l.InsertItem(0, "first"), 0);
    EXPECT_TRUE(l.DeleteItem(0));
    EXPECT_FALSE(l.SetItemText(99, 0, "x"));
    l.SetCheck(3, true);
    l.SelectRow(1);
    l.SortByColumn(1, false);  // the selection and the checks follow their rows
    EXPECT_EQ(l.GetItemText(0, 1), "4");
    EXPECT_EQ(l.GetSelectedRows(), std::vector<int>{3});
    EXPECT_EQ(l.GetSelectionMark(), 3);
    EXPECT_TRUE(l.GetCheck(1));
    EXPECT_FALSE(l.GetCheck(3));
    EXPECT_TRUE(l.SetItemState(0, ListView::kStateSelected, ListView::kStateSelected));
    EXPECT_EQ(l.GetSelectedRows(), (std::vector<int>{0, 3}));  // several rows may be selected
    l.ClearSelection();
    EXPECT_TRUE(l.GetSelectedRows().empty());
}

// A click on a row's check box toggles that box once and is no click on the row; a click beside
// the box or on another cell is a row click (here, as the lists' dialogs do, flipping the checks of
// the selected rows). Clicked through the platform's mouse events and, on an X display, through
// the X server.
TEST(Controls, AClickOnARowsCheckBoxTogglesItOnceAndAClickBesideItIsARowClick) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    ListView l(d.GetDlgItem(1003));
    l.InsertColumn(0, "序号", 70);
    l.InsertColumn(1, "地址", 60);
    for (int r = 0; r < 4; ++r) l.AppendRow({std::to_string(r), "00000000000" + std::to_string(r)});
    std::string told;
    d.MapCommand(1003, Notify::Click, [&] {
        told += "click ";
        for (int r : l.GetSelectedRows()) l.SetCheck(r, !l.GetCheck(r));
    });
    d.MapCommand(1003, Notify::CheckToggled, [&] { told += "box " + std::to_string(l.LastToggledRow()) + " "; });
    if (testsupport::CanClickThroughX()) PumpFor(700);  // placed by the window manager, if any
    enum Where { kBox, kBesideBox, kSecondCell };
    // Each click comes with row 1 selected, rows 1 and 3 checked.
    const struct {
        int row;
        Where where;
        const char* checks;  // of rows 0 to 3 after the click
        const char* told;
        int selected;
    } cases[] = {
        {2, kBox, "0111", "box 2 ", 1},
        {3, kBox, "0100", "box 3 ", 1},
        {0, kBesideBox, "1101", "click ", 0},
        {1, kSecondCell, "0001", "click ", 1},
        {1, kBox, "0001", "box 1 ", 1},
    };
    const auto point = [&l](int row, Where where) {
        const Rect box = l.GetCheckBoxRect(row);
        const int y = (box.top + box.bottom) / 2;
        if (where == kBox) return Point{(box.left + box.right) / 2, y};
        return Point{where == kBesideBox ? box.right : l.GetColumnWidth(0) + 20, y};
    };
    for (bool throughX : {false, true}) {
        if (throughX && !testsupport::CanClickThroughX()) continue;
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(throughX ? "X server " : "events ") + std::to_string(c.row));
            for (int r = 0; r < 4; ++r) l.SetCheck(r, r % 2 == 1);
            l.ClearSelection();
            l.SelectRow(1);
            told.clear();
            ASSERT_GT(l.GetCheckBoxRect(c.row).Width(), 0);
            const Point at = point(c.row, c.where);
            if (throughX) {
                const Point origin = l.ScreenToClient(Point{0, 0});
                ASSERT_TRUE(testsupport::ClickScreen(Point{at.x - origin.x, at.y - origin.y}));
            } else {
                l.MouseClick(at);
                PumpMessages();
            }
            std::string checks;
            for (int r = 0; r < 4; ++r) checks += l.GetCheck(r) ? '1' : '0';
            EXPECT_EQ(checks, c.checks);
            EXPECT_EQ(told, c.told);
            EXPECT_EQ(l.GetSelectedRows(), std::vector<int>{c.selected});
        }
    }
}

TEST(Controls, CompactCellsReadAsTheirTextsAndTheOldestRowsGoPastTheLimit) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    ListView l(d.GetDlgItem(1003));
    for (int c = 0; c < 4; ++c) l.InsertColumn(c, "c", 100);
    const unsigned char frame[] = {0x79, 0x0A, 0xFF};
    const SystemTime time{2024, 3, 2, 5, 6, 7, 8, 9};
    const SystemTime late{2024, 3, 2, 5, 40, 7, 8, 1500};  // beyond the compact form
    const ColorRef red = MakeRgb(0xF0, 0, 0);
    const ListCell first[] = {ListCell::TimeStamp(time), ListCell::Number(-5, 2), ListCell::HexBytes(frame, 3)};
    const ListCell second[] = {ListCell::TimeStamp(late), ListCell::Number(7, 2), ListCell::Text("文本"),
                               ListCell::Number(-12)};
    EXPECT_EQ(l.AppendCells(first, 3, &red), 0);
    EXPECT_EQ(l.AppendCells(second, 4), 1);
    const std::vector<std::string> texts = {"2024-03-05 06:07:08:009", "-5", "79 0A FF ", "",
                                            "2024-03-05 40:07:08:1500", "07", "文本", "-12"};
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(l.GetItemText(static_cast<int>(i / 4), i % 4), texts[i]) << i;
    EXPECT_EQ(l.GetCellTextColor(0, 3), red);
    EXPECT_EQ(l.GetCellTextColor(1, 0), MakeRgb(0, 0, 0));
    l.SetRowLimit(3, 2);
    for (int i = 2; i < 6; ++i) l.AppendRow({std::to_string(i)});
    ASSERT_EQ(l.GetItemCount(), 2);
    EXPECT_EQ(l.GetItemText(0, 0) + l.GetItemText(1, 0), "45");
    // An insert into a full list: the oldest row goes, and the new row lands before the row it
    // was put before.
    l.DeleteAllItems();
    l.SetRowLimit(3, 1);
    for (const char* text : {"a", "b", "c"}) l.AppendRow({text});
    EXPECT_EQ(l.InsertItem(1, "x"), 0);
    ASSERT_EQ(l.GetItemCount(), 3);
    EXPECT_EQ(l.GetItemText(0, 0) + l.GetItemText(1, 0) + l.GetItemText(2, 0), "xbc");
}

// A full list drops its oldest rows, appended to or given a block: a selected row among them
// leaves no row selected (a list of one selection would select the next), and a selected row
// that stays keeps its selection.
TEST(Controls, TheRowLimitsDropTakesOnlyItsOwnRowsOutOfTheSelection) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    for (int id : {1003, 1011}) {
        SCOPED_TRACE(id);
        ListView l(d.GetDlgItem(id));
        l.InsertColumn(0, "c", 100);
        l.SetRowLimit(4, 2);
        const auto texts = [&l] {
            std::string t;
            for (int r = 0; r < l.GetItemCount(); ++r) t += l.GetItemText(r, 0);
            return t;
        };
        const auto block = [&l](const std::string& letters) {
            ListRows rows(l);
            for (char ch : letters) {
                const std::string text(1, ch);
                const ListCell cell = ListCell::Text(text);
                rows.Add(&cell, 1);
            }
            return l.InsertRows(-1, rows);
        };
        for (const char* text : {"a", "b", "c", "d"}) l.AppendRow({text});
        PumpMessages();
        l.SelectRow(1);
        l.AppendRow({"e"});
        PumpMessages();
        EXPECT_EQ(texts(), "cde");
        EXPECT_TRUE(l.GetSelectedRows().empty());
        for (int r = 0; r < l.GetItemCount(); ++r) EXPECT_EQ(l.GetItemState(r, ListView::kStateFocused), 0u) << r;
        l.SelectRow(2);
        l.AppendRow({"f"});
        l.AppendRow({"g"});
        PumpMessages();
        EXPECT_EQ(texts(), "efg");
        EXPECT_EQ(l.GetSelectedRows(), std::vector<int>{0});
        // A block that needs room.
        l.SelectRow(1);
        EXPECT_EQ(block("hi"), 1);
        EXPECT_EQ(texts(), "ghi");
        EXPECT_TRUE(l.GetSelectedRows().empty());
        l.SelectRow(2);
        EXPECT_EQ(block("jk"), 1);
        EXPECT_EQ(texts(), "ijk");
        EXPECT_EQ(l.GetSelectedRows(), std::vector<int>{0});
        l.DeleteAllItems();
    }
}

TEST(Controls, RowsWithDataBelowAValueGoWhereverTheyStandAndTheSelectionStaysWithItsRow) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    ListView l(d.GetDlgItem(1003));
    l.InsertColumn(0, "c", 100);
    // Rows 0 to 9 with their number as data, sorted so that the low ones are scattered.
    for (int i = 0; i < 10; ++i) l.SetItemData(l.AppendRow({std::to_string(i % 3) + std::to_string(i)}), i);
    l.SortByColumn(0, true);
    auto texts = [&l] {
        std::string t;
        for (int r = 0; r < l.GetItemCount(); ++r) t += l.GetItemText(r, 0) + " ";
        return t;
    };
    ASSERT_EQ(texts(), "00 03 06 09 11 14 17 22 25 28 ");
    l.SelectRow(5);  // "14"
    EXPECT_EQ(l.DeleteItemsWithDataBelow(5), 5);
    EXPECT_EQ(texts(), "06 09 17 25 28 ");
    EXPECT_TRUE(l.GetSelectedRows().empty());
    l.SelectRow(2);  // "17"
    EXPECT_EQ(l.DeleteItemsWithDataBelow(7), 2);
    EXPECT_EQ(texts(), "09 17 28 ");
    EXPECT_EQ(l.GetSelectedRows(), std::vector<int>{1});
    EXPECT_EQ(l.GetItemState(1, ListView::kStateFocused), ListView::kStateFocused);
    EXPECT_EQ(l.DeleteItemsWithDataBelow(7), 0);
    // The view follows: the last row can still be clicked and rows added after it.
    l.ClickRow(2);
    EXPECT_EQ(l.GetSelectedRows(), std::vector<int>{2});
    l.AppendRow({"x"});
    PumpMessages();
    EXPECT_EQ(texts(), "09 17 28 x ");
    // Rows that stand together go as one range; the selection above them stays, also when a
    // selected row among them goes.
    l.SelectRow(0);
    l.SelectRow(2);
    EXPECT_EQ(l.DeleteItemsWithDataBelow(9), 3);
    EXPECT_EQ(texts(), "09 ");
    EXPECT_EQ(l.GetSelectedRows(), std::vector<int>{0});
    // Rows marked by index go in one step; rows past the marks stay.
    l.AppendRow({"a"});
    l.AppendRow({"b"});
    l.SelectRow(1);
    EXPECT_EQ(l.DeleteItems({true, false, true}), 2);
    EXPECT_EQ(texts(), "a ");
    EXPECT_EQ(l.GetSelectedRows(), std::vector<int>{0});
    EXPECT_EQ(l.DeleteItems({}), 0);
}

// A long list is gone through in parts. Every kept row keeps its place in the order, its cells
// (short or long), its colour and its data; a selected row keeps its selection, a selected row
// that goes takes only itself out of it (also out of a range of selected rows), and the view
// goes on with the rows left, no more.
TEST(Controls, ScatteredRowsOfALongListGoAndEveryKeptRowKeepsItsCellsAndSelection) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    ListView l(d.GetDlgItem(1003));
    l.InsertColumn(0, "c", 100);
    l.InsertColumn(1, "d", 100);
    constexpr int kRows = 300000;
    const std::string kLong(40, 'x');  // past a row's own room for cells
    const ColorRef red = MakeRgb(0xF0, 0, 0);
    const struct {
        const char* name;
        bool (*drop)(int row);
        std::vector<int> selected;  // before; the focus is on the last
        bool oneRange;              // the selected rows are one range, as a shift-click selects them
    } cases[] = {
        {"every tenth row", [](int i) { return i % 10 == 3; }, {5}, false},
        {"every tenth row, with a selected one", [](int i) { return i % 10 == 3; }, {13, 200004}, false},
        {"most rows of the first half", [](int i) { return i < kRows / 2 && i % 4 != 0; }, {kRows - 1}, false},
        {"every other row of the last part", [](int i) { return i > kRows - 50000 && i % 2 == 1; }, {kRows - 2},
         false},
        {"a few rows far apart", [](int i) { return i % 99991 == 7; }, {99999}, false},
        {"rows across a range of selected rows", [](int i) { return i == 10 || i == 12 || i == 20; },
         {10, 11, 12, 13, 14}, true},
    };
    // The view's top row when it is scrolled to its end.
    const auto topAtTheEnd = [&l] {
        PumpMessages();
        l.Scroll(0, 1 << 30);
        return l.GetTopIndex();
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        l.DeleteAllItems();
        std::vector<bool> drop(kRows);
        for (int i = 0; i < kRows; ++i) {
            const int row = l.AppendRow({std::to_string(i), i % 7 == 0 ? kLong : "s"});
            l.SetItemData(row, i);
            if (i % 11 == 0) l.SetCellTextColor(row, 1, red);
            drop[static_cast<size_t>(i)] = c.drop(i);
        }
        for (int row : c.selected) l.SelectRow(row);
        // A sort that moves no row leaves the view its selected rows joined into ranges.
        if (c.oneRange) l.SortRows(0, [](std::string_view, std::string_view) { return 0; });
        const int endTop = topAtTheEnd();
        const int dropped = static_cast<int>(std::count(drop.begin(), drop.end(), true));
        EXPECT_EQ(l.DeleteItems(drop), dropped);
        ASSERT_EQ(l.GetItemCount(), kRows - dropped);
        EXPECT_EQ(topAtTheEnd(), endTop - dropped);  // the view has the rows left, no more
        std::vector<int> selected;
        int focused = -1;
        for (int i = 0, row = 0; i < kRows; ++i) {
            if (drop[static_cast<size_t>(i)]) continue;
            if (l.GetItemData(row) != i || l.GetItemText(row, 0) != std::to_string(i) ||
                l.GetItemText(row, 1) != (i % 7 == 0 ? kLong : "s") ||
                l.GetCellTextColor(row, 1) != (i % 11 == 0 ? red : MakeRgb(0, 0, 0))) {
                ADD_FAILURE() << "row " << row << " is not number " << i << ": " << l.GetItemText(row, 0);
                break;
            }
            if (std::find(c.selected.begin(), c.selected.end(), i) != c.selected.end()) selected.push_back(row);
            if (i == c.selected.back()) focused = row;
            ++row;
        }
        EXPECT_EQ(l.GetSelectedRows(), selected);
        if (focused >= 0) {
            EXPECT_EQ(l.GetItemState(focused, ListView::kStateFocused), ListView::kStateFocused);
        }
        const int last = l.GetItemCount() - 1;
        l.ClickRow(last);
        EXPECT_EQ(l.GetSelectedRows(), std::vector<int>{last});
    }
}

// A drop takes its rows out of a large selection and leaves the rest of it: every row selected
// with Ctrl+A, or a range from a click and a Shift+click across the dropped rows. The owner hears
// nothing of it: no row it sees selected changed.
TEST(Controls, ADropKeepsTheKeptRowsOfALargeSelectionAndTellsTheOwnerNothing) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    int itemChanged = 0;
    d.MapCommand(1003, Notify::ItemChanged, [&itemChanged] { ++itemChanged; });
    ListView l(d.GetDlgItem(1003));
    for (int c = 0; c < 3; ++c) l.InsertColumn(c, std::string(1, static_cast<char>('a' + c)), 60);
    constexpr int kRows = 2000;  // 6,000 cells
    const struct {
        const char* name;
        bool all;      // Ctrl+A, else rows 0-999 by a click and a Shift+click
        int dropHow;   // 0: an append to a full list, 1: a block, 2: rows 0-99 deleted, 3: every tenth
    } cases[] = {
        {"all rows, a full list's drop", true, 0},   {"all rows, a block's room", true, 1},
        {"all rows, one run deleted", true, 2},      {"all rows, scattered rows deleted", true, 3},
        {"a range, a full list's drop", false, 0},   {"a range, a block's room", false, 1},
        {"a range, one run deleted", false, 2},      {"a range, scattered rows deleted", false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        l.DeleteAllItems();
        l.SetRowLimit(kRows, 100);
        for (int i = 0; i < kRows; ++i) l.SetItemData(l.AppendRow({std::to_string(i), "x", "y"}), i);
        PumpMessages();
        l.SetFocus();
        if (c.all) {
            l.PressSelectAll();
        } else {
            l.MouseClickRow(0);
            l.MouseClickRow(999, true);
        }
        PumpMessages();
        ASSERT_EQ(l.GetSelectedRows().size(), c.all ? size_t{kRows} : size_t{1000});
        const auto dropped = [&c](int i) { return c.dropHow == 3 ? i % 10 == 0 : i < 100; };
        itemChanged = 0;
        if (c.dropHow == 0) {
            l.AppendRow({"new", "x", "y"});
        } else if (c.dropHow == 1) {
            ListRows block(l);
            const ListCell cell = ListCell::Text("new");
            block.Add(&cell, 1);
            l.InsertRows(-1, block);
        } else {
            std::vector<bool> drop(kRows);
            for (int i = 0; i < kRows; ++i) drop[static_cast<size_t>(i)] = dropped(i);
            l.DeleteItems(drop);
        }
        PumpMessages();
        EXPECT_EQ(itemChanged, 0);
        std::vector<int> expected;
        for (int row = 0; row < l.GetItemCount(); ++row) {
            const int i = l.GetItemText(row, 0) == "new" ? kRows : static_cast<int>(l.GetItemData(row));
            EXPECT_FALSE(i < kRows && dropped(i)) << row;
            if (i < (c.all ? kRows : 1000)) expected.push_back(row);
        }
        EXPECT_EQ(l.GetSelectedRows(), expected);
        // The list goes on as a list: a click selects its row alone.
        l.ClickRow(l.GetItemCount() - 1);
        EXPECT_EQ(l.GetSelectedRows(), std::vector<int>{l.GetItemCount() - 1});
    }
}

// Rows put in as one block stand in their order before the row given; past the row limit the rows
// that were there go first, from the top, whole drops at a time as appends drop them; then the
// block keeps its first rows that fit. The selection stays with its row.
TEST(Controls, ABlockOfRowsGoesInAtOnceBeforeTheRowGiven) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    ListView l(d.GetDlgItem(1003));
    l.InsertColumn(0, "c", 100);
    l.InsertColumn(1, "d", 100);
    const struct {
        const char* name;
        std::string before;  // a row per character
        int index;
        std::string block;
        int maxRows, dropRows;
        std::string after;
        int first;  // the first new row's index, -1 when none stays
    } cases[] = {
        {"into an empty list", "", 0, "XY", 100, 10, "XY", 0},
        {"at the top", "abc", 0, "XYZ", 100, 10, "XYZabc", 0},
        {"in the middle", "abc", 2, "XY", 100, 10, "abXYc", 2},
        {"past the end", "abc", 7, "XY", 100, 10, "abcXY", 3},
        {"nothing", "abc", 1, "", 100, 10, "abc", -1},
        {"over the limit at the top", "abcd", 0, "XYZ", 5, 2, "XYZcd", 0},
        {"over the limit in the middle", "abcd", 2, "XYZ", 5, 1, "XYZcd", 0},
        {"over the limit by less than a drop", "abcde", 5, "XY", 6, 3, "deXY", 2},
        {"every row that was there dropped", "abcd", 0, "XY", 3, 3, "XYd", 0},
        {"a block as long as the limit", "", 0, "WXYZ", 4, 3, "WXYZ", 0},
        {"a block as long as the limit over rows", "ab", 1, "WXYZ", 4, 3, "WXYZ", 0},
        {"a block over the limit by itself", "ab", 0, "STUVWXYZ", 4, 3, "STUV", 0},
        {"a block over the limit, one at a time", "abc", 1, "UVWXYZ", 4, 1, "UVWX", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        l.DeleteAllItems();
        l.SetRowLimit(100, 10);
        for (char ch : c.before) l.AppendRow({std::string(1, ch), "old"});  // not yet shown to the view
        if (!c.before.empty()) l.SelectRow(static_cast<int>(c.before.size()) - 1);
        l.SetRowLimit(c.maxRows, c.dropRows);
        ListRows rows(l);
        for (char ch : c.block) {
            const std::string text(1, ch);
            const ListCell cells[] = {ListCell::Text(text), ListCell::Text("new")};
            rows.Add(cells, 2);
        }
        EXPECT_EQ(rows.Size(), std::min(c.block.size(), static_cast<size_t>(c.maxRows)));
        EXPECT_EQ(l.InsertRows(c.index, rows), c.first);
        EXPECT_EQ(rows.Size(), 0u);
        std::string after;
        for (int r = 0; r < l.GetItemCount(); ++r) {
            after += l.GetItemText(r, 0);
            EXPECT_EQ(l.GetItemText(r, 1), std::isupper(static_cast<unsigned char>(after.back())) ? "new" : "old");
        }
        EXPECT_EQ(after, c.after);
        // What went: the rows that were there and are gone, the block's rows not shown.
        const size_t kept = static_cast<size_t>(
            std::count_if(after.begin(), after.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; }));
        EXPECT_EQ(rows.RemovedRows(), c.before.size() - (after.size() - kept));
        EXPECT_EQ(rows.RefusedRows(), c.block.size() - kept);
        if (!c.before.empty() && c.after.find(c.before.back()) != std::string::npos) {
            const std::vector<int> selected = l.GetSelectedRows();
            ASSERT_EQ(selected.size(), 1u);
            EXPECT_EQ(l.GetItemText(selected[0], 0), std::string(1, c.before.back()));
        }
    }
}

// Rows go four ways: a full list's own drop of its oldest rows when a row is appended, the room a
// block makes in a full list, and one run or scattered runs of rows deleted. Whichever way,
// wherever the rows stand and whatever is selected, in lists of single and of extended selection,
// of one and of three columns: the rows left keep their order, cells and data; exactly the kept
// rows that were selected stay selected; the focus stays with its row, and a dropped focused row
// leaves no row focused; the view has the rows left, no more.
TEST(Controls, RowsGoingAnyWayTakeOnlyThemselvesOutOfTheSelectionAndFocus) {
    enum Way { kAppend, kBlock, kDelete, kDataBelow };
    // kJoined: each range held as one range; kKeys: Ctrl+A (every row as one range), on an X
    // server a click on the list and the key through the server (desktop_platform_ui_*).
    enum Pick { kRowByRow, kJoined, kKeys };
    using Runs = std::vector<std::pair<int, int>>;  // [first, end)
    struct Case {
        const char* name;
        Way way;
        int rows;       // before; for kAppend and kBlock also the row limit
        Runs dropped;   // for kAppend and kBlock the limit's drop, from the top; kDataBelow: from the top
        Runs selected;  // kKeys: every row
        Pick pick;
        int focused;    // -1: none (kKeys: where the click leaves it)
        int block = 0;  // kBlock: rows in the block (no more than a drop)
        int at = -1;    // kBlock: where it goes, -1 at the end
    };
    const Runs kTop = {{0, 4}};
    const Runs kMiddle = {{5, 9}};
    const Runs kEnd = {{12, 16}};
    const Runs kScattered = {{0, 2}, {6, 9}, {14, 16}};
    const Runs kAll = {{0, 16}};
    const Case cases[] = {
        {"append: selected and focused, the drop's first row", kAppend, 16, kTop, {{0, 1}}, kRowByRow, 0},
        {"append: selected and focused, a middle row of the drop", kAppend, 16, kTop, {{2, 3}}, kRowByRow, 2},
        {"append: selected and focused, the drop's last row", kAppend, 16, kTop, {{3, 4}}, kRowByRow, 3},
        {"append: focused, the drop's last row; a kept row selected", kAppend, 16, kTop, {{9, 10}}, kRowByRow, 3},
        {"append: focused, the drop's first row; the row below it selected", kAppend, 16, kTop, {{4, 5}}, kRowByRow, 0},
        {"append: a kept row selected and focused", kAppend, 16, kTop, {{10, 11}}, kRowByRow, 10},
        {"append: nothing selected or focused", kAppend, 16, kTop, {}, kRowByRow, -1},
        {"append: a range across the drop's end", kAppend, 16, kTop, {{1, 7}}, kJoined, 6},
        {"append: a range across the drop's end, row by row", kAppend, 16, kTop, {{1, 7}}, kRowByRow, 2},
        {"append: ranges in, across and below the drop", kAppend, 16, kTop, {{0, 2}, {3, 6}, {9, 12}}, kJoined, 11},
        {"append: every row", kAppend, 16, kTop, kAll, kJoined, 15},
        {"append: every row, row by row", kAppend, 16, kTop, kAll, kRowByRow, 0},
        {"append: every row of more than 1,000 cells", kAppend, 1100, {{0, 100}}, {{0, 1100}}, kJoined, 1099},
        {"append: Ctrl+A", kAppend, 16, kTop, kAll, kKeys, -1},
        {"append: Ctrl+A over more than 1,000 cells", kAppend, 1100, {{0, 100}}, {{0, 1100}}, kKeys, -1},
        {"block: selected and focused, the drop's first row", kBlock, 16, kTop, {{0, 1}}, kRowByRow, 0, 3},
        {"block in the middle: selected and focused, the drop's last row", kBlock, 16, kTop, {{3, 4}}, kRowByRow, 3, 3,
         9},
        {"block in the middle: a range across the drop's end", kBlock, 16, kTop, {{2, 9}}, kJoined, 2, 4, 8},
        {"block: focused in the drop; a kept row selected", kBlock, 16, kTop, {{10, 11}}, kRowByRow, 1, 3},
        {"block: ranges in, across and below the drop", kBlock, 16, kTop, {{1, 2}, {3, 5}, {12, 16}}, kJoined, 13, 2},
        {"block: Ctrl+A over more than 1,000 cells", kBlock, 1100, {{0, 100}}, {{0, 1100}}, kKeys, -1, 50},
        {"data below: selected and focused, the run's last row", kDataBelow, 16, {{0, 5}}, {{4, 5}}, kRowByRow, 4},
        {"data below: a range across the run's end", kDataBelow, 16, {{0, 5}}, {{3, 8}}, kJoined, 7},
        {"top run: selected and focused, its first row", kDelete, 16, kTop, {{0, 1}}, kRowByRow, 0},
        {"top run: selected and focused, a middle row", kDelete, 16, kTop, {{1, 2}}, kRowByRow, 1},
        {"middle run: selected and focused, its first row", kDelete, 16, kMiddle, {{5, 6}}, kRowByRow, 5},
        {"middle run: selected and focused, a middle row", kDelete, 16, kMiddle, {{7, 8}}, kRowByRow, 7},
        {"middle run: selected and focused, its last row", kDelete, 16, kMiddle, {{8, 9}}, kRowByRow, 8},
        {"middle run: a row above it selected and focused", kDelete, 16, kMiddle, {{1, 2}}, kRowByRow, 1},
        {"middle run: a row below it selected and focused", kDelete, 16, kMiddle, {{12, 13}}, kRowByRow, 12},
        {"middle run: a row in it selected, a row below it focused", kDelete, 16, kMiddle, {{6, 7}}, kRowByRow, 11},
        {"middle run: focused, its first row; a row below it selected", kDelete, 16, kMiddle, {{13, 14}}, kRowByRow, 5},
        {"middle run: a range around it", kDelete, 16, kMiddle, {{3, 12}}, kJoined, 3},
        {"middle run: a range from within it on", kDelete, 16, kMiddle, {{7, 13}}, kJoined, 12},
        {"middle run: ranges above, in and below it", kDelete, 16, kMiddle, {{2, 4}, {6, 8}, {10, 14}}, kJoined, 6},
        {"middle run: every row", kDelete, 16, kMiddle, kAll, kJoined, 7},
        {"middle run: every row, row by row", kDelete, 16, kMiddle, kAll, kRowByRow, 15},
        {"end run: selected and focused, its first row", kDelete, 16, kEnd, {{12, 13}}, kRowByRow, 12},
        {"end run: selected and focused, its last row", kDelete, 16, kEnd, {{15, 16}}, kRowByRow, 15},
        {"end run: a range across its start", kDelete, 16, kEnd, {{10, 14}}, kJoined, 13},
        {"every row goes", kDelete, 16, kAll, {{3, 4}}, kRowByRow, 3},
        {"scattered: selected and focused, the top run's first row", kDelete, 16, kScattered, {{0, 1}}, kRowByRow, 0},
        {"scattered: selected and focused, a middle row of a run", kDelete, 16, kScattered, {{7, 8}}, kRowByRow, 7},
        {"scattered: selected and focused, a run's last row", kDelete, 16, kScattered, {{8, 9}}, kRowByRow, 8},
        {"scattered: selected and focused, the end run's last row", kDelete, 16, kScattered, {{15, 16}}, kRowByRow, 15},
        {"scattered: a kept row between runs selected and focused", kDelete, 16, kScattered, {{10, 11}}, kRowByRow, 10},
        {"scattered: focused, a run's first row; a kept row selected", kDelete, 16, kScattered, {{3, 4}}, kRowByRow, 6},
        {"scattered: a range across them", kDelete, 16, kScattered, {{1, 15}}, kJoined, 14},
        {"scattered: ranges in and across them", kDelete, 16, kScattered, {{0, 3}, {5, 7}, {8, 12}}, kJoined, 11},
        {"scattered: every row", kDelete, 16, kScattered, kAll, kJoined, 0},
        {"scattered: every row, row by row", kDelete, 16, kScattered, kAll, kRowByRow, 15},
        {"scattered: Ctrl+A over more than 1,000 cells", kDelete, 1100, {{0, 50}, {500, 520}, {1090, 1100}},
         {{0, 1100}}, kKeys, -1},
    };
    const bool throughX = testsupport::CanClickThroughX();
    for (const int columns : {1, 3}) {
        for (const int id : {1003, 1011}) {  // extended and single selection
            TestDialog d;
            ASSERT_TRUE(d.Create());
            d.ShowWindow(true);
            ListView l(d.GetDlgItem(id));
            l.Move(10, 10, 300, 130);
            l.Show();
            for (int c = 0; c < columns; ++c) l.InsertColumn(c, "c", 60);
            bool placed = false;
            // Row i's cells are "ri", "si" and "ti", a new row's "rn0" and so on.
            const auto cellsOf = [columns](const std::string& name) {
                std::vector<std::string> cells;
                for (int c = 0; c < columns; ++c) cells.push_back(std::string(1, static_cast<char>('r' + c)) + name);
                return cells;
            };
            const auto rowText = [&cellsOf](const std::string& name, int data) {
                std::string t;
                for (const std::string& cell : cellsOf(name)) t += cell + " ";
                return t + "=" + std::to_string(data);
            };
            // A row's cells and data as read back.
            const auto readRow = [&l, columns](int row) {
                std::string t;
                for (int c = 0; c < columns; ++c) t += l.GetItemText(row, c) + " ";
                return t + "=" + std::to_string(l.GetItemData(row));
            };
            const auto names = [&l](const std::vector<int>& rows) {
                std::vector<std::string> out;
                for (int r : rows) out.push_back(r < l.GetItemCount() ? l.GetItemText(r, 0) : "#" + std::to_string(r));
                return out;
            };
            const auto focusedRows = [&l] {
                std::vector<int> out;
                for (int r = 0; r < l.GetItemCount(); ++r)
                    if (l.GetItemState(r, ListView::kStateFocused)) out.push_back(r);
                return out;
            };
            // The view's top row when it is scrolled to its end.
            const auto topAtTheEnd = [&l] {
                if (l.GetItemCount() > 0) l.EnsureVisible(l.GetItemCount() - 1);  // rows not yet shown
                PumpMessages();
                l.Scroll(0, 1 << 30);
                return l.GetTopIndex();
            };
            l.SetRowLimit(ListView::kDefaultRowLimit, ListView::kDefaultDropRows);
            for (int i = 0; i < 40; ++i) l.AppendRow({"p"});
            const int page = 40 - topAtTheEnd();  // rows the view shows whole
            ASSERT_GT(page, 1);
            ASSERT_LT(page, 12);
            for (const Case& c : cases) {
                SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(columns) + " column(s), list " +
                             std::to_string(id));
                int selectedCount = 0;
                for (const auto& [first, end] : c.selected) selectedCount += end - first;
                if (id == 1011 && selectedCount > 1) continue;  // a single-selection list holds one row
                const bool full = c.way == kAppend || c.way == kBlock;
                const int drop = c.dropped.front().second;
                l.DeleteAllItems();
                l.SetRowLimit(full ? c.rows : ListView::kDefaultRowLimit, full ? drop : ListView::kDefaultDropRows);
                for (int i = 0; i < c.rows; ++i) l.SetItemData(l.AppendRow(cellsOf(std::to_string(i))), i);
                // The rows afterwards: the kept rows in their order, the new rows where they go.
                std::vector<bool> dropped(static_cast<size_t>(c.rows));
                for (const auto& [first, end] : c.dropped)
                    for (int i = first; i < end; ++i) dropped[static_cast<size_t>(i)] = true;
                std::vector<int> after;  // old row numbers; -1 - k for new row k
                for (int i = 0; i < c.rows; ++i)
                    if (!dropped[static_cast<size_t>(i)]) after.push_back(i);
                const int added = c.way == kAppend ? 1 : c.way == kBlock ? c.block : 0;
                const int at = c.way != kBlock || c.at < 0 ? static_cast<int>(after.size())
                                                           : std::clamp(c.at - drop, 0, static_cast<int>(after.size()));
                for (int k = 0; k < added; ++k) after.insert(after.begin() + at + k, -1 - k);

                // The selection and focus.
                std::vector<bool> selected(static_cast<size_t>(c.rows));
                int focused = c.focused;
                if (c.pick == kKeys) {
                    if (throughX) {
                        if (!placed) PumpFor(700);  // placed by the window manager, if any
                        placed = true;
                        l.EnsureVisible(0);
                        PumpMessages();
                        const Rect r = l.GetWindowRect();
                        ASSERT_TRUE(testsupport::ClickScreen(Point{r.left + 40, (r.top + r.bottom) / 2}));
                        ASSERT_TRUE(testsupport::Xdotool({"key", "ctrl+a"}));
                    } else {
                        l.SetFocus();
                        l.PressSelectAll();
                    }
                    ASSERT_TRUE(WaitPumping(
                        [&] { return static_cast<int>(l.GetSelectedRows().size()) == c.rows; }, 5000));
                    const std::vector<int> f = focusedRows();
                    focused = f.empty() ? -1 : f.front();
                    selected.assign(selected.size(), true);
                } else {
                    for (const auto& [first, end] : c.selected) {
                        for (int i = first; i < end; ++i) {
                            l.SelectRow(i);
                            selected[static_cast<size_t>(i)] = true;
                        }
                    }
                    // A sort that moves no row leaves the view its selected rows joined into ranges.
                    if (c.pick == kJoined) l.SortRows(0, [](std::string_view, std::string_view) { return 0; });
                    if (focused >= 0) {
                        l.SetItemState(focused, ListView::kStateFocused, ListView::kStateFocused);
                    } else {
                        for (int r : focusedRows()) l.SetItemState(r, 0, ListView::kStateFocused);
                    }
                }
                std::vector<std::string> wantSelected;
                for (int i = 0; i < c.rows; ++i)
                    if (selected[static_cast<size_t>(i)]) wantSelected.push_back("r" + std::to_string(i));
                ASSERT_EQ(names(l.GetSelectedRows()), wantSelected);
                ASSERT_EQ(focusedRows(), focused >= 0 ? std::vector<int>{focused} : std::vector<int>{});

                switch (c.way) {
                    case kAppend:
                        EXPECT_EQ(l.AppendRow(cellsOf("n0")), static_cast<int>(after.size()) - 1);
                        break;
                    case kBlock: {
                        ListRows rows(l);
                        for (int k = 0; k < c.block; ++k) {
                            const std::vector<std::string> texts = cellsOf("n" + std::to_string(k));
                            std::vector<ListCell> cells;
                            for (const std::string& text : texts) cells.push_back(ListCell::Text(text));
                            rows.Add(cells.data(), cells.size());
                        }
                        EXPECT_EQ(l.InsertRows(c.at, rows), at);
                        EXPECT_EQ(rows.RemovedRows(), static_cast<size_t>(drop));
                        break;
                    }
                    case kDelete:
                        EXPECT_EQ(l.DeleteItems(dropped), c.rows + added - static_cast<int>(after.size()));
                        break;
                    case kDataBelow:
                        EXPECT_EQ(l.DeleteItemsWithDataBelow(drop), drop);
                        break;
                }

                std::vector<std::string> want, got;
                wantSelected.clear();
                std::vector<std::string> wantFocused;
                for (int i : after) {
                    const std::string name = i >= 0 ? std::to_string(i) : "n" + std::to_string(-1 - i);
                    want.push_back(rowText(name, std::max(i, 0)));
                    if (i >= 0 && selected[static_cast<size_t>(i)]) wantSelected.push_back("r" + name);
                    if (i >= 0 && i == focused) wantFocused.push_back("r" + name);
                }
                for (int r = 0; r < l.GetItemCount(); ++r) got.push_back(readRow(r));
                EXPECT_EQ(got, want);
                EXPECT_EQ(names(l.GetSelectedRows()), wantSelected);
                EXPECT_EQ(names(focusedRows()), wantFocused);
                EXPECT_EQ(topAtTheEnd(), std::max(0, static_cast<int>(after.size()) - page));  // the rows left, no more
            }
        }
    }
}

TEST(Controls, SelectingARowScrollsTheListOnlyVertically) {
    const std::pair<const char*, std::function<void(ListView&, int)>> actions[] = {
        {"select", [](ListView& l, int row) { l.SelectRow(row); }},
        {"click", [](ListView& l, int row) { l.ClickRow(row); }},
        {"state", [](ListView& l, int row) { l.SetItemState(row, ListView::kStateFocused, ListView::kStateFocused); }},
        {"into view", [](ListView& l, int row) { l.EnsureVisible(row); }},
    };
    for (const auto& [name, act] : actions) {
        TestDialog d;
        ASSERT_TRUE(d.Create());
        d.ShowWindow(true);
        ListView l(d.GetDlgItem(1003));
        for (int c = 0; c < 3; ++c) l.InsertColumn(c, "列", c == 2 ? 1000 : 150);
        for (int r = 0; r < 40; ++r) l.AppendRow({std::to_string(r), "", "79 00 00 40 02 42 42"});
        PumpMessages();
        l.Scroll(200, 0);
        ASSERT_EQ(l.GetOrigin().x, 200);
        act(l, 35);
        PumpMessages();
        EXPECT_EQ(l.GetOrigin().x, 200) << name;
        EXPECT_GT(l.GetTopIndex(), 20) << name;  // the row is scrolled into view
    }
}

TEST(Controls, GridLinesRunBelowTheRowsOnlyWhenSet) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    ListView l(d.GetDlgItem(1003));
    EXPECT_EQ(l.GetExtendedStyle(), static_cast<uint32_t>(ListView::kExGridLines | ListView::kExFullRowSelect |
                                                           ListView::kExCheckBoxes));
    l.InsertColumn(0, "序号", 60);
    l.InsertColumn(1, "地址", 60);
    l.AppendRow({"1", "000000000001"});
    l.SetListColors(MakeRgb(0, 0, 0), MakeRgb(255, 255, 255));
    PumpMessages();
    const Point onColumnEdge{59, l.GetClientRect().Height() / 2};  // under the only row
    EXPECT_NE(l.GetPixel(onColumnEdge), MakeRgb(255, 255, 255));
    l.SetExtendedStyle(ListView::kExFullRowSelect);
    EXPECT_EQ(l.GetPixel(onColumnEdge), MakeRgb(255, 255, 255));
}

// A multi-line edit rewrites only the lines that changed, yet each text replaces the last whole:
// the text reads back as set, the caret is at the start with nothing selected, and one change
// is told per text, also when the text stays the same.
TEST(Controls, AMultiLineEditTakesEachTextWhole) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    Edit edit(d.GetDlgItem(1007));
    int changes = 0;
    d.MapCommand(1007, Notify::EditChange, [&] { ++changes; });
    std::string longText = "0";
    for (int i = 1; i < 600; ++i) longText += "\r\n" + std::to_string(i);
    const struct {
        std::string text;
        int lines;
    } kTexts[] = {
        {"a\r\nb\r\nc", 3},           // from empty: lines added
        {"a\r\nB\r\nc", 3},           // one line differs
        {"a\r\nB", 2},                // lines dropped
        {"x\r\n\r\ny\r\n", 4},        // empty lines, a trailing line end
        {"解析信息：\r\n帧方向：  从机发出帧,", 2},
        {"", 1},
        {"a\rb", 2},                  // a lone carriage return also ends a line
        {longText, 600},              // long texts are replaced whole
        {"a\r\nb", 2},
    };
    for (const auto& t : kTexts) {
        SCOPED_TRACE(t.text.substr(0, 20));
        const std::string expected = t.text == "a\rb" ? "a\r\nb" : t.text;
        for (int pass = 0; pass < 2; ++pass) {  // the second time no line differs
            changes = 0;
            edit.SetText(t.text);
            EXPECT_EQ(edit.GetText(), expected);
            EXPECT_EQ(changes, 1);
        }
        EXPECT_EQ(edit.GetLineCount(), t.lines);
        // Typed text lands at the start and replaces nothing.
        edit.ReplaceSel("^");
        EXPECT_EQ(edit.GetText(), "^" + expected);
    }
}

// Emptying a long list gives back what its rows held, also the row header's room for them; the
// list then draws and scrolls as before, and stays so when its window is shown again.
TEST(Controls, AnEmptiedLongListLooksAndScrollsAsBefore) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    ListView l(d.GetDlgItem(1003));
    l.InsertColumn(0, "序号", 60);
    l.InsertColumn(1, "地址", 60);
    l.SetListColors(MakeRgb(0, 0, 0), MakeRgb(255, 255, 255));
    const auto fill = [&l](int rows) {
        l.DeleteAllItems();
        for (int r = 0; r < rows; ++r) l.AppendRow({std::to_string(r), "000000000001"});
        l.EnsureVisible(rows - 1);
        PumpMessages();
    };
    fill(40);
    fill(40);  // the first time the view is still being laid out
    const int top = l.GetTopIndex();
    ASSERT_GT(top, 20);
    fill(1);
    const Point onColumnEdge{59, l.GetClientRect().Height() / 2};  // under the only row
    ASSERT_NE(l.GetPixel(onColumnEdge), MakeRgb(255, 255, 255));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        fill(20000);
        l.DeleteAllItems();
        if (round == 1) {
            d.ShowWindow(false);
            d.ShowWindow(true);
            fill(40);
        }
        fill(40);
        EXPECT_EQ(l.GetTopIndex(), top);
        fill(1);
        EXPECT_NE(l.GetPixel(onColumnEdge), MakeRgb(255, 255, 255));  // the grid, where it was
    }
}

// An edit's limit holds for typing only: what does not fit is cut from what was typed, a text
// the program writes is kept whole, and typing into it may shorten it but not lengthen it.
TEST(Controls, AnEditsLimitStopsTypingOnly) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    Edit edit(d.GetDlgItem(1001));
    edit.SetLimitText(4);
    EXPECT_EQ(edit.GetLimitText(), 4);
    const struct {
        const char* written;  // nullptr: keep the text
        const char* typed;
        const char* expected;
    } kCases[] = {
        {"", "123456", "1234"},
        {nullptr, "5", "1234"},
        {"12", "345", "1234"},
        {"1234567", nullptr, "1234567"},
        {nullptr, "8", "1234567"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.written ? c.written : "-") + " / " + (c.typed ? c.typed : "-"));
        if (c.written) edit.SetText(c.written);
        if (c.typed) {
            edit.SetSel(-1, -1);
            edit.TypeText(c.typed);
        }
        EXPECT_EQ(edit.GetText(), c.expected);
    }
    // A long written text may be shortened by typing over part of it, not lengthened.
    edit.SetSel(0, 3);
    edit.TypeText("ab");
    EXPECT_EQ(edit.GetText(), "ab4567");
    edit.SetSel(0, 1);
    edit.TypeText("xyz");
    EXPECT_EQ(edit.GetText(), "xb4567");
}
