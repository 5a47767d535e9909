#include <gtest/gtest.h>

#include "analyzer/analyzer.h"
#include "analyzer_texts.h"
#include "test_frames.h"

using analyzer_texts::Header;
using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {
std::string Explain(const ByteString& frame) {
    std::string text;
    AnalyzeFrame(frame, text);
    return text;
}
}  // namespace

TEST(ControlField, MacAddressReplyExplainsFully) {
    const ByteString frame = MakeFrame(0x80, 0x03, "01 02 03 04 05 06");
    EXPECT_EQ(Explain(frame),
              "控制域解析信息：\r\n"
              "帧方向：  从机发出帧,\r\n"
              "启动标志位：  命令回应\r\n"
              "RESP:     正常应答帧，\r\n"
              "CHAN TYPE:    TRM5281PLC\r\n"
              "\r\n"
              "读取MAC地址帧\r\n"
              "MAC地址： 060504030201\r\n"
              "\r\n");
}

TEST(ControlField, EmptyFrame) {
    EXPECT_EQ(Explain(ByteString()),
              "控制域解析信息：\r\n"
              "帧方向：  主机发出帧,\r\n"
              "启动标志位：  命令回应\r\n"
              "RESP:     正常应答帧，\r\n"
              "CHAN TYPE:    TRM5281PLC\r\n"
              "\r\n"
              "无效的命令字");
}

TEST(ControlField, AllBitCombinations) {
    std::string text;
    PrintControlField(Hex("79 00 00 B8"), text);
    EXPECT_EQ(text,
              "控制域解析信息：\r\n"
              "帧方向：  从机发出帧,\r\n"
              "启动标志位：  命令回应\r\n"
              "RESP:     异常应答帧，\r\n"
              "CHAN TYPE:    TRM5207plc\r\n"
              "\r\n");
    for (int c = 0; c < 256; ++c) {
        std::string t;
        PrintControlField(Hex("79 00 00") + ByteString(1, static_cast<unsigned char>(c)), t);
        EXPECT_EQ(t, Header(static_cast<unsigned char>(c))) << c;
    }
}

TEST(ControlField, BitGetters) {
    EXPECT_EQ(GetDirectionBit(Hex("79 00 00 80")), 1);
    EXPECT_EQ(GetDirectionBit(Hex("79 00 00 7F")), 0);
    EXPECT_EQ(GetRespBit(Hex("79 00 00 20")), 1);
    EXPECT_EQ(GetRespBit(Hex("79 00 00 DF")), 0);
    EXPECT_EQ(GetDirectionBit(Hex("79 00 00")), 0);
    EXPECT_EQ(GetRespBit(Hex("79 00 00")), 0);
}

TEST(Dispatch, UndispatchedCodesTakeTheDefaultText) {
    // From the module: invalid command with the status of d0, whatever RESP and L say.
    EXPECT_EQ(Explain(MakeFrame(0x80, 0x20, "03")), Header(0x80) + "指令无效\n异常状态为：   指令字无效\r\n");
    EXPECT_EQ(Explain(MakeFrame(0xA0, 0xFF, "09 01")), Header(0xA0) + "指令无效\n异常状态为：   RESV\r\n");
    // From the host.
    for (int code : {0x00, 0x04, 0x05, 0x08, 0x0A, 0x0F, 0x10, 0x13, 0x16, 0x20, 0x4F, 0x51, 0x54, 0x5C,
                     0x5E, 0xDF, 0xE1, 0xF5, 0xFF}) {
        const ByteString frame = MakeFrame(0x40, static_cast<unsigned char>(code), "");
        EXPECT_EQ(Explain(frame), Header(0x40) + "无效的命令字") << code;
    }
}

TEST(Dispatch, TextIsExtendedNeverReplaced) {
    std::string text = "解析信息:\r\n";
    AnalyzeFrame(MakeFrame(0x40, 0x03, ""), text);
    AnalyzeFrame(MakeFrame(0x40, 0x03, ""), text);
    const std::string one = Header(0x40) + "读取MAC地址帧\r\n\r\n";
    EXPECT_EQ(text, "解析信息:\r\n" + one + one);
}

TEST(Dispatch, StubsAppendNothing) {
    std::string text = "x";
    AnalyzeMeterFrame(Hex("68 11 22 33 44 55 66 68 11 04 33 33 34 33 00 16 00"), text);
    EXPECT_EQ(AnalyzeStubReject(Hex("79"), text), 0);
    EXPECT_EQ(AnalyzeStubAccept(Hex("79"), 1, 2, 3), 1);
    EXPECT_EQ(text, "x");
}
