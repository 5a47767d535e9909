// The data and version tests over the address list, against the simulated module: the frames
// that reach it, the status and time of every row, stopping a run and closing the window in one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/tool_window_fixture.h"
#include "res/resource_ids.h"
#include "test_frames.h"

namespace {

using kvtsim::Bytes;
using kvtsim::BuildFrame;
using kvtsim::FromHex;

// How a device behaves when asked.
enum class Device { Answers, Silent, Late };

struct RowCase {
    const char* address;  // as typed in the list
    bool checked;
    Device device;
    Bytes answer;          // the device's answer when it answers
    const char* result;    // the row afterwards
    const char* time;
};

// The six address bytes in the order the frame carries them.
Bytes WireBytes(const std::string& typed) {
    std::string padded = std::string(12 - typed.size(), '0') + typed;
    Bytes b;
    for (int i = 5; i >= 0; --i) b.push_back(static_cast<unsigned char>(std::stoi(padded.substr(2 * i, 2), nullptr, 16)));
    return b;
}

class BatchTestsTest : public dialog_tests::ToolWindowTest {
protected:
    ListView Addresses() { return ListView(dlg->GetDlgItem(IDC_ADDRESS_LIST)); }

    void SetUp() override {
        ToolWindowTest::SetUp();
        // Header: sent by the host, initiated, normal answer, channel 5281PLC (control 0x40).
        const std::pair<int, const char*> header[] = {{IDC_DIRECTION_COMBO, "主机发出帧"},
                                                      {IDC_INITIATOR_COMBO, "主动发起"},
                                                      {IDC_REPLY_STATUS_COMBO, "正常应答"},
                                                      {IDC_CHANNEL_TYPE_COMBO, "5281PLC"}};
        for (const auto& c : header) {
            ComboBox combo(dlg->GetDlgItem(c.first));
            combo.SetCurSel(combo.FindStringExact(c.second));
        }
        dlg->SetDlgItemText(IDC_USER_DATA, "A55A");
    }

    // The rows, and the devices behind them scripted for a command whose address stands at offset.
    void Prepare(const std::vector<RowCase>& rows, uint8_t command, size_t offset) {
        for (const RowCase& r : rows) {
            const int i = Addresses().AppendRow({"", r.address, "old", "old"});
            Addresses().SetCheck(i, r.checked);
            const Bytes answer = r.device == Device::Silent ? Bytes() : r.answer;
            const auto delay = std::chrono::milliseconds(r.device == Device::Late ? 1300 : 0);
            sim.SetAnswerFor(command, offset, WireBytes(r.address), answer, delay);
        }
    }

    void ExpectRows(const std::vector<RowCase>& rows) {
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(Addresses().GetItemText(static_cast<int>(i), 2), rows[i].result) << rows[i].address;
            EXPECT_EQ(Addresses().GetItemText(static_cast<int>(i), 3), rows[i].time) << rows[i].address;
        }
    }

    // The frames the module received after the version request of the opening.
    std::vector<std::string> FramesAfterOpening() {
        std::vector<std::string> frames;
        const auto all = sim.ReceivedFrames();
        for (size_t i = 1; i < all.size(); ++i) frames.push_back(dialog_tests::SpacedHex(testsupport::B(all[i])));
        return frames;
    }

    bool Enabled(int id) { return dlg->GetDlgItem(id).IsEnabled(); }
};

TEST_F(BatchTestsTest, DataTestMarksEachCheckedRowWithItsAnswerAndTime) {
    const Bytes ok = BuildFrame(0x80, 0x14, {});
    const std::vector<RowCase> rows = {
        {"000000000001", true, Device::Answers, ok, "成功", "00 ms"},
        {"2", true, Device::Answers, BuildFrame(0x80, 0x14, FromHex("01")), "失败", "00 ms"},
        {"000000000003", true, Device::Answers, BuildFrame(0xA0, 0x14, {}), "失败", "00 ms"},
        {"00000000000a", true, Device::Answers, BuildFrame(0x80, 0x16, {}), "成功", "00 ms"},
        {"000000000005", false, Device::Answers, ok, "old", "old"},
        {"000000000006", true, Device::Silent, ok, "失败", "01 秒"},
        {"000000000007", true, Device::Late, ok, "失败", "01 秒"},
    };
    Prepare(rows, 0x14, 2);
    OpenPort();
    ListView(dlg->GetDlgItem(IDC_DATA_LOG)).AppendRow({"x", "x", "x"});
    Button(dlg->GetDlgItem(IDC_START_DATA_TEST)).Click();
    EXPECT_FALSE(Enabled(IDC_START_DATA_TEST));
    ASSERT_TRUE(WaitFor([&] { return Enabled(IDC_START_DATA_TEST); }, 20000));
    ExpectRows(rows);
    EXPECT_TRUE(boxes.empty());
    // One frame per checked address, in list order; the data log starts afresh with the first.
    const std::vector<std::string> frames = FramesAfterOpening();
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[0], "79 0C 00 40 14 33 08 01 00 00 00 00 00 02 00 A5 5A 9D 9F ");
    EXPECT_EQ(frames[1].substr(21, 18), "02 00 00 00 00 00 ");
    EXPECT_EQ(frames[3].substr(21, 18), "0A 00 00 00 00 00 ");
    EXPECT_EQ(frames[5].substr(21, 18), "07 00 00 00 00 00 ");
    ListView log(dlg->GetDlgItem(IDC_DATA_LOG));
    ASSERT_TRUE(WaitFor([&] { return log.GetItemCount() >= 6; }));
    EXPECT_EQ(log.GetItemText(0, 2), frames[0]);
}

TEST_F(BatchTestsTest, VersionTestComparesTheVersionOfEachDevice) {
    // Data: the device's address, six bytes nobody reads, then the version, last byte first.
    const auto reply = [](const char* address, const char* version, uint8_t control = 0x80) {
        return BuildFrame(control, 0x52, WireBytes(address) + FromHex("000000000000") + FromHex(version));
    };
    const std::vector<RowCase> rows = {
        {"000000000011", true, Device::Answers, reply("11", "01 02 03"), "成功", " "},
        {"000000000012", true, Device::Answers, reply("12", "01 02 04"), "版本不一致", " "},
        {"000000000013", true, Device::Answers, reply("13", ""), "失败", " "},
        {"000000000014", true, Device::Answers, reply("99", "01 02 03"), " ", " "},
        {"000000000015", true, Device::Answers, reply("15", "01 02 03", 0xA0), "失败", " "},
        {"000000000016", false, Device::Answers, reply("16", "01 02 03"), "old", "old"},
        {"000000000017", true, Device::Silent, {}, "失败", " "},
        {"000000000018", true, Device::Late, reply("18", "01 02 03"), "失败", " "},
    };
    Prepare(rows, 0x52, 1);
    OpenPort();
    dlg->SetDlgItemText(IDC_EXPECTED_VERSION, "030201");
    Button(dlg->GetDlgItem(IDC_VERSION_TEST)).Click();
    for (int id : {IDC_UPGRADE_CHOOSE_FILE, IDC_EXPECTED_VERSION, IDC_BAUD_RATE_COMBO, IDC_PARITY_COMBO})
        EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_TRUE(WaitFor([&] { return Enabled(IDC_EXPECTED_VERSION); }, 20000));
    ExpectRows(rows);
    const std::vector<std::string> frames = FramesAfterOpening();
    ASSERT_EQ(frames.size(), 7u);
    EXPECT_EQ(frames[0], "79 07 00 40 52 00 11 00 00 00 00 00 AA 04 ");
    EXPECT_EQ(frames[6].substr(18, 18), "18 00 00 00 00 00 ");
}

TEST_F(BatchTestsTest, VersionTestWithoutAnOpenPortLogsOneRowPerAddress) {
    Prepare({{"21", true, Device::Silent, {}, "", ""}, {"22", true, Device::Silent, {}, "", ""}}, 0x52, 1);
    Button(dlg->GetDlgItem(IDC_VERSION_TEST)).Click();
    ListView log(dlg->GetDlgItem(IDC_FRAME_LOG));
    ASSERT_TRUE(WaitFor([&] { return log.GetItemCount() == 2 && Enabled(IDC_EXPECTED_VERSION); }));
    EXPECT_EQ(log.GetItemText(1, 2), "串 口 未 打 开 ");
    EXPECT_EQ(Addresses().GetItemText(0, 2), " ");
    EXPECT_EQ(sim.ReceivedFrames().size(), 0u);
}

TEST_F(BatchTestsTest, DataTestRefusesWithoutPortOrWithTooManyAddresses) {
    struct Case {
        bool open;
        int checked;
        const char* message;
    } cases[] = {{false, 1, "串口未打开"}, {true, 36, "最大允许升级表数目为35"}, {true, 0, nullptr}};
    for (const Case& c : cases) {
        Addresses().DeleteAllItems();
        for (int i = 0; i < 36; ++i) Addresses().SetCheck(Addresses().AppendRow({"", std::to_string(i)}), i < c.checked);
        if (c.open && !dlg->Link().IsPortOpen()) OpenPort();
        const size_t frames = sim.ReceivedFrames().size();
        boxes.clear();
        Button(dlg->GetDlgItem(IDC_START_DATA_TEST)).Click();
        ASSERT_EQ(boxes.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(boxes[0].text, c.message);
        }
        EXPECT_TRUE(Enabled(IDC_START_DATA_TEST));
        PumpFor(200);
        EXPECT_EQ(sim.ReceivedFrames().size(), frames);
        EXPECT_EQ(Addresses().GetItemText(0, 2), "");
    }
}

TEST_F(BatchTestsTest, StopOrCloseEndsARunWithinItsWaitAndLeavesTheRestAlone) {
    for (bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "stop");
        Addresses().DeleteAllItems();
        std::vector<RowCase> rows;
        for (const char* a : {"31", "32", "33", "34"}) rows.push_back({a, true, Device::Silent, {}, " ", " "});
        rows[0].result = "失败";
        rows[0].time = "01 秒";
        Prepare(rows, 0x14, 2);
        if (!dlg->Link().IsPortOpen()) OpenPort();
        sim.ClearReceived();
        Button(dlg->GetDlgItem(IDC_START_DATA_TEST)).Click();
        // The second address is sent after the first's wait; the run is stopped within the second's.
        ASSERT_TRUE(WaitFor([&] { return sim.ReceivedFrames().size() == 2; }));
        if (close)
            dlg->Close();
        else
            dlg->StopBatchTests();
        PumpFor(1500);
        EXPECT_EQ(sim.ReceivedFrames().size(), 2u);
        ExpectRows(rows);
        if (!close) {
            EXPECT_TRUE(Enabled(IDC_START_DATA_TEST));
        }
    }
}

TEST_F(BatchTestsTest, ResetStatisticsGoIntoTheRowOfTheAddressUnlessTheReplyIsShort) {
    const ByteString reply = testing_frames::MakeFrame(
        0x80, 0xF4, "03 41 00 00 00 00 00 11 22 33 44 01 00 00 00 02 00 00 00 FF FF FF FF 00 00 00 01");
    for (size_t cut : {size_t{0}, size_t{3}}) {
        Addresses().DeleteAllItems();
        Addresses().AppendRow({"", "abcd", "", "", "", "", "", "", "", ""});
        dlg->SetResetStatisticsRow("00000000ABCD", reply.substr(0, reply.size() - cut));
        const std::vector<std::string> expected =
            cut == 0 ? std::vector<std::string>{"44332211", "1", "2", "4294967295", "16777216"}
                     : std::vector<std::string>{"", "", "", "", ""};
        for (int c : {4, 6, 7, 8, 9}) EXPECT_EQ(Addresses().GetItemText(0, c), expected[c == 4 ? 0 : c - 5]) << c;
    }
}

}  // namespace
