// The command buttons of the main window's pages against the simulated module: the exact
// frame that reaches the module, the row in the page's log, and the refusals that send nothing.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "commands/command_frame.h"
#include "commands/field_readers.h"
#include "commands/page_payloads.h"
#include "dialogs/tool_window_fixture.h"
#include "test_frames.h"

namespace {

using testing_frames::Hex;

constexpr char kStopSearch[] = "79 00 00 40 18 58 58";
constexpr int kFrameLog = 1272, kSearchLog = 1629, kDataLog = 1630, kPasswordLog = 1637;

// The user password frame (0x07) of a password of n bytes of one value.
std::string PasswordFrame(unsigned char value, size_t n) {
    ByteString data(1, static_cast<unsigned char>(n));
    data.append(n, value);
    const std::string text = dialog_tests::SpacedHex(testing_frames::MakeFrame(0x40, 0x07, data));
    return text.substr(0, text.size() - 1);
}

// What the user does on the page before pressing a button. A combo text "" clears the
// selection; check box 1009 "十六进制" is ticked with 1, cleared with 0, left with -1.
struct PageInput {
    std::vector<std::pair<int, std::string>> combos;
    std::vector<std::pair<int, std::string>> edits;
    int hex = -1;
};

class PageSendersTest : public dialog_tests::ToolWindowTest {
protected:
    void SetUp() override {
        ToolWindowTest::SetUp();
        OpenPort();
        // The version request of the test panel's header that follows the opening.
        ASSERT_EQ(NextFrame(), "79 00 00 40 02 42 42");
        // Header: sent by the host, initiated, normal answer, channel 5281PLC (control 0x40).
        Enter({{{1518, "主机发出帧"}, {1798, "主动发起"}, {1521, "正常应答"}, {1523, "5281PLC"}}, {}});
        ASSERT_TRUE(boxes.empty());
    }

    void Enter(const PageInput& input) {
        for (const auto& c : input.combos) {
            ComboBox combo(dlg->GetDlgItem(c.first));
            const int index = c.second.empty() ? -1 : combo.FindStringExact(c.second);
            ASSERT_TRUE(c.second.empty() || index >= 0) << c.second;
            combo.SetCurSel(index);
        }
        for (const auto& e : input.edits) {
            Edit edit(dlg->GetDlgItem(e.first));
            edit.SetText("");
            if (!e.second.empty()) edit.TypeText(e.second);
        }
        if (input.hex >= 0) Button(dlg->GetDlgItem(1009)).SetCheck(input.hex);
    }

    void Click(int id) { Button(dlg->GetDlgItem(id)).Click(); }
    ListView Log(int id) { return ListView(dlg->GetDlgItem(id)); }

    // The next frame that reached the module after those already looked at, as spaced hex.
    std::string NextFrame() {
        const size_t index = seen++;
        if (!sim.WaitForFrames(index + 1, std::chrono::seconds(5))) return "(no frame)";
        const kvtsim::Bytes f = sim.ReceivedFrames()[index];
        const std::string text = dialog_tests::SpacedHex(ByteString(f.begin(), f.end()));
        return text.substr(0, text.size() - 1);
    }

    // Sends through press, then expects exactly that frame at the module and one row in the log.
    template <class Press>
    void ExpectSent(Press press, const std::string& frame, int log) {
        const int rows = Log(log).GetItemCount();
        const size_t sent = HistoryCount('0');
        press();
        EXPECT_EQ(NextFrame(), frame);
        ASSERT_EQ(Log(log).GetItemCount(), rows + 1);
        EXPECT_EQ(Log(log).GetItemText(rows, 2), frame + " ");
        EXPECT_EQ(HistoryCount('0'), sent + 1);
        EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    }

    // Expects press to show this message (none for "") and to send nothing: no frame, no row,
    // no history record. The stop-search frame sent afterwards shows that nothing went before it.
    template <class Press>
    void ExpectRefused(Press press, const std::string& message) {
        const int logs[] = {kFrameLog, kSearchLog, kDataLog, kPasswordLog};
        std::vector<int> rows;
        for (int id : logs) rows.push_back(Log(id).GetItemCount());
        const size_t sent = HistoryCount('0');
        press();
        if (message.empty()) {
            EXPECT_TRUE(boxes.empty()) << boxes.front().text;
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, message);
            EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(kMbOk));
        }
        boxes.clear();
        for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(Log(logs[i]).GetItemCount(), rows[i]) << logs[i];
        EXPECT_EQ(HistoryCount('0'), sent);
        Click(1816);
        EXPECT_EQ(NextFrame(), kStopSearch);
    }

    size_t seen = 0;  // frames of the module already looked at
};

// ---- Every button: its frame and row, or its refusal ----

struct PageCase {
    const char* name;
    PageInput input;
    int button;
    std::string frame;  // empty: the press is refused and nothing is sent
    int log;            // the list that gets the row
    std::vector<std::pair<int, std::string>> shown;  // texts of controls afterwards
    const char* message = "";                         // the refusal's message
};

const PageInput kSendData = {{{3003, "网关"}, {1542, "TRM5281/82MAC地址"}, {1940, "01: 用户网络口令"}},
                             {{3005, "7"}, {1638, "123456789ABC"}, {1639, "1 23"}}};
const PageInput kSearch = {{{3003, "网关"}, {1542, "云服务器"}, {1814, "搜索未入网设备"}, {1595, "00: 非组播"}},
                           {{1604, "15"}, {1640, "1234"}, {1639, "0A0B0C"}}};

std::vector<PageCase> SendCases() {
    PageInput otherHeader = kSendData;
    otherHeader.combos.insert(otherHeader.combos.end(),
                              {{1518, "从机发出帧"}, {1798, "命令回应"}, {1521, "异常应答"}, {1523, "WiFi"}});
    otherHeader.edits = {{3005, "123"}, {1638, "123456789ABC"}, {1639, ""}};
    PageInput multicast = kSearch;
    multicast.combos.push_back({1595, "01: 组播地址"});
    multicast.edits.push_back({1640, "123"});
    PageInput radius16 = kSearch;
    radius16.edits = {{1604, "16"}, {1639, ""}};
    PageInput blanks = kSearch;
    blanks.edits.push_back({1639, "0A 0B"});
    return {
        {"SendData", kSendData, 1601, "79 0C 00 40 14 31 78 BC 9A 78 56 34 12 02 00 01 23 99 1F", kDataLog, {}},
        {"SendDataOtherHeaderEmptyData", otherHeader, 1601, "79 0A 00 B0 14 31 C8 BC 9A 78 56 34 12 00 00 31 79",
         kDataLog, {}},
        {"ExecStateWithAddress",
         {{{3003, "BLEMAC地址"}, {1542, "RM5207MAC地址"}}, {{1546, "201708180"}, {1548, "AA BB"}, {1550, "c"}}},
         1553, "79 0A 00 40 10 45 80 81 70 01 02 00 AA BB 0C 84 70", kFrameLog, {}},
        {"ExecStateAnyDeviceTypeNoAddress",
         {{{3003, "BLEMAC地址"}, {1542, "不区分设备类型"}}, {{1546, ""}, {1548, "AA BB"}, {1550, "c"}}}, 1553,
         "79 04 00 40 10 05 AA BB 0C CA 4C", kFrameLog, {}},
        {"StartSearch", kSearch, 1607, "79 06 00 40 17 21 2F 03 0A 0B 0C D1 51", kSearchLog, {}},
        {"StartSearchMulticast", multicast, 1607, "79 08 00 40 17 21 AF 23 01 03 0A 0B 0C 77 FD", kSearchLog, {}},
        {"StartSearchRadius16EmptyAttribute", radius16, 1607, "79 03 00 40 17 21 20 00 9B 55", kSearchLog, {}},
        {"StartSearchAttributeLengthCountsBytes", blanks, 1607, "79 05 00 40 17 21 2F 02 0A 0B C3 5F", kSearchLog, {}},
        {"StopSearch", {}, 1816, kStopSearch, kFrameLog, {}},
        {"DeviceReportCountIsBcd", {{}, {{1563, "12"}}}, 1565, "79 01 00 40 19 0C 66 54", kFrameLog, {}},
        {"DeviceReportEmptyCountKeepsItsByte", {{}, {{1563, ""}}}, 1565, "79 01 00 40 19 00 5A 58", kFrameLog, {}},
        {"StartConnection",
         {{{3003, "网关"}, {1542, "BLEMAC地址"}, {1856, "2:TCP"}}, {{1546, "A1B2C3D4E5F6"}}}, 1616,
         "79 08 00 40 11 51 02 F6 E5 D4 C3 B2 A1 71 1D", kFrameLog, {}},
        {"StartConnectionAnyDeviceType", {{{3003, "网关"}, {1542, "不区分设备类型"}, {1856, "1:UDP"}}, {{1546, ""}}},
         1616, "79 02 00 40 11 01 01 55 53", kFrameLog, {}},
        {"DeleteConnection",
         {{{3003, "TRM5281/82MAC地址"}, {1542, "网关"}, {1856, "2:TCP"}}, {{1546, "A1B2C3D4E5F6"}}}, 1622,
         "79 08 00 40 13 13 00 F6 E5 D4 C3 B2 A1 33 5F", kFrameLog, {}},
        {"UserPasswordText", {{}, {{1614, "12345678"}}, 0}, 1608, "79 09 00 40 07 08 31 32 33 34 35 36 37 38 FC 4E",
         kPasswordLog, {{1611, "8"}}},
        {"UserPasswordHex", {{}, {{1614, "A1B2C"}}, 1}, 1608, "79 04 00 40 07 03 0A 1B 2C 9F 7D", kPasswordLog,
         {{1611, "3"}}},
        {"UserPasswordChineseCountsTwo", {{}, {{1614, "口令"}}, 0}, 1608, "79 05 00 40 07 04 BF DA C1 EE 98 0C",
         kPasswordLog, {{1611, "4"}}},
        {"UserPassword64Characters", {{}, {{1614, std::string(64, 'z')}}, 0}, 1608, PasswordFrame('z', 64),
         kPasswordLog, {{1611, "64"}}},
        {"UserPassword64HexBytes", {{}, {{1614, std::string(128, '1')}}, 1}, 1608, PasswordFrame(0x11, 64),
         kPasswordLog, {{1611, "64"}}},
        {"RemotePasswordFixedWord",
         {{{1542, "不区分设备类型"}}, {{1805, "112233445566"}, {1558, "AAAAAAAA"}, {1614, "BBBBBBBBB"}}, 0}, 1609,
         "79 1B 00 40 1C 33 00 66 55 44 33 22 11 08 41 41 41 41 41 41 41 41 09 42 42 42 42 42 42 42 42 42 7A 40",
         kPasswordLog, {{1556, "8"}, {1611, "9"}}},
        {"NetParams",
         {{{1977, "115200"}, {2009, "None"}, {1993, "1"}, {1859, "2 档"}, {1543, "411"}}, {{1588, "15"}}}, 1591,
         "79 07 00 40 0E 0F A0 21 00 00 00 00 25 C7", kFrameLog, {}},
        {"NetParamsOtherChoices",
         {{{1977, "9600"}, {2009, "Odd"}, {1993, "2"}, {1859, "3 档"}, {1543, "131"}}, {{1588, "3"}}}, 1591,
         "79 07 00 40 0E 03 49 30 00 00 00 00 D1 33", kFrameLog, {}},
        {"NetParamsDefaultsWhenNothingMatches",
         {{{1977, ""}, {2009, ""}, {1993, ""}, {1859, ""}, {1543, ""}}, {{1588, "31"}}}, 1591,
         "79 07 00 40 0E 0F A0 21 00 00 00 00 25 C7", kFrameLog, {}},
    };
}

std::vector<PageCase> RefusalCases() {
    const PageInput remote = {{}, {{1805, "112233445566"}, {1558, "AAAAAAAA"}, {1614, "BBBBBBBB"}}, 0};
    auto with = [](PageInput input, std::vector<std::pair<int, std::string>> edits, int hex = -1) {
        input.edits.insert(input.edits.end(), edits.begin(), edits.end());
        if (hex >= 0) input.hex = hex;
        return input;
    };
    return {
        {"SendDataDepthFirst", {{}, {{3005, ""}, {1638, ""}}}, 1601, "", 0, {}, "depth域不能为空"},
        {"SendDataEmptyAddress", {{}, {{3005, "1"}, {1638, ""}}}, 1601, "", 0, {}, "地址域不能为空"},
        {"SendDataBlankAddress", {{}, {{3005, "1"}, {1638, " "}}}, 1601, "", 0, {}, "地址域不能为空"},
        {"ExecStateEmptyAddress", {{{1542, "网关"}}, {{1546, ""}}}, 1553, "", 0, {}, "地址域不能为空"},
        {"SearchWithoutMulticastAddress", {{{1595, "01: 组播地址"}}, {{1640, ""}}}, 1607, "", 0, {}, "请输入组播地址"},
        {"StartConnectionEmptyAddress", {{{1542, "网关"}}, {{1546, ""}}}, 1616, "", 0, {}, "地址域不能为空"},
        {"DeleteConnectionEmptyAddress", {{{1542, "网关"}}, {{1546, ""}}}, 1622, "", 0, {}, "地址域不能为空"},
        {"UserPassword65Characters", {{}, {{1614, std::string(65, 'z')}}, 0}, 1608, "", 0, {}, "口令长度为1-64"},
        {"UserPassword257Characters", {{}, {{1614, std::string(257, 'z')}}, 0}, 1608, "", 0, {}, "口令长度为1-64"},
        {"UserPasswordEmpty", {{}, {{1614, ""}}, 0}, 1608, "", 0, {}, "口令长度为1-64"},
        {"UserPassword65HexBytes", {{}, {{1614, std::string(129, '1')}}, 1}, 1608, "", 0, {}, "口令长度为1-64"},
        {"RemotePasswordEmptyAddress", with(remote, {{1805, ""}}), 1609, "", 0, {}, "地址域不能为空"},
        {"RemotePasswordShortKeyText", with(remote, {{1558, "AAAAAAA"}}), 1609, "", 0, {}, "密钥长度为8-64"},
        {"RemotePasswordShortKeyHex", with(remote, {{1558, "01020304050607"}}, 1), 1609, "", 0, {}, "口令长度为8-64"},
        // The second password refused: the first one's length stays shown.
        {"RemotePasswordShortSecond", with(remote, {{1556, ""}, {1558, "AAAAAAAAAA"}, {1614, "BB"}}), 1609, "", 0,
         {{1556, "10"}}, "密钥长度为8-64"},
        {"AddReportDeviceSendsNothing", {{}, {{1563, "12"}}}, 1564, "", 0, {}},
        {"ContinuousSendWhileDisabled", {}, 1500, "", 0, {{1500, "连续发送数据"}}},
    };
}

class PageButtonTest : public PageSendersTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageButtonTest, SendsItsFrameOrRefuses) {
    const PageCase& c = GetParam();
    Enter(c.input);
    if (c.frame.empty())
        ExpectRefused([&] { Click(c.button); }, c.message);
    else
        ExpectSent([&] { Click(c.button); }, c.frame, c.log);
    for (const auto& s : c.shown) EXPECT_EQ(dlg->GetDlgItemText(s.first), s.second) << s.first;
}

std::string CaseName(const ::testing::TestParamInfo<PageCase>& info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Sends, PageButtonTest, ::testing::ValuesIn(SendCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Refusals, PageButtonTest, ::testing::ValuesIn(RefusalCases()), CaseName);

// ---- Senders that no button reaches directly ----

TEST_F(PageSendersTest, PasswordRequestToTheSlaveAndItsRefusals) {
    Enter({{{3003, "网关"}, {1542, "RM5207MAC地址"}, {1825, "解密老密钥成功"}},
           {{1823, "1F"}, {1805, "A1B2C3D4E5F6"}, {1558, "1234567"}},
           0});
    ExpectRefused([&] { dlg->SendRemotePasswordSlaveRequest(); }, "口令长度为8-64");
    Enter({{}, {{1805, ""}, {1558, "12345678"}}});
    ExpectRefused([&] { dlg->SendRemotePasswordSlaveRequest(); }, "地址域不能为空");
    Enter({{}, {{1805, "A1B2C3D4E5F6"}}});
    ExpectSent([&] { dlg->SendRemotePasswordSlaveRequest(); },
               "79 11 00 40 1D 41 2F F6 E5 D4 C3 B2 A1 08 31 32 33 34 35 36 37 38 4F 35", kDataLog);
    EXPECT_EQ(dlg->GetDlgItemText(1556), "8");
}

TEST_F(PageSendersTest, ContinuousSendingSendsAStepAndStartsItsTimer) {
    Enter(kSendData);
    ExpectSent([&] { dlg->StartContinuousSend(); }, "79 0C 00 40 14 31 78 BC 9A 78 56 34 12 02 00 01 23 99 1F",
               kDataLog);
    EXPECT_EQ(dlg->GetDlgItemText(1500), "第1次发送");
    EXPECT_TRUE(dlg->IsTimerRunning(TIMER_CONTINUOUS_SEND));
    // A refused step is counted too.
    Enter({{}, {{3005, ""}}});
    ExpectRefused([&] { dlg->SendContinuousStep(); }, "depth域不能为空");
    EXPECT_EQ(dlg->GetDlgItemText(1500), "第2次发送");
    dlg->KillTimer(TIMER_CONTINUOUS_SEND);
}

// ---- Readers of the page that no sender uses yet ----

TEST_F(PageSendersTest, ReadersOfTheMainWindowsPages) {
    Enter({{}, {{1563, "12"}}});
    EXPECT_EQ(ReadDeviceLimit(*dlg), 0x12);  // the count edit read as hexadecimal: 18
    // Port numbers: an empty edit and one beyond 16 bits are refused with the same message.
    for (const char* port : {"", "70000", "8081"}) {
        dlg->SetDlgItemText(1898, port);
        ByteString payload;
        EXPECT_EQ(ReadPortNumber(*dlg, 1898, payload), port[0] == '8') << port;
        EXPECT_EQ(payload, port[0] == '8' ? Hex("91 1F") : ByteString()) << port;
    }
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "输入端口号");
    boxes.clear();
    IpAddressEdit(dlg->GetDlgItem(1896)).SetAddress(0xC0A80108);  // 192.168.1.8
    ByteString ip;
    EXPECT_TRUE(ReadIpAddress(*dlg, 1896, ip));
    EXPECT_EQ(ip, Hex("08 01 A8 C0"));
    // Header combos without a selection leave the control fields as they were.
    for (int id : {1518, 1798, 1521, 1523}) ComboBox(dlg->GetDlgItem(id)).SetCurSel(-1);
    ModuleFrame f;
    f.direction = 1;
    f.replyStatus = 1;
    f.channelType = 3;
    f.reserved = 5;
    EXPECT_EQ(FillControlFields(*dlg, kMainHeaderCombos, f), 1);
    EXPECT_EQ(f.direction, 1);
    EXPECT_EQ(f.initiator, 0);
    EXPECT_EQ(f.replyStatus, 1);
    EXPECT_EQ(f.channelType, 3);
    EXPECT_EQ(f.reserved, 0);
}

}  // namespace
