// The main window on a real X server, clicked as a user clicks: xdotool moves the pointer to
// screen coordinates and presses the button there, so the X server and the widgets decide what
// the pointer hits. The simulated module behind COM13 shows what each click sent.
// Run on an X display of its own (xvfb_run.sh); skipped without one or without xdotool.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "commands/TestDlg/test_dlg.h"
#include "commands/page_codes.h"
#include "dialogs/frame_monitor_dlg.h"
#include "dialogs/meter_manage_dlg.h"
#include "support/desktop_fixture.h"
#include "support/dialog_lookup.h"
#include "support/sender_checks.h"
#include "support/x_pointer.h"
#include "test_frames.h"

namespace {

using testing_frames::Hex;
using testing_frames::MakeFrame;
using testsupport::Spaced;
using testsupport::Within;

class MouseClicksTest : public testsupport::MainWindowOnScreen {
protected:
    MouseClicksTest() : MainWindowOnScreen(13) {}

    void SetUp() override {
        MainWindowOnScreen::SetUp();
        if (IsSkipped()) return;
        // The port is opened with a click on the settings dialog's button, as a user opens it:
        // the window manager then hands the focus back to the main window.
        dlg->PostTask([this] {
            PumpFor(500);
            ClickControl(dlg->SerialSettingsDialog().GetDlgItem(IDC_SERIAL_OPEN_CLOSE));
        });
        dlg->OnSerialSettings();
        ASSERT_TRUE(dlg->Link().IsPortOpen());
        ASSERT_EQ(NextFrame(), "79 00 00 40 02 42 42 ");
        ASSERT_TRUE(WaitFor([this] { return !dlg->Link().IsVersionCaptureArmed(); }));
        sim.SetAnswer(0x02, {});
    }

    static void Xdotool(const std::vector<std::string>& args) { ASSERT_TRUE(testsupport::Xdotool(args)) << args[0]; }
    static void ClickScreen(Point p, int clicks = 1) { ASSERT_TRUE(testsupport::ClickScreen(p, clicks)); }
    static Point Centre(const Window& w) { return testsupport::Centre(w); }

    // A control of the main window or of the test panel, clicked in its middle.
    void ClickControl(const Window& w) {
        ASSERT_TRUE(w.IsVisible());
        ClickScreen(Centre(w));
    }

    TreeView Tree() { return TreeView(dlg->GetDlgItem(IDC_FUNCTION_TREE)); }

    // The screen point of a tree item's row.
    Point TreeItemPoint(TreeItem item) {
        const Point centre = Tree().ItemCenter(item);
        const Point origin = Tree().ScreenToClient(Point{0, 0});
        return Point{centre.x - origin.x, centre.y - origin.y};
    }

    // Clicks the tree item of a page code; the remote branch is opened by a double click on it.
    void ClickTreeItem(int code) {
        TreeItem root = 0;
        const TreeItem item = testsupport::FindTreeItem(Tree(), code, &root);
        ASSERT_NE(item, 0) << code;
        if (root && !Tree().IsExpanded(root)) {
            ClickScreen(TreeItemPoint(root), 2);
            ASSERT_TRUE(WaitFor([&] { return Tree().IsExpanded(root); }, 3000)) << code;
        }
        ClickScreen(TreeItemPoint(item));
        ASSERT_TRUE(WaitFor([&] { return dlg->CurrentPageCode() == code; }, 3000)) << "tree item " << code;
    }

    CTestDlg& Panel() { return Within<CTestDlg>(*dlg); }
};

// The pages of the test panel that the tree shows, each sent by a mouse click on its button.
struct PanelPage {
    int code, button;
    unsigned char command;
    const char* data;
};
const PanelPage kPanelPages[] = {
    {PAGE_MODULE_RESTART, IDC_PANEL_MODULE_RESTART, 0x01, ""},
    {PAGE_READ_VERSION, IDC_PANEL_READ_VERSION, 0x02, ""},
    {PAGE_READ_MAC, IDC_PANEL_READ_MAC, 0x03, ""},
    {PAGE_READ_COMM_ADDRESS, IDC_PANEL_READ_COMM_ADDRESS, 0x0B, ""},
    {PAGE_SET_COMM_ADDRESS, IDC_PANEL_SET_COMM_ADDRESS, 0x0C, "66 55 44 33 22 11"},  // typed below
    {PAGE_READ_USER_PASSWORD, IDC_PANEL_READ_USER_PASSWORD, 0x06, ""},
    {PAGE_READ_NETWORK_PARAMS, IDC_PANEL_READ_NET_PARAMS, 0x0D, ""},
    // The remote pages share the address edit: they send to the address typed above.
    {PAGE_REMOTE_READ_VERSION, IDC_PANEL_REMOTE_READ_VERSION, 0x52, "00 66 55 44 33 22 11"},
    {PAGE_REMOTE_READ_MAC, IDC_PANEL_REMOTE_READ_MAC, 0x53, "00 66 55 44 33 22 11"},
    {PAGE_REMOTE_READ_NETWORK_PARAMS, IDC_PANEL_REMOTE_READ_NET_PARAMS, 0x5D, "00 66 55 44 33 22 11"},
};

TEST_F(MouseClicksTest, EveryPanelPageOfTheTreeSendsItsFrameWhenItsButtonIsClicked) {
    for (const PanelPage& page : kPanelPages) {
        SCOPED_TRACE(page.code);
        ClickTreeItem(page.code);
        ASSERT_TRUE(Panel().IsWindowVisible());
        if (page.code == PAGE_SET_COMM_ADDRESS) {
            // The address edit takes the click and then the keyboard.
            ClickControl(Panel().GetDlgItem(IDC_PANEL_DST_ADDR));
            Xdotool({"key", "--delay", "30", "ctrl+a", "BackSpace"});
            Xdotool({"type", "--delay", "30", "112233445566"});
            ASSERT_EQ(Panel().GetDlgItemText(IDC_PANEL_DST_ADDR), "112233445566");
        }
        ClickControl(Panel().GetDlgItem(page.button));
        EXPECT_EQ(NextFrame(), Spaced(MakeFrame(0x40, page.command, Hex(page.data))));
    }
    // KVT_DESKTOP_SHOT=out.png: a picture of the whole screen now, to look at (ImageMagick's import).
    const char* shot = std::getenv("KVT_DESKTOP_SHOT");
    if (shot && *shot) (void)std::system((std::string("import -window root '") + shot + "' 2>/dev/null").c_str());
}

TEST_F(MouseClicksTest, APageOfTheWindowAndThePanelBothAnswerAndTheWindowsRowStaysLive) {
    // A page of the main window: its button sends.
    ClickTreeItem(PAGE_START_SEARCH);
    testsupport::ChooseEntries(*dlg, {{IDC_DIRECTION_COMBO, "主机发出帧"},
                                      {IDC_INITIATOR_COMBO, "主动发起"},
                                      {IDC_REPLY_STATUS_COMBO, "正常应答"},
                                      {IDC_CHANNEL_TYPE_COMBO, "5281PLC"}});
    ClickControl(dlg->GetDlgItem(IDC_STOP_SEARCH));
    EXPECT_EQ(NextFrame(), "79 00 00 40 18 58 58 ");

    // The panel: its button sends, a click on a row of its log selects that row, and its combo
    // boxes open.
    ClickTreeItem(PAGE_READ_MAC);
    ClickControl(Panel().GetDlgItem(IDC_PANEL_READ_MAC));
    EXPECT_EQ(NextFrame(), "79 00 00 40 03 43 43 ");
    ClickControl(Panel().GetDlgItem(IDC_PANEL_READ_MAC));
    EXPECT_EQ(NextFrame(), "79 00 00 40 03 43 43 ");
    ListView log(Panel().GetDlgItem(IDC_PANEL_LOG_LIST));
    ASSERT_TRUE(WaitFor([&] { return log.GetItemCount() == 2; }));
    log.ClearSelection();
    // The first row lies at the top of the list's viewport.
    const Point origin = log.ScreenToClient(Point{0, 0});
    ClickScreen(Point{40 - origin.x, 8 - origin.y});
    EXPECT_EQ(log.GetSelectedRows(), std::vector<int>{0});

    // A header combo box opens on a click at its arrow; the entry above, chosen from the list,
    // sets the direction bit of the next frame.
    ComboBox direction(Panel().GetDlgItem(IDC_PANEL_DIRECTION_COMBO));
    ASSERT_EQ(direction.GetSelectedText(), "主机发出帧");
    const Rect box = direction.GetWindowRect();
    ClickScreen(Point{box.right - 6, (box.top + box.bottom) / 2});
    PumpFor(300);
    Xdotool({"key", "--delay", "60", "Up", "Return"});
    EXPECT_TRUE(WaitFor([&] { return direction.GetSelectedText() == "从机发出帧"; }, 3000));
    ClickControl(Panel().GetDlgItem(IDC_PANEL_READ_MAC));
    EXPECT_EQ(NextFrame(), Spaced(MakeFrame(0xC0, 0x03, Hex(""))));

    // With the panel shown, the window's own row of buttons above it still takes the mouse.
    ASSERT_FALSE(Within<CFrameMonitorDlg>(*dlg).IsWindowVisible());
    ClickControl(dlg->GetDlgItem(IDC_SHOW_FRAME_MONITOR));
    EXPECT_TRUE(WaitFor([&] { return Within<CFrameMonitorDlg>(*dlg).IsWindowVisible(); }, 3000));
    EXPECT_FALSE(dlg->GetDlgItem(IDC_SHOW_FRAME_MONITOR).IsEnabled());
}

// Meter management over the main list's 001 (checked) to 004: a click on the address column's
// title reverses the rows; a click on the box of 003 then checks that meter in both lists, and
// no other.
TEST_F(MouseClicksTest, AfterASortAClickOnAMetersBoxChecksThatMeterInBothLists) {
    ListView main = ListOf(IDC_ADDRESS_LIST);
    for (int i = 1; i <= 4; ++i)
        main.SetCheck(main.AppendRow({std::to_string(i), "00000000000" + std::to_string(i)}), i == 1);
    CMeterManageDlg meters(main);
    ASSERT_TRUE(meters.Create(dlg.get()));
    meters.ShowWindow(true);
    PumpFor(700);  // placed by the window manager, if any
    ListView own(meters.GetDlgItem(IDC_METER_LIST));
    const Point origin = own.ScreenToClient(Point{0, 0});  // the rows' top left, negated
    // The title sits just above the rows.
    ClickScreen(Point{own.GetColumnWidth(0) + own.GetColumnWidth(1) / 2 - origin.x, -6 - origin.y});
    ASSERT_TRUE(WaitFor([&] { return own.GetItemText(0, 1) == "000000000004"; }, 3000));
    const Rect box = own.GetCheckBoxRect(1);
    ClickScreen(Point{(box.left + box.right) / 2 - origin.x, (box.top + box.bottom) / 2 - origin.y});
    const auto shown = [](const ListView& list) {
        std::string rows;
        for (int r = 0; r < list.GetItemCount(); ++r)
            rows += list.GetItemText(r, 1).substr(9) + (list.GetCheck(r) ? " v" : "") + ",";
        return rows;
    };
    EXPECT_EQ(shown(own), "004,003 v,002,001 v,");
    EXPECT_EQ(shown(main), "001 v,002,003 v,004,");
}

}  // namespace
