#include <gtest/gtest.h>

#include "analyzer/analyzer.h"
#include "analyzer_explain.h"
#include "test_frames.h"

using namespace analyzer_texts;
using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

const std::string kStartTitle = "发起设备搜索帧\r\n";
const std::string kStopTitle = "停止设备搜索帧\r\n";
const std::string kReportTitle = "设备搜索上报帧\r\n";
const std::string kRequestTitle = "申请设备搜索属性帧\r\n";
const std::string kReplyTitle = "回复设备搜索属性帧\r\n";

}  // namespace

TEST(SearchAnalyzers, StartSearchRequestWithMulticastAndAttribute) {
    const ByteString frame = MakeFrame(kHost, 0x17, "31 8A 34 12 02 01 02");
    EXPECT_EQ(Body(frame), kStartTitle +
                               "Src 设备模式：    网关\r\n"
                               "目标设备模式：    TRM5281/82 MAC地址\r\n"
                               "搜索半径：    10\r\n"
                               "搜索范围：    搜索所有设备\r\n"
                               "组播标志：    组播\r\n"
                               "组播地址：    1234\r\n"
                               "属性长度: 2\r\n"
                               "属性: 0x0102\r\n");
    std::string text;
    EXPECT_EQ(AnalyzeStartSearch(frame, text), 12);
}

TEST(SearchAnalyzers, StartSearchRequestWithoutMulticast) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x17, "21 10 00")), kStartTitle +
                                                             "Src 设备模式：    网关\r\n"
                                                             "目标设备模式：    云服务器\r\n"
                                                             "搜索半径：    0\r\n"
                                                             "搜索范围：    搜索同网设备\r\n"
                                                             "组播标志：    非组播\r\n"
                                                             "属性长度: 0\r\n"
                                                             "属性: 0x\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x17, "31 8A")), kStartTitle + "回复帧错误\r\n");
}

TEST(SearchAnalyzers, StartSearchIncompleteRequests) {
    const std::string lines = kStartTitle +
                              "Src 设备模式：    网关\r\n"
                              "目标设备模式：    不区分设备类型\r\n"
                              "搜索半径：    10\r\n"
                              "搜索范围：    搜索所有设备\r\n"
                              "组播标志：    非组播\r\n";
    // The attribute length runs past the frame: no closing CRLF.
    std::string text;
    EXPECT_EQ(AnalyzeStartSearch(MakeFrame(kHost, 0x17, "01 0A 05 41"), text), -1);
    EXPECT_EQ(text, lines + "属性长度: 5\r\n" + kIncomplete);

    // Only the first byte of the multicast address lies inside the frame.
    const std::string multicastLines = kStartTitle +
                                       "Src 设备模式：    不区分设备类型\r\n"
                                       "目标设备模式：    不区分设备类型\r\n"
                                       "搜索半径：    0\r\n"
                                       "搜索范围：    搜索所有设备\r\n"
                                       "组播标志：    组播\r\n";
    EXPECT_EQ(Body(Hex("79 05 00 40 17 00 80 34")), multicastLines + kIncomplete);
    // The address fits, the length byte does not.
    EXPECT_EQ(Body(Hex("79 05 00 40 17 00 80 34 12")), multicastLines + "组播地址：    1234\r\n" + kIncomplete);
    // Truncated: L 3 and no data at all; the word reads as zero.
    EXPECT_EQ(Body(Hex("79 03 00 40 17")), kStartTitle +
                                               "Src 设备模式：    不区分设备类型\r\n"
                                               "目标设备模式：    不区分设备类型\r\n"
                                               "搜索半径：    0\r\n"
                                               "搜索范围：    搜索所有设备\r\n"
                                               "组播标志：    非组播\r\n" +
                                               kIncomplete);
}

TEST(SearchAnalyzers, StartSearchAnswers) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0x17, "")), kStartTitle + "发起设备搜索成功\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x17, "00")), kStartTitle + "\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x17, "02")), kStartTitle + "发起设备搜索帧异常状态为： 错误的长度\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x17, "02 00")), kStartTitle + "其他异常帧\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x17, "31 8A 34 12 02 01 02")), kStartTitle + "\r\n");
}

TEST(SearchAnalyzers, SearchRangeNames) {
    const char* const names[] = {"搜索所有设备", "搜索同网设备", "搜索未入网设备", "", "", "", "RSV", ""};
    for (uint8_t v = 0; v < 8; ++v) {
        std::string text;
        PrintSearchRange(v, text);
        EXPECT_EQ(text, std::string("搜索范围：    ") + names[v] + "\r\n") << int(v);
    }
}

TEST(SearchAnalyzers, StopSearch) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x18, "")), kStopTitle);
    EXPECT_EQ(Body(MakeFrame(kHost, 0x18, "01 02 03")), kStopTitle);
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x18, "01")), kStopTitle);
    EXPECT_EQ(Body(MakeFrame(kReply, 0x18, "")), kStopTitle + "停止设备搜索成功\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x18, "00")), kStopTitle);
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x18, "03")), kStopTitle + "发起设备搜索帧异常状态为： 指令字无效\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x18, "03 00")), kStopTitle + "发起设备搜索帧异常回复帧错误");
    // Truncated: L 1 without the status byte, which reads as 0.
    EXPECT_EQ(Body(Hex("79 01 00 A0 18")), kStopTitle + "发起设备搜索帧异常状态为： 错误的格式\r\n");
}

TEST(SearchAnalyzers, SearchReportDevices) {
    // Device 1: multicast and a three-byte attribute; device 2: net state 9, empty attribute.
    const ByteString frame = MakeFrame(kReply, 0x19,
                                       "02"
                                       "06 05 04 03 02 01 13 14 34 12 03 41 42 00"
                                       "AA BB CC DD EE FF 9F 00 00");
    EXPECT_EQ(Body(frame), kReportTitle +
                               "设备数目：    02\r\n"
                               "设备1: \r\n"
                               "MAC地址： 010203040506\r\n"
                               "DEPTH:     03\r\n"
                               "NetState:  属于自己的网络\r\n"
                               "目标设备模式：    TRM5207 MAC地址\r\n"
                               "组播标志：    组播\r\n"
                               "组播地址：    1234\r\n"
                               "属性长度: 3\r\n"
                               "属性: AB(0x004241)\r\n"
                               "设备2: \r\n"
                               "MAC地址： FFEEDDCCBBAA\r\n"
                               "DEPTH:     15\r\n"
                               "NetState:  \r\n"
                               "目标设备模式：    不区分设备类型\r\n"
                               "组播标志：    非组播\r\n"
                               "属性长度: 0\r\n"
                               "属性: (0x)\r\n"
                               "\r\n");
}

TEST(SearchAnalyzers, SearchReportCountZeroAndAnswers) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0x19, "00")), kReportTitle + "设备数目：    00\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x19, "")), kReportTitle + "设备上报成功\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x19, "00 00")), kReportTitle + "\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x19, "05")), kReportTitle + "设备上报异常状态为：   错误的状态\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x19, "05 00")), kReportTitle + "\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x19, "05")), kReportTitle + "\r\n");
}

TEST(SearchAnalyzers, SearchReportCountLargerThanTheEntries) {
    // Three devices announced, one present (no check bytes): the others read as zeros and their
    // attributes do not fit.
    const std::string zeroDevice =
        "MAC地址： 000000000000\r\n"
        "DEPTH:     00\r\n"
        "NetState:  不在网\r\n"
        "目标设备模式：    不区分设备类型\r\n"
        "组播标志：    非组播\r\n";
    EXPECT_EQ(Body(Hex("79 0A 00 80 19 03 01 02 03 04 05 06 00 00 00")),
              kReportTitle + "设备数目：    03\r\n" +
                  "设备1: \r\n"
                  "MAC地址： 060504030201\r\n"
                  "DEPTH:     00\r\n"
                  "NetState:  不在网\r\n"
                  "目标设备模式：    不区分设备类型\r\n"
                  "组播标志：    非组播\r\n"
                  "属性长度: 0\r\n"
                  "属性: (0x)\r\n"
                  "设备2: \r\n" +
                  zeroDevice + kIncomplete + "设备3: \r\n" + zeroDevice + kIncomplete + "\r\n");
}

TEST(SearchAnalyzers, SearchReportLargestCountEnds) {
    const std::string text = Body(MakeFrame(kReply, 0x19, "FF"));
    const std::string head = kReportTitle + "设备数目：    255\r\n设备1: \r\n";
    EXPECT_EQ(text.compare(0, head.size(), head), 0);
    EXPECT_NE(text.find("设备255: \r\n"), std::string::npos);
    EXPECT_EQ(text.find("设备256"), std::string::npos);
    const std::string tail = std::string(kIncomplete) + "\r\n";
    EXPECT_EQ(text.compare(text.size() - tail.size(), tail.size(), tail), 0);
}

TEST(SearchAnalyzers, NetStateNames) {
    const char* const names[] = {"不在网", "属于自己的网络", "属于其他网络", "未知"};
    for (uint8_t v = 0; v < 16; ++v) {
        std::string text;
        PrintNetState(v, text);
        EXPECT_EQ(text, std::string("NetState:  ") + (v < 4 ? names[v] : "") + "\r\n") << int(v);
    }
}

TEST(SearchAnalyzers, DeviceInfoWordFields) {
    const DeviceInfoWord w = UnpackDeviceInfoWord(0xB4A7);
    EXPECT_EQ(w.depth, 7);
    EXPECT_EQ(w.netState, 0xA);
    EXPECT_EQ(w.deviceType, 4);
    EXPECT_EQ(w.multicastFlag, 1);
    EXPECT_EQ(w.reserved, 5);

    std::string text;
    int cursor = 5;
    DeviceInfoWord fields;
    PrintDeviceInfoWord(text, Hex("79 02 00 80 19 21 05"), cursor, fields);
    EXPECT_EQ(cursor, 7);
    EXPECT_EQ(fields.netState, 2);
    EXPECT_EQ(text, "DEPTH:     01\r\nNetState:  属于其他网络\r\n目标设备模式：    Bluetooth MAC地址\r\n组播标志：    非组播\r\n");
}

TEST(SearchAnalyzers, PrintAttributeCursor) {
    const ByteString frame = Hex("79 04 00 80 19 03 41 42 43");
    std::string text;
    int cursor = 5;
    EXPECT_EQ(PrintAttribute(frame, text, cursor), 9);
    EXPECT_EQ(cursor, 9);
    EXPECT_EQ(text, "属性长度: 3\r\n属性: ABC(0x434241)\r\n");

    text.clear();
    cursor = 9;
    EXPECT_EQ(PrintAttribute(frame, text, cursor), -1);
    EXPECT_EQ(cursor, 9);
    EXPECT_EQ(text, kIncomplete);

    text.clear();
    cursor = 5;
    EXPECT_EQ(PrintAttribute(Hex("79 04 00 80 19 04 41 42 43"), text, cursor), -1);
    EXPECT_EQ(cursor, 6);
    EXPECT_EQ(text, std::string("属性长度: 4\r\n") + kIncomplete);
}

TEST(SearchAnalyzers, RequestSearchAttribute) {
    const ByteString frame = MakeFrame(kReply, 0x1A, "13 01 06 05 04 03 02 01 AB 34 12 02 41 42");
    EXPECT_EQ(Body(frame), kRequestTitle +
                               "Src 设备模式：    TRM5281/82 MAC地址\r\n"
                               "目标设备模式：    网关\r\n"
                               "组播标志：    组播\r\n"
                               "SrcAddr:       010203040506\r\n"
                               "task id:  0x ab\r\n"
                               "组播地址：    1234\r\n"
                               "属性长度: 2\r\n"
                               "属性: AB(0x4241)\r\n");
    std::string text;
    EXPECT_EQ(AnalyzeRequestSearchAttribute(frame, text), 19);

    EXPECT_EQ(Body(MakeFrame(kReply, 0x1A, "13 00 06 05 04 03 02 01 0C 00")), kRequestTitle +
                                                                               "Src 设备模式：    TRM5281/82 MAC地址\r\n"
                                                                               "目标设备模式：    网关\r\n"
                                                                               "组播标志：    非组播\r\n"
                                                                               "SrcAddr:       010203040506\r\n"
                                                                               "task id:  0x 0c\r\n"
                                                                               "属性长度: 0\r\n"
                                                                               "属性: (0x)\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1A, "13 00 06 05 04 03 02 01 0C")), kRequestTitle);
}

TEST(SearchAnalyzers, RequestSearchAttributeAnswersAndTruncation) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1A, "")), kRequestTitle + "申请设备属性成功\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1A, "00")), kRequestTitle);
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x1A, "00")), kRequestTitle + "异常状态为：   错误的格式\r\n");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x1A, "00 00")), kRequestTitle);
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x1A, "00")), kRequestTitle);

    const std::string wordLines = kRequestTitle +
                                  "Src 设备模式：    TRM5281/82 MAC地址\r\n"
                                  "目标设备模式：    网关\r\n"
                                  "组播标志：    组播\r\n";
    // Only the first byte of the multicast address is inside.
    std::string text;
    EXPECT_EQ(AnalyzeRequestSearchAttribute(Hex("79 0E 00 80 1A 13 01 06 05 04 03 02 01 AB 34"), text), -1);
    EXPECT_EQ(text, wordLines + "SrcAddr:       010203040506\r\ntask id:  0x ab\r\n" + kIncomplete);
    // Ends inside the source address, inside the word, before the task id.
    EXPECT_EQ(Body(Hex("79 0E 00 80 1A 13 01 06 05")), wordLines + kIncomplete);
    EXPECT_EQ(Body(Hex("79 0E 00 80 1A 13")), kRequestTitle + kIncomplete);
    EXPECT_EQ(Body(Hex("79 0E 00 80 1A 13 01 06 05 04 03 02 01")),
              wordLines + "SrcAddr:       010203040506\r\n" + kIncomplete);
}

TEST(SearchAnalyzers, ReplySearchAttribute) {
    const ByteString frame = MakeFrame(kHost, 0x1B, "21 03 66 55 44 33 22 11 0F 78 56 01 5A");
    EXPECT_EQ(Body(frame), kReplyTitle +
                               "Src 设备模式：    网关\r\n"
                               "目标设备模式：    云服务器\r\n"
                               "属性回复状态：    参与设备搜索\r\n"
                               "组播标志：    组播\r\n"
                               "SrcAddr:       112233445566\r\n"
                               "task id:  0x 0f\r\n"
                               "组播地址：    5678\r\n"
                               "属性长度: 1\r\n"
                               "属性: Z(0x5A)\r\n");
    std::string text;
    EXPECT_EQ(AnalyzeReplySearchAttribute(frame, text), 18);

    // Reply state 0: no attribute lines although bytes follow.
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1B, "21 00 66 55 44 33 22 11 0F 02 41 42")), kReplyTitle +
                                                                                    "Src 设备模式：    网关\r\n"
                                                                                    "目标设备模式：    云服务器\r\n"
                                                                                    "属性回复状态：    不参与设备搜索\r\n"
                                                                                    "组播标志：    非组播\r\n"
                                                                                    "SrcAddr:       112233445566\r\n"
                                                                                    "task id:  0x 0f\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x1B, "21 00 66 55 44 33 22 11")), kReplyTitle);
    // Multicast address with only its first byte inside.
    EXPECT_EQ(Body(Hex("79 0D 00 40 1B 21 03 66 55 44 33 22 11 0F 78")), kReplyTitle +
                                                                            "Src 设备模式：    网关\r\n"
                                                                            "目标设备模式：    云服务器\r\n"
                                                                            "属性回复状态：    参与设备搜索\r\n"
                                                                            "组播标志：    组播\r\n"
                                                                            "SrcAddr:       112233445566\r\n"
                                                                            "task id:  0x 0f\r\n" +
                                                                            kIncomplete);
}

TEST(SearchAnalyzers, ReplySearchAttributeAnswers) {
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1B, "")), kReplyTitle + "回复设备属性成功");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x1B, "01 02 03")), kReplyTitle + "回复设备属性帧失败");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x1B, "01")), kReplyTitle + "异常状态为：   错误的数据单元\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x1B, "01 00")), kReplyTitle + "回复设备属性异常帧错误");
    EXPECT_EQ(Body(MakeFrame(kHostAbnormal, 0x1B, "01")), kReplyTitle);
}

TEST(SearchAnalyzers, AttributeWords) {
    AttributeRequestWord request;
    std::string text;
    PrintAttributeRequestWord(0x0152, text, request);
    EXPECT_EQ(request.sourceMode, 2);
    EXPECT_EQ(request.targetMode, 5);
    EXPECT_EQ(request.multicastFlag, 1);
    EXPECT_EQ(text, "Src 设备模式：    云服务器\r\n目标设备模式：    Bluetooth MAC地址\r\n组播标志：    组播\r\n");

    AttributeReplyWord reply;
    UnpackAttributeReplyWord(0xFD9F, reply);
    EXPECT_EQ(reply.sourceMode, 0xF);
    EXPECT_EQ(reply.targetMode, 9);
    EXPECT_EQ(reply.replyState, 1);
    EXPECT_EQ(reply.multicastFlag, 0);

    text.clear();
    PrintAttributeReplyState(0, text);
    PrintAttributeReplyState(1, text);
    EXPECT_EQ(text, "属性回复状态：    不参与设备搜索\r\n属性回复状态：    参与设备搜索\r\n");
}

TEST(SearchAnalyzers, SearchParamsDoNotMoveTheCursor) {
    SearchParamWord p;
    std::string text;
    PrintSearchParams(Hex("79 02 00 40 17 45 E3"), 5, text, p);
    EXPECT_EQ(p.sourceMode, 5);
    EXPECT_EQ(p.targetMode, 4);
    EXPECT_EQ(p.radius, 3);
    EXPECT_EQ(p.range, 6);
    EXPECT_EQ(p.multicastFlag, 1);
    EXPECT_EQ(text, "Src 设备模式：    Bluetooth MAC地址\r\n"
                    "目标设备模式：    TRM5207 MAC地址\r\n"
                    "搜索半径：    3\r\n"
                    "搜索范围：    RSV\r\n"
                    "组播标志：    组播\r\n");
}
