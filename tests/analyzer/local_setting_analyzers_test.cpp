// The local-setting analyzers that the dispatcher does not route, called directly.

#include <gtest/gtest.h>

#include "analyzer/local_analyzers.h"
#include "analyzer_explain.h"
#include "platform/text_format.h"

using namespace analyzer_texts;

namespace {

struct Case {
    const char* name;
    int analyzer;  // 0 set multicast, 1 read multicast, 2 local tone, 3 set password, 4 set MAC
    ByteString frame;
    const char* text;
};

std::string Explained(int analyzer, const ByteString& frame) {
    std::string text;
    if (analyzer == 0) AnalyzeSetMulticastAddress(frame, text);
    if (analyzer == 1) AnalyzeReadMulticastAddress(frame, text);
    if (analyzer == 2) AnalyzeSetLocalTone(frame, text);
    if (analyzer == 3) AnalyzeSetPassword(frame, text);
    if (analyzer == 4) AnalyzeSetLocalMacAddress(frame, text);
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
        {"password key", 3, MakeFrame(kReply, 0x08, "03 AA BB CC"), "设置口令帧\r\nPAKLEN:        3\r\nPSK:      CCBBAA\r\n"},
        {"password wrong length", 3, MakeFrame(kAbnormal, 0x08, "03 AA BB CC DD"), "设置口令帧\r\nPAKLEN:        3\r\n帧错误\r\n"},
        {"password short", 3, MakeFrame(kReply, 0x08, "03"), "设置口令帧\r\n回复帧错误\r\n"},
        {"password host status", 3, MakeFrame(kHostAbnormal, 0x08, "01"), "设置口令帧\r\n状态为：   错误的数据单元\r\n\r\n"},
        {"password host wrong length", 3, MakeFrame(kHost, 0x08, "01 02"), "设置口令帧\r\n回复帧错误\r\n"},
        {"mac request", 4, MakeFrame(kHost, 0x04, "F6 E5 D4 C3 B2 A1"), "设置本地MAC地址帧\r\nDST Addr: A1B2C3D4E5F6\r\n\r\n\r\n"},
        {"mac abnormal request", 4, MakeFrame(kHostAbnormal, 0x04, "F6 E5 D4 C3 B2 A1"), "设置本地MAC地址帧\r\n\r\n"},
        {"mac abnormal", 4, MakeFrame(kAbnormal, 0x04, "02"), "设置本地MAC地址帧\r\n设置本地MAC地址失败异常状态为：   错误的长度\r\n\r\n"},
        {"mac abnormal wrong length", 4, MakeFrame(kAbnormal, 0x04, ""), "设置本地MAC地址帧\r\n设置本地MAC地址失败异常回复帧错误\r\n"},
        // Eleven bytes: the check bytes read as the address's first two.
        {"mac reply", 4, MakeFrame(kReply, 0x04, "01 02 03 04"), "设置本地MAC地址帧\r\nSRC Addr: 849204030201\r\n\r\n\r\n设置本地MAC地址成功\r\n"},
        {"mac reply of ten bytes", 4, MakeFrame(kReply, 0x04, "01 02 03"), "设置本地MAC地址帧\r\n\r\nError:报文不完整\r\n"},
        {"tone cut", 2, Hex("79 02 00 40 20"), "设置本地tone帧\r\n节点子载波数：    136tone\r\nTgain:    0\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Explained(c.analyzer, c.frame), c.text) << c.name;
    std::string text;
    EXPECT_EQ(AnalyzeSetLocalTone(MakeFrame(kHost, 0x20, "01 05"), text), 7);
    EXPECT_EQ(AnalyzeSetLocalMacAddress(MakeFrame(kReply, 0x04, "01 02 03"), text), -1);
    EXPECT_EQ(AnalyzeSetLocalMacAddress(MakeFrame(kReply, 0x04, "01 02 03 04"), text), 11);
}

// A key longer than the text gathers at once, and a key the frame's end cuts (zeros in its place).
TEST(LocalSettingAnalyzers, LongAndCutKeys) {
    ByteString key;
    std::string hex;
    for (int i = 0; i < 255; ++i) key += static_cast<unsigned char>(i);
    for (int i = 254; i >= 0; --i) hex += StrFormat("%02X", i);
    EXPECT_EQ(Explained(3, MakeFrame(kReply, 0x08, ByteString{255} + key)),
              "设置口令帧\r\nPAKLEN:        255\r\nPSK:      " + hex + "\r\n");
    EXPECT_EQ(Explained(3, Hex("79 04 00 80 08 03 AA BB")), "设置口令帧\r\nPAKLEN:        3\r\nPSK:      00BBAA\r\n");
}

}  // namespace
