#include <gtest/gtest.h>

#include "analyzer/analyzer.h"
#include "analyzer_explain.h"
#include "test_frames.h"

using namespace analyzer_texts;
using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

const std::string kSetTitle = "远程设置网络口令请求帧\r\n";
const std::string kSlaveTitle = "从机远程设置网络口令请求上报帧\r\n";
const std::string kReplyTitle = "远程设置网络口令回复帧\r\n";
const std::string kReportTitle = "远程设置网络口令回复上报帧\r\n";

}  // namespace

TEST(RemotePasswordParams, PackAndRead) {
    RemotePasswordParams p;
    EXPECT_EQ(p.targetMode, 0);
    EXPECT_EQ(p.sourceMode, 0);
    EXPECT_EQ(p.priority, 0);
    EXPECT_EQ(p.multicastFlag, 0);
    EXPECT_EQ(p.reserved, 0);
    EXPECT_EQ(p.psk1.length, 0);
    EXPECT_TRUE(p.psk1.bytes.empty());
    EXPECT_TRUE(p.psk2.bytes.empty());

    p.sourceMode = 3;
    p.targetMode = 3;
    p.priority = 1;
    EXPECT_EQ(PackModeWord(p), 0x0133);
    p.multicastFlag = 1;
    p.reserved = 0x3F;
    EXPECT_EQ(PackModeWord(p), 0xFF33);
    // Each field is cut to its bits.
    p.sourceMode = 0x1F;
    p.targetMode = 0x12;
    p.priority = 2;
    p.multicastFlag = 3;
    p.reserved = 0x41;
    EXPECT_EQ(PackModeWord(p), 0x062F);

    RemotePasswordParams read;
    read.reserved = 9;
    std::string text;
    PrintRequestModeWord(0xFE54, text, &read);
    EXPECT_EQ(read.sourceMode, 4);
    EXPECT_EQ(read.targetMode, 5);
    EXPECT_EQ(read.priority, 0);
    EXPECT_EQ(read.multicastFlag, 1);
    EXPECT_EQ(read.reserved, 9);  // not unpacked
    EXPECT_EQ(text, "Src 设备模式：    TRM5207 MAC地址\r\n目标设备模式：    Bluetooth MAC地址\r\n优先级：低\r\n组播标志：    组播\r\n");
    read.reserved = 0x3F;
    EXPECT_EQ(PackModeWord(read), 0xFE54);
}

TEST(RemotePasswordAnalyzers, ValuePrinters) {
    std::string text;
    PrintPriority(0, text);
    PrintPriority(1, text);
    PrintPriority(2, text);
    EXPECT_EQ(text, "优先级：低\r\n优先级：高\r\n优先级：\r\n");
    text.clear();
    for (uint8_t v : {0, 1, 2, 3}) PrintDecryptState(v, text);
    EXPECT_EQ(text, "解密状态：    无法解密\r\n解密状态：    解密新密钥成功\r\n解密状态：    解密老密钥成功\r\n解密状态：    \r\n");
    text.clear();
    for (uint8_t v : {0, 1, 2}) PrintModifyResult(v, text);
    EXPECT_EQ(text, "状态：        修改失败\r\n状态：        修改成功\r\n状态：        \r\n");
}

TEST(RemotePasswordAnalyzers, SetPasswordRequest) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1C, "33 01 06 05 04 03 02 01 08 31 32 33 34 35 36 37 38 02 41 42")),
              kSetTitle +
                  "Src 设备模式：    TRM5281/82 MAC地址\r\n"
                  "目标设备模式：    TRM5281/82 MAC地址\r\n"
                  "优先级：高\r\n"
                  "组播标志：    非组播\r\n"
                  "通信地址:  010203040506\r\n"
                  "口令1长度：   8\r\n"
                  "PSK1:      12345678(Ox 3132333435363738)\r\n"
                  "口令2长度：   2\r\n"
                  "PSK2:      AB(Ox 4142)\r\n"
                  "\r\n"
                  "\r\n");
    // Empty passwords; the multicast flag brings no multicast address.
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1C, "30 02 06 05 04 03 02 01 00 00")), kSetTitle +
                                                                             "Src 设备模式：    不区分设备类型\r\n"
                                                                             "目标设备模式：    TRM5281/82 MAC地址\r\n"
                                                                             "优先级：低\r\n"
                                                                             "组播标志：    组播\r\n"
                                                                             "通信地址:  010203040506\r\n"
                                                                             "口令1长度：   0\r\n"
                                                                             "PSK1:      (Ox )\r\n"
                                                                             "口令2长度：   0\r\n"
                                                                             "PSK2:      (Ox )\r\n"
                                                                             "\r\n"
                                                                             "\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1C, "33 01 06 05 04 03 02 01 00")), kSetTitle + "帧错误\r\n");
    // Truncated: the password runs past the frame and prints zero bytes.
    EXPECT_EQ(Body(Hex("79 14 00 40 1C 33 01 06 05 04 03 02 01 04 41 42")), kSetTitle +
                                                                               "Src 设备模式：    TRM5281/82 MAC地址\r\n"
                                                                               "目标设备模式：    TRM5281/82 MAC地址\r\n"
                                                                               "优先级：高\r\n"
                                                                               "组播标志：    非组播\r\n"
                                                                               "通信地址:  010203040506\r\n"
                                                                               "口令1长度：   4\r\n"
                                                                               "PSK1:      AB(Ox 41420000)\r\n"
                                                                               "口令2长度：   0\r\n"
                                                                               "PSK2:      (Ox )\r\n"
                                                                               "\r\n"
                                                                               "\r\n");
}

TEST(RemotePasswordAnalyzers, SetPasswordAnswers) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1C, "")), kSetTitle + "远程设置网络口令请求成功\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1C, "01 02 03")), kSetTitle + "远程设置网络口令请求回复失败\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x1C, "05")), kSetTitle + "远程设置网络口令主机请求异常状态为：   错误的状态\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x1C, "05 00")), kSetTitle + "\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x1C, "FF")), kSetTitle + "远程设置网络口令从机请求异常状态为：   RESV\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x1C, "FF 00")), kSetTitle + "\r\n");
}

TEST(RemotePasswordAnalyzers, SlaveRequest) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1D, "43 22 06 05 04 03 02")), kSlaveTitle);
    // Decrypt state 2: no new password.
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1D, "43 22 06 05 04 03 02 01")), kSlaveTitle +
                                                                          "Src 设备模式：    TRM5281/82 MAC地址\r\n"
                                                                          "目标设备模式：    TRM5207 MAC地址\r\n"
                                                                          "Depth:        2\r\n"
                                                                          "解密状态：    解密老密钥成功\r\n"
                                                                          "组播标志：    非组播\r\n"
                                                                          "src addr: 010203040506\r\n");
    // Decrypt state 1 with a multicast address and a new password.
    const ByteString frame = MakeFrame(kReply, 0x1D, "11 50 34 12 06 05 04 03 02 01 03 61 00 62");
    EXPECT_EQ(Body(frame), kSlaveTitle +
                               "Src 设备模式：    网关\r\n"
                               "目标设备模式：    网关\r\n"
                               "Depth:        0\r\n"
                               "解密状态：    解密新密钥成功\r\n"
                               "组播标志：    组播\r\n"
                               "组播地址：    1234\r\n"
                               "src addr: 010203040506\r\n"
                               "新口令长度：  3\r\n"
                               "新口令：  ab(0x 610062)\r\n");
    std::string text;
    int cursor = 5;
    EXPECT_EQ(PrintPasswordSlaveRequest(frame, text, &cursor), 19);
    EXPECT_EQ(cursor, 19);
}

TEST(RemotePasswordAnalyzers, SlaveRequestIncomplete) {
    const std::string lines = kSlaveTitle +
                              "Src 设备模式：    网关\r\n"
                              "目标设备模式：    网关\r\n"
                              "Depth:        0\r\n"
                              "解密状态：    解密新密钥成功\r\n"
                              "组播标志：    组播\r\n";
    // The frame ends inside the source address.
    EXPECT_EQ(Body(Hex("79 0E 00 80 1D 11 50 34 12 06 05 04")), lines + "组播地址：    1234\r\n" + kIncomplete);
    std::string text;
    int cursor = 5;
    EXPECT_EQ(PrintPasswordSlaveRequest(Hex("79 0E 00 80 1D 11 50 34 12 06 05 04"), text, &cursor), -1);
    EXPECT_EQ(cursor, 9);
    // Nothing after the word.
    EXPECT_EQ(Body(Hex("79 08 00 80 1D 43 22")), kSlaveTitle + kIncomplete);
    // The frame ends right after the source address.
    EXPECT_EQ(Body(Hex("79 08 00 80 1D 43 22 06 05 04 03 02 01")), kSlaveTitle +
                                                                      "Src 设备模式：    TRM5281/82 MAC地址\r\n"
                                                                      "目标设备模式：    TRM5207 MAC地址\r\n"
                                                                      "Depth:        2\r\n"
                                                                      "解密状态：    解密老密钥成功\r\n"
                                                                      "组播标志：    非组播\r\n"
                                                                      "src addr: 010203040506\r\n" +
                                                                      kIncomplete);
    // The new password runs past the frame.
    EXPECT_EQ(Body(Hex("79 10 00 80 1D 11 50 34 12 06 05 04 03 02 01 05 61 62")),
              lines + "组播地址：    1234\r\nsrc addr: 010203040506\r\n新口令长度：  5\r\n" + kIncomplete);
}

TEST(RemotePasswordAnalyzers, SlaveRequestOtherBranches) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1D, "")), kSlaveTitle + "远程设置网络口令从机请求成功");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1D, "00")), kSlaveTitle);
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x1D, "00")), kSlaveTitle);
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x1D, "00")), kSlaveTitle);
    // The analyzer itself appends no title.
    EXPECT_EQ(Explained(AnalyzeRemoteSetPasswordSlaveRequest, MakeFrame(kHost, 0x1D, "")), "远程设置网络口令从机请求成功");
}

TEST(RemotePasswordAnalyzers, SetPasswordReply) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1E, "13 02 34 12 06 05 04 03 02 01 01")), kReplyTitle +
                                                                                 "Src 设备模式：    TRM5281/82 MAC地址\r\n"
                                                                                 "目标设备模式：    网关\r\n"
                                                                                 "优先级：低\r\n"
                                                                                 "组播标志：    组播\r\n"
                                                                                 "组播地址：    1234\r\n"
                                                                                 "通信地址:  010203040506\r\n"
                                                                                 "状态：        修改成功\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1E, "13 01 06 05 04 03 02 01 00")), kReplyTitle +
                                                                           "Src 设备模式：    TRM5281/82 MAC地址\r\n"
                                                                           "目标设备模式：    网关\r\n"
                                                                           "优先级：高\r\n"
                                                                           "组播标志：    非组播\r\n"
                                                                           "通信地址:  010203040506\r\n"
                                                                           "状态：        修改失败\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1E, "13 01 06 05 04 03 02 01")), kReplyTitle + "帧错误");
    // Truncated: the missing bytes read as zeros.
    EXPECT_EQ(Body(Hex("79 09 00 40 1E 13 00 06")), kReplyTitle +
                                                       "Src 设备模式：    TRM5281/82 MAC地址\r\n"
                                                       "目标设备模式：    网关\r\n"
                                                       "优先级：低\r\n"
                                                       "组播标志：    非组播\r\n"
                                                       "通信地址:  000000000006\r\n"
                                                       "状态：        修改失败\r\n");
}

TEST(RemotePasswordAnalyzers, SetPasswordReplyAnswers) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1E, "")), kReplyTitle + "远程设置网络口令回复成功");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1E, "00")), kReplyTitle + "帧错误");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x1E, "00")), kReplyTitle + "远程设置网络口令主机回复异常状态为：   错误的格式\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x1E, "00 00")), kReplyTitle);
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x1E, "03")), kReplyTitle + "远程设置网络口令从机机回复异常状态为： 指令字无效\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x1E, "03 00")), kReplyTitle + "帧错误");
}

TEST(RemotePasswordAnalyzers, ReplyReport) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1F, "31 15 34 12 06 05 04 03 02 01 02")), kReportTitle +
                                                                                  "Src 设备模式：    网关\r\n"
                                                                                  "目标设备模式：    TRM5281/82 MAC地址\r\n"
                                                                                  "Depth:        5\r\n"
                                                                                  "组播标志：    组播\r\n"
                                                                                  "组播地址：    1234\r\n"
                                                                                  "src addr: 010203040506\r\n"
                                                                                  "状态：        \r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1F, "31 05 06 05 04 03 02 01")), kReportTitle);
    // Truncated: L 9, the address and result read as zeros where missing.
    EXPECT_EQ(Body(Hex("79 09 00 80 1F 31 05 06 05")), kReportTitle +
                                                          "Src 设备模式：    网关\r\n"
                                                          "目标设备模式：    TRM5281/82 MAC地址\r\n"
                                                          "Depth:        5\r\n"
                                                          "组播标志：    非组播\r\n"
                                                          "src addr: 000000000506\r\n"
                                                          "状态：        修改失败\r\n");
    std::string text;
    int cursor = 5;
    PrintPasswordReplyReport(MakeFrame(kReply, 0x1F, "31 15 34 12 06 05 04 03 02 01 02"), text, &cursor);
    EXPECT_EQ(cursor, 16);
}

TEST(RemotePasswordAnalyzers, ReplyReportAnswers) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1F, "")), kReportTitle + "远程设置网络口令从机回复成功");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1F, "00 00")), kReportTitle);
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x1F, "02")), kReportTitle + "远程设置网络口令从机机回复异常状态为： 错误的长度\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x1F, "02 00")), kReportTitle);
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x1F, "02")), kReportTitle);
}
