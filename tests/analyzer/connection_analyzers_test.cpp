// Start connection, link state report and delete connection frames, explained directly.

#include <gtest/gtest.h>

#include <string>

#include "analyzer/connection_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

namespace {

const std::string kStart = "开始链接帧\r\n";
const std::string kLink = "连接状态上报帧\r\n";
const std::string kDelete = "删除链接帧\r\n";

// Source 3, target 4 (and connection type 1 where it is read), then a device address.
const char kAddressPeer[] = "43 01 F6 E5 D4 C3 B2 A1";
const std::string kAddressModes = "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    TRM5207 MAC地址\r\n";
const std::string kAddressLine = "Dst addr: A1B2C3D4E5F6\r\n";

// Source 1, target 2 (cloud server), connection type 2; 192.168.0.1:8080 to 10.0.0.2:443.
const char kCloudPeer[] = "21 02 01 00 A8 C0 90 1F 02 00 00 0A BB 01";
const std::string kCloudModes = "Src 设备模式：    网关\r\n目标设备模式：    云服务器\r\n";
const std::string kSourceSocket = "Src IP:   192.168.0.1\r\nSrc port:     8080\r\n";
const std::string kCloudSockets = kSourceSocket + "Dst IP:   10.0.0.2\r\nDst port:     443\r\n";

std::string Data(const char* peer, const char* more) { return std::string(peer) + " " + more; }

TEST(ConnectionAnalyzers, StartConnection) {
    ExpectResults(AnalyzeStartConnection, {
        {"request", MakeFrame(kHost, 0x11, kAddressPeer),
         kStart + kAddressModes + "连接类型：    UDP\r\n" + kAddressLine + "\r\n", 0},
        {"cloud request", MakeFrame(kHost, 0x11, kCloudPeer),
         kStart + kCloudModes + "连接类型：    TCP\r\n" + kCloudSockets + "\r\n", 0},
        // Bits 8-11 are the type, 12-15 are not read; mode 7 is out of the table.
        {"type without a name", MakeFrame(kHost, 0x11, "77 F5 00 00 00 00 00 00"),
         kStart + "Src 设备模式：    出错\r\n目标设备模式：    出错\r\n连接类型：    \r\nDst addr: 000000000000\r\n\r\n", 0},
        {"type 0", MakeFrame(kHost, 0x11, "00 00 06 05 04 03 02 01"),
         kStart + "Src 设备模式：    不区分设备类型\r\n目标设备模式：    不区分设备类型\r\n连接类型：    不区分\r\n"
                  "Dst addr: 010203040506\r\n\r\n", 0},
        {"short request", MakeFrame(kHost, 0x11, "43 01 F6 E5 D4 C3 B2"), kStart + "开始连接帧错误\r\n", 0},
        {"abnormal request", MakeFrame(kHostAbnormal, 0x11, kAddressPeer), kStart + "\r\n", 0},
        {"reply with data", MakeFrame(kReply, 0x11, "01 02 03"), kStart + "开始连接成功\r\n", 0},
        {"abnormal reply", MakeFrame(kAbnormal, 0x11, "04"), kStart + "异常状态为：   RAM空间不足\r\n\r\n", 0},
        {"abnormal reply, status out of the table", MakeFrame(kAbnormal, 0x11, "06"), kStart + "异常状态为：   RESV\r\n\r\n", 0},
        {"abnormal reply of two bytes", MakeFrame(kAbnormal, 0x11, "04 00"), kStart + "\r\n", 0},
        // The printer stops before the source port; the analyzer still closes its text.
        {"cloud request of 8 bytes", MakeFrame(kHost, 0x11, "21 02 01 00 A8 C0 90 1F"),
         kStart + kCloudModes + "连接类型：    TCP\r\nSrc IP:   192.168.0.1\r\n" + kIncomplete + "\r\n", 0},
        {"cloud request of 9 bytes", MakeFrame(kHost, 0x11, "21 02 01 00 A8 C0 90 1F 00"),
         kStart + kCloudModes + "连接类型：    TCP\r\nSrc IP:   192.168.0.1\r\n" + kIncomplete + "\r\n", 0},
        // The source address and the stop after it each report.
        {"cloud request cut in the source address", Hex("79 0E 00 40 11 21 02 01 00"),
         kStart + kCloudModes + "连接类型：    TCP\r\nSrc IP:   " + kIncomplete + kIncomplete + "\r\n", 0},
        {"destination port past the end", Hex("79 0E 00 40 11 21 02 01 00 A8 C0 90 1F 02 00 00 0A"),
         kStart + kCloudModes + "连接类型：    TCP\r\n" + kSourceSocket + "Dst IP:   10.0.0.2\r\nDst port:     0\r\n\r\n", 0},
        {"address cut", Hex("79 08 00 40 11 43 01 F6 E5 D4 C3 B2"),
         kStart + kAddressModes + "连接类型：    UDP\r\n" + kIncomplete + "\r\n", 0},
        // The address may take the two check bytes.
        {"address on the check bytes", Hex("79 08 00 40 11 43 01 F6 E5 D4 C3 AA BB"),
         kStart + kAddressModes + "连接类型：    UDP\r\nDst addr: BBAAC3D4E5F6\r\n\r\n", 0},
        {"cut before the mode word's second byte", Hex("79 08 00 40 11 43"), kStart + kIncomplete, -1},
    });
}

TEST(ConnectionAnalyzers, LinkStateReport) {
    ExpectResults(AnalyzeLinkStateReport, {
        {"report", MakeFrame(kReply, 0x12, Data(kAddressPeer, "02")),
         kLink + kAddressModes + kAddressLine + "连接状态：    连接成功\r\n", 14},
        {"cloud report", MakeFrame(kReply, 0x12, Data(kCloudPeer, "01")),
         kLink + kCloudModes + kCloudSockets + "连接状态：    连接丢失\r\n", 20},
        {"state out of the table", MakeFrame(kReply, 0x12, Data(kAddressPeer, "03")),
         kLink + kAddressModes + kAddressLine + "连接状态：    错误状态\r\n", 14},
        // The state is missing: the sum byte takes its place.
        {"state on the sum byte", Hex("79 08 00 80 12 43 01 F6 E5 D4 C3 B2 A1 01 5A"),
         kLink + kAddressModes + kAddressLine + "连接状态：    连接丢失\r\n", 14},
        {"state cut", Hex("79 09 00 80 12 43 01 F6 E5 D4 C3 B2 A1"), kLink + kAddressModes + kAddressLine + kIncomplete, -1},
        {"address cut", Hex("79 09 00 80 12 43 01 F6 E5 D4 C3"), kLink + kAddressModes + kIncomplete, -1},
        {"destination port cut", Hex("79 0F 00 80 12 21 02 01 00 A8 C0 90 1F 02 00 00 0A BB"),
         kLink + kCloudModes + kSourceSocket + "Dst IP:   10.0.0.2\r\n" + kIncomplete, -1},
        {"source port cut", Hex("79 0F 00 80 12 21 02 01 00 A8 C0 90 1F 02 00 00"),
         kLink + kCloudModes + "Src IP:   192.168.0.1\r\n" + kIncomplete, -1},
        {"cut in the source address", Hex("79 0F 00 80 12 21 02 01 00"),
         kLink + kCloudModes + "Src IP:   " + kIncomplete + kIncomplete, -1},
        {"cut before the mode word's second byte", Hex("79 0F 00 80 12 21"), kLink + kIncomplete, -1},
        {"answer", MakeFrame(kHost, 0x12, ""), kLink + "连接状态上报成功", 5},
        {"answer with data", MakeFrame(kHost, 0x12, "00"), kLink + "连接状态上报回复帧错误", 5},
        {"abnormal answer", MakeFrame(kHostAbnormal, 0x12, "05"), kLink + "异常状态为：   错误的状态\r\n", 5},
        {"abnormal answer, status out of the table", MakeFrame(kHostAbnormal, 0x12, "FF"), kLink + "异常状态为：   RESV\r\n", 5},
        {"abnormal answer without status", MakeFrame(kHostAbnormal, 0x12, ""), kLink + "连接状态上报回复帧错误", 5},
        {"abnormal report", MakeFrame(kAbnormal, 0x12, Data(kAddressPeer, "02")), kLink, 5},
    });
}

TEST(ConnectionAnalyzers, DeleteConnection) {
    ExpectResults(AnalyzeDeleteConnection, {
        // Bits 8-15 are not read.
        {"request", MakeFrame(kHost, 0x13, "43 05 F6 E5 D4 C3 B2 A1"), kDelete + kAddressModes + kAddressLine + "\r\n", 5},
        {"abnormal request", MakeFrame(kHostAbnormal, 0x13, kAddressPeer), kDelete + kAddressModes + kAddressLine + "\r\n", 5},
        {"cloud request", MakeFrame(kHost, 0x13, kCloudPeer), kDelete + kCloudModes + kCloudSockets + "\r\n", 5},
        // The destination address does not fit; its port reads where it would have begun.
        {"cloud request of 8 bytes", Hex("79 08 00 40 13 21 02 01 00 A8 C0 90 1F 34 12"),
         kDelete + kCloudModes + kSourceSocket + "Dst IP:   " + kIncomplete + "Dst port:     4660\r\n\r\n", 5},
        {"cloud request cut before the source port", Hex("79 0E 00 40 13 21 02 01 00 A8 C0 90"),
         kDelete + kCloudModes + kIncomplete + "\r\n", 5},
        {"short request", MakeFrame(kHost, 0x13, "43 01 F6 E5 D4 C3 B2"), kDelete + "删除连接帧错误\r\n", 5},
        {"cut before the mode word's second byte", Hex("79 08 00 40 13 43"), kDelete + kIncomplete, -1},
        {"reply", MakeFrame(kReply, 0x13, ""), kDelete + "删除链接成功\r\n", 5},
        {"reply of 3 bytes", MakeFrame(kReply, 0x13, "01 02 03"), kDelete + "回复帧错误\r\n", 5},
        {"abnormal reply", MakeFrame(kAbnormal, 0x13, "00"), kDelete + "异常状态为：   错误的格式\r\n\r\n", 5},
        {"abnormal reply, status out of the table", MakeFrame(kAbnormal, 0x13, "FF"), kDelete + "异常状态为：   RESV\r\n\r\n", 5},
        {"abnormal reply of two bytes", MakeFrame(kAbnormal, 0x13, "00 00"), kDelete + "\r\n", 5},
    });
}

TEST(ConnectionAnalyzers, RequestFieldPrintersReturnTheCursorAfterThePeer) {
    const struct {
        const char* name;
        int (*print)(uint16_t, std::string&, const ByteString&);
        ByteString frame;
        int result;
    } cases[] = {
        {"start, address", PrintStartConnectionFields, MakeFrame(kHost, 0x11, kAddressPeer), 13},
        {"start, cloud", PrintStartConnectionFields, MakeFrame(kHost, 0x11, kCloudPeer), 19},
        {"start, cloud cut", PrintStartConnectionFields, MakeFrame(kHost, 0x11, "21 02 01 00 A8 C0 90 1F"), -1},
        {"delete, address", PrintDeleteConnectionFields, MakeFrame(kHost, 0x13, kAddressPeer), 13},
        {"delete, cloud", PrintDeleteConnectionFields, MakeFrame(kHost, 0x13, kCloudPeer), 19},
        {"delete, cloud without its destination", PrintDeleteConnectionFields,
         MakeFrame(kHost, 0x13, "21 02 01 00 A8 C0 90 1F"), 15},
        {"delete, address cut", PrintDeleteConnectionFields, Hex("79 08 00 40 13 43 01 F6 E5 D4 C3"), -1},
    };
    for (const auto& c : cases) {
        std::string text;
        EXPECT_EQ(c.print(FrameWord(c.frame, 5), text, c.frame), c.result) << c.name;
    }
}

TEST(ConnectionAnalyzers, FieldPrinters) {
    const struct {
        void (*print)(uint8_t, std::string&);
        uint8_t code;
        const char* text;
    } cases[] = {
        {PrintConnectionType, 0, "连接类型：    不区分\r\n"},
        {PrintConnectionType, 2, "连接类型：    TCP\r\n"},
        {PrintConnectionType, 5, "连接类型：    \r\n"},
        {PrintConnectionState, 0, "连接状态：    无法连接\r\n"},
        {PrintConnectionState, 1, "连接状态：    连接丢失\r\n"},
        {PrintConnectionState, 0xFF, "连接状态：    错误状态\r\n"},
        {PrintIpFlag, 0, "IP flag:  MAC寻址报文\r\n"},
        {PrintIpFlag, 1, "IP flag:  IP报文\r\n"},
        {PrintIpFlag, 2, "IP flag:  保留\r\n"},
        {PrintTransferMode, 0, "传输方式：    广播\r\n"},
        {PrintTransferMode, 1, "传输方式：    连接\r\n"},
        {PrintTransferMode, 2, "传输方式：    出错\r\n"},
        {PrintPhase, 0, "Phase:        未知  \r\n"},
        {PrintPhase, 1, "Phase:        A相   \r\n"},
        {PrintPhase, 2, "Phase:        B相   \r\n"},
        {PrintPhase, 3, "Phase:        C相   \r\n"},
        {PrintPhase, 9, "Phase:        出错  \r\n"},
    };
    for (const auto& c : cases) {
        std::string text = ">";
        c.print(c.code, text);
        EXPECT_EQ(text, std::string(">") + c.text) << static_cast<int>(c.code);
    }
    ConnectionModes modes{};
    UnpackConnectionStateWord(modes, 0xFF5A);
    EXPECT_EQ(modes.sourceMode, 0x0A);
    EXPECT_EQ(modes.targetMode, 0x05);
}

TEST(ConnectionAnalyzers, FrameAnalyzerDoesNotRouteThem) {
    for (unsigned char command : {0x11, 0x12, 0x13}) {
        EXPECT_EQ(Body(MakeFrame(kHost, command, kAddressPeer)), "无效的命令字") << static_cast<int>(command);
        EXPECT_EQ(Body(MakeFrame(kReply, command, "03")), "指令无效\n异常状态为：   指令字无效\r\n") << static_cast<int>(command);
    }
}

}  // namespace
