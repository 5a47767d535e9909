// Reading and clearing reset information over the address list, against the simulated module:
// the requests on the line, the columns every answer fills, refusals, stopping and closing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/reset_info.h"
#include "res/resource_ids.h"
#include "support/main_window_fixture.h"

namespace {

using testsupport::WireBytes;
using kvtsim::Bytes;
using kvtsim::BuildFrame;
using kvtsim::FromHex;
using Strings = std::vector<std::string>;

// A reply no longer than the device address it ends with counts as none; one byte more is judged
// by that address.
TEST(ResetInfoReply, JudgedByLengthDirectionAndAddress) {
    const ByteString head{0x79, 0x0A, 0x00, 0x80, 0xF4, 0x02};
    const ByteString mac{0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
    const struct {
        const char* name;
        ByteString frame;
        TestStatus status;
    } cases[] = {
        {"exactly as long as the address", head + mac, TestStatus::Failure},
        {"one byte short", head + mac.substr(0, 5), TestStatus::Failure},
        {"one byte past it", head + mac + ByteString{0x00}, TestStatus::Success},
        {"another device", head + ByteString{0x11, 0x22, 0x33, 0x44, 0x55, 0x67, 0x00}, TestStatus::Unchanged},
        {"sent by the host", ByteString{0x79, 0x0A, 0x00, 0x40, 0xF4, 0x02} + mac + ByteString{0x00}, TestStatus::Unchanged},
        {"abnormal", ByteString{0x79, 0x0A, 0x00, 0xA0, 0xF4, 0x02} + mac + ByteString{0x00}, TestStatus::Unchanged},
    };
    for (const auto& c : cases) EXPECT_EQ(JudgeResetInfoReply(c.frame, "112233445566"), c.status) << c.name;
}

class ResetInfoTest : public testsupport::MainWindowWithModule {
protected:
    // The clock stands still: an answer takes "00 ms", a silent device its whole second.
    ResetInfoTest() : MainWindowWithModule(27, true) {}

    void SetUp() override {
        MainWindowWithModule::SetUp();
        OpenPort();  // control 0x40, no multicast
        dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "1");
    }
    ListView List() { return ListOf(IDC_ADDRESS_LIST); }
    void AddRow(const std::string& address, const std::string& group, bool checked = true) {
        List().SetCheck(List().AppendRow({"", address, "old", "old", "old", group, "", "", "", ""}), checked);
    }
    void Multicast(const char* text) {
        ComboBox combo(dlg->GetDlgItem(IDC_MULTICAST_MODE_COMBO));
        combo.SetCurSel(combo.FindStringExact(text));
    }
    // A run's end enables its button again once its thread has let go of the run.
    bool Ended(int button) { return Enabled(button); }
    // Columns 2 to 9 of a row, joined by '|'.
    std::string Row(int r) {
        std::string text;
        for (int c = 2; c < 10; ++c) text += List().GetItemText(r, c) + (c < 9 ? "|" : "");
        return text;
    }
    // The reset-information requests (0xF4) that reached the module.
    Strings Requests() {
        Strings frames;
        for (const Bytes& f : sim.ReceivedFrames()) {
            const std::string text = testsupport::Spaced(f);
            if (f[4] == 0xF4) frames.push_back(text.substr(0, text.size() - 1));
        }
        return frames;
    }
};

TEST_F(ResetInfoTest, ReadingFillsTheColumnsOfEachAnsweringDevice) {
    const uint32_t counts[4] = {5, 0xFFFFFFFF, 0, 1};
    // Data end in the second counter: the two check bytes are read as its low bytes.
    const Bytes shortAnswer = BuildFrame(0x80, 0xF4, FromHex("02") + WireBytes("6") + FromHex("0A 00 00 00 07 00 00 00"));
    const std::string shortCount = std::to_string(shortAnswer[20] | shortAnswer[21] << 8);
    const struct {
        const char* address;
        Bytes answer;
        int lateMs;
        std::string row;
    } cases[] = {
        {"112233445566", kvtsim::ResetInfoAnswer(2, WireBytes("112233445566"), 0x04030201, counts), 0,
         "成功|00 ms|04030201||5|4294967295|0|1"},
        {"2", {}, 0, "失败|01 秒| |||||"},
        {"4", kvtsim::ResetInfoAnswer(2, WireBytes("99"), 1, counts), 0, " |00 ms| |||||"},
        {"5", kvtsim::ResetInfoAnswer(2, WireBytes("5"), 1, counts, 0xA0), 0, " |00 ms| |||||"},
        {"6", shortAnswer, 0, "成功|00 ms|0000000A||7|" + shortCount + "|0|0"},
        {"7", BuildFrame(0x80, 0xF4, FromHex("02 07 00 00")), 0, "失败|00 ms| |||||"},
        {"8", kvtsim::ResetInfoAnswer(2, WireBytes("8"), 1, counts), 1300, "失败|01 秒| |||||"},
    };
    for (const auto& c : cases) {
        AddRow(c.address, "");
        kvtsim::AnswerResetInfoFor(sim, WireBytes(c.address), false, c.answer, std::chrono::milliseconds(c.lateMs));
    }
    AddRow("3", "", false);
    ListView log = ListOf(IDC_FRAME_LOG);
    log.AppendRow({"x", "x", "x"});
    Click(IDC_READ_RESET_INFO);
    EXPECT_FALSE(Enabled(IDC_READ_RESET_INFO));
    ASSERT_TRUE(WaitFor([&] { return Ended(IDC_READ_RESET_INFO); }, 20000));
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Row(static_cast<int>(i)), cases[i].row) << i;
    EXPECT_EQ(Row(7), "old|old|old|||||");
    EXPECT_TRUE(boxes.empty());
    const Strings requests = Requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    EXPECT_EQ(requests[0], "79 08 00 40 F4 02 00 66 55 44 33 22 11 A3 C9");
    // The log starts afresh with the first request; the answers follow their requests.
    ASSERT_TRUE(WaitFor([&] { return log.GetItemCount() >= 7; }));
    EXPECT_EQ(log.GetItemText(0, 2), requests[0] + " ");
}

TEST_F(ResetInfoTest, EachDeviceGoesWithItsOwnRowsGroupAddress) {
    const struct {
        const char* multicast;
        std::vector<std::pair<const char*, const char*>> rows;  // address, group
        Strings frames;
        const char* message;
    } cases[] = {
        {"01: 组播地址", {{"112233445566", "1234"}, {"11", "0002"}},
         {"79 0A 00 40 F4 03 01 34 12 66 55 44 33 22 11 ED ED",
          "79 0A 00 40 F4 03 01 02 00 11 00 00 00 00 00 55 AF"},
         ""},
        // Every checked row goes without a group address, none with one.
        {"00: 非组播", {{"12", ""}, {"13", "0003"}},
         {"79 08 00 40 F4 03 00 12 00 00 00 00 00 51 AD", "79 08 00 40 F4 03 00 13 00 00 00 00 00 52 AC"}, ""},
        {"01: 组播地址", {{"12", ""}, {"13", "0003"}, {"14", ""}}, {}, "组播地址与MAC地址个数不一致"},
        {"01: 组播地址", {{"12", ""}}, {}, "请选择组播地址"},
        {"00: 非组播", {}, {}, ""},
    };
    dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "0");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frames.size());
        List().DeleteAllItems();
        for (const auto& r : c.rows) AddRow(r.first, r.second);
        Multicast(c.multicast);
        sim.ClearReceived();
        boxes.clear();
        Click(IDC_AUTO_CLEAR_RESET);
        ASSERT_TRUE(WaitFor([&] { return Ended(IDC_AUTO_CLEAR_RESET) && Requests().size() == c.frames.size(); }));
        PumpFor(100);
        EXPECT_EQ(Requests(), c.frames);
        EXPECT_EQ(BoxTexts(), c.message[0] ? Strings{c.message} : Strings{});
        // A refused run leaves the rows as they were.
        if (!c.rows.empty()) {
            EXPECT_EQ(List().GetItemText(0, 4), c.frames.empty() ? "old" : " ");
        }
    }
}

TEST_F(ResetInfoTest, ClearingMarksTheAnsweringDeviceAndWritesNoStatistics) {
    const uint32_t counts[4] = {1, 2, 3, 4};
    // Without an answer in the wait: "失败" and the whole seconds. With one: its milliseconds,
    // "失败" for an answer too short to hold an address, the verdict left for another device's.
    const struct {
        const char* address;
        Bytes answer;
        int lateMs;
        const char* row;
    } cases[] = {
        {"21", kvtsim::ResetInfoAnswer(3, WireBytes("21"), 9, counts), 0, "成功|00 ms| |||||"},
        {"22", {}, 0, "失败|01 秒| |||||"},
        {"23", BuildFrame(0x80, 0xF4, FromHex("03 23 00 00")), 0, "失败|00 ms| |||||"},
        {"24", kvtsim::ResetInfoAnswer(3, WireBytes("99"), 9, counts), 0, " |00 ms| |||||"},
        {"25", kvtsim::ResetInfoAnswer(3, WireBytes("25"), 9, counts, 0xA0), 0, " |00 ms| |||||"},
        {"26", kvtsim::ResetInfoAnswer(3, WireBytes("26"), 9, counts), 1300, "失败|01 秒| |||||"},
    };
    for (const auto& c : cases) {
        AddRow(c.address, "");
        kvtsim::AnswerResetInfoFor(sim, WireBytes(c.address), false, c.answer, std::chrono::milliseconds(c.lateMs));
    }
    Click(IDC_AUTO_CLEAR_RESET);
    ASSERT_TRUE(WaitFor([&] { return Ended(IDC_AUTO_CLEAR_RESET); }, 15000));
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Row(static_cast<int>(i)), cases[i].row) << i;
    const Strings requests = Requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    EXPECT_EQ(requests[0], "79 08 00 40 F4 03 00 21 00 00 00 00 00 60 9E");
    EXPECT_EQ(requests[1], "79 08 00 40 F4 03 00 22 00 00 00 00 00 61 9D");
}

TEST_F(ResetInfoTest, TwoRowsOfOneAddressTheLowerGetsTheVerdictBothCheckedTheTime) {
    const uint32_t counts[4] = {1, 2, 3, 4};
    AddRow("61", "");
    AddRow("62", "", false);
    AddRow("61", "");
    AddRow("61", "", false);
    kvtsim::AnswerResetInfoFor(sim, WireBytes("61"), false, kvtsim::ResetInfoAnswer(2, WireBytes("61"), 9, counts));
    Click(IDC_READ_RESET_INFO);
    ASSERT_TRUE(WaitFor([&] { return Ended(IDC_READ_RESET_INFO); }, 5000));
    // The last row of the address takes the verdict and the counts, checked or not.
    EXPECT_EQ(Row(0), " |00 ms| |||||");
    EXPECT_EQ(Row(1), "old|old|old|||||");
    EXPECT_EQ(Row(2), " |00 ms| |||||");
    EXPECT_EQ(Row(3), "成功|old|00000009||1|2|3|4");
}

TEST_F(ResetInfoTest, RefusalsSendNothing) {
    AddRow("31", "");
    const struct {
        const char* interval;
        const char* message;
    } cases[] = {{"", "输入点抄间隔"}, {"-1", "输入点抄间隔"}, {"1", "串口未开"}};
    for (const auto& c : cases) {
        dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, c.interval);
        if (std::string(c.message) == "串口未开") dlg->Link().SetPortOpen(false);
        boxes.clear();
        sim.ClearReceived();
        Click(IDC_READ_RESET_INFO);
        EXPECT_EQ(BoxTexts(), Strings{c.message});
        EXPECT_TRUE(Enabled(IDC_READ_RESET_INFO));
        PumpFor(200);
        EXPECT_TRUE(Requests().empty());
        EXPECT_EQ(Row(0), "old|old|old|||||");
    }
}

TEST_F(ResetInfoTest, AThreadThatCannotStartSaysSoAndEnablesItsButton) {
    AddRow("35", "");
    dlg->Link().Workers().SetLauncher([](std::function<void()>) { return std::shared_ptr<WorkerThread>(); });
    for (int button : {IDC_READ_RESET_INFO, IDC_AUTO_CLEAR_RESET}) {
        boxes.clear();
        Click(button);
        ASSERT_EQ(BoxTexts(), Strings{"启动导入线程失败"});
        EXPECT_EQ(boxes[0].caption, "错误");
        EXPECT_TRUE(Enabled(button));
    }
    dlg->Link().Workers().SetLauncher(nullptr);
    PumpFor(100);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(ResetInfoTest, StopOrCloseEndsARunWithinItsWait) {
    for (bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "stop");
        List().DeleteAllItems();
        for (const char* a : {"41", "42", "43", "44"}) AddRow(a, "");
        sim.ClearReceived();
        Click(IDC_READ_RESET_INFO);
        Click(IDC_AUTO_CLEAR_RESET);
        // The clearing's start ends the reading before it sends: one run at a time. The clearing
        // sends its second address after its first wait and ends within the second.
        ASSERT_TRUE(WaitFor([&] { return Requests().size() == 2; }));
        if (close) {
            dlg->Close();
        } else {
            Click(IDC_STOP_POINT_READ);  // the box is answered OK
            EXPECT_TRUE(Enabled(IDC_READ_RESET_INFO));
        }
        PumpFor(1500);
        EXPECT_EQ(Requests().size(), 2u);
        for (const std::string& request : Requests()) EXPECT_EQ(request.substr(15, 2), "03") << request;
        EXPECT_EQ(Row(0), "失败|01 秒| |||||");
        // A stop lets the device in hand have its wait and its row; a close does not.
        EXPECT_EQ(Row(1), close ? " | | |||||" : "失败|01 秒| |||||");
        if (!close) {
            EXPECT_TRUE(WaitFor([&] { return Ended(IDC_AUTO_CLEAR_RESET); }));
        }
    }
}

TEST_F(ResetInfoTest, StopDuringAWaitStillRecordsThatDeviceAndSendsNoMore) {
    const uint32_t counts[4] = {1, 2, 3, 4};
    for (const char* a : {"51", "52", "53"}) AddRow(a, "");
    kvtsim::AnswerResetInfoFor(sim, WireBytes("52"), false, kvtsim::ResetInfoAnswer(2, WireBytes("52"), 7, counts),
                               std::chrono::milliseconds(400));
    Click(IDC_READ_RESET_INFO);
    ASSERT_TRUE(WaitFor([&] { return Requests().size() == 2; }));
    Click(IDC_STOP_POINT_READ);  // the box is answered OK
    EXPECT_TRUE(Enabled(IDC_READ_RESET_INFO));
    // The answer comes 400 ms into the second device's wait, after the stop.
    EXPECT_TRUE(WaitFor([&] { return Row(1) == "成功|00 ms|00000007||1|2|3|4"; }, 3000)) << Row(1);
    PumpFor(1200);
    EXPECT_EQ(Requests().size(), 2u);
    EXPECT_EQ(Row(0), "失败|01 秒| |||||");
    EXPECT_EQ(Row(2), " | | |||||");
}

}  // namespace
