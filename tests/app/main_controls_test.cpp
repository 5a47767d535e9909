// The main window's own controls, driven by their ids: the address list's commands and the
// Shift fill, the combos and edits as start-up leaves them, the function tree's page switching
// and the reception pages.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "commands/page_codes.h"
#include "res/resource_ids.h"
#include "support/main_window_fixture.h"
#include "support/sender_checks.h"

namespace {

using testsupport::MainWindowWithModule;
using Strings = std::vector<std::string>;

class MainControlsTest : public MainWindowWithModule {
protected:
    MainControlsTest() : MainWindowWithModule(19) {}

    ListView Addresses() { return ListOf(IDC_ADDRESS_LIST); }
    // Message boxes answered with answer, and recorded.
    void AnswerBoxes(int answer) {
        SetMessageBoxHook([this, answer](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return answer;
        });
    }
    // Each row as "address:checked:result|time|reset".
    Strings Rows() {
        Strings rows;
        ListView list = Addresses();
        for (int r = 0; r < list.GetItemCount(); ++r) {
            rows.push_back(list.GetItemText(r, 1) + (list.GetCheck(r) ? ":x:" : ":-:") + list.GetItemText(r, 2) + "|" +
                           list.GetItemText(r, 3) + "|" + list.GetItemText(r, 4));
        }
        return rows;
    }
    std::set<int> CheckedRows() {
        std::set<int> rows;
        for (int r = 0; r < Addresses().GetItemCount(); ++r)
            if (Addresses().GetCheck(r)) rows.insert(r);
        return rows;
    }
};

TEST_F(MainControlsTest, AClickOnTheAddressListTogglesTheChecksOfTheSelectedRows) {
    for (bool checked : {true, false, true, false}) Addresses().SetCheck(Addresses().AppendRow({"", "01"}), checked);
    for (int r : {0, 1}) Addresses().SetItemState(r, ListView::kStateSelected, ListView::kStateSelected);
    ASSERT_NE(Addresses().GetItemState(0, ListView::kStateSelected), 0u);
    dlg->DispatchNotify(IDC_ADDRESS_LIST, Notify::Click);
    EXPECT_EQ(CheckedRows(), (std::set<int>{1, 2}));
}

TEST_F(MainControlsTest, AddressListCommandsActOnTheCheckedRows) {
    const struct {
        const char* address;
        const char* result;
        bool checked;
    } rows[] = {
        {"01", "失败", true}, {"02", "成功", false}, {"03", "", true},
        {"04", " ", false},   {"05", "失败", false}, {"06", "失败 ", true},
    };
    for (const auto& r : rows) Addresses().SetCheck(Addresses().AppendRow({"", r.address, r.result, "t", "w"}), r.checked);

    // Only a result of exactly "失败" is checked; every other row is cleared.
    Click(IDC_SELECT_FAILED);
    EXPECT_EQ(CheckedRows(), (std::set<int>{0, 4}));
    Click(IDC_INVERT_CHECKS);
    EXPECT_EQ(CheckedRows(), (std::set<int>{1, 2, 3, 5}));

    // Each confirmation: Cancel changes nothing; OK acts on the checked rows alone.
    const struct {
        int button;
        const char* question;
        Strings after;
    } commands[] = {
        {IDC_CLEAR_TEST_RESULTS, "确认要清除选中地址的测试结果吗？",
         {"01:-:失败|t|w", "02:x: | | ", "03:x: | | ", "04:x: | | ", "05:-:失败|t|w", "06:x: | | "}},
        {IDC_DELETE_ADDRESSES, "确认要清除选中表地址吗？", {"01:-:失败|t|w", "05:-:失败|t|w"}},
    };
    for (const auto& c : commands) {
        const Strings before = Rows();
        for (int answer : {kIdCancel, kIdOk}) {
            AnswerBoxes(answer);
            boxes.clear();
            Click(c.button);
            ASSERT_EQ(boxes.size(), 1u) << c.question;
            EXPECT_EQ(boxes[0].text + "|" + boxes[0].caption, std::string(c.question) + "|提示");
            EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(kMbOkCancel | kMbIconInformation));
            EXPECT_EQ(Rows(), answer == kIdOk ? c.after : before) << c.question;
        }
    }
    // No row checked: clearing and deleting change nothing.
    Click(IDC_CLEAR_TEST_RESULTS);
    Click(IDC_DELETE_ADDRESSES);
    EXPECT_EQ(Rows(), commands[1].after);
}

TEST_F(MainControlsTest, ShiftChecksTheRowsBetweenTheFirstTwoChecks) {
    const struct {
        std::set<int> checked, after;
    } cases[] = {
        {{2, 7}, {2, 3, 4, 5, 6, 7}},
        {{2, 7, 9}, {2, 3, 4, 5, 6, 7, 9}},
        {{0, 1, 8}, {0, 1, 8}},
        {{5}, {5}},
        {{}, {}},
    };
    for (int r = 0; r < 10; ++r) Addresses().AppendRow({"", std::to_string(r)});
    for (const auto& c : cases) {
        for (int r = 0; r < 10; ++r) Addresses().SetCheck(r, c.checked.count(r) != 0);
        dlg->PressKey(Key::Shift);
        EXPECT_EQ(CheckedRows(), c.after);
        dlg->PressKey(Key::Shift);  // a held key repeats the same fill
        EXPECT_EQ(CheckedRows(), c.after);
    }
}

TEST_F(MainControlsTest, StartUpSelectionsOfTheCombos) {
    const std::pair<int, const char*> combos[] = {
        {IDC_DIRECTION_COMBO, "主机发出帧"},
        {IDC_REPLY_STATUS_COMBO, "正常应答"},
        {IDC_INITIATOR_COMBO, "主动发起"},
        {IDC_CHANNEL_TYPE_COMBO, "5281PLC"},
        {IDC_BAUD_RATE_COMBO, "115200"},
        {IDC_DST_MODE_COMBO, "TRM5281/82MAC地址"},
        {IDC_EXEC_STATE_MODE_COMBO, "TRM5281/82MAC地址"},
        {IDC_SRC_MODE_COMBO, "TRM5281/82MAC地址"},
        {IDC_PRIORITY_COMBO, "Normal"},
        {IDC_BROADCAST_LINK_COMBO, "00: 广播"},
        {IDC_MULTICAST_MODE_COMBO, "00: 非组播"},
        {IDC_SEARCH_SCOPE_COMBO, "搜索所有设备"},
        {IDC_DECRYPT_RESULT_COMBO, "解密老密钥成功"},
        {IDC_CHANGE_CONSENT_COMBO, "同意修改"},
        {IDC_PROTOCOL_COMBO, "0:不区分"},
        {IDC_TX_POWER_COMBO, "2 档"},
        {IDC_SEARCH_PARTICIPATION_COMBO, "参与搜索"},
        {IDC_TCP_STATE_COMBO, "建立连接成功"},
        {IDC_TCP_TYPE_COMBO, "1:TCP"},
        {IDC_BAND_COMBO, "411"},
        {IDC_KEY_MODE_COMBO, "01: 用户网络口令"},
        {IDC_STOP_BITS_COMBO, "1"},
        {IDC_PARITY_COMBO, "None"},
        {IDC_ROUND_WAIT_MODE_COMBO, "超时时间(ms)"},
    };
    for (const auto& c : combos) EXPECT_EQ(ComboBox(dlg->GetDlgItem(c.first)).GetSelectedText(), c.second) << c.first;
}

TEST_F(MainControlsTest, TypingStopsAtEachEditsLimit) {
    const std::pair<int, size_t> edits[] = {
        {IDC_SEND_DST_ADDR, 12},     {IDC_DST_ADDR, 12},        {IDC_PASSWORD_DST_ADDR, 12},
        {IDC_ROUND_START_ADDR, 12},  {IDC_ROUND_END_ADDR, 12},  {IDC_MULTICAST_ADDR, 4},
        {IDC_POINT_READ_LENGTH, 4},  {IDC_POINT_READ_INTERVAL, 2}, {IDC_DEVICE_COUNT, 2},
        {IDC_RELAY_DEPTH, 2},        {IDC_RADIUS, 2},           {IDC_OLD_PSK_LEN, 2},
        {IDC_NEW_PSK_LEN, 2},        {IDC_ROUND_COUNT, 9},      {IDC_ROUND_WAIT_TIME, 9},
        {IDC_ROUND_SEND_DELAY, 9},   {IDC_ROUND_DATA_ID, 8},
    };
    const std::string typed = "1234567890123";
    for (const auto& e : edits) {
        Edit edit(dlg->GetDlgItem(e.first));
        edit.SetText("");
        edit.TypeText(typed);
        EXPECT_EQ(edit.GetText(), typed.substr(0, e.second)) << e.first;
    }
}

TEST_F(MainControlsTest, TreeClicksPlaceThePasswordLogAndRootsChangeNothing) {
    dlg->MoveWindow(0, 0, 1100, 700);
    PumpMessages();
    ListView log = ListOf(IDC_PASSWORD_LOG);
    const struct {
        int code;
        double height;  // of the password log, as a share of the window's height
        int button;     // the page's button, shown
    } cases[] = {
        {PAGE_SET_USER_PASSWORD, 0.617, IDC_SET_USER_PASSWORD},
        {PAGE_REMOTE_PASSWORD_SET, 0.285, IDC_REMOTE_PASSWORD_SET},
        {PAGE_SET_USER_PASSWORD, 0.617, IDC_SET_USER_PASSWORD},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(testsupport::ClickTreeItem(*dlg, c.code));
        const Rect window = dlg->GetWindowRect();
        const Rect r = log.GetRectInParent();
        EXPECT_EQ(r.left, static_cast<int>(0.195 * window.Width())) << c.code;
        EXPECT_EQ(r.top, static_cast<int>(0.24 * window.Height())) << c.code;
        EXPECT_EQ(r.Width(), static_cast<int>(0.5 * window.Width())) << c.code;
        EXPECT_EQ(r.Height(), static_cast<int>(c.height * window.Height())) << c.code;
        EXPECT_TRUE(log.IsVisible() && dlg->GetDlgItem(c.button).IsVisible()) << c.code;
        EXPECT_EQ(dlg->CurrentPageCode(), c.code);
    }
    // The roots leave the page that is shown as it is.
    for (int root : {PAGE_LOCAL_ROOT, PAGE_REMOTE_ROOT}) {
        ASSERT_TRUE(testsupport::ClickTreeItem(*dlg, root));
        EXPECT_TRUE(log.IsVisible() && dlg->GetDlgItem(IDC_SET_USER_PASSWORD).IsVisible()) << root;
        EXPECT_FALSE(dlg->GetDlgItem(IDC_REMOTE_PASSWORD_SET).IsVisible()) << root;
        EXPECT_EQ(dlg->CurrentPageCode(), PAGE_SET_USER_PASSWORD) << root;
    }
}

TEST_F(MainControlsTest, ReceptionPagesTheirTabsColumnsAndClearing) {
    const struct {
        const char* title;
        Strings columns;
        std::vector<int> widths;
    } pages[] = {
        {"MAC层报文接收",
         {"编号", "源节点", "目的节点", "PanID", "帧序号", "帧类型", "帧内容"},
         {40, 120, 120, 60, 60, 80, 700}},
        {"网络层报文接收",
         {"编号", "源节点", "目的节点", "帧序号", "帧类型", "网络命令标识", "网络帧载荷"},
         {40, 120, 120, 60, 80, 100, 600}},
        {"应用层报文接收", {"编号", "帧类型", "帧序号", "厂家标识", "扩展域数据", "帧内容"}, {40, 80, 80, 80, 200, 700}},
    };
    TabBar tabs(dlg->GetDlgItem(IDC_RECEIVE_TABS));
    ASSERT_EQ(tabs.GetItemCount(), 3);
    // The pages inside the tabs, in the tabs' order by their templates.
    const std::vector<Dialog*> created = DialogsWithin(tabs);
    ASSERT_EQ(created.size(), 3u);
    Dialog* tabPages[3] = {};
    const int templates[] = {IDD_MAC_FRAME_PAGE, IDD_NET_FRAME_PAGE, IDD_APP_FRAME_PAGE};
    for (Dialog* page : created)
        for (int i = 0; i < 3; ++i)
            if (page->TemplateId() == templates[i]) tabPages[i] = page;
    std::vector<ListView> lists;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(pages[i].title);
        EXPECT_EQ(tabs.GetItemText(i), pages[i].title);
        Dialog* page = tabPages[i];
        ASSERT_NE(page, nullptr);
        lists.emplace_back(page->GetDlgItem(IDC_RECEPTION_LIST));
        Strings headings;
        std::vector<int> widths;
        for (int c = 0; c < lists[i].GetColumnCount(); ++c) {
            headings.push_back(lists[i].GetColumnHeading(c));
            widths.push_back(lists[i].GetColumnWidth(c));
        }
        EXPECT_EQ(headings, pages[i].columns);
        EXPECT_EQ(widths, pages[i].widths);
        // The first page shows; a tab click shows its own page alone.
        EXPECT_EQ(page->IsWindowVisible(), i == 0);
    }
    tabs.SetCurSel(2);
    dlg->DispatchNotify(IDC_RECEIVE_TABS, Notify::SelChange);
    EXPECT_FALSE(tabPages[0]->IsWindowVisible());
    EXPECT_TRUE(tabPages[2]->IsWindowVisible());
    // Enter and Esc leave a page open.
    tabPages[2]->PressKey(Key::Escape);
    tabPages[2]->PressKey(Key::Enter);
    EXPECT_TRUE(tabPages[2]->IsWindowVisible());

    // "清除报文" empties the three lists once confirmed.
    for (ListView& list : lists) list.AppendRow({"1", "a"});
    for (int answer : {kIdCancel, kIdOk}) {
        AnswerBoxes(answer);
        boxes.clear();
        Click(IDC_CLEAR_RECORDS);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text + "|" + boxes[0].caption, "确认要清除报文吗？|提示");
        for (ListView& list : lists) EXPECT_EQ(list.GetItemCount(), answer == kIdOk ? 0 : 1) << answer;
    }
}

}  // namespace
