// The control-field block and the routing of command codes.

#include <gtest/gtest.h>

#include "analyzer/analyzer.h"
#include "analyzer/control_field.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

TEST(ControlField, EveryControlByte) {
    for (int c = 0; c < 256; ++c) {
        const ByteString frame = Hex("79 00 00") + ByteString(1, static_cast<unsigned char>(c));
        std::string t;
        PrintControlField(frame, t);
        EXPECT_EQ(t, Header(static_cast<unsigned char>(c))) << c;
        EXPECT_EQ(GetDirectionBit(frame), c >> 7) << c;
        EXPECT_EQ(GetRespBit(frame), (c >> 5) & 1) << c;
    }
    // A frame without a control byte reads as zeros.
    EXPECT_EQ(GetDirectionBit(Hex("79 00 00")) + GetRespBit(Hex("79 00 00")), 0);
    EXPECT_EQ(Explain(ByteString()), Header(0) + "无效的命令字");
}

TEST(Dispatch, EveryRoutedCodeReachesItsAnalyzer) {
    struct Route {
        unsigned char code;
        const char* body;  // explanation of a host frame with L 0 and no check bytes
    };
    const Route routes[] = {
        {0x01, "模块重启帧\r\n\r\n"},
        {0x02, "读取版本帧\r\n\r\n"},
        {0x03, "读取MAC地址帧\r\n\r\n"},
        {0x06, "读取本地网络口令帧\r\n读取本地口令帧\r\n"},
        {0x07, "设置本地网络口令帧\r\n用户口令长度: 0\r\n该操作为清除操作！\r\n用户口令：(0x)\r\n\r\n"},
        {0x0C, "设置通信地址帧\r\nError : 报文不完整\r\n"},
        {0x0D, "读取网络参数帧\r\n\r\n"},
        {0x15, "接收数据帧\r\n接收数据成功\r\n"},
        {0x17, "发起设备搜索帧\r\n回复帧错误\r\n"},
        {0x18, "停止设备搜索帧\r\n"},
        {0x19, "设备搜索上报帧\r\n设备上报成功\r\n"},
        {0x1A, "申请设备搜索属性帧\r\n申请设备属性成功\r\n"},
        {0x1B, "回复设备搜索属性帧\r\n"},
        {0x50, "远程设备重启帧\r\nDST Addr: 000000000000\r\n\r\n"},
        {0xE0, "读取主动上报帧\r\n\r\n"},
    };
    for (const Route& r : routes) EXPECT_EQ(Body(Hex("79 00 00 40") + ByteString(1, r.code)), r.body) << int(r.code);
}

TEST(Dispatch, OtherCodesTakeTheDefaultText) {
    // From the module: invalid command with the status of d0, whatever RESP and L say.
    EXPECT_EQ(Body(MakeFrame(0x80, 0x20, "03")), "指令无效\n异常状态为：   指令字无效\r\n");
    EXPECT_EQ(Body(MakeFrame(0xA0, 0xFF, "09 01")), "指令无效\n异常状态为：   RESV\r\n");
    for (int code : {0x00, 0x04, 0x05, 0x08, 0x0A, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x16, 0x20, 0x4F, 0x51, 0x54,
                     0x5C, 0x5E, 0xDF, 0xE1, 0xF1, 0xF5, 0xFF}) {
        const unsigned char c = static_cast<unsigned char>(code);
        EXPECT_EQ(Body(MakeFrame(kHost, c, "03")), "无效的命令字") << code;
        EXPECT_EQ(Body(MakeFrame(kReply, c, "03")), "指令无效\n异常状态为：   指令字无效\r\n") << code;
    }
}

TEST(Dispatch, SubCommandFamiliesTakeTheDefaultTextWhateverTheirSubCommand) {
    const std::string invalid = "指令无效\n异常状态为：   ";
    for (int code : {0x60, 0xF2, 0xF3, 0xF4, 0xF5}) {
        for (const char* data : {"00", "01", "02", "03", "F0"}) {
            const unsigned char c = static_cast<unsigned char>(code);
            EXPECT_EQ(Body(MakeFrame(kHost, c, data)), "无效的命令字") << code << " " << data;
            EXPECT_EQ(Body(MakeFrame(kReply, c, data)).substr(0, invalid.size()), invalid) << code << " " << data;
        }
    }
}

TEST(Dispatch, EachExplanationReportsToTheSinkItIsHandedOnly) {
    SinkRecorder local, remote;
    Explain(MakeFrame(kReply, 0x02, "56 51 34 12 01 03 02"), local);
    Explain(MakeFrame(kReply, 0x52, "06 05 04 03 02 01 51 56 AB CD EF 10 20"), remote);
    // A short reply reports nothing.
    Explain(MakeFrame(kReply, 0x02, "56 51 34 12 01 03"), local);
    EXPECT_EQ(local.texts, std::vector<std::string>{"版本号:QV-1234-01-02-03"});
    EXPECT_EQ(remote.texts, std::vector<std::string>{"版本号:未知-CDAB-EF-20-10"});
    EXPECT_TRUE(local.descramble.empty() && remote.descramble.empty());
}
