// The tool dialogs that nothing opens yet, through their handlers: checksum, relays, find meter
// address, acquisition unit, radio configuration and send frame.

#include <gtest/gtest.h>

#include <set>

#include "dialogs/frame_type_dlg.h"
#include "dialogs/hex_frame_text.h"
#include "dialogs/warning_dlg.h"
#include "platform/dialog_template.h"
#include "support/main_window_fixture.h"
#include "test_frames.h"

namespace {

using namespace testsupport;
using testing_frames::Hex;

class DormantDialogsTest : public MainWindowWithModule {
protected:
    DormantDialogsTest() : MainWindowWithModule(16, true) {}

    // Creates the dialog over the main window; it is destroyed with the test.
    template <typename D>
    D& Open(D* made) {
        opened.emplace_back(made);
        EXPECT_TRUE(made->Create(dlg.get()));
        made->ShowWindow(true);
        return *made;
    }
    void TearDown() override {
        for (auto& d : opened)
            if (d->IsCreated()) d->DestroyWindow();
        opened.clear();
        MainWindowWithModule::TearDown();
    }
    std::string Warning() { return WarningBox().IsCreated() ? WarningBox().GetDlgItemText(IDC_WARNING_TEXT) : ""; }
    std::vector<std::unique_ptr<Dialog>> opened;
};

TEST(HexFrameText, BlanksRemovedTextOrderOddRefused) {
    std::vector<std::string> shown;
    MessageBoxHook previous = SetMessageBoxHook([&](const MessageBoxRequest& r) {
        shown.push_back(r.text);
        return kIdOk;
    });
    ByteString bytes;
    EXPECT_TRUE(ParseHexFrameText("0a 02 03", bytes));
    EXPECT_EQ(bytes, Hex("0A 02 03"));
    EXPECT_FALSE(ParseHexFrameText("0a0", bytes));
    EXPECT_FALSE(ParseHexFrameText("0g", bytes));
    SetMessageBoxHook(previous);
    EXPECT_EQ(shown, (std::vector<std::string>{"非有效16进制报文!", "非有效16进制报文!"}));
}

TEST_F(DormantDialogsTest, ChecksumOfATypedFrame) {
    CChecksumDlg& d = Open(new CChecksumDlg);
    EXPECT_EQ(Button(d.GetDlgItem(IDC_CHECKSUM_SUM)).GetCheck(), 1);
    d.SetDlgItemText(IDC_CHECKSUM_FRAME, "79 01 00 40 FF");
    d.OnCompute();
    EXPECT_EQ(d.GetDlgItemText(IDC_CHECKSUM_RESULT), "B9");
    Button(d.GetDlgItem(IDC_CHECKSUM_SUM)).SetCheck(0);
    Button(d.GetDlgItem(IDC_CHECKSUM_XOR)).SetCheck(1);
    d.OnCompute();
    EXPECT_EQ(d.GetDlgItemText(IDC_CHECKSUM_RESULT), "C7");
    d.SetDlgItemText(IDC_CHECKSUM_FRAME, "790");
    d.OnCompute();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"非有效16进制报文!"});
    EXPECT_EQ(d.GetDlgItemText(IDC_CHECKSUM_RESULT), "C7");
}

TEST_F(DormantDialogsTest, RelayListWritesTheWindowsRelaySettings) {
    CRelayAddressDlg& d = Open(new CRelayAddressDlg(*dlg));
    ListView list(d.GetDlgItem(IDC_RELAY_LIST));
    EXPECT_EQ(list.GetColumnHeading(0), "RELAY ADDRESS");
    auto add = [&](const char* text) {
        d.SetDlgItemText(IDC_RELAY_ADDRESS, text);
        Button(d.GetDlgItem(IDC_RELAY_ADD)).Click();
    };
    EXPECT_EQ(Edit(d.GetDlgItem(IDC_RELAY_ADDRESS)).GetLimitText(), 12);
    // A written text is checked whole, past the edit's typing limit; blanks are no digits.
    for (const char* bad : {"1 2A", "12A", "1234567890123", "123456 7890123"}) add(bad);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>(4, "输入表地址长度过长或不是BCD格式"));
    EXPECT_EQ(list.GetItemCount(), 0);
    for (const char* good : {"12 3", "", "3", "4", "5", "6"}) add(good);
    EXPECT_EQ(Warning(), "");
    add("7");
    EXPECT_EQ(Warning(), "已达到中继数目6");
    ASSERT_EQ(list.GetItemCount(), 6);
    EXPECT_EQ(list.GetItemText(0, 0), "000000000123");
    EXPECT_EQ(list.GetItemText(1, 0), "000000000000");  // empty: all zeros

    // Rows 1 and 4 checked: Shift checks 2 and 3.
    list.SetCheck(0, true);
    list.SetCheck(3, true);
    d.PressKey(Key::Shift);
    std::string checks;
    for (int r = 0; r < 6; ++r) checks += list.GetCheck(r) ? '1' : '0';
    EXPECT_EQ(checks, "111100");
    Button(d.GetDlgItem(IDC_RELAY_INDEX_CHECK)).SetCheck(1);
    d.SetDlgItemText(IDC_RELAY_INDEX, "07");
    Button(d.GetDlgItem(IDC_RELAY_CONFIRM)).Click();
    const RelaySettings& relays = dlg->Relays();
    EXPECT_EQ(relays.count, 4);
    EXPECT_EQ(relays.addresses[0] + relays.addresses[3], "000000000123000000000004");
    EXPECT_TRUE(relays.enabled);
    EXPECT_TRUE(relays.indexOn);
    EXPECT_EQ(relays.indexText, "07");
    Button(d.GetDlgItem(IDC_RELAY_USE)).Click();  // unticked: relays off
    EXPECT_FALSE(dlg->Relays().enabled);

    boxes.clear();
    Button(d.GetDlgItem(IDC_RELAY_DELETE)).Click();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"确认要清除选中表地址吗？"});
    EXPECT_EQ(list.GetItemCount(), 2);
}

// The popup's left and top as the warning box centres it over parent.
Point CentredOver(const Dialog& parent, const Dialog& popup) {
    const Rect p = parent.GetWindowRect(), q = popup.GetWindowRect();
    return Point{p.left + (p.Width() - q.Width()) / 2, p.top + (p.Height() - q.Height()) / 2};
}

TEST_F(DormantDialogsTest, TheWarningBoxIsReusedWhileItExistsRecentredWithItsNewText) {
    CRelayAddressDlg& d = Open(new CRelayAddressDlg(*dlg));
    for (const char* address : {"1", "2", "3", "4", "5", "6", "7"}) {
        d.SetDlgItemText(IDC_RELAY_ADDRESS, address);
        Button(d.GetDlgItem(IDC_RELAY_ADD)).Click();
    }
    CWarningDlg& box = WarningBox();
    ASSERT_TRUE(box.IsCreated());
    const uint64_t window = box.GetDlgItem(IDC_WARNING_TEXT).UniqueId();
    ASSERT_NE(window, 0u);
    // Its picture shows an image, not an empty face: across it, ground, sign and mark.
    const Window picture = box.GetDlgItem(IDC_WARNING_PICTURE);
    const Rect area = picture.GetClientRect();
    std::set<ColorRef> colours;
    for (int i = 1; i < 6; ++i)
        for (int j = 1; j < 6; ++j) colours.insert(picture.GetPixel({area.Width() * i / 6, area.Height() * j / 6}));
    EXPECT_GE(colours.size(), 3u);
    box.SetText("");
    box.PressKey(Key::Escape);  // hides it
    ASSERT_FALSE(box.IsWindowVisible());

    const Rect r = d.GetWindowRect();
    d.MoveWindow(r.left + 40, r.top + 30, r.Width(), r.Height());
    Button(d.GetDlgItem(IDC_RELAY_ADD)).Click();
    EXPECT_EQ(box.GetDlgItem(IDC_WARNING_TEXT).UniqueId(), window);
    EXPECT_TRUE(box.IsWindowVisible());
    EXPECT_EQ(Warning(), "已达到中继数目6");
    const Point at = CentredOver(d, box);
    EXPECT_EQ(box.GetWindowRect().left, at.x);
    EXPECT_EQ(box.GetWindowRect().top, at.y);

    // "确定" ends it; the next warning makes it anew.
    Button(box.GetDlgItem(IDC_WARNING_OK)).Click();
    EXPECT_FALSE(box.IsCreated());
    Button(d.GetDlgItem(IDC_RELAY_ADD)).Click();
    EXPECT_TRUE(box.IsCreated() && box.IsWindowVisible());
}

TEST_F(DormantDialogsTest, FrameTypePageShowsItsLabelsAsADialogDoesAndAddsTheAboutItem) {
    CFrameTypeDlg& d = Open(new CFrameTypeDlg);
    const std::vector<std::string> items = d.SystemMenuItems();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[items.size() - 2], "");
    EXPECT_EQ(items.back(), LoadResString(IDS_ABOUTBOX));
    // "&&" in a label's text shows one '&'.
    const DialogTemplate* t = FindDialogTemplate(IDD_FRAME_TYPE);
    ASSERT_NE(t, nullptr);
    int shown = 0;
    for (size_t i = 0; i < t->controls.size(); ++i) {
        if (std::string(t->controls[i].caption) != "SFO&&SEQ:") continue;
        EXPECT_EQ(d.GetTemplateControl(static_cast<int>(i)).GetText(), "SFO&SEQ:");
        ++shown;
    }
    EXPECT_EQ(shown, 1);
}

TEST_F(DormantDialogsTest, FindMeterAddressReportsEveryGroup) {
    CFindMeterAddressDlg& d = Open(new CFindMeterAddressDlg);
    d.SetDlgItemText(IDC_FIND_METER_SHORT, "1234 abcd");
    Button(d.GetDlgItem(IDC_FIND_METER_FIND)).Click();
    EXPECT_EQ(d.GetDlgItemText(IDC_FIND_METER_RESULT),
              "查找长地址信息：\r\n\r\n1234长地址为找到\r\n-->\r\nabcd长地址为找到\r\n\r\n");
    d.SetDlgItemText(IDC_FIND_METER_SHORT, "123456");
    Button(d.GetDlgItem(IDC_FIND_METER_FIND)).Click();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"输入正确短地址"});
    EXPECT_EQ(Warning(), "123");
}

TEST_F(DormantDialogsTest, AcquisitionUnitSettingsAreStoredAndShownAgain) {
    CAcqUnitAddressDlg& d = Open(new CAcqUnitAddressDlg(*dlg));
    EXPECT_EQ(d.GetDlgItemText(IDC_ACQ_UNIT_ADDRESS), "111111111111");
    EXPECT_EQ(ComboBox(d.GetDlgItem(IDC_ACQ_UNIT_POSITION)).GetSelectedText(), "数据域尾部");
    Button(d.GetDlgItem(IDC_ACQ_UNIT_READ_VIA)).Click();
    d.SetDlgItemText(IDC_ACQ_UNIT_ADDRESS, "");
    Button(d.GetDlgItem(IDC_ACQ_UNIT_CONFIRM)).Click();
    EXPECT_EQ(Warning(), "请输入采集器地址");
    EXPECT_EQ(dlg->AcqUnit().address, ByteString(6, 0));
    d.SetDlgItemText(IDC_ACQ_UNIT_ADDRESS, "112233445566");
    ComboBox(d.GetDlgItem(IDC_ACQ_UNIT_POSITION)).SelectAsUser(0);
    Button(d.GetDlgItem(IDC_ACQ_UNIT_CONFIRM)).Click();
    EXPECT_TRUE(dlg->AcqUnit().readVia);
    EXPECT_EQ(dlg->AcqUnit().address, Hex("66 55 44 33 22 11"));
    EXPECT_EQ(dlg->AcqUnit().position, 1);

    CAcqUnitAddressDlg& again = Open(new CAcqUnitAddressDlg(*dlg));
    EXPECT_EQ(again.GetDlgItemText(IDC_ACQ_UNIT_ADDRESS), "112233445566");
    EXPECT_EQ(Button(again.GetDlgItem(IDC_ACQ_UNIT_READ_VIA)).GetCheck(), 1);
    EXPECT_EQ(ComboBox(again.GetDlgItem(IDC_ACQ_UNIT_POSITION)).GetSelectedText(), "数据域头部");
}

TEST(RadioConfigReplies, ExplainedBySubCode) {
    struct Case {
        const char* data;
        int end;
        const char* text;
    } const cases[] = {
        {"10 05 02", 3, "读取本地配置\n信道组号：5  发射功率：次低发射功率:4dBm\n"},
        {"10 05", 2, "读取本地配置\n\n"},
        {"10", -1, "读取本地配置\n\nError:报文不完整\n"},
        {"10 07 09", 3, "读取本地配置\n信道组号：7  发射功率：\n"},
        {"11 20", 2, "设置信道组号  信道组号：32\n"},
        {"11", -1, "设置信道组号  \nError:报文不完整\n"},
        {"12 00", 2, "设置发射功率  发射功率：最高发射功率:16dBm\n"},
        {"12", -1, "设置发射功率  \nError:报文不完整\n"},
        {"FF 01", 2, "确认\n"},
        {"FF 02", 2, "确认\n"},
        {"FF 80", 2, "确认\n"},
        {"FF 00", 2, "否认\n"},
        {"FF", 1, "否认\n"},
        {"13 01", 1, ""},
    };
    for (const Case& c : cases) {
        std::string text;
        EXPECT_EQ(CRadioConfigDlg::ParseLocalConfigReply(text, Hex(c.data), 0), c.end) << c.data;
        EXPECT_EQ(text, c.text) << c.data;
    }
}

TEST_F(DormantDialogsTest, RadioConfigLogsAnswersAndOffersThePowerLevels) {
    CRadioConfigDlg& d = Open(new CRadioConfigDlg);
    ComboBox power(d.GetDlgItem(IDC_RADIO_POWER));
    ASSERT_EQ(power.GetCount(), 4);
    EXPECT_EQ(power.GetSelectedText(), "最高发射功率:16dBm");
    EXPECT_EQ(power.GetLBText(3), "最低发射功率:-2dBm");
    d.OnReceiveFrame(Hex("12"));
    EXPECT_EQ(d.GetDlgItemText(IDC_RADIO_LOG),
              "接收<----：12 \r\n设置发射功率  \r\nError:报文不完整\r\n报文解析失败\r\n"
              "---------------------------------------------\r\n");
    d.SetDlgItemText(IDC_RADIO_LOG, "");
    d.OnReceiveFrame(Hex("FF"));
    EXPECT_EQ(d.GetDlgItemText(IDC_RADIO_LOG),
              "接收<----：FF \r\n否认\r\n---------------------------------------------\r\n");
    d.PressKey(Key::Escape);
    d.PressKey(Key::Enter);
    EXPECT_TRUE(d.IsWindowVisible());
}

TEST_F(DormantDialogsTest, SendFrameSendsTheTypedFrame) {
    OpenPort();
    CSendFrameDlg& d = Open(new CSendFrameDlg(*dlg));
    d.SetDlgItemText(IDC_SEND_FRAME_TEXT, "79 00 00 40 01 41 41");
    Button(d.GetDlgItem(IDC_SEND_FRAME_SEND)).Click();
    EXPECT_EQ(NextFrame(), "79 00 00 40 02 42 42 ");  // the opening's version request
    EXPECT_EQ(NextFrame(), "79 00 00 40 01 41 41 ");
    d.SetDlgItemText(IDC_SEND_FRAME_TEXT, "79 0");
    Button(d.GetDlgItem(IDC_SEND_FRAME_SEND)).Click();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"非有效16进制报文!"});
}

}  // namespace
