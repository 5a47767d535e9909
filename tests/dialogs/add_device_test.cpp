// Device adding: records packed from the fields and combos, the list, and the device report
// that carries the checked records to the simulated module.

#include <gtest/gtest.h>

#include "commands/page_payloads.h"
#include "dialogs/add_device_dlg.h"
#include "dialogs/warning_dlg.h"
#include "support/main_window_fixture.h"
#include "test_frames.h"

namespace {

using namespace testsupport;

TEST(DeviceRecords, PackedAsASearchReportCarriesThem) {
    struct Case {
        const char* name;
        DeviceRecordInput input;
        const char* record;  // "": refused
        const char* refusal;
        bool plainBox;
    } const cases[] = {
        {"short MAC, no attribute", {"123", "", "", {0, 1, 3, 0, 0}}, "230100000000100300", "", false},
        // The MAC and group digits as typed; the rest upper case.
        {"multicast", {"a1b2c3d4e5f6", "1a", "4b4c", {0, 2, 5, 1, 0}}, "f6e5d4c3b2a1" "2015" "1a00" "02" "4B4C", "", false},
        {"odd attribute digits", {"1", "", "ABC", {0, 0, 0, 0, 0}}, "010000000000000002" "0ABC", "", false},
        {"fields cut to their widths", {"1", "", "", {0x1F, 0x13, 0x12, 0x02, 0x09}}, "010000000000" "3F22" "00", "", false},
        {"MAC empty", {"", "", "", {}}, "", "Mac地址应为1-12位十六进制数", false},
        {"MAC not hex", {"12G4", "", "", {}}, "", "Mac地址应为1-12位十六进制数", false},
        {"group missing", {"1", "", "", {0, 0, 0, 1, 0}}, "", "请输入组播地址", true},
        {"group not hex", {"1", "12X4", "", {0, 0, 0, 1, 0}}, "", "组播地址应为1-4位十六进制数", false},
        {"attribute not hex", {"1", "", "4G", {}}, "", "属性应为十六进制数", false},
        {"attribute over 255 bytes", {"1", "", std::string(512, 'A'), {}}, "", "属性不能超过255字节", false},
    };
    for (const Case& c : cases) {
        std::string record, refusal;
        bool plainBox = false;
        EXPECT_EQ(CAddDeviceDlg::BuildDeviceRecord(c.input, record, refusal, plainBox), *c.record != 0) << c.name;
        EXPECT_EQ(record, c.record) << c.name;
        EXPECT_EQ(refusal, c.refusal) << c.name;
        EXPECT_EQ(plainBox, c.plainBox) << c.name;
    }
    // 255 attribute bytes are taken, their length byte FF.
    std::string record, refusal;
    bool plainBox = false;
    ASSERT_TRUE(CAddDeviceDlg::BuildDeviceRecord({"1", "", std::string(510, 'b'), {}}, record, refusal, plainBox));
    EXPECT_EQ(record.substr(12, 6), "0000FF");
    EXPECT_EQ(record.size(), 18u + 510u);
}

class AddDeviceTest : public MainWindowWithModule {
protected:
    AddDeviceTest() : MainWindowWithModule(13, true) {}
};

TEST_F(AddDeviceTest, CheckedRecordsGoToTheDeviceReport) {
    OpenPort();
    dlg->SetDlgItemText(IDC_DEVICE_COUNT, "02");
    CAddDeviceDlg adding(ReadDeviceLimit(*dlg));
    std::vector<std::string> combos, rows, warnings;
    dlg->PostTask([&] {
        for (int id : {IDC_ADD_DEVICE_NET_STATE, IDC_ADD_DEVICE_TYPE, IDC_ADD_DEVICE_ADDRESS_MODE})
            combos.push_back(ComboBox(adding.GetDlgItem(id)).GetSelectedText());
        auto add = [&](const char* mac, const char* group, const char* attribute, const char* mode) {
            adding.SetDlgItemText(IDC_ADD_DEVICE_MAC, mac);
            adding.SetDlgItemText(IDC_ADD_DEVICE_GROUP, group);
            adding.SetDlgItemText(IDC_ADD_DEVICE_ATTRIBUTE, attribute);
            ComboBox modes(adding.GetDlgItem(IDC_ADD_DEVICE_ADDRESS_MODE));
            modes.SelectAsUser(modes.FindStringExact(mode));
            Button(adding.GetDlgItem(IDC_ADD_DEVICE_ADD)).Click();
        };
        ComboBox types(adding.GetDlgItem(IDC_ADD_DEVICE_TYPE));
        types.SelectAsUser(types.FindStringExact("BLEMAC地址"));
        ComboBox states(adding.GetDlgItem(IDC_ADD_DEVICE_NET_STATE));
        states.SelectAsUser(states.FindStringExact("属于自己的网络"));
        add("112233445566", "", "01", "00: 非组播");
        add("ab", "1234", "", "01: 组播地址");
        add("77", "", "", "00: 非组播");  // the third: over the limit
        warnings.push_back(WarningBox().IsCreated() ? WarningBox().GetDlgItemText(IDC_WARNING_TEXT) : "");
        ListView list(adding.GetDlgItem(IDC_ADD_DEVICE_LIST));
        for (int r = 0; r < list.GetItemCount(); ++r) rows.push_back(list.GetItemText(r, 0) + "|" + list.GetItemText(r, 1));
        list.SetCheck(1, true);
        Button(adding.GetDlgItem(IDC_ADD_DEVICE_CONFIRM)).Click();
    });
    dlg->AddReportDevices(adding);
    EXPECT_EQ(combos, (std::vector<std::string>{"不在网", "不区分设备类型", "00: 非组播"}));
    EXPECT_EQ(rows, (std::vector<std::string>{"1|66554433221110050101", "2|ab0000000000" "1015" "3412" "00"}));
    EXPECT_EQ(warnings, std::vector<std::string>{"已达到添加设备数目"});
    EXPECT_TRUE(adding.Confirmed());
    EXPECT_EQ(adding.DeviceText(), "ab00000000001015341200");

    // The device report carries the count and the checked record.
    Click(IDC_DEVICE_REPORT);
    ASSERT_TRUE(WaitFor([&] { return sim.ReceivedFrames().size() >= 2; }));
    const ByteString frame = sim.ReceivedFrames().back();
    EXPECT_EQ(Spaced(frame), Spaced(BuildFrame(frame[3], 0x19, FromHex("02 AB 00 00 00 00 00 10 15 34 12 00"))));
}

TEST_F(AddDeviceTest, DeletingAndClosingWithoutConfirmKeepTheOldDevices) {
    dlg->SetDlgItemText(IDC_DEVICE_COUNT, "05");
    CAddDeviceDlg adding(ReadDeviceLimit(*dlg));
    std::vector<std::string> rows, warnings;
    dlg->PostTask([&] {
        // Only the MAC edit has a limit: longer group and attribute texts reach their checks.
        const struct {
            int edit;
            std::string typed;
        } overlong[] = {{IDC_ADD_DEVICE_MAC, "1234567890123"},
                        {IDC_ADD_DEVICE_GROUP, "12345"},
                        {IDC_ADD_DEVICE_ATTRIBUTE, std::string(512, 'A')}};
        ComboBox modes(adding.GetDlgItem(IDC_ADD_DEVICE_ADDRESS_MODE));
        modes.SelectAsUser(modes.FindStringExact("01: 组播地址"));
        for (const auto& o : overlong) Edit(adding.GetDlgItem(o.edit)).TypeText(o.typed);
        warnings.push_back(adding.GetDlgItemText(IDC_ADD_DEVICE_MAC));
        for (int id : {IDC_ADD_DEVICE_GROUP, IDC_ADD_DEVICE_ATTRIBUTE}) {
            Button(adding.GetDlgItem(IDC_ADD_DEVICE_ADD)).Click();
            warnings.push_back(WarningBox().IsCreated() ? WarningBox().GetDlgItemText(IDC_WARNING_TEXT) : "");
            adding.SetDlgItemText(id, "1");
        }
        adding.SetDlgItemText(IDC_ADD_DEVICE_ATTRIBUTE, "");
        modes.SelectAsUser(modes.FindStringExact("00: 非组播"));
        for (const char* mac : {"1", "2", "3"}) {
            adding.SetDlgItemText(IDC_ADD_DEVICE_MAC, mac);
            Button(adding.GetDlgItem(IDC_ADD_DEVICE_ADD)).Click();
        }
        ListView list(adding.GetDlgItem(IDC_ADD_DEVICE_LIST));
        Button all(adding.GetDlgItem(IDC_ADD_DEVICE_SELECT_ALL));
        all.Click();  // checks every row
        list.SetCheck(0, false);
        list.SetCheck(2, false);
        Button(adding.GetDlgItem(IDC_ADD_DEVICE_DELETE)).Click();
        adding.SetDlgItemText(IDC_ADD_DEVICE_MAC, "4");
        Button(adding.GetDlgItem(IDC_ADD_DEVICE_ADD)).Click();
        for (int r = 0; r < list.GetItemCount(); ++r) rows.push_back(list.GetItemText(r, 0));
        adding.PressKey(Key::Enter);  // does nothing
        adding.PressKey(Key::Escape);
    });
    dlg->AddReportDevices(adding);
    EXPECT_EQ(rows, (std::vector<std::string>{"1", "3", "3"}));
    EXPECT_EQ(warnings, (std::vector<std::string>{"123456789012", "组播地址应为1-4位十六进制数", "属性不能超过255字节"}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"确认要清除选中设备信息吗？"});
    EXPECT_EQ(boxes[0].caption, "提示");
    EXPECT_FALSE(adding.Confirmed());
}

}  // namespace
