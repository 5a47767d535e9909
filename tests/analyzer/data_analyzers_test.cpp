#include <gtest/gtest.h>

#include "analyzer/analyzer.h"
#include "analyzer/data_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

TEST(DataAnalyzers, SendData) {
    // Only the reply bit decides.
    const std::string abnormal = "发送数据帧\r\n发送数据帧回复异常\r\n";
    ExpectBodies({
        {"request", MakeFrame(kHost, 0x14, "01 02 03"), "发送数据帧\r\n发送数据成功\r\n"},
        {"reply", MakeFrame(kReply, 0x14, ""), "发送数据帧\r\n发送数据成功\r\n"},
        {"abnormal", MakeFrame(kAbnormal, 0x14, "02"), abnormal + "异常状态为：   错误的长度\r\n\r\n"},
        {"abnormal, L 2", MakeFrame(kAbnormal, 0x14, "02 00"), abnormal + "发送数据帧异常回复帧错误\r\n"},
        // The status byte is missing and reads as 0.
        {"truncated", Hex("79 01 00 A0 14"), abnormal + "异常状态为：   错误的格式\r\n\r\n"},
    });
}

TEST(DataAnalyzers, ReceiveData) {
    const std::string title = "接收数据帧\r\n";
    const std::string lines = title + "Src 设备模式：    网关\r\n目标设备模式：    云服务器\r\nDepth:        3\r\n";
    const std::string initial = lines + "网络口令模式: 初始网络口令\r\n";
    const std::string user = lines + "网络口令模式: 用户网络口令\r\n";
    const std::string source = "Src addr: 010203040506\r\n";
    ExpectResults(AnalyzeReceiveData, {
        {"multicast", MakeFrame(kReply, 0x15, "21 C3 00 34 12 06 05 04 03 02 01 03 00 AA BB CC"),
            user + "组播地址：    1234\r\n" + source + "payload len:  3\r\npayload:  AABBCC\r\n\r\n", 21},
        {"empty payload", MakeFrame(kReply, 0x15, "21 03 FF 06 05 04 03 02 01 00 00"),
            initial + source + "payload len:  0\r\npayload:  \r\n\r\n", 16},
        // The payload runs past the frame: the closing CRLF still follows.
        {"payload cut", MakeFrame(kReply, 0x15, "21 03 00 06 05 04 03 02 01 05 00 AA"),
            initial + source + "payload len:  5\r\n" + kIncomplete + "\r\n", 16},
        {"word cut", Hex("79 03 00 80 15 21 C3"), title + kIncomplete, -1},
        {"multicast cut", Hex("79 0B 00 80 15 21 C3 00 34"), user + kIncomplete, -1},
        {"address cut", Hex("79 0B 00 80 15 21 03 00 01 02 03"), initial + kIncomplete, -1},
        {"abnormal", MakeFrame(kAbnormal, 0x15, "01"), title + "异常帧\r\n", 5},
        {"host with data", MakeFrame(kHost, 0x15, "00 00"), title + "接收数据出错\r\n", 5},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x15, "01"), title + "接收数据异常帧\r\n", 5},
    });
}

TEST(DataAnalyzers, ActiveReport) {
    const std::string title = "读取主动上报帧\r\n";
    const std::string head = title + "源地址：   060504030201\r\n上报类型：07\r\n";
    ExpectBodies({
        {"report", MakeFrame(kReply, 0xE0, "01 02 03 04 05 06 07 02 AA BB"), head + "信息长度：02\r\n信息：       \r\nAABB\r\n\r\n"},
        {"short", MakeFrame(kReply, 0xE0, "01"), title + "主动上报帧错误\r\n\r\n"},
        {"abnormal", MakeFrame(kAbnormal, 0xE0, "04"), title + "异常状态为：   RAM空间不足\r\n\r\n"},
        {"abnormal, L 2", MakeFrame(kAbnormal, 0xE0, "04 00"), title + "主动上报帧错误\r\n"},
        {"host with data", MakeFrame(kHost, 0xE0, "01"), title + "主动上报帧错误\r\n"},
    });
}

TEST(DataAnalyzers, ExecStateReport) {
    const std::string title = "执行状态上报帧\r\n";
    const std::string ip = title + "Src 设备模式：    网关\r\n目标设备模式：    云服务器\r\nSrc IP:   192.168.0.1\r\n";
    const std::string mac = title + "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    网关\r\n";
    const std::string tail = "cmd为：       0\r\n异常状态为：   无效路径\r\n";
    ExpectResults(AnalyzeExecStateReport, {
        {"ip peers", MakeFrame(kReply, 0x10, "21 01 00 A8 C0 50 00 02 01 A8 C0 90 1F 14 01"),
            ip + "Src port:     80\r\nDst IP:   192.168.1.2\r\nDst port:     8080\r\ncmd为：       20\r\n"
            "异常状态为：   csma失败\r\n", 20},
        // The destination IP does not fit: its incomplete text stands there and the report goes on,
        // reading what is left as it is.
        {"destination ip cut", Hex("79 0F 00 80 10 21 01 00 A8 C0 50 00"),
            ip + "Src port:     80\r\nDst IP:   " + kIncomplete + "Dst port:     0\r\n" + tail, 16},
        {"fewer than six bytes", Hex("79 0F 00 80 10 21 01 00 A8 C0 50"),
            title + "Src 设备模式：    网关\r\n目标设备模式：    云服务器\r\n" + kIncomplete, -1},
        {"address", MakeFrame(kReply, 0x10, "13 06 05 04 03 02 01 1C 02"),
            mac + "Dst addr: 010203040506\r\ncmd为：       28\r\n异常状态为：   通信失败回复错误帧\r\n", 14},
        {"address cut", Hex("79 08 00 80 10 13 01 02"), mac + kIncomplete, -1},
        {"host", MakeFrame(kHost, 0x10, "01 02"), title + "执行状态上报成功\r\n", 5},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x10, "00"), title + "异常状态码为：    错误的格式\r\n\r\n", 5},
        {"module abnormal", MakeFrame(kAbnormal, 0x10, "00"), title + "\r\n", 5},
    });
}

TEST(DataAnalyzers, PointRead) {
    const std::string title = "远程点抄帧\r\n";
    const std::string flags = title + "组播标志：    非组播\r\n网络口令模式: 初始网络口令\r\n";
    const std::string head = flags + "Src addr: 010203040506\r\n";
    const std::string ok = "\r\n远程点抄成功\r\n\r\n数据：\r\n";
    ExpectResults(AnalyzePointRead, {
        {"counting data", MakeFrame(kReply, 0xF1, "00 06 05 04 03 02 01 03 00 00 01 02"),
            head + "数据长度：    3\r\n" + ok + "000102\r\n", 17},
        {"other data", MakeFrame(kReply, 0xF1, "00 06 05 04 03 02 01 02 00 01 02"),
            head + "数据长度：    2\r\n\r\n远程点抄失败\r\n\r\n数据：\r\n0102\r\n", 16},
        // The reply bit is not looked at.
        {"abnormal, no data", MakeFrame(kAbnormal, 0xF1, "00 06 05 04 03 02 01 00 00"),
            head + "数据长度：    0\r\n" + ok + "\r\n", 14},
        {"multicast", MakeFrame(kReply, 0xF1, "03 34 12 06 05 04 03 02 01 01 00 00"),
            title + "组播标志：    组播\r\n网络口令模式: 用户网络口令\r\n组播地址：    1234\r\n"
            "Src addr: 010203040506\r\n数据长度：    1\r\n" + ok + "00\r\n", 17},
        {"data cut", MakeFrame(kReply, 0xF1, "00 06 05 04 03 02 01 05 00 00 01"),
            head + "数据长度：    5\r\n" + kIncomplete, -1},
        // Even empty data must start inside the frame.
        {"truncated", Hex("79 05 00 80 F1"), flags + "Src addr: 000000000000\r\n数据长度：    0\r\n" + kIncomplete, -1},
        {"empty data at the end", Hex("79 09 00 80 F1 00 06 05 04 03 02 01 00 00"),
            head + "数据长度：    0\r\n" + ok + "\r\n", 14},
        {"status", MakeFrame(kReply, 0xF1, "02"), title + "状态为：   错误的长度\r\n\r\n", 5},
        {"request", MakeFrame(kHost, 0xF1, "02 06 05 04 03 02 01 10 00"),
            title + "组播标志：    非组播\r\n网络口令模式: 用户网络口令\r\nDST addr: 010203040506\r\n数据长度：    16\r\n", 14},
        {"short request", MakeFrame(kHost, 0xF1, "00 01"), title, 5},
    });
}

TEST(DataAnalyzers, FlagByteAndCountingPattern) {
    PointReadFlags f;
    std::string text;
    PrintFlagByte(0xFD, f, text);
    EXPECT_EQ(text, "组播标志：    组播\r\n网络口令模式: 初始网络口令\r\n");
    EXPECT_EQ(f.reserved, 0x3F);
    ByteString counting;  // 00 01 .. FF 00 01 ..
    for (int i = 0; i < 300; ++i) counting.push_back(static_cast<unsigned char>(i));
    EXPECT_TRUE(IsCountingPattern(counting) && IsCountingPattern(ByteString()));
    for (size_t wrong : {0, 255, 299}) {
        ByteString data = counting.substr(0, wrong + 1);
        data[wrong] ^= 0x2C;
        EXPECT_FALSE(IsCountingPattern(data)) << wrong;
    }
}
