#include <gtest/gtest.h>

#include <vector>

#include "analyzer/analyzer.h"
#include "analyzer/version_text.h"
#include "analyzer_explain.h"
#include "test_frames.h"

using namespace analyzer_texts;
using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

const std::string kRestartTitle = "远程设备重启帧\r\n";
const std::string kVersionTitle = "远程读取版本号帧\r\n";
const std::string kMacTitle = "远程读取MAC地址帧\r\n";
const std::string kParamsTitle = "远程读取网络口令帧\r\n";
const std::string kLwipTitle = "远程设置LWIP模式帧\r\n";
const std::string kBroadcastTitle = "广播通信帧\r\n";

class VersionRecorder : public VersionTextTarget {
public:
    VersionRecorder() { SetVersionTextTarget(this); }
    ~VersionRecorder() override { SetVersionTextTarget(nullptr); }
    void SetVersionText(std::string text) override { texts.push_back(std::move(text)); }
    std::vector<std::string> texts;
};

}  // namespace

TEST(RemoteCommandAnalyzers, Requests) {
    // d0 is not printed.
    EXPECT_EQ(Body(MakeFrame(kHost, 0x50, "00 01 02 03 04 05 06")), kRestartTitle + "DST Addr: 060504030201\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x52, "FF 01 02 03 04 05 06")), kVersionTitle + "DST Addr: 060504030201\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x53, "FF 11 22 33 44 55 66")), kMacTitle + "DST Addr: 665544332211\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x5D, "00 11 22 33 44 55 66")), kParamsTitle + "DST Addr: 665544332211\r\n\r\n");
    // No length test: a short request prints zeros.
    EXPECT_EQ(Body(Hex("79 07 00 40 50 00 01 02")), kRestartTitle + "DST Addr: 000000000201\r\n\r\n");
    std::string text;
    EXPECT_EQ(AnalyzeRemoteRestart(MakeFrame(kHost, 0x50, "00 01 02 03 04 05 06"), text), 6);
    // A host frame with the reply bit: the title and the closing CRLF.
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x50, "00 01 02 03 04 05 06")), kRestartTitle + "\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x5D, "00")), kParamsTitle + "\r\n");
}

TEST(RemoteCommandAnalyzers, RestartAnswers) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0x50, "06 05 04 03 02 01 05")),
              kRestartTitle + "SRC Addr: 010203040506\r\n执行状态: 重启成功\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x50, "06 05 04 03 02 01 00 02")),
              kRestartTitle + "SRC Addr: 010203040506\r\n执行状态: 重启失败\r\n失败原因: 保留\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x50, "06 05 04 03 02 01 00 01")),
              kRestartTitle + "SRC Addr: 010203040506\r\n执行状态: 重启失败\r\n失败原因: 升级中\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x50, "01")),
              kRestartTitle + "远程设备重启回复帧异常\r\n异常状态为：   错误的数据单元\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x50, "01 00")), kRestartTitle + "远程设备重启回复帧异常\r\n异常回复帧错误\r\n");
    // Truncated: the state byte is missing and reads as failed.
    EXPECT_EQ(Body(Hex("79 08 00 80 50 06 05")),
              kRestartTitle + "SRC Addr: 000000000506\r\n执行状态: 重启失败\r\n失败原因: 保留\r\n\r\n");
    std::string text;
    EXPECT_EQ(AnalyzeRemoteRestart(MakeFrame(kReply, 0x50, "06 05 04 03 02 01 05"), text), 11);
}

TEST(RemoteCommandAnalyzers, VersionAnswers) {
    VersionRecorder rec;
    EXPECT_EQ(Body(MakeFrame(kReply, 0x52, "06 05 04 03 02 01 56 51 34 12 01 03 02")), kVersionTitle +
                                                                                       "SRC Addr: 010203040506\r\n"
                                                                                       "厂商标识： QV\r\n"
                                                                                       "芯片类型: 1234\r\n"
                                                                                       "产品信息: 01\r\n"
                                                                                       "版本信息： 02-03\r\n"
                                                                                       "\r\n");
    ASSERT_EQ(rec.texts.size(), 1u);
    EXPECT_EQ(rec.texts[0], "版本号:QV-1234-01-02-03");

    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x52, "04")),
              kVersionTitle + "远程读取版本号回复异常帧\r\n异常状态为：   RAM空间不足\r\n\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x52, "04 00")), kVersionTitle + "远程读取版本号回复异常帧\r\n异常回复帧错误\r\n");
    // Truncated: zeros stand for the missing bytes and the label is left alone.
    EXPECT_EQ(Body(Hex("79 0D 00 80 52 06 05 04 03 02 01 56 51")), kVersionTitle +
                                                                        "SRC Addr: 010203040506\r\n"
                                                                        "厂商标识： QV\r\n"
                                                                        "芯片类型: 0000\r\n"
                                                                        "产品信息: 00\r\n"
                                                                        "版本信息： 00-00\r\n"
                                                                        "\r\n");
    EXPECT_EQ(rec.texts.size(), 1u);
}

TEST(RemoteCommandAnalyzers, MacAnswers) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0x53, "06 05 04 03 02 01 16 15 14 13 12 11")),
              kMacTitle + "SRC Addr: 010203040506\r\nMAC     : 111213141516\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x53, "00")), kMacTitle + "远程读取MAC地址异常回复帧\r\n异常状态为：   错误的格式\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x53, "")), kMacTitle + "远程读取MAC地址异常回复帧\r\n异常回复帧错误\r\n");
    EXPECT_EQ(Body(Hex("79 0C 00 80 53 06 05 04 03 02 01 16")),
              kMacTitle + "SRC Addr: 010203040506\r\nMAC     : 000000000016\r\n\r\n");
}

TEST(RemoteCommandAnalyzers, NetworkParamsAnswers) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0x5D, "06 05 04 03 02 01 35 BF 21")), kParamsTitle +
                                                                            "SRC addr: 010203040506\r\n"
                                                                            "透传层级限制: 5\r\n"
                                                                            "串口参数: Unknown,Unknown, Unknown\r\n"
                                                                            "载波参数: 411子载波, 2 档发送功率\r\n"
                                                                            "\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x5D, "06 05 04 03 02 01 00 A0 00")), kParamsTitle +
                                                                            "SRC addr: 010203040506\r\n"
                                                                            "透传层级限制: 0\r\n"
                                                                            "串口参数: 115200,8, None, 1\r\n"
                                                                            "载波参数: 131子载波, 0 档发送功率\r\n"
                                                                            "\r\n");
    // The status label has two blanks here.
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x5D, "00")), kParamsTitle + "远程读取网络口令异常回复帧\r\n异常状态为：  错误的格式\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x5D, "00 00")), kParamsTitle + "远程读取网络口令异常回复帧\r\n异常回复帧错误\r\n");
    EXPECT_EQ(Body(Hex("79 09 00 80 5D 06 05 04 03 02 01 15")), kParamsTitle +
                                                                    "SRC addr: 010203040506\r\n"
                                                                    "透传层级限制: 5\r\n"
                                                                    "串口参数: 600,8, None, 1\r\n"
                                                                    "载波参数: 131子载波, 0 档发送功率\r\n"
                                                                    "\r\n");
}

TEST(RemoteCommandAnalyzers, SetLwipRequests) {
    EXPECT_EQ(Explained(AnalyzeRemoteSetLwip, MakeFrame(kHost, 0x51, "00 06 05 04 03 02 01")), kLwipTitle + "远程设置LWIP模式帧出错");
    std::string text;
    EXPECT_EQ(AnalyzeRemoteSetLwip(MakeFrame(kHost, 0x51, "FE 06 05 04 03 02 01 01"), text), 13);
    EXPECT_EQ(text, kLwipTitle + "组播标志：    非组播\r\nDST Addr: 010203040506\r\n设置类型: 打开\r\n");
    EXPECT_EQ(Explained(AnalyzeRemoteSetLwip, MakeFrame(kHost, 0x51, "01 34 12 06 05 04 03 02 01 00")),
              kLwipTitle + "组播标志：    组播\r\n组播地址：    1234\r\nDST Addr: 010203040506\r\n设置类型: 关闭\r\n");
    // Only the first multicast byte is inside; the address does not fit.
    text.clear();
    EXPECT_EQ(AnalyzeRemoteSetLwip(Hex("79 0A 00 40 51 01 34"), text), -1);
    EXPECT_EQ(text, kLwipTitle + "组播标志：    组播\r\n" + kIncomplete);
    EXPECT_EQ(Explained(AnalyzeRemoteSetLwip, Hex("79 08 00 40 51 00 06 05 04")), kLwipTitle + "组播标志：    非组播\r\n" + kIncomplete);
    EXPECT_EQ(Explained(AnalyzeRemoteSetLwip, MakeFrame(kHostAbnormal, 0x51, "00")), kLwipTitle + "远程设置LWIP模式异常帧");
}

TEST(RemoteCommandAnalyzers, SetLwipAnswers) {
    std::string text;
    EXPECT_EQ(AnalyzeRemoteSetLwip(MakeFrame(kReply, 0x51, "06 05 04 03 02 01 02 34 12"), text), 12);
    EXPECT_EQ(text, kLwipTitle + "SRC Addr: 010203040506\r\n设置类型: 出错\r\n当前节点状态: 0x 1234\r\n");
    // A frame of ten bytes is too short for the source address.
    text.clear();
    EXPECT_EQ(AnalyzeRemoteSetLwip(Hex("79 05 00 80 51 01 02 03 04 05"), text), -1);
    EXPECT_EQ(text, kLwipTitle + kIncomplete);
    // The abnormal answer prints its status whatever L is.
    EXPECT_EQ(Explained(AnalyzeRemoteSetLwip, MakeFrame(kAbnormal, 0x51, "02 00")),
              kLwipTitle + "远程设置LWIP指令回复异常异常状态为：   错误的长度\r\n\r\n");
    // Nothing dispatches 0x51.
    EXPECT_EQ(Body(MakeFrame(kReply, 0x51, "06 05 04 03 02 01 02 34 12")), "指令无效\n异常状态为：   RESV\r\n");
}

TEST(RemoteCommandAnalyzers, BroadcastRequests) {
    const std::string params =
        "Src 设备模式：    网关\r\n"
        "目标设备模式：    云服务器\r\n"
        "优先级：高\r\n"
        "半径：      9\r\n"
        "网络口令模式: 用户网络口令\r\n"
        "组播标志：    组播\r\n";
    std::string text;
    EXPECT_EQ(AnalyzeBroadcast(MakeFrame(kHost, 0x16, "21 73 34 12 02 00 AA BB"), text), 11);
    EXPECT_EQ(text, kBroadcastTitle + params + "组播地址：    1234\r\npayload len:  2\r\npayload:  AABB\r\n");
    // The payload length reaches past the frame.
    text.clear();
    EXPECT_EQ(AnalyzeBroadcast(MakeFrame(kHost, 0x16, "21 73 34 12 05 00 AA"), text), -1);
    EXPECT_EQ(text, kBroadcastTitle + params + "组播地址：    1234\r\npayload len:  5\r\n" + kIncomplete);
    const std::string plain =
        "Src 设备模式：    不区分设备类型\r\n"
        "目标设备模式：    不区分设备类型\r\n"
        "优先级：低\r\n"
        "半径：      0\r\n"
        "网络口令模式: 初始网络口令\r\n";
    EXPECT_EQ(Explained(AnalyzeBroadcast, Hex("79 06 00 40 16 00 40 34")), kBroadcastTitle + plain + "组播标志：    组播\r\n" + kIncomplete);
    EXPECT_EQ(Explained(AnalyzeBroadcast, Hex("79 02 00 40 16 00 00 07")), kBroadcastTitle + plain + "组播标志：    非组播\r\n" + kIncomplete);
    // An empty payload.
    EXPECT_EQ(Explained(AnalyzeBroadcast, MakeFrame(kHost, 0x16, "00 00 00 00")),
              kBroadcastTitle + plain + "组播标志：    非组播\r\npayload len:  0\r\npayload:  \r\n");
}

TEST(RemoteCommandAnalyzers, BroadcastAnswers) {
    EXPECT_EQ(Explained(AnalyzeBroadcast, MakeFrame(kReply, 0x16, "")), kBroadcastTitle + "广播通信成功");
    EXPECT_EQ(Explained(AnalyzeBroadcast, MakeFrame(kReply, 0x16, "00")), kBroadcastTitle);
    EXPECT_EQ(Explained(AnalyzeBroadcast, MakeFrame(kAbnormal, 0x16, "00")), kBroadcastTitle + "异常状态为：   错误的格式\r\n");
    EXPECT_EQ(Explained(AnalyzeBroadcast, MakeFrame(kAbnormal, 0x16, "00 00")), kBroadcastTitle);
    EXPECT_EQ(Explained(AnalyzeBroadcast, MakeFrame(kHostAbnormal, 0x16, "00")), kBroadcastTitle);
    // Nothing dispatches 0x16.
    EXPECT_EQ(Body(MakeFrame(kHost, 0x16, "21 73 34 12 02 00 AA BB")), "无效的命令字");
}

TEST(RemoteCommandAnalyzers, ValuePrinters) {
    std::string text;
    for (uint8_t v : {0, 1, 2}) PrintSetType(v, text);
    EXPECT_EQ(text, "设置类型: 关闭\r\n设置类型: 打开\r\n设置类型: 出错\r\n");
    text.clear();
    for (uint8_t v : {0, 1, 2, 3, 4}) PrintVersionType(v, text);
    EXPECT_EQ(text, "版本类型: boot版本\r\n版本类型: 固件版本\r\n版本类型: 分层应用版本\r\n版本类型: 其他版本\r\n版本类型: \r\n");

    MulticastAndVersionType mv;
    text.clear();
    PrintMulticastAndVersionType(0x05, text, mv);
    EXPECT_EQ(mv.multicastFlag, 1);
    EXPECT_EQ(mv.versionType, 2);
    EXPECT_EQ(text, "组播标志：    组播\r\n版本类型: 分层应用版本\r\n");

    BroadcastParamWord bp;
    text.clear();
    PrintBroadcastParams(0xBE5F, text, bp);
    EXPECT_EQ(bp.sourceMode, 0xF);
    EXPECT_EQ(bp.targetMode, 5);
    EXPECT_EQ(bp.priority, 0);
    EXPECT_EQ(bp.radius, 15);
    EXPECT_EQ(bp.passwordMode, 1);
    EXPECT_EQ(bp.multicastFlag, 0);
    EXPECT_EQ(text, "Src 设备模式：    出错\r\n目标设备模式：    Bluetooth MAC地址\r\n优先级：低\r\n半径：      15\r\n"
                    "网络口令模式: 用户网络口令\r\n组播标志：    非组播\r\n");
}
