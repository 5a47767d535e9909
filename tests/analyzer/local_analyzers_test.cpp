#include <gtest/gtest.h>

#include <vector>

#include "analyzer/analyzer.h"
#include "analyzer/version_text.h"
#include "analyzer_texts.h"
#include "test_frames.h"

using analyzer_texts::Header;
using analyzer_texts::kStatusNames;
using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

constexpr unsigned char kHost = 0x40;      // host, initiated
constexpr unsigned char kReply = 0x80;     // module, normal answer
constexpr unsigned char kAbnormal = 0xA0;  // module, abnormal answer

std::string Explain(const ByteString& frame) {
    std::string text;
    AnalyzeFrame(frame, text);
    return text;
}

// The body after the control-field block.
std::string Body(const ByteString& frame) {
    const std::string all = Explain(frame);
    const std::string head = Header(FrameByte(frame, 3));
    EXPECT_EQ(all.compare(0, head.size(), head), 0) << all;
    return all.substr(head.size());
}

class VersionRecorder : public VersionTextTarget {
public:
    VersionRecorder() { SetVersionTextTarget(this); }
    ~VersionRecorder() override { SetVersionTextTarget(nullptr); }
    void SetVersionText(std::string text) override { texts.push_back(std::move(text)); }
    std::vector<std::string> texts;
};

struct AbnormalCase {
    unsigned char code;
    const char* title;
    const char* prefix;      // before the status line
    const char* wrongLength; // text when L is not 1
};

const AbnormalCase kAbnormalCases[] = {
    {0x01, "模块重启帧", "设备重启失败", "设备重启失败回复帧错误"},
    {0x02, "读取版本帧", "", "回复帧错误"},
    {0x03, "读取MAC地址帧", "", "回复帧错误"},
    {0x06, "读取本地网络口令帧", "", "异常回复帧错误"},
    {0x07, "设置本地网络口令帧", "", ""},
    {0x0B, "读取通信地址帧", "", "回复帧错误"},
    {0x0C, "设置通信地址帧", "设置通信地址失败\n", "设置通信地址失败\n异常回复帧错误"},
    {0x0D, "读取网络参数帧", "", "回复帧错误"},
    {0x0E, "设置网络参数帧", "设置网络参数失败\n", "设置网络参数失败\n异常回复帧错误"},
};

}  // namespace

TEST(LocalAnalyzers, AbnormalReplyForEveryStatus) {
    for (const AbnormalCase& c : kAbnormalCases) {
        for (int s = 0; s <= 7; ++s) {
            const unsigned char status = s == 7 ? 0xFF : static_cast<unsigned char>(s);
            const ByteString frame = MakeFrame(kAbnormal, c.code, ByteString(1, status));
            const std::string expected = std::string(c.title) + "\r\n" + c.prefix + "异常状态为：   " +
                                         kStatusNames[s < 6 ? s : 6] + "\r\n\r\n";
            EXPECT_EQ(Body(frame), expected) << int(c.code) << " status " << s;
        }
        const ByteString twoBytes = MakeFrame(kAbnormal, c.code, "03 00");
        EXPECT_EQ(Body(twoBytes), std::string(c.title) + "\r\n" + c.wrongLength + "\r\n") << int(c.code);
    }
}

TEST(LocalAnalyzers, Restart) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x01, "")), "模块重启帧\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x01, "00")), "模块重启帧\r\n模块启动帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x01, "00 01")), "模块重启帧\r\n重启结果: 重启失败\r\n失败原因: 升级中\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x01, "00 05")), "模块重启帧\r\n重启结果: 重启失败\r\n失败原因: 保留\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x01, "01 00")), "模块重启帧\r\n重启结果: 重启成功\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x01, "02")), "模块重启帧\r\n重启结果: 出错\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kAbnormal, 0x01, "02")), "模块重启帧\r\n设备重启失败异常状态为：   错误的长度\r\n\r\n");
    // Truncated: the header alone; the missing result reads as 0.
    EXPECT_EQ(Body(Hex("79 02 00 80 01")), "模块重启帧\r\n重启结果: 重启失败\r\n失败原因: 保留\r\n\r\n");
}

TEST(LocalAnalyzers, VersionReplyShowsTheVersion) {
    VersionRecorder rec;
    EXPECT_EQ(Body(MakeFrame(kReply, 0x02, "56 51 34 12 01 03 02")),
              "读取版本帧\r\n"
              "厂商标识： QV\r\n"
              "芯片类型: 1234\r\n"
              "产品信息: 01\r\n"
              "版本信息： 02-03\r\n"
              "\r\n");
    ASSERT_EQ(rec.texts.size(), 1u);
    EXPECT_EQ(rec.texts[0], "版本号:QV-1234-01-02-03");

    EXPECT_EQ(Body(MakeFrame(kReply, 0x02, "51 56 AB CD EF 10 20")),
              "读取版本帧\r\n厂商标识： 其他厂商\r\n芯片类型: CDAB\r\n产品信息: EF\r\n版本信息： 20-10\r\n\r\n");
    ASSERT_EQ(rec.texts.size(), 2u);
    EXPECT_EQ(rec.texts[1], "版本号:未知-CDAB-EF-20-10");
}

TEST(LocalAnalyzers, VersionRequestsAndBadReplies) {
    VersionRecorder rec;
    EXPECT_EQ(Body(MakeFrame(kHost, 0x02, "")), "读取版本帧\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x02, "01")), "读取版本帧\r\n读取版本请求帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x02, "56 51 34 12 01 03")), "读取版本帧\r\n回复帧错误\r\n");
    // Truncated: L says 7 but the bytes stop early; explained with zeros, label untouched.
    EXPECT_EQ(Body(Hex("79 07 00 80 02 56 51 34")),
              "读取版本帧\r\n厂商标识： QV\r\n芯片类型: 0034\r\n产品信息: 00\r\n版本信息： 00-00\r\n\r\n");
    EXPECT_TRUE(rec.texts.empty());
}

TEST(LocalAnalyzers, MacAndCommAddress) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x03, "")), "读取MAC地址帧\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x03, "00")), "读取MAC地址帧\r\n读取MAC地址帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x03, "01 02 03 04 05")), "读取MAC地址帧\r\n回复帧错误\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x0B, "")), "读取通信地址帧\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x0B, "12")), "读取通信地址帧\r\n读取通信地址帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x0B, "66 55 44 33 22 11")), "读取通信地址帧\r\n通信地址：    112233445566\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x0B, "")), "读取通信地址帧\r\n回复帧错误\r\n\r\n");
    // Truncated: L 6 but three data bytes and no checks.
    EXPECT_EQ(Body(Hex("79 06 00 80 03 01 02 03")), "读取MAC地址帧\r\nMAC地址： 000000030201\r\n\r\n");
}

TEST(LocalAnalyzers, SetCommAddress) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x0C, "06 05 04 03 02 01")), "设置通信地址帧\r\nDST Addr: 010203040506\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(0x00, 0x0C, "06 05 04 03 02 01")), "设置通信地址帧\r\nDST Addr: 010203040506\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x0C, "06 05 04 03 02")), "设置通信地址帧\r\nError : 报文不完整\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x0C, "")), "设置通信地址帧\r\n设置通信地址成功\r\n");
    std::string text;
    EXPECT_EQ(AnalyzeSetCommAddress(Hex("79 00 00 80 0C"), text), -1);
    EXPECT_EQ(text, "设置通信地址帧\r\n\r\nError:报文不完整\r\n");
    text.clear();
    EXPECT_EQ(AnalyzeSetCommAddress(MakeFrame(kReply, 0x0C, ""), text), 5);
}

TEST(LocalAnalyzers, NetworkParams) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x0D, "")), "读取网络参数帧\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x0D, "00")), "读取网络参数帧\r\n读取网络参数帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x0D, "03 A0 21 00 00 00 00")),
              "读取网络参数帧\r\n"
              "透传层级限制: 3\r\n"
              "串口参数: 115200,8, None, 1\r\n"
              "载波参数: 411子载波, 2 档发送功率\r\n"
              "\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x0D, "FF BB 4F 00 00 00 00")),
              "读取网络参数帧\r\n"
              "透传层级限制: 15\r\n"
              "串口参数: Unknown,8, Odd, Unknown\r\n"
              "载波参数: Unknown, Unknown\r\n"
              "\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x0D, "00 4D 30 00 00 00 00")),
              "读取网络参数帧\r\n透传层级限制: 0\r\n串口参数: 9600,Unknown, 2\r\n载波参数: 131子载波, 3 档发送功率\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x0D, "03 A0")), "读取网络参数帧\r\n回复帧错误\r\n\r\n");
    // Truncated: L 7, only d0 present.
    EXPECT_EQ(Body(Hex("79 07 00 80 0D 05")),
              "读取网络参数帧\r\n透传层级限制: 5\r\n串口参数: 600,8, None, 1\r\n载波参数: 131子载波, 0 档发送功率\r\n\r\n");
}

TEST(LocalAnalyzers, SetNetworkParams) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x0E, "01 02 03 04 05 06 07")), "设置网络参数帧\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(0x60, 0x0E, "01")), "设置网络参数帧\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x0E, "")), "设置网络参数帧\r\n设置网络参数成功\r\n");
    std::string text;
    EXPECT_EQ(AnalyzeSetNetworkParams(Hex("79 00 00 80 0E"), text), -1);
    EXPECT_EQ(text, "设置网络参数帧\r\n\r\nError:报文不完整\r\n");
}

TEST(LocalAnalyzers, ReadLocalPassword) {
    EXPECT_EQ(Body(MakeFrame(kHost, 0x06, "")), "读取本地网络口令帧\r\n读取本地口令帧\r\n");
    EXPECT_EQ(Body(MakeFrame(kHost, 0x06, "00")), "读取本地网络口令帧\r\n读取本地口令帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(0x60, 0x06, "")), "读取本地网络口令帧\r\n读取本地口令帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x06, "00")), "读取本地网络口令帧\r\n口令结果：     无口令\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x06, "05")), "读取本地网络口令帧\r\n口令结果：    回复帧错误\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x06, "08 31 32 33 34 35 36 37 38")),
              "读取本地网络口令帧\r\n用户口令长度: 8\r\n用户口令：12345678(0x3132333435363738)\r\n\r\n");
    // A zero byte adds no character; GBK bytes become their character.
    EXPECT_EQ(Body(MakeFrame(kReply, 0x06, "09 41 00 42 BF DA 31 32 33 34")),
              "读取本地网络口令帧\r\n用户口令长度: 9\r\n用户口令：AB口1234(0x410042BFDA31323334)\r\n\r\n");
    // Truncated: L 9 but the characters stop early; missing bytes read as zero.
    EXPECT_EQ(Body(Hex("79 09 00 80 06 03 41")),
              "读取本地网络口令帧\r\n用户口令长度: 3\r\n用户口令：A(0x410000)\r\n\r\n");
}

TEST(LocalAnalyzers, SetLocalPassword) {
    EXPECT_EQ(Body(MakeFrame(0x00, 0x07, "06 61 62 63 64 65 66")),
              "设置本地网络口令帧\r\n用户口令长度: 6\r\n该操作为清除操作！\r\n用户口令：abcdef(0x616263646566)\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(0x00, 0x07, "08 61 62 63 64 65 66 67 68")),
              "设置本地网络口令帧\r\n用户口令长度: 8\r\n用户口令：abcdefgh(0x6162636465666768)\r\n\r\n");
    EXPECT_EQ(Body(MakeFrame(kReply, 0x07, "")), "设置本地网络口令帧\r\n设置本地网络口令成功\r\n");
    EXPECT_EQ(Body(MakeFrame(0x20, 0x07, "01")), "设置本地网络口令帧\r\n\r\n");
    // Truncated: the length byte says 4, one character is there.
    EXPECT_EQ(Body(Hex("79 05 00 00 07 04 7A")),
              "设置本地网络口令帧\r\n用户口令长度: 4\r\n该操作为清除操作！\r\n用户口令：z(0x7A000000)\r\n\r\n");
}

TEST(LocalAnalyzers, ArbitraryShortFramesAreSafe) {
    for (unsigned char code : {0x01, 0x02, 0x03, 0x06, 0x07, 0x0B, 0x0C, 0x0D, 0x0E}) {
        for (unsigned char control : {0x00, 0x20, 0x40, 0x80, 0xA0, 0xFF}) {
            for (size_t len = 0; len <= 6; ++len) {
                ByteString frame = Hex("79 FF FF");
                frame.push_back(control);
                frame.push_back(code);
                frame.resize(len);
                std::string text;
                AnalyzeFrame(frame, text);
                EXPECT_FALSE(text.empty());
            }
        }
    }
}
