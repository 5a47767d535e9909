// Meter management: single, range and file input kept row for row in the main window's address
// list, the check rules, and the warning box for input it refuses.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/meter_manage_dlg.h"
#include "dialogs/warning_dlg.h"
#include "res/resource_ids.h"
#include "tool_window_fixture.h"

namespace {

using namespace dialog_tests;
using Rows = std::vector<std::vector<std::string>>;  // number, address, group

class MeterManageTest : public ToolWindowTest {
protected:
    void SetUp() override {
        ToolWindowTest::SetUp();
        meters = std::make_unique<CMeterManageDlg>(Main());
        ASSERT_TRUE(meters->Create(dlg.get()));
    }
    void TearDown() override {
        meters.reset();
        ToolWindowTest::TearDown();
    }

    ListView Main() { return ListView(dlg->GetDlgItem(IDC_ADDRESS_LIST)); }
    ListView Own() { return ListView(meters->GetDlgItem(IDC_METER_LIST)); }
    void Type(int id, const std::string& text) {
        Edit edit(meters->GetDlgItem(id));
        edit.SetText("");
        edit.TypeText(text);
    }
    void Click(int id) { Button(meters->GetDlgItem(id)).Click(); }

    // The rows of both lists, which must agree; the main list's group address is column 5.
    Rows Listed() {
        Rows rows;
        for (int r = 0; r < Own().GetItemCount(); ++r) {
            rows.push_back({Own().GetItemText(r, 0), Own().GetItemText(r, 1), Own().GetItemText(r, 2)});
            EXPECT_EQ(rows.back(), (std::vector<std::string>{Main().GetItemText(r, 0), Main().GetItemText(r, 1),
                                                             Main().GetItemText(r, 5)}));
        }
        EXPECT_EQ(Main().GetItemCount(), Own().GetItemCount());
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
    void AddRows(int count) {
        Type(IDC_METER_RANGE_START, "1");
        Type(IDC_METER_RANGE_STEP, "1");
        Type(IDC_METER_RANGE_COUNT, std::to_string(count));
        Click(IDC_METER_ADD_RANGE);
    }

    std::unique_ptr<CMeterManageDlg> meters;
};

struct InputCase {
    const char* name;
    bool range;
    std::vector<std::pair<int, const char*>> edits;
    Rows added;            // after the row of 000000000002 already listed
    const char* warning;   // "" for none
};

TEST_F(MeterManageTest, AddsSingleAddressesAndRangesOrWarns) {
    const InputCase cases[] = {
        {"empty single", false, {}, {{"2", "000000000000", "0000"}}, ""},
        {"short single", false, {{IDC_METER_ADDRESS, "12a"}, {IDC_METER_GROUP, "1"}},
         {{"2", "00000000012a", "0001"}}, ""},
        {"letters", false, {{IDC_METER_ADDRESS, "12G4"}}, {}, "地址格式错误"},
        {"long group", false, {{IDC_METER_GROUP, "12345"}}, {}, "组播地址格式错误"},
        {"binary range", true,
         {{IDC_METER_RANGE_START, "000000000009"}, {IDC_METER_RANGE_STEP, "1"}, {IDC_METER_RANGE_COUNT, "3"},
          {IDC_METER_RANGE_GROUP, "12"}},
         {{"2", "000000000009", "0012"}, {"3", "00000000000A", "0012"}, {"4", "00000000000B", "0012"}}, ""},
        {"carry", true,
         {{IDC_METER_RANGE_START, "000099999999"}, {IDC_METER_RANGE_STEP, "103"}, {IDC_METER_RANGE_COUNT, "3"}},
         {{"2", "000099999999", "0000"}, {"3", "000099999A00", "0000"}, {"4", "000099999A67", "0000"}}, ""},
        {"duplicate skipped", true,
         {{IDC_METER_RANGE_START, "1"}, {IDC_METER_RANGE_STEP, "1"}, {IDC_METER_RANGE_COUNT, "3"}},
         {{"2", "000000000001", "0000"}, {"3", "000000000003", "0000"}}, ""},
        {"step not BCD", true, {{IDC_METER_RANGE_STEP, "1A"}, {IDC_METER_RANGE_COUNT, "3"}}, {}, "步长必须为BCD格式"},
        {"no count", true, {{IDC_METER_RANGE_STEP, "1"}}, {}, "地址数目格式错误"},
        {"count not decimal", true, {{IDC_METER_RANGE_STEP, "1"}, {IDC_METER_RANGE_COUNT, "1x"}}, {},
         "地址数目格式错误"},
        {"past the top", true,
         {{IDC_METER_RANGE_START, "FFFFFFFFFFFE"}, {IDC_METER_RANGE_STEP, "1"}, {IDC_METER_RANGE_COUNT, "3"}}, {},
         "地址超出范围"},
    };
    for (const InputCase& c : cases) {
        SCOPED_TRACE(c.name);
        Own().DeleteAllItems();
        Main().DeleteAllItems();
        for (int id : {IDC_METER_ADDRESS, IDC_METER_GROUP, IDC_METER_RANGE_START, IDC_METER_RANGE_STEP,
                       IDC_METER_RANGE_COUNT, IDC_METER_RANGE_GROUP})
            Type(id, "");
        Type(IDC_METER_ADDRESS, "000000000002");
        Click(IDC_METER_ADD);
        Type(IDC_METER_ADDRESS, "");
        for (const auto& e : c.edits) Type(e.first, e.second);
        Click(c.range ? IDC_METER_ADD_RANGE : IDC_METER_ADD);
        Rows expected = {{"1", "000000000002", "0000"}};
        expected.insert(expected.end(), c.added.begin(), c.added.end());
        EXPECT_EQ(Listed(), expected);
        EXPECT_EQ(Warning(), c.warning);
        if (WarningBox().IsCreated()) Button(WarningBox().GetDlgItem(IDC_WARNING_OK)).Click();
        EXPECT_FALSE(WarningBox().IsCreated());
    }
}

TEST_F(MeterManageTest, ImportReplacesTheListsWithTheGoodLinesAndCountsTheBadOnes) {
    AddRows(2);
    const std::string file = Path("meters.txt");
    WriteFileBytes(file, "0000 0000 0001 0002\r\n\r\n00000000000B\n12345678\nGG0000000001\n000000000003 12\n");
    for (const std::string& path : {std::string(), Path("missing/meters.txt"), file}) {
        const Rows before = Listed();
        filePaths.push_back(path);
        boxes.clear();
        Click(IDC_METER_IMPORT);
        EXPECT_EQ(fileRequests.back().filter, "TXT Files(*.txt)|*.txt||");
        if (path != file) {
            EXPECT_EQ(Listed(), before);
            EXPECT_EQ(boxes.size(), path.empty() ? 0u : 1u);
        }
    }
    EXPECT_EQ(boxes.size(), 0u);
    EXPECT_EQ(Listed(), (Rows{{"1", "000000000001", "0002"}, {"2", "00000000000B", ""}}));
    EXPECT_EQ(Warning(), "3行地址格式错误，已跳过");
}

TEST_F(MeterManageTest, ChecksFollowShiftClicksSelectAllAndInvertInBothLists) {
    AddRows(7);
    Own().SetCheck(1, true);
    Own().SetCheck(5, true);
    meters->PressKey(Key::Shift);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, true, true, true, true, false}));
    Own().ClickRow(0);
    EXPECT_EQ(Checks(), (std::vector<bool>{true, true, true, true, true, true, false}));
    Click(IDC_METER_INVERT_SELECTION);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, false, false, false, true}));
    Click(IDC_METER_SELECT_ALL);
    EXPECT_EQ(Checks(), std::vector<bool>(7, true));
    Click(IDC_METER_SELECT_ALL);
    EXPECT_EQ(Checks(), std::vector<bool>(7, false));
    // Deleting rows 2 and 3 keeps the numbers of the others.
    Own().SetCheck(1, true);
    Own().SetCheck(2, true);
    Click(IDC_METER_DELETE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "确认要清除选中表地址吗？");
    const Rows rows = Listed();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1][0], "4");
}

TEST_F(MeterManageTest, TheListsStopAtTenThousandAddresses) {
    AddRows(9999);
    Type(IDC_METER_RANGE_START, "FFFF");
    Type(IDC_METER_RANGE_COUNT, "2");
    Click(IDC_METER_ADD_RANGE);
    EXPECT_EQ(Main().GetItemCount(), 10000);
    EXPECT_EQ(Main().GetItemText(9999, 1), "00000000FFFF");
    EXPECT_EQ(Warning(), "总结点数不能超过10000");
}

TEST_F(MeterManageTest, OpensOnTheMainListsRowsAndChecksWithoutGroupAddresses) {
    Main().SetCheck(Main().AppendRow({"7", "000000000042", "", "", "", "0042"}), true);
    Main().AppendRow({"8", "000000000043"});
    CMeterManageDlg again(Main());
    ASSERT_TRUE(again.Create(dlg.get()));
    ListView rows(again.GetDlgItem(IDC_METER_LIST));
    ASSERT_EQ(rows.GetItemCount(), 2);
    EXPECT_EQ((std::vector<std::string>{rows.GetItemText(0, 0), rows.GetItemText(0, 1), rows.GetItemText(0, 2)}),
              (std::vector<std::string>{"1", "000000000042", ""}));
    EXPECT_TRUE(rows.GetCheck(0));
    EXPECT_FALSE(rows.GetCheck(1));
}

}  // namespace
