// The broadcast reply test and the smart-home page on a real X server: what the server maps for
// each, that every control lies inside it, and Enter, Esc and the close box as a user presses
// them (xdotool). Run on an X display of its own (xvfb_run.sh); skipped without one.
// KVT_DESKTOP_SHOT=out.png: a picture of the whole screen with each shown, out-<name>[-wm].png.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "commands/TestDlg/test_dlg.h"
#include "commands/page_codes.h"
#include "support/desktop_fixture.h"
#include "support/dialog_lookup.h"
#include "support/sender_checks.h"
#include "support/x_pointer.h"
#include "support/x_query.h"

namespace {

using testsupport::Output;
using testsupport::RectText;
using testsupport::ScreenRect;
using testsupport::Spaced;
using testsupport::WindowManagerRuns;
using testsupport::Within;

// A window as the X server has it: its name and where it lies on the screen.
struct XWindow {
    std::string id, name;
    Rect rect;
    bool viewable = false;
};

// id: a window's id, or "-root".
XWindow Describe(const std::string& id) {
    XWindow w;
    w.id = id;
    const std::string info = Output("xwininfo " + (id == "-root" ? id : "-id " + id));
    w.viewable = info.find("Map State: IsViewable") != std::string::npos;
    w.rect = ScreenRect(info);
    return w;
}

// The program's own windows that the server shows: those of its window class (Qt's helper
// windows have none), viewable.
std::vector<XWindow> ShownWindows() {
    const std::string cls = std::string("(\"") + program_invocation_short_name + "\" \"" +
                            program_invocation_short_name + "\")";
    std::vector<XWindow> shown;
    std::istringstream tree(Output("xwininfo -root -tree"));
    std::string line;
    while (std::getline(tree, line)) {
        if (line.find(cls) == std::string::npos) continue;
        std::istringstream words(line);
        std::string id;
        words >> id;
        XWindow w = Describe(id);
        const size_t open = line.find('"'), close = line.find("\":");
        if (open != std::string::npos && close != std::string::npos && close > open)
            w.name = line.substr(open + 1, close - open - 1);
        if (w.viewable) shown.push_back(w);
    }
    return shown;
}

std::vector<std::string> Names(const std::vector<XWindow>& windows) {
    std::vector<std::string> names;
    for (const XWindow& w : windows) names.push_back(w.name);
    return names;
}

const XWindow* Named(const std::vector<XWindow>& windows, const std::string& name) {
    for (const XWindow& w : windows)
        if (w.name == name) return &w;
    return nullptr;
}

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom && inner.Width() > 0 && inner.Height() > 0;
}

// Every control of the dialog's template lies inside the rectangle.
void ExpectControlsInside(const Dialog& dialog, const Rect& area) {
    int count = 0;
    for (Window c = dialog.GetTemplateControl(0); c.IsValid(); c = dialog.GetTemplateControl(++count)) {
        if (!c.IsVisible()) continue;
        EXPECT_TRUE(Inside(c.GetWindowRect(), area))
            << "control " << c.GetId() << " " << c.GetText() << " at " << RectText(c.GetWindowRect()) << " outside "
            << RectText(area);
    }
    EXPECT_GT(count, 0);
}

void Shot(const std::string& name) {
    const char* shot = std::getenv("KVT_DESKTOP_SHOT");
    if (!shot || !*shot) return;
    std::string prefix = shot;
    if (prefix.size() > 4 && prefix.compare(prefix.size() - 4, 4, ".png") == 0) prefix.resize(prefix.size() - 4);
    PumpFor(300);
    const std::string wm = WindowManagerRuns() ? "-wm" : "";
    (void)std::system(("import -window root '" + prefix + "-" + name + wm + ".png' 2>/dev/null").c_str());
}

class ToolWindowsOnScreen : public testsupport::MainWindowOnScreen {
protected:
    ToolWindowsOnScreen() : MainWindowOnScreen(18) {}

    static void Key(const std::string& key) { ASSERT_TRUE(testsupport::Xdotool({"key", "--delay", "60", key})); }
    static void ClickAt(const Window& w, int clicks = 1) {
        ASSERT_TRUE(w.IsVisible());
        ASSERT_TRUE(testsupport::ClickScreen(testsupport::Centre(w), clicks));
    }
    // Waits until the server shows the program's windows by these names, in any order.
    bool WaitShown(std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return WaitFor(
            [&] {
                std::vector<std::string> now = Names(ShownWindows());
                std::sort(now.begin(), now.end());
                return now == names;
            },
            5000);
    }
    std::string ShownNames() {
        std::string all;
        for (const std::string& n : Names(ShownWindows())) all += "[" + n + "]";
        return all;
    }
};

constexpr char kMain[] = "KV3391T";
constexpr char kReplyTest[] = "广播应答测试";

TEST_F(ToolWindowsOnScreen, TheBroadcastReplyTestIsAWindowOfItsOwnThatEscAndItsCloseBoxHide) {
    OpenPort();
    for (const char* data : {"01 3F 34 12 06 05 04 03 02 01 0A 2C 01 03 01 10 00",
                             "01 02 AA BB CC DD EE FF 0A 00 00 03 02 00 00", "01 02 AA BB CC DD EE FF 0A 00 00 03 03 00 00"})
        ASSERT_TRUE(sim.Send(kvtsim::BuildFrame(0xC0, 0xF5, kvtsim::FromHex(data))));
    CBroadcastReplyTestDlg& test = Within<CBroadcastReplyTestDlg>(*dlg);
    ASSERT_TRUE(WaitFor([&] { return test.m_replyList.GetItemCount() == 3; }));

    dlg->ShowBroadcastReplyTest();
    ASSERT_TRUE(WaitShown({kMain, kReplyTest})) << ShownNames();
    const std::vector<XWindow> shown = ShownWindows();
    const XWindow* own = Named(shown, kReplyTest);
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own->id, Named(shown, kMain)->id);
    EXPECT_TRUE(Inside(own->rect, Describe("-root").rect)) << RectText(own->rect);
    ExpectControlsInside(test, own->rect);
    Shot("broadcast-reply-test");

    // Enter in the sequence number field does nothing; a click on "统计" counts.
    ClickAt(test.GetDlgItem(IDC_BROADCAST_TEST_DSN));
    ASSERT_TRUE(testsupport::Xdotool({"type", "--delay", "40", "a"}));
    Key("Return");
    PumpFor(300);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(test.IsWindowVisible());
    ClickAt(test.GetDlgItem(IDC_BROADCAST_TEST_STATISTICS));
    ASSERT_TRUE(WaitFor([&] { return !boxes.empty(); }, 3000));
    EXPECT_EQ(boxes[0].caption + "|" + boxes[0].text, std::string(kReplyTest) + "|010203040506: 1\r\nFFEEDDCCBBAA: 2\r\n");

    // Esc hides it and keeps its rows.
    ClickAt(test.GetDlgItem(IDC_BROADCAST_TEST_DSN));
    Key("Escape");
    EXPECT_TRUE(WaitShown({kMain})) << ShownNames();
    EXPECT_FALSE(test.IsWindowVisible());
    EXPECT_EQ(test.m_replyList.GetItemCount(), 3);

    // The close box on the frame that the window manager draws, clicked: hidden too.
    if (!WindowManagerRuns()) return;
    dlg->ShowBroadcastReplyTest();
    ASSERT_TRUE(WaitShown({kMain, kReplyTest})) << ShownNames();
    PumpFor(500);
    const XWindow again = *Named(ShownWindows(), kReplyTest);
    const std::string parent = Output("xwininfo -children -id " + again.id + " | awk '/Parent window id:/ {print $4}'");
    const XWindow frame = Describe(parent.substr(0, parent.find('\n')));
    const int title = again.rect.top - frame.rect.top;
    ASSERT_GT(title, 8) << RectText(frame.rect) << " " << RectText(again.rect);
    ASSERT_TRUE(testsupport::ClickScreen(Point{frame.rect.right - title / 2 - 2, frame.rect.top + title / 2}));
    EXPECT_TRUE(WaitShown({kMain})) << ShownNames();
    EXPECT_FALSE(test.IsWindowVisible());
    EXPECT_EQ(test.m_replyList.GetItemCount(), 3);
}

TEST_F(ToolWindowsOnScreen, TheSmartHomePageLiesInsideTheMainWindowWhichKeepsItOnEnterAndEsc) {
    dlg->PostDataFrameRow("79 00 00 C0 01 41 41 ");
    CSmartHomeMonitorDlg& page = Within<CSmartHomeMonitorDlg>(*dlg);
    page.AddFrameRow("0102", "0304", "79 02 00 C0 14 AA BB 10 10 ");
    // Shown as the function tree shows a page: the others hidden first.
    ASSERT_TRUE(testsupport::ClickTreeItem(*dlg, PAGE_READ_MAC));
    Within<CTestDlg>(*dlg).ShowWindow(false);
    page.ShowWindow(true);
    PumpFor(500);

    // No window of its own: inside the main window, its controls inside it.
    ASSERT_TRUE(WaitShown({kMain})) << ShownNames();
    const XWindow main = *Named(ShownWindows(), kMain);
    const Rect pageRect = page.GetWindowRect();
    EXPECT_FALSE(page.GetWindow().IsTopLevel());
    EXPECT_TRUE(Inside(pageRect, main.rect)) << RectText(pageRect) << " in " << RectText(main.rect);
    ExpectControlsInside(page, pageRect);
    Shot("smart-home-page");

    // Enter and Esc on its list change nothing.
    ListView list = page.m_frameList;
    const Point origin = list.ScreenToClient(Point{0, 0});
    ASSERT_TRUE(testsupport::ClickScreen(Point{60 - origin.x, 8 - origin.y}));
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{0});
    Key("Return");
    Key("Escape");
    PumpFor(300);
    EXPECT_TRUE(page.IsWindowVisible());
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(WaitShown({kMain})) << ShownNames();

    // A double click on a row shows its frame in the detail viewer, a window of its own.
    ASSERT_TRUE(testsupport::ClickScreen(Point{60 - origin.x, 8 - origin.y}, 2));
    ASSERT_TRUE(WaitFor([&] { return Within<CFrameDetailDlg>(*dlg).IsWindowVisible(); }, 3000));
    EXPECT_EQ(Within<CFrameDetailDlg>(*dlg).GetDlgItemText(IDC_DETAIL_TEXT), "79 00 00 C0 01 41 41 ");
    EXPECT_TRUE(WaitFor([&] {
        const std::vector<XWindow> shown = ShownWindows();
        return shown.size() == 2 && Named(shown, kMain);
    })) << ShownNames();
    Shot("smart-home-detail");
    Within<CFrameDetailDlg>(*dlg).ShowWindow(false);

    // Its two buttons take the mouse: the export asks for its file, the clear asks first.
    ClickAt(page.GetDlgItem(IDC_SMART_HOME_EXPORT));
    ASSERT_TRUE(WaitFor([&] { return fileRequests.size() == 1; }, 3000));
    EXPECT_EQ(fileRequests[0].fileName.rfind("APSDATAEXPORT,  ", 0), 0u) << fileRequests[0].fileName;
    ClickAt(page.GetDlgItem(IDC_SMART_HOME_CLEAR));
    ASSERT_TRUE(WaitFor([&] { return boxes.size() == 1; }, 3000));
    EXPECT_EQ(boxes[0].text + "|" + boxes[0].caption, "确认要清除报文吗？|提示");
    EXPECT_EQ(list.GetItemCount(), 0);
}

}  // namespace
