#include "platform/ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/sync.h"

// The window tests bring their own resources.
namespace {

const DialogTemplate kTestDialog = {
    900, "测试窗口", TemplateUnits::DialogUnits, 220, 140, "SimSun", 9, kDlgSystemMenu, 0,
    {
        {1, ControlKind::DefPushButton, "确定", 10, 120, 50, 14, kNone},
        {2, ControlKind::PushButton, "取消", 70, 120, 50, 14, kNone},
        {1001, ControlKind::Edit, "", 10, 10, 80, 12, kNone},
        {1002, ControlKind::ComboDropDown, "", 10, 30, 80, 60, kSorted},
        {1003, ControlKind::ListReport, "", 100, 10, 110, 70, kCheckBoxes},
        {1004, ControlKind::Tree, "", 10, 50, 80, 60, kNone},
        {1005, ControlKind::CheckBox, "自动更新", 100, 90, 60, 10, kNone},
        {1006, ControlKind::Static, "状态", 100, 104, 60, 10, kHidden},
        {1007, ControlKind::Edit, "", 160, 90, 50, 24, kMultiline | kWantReturn},
        {1008, ControlKind::ComboDropList, "", 130, 120, 60, 60, kNone},
        {1009, ControlKind::Tab, "", 0, 0, 10, 10, kHidden},
    }};

const DialogTemplate kPageTemplate = {
    901, "", TemplateUnits::DialogUnits, 60, 40, "SimSun", 9, kDlgChild, 0,
    {{1100, ControlKind::Edit, "页", 2, 2, 40, 12, kNone}}};

const bool kRegistered = [] {
    RegisterResourceSource({[](int id) -> const DialogTemplate* {
                                return id == 900 ? &kTestDialog : id == 901 ? &kPageTemplate : nullptr;
                            },
                            nullptr, nullptr});
    return true;
}();

class TestDialog : public Dialog {
public:
    TestDialog() : Dialog(900) {
        MapCommand(1005, Notify::Clicked, [this] { ++clicks; });
        MapCommand(1002, Notify::SelChange, [this] { ++selChanges; });
        MapMessage(0x401, [this](uintptr_t wp, intptr_t lp) -> intptr_t {
            messageThread = std::this_thread::get_id();
            lastMessage = static_cast<int>(wp + static_cast<uintptr_t>(lp));
            return 77;
        });
    }
    int clicks = 0;
    int selChanges = 0;
    int initCalls = 0;
    int okCalls = 0;
    int timerTicks = 0;
    bool swallowEnter = false;
    bool endInInit = false;
    std::thread::id messageThread;
    int lastMessage = 0;
    std::function<void()> onInit;

protected:
    bool OnInitDialog() override {
        ++initCalls;
        if (endInInit) EndDialog(5);
        if (onInit) onInit();
        return true;
    }
    void OnOK() override {
        ++okCalls;
        Dialog::OnOK();
    }
    void OnTimer(int id) override {
        if (id == 3) ++timerTicks;
    }
    bool PreTranslateKey(Key key) override { return swallowEnter && key == Key::Enter; }
};

struct MessageBoxRecorder {
    MessageBoxRecorder() {
        previous = SetMessageBoxHook([this](const MessageBoxRequest& r) {
            shown.push_back(r);
            return answer;
        });
    }
    ~MessageBoxRecorder() { SetMessageBoxHook(previous); }
    std::vector<MessageBoxRequest> shown;
    int answer = kIdOk;
    MessageBoxHook previous;
};

}  // namespace

TEST(Dialogs, ModalRunsInitAndReturnsTheEndCode) {
    TestDialog d;
    d.onInit = [&] {
        EXPECT_TRUE(d.GetDlgItem(1001).IsValid());
        EXPECT_FALSE(d.GetDlgItem(1006).IsVisible());
        EXPECT_EQ(d.GetDlgItemText(1005), "自动更新");
        d.PostTask([&] { d.PressKey(Key::Enter); });
    };
    EXPECT_EQ(d.DoModal(), kIdOk);
    EXPECT_EQ(d.initCalls, 1);
    EXPECT_EQ(d.okCalls, 1);
    EXPECT_FALSE(d.IsCreated());
}

TEST(Dialogs, EndInsideInitReturnsAtOnce) {
    TestDialog d;
    d.endInInit = true;
    EXPECT_EQ(d.DoModal(), 5);
}

TEST(Dialogs, EscCancelsAndPreTranslateSwallows) {
    TestDialog d;
    d.swallowEnter = true;
    d.onInit = [&] {
        d.PostTask([&] {
            EXPECT_TRUE(d.PressKey(Key::Enter));  // swallowed, the dialog stays
            EXPECT_EQ(d.okCalls, 0);
            d.PressKey(Key::Escape);
        });
    };
    EXPECT_EQ(d.DoModal(), kIdCancel);
}

TEST(Dialogs, ModelessCreateShowHideAndDestroy) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    EXPECT_EQ(d.initCalls, 1);
    EXPECT_FALSE(d.IsWindowVisible());
    d.ShowWindow(true);
    EXPECT_TRUE(d.IsWindowVisible());
    d.EndDialog(kIdOk);  // a modeless dialog only hides
    EXPECT_FALSE(d.IsWindowVisible());
    EXPECT_TRUE(d.IsCreated());
    d.DestroyWindow();
    EXPECT_FALSE(d.IsCreated());
    EXPECT_FALSE(d.GetDlgItem(1001).IsValid());
    PumpMessages();
}

TEST(Dialogs, ChildPageLivesInsideItsHost) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    Dialog page(901);
    ASSERT_TRUE(page.CreateIn(d.GetDlgItem(1009)));
    EXPECT_EQ(page.GetDlgItemText(1100), "页");
    EXPECT_FALSE(page.IsWindowVisible());
    page.ShowWindow(true);
    EXPECT_TRUE(page.IsWindowVisible());
    page.DestroyWindow();
    d.DestroyWindow();
}

TEST(Dialogs, TheInnermostDialogTakesEnterAndEsc) {
    struct Page : Dialog {
        Page() : Dialog(901) {}
        int ok = 0;
        int cancel = 0;
        void OnOK() override { ++ok; }
        void OnCancel() override { ++cancel; }
    };
    TestDialog outer;
    outer.swallowEnter = true;
    ASSERT_TRUE(outer.Create());
    Page page;
    ASSERT_TRUE(page.CreateIn(outer.GetDlgItem(1009)));
    EXPECT_TRUE(page.PressKey(Key::Enter));
    EXPECT_TRUE(page.PressKey(Key::Escape));
    EXPECT_EQ(page.ok, 1);
    EXPECT_EQ(page.cancel, 1);
    EXPECT_EQ(outer.okCalls, 0);
    EXPECT_TRUE(outer.PressKey(Key::Enter));  // the outer dialog's own keys: swallowed there
    EXPECT_EQ(outer.okCalls, 0);
    EXPECT_EQ(page.ok, 1);
    page.DestroyWindow();
    outer.DestroyWindow();
}

TEST(Dialogs, ControlsNotifyTheirHandlers) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    Button(d.GetDlgItem(1005)).Click();
    EXPECT_EQ(d.clicks, 1);
    Button check(d.GetDlgItem(1005));
    EXPECT_EQ(check.GetCheck(), 1);
    check.SetCheck(0);
    EXPECT_EQ(check.GetCheck(), 0);
    EXPECT_EQ(d.clicks, 1);  // setting the check is not a click
    d.GetDlgItem(1005).Enable(false);
    Button(d.GetDlgItem(1005)).Click();
    EXPECT_EQ(d.clicks, 1);  // a disabled button does not click
    ComboBox combo(d.GetDlgItem(1002));
    combo.AddString("a");
    combo.AddString("b");
    combo.SelectAsUser(1);
    EXPECT_EQ(d.selChanges, 1);
    combo.SetCurSel(0);
    EXPECT_EQ(d.selChanges, 1);
    d.DestroyWindow();
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
    d.DestroyWindow();
}

TEST(Messages, PostedFromAnotherThreadRunsOnTheUiThread) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    auto t = WorkerThread::Start([&] { d.PostMessage(0x401, 40, 2); });
    t->Join();
    EXPECT_EQ(d.lastMessage, 0);  // not yet: posted
    EXPECT_TRUE(WaitPumping([&] { return d.lastMessage == 42; }, 5000));
    EXPECT_EQ(d.messageThread, std::this_thread::get_id());
    d.DestroyWindow();
}

TEST(Messages, SentFromAWorkerCompletesWhileTheUiThreadPumps) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    std::atomic<intptr_t> result{0};
    std::thread::id ran;
    auto t = WorkerThread::Start([&] {
        result = d.SendMessage(0x401, 1, 2);
        d.SendTask([&] { ran = std::this_thread::get_id(); });
    });
    // The UI thread waits for the worker, pumping, as the stop routines do.
    EXPECT_TRUE(WaitPumping([&] { return t->IsFinished(); }, 5000));
    EXPECT_EQ(result, 77);
    EXPECT_EQ(d.lastMessage, 3);
    EXPECT_EQ(ran, std::this_thread::get_id());
    EXPECT_EQ(d.SendMessage(0x401, 5, 5), 77);  // on the UI thread: at once
    EXPECT_EQ(d.lastMessage, 10);
    d.DestroyWindow();
}

TEST(Messages, PostedToADestroyedDialogIsDropped) {
    auto d = std::make_unique<TestDialog>();
    ASSERT_TRUE(d->Create());
    d->PostMessage(0x401, 1, 1);
    d.reset();
    PumpFor(10);  // must not touch the dead dialog
    SUCCEED();
}

TEST(MessageBoxes, TheHookSeesEveryBox) {
    MessageBoxRecorder rec;
    SetApplicationTitle("KV3391T");
    rec.answer = kIdCancel;
    EXPECT_EQ(ShowMessageBox("确认要清除报文吗？", "提示", kMbOkCancel | kMbIconInformation), kIdCancel);
    rec.answer = kIdOk;
    EXPECT_EQ(ShowMessageBox("打开文件失败"), kIdOk);
    ASSERT_EQ(rec.shown.size(), 2u);
    EXPECT_EQ(rec.shown[0].caption, "提示");
    EXPECT_EQ(rec.shown[0].text, "确认要清除报文吗？");
    EXPECT_EQ(rec.shown[0].type, static_cast<uint32_t>(kMbOkCancel | kMbIconInformation));
    EXPECT_EQ(rec.shown[1].caption, "KV3391T");
    EXPECT_EQ(rec.shown[1].type, static_cast<uint32_t>(kMbOk));
}

TEST(FileDialogs, TheHookAnswers) {
    FileDialogRequest seen;
    auto prev = SetFileDialogHook([&](const FileDialogRequest& r) {
        seen = r;
        return std::string("/tmp/x.txt");
    });
    FileDialogRequest r;
    r.open = false;
    r.fileName = "ROUTEREXPORT, 2026-12-06 10-00-00.txt";
    r.filter = "TXT Files(*.txt)|*.txt||";
    EXPECT_EQ(ShowFileDialog(r), "/tmp/x.txt");
    EXPECT_FALSE(seen.open);
    EXPECT_EQ(seen.fileName, r.fileName);
    SetFileDialogHook(prev);
}

TEST(Controls, SortedComboOrdersByGbkIgnoringCase) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    ComboBox c(d.GetDlgItem(1002));
    for (const char* s : {"主机发出帧", "从机发出帧"}) c.AddString(s);
    ASSERT_EQ(c.GetCount(), 2);
    EXPECT_EQ(c.GetLBText(0), "从机发出帧");
    EXPECT_EQ(c.GetLBText(1), "主机发出帧");
    EXPECT_EQ(c.GetCurSel(), -1);
    c.ResetContent();
    for (const char* s : {"Bluetooth", "WiFi", "5207PLC", "5281PLC", "bz"}) c.AddString(s);
    EXPECT_EQ(c.GetLBText(0), "5207PLC");
    EXPECT_EQ(c.GetLBText(1), "5281PLC");
    EXPECT_EQ(c.GetLBText(2), "Bluetooth");
    EXPECT_EQ(c.GetLBText(3), "bz");
    EXPECT_EQ(c.GetLBText(4), "WiFi");
    c.SetCurSel(1);
    EXPECT_EQ(c.GetSelectedText(), "5281PLC");
    c.ResetContent();
    for (const char* s : {"0 档", "不区分", "TCP", "网关"}) c.AddString(s);
    EXPECT_EQ(c.GetLBText(0), "0 档");
    EXPECT_EQ(c.GetLBText(1), "TCP");
    EXPECT_EQ(c.GetLBText(2), "不区分");  // GBK B2BB before CDF8
    EXPECT_EQ(c.GetLBText(3), "网关");
    ComboBox unsorted(d.GetDlgItem(1008));
    unsorted.AddString("b");
    unsorted.AddString("a");
    EXPECT_EQ(unsorted.GetLBText(0), "b");
    d.DestroyWindow();
}

TEST(Controls, EditLimitsAndMultilineText) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    Edit e(d.GetDlgItem(1001));
    e.SetLimitText(12);
    e.TypeText("1234567890ABCD");
    EXPECT_EQ(e.GetText(), "1234567890AB");
    Edit m(d.GetDlgItem(1007));
    m.SetText("解析信息:\r\n第二行");
    EXPECT_EQ(m.GetText(), "解析信息:\r\n第二行");
    m.SetSel(-1, -1);
    m.ReplaceSel("\r\n末");
    EXPECT_EQ(m.GetText(), "解析信息:\r\n第二行\r\n末");
    EXPECT_EQ(m.GetLineCount(), 3);
    d.DestroyWindow();
}

TEST(Controls, ReportListRowsChecksColoursAndSelection) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    ListView l(d.GetDlgItem(1003));
    l.InsertColumn(0, "时间", 150, ListView::kCenter);
    l.InsertColumn(1, "序号", 50);
    l.InsertColumn(2, "报文显示", 1000);
    EXPECT_EQ(l.GetColumnCount(), 3);
    EXPECT_EQ(l.GetColumnHeading(2), "报文显示");
    EXPECT_EQ(l.GetColumnWidth(0), 150);
    for (int i = 0; i < 5; ++i) {
        const int row = l.InsertItem(l.GetItemCount(), "t" + std::to_string(i));
        EXPECT_EQ(row, i);
        l.SetItemText(row, 1, std::to_string(i));
    }
    EXPECT_EQ(l.GetItemCount(), 5);  // counted before the view has seen them
    EXPECT_EQ(l.InsertItem(0, "first"), 0);
    EXPECT_EQ(l.GetItemText(1, 0), "t0");
    EXPECT_TRUE(l.DeleteItem(0));
    EXPECT_FALSE(l.DeleteItem(99));
    EXPECT_FALSE(l.SetItemText(99, 0, "x"));
    EXPECT_EQ(l.GetItemText(99, 0), "");
    l.SetRowTextColor(2, MakeRgb(255, 0, 0));
    EXPECT_EQ(l.GetRowTextColor(2), MakeRgb(255, 0, 0));
    l.SetCheck(3, true);
    EXPECT_TRUE(l.GetCheck(3));
    EXPECT_FALSE(l.GetCheck(2));
    l.SelectRow(4);
    EXPECT_EQ(l.GetSelectionMark(), 4);
    l.EnsureVisible(4);
    l.ClearSelection();
    EXPECT_TRUE(l.GetSelectedRows().empty());
    l.SortByColumn(1, false);
    EXPECT_EQ(l.GetItemText(0, 1), "4");
    l.DeleteAllItems();
    EXPECT_EQ(l.GetItemCount(), 0);
    d.DestroyWindow();
}

TEST(Controls, TreeItemsAndHitTest) {
    TestDialog d;
    ASSERT_TRUE(d.Create());
    d.ShowWindow(true);
    TreeView t(d.GetDlgItem(1004));
    const TreeItem root = t.InsertItem("本地功能调试");
    t.SetItemData(root, 7);
    const TreeItem child = t.InsertItem("轮抄", root);
    t.SetItemData(child, 101);
    t.Expand(root);
    PumpMessages();
    EXPECT_TRUE(t.IsExpanded(root));
    EXPECT_EQ(t.GetRootItem(), root);
    EXPECT_EQ(t.GetChildItem(root), child);
    EXPECT_EQ(t.GetItemData(child), 101);
    EXPECT_EQ(t.HitTest(t.ItemCenter(child)), child);
    EXPECT_EQ(t.HitTest(Point{5, 5000}), 0);
    int clicked = 0;
    d.MapCommand(1004, Notify::Click, [&] {
        const TreeItem hit = t.HitTest(t.ScreenToClient(GetMessagePos()));
        clicked = static_cast<int>(t.GetItemData(hit));
    });
    t.ClickAt(t.ItemCenter(child));
    EXPECT_EQ(clicked, 101);
    d.DestroyWindow();
}

TEST(Clipboard, RoundTrip) {
    SetClipboardText("79 00 00 40 02 42 42 ");
    EXPECT_EQ(GetClipboardText(), "79 00 00 40 02 42 42 ");
}
