// Smart-monitor and reset-information frames through their dispatchers: per sub-code a request,
// a reply, abnormal replies and a cut frame, with the exact text; the descrambling they switch.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyzer/monitor_reset_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

namespace {

class FlagSink : public AnalyzerSink {
public:
    void SetDescramble(bool on) override { flags += on ? '1' : '0'; }
    std::string flags;
};

ByteString Reset(unsigned char control, const std::string& data) { return MakeFrame(control, 0xF4, data); }

const std::string kMac = "66 55 44 33 22 11 ";
const std::string kMacText = "MAC地址： 112233445566";
const std::string kCounters = "02 01 00 00 03 00 00 00 00 00 00 00 01 00 00 00 FF FF FF FF";
const std::string kCounterText =
    "复位标志: 0x00000102\r\n软件复位次数: 3\r\n看门狗复位次数:   0\r\n掉电复位次数: 1\r\n外部复位次数: 4294967295\r\n";

}  // namespace

TEST(SmartMonitorAnalyzers, EachFrameItsLineAndTheModeItLeaves) {
    const struct {
        const char* name;
        ByteString frame;
        std::string text;
        const char* flags;
    } cases[] = {
        {"on request", MakeFrame(kHost, 0xF3, "01"), "开启智能监控模式请求帧\r\n", ""},
        {"on host abnormal", MakeFrame(kHostAbnormal, 0xF3, "01"), "开启智能监控模式异常请求\r\n", ""},
        {"on answer", MakeFrame(kReply, 0xF3, "01"), "开启智能监控模式成功\r\n", "1"},
        {"on answer, L 2", MakeFrame(kReply, 0xF3, "01 00"), "开启智能监控模式异常\r\n", "0"},
        {"on abnormal", MakeFrame(kAbnormal, 0xF3, "01"), "开启智能监控模式异常\r\n", "0"},
        {"off request", MakeFrame(kHost, 0xF3, "00"), "关闭智能监控模式请求帧\r\n", ""},
        {"off host abnormal", MakeFrame(kHostAbnormal, 0xF3, "00"), "关闭智能监控模式异常请求\r\n", ""},
        {"off answer", MakeFrame(kReply, 0xF3, "00"), "关闭智能监控模式成功\r\n", "0"},
        {"off answer, L 2", MakeFrame(kReply, 0xF3, "00 00"), "关闭智能监控模式异常\r\n", "1"},
        {"off abnormal", MakeFrame(kAbnormal, 0xF3, "00"), "关闭智能监控模式异常\r\n", "1"},
        {"sub-code 2", MakeFrame(kReply, 0xF3, "02"), "", ""},
    };
    for (const auto& c : cases) {
        FlagSink sink;
        std::string text = ">";
        EXPECT_EQ(DispatchSmartMonitorAnalyzer(c.frame, text, sink), 6) << c.name;
        EXPECT_EQ(text, ">" + c.text) << c.name;
        EXPECT_EQ(sink.flags, c.flags) << c.name;
    }
}

TEST(ResetInfoAnalyzers, EachSubCodeItsLines) {
    const std::string readRemote = "读取远程复位信息请求\r\n";
    const std::string clearRemote = "清除远程复位信息请求\r\n";
    const struct {
        const char* name;
        ByteString frame;
        std::string text;
        int cursor;
    } cases[] = {
        {"no sub-code", Hex("79 00 00 40 F4"), kIncomplete, -1},
        {"00 request", Reset(kHost, "00"), "读取本地复位信息请求\r\n", 6},
        {"00 request, L 2", Reset(kHost, "00 00"), "读取本地复位信息请求错误\r\n", 6},
        {"00 host abnormal", Reset(kHostAbnormal, "00"), "读取本地复位信息请求错误\r\n", 6},
        {"00 answer", Reset(kReply, "00 " + kCounters), "读取本地复位信息回复\r\n" + kCounterText + "\r\n", 26},
        {"00 answer, L 20", Reset(kReply, "00 " + kCounters.substr(0, kCounters.size() - 3)),
         "读取本地复位信息回复错误\r\n", 6},
        // L says 21; what the frame lacks reads as zero.
        {"00 answer cut", Hex("79 15 00 80 F4 00 02 01"),
         "读取本地复位信息回复\r\n复位标志: 0x00000102\r\n软件复位次数: 0\r\n看门狗复位次数:   0\r\n"
         "掉电复位次数: 0\r\n外部复位次数: 0\r\n\r\n",
         26},
        {"00 abnormal", Reset(kAbnormal, "00 01"), "读取本地复位信息回复异常帧\r\n", 6},
        {"01 request", Reset(kHost, "01"), "清除本地复位信息请求\r\n", 6},
        {"01 request, L 2", Reset(kHost, "01 00"), "清除本地复位信息请求错误\r\n", 6},
        {"01 host abnormal", Reset(kHostAbnormal, "01"), "清除本地复位信息请求错误\r\n", 6},
        {"01 answer", Reset(kReply, "01"), "清除本地复位信息成功\r\n", 6},
        {"01 answer, L 2", Reset(kReply, "01 00"), "清除本地复位信息失败\r\n", 6},
        {"01 abnormal", Reset(kAbnormal, "01 02"), "清除本地复位信息异常回复\r\n", 6},
        {"02 request", Reset(kHost, "02 00" + kMac),
         readRemote + "组播标志：    非组播\r\n" + kMacText + "\r\n", 7},
        {"02 request, multicast", Reset(kHost, "02 01 34 12" + kMac),
         readRemote + "组播标志：    组播\r\n组播地址：    1234\r\n" + kMacText + "\r\n", 9},
        // L 8 does not cover the group address: the device address runs into the check bytes.
        {"02 request, L 8, multicast", Reset(kHost, "02 01" + kMac),
         readRemote + "组播标志：    组播\r\n组播地址：    5566\r\nMAC地址： C8A411223344\r\n", 9},
        {"02 request, L 7", Reset(kHost, "02 00 66 55 44 33 22"), "读取远程复位信息请求错误\r\n", 6},
        {"02 host abnormal", Reset(kHostAbnormal, "02 00" + kMac), "读取远程复位信息请求异常\r\n", 6},
        {"02 answer", Reset(kReply, "02 " + kMac + kCounters),
         "远程读取复位信息回复成功\r\n" + kMacText + "\r\n" + kCounterText + "\r\n", 32},
        {"02 answer, L 7", Reset(kReply, "02 " + kMac), "远程读取复位信息回复异常\r\n", 6},
        {"02 abnormal", Reset(kAbnormal, "02 01"), "远程读取复位信息回复异常\r\n", 6},
        {"03 request", Reset(kHost, "03 00" + kMac), clearRemote + "组播标志：    非组播\r\n" + kMacText + "\r\n\r\n", 7},
        {"03 request, L 7", Reset(kHost, "03 00 66 55 44 33 22"), "\r\n\r\n", 6},
        {"03 host abnormal", Reset(kHostAbnormal, "03"), "清除远程复位信息请求异常\r\n\r\n", 6},
        {"03 answer", Reset(kReply, "03 " + kMac), "清除远程复位信息回复成功\r\n" + kMacText + "\r\n\r\n", 12},
        {"03 answer, L 1", Reset(kReply, "03"), "清除远程复位信息失败\r\n\r\n", 6},
        {"03 abnormal", Reset(kAbnormal, "03 01"), "清除远程复位回复异常\r\n\r\n", 6},
        {"04 has no analyzer", Reset(kHost, "04"), "", 6},
    };
    for (const auto& c : cases) {
        std::string text = ">";
        EXPECT_EQ(DispatchResetInfoAnalyzer(c.frame, text), c.cursor) << c.name;
        EXPECT_EQ(text, ">" + c.text) << c.name;
    }
}
