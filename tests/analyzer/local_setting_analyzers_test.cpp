// The local-setting analyzers that the dispatcher does not route, called directly.

#include <gtest/gtest.h>

#include "analyzer/local_analyzers.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

namespace {

struct Case {
    const char* name;
    int analyzer;  // 0 set multicast, 1 read multicast, 2 local tone
    ByteString frame;
    const char* text;
};

std::string Explained(int analyzer, const ByteString& frame) {
    std::string text;
    if (analyzer == 0) AnalyzeSetMulticastAddress(frame, text);
    if (analyzer == 1) AnalyzeReadMulticastAddress(frame, text);
    if (analyzer == 2) AnalyzeSetLocalTone(frame, text);
    return text;
}

TEST(LocalSettingAnalyzers, Texts) {
    const Case cases[] = {
        {"set request", 0, MakeFrame(kHost, 0x20, "01 34 12"), "设置组播地址帧\r\n组地址数目：  01\r\nGPID1: 1234\r\n\r\n"},
        {"set request wrong length", 0, MakeFrame(kHost, 0x20, "01 34 12 00 00"), "设置组播地址帧\r\n设置组播地址帧错误\r\n"},
        {"set reply", 0, MakeFrame(kReply, 0x20, ""), "设置组播地址帧\r\n设置组播地址成功\r\n"},
        {"set abnormal", 0, MakeFrame(kAbnormal, 0x20, "02"), "设置组播地址帧\r\n异常状态为：   错误的长度\r\n\r\n"},
        {"set abnormal wrong length", 0, MakeFrame(kAbnormal, 0x20, "02 00"), "设置组播地址帧\r\n回复帧错误\r\n"},
        {"read reply", 1, MakeFrame(kReply, 0x21, "02 34 12 78 56"),
         "读取组播地址帧\r\n组地址数目：  02\r\nGPID1: 1234\r\nGPID2: 5678\r\n\r\n"},
        {"read abnormal", 1, MakeFrame(kAbnormal, 0x21, "03"), "读取组播地址帧\r\n异常状态为：   指令字无效\r\n\r\n"},
        {"read request", 1, MakeFrame(kHost, 0x21, ""), "读取组播地址帧\r\n\r\n"},
        {"read request with data", 1, MakeFrame(kHost, 0x21, "01 02"), "读取组播地址帧\r\n读取组播地址帧错误\r\n"},
        {"read abnormal request", 1, MakeFrame(kHostAbnormal, 0x21, ""), "读取组播地址帧\r\n读取组播地址帧为异常帧\r\n"},
        {"tone 411", 2, MakeFrame(kHost, 0x20, "01 05"), "设置本地tone帧\r\n节点子载波数：    411tone\r\nTgain:    5\r\n"},
        {"tone 136 negative gain", 2, MakeFrame(kHost, 0x20, "00 FE"),
         "设置本地tone帧\r\n节点子载波数：    136tone\r\nTgain:    -2\r\n"},
        {"tone unknown count", 2, MakeFrame(kHost, 0x20, "02 E8"), "设置本地tone帧\r\n节点子载波数：    \r\nTgain:    -24\r\n"},
        {"tone short request", 2, MakeFrame(kHost, 0x20, "01"), "设置本地tone帧\r\n\r\n"},
        {"tone abnormal request", 2, MakeFrame(kHostAbnormal, 0x20, "01 05"), "设置本地tone帧\r\n设置帧出错\r\n"},
        {"tone success", 2, MakeFrame(kReply, 0x20, ""), "设置本地tone帧\r\n设置成功\r\n"},
        {"tone failure", 2, MakeFrame(kReply, 0x20, "01"), "设置本地tone帧\r\n设置失败\r\n"},
        {"tone abnormal", 2, MakeFrame(kAbnormal, 0x20, "00"), "设置本地tone帧\r\n设置本地TONE失败异常状态为：   错误的格式\r\n\r\n"},
        {"tone abnormal wrong length", 2, MakeFrame(kAbnormal, 0x20, "00 00"),
         "设置本地tone帧\r\n设置本地TONE失败异常回复帧错误\r\n"},
        // Cut frames: counts and fields past the end read as zero.
        {"read reply cut", 1, Hex("79 05 00 80 21 03 34"), "读取组播地址帧\r\n组地址数目：  03\r\nGPID1: 0034\r\nGPID2: 0000\r\nGPID3: 0000\r\n\r\n"},
        {"tone cut", 2, Hex("79 02 00 40 20"), "设置本地tone帧\r\n节点子载波数：    136tone\r\nTgain:    0\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Explained(c.analyzer, c.frame), c.text) << c.name;
    std::string text;
    EXPECT_EQ(AnalyzeSetLocalTone(MakeFrame(kHost, 0x20, "01 05"), text), 7);
}

}  // namespace
