#include <gtest/gtest.h>

#include "analyzer/analyzer.h"
#include "analyzer/search_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

TEST(SearchAnalyzers, StartSearch) {
    const std::string title = "发起设备搜索帧\r\n";
    const std::string all = "搜索范围：    搜索所有设备\r\n组播标志：    ";
    const std::string plain = title + "Src 设备模式：    网关\r\n目标设备模式：    不区分设备类型\r\n搜索半径：    10\r\n" + all;
    const std::string zero = title + "Src 设备模式：    不区分设备类型\r\n目标设备模式：    不区分设备类型\r\n搜索半径：    0\r\n" + all;
    ExpectResults(AnalyzeStartSearch, {
        {"multicast and attribute", MakeFrame(kHost, 0x17, "31 8A 34 12 02 01 02"),
            title + "Src 设备模式：    网关\r\n目标设备模式：    TRM5281/82 MAC地址\r\n搜索半径：    10\r\n" + all +
            "组播\r\n组播地址：    1234\r\n属性长度: 2\r\n属性: 0x0102\r\n", 12},
        {"no multicast", MakeFrame(kHost, 0x17, "21 10 00"),
            title + "Src 设备模式：    网关\r\n目标设备模式：    云服务器\r\n搜索半径：    0\r\n"
            "搜索范围：    搜索同网设备\r\n组播标志：    非组播\r\n属性长度: 0\r\n属性: 0x\r\n", 8},
        // Range 6 of the word 0x6000.
        {"reserved range", MakeFrame(kHost, 0x17, "00 60 00"),
            title + "Src 设备模式：    不区分设备类型\r\n目标设备模式：    不区分设备类型\r\n搜索半径：    0\r\n"
            "搜索范围：    RSV\r\n组播标志：    非组播\r\n属性长度: 0\r\n属性: 0x\r\n", 8},
        {"attribute cut", MakeFrame(kHost, 0x17, "01 0A 05 41"), plain + "非组播\r\n属性长度: 5\r\n" + kIncomplete, -1},
        {"multicast cut", Hex("79 05 00 40 17 00 80 34"), zero + "组播\r\n" + kIncomplete, -1},
        {"length cut", Hex("79 05 00 40 17 00 80 34 12"), zero + "组播\r\n组播地址：    1234\r\n" + kIncomplete, -1},
        // L 3 and no data at all; the word reads as zero.
        {"no data", Hex("79 03 00 40 17"), zero + "非组播\r\n" + kIncomplete, -1},
        {"reply", MakeFrame(kReply, 0x17, ""), title + "发起设备搜索成功\r\n", 5},
        {"reply with data", MakeFrame(kReply, 0x17, "00"), title + "\r\n", 5},
        {"abnormal", MakeFrame(kAbnormal, 0x17, "02"), title + "发起设备搜索帧异常状态为： 错误的长度\r\n\r\n", 5},
        {"abnormal, L 2", MakeFrame(kAbnormal, 0x17, "02 00"), title + "其他异常帧\r\n", 5},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x17, "31 8A 34 12 02 01 02"), title + "\r\n", 5},
    });
}

TEST(SearchAnalyzers, StopSearch) {
    const std::string title = "停止设备搜索帧\r\n";
    ExpectBodies({
        {"reply", MakeFrame(kReply, 0x18, ""), title + "停止设备搜索成功\r\n"},
        {"reply with data", MakeFrame(kReply, 0x18, "00"), title},
        {"abnormal", MakeFrame(kAbnormal, 0x18, "03"), title + "发起设备搜索帧异常状态为： 指令字无效\r\n"},
        {"abnormal, L 2", MakeFrame(kAbnormal, 0x18, "03 00"), title + "发起设备搜索帧异常回复帧错误"},
        // L 1 without the status byte, which reads as 0.
        {"truncated", Hex("79 01 00 A0 18"), title + "发起设备搜索帧异常状态为： 错误的格式\r\n"},
    });
}

TEST(SearchAnalyzers, SearchReport) {
    const std::string title = "设备搜索上报帧\r\n";
    const std::string plain = "NetState:  不在网\r\n目标设备模式：    不区分设备类型\r\n组播标志：    非组播\r\n";
    const std::string zeroDevice = "MAC地址： 000000000000\r\nDEPTH:     00\r\n" + plain;
    const std::string first = "设备1: \r\nMAC地址： 060504030201\r\nDEPTH:     00\r\n" + plain;
    ExpectBodies({
        // Device 1: multicast and a three-byte attribute; device 2: net state 9, empty attribute.
        {"two devices", MakeFrame(kReply, 0x19, "02 06 05 04 03 02 01 13 14 34 12 03 41 42 00 AA BB CC DD EE FF 9F 00 00"),
            title + "设备数目：    02\r\n设备1: \r\nMAC地址： 010203040506\r\nDEPTH:     03\r\nNetState:  属于自己的网络\r\n"
            "目标设备模式：    TRM5207 MAC地址\r\n组播标志：    组播\r\n组播地址：    1234\r\n属性长度: 3\r\n"
            "属性: AB(0x004241)\r\n设备2: \r\nMAC地址： FFEEDDCCBBAA\r\nDEPTH:     15\r\nNetState:  \r\n"
            "目标设备模式：    不区分设备类型\r\n组播标志：    非组播\r\n属性长度: 0\r\n属性: (0x)\r\n\r\n"},
        {"net state 2", MakeFrame(kReply, 0x19, "01 06 05 04 03 02 01 21 05 01 41"),
            title + "设备数目：    01\r\n设备1: \r\nMAC地址： 010203040506\r\nDEPTH:     01\r\nNetState:  属于其他网络\r\n"
            "目标设备模式：    Bluetooth MAC地址\r\n组播标志：    非组播\r\n属性长度: 1\r\n属性: A(0x41)\r\n\r\n"},
        // Three devices announced, one present (no check bytes): each missing attribute is reported.
        {"count larger than the entries", Hex("79 0A 00 80 19 03 01 02 03 04 05 06 00 00 00"),
            title + "设备数目：    03\r\n" + first + "属性长度: 0\r\n属性: (0x)\r\n设备2: \r\n" + zeroDevice + kIncomplete +
            "设备3: \r\n" + zeroDevice + kIncomplete + "\r\n"},
        // An attribute cut after its length: the next device starts right after the length byte.
        {"attribute cut", Hex("79 0A 00 80 19 02 01 02 03 04 05 06 00 00 05 41 42"),
            title + "设备数目：    02\r\n" + first + "属性长度: 5\r\n" + kIncomplete +
            "设备2: \r\nMAC地址： 000000004241\r\nDEPTH:     00\r\n" + plain + kIncomplete + "\r\n"},
        {"host", MakeFrame(kHost, 0x19, "00 00"), title + "\r\n"},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x19, "05"), title + "设备上报异常状态为：   错误的状态\r\n\r\n"},
        {"module abnormal", MakeFrame(kAbnormal, 0x19, "05"), title + "\r\n"},
    });
}

TEST(SearchAnalyzers, SearchReportLargestCountEnds) {
    const std::string text = Body(MakeFrame(kReply, 0x19, "FF"));
    const std::string head = "设备搜索上报帧\r\n设备数目：    255\r\n设备1: \r\n";
    EXPECT_EQ(text.compare(0, head.size(), head), 0);
    EXPECT_NE(text.find("设备255: \r\n"), std::string::npos);
    EXPECT_EQ(text.find("设备256"), std::string::npos);
    const std::string tail = std::string(kIncomplete) + "\r\n";
    EXPECT_EQ(text.compare(text.size() - tail.size(), tail.size(), tail), 0);
}

TEST(SearchAnalyzers, RequestSearchAttribute) {
    const std::string title = "申请设备搜索属性帧\r\n";
    const std::string word = title + "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    网关\r\n";
    const std::string multicast = word + "组播标志：    组播\r\n";
    ExpectResults(AnalyzeRequestSearchAttribute, {
        {"multicast", MakeFrame(kReply, 0x1A, "13 01 06 05 04 03 02 01 AB 34 12 02 41 42"),
            multicast + "SrcAddr:       010203040506\r\ntask id:  0x ab\r\n组播地址：    1234\r\n属性长度: 2\r\n"
            "属性: AB(0x4241)\r\n", 19},
        {"empty attribute", MakeFrame(kReply, 0x1A, "13 00 06 05 04 03 02 01 0C 00"),
            word + "组播标志：    非组播\r\nSrcAddr:       010203040506\r\ntask id:  0x 0c\r\n属性长度: 0\r\n属性: (0x)\r\n",
            15},
        {"short", MakeFrame(kReply, 0x1A, "13 00 06 05 04 03 02 01 0C"), title, 5},
        {"multicast cut", Hex("79 0E 00 80 1A 13 01 06 05 04 03 02 01 AB 34"),
            multicast + "SrcAddr:       010203040506\r\ntask id:  0x ab\r\n" + kIncomplete, -1},
        {"address cut", Hex("79 0E 00 80 1A 13 01 06 05"), multicast + kIncomplete, -1},
        {"word cut", Hex("79 0E 00 80 1A 13"), title + kIncomplete, -1},
        {"task id cut", Hex("79 0E 00 80 1A 13 01 06 05 04 03 02 01"),
            multicast + "SrcAddr:       010203040506\r\n" + kIncomplete, -1},
        // The attribute is reported and the cursor stays after its length.
        {"attribute cut", Hex("79 0E 00 80 1A 13 00 06 05 04 03 02 01 0C 03 41"),
            word + "组播标志：    非组播\r\nSrcAddr:       010203040506\r\ntask id:  0x 0c\r\n属性长度: 3\r\n" + kIncomplete,
            15},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x1A, "00"), title + "异常状态为：   错误的格式\r\n", 5},
        {"module abnormal", MakeFrame(kAbnormal, 0x1A, "00"), title, 5},
    });
}

TEST(SearchAnalyzers, ReplySearchAttribute) {
    const std::string title = "回复设备搜索属性帧\r\n";
    const std::string modes = title + "Src 设备模式：    网关\r\n目标设备模式：    云服务器\r\n";
    const std::string head = modes + "属性回复状态：    参与设备搜索\r\n组播标志：    组播\r\nSrcAddr:       112233445566\r\n"
                                     "task id:  0x 0f\r\n";
    ExpectResults(AnalyzeReplySearchAttribute, {
        {"attribute", MakeFrame(kHost, 0x1B, "21 03 66 55 44 33 22 11 0F 78 56 01 5A"),
            head + "组播地址：    5678\r\n属性长度: 1\r\n属性: Z(0x5A)\r\n", 18},
        // Reply state 0: no attribute lines although bytes follow.
        {"not taking part", MakeFrame(kHost, 0x1B, "21 00 66 55 44 33 22 11 0F 02 41 42"),
            modes + "属性回复状态：    不参与设备搜索\r\n组播标志：    非组播\r\nSrcAddr:       112233445566\r\n"
            "task id:  0x 0f\r\n", 14},
        {"multicast cut", Hex("79 0D 00 40 1B 21 03 66 55 44 33 22 11 0F 78"), head + kIncomplete, -1},
        {"reply", MakeFrame(kReply, 0x1B, ""), title + "回复设备属性成功", 5},
        {"reply with data", MakeFrame(kReply, 0x1B, "01 02 03"), title + "回复设备属性帧失败", 5},
        {"abnormal", MakeFrame(kAbnormal, 0x1B, "01"), title + "异常状态为：   错误的数据单元\r\n", 5},
        {"abnormal, L 2", MakeFrame(kAbnormal, 0x1B, "01 00"), title + "回复设备属性异常帧错误", 5},
    });
}
