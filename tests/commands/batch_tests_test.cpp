// The data and version tests over the address list, against the simulated module: the frames
// that reach it, the status and time of every row, stopping a run and closing the window in one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/reset_info.h"
#include "support/main_window_fixture.h"
#include "res/resource_ids.h"
#include "test_frames.h"

namespace {

using testsupport::WireBytes;
using kvtsim::Bytes;
using kvtsim::BuildFrame;
using kvtsim::FromHex;

struct RowCase {
    const char* address;  // as typed in the list
    bool checked;
    Bytes answer;         // empty: the device stays silent
    int lateMs;           // the answer comes this late
    const char* result;   // the row afterwards
    const char* time;
};

class BatchTestsTest : public testsupport::MainWindowWithModule {
protected:
    BatchTestsTest() : MainWindowWithModule(11, true) {}
    ListView Addresses() { return ListOf(IDC_ADDRESS_LIST); }

    void SetUp() override {
        MainWindowWithModule::SetUp();
        dlg->SetDlgItemText(IDC_USER_DATA, "A55A");
    }

    // The rows, and the devices behind them, scripted for a command whose address is at offset.
    void Prepare(const std::vector<RowCase>& rows, uint8_t command, size_t offset) {
        for (const RowCase& r : rows) {
            Addresses().SetCheck(Addresses().AppendRow({"", r.address, "old", "old"}), r.checked);
            sim.SetAnswerFor(command, offset, WireBytes(r.address), r.answer, std::chrono::milliseconds(r.lateMs));
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
        for (size_t i = 1; i < all.size(); ++i) frames.push_back(testsupport::Spaced(all[i]));
        return frames;
    }
};

TEST_F(BatchTestsTest, DataTestMarksEachCheckedRowWithItsAnswerAndTime) {
    const Bytes ok = BuildFrame(0x80, 0x14, {});
    // The clock stands still: an answer takes "00 ms"; a silent or late device its whole second.
    const std::vector<RowCase> rows = {
        {"000000000006", true, {}, 0, "失败", "01 秒"},
        {"000000000001", true, ok, 0, "成功", "00 ms"},
        {"2", true, BuildFrame(0x80, 0x14, FromHex("01")), 0, "失败", "00 ms"},
        {"000000000003", true, BuildFrame(0xA0, 0x14, {}), 0, "失败", "00 ms"},
        {"00000000000a", true, BuildFrame(0x80, 0x16, {}), 0, "成功", "00 ms"},
        {"000000000005", false, ok, 0, "old", "old"},
        {"000000000007", true, ok, 1300, "失败", "01 秒"},
    };
    Prepare(rows, 0x14, 2);
    OpenPort();
    ListView log = ListOf(IDC_DATA_LOG);
    log.AppendRow({"x", "x", "x"});
    // An answer before the run is none of the first device's.
    ASSERT_TRUE(sim.Send(ok));
    ASSERT_TRUE(WaitFor([&] { return log.GetItemCount() == 2; }));
    Click(IDC_START_DATA_TEST);
    EXPECT_FALSE(Enabled(IDC_START_DATA_TEST));
    ASSERT_TRUE(WaitFor([&] { return Enabled(IDC_START_DATA_TEST); }, 20000));
    ExpectRows(rows);
    EXPECT_TRUE(boxes.empty());
    // One frame per checked address (each device answered its own); the data log starts afresh.
    const std::vector<std::string> frames = FramesAfterOpening();
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[1], "79 0C 00 40 14 33 08 01 00 00 00 00 00 02 00 A5 5A 9D 9F ");
    ASSERT_TRUE(WaitFor([&] { return log.GetItemCount() >= 6; }));
    EXPECT_EQ(log.GetItemText(0, 2), frames[0]);
}

TEST_F(BatchTestsTest, VersionTestComparesTheVersionOfEachDevice) {
    // Data: the device's address, six bytes nobody reads, then the version, last byte first.
    const auto reply = [](const char* address, const char* version, uint8_t control = 0x80) {
        return BuildFrame(control, 0x52, WireBytes(address) + FromHex("000000000000") + FromHex(version));
    };
    const std::vector<RowCase> rows = {
        {"000000000011", true, reply("11", "01 02 03"), 0, "成功", " "},
        {"000000000012", true, reply("12", "01 02 04"), 0, "版本不一致", " "},
        // No version after the skipped bytes: an empty one, another than the one typed.
        {"000000000013", true, reply("13", ""), 0, "版本不一致", " "},
        {"000000000014", true, reply("99", "01 02 03"), 0, " ", " "},
        // Another device's reply, then its own, in one wait: its own is judged.
        {"000000000019", true, reply("99", "01 02 03") + reply("19", "01 02 03"), 0, "成功", " "},
        {"000000000015", true, reply("15", "01 02 03", 0xA0), 0, "失败", " "},
        {"000000000016", false, reply("16", "01 02 03"), 0, "old", "old"},
        // Too late, the answer comes in the next device's wait: it is another device's there.
        {"000000000018", true, reply("18", "01 02 03"), 900, "失败", " "},
        {"000000000017", true, {}, 0, " ", " "},
    };
    Prepare(rows, 0x52, 1);
    OpenPort();
    dlg->SetDlgItemText(IDC_EXPECTED_VERSION, "030201");
    Click(IDC_VERSION_TEST);
    for (int id : {IDC_UPGRADE_CHOOSE_FILE, IDC_EXPECTED_VERSION, IDC_BAUD_RATE_COMBO, IDC_PARITY_COMBO})
        EXPECT_FALSE(Enabled(id)) << id;
    ASSERT_TRUE(WaitFor([&] { return Enabled(IDC_EXPECTED_VERSION); }, 20000));
    ExpectRows(rows);
    const std::vector<std::string> frames = FramesAfterOpening();
    ASSERT_EQ(frames.size(), 8u);
    EXPECT_EQ(frames[0], "79 07 00 40 52 00 11 00 00 00 00 00 AA 04 ");

    // With nothing typed, a reply that carries no version is one of the same version. The
    // parity combo goes into the query's second and third bits, not into the comparison.
    const std::vector<RowCase> empty = {
        {"000000000021", true, reply("21", ""), 0, "成功", " "},
        {"000000000022", true, BuildFrame(0x80, 0x52, WireBytes("22") + FromHex("0000")), 0, "成功", " "},
        {"000000000023", true, reply("23", "01"), 0, "版本不一致", " "},
    };
    Addresses().DeleteAllItems();
    Prepare(empty, 0x52, 1);
    dlg->SetDlgItemText(IDC_EXPECTED_VERSION, "");
    ComboBox parity(dlg->GetDlgItem(IDC_PARITY_COMBO));
    parity.SetCurSel(parity.FindStringExact("Odd"));
    Click(IDC_VERSION_TEST);
    ASSERT_TRUE(WaitFor([&] { return Enabled(IDC_EXPECTED_VERSION); }, 20000));
    ExpectRows(empty);
    const std::vector<std::string> more = FramesAfterOpening();
    ASSERT_EQ(more.size(), 11u);
    EXPECT_EQ(more[8], "79 07 00 40 52 04 21 00 00 00 00 00 BE 30 ");
}

TEST_F(BatchTestsTest, WithoutAPortOrWithTooManyAddressesNothingIsSent) {
    // The version test logs its refusal once per address; the data test says it once.
    Prepare({{"21", true, {}, 0, " ", ""}, {"22", true, {}, 0, " ", ""}}, 0x52, 1);
    Click(IDC_VERSION_TEST);
    ListView log = ListOf(IDC_FRAME_LOG);
    ASSERT_TRUE(WaitFor([&] { return log.GetItemCount() == 2 && Enabled(IDC_EXPECTED_VERSION); }));
    EXPECT_EQ(log.GetItemText(1, 2), "串 口 未 打 开 ");
    // 35 checked addresses are the most a run takes: it starts.
    const std::pair<int, const char*> cases[] = {
        {1, "串口未打开"}, {36, "最大允许升级表数目为35"}, {0, nullptr}, {35, nullptr}};
    for (const auto& c : cases) {
        Addresses().DeleteAllItems();
        for (int i = 0; i < 36; ++i) Addresses().SetCheck(Addresses().AppendRow({"", std::to_string(i)}), i < c.first);
        if (c.first != 1 && !dlg->Link().IsPortOpen()) OpenPort();
        boxes.clear();
        Click(IDC_START_DATA_TEST);
        EXPECT_EQ(boxes.empty() ? "" : boxes[0].text, c.second ? c.second : "");
        EXPECT_EQ(Enabled(IDC_START_DATA_TEST), c.first != 35);
        EXPECT_EQ(Addresses().GetItemText(0, 2), c.first != 35 ? "" : " ");
    }
    EXPECT_TRUE(WaitFor([&] { return FramesAfterOpening().size() == 1; }));
    dlg->StopBatchTests();
    PumpFor(200);
    EXPECT_EQ(FramesAfterOpening().size(), 1u);  // the first of the 35 alone
}

TEST_F(BatchTestsTest, StopOrCloseEndsARunWithinItsWaitAndLeavesTheRestAlone) {
    for (bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "stop");
        Addresses().DeleteAllItems();
        std::vector<RowCase> rows;
        for (const char* a : {"31", "32", "33", "34"}) rows.push_back({a, true, {}, 0, " ", " "});
        rows[0].result = "失败";
        rows[0].time = "01 秒";
        Prepare(rows, 0x14, 2);
        if (!dlg->Link().IsPortOpen()) OpenPort();
        sim.ClearReceived();
        Click(IDC_START_DATA_TEST);
        // The second address is sent after the first's wait; the run ends within the second's.
        ASSERT_TRUE(WaitFor([&] { return sim.ReceivedFrames().size() == 2; }));
        if (close) {
            dlg->Close();
        } else {
            dlg->StopBatchTests();
            EXPECT_TRUE(WaitFor([&] { return Enabled(IDC_START_DATA_TEST); }));
        }
        PumpFor(1500);
        EXPECT_EQ(sim.ReceivedFrames().size(), 2u);
        ExpectRows(rows);
    }
}

TEST_F(BatchTestsTest, ResetStatisticsGoIntoTheRowOfTheAddressCountingBytesPastTheFrameAsZero) {
    const ByteString reply = testing_frames::MakeFrame(
        0x80, 0xF4, "03 41 00 00 00 00 00 11 22 33 44 01 00 00 00 02 00 00 00 FF FF FF FF 00 00 00 01");
    Addresses().AppendRow({"", "abcd", "", "", "", "", "", "", "", ""});
    WriteResetStatisticsRow(Addresses(), "00000000ABCD", reply.substr(0, 12));
    EXPECT_EQ(Addresses().GetItemText(0, 4), "");
    const struct {
        size_t length;
        std::vector<std::string> columns;  // 4 to 9
    } cases[] = {
        {reply.size(), {"44332211", "", "1", "2", "4294967295", "16777216"}},
        {31, {"44332211", "", "1", "2", "4294967295", "0"}},
        {14, {"00002211", "", "0", "0", "0", "0"}},
    };
    for (const auto& c : cases) {
        WriteResetStatisticsRow(Addresses(), "00000000ABCD", reply.substr(0, c.length));
        for (int col = 4; col < 10; ++col) EXPECT_EQ(Addresses().GetItemText(0, col), c.columns[col - 4]) << col;
    }
}

}  // namespace
