// The TCP/IP mode analyzers, which the dispatcher does not route, called directly.

#include <gtest/gtest.h>

#include "analyzer/tcpip_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

namespace {

// 192.168.1.8:8081 to 10.0.0.2:502.
const std::string kPair = "08 01 A8 C0 91 1F 02 00 00 0A F6 01";
const std::string kPairLines = "Src IP:       192.168.1.8\r\nSrc port: 8081\r\nDst IP:       10.0.0.2\r\nDst port: 502\r\n";
const std::string kNetport = "08 01 A8 C0 00 FF FF FF 01 01 A8 C0 08 08 08 08 04 04 08 08";
const std::string kNetportLines =
    "IP:       192.168.1.8\r\n子网掩码：    255.255.255.0\r\n网关地址：    192.168.1.1\r\n首选DNS:  8.8.8.8\r\n"
    "备用DNS:  8.8.4.4\r\n";

int StateQuery(const ByteString& frame, std::string& text) {
    AnalyzeTcpStateQuery(frame, text);
    return 0;
}

struct Case {
    const char* name;
    int (*analyze)(const ByteString&, std::string&);
    ByteString frame;
    std::string text;
    int result;
};

void ExpectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        std::string text = ">";
        EXPECT_EQ(c.analyze(c.frame, text), c.result) << c.name;
        EXPECT_EQ(text, ">" + c.text) << c.name;
    }
}

TEST(TcpipAnalyzers, ModeAndLocalNetPort) {
    const std::string enable = "使能TCP模式帧\r\n";
    const std::string read = "读取本地网口信息帧\r\n";
    const std::string set = "设置本地网口信息帧\r\n";
    ExpectCases({
        {"enable request", AnalyzeEnableTcpipMode, MakeFrame(kHost, 0x30, ""), enable + "使能TCP模式帧\r\n", 5},
        {"enable request with data", AnalyzeEnableTcpipMode, MakeFrame(kHost, 0x30, "00"), enable + "使能TCP模式帧出错\r\n", 5},
        {"enable abnormal request", AnalyzeEnableTcpipMode, MakeFrame(kHostAbnormal, 0x30, ""), enable + "使能TCP模式帧异常\r\n", 5},
        {"enable reply", AnalyzeEnableTcpipMode, MakeFrame(kReply, 0x30, ""), enable + "使能TCP模式回复成功\r\n", 5},
        {"enable reply with data", AnalyzeEnableTcpipMode, MakeFrame(kReply, 0x30, "00"), enable + "使能TCP模式回复失败\r\n", 5},
        {"enable abnormal", AnalyzeEnableTcpipMode, MakeFrame(kAbnormal, 0x30, "04"),
         enable + "使能TCP模式回复异常帧\r\n使能TCP模式回复异常状态为：   RAM空间不足\r\n\r\n", 6},
        {"enable abnormal, L 2", AnalyzeEnableTcpipMode, MakeFrame(kAbnormal, 0x30, "04 00"),
         enable + "使能TCP模式回复异常帧\r\n\r\n", 5},
        {"read request", AnalyzeReadLocalNetPort, MakeFrame(kHost, 0x31, ""), read + "读取本地网口信息帧\r\n", 5},
        {"read request with data", AnalyzeReadLocalNetPort, MakeFrame(kHost, 0x31, "00"), read + "读取本地网口信息帧出错\r\n", 5},
        {"read abnormal request", AnalyzeReadLocalNetPort, MakeFrame(kHostAbnormal, 0x31, "00"), read + "\r\n", 5},
        {"read reply", AnalyzeReadLocalNetPort, MakeFrame(kReply, 0x31, kNetport), read + kNetportLines + "\r\n", 25},
        {"read reply, L 19", AnalyzeReadLocalNetPort, MakeFrame(kReply, 0x31, kNetport.substr(3)),
         read + "读取本地网口信息帧出错\r\n", 5},
        {"read abnormal", AnalyzeReadLocalNetPort, MakeFrame(kAbnormal, 0x31, "06"), read + "异常状态为：   RESV\r\n\r\n", 5},
        {"read abnormal, L 0", AnalyzeReadLocalNetPort, MakeFrame(kAbnormal, 0x31, ""), read + "回复帧出错\r\n", 5},
        // Each address that does not fit reports itself; the position stays at the first.
        {"read reply cut", AnalyzeReadLocalNetPort, Hex("79 14 00 80 31 08 01 A8 C0 00 FF FF"),
         read + "IP:       192.168.1.8\r\n子网掩码：    " + kIncomplete + "网关地址：    " + kIncomplete + "首选DNS:  " +
             kIncomplete + "备用DNS:  " + kIncomplete + "\r\n",
         9},
        {"set request", AnalyzeSetLocalNetPort, MakeFrame(kHost, 0x32, kNetport), set + kNetportLines + "\r\n", 25},
        {"set request, L 19", AnalyzeSetLocalNetPort, MakeFrame(kHost, 0x32, kNetport.substr(3)),
         set + "设置本地网口信息帧出错\r\n", 5},
        {"set reply", AnalyzeSetLocalNetPort, MakeFrame(kReply, 0x32, ""), set + "设置本地网口信息帧成功\r\n", 5},
        {"set reply with data", AnalyzeSetLocalNetPort, MakeFrame(kReply, 0x32, "00"), set + "设置本地网口信息帧出错\r\n", 5},
        {"set abnormal", AnalyzeSetLocalNetPort, MakeFrame(kAbnormal, 0x32, "05"), set + "异常状态为：   错误的状态\r\n\r\n", 5},
        {"set abnormal request", AnalyzeSetLocalNetPort, MakeFrame(kHostAbnormal, 0x32, "05"), set + "\r\n", 5},
        {"set abnormal, L 2", AnalyzeSetLocalNetPort, MakeFrame(kAbnormal, 0x32, "05 00"), set + "回复帧出错\r\n", 5},
    });
}

TEST(TcpipAnalyzers, Dns) {
    const std::string dns = "解析DNS帧\r\n";
    const std::string report = "解析DNS上报帧\r\n";
    const std::string name = "域名长度：    4\r\n域名：    a.cn\r\n";
    ExpectCases({
        {"resolve", AnalyzeDnsResolve, MakeFrame(kHost, 0x33, "04 61 2E 63 6E"), dns + name + "\r\n", 10},
        {"resolve code page", AnalyzeDnsResolve, MakeFrame(kHost, 0x33, "02 D3 F2"),
         dns + "域名长度：    2\r\n域名：    域\r\n\r\n", 8},
        {"resolve zero byte", AnalyzeDnsResolve, MakeFrame(kHost, 0x33, "03 61 00 62"),
         dns + "域名长度：    3\r\n域名：    ab\r\n\r\n", 9},
        {"resolve empty name", AnalyzeDnsResolve, MakeFrame(kHost, 0x33, "00"), dns + "域名长度：    0\r\n域名：    \r\n\r\n", 6},
        // The name runs into the check bytes: the sum byte 3C prints as '<'.
        {"resolve into check bytes", AnalyzeDnsResolve, MakeFrame(kHost, 0x33, "03 61 62"),
         dns + "域名长度：    3\r\n域名：    ab<\r\n\r\n", 9},
        {"resolve name past frame", AnalyzeDnsResolve, Hex("79 05 00 40 33 09 61 62"),
         dns + "域名长度：    9\r\n" + kIncomplete + "\r\n", 6},
        {"resolve no data", AnalyzeDnsResolve, Hex("79 00 00 40 33"), dns + kIncomplete + "\r\n", 5},
        {"resolve abnormal request", AnalyzeDnsResolve, MakeFrame(kHostAbnormal, 0x33, "04 61 2E 63 6E"), dns, 5},
        {"resolve reply", AnalyzeDnsResolve, MakeFrame(kReply, 0x33, ""), dns + "解析DNS成功", 5},
        {"resolve reply with data", AnalyzeDnsResolve, MakeFrame(kReply, 0x33, "00"), dns + "解析DNS回复帧出错", 5},
        {"resolve abnormal", AnalyzeDnsResolve, MakeFrame(kAbnormal, 0x33, "01"), dns + "异常状态为：   错误的数据单元\r\n", 5},
        {"resolve abnormal, L 2", AnalyzeDnsResolve, MakeFrame(kAbnormal, 0x33, "01 00"), dns + "解析DNS异常回复帧出错", 5},
        {"report", AnalyzeDnsResolveReport, MakeFrame(kReply, 0x34, "04 61 2E 63 6E 08 01 A8 C0"),
         report + name + "IP:   192.168.1.8\r\n", 14},
        // The address is read from the byte after the length byte.
        {"report name past frame", AnalyzeDnsResolveReport, MakeFrame(kReply, 0x34, "09 61 62 63 64 65"),
         report + "域名长度：    9\r\n" + kIncomplete + "IP:   100.99.98.97\r\n", 10},
        {"report name and address past frame", AnalyzeDnsResolveReport, Hex("79 03 00 80 34 09 61 62"),
         report + "域名长度：    9\r\n" + kIncomplete + "IP:   " + kIncomplete, 6},
        {"report abnormal", AnalyzeDnsResolveReport, MakeFrame(kAbnormal, 0x34, "01"), report + "解析DNS上报帧出错", 5},
        {"report answer", AnalyzeDnsResolveReport, MakeFrame(kHost, 0x34, ""), report + "解析DNS上报成功", 5},
        {"report answer with data", AnalyzeDnsResolveReport, MakeFrame(kHost, 0x34, "00"), report + "解析DNS上报回复出错", 5},
        {"report abnormal answer", AnalyzeDnsResolveReport, MakeFrame(kHostAbnormal, 0x34, "02"),
         report + "异常状态为：   错误的长度\r\n", 5},
        {"report abnormal answer, L 0", AnalyzeDnsResolveReport, MakeFrame(kHostAbnormal, 0x34, ""),
         report + "解析DNS上报异常回复帧出错", 5},
    });
}

TEST(TcpipAnalyzers, StateReportAndQuery) {
    const std::string report = "TCP连接状态上报帧\r\n";
    const std::string query = "TCP连接状态查询帧\r\n";
    ExpectCases({
        {"report", AnalyzeTcpStateReport, MakeFrame(kReply, 0x35, kPair + "04"),
         report + kPairLines + "status:        Socket建立连接成功\r\n", 18},
        {"report unknown state", AnalyzeTcpStateReport, MakeFrame(kReply, 0x35, kPair + "05"),
         report + kPairLines + "status:       保留\r\n", 18},
        {"report, L 12", AnalyzeTcpStateReport, MakeFrame(kReply, 0x35, kPair), report + "TCP/IP套接字状态上报帧出错", 5},
        {"report abnormal", AnalyzeTcpStateReport, MakeFrame(kAbnormal, 0x35, "01"), report + "TCP/IP套接字状态上报帧出错", 5},
        {"report answer", AnalyzeTcpStateReport, MakeFrame(kHost, 0x35, ""), report + "TCP/IP套接字状态上报成功", 5},
        {"report answer with data", AnalyzeTcpStateReport, MakeFrame(kHost, 0x35, kPair + "04"),
         report + "TCP/IP套接字状态上报回复帧失败", 5},
        {"report abnormal answer", AnalyzeTcpStateReport, MakeFrame(kHostAbnormal, 0x35, "03"),
         report + "TCP/IP套接字状态上报异常状态为：   指令字无效\r\n", 5},
        {"report abnormal answer, L 0", AnalyzeTcpStateReport, MakeFrame(kHostAbnormal, 0x35, ""),
         report + "TCP/IP套接字状态上报异常回复帧出错", 5},
        // The destination port is read where the address did not fit; the state past the end reads 0.
        {"report cut", AnalyzeTcpStateReport, Hex("79 0D 00 80 35 08 01 A8 C0 91 1F 02 00"),
         report + "Src IP:       192.168.1.8\r\nSrc port: 8081\r\nDst IP:       " + kIncomplete +
             "Dst port: 2\r\nstatus:       SOCKET 不存在\r\n",
         14},
        {"query", StateQuery, MakeFrame(kHost, 0x36, kPair), query + kPairLines, 0},
        {"query, L 13", StateQuery, MakeFrame(kHost, 0x36, kPair + "00"), query, 0},
        {"query abnormal request", StateQuery, MakeFrame(kHostAbnormal, 0x36, kPair), query, 0},
        {"query reply", StateQuery, MakeFrame(kReply, 0x36, "02" + kPair + "04 " + kPair + "01"),
         query + "套接字数目：  2\r\n套接字1:\r\n" + kPairLines + "status:        Socket建立连接成功\r\n套接字2:\r\n" +
             kPairLines + "status:        Socket连接中\r\n",
         0},
        {"query reply, none", StateQuery, MakeFrame(kReply, 0x36, "00"), query + "套接字数目：  0\r\n", 0},
        {"query reply, no data", StateQuery, Hex("79 00 00 80 36"), query + kIncomplete, 0},
        {"query abnormal", StateQuery, MakeFrame(kAbnormal, 0x36, "05"), query + "TCP连接状态查询异常状态为：    错误的状态\r\n", 0},
        {"query abnormal, L 0", StateQuery, MakeFrame(kAbnormal, 0x36, ""), query + "TCP连接状态查询异常回复帧出错", 0},
    });
}

TEST(TcpipAnalyzers, SocketList) {
    struct ListCase {
        const char* name;
        ByteString frame;
        std::string text;
        int result;
    };
    const ListCase cases[] = {
        {"two sockets", Hex("79 00 00 80 36 02" + kPair + "02" + kPair + "03"),
         "套接字数目：  2\r\n套接字1:\r\n" + kPairLines + "status:        Socket无法建立连接\r\n套接字2:\r\n" + kPairLines +
             "status:       Socket连接丢失\r\n",
         32},
        // The count promises a second socket that is missing: its addresses do not fit, its
        // ports read as 0, and the text takes the place of its status.
        {"count past the entries", Hex("79 00 00 80 36 02" + kPair + "00"),
         "套接字数目：  2\r\n套接字1:\r\n" + kPairLines + "status:       SOCKET 不存在\r\n套接字2:\r\nSrc IP:       " +
             kIncomplete + "Src port: 0\r\nDst IP:       " + kIncomplete + "Dst port: 0\r\n" + kIncomplete,
         -1},
        {"status just past the end", Hex("79 00 00 80 36 01" + kPair), "套接字数目：  1\r\n套接字1:\r\n" + kPairLines + kIncomplete, -1},
        {"no count", Hex("79 00 00 80 36"), kIncomplete, -1},
    };
    for (const ListCase& c : cases) {
        std::string text = ">";
        EXPECT_EQ(PrintSocketList(c.frame, text, 5), c.result) << c.name;
        EXPECT_EQ(text, ">" + c.text) << c.name;
    }
}

TEST(TcpipAnalyzers, Connections) {
    const std::string connect = "TCP建立连接帧\r\n";
    const std::string disconnect = "TCP删除连接帧\r\n";
    const std::string send = "TCP发送数据帧\r\n";
    const std::string receive = "TCP接收数据帧\r\n";
    const std::string payload = "payload len:  2\r\npayload:  ABCD\r\n";
    ExpectCases({
        {"connect TCP", AnalyzeTcpConnect, MakeFrame(kHost, 0x37, "01" + kPair), connect + "TCP/IP连接类型：  TCP\r\n" + kPairLines, 18},
        {"connect UDP", AnalyzeTcpConnect, MakeFrame(kHost, 0x37, "00" + kPair), connect + "TCP/IP连接类型：  UDP\r\n" + kPairLines, 18},
        {"connect unknown type", AnalyzeTcpConnect, MakeFrame(kHost, 0x37, "02" + kPair),
         connect + "TCP/IP连接类型：  保留\r\n" + kPairLines, 18},
        {"connect, L 12", AnalyzeTcpConnect, MakeFrame(kHost, 0x37, kPair), connect, 5},
        {"connect abnormal request", AnalyzeTcpConnect, MakeFrame(kHostAbnormal, 0x37, "01" + kPair), connect, 5},
        {"connect reply", AnalyzeTcpConnect, MakeFrame(kReply, 0x37, ""), connect + "TCP/IP建立连接成功", 5},
        {"connect reply with data", AnalyzeTcpConnect, MakeFrame(kReply, 0x37, "00"), connect + "TCP/IP建立连接回复帧失败", 5},
        {"connect abnormal", AnalyzeTcpConnect, MakeFrame(kAbnormal, 0x37, "00"), connect + "TCP/IP建立连接异常状态为： 错误的格式\r\n", 5},
        {"connect abnormal, L 2", AnalyzeTcpConnect, MakeFrame(kAbnormal, 0x37, "00 00"), connect + "TCP/IP建立连接异常回复帧出错", 5},
        // Ports are read where the addresses did not fit, zero past the end.
        {"connect cut", AnalyzeTcpConnect, Hex("79 0D 00 40 37 01 08 01 A8"),
         connect + "TCP/IP连接类型：  TCP\r\nSrc IP:       " + kIncomplete + "Src port: 264\r\nDst IP:       " + kIncomplete +
             "Dst port: 168\r\n",
         10},
        {"disconnect", AnalyzeTcpDisconnect, MakeFrame(kHost, 0x38, kPair), disconnect + kPairLines, 17},
        {"disconnect, L 13", AnalyzeTcpDisconnect, MakeFrame(kHost, 0x38, kPair + "00"), disconnect, 5},
        {"disconnect reply", AnalyzeTcpDisconnect, MakeFrame(kReply, 0x38, ""), disconnect + "TCP/IP删除连接成功", 5},
        {"disconnect reply with data", AnalyzeTcpDisconnect, MakeFrame(kReply, 0x38, "00"), disconnect + "TCP/IP删除连接回复帧失败", 5},
        {"disconnect abnormal", AnalyzeTcpDisconnect, MakeFrame(kAbnormal, 0x38, "03"),
         disconnect + "TCP/IP删除连接异常状态为： 指令字无效\r\n", 5},
        {"disconnect abnormal, L 0", AnalyzeTcpDisconnect, MakeFrame(kAbnormal, 0x38, ""), disconnect + "TCP/IP删除连接异常回复帧出错", 5},
        {"send", AnalyzeTcpSendData, MakeFrame(kHost, 0x39, kPair + "02 00 AB CD"), send + kPairLines + payload, 21},
        {"send empty data", AnalyzeTcpSendData, MakeFrame(kHost, 0x39, kPair + "00 00"),
         send + kPairLines + "payload len:  0\r\npayload:  \r\n", 19},
        {"send without count", AnalyzeTcpSendData, MakeFrame(kHost, 0x39, kPair), send, 5},
        {"send data past frame", AnalyzeTcpSendData, MakeFrame(kHost, 0x39, kPair + "05 00 AB"),
         send + kPairLines + "payload len:  5\r\n" + kIncomplete, 19},
        {"send count past frame", AnalyzeTcpSendData, Hex("79 0E 00 40 39" + kPair + "02"),
         send + kPairLines + kIncomplete, 17},
        {"send reply", AnalyzeTcpSendData, MakeFrame(kReply, 0x39, ""), send + "TCP/IP发送数据成功", 5},
        {"send reply with data", AnalyzeTcpSendData, MakeFrame(kReply, 0x39, "00"), send + "TCP/IP发送数据回复帧失败", 5},
        {"send abnormal", AnalyzeTcpSendData, MakeFrame(kAbnormal, 0x39, "02"), send + "TCP/IP发送数据异常状态为： 错误的长度\r\n", 5},
        {"send abnormal, L 2", AnalyzeTcpSendData, MakeFrame(kAbnormal, 0x39, "02 00"), send + "TCP/IP发送数据异常回复帧出错", 5},
        {"receive", AnalyzeTcpReceiveData, MakeFrame(kReply, 0x3A, kPair + "02 00 AB CD"), receive + kPairLines + payload, 21},
        {"receive, L 13", AnalyzeTcpReceiveData, MakeFrame(kReply, 0x3A, kPair + "00"), receive, 5},
        {"receive abnormal", AnalyzeTcpReceiveData, MakeFrame(kAbnormal, 0x3A, kPair + "02 00 AB CD"), receive, 5},
        {"receive answer", AnalyzeTcpReceiveData, MakeFrame(kHost, 0x3A, ""), receive + "TCP/IP接收数据成功", 5},
        {"receive answer with data", AnalyzeTcpReceiveData, MakeFrame(kHost, 0x3A, "00"), receive + "TCP/IP接收数据回复帧失败", 5},
        {"receive abnormal answer", AnalyzeTcpReceiveData, MakeFrame(kHostAbnormal, 0x3A, "FF"),
         receive + "TCP/IP接收数据异常状态为： RESV\r\n", 5},
        {"receive abnormal answer, L 0", AnalyzeTcpReceiveData, MakeFrame(kHostAbnormal, 0x3A, ""),
         receive + "TCP/IP接收数据异常回复帧出错", 5},
    });
}

TEST(TcpipAnalyzers, EnumerationsAndFallbacks) {
    const struct {
        unsigned code;
        const char* status;
        const char* type;
    } cases[] = {
        {0, "SOCKET 不存在", "UDP"},         {1, " Socket连接中", "TCP"},   {2, " Socket无法建立连接", "保留"},
        {3, "Socket连接丢失", "保留"},       {4, " Socket建立连接成功", "保留"}, {5, "保留", "保留"},
        {0xFF, "保留", "保留"},
    };
    for (const auto& c : cases) {
        std::string text;
        PrintSocketStatus(static_cast<uint8_t>(c.code), text);
        PrintTcpConnectionType(static_cast<uint8_t>(c.code), text);
        EXPECT_EQ(text, std::string("status:       ") + c.status + "\r\nTCP/IP连接类型：  " + c.type + "\r\n") << c.code;
    }
}

TEST(TcpipAnalyzers, DomainNamePosition) {
    const struct {
        const char* name;
        ByteString frame;
        int result;
        int position;  // where the caller's position is left
    } cases[] = {
        {"fits", MakeFrame(kHost, 0x33, "02 61 62"), 8, 8},
        {"name past frame", Hex("79 05 00 40 33 09 61 62"), -1, 6},
        {"no length byte", Hex("79 00 00 40 33"), -1, 5},
    };
    for (const auto& c : cases) {
        std::string text;
        int position = 5;
        EXPECT_EQ(PrintDomainName(c.frame, text, position), c.result) << c.name;
        EXPECT_EQ(position, c.position) << c.name;
    }
    // A position before the frame reads nothing: only the cut-frame text.
    std::string text;
    int position = -4;
    EXPECT_EQ(PrintDomainName(Hex("79 02 00 40 33 02 61 62"), text, position), -1);
    EXPECT_EQ(text, "\r\nError:报文不完整\r\n");
    EXPECT_EQ(position, -4);
}

}  // namespace
