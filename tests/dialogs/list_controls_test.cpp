// The sortable list, the colour list and the page tabs: their answers, their sorting and the
// sortable list's rows as drawn, read back pixel by pixel.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/page_tab_ctrl.h"
#include "dialogs/color_list_ctrl.h"
#include "dialogs/sort_list_ctrl.h"

namespace {

using S = ControlStyle;

constexpr int kListsId = 9950;
constexpr int kShowAlways = 1001, kPlain = 1002, kColors = 1003, kOther = 1004, kTabs = 1005;

const DialogTemplate kLists = {
    kListsId, "列表", TemplateUnits::DialogUnits, 400, 200, "SimSun", 9, kDlgSystemMenu, 0,
    {
        {kShowAlways, ControlKind::ListReport, "", 5, 5, 190, 90, S::kSingleSel | S::kShowSelAlways},
        {kPlain, ControlKind::ListReport, "", 205, 5, 190, 90, S::kSingleSel},
        {kColors, ControlKind::ListReport, "", 5, 100, 190, 90, S::kNone},
        {kOther, ControlKind::Edit, "", 205, 100, 60, 12, S::kNone},
        {kTabs, ControlKind::Tab, "", 205, 120, 150, 70, S::kNone},
    }};

const DialogTemplate* ListsTemplate(int id) { return id == kListsId ? &kLists : nullptr; }
const bool kRegistered = (RegisterResourceSource({ListsTemplate, nullptr, nullptr}), true);

const ColorRef kWhite = MakeRgb(255, 255, 255);
const ColorRef kBlack = MakeRgb(0, 0, 0);
const ColorRef kFocusBack = MakeRgb(0, 150, 200);
const ColorRef kRed = MakeRgb(255, 0, 0);

int Red(ColorRef c) { return c & 0xFF; }
int Green(ColorRef c) { return (c >> 8) & 0xFF; }
int Blue(ColorRef c) { return (c >> 16) & 0xFF; }

class ListsDialog : public Dialog {
public:
    ListsDialog() : Dialog(kListsId) {}
    CSortListCtrl showAlways{3}, plain{3};
    CColorListCtrl colors;

protected:
    bool OnInitDialog() override {
        showAlways.Attach(*this, kShowAlways);
        plain.Attach(*this, kPlain);
        colors.Attach(*this, kColors);
        return true;
    }
};

class ListControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kRegistered);
        ASSERT_TRUE(dlg.Create());
        dlg.ShowWindow(true);
        PumpFor(100);
        const std::vector<std::string> titles = {"a", "b", "c"};
        const std::vector<uint8_t> shares = {30, 30, 40};
        for (CSortListCtrl* l : {&dlg.showAlways, &dlg.plain}) {
            ASSERT_EQ(l->SetColumns(&titles, &shares), 0);
            // Row 0 and 2 with texts; row 1 with an empty first column; row 0's middle cell red.
            for (const std::vector<std::string>& row :
                 {std::vector<std::string>{"1", "|||", "x"}, {"", "|||", "y"}, {"3", "|||", "z"}}) {
                l->InsertRow(&row, -1);
            }
            l->SetCellBackColor(kRed, 0, 1);
            l->SetGridLines(0);
        }
        rowHeight = RowHeight(dlg.plain);
        ASSERT_GT(rowHeight, 8);
    }
    void TearDown() override { dlg.DestroyWindow(); }

    // Makes the list the focus window, or another control.
    void Focus(CSortListCtrl& list, bool on) {
        if (on) list.SetFocus();
        else dlg.GetDlgItem(kOther).SetFocus();
        ASSERT_TRUE(WaitPumping([&] { return list.HasFocus() == on; }, 3000)) << "focus " << on;
        PumpMessages();
    }

    // Rows lie one below the other from the top of the rows' area: row 0's red cell, drawn in
    // its own colours while the list has no focus, is as high as a row.
    int RowHeight(const CSortListCtrl& list) {
        Focus(dlg.plain, false);
        const int x = list.GetColumnWidth(0) + list.GetColumnWidth(1) - 3;
        int h = 0;
        while (h < 100 && list.GetPixel(Point{x, h}) == kRed) ++h;
        return h;
    }

    // Every pixel along the middle line of a cell.
    std::vector<ColorRef> CellLine(const CSortListCtrl& list, int row, int column) const {
        int left = 0;
        for (int c = 0; c < column; ++c) left += list.GetColumnWidth(c);
        std::vector<ColorRef> line;
        const int y = row * rowHeight + rowHeight / 2;
        for (int x = left + 1; x < left + list.GetColumnWidth(column) - 1; ++x) line.push_back(list.GetPixel(Point{x, y}));
        return line;
    }

    int rowHeight = 0;

    ListsDialog dlg;
};

TEST_F(ListControlsTest, SetColumnsRefusesPercentagesThatDoNotMakeAHundred) {
    CSortListCtrl list(3);
    list.Attach(dlg, kColors);
    const std::vector<std::string> titles = {"a", "b", "c"};
    const std::vector<std::string> two = {"a", "b"};
    const std::vector<uint8_t> thirty = {30, 30, 30};
    const std::vector<uint8_t> full = {30, 30, 40};
    EXPECT_EQ(list.SetColumns(nullptr, &full), 1);
    EXPECT_EQ(list.SetColumns(&two, &full), 2);
    EXPECT_EQ(list.SetColumns(&titles, &thirty), 4);
    EXPECT_EQ(list.GetColumnCount(), 0);
}

// Each row is the column clicked and the texts of the clicked column's rows after the click.
TEST_F(ListControlsTest, HeaderClicksSortNumbersInTheFirstTwoColumnsAndTextElsewhere) {
    struct Click {
        int column;
        std::vector<std::string> order;
    };
    const std::vector<std::string> up = {"9", "10"}, down = {"10", "9"};
    // The sortable list starts at column 0, descending: a first click there sorts ascending.
    const std::vector<Click> sortList = {{0, up}, {0, down}, {2, up}, {2, down}, {1, down}, {1, up}};
    // The colour list starts with no sort column: a first click sorts descending.
    const std::vector<Click> colorList = {{0, down}, {0, up}, {2, up}, {2, down}, {1, down}, {1, up}};
    for (ListView* list : {static_cast<ListView*>(&dlg.plain), static_cast<ListView*>(&dlg.colors)}) {
        const bool sortable = list == &dlg.plain;
        SCOPED_TRACE(sortable ? "sortable" : "colour");
        list->DeleteAllItems();
        if (!sortable) {
            for (int c = 0; c < 3; ++c) list->InsertColumn(c, "c", 60);
        }
        list->AppendRow({"10", "10", "10"});
        list->AppendRow({"9", "9", "9"});
        for (const Click& click : sortable ? sortList : colorList) {
            list->ClickColumn(click.column);
            EXPECT_EQ((std::vector<std::string>{list->GetItemText(0, click.column), list->GetItemText(1, click.column)}),
                      click.order)
                << "click on column " << click.column;
        }
    }
    // Each row's item data is its index before the last sort, which swapped the two.
    EXPECT_EQ(dlg.colors.GetItemData(0), 1);
    EXPECT_EQ(dlg.colors.GetItemData(1), 0);
}

TEST_F(ListControlsTest, ASeventeenthPageIsRefusedAndChangesNothing) {
    CPageTabCtrl tabs;
    static_cast<TabBar&>(tabs) = TabBar(dlg.GetDlgItem(kTabs));
    std::vector<std::unique_ptr<Dialog>> pages;
    for (int i = 0; i < 17; ++i) pages.push_back(std::make_unique<Dialog>(kListsId));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(tabs.AddPage("页" + std::to_string(i), pages[i].get(), kListsId), 1);
    EXPECT_EQ(tabs.AddPage("页16", pages[16].get(), kListsId), 0);
    EXPECT_EQ(tabs.PageCount(), 16);
    EXPECT_EQ(tabs.Page(15), pages[15].get());
}

// The draw mode of each row by the list's focus, the row's states and its first column.
TEST_F(ListControlsTest, RowsAreDrawnByTheirStatesAndAFocusRowWithAnEmptyFirstColumnNotAtAll) {
    enum Look { kNormal, kFocusRow, kBlueOnWhite, kNotPainted };
    struct Case {
        const char* name;
        bool showAlways, listFocused;
        int focusRow, selectedRow;
        Look rows[3];
    };
    const Case cases[] = {
        {"focused, focus row selected", true, true, 0, 0, {kFocusRow, kNormal, kNormal}},
        {"focused, focus row apart from the selected", true, true, 0, 2, {kFocusRow, kNormal, kBlueOnWhite}},
        {"a focused selected row whose first column is empty", true, true, 1, 1, {kNormal, kNotPainted, kNormal}},
        {"focused, empty first column selected apart from the focus row", true, true, 0, 1,
         {kFocusRow, kBlueOnWhite, kNormal}},
        {"unfocused, selection always shown", true, false, 2, 2, {kNormal, kNormal, kFocusRow}},
        {"unfocused, empty first column selected", true, false, 1, 1, {kNormal, kNotPainted, kNormal}},
        {"unfocused, selection not shown", false, false, 0, 0, {kNormal, kNormal, kNormal}},
        {"focused without the style", false, true, 2, 2, {kNormal, kNormal, kFocusRow}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSortListCtrl& list = c.showAlways ? dlg.showAlways : dlg.plain;
        list.SetItemState(c.focusRow, ListView::kStateFocused, ListView::kStateFocused);
        list.SetItemState(c.selectedRow, ListView::kStateSelected, ListView::kStateSelected);
        Focus(list, c.listFocused);
        ASSERT_EQ(list.GetItemState(c.focusRow, ListView::kStateFocused), ListView::kStateFocused);
        for (int row = 0; row < 3; ++row) {
            SCOPED_TRACE("row " + std::to_string(row));
            const std::vector<ColorRef> first = CellLine(list, row, 0), middle = CellLine(list, row, 1);
            bool lightText = false, blueText = false, otherBack = false;
            for (ColorRef p : first) {
                lightText |= Red(p) > 128 && p != kWhite;
                blueText |= Blue(p) > 128 && Red(p) < 128 && Green(p) < 128;
            }
            for (ColorRef p : middle) {
                lightText |= Red(p) > 128 && p != kWhite && p != kRed;
                blueText |= Blue(p) > 128 && Red(p) < 128 && Green(p) < 128;
                otherBack |= p != kWhite && p != kRed;
            }
            const ColorRef back = middle.front();
            switch (c.rows[row]) {
                case kNormal:
                    // Each cell in its own colours: row 0's middle one red.
                    EXPECT_EQ(back, row == 0 ? kRed : kWhite);
                    EXPECT_FALSE(blueText);
                    break;
                case kFocusRow:
                    EXPECT_EQ(back, kFocusBack);
                    EXPECT_EQ(first.front(), kFocusBack);
                    EXPECT_TRUE(lightText) << "white text";
                    break;
                case kBlueOnWhite:
                    EXPECT_EQ(back, kWhite);
                    EXPECT_TRUE(blueText);
                    break;
                case kNotPainted:
                    EXPECT_EQ(back, kWhite);
                    EXPECT_FALSE(otherBack) << "no text, no colour";
                    break;
            }
        }
        list.SetItemState(c.selectedRow, 0, ListView::kStateSelected);
    }
}

TEST_F(ListControlsTest, CellFramesAndDottedSeparatorsFollowTheirFlags) {
    CSortListCtrl& list = dlg.plain;
    for (int row = 0; row < 3; ++row) list.SetCellBackColor(kRed, row, 0);
    Focus(list, false);
    const int h = rowHeight;
    const int w0 = list.GetColumnWidth(0);
    struct Case {
        int grid, frames;
        ColorRef corner;      // the first pixel of row 0's middle cell
        bool dottedSeparator;  // pixels of the last column of column 0 white and red in turn
    };
    const Case cases[] = {{0, 0, kRed, false}, {0, 1, kBlack, false}, {1, 0, kRed, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("grid " + std::to_string(c.grid) + " frames " + std::to_string(c.frames));
        list.SetGridLines(c.grid);
        list.SetCellFrames(c.frames);
        PumpFor(50);
        EXPECT_EQ(list.GetPixel(Point{w0, 0}), c.corner);
        EXPECT_EQ(list.GetPixel(Point{w0 - 3, h / 2}), kRed) << "inside the cell";
        int white = 0, red = 0;
        for (int y = 1; y < h - 1; ++y) {
            const ColorRef p = list.GetPixel(Point{w0 - 1, y});
            white += p == kWhite;
            red += p == kRed;
        }
        if (c.dottedSeparator) {
            EXPECT_GE(white, (h - 2) / 2 - 1);
            EXPECT_GE(red, (h - 2) / 2 - 1);
        } else {
            EXPECT_EQ(white, 0);
        }
    }
}

}  // namespace
