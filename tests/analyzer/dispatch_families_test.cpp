// Routing of the search, data, remote password and remote command codes, and the safety of
// their analyzers on arbitrary frames.

#include <gtest/gtest.h>

#include <cstdint>

#include "analyzer/analyzer.h"
#include "analyzer_explain.h"
#include "test_frames.h"

using namespace analyzer_texts;
using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

struct Route {
    unsigned char code;
    const char* body;  // explanation of a host frame with L 0 and no check bytes
};

const Route kRoutes[] = {
    {0x14, "发送数据帧\r\n发送数据成功\r\n"},
    {0x15, "接收数据帧\r\n接收数据成功\r\n"},
    {0x17, "发起设备搜索帧\r\n回复帧错误\r\n"},
    {0x18, "停止设备搜索帧\r\n"},
    {0x19, "设备搜索上报帧\r\n设备上报成功\r\n"},
    {0x1A, "申请设备搜索属性帧\r\n申请设备属性成功\r\n"},
    {0x1B, "回复设备搜索属性帧\r\n"},
    {0x1C, "远程设置网络口令请求帧\r\n帧错误\r\n"},
    {0x1D, "从机远程设置网络口令请求上报帧\r\n远程设置网络口令从机请求成功"},
    {0x1E, "远程设置网络口令回复帧\r\n帧错误"},
    {0x1F, "远程设置网络口令回复上报帧\r\n远程设置网络口令从机回复成功"},
    {0x50, "远程设备重启帧\r\nDST Addr: 000000000000\r\n\r\n"},
    {0x52, "远程读取版本号帧\r\nDST Addr: 000000000000\r\n\r\n"},
    {0x53, "远程读取MAC地址帧\r\nDST Addr: 000000000000\r\n\r\n"},
    {0x5D, "远程读取网络口令帧\r\nDST Addr: 000000000000\r\n\r\n"},
    {0xE0, "读取主动上报帧\r\n\r\n"},
};

// Tiny deterministic generator, so that failures repeat.
uint32_t NextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

const unsigned char kFamilyCodes[] = {0x10, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D,
                                      0x1E, 0x1F, 0x50, 0x51, 0x52, 0x53, 0x5D, 0xE0, 0xF1};

// Every analyzer of these families, dispatched or not.
void RunAll(const ByteString& frame, std::string& text) {
    AnalyzeFrame(frame, text);
    AnalyzeExecStateReport(frame, text);
    AnalyzePointRead(frame, text);
    AnalyzeRemoteSetLwip(frame, text);
    AnalyzeBroadcast(frame, text);
}

}  // namespace

TEST(DispatchFamilies, EveryRoutedCodeReachesItsAnalyzer) {
    for (const Route& r : kRoutes) {
        ByteString frame = Hex("79 00 00 40");
        frame.push_back(r.code);
        EXPECT_EQ(Body(frame), r.body) << std::hex << int(r.code);
    }
}

TEST(DispatchFamilies, UndispatchedCodesOfTheFamilies) {
    for (unsigned char code : {0x10, 0x11, 0x12, 0x13, 0x16, 0x51, 0xF1}) {
        EXPECT_EQ(Body(MakeFrame(kReply, code, "03")), "指令无效\n异常状态为：   指令字无效\r\n") << int(code);
        EXPECT_EQ(Body(MakeFrame(kHost, code, "03")), "无效的命令字") << int(code);
    }
}

TEST(DispatchFamilies, SearchReportWholeExplanation) {
    EXPECT_EQ(Explain(MakeFrame(kReply, 0x19, "01 06 05 04 03 02 01 02 00 01 41")),
              Header(kReply) +
                  "设备搜索上报帧\r\n"
                  "设备数目：    01\r\n"
                  "设备1: \r\n"
                  "MAC地址： 010203040506\r\n"
                  "DEPTH:     02\r\n"
                  "NetState:  不在网\r\n"
                  "目标设备模式：    不区分设备类型\r\n"
                  "组播标志：    非组播\r\n"
                  "属性长度: 1\r\n"
                  "属性: A(0x41)\r\n"
                  "\r\n");
}

TEST(DispatchFamilies, EveryPrefixOfValidFramesIsSafe) {
    const ByteString frames[] = {
        MakeFrame(kHost, 0x17, "31 8A 34 12 02 01 02"),
        MakeFrame(kReply, 0x19, "02 06 05 04 03 02 01 13 14 34 12 03 41 42 00 AA BB CC DD EE FF 9F 00 00"),
        MakeFrame(kReply, 0x1A, "13 01 06 05 04 03 02 01 AB 34 12 02 41 42"),
        MakeFrame(kHost, 0x1B, "21 03 66 55 44 33 22 11 0F 78 56 01 5A"),
        MakeFrame(kReply, 0x15, "21 C3 00 34 12 06 05 04 03 02 01 03 00 AA BB CC"),
        MakeFrame(kReply, 0xE0, "01 02 03 04 05 06 07 02 AA BB"),
        MakeFrame(kReply, 0x10, "21 01 00 A8 C0 50 00 02 01 A8 C0 90 1F 14 01"),
        MakeFrame(kReply, 0xF1, "03 34 12 06 05 04 03 02 01 03 00 00 01 02"),
        MakeFrame(kHost, 0x1C, "33 01 06 05 04 03 02 01 08 31 32 33 34 35 36 37 38 02 41 42"),
        MakeFrame(kReply, 0x1D, "11 50 34 12 06 05 04 03 02 01 03 61 00 62"),
        MakeFrame(kHost, 0x1E, "13 02 34 12 06 05 04 03 02 01 01"),
        MakeFrame(kReply, 0x1F, "31 15 34 12 06 05 04 03 02 01 02"),
        MakeFrame(kHost, 0x51, "01 34 12 06 05 04 03 02 01 00"),
        MakeFrame(kHost, 0x16, "21 73 34 12 02 00 AA BB"),
        MakeFrame(kReply, 0x52, "06 05 04 03 02 01 56 51 34 12 01 03 02"),
    };
    for (const ByteString& whole : frames) {
        for (size_t n = 0; n <= whole.size(); ++n) {
            std::string text;
            RunAll(whole.substr(0, n), text);
            EXPECT_FALSE(text.empty());
        }
    }
}

TEST(DispatchFamilies, RandomFramesAreSafe) {
    uint32_t state = 12345;
    for (int round = 0; round < 20000; ++round) {
        const size_t size = NextRandom(state) % 40;
        ByteString frame;
        for (size_t i = 0; i < size; ++i) frame.push_back(static_cast<unsigned char>(NextRandom(state)));
        if (size > 4) frame[4] = kFamilyCodes[NextRandom(state) % sizeof kFamilyCodes];
        std::string text;
        RunAll(frame, text);
        EXPECT_LT(text.size(), 200000u);
    }
}
