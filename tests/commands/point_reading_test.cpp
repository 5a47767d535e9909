// Point reading against the simulated module: the requests on the line, the verdict and time
// each answer gives the device's row, the refusals, stopping and the totals.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "commands/point_reading.h"
#include "support/main_window_fixture.h"

namespace {

using kvtsim::Bytes;
using kvtsim::FromHex;
using Strings = std::vector<std::string>;

constexpr char kMac[] = "123456789ABC";

// A module answer: flag 00, the device address, the announced length, the data (00 01 .. of
// count bytes, changed at index bad unless it is past them).
Bytes Answer(const char* wireMac, unsigned announced, size_t count, size_t bad = 99, uint8_t control = 0x80) {
    Bytes data = FromHex(std::string("00") + wireMac) + Bytes{static_cast<unsigned char>(announced), 0};
    for (size_t i = 0; i < count; ++i) data.push_back(static_cast<unsigned char>(i == bad ? 0x70 : i));
    return kvtsim::BuildFrame(control, 0xF1, data);
}

TEST(PointReadInterval, SecondsBecomeTheWaitAndNoTextOrANegativeNumberIsRefused) {
    const struct {
        const char* text;
        bool taken;
        uint32_t ms;
    } cases[] = {
        {"", false, 0},         {"-1", false, 0},      {" -3", false, 0},     {"0", true, 0},
        {"5", true, 5000},      {" 7", true, 7000},    {"abc", true, 0},      {"3x", true, 3000},
        {"-0", true, 0},        {"4294967", true, 4294967000u},               {"99999999999", true, 4294967000u},
    };
    for (const auto& c : cases) {
        uint32_t ms = 12345;
        EXPECT_EQ(PointReadIntervalMs(c.text, ms), c.taken) << '"' << c.text << '"';
        EXPECT_EQ(ms, c.taken ? c.ms : 12345u) << '"' << c.text << '"';
    }
}

class PointReadingTest : public testsupport::MainWindowWithModule {
protected:
    PointReadingTest() : MainWindowWithModule(24) {}

    void SetUp() override {
        MainWindowWithModule::SetUp();
        OpenPort();  // the header combos as the window starts: control 0x40, no multicast, one stop bit
    }
    void Choose(const std::vector<std::pair<int, const char*>>& combos) {
        for (const auto& c : combos)
            ComboBox(dlg->GetDlgItem(c.first)).SetCurSel(ComboBox(dlg->GetDlgItem(c.first)).FindStringExact(c.second));
    }
    ListView List() { return ListOf(IDC_ADDRESS_LIST); }
    void AddRow(const std::string& address, const std::string& group, bool checked = true) {
        List().SetCheck(List().AppendRow({"", address, "", "", "", group}), checked);
    }
    // The run's end enables its button again once its thread has let go of the run.
    bool Ended() { return Enabled(IDC_AUTO_POINT_READ); }
    // The point-reading requests (0xF1) that reached the module.
    Strings Requests() {
        Strings frames;
        for (const Bytes& f : sim.ReceivedFrames()) {
            const std::string text = testsupport::Spaced(f);
            if (f[4] == 0xF1) frames.push_back(text.substr(0, text.size() - 1));
        }
        return frames;
    }
};

TEST_F(PointReadingTest, EachAnswerGivesTheDeviceItsVerdictAndTime) {
    const char* mac = "BC 9A 78 56 34 12";
    const struct {
        Bytes answer;  // empty: silent
        const char *verdict, *timeUnit;
    } cases[] = {
        {Answer(mac, 20, 20), "成功", " ms"},
        {Answer(mac, 20, 20, 7), "失败", " ms"},
        {kvtsim::BuildFrame(0x80, 0xF1, FromHex("01")), "失败", " ms"},
        {Bytes(), "失败", "01 秒"},
        {Answer("BD 9A 78 56 34 12", 20, 20), "失败", " ms"},
        {Answer(mac, 20, 5), "失败", " ms"},         // shorter than it announces
        {Answer(mac, 20, 20, 99, 0xA0), " ", " ms"},  // abnormal: not judged, the start's blank stays
    };
    AddRow(kMac, "");
    for (const auto& c : cases) {
        sim.SetAnswer(0xF1, c.answer);
        sim.ClearReceived();
        List().SetItemText(0, 2, "old");  // blanked by the start
        Click(IDC_AUTO_POINT_READ);
        ASSERT_TRUE(WaitFor([&] { return Ended() && !List().GetItemText(0, 3).empty(); }, 4000));
        EXPECT_EQ(Requests(), Strings{"79 09 00 40 F1 00 BC 9A 78 56 34 12 14 00 B8 82"});
        const std::string time = List().GetItemText(0, 3);
        EXPECT_EQ(List().GetItemText(0, 2) + "|" + time.substr(time.size() - std::string(c.timeUnit).size()),
                  std::string(c.verdict) + "|" + c.timeUnit);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PointReadingTest, RequestsCarryTheFlagGroupAddressAndLength) {
    const struct {
        const char *multicast, *stopBits;
        int button;
        Strings frames;
    } cases[] = {
        {"00: 非组播", "2", IDC_AUTO_POINT_READ, {"79 09 00 40 F1 02 BC 9A 78 56 34 12 14 00 BA 80"}},
        {"01: 组播地址", "1", IDC_AUTO_POINT_READ,
         {"79 0B 00 40 F1 01 01 00 BC 9A 78 56 34 12 14 00 BC 80",
          "79 0B 00 40 F1 01 02 00 66 55 44 33 22 11 14 00 B8 DA"}},
        {"01: 组播地址", "1", IDC_REMOTE_POINT_READ, {"79 0B 00 40 F1 01 34 12 BC 9A 78 56 34 12 14 00 01 A7"}},
    };
    AddRow(kMac, "0001");
    AddRow("445566778899", "0009", false);
    AddRow("112233445566", "0002");
    AddRow(kMac, "0003", false);  // the first's address again, unchecked
    List().SetItemText(3, 3, "old");
    dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "0");
    dlg->SetDlgItemText(IDC_DST_ADDR, kMac);
    for (const auto& c : cases) {
        sim.ClearReceived();
        Choose({{IDC_MULTICAST_MODE_COMBO, c.multicast}, {IDC_STOP_BITS_COMBO, c.stopBits}});
        List().SetCheck(2, c.frames.size() > 1);
        Click(c.button);
        EXPECT_TRUE(WaitFor([&] { return Ended() && Requests().size() == c.frames.size(); }));
        EXPECT_EQ(Requests(), c.frames);
    }
    // No answers: the verdict goes to the lower row of the address, the time to its checked row,
    // whose verdict cell was cleared to one blank.
    EXPECT_EQ(List().GetItemText(0, 2) + "|" + List().GetItemText(0, 3), " |00 秒");
    EXPECT_EQ(List().GetItemText(3, 2) + "|" + List().GetItemText(3, 3), "失败|old");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PointReadingTest, FieldsThatCannotMakeARunAreRefusedAndNothingIsSent) {
    const struct {
        int id;
        const char *text, *multicast;
        Strings groups;  // one checked row each; "-" an unchecked one
        int button;
        const char* message;
    } cases[] = {
        {IDC_POINT_READ_INTERVAL, "", "00: 非组播", {"0001"}, IDC_AUTO_POINT_READ, "输入点抄间隔"},
        {IDC_POINT_READ_INTERVAL, "-1", "00: 非组播", {"0001"}, IDC_AUTO_POINT_READ, "输入点抄间隔"},
        {0, "", "00: 非组播", {"-"}, IDC_AUTO_POINT_READ, "请选择MAC地址"},
        {0, "", "01: 组播地址", {""}, IDC_AUTO_POINT_READ, "请选择组播地址"},
        {0, "", "01: 组播地址", {"0001", ""}, IDC_AUTO_POINT_READ, "组播地址与MAC地址个数不一致"},
        {IDC_POINT_READ_LENGTH, "", "00: 非组播", {"0001"}, IDC_AUTO_POINT_READ, "输入数据长度"},
        {IDC_POINT_READ_MULTICAST, "", "01: 组播地址", {}, IDC_REMOTE_POINT_READ, "请输入组播地址"},
        {IDC_DST_ADDR, "", "00: 非组播", {}, IDC_REMOTE_POINT_READ, "地址域不能为空"},
        {0, "", "00: 非组播", {"0001"}, IDC_AUTO_POINT_READ, "串口未开"},  // last: closes the port
    };
    for (const auto& c : cases) {
        const std::pair<int, const char*> good[] = {{IDC_POINT_READ_INTERVAL, "1"}, {IDC_POINT_READ_LENGTH, "20"},
                                                    {IDC_POINT_READ_MULTICAST, "1234"}, {IDC_DST_ADDR, kMac}};
        for (const auto& g : good) dlg->SetDlgItemText(g.first, g.second);
        if (c.id != 0) dlg->SetDlgItemText(c.id, c.text);
        Choose({{IDC_MULTICAST_MODE_COMBO, c.multicast}});
        List().DeleteAllItems();
        for (const std::string& g : c.groups) AddRow(kMac, g == "-" ? "" : g, g != "-");
        if (std::string(c.message) == "串口未开") dlg->Link().CloseSerialChannel();
        boxes.clear();
        Click(c.button);
        ASSERT_EQ(boxes.size(), 1u) << c.message;
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_TRUE(Ended());
        // Only a run that got as far as its devices has blanked the checked rows.
        if (!c.groups.empty() && c.groups[0] != "-") {
            EXPECT_EQ(List().GetItemText(0, 2), c.id == IDC_POINT_READ_LENGTH ? " " : "") << c.message;
        }
    }
    EXPECT_TRUE(Requests().empty());
}

TEST_F(PointReadingTest, StopAsksFirstAndWaitsForTheDeviceInHandAndTheTotalsCountTheVerdicts) {
    for (const char* mac : {"000000000001", "000000000002", "000000000003"}) AddRow(mac, "");
    dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "2");
    Click(IDC_AUTO_POINT_READ);
    ASSERT_TRUE(WaitFor([&] { return Requests().size() == 1; }));
    for (int answer : {kIdCancel, kIdOk}) {
        SetMessageBoxHook([this, answer](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return answer;
        });
        Click(IDC_STOP_POINT_READ);
        EXPECT_EQ(boxes.back().text + boxes.back().caption, "确认要停止点抄吗？提示");
        // OK waits for the run's thread before the button comes back; Cancel leaves it running.
        EXPECT_EQ(Enabled(IDC_AUTO_POINT_READ), answer == kIdOk);
    }
    EXPECT_TRUE(Ended());
    PumpFor(100);
    EXPECT_EQ(Requests().size(), 1u);

    // Every row counts, checked or not; an empty verdict is neither.
    const char* verdicts[] = {"成功", "失败", "", "成功", "成功", "失败", "成功", "成功", "失败", "成功"};
    for (int row = 0; row < 10; ++row) {
        if (row >= List().GetItemCount()) AddRow(kMac, "", false);
        List().SetItemText(row, 2, verdicts[row]);
    }
    Click(IDC_POINT_READ_STATISTICS);
    EXPECT_EQ(boxes.back().text, "总次数：10\r\n成功次数：6\r\n失败次数：3\r\n");
    EXPECT_EQ(boxes.back().caption, "统计");
}

TEST_F(PointReadingTest, StopLetsTheDeviceInHandHaveItsAnswerAndRowThenSendsNoMoreAndACloseDoesNotWait) {
    // The second device answers 400 ms into its one-second wait, after the stop.
    const char* second = "02 00 00 00 00 00";
    sim.SetAnswerFor(0xF1, 1, FromHex(second), Answer(second, 20, 20), std::chrono::milliseconds(400));
    dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "1");
    for (bool close : {false, true}) {  // the close last: it shuts the port
        SCOPED_TRACE(close ? "closed while the stop waits" : "stop");
        List().DeleteAllItems();
        for (const char* mac : {"000000000001", "000000000002", "000000000003"}) AddRow(mac, "");
        sim.ClearReceived();
        Click(IDC_AUTO_POINT_READ);
        ASSERT_TRUE(WaitFor([&] { return Requests().size() == 2; }));
        SetMessageBoxHook([this, close](const MessageBoxRequest& r) {
            boxes.push_back(r);
            if (close) dlg->PostTask([this] { dlg->Close(); });
            return kIdOk;
        });
        Click(IDC_STOP_POINT_READ);
        for (int id : {IDC_AUTO_POINT_READ, IDC_MULTICAST_MODE_COMBO}) EXPECT_TRUE(Enabled(id)) << id;
        // The stop has written the row of the device in hand; the close has left it blank.
        const std::string row = List().GetItemText(1, 2) + "|" + List().GetItemText(1, 3);
        EXPECT_TRUE(std::regex_match(row, std::regex(close ? " \\| " : "成功\\|[0-9]{2,} ms"))) << row;
        PumpFor(1200);
        EXPECT_EQ(Requests().size(), 2u);
        EXPECT_EQ(List().GetItemText(0, 2) + "|" + List().GetItemText(0, 3), "失败|01 秒");
        EXPECT_EQ(List().GetItemText(2, 2) + "|" + List().GetItemText(2, 3), " | ");
    }
}

TEST_F(PointReadingTest, AResetReadingStartedWhileTheStopWaitsRunsOn) {
    AddRow("000000000001", "");
    dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "1");
    Click(IDC_AUTO_POINT_READ);
    ASSERT_TRUE(WaitFor([&] { return Requests().size() == 1; }));
    SetMessageBoxHook([this](const MessageBoxRequest& r) {
        boxes.push_back(r);
        dlg->PostTask([this] { Click(IDC_READ_RESET_INFO); });
        return kIdOk;
    });
    Click(IDC_STOP_POINT_READ);
    // The reset reading may already have ended by itself: what it sent shows that it ran on.
    EXPECT_TRUE(WaitFor([&] {
        const std::vector<Bytes> frames = sim.ReceivedFrames();
        return std::any_of(frames.begin(), frames.end(), [](const Bytes& f) { return f[4] == 0xF4; });
    }));
}

TEST_F(PointReadingTest, TheStartBlanksTheCheckedRowsAsTheOtherTestsDoAndTheResultsFileShowsIt) {
    for (const char* mac : {"000000000001", "000000000002", "000000000003"}) {
        AddRow(mac, "", mac[11] != '2');
        for (int column = 2; column <= 4; ++column) List().SetItemText(List().GetItemCount() - 1, column, "old");
    }
    dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "1");
    Click(IDC_AUTO_POINT_READ);
    ASSERT_TRUE(WaitFor([&] { return Requests().size() == 1; }));
    Click(IDC_STOP_POINT_READ);  // the first device still has its row, the third none
    ASSERT_TRUE(Ended());
    EXPECT_EQ(List().GetItemText(0, 2) + "|" + List().GetItemText(0, 3) + "|" + List().GetItemText(0, 4), "失败|01 秒| ");
    for (int column = 2; column <= 4; ++column) EXPECT_EQ(List().GetItemText(2, column), " ");

    const std::string path = Path("results.txt");
    filePaths.push_back(path);
    Click(IDC_EXPORT_RESULTS);
    const std::string blankCell = " " + testsupport::Blanks(4);
    EXPECT_EQ(testsupport::ReadFileBytes(path),
              Utf8ToGbk("地址" + testsupport::Blanks(12) + "结果" + testsupport::Blanks(4) + "时间  \r\n" +
                        "000000000001    失败    01 秒    \r\n" +
                        "000000000002    old    old    \r\n" + "000000000003    " + blankCell + blankCell + "\r\n"));
}

}  // namespace
