// Device adding, the local settings page, the small tool dialogs and the warning box on a real X
// server, as a user sees them: each opened over the main window maps as a window of its own at
// the place and size the program gives it, no control is cut off at the default size, combo
// boxes show their choice, Enter typed through the X server does nothing in them, and Esc or the
// window manager's close button dismisses each as it should.
// Run on an X display of its own (xvfb_run.sh); skipped without one or without xdotool.
// KVT_DESKTOP_SHOTS=dir: a picture of the whole screen with each dialog open goes there.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "commands/TestDlg/test_dlg.h"
#include "dialogs/acq_unit_address_dlg.h"
#include "dialogs/add_device_dlg.h"
#include "dialogs/checksum_dlg.h"
#include "dialogs/find_meter_address_dlg.h"
#include "dialogs/frame_type_dlg.h"
#include "dialogs/local_settings_dlg.h"
#include "dialogs/radio_config_dlg.h"
#include "dialogs/relay_address_dlg.h"
#include "dialogs/send_frame_dlg.h"
#include "dialogs/smart_home_monitor_dlg.h"
#include "dialogs/warning_dlg.h"
#include "platform/dialog_template.h"
#include "support/desktop_fixture.h"
#include "support/dialog_lookup.h"
#include "support/sender_checks.h"
#include "support/x_pointer.h"
#include "support/x_query.h"

namespace {

using testsupport::Output;
using testsupport::RectText;
using testsupport::ScreenRect;
using testsupport::WindowManagerRuns;
using testsupport::Within;

// What Esc and the close button do to a dialog.
enum class Dismissal { Hides, Destroys, Stays, EndsModal };

struct ToolDialog {
    const char* name;
    std::function<Dialog*(CMainTesterDlg&)> make;
    const char* caption;
    int typedEdit;  // an edit that takes the keyboard before Enter
    Dismissal esc;
    Dismissal closeBox;
};

const ToolDialog kDialogs[] = {
    {"add_device", [](CMainTesterDlg&) -> Dialog* { return new CAddDeviceDlg(2); }, "添加设备", IDC_ADD_DEVICE_MAC,
     Dismissal::EndsModal, Dismissal::EndsModal},
    {"local_settings", [](CMainTesterDlg& w) -> Dialog* { return new CLocalSettingsDlg(w); }, "本地设置",
     IDC_LOCAL_METER_ADDRESS, Dismissal::Hides, Dismissal::Hides},
    {"checksum", [](CMainTesterDlg&) -> Dialog* { return new CChecksumDlg; }, "计算校验", IDC_CHECKSUM_FRAME,
     Dismissal::Destroys, Dismissal::Destroys},
    {"relay_address", [](CMainTesterDlg& w) -> Dialog* { return new CRelayAddressDlg(w); }, "中继", IDC_RELAY_ADDRESS,
     Dismissal::Hides, Dismissal::Hides},
    {"frame_type", [](CMainTesterDlg&) -> Dialog* { return new CFrameTypeDlg; }, "", IDC_FRAME_TYPE_TMI,
     Dismissal::Hides, Dismissal::Hides},
    {"find_meter_address", [](CMainTesterDlg&) -> Dialog* { return new CFindMeterAddressDlg; }, "查找表地址",
     IDC_FIND_METER_SHORT, Dismissal::Hides, Dismissal::Hides},
    {"acq_unit_address", [](CMainTesterDlg& w) -> Dialog* { return new CAcqUnitAddressDlg(w); }, "采集器地址",
     IDC_ACQ_UNIT_ADDRESS, Dismissal::Hides, Dismissal::Hides},
    {"radio_config", [](CMainTesterDlg&) -> Dialog* { return new CRadioConfigDlg; }, "", IDC_RADIO_CHANNEL,
     Dismissal::Stays, Dismissal::Hides},
    {"send_frame", [](CMainTesterDlg& w) -> Dialog* { return new CSendFrameDlg(w); }, "发送报文",
     IDC_SEND_FRAME_CHANNEL, Dismissal::Hides, Dismissal::Hides},
};

// A visible top-level X window of this process: its id, name and the area inside its frame.
struct XWindow {
    std::string id, name;
    Rect inside;
};

std::vector<XWindow> VisibleWindows() {
    std::vector<XWindow> windows;
    std::istringstream ids(Output("xdotool search --onlyvisible --pid " + std::to_string(::getpid()) + " 2>/dev/null"));
    for (std::string id; ids >> id;) {
        const std::string info = Output("xwininfo -id " + id);
        if (info.find("IsViewable") == std::string::npos) continue;
        const Rect r = ScreenRect(info);
        if (r.Width() <= 3 || r.Height() <= 3) continue;  // the toolkit's own helper windows
        windows.push_back(XWindow{id, Output("xdotool getwindowname " + id + " 2>/dev/null"), r});
    }
    return windows;
}

// The area inside the dialog's frame, in screen coordinates, as the program places it.
Rect Inside(const Dialog& d) {
    const Point origin = d.GetWindow().ScreenToClient(Point{0, 0});
    const Rect size = d.GetWindow().GetClientRect();
    return Rect{-origin.x, -origin.y, -origin.x + size.Width(), -origin.y + size.Height()};
}

class ToolDialogsDesktopTest : public testsupport::MainWindowOnScreen {
protected:
    ToolDialogsDesktopTest() : MainWindowOnScreen(17) {}

    // The X window of the dialog, once it is mapped where the program put it.
    XWindow MappedWindow(const Dialog& d) {
        XWindow found;
        const bool mapped = WaitFor(
            [&] {
                for (const XWindow& w : VisibleWindows())
                    if (w.inside.left == Inside(d).left && w.inside.top == Inside(d).top &&
                        w.inside.Width() == Inside(d).Width() && w.inside.Height() == Inside(d).Height())
                        found = w;
                return !found.id.empty();
            },
            3000);
        EXPECT_TRUE(mapped) << "no X window at " << RectText(Inside(d));
        return found;
    }

    // Every control of the template lies inside the dialog and shows its text whole; every
    // combo box with entries shows its choice.
    void ExpectNothingClipped(const Dialog& d) {
        const DialogTemplate* t = FindDialogTemplate(d.TemplateId());
        ASSERT_NE(t, nullptr);
        const Rect client = d.GetClientRect();
        for (size_t i = 0; i < t->controls.size(); ++i) {
            const ControlTemplate& c = t->controls[i];
            const Window w = d.GetTemplateControl(static_cast<int>(i));
            if (!w.IsValid() || !w.IsVisible()) continue;
            SCOPED_TRACE(std::string("control ") + std::to_string(c.id) + " \"" + (c.caption ? c.caption : "") + "\"");
            const Rect r = w.GetRectInParent();
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
                << RectText(r) << " in " << RectText(client);
            const Rect need = w.GetNeededSize();
            EXPECT_GE(r.Width(), need.Width()) << "needs " << RectText(need);
            EXPECT_GE(r.Height(), need.Height()) << "needs " << RectText(need);
            if (c.kind == ControlKind::ComboDropList || c.kind == ControlKind::ComboDropDown) {
                ComboBox combo(w);
                if (combo.GetCount() > 0) {
                    EXPECT_GE(combo.GetCurSel(), 0);
                    EXPECT_NE(combo.GetSelectedText(), "");
                }
            }
        }
    }

    void Shot(const std::string& name) {
        const char* dir = std::getenv("KVT_DESKTOP_SHOTS");
        if (!dir || !*dir) return;
        PumpFor(300);  // drawn first
        const std::string file = std::string(dir) + "/" + name + (WindowManagerRuns() ? "-openbox" : "-bare") + ".png";
        (void)std::system(("import -window root '" + file + "' 2>/dev/null").c_str());
    }

    // Clicks into the edit, types a digit (the edit takes it: the keyboard reaches the dialog),
    // then presses Enter, which changes nothing.
    void TypeThenEnter(Dialog& d, int edit) {
        const Window e = d.GetDlgItem(edit);
        ASSERT_TRUE(e.IsVisible());
        ASSERT_TRUE(testsupport::ClickScreen(testsupport::Centre(e)));
        ASSERT_TRUE(testsupport::Xdotool({"key", "--delay", "40", "ctrl+a", "7"}));
        ASSERT_TRUE(WaitFor([&] { return d.GetDlgItemText(edit) == "7"; }, 3000))
            << "typed into " << edit << ": " << d.GetDlgItemText(edit);
        ASSERT_TRUE(testsupport::Xdotool({"key", "Return"}));
        PumpFor(200);
        EXPECT_TRUE(d.IsCreated() && d.IsWindowVisible());
        EXPECT_EQ(d.GetDlgItemText(edit), "7");
        EXPECT_EQ(BoxTexts(), std::vector<std::string>());
        EXPECT_FALSE(WarningBox().IsCreated() && WarningBox().IsWindowVisible());
    }

    // The window manager's close button: the right end of the title bar.
    void ClickCloseButton(const Dialog& d) {
        const std::string extents = Output("xprop -id " + MappedWindow(d).id + " _NET_FRAME_EXTENTS");
        int left = 0, right = 0, top = 0, bottom = 0;
        const size_t eq = extents.find('=');
        ASSERT_NE(eq, std::string::npos) << extents;
        ASSERT_EQ(std::sscanf(extents.c_str() + eq + 1, " %d, %d, %d, %d", &left, &right, &top, &bottom), 4) << extents;
        const Rect inside = Inside(d);
        ASSERT_TRUE(testsupport::ClickScreen(Point{inside.right + right - top / 2 - 2, inside.top - top / 2}));
    }

    static bool Dismissed(const Dialog& d, Dismissal how) {
        switch (how) {
            case Dismissal::Hides: return d.IsCreated() && !d.IsWindowVisible();
            case Dismissal::Destroys:
            case Dismissal::EndsModal: return !d.IsCreated();
            case Dismissal::Stays: return d.IsCreated() && d.IsWindowVisible();
        }
        return false;
    }

    // Looks at one dialog, shown: where it maps, what it shows, and Enter.
    void LookAt(Dialog& d, const ToolDialog& c) {
        EXPECT_TRUE(d.GetWindow().IsTopLevel());
        const XWindow x = MappedWindow(d);
        if (c.caption[0]) {
            EXPECT_EQ(x.name, c.caption);
        }
        EXPECT_NE(x.id, MappedWindow(*dlg).id) << "its own window, not the main window's";
        int width = 0, height = 0;
        ASSERT_EQ(std::sscanf(Output("xdotool getdisplaygeometry").c_str(), "%d %d", &width, &height), 2);
        EXPECT_TRUE(x.inside.left >= 0 && x.inside.top >= 0 && x.inside.right <= width && x.inside.bottom <= height)
            << "on the screen: " << RectText(x.inside);
        ExpectNothingClipped(d);
        Shot(c.name);
        TypeThenEnter(d, c.typedEdit);
    }

    // Runs the dialog modally: look runs in its loop, then dismiss; a dialog still open five
    // seconds later is ended with kIdOk.
    int RunModal(Dialog& d, const std::function<void()>& look, const std::function<void()>& dismiss) {
        auto done = std::make_shared<bool>(false);
        dlg->PostTask([this, &d, &look, &dismiss, done] {
            PumpFor(500);
            look();
            // Dismissed from a task of its own, so the loop can end once that task returns.
            dlg->PostTaskAfter(100, [&dismiss, done] {
                if (!*done) dismiss();
            });
            dlg->PostTaskAfter(5000, [&d, done] {
                if (!*done) d.EndDialog(kIdOk);
            });
        });
        const int code = d.DoModal(dlg.get());
        *done = true;
        return code;
    }
};

TEST_F(ToolDialogsDesktopTest, EachMapsAsItsOwnWindowWholeAndEnterEscAndTheCloseButtonActAsTheyShould) {
    const bool closeButton = WindowManagerRuns();
    for (const ToolDialog& c : kDialogs) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        std::unique_ptr<Dialog> d(c.make(*dlg));
        if (c.esc == Dismissal::EndsModal) {
            EXPECT_EQ(RunModal(*d, [&] { LookAt(*d, c); },
                               [] { ASSERT_TRUE(testsupport::Xdotool({"key", "Escape"})); }),
                      kIdCancel)
                << "Esc";
            if (closeButton) {
                EXPECT_EQ(RunModal(*d, [] {}, [&] { ClickCloseButton(*d); }), kIdCancel) << "close button";
            }
            EXPECT_FALSE(d->IsCreated());
            continue;
        }
        ASSERT_TRUE(d->Create(dlg.get()));
        d->ShowWindow(true);
        PumpFor(300);
        LookAt(*d, c);
        ASSERT_TRUE(testsupport::Xdotool({"key", "Escape"}));
        EXPECT_TRUE(WaitFor([&] { return Dismissed(*d, c.esc); }, 3000)) << "Esc";
        PumpFor(100);
        EXPECT_TRUE(Dismissed(*d, c.esc)) << "Esc";
        if (closeButton) {
            if (!d->IsCreated()) {
                ASSERT_TRUE(d->Create(dlg.get()));
            }
            d->ShowWindow(true);
            PumpFor(300);
            ClickCloseButton(*d);
            EXPECT_TRUE(WaitFor([&] { return Dismissed(*d, c.closeBox); }, 3000)) << "close button";
        }
        if (d->IsCreated()) d->DestroyWindow();
    }
}

TEST_F(ToolDialogsDesktopTest, TheWarningBoxMapsCentredOverItsDialogAndIsReusedUntilItsButtonEndsIt) {
    CAcqUnitAddressDlg acq(*dlg);
    ASSERT_TRUE(acq.Create(dlg.get()));
    acq.ShowWindow(true);
    PumpFor(300);
    Button(acq.GetDlgItem(IDC_ACQ_UNIT_READ_VIA)).Click();
    acq.SetDlgItemText(IDC_ACQ_UNIT_ADDRESS, "");
    Button(acq.GetDlgItem(IDC_ACQ_UNIT_CONFIRM)).Click();
    CWarningDlg& box = WarningBox();
    ASSERT_TRUE(box.IsCreated() && box.IsWindowVisible());
    const XWindow x = MappedWindow(box);
    EXPECT_EQ(x.name, "警告");
    // Frames alike: the centres of the areas inside them meet as the frames' do.
    const Rect a = Inside(acq), w = x.inside;
    EXPECT_LE(std::abs((a.left + a.right) - (w.left + w.right)), 2) << RectText(a) << " " << RectText(w);
    EXPECT_LE(std::abs((a.top + a.bottom) - (w.top + w.bottom)), 2) << RectText(a) << " " << RectText(w);
    ExpectNothingClipped(box);
    EXPECT_EQ(box.GetDlgItemText(IDC_WARNING_TEXT), "请输入采集器地址");
    Shot("warning");
    // The longest texts these dialogs give it fit as well, wrapped.
    for (const char* text : {"信道组只能占一个字节或不是BCD格式", "表地址地址过长或不是BCD格式",
                             "Mac地址应为1-12位十六进制数", "组播地址应为1-4位十六进制数"}) {
        SCOPED_TRACE(text);
        box.SetText(text);
        ExpectNothingClipped(box);
    }
    box.SetText("请输入采集器地址");

    ASSERT_TRUE(testsupport::ClickScreen(testsupport::Centre(box.GetDlgItem(IDC_WARNING_TEXT))));
    ASSERT_TRUE(testsupport::Xdotool({"key", "Escape"}));
    EXPECT_TRUE(WaitFor([&] { return box.IsCreated() && !box.IsWindowVisible(); }, 3000)) << "Esc hides it";

    // Raised again over the same dialog: the same window, shown and centred again.
    Button(acq.GetDlgItem(IDC_ACQ_UNIT_CONFIRM)).Click();
    ASSERT_TRUE(box.IsWindowVisible());
    EXPECT_EQ(MappedWindow(box).id, x.id);
    // "确定" is the one control that takes the focus, so Enter presses it and the box goes.
    ASSERT_TRUE(testsupport::ClickScreen(testsupport::Centre(box.GetDlgItem(IDC_WARNING_TEXT))));
    ASSERT_TRUE(testsupport::Xdotool({"key", "Return"}));
    EXPECT_TRUE(WaitFor([&] { return !box.IsCreated(); }, 3000)) << "Enter presses 确定";
    if (WindowManagerRuns()) {
        Button(acq.GetDlgItem(IDC_ACQ_UNIT_CONFIRM)).Click();
        ASSERT_TRUE(box.IsCreated() && box.IsWindowVisible());
        ClickCloseButton(box);
        EXPECT_TRUE(WaitFor([&] { return !box.IsCreated(); }, 3000)) << "the close button destroys it";
    }
    acq.DestroyWindow();
}

// Every template of the tool, reachable or not, made as a plain dialog at its own size: its
// labels, buttons and boxes show their captions whole.
TEST_F(ToolDialogsDesktopTest, EveryTemplatesControlsShowTheirCaptionsWhole) {
    const int templates[] = {
        IDD_ABOUTBOX,          IDD_METER_MANAGE,      IDD_FRAME_MONITOR,        IDD_CHECKSUM,
        IDD_MAC_FRAME_PAGE,    IDD_TIMED_SEND,        IDD_SERIAL_SETTINGS,      IDD_SMART_HOME_MONITOR,
        IDD_NET_FRAME_PAGE,    IDD_PARSE_FRAME,       IDD_APP_FRAME_PAGE,       IDD_FRAME_DETAIL,
        IDD_TEST_PANEL,        IDD_WARNING,           IDD_DEVICE_SEARCH_LIST,   IDD_FRAME_TYPE,
        IDD_LOCAL_SETTINGS,    IDD_CONTINUOUS_SEND,   IDD_TEST_CONTINUOUS_SEND, IDD_ADD_DEVICE,
        IDD_BROADCAST_REPLY_TEST, IDD_SEND_CONSOLE,   IDD_NETWORK_SETTINGS,     IDD_SEND_FRAME,
        IDD_RADIO_CONFIG,      IDD_RELAY_ADDRESS,     IDD_FIND_METER,           IDD_ACQ_UNIT,
    };
    for (int id : templates) {
        SCOPED_TRACE("template " + std::to_string(id));
        const DialogTemplate* t = FindDialogTemplate(id);
        ASSERT_NE(t, nullptr);
        Dialog d(id);
        ASSERT_TRUE(d.Create(dlg.get()));
        d.ShowWindow(true);
        PumpFor(50);
        ExpectNothingClipped(d);
        d.DestroyWindow();
    }
}

// Every page of the function tree, as the main window shows it: the window's own controls and
// the page dialogs it holds show their texts and choices whole.
TEST_F(ToolDialogsDesktopTest, EveryPageOfTheTreeShowsItsTextsWhole) {
    TreeView tree(dlg->GetDlgItem(IDC_FUNCTION_TREE));
    std::vector<int> codes;
    for (TreeItem r = tree.GetRootItem(); r; r = tree.GetNextSibling(r)) {
        codes.push_back(static_cast<int>(tree.GetItemData(r)));
        for (TreeItem item = tree.GetChildItem(r); item; item = tree.GetNextSibling(item))
            codes.push_back(static_cast<int>(tree.GetItemData(item)));
    }
    ASSERT_GT(codes.size(), 20u);
    for (int code : codes) {
        SCOPED_TRACE("page " + std::to_string(code));
        ASSERT_TRUE(testsupport::ClickTreeItem(*dlg, code));
        PumpFor(50);
        ExpectNothingClipped(*dlg);
        for (const Dialog* page : {static_cast<const Dialog*>(&Within<CTestDlg>(*dlg)),
                                   static_cast<const Dialog*>(&Within<CSmartHomeMonitorDlg>(*dlg))}) {
            if (page->IsCreated() && page->IsWindowVisible()) ExpectNothingClipped(*page);
        }
    }
}

}  // namespace

namespace {

TEST_F(ToolDialogsDesktopTest, ARelayRowClickedFlipsItsCheckOnceWhereverItIsClicked) {
    CRelayAddressDlg relays(*dlg);
    ASSERT_TRUE(relays.Create(dlg.get()));
    relays.ShowWindow(true);
    PumpFor(500);
    for (const char* address : {"1", "2"}) {
        relays.SetDlgItemText(IDC_RELAY_ADDRESS, address);
        Button(relays.GetDlgItem(IDC_RELAY_ADD)).Click();
    }
    ListView list(relays.GetDlgItem(IDC_RELAY_LIST));
    ASSERT_EQ(list.GetItemCount(), 2);
    const auto checks = [&] { return std::to_string(list.GetCheck(0)) + std::to_string(list.GetCheck(1)); };
    // Rows lie from the top of the list's viewport, about a line and a half each.
    const Point origin = list.ScreenToClient(Point{0, 0});
    const int rowMiddle = 8;
    for (const auto& click : {std::make_pair(60, "10"), std::make_pair(60, "00"), std::make_pair(9, "10"),
                               std::make_pair(9, "00")}) {
        ASSERT_TRUE(testsupport::ClickScreen(Point{click.first - origin.x, rowMiddle - origin.y}));
        PumpFor(700);  // apart: no double click
        EXPECT_EQ(checks(), click.second) << "click at x " << click.first;
    }
    // With the first row selected, Space and Enter check nothing.
    ASSERT_EQ(list.GetSelectedRows(), std::vector<int>{0});
    ASSERT_TRUE(testsupport::Xdotool({"key", "--delay", "100", "space", "Return"}));
    PumpFor(200);
    EXPECT_EQ(checks(), "00");
    relays.DestroyWindow();
}

}  // namespace
