#include <gtest/gtest.h>

#include "analyzer/analyzer.h"
#include "analyzer/remote_password_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

TEST(RemotePasswordParams, PackModeWord) {
    // Fields in the record's order: target mode, source mode, priority, multicast flag, reserved, keys.
    EXPECT_EQ(PackModeWord({3, 3, 1, 0, 0, {}, {}}), 0x0133);
    EXPECT_EQ(PackModeWord({5, 4, 0, 1, 0x3F, {}, {}}), 0xFE54);
    EXPECT_EQ(PackModeWord({0x12, 0x1F, 2, 3, 0x41, {}, {}}), 0x062F);  // each field is cut to its bits
}

TEST(RemotePasswordAnalyzers, SetPasswordRequest) {
    const std::string title = "远程设置网络口令请求帧\r\n";
    const std::string head = title +
                             "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    TRM5281/82 MAC地址\r\n优先级：高\r\n"
                             "组播标志：    非组播\r\n通信地址:  010203040506\r\n";
    const std::string end = "\r\n\r\n\r\n";
    const std::string emptySecond = "口令2长度：   0\r\nPSK2:      (Ox )" + end;
    ExpectBodies({
        {"request", MakeFrame(kHost, 0x1C, "33 01 06 05 04 03 02 01 08 31 32 33 34 35 36 37 38 02 41 42"),
            head + "口令1长度：   8\r\nPSK1:      12345678(Ox 3132333435363738)\r\n口令2长度：   2\r\nPSK2:      AB(Ox 4142)" + end},
        // Empty passwords; the multicast flag brings no multicast address.
        {"empty passwords", MakeFrame(kHost, 0x1C, "30 02 06 05 04 03 02 01 00 00"),
            title + "Src 设备模式：    不区分设备类型\r\n目标设备模式：    TRM5281/82 MAC地址\r\n优先级：低\r\n"
            "组播标志：    组播\r\n通信地址:  010203040506\r\n口令1长度：   0\r\nPSK1:      (Ox )\r\n" + emptySecond},
        {"short", MakeFrame(kHost, 0x1C, "33 01 06 05 04 03 02 01 00"), title + "帧错误\r\n"},
        // The password runs past the frame and prints zero bytes.
        {"truncated", Hex("79 14 00 40 1C 33 01 06 05 04 03 02 01 04 41 42"),
            head + "口令1长度：   4\r\nPSK1:      AB(Ox 41420000)\r\n" + emptySecond},
        {"reply", MakeFrame(kReply, 0x1C, ""), title + "远程设置网络口令请求成功\r\n"},
        {"reply with data", MakeFrame(kReply, 0x1C, "01 02 03"), title + "远程设置网络口令请求回复失败\r\n\r\n"},
        {"abnormal", MakeFrame(kAbnormal, 0x1C, "05"), title + "远程设置网络口令主机请求异常状态为：   错误的状态\r\n\r\n"},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x1C, "FF"), title + "远程设置网络口令从机请求异常状态为：   RESV\r\n\r\n"},
    });
}

TEST(RemotePasswordAnalyzers, SlaveRequest) {
    const std::string title = "从机远程设置网络口令请求上报帧\r\n";
    const std::string old = title +
                            "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    TRM5207 MAC地址\r\nDepth:        2\r\n"
                            "解密状态：    解密老密钥成功\r\n组播标志：    非组播\r\n";
    const std::string fresh = title +
                              "Src 设备模式：    网关\r\n目标设备模式：    网关\r\nDepth:        0\r\n"
                              "解密状态：    解密新密钥成功\r\n组播标志：    组播\r\n";
    ExpectBodies({
        {"short", MakeFrame(kReply, 0x1D, "43 22 06 05 04 03 02"), title},
        // Decrypt state 2: no new password.
        {"old key", MakeFrame(kReply, 0x1D, "43 22 06 05 04 03 02 01"), old + "src addr: 010203040506\r\n"},
        {"new key", MakeFrame(kReply, 0x1D, "11 50 34 12 06 05 04 03 02 01 03 61 00 62"),
            fresh + "组播地址：    1234\r\nsrc addr: 010203040506\r\n新口令长度：  3\r\n新口令：  ab(0x 610062)\r\n"},
        {"address cut", Hex("79 0E 00 80 1D 11 50 34 12 06 05 04"), fresh + "组播地址：    1234\r\n" + kIncomplete},
        {"nothing after the word", Hex("79 08 00 80 1D 43 22"), title + kIncomplete},
        {"ends after the address", Hex("79 08 00 80 1D 43 22 06 05 04 03 02 01"),
            old + "src addr: 010203040506\r\n" + kIncomplete},
        {"password cut", Hex("79 10 00 80 1D 11 50 34 12 06 05 04 03 02 01 05 61 62"),
            fresh + "组播地址：    1234\r\nsrc addr: 010203040506\r\n新口令长度：  5\r\n" + kIncomplete},
        {"host", MakeFrame(kHost, 0x1D, ""), title + "远程设置网络口令从机请求成功"},
        {"module abnormal", MakeFrame(kAbnormal, 0x1D, "00"), title},
    });
}

TEST(RemotePasswordAnalyzers, SetPasswordReply) {
    const std::string title = "远程设置网络口令回复帧\r\n";
    const std::string modes = title + "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    网关\r\n";
    ExpectBodies({
        {"multicast", MakeFrame(kHost, 0x1E, "13 02 34 12 06 05 04 03 02 01 01"),
            modes + "优先级：低\r\n组播标志：    组播\r\n组播地址：    1234\r\n通信地址:  010203040506\r\n状态：        修改成功\r\n"},
        {"failed", MakeFrame(kHost, 0x1E, "13 01 06 05 04 03 02 01 00"),
            modes + "优先级：高\r\n组播标志：    非组播\r\n通信地址:  010203040506\r\n状态：        修改失败\r\n"},
        {"short", MakeFrame(kHost, 0x1E, "13 01 06 05 04 03 02 01"), title + "帧错误"},
        // The missing bytes read as zeros.
        {"truncated", Hex("79 09 00 40 1E 13 00 06"),
            modes + "优先级：低\r\n组播标志：    非组播\r\n通信地址:  000000000006\r\n状态：        修改失败\r\n"},
        {"reply", MakeFrame(kReply, 0x1E, ""), title + "远程设置网络口令回复成功"},
        {"reply with data", MakeFrame(kReply, 0x1E, "00"), title + "帧错误"},
        {"abnormal", MakeFrame(kAbnormal, 0x1E, "00"), title + "远程设置网络口令主机回复异常状态为：   错误的格式\r\n"},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x1E, "03"), title + "远程设置网络口令从机机回复异常状态为： 指令字无效\r\n"},
        {"host abnormal, L 2", MakeFrame(kHostAbnormal, 0x1E, "03 00"), title + "帧错误"},
    });
}

TEST(RemotePasswordAnalyzers, ReplyReport) {
    const std::string title = "远程设置网络口令回复上报帧\r\n";
    const std::string modes = title + "Src 设备模式：    网关\r\n目标设备模式：    TRM5281/82 MAC地址\r\nDepth:        5\r\n";
    ExpectBodies({
        {"report", MakeFrame(kReply, 0x1F, "31 15 34 12 06 05 04 03 02 01 02"),
            modes + "组播标志：    组播\r\n组播地址：    1234\r\nsrc addr: 010203040506\r\n状态：        \r\n"},
        {"short", MakeFrame(kReply, 0x1F, "31 05 06 05 04 03 02 01"), title},
        // L 9: the address and the result read as zeros where missing.
        {"truncated", Hex("79 09 00 80 1F 31 05 06 05"),
            modes + "组播标志：    非组播\r\nsrc addr: 000000000506\r\n状态：        修改失败\r\n"},
        {"host", MakeFrame(kHost, 0x1F, ""), title + "远程设置网络口令从机回复成功"},
        {"host abnormal", MakeFrame(kHostAbnormal, 0x1F, "02"), title + "远程设置网络口令从机机回复异常状态为： 错误的长度\r\n"},
        {"module abnormal", MakeFrame(kAbnormal, 0x1F, "02"), title},
    });
}
