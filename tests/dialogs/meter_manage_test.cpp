// Meter management: single, range and file input kept row for row in the main window's address
// list, the check rules, and the warning box for input it refuses; and a mouse click on a check
// box in every list that has them.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/add_device_dlg.h"
#include "dialogs/meter_manage_dlg.h"
#include "dialogs/relay_address_dlg.h"
#include "dialogs/warning_dlg.h"
#include "support/main_window_fixture.h"

namespace {

using namespace testsupport;
using Rows = std::vector<std::vector<std::string>>;  // number, address, group

class MeterManageTest : public MainWindowWithModule {
protected:
    MeterManageTest() : MainWindowWithModule(11, true) {}

    void SetUp() override {
        MainWindowWithModule::SetUp();
        // A row of the main list is there when the dialog opens.
        Main().SetCheck(Main().AppendRow({"1", "000000000042"}), true);
        meters = std::make_unique<CMeterManageDlg>(Main());
        ASSERT_TRUE(meters->Create(dlg.get()));
    }
    void TearDown() override {
        meters.reset();
        MainWindowWithModule::TearDown();
    }

    ListView Main() { return ListOf(IDC_ADDRESS_LIST); }
    ListView Own() { return ListView(meters->GetDlgItem(IDC_METER_LIST)); }
    void Type(int id, const std::string& text) {
        Edit(meters->GetDlgItem(id)).SetText("");
        Edit(meters->GetDlgItem(id)).TypeText(text);
    }
    void Press(int id) { Button(meters->GetDlgItem(id)).Click(); }
    // A click of the mouse on the middle of a row's check box.
    static void ClickBox(ListView list, int row) {
        list.EnsureVisible(row);
        const Rect box = list.GetCheckBoxRect(row);
        ASSERT_GT(box.Width(), 0) << row;
        list.MouseClick(Point{(box.left + box.right) / 2, (box.top + box.bottom) / 2});
        PumpMessages();
    }

    // The rows of both lists, which must agree; the main list's group address is column 5.
    Rows Listed() {
        Rows rows;
        EXPECT_EQ(Main().GetItemCount(), Own().GetItemCount());
        for (int r = 0; r < Own().GetItemCount(); ++r) {
            rows.push_back({Own().GetItemText(r, 0), Own().GetItemText(r, 1), Own().GetItemText(r, 2)});
            EXPECT_EQ(rows.back(), (Rows::value_type{Main().GetItemText(r, 0), Main().GetItemText(r, 1),
                                                     Main().GetItemText(r, 5)}));
        }
        return rows;
    }
    std::vector<bool> Checks() {
        std::vector<bool> checks;
        for (int r = 0; r < Own().GetItemCount(); ++r) {
            checks.push_back(Own().GetCheck(r));
            EXPECT_EQ(Main().GetCheck(r), checks.back()) << r;
        }
        return checks;
    }
    std::string Warning() {
        CWarningDlg& box = WarningBox();
        return box.IsCreated() && box.IsWindowVisible() ? box.GetDlgItemText(IDC_WARNING_TEXT) : "";
    }
    void AddRange(const std::string& start, const std::string& step, const std::string& count) {
        Type(IDC_METER_RANGE_START, start);
        Type(IDC_METER_RANGE_STEP, step);
        Type(IDC_METER_RANGE_COUNT, count);
        Press(IDC_METER_ADD_RANGE);
    }

    std::unique_ptr<CMeterManageDlg> meters;
};

struct InputCase {
    const char* name;
    std::vector<std::pair<int, const char*>> edits;  // with the range's edits, the range is added
    Rows added;                                      // after the row of 000000000042 already listed
    const char* warning;                             // "" for none
};

TEST_F(MeterManageTest, AddsSingleAddressesAndRangesOrWarns) {
    const int start = IDC_METER_RANGE_START, step = IDC_METER_RANGE_STEP, count = IDC_METER_RANGE_COUNT;
    const InputCase cases[] = {
        {"empty single", {}, {{"2", "000000000000", "0000"}}, ""},
        {"short single", {{IDC_METER_ADDRESS, "12a"}, {IDC_METER_GROUP, "1"}}, {{"2", "00000000012a", "0001"}}, ""},
        {"letters", {{IDC_METER_ADDRESS, "12G4"}}, {}, "地址格式错误"},
        {"long group", {{IDC_METER_GROUP, "12345"}}, {}, "组播地址格式错误"},
        {"binary range",
         {{start, "000000000009"}, {step, "1"}, {count, "3"}, {IDC_METER_RANGE_GROUP, "12"}},
         {{"2", "000000000009", "0012"}, {"3", "00000000000A", "0012"}, {"4", "00000000000B", "0012"}}, ""},
        {"carry", {{start, "000099999999"}, {step, "103"}, {count, "3"}},
         {{"2", "000099999999", "0000"}, {"3", "000099999A00", "0000"}, {"4", "000099999A67", "0000"}}, ""},
        {"listed skipped", {{start, "41"}, {step, "1"}, {count, "3"}},
         {{"2", "000000000041", "0000"}, {"3", "000000000043", "0000"}}, ""},
        {"step not BCD", {{start, "1"}, {step, "1A"}, {count, "3"}}, {}, "步长必须为BCD格式"},
        {"no count", {{start, "1"}, {step, "1"}}, {}, "地址数目格式错误"},
        {"count not decimal", {{start, "1"}, {step, "1"}, {count, "x1"}}, {}, "地址数目格式错误"},
        {"count negative", {{start, "1"}, {step, "1"}, {count, "-2"}}, {}, "地址数目格式错误"},
        // The count is its leading whole number; blanks leave the step and the start, as their
        // conversion drops them; the step stays decimal.
        {"count with a tail", {{start, "1"}, {step, "10"}, {count, "3x"}},
         {{"2", "000000000001", "0000"}, {"3", "00000000000B", "0000"}, {"4", "000000000015", "0000"}}, ""},
        {"count signed, step blank first", {{start, "1"}, {step, " 5"}, {count, "+2"}},
         {{"2", "000000000001", "0000"}, {"3", "000000000006", "0000"}}, ""},
        {"count blank first, step blank last", {{start, "1"}, {step, "5 "}, {count, " 2"}},
         {{"2", "000000000001", "0000"}, {"3", "000000000006", "0000"}}, ""},
        {"count blank last, start with blanks", {{start, "00 01"}, {step, "1 0"}, {count, "2 "}},
         {{"2", "000000000001", "0000"}, {"3", "000000000002", "0000"}}, ""},
        {"step not BCD between blanks", {{start, "1"}, {step, "1 A"}, {count, "3"}}, {}, "步长必须为BCD格式"},
        {"up to the top", {{start, "FFFFFFFFFFFE"}, {step, "1"}, {count, "2"}},
         {{"2", "FFFFFFFFFFFE", "0000"}, {"3", "FFFFFFFFFFFF", "0000"}}, ""},
        {"past the top", {{start, "FFFFFFFFFFFE"}, {step, "1"}, {count, "3"}}, {}, "地址超出范围"},
    };
    for (const InputCase& c : cases) {
        SCOPED_TRACE(c.name);
        while (Own().GetItemCount() > 1) {
            Own().DeleteItem(1);
            Main().DeleteItem(1);
        }
        for (int id : {IDC_METER_ADDRESS, IDC_METER_GROUP, start, step, count, IDC_METER_RANGE_GROUP}) Type(id, "");
        for (const auto& e : c.edits) Type(e.first, e.second);
        Press(c.edits.empty() || c.edits[0].first != start ? IDC_METER_ADD : IDC_METER_ADD_RANGE);
        Rows expected = {{"1", "000000000042", ""}};
        expected.insert(expected.end(), c.added.begin(), c.added.end());
        EXPECT_EQ(Listed(), expected);
        EXPECT_EQ(Warning(), c.warning);
        // "确定" ends the warning; the next one makes it anew.
        if (WarningBox().IsCreated()) Button(WarningBox().GetDlgItem(IDC_WARNING_OK)).Click();
        EXPECT_FALSE(WarningBox().IsCreated());
    }
}

TEST_F(MeterManageTest, ImportReplacesTheListsWithTheLinesReadAndCountsTheOnesThatAreNotHexadecimal) {
    // Blanks go; the address is the first 12 characters, the group the next 4, each padded as a
    // typed one; the rest is ignored. An empty line gives a row with no texts, one of blanks a
    // numbered row with no address; bad lines are skipped and counted.
    const struct {
        const char* line;
        const char* address;  // nullptr: no row
        const char* group;
        bool numbered = true;
    } lines[] = {
        {"0000 0000 0001 0002", "000000000001", "0002"},
        {"", "", "", false},
        {"   ", "", ""},
        {"00000000000B", "00000000000B", ""},
        {"12345678", "000012345678", ""},
        {"GG0000000001", nullptr, nullptr},
        {"000000000003 12", "000000000003", "0012"},
        {" a b c ", "000000000abc", ""},
        {"0000000000040005 and more", "000000000004", "0005"},
        {"00000000000500G5", nullptr, nullptr},
    };
    std::string text;
    Rows expected;
    for (const auto& l : lines) {
        text += std::string(l.line) + "\r\n";
        if (l.address) expected.push_back({l.numbered ? std::to_string(expected.size() + 1) : "", l.address, l.group});
    }
    const std::string file = Path("meters.txt");
    WriteFileBytes(file, text);
    // Cancelled, then a file that cannot be opened: the lists stay as they were.
    for (const std::string& path : {std::string(), Path("missing/meters.txt"), file}) {
        EXPECT_EQ(Listed(), (Rows{{"1", "000000000042", ""}}));
        filePaths.push_back(path);
        Press(IDC_METER_IMPORT);
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "打开文件失败");
    EXPECT_EQ(fileRequests.back().filter, "TXT Files(*.txt)|*.txt||");
    EXPECT_EQ(Listed(), expected);
    EXPECT_EQ(Warning(), "2行地址格式错误，已跳过");
}

// Once ten thousand rows are read no further line is parsed: every line left, of no layout or
// empty, is counted as not added.
TEST_F(MeterManageTest, AnImportStopsAtTenThousandRowsAndCountsEveryLineLeft) {
    const struct {
        const char* name;
        std::string head;  // the lines before the addresses
        int addresses;
        std::string tail;  // the lines after them
        const char* warning;
    } cases[] = {
        {"the last row fits", "", 9999, "GG\r\n000000000001\r\n", "1行地址格式错误，已跳过"},
        {"lines left", "", 9999, "000000000001\r\nGG\r\n\r\n000000000002", "总结点数不能超过10000，3个地址未添加"},
        {"a bad line left", "", 10000, "GG\r\n", "总结点数不能超过10000，1个地址未添加"},
        {"a bad line before", "GG\r\n", 10000, "000000000001",
         "1行地址格式错误，已跳过；总结点数不能超过10000，1个地址未添加"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = c.head;
        for (int i = 0; i < c.addresses; ++i) text += "00000000" + std::to_string(1000 + i % 1000) + "\r\n";
        WriteFileBytes(Path("meters.txt"), text + c.tail);
        filePaths.push_back(Path("meters.txt"));
        Press(IDC_METER_IMPORT);
        EXPECT_EQ(Listed().size(), 10000u);
        EXPECT_EQ(Warning(), c.warning);
    }
}

TEST_F(MeterManageTest, ChecksFollowShiftClicksSelectAllAndInvertInBothLists) {
    AddRange("1", "1", "6");
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false, false, false, false, false}));
    Own().ClickRow(0);
    Own().SetCheck(1, true);
    Own().SetCheck(5, true);
    meters->PressKey(Key::Shift);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, true, true, true, true, false}));
    Own().ClickRow(0);
    EXPECT_EQ(Checks(), (std::vector<bool>{true, true, true, true, true, true, false}));
    Press(IDC_METER_INVERT_SELECTION);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, false, false, false, true}));
    Press(IDC_METER_SELECT_ALL);
    EXPECT_EQ(Checks(), std::vector<bool>(7, true));
    Press(IDC_METER_SELECT_ALL);
    EXPECT_EQ(Checks(), std::vector<bool>(7, false));
    // Deleting rows 2, 3 and the last keeps the numbers of the others.
    Own().SetCheck(1, true);
    Own().SetCheck(2, true);
    Own().SetCheck(6, true);
    Press(IDC_METER_DELETE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "确认要清除选中表地址吗？");
    EXPECT_EQ(Listed(), (Rows{{"1", "000000000042", ""},
                              {"4", "000000000003", "0000"},
                              {"5", "000000000004", "0000"},
                              {"6", "000000000005", "0000"}}));
    EXPECT_EQ(Checks(), std::vector<bool>(4, false));
}

// After a header click the actions reach the same meters' rows of the main list, which keeps its
// order. Each case opens the dialog over the main list's rows (042, checked, unless it names
// others) and adds 010 to 012; opened over 001 to 003, one click on the address column reverses
// the rows, so every row moves. Rows: the address's last three digits, " v" when checked.
TEST_F(MeterManageTest, ActionsAfterASortReachTheSameMetersInTheMainList) {
    using Meters = std::vector<std::string>;
    const auto shown = [](ListView list) {
        Meters rows;
        for (int r = 0; r < list.GetItemCount(); ++r)
            rows.push_back(list.GetItemText(r, 1) + (list.GetCheck(r) ? " v" : ""));
        return rows;
    };
    const auto full = [](Meters rows) {
        for (std::string& row : rows) row.insert(0, "000000000");
        return rows;
    };
    const struct {
        const char* name;
        std::vector<int> sorts;  // header clicks
        std::function<void()> act;
        Meters own, main;
        Meters loaded = {"042 v"};  // the main list's rows when the dialog opens
    } cases[] = {
        {"delete checked", {1}, [&] { Own().ClickRow(0); Own().SetCheck(3, true); Press(IDC_METER_DELETE); },
         {"042", "012", "011"}, {"042", "011", "012"}},
        {"click a check", {1}, [&] { Own().ClickRow(3); },
         {"042 v", "012", "011", "010 v"}, {"042 v", "010 v", "011", "012"}},
        {"select all", {1}, [&] { Press(IDC_METER_SELECT_ALL); },
         {"042 v", "012 v", "011 v", "010 v"}, {"042 v", "010 v", "011 v", "012 v"}},
        {"invert", {1}, [&] { Own().ClickRow(3); Press(IDC_METER_INVERT_SELECTION); },
         {"042", "012 v", "011 v", "010"}, {"042", "010", "011 v", "012 v"}},
        {"shift range", {1}, [&] { Own().SetCheck(2, true); meters->PressKey(Key::Shift); },
         {"042 v", "012 v", "011 v", "010"}, {"042 v", "010", "011 v", "012 v"}},
        {"sorted twice", {1, 2}, [&] { Own().ClickRow(0); },
         {"012 v", "011", "010", "042 v"}, {"042 v", "010", "011", "012 v"}},
        {"a click after a delete", {1}, [&] { Own().SetCheck(2, true); Press(IDC_METER_DELETE); Own().ClickRow(0); },
         {"012 v", "010"}, {"010", "012 v"}},
        {"a second 010 sorted first", {},
         [&] {
             Type(IDC_METER_ADDRESS, "10");
             Type(IDC_METER_GROUP, "1");
             Press(IDC_METER_ADD);
             Own().ClickColumn(2);
             Own().ClickRow(0);
         },
         {"010 v", "010", "011", "012", "042 v"}, {"042 v", "010", "011", "012", "010 v"}},
        {"a click on a box", {1}, [&] { ClickBox(Own(), 3); },
         {"042 v", "012", "011", "010 v"}, {"042 v", "010 v", "011", "012"}},
        {"a box of a loaded row, every row moved", {1}, [&] { ClickBox(Own(), 3); },
         {"012", "011", "010", "003 v", "002", "001 v"}, {"001 v", "002", "003 v", "010", "011", "012"},
         {"001 v", "002", "003"}},
        {"a click on a loaded row, every row moved", {1}, [&] { Own().ClickRow(4); },
         {"012", "011", "010", "003", "002 v", "001 v"}, {"001 v", "002 v", "003", "010", "011", "012"},
         {"001 v", "002", "003"}},
        {"a click after a delete, every row moved", {1},
         [&] { Own().ClickRow(0); Press(IDC_METER_DELETE); Own().ClickRow(1); },
         {"011", "010 v", "003", "002", "001"}, {"001", "002", "003", "010 v", "011"}, {"001", "002", "003"}},
        {"shift after every row moved", {1},
         [&] { ClickBox(Own(), 1); ClickBox(Own(), 3); meters->PressKey(Key::Shift); },
         {"012", "011 v", "010 v", "003 v", "002", "001 v"}, {"001 v", "002", "003 v", "010 v", "011 v", "012"},
         {"001 v", "002", "003"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        meters.reset();
        Main().DeleteAllItems();
        for (const std::string& row : full(c.loaded)) {
            const int r = Main().AppendRow({std::to_string(Main().GetItemCount() + 1), row.substr(0, 12)});
            Main().SetCheck(r, row.size() > 12);
        }
        meters = std::make_unique<CMeterManageDlg>(Main());
        ASSERT_TRUE(meters->Create(dlg.get()));
        meters->ShowWindow(true);
        AddRange("10", "1", "3");
        for (int column : c.sorts) Own().ClickColumn(column);
        c.act();
        EXPECT_EQ(shown(Own()), full(c.own));
        EXPECT_EQ(shown(Main()), full(c.main));
    }
}

// Every list with check boxes, clicked with the mouse: a click on a row's box toggles that box
// alone, once, and is no row click; a click on the row beside its box is a row click, which flips
// the checks of the selected rows where the list's dialog asks for it (not in device adding).
// Meter management gives the meter's main row the same check.
TEST_F(MeterManageTest, AClickOnABoxTogglesItOnceInEveryListWithCheckBoxes) {
    meters->ShowWindow(true);
    AddRange("1", "1", "2");  // 042 (checked), 001, 002
    CRelayAddressDlg relays(*dlg);
    CAddDeviceDlg devices(2);
    for (Dialog* d : {static_cast<Dialog*>(&relays), static_cast<Dialog*>(&devices)}) {
        ASSERT_TRUE(d->Create(dlg.get()));
        d->ShowWindow(true);
    }
    const ListView relayList(relays.GetDlgItem(IDC_RELAY_LIST)), deviceList(devices.GetDlgItem(IDC_ADD_DEVICE_LIST));
    for (ListView list : {relayList, deviceList}) {
        for (const char* row : {"1", "2", "3"}) list.AppendRow({row, row});
        list.SetCheck(0, true);
    }
    Main().Show();
    const struct {
        const char* name;
        ListView list;
        bool rowClickFlips;
    } lists[] = {
        {"meter management", Own(), true},
        {"relay addresses", relayList, true},
        {"device adding", deviceList, false},
        {"main address list", Main(), true},
    };
    for (auto l : lists) {
        SCOPED_TRACE(l.name);
        const auto checks = [&] {
            std::string marks;
            for (int r = 0; r < 3; ++r) marks += l.list.GetCheck(r) ? 'v' : '-';
            if (l.list.GetId() == IDC_METER_LIST) {
                EXPECT_EQ(Checks().size(), 3u);  // the main list agrees
            }
            return marks;
        };
        for (ListView list : {l.list, Main()})
            for (int r = 0; r < 3; ++r) list.SetCheck(r, r == 0);
        ClickBox(l.list, 1);
        EXPECT_EQ(checks(), "vv-");
        const Rect box = l.list.GetCheckBoxRect(2);
        l.list.MouseClick(Point{box.right + 8, (box.top + box.bottom) / 2});
        PumpMessages();
        EXPECT_EQ(checks(), l.rowClickFlips ? "vvv" : "vv-");
        // The row just clicked is selected: its box still toggles once.
        ClickBox(l.list, 2);
        EXPECT_EQ(checks(), l.rowClickFlips ? "vv-" : "vvv");
    }
}

TEST_F(MeterManageTest, TheListsStopAtTenThousandAddresses) {
    AddRange("100", "1", "9998");
    AddRange("FFFF", "1", "2");
    EXPECT_EQ(Main().GetItemCount(), 10000);
    EXPECT_EQ(Main().GetItemText(9999, 1), "00000000FFFF");
    EXPECT_EQ(Warning(), "总结点数不能超过10000");
}

}  // namespace
