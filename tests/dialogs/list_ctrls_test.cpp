// The sortable list and the colour list over the window layer's report list.

#include <gtest/gtest.h>

#include "app/color_list_ctrl.h"
#include "app/sort_list_ctrl.h"

namespace {

// A window whose list 1006 is a sortable list of three columns, 525 pixels wide.
class SortListWindow : public Dialog {
public:
    SortListWindow() : Dialog(132) {}
    CSortListCtrl list{3};

protected:
    bool OnInitDialog() override {
        list.Attach(*this, 1006);
        list.Move(0, 0, 525, 300);
        return true;
    }
};

class ColorListWindow : public Dialog {
public:
    ColorListWindow() : Dialog(132) {}
    CColorListCtrl list;

protected:
    bool OnInitDialog() override {
        list.Attach(*this, 1006);
        list.InsertColumn(0, "编号", 40);
        list.InsertColumn(1, "源节点", 120);
        list.InsertColumn(2, "帧内容", 300);
        return true;
    }
};

std::vector<std::string> Texts(std::initializer_list<const char*> t) { return {t.begin(), t.end()}; }

std::vector<std::string> Column(const ListView& l, int column) {
    std::vector<std::string> out;
    for (int i = 0; i < l.GetItemCount(); ++i) out.push_back(l.GetItemText(i, column));
    return out;
}

class SortListTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(w.Create()); }
    void TearDown() override { w.DestroyWindow(); }
    void Columns() {
        const auto titles = Texts({"时间", "序号", "报文"});
        const std::vector<uint8_t> shares = {15, 5, 80};
        ASSERT_EQ(w.list.SetColumns(&titles, &shares), 0);
    }
    void Rows(std::initializer_list<std::vector<std::string>> rows) {
        for (const auto& r : rows) ASSERT_GE(w.list.InsertRow(&r, -1), 0);
    }
    SortListWindow w;
};

TEST_F(SortListTest, SetColumnsGivesItsResults) {
    const auto titles = Texts({"时间", "序号", "报文"});
    const std::vector<uint8_t> shares = {15, 5, 80};
    EXPECT_EQ(w.list.SetColumns(nullptr, &shares), 1);
    EXPECT_EQ(w.list.SetColumns(&titles, nullptr), 1);
    const auto two = Texts({"时间", "序号"});
    EXPECT_EQ(w.list.SetColumns(&two, &shares), 2);
    const std::vector<uint8_t> fourShares = {15, 5, 40, 40};
    EXPECT_EQ(w.list.SetColumns(&titles, &fourShares), 3);
    const std::vector<uint8_t> thirties = {30, 30, 30};
    EXPECT_EQ(w.list.SetColumns(&titles, &thirties), 4);
    EXPECT_EQ(w.list.GetColumnCount(), 0);
    EXPECT_EQ(w.list.SetColumns(&titles, &shares), 0);
    ASSERT_EQ(w.list.GetColumnCount(), 3);
    EXPECT_EQ(w.list.GetColumnHeading(2), "报文");
    // (525 - 25) x percent / 100.
    EXPECT_EQ(w.list.GetColumnWidth(0), 75);
    EXPECT_EQ(w.list.GetColumnWidth(1), 25);
    EXPECT_EQ(w.list.GetColumnWidth(2), 400);
    EXPECT_EQ(w.list.LastColumnWidth(), 400);
}

TEST_F(SortListTest, InsertAndDeleteRows) {
    Columns();
    const auto wrong = Texts({"a", "b"});
    EXPECT_EQ(w.list.InsertRow(nullptr, -1), -1);
    EXPECT_EQ(w.list.InsertRow(&wrong, -1), -1);
    EXPECT_EQ(w.list.GetItemCount(), 0);
    const auto a = Texts({"1", "a", "A"});
    const auto b = Texts({"2", "b", "B"});
    const auto c = Texts({"3", "c", "C"});
    EXPECT_EQ(w.list.InsertRow(&a, -1), 0);
    EXPECT_EQ(w.list.InsertRow(&b, 99), 1);
    EXPECT_EQ(w.list.InsertRow(&c, 0), 0);
    EXPECT_EQ(Column(w.list, 2), Texts({"C", "A", "B"}));
    EXPECT_EQ(w.list.GetItemState(0, ListView::kStateSelected | ListView::kStateFocused), 0u);
    EXPECT_EQ(w.list.DeleteRow(3), 0);
    EXPECT_EQ(w.list.DeleteRow(-1), 0);
    EXPECT_EQ(w.list.DeleteRow(1), 1);
    EXPECT_EQ(Column(w.list, 2), Texts({"C", "B"}));
    w.list.DeleteAllRows();
    EXPECT_EQ(w.list.GetItemCount(), 0);
    EXPECT_EQ(w.list.GetColumnWidth(2), 400);
    EXPECT_EQ(w.list.LastColumnWidth(), 400);
}

TEST_F(SortListTest, ALastTextWiderThanItsColumnMakesTheColumnFitItsTexts) {
    Columns();
    const auto shortRow = Texts({"1", "1", "79 00 "});
    w.list.InsertRow(&shortRow, -1);
    EXPECT_EQ(w.list.LastColumnWidth(), 400);
    EXPECT_EQ(w.list.GetColumnWidth(2), 400);
    std::string longText;
    for (int i = 0; i < 200; ++i) longText += "7F ";
    const std::vector<std::string> longRow = {"2", "2", longText};
    w.list.InsertRow(&longRow, -1);
    EXPECT_EQ(w.list.LastColumnWidth(), -1);
    const int fitted = w.list.GetColumnWidth(2);
    EXPECT_GT(fitted, w.list.GetStringWidth(longText));
    // Every later row is fitted again: a shorter one leaves the column as wide as the widest.
    w.list.InsertRow(&shortRow, -1);
    EXPECT_EQ(w.list.GetColumnWidth(2), fitted);
}

TEST_F(SortListTest, CellColoursAndStates) {
    Columns();
    Rows({Texts({"1", "a", "A"}), Texts({"2", "b", "B"}), Texts({"3", "c", "C"})});
    EXPECT_EQ(w.list.GetCellTextColor(0, 0), 0x000000u);
    EXPECT_EQ(w.list.GetCellBackColor(0, 0), 0xFFFFFFu);
    EXPECT_EQ(w.list.SetCellTextColor(0x0000F0, 1, 3), 0);
    EXPECT_EQ(w.list.SetCellTextColor(0x0000F0, 7, 0), 0);
    EXPECT_EQ(w.list.SetCellTextColor(0x0000F0, 1, 0), 1);
    EXPECT_EQ(w.list.GetCellTextColor(1, 0), 0x0000F0u);
    EXPECT_EQ(w.list.GetCellTextColor(1, 1), 0x000000u);
    for (int c = 1; c < 3; ++c) EXPECT_EQ(w.list.SetCellTextColor(0x0000F0, 1, c), 1);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(w.list.GetCellTextColor(1, c), 0x0000F0u);
    EXPECT_EQ(w.list.SetCellTextColor(0x008000, 1, 2), 1);
    EXPECT_EQ(w.list.GetCellTextColor(1, 1), 0x0000F0u);
    EXPECT_EQ(w.list.GetCellTextColor(1, 2), 0x008000u);
    EXPECT_EQ(w.list.GetCellTextColor(1, 5), 0x000000u);  // outside the columns
    EXPECT_EQ(w.list.SetCellBackColor(0xFF0000, 2, 1), 1);
    EXPECT_EQ(w.list.GetCellBackColor(2, 1), 0xFF0000u);
    EXPECT_EQ(w.list.GetCellBackColor(2, 0), 0xFFFFFFu);
    EXPECT_EQ(w.list.GetCellBackColor(2, 9), 0xFFFFFFu);

    const unsigned both = ListView::kStateSelected | ListView::kStateFocused;
    EXPECT_EQ(w.list.SetItemState(-1, both, both), 0);
    EXPECT_EQ(w.list.SetItemState(1, both, both), 1);
    EXPECT_EQ(w.list.GetSelectedRows(), std::vector<int>{1});
    EXPECT_EQ(w.list.GetItemState(1, both), both);
    // A single-selection list: selecting a row leaves it the only one.
    EXPECT_EQ(w.list.SetItemState(2, both, both), 1);
    EXPECT_EQ(w.list.GetSelectedRows(), std::vector<int>{2});
    EXPECT_EQ(w.list.GetItemState(1, both), 0u);
    EXPECT_EQ(w.list.SetItemState(2, 0, ListView::kStateSelected), 1);
    EXPECT_TRUE(w.list.GetSelectedRows().empty());
    EXPECT_EQ(w.list.GetItemState(2, both), static_cast<unsigned>(ListView::kStateFocused));
}

TEST_F(SortListTest, HeaderClicksSortNumbersInTheFirstTwoColumnsAndTextElsewhere) {
    Columns();
    Rows({Texts({"10", "2", "10"}), Texts({"9", "30", "9"}), Texts({"100", "-4", "100"}),
          Texts({" 7x", "1", "abc"})});
    EXPECT_EQ(w.list.SortColumn(), -1);
    // A new column sorts descending first, the same column again ascending, then descending.
    w.list.ClickColumn(0);
    EXPECT_EQ(w.list.LastClickedColumn(), 0);
    EXPECT_EQ(w.list.SortColumn(), 0);
    EXPECT_EQ(w.list.SortAscending(), 0);
    EXPECT_EQ(Column(w.list, 0), Texts({"100", "10", "9", " 7x"}));
    w.list.ClickColumn(0);
    EXPECT_EQ(w.list.SortAscending(), 1);
    EXPECT_EQ(Column(w.list, 0), Texts({" 7x", "9", "10", "100"}));
    w.list.ClickColumn(0);
    EXPECT_EQ(Column(w.list, 0), Texts({"100", "10", "9", " 7x"}));
    w.list.ClickColumn(1);
    EXPECT_EQ(Column(w.list, 1), Texts({"30", "2", "1", "-4"}));
    w.list.ClickColumn(1);
    EXPECT_EQ(Column(w.list, 1), Texts({"-4", "1", "2", "30"}));
    // Column 2 compares text byte by byte: "10" before "9".
    w.list.ClickColumn(2);
    EXPECT_EQ(Column(w.list, 2), Texts({"abc", "9", "100", "10"}));
    w.list.ClickColumn(2);
    EXPECT_EQ(Column(w.list, 2), Texts({"10", "100", "9", "abc"}));
}

TEST_F(SortListTest, TheSelectionAndColoursFollowTheirRowsThroughASort) {
    Columns();
    Rows({Texts({"3", "c", "C"}), Texts({"1", "a", "A"}), Texts({"2", "b", "B"})});
    w.list.SetCellTextColor(0x0000F0, 1, 2);
    w.list.SetItemState(1, ListView::kStateSelected | ListView::kStateFocused,
                        ListView::kStateSelected | ListView::kStateFocused);
    int changes = 0;
    w.MapCommand(1006, Notify::ItemChanged, [&] { ++changes; });
    w.list.ClickColumn(0);  // descending: 3, 2, 1
    EXPECT_EQ(Column(w.list, 2), Texts({"C", "B", "A"}));
    EXPECT_EQ(w.list.GetSelectedRows(), std::vector<int>{2});
    EXPECT_EQ(w.list.GetCellTextColor(2, 2), 0x0000F0u);
    EXPECT_EQ(w.list.GetCellTextColor(0, 2), 0x000000u);
    EXPECT_EQ(changes, 0);  // a sort changes no row's state
}

TEST(ListTexts, IntegerValuesAsTheListsCompareThem) {
    EXPECT_EQ(ListTextToInt("9"), 9);
    EXPECT_EQ(ListTextToInt("  -12ab"), -12);
    EXPECT_EQ(ListTextToInt("+7"), 7);
    EXPECT_EQ(ListTextToInt("2024-03-05 06:07:08:009"), 2024);
    EXPECT_EQ(ListTextToInt("abc"), 0);
    EXPECT_EQ(ListTextToInt(""), 0);
    EXPECT_EQ(ListTextToInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ListTextToInt("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(CompareListTexts("9", "10", 0), -1);
    EXPECT_EQ(CompareListTexts("9", "10", 1), -1);
    EXPECT_EQ(CompareListTexts("9", "10", 2), 1);
    EXPECT_EQ(CompareListTexts("09", "9", 1), 0);
    EXPECT_EQ(CompareListTexts("\xB1", "a", 3), 1);  // bytes compare unsigned
}

class ColorListTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(w.Create()); }
    void TearDown() override { w.DestroyWindow(); }
    ColorListWindow w;
};

TEST_F(ColorListTest, HeaderClicksSortAndNumberTheItemData) {
    for (const char* n : {"10", "9", "100"}) w.list.AppendRow({n, std::string("x") + n, n});
    for (int i = 0; i < 3; ++i) w.list.SetItemData(i, 50 + i);
    EXPECT_EQ(w.list.SortColumn(), -1);
    EXPECT_EQ(w.list.SortAscending(), 1);
    w.list.ClickColumn(0);
    EXPECT_EQ(w.list.SortAscending(), 0);
    EXPECT_EQ(Column(w.list, 0), Texts({"100", "10", "9"}));
    // Each row took its index as item data before the sort.
    EXPECT_EQ(w.list.GetItemData(0), 2);
    EXPECT_EQ(w.list.GetItemData(1), 0);
    EXPECT_EQ(w.list.GetItemData(2), 1);
    w.list.ClickColumn(0);
    EXPECT_EQ(Column(w.list, 0), Texts({"9", "10", "100"}));
    w.list.ClickColumn(2);
    EXPECT_EQ(Column(w.list, 2), Texts({"9", "100", "10"}));
    w.list.ClickColumn(2);
    EXPECT_EQ(Column(w.list, 2), Texts({"10", "100", "9"}));
    EXPECT_EQ(w.list.GetCellTextColor(0, 0), 0x000000u);
    EXPECT_EQ(w.list.GetCellBackColor(0, 0), 0xFFFFFFu);
}

}  // namespace
