// The remote multicast-group setting analyzers, called directly: the dispatcher routes none.

#include <gtest/gtest.h>

#include "analyzer/remote_multicast_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

namespace {

const std::string kWord33 =
    "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    TRM5281/82 MAC地址\r\n";
const std::string kUnicast = "组播标志：    非组播\r\n";
const std::string kMulticast = "组播标志：    组播\r\n组播地址：    ABCD\r\n";
const std::string kDst = "DST ADDR: 112233445566\r\n";
const std::string kTwoGroups = "组地址数目：  02\r\nGPID1: 1234\r\nGPID2: 5678\r\n";
// Source 4, target 3, depth 5, multicast: the report word 34 15.
const std::string kReportWord =
    "Src 设备模式：    TRM5207 MAC地址\r\n目标设备模式：    TRM5281/82 MAC地址\r\nDepth:    5\r\n"
    "组播标志：    组播\r\n组播地址：    ABCD\r\n";
const std::string kAddress = " 66 55 44 33 22 11";
const std::string kGroups = " 02 34 12 78 56";

TEST(RemoteMulticastAnalyzers, Request) {
    ExpectResults(AnalyzeRemoteSetMulticastRequest, {
        {"request", MakeFrame(kHost, 0x25, "33 00" + kAddress + kGroups), kWord33 + kUnicast + kDst + kTwoGroups + "\r\n", true},
        {"multicast request", MakeFrame(kHost, 0x25, "33 01 CD AB" + kAddress + kGroups),
         kWord33 + kMulticast + kDst + kTwoGroups + "\r\n", true},
        {"modes out of table, bits 9-15 unread", MakeFrame(kHost, 0x25, "F6 FE" + kAddress + " 00"),
         "Src 设备模式：    出错\r\n目标设备模式：    出错\r\n" + kUnicast + kDst + "组地址数目：  00\r\n\r\n", true},
        {"groups past the frame read as zero", Hex("79 0B 00 40 25 33 00" + kAddress + " 03 34 12"),
         kWord33 + kUnicast + kDst + "组地址数目：  03\r\nGPID1: 1234\r\nGPID2: 0000\r\nGPID3: 0000\r\n\r\n", true},
        {"success", MakeFrame(kReply, 0x25, ""), "远程设置组播地址成功\r\n", true},
        {"answer with data", MakeFrame(kReply, 0x25, "00"), "\r\n", true},
        {"abnormal", MakeFrame(kAbnormal, 0x25, "03"), "远程设置组播地址请求异常回复帧\r\n", true},
        {"abnormal from the host", MakeFrame(kHostAbnormal, 0x25, "33 00" + kAddress + kGroups), "\r\n", true},
        {"address cut", MakeFrame(kHost, 0x25, "33 00 66 55 44"), kWord33 + kUnicast + "DST ADDR: " + kIncomplete, false},
        // The multicast address is read without a test; the address after it is tested.
        {"multicast address cut", Hex("79 03 00 40 25 33 01 CD"),
         kWord33 + "组播标志：    组播\r\n组播地址：    00CD\r\nDST ADDR: " + kIncomplete, false},
        {"five bytes", Hex("79 00 00 40 25"), kIncomplete, true},
        {"empty", ByteString(), kIncomplete, true},
    });
}

TEST(RemoteMulticastAnalyzers, Reply) {
    ExpectResults(AnalyzeRemoteSetMulticastReply, {
        {"reply", MakeFrame(kHost, 0x27, "33 00" + kAddress + " 01"), kWord33 + kUnicast + kDst + "状态：        修改成功\r\n\r\n", true},
        {"result out of table", MakeFrame(kHost, 0x27, "33 00" + kAddress + " 02"), kWord33 + kUnicast + kDst + "状态：        \r\n\r\n", true},
        // The address takes the two check bytes; the result past the frame reads as zero.
        {"address on the check bytes", Hex("79 06 00 40 27 33 00 01 02 03 04 AA 56"),
         kWord33 + kUnicast + "DST ADDR: 56AA04030201\r\n状态：        修改失败\r\n\r\n", true},
        {"success", MakeFrame(kReply, 0x27, ""), "远程设置组播地址回复成功\r\n", true},
        {"answer with data", MakeFrame(kReply, 0x27, "01"), "\r\n", true},
        {"abnormal", MakeFrame(kAbnormal, 0x27, "02"), "远程设置组播地址回复异常回复帧\r\n", true},
        {"abnormal from the host", MakeFrame(kHostAbnormal, 0x27, ""), "\r\n", true},
        {"address cut", MakeFrame(kHost, 0x27, "33 00 66 55 44"), kWord33 + kUnicast + "DST ADDR: " + kIncomplete, false},
        {"five bytes", Hex("79 09 00 40 27"), kIncomplete, true},
    });
}

TEST(RemoteMulticastAnalyzers, RequestReport) {
    ExpectResults(AnalyzeRemoteSetMulticastRequestReport, {
        {"report", MakeFrame(kReply, 0x26, "34 15 CD AB" + kAddress + " 01" + kGroups),
         kReportWord + kDst + "状态：        修改成功\r\n" + kTwoGroups + "\r\n", true},
        {"unicast report", MakeFrame(kReply, 0x26, "34 05" + kAddress + " 00 00"),
         "Src 设备模式：    TRM5207 MAC地址\r\n目标设备模式：    TRM5281/82 MAC地址\r\nDepth:    5\r\n" + kUnicast + kDst +
             "状态：        修改失败\r\n组地址数目：  00\r\n\r\n", true},
        {"success", MakeFrame(kHost, 0x26, ""), "远程设置组播地址请求上报成功\r\n", true},
        {"answer with data", MakeFrame(kHost, 0x26, "01"), "\r\n", true},
        {"abnormal", MakeFrame(kHostAbnormal, 0x26, "01"), "远程设置组播地址请求上报异常\r\n", true},
        {"abnormal from the module", MakeFrame(kAbnormal, 0x26, "34 15"), "\r\n", true},
        {"address cut", MakeFrame(kReply, 0x26, "34 15 CD AB 66 55"), kReportWord + "DST ADDR: " + kIncomplete, false},
        {"five bytes", Hex("79 0C 00 80 26"), kIncomplete, true},
    });
}

TEST(RemoteMulticastAnalyzers, ReplyReport) {
    ExpectResults(AnalyzeRemoteSetMulticastReplyReport, {
        {"report", MakeFrame(kReply, 0x28, "34 15 CD AB" + kAddress + " 01"),
         kReportWord + kDst + "状态：        修改成功\r\n\r\n", true},
        // Depth 15, modes out of table, bits 13-15 unread.
        {"fields at their limits", MakeFrame(kReply, 0x28, "F6 EF" + kAddress + " 07"),
         "Src 设备模式：    出错\r\n目标设备模式：    出错\r\nDepth:    15\r\n" + kUnicast + kDst + "状态：        \r\n\r\n", true},
        {"address on the check bytes", Hex("79 06 00 80 28 34 05 01 02 03 04 F1 9B"),
         "Src 设备模式：    TRM5207 MAC地址\r\n目标设备模式：    TRM5281/82 MAC地址\r\nDepth:    5\r\n" + kUnicast +
             "DST ADDR: 9BF104030201\r\n状态：        修改失败\r\n\r\n", true},
        {"success", MakeFrame(kHost, 0x28, ""), "远程设置组播地址回复上报成功\r\n", true},
        {"answer with data", MakeFrame(kHost, 0x28, "00 00"), "\r\n", true},
        {"abnormal", MakeFrame(kHostAbnormal, 0x28, ""), "远程设置组播地址回复上报异常\r\n", true},
        {"address cut", MakeFrame(kReply, 0x28, "34 05 66 55 44"),
         "Src 设备模式：    TRM5207 MAC地址\r\n目标设备模式：    TRM5281/82 MAC地址\r\nDepth:    5\r\n" + kUnicast +
             "DST ADDR: " + kIncomplete, false},
        {"five bytes", Hex("79 0A 00 80 28"), kIncomplete, true},
        // A frame too short for its control byte reads as a host's: the answer branch.
        {"empty", ByteString(), "远程设置组播地址回复上报成功\r\n", true},
    });
}

TEST(RemoteMulticastAnalyzers, WordsUnpacked) {
    std::string text;
    MulticastRequestFields request;
    EXPECT_TRUE(PrintMulticastRequestWord(0xFF53, text, &request));
    EXPECT_EQ(text, "Src 设备模式：    TRM5281/82 MAC地址\r\n目标设备模式：    Bluetooth MAC地址\r\n组播标志：    组播\r\n");
    EXPECT_EQ(request.sourceMode, 3);
    EXPECT_EQ(request.targetMode, 5);
    EXPECT_EQ(request.multicastFlag, 1);

    text.clear();
    MulticastReportFields report;
    PrintMulticastReportWord(0xE912, text, &report);
    EXPECT_EQ(text, "Src 设备模式：    云服务器\r\n目标设备模式：    网关\r\nDepth:    9\r\n组播标志：    非组播\r\n");
    EXPECT_EQ(report.sourceMode, 2);
    EXPECT_EQ(report.targetMode, 1);
    EXPECT_EQ(report.depth, 9);
    EXPECT_EQ(report.multicastFlag, 0);
}

TEST(RemoteMulticastAnalyzers, UpgradeBinType) {
    const struct {
        uint8_t value;
        const char* name;
    } cases[] = {{0, "升级boot"},         {1, "升级分层编译固件"},   {2, "升级分开编译上层应用"},
                 {3, "升级非分层编译程序"}, {4, "升级类型出错"},     {0xFF, "升级类型出错"}};
    for (const auto& c : cases) {
        std::string text = ">";
        PrintUpgradeBinType(c.value, text);
        EXPECT_EQ(text, std::string(">升级Bin类型： ") + c.name + "\r\n") << int(c.value);
    }
}

TEST(RemoteMulticastAnalyzers, NotDispatched) {
    ExpectBodies({
        {"request", MakeFrame(kHost, 0x25, "33 00" + kAddress + kGroups), "无效的命令字"},
        {"report", MakeFrame(kReply, 0x26, "03"), "指令无效\n异常状态为：   指令字无效\r\n"},
        {"reply answer", MakeFrame(kReply, 0x27, "00"), "指令无效\n异常状态为：   错误的格式\r\n"},
        {"reply report", MakeFrame(kHost, 0x28, ""), "无效的命令字"},
    });
}

}  // namespace
