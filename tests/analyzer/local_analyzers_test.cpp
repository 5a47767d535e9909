#include <gtest/gtest.h>

#include "analyzer/analyzer.h"
#include "analyzer/local_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

TEST(LocalAnalyzers, AbnormalReplies) {
    struct AbnormalCase {
        unsigned char code;
        const char* title;
        const char* prefix;       // before the status line
        const char* wrongLength;  // text when L is not 1
        unsigned char status;     // each status text once
        const char* statusText;
    };
    const AbnormalCase cases[] = {
        {0x01, "模块重启帧", "设备重启失败", "设备重启失败回复帧错误", 0x00, "错误的格式"},
        {0x02, "读取版本帧", "", "回复帧错误", 0x01, "错误的数据单元"},
        {0x03, "读取MAC地址帧", "", "回复帧错误", 0x02, "错误的长度"},
        {0x06, "读取本地网络口令帧", "", "异常回复帧错误", 0x03, "指令字无效"},
        {0x07, "设置本地网络口令帧", "", "", 0x04, "RAM空间不足"},
        {0x0B, "读取通信地址帧", "", "回复帧错误", 0x05, "错误的状态"},
        {0x0C, "设置通信地址帧", "设置通信地址失败\n", "设置通信地址失败\n异常回复帧错误", 0x06, "RESV"},
        {0x0D, "读取网络参数帧", "", "回复帧错误", 0xFF, "RESV"},
        {0x0E, "设置网络参数帧", "设置网络参数失败\n", "设置网络参数失败\n异常回复帧错误", 0x00, "错误的格式"},
    };
    for (const AbnormalCase& c : cases) {
        const std::string title = std::string(c.title) + "\r\n";
        EXPECT_EQ(Body(MakeFrame(kAbnormal, c.code, ByteString(1, c.status))),
                  title + c.prefix + "异常状态为：   " + c.statusText + "\r\n\r\n")
            << int(c.code);
        EXPECT_EQ(Body(MakeFrame(kAbnormal, c.code, "03 00")), title + c.wrongLength + "\r\n") << int(c.code);
    }
}

TEST(LocalAnalyzers, Restart) {
    ExpectBodies({
        {"request with data", MakeFrame(kHost, 0x01, "00"), "模块重启帧\r\n模块启动帧错误\r\n"},
        {"upgrading", MakeFrame(kReply, 0x01, "00 01"), "模块重启帧\r\n重启结果: 重启失败\r\n失败原因: 升级中\r\n\r\n"},
        {"succeeded", MakeFrame(kReply, 0x01, "01 00"), "模块重启帧\r\n重启结果: 重启成功\r\n\r\n"},
        {"unknown result", MakeFrame(kReply, 0x01, "02"), "模块重启帧\r\n重启结果: 出错\r\n\r\n"},
        // The missing result reads as 0.
        {"truncated", Hex("79 02 00 80 01"), "模块重启帧\r\n重启结果: 重启失败\r\n失败原因: 保留\r\n\r\n"},
    });
}

TEST(LocalAnalyzers, VersionOnlyAWholeReplyShowsTheVersion) {
    SinkRecorder rec;
    const std::string title = "读取版本帧\r\n";
    ExpectBodies({
        {"vendor QV", MakeFrame(kReply, 0x02, "56 51 34 12 01 03 02"),
            title + "厂商标识： QV\r\n芯片类型: 1234\r\n产品信息: 01\r\n版本信息： 02-03\r\n\r\n"},
        {"other vendor", MakeFrame(kReply, 0x02, "51 56 AB CD EF 10 20"),
            title + "厂商标识： 其他厂商\r\n芯片类型: CDAB\r\n产品信息: EF\r\n版本信息： 20-10\r\n\r\n"},
        {"request with data", MakeFrame(kHost, 0x02, "01"), title + "读取版本请求帧错误\r\n"},
        {"short reply", MakeFrame(kReply, 0x02, "56 51 34 12 01 03"), title + "回复帧错误\r\n"},
        // L says 7 but the last byte is missing: explained with a zero.
        {"truncated", Hex("79 07 00 80 02 56 51 34 12 01 03"),
            title + "厂商标识： QV\r\n芯片类型: 1234\r\n产品信息: 01\r\n版本信息： 00-03\r\n\r\n"},
    }, rec);
    EXPECT_EQ(rec.texts, (std::vector<std::string>{"版本号:QV-1234-01-02-03", "版本号:未知-CDAB-EF-20-10"}));
}

TEST(LocalAnalyzers, MacAndCommAddress) {
    ExpectBodies({
        {"mac request with data", MakeFrame(kHost, 0x03, "00"), "读取MAC地址帧\r\n读取MAC地址帧错误\r\n"},
        {"mac reply", MakeFrame(kReply, 0x03, "01 02 03 04 05 06"), "读取MAC地址帧\r\nMAC地址： 060504030201\r\n\r\n"},
        {"mac short reply", MakeFrame(kReply, 0x03, "01 02 03 04 05"), "读取MAC地址帧\r\n回复帧错误\r\n\r\n"},
        {"comm request with data", MakeFrame(kHost, 0x0B, "12"), "读取通信地址帧\r\n读取通信地址帧错误\r\n"},
        {"comm reply", MakeFrame(kReply, 0x0B, "66 55 44 33 22 11"), "读取通信地址帧\r\n通信地址：    112233445566\r\n\r\n"},
    });
}

TEST(LocalAnalyzers, SetCommAddressAndNetworkParams) {
    ExpectResults(AnalyzeSetCommAddress, {
        {"request", MakeFrame(kHost, 0x0C, "06 05 04 03 02 01"), "设置通信地址帧\r\nDST Addr: 010203040506\r\n\r\n", 5},
        {"reply", MakeFrame(kReply, 0x0C, ""), "设置通信地址帧\r\n设置通信地址成功\r\n", 5},
        {"truncated reply", Hex("79 00 00 80 0C"), std::string("设置通信地址帧\r\n") + kIncomplete, -1},
    });
    ExpectResults(AnalyzeSetNetworkParams, {
        {"request", MakeFrame(kHost, 0x0E, "01 02 03 04 05 06 07"), "设置网络参数帧\r\n\r\n", 5},
        {"host abnormal", MakeFrame(0x60, 0x0E, "01"), "设置网络参数帧\r\n\r\n", 5},
        {"reply", MakeFrame(kReply, 0x0E, ""), "设置网络参数帧\r\n设置网络参数成功\r\n", 5},
        {"truncated reply", Hex("79 00 00 80 0E"), std::string("设置网络参数帧\r\n") + kIncomplete, -1},
    });
}

TEST(LocalAnalyzers, ReadNetworkParams) {
    const std::string title = "读取网络参数帧\r\n";
    const std::string level = title + "透传层级限制: ";
    ExpectBodies({
        {"request with data", MakeFrame(kHost, 0x0D, "00"), title + "读取网络参数帧错误\r\n"},
        {"reply", MakeFrame(kReply, 0x0D, "03 A0 21 00 00 00 00"),
            level + "3\r\n串口参数: 115200,8, None, 1\r\n载波参数: 411子载波, 2 档发送功率\r\n\r\n"},
        {"unknown codes", MakeFrame(kReply, 0x0D, "FF BB 4F 00 00 00 00"),
            level + "15\r\n串口参数: Unknown,8, Odd, Unknown\r\n载波参数: Unknown, Unknown\r\n\r\n"},
        {"unknown parity", MakeFrame(kReply, 0x0D, "00 4D 30 00 00 00 00"),
            level + "0\r\n串口参数: 9600,Unknown, 2\r\n载波参数: 131子载波, 3 档发送功率\r\n\r\n"},
        {"short reply", MakeFrame(kReply, 0x0D, "03 A0"), title + "回复帧错误\r\n\r\n"},
        // L 7, only d0 present.
        {"truncated", Hex("79 07 00 80 0D 05"), level + "5\r\n串口参数: 600,8, None, 1\r\n载波参数: 131子载波, 0 档发送功率\r\n\r\n"},
    });
}

TEST(LocalAnalyzers, LocalPassword) {
    const std::string read = "读取本地网络口令帧\r\n";
    const std::string set = "设置本地网络口令帧\r\n";
    ExpectBodies({
        {"read request with data", MakeFrame(kHost, 0x06, "00"), read + "读取本地口令帧错误\r\n"},
        {"read host abnormal", MakeFrame(0x60, 0x06, ""), read + "读取本地口令帧错误\r\n"},
        {"no password", MakeFrame(kReply, 0x06, "00"), read + "口令结果：     无口令\r\n"},
        {"short reply", MakeFrame(kReply, 0x06, "05"), read + "口令结果：    回复帧错误\r\n"},
        // A zero byte adds no character; GBK bytes become their character.
        {"gbk password", MakeFrame(kReply, 0x06, "09 41 00 42 BF DA 31 32 33 34"),
            read + "用户口令长度: 9\r\n用户口令：AB口1234(0x410042BFDA31323334)\r\n\r\n"},
        {"truncated read", Hex("79 09 00 80 06 03 41"), read + "用户口令长度: 3\r\n用户口令：A(0x410000)\r\n\r\n"},
        {"set", MakeFrame(0x00, 0x07, "08 61 62 63 64 65 66 67 68"),
            set + "用户口令长度: 8\r\n用户口令：abcdefgh(0x6162636465666768)\r\n\r\n"},
        {"set reply", MakeFrame(kReply, 0x07, ""), set + "设置本地网络口令成功\r\n"},
        {"set host abnormal", MakeFrame(0x20, 0x07, "01"), set + "\r\n"},
        {"truncated set", Hex("79 05 00 00 07 04 7A"), set + "用户口令长度: 4\r\n该操作为清除操作！\r\n用户口令：z(0x7A000000)\r\n\r\n"},
    });
}
