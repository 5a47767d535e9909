// The module test panel against the simulated module: its header, its pages, the exact frame
// of every button with its log row, the refusals that send nothing, and the network-port test.

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "analyzer/pairing_analyzers.h"
#include "commands/TestDlg/test_dlg.h"
#include "commands/page_codes.h"
#include "link/conversions.h"
#include "support/dialog_lookup.h"
#include "support/sender_checks.h"
#include "test_frames.h"

namespace {

using testsupport::ClickTreeItem;
using testsupport::Spaced;
using testsupport::Within;
// Control ids and their texts: what the user types into the panel's edits and combo boxes, or
// what a control shows.
using Texts = std::vector<std::pair<int, std::string>>;

// The frame of the network test packet with this sequence number, as the module sees it.
std::string NetTestFrame(unsigned char command, uint32_t sequence) {
    ByteString data;
    for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<unsigned char>(sequence >> shift));
    data += testing_frames::Hex("FF 00");
    for (int i = 0; i < 255; ++i) data.push_back(static_cast<unsigned char>(i));
    return Spaced(testing_frames::MakeFrame(0x40, command, data));
}

class TestPanelTest : public testsupport::MainWindowWithModule {
protected:
    TestPanelTest() : MainWindowWithModule(12, true) {}

    void SetUp() override {
        MainWindowWithModule::SetUp();
        // The module leaves the version request unanswered and the capture is ended here: a
        // reply the capture's bound missed on a slow machine would be a row of the log.
        sim.SetAnswer(0x02, {});
        OpenPort(false);
        // The version request that follows the opening reaches the module but not the log.
        ASSERT_EQ(NextFrame(), "79 00 00 40 02 42 42 ");
        dlg->Link().EndVersionCapture();
        ASSERT_TRUE(ClickTreeItem(*dlg, PAGE_MODULE_RESTART));
        ASSERT_EQ(Log().GetItemCount(), 0);
    }

    CTestDlg& Panel() { return Within<CTestDlg>(*dlg); }
    ListView Log() { return ListView(Panel().GetDlgItem(IDC_PANEL_LOG_LIST)); }
    bool Visible(int id) { return Panel().GetDlgItem(id).IsVisible(); }

    void Enter(const Texts& input) {
        for (const auto& e : input) Panel().SetDlgItemText(e.first, e.second);
    }

    // A button press as the user makes it; an id that no control carries is dispatched.
    void Press(int id) {
        if (Panel().GetDlgItem(id).IsValid())
            Button(Panel().GetDlgItem(id)).Click();
        else
            Panel().DispatchNotify(id, Notify::Clicked);
    }

    void ExpectTexts(const Texts& texts) {
        for (const auto& t : texts) EXPECT_EQ(Panel().GetDlgItemText(t.first), t.second) << t.first;
    }
};

TEST_F(TestPanelTest, HeaderTextsThatAreNoEntryLeaveTheirControlFields) {
    EXPECT_EQ(Button(Panel().GetDlgItem(IDC_PANEL_AUTO_UPDATE)).GetCheck(), 1);
    // Texts that are none of the entries leave their control fields; the reserved bits are cleared.
    Enter({{IDC_PANEL_DIRECTION_COMBO, ""}, {IDC_PANEL_INITIATOR_COMBO, "?"}, {IDC_PANEL_REPLY_STATUS_COMBO, ""},
           {IDC_PANEL_CHANNEL_TYPE_COMBO, "PLC"}});
    ModuleFrame f;
    f.direction = f.initiator = 1;
    f.channelType = 2;
    f.reserved = 7;
    EXPECT_EQ(Panel().FillControlFields(f), 1);
    ByteString control;
    PackControlByte(control, f);
    EXPECT_EQ(control, testing_frames::Hex("D0"));
}

// The test-data and pairing rule combos offer their tables' combo texts (the analyzer's texts
// differ), sorted.
TEST_F(TestPanelTest, TestDataCombosOfferTheirEntries) {
    const struct {
        int id;
        std::vector<std::string> entries;
        std::string selected;
    } combos[] = {
        {IDC_PANEL_MODULATION_COMBO, {"1:MM_BPSK", "2:MM_QPSK", "3:MM_8QAM", "4:MM_16QAM"}, "1:MM_BPSK"},
        {IDC_PANEL_FEC_COMBO, {"FEC_RATE_16_18", "FEC_RATE_16_21", "FEC_RATE_1_2"}, "FEC_RATE_16_18"},
        {IDC_PANEL_PB_TYPE_COMBO, {"0:136pb块", "1:520pb块"}, "0:136pb块"},
        {IDC_PANEL_COPIES_COMBO, {"1", "11", "2", "4", "5", "7"}, "7"},
        {IDC_PANEL_PAIRING_SCOPE_COMBO,
         {"0x00 所有配对节点", "0x01 所有未配过节点", "0x02: 所有配过，但不属于本PANID"},
         "0x01 所有未配过节点"},
    };
    for (const auto& c : combos) {
        ComboBox combo(Panel().GetDlgItem(c.id));
        std::vector<std::string> entries;
        for (int i = 0; i < combo.GetCount(); ++i) entries.push_back(combo.GetLBText(i));
        EXPECT_EQ(entries, c.entries) << c.id;
        EXPECT_EQ(combo.GetSelectedText(), c.selected) << c.id;
    }
}

TEST_F(TestPanelTest, TreeItemsShowThePanelWithTheirGroupOnly) {
    struct Page { int code, button; bool address; };
    const Page pages[] = {
        {PAGE_MODULE_RESTART, IDC_PANEL_MODULE_RESTART, false},  {PAGE_READ_VERSION, IDC_PANEL_READ_VERSION, false},
        {PAGE_READ_MAC, IDC_PANEL_READ_MAC, false}, {PAGE_READ_COMM_ADDRESS, IDC_PANEL_READ_COMM_ADDRESS, false},
        {PAGE_SET_COMM_ADDRESS, IDC_PANEL_SET_COMM_ADDRESS, true},
        {PAGE_READ_USER_PASSWORD, IDC_PANEL_READ_USER_PASSWORD, false},
        {PAGE_READ_NETWORK_PARAMS, IDC_PANEL_READ_NET_PARAMS, false},
        {PAGE_REMOTE_READ_VERSION, IDC_PANEL_REMOTE_READ_VERSION, true},
        {PAGE_REMOTE_READ_MAC, IDC_PANEL_REMOTE_READ_MAC, true},
        {PAGE_REMOTE_READ_NETWORK_PARAMS, IDC_PANEL_REMOTE_READ_NET_PARAMS, true}};
    for (const Page& page : pages) {
        ASSERT_TRUE(ClickTreeItem(*dlg, page.code)) << page.code;
        EXPECT_EQ(dlg->CurrentPageCode(), page.code);
        EXPECT_TRUE(Visible(page.button) && Visible(IDC_PANEL_LOG_LIST)) << page.code;
        EXPECT_EQ(Visible(IDC_PANEL_DST_ADDR), page.address) << page.code;
        for (const Page& other : pages) {
            if (other.button == page.button) continue;
            EXPECT_FALSE(Visible(other.button)) << page.code << " " << other.button;
        }
    }
    // A page of the main window hides the panel.
    ASSERT_TRUE(ClickTreeItem(*dlg, PAGE_ROUND_READING));
    EXPECT_FALSE(Panel().IsWindowVisible());
    EXPECT_TRUE(dlg->GetDlgItem(IDC_ROUND_START).IsVisible());
}

// ---- Every button: its frame at the module and its row in the log, or its message and nothing sent ----

struct PanelCase {
    const char* name;
    int page;  // the group shown first; 0: none (the remote restart's group no page shows)
    Texts input;
    int button;
    std::string frame;     // "": refused
    Texts shown = {};      // texts of controls afterwards
    const char* message = "";
};

constexpr int kBroadcastButton = IDC_PANEL_BROADCAST_REPLY_TEST;
const Texts kWholeAddress = {{IDC_PANEL_DST_ADDR, "112233445566"}};
// The address and key modes as the panel starts: not multicast, the user's key.
const Texts kBroadcast = {{IDC_PANEL_BRD_DSN, "5"}, {IDC_PANEL_BRD_DELAY, "300"}, {IDC_PANEL_RESP_TIMES, "3"},
                          {IDC_PANEL_DATA_LEN, "16"}};
const std::pair<int, std::string> kMulticast = {IDC_PANEL_ADDRESS_MODE_COMBO, "01: 组播地址"};

std::vector<PanelCase> SendCases() {
    const Texts group = {kMulticast, {IDC_PANEL_MULTICAST_ADDR, "1234"}, {IDC_PANEL_DST_ADDR, "112233445566"}};
    const Texts lwipOff = {kMulticast, {IDC_PANEL_LWIP_MODE_COMBO, "0: 关闭"}, {IDC_PANEL_MULTICAST_ADDR, "1234"},
                           {IDC_PANEL_DST_ADDR, "0102"}};
    const Texts shortGroup = {kMulticast, {IDC_PANEL_MULTICAST_ADDR, "12"}, {IDC_PANEL_DST_ADDR, "11"}};
    const Texts broadcastGroup = {kMulticast, {IDC_PANEL_KEY_MODE_COMBO, "初始密钥加密"},
                                  {IDC_PANEL_MULTICAST_ADDR, "abcd"}, {IDC_PANEL_BRD_DSN, "255"},
                                  {IDC_PANEL_BRD_DELAY, "0"}, {IDC_PANEL_RESP_TIMES, " 0 "},
                                  {IDC_PANEL_DATA_LEN, "65535"}};
    const Texts slave = {{IDC_PANEL_DIRECTION_COMBO, "从机发出帧"}, {IDC_PANEL_INITIATOR_COMBO, "命令回应"},
                         {IDC_PANEL_REPLY_STATUS_COMBO, "异常应答"}, {IDC_PANEL_CHANNEL_TYPE_COMBO, "WiFi"}};
    return {
        {"ModuleRestart", PAGE_MODULE_RESTART, {}, IDC_PANEL_MODULE_RESTART, "79 00 00 40 01 41 41 "},
        {"HeaderFromTheSlave", PAGE_MODULE_RESTART, slave, IDC_PANEL_MODULE_RESTART, "79 00 00 B0 01 B1 B1 "},
        {"ReadVersionOnceTheReplyCame", PAGE_READ_VERSION, {}, IDC_PANEL_READ_VERSION, "79 00 00 40 02 42 42 "},
        {"ReadMac", PAGE_READ_MAC, {}, IDC_PANEL_READ_MAC, "79 00 00 40 03 43 43 "},
        {"Command09WithoutAControl", PAGE_MODULE_RESTART, {}, IDC_PANEL_COMMAND_09, "79 00 00 40 09 49 49 "},
        {"ReadCommAddress", PAGE_READ_COMM_ADDRESS, {}, IDC_PANEL_READ_COMM_ADDRESS, "79 00 00 40 0B 4B 4B "},
        {"ReadNetParams", PAGE_READ_NETWORK_PARAMS, {}, IDC_PANEL_READ_NET_PARAMS, "79 00 00 40 0D 4D 4D "},
        {"ReadUserPassword", PAGE_READ_USER_PASSWORD, {}, IDC_PANEL_READ_USER_PASSWORD, "79 00 00 40 06 46 46 "},
        {"SetCommAddress", PAGE_SET_COMM_ADDRESS, kWholeAddress, IDC_PANEL_SET_COMM_ADDRESS,
         "79 06 00 40 0C 66 55 44 33 22 11 B7 3D "},
        {"SetCommAddressEmpty", PAGE_SET_COMM_ADDRESS, {{IDC_PANEL_DST_ADDR, ""}}, IDC_PANEL_SET_COMM_ADDRESS,
         "79 00 00 40 0C 4C 4C "},
        {"RemoteReadVersionDefaultAddress", PAGE_REMOTE_READ_VERSION, {}, IDC_PANEL_REMOTE_READ_VERSION,
         "79 06 00 40 52 00 80 81 70 01 02 0C 66 "},
        {"RemoteReadMacOddDigits", PAGE_REMOTE_READ_MAC, {{IDC_PANEL_DST_ADDR, "12345"}},
         IDC_PANEL_REMOTE_READ_MAC, "79 04 00 40 53 00 45 23 01 00 70 "},
        {"RemoteReadNetParamsNoAddress", PAGE_REMOTE_READ_NETWORK_PARAMS, {{IDC_PANEL_DST_ADDR, ""}},
         IDC_PANEL_REMOTE_READ_NET_PARAMS, "79 01 00 40 5D 00 9E 1C "},
        {"RemoteRestartLowerCase", 0, {{IDC_PANEL_DST_ADDR, "a1 b2"}}, IDC_PANEL_REMOTE_RESTART,
         "79 03 00 40 50 00 B2 A1 E6 00 "},
        {"RemoteSetLwip", PAGE_REMOTE_SET_LWIP, kWholeAddress, IDC_PANEL_REMOTE_SET_LWIP,
         "79 08 00 40 51 00 66 55 44 33 22 11 01 FF 6F "},
        {"RemoteSetLwipMulticastOff", PAGE_REMOTE_SET_LWIP, lwipOff, IDC_PANEL_REMOTE_SET_LWIP,
         "79 06 00 40 51 01 34 12 02 01 00 E1 33 "},
        {"ReadGain", PAGE_READ_GAIN, {}, IDC_PANEL_READ_GAIN, "79 01 00 40 F2 04 37 B7 "},
        {"ReadFrequencyOffset", PAGE_FREQUENCY_OFFSET, {{IDC_PANEL_DST_ADDR, "0A0B"}}, IDC_PANEL_READ_FREQ_OFFSET,
         "79 03 00 40 F2 01 0B 0A 4B B1 "},
        {"GetTestedAddress", PAGE_FREQUENCY_OFFSET, {}, IDC_PANEL_GET_TESTED_ADDRESS, "79 01 00 40 F2 05 38 B6 "},
        {"ClearTestedAddress", PAGE_FREQUENCY_OFFSET, {}, IDC_PANEL_CLEAR_TESTED_ADDRESS, "79 01 00 40 F2 06 39 B5 "},
        {"ReadLocalReset", PAGE_READ_LOCAL_RESET, {}, IDC_PANEL_READ_LOCAL_RESET, "79 01 00 40 F4 00 35 B5 "},
        {"ClearLocalReset", PAGE_CLEAR_LOCAL_RESET, {}, IDC_PANEL_CLEAR_LOCAL_RESET, "79 01 00 40 F4 01 36 B4 "},
        {"ReadRemoteResetNoAddress", PAGE_READ_REMOTE_RESET, {{IDC_PANEL_DST_ADDR, ""}},
         IDC_PANEL_READ_REMOTE_RESET, "79 02 00 40 F4 02 00 38 B4 "},
        {"ReadRemoteResetShortGroup", PAGE_READ_REMOTE_RESET, shortGroup, IDC_PANEL_READ_REMOTE_RESET,
         "79 05 00 40 F4 02 01 12 00 11 5F B1 "},
        {"ClearRemoteResetMulticast", PAGE_CLEAR_REMOTE_RESET, group, IDC_PANEL_CLEAR_REMOTE_RESET,
         "79 0A 00 40 F4 03 01 34 12 66 55 44 33 22 11 ED ED "},
        {"ThroughputFirstPacket", PAGE_THROUGHPUT_TEST, {}, IDC_PANEL_THROUGHPUT_TEST, NetTestFrame(0x41, 0)},
        {"BroadcastReplyTest", PAGE_BROADCAST_REPLY_TEST, kBroadcast, kBroadcastButton,
         "79 08 00 40 F5 00 02 05 2C 01 03 10 00 84 84 ", {{IDC_PANEL_BRD_DSN, "6"}}},
        {"BroadcastReplyTestMulticastLimits", PAGE_BROADCAST_REPLY_TEST, broadcastGroup, kBroadcastButton,
         "79 0A 00 40 F5 00 01 CD AB FF 00 00 00 FF FF B5 27 ", {{IDC_PANEL_BRD_DSN, "0"}}},
        // Each number is the leading whole number typed.
        {"BroadcastReplyTestLeadingNumbers", PAGE_BROADCAST_REPLY_TEST,
         {{IDC_PANEL_BRD_DSN, "+5"}, {IDC_PANEL_BRD_DELAY, "300ms"}, {IDC_PANEL_RESP_TIMES, "3x"},
          {IDC_PANEL_DATA_LEN, "16 bytes"}},
         kBroadcastButton, "79 08 00 40 F5 00 02 05 2C 01 03 10 00 84 84 ", {{IDC_PANEL_BRD_DSN, "6"}}},
        {"BroadcastReplyTestBlanksAndSigns", PAGE_BROADCAST_REPLY_TEST,
         {{IDC_PANEL_BRD_DSN, "\t5"}, {IDC_PANEL_BRD_DELAY, " +300"}, {IDC_PANEL_RESP_TIMES, "3.9"},
          {IDC_PANEL_DATA_LEN, "016\t"}},
         kBroadcastButton, "79 08 00 40 F5 00 02 05 2C 01 03 10 00 84 84 ", {{IDC_PANEL_BRD_DSN, "6"}}},
        {"BroadcastReplyTestDsnWithATail", PAGE_BROADCAST_REPLY_TEST,
         {{IDC_PANEL_BRD_DSN, "5a"}, {IDC_PANEL_BRD_DELAY, "300"}, {IDC_PANEL_RESP_TIMES, "3"},
          {IDC_PANEL_DATA_LEN, "16"}},
         kBroadcastButton, "79 08 00 40 F5 00 02 05 2C 01 03 10 00 84 84 ", {{IDC_PANEL_BRD_DSN, "6"}}},
    };
}

std::vector<PanelCase> RefusalCases() {
    auto broadcast = [](Texts edits) {
        edits.insert(edits.begin(), kBroadcast.begin(), kBroadcast.end());
        return edits;
    };
    auto group = [](const char* text) { return Texts{kMulticast, {IDC_PANEL_MULTICAST_ADDR, text}}; };
    return {
        {"AddressNotHex", 0, {{IDC_PANEL_DST_ADDR, "12G4"}}, IDC_PANEL_REMOTE_READ_VERSION, "", {}, "请输入地址"},
        {"MulticastEmpty", 0, group(""), IDC_PANEL_READ_REMOTE_RESET, "", {}, "请输入地址"},
        {"MulticastFiveDigits", 0, group("12345"), IDC_PANEL_CLEAR_REMOTE_RESET, "", {}, "请输入地址"},
        {"MulticastNotHex", 0, group("12Z4"), IDC_PANEL_REMOTE_SET_LWIP, "", {}, "请输入地址"},
        {"BroadcastWithoutGroup", 0, broadcast({kMulticast}), kBroadcastButton, "", {{IDC_PANEL_BRD_DSN, "5"}},
         "请输入地址"},
        {"BrdDsnEmpty", 0, broadcast({{IDC_PANEL_BRD_DSN, ""}}), kBroadcastButton, "", {}, "输入brd dsn"},
        {"BrdDsnOver255", 0, broadcast({{IDC_PANEL_BRD_DSN, "256"}}), kBroadcastButton, "",
         {{IDC_PANEL_BRD_DSN, "256"}}, "brd dsn须为0到255之间的整数"},
        // The sequence number read before the refusal has moved on all the same.
        {"BrdDelayEmpty", 0, broadcast({{IDC_PANEL_BRD_DSN, "7"}, {IDC_PANEL_BRD_DELAY, ""}}), kBroadcastButton, "",
         {{IDC_PANEL_BRD_DSN, "8"}}, "输入brd delay"},
        {"BrdDelayOver16Bits", 0, broadcast({{IDC_PANEL_BRD_DELAY, "70000"}}), kBroadcastButton, "", {},
         "brd delay须为0到65535之间的整数"},
        {"BrdDelayPast64Bits", 0, broadcast({{IDC_PANEL_BRD_DELAY, "18446744073709551617"}}), kBroadcastButton, "",
         {}, "brd delay须为0到65535之间的整数"},
        {"RespTimesNegative", 0, broadcast({{IDC_PANEL_RESP_TIMES, "-1"}}), kBroadcastButton, "", {},
         "resp tms须为0到255之间的整数"},
        {"DataLenOver16Bits", 0, broadcast({{IDC_PANEL_DATA_LEN, "65536"}}), kBroadcastButton, "", {},
         "数据长度须为0到65535之间的整数"},
        // Past its width with a tail a field names its range; holding no number at all it is
        // refused as an empty one.
        {"RespTimesOver8BitsWithATail", 0, broadcast({{IDC_PANEL_RESP_TIMES, "256x"}}), kBroadcastButton, "", {},
         "resp tms须为0到255之间的整数"},
        {"BrdDsnNoNumber", 0, broadcast({{IDC_PANEL_BRD_DSN, "x5"}}), kBroadcastButton, "", {{IDC_PANEL_BRD_DSN, "x5"}},
         "输入brd dsn"},
        {"DataLenBlanksOnly", 0, broadcast({{IDC_PANEL_DATA_LEN, " \t"}}), kBroadcastButton, "", {},
         "输入数据长度"},
    };
}

// ---- Pairing: command 0x60, the sub-code and its fields ----

// The frame of a pairing request from the panel's default header.
std::string Pairing(const std::string& data) { return Spaced(testing_frames::MakeFrame(0x40, 0x60, data)); }

std::string Repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

constexpr char kFieldMessage[] = "请输入所需内容";
const Texts kAddressAndData = {{IDC_PANEL_DST_ADDR, "112233445566"}, {IDC_PANEL_DATA, "AA"}};
const std::pair<int, std::string> kRuleUnpaired = {IDC_PANEL_PAIRING_SCOPE_COMBO, "0x01 所有未配过节点"};

std::vector<PanelCase> PairingSendCases() {
    return {
        {"ReadLocalPairing", PAGE_READ_LOCAL_PAIRING, {}, IDC_PANEL_READ_LOCAL_PAIRING, Pairing("00")},
        {"SetLocalPairingShortPanId", PAGE_SET_LOCAL_PAIRING, {{IDC_PANEL_NUMBER, "12"}}, IDC_PANEL_SET_LOCAL_PAIRING,
         Pairing("01 12 00")},
        {"SetLocalPairingBlanksAndCase", PAGE_SET_LOCAL_PAIRING, {{IDC_PANEL_NUMBER, " ab cd "}},
         IDC_PANEL_SET_LOCAL_PAIRING, Pairing("01 CD AB")},
        {"SetPairingWait", PAGE_SET_PAIRING_WAIT, {{IDC_PANEL_NUMBER, "3C"}}, IDC_PANEL_SET_PAIRING_WAIT,
         Pairing("02 3C")},
        {"StartAutoPairing", PAGE_START_AUTO_PAIRING, {}, IDC_PANEL_START_AUTO_PAIRING, Pairing("03")},
        {"ReadAvailableNetworks", PAGE_READ_AVAILABLE_NETWORKS, {}, IDC_PANEL_READ_AVAILABLE_NETWORKS, Pairing("05")},
        {"ClearLocalPairing", PAGE_CLEAR_LOCAL_PAIRING, {}, IDC_PANEL_CLEAR_LOCAL_PAIRING, Pairing("06")},
        {"PairingSearch", PAGE_PAIRING_SEARCH, {{IDC_PANEL_DATA, "01 02 03"}}, IDC_PANEL_PAIRING_SEARCH,
         Pairing("10 03 01 02 03"), {{IDC_PANEL_NUMBER, "3"}}},
        {"PairingSearchNoData", PAGE_PAIRING_SEARCH, {{IDC_PANEL_DATA, ""}, {IDC_PANEL_NUMBER, "9"}},
         IDC_PANEL_PAIRING_SEARCH, Pairing("10 00"), {{IDC_PANEL_NUMBER, "0"}}},
        {"PairingSearchOddDigits", PAGE_PAIRING_SEARCH, {{IDC_PANEL_DATA, "123"}}, IDC_PANEL_PAIRING_SEARCH,
         Pairing("10 02 01 23"), {{IDC_PANEL_NUMBER, "2"}}},
        {"PairingSearch255Bytes", PAGE_PAIRING_SEARCH, {{IDC_PANEL_DATA, std::string(510, 'a')}},
         IDC_PANEL_PAIRING_SEARCH, Pairing("10 FF" + Repeated(" AA", 255)), {{IDC_PANEL_NUMBER, "255"}}},
        {"CommTestRequest", PAGE_COMM_TEST_REQUEST, kAddressAndData, IDC_PANEL_COMM_TEST_REQUEST,
         Pairing("20 66 55 44 33 22 11 01 AA"), {{IDC_PANEL_NUMBER, "1"}}},
        {"CommTestReplyShortAddress", PAGE_COMM_TEST_REPLY, {{IDC_PANEL_DST_ADDR, "12"}, {IDC_PANEL_DATA, "AA BB"}},
         IDC_PANEL_COMM_TEST_REPLY, Pairing("22 12 00 00 00 00 00 02 AA BB"), {{IDC_PANEL_NUMBER, "2"}}},
        {"RemoteSetPairing", PAGE_REMOTE_SET_PAIRING, {kWholeAddress[0], {IDC_PANEL_REMOTE_PANID, "5678"}},
         IDC_PANEL_REMOTE_SET_PAIRING, Pairing("30 66 55 44 33 22 11 78 56")},
        {"RemoteSetPairing31WithoutAControl", 0, {kWholeAddress[0], {IDC_PANEL_REMOTE_PANID, "5678"}},
         IDC_PANEL_PAIRING_CODE_31, Pairing("31 66 55 44 33 22 11 78 56")},
        {"RemoteReadPairing", PAGE_REMOTE_READ_PAIRING, kWholeAddress, IDC_PANEL_REMOTE_READ_PAIRING,
         Pairing("34 66 55 44 33 22 11")},
        {"ClearNetworkPairing", PAGE_CLEAR_NETWORK_PAIRING, {{IDC_PANEL_NUMBER, "1234"}},
         IDC_PANEL_CLEAR_NETWORK_PAIRING, Pairing("40 34 12")},
        {"DeviceSearch", PAGE_PAIRING_DEVICE_SEARCH, {kRuleUnpaired, {IDC_PANEL_NUMBER, "0001"}},
         IDC_PANEL_PAIRING_DEVICE_SEARCH, Pairing("F0 01 01 00")},
        {"DeviceSearchOtherNetworks", PAGE_PAIRING_DEVICE_SEARCH,
         {{IDC_PANEL_PAIRING_SCOPE_COMBO, "0x02: 所有配过，但不属于本PANID"}, {IDC_PANEL_NUMBER, "ABCD"}},
         IDC_PANEL_PAIRING_DEVICE_SEARCH, Pairing("F0 02 CD AB")},
        {"RemoteReadPairingInternal", PAGE_REMOTE_READ_PAIRING_INTERNAL, kWholeAddress,
         IDC_PANEL_REMOTE_READ_PAIRING_INT, Pairing("F2 66 55 44 33 22 11")},
    };
}

std::vector<PanelCase> PairingRefusalCases() {
    const int setLocal = IDC_PANEL_SET_LOCAL_PAIRING;
    const int commTest = IDC_PANEL_COMM_TEST_REQUEST;
    const Texts tooMuchData = {kWholeAddress[0], {IDC_PANEL_DATA, std::string(512, 'A')}};
    return {
        {"PanIdEmpty", 0, {{IDC_PANEL_NUMBER, " "}}, setLocal, "", {}, kFieldMessage},
        {"PanIdFiveDigits", 0, {{IDC_PANEL_NUMBER, "12345"}}, setLocal, "", {}, kFieldMessage},
        {"PanIdNotHex", 0, {{IDC_PANEL_NUMBER, "12G4"}}, IDC_PANEL_CLEAR_NETWORK_PAIRING, "", {}, kFieldMessage},
        {"PairingTimeThreeDigits", 0, {{IDC_PANEL_NUMBER, "100"}}, IDC_PANEL_SET_PAIRING_WAIT, "", {}, kFieldMessage},
        {"PairingTimeEmpty", 0, {{IDC_PANEL_NUMBER, ""}}, IDC_PANEL_SET_PAIRING_WAIT, "", {}, kFieldMessage},
        // The data length edit keeps what it showed.
        {"SearchDataNotHex", 0, {{IDC_PANEL_DATA, "0G"}, {IDC_PANEL_NUMBER, "7"}}, IDC_PANEL_PAIRING_SEARCH, "",
         {{IDC_PANEL_NUMBER, "7"}}, kFieldMessage},
        {"SearchData256Bytes", 0, {{IDC_PANEL_DATA, std::string(512, 'A')}}, IDC_PANEL_PAIRING_SEARCH, "", {},
         kFieldMessage},
        {"CommTestAddressEmpty", 0, {{IDC_PANEL_DST_ADDR, ""}, {IDC_PANEL_DATA, "AA"}}, commTest, "", {},
         kFieldMessage},
        {"CommTestAddress13Digits", 0, {{IDC_PANEL_DST_ADDR, "1122334455667"}}, commTest, "", {}, kFieldMessage},
        {"CommTestDataTooLong", 0, tooMuchData, IDC_PANEL_COMM_TEST_REPLY, "", {}, kFieldMessage},
        // The address is read first, then the remote PANID is found empty.
        {"RemoteSetPanIdEmpty", 0, {kWholeAddress[0], {IDC_PANEL_REMOTE_PANID, ""}}, IDC_PANEL_REMOTE_SET_PAIRING, "",
         {}, kFieldMessage},
        {"RemoteReadAddressNotHex", 0, {{IDC_PANEL_DST_ADDR, "11223344556X"}}, IDC_PANEL_REMOTE_READ_PAIRING, "", {},
         kFieldMessage},
        {"InternalReadAddressEmpty", 0, {{IDC_PANEL_DST_ADDR, ""}}, IDC_PANEL_REMOTE_READ_PAIRING_INT, "", {},
         kFieldMessage},
        {"DeviceSearchNoRule", 0, {{IDC_PANEL_PAIRING_SCOPE_COMBO, ""}, {IDC_PANEL_NUMBER, "0001"}},
         IDC_PANEL_PAIRING_DEVICE_SEARCH, ""},
        {"DeviceSearchPanIdEmpty", 0, {kRuleUnpaired, {IDC_PANEL_NUMBER, ""}}, IDC_PANEL_PAIRING_DEVICE_SEARCH, "",
         {}, kFieldMessage},
    };
}

class PanelButtonTest : public TestPanelTest, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(PanelButtonTest, SendsItsFrameOrRefuses) {
    const PanelCase& c = GetParam();
    if (c.page) Panel().ShowGroup(c.page);
    EXPECT_TRUE(!c.page || Visible(c.button) || !Panel().GetDlgItem(c.button).IsValid());
    Enter(c.input);
    Press(c.button);
    ExpectTexts(c.shown);
    EXPECT_EQ(BoxTexts(), *c.message ? std::vector<std::string>{c.message} : std::vector<std::string>());
    EXPECT_TRUE(boxes.empty() || boxes[0].type == static_cast<uint32_t>(kMbOk));
    EXPECT_FALSE(Panel().IsTimerRunning(PANEL_TIMER_NET_PORT_TEST));
    // A refusal sends nothing before the next command's frame, and logs or records nothing.
    const std::string frame = c.frame.empty() ? "79 00 00 40 01 41 41 " : c.frame;
    if (c.frame.empty()) Press(IDC_PANEL_MODULE_RESTART);
    EXPECT_EQ(NextFrame(), frame);
    ASSERT_TRUE(WaitFor([this] { return Log().GetItemCount() == 1; })) << Log().GetItemCount();
    EXPECT_EQ(Log().GetItemText(0, 0) + "|" + Log().GetItemText(0, 1) + "|" + Log().GetItemText(0, 2),
              std::string(testsupport::kFixedStamp) + "|00|" + frame);
    EXPECT_EQ(HistoryCount('0'), 2u);  // the version request and this frame
}

void PrintTo(const PanelCase& c, std::ostream* os) { *os << c.name; }
std::string CaseName(const ::testing::TestParamInfo<PanelCase>& info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Buttons, PanelButtonTest, ::testing::ValuesIn(SendCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Fields, PanelButtonTest, ::testing::ValuesIn(RefusalCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Pairing, PanelButtonTest, ::testing::ValuesIn(PairingSendCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(PairingFields, PanelButtonTest, ::testing::ValuesIn(PairingRefusalCases()), CaseName);

// The module answers each pairing request; the answer has its row after the request's and is
// explained through the pairing dispatcher.
class PairingAnswerTest : public TestPanelTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PairingAnswerTest, AnswersAreLoggedAndExplained) {
    const bool abnormal = GetParam();
    kvtsim::AnswerPairingRequests(sim, abnormal);
    const Texts address = {{IDC_PANEL_DST_ADDR, "112233445566"}, {IDC_PANEL_REMOTE_PANID, "5678"}};
    const std::string remote = "MAC地址： 665544332211\r\nPANID:    5678\r\n";
    const struct {
        int button;
        Texts input;
        uint8_t sub;
        std::string title;
        std::string answer;  // the explanation after the title's line
    } rows[] = {
        {IDC_PANEL_READ_LOCAL_PAIRING, {}, 0x00, "读取本地配对信息", "MAC地址：112233445566\r\nPANID: 1234\r\n"},
        {IDC_PANEL_SET_LOCAL_PAIRING, {{IDC_PANEL_NUMBER, "1234"}}, 0x01, "设置本地配对信息", "设置本地配对信息成功\r\n"},
        {IDC_PANEL_SET_PAIRING_WAIT, {{IDC_PANEL_NUMBER, "3C"}}, 0x02, "设置待配对状态", "设置待配对状态成功\r\n"},
        {IDC_PANEL_START_AUTO_PAIRING, {}, 0x03, "启动自动配对", "启动自动配对成功\r\n"},
        {IDC_PANEL_READ_AVAILABLE_NETWORKS, {}, 0x05, "读取可用网络号", "网络号：1234\r\n\r\n"},
        {IDC_PANEL_CLEAR_LOCAL_PAIRING, {}, 0x06, "清除本地配对信息：", "清除本地配对信息成功\r\n"},
        {IDC_PANEL_PAIRING_SEARCH, {{IDC_PANEL_DATA, "01"}}, 0x10, "发起配对搜索请求", "PANID:    1234\r\n\r\n"},
        {IDC_PANEL_COMM_TEST_REQUEST, address, 0x20, "发起通信测试请求", "发起通信请求成功\r\n"},
        {IDC_PANEL_COMM_TEST_REPLY, address, 0x22, "上报通信测试应答", "上报通信测试应答成功\r\n"},
        {IDC_PANEL_REMOTE_SET_PAIRING, address, 0x30, "远程设置配对信息请求", "远程上报配对信信请求成功\r\n"},
        {IDC_PANEL_PAIRING_CODE_31, address, 0x31, "上报远程设置配对信息应答", remote},
        {IDC_PANEL_REMOTE_READ_PAIRING, address, 0x34, "远程读取配对信息请求", remote},
        {IDC_PANEL_CLEAR_NETWORK_PAIRING, {{IDC_PANEL_NUMBER, "1234"}}, 0x40, "清除配对信息", "清除配对信息成功\r\n"},
        {IDC_PANEL_PAIRING_DEVICE_SEARCH, {kRuleUnpaired, {IDC_PANEL_NUMBER, "1234"}}, 0xF0, "发起设备搜索",
         "发起设备搜索成功\r\n"},
        {IDC_PANEL_REMOTE_READ_PAIRING_INT, address, 0xF2, "远程读取配对信息请求", remote},
    };
    int logged = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title);
        Enter(row.input);
        Press(row.button);
        // The request's command and sub-code (its exact bytes are the buttons' cases).
        char head[8];
        std::snprintf(head, sizeof head, "60 %02X", row.sub);
        ASSERT_EQ(NextFrame().substr(12, 5), head);
        logged += 2;
        ASSERT_TRUE(WaitFor([&] { return Log().GetItemCount() == logged; })) << Log().GetItemCount();
        const ByteString answer = kvtsim::PairingAnswer(row.sub, abnormal);
        EXPECT_EQ(Log().GetItemText(logged - 1, 2), Spaced(answer));
        std::string text;
        DispatchPairingAnalyzer(answer, text);
        const std::string shown = abnormal ? (row.sub == 0x00 ? "" : "\r\n") : row.answer;
        EXPECT_EQ(text, row.title + "\r\n" + shown);
    }
    EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Module, PairingAnswerTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Abnormal" : "Normal"; });

// A window whose module answers before the send returns: the receive path writes the answer's
// row while the request is being written.
class AnsweringWindow : public MainWindowPort {
public:
    CTestDlg panel{*this};
    ByteString answer;

    void SendFrame(ByteString) override {
        std::string hex;
        BytesToHexText(hex, answer);
        panel.AddLogRow(hex);
    }
    void EnableControl(int) override {}
    void ShowRowDetail(ListView) override {}
    void VisitHistory(const std::function<void(uint32_t, const MonitorRecord&)>&) override {}
    RecordView ViewHistoryRecord(intptr_t, SystemTime&, SystemTime&) override { return RecordView::Missing; }
    void ViewHistoryRecords(intptr_t, intptr_t) override {}
};

TEST(TestPanelLog, ARequestsRowStandsAboveAnAnswerThatCameDuringItsSend) {
    AnsweringWindow window;
    ASSERT_TRUE(window.panel.Create());
    window.answer = kvtsim::PairingAnswer(0x00);
    window.panel.DispatchNotify(IDC_PANEL_READ_LOCAL_PAIRING, Notify::Clicked);
    ListView log(window.panel.GetDlgItem(IDC_PANEL_LOG_LIST));
    ASSERT_TRUE(WaitPumping([&] { return log.GetItemCount() == 2; }, 5000)) << log.GetItemCount();
    EXPECT_EQ(log.GetItemText(0, 2), "79 01 00 40 60 00 A1 21 ");
    EXPECT_EQ(log.GetItemText(1, 2), Spaced(window.answer));
    window.panel.DestroyWindow();
}

TEST_F(TestPanelTest, SelectedRowIsExplainedAndDoubleClickShowsIt) {
    Press(IDC_PANEL_MODULE_RESTART);
    Press(IDC_PANEL_READ_MAC);
    ASSERT_TRUE(WaitFor([this] { return Log().GetItemCount() == 2; }));
    EXPECT_EQ(Log().GetItemText(1, 1), "01");
    Log().ClickRow(0);
    const std::string shown = Panel().GetDlgItemText(IDC_PANEL_RESULT_PANE);
    EXPECT_EQ(shown.rfind("解析信息:\r\n", 0), 0u) << shown;
    EXPECT_NE(shown.find("模块重启"), std::string::npos) << shown;
    Log().ClickRow(0, Notify::DblClick);
    EXPECT_EQ(Within<CFrameDetailDlg>(*dlg).GetDlgItemText(IDC_DETAIL_TEXT), "79 00 00 40 01 41 41 ");
}

// ---- The network-port test over the pseudo-terminal ----

TEST_F(TestPanelTest, NetPortTestRunsOnItsTimerUntilItsCountOrItsStop) {
    // The module answers: each answer has a row, the test frames have none.
    const kvtsim::Bytes answer = kvtsim::BuildFrame(0x80, 0x40, testing_frames::Hex("01 02 03 04"));
    sim.SetAnswer(0x40, answer);
    Panel().ShowGroup(PAGE_NET_PORT_TEST);
    Enter({{IDC_PANEL_NUMBER, "3"}});
    Press(IDC_PANEL_NET_PORT_TEST);
    for (uint32_t sequence = 0; sequence < 4; ++sequence) EXPECT_EQ(NextFrame(), NetTestFrame(0x40, sequence));
    ASSERT_TRUE(WaitFor([this] { return !Panel().IsTimerRunning(PANEL_TIMER_NET_PORT_TEST); }));
    ASSERT_TRUE(WaitFor([this] { return Log().GetItemCount() == 4; })) << Log().GetItemCount();
    for (int row = 0; row < 4; ++row) EXPECT_EQ(Log().GetItemText(row, 2), Spaced(answer));

    // A silent module. The throughput request takes the next number and has its row; an empty
    // count runs two frames.
    sim.SetAnswer(0x40, {});
    Press(IDC_PANEL_THROUGHPUT_TEST);
    EXPECT_EQ(NextFrame(), NetTestFrame(0x41, 4));
    Enter({{IDC_PANEL_NUMBER, ""}});
    Press(IDC_PANEL_NET_PORT_TEST);
    EXPECT_EQ(NextFrame(), NetTestFrame(0x40, 5));
    EXPECT_EQ(NextFrame(), NetTestFrame(0x40, 6));
    ASSERT_TRUE(WaitFor([this] { return !Panel().IsTimerRunning(PANEL_TIMER_NET_PORT_TEST); }));

    // A long run goes on until it is stopped.
    Enter({{IDC_PANEL_NUMBER, "1000000"}});
    Press(IDC_PANEL_NET_PORT_TEST);
    ASSERT_TRUE(WaitFor([this] { return sim.ReceivedFrames().size() >= 12; }));
    Press(IDC_PANEL_STOP_NET_PORT_TEST);
    EXPECT_FALSE(Panel().IsTimerRunning(PANEL_TIMER_NET_PORT_TEST));
    const size_t sent = HistoryCount('0');
    PumpFor(100);
    EXPECT_EQ(HistoryCount('0'), sent);
    ASSERT_TRUE(sim.WaitForFrames(sent, std::chrono::seconds(5)));
    EXPECT_EQ(sim.ReceivedFrames().size(), sent);
    ASSERT_EQ(Log().GetItemCount(), 5);
    EXPECT_EQ(Log().GetItemText(4, 2), NetTestFrame(0x41, 4));
}

TEST_F(TestPanelTest, NetPortTestCountsTheLeadingNumberAndRunsTwoFramesForNoneOrLess) {
    Panel().ShowGroup(PAGE_NET_PORT_TEST);
    const struct {
        const char* count;
        uint32_t frames;
    } cases[] = {{"0", 2}, {"-2", 2}, {"abc", 2}, {"", 2}, {"3", 4}, {"2x", 3}};
    uint32_t sequence = 0;
    size_t sent = 1;  // the version request of the opening
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        Enter({{IDC_PANEL_NUMBER, c.count}});
        Press(IDC_PANEL_NET_PORT_TEST);
        for (uint32_t i = 0; i < c.frames; ++i) ASSERT_EQ(NextFrame(), NetTestFrame(0x40, sequence++));
        ASSERT_TRUE(WaitFor([this] { return !Panel().IsTimerRunning(PANEL_TIMER_NET_PORT_TEST); }));
        sent += c.frames;
        EXPECT_EQ(HistoryCount('0'), sent);
    }
    ASSERT_TRUE(sim.WaitForFrames(sent, std::chrono::seconds(5)));
    EXPECT_EQ(sim.ReceivedFrames().size(), sent);
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
