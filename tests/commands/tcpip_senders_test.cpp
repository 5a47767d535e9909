// The TCP/IP, tone, backbone password and multicast group buttons against the simulated module: the exact frame, the row in its log,
// and a refusal for each kind of malformed field.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/TestDlg/test_dlg.h"
#include "commands/field_readers.h"
#include "res/resource_ids.h"
#include "support/dialog_lookup.h"
#include "support/sender_checks.h"
#include "test_frames.h"

namespace {

using testing_frames::Hex;
using testsupport::PageInput;
using testsupport::Within;

class TcpipSendersTest : public testsupport::MainWindowSenders {
protected:
    TcpipSendersTest() : MainWindowSenders(11, true) {}

    void SetUp() override {
        MainWindowSenders::SetUp();
        OpenWithHostHeader();
    }
};

// Source 192.168.1.8:8081, destination 10.0.0.2:502; the page's IP 192.168.1.8.
const PageInput kPage = {{{IDC_TCP_STATE_COMBO, "建立连接成功"}, {IDC_TCP_TYPE_COMBO, "1:TCP"}},
                         {{IDC_TCP_SRC_IP, "192.168.1.8"},
                          {IDC_TCP_SRC_PORT, "8081"},
                          {IDC_TCP_DST_IP, "10.0.0.2"},
                          {IDC_TCP_DST_PORT, "502"},
                          {IDC_TCP_USER_DATA, "AB CD"},
                          {IDC_DOMAIN_NAME, "a.cn"},
                          {IDC_NETPORT_IP, "192.168.1.8"},
                          {IDC_NETPORT_MASK, "255.255.255.0"},
                          {IDC_NETPORT_GATEWAY, "192.168.1.1"},
                          {IDC_NETPORT_DNS1, "8.8.8.8"},
                          {IDC_NETPORT_DNS2, ""}}};

struct TcpipCase {
    const char* name;
    PageInput change;  // what differs from kPage
    int button;
    std::string frame;  // empty: refused
    int log = IDC_FRAME_LOG;
    const char* message = "";
    const PageInput* base = &kPage;  // entered before the change
};

const PageInput kNone;

// The remote password pages as the user-password commands' tests fill them.
const PageInput kRemotePassword = {
    {{IDC_DST_MODE_COMBO, "不区分设备类型"}},
    {{IDC_PASSWORD_DST_ADDR, "112233445566"}, {IDC_OLD_PSK, "AAAAAAAA"}, {IDC_NEW_PSK, "BBBBBBBBB"}},
    0};
const PageInput kPasswordRequest = {
    {{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "RM5207MAC地址"}, {IDC_DECRYPT_RESULT_COMBO, "解密老密钥成功"}},
    {{IDC_RELAY_DEPTH, "1F"}, {IDC_PASSWORD_DST_ADDR, "A1B2C3D4E5F6"}, {IDC_OLD_PSK, "12345678"}},
    0};
const PageInput kPasswordReply = {
    {{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "云服务器"}, {IDC_PRIORITY_COMBO, "High"},
     {IDC_MULTICAST_MODE_COMBO, "01: 组播地址"}, {IDC_CHANGE_CONSENT_COMBO, "同意修改"}},
    {{IDC_PASSWORD_MULTICAST, "ABCD"}, {IDC_PASSWORD_DST_ADDR, "112233445566"}}};
const PageInput kSlaveReply = {
    {{IDC_SRC_MODE_COMBO, "网关"}, {IDC_DST_MODE_COMBO, "云服务器"}, {IDC_CHANGE_CONSENT_COMBO, "拒绝修改"}},
    {{IDC_RELAY_DEPTH, "1F"}, {IDC_PASSWORD_DST_ADDR, "12345"}}};
// Gateway to cloud server, no multicast; two groups.
const PageInput kMulticast = {{{IDC_SRC_MODE_COMBO, "网关"},
                               {IDC_DST_MODE_COMBO, "云服务器"},
                               {IDC_MULTICAST_MODE_COMBO, "00: 非组播"},
                               {IDC_SEARCH_PARTICIPATION_COMBO, "参与搜索"}},
                              {{IDC_TASK_ID, "ABCD"},
                               {IDC_DST_ADDR, "A1B2C3D4E5F6"},
                               {IDC_MULTICAST_COUNT, "2"},
                               {IDC_MULTICAST_GROUP1, "12"},
                               {IDC_MULTICAST_GROUP2, "1234"},
                               {IDC_MULTICAST_GROUP3, ""}}};
const PageInput kMulticastFlag = {{{IDC_MULTICAST_MODE_COMBO, "01: 组播地址"},
                                   {IDC_SEARCH_PARTICIPATION_COMBO, "不参与搜索"}},
                                  {{IDC_MULTICAST_COUNT, "0"}}};

std::vector<TcpipCase> Cases() {
    return {
        {"EnableTcpip", {}, IDC_ENABLE_TCPIP, "79 00 00 40 30 70 70"},
        {"ReadLocalNetport", {}, IDC_READ_LOCAL_NETPORT, "79 00 00 40 31 71 71"},
        // Twenty payload bytes, 27 in all; the empty second DNS is four zero bytes.
        {"SetLocalNetport", {}, IDC_SET_LOCAL_NETPORT,
         "79 14 00 40 32 08 01 A8 C0 00 FF FF FF 01 01 A8 C0 08 08 08 08 00 00 00 00 7E 90", IDC_DATA_LOG},
        {"DnsResolve", {}, IDC_DNS_RESOLVE, "79 05 00 40 33 04 61 2E 63 6E DC 30"},
        {"DnsResolveCountsCodePageBytes", {{}, {{IDC_DOMAIN_NAME, "域"}}}, IDC_DNS_RESOLVE,
         "79 03 00 40 33 02 D3 F2 3D 53"},
        {"DnsResolveReport", {}, IDC_DNS_RESOLVE_REPORT, "79 09 00 40 34 04 61 2E 63 6E 08 01 A8 C0 52 5A"},
        {"TcpStateReportStateAfterPair", {}, IDC_TCP_STATE_REPORT,
         "79 0D 00 40 35 08 01 A8 C0 91 1F 02 00 00 0A F6 01 04 AA 6C"},
        {"TcpStateReportNoState", {{{IDC_TCP_STATE_COMBO, ""}}, {}}, IDC_TCP_STATE_REPORT,
         "79 0C 00 40 35 08 01 A8 C0 91 1F 02 00 00 0A F6 01 A5 69"},
        {"TcpStateQuery", {}, IDC_TCP_STATE_QUERY, "79 0C 00 40 36 08 01 A8 C0 91 1F 02 00 00 0A F6 01 A6 6A"},
        // A port is the leading whole number typed.
        {"PortsTrailingBlankAndSign", {{}, {{IDC_TCP_SRC_PORT, "8081 "}, {IDC_TCP_DST_PORT, "+502"}}},
         IDC_TCP_STATE_QUERY, "79 0C 00 40 36 08 01 A8 C0 91 1F 02 00 00 0A F6 01 A6 6A"},
        {"PortsLeadingBlankAndTail", {{}, {{IDC_TCP_SRC_PORT, " 8081"}, {IDC_TCP_DST_PORT, "502a"}}},
         IDC_TCP_STATE_QUERY, "79 0C 00 40 36 08 01 A8 C0 91 1F 02 00 00 0A F6 01 A6 6A"},
        {"PortsSignAndTail", {{}, {{IDC_TCP_SRC_PORT, "+8081"}, {IDC_TCP_DST_PORT, "\t502"}}}, IDC_TCP_STATE_QUERY,
         "79 0C 00 40 36 08 01 A8 C0 91 1F 02 00 00 0A F6 01 A6 6A"},
        {"PortWithATail", {{}, {{IDC_TCP_SRC_PORT, "8081a"}}}, IDC_TCP_STATE_QUERY,
         "79 0C 00 40 36 08 01 A8 C0 91 1F 02 00 00 0A F6 01 A6 6A"},
        {"TcpConnectTypeBeforePair", {}, IDC_TCP_CONNECT,
         "79 0D 00 40 37 01 08 01 A8 C0 91 1F 02 00 00 0A F6 01 A9 6B"},
        {"TcpConnectUdp", {{{IDC_TCP_TYPE_COMBO, "0:UDP"}}, {}}, IDC_TCP_CONNECT,
         "79 0D 00 40 37 00 08 01 A8 C0 91 1F 02 00 00 0A F6 01 A8 6A"},
        {"TcpConnectNoType", {{{IDC_TCP_TYPE_COMBO, ""}}, {}}, IDC_TCP_CONNECT,
         "79 0C 00 40 37 08 01 A8 C0 91 1F 02 00 00 0A F6 01 A7 6B"},
        {"TcpDisconnect", {}, IDC_TCP_DISCONNECT, "79 0C 00 40 38 08 01 A8 C0 91 1F 02 00 00 0A F6 01 A8 64"},
        {"TcpSendData", {}, IDC_TCP_SEND_DATA,
         "79 10 00 40 39 08 01 A8 C0 91 1F 02 00 00 0A F6 01 02 00 AB CD 27 1D"},
        {"TcpSendEmptyDataKeepsItsCount", {{}, {{IDC_TCP_USER_DATA, ""}}}, IDC_TCP_SEND_DATA,
         "79 0E 00 40 39 08 01 A8 C0 91 1F 02 00 00 0A F6 01 00 00 AB 67"},
        {"TcpReceiveData", {}, IDC_TCP_RECEIVE_DATA,
         "79 10 00 40 3A 08 01 A8 C0 91 1F 02 00 00 0A F6 01 02 00 AB CD 28 1E"},
        // Refusals: nothing sent, no row.
        {"EmptySourcePort", {{}, {{IDC_TCP_SRC_PORT, ""}}}, IDC_TCP_STATE_QUERY, "", 0, "输入端口号"},
        {"PortNotDigits", {{}, {{IDC_TCP_DST_PORT, "a80"}}}, IDC_TCP_CONNECT, "", 0, "输入端口号"},
        {"PortBeyond16Bits", {{}, {{IDC_TCP_DST_PORT, "65536"}}}, IDC_TCP_STATE_REPORT, "", 0,
         "端口号须为0到65535之间的整数"},
        {"PortBeyond16BitsWithATail", {{}, {{IDC_TCP_SRC_PORT, "65536a"}}}, IDC_TCP_STATE_QUERY, "", 0,
         "端口号须为0到65535之间的整数"},
        {"PortNegative", {{}, {{IDC_TCP_SRC_PORT, "-1"}}}, IDC_TCP_DISCONNECT, "", 0, "端口号须为0到65535之间的整数"},
        {"IpMissingField", {{}, {{IDC_TCP_DST_IP, "10.0.2"}}}, IDC_TCP_DISCONNECT, "", 0, "IP地址格式错误"},
        {"IpFieldAbove255", {{}, {{IDC_TCP_SRC_IP, "256.1.1.1"}}}, IDC_TCP_SEND_DATA, "", 0, "IP地址格式错误"},
        {"IpEmptyField", {{}, {{IDC_TCP_SRC_IP, "1..1.1"}}}, IDC_TCP_RECEIVE_DATA, "", 0, "IP地址格式错误"},
        {"NetportBadMask", {{}, {{IDC_NETPORT_MASK, "255.255.255."}}}, IDC_SET_LOCAL_NETPORT, "", 0,
         "IP地址格式错误"},
        {"DnsReportBadIp", {{}, {{IDC_NETPORT_IP, "1.2.3"}}}, IDC_DNS_RESOLVE_REPORT, "", 0, "IP地址格式错误"},
        {"DnsEmptyNameSilent", {{}, {{IDC_DOMAIN_NAME, ""}}}, IDC_DNS_RESOLVE, "", 0, ""},
        {"DnsReportEmptyNameSilent", {{}, {{IDC_DOMAIN_NAME, ""}}}, IDC_DNS_RESOLVE_REPORT, "", 0, ""},
        {"DnsName256Bytes", {{}, {{IDC_DOMAIN_NAME, std::string(256, 'a')}}}, IDC_DNS_RESOLVE, "", 0,
         "域名长度不能超过255字节"},
        // 128 characters of two bytes each.
        {"DnsReportName256CodePageBytes", {{}, {{IDC_DOMAIN_NAME, [] {
                                                     std::string s;
                                                     for (int i = 0; i < 128; ++i) s += "域";
                                                     return s;
                                                 }()}}},
         IDC_DNS_RESOLVE_REPORT, "", 0, "域名长度不能超过255字节"},
    };
}

std::vector<TcpipCase> OtherCases() {
    const int data = IDC_DATA_LOG;
    return {
        {"ToneNegativeGain", {{{IDC_BAND_COMBO, "411"}}, {{IDC_TGAIN, "-2"}}}, IDC_SET_LOCAL_TONE,
         "79 02 00 40 20 01 FE 61 9D", IDC_FRAME_LOG, "", &kNone},
        {"ToneBand131", {{{IDC_BAND_COMBO, "131"}}, {{IDC_TGAIN, "5"}}}, IDC_SET_LOCAL_TONE,
         "79 02 00 40 20 00 05 67 67", IDC_FRAME_LOG, "", &kNone},
        {"ToneEmptyGain", {{{IDC_BAND_COMBO, "411"}}, {{IDC_TGAIN, ""}}}, IDC_SET_LOCAL_TONE,
         "79 02 00 40 20 01 00 63 63", IDC_FRAME_LOG, "", &kNone},
        {"ToneNoBandSilent", {{{IDC_BAND_COMBO, ""}}, {{IDC_TGAIN, "5"}}}, IDC_SET_LOCAL_TONE, "", 0, "", &kNone},
        {"BackboneRemoteRequest", kNone, IDC_REMOTE_BACKBONE_REQUEST,
         "79 1B 00 40 21 33 00 66 55 44 33 22 11 08 41 41 41 41 41 41 41 41 09 42 42 42 42 42 42 42 42 42 7F 7D", data,
         "", &kRemotePassword},
        {"BackboneSlaveRequest", kNone, IDC_SLAVE_BACKBONE_REQUEST,
         "79 11 00 40 22 41 2F F6 E5 D4 C3 B2 A1 08 31 32 33 34 35 36 37 38 54 0A", data, "", &kPasswordRequest},
        {"BackboneRemoteReply", kNone, IDC_REMOTE_BACKBONE_REPLY,
         "79 0B 00 40 23 21 03 CD AB 66 55 44 33 22 11 01 70 5A", IDC_FRAME_LOG, "", &kPasswordReply},
        {"BackboneSlaveReply", kNone, IDC_SLAVE_BACKBONE_REPLY, "79 09 00 40 24 12 0F 45 23 01 00 00 00 00 F7 17",
         IDC_FRAME_LOG, "", &kSlaveReply},
        {"BackboneRemoteRequestShortKey", {{}, {{IDC_OLD_PSK, "AAAAAAA"}}}, IDC_REMOTE_BACKBONE_REQUEST, "", 0,
         "密钥长度为8-64", &kRemotePassword},
        {"BackboneSlaveRequestShortPassword", {{}, {{IDC_OLD_PSK, "1234567"}}}, IDC_SLAVE_BACKBONE_REQUEST, "", 0,
         "口令长度为8-64", &kPasswordRequest},
        {"BackboneRemoteReplyWithoutGroup", {{}, {{IDC_PASSWORD_MULTICAST, ""}}}, IDC_REMOTE_BACKBONE_REPLY, "", 0,
         "请输入组播地址", &kPasswordReply},
        {"BackboneSlaveReplyEmptyAddress", {{}, {{IDC_PASSWORD_DST_ADDR, ""}}}, IDC_SLAVE_BACKBONE_REPLY, "", 0,
         "请输入地址", &kSlaveReply},
        // Group "12" goes as 12 00, "1234" as 34 12.
        {"MulticastRequest", kNone, IDC_REMOTE_MULTICAST_REQUEST,
         "79 0D 00 40 25 21 00 F6 E5 D4 C3 B2 A1 02 12 00 34 12 B2 68", data, "", &kMulticast},
        {"MulticastRequestGroupAddressNoGroups", kMulticastFlag, IDC_REMOTE_MULTICAST_REQUEST,
         "79 0B 00 40 25 21 01 CD AB F6 E5 D4 C3 B2 A1 00 CF 3F", data, "", &kMulticast},
        {"MulticastReply", kNone, IDC_REMOTE_MULTICAST_REPLY, "79 09 00 40 27 21 00 F6 E5 D4 C3 B2 A1 01 57 59", data,
         "", &kMulticast},
        {"MulticastReplyGroupAddress", kMulticastFlag, IDC_REMOTE_MULTICAST_REPLY,
         "79 0B 00 40 27 21 01 CD AB F6 E5 D4 C3 B2 A1 00 D1 3D", data, "", &kMulticast},
        {"MulticastCountFour", {{}, {{IDC_MULTICAST_COUNT, "4"}}}, IDC_REMOTE_MULTICAST_REQUEST, "", 0,
         "组地址个数为0-3", &kMulticast},
        {"MulticastThirdGroupEmpty", {{}, {{IDC_MULTICAST_COUNT, "3"}}}, IDC_REMOTE_MULTICAST_REQUEST, "", 0,
         "组地址3不能为空", &kMulticast},
        {"MulticastGroupTooLong", {{}, {{IDC_MULTICAST_GROUP1, "12345"}}}, IDC_REMOTE_MULTICAST_REQUEST, "", 0,
         "组地址1格式错误", &kMulticast},
        {"MulticastGroupNotHex", {{}, {{IDC_MULTICAST_GROUP2, "12G4"}}}, IDC_REMOTE_MULTICAST_REQUEST, "", 0,
         "组地址2格式错误", &kMulticast},
        {"MulticastRequestWithoutGroupAddress", {{{IDC_MULTICAST_MODE_COMBO, "01: 组播地址"}}, {{IDC_TASK_ID, ""}}},
         IDC_REMOTE_MULTICAST_REQUEST, "", 0, "请输入组播地址", &kMulticast},
        {"MulticastRequestEmptyAddress", {{}, {{IDC_DST_ADDR, ""}}}, IDC_REMOTE_MULTICAST_REQUEST, "", 0,
         "地址域不能为空", &kMulticast},
        {"MulticastReplyEmptyAddress", {{}, {{IDC_DST_ADDR, " "}}}, IDC_REMOTE_MULTICAST_REPLY, "", 0,
         "地址域不能为空", &kMulticast},
    };
}

class TcpipButtonTest : public TcpipSendersTest, public ::testing::WithParamInterface<TcpipCase> {};

TEST_P(TcpipButtonTest, SendsItsFrameOrRefuses) {
    const TcpipCase& c = GetParam();
    Enter(*c.base);
    Enter(c.change);
    if (c.frame.empty())
        ExpectRefused([&] { Click(c.button); }, c.message);
    else
        ExpectSent([&] { Click(c.button); }, c.frame, c.log);
}

std::string CaseName(const ::testing::TestParamInfo<TcpipCase>& info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Buttons, TcpipButtonTest, ::testing::ValuesIn(Cases()), CaseName);
INSTANTIATE_TEST_SUITE_P(ToneBackboneMulticast, TcpipButtonTest, ::testing::ValuesIn(OtherCases()), CaseName);

TEST_F(TcpipSendersTest, SetLocalNetportIsRefusedOnTheNetworkChannel) {
    Enter(kPage);
    ExpectRefused(
        [&] {
            dlg->Link().SetChannelMode(CHANNEL_NETWORK);
            Click(IDC_SET_LOCAL_NETPORT);
            dlg->Link().SetChannelMode(CHANNEL_SERIAL);
        },
        "网口模式下，该功能不可用");
}

// The debugger clock: the frame of a fixed time at the module, its row, then a second later the
// verdict on the debugger's answer, the window running meanwhile.
TEST_F(TcpipSendersTest, DebuggerClockFrameAndVerdicts) {
    dlg->SetClockSource([] { return SystemTime{2026, 12, 6, 5, 14, 13, 31, 250}; });
    const std::string frame = "A5 01 09 EA 07 0C 05 0E 0D 1F FA 00 36 A5 ";
    struct Answer {
        const char* bytes;
        const char* verdict;
    };
    const Answer answers[] = {{"A5 01 00 A5", "PLC调试器时钟设置成功"},
                              {"A5 01 01 A5", "PLC调试器时钟设置失败"},
                              {"A5 01 02 A5", ""},
                              {"", "PLC调试器时钟设置超时，无回复"}};
    for (const Answer& a : answers) {
        sim.SetDebuggerAnswer(Hex(a.bytes));
        sim.ClearReceived();
        dlg->SetDlgItemText(IDC_ANALYSIS_PANE, "before");
        const int rows = ListOf(IDC_FRAME_LOG).GetItemCount();
        ASSERT_TRUE(dlg->DispatchNotify(IDM_DEBUGGER_CLOCK, Notify::Clicked));
        EXPECT_TRUE(dlg->IsTimerRunning(TIMER_DEBUGGER_CLOCK));
        EXPECT_EQ(dlg->GetDlgItemText(IDC_ANALYSIS_PANE), "before");
        ASSERT_TRUE(WaitFor([&] { return sim.ReceivedBytes().size() >= 14; }));
        EXPECT_EQ(testsupport::Spaced(sim.ReceivedBytes()), frame);
        ASSERT_TRUE(WaitFor([&] { return ListOf(IDC_FRAME_LOG).GetItemCount() == rows + 1; }));
        EXPECT_EQ(ListOf(IDC_FRAME_LOG).GetItemText(rows, 2), frame);
        ASSERT_TRUE(WaitFor([&] { return !dlg->IsTimerRunning(TIMER_DEBUGGER_CLOCK); }));
        EXPECT_EQ(dlg->GetDlgItemText(IDC_ANALYSIS_PANE), std::string(a.verdict) + "\r\n") << a.bytes;
    }
}

// The window commands that no control carries: 0x0A with the user password's payload, and 0xF3
// with data 1 or 0, whose row goes into four lists.
TEST_F(TcpipSendersTest, UncaptionedCommands) {
    Enter({{}, {{IDC_NEW_PSK, "12345678"}}, 0});
    ExpectSent([&] { dlg->DispatchNotify(IDM_COMMAND_0A, Notify::Clicked); },
               "79 09 00 40 0A 08 31 32 33 34 35 36 37 38 FF 43", IDC_FRAME_LOG);
    ListView panel(Within<CTestDlg>(*dlg).GetDlgItem(IDC_PANEL_LOG_LIST));
    for (const auto& c : {std::make_pair(IDM_COMMAND_F3_ON, "79 01 00 40 F3 01 35 B3"),
                          std::make_pair(IDM_COMMAND_F3_OFF, "79 01 00 40 F3 00 34 B2")}) {
        const std::string frame = std::string(c.second) + " ";
        const int search = ListOf(IDC_SEARCH_LOG).GetItemCount();
        const int data = ListOf(IDC_DATA_LOG).GetItemCount();
        const int rows = panel.GetItemCount();
        ExpectSent([&] { dlg->DispatchNotify(c.first, Notify::Clicked); }, c.second, IDC_FRAME_LOG);
        ASSERT_TRUE(WaitFor([&] { return ListOf(IDC_DATA_LOG).GetItemCount() == data + 1; }));
        EXPECT_EQ(ListOf(IDC_SEARCH_LOG).GetItemCount(), search + 1);
        EXPECT_EQ(ListOf(IDC_SEARCH_LOG).GetItemText(search, 2), frame);
        EXPECT_EQ(ListOf(IDC_DATA_LOG).GetItemText(data, 2), frame);
        ASSERT_TRUE(WaitFor([&] { return panel.GetItemCount() == rows + 1; }));
        EXPECT_EQ(panel.GetItemText(rows, 2), frame);
    }
    Enter({{}, {{IDC_NEW_PSK, ""}}, 0});
    ExpectRefused([&] { dlg->DispatchNotify(IDM_COMMAND_0A, Notify::Clicked); }, "口令长度为1-64");
}

// An answer left from before the frame is dropped when it is sent.
TEST_F(TcpipSendersTest, DebuggerClockDropsAnEarlierAnswer) {
    ASSERT_TRUE(sim.Send(Hex("A5 01 00 A5")));
    ASSERT_TRUE(WaitFor([&] { return dlg->Link().Queues().debuggerClock.Size() == 1; }));
    ASSERT_TRUE(dlg->DispatchNotify(IDM_DEBUGGER_CLOCK, Notify::Clicked));
    ASSERT_TRUE(WaitFor([&] { return !dlg->IsTimerRunning(TIMER_DEBUGGER_CLOCK); }));
    EXPECT_EQ(dlg->GetDlgItemText(IDC_ANALYSIS_PANE), "PLC调试器时钟设置超时，无回复\r\n");
}

TEST_F(TcpipSendersTest, DomainNameOf255BytesIsSentWhole) {
    Enter({{}, {{IDC_DOMAIN_NAME, std::string(255, 'a')}}});
    ByteString payload;
    ASSERT_TRUE(ReadDomainName(*dlg, IDC_DOMAIN_NAME, payload));
    EXPECT_EQ(payload, Hex("FF") + ByteString(255, 'a'));
}

}  // namespace
