#include <gtest/gtest.h>

#include "analyzer/analyzer.h"
#include "analyzer/remote_command_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

TEST(RemoteCommandAnalyzers, Restart) {
    const std::string title = "远程设备重启帧\r\n";
    const std::string failed = title + "SRC Addr: 010203040506\r\n执行状态: 重启失败\r\n失败原因: ";
    ExpectResults(AnalyzeRemoteRestart, {
        {"request", MakeFrame(kHost, 0x50, "00 01 02 03 04 05 06"), title + "DST Addr: 060504030201\r\n\r\n", 6},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x50, "00 01 02 03 04 05 06"), title + "\r\n", 5},
        {"succeeded", MakeFrame(kReply, 0x50, "06 05 04 03 02 01 05"),
            title + "SRC Addr: 010203040506\r\n执行状态: 重启成功\r\n\r\n", 11},
        {"upgrading", MakeFrame(kReply, 0x50, "06 05 04 03 02 01 00 01"), failed + "升级中\r\n\r\n", 11},
        {"abnormal", MakeFrame(kAbnormal, 0x50, "01"),
            title + "远程设备重启回复帧异常\r\n异常状态为：   错误的数据单元\r\n\r\n", 5},
        {"abnormal, L 2", MakeFrame(kAbnormal, 0x50, "01 00"), title + "远程设备重启回复帧异常\r\n异常回复帧错误\r\n", 5},
        // The state byte is missing and reads as failed.
        {"truncated", Hex("79 08 00 80 50 06 05"),
            title + "SRC Addr: 000000000506\r\n执行状态: 重启失败\r\n失败原因: 保留\r\n\r\n", 11},
    });
}

TEST(RemoteCommandAnalyzers, VersionAnswers) {
    SinkRecorder rec;
    const std::string title = "远程读取版本号帧\r\nSRC Addr: 010203040506\r\n厂商标识： QV\r\n";
    ExpectBodies({
        {"reply", MakeFrame(kReply, 0x52, "06 05 04 03 02 01 56 51 34 12 01 03 02"),
            title + "芯片类型: 1234\r\n产品信息: 01\r\n版本信息： 02-03\r\n\r\n"},
        {"abnormal", MakeFrame(kAbnormal, 0x52, "04"),
            "远程读取版本号帧\r\n远程读取版本号回复异常帧\r\n异常状态为：   RAM空间不足\r\n\r\n\r\n"},
        // Five version bytes: the check bytes are explained as the last two, the label is left alone.
        {"short", MakeFrame(kReply, 0x52, "06 05 04 03 02 01 56 51 34 12 01"),
            title + "芯片类型: 1234\r\n产品信息: 01\r\n版本信息： FE-E0\r\n\r\n"},
        // Zeros stand for the missing bytes and the label is left alone.
        {"truncated", Hex("79 0D 00 80 52 06 05 04 03 02 01 56 51"),
            title + "芯片类型: 0000\r\n产品信息: 00\r\n版本信息： 00-00\r\n\r\n"},
    }, rec);
    EXPECT_EQ(rec.texts, std::vector<std::string>{"版本号:QV-1234-01-02-03"});
}

TEST(RemoteCommandAnalyzers, MacAndNetworkParamsAnswers) {
    const std::string mac = "远程读取MAC地址帧\r\n";
    const std::string params = "远程读取网络口令帧\r\nSRC addr: 010203040506\r\n透传层级限制: ";
    const std::string paramsAbnormal = "远程读取网络口令帧\r\n远程读取网络口令异常回复帧\r\n";
    ExpectBodies({
        {"mac", MakeFrame(kReply, 0x53, "06 05 04 03 02 01 16 15 14 13 12 11"),
            mac + "SRC Addr: 010203040506\r\nMAC     : 111213141516\r\n\r\n"},
        {"mac abnormal", MakeFrame(kAbnormal, 0x53, "00"), mac + "远程读取MAC地址异常回复帧\r\n异常状态为：   错误的格式\r\n\r\n"},
        {"params", MakeFrame(kReply, 0x5D, "06 05 04 03 02 01 35 BF 21"),
            params + "5\r\n串口参数: Unknown,Unknown, Unknown\r\n载波参数: 411子载波, 2 档发送功率\r\n\r\n"},
        {"params, known codes", MakeFrame(kReply, 0x5D, "06 05 04 03 02 01 00 A0 00"),
            params + "0\r\n串口参数: 115200,8, None, 1\r\n载波参数: 131子载波, 0 档发送功率\r\n\r\n"},
        // The status label has two blanks here.
        {"params abnormal", MakeFrame(kAbnormal, 0x5D, "00"), paramsAbnormal + "异常状态为：  错误的格式\r\n\r\n"},
        {"params truncated", Hex("79 09 00 80 5D 06 05 04 03 02 01 15"),
            params + "5\r\n串口参数: 600,8, None, 1\r\n载波参数: 131子载波, 0 档发送功率\r\n\r\n"},
    });
}

TEST(RemoteCommandAnalyzers, SetLwip) {
    const std::string title = "远程设置LWIP模式帧\r\n";
    ExpectResults(AnalyzeRemoteSetLwip, {
        {"short request", MakeFrame(kHost, 0x51, "00 06 05 04 03 02 01"), title + "远程设置LWIP模式帧出错", 5},
        {"request", MakeFrame(kHost, 0x51, "FE 06 05 04 03 02 01 01"),
            title + "组播标志：    非组播\r\nDST Addr: 010203040506\r\n设置类型: 打开\r\n", 13},
        {"multicast request", MakeFrame(kHost, 0x51, "01 34 12 06 05 04 03 02 01 00"),
            title + "组播标志：    组播\r\n组播地址：    1234\r\nDST Addr: 010203040506\r\n设置类型: 关闭\r\n", 15},
        {"multicast cut", Hex("79 0A 00 40 51 01 34"), title + "组播标志：    组播\r\n" + kIncomplete, -1},
        {"address cut", Hex("79 08 00 40 51 00 06 05 04"), title + "组播标志：    非组播\r\n" + kIncomplete, -1},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x51, "00"), title + "远程设置LWIP模式异常帧", 5},
        {"answer", MakeFrame(kReply, 0x51, "06 05 04 03 02 01 02 34 12"),
            title + "SRC Addr: 010203040506\r\n设置类型: 出错\r\n当前节点状态: 0x 1234\r\n", 12},
        // Ten bytes are too few for the source address.
        {"answer cut", Hex("79 05 00 80 51 01 02 03 04 05"), title + kIncomplete, -1},
        // The abnormal answer prints its status whatever L is.
        {"abnormal", MakeFrame(kAbnormal, 0x51, "02 00"), title + "远程设置LWIP指令回复异常异常状态为：   错误的长度\r\n\r\n", 5},
    });
}

TEST(RemoteCommandAnalyzers, Broadcast) {
    const std::string title = "广播通信帧\r\n";
    const std::string params = title +
                               "Src 设备模式：    网关\r\n目标设备模式：    云服务器\r\n优先级：高\r\n半径：      9\r\n"
                               "网络口令模式: 用户网络口令\r\n组播标志：    组播\r\n组播地址：    1234\r\n";
    const std::string plain = title +
                              "Src 设备模式：    不区分设备类型\r\n目标设备模式：    不区分设备类型\r\n优先级：低\r\n"
                              "半径：      0\r\n网络口令模式: 初始网络口令\r\n组播标志：    ";
    ExpectResults(AnalyzeBroadcast, {
        {"request", MakeFrame(kHost, 0x16, "21 73 34 12 02 00 AA BB"), params + "payload len:  2\r\npayload:  AABB\r\n", 11},
        {"payload cut", MakeFrame(kHost, 0x16, "21 73 34 12 05 00 AA"), params + "payload len:  5\r\n" + kIncomplete, -1},
        {"multicast cut", Hex("79 06 00 40 16 00 40 34"), plain + "组播\r\n" + kIncomplete, -1},
        {"length cut", Hex("79 02 00 40 16 00 00 07"), plain + "非组播\r\n" + kIncomplete, -1},
        {"empty payload", MakeFrame(kHost, 0x16, "00 00 00 00"), plain + "非组播\r\npayload len:  0\r\npayload:  \r\n", 9},
        {"reply", MakeFrame(kReply, 0x16, ""), title + "广播通信成功", 5},
        {"abnormal", MakeFrame(kAbnormal, 0x16, "00"), title + "异常状态为：   错误的格式\r\n", 5},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x16, "00"), title, 5},
    });
}

TEST(RemoteCommandAnalyzers, ValuePrinters) {
    std::string text;
    MulticastAndVersionType mv;
    for (uint8_t v : {0x00, 0x03, 0x05, 0x06}) PrintMulticastAndVersionType(v, text, mv);
    EXPECT_EQ(mv.multicastFlag, 0);
    EXPECT_EQ(mv.versionType, 3);
    PrintVersionType(4, text);
    BroadcastParamWord bp;
    PrintBroadcastParams(0xBE5F, text, bp);
    EXPECT_EQ(text,
              "组播标志：    非组播\r\n版本类型: boot版本\r\n组播标志：    组播\r\n版本类型: 固件版本\r\n"
              "组播标志：    组播\r\n版本类型: 分层应用版本\r\n组播标志：    非组播\r\n版本类型: 其他版本\r\n版本类型: \r\n"
              "Src 设备模式：    出错\r\n目标设备模式：    Bluetooth MAC地址\r\n优先级：低\r\n半径：      15\r\n"
              "网络口令模式: 用户网络口令\r\n组播标志：    非组播\r\n");
}
