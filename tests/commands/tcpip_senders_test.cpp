// The TCP/IP page's buttons against the simulated module: the exact frame, the row in its log,
// and a refusal for each kind of malformed field.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/field_readers.h"
#include "res/resource_ids.h"
#include "support/sender_checks.h"
#include "test_frames.h"

namespace {

using testing_frames::Hex;
using testsupport::PageInput;

class TcpipSendersTest : public testsupport::MainWindowSenders {
protected:
    TcpipSendersTest() : MainWindowSenders(11, true) {}

    void SetUp() override {
        MainWindowSenders::SetUp();
        OpenPort();
        ASSERT_EQ(NextFrame(), "79 00 00 40 02 42 42 ");
        Enter({{{IDC_DIRECTION_COMBO, "主机发出帧"},
                {IDC_INITIATOR_COMBO, "主动发起"},
                {IDC_REPLY_STATUS_COMBO, "正常应答"},
                {IDC_CHANNEL_TYPE_COMBO, "5281PLC"}},
               {}});
        ASSERT_TRUE(boxes.empty());
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
};

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
        {"PortNotDigits", {{}, {{IDC_TCP_DST_PORT, "80a"}}}, IDC_TCP_CONNECT, "", 0, "输入端口号"},
        {"PortBeyond16Bits", {{}, {{IDC_TCP_DST_PORT, "65536"}}}, IDC_TCP_STATE_REPORT, "", 0, "输入端口号"},
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

class TcpipButtonTest : public TcpipSendersTest, public ::testing::WithParamInterface<TcpipCase> {};

TEST_P(TcpipButtonTest, SendsItsFrameOrRefuses) {
    const TcpipCase& c = GetParam();
    Enter(kPage);
    Enter(c.change);
    if (c.frame.empty())
        ExpectRefused([&] { Click(c.button); }, c.message);
    else
        ExpectSent([&] { Click(c.button); }, c.frame, c.log);
}

std::string CaseName(const ::testing::TestParamInfo<TcpipCase>& info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Buttons, TcpipButtonTest, ::testing::ValuesIn(Cases()), CaseName);

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

TEST_F(TcpipSendersTest, DomainNameOf255BytesIsSentWhole) {
    Enter({{}, {{IDC_DOMAIN_NAME, std::string(255, 'a')}}});
    ByteString payload;
    ASSERT_TRUE(ReadDomainName(*dlg, IDC_DOMAIN_NAME, payload));
    EXPECT_EQ(payload, Hex("FF") + ByteString(255, 'a'));
}

}  // namespace
