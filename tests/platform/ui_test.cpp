#include "platform/ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/sync.h"

// The window tests bring their own templates, under ids the program does not use.
namespace {

constexpr int kDialogId = 9900;
constexpr int kPageId = 9901;

const DialogTemplate kTestDialog = {
    kDialogId, "测试窗口", TemplateUnits::DialogUnits, 220, 140, "SimSun", 9, kDlgSystemMenu, 0,
    {
        {1, ControlKind::DefPushButton, "确定", 10, 120, 50, 14, kNone},
        {2, ControlKind::PushButton, "取消", 70, 120, 50, 14, kNone},
        {1001, ControlKind::Edit, "", 10, 10, 80, 12, kNone},
        {1002, ControlKind::ComboDropDown, "", 10, 30, 80, 60, kSorted},
        {1010, ControlKind::Static, "下一行", 10, 48, 80, 10, kNone},
        {1003, ControlKind::ListReport, "", 100, 10, 110, 70, kCheckBoxes},
        {1006, ControlKind::Static, "状态", 100, 104, 60, 10, kHidden},
        {1007, ControlKind::Edit, "", 160, 90, 50, 24, kMultiline | kWantReturn},
        {1008, ControlKind::ComboDropList, "", 130, 120, 60, 60, kNone},
        {1009, ControlKind::Tab, "", 0, 0, 10, 10, kHidden},
    }};

const DialogTemplate kPageTemplate = {
    kPageId, "", TemplateUnits::DialogUnits, 60, 40, "SimSun", 9, kDlgChild, 0,
    {{1100, ControlKind::Edit, "页", 2, 2, 40, 12, kNone}}};

const bool kRegistered = [] {
    RegisterResourceSource({[](int id) -> const DialogTemplate* {
                                return id == kDialogId ? &kTestDialog : id == kPageId ? &kPageTemplate : nullptr;
                            },
                            nullptr, nullptr});
    return true;
}();

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
        {"Enter", [](TestDialog& d) { d.PressKey(Key::Enter); }, kIdOk, 1},
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
    std::vector<MessageBoxRequest> shown;
    MessageBoxHook previous = SetMessageBoxHook([&](const MessageBoxRequest& r) {
        shown.push_back(r);
        return shown.size() == 1 ? kIdCancel : kIdOk;
    });
    SetApplicationTitle("KV3391T");
    EXPECT_EQ(ShowMessageBox("确认要清除报文吗？", "提示", kMbOkCancel | kMbIconInformation), kIdCancel);
    EXPECT_EQ(ShowMessageBox("打开文件失败"), kIdOk);
    SetMessageBoxHook(previous);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "确认要清除报文吗？");
    EXPECT_EQ(shown[0].caption, "提示");
    EXPECT_EQ(shown[0].type, static_cast<uint32_t>(kMbOkCancel | kMbIconInformation));
    EXPECT_EQ(shown[1].caption, "KV3391T");  // no caption: the program's title
}

TEST(Controls, SortedComboOrdersByGbkIgnoringCase) {
    const std::vector<std::vector<std::string>> sortedRuns = {
        {"0 档", "TCP", "不区分", "网关"},                  // GBK B2BB before CDF8
        {"5207PLC", "5281PLC", "Bluetooth", "bz", "WiFi"},  // case does not count
    };
    TestDialog d;
    ASSERT_TRUE(d.Create());
    ComboBox c(d.GetDlgItem(1002));
    for (const auto& sorted : sortedRuns) {
        c.ResetContent();
        for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) c.AddString(*it);
        std::vector<std::string> got;
        for (int i = 0; i < c.GetCount(); ++i) got.push_back(c.GetLBText(i));
        EXPECT_EQ(got, sorted);
        EXPECT_EQ(c.GetCurSel(), -1);  // adding never selects
    }
}

TEST(Controls, AddingToAComboKeepsTheSelectedEntry) {
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
    TestDialog d;
    ASSERT_TRUE(d.Create());
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
