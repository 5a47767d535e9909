// Parameter configuration over the address list, against the simulated module answering per
// address: echoing, silent, answering for another address or abnormally.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/config_params.h"
#include "res/resource_ids.h"
#include "support/main_window_fixture.h"
#include "test_frames.h"

namespace {

using testsupport::WireBytes;
using kvtsim::Bytes;
using kvtsim::BuildFrame;
using kvtsim::FromHex;

TEST(ConfigParams, PayloadAndJudgement) {
    ByteString payload;
    BuildConfigParamsPayload("010018081720", ConfigIndexValue("3"), ConfigDataValue("1000"), payload);
    EXPECT_EQ(payload, testing_frames::Hex("01 00 18 08 17 20 03 E8 03 00 00"));
    EXPECT_EQ(ConfigDataValue("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ConfigDataValue("4294967297"), 1u);  // the low 32 bits of a 64-bit number
    EXPECT_EQ(ConfigDataValue("abc"), 0u);
    EXPECT_EQ(ConfigIndexValue("259"), 3);
    const Bytes data = WireBytes("201708180001") + FromHex("03 E8 03 00 00");
    const struct {
        const char* name;
        Bytes frame;
        TestStatus status;
    } cases[] = {
        {"echo", BuildFrame(0x80, 0xE2, data), TestStatus::Success},
        {"abnormal", BuildFrame(0xA0, 0xE2, data), TestStatus::Failure},
        {"from the host", BuildFrame(0x00, 0xE2, data), TestStatus::Failure},
        {"short", BuildFrame(0x80, 0xE2, data.substr(0, 8)), TestStatus::Failure},
        {"last address byte differs", BuildFrame(0x80, 0xE2, WireBytes("211708180001") + FromHex("03 E8 03 00 00")),
         TestStatus::Failure},
        {"other index", BuildFrame(0x80, 0xE2, WireBytes("201708180001") + FromHex("04 E8 03 00 00")),
         TestStatus::Failure},
        {"other value", BuildFrame(0x80, 0xE2, WireBytes("201708180001") + FromHex("03 E8 03 00 01")),
         TestStatus::Failure},
    };
    for (const auto& c : cases) EXPECT_EQ(JudgeConfigReply(c.frame, "010018081720", 3, 1000), c.status) << c.name;
}

class ConfigParamsTest : public testsupport::MainWindowWithModule {
protected:
    ConfigParamsTest() : MainWindowWithModule(11, true) {}
    ListView Addresses() { return ListOf(IDC_ADDRESS_LIST); }
};

TEST_F(ConfigParamsTest, EachCheckedDeviceIsMarkedByItsAnswer) {
    const auto answer = [](const char* address) {
        return BuildFrame(0x80, 0xE2, WireBytes(address) + FromHex("03 E8 03 00 00"));
    };
    const struct {
        const char* address;
        bool checked;
        Bytes answer;
        const char* result;
    } rows[] = {
        {"201708180001", true, answer("201708180001"), "成功"},
        {"000000000002", true, {}, "失败"},
        {"000000000003", true, answer("100000000003"), "失败"},
        {"000000000004", true, BuildFrame(0xA0, 0xE2, WireBytes("4") + FromHex("03 E8 03 00 00")), "失败"},
        {"000000000005", false, answer("000000000005"), "old"},
    };
    for (const auto& r : rows) {
        Addresses().SetCheck(Addresses().AppendRow({"", r.address, "old", "old"}), r.checked);
        sim.SetAnswerFor(0xE1, 0, WireBytes(r.address), r.answer);
    }
    OpenPort();
    dlg->SetDlgItemText(IDC_CONFIG_INDEX, "3");
    dlg->SetDlgItemText(IDC_CONFIG_DATA, "1000");
    Click(IDC_CONFIG_PARAMS);
    for (int id : {IDC_CONFIG_PARAMS, IDC_CONFIG_INDEX, IDC_CONFIG_DATA}) EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_TRUE(WaitFor([&] { return Enabled(IDC_CONFIG_PARAMS); }, 20000));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Addresses().GetItemText(i, 2), rows[i].result) << rows[i].address;
    EXPECT_TRUE(boxes.empty());
    const auto frames = sim.ReceivedFrames();
    ASSERT_EQ(frames.size(), 5u);  // the version request of the opening, then one per checked row
    EXPECT_EQ(testsupport::Spaced(frames[1]), "79 0B 00 40 E1 01 00 18 08 17 20 03 E8 03 00 00 72 64 ");
}

// An empty edit refuses every checked address in turn, with its message once each: nothing is
// sent, the checked rows are left blank.
TEST_F(ConfigParamsTest, RefusalsSendNothingAndEnableTheControlsAgain) {
    for (const char* address : {"000000000001", "000000000002", "000000000003"})
        Addresses().SetCheck(Addresses().AppendRow({"", address, "old", "old"}), address[11] != '3');
    dlg->SetDlgItemText(IDC_CONFIG_INDEX, "3");
    dlg->SetDlgItemText(IDC_CONFIG_DATA, "1");
    Click(IDC_CONFIG_PARAMS);
    EXPECT_EQ(Addresses().GetItemText(0, 2), "old");
    OpenPort();
    const struct {
        const char* index;
        const char* data;
    } cases[] = {{"", "1"}, {"3", ""}, {"", ""}};
    size_t said = boxes.size();
    for (const auto& c : cases) {
        dlg->SetDlgItemText(IDC_CONFIG_INDEX, c.index);
        dlg->SetDlgItemText(IDC_CONFIG_DATA, c.data);
        Click(IDC_CONFIG_PARAMS);
        said += 2;  // once for each checked address
        EXPECT_TRUE(WaitFor([&] { return boxes.size() >= said && Enabled(IDC_CONFIG_PARAMS); }));
    }
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"串口未开", "请输入index值", "请输入index值", "请输入data值",
                                                    "请输入data值", "请输入index值", "请输入index值"}));
    EXPECT_EQ(sim.ReceivedFrames().size(), 1u);  // the version request of the opening
    for (int row : {0, 1})
        for (int column : {2, 3}) EXPECT_EQ(Addresses().GetItemText(row, column), " ") << row << column;
    EXPECT_EQ(Addresses().GetItemText(2, 2), "old");
}

// With no address checked nothing is said, even with an edit empty; more than 35 are refused
// with the list's message, and no row is touched.
TEST_F(ConfigParamsTest, CheckedAddressesFromNoneToTooMany) {
    OpenPort();
    dlg->SetDlgItemText(IDC_CONFIG_INDEX, "");
    dlg->SetDlgItemText(IDC_CONFIG_DATA, "1");
    Click(IDC_CONFIG_PARAMS);
    PumpFor(100);
    EXPECT_TRUE(Enabled(IDC_CONFIG_PARAMS));
    EXPECT_TRUE(boxes.empty());
    for (int i = 1; i <= 36; ++i)
        Addresses().SetCheck(Addresses().AppendRow({"", std::to_string(i), "old", "old"}), true);
    dlg->SetDlgItemText(IDC_CONFIG_INDEX, "3");
    Click(IDC_CONFIG_PARAMS);
    PumpFor(100);
    EXPECT_TRUE(Enabled(IDC_CONFIG_PARAMS));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"最大允许升级表数目为35"}));
    EXPECT_EQ(sim.ReceivedFrames().size(), 1u);  // the version request of the opening
    EXPECT_EQ(Addresses().GetItemText(35, 2), "old");
}

}  // namespace
