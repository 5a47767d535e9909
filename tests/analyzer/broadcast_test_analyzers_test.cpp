// Broadcast reply test frames through their dispatcher and the BLE configuration frames: the
// request, the answer, the wrong direction and cut frames, with the exact text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyzer/broadcast_test_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

namespace {

struct TextCase {
    const char* name;
    ByteString frame;
    std::string text;
};

ByteString Brd(unsigned char control, const std::string& data) { return MakeFrame(control, 0xF5, data); }

const std::string kMac = "66 55 44 33 22 11 ";
const std::string kRequestTitle = "广播应答测试请求帧\r\n";
const std::string kReplyTitle = "广播应答测试应答帧\r\n";
const std::string kSettings = "应答上报间隔：    1000\r\n上报次数：    5\r\n";

}  // namespace

TEST(BroadcastTestAnalyzers, RequestsAndAnswers) {
    const std::string requestTail = "BRD DSN:  0x 1A\r\n" + kSettings + "数据长度：    300\r\n";
    const std::string replyTail = "Dsn:  26\r\n" + kSettings + "当前上报次数：    2\r\n数据长度：    300\r\n";
    const TextCase cases[] = {
        {"request", Brd(kHost, "00 02 1A E8 03 05 2C 01"),
         kRequestTitle + "组播标志：    非组播\r\n网络口令模式: 用户网络口令\r\n" + requestTail},
        {"request, multicast", Brd(kHost, "00 FD 34 12 1A E8 03 05 2C 01"),
         kRequestTitle + "组播标志：    组播\r\n网络口令模式: 初始网络口令\r\n组播地址：    1234\r\n" + requestTail},
        {"request, answer's direction", Brd(kReply, "00 02 1A E8 03 05 2C 01"), kRequestTitle},
        {"request, abnormal", Brd(kHostAbnormal, "00 02"), kRequestTitle},
        {"request cut", Hex("79 08 00 40 F5 00 02 1A"),
         kRequestTitle + "组播标志：    非组播\r\n网络口令模式: 用户网络口令\r\nBRD DSN:  0x 1A\r\n"
                         "应答上报间隔：    0\r\n上报次数：    0\r\n数据长度：    0\r\n"},
        {"answer", Brd(kReply, "01 0A" + kMac + "1A E8 03 05 02 2C 01"),
         kReplyTitle + "组播标志：    非组播\r\nDepth:    5\r\n网络口令模式: 初始网络口令\r\nsrc add:  112233445566\r\n" +
             replyTail},
        {"answer, multicast", Brd(kReply, "01 EB 34 12" + kMac + "1A E8 03 05 02 2C 01"),
         kReplyTitle + "组播标志：    组播\r\nDepth:    5\r\n网络口令模式: 用户网络口令\r\n组播地址：    1234\r\n"
                       "src add:  112233445566\r\n" +
             replyTail},
        {"answer cut in the address", Hex("79 0F 00 80 F5 01 00 66 55 44"),
         kReplyTitle + "组播标志：    非组播\r\nDepth:    0\r\n网络口令模式: 初始网络口令\r\nsrc add:  " + kIncomplete},
        {"answer, host direction", Brd(kHost, "01 0A" + kMac), kReplyTitle},
        {"answer, abnormal", Brd(kAbnormal, "01 02"), kReplyTitle},
        {"sub-code 2", Brd(kHost, "02 00"), ""},
        {"no bytes at all", ByteString(), kRequestTitle + "组播标志：    非组播\r\n网络口令模式: 初始网络口令\r\n"
                                                          "BRD DSN:  0x 00\r\n应答上报间隔：    0\r\n上报次数：    0\r\n"
                                                          "数据长度：    0\r\n"},
    };
    for (const auto& c : cases) {
        std::string text = ">";
        DispatchBroadcastReplyTestAnalyzer(c.frame, text);
        EXPECT_EQ(text, ">" + c.text) << c.name;
    }
}

TEST(BroadcastTestAnalyzers, BleConfiguration) {
    const std::string fields = "MAC地址：010203040506\r\nindex:    7\r\ndata: -1\r\n";
    const struct {
        const char* name;
        void (*analyze)(const ByteString&, std::string&);
        ByteString frame;
        std::string text;
    } cases[] = {
        {"request", AnalyzeConfigBleRequest, MakeFrame(kHost, 0xE1, "06 05 04 03 02 01 07 FF FF FF FF"),
         "配置BLE请求帧\r\n" + fields},
        {"request, module direction", AnalyzeConfigBleRequest, MakeFrame(kReply, 0xE1, "06 05 04 03 02 01"),
         "配置BLE请求帧\r\n配置BLE参数请求帧出错\r\n"},
        {"request, abnormal", AnalyzeConfigBleRequest, MakeFrame(kHostAbnormal, 0xE1, ""),
         "配置BLE请求帧\r\n配置BLE参数请求帧出错\r\n"},
        {"request cut", AnalyzeConfigBleRequest, Hex("79 0B 00 40 E1 06 05 04"),
         "配置BLE请求帧\r\nMAC地址：000000040506\r\nindex:    0\r\ndata: 0\r\n"},
        {"reply", AnalyzeConfigBleReply, MakeFrame(kReply, 0xE2, "06 05 04 03 02 01 07 FF FF FF FF"),
         "配置BLE回复帧\r\n" + fields},
        {"reply, abnormal", AnalyzeConfigBleReply, MakeFrame(kAbnormal, 0xE2, "01"),
         "配置BLE回复帧\r\n配置BLE参数回复帧出错\r\n"},
        {"reply, host direction", AnalyzeConfigBleReply, MakeFrame(kHost, 0xE2, "01"),
         "配置BLE回复帧\r\n配置BLE参数回复帧出错\r\n"},
    };
    for (const auto& c : cases) {
        std::string text = ">";
        c.analyze(c.frame, text);
        EXPECT_EQ(text, ">" + c.text) << c.name;
    }
}
