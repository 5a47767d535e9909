#include <gtest/gtest.h>

#include "analyzer/analyzer.h"
#include "analyzer_explain.h"
#include "test_frames.h"

using namespace analyzer_texts;
using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

const std::string kSendTitle = "发送数据帧\r\n";
const std::string kReceiveTitle = "接收数据帧\r\n";
const std::string kReportTitle = "读取主动上报帧\r\n";
const std::string kExecTitle = "执行状态上报帧\r\n";
const std::string kPointTitle = "远程点抄帧\r\n";

ByteString Counting(size_t n) {
    ByteString b;
    for (size_t i = 0; i < n; ++i) b.push_back(static_cast<unsigned char>(i));
    return b;
}

}  // namespace

TEST(DataAnalyzers, SendData) {
    // Only the reply bit decides.
    EXPECT_EQ(Body(MakeFrame(kHost, 0x14, "01 02 03")), kSendTitle + "发送数据成功\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x14, "")), kSendTitle + "发送数据成功\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x14, "02")),
              kSendTitle + "发送数据帧回复异常\r\n异常状态为：   错误的长度\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x14, "FF")), kSendTitle + "发送数据帧回复异常\r\n异常状态为：   RESV\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x14, "02 00")),
              kSendTitle + "发送数据帧回复异常\r\n发送数据帧异常回复帧错误\r\n");
    // Truncated: the status byte is missing and reads as 0.
    EXPECT_EQ(Body(Hex("79 01 00 A0 14")), kSendTitle + "发送数据帧回复异常\r\n异常状态为：   错误的格式\r\n\r\n");
}

TEST(DataAnalyzers, ReceiveDataFromTheModule) {
    const ByteString frame = MakeFrame(kReply, 0x15, "21 C3 00 34 12 06 05 04 03 02 01 03 00 AA BB CC");
    EXPECT_EQ(Body(frame), kReceiveTitle +
                               "Src 设备模式：    网关\r\n"
                               "目标设备模式：    云服务器\r\n"
                               "Depth:        3\r\n"
                               "网络口令模式: 用户网络口令\r\n"
                               "组播地址：    1234\r\n"
                               "Src addr: 010203040506\r\n"
                               "payload len:  3\r\n"
                               "payload:  AABBCC\r\n"
                               "\r\n");
    std::string text;
    EXPECT_EQ(AnalyzeReceiveData(frame, text), 21);

    EXPECT_EQ(Body(MakeFrame(kReply, 0x15, "21 03 FF 06 05 04 03 02 01 00 00")), kReceiveTitle +
                                                                                   "Src 设备模式：    网关\r\n"
                                                                                   "目标设备模式：    云服务器\r\n"
                                                                                   "Depth:        3\r\n"
                                                                                   "网络口令模式: 初始网络口令\r\n"
                                                                                   "Src addr: 010203040506\r\n"
                                                                                   "payload len:  0\r\n"
                                                                                   "payload:  \r\n"
                                                                                   "\r\n");
}

TEST(DataAnalyzers, ReceiveDataIncomplete) {
    const std::string lines = kReceiveTitle +
                              "Src 设备模式：    网关\r\n"
                              "目标设备模式：    云服务器\r\n"
                              "Depth:        3\r\n";
    // The payload runs past the frame: the closing CRLF still follows.
    EXPECT_EQ(Body(MakeFrame(kReply, 0x15, "21 03 00 06 05 04 03 02 01 05 00 AA")),
              lines + "网络口令模式: 初始网络口令\r\nSrc addr: 010203040506\r\npayload len:  5\r\n" + kIncomplete + "\r\n");
    // The info word does not fit: no closing CRLF.
    std::string text;
    EXPECT_EQ(AnalyzeReceiveData(Hex("79 03 00 80 15 21 C3"), text), -1);
    EXPECT_EQ(text, kReceiveTitle + kIncomplete);
    // Only the first multicast byte is inside.
    EXPECT_EQ(Body(Hex("79 0B 00 80 15 21 C3 00 34")), lines + "网络口令模式: 用户网络口令\r\n" + kIncomplete);
    // The source address does not fit.
    EXPECT_EQ(Body(Hex("79 0B 00 80 15 21 03 00 01 02 03")), lines + "网络口令模式: 初始网络口令\r\n" + kIncomplete);
}

TEST(DataAnalyzers, ReceiveDataOtherBranches) {
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x15, "01")), kReceiveTitle + "异常帧\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x15, "")), kReceiveTitle + "接收数据成功\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x15, "00 00")), kReceiveTitle + "接收数据出错\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x15, "01")), kReceiveTitle + "接收数据异常帧\r\n");
}

TEST(DataAnalyzers, ReceiveInfoWordFields) {
    ReceiveInfoWord w;
    UnpackReceiveInfoWord(0xA5F321, w);
    EXPECT_EQ(w.sourceMode, 1);
    EXPECT_EQ(w.targetMode, 2);
    EXPECT_EQ(w.depth, 3);
    EXPECT_EQ(w.bits12to13, 3);
    EXPECT_EQ(w.multicastFlag, 1);
    EXPECT_EQ(w.passwordMode, 1);
    EXPECT_EQ(w.bits16to23, 0xA5);
}

TEST(DataAnalyzers, ActiveReport) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0xE0, "01 02 03 04 05 06 07 02 AA BB")), kReportTitle +
                                                                              "源地址：   060504030201\r\n"
                                                                              "上报类型：07\r\n"
                                                                              "信息长度：02\r\n"
                                                                              "信息：       \r\n"
                                                                              "AABB\r\n"
                                                                              "\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0xE0, "01 02 03 04 05 06 07 00")),
              kReportTitle + "源地址：   060504030201\r\n上报类型：07\r\n信息长度：00\r\n信息：       \r\n\r\n\r\n");
    ByteString data = Hex("01 02 03 04 05 06 07 10");
    data += Counting(16);
    EXPECT_EQ(Body(MakeFrame(kReply, 0xE0, data)),
              kReportTitle + "源地址：   060504030201\r\n上报类型：07\r\n信息长度：10\r\n信息：       \r\n"
                             "000102030405060708090A0B0C0D0E0F\r\n\r\n");
    // Truncated: no bound checks; the missing bytes read as zeros.
    EXPECT_EQ(Body(Hex("79 0A 00 80 E0 01 02 03")),
              kReportTitle + "源地址：   000000030201\r\n上报类型：00\r\n信息长度：00\r\n信息：       \r\n\r\n\r\n");
    EXPECT_EQ(Body(Hex("79 0A 00 80 E0 01 02 03 04 05 06 07 03 AA")),
              kReportTitle + "源地址：   060504030201\r\n上报类型：07\r\n信息长度：03\r\n信息：       \r\nAA0000\r\n\r\n");
}

TEST(DataAnalyzers, ActiveReportAnswers) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0xE0, "01")), kReportTitle + "主动上报帧错误\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0xE0, "04")), kReportTitle + "异常状态为：   RAM空间不足\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0xE0, "04 00")), kReportTitle + "主动上报帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0xE0, "01")), kReportTitle + "主动上报帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0xE0, "01")), kReportTitle + "主动上报帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0xE0, "")), kReportTitle + "\r\n");
}

TEST(DataAnalyzers, ExecStateReportWithIpPeers) {
    const ByteString frame = MakeFrame(kReply, 0x10, "21 01 00 A8 C0 50 00 02 01 A8 C0 90 1F 14 01");
    std::string text;
    EXPECT_EQ(AnalyzeExecStateReport(frame, text), 20);
    EXPECT_EQ(text, kExecTitle +
                        "Src 设备模式：    网关\r\n"
                        "目标设备模式：    云服务器\r\n"
                        "Src IP:   192.168.0.1\r\n"
                        "Src port:     80\r\n"
                        "Dst IP:   192.168.1.2\r\n"
                        "Dst port:     8080\r\n"
                        "cmd为：       20\r\n"
                        "异常状态为：   csma失败\r\n");
    // The destination IP does not fit: its incomplete text stands there and the report goes on.
    EXPECT_EQ(Explained(AnalyzeExecStateReport, Hex("79 0F 00 80 10 21 01 00 A8 C0 50 00")),
              kExecTitle + "Src 设备模式：    网关\r\n目标设备模式：    云服务器\r\n"
                           "Src IP:   192.168.0.1\r\nSrc port:     80\r\nDst IP:   " +
                  kIncomplete + "Dst port:     0\r\ncmd为：       0\r\n异常状态为：   无效路径\r\n");
    // Fewer than six bytes after the mode byte.
    text.clear();
    EXPECT_EQ(AnalyzeExecStateReport(Hex("79 0F 00 80 10 21 01 00 A8 C0 50"), text), -1);
    EXPECT_EQ(text, kExecTitle + "Src 设备模式：    网关\r\n目标设备模式：    云服务器\r\n" + kIncomplete);
}

TEST(DataAnalyzers, ExecStateReportWithAddress) {
    EXPECT_EQ(Explained(AnalyzeExecStateReport, MakeFrame(kReply, 0x10, "13 06 05 04 03 02 01 1C 03")),
              kExecTitle + "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    网关\r\n"
                           "Dst addr: 010203040506\r\ncmd为：       28\r\n异常状态为：   \r\n");
    EXPECT_EQ(Explained(AnalyzeExecStateReport, MakeFrame(kReply, 0x10, "13 06 05 04 03 02 01 1C 02")),
              kExecTitle + "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    网关\r\n"
                           "Dst addr: 010203040506\r\ncmd为：       28\r\n异常状态为：   通信失败回复错误帧\r\n");
    std::string text;
    EXPECT_EQ(AnalyzeExecStateReport(Hex("79 08 00 80 10 13 01 02"), text), -1);
    EXPECT_EQ(text, kExecTitle + "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    网关\r\n" + kIncomplete);
}

TEST(DataAnalyzers, ExecStateReportAnswers) {
    EXPECT_EQ(Explained(AnalyzeExecStateReport, MakeFrame(kHost, 0x10, "01 02")), kExecTitle + "执行状态上报成功\r\n");
    EXPECT_EQ(Explained(AnalyzeExecStateReport, MakeFrame(kHostAbnormal, 0x10, "00")),
              kExecTitle + "异常状态码为：    错误的格式\r\n\r\n");
    EXPECT_EQ(Explained(AnalyzeExecStateReport, MakeFrame(kHostAbnormal, 0x10, "00 00")), kExecTitle + "\r\n");
    EXPECT_EQ(Explained(AnalyzeExecStateReport, MakeFrame(kAbnormal, 0x10, "00")), kExecTitle + "\r\n");
    // Nothing dispatches 0x10.
    EXPECT_EQ(Body(MakeFrame(kReply, 0x10, "13 06 05 04 03 02 01 1C 03")), "指令无效\n异常状态为：   RESV\r\n");
}

TEST(DataAnalyzers, ExceptionCodeNames) {
    std::string text;
    for (uint8_t code : {0, 1, 2, 3, 255}) PrintExceptionCode(code, text);
    EXPECT_EQ(text, "无效路径csma失败通信失败回复错误帧");
}

TEST(DataAnalyzers, PointReadReplies) {
    const std::string head = kPointTitle + "组播标志：    非组播\r\n网络口令模式: 初始网络口令\r\nSrc addr: 010203040506\r\n";
    std::string text;
    EXPECT_EQ(AnalyzePointRead(MakeFrame(kReply, 0xF1, "00 06 05 04 03 02 01 03 00 00 01 02"), text), 17);
    EXPECT_EQ(text, head + "数据长度：    3\r\n\r\n远程点抄成功\r\n\r\n数据：\r\n000102\r\n");
    EXPECT_EQ(Explained(AnalyzePointRead, MakeFrame(kReply, 0xF1, "00 06 05 04 03 02 01 02 00 01 02")),
              head + "数据长度：    2\r\n\r\n远程点抄失败\r\n\r\n数据：\r\n0102\r\n");
    EXPECT_EQ(Explained(AnalyzePointRead, MakeFrame(kReply, 0xF1, "00 06 05 04 03 02 01 00 00")),
              head + "数据长度：    0\r\n\r\n远程点抄成功\r\n\r\n数据：\r\n\r\n");
    // The reply bit is not looked at.
    EXPECT_EQ(Explained(AnalyzePointRead, MakeFrame(kAbnormal, 0xF1, "00 06 05 04 03 02 01 00 00")),
              head + "数据长度：    0\r\n\r\n远程点抄成功\r\n\r\n数据：\r\n\r\n");
    EXPECT_EQ(Explained(AnalyzePointRead, MakeFrame(kReply, 0xF1, "03 34 12 06 05 04 03 02 01 01 00 00")),
              kPointTitle + "组播标志：    组播\r\n网络口令模式: 用户网络口令\r\n组播地址：    1234\r\n"
                            "Src addr: 010203040506\r\n数据长度：    1\r\n\r\n远程点抄成功\r\n\r\n数据：\r\n00\r\n");
    // The data runs past the frame.
    text.clear();
    EXPECT_EQ(AnalyzePointRead(MakeFrame(kReply, 0xF1, "00 06 05 04 03 02 01 05 00 00 01"), text), -1);
    EXPECT_EQ(text, head + "数据长度：    5\r\n" + kIncomplete);
    // Truncated: the fields past the end read as zeros; even empty data must start inside the
    // frame (cursor - 1 below its length).
    EXPECT_EQ(Explained(AnalyzePointRead, Hex("79 05 00 80 F1")),
              kPointTitle + "组播标志：    非组播\r\n网络口令模式: 初始网络口令\r\nSrc addr: 000000000000\r\n"
                            "数据长度：    0\r\n" +
                  kIncomplete);
    // Empty data right at the end of a frame without check bytes.
    EXPECT_EQ(Explained(AnalyzePointRead, Hex("79 09 00 80 F1 00 06 05 04 03 02 01 00 00")),
              head + "数据长度：    0\r\n\r\n远程点抄成功\r\n\r\n数据：\r\n\r\n");
}

TEST(DataAnalyzers, PointReadStatusAndRequests) {
    EXPECT_EQ(Explained(AnalyzePointRead, MakeFrame(kReply, 0xF1, "02")), kPointTitle + "状态为：   错误的长度\r\n\r\n");
    EXPECT_EQ(Explained(AnalyzePointRead, MakeFrame(kAbnormal, 0xF1, "05")), kPointTitle + "状态为：   错误的状态\r\n\r\n");
    std::string text;
    EXPECT_EQ(AnalyzePointRead(MakeFrame(kHost, 0xF1, "02 06 05 04 03 02 01 10 00"), text), 14);
    EXPECT_EQ(text, kPointTitle + "组播标志：    非组播\r\n网络口令模式: 用户网络口令\r\nDST addr: 010203040506\r\n数据长度：    16\r\n");
    EXPECT_EQ(Explained(AnalyzePointRead, MakeFrame(kHost, 0xF1, "00 01")), kPointTitle);
    // Nothing dispatches 0xF1.
    EXPECT_EQ(Body(MakeFrame(kHost, 0xF1, "02 06 05 04 03 02 01 10 00")), "无效的命令字");
}

TEST(DataAnalyzers, FlagByte) {
    PointReadFlags f;
    std::string text;
    PrintFlagByte(0xFE, f, text);
    EXPECT_EQ(f.multicastFlag, 0);
    EXPECT_EQ(f.passwordMode, 1);
    EXPECT_EQ(f.reserved, 0x3F);
    EXPECT_EQ(text, "组播标志：    非组播\r\n网络口令模式: 用户网络口令\r\n");
    text.clear();
    PrintFlagByte(0x05, f, text);
    EXPECT_EQ(f.multicastFlag, 1);
    EXPECT_EQ(f.passwordMode, 0);
    EXPECT_EQ(f.reserved, 1);
    EXPECT_EQ(text, "组播标志：    组播\r\n网络口令模式: 初始网络口令\r\n");
}

TEST(DataAnalyzers, CountingPattern) {
    EXPECT_TRUE(IsCountingPattern(ByteString()));
    EXPECT_TRUE(IsCountingPattern(Counting(1)));
    EXPECT_TRUE(IsCountingPattern(Counting(256)));
    EXPECT_TRUE(IsCountingPattern(Counting(300)));
    EXPECT_TRUE(IsCountingPattern(Counting(1024)));

    ByteString wrongLast = Counting(256);
    wrongLast.back() = 0;
    EXPECT_FALSE(IsCountingPattern(wrongLast));
    ByteString wrongTail = Counting(300);
    wrongTail[299] = 0x2C;
    EXPECT_FALSE(IsCountingPattern(wrongTail));
    EXPECT_FALSE(IsCountingPattern(Hex("01 02")));
    EXPECT_FALSE(IsCountingPattern(Hex("00 02")));
}
