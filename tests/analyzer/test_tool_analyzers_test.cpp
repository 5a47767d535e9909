// Test-tool frames through their dispatcher: per sub-code a request, a reply, abnormal replies
// and a cut frame, with the exact text; the field printers' codes.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "analyzer/test_tool_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

namespace {

struct ToolCase {
    const char* name;
    ByteString frame;
    std::string text;
    int cursor;
};

ByteString Tool(unsigned char control, const std::string& data) { return MakeFrame(control, 0xF2, data); }

const std::string kMac = "66 55 44 33 22 11 ";
const std::string kMacText = "MAC地址： 112233445566";
const std::string kModulation = "mm:       MM_8QAM\r\ncopy:     2\r\nfec:      FEC_RATE_16_21\r\n";
const std::string kPb = "pb amount:    10\r\npb type:  520pb块\r\n";

void ExpectDispatched(const std::vector<ToolCase>& cases) {
    for (const ToolCase& c : cases) {
        std::string text = ">";
        EXPECT_EQ(DispatchTestToolAnalyzer(c.frame, text), c.cursor) << c.name;
        EXPECT_EQ(text, ">" + c.text) << c.name;
    }
}

}  // namespace

TEST(TestToolAnalyzers, OffsetSubCodes) {
    const std::string sync = "频偏同步帧\r\n";
    const std::string read = "读取频偏帧\r\n";
    ExpectDispatched({
        {"00 request", Tool(kHost, "00" + kMac), sync + kMacText + "\r\n", 12},
        // 11 bytes: the address does not fit; 12: its last two bytes are the check bytes.
        {"00 cut", Hex("79 07 00 40 F2 00 66 55 44 33 22"), sync + kIncomplete, 6},
        {"00 12 bytes", Hex("79 07 00 40 F2 00 66 55 44 33 22 11"), sync + kMacText + "\r\n", 12},
        {"00 host abnormal", Tool(kHostAbnormal, "00"), sync + "频偏同步帧异常\r\n", 6},
        {"00 answer", Tool(kReply, "00"), sync + "频偏同步成功\r\n", 6},
        {"00 answer, L 2", Tool(kReply, "00 00"), sync + "\r\n", 6},
        {"00 abnormal", Tool(kAbnormal, "00 03"), sync + "异常状态为：   指令字无效\r\n\r\n", 6},
        {"00 abnormal, L 1", Tool(kAbnormal, "00"), sync + "频偏同步帧异常\r\n", 6},
        {"01 request", Tool(kHost, "01" + kMac), read + kMacText, 12},
        {"01 host abnormal", Tool(kHostAbnormal, "01"), read + "读取频偏帧异常", 6},
        {"01 answer", Tool(kReply, "01" + kMac + "32 01"), read + kMacText + "\r\n频偏：    (1.5)ppm\r\n", 12},
        {"01 answer, no offset", Tool(kReply, "01" + kMac + "7F 7F"), read + kMacText + "\r\n频偏：    频偏无效\r\n",
         12},
        {"01 answer cut", Hex("79 09 00 80 F2 01 66 55 44"), read + kIncomplete, 6},
        {"01 abnormal", Tool(kAbnormal, "01 02"), read + "异常状态为：   错误的长度\r\n", 6},
        {"01 abnormal, L 3", Tool(kAbnormal, "01 02 00"), read + "频偏同步帧异常", 6},
    });
}

TEST(TestToolAnalyzers, SendDataSubCodes) {
    const std::string request = "发送测试数据请求帧\r\n";
    const std::string reply = "发送测试数据应答帧\r\n";
    ExpectDispatched({
        {"02 request", Tool(kHost, "02" + kMac + "23 01 1A FF"),
         request + kMacText + "\r\n" + kModulation + kPb + "Rgain:        -1\r\n\r\n", 16},
        {"02 request, codes out of the tables", Tool(kHost, "02" + kMac + "30 03 E5 80"),
         request + kMacText + "\r\nmm:       出错\r\ncopy:     出错\r\nfec:      出错\r\n"
                               "pb amount:    5\r\npb type:  136pb块\r\nRgain:        -128\r\n\r\n",
         16},
        {"02 request cut", Hex("79 03 00 40 F2 02 66 55"), request + kIncomplete, 6},
        {"02 host abnormal", Tool(kHostAbnormal, "02"), request + "发送测试数据请求帧异常\r\n", 6},
        {"02 answer", Tool(kReply, "02"), request + "发送测试数据请求帧成功\r\n", 6},
        {"02 abnormal", Tool(kAbnormal, "02 01"), request + "发送测试数据请求帧异常状态为： 错误的数据单元\r\n\r\n", 6},
        {"02 abnormal, L 1", Tool(kAbnormal, "02"), request + "发送测试数据请求帧异常\r\n", 6},
        {"03 report", Tool(kReply, "03" + kMac + "23 01 1A 05"),
         reply + kMacText + "\r\n" + kModulation + kPb + "Rxgain:       5\r\n\r\n发送测试数据应答成功\r\n\r\n", 16},
        {"03 host", Tool(kHost, "03" + kMac), reply + "\r\n", 6},
        {"03 cut", Hex("79 03 00 80 F2 03 66 55"), reply + kIncomplete, 6},
        {"03 abnormal", Tool(kAbnormal, "03 03"), reply + "发送测试数据应答帧异常状态为： 指令字无效\r\n\r\n", 6},
        {"03 abnormal, L 1", Tool(kAbnormal, "03"), reply + "发送测试数据请求帧异常\r\n", 6},
    });
}

TEST(TestToolAnalyzers, GainAndModuleAddressSubCodes) {
    const std::string gain = "读取GAIN配置帧\r\n";
    const std::string get = "获取被测模块地址帧\r\n";
    const std::string clear = "删除被测模块地址帧\r\n";
    ExpectDispatched({
        {"04 request", Tool(kHost, "04"), gain + "读取GAIN配置\r\n", 6},
        {"04 request, L 2", Tool(kHost, "04 00"), gain + "读取GAIN配置出错\r\n", 6},
        {"04 host abnormal", Tool(kHostAbnormal, "04"), gain + "读取GAIN配置异常帧\r\n", 6},
        {"04 answer", Tool(kReply, "04 FF 7F"), gain + "rxgain:   -1\r\nTgain:    127\r\n\r\n", 8},
        {"04 answer cut", Hex("79 03 00 80 F2 04"), gain + "rxgain:   0\r\nTgain:    0\r\n\r\n", 8},
        {"04 abnormal", Tool(kAbnormal, "04 02"), gain + "读取GAIN设置异常码为： 错误的长度\r\n\r\n", 6},
        {"04 abnormal, L 1", Tool(kAbnormal, "04"), gain + "读取GAIN设置异常\r\n", 6},
        {"05 request", Tool(kHost, "05"), get + "获取被测模块地址请求\r\n\r\n", 6},
        {"05 request, L 2", Tool(kHost, "05 00"), get + "获取被测模块地址请求有误\r\n\r\n", 6},
        {"05 host abnormal", Tool(kHostAbnormal, "05"), get + "获取被测模块地址请求有误\r\n\r\n", 6},
        {"05 answer", Tool(kReply, "05 35 02" + kMac + "01 00 00 00 00 00"),
         get + "获取被测模块地址回复帧\r\n总帧数：  5:\r\n当前帧序号：  3\r\n节点个数：    2\r\n"
               "MAC地址1:112233445566\r\nMAC地址2:000000000001\r\n\r\n",
         20},
        // The count says three; what the frame lacks reads as zero.
        {"05 answer, count past the data", Tool(kReply, "05 11 03 66"),
         get + "获取被测模块地址回复帧\r\n总帧数：  1:\r\n当前帧序号：  1\r\n节点个数：    3\r\n" +
             "MAC地址1:00000007F566\r\nMAC地址2:000000000000\r\nMAC地址3:000000000000\r\n\r\n",
         26},
        {"05 abnormal", Tool(kAbnormal, "05 01"), get + "获取被测模块地址回复异常\r\n", 6},
        {"06 request", Tool(kHost, "06"), clear + "删除被测模块地址请求帧\r\n", 6},
        {"06 request, L 2", Tool(kHost, "06 00"), clear + "删除被测模块地址帧出错\r\n", 6},
        {"06 host abnormal", Tool(kHostAbnormal, "06"), clear + "删除被测模块地址请求异常\r\n", 6},
        {"06 answer", Tool(kReply, "06"), clear + "删除被测模块地址成功\r\n", 6},
        {"06 abnormal", Tool(kAbnormal, "06 01"), clear + "删除被测模块地址失败\r\n", 6},
        {"07 has no analyzer", Tool(kHost, "07 01 02"), "", 6},
        {"no bytes at all", ByteString(), "频偏同步帧\r\n" + std::string(kIncomplete), 6},
    });
}

TEST(TestToolAnalyzers, FrequencyOffsetInPpm) {
    const std::pair<uint16_t, const char*> cases[] = {{0x0132, "1.5"},  {0x01FE, "0.98"}, {0xFF32, "-0.5"},
                                                      {0xFFCE, "-1.5"}, {0x8000, "-128"}, {0x7F80, "125.72"}};
    for (const auto& c : cases) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", FrequencyOffsetToPpm(c.first));
        EXPECT_STREQ(text, c.second) << c.first;
    }
}

TEST(TestToolAnalyzers, EveryOffsetWordOfAReplyPrintsAsPercentG) {
    const std::string head = "读取频偏帧\r\n" + kMacText + "\r\n频偏：    ";
    for (unsigned word = 0; word <= 0xFFFF; ++word) {
        const auto w = static_cast<uint16_t>(word);
        char value[32] = "频偏无效";
        if (w != 0x7F7F) std::snprintf(value, sizeof value, "(%g)ppm", FrequencyOffsetToPpm(w));
        const ByteString data =
            Hex("01" + kMac) + ByteString{static_cast<unsigned char>(w), static_cast<unsigned char>(w >> 8)};
        std::string text;
        DispatchTestToolAnalyzer(MakeFrame(kReply, 0xF2, data), text);
        ASSERT_EQ(text, head + value + "\r\n") << word;
    }
}

TEST(TestToolAnalyzers, AnswerOfManyModulesListsEveryAddressInOrder) {
    std::string data = "05 21 28";
    std::string lines;
    for (int i = 1; i <= 40; ++i) {
        char mac[40];
        std::snprintf(mac, sizeof mac, " %02X 00 00 00 %02X 11", i, 0xA0 + i);
        data += mac;
        std::snprintf(mac, sizeof mac, "MAC地址%d:11%02X000000%02X\r\n", i, 0xA0 + i, i);
        lines += mac;
    }
    std::string text;
    EXPECT_EQ(DispatchTestToolAnalyzer(Tool(kReply, data), text), 8 + 40 * 6);
    EXPECT_EQ(text, "获取被测模块地址帧\r\n获取被测模块地址回复帧\r\n总帧数：  1:\r\n当前帧序号：  2\r\n节点个数：    40\r\n" +
                        lines + "\r\n");
}
