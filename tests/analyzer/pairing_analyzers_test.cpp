// Pairing frames through their dispatcher: per sub-code a request, a reply, an abnormal reply
// and a cut frame, with the exact text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyzer/pairing_analyzers.h"
#include "analyzer/pairing_remote_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

namespace {

struct PairingCase {
    const char* name;
    ByteString frame;
    std::string text;
};

ByteString Pair(unsigned char control, const std::string& data) { return MakeFrame(control, 0x60, data); }

void ExpectDispatched(const std::vector<PairingCase>& cases) {
    for (const PairingCase& c : cases) {
        std::string text = ">";
        DispatchPairingAnalyzer(c.frame, text);
        EXPECT_EQ(text, ">" + c.text) << c.name;
    }
}

const std::string kMac = "66 55 44 33 22 11 ";
const std::string kRemoteBody = kMac + "34 12";

}  // namespace

TEST(PairingAnalyzers, LocalPairing) {
    const std::string readLocal = "读取本地配对信息\r\n";
    const std::string setLocal = "设置本地配对信息\r\n";
    const std::string wait = "设置待配对状态\r\n";
    const std::string autoPair = "启动自动配对\r\n";
    const std::string report = "上报自动配对信息\r\n";
    const std::string networks = "读取可用网络号\r\n";
    const std::string clear = "清除本地配对信息：\r\n";
    ExpectDispatched({
        {"00 request", Pair(kHost, "00"), readLocal},
        {"00 answer", Hex("79 09 00 80 60 00 11 22 33 44 55 66 34 12 94 B8"),
         readLocal + "MAC地址：665544332211\r\nPANID: 1234\r\n"},
        {"00 answer, L 8", Pair(kReply, "00 11 22 33 44 55 66 34"), readLocal},
        {"00 abnormal", Pair(kAbnormal, "00"), readLocal},
        // L says 9; the bytes that are missing read as zero.
        {"00 cut", Hex("79 09 00 80 60 00 11 22 33"), readLocal + "MAC地址：000000332211\r\nPANID: 0000\r\n"},
        {"no bytes at all", ByteString(), readLocal},
        {"01 request", Pair(kHost, "01 CD AB"), setLocal + "设置本地配对信息请求帧\r\nPANID:    ABCD\r\n"},
        {"01 request, L 1", Pair(kHost, "01"), setLocal + "设置本地配对信息请求帧\r\n\r\n"},
        {"01 answer", Pair(kReply, "01"), setLocal + "设置本地配对信息成功\r\n"},
        {"01 abnormal", Pair(kAbnormal, "01"), setLocal + "\r\n"},
        {"01 host abnormal", Pair(kHostAbnormal, "01 CD AB"), setLocal + "\r\n"},
        {"01 cut", Hex("79 03 00 40 60 01 34"), setLocal + "设置本地配对信息请求帧\r\nPANID:    0034\r\n"},
        {"02 request", Pair(kHost, "02 C8"), wait + "设置本地配对状态请求帧\r\n待配对持续时间:   200\r\n"},
        {"02 request of 10", Pair(kHost, "02 0A"), wait + "设置本地配对状态请求帧\r\n待配对持续时间:   10\r\n"},
        {"02 request of 100", Pair(kHost, "02 64"), wait + "设置本地配对状态请求帧\r\n待配对持续时间:   100\r\n"},
        {"02 answer", Pair(kReply, "02"), wait + "设置待配对状态成功\r\n"},
        {"02 answer, L 2", Pair(kReply, "02 00"), wait + "\r\n"},
        {"02 abnormal", Pair(kAbnormal, "02"), wait + "\r\n"},
        {"02 cut", Hex("79 02 00 40 60 02"), wait + "设置本地配对状态请求帧\r\n待配对持续时间:   0\r\n"},
        {"03 request of any length", Pair(kHost, "03 FF FF"), autoPair + "启动自动配对请求帧\r\n"},
        {"03 answer", Pair(kReply, "03"), autoPair + "启动自动配对成功\r\n"},
        {"03 abnormal", Pair(kAbnormal, "03"), autoPair + "\r\n"},
        {"04 acknowledgement", Pair(kHost, "04"), report + "上报自动配对信息成功\r\n"},
        {"04 report", Hex("79 0A 00 80 60 04 01 11 22 33 44 55 66 34 12 9A BE"),
         report + "上报自动配对结果状态：等待配对超2个成功配对MAC地址：665544332211\r\nPANID:    1234\r\n\r\n"},
        {"04 report, paired", Pair(kReply, "04 00 " + kRemoteBody),
         report + "上报自动配对结果状态：配对成功成功配对MAC地址：112233445566\r\nPANID:    1234\r\n\r\n"},
        {"04 report, result 7", Pair(kReply, "04 07 " + kRemoteBody),
         report + "上报自动配对结果状态：保留成功配对MAC地址：112233445566\r\nPANID:    1234\r\n\r\n"},
        {"04 report, L 9", Pair(kReply, "04 00 " + kMac + "34"), report + "上报配对信息帧出错\r\n"},
        {"04 abnormal", Pair(kAbnormal, "04"), report + "\r\n"},
        {"05 request", Pair(kHost, "05"), networks + "读取可用网络号请求帧\r\n"},
        {"05 answer", Pair(kReply, "05 34 12"), networks + "网络号：1234\r\n\r\n"},
        {"05 answer, L 5", Pair(kReply, "05 34 12 00 00"), networks + "\r\n"},
        {"05 cut", Hex("79 03 00 80 60 05"), networks + "网络号：0000\r\n\r\n"},
        {"06 request", Pair(kHost, "06"), clear + "清除本地配对信息请求\r\n"},
        {"06 answer", Pair(kReply, "06"), clear + "清除本地配对信息成功\r\n"},
        {"06 abnormal", Pair(kAbnormal, "06"), clear + "\r\n"},
    });
}

TEST(PairingAnalyzers, SubCodesWithoutAnalyzerAndOtherFrames) {
    ExpectDispatched({
        {"07", Pair(kReply, "07"), ""},
        {"32", Pair(kHost, "32 00"), ""},
        {"F4", Pair(kReply, "F4"), ""},
        // L 0: the sum (00 00 90 60 -> F0) takes the sub-code's place.
        {"no data", MakeFrame(0x90, 0x60, ""), "发起设备搜索\r\n\r\n"},
        {"another command", MakeFrame(kReply, 0x02, "01"), "设置本地配对信息\r\n设置本地配对信息成功\r\n"},
    });
    // The frame analyzer has no row for the pairing command.
    EXPECT_EQ(Explain(Pair(kHost, "01 CD AB")).find("设置本地配对信息"), std::string::npos);
}

TEST(PairingAnalyzers, PairingSearch) {
    const std::string request = "发起配对搜索请求\r\n";
    const std::string report = "上报配对搜索请求\r\n";
    const std::string result = "上报配对搜索结果\r\n";
    ExpectDispatched({
        // The attribute runs to the last data byte, whatever its length byte says.
        {"10 request", Pair(kHost, "10 02 AA BB CC DD"), request + "属性信息长度：    2\r\n属性：    AABBCCDD\r\n"},
        {"10 answer", Pair(kReply, "10 34 12"), request + "PANID:    1234\r\n\r\n"},
        {"10 answer, L 1", Pair(kReply, "10"), request + "\r\n"},
        {"10 abnormal", Pair(kAbnormal, "10 34 12"), request + "\r\n"},
        {"10 cut", Hex("79 04 00 40 60 10 02 AA"), request + "属性信息长度：    2\r\n属性：    AA00\r\n"},
        {"11 verdict", Pair(kHost, "11 01 " + kMac + "02 AB CD"),
         report + "符合搜索规则，回复\r\n发起搜索MAC地址：112233445566\r\n属性信息长度：    2\r\n属性：    ABCD\r\n"},
        {"11 verdict 5, no attribute", Pair(kHost, "11 05 " + kMac + "00"),
         report + "\r\n发起搜索MAC地址：112233445566\r\n属性信息长度：    0\r\n属性：    \r\n"},
        {"11 verdict, L 8", Pair(kHost, "11 00 " + kMac), report + "\r\n"},
        {"11 report", Pair(kReply, "11 " + kMac + "03 01 02 03 04"),
         report + "发起设备搜索MAC地址：112233445566\r\n属性信息长度：    3\r\n属性：    010203\r\n"},
        {"11 report, L 7", Pair(kReply, "11 " + kMac), report + "\r\n"},
        {"11 abnormal", Pair(kAbnormal, "11 " + kMac + "00"), report + "\r\n"},
        {"12 acknowledgement", Pair(kHost, "12"), result + "上报配对搜索结果成功"},
        {"12 no entry", Pair(kReply, "12 00"), result},
        {"12 two entries", Pair(kReply, "12 02 " + kRemoteBody + " 01 AA 01 02 03 04 05 06 78 56 00"),
         result + "mac地址：112233445566\r\nPANID:    1234\r\n属性：AA\r\nmac地址：060504030201\r\nPANID:    5678\r\n属性：\r\n"},
        // The count points past the data: the check bytes, then zeros.
        {"12 count past the data", Hex("79 02 00 80 60 12 01 5A A5"),
         result + "mac地址：00000000A55A\r\nPANID:    0000\r\n属性：\r\n"},
        {"12 abnormal", Pair(kAbnormal, "12 00"), result},
    });
}

TEST(PairingAnalyzers, CommunicationTest) {
    const std::string request = "发起通信测试请求\r\n";
    const std::string reported = "上报通信测试请求\r\n";
    const std::string reply = "上报通信测试应答\r\n";
    const std::string body = "MAC地址： 112233445566\r\n通信数据长度：1\r\n通信数据：AA\r\n";
    ExpectDispatched({
        {"20 request", Pair(kHost, "20 " + kMac + "01 AA"), request + body},
        {"20 answer", Pair(kReply, "20"), request + "发起通信请求成功\r\n"},
        {"20 abnormal", Pair(kAbnormal, "20"), request + "\r\n"},
        // Two bytes more than present: the sum and XOR; three more: a zero after them.
        {"20 data past the frame", Hex("79 09 00 40 60 20 66 55 44 33 22 11 03 AA 5A A5"),
         request + "MAC地址： 112233445566\r\n通信数据长度：3\r\n通信数据：AA5AA5\r\n"},
        {"20 cut", Hex("79 09 00 40 60 20 66 55 44 33 22 11 04 AA 5A A5"),
         request + "MAC地址： 112233445566\r\n通信数据长度：4\r\n通信数据：AA5AA500\r\n"},
        {"21 acknowledgement", Pair(kHost, "21"), reported + "上报通信测试请求成功\r\n"},
        {"21 report", Pair(kReply, "21 " + kMac + "01 AA"), reported + body},
        {"21 abnormal", Pair(kAbnormal, "21 " + kMac + "01 AA"), reported + "\r\n"},
        {"22 reply", Pair(kHost, "22 " + kMac + "01 AA"), reply + body},
        {"22 answer", Pair(kReply, "22"), reply + "上报通信测试应答成功\r\n"},
        {"22 abnormal", Pair(kAbnormal, "22"), reply + "\r\n"},
        {"23 acknowledgement", Pair(kHost, "23"), reply + "上报通信测试应答成功\r\n"},
        {"23 report", Pair(kReply, "23 " + kMac + "01 AA"), reply + body},
        {"23 cut", Hex("79 09 00 80 60 23 66 55"),
         reply + "MAC地址： 000000005566\r\n通信数据长度：0\r\n通信数据：\r\n"},
    });
}

TEST(PairingAnalyzers, RemotePairing) {
    const std::string set = "远程设置配对信息请求\r\n";
    const std::string setReply = "上报远程设置配对信息应答\r\n";
    const std::string setReport = "上报远程设置配对信息请求\r\n";
    const std::string read = "远程读取配对信息请求\r\n";
    const std::string readReply = "上报远程读取配对信息应答\r\n";
    const std::string blank = "MAC地址： 112233445566\r\nPANID:    1234";
    ExpectDispatched({
        {"30 request", Pair(kHost, "30 " + kRemoteBody), set + "MAC地址：112233445566\r\nPANID:    1234\r\n"},
        {"30 answer", Pair(kReply, "30"), set + "远程上报配对信信请求成功\r\n"},
        {"30 abnormal", Pair(kAbnormal, "30"), set + "\r\n"},
        {"30 cut", Hex("79 09 00 40 60 30 66 55 44 33 22 11 34"), set + "MAC地址：112233445566\r\nPANID:    0034\r\n"},
        {"31 acknowledgement", Pair(kHost, "31"), setReply + "上报远程设置配对信息应答成功\r\n"},
        {"31 host with a body", Pair(kHost, "31 " + kRemoteBody), setReply + "\r\n"},
        {"31 report", Pair(kReply, "31 " + kRemoteBody), setReply + blank + "\r\n"},
        {"31 abnormal", Pair(kAbnormal, "31"), setReply + "\r\n"},
        {"33 host", Pair(kHost, "33"), setReport + "上报远程设置配对信息请求主机回复帧\r\n"},
        {"33 report", Pair(kReply, "33 " + kRemoteBody), setReport + "MAC地址：112233445566\r\nPANID:    1234\r\n\r\n"},
        {"33 report, L 8", Pair(kReply, "33 " + kMac + "34"), setReport + "\r\n"},
        {"33 abnormal", Pair(kAbnormal, "33 " + kRemoteBody), setReport + "\r\n"},
        {"34 request", Pair(kHost, "34 " + kMac), read + "MAC地址： 112233445566\r\n\r\n"},
        {"34 request, L 1", Pair(kHost, "34"), read + "\r\n"},
        {"34 answer", Pair(kReply, "34 " + kRemoteBody), read + blank + "\r\n"},
        {"34 abnormal", Pair(kAbnormal, "34"), read + "\r\n"},
        {"F2 request", Pair(kHost, "F2 " + kMac), read + "MAC地址： 112233445566\r\n\r\n"},
        {"F2 answer", Pair(kReply, "F2 " + kRemoteBody), read + blank + "\r\n"},
        {"F2 cut", Hex("79 09 00 80 60 F2 66"), read + "MAC地址： 000000000066\r\nPANID:    0000\r\n"},
        {"35 acknowledgement", Pair(kHost, "35"), readReply + "上报远程读取配对信息应答成功\r\n"},
        {"35 report", Pair(kReply, "35 " + kRemoteBody), readReply + blank + "\r\n"},
        {"35 report, L 7", Pair(kReply, "35 " + kMac), readReply + "\r\n"},
        {"F3 report", Pair(kReply, "F3 " + kRemoteBody), readReply + blank + "\r\n"},
        {"F3 abnormal", Pair(kAbnormal, "F3"), readReply + "\r\n"},
    });
}

TEST(PairingAnalyzers, ClearingAndDeviceSearch) {
    const std::string clear = "清除配对信息\r\n";
    const std::string cleared = "上报清除网络配对信息\r\n";
    const std::string search = "发起设备搜索\r\n";
    const std::string found = "上报搜索设备\r\n";
    const std::string two = "MAC地址： 112233445566\r\nPANID:    1234\r\nMAC地址： 060504030201\r\nPANID:    5678\r\n";
    ExpectDispatched({
        {"40 request", Pair(kHost, "40 34 12"), clear + "PADID:    1234\r\n"},
        {"40 request, L 1", Pair(kHost, "40"), clear + "\r\n"},
        {"40 answer", Pair(kReply, "40"), clear + "清除配对信息成功\r\n"},
        {"40 abnormal", Pair(kAbnormal, "40"), clear + "\r\n"},
        {"41 acknowledgement", Pair(kHost, "41"), cleared + "上报清除网络配对信息成功\r\n"},
        {"41 report", Pair(kReply, "41"), cleared + "上报清除网络配对信息\r\n"},
        {"41 abnormal", Pair(kAbnormal, "41"), cleared + "\r\n"},
        {"F0 request", Pair(kHost, "F0 01 01 00"), search + "搜索规则：    搜索所有未配对过得节点\r\nPADID:    0001\r\n"},
        {"F0 rule 3", Pair(kHost, "F0 03 34 12"), search + "搜索规则：    保留\r\nPADID:    1234\r\n"},
        {"F0 answer", Pair(kReply, "F0"), search + "发起设备搜索成功\r\n"},
        {"F0 abnormal", Pair(kAbnormal, "F0"), search + "\r\n"},
        {"F0 cut", Hex("79 04 00 40 60 F0 02 34"),
         search + "搜索规则：    搜索所有配对过，但是不属于本PANID的节点\r\nPADID:    0034\r\n"},
        {"F1 acknowledgement", Pair(kHost, "F1"), found + "上报搜索结果成功\r\n"},
        {"F1 two devices", Pair(kReply, "F1 02 " + kRemoteBody + " 01 02 03 04 05 06 78 56"),
         found + "搜索结果数目：    2\r\n" + two + "\r\n"},
        {"F1 L 17", Pair(kReply, "F1 02 " + kRemoteBody + " 01 02 03 04 05 06 78"),
         found + "搜索结果数目：    2\r\n回复帧有误\r\n"},
        {"F1 L 19", Pair(kReply, "F1 02 " + kRemoteBody + " 01 02 03 04 05 06 78 56 00"),
         found + "搜索结果数目：    2\r\n回复帧有误\r\n"},
        {"F1 none", Pair(kReply, "F1 00"), found + "搜索结果数目：    0\r\n\r\n"},
        // L says 18 while the frame ends early: the entries read zeros.
        {"F1 cut", Hex("79 12 00 80 60 F1 02 " + kRemoteBody),
         found + "搜索结果数目：    2\r\nMAC地址： 112233445566\r\nPANID:    1234\r\nMAC地址： 000000000000\r\n"
                 "PANID:    0000\r\n\r\n"},
        {"F1 abnormal", Pair(kAbnormal, "F1 00"), found + "\r\n"},
    });
}
