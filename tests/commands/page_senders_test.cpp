// The command buttons of the main window's pages against the simulated module: the exact
// frame that reaches the module, the row in the page's log, and the refusals that send nothing.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "commands/combo_mappers.h"
#include "commands/command_frame.h"
#include "commands/field_readers.h"
#include "commands/page_payloads.h"
#include "commands/repeats.h"
#include "support/sender_checks.h"
#include "res/resource_ids.h"
#include "test_frames.h"

namespace {

using testing_frames::Hex;
using testsupport::PageInput;
using testsupport::Spaced;

constexpr const char* kStopSearch = testsupport::kStopSearchFrame;
constexpr const char* kAddr = "A1B2C3D4E5F6";

// The user password frame (0x07) of a password of n bytes of one value.
std::string PasswordFrame(unsigned char value, size_t n) {
    ByteString data(1, static_cast<unsigned char>(n));
    data.append(n, value);
    const std::string text = Spaced(testing_frames::MakeFrame(0x40, 0x07, data));
    return text.substr(0, text.size() - 1);
}

// A continuous send on the window's own timers, send-data replies and sender.
struct WindowContinuousSend {
    explicit WindowContinuousSend(CMainTesterDlg& window)
        : timers(window),
          replies(window.Link().Queues().sendData, window.Link().Queues().sendDataArrived),
          send(timers, replies, window) {}
    DialogRepeatWindow timers;
    QueueRepeatReplySource replies;
    ContinuousSend send;
};

// Presses Enter on a dialog that must close then. A refusal leaves it open: its message, or a
// bound of time where none shows, fails the test and closes the dialog with Esc.
void EnterMustClose(Dialog& d, const std::vector<MessageBoxRequest>& boxes) {
    d.PostTaskAfter(5000, [&d] {
        ADD_FAILURE() << "the dialog stayed open";
        d.PressKey(Key::Escape);
    });
    const size_t shown = boxes.size();
    d.PressKey(Key::Enter);
    if (boxes.size() == shown) return;
    ADD_FAILURE() << "refused: " << boxes.back().text;
    d.PressKey(Key::Escape);
}

class PageSendersTest : public testsupport::MainWindowSenders {
protected:
    PageSendersTest() : MainWindowSenders(11, true) {}

    void SetUp() override {
        MainWindowSenders::SetUp();
        OpenWithHostHeader();
        // A modal dialog that a test does not answer is dismissed with Esc.
        dlg->SetModalWatcher([](Dialog& d) { d.PressKey(Key::Escape); });
    }
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

const PageInput kSendData = {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "TRM5281/82MAC地址"},
                              {IDC_KEY_MODE_COMBO, "01: 用户网络口令"}},
                             {{IDC_DEPTH, "7"}, {IDC_SEND_DST_ADDR, "123456789ABC"}, {IDC_USER_DATA, "1 23"}}};
const PageInput kSearch = {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "云服务器"},
                            {IDC_SEARCH_SCOPE_COMBO, "搜索未入网设备"}, {IDC_MULTICAST_MODE_COMBO, "00: 非组播"}},
                           {{IDC_SEARCH_DEPTH, "15"}, {IDC_MULTICAST_ADDR, "1234"}, {IDC_USER_DATA, "0A0B0C"}}};

std::vector<PageCase> SendCases() {
    PageInput otherHeader = kSendData;
    otherHeader.combos.insert(otherHeader.combos.end(),
                              {{IDC_DIRECTION_COMBO, "从机发出帧"}, {IDC_INITIATOR_COMBO, "命令回应"},
                               {IDC_REPLY_STATUS_COMBO, "异常应答"}, {IDC_CHANNEL_TYPE_COMBO, "WiFi"}});
    otherHeader.edits = {{IDC_DEPTH, "123"}, {IDC_SEND_DST_ADDR, "123456789ABC"}, {IDC_USER_DATA, ""}};
    PageInput multicast = kSearch;
    multicast.combos.push_back({IDC_MULTICAST_MODE_COMBO, "01: 组播地址"});
    multicast.edits.push_back({IDC_MULTICAST_ADDR, "123"});
    PageInput radius16 = kSearch;
    radius16.edits = {{IDC_SEARCH_DEPTH, "16"}, {IDC_USER_DATA, ""}};
    PageInput blanks = kSearch;
    blanks.edits.push_back({IDC_USER_DATA, "0A 0B"});
    return {
        {"SendData", kSendData, IDC_SEND_DATA, "79 0C 00 40 14 31 78 BC 9A 78 56 34 12 02 00 01 23 99 1F",
         IDC_DATA_LOG, {}},
        {"SendDataOtherHeaderEmptyData", otherHeader, IDC_SEND_DATA,
         "79 0A 00 B0 14 31 C8 BC 9A 78 56 34 12 00 00 31 79", IDC_DATA_LOG, {}},
        {"ExecStateWithAddress",
         {{{IDC_SRC_MODE_COMBO, "BLEMAC地址"}, {IDC_DST_MODE_COMBO, "RM5207MAC地址"}},
          {{IDC_DST_ADDR, "201708180"}, {IDC_EXEC_STATE_DATA1, "AA BB"}, {IDC_EXEC_STATE_DATA2, "c"}}},
         IDC_EXEC_STATE_REPORT, "79 0A 00 40 10 45 80 81 70 01 02 00 AA BB 0C 84 70", IDC_FRAME_LOG, {}},
        {"ExecStateAnyDeviceTypeNoAddress",
         {{{IDC_SRC_MODE_COMBO, "BLEMAC地址"}, {IDC_DST_MODE_COMBO, "不区分设备类型"}},
          {{IDC_DST_ADDR, ""}, {IDC_EXEC_STATE_DATA1, "AA BB"}, {IDC_EXEC_STATE_DATA2, "c"}}},
         IDC_EXEC_STATE_REPORT, "79 04 00 40 10 05 AA BB 0C CA 4C", IDC_FRAME_LOG, {}},
        {"StartSearch", kSearch, IDC_START_SEARCH, "79 06 00 40 17 21 2F 03 0A 0B 0C D1 51", IDC_SEARCH_LOG, {}},
        {"StartSearchMulticast", multicast, IDC_START_SEARCH, "79 08 00 40 17 21 AF 23 01 03 0A 0B 0C 77 FD",
         IDC_SEARCH_LOG, {}},
        {"StartSearchRadius16EmptyAttribute", radius16, IDC_START_SEARCH, "79 03 00 40 17 21 20 00 9B 55",
         IDC_SEARCH_LOG, {}},
        {"StartSearchAttributeLengthCountsBytes", blanks, IDC_START_SEARCH, "79 05 00 40 17 21 2F 02 0A 0B C3 5F",
         IDC_SEARCH_LOG, {}},
        {"StopSearch", {}, IDC_STOP_SEARCH, kStopSearch, IDC_FRAME_LOG, {}},
        {"DeviceReportCountIsBcd", {{}, {{IDC_DEVICE_COUNT, "12"}}}, IDC_DEVICE_REPORT, "79 01 00 40 19 0C 66 54",
         IDC_FRAME_LOG, {}},
        {"DeviceReportEmptyCountKeepsItsByte", {{}, {{IDC_DEVICE_COUNT, ""}}}, IDC_DEVICE_REPORT,
         "79 01 00 40 19 00 5A 58", IDC_FRAME_LOG, {}},
        {"StartConnection",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "BLEMAC地址"}, {IDC_PROTOCOL_COMBO, "2:TCP"}},
          {{IDC_DST_ADDR, "A1B2C3D4E5F6"}}},
         IDC_START_CONNECTION, "79 08 00 40 11 51 02 F6 E5 D4 C3 B2 A1 71 1D", IDC_FRAME_LOG, {}},
        {"StartConnectionAnyDeviceType",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "不区分设备类型"}, {IDC_PROTOCOL_COMBO, "1:UDP"}},
          {{IDC_DST_ADDR, ""}}},
         IDC_START_CONNECTION, "79 02 00 40 11 01 01 55 53", IDC_FRAME_LOG, {}},
        {"DeleteConnection",
         {{{IDC_SRC_MODE_COMBO, "TRM5281/82MAC地址"}, {IDC_DST_MODE_COMBO, "网关"}, {IDC_PROTOCOL_COMBO, "2:TCP"}},
          {{IDC_DST_ADDR, "A1B2C3D4E5F6"}}},
         IDC_DELETE_CONNECTION, "79 08 00 40 13 13 00 F6 E5 D4 C3 B2 A1 33 5F", IDC_FRAME_LOG, {}},
        {"UserPasswordText", {{}, {{IDC_NEW_PSK, "12345678"}}, 0}, IDC_SET_USER_PASSWORD,
         "79 09 00 40 07 08 31 32 33 34 35 36 37 38 FC 4E", IDC_PASSWORD_LOG, {{IDC_NEW_PSK_LEN, "8"}}},
        {"UserPasswordHex", {{}, {{IDC_NEW_PSK, "A1B2C"}}, 1}, IDC_SET_USER_PASSWORD,
         "79 04 00 40 07 03 0A 1B 2C 9F 7D", IDC_PASSWORD_LOG, {{IDC_NEW_PSK_LEN, "3"}}},
        {"UserPasswordChineseCountsTwo", {{}, {{IDC_NEW_PSK, "口令"}}, 0}, IDC_SET_USER_PASSWORD,
         "79 05 00 40 07 04 BF DA C1 EE 98 0C", IDC_PASSWORD_LOG, {{IDC_NEW_PSK_LEN, "4"}}},
        {"UserPassword64Characters", {{}, {{IDC_NEW_PSK, std::string(64, 'z')}}, 0}, IDC_SET_USER_PASSWORD,
         PasswordFrame('z', 64), IDC_PASSWORD_LOG, {{IDC_NEW_PSK_LEN, "64"}}},
        {"UserPassword64HexBytes", {{}, {{IDC_NEW_PSK, std::string(128, '1')}}, 1}, IDC_SET_USER_PASSWORD,
         PasswordFrame(0x11, 64), IDC_PASSWORD_LOG, {{IDC_NEW_PSK_LEN, "64"}}},
        {"RemotePasswordFixedWord",
         {{{IDC_DST_MODE_COMBO, "不区分设备类型"}},
          {{IDC_PASSWORD_DST_ADDR, "112233445566"}, {IDC_OLD_PSK, "AAAAAAAA"}, {IDC_NEW_PSK, "BBBBBBBBB"}},
          0},
         IDC_REMOTE_PASSWORD_SET,
         "79 1B 00 40 1C 33 00 66 55 44 33 22 11 08 41 41 41 41 41 41 41 41 09 42 42 42 42 42 42 42 42 42 7A 40",
         IDC_PASSWORD_LOG, {{IDC_OLD_PSK_LEN, "8"}, {IDC_NEW_PSK_LEN, "9"}}},
        {"NetParams",
         {{{IDC_BAUD_RATE_COMBO, "115200"}, {IDC_PARITY_COMBO, "None"}, {IDC_STOP_BITS_COMBO, "1"},
           {IDC_TX_POWER_COMBO, "2 档"}, {IDC_BAND_COMBO, "411"}},
          {{IDC_PASS_THROUGH_LEVEL_LIMIT, "15"}}},
         IDC_SET_NETWORK_PARAMS, "79 07 00 40 0E 0F A0 21 00 00 00 00 25 C7", IDC_FRAME_LOG, {}},
        {"NetParamsOtherChoices",
         {{{IDC_BAUD_RATE_COMBO, "9600"}, {IDC_PARITY_COMBO, "Odd"}, {IDC_STOP_BITS_COMBO, "2"},
           {IDC_TX_POWER_COMBO, "3 档"}, {IDC_BAND_COMBO, "131"}},
          {{IDC_PASS_THROUGH_LEVEL_LIMIT, "3"}}},
         IDC_SET_NETWORK_PARAMS, "79 07 00 40 0E 03 49 30 00 00 00 00 D1 33", IDC_FRAME_LOG, {}},
        {"NetParamsDefaultsWhenNothingMatches",
         {{{IDC_BAUD_RATE_COMBO, ""}, {IDC_PARITY_COMBO, ""}, {IDC_STOP_BITS_COMBO, ""}, {IDC_TX_POWER_COMBO, ""},
           {IDC_BAND_COMBO, ""}},
          {{IDC_PASS_THROUGH_LEVEL_LIMIT, "31"}}},
         IDC_SET_NETWORK_PARAMS, "79 07 00 40 0E 0F A0 21 00 00 00 00 25 C7", IDC_FRAME_LOG, {}},
        {"LinkState", {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "云服务器"}}, {{IDC_DST_ADDR, kAddr}}},
         IDC_LINK_STATE_REPORT, "79 08 00 40 12 21 00 F6 E5 D4 C3 B2 A1 40 6C", IDC_FRAME_LOG, {}},
        // Six address bytes whatever the target mode, as the module's frames carry them.
        {"LinkStateAnyDeviceTypeKeepsTheAddress",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "不区分设备类型"}}, {{IDC_DST_ADDR, kAddr}}},
         IDC_LINK_STATE_REPORT, "79 08 00 40 12 01 00 F6 E5 D4 C3 B2 A1 20 4C", IDC_FRAME_LOG, {}},
        {"BroadcastRadiusCutToFourBitsNoGroupWithoutFlag",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "网关"}, {IDC_PRIORITY_COMBO, "High"},
           {IDC_KEY_MODE_COMBO, "01: 用户网络口令"}, {IDC_MULTICAST_MODE_COMBO, "00: 非组播"}},
          {{IDC_RADIUS, "20"}, {IDC_MULTICAST_ADDR, "1234"}, {IDC_USER_DATA, "0102"}}},
         IDC_BROADCAST, "79 06 00 40 16 11 29 02 00 01 02 9B 69", IDC_DATA_LOG, {}},
        {"BroadcastMulticast",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "网关"}, {IDC_PRIORITY_COMBO, "Normal"},
           {IDC_KEY_MODE_COMBO, "00: 初始网络口令"}, {IDC_MULTICAST_MODE_COMBO, "01: 组播地址"}},
          {{IDC_RADIUS, "3"}, {IDC_MULTICAST_ADDR, "1234"}, {IDC_USER_DATA, ""}}},
         IDC_BROADCAST, "79 06 00 40 16 11 46 34 12 00 00 F9 21", IDC_DATA_LOG, {}},
        // The task id is BCD (12 is sent as 0C); the length byte counts the bytes that follow.
        {"RequestAttributes",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "BLEMAC地址"}, {IDC_MULTICAST_MODE_COMBO, "00: 非组播"}},
          {{IDC_DST_ADDR, kAddr}, {IDC_TASK_ID, "12"}, {IDC_USER_DATA, "ABC"}}},
         IDC_REQUEST_SEARCH_ATTRIBUTES, "79 0C 00 40 1A 51 00 F6 E5 D4 C3 B2 A1 0C 02 0A BC 50 A8", IDC_SEARCH_LOG, {}},
        {"RequestAttributesMulticastEmptyAttribute",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "BLEMAC地址"}, {IDC_MULTICAST_MODE_COMBO, "01: 组播地址"}},
          {{IDC_DST_ADDR, kAddr}, {IDC_TASK_ID, "99"}, {IDC_MULTICAST_ADDR, "1234"}, {IDC_USER_DATA, ""}}},
         IDC_REQUEST_SEARCH_ATTRIBUTES, "79 0C 00 40 1A 51 01 F6 E5 D4 C3 B2 A1 63 34 12 00 26 54", IDC_SEARCH_LOG, {}},
        // The reply's task id is every typed byte; it carries no group even with the flag set.
        {"ReplyAttributes",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "云服务器"}, {IDC_SEARCH_PARTICIPATION_COMBO, "参与搜索"},
           {IDC_MULTICAST_MODE_COMBO, "01: 组播地址"}},
          {{IDC_DST_ADDR, kAddr}, {IDC_TASK_ID, "1234"}, {IDC_MULTICAST_ADDR, "5678"}, {IDC_USER_DATA, ""}}},
         IDC_REPLY_SEARCH_ATTRIBUTES, "79 0B 00 40 1B 21 03 F6 E5 D4 C3 B2 A1 12 34 00 95 43", IDC_SEARCH_LOG, {}},
        {"AnswerRemotePasswordMulticast",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "云服务器"}, {IDC_PRIORITY_COMBO, "High"},
           {IDC_MULTICAST_MODE_COMBO, "01: 组播地址"}, {IDC_CHANGE_CONSENT_COMBO, "同意修改"}},
          {{IDC_PASSWORD_MULTICAST, "ABCD"}, {IDC_PASSWORD_DST_ADDR, "112233445566"}}},
         IDC_ANSWER_REMOTE_PASSWORD, "79 0B 00 40 1E 21 03 CD AB 66 55 44 33 22 11 01 6B 67", IDC_PASSWORD_LOG, {}},
        {"AnswerRemotePasswordNoConsentIsOneByteShorter",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "云服务器"}, {IDC_PRIORITY_COMBO, "Normal"},
           {IDC_MULTICAST_MODE_COMBO, "00: 非组播"}, {IDC_CHANGE_CONSENT_COMBO, ""}},
          {{IDC_PASSWORD_MULTICAST, "ABCD"}, {IDC_PASSWORD_DST_ADDR, "112233445566"}}},
         IDC_ANSWER_REMOTE_PASSWORD, "79 08 00 40 1E 21 00 66 55 44 33 22 11 EC 00", IDC_PASSWORD_LOG, {}},
        // The target's mode in the low bits; the address padded in front.
        {"SlavePasswordReply",
         {{{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "云服务器"}, {IDC_CHANGE_CONSENT_COMBO, "拒绝修改"}},
          {{IDC_RELAY_DEPTH, "1F"}, {IDC_PASSWORD_DST_ADDR, "12345"}}},
         IDC_SLAVE_PASSWORD_REPLY, "79 09 00 40 1F 12 0F 45 23 01 00 00 00 00 F2 2C", IDC_FRAME_LOG, {}},
        {"RawSendAsTyped", {{}, {{IDC_RAW_SEND_DATA, "79 00 00 40 18 58 58"}}}, IDC_RAW_SEND, kStopSearch,
         IDC_FRAME_LOG, {}},
        {"FrameTest", {{}, {{IDC_FRAME_TEST_CMD, "17"}, {IDC_FRAME_TEST_DATA, "0102"}}}, IDC_FRAME_TEST,
         "79 02 00 40 17 01 02 5C 56", IDC_FRAME_LOG, {}},
        {"FrameTestCommandIsTheFirstByte", {{}, {{IDC_FRAME_TEST_CMD, "1718"}, {IDC_FRAME_TEST_DATA, "01 02"}}},
         IDC_FRAME_TEST, "79 02 00 40 17 01 02 5C 56", IDC_FRAME_LOG, {}},
    };
}

std::vector<PageCase> RefusalCases() {
    const PageInput remote = {
        {}, {{IDC_PASSWORD_DST_ADDR, "112233445566"}, {IDC_OLD_PSK, "AAAAAAAA"}, {IDC_NEW_PSK, "BBBBBBBB"}}, 0};
    auto with = [](PageInput input, std::vector<std::pair<int, std::string>> edits, int hex = -1) {
        input.edits.insert(input.edits.end(), edits.begin(), edits.end());
        if (hex >= 0) input.hex = hex;
        return input;
    };
    return {
        {"SendDataDepthFirst", {{}, {{IDC_DEPTH, ""}, {IDC_SEND_DST_ADDR, ""}}}, IDC_SEND_DATA, "", 0, {},
         "depth域不能为空"},
        {"SendDataEmptyAddress", {{}, {{IDC_DEPTH, "1"}, {IDC_SEND_DST_ADDR, ""}}}, IDC_SEND_DATA, "", 0, {},
         "地址域不能为空"},
        {"SendDataBlankAddress", {{}, {{IDC_DEPTH, "1"}, {IDC_SEND_DST_ADDR, " "}}}, IDC_SEND_DATA, "", 0, {},
         "地址域不能为空"},
        {"ExecStateEmptyAddress", {{{IDC_DST_MODE_COMBO, "网关"}}, {{IDC_DST_ADDR, ""}}}, IDC_EXEC_STATE_REPORT, "", 0,
         {}, "地址域不能为空"},
        {"SearchWithoutMulticastAddress", {{{IDC_MULTICAST_MODE_COMBO, "01: 组播地址"}}, {{IDC_MULTICAST_ADDR, ""}}},
         IDC_START_SEARCH, "", 0, {}, "请输入组播地址"},
        {"StartConnectionEmptyAddress", {{{IDC_DST_MODE_COMBO, "网关"}}, {{IDC_DST_ADDR, ""}}}, IDC_START_CONNECTION, "",
         0, {}, "地址域不能为空"},
        {"DeleteConnectionEmptyAddress", {{{IDC_DST_MODE_COMBO, "网关"}}, {{IDC_DST_ADDR, ""}}}, IDC_DELETE_CONNECTION,
         "", 0, {}, "地址域不能为空"},
        {"UserPassword65Characters", {{}, {{IDC_NEW_PSK, std::string(65, 'z')}}, 0}, IDC_SET_USER_PASSWORD, "", 0, {},
         "口令长度为1-64"},
        {"UserPassword257Characters", {{}, {{IDC_NEW_PSK, std::string(257, 'z')}}, 0}, IDC_SET_USER_PASSWORD, "", 0, {},
         "口令长度为1-64"},
        {"UserPasswordEmpty", {{}, {{IDC_NEW_PSK, ""}}, 0}, IDC_SET_USER_PASSWORD, "", 0, {}, "口令长度为1-64"},
        {"UserPassword65HexBytes", {{}, {{IDC_NEW_PSK, std::string(129, '1')}}, 1}, IDC_SET_USER_PASSWORD, "", 0, {},
         "口令长度为1-64"},
        {"RemotePasswordEmptyAddress", with(remote, {{IDC_PASSWORD_DST_ADDR, ""}}), IDC_REMOTE_PASSWORD_SET, "", 0, {},
         "地址域不能为空"},
        {"RemotePasswordShortKeyText", with(remote, {{IDC_OLD_PSK, "AAAAAAA"}}), IDC_REMOTE_PASSWORD_SET, "", 0, {},
         "密钥长度为8-64"},
        {"RemotePasswordShortKeyHex", with(remote, {{IDC_OLD_PSK, "01020304050607"}}, 1), IDC_REMOTE_PASSWORD_SET, "",
         0, {}, "口令长度为8-64"},
        // The second password refused: the first one's length stays shown.
        {"RemotePasswordShortSecond",
         with(remote, {{IDC_OLD_PSK_LEN, ""}, {IDC_OLD_PSK, "AAAAAAAAAA"}, {IDC_NEW_PSK, "BB"}}),
         IDC_REMOTE_PASSWORD_SET, "", 0, {{IDC_OLD_PSK_LEN, "10"}}, "密钥长度为8-64"},
        {"AddReportDeviceSendsNothing", {{}, {{IDC_DEVICE_COUNT, "12"}}}, IDC_ADD_REPORT_DEVICE, "", 0, {}},
        {"LinkStateEmptyAddress", {{}, {{IDC_DST_ADDR, ""}}}, IDC_LINK_STATE_REPORT, "", 0, {}, "地址域不能为空"},
        {"BroadcastWithoutGroup", {{{IDC_MULTICAST_MODE_COMBO, "01: 组播地址"}}, {{IDC_MULTICAST_ADDR, ""}}},
         IDC_BROADCAST, "", 0, {}, "请输入组播地址"},
        {"RequestAttributesEmptyAddress", {{}, {{IDC_DST_ADDR, " "}}}, IDC_REQUEST_SEARCH_ATTRIBUTES, "", 0, {},
         "地址域不能为空"},
        {"RequestAttributesWithoutGroup",
         {{{IDC_MULTICAST_MODE_COMBO, "01: 组播地址"}}, {{IDC_DST_ADDR, kAddr}, {IDC_MULTICAST_ADDR, ""}}},
         IDC_REQUEST_SEARCH_ATTRIBUTES, "", 0, {}, "请输入组播地址"},
        {"ReplyAttributesEmptyAddress", {{}, {{IDC_DST_ADDR, ""}}}, IDC_REPLY_SEARCH_ATTRIBUTES, "", 0, {},
         "地址域不能为空"},
        {"AnswerRemotePasswordWithoutGroup",
         {{{IDC_MULTICAST_MODE_COMBO, "01: 组播地址"}}, {{IDC_PASSWORD_MULTICAST, ""}, {IDC_PASSWORD_DST_ADDR, "1"}}},
         IDC_ANSWER_REMOTE_PASSWORD, "", 0, {}, "请输入组播地址"},
        {"AnswerRemotePasswordEmptyAddress", {{}, {{IDC_PASSWORD_DST_ADDR, ""}}}, IDC_ANSWER_REMOTE_PASSWORD, "", 0,
         {}, "地址域不能为空"},
        {"SlavePasswordReplyEmptyAddress", {{}, {{IDC_PASSWORD_DST_ADDR, ""}}}, IDC_SLAVE_PASSWORD_REPLY, "", 0, {},
         "请输入地址"},
        {"ContinuousSendWhileDisabled", {}, IDC_CONTINUOUS_SEND_DATA, "", 0, {{IDC_CONTINUOUS_SEND_DATA, "连续发送数据"}}},
    };
}

class PageButtonTest : public PageSendersTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageButtonTest, SendsItsFrameOrRefuses) {
    const PageCase& c = GetParam();
    Enter(c.input);
    // The device adding dialog that this button runs is closed with Esc.
    if (c.button == IDC_ADD_REPORT_DEVICE) dlg->PostTaskAfter(200, [] { PressKeyOnFocusWindow(Key::Escape); });
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
    Enter({{{IDC_SRC_MODE_COMBO, "网关"},
            {IDC_DST_MODE_COMBO, "RM5207MAC地址"},
            {IDC_DECRYPT_RESULT_COMBO, "解密老密钥成功"}},
           {{IDC_RELAY_DEPTH, "1F"}, {IDC_PASSWORD_DST_ADDR, "A1B2C3D4E5F6"}, {IDC_OLD_PSK, "1234567"}},
           0});
    ExpectRefused([&] { dlg->SendRemotePasswordSlaveRequest(); }, "口令长度为8-64");
    Enter({{}, {{IDC_PASSWORD_DST_ADDR, ""}, {IDC_OLD_PSK, "12345678"}}});
    ExpectRefused([&] { dlg->SendRemotePasswordSlaveRequest(); }, "地址域不能为空");
    Enter({{}, {{IDC_PASSWORD_DST_ADDR, "A1B2C3D4E5F6"}}});
    ExpectSent([&] { dlg->SendRemotePasswordSlaveRequest(); },
               "79 11 00 40 1D 41 2F F6 E5 D4 C3 B2 A1 08 31 32 33 34 35 36 37 38 4F 35", IDC_DATA_LOG);
    EXPECT_EQ(dlg->GetDlgItemText(IDC_OLD_PSK_LEN), "8");
    // No address for a target of any type; one hexadecimal digit of depth; a hexadecimal password.
    Enter({{{IDC_SRC_MODE_COMBO, "云服务器"},
            {IDC_DST_MODE_COMBO, "不区分设备类型"},
            {IDC_DECRYPT_RESULT_COMBO, "解密新密钥成功"}},
           {{IDC_RELAY_DEPTH, "A"}, {IDC_OLD_PSK, "0102030405060708"}},
           1});
    ExpectSent([&] { dlg->SendRemotePasswordSlaveRequest(); },
               "79 0B 00 40 1D 02 1A 08 01 02 03 04 05 06 07 08 B0 4E", IDC_DATA_LOG);
}

TEST_F(PageSendersTest, ContinuousSendingSendsAStepAndStartsItsTimer) {
    Enter(kSendData);
    WindowContinuousSend sender(*dlg);
    // The timer is stopped once seen running: the steps below are taken here, not by its ticks.
    bool timerStarted = false;
    ExpectSent(
        [&] {
            sender.send.Start();
            timerStarted = dlg->IsTimerRunning(TIMER_CONTINUOUS_SEND);
            dlg->KillTimer(TIMER_CONTINUOUS_SEND);
        },
        "79 0C 00 40 14 31 78 BC 9A 78 56 34 12 02 00 01 23 99 1F", IDC_DATA_LOG);
    EXPECT_EQ(dlg->GetDlgItemText(IDC_CONTINUOUS_SEND_DATA), "第1次发送");
    EXPECT_TRUE(timerStarted);
    // A refused step shows its message once and stops the sending.
    Enter({{}, {{IDC_DEPTH, ""}}});
    ExpectRefused([&] { sender.send.Step(); }, "depth域不能为空");
    EXPECT_EQ(dlg->GetDlgItemText(IDC_CONTINUOUS_SEND_DATA), "连续发送数据");
    EXPECT_FALSE(sender.send.IsGoingOn());
    EXPECT_EQ(sender.send.Count(), 1u);
}

// The settings dialog as the button runs it: its defaults, its refusals, Enter closing it, and
// "是否重新计数" greyed from start-up until "中断".
TEST_F(PageSendersTest, ContinuousSendSettingsDialog) {
    struct Seen {
        int enabled = -1;
        bool restartEnabled = true, totalEnabled = true;
        std::string interval, total;
    };
    auto look = [](Dialog& d) {
        Seen s;
        s.enabled = Button(d.GetDlgItem(IDC_CONT_SEND_ENABLE)).GetCheck();
        s.restartEnabled = d.GetDlgItem(IDC_CONT_SEND_RESTART_COUNT).IsEnabled();
        s.totalEnabled = d.GetDlgItem(IDC_CONT_SEND_TOTAL).IsEnabled();
        s.interval = d.GetDlgItemText(IDC_CONT_SEND_INTERVAL);
        s.total = d.GetDlgItemText(IDC_CONT_SEND_TOTAL);
        return s;
    };
    Seen first;
    std::vector<std::string> refusals;
    bool closedByEnter = false;
    // Enabled, an interval that would never send refused each time with the dialog left open,
    // then 2 seconds.
    dlg->SetModalWatcher([&](Dialog& d) {
        first = look(d);
        Button(d.GetDlgItem(IDC_CONT_SEND_ENABLE)).Click();
        for (const char* bad : {"-1", "4294968", "-3abc"}) {
            d.SetDlgItemText(IDC_CONT_SEND_INTERVAL, bad);
            d.PressKey(Key::Enter);
            refusals.push_back(boxes.empty() ? "" : boxes.back().text);
            boxes.clear();
        }
        d.SetDlgItemText(IDC_CONT_SEND_INTERVAL, " 2 ");
        EnterMustClose(d, boxes);
        closedByEnter = true;
    });
    Enter(kSendData);
    const std::string frame = "79 0C 00 40 14 31 78 BC 9A 78 56 34 12 02 00 01 23 99 1F";
    // The steps below are taken by ticks given here, not by the timer's.
    bool running = false;
    auto press = [&] {
        Click(IDC_CONTINUOUS_SEND_DATA);
        running = dlg->IsTimerRunning(TIMER_CONTINUOUS_SEND);
        dlg->KillTimer(TIMER_CONTINUOUS_SEND);
    };
    auto tick = [&] { dlg->DeliverTimerTick(TIMER_CONTINUOUS_SEND); };
    ExpectSent(press, frame, IDC_DATA_LOG);
    EXPECT_TRUE(closedByEnter);
    EXPECT_EQ(first.enabled, 0);
    EXPECT_FALSE(first.restartEnabled);  // greyed at start-up
    EXPECT_FALSE(first.totalEnabled);
    EXPECT_EQ(first.interval + "|" + first.total, "0|0");
    EXPECT_EQ(refusals, std::vector<std::string>(3, "时间间隔须为0到4294967之间的整数"));
    EXPECT_TRUE(running);
    // Two seconds: ten ticks pass without a step.
    for (int i = 0; i < 10; ++i) tick();
    EXPECT_EQ(dlg->GetDlgItemText(IDC_CONTINUOUS_SEND_DATA), "第1次发送");

    // While the run goes on, the restart is greyed and a click on it changes nothing; closed,
    // the dialog leaves the run switched on and the button sends at once.
    Seen during;
    dlg->SetModalWatcher([&](Dialog& d) {
        during = look(d);
        Button(d.GetDlgItem(IDC_CONT_SEND_RESTART_COUNT)).Click();
        d.PressKey(Key::Escape);
    });
    ExpectSent(press, frame, IDC_DATA_LOG);
    EXPECT_FALSE(during.restartEnabled);
    EXPECT_EQ(during.enabled, 1);
    EXPECT_EQ(during.interval + "|" + during.total, "2|1");
    EXPECT_EQ(dlg->GetDlgItemText(IDC_CONTINUOUS_SEND_DATA), "第2次发送");

    // "中断" stops at once; then the counters restart from the dialog even when Esc closes it.
    dlg->SetTimer(TIMER_CONTINUOUS_SEND, 200);
    Click(IDC_INTERRUPT_SEND);
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_CONTINUOUS_SEND));
    EXPECT_EQ(dlg->GetDlgItemText(IDC_CONTINUOUS_SEND_DATA), "连续发送数据");
    Seen second;
    dlg->SetModalWatcher([&](Dialog& d) {
        second = look(d);
        Button(d.GetDlgItem(IDC_CONT_SEND_RESTART_COUNT)).Click();
        d.PressKey(Key::Escape);
    });
    ExpectRefused([&] { Click(IDC_CONTINUOUS_SEND_DATA); }, "");
    EXPECT_EQ(second.enabled, 0);
    EXPECT_TRUE(second.restartEnabled);
    EXPECT_EQ(second.interval + "|" + second.total, "2|2");
    // Unticked, "确定" closes without storing what was typed.
    Seen third;
    dlg->SetModalWatcher([&](Dialog& d) {
        third = look(d);
        d.SetDlgItemText(IDC_CONT_SEND_INTERVAL, "-1");
        Button(d.GetDlgItem(kIdOk)).Click();
    });
    ExpectRefused([&] { Click(IDC_CONTINUOUS_SEND_DATA); }, "");
    EXPECT_EQ(third.total, "0");
    // Switched on again and closed with Esc, it runs at the two seconds stored: ten ticks pass,
    // the eleventh steps.
    dlg->SetModalWatcher([&](Dialog& d) {
        Button(d.GetDlgItem(IDC_CONT_SEND_ENABLE)).Click();
        d.PressKey(Key::Escape);
    });
    ExpectSent(press, frame, IDC_DATA_LOG);
    for (int i = 0; i < 10; ++i) tick();
    EXPECT_EQ(dlg->GetDlgItemText(IDC_CONTINUOUS_SEND_DATA), "第1次发送");
    ExpectSent(tick, frame, IDC_DATA_LOG);
    EXPECT_EQ(dlg->GetDlgItemText(IDC_CONTINUOUS_SEND_DATA), "第2次发送");
}

// An interval of 0 (typed, not a number, or never stored) sends at every tick of the 200 ms
// timer: the window's own timer sends frame after frame to the module until "中断", and the
// dialog's count is the number of frames the module received.
TEST_F(PageSendersTest, ContinuousSendWithAnIntervalOfZeroSendsAtEveryTick) {
    Enter(kSendData);
    const std::string frame = "79 0C 00 40 14 31 78 BC 9A 78 56 34 12 02 00 01 23 99 1F ";
    const struct {
        const char* name;
        const char* typed;  // nullptr: closed with Esc, no interval ever stored
    } cases[] = {{"never stored, Esc", nullptr}, {"0", "0"}, {"not a number", "abc"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dlg->SetModalWatcher([&](Dialog& d) {
            Button(d.GetDlgItem(IDC_CONT_SEND_ENABLE)).Click();
            Button(d.GetDlgItem(IDC_CONT_SEND_RESTART_COUNT)).Click();
            if (c.typed) {
                d.SetDlgItemText(IDC_CONT_SEND_INTERVAL, c.typed);
                EnterMustClose(d, boxes);
            } else {
                d.PressKey(Key::Escape);
            }
        });
        Click(IDC_CONTINUOUS_SEND_DATA);
        EXPECT_TRUE(boxes.empty());
        EXPECT_TRUE(dlg->IsTimerRunning(TIMER_CONTINUOUS_SEND));
        EXPECT_EQ(dlg->TimerPeriod(TIMER_CONTINUOUS_SEND), 200u);
        // The first frame at once, then one more at each tick.
        size_t seen = 0;
        for (; seen < 5; ++seen) ASSERT_EQ(NextFrame(), frame) << seen;
        Click(IDC_INTERRUPT_SEND);
        EXPECT_FALSE(dlg->IsTimerRunning(TIMER_CONTINUOUS_SEND));
        std::string total;
        dlg->SetModalWatcher([&](Dialog& d) {
            total = d.GetDlgItemText(IDC_CONT_SEND_TOTAL);
            d.PressKey(Key::Escape);
        });
        Click(IDC_CONTINUOUS_SEND_DATA);
        const size_t sent = static_cast<size_t>(std::stoul(total));
        EXPECT_GE(sent, 5u);
        // Every frame counted reaches the module, and nothing more.
        for (; seen < sent; ++seen) ASSERT_EQ(NextFrame(), frame) << seen;
        ExpectRefused([] {}, "");
    }
}

// Counts and the success rate over ticks driven by hand, some replies missing or bad.
TEST_F(PageSendersTest, ContinuousSendCountsRepliesAndInterruptStopsIt) {
    Enter(kSendData);
    WindowContinuousSend sender(*dlg);
    sender.send.Settings().enabled = true;
    sender.send.Settings().ticks = 1;
    using kvtsim::BuildFrame;
    const ByteString good = BuildFrame(0x80, 0x14, ByteString());
    const ByteString bad = BuildFrame(0xA0, 0x14, kvtsim::FromHex("01"));
    const std::vector<ByteString> answers = {good, {}, good, bad, good, {}};
    size_t frames = sim.ReceivedFrames().size();
    for (size_t i = 0; i < answers.size(); ++i) {
        sim.SetAnswer(0x14, answers[i]);
        if (i == 0) {
            sender.send.StartIfEnabled();
            dlg->KillTimer(TIMER_CONTINUOUS_SEND);
        } else {
            // The second tick after a step sends the next one.
            sender.send.Tick();
            dlg->KillTimer(TIMER_CONTINUOUS_SEND);
        }
        ASSERT_TRUE(WaitFor([&] { return sim.ReceivedFrames().size() == frames + 1; })) << i;
        frames = sim.ReceivedFrames().size();
        if (!answers[i].empty())
            ASSERT_TRUE(WaitFor([&] { return dlg->Link().Queues().sendDataArrived == 1; })) << i;
        else
            PumpFor(100);
        sender.send.Tick();
        EXPECT_EQ(sim.ReceivedFrames().size(), frames) << i;
    }
    EXPECT_EQ(sender.send.Count(), 6u);
    EXPECT_EQ(sender.send.Successes(), 3u);
    EXPECT_EQ(sender.send.SuccessRate(), 50u);
    EXPECT_EQ(dlg->GetDlgItemText(IDC_CONTINUOUS_SEND_DATA), "第6次发送");
    // What "中断" does (the button's own run is interrupted in the settings dialog's test).
    dlg->SetTimer(TIMER_CONTINUOUS_SEND, 200);
    sender.send.Stop();
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_CONTINUOUS_SEND));
    EXPECT_EQ(dlg->GetDlgItemText(IDC_CONTINUOUS_SEND_DATA), "连续发送数据");
    EXPECT_FALSE(sender.send.Settings().enabled);
}

TEST_F(PageSendersTest, NoLengthRunsPastItsSixteenBits) {
    // A data edit: 65535 bytes carry the count FF FF, one more is refused. (The send-data edit
    // holds fewer characters; the multi-line edit of the frame generator holds them all.)
    for (const size_t bytes : {size_t{65535}, size_t{65536}}) {
        dlg->SetDlgItemText(IDC_FRAME_GEN_DATA, std::string(2 * bytes, 'C'));
        ByteString payload;
        EXPECT_EQ(ReadDataEdit(*dlg, IDC_FRAME_GEN_DATA, payload), bytes == 65535) << bytes;
        EXPECT_EQ(payload.substr(0, 3), bytes == 65535 ? Hex("FF FF CC") : ByteString()) << bytes;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "数据长度超过65535字节");
    boxes.clear();
    // A frame: a payload of 65535 bytes has the length FF FF; one more is refused, nothing sent.
    auto payloadOf = [](size_t bytes) -> PagePayload {
        return [bytes](Dialog&, ByteString& payload) {
            payload.assign(bytes, 0x5A);
            return true;
        };
    };
    ByteString frame;
    ASSERT_TRUE(BuildCommandFrame(*dlg, kMainHeaderCombos, 0x14, payloadOf(65535), frame));
    EXPECT_EQ(frame.size(), 65535u + 7);
    EXPECT_EQ(frame.substr(0, 6), Hex("79 FF FF 40 14 5A"));
    ExpectRefused([&] { dlg->SendModuleCommand(0x14, payloadOf(65536), LogList::DataLog); },
                  "数据长度超过65535字节");
}

// ---- The combo mappers: each text of the combo to its code, in the order compared ----

TEST_F(PageSendersTest, ComboMappersGiveTheCodeOfEachText) {
    // The code a mapper gives for its combo's text; 0xEE when it leaves the code as it was, -1
    // when it appends nothing.
    const auto byte = [](auto map) {
        return std::function<int(Dialog&)>([map](Dialog& page) {
            uint8_t code = 0xEE;
            map(page, code);
            return static_cast<int>(code);
        });
    };
    const auto appended = [](auto map) {
        return std::function<int(Dialog&)>([map](Dialog& page) {
            ByteString payload;
            map(page, payload);
            return payload.size() == 1 ? static_cast<int>(payload[0]) : -1;
        });
    };
    const struct {
        int combo;
        std::function<int(Dialog&)> map;
        std::vector<std::pair<const char*, int>> codes;
        int none;  // for a text the combo does not offer
    } mappers[] = {
        {IDC_BAUD_RATE_COMBO, byte(GetBaudCode),
         {{"600", 0}, {"1200", 1}, {"2400", 2}, {"4800", 3}, {"9600", 4}, {"14400", 5}, {"19200", 6}, {"38400", 7},
          {"56000", 8}, {"57600", 9}, {"115200", 10}}, 0xEE},
        {IDC_TX_POWER_COMBO, byte(GetLevel), {{"0 档", 0}, {"1 档", 1}, {"2 档", 2}, {"3 档", 3}}, 0xEE},
        {IDC_BAND_COMBO, byte(GetBand), {{"131", 0}, {"411", 1}}, 0xEE},
        {IDC_TCP_STATE_COMBO, appended(GetTcpState),
         {{"不存在", 0}, {"连接中", 1}, {"无法建立连接", 2}, {"连接丢失", 3}, {"建立连接成功", 4}}, -1},
        {IDC_TCP_TYPE_COMBO, appended(GetTcpOrUdp), {{"0:UDP", 0}, {"1:TCP", 1}}, -1},
        {IDC_SEARCH_PARTICIPATION_COMBO, byte(GetSearchParticipation), {{"不参与搜索", 0}, {"参与搜索", 1}}, 0xEE},
        {IDC_CHANGE_CONSENT_COMBO, appended(GetChangeConsent), {{"拒绝修改", 0}, {"同意修改", 1}}, -1},
    };
    for (const auto& m : mappers) {
        ComboBox combo(dlg->GetDlgItem(m.combo));
        EXPECT_EQ(combo.GetCount(), static_cast<int>(m.codes.size())) << m.combo;
        for (const auto& c : m.codes) {
            Enter({{{m.combo, c.first}}, {}});
            EXPECT_EQ(m.map(*dlg), c.second) << c.first;
        }
        // Texts are compared whole: no 28800, no text with a blank after it.
        for (const char* other : {"28800", "1 档 ", ""}) {
            combo.SetText(other);
            EXPECT_EQ(m.map(*dlg), m.none) << m.combo << " " << other;
        }
    }
    // The forms with a result say whether a code was found.
    uint8_t code = 0;
    ByteString payload;
    EXPECT_FALSE(GetBaudCode(*dlg, code) || GetBand(*dlg, code) || GetChangeConsent(*dlg, payload));
    Enter({{{IDC_BAUD_RATE_COMBO, "57600"}, {IDC_BAND_COMBO, "131"}, {IDC_CHANGE_CONSENT_COMBO, "拒绝修改"}}, {}});
    EXPECT_TRUE(GetBaudCode(*dlg, code) && GetBand(*dlg, code) && GetChangeConsent(*dlg, payload));
}

// ---- Readers of the page that no sender uses yet ----

TEST_F(PageSendersTest, ReadersOfTheMainWindowsPages) {
    Enter({{}, {{IDC_DEVICE_COUNT, "12"}}});
    EXPECT_EQ(ReadDeviceLimit(*dlg), 0x12);  // the count edit read as hexadecimal: 18
    // Port numbers: an empty edit and one beyond 16 bits are refused, the latter naming the range.
    for (const char* port : {"", "70000", "8081"}) {
        dlg->SetDlgItemText(IDC_TCP_DST_PORT, port);
        ByteString payload;
        EXPECT_EQ(ReadPortNumber(*dlg, IDC_TCP_DST_PORT, payload), port[0] == '8') << port;
        EXPECT_EQ(payload, port[0] == '8' ? Hex("91 1F") : ByteString()) << port;
    }
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"输入端口号", "端口号须为0到65535之间的整数"}));
    IpAddressEdit(dlg->GetDlgItem(IDC_TCP_DST_IP)).SetAddress(0xC0A80108);  // 192.168.1.8
    ByteString ip;
    EXPECT_TRUE(ReadIpAddress(*dlg, IDC_TCP_DST_IP, ip));
    EXPECT_EQ(ip, Hex("08 01 A8 C0"));
}

}  // namespace
