// The bounded reader, the printers that read through it, and the code tables' lookups.

#include "analyzer/frame_reader.h"

#include <gtest/gtest.h>

#include "analyzer/field_printers.h"
#include "analyzer/remote_password_analyzers.h"
#include "analyzer/search_analyzers.h"
#include "link/field_tables.h"
#include "platform/text_format.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

TEST(FrameReader, ReportsTheFirstFieldPastTheEndOnce) {
    const ByteString frame = Hex("79 03 00 80 15 34 12 AB");
    std::string text = "x";
    FrameReader in(frame, text);
    EXPECT_EQ(in.Remaining(), 3u);
    EXPECT_EQ(in.Word16(), 0x1234);
    EXPECT_EQ(in.Bytes(2), ByteString());  // one byte is left
    EXPECT_FALSE(in.ok());
    EXPECT_EQ(in.Position(), 7);
    EXPECT_EQ(in.Word16(), 0);
    EXPECT_FALSE(in.Need(3));
    EXPECT_EQ(text, std::string("x") + kIncomplete);
    // A field that fits is still read after a failure.
    EXPECT_EQ(in.Byte(), 0xAB);
    EXPECT_TRUE(in.Need(0));  // an empty field right at the end fits
    EXPECT_EQ(in.Byte(), 0);
    EXPECT_EQ(in.Position(), 8);
    EXPECT_EQ(text, std::string("x") + kIncomplete);
}

TEST(FrameReader, OrZeroReadsMoveAndNeverReport) {
    const ByteString frame = Hex("79 03 00 80 15 34 12");
    std::string text;
    FrameReader in(frame, text, 6);
    EXPECT_EQ(in.Word16OrZero(), 0x0012);
    EXPECT_EQ(in.ByteOrZero(), 0);
    EXPECT_EQ(in.BytesOrZero(3), ByteString(3, 0));
    in.Advance(4);
    EXPECT_EQ(in.Position(), 16);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_TRUE(in.ok());
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(in.Need(0));  // past the end even an empty field does not fit
    EXPECT_EQ(text, kIncomplete);
    FrameReader across(frame, text, 5);
    EXPECT_EQ(across.BytesOrZero(4), Hex("34 12 00 00"));
    EXPECT_EQ(across.Position(), 9);
}

TEST(FieldPrinters, ReadFieldsFromTheReader) {
    using Printer = bool (*)(FrameReader&, std::string&);
    const Printer groups = [](FrameReader& in, std::string& t) { return PrintGroupIdList(in, t), true; };
    const Printer reversed = [](FrameReader& in, std::string& t) { return PrintReversedBytes(in, t, 3), true; };
    const struct {
        const char* name;
        Printer print;
        ByteString frame;
        long long start;
        std::string text;
        bool printed;
        int position;
    } cases[] = {
        // The bound is the whole frame, the check bytes included.
        {"address", PrintAddressChecked, Hex("79 04 00 80 03 01 02 03 04 AA BB"), 5, "BBAA04030201\r\n", true, 11},
        {"address cut", PrintAddressChecked, Hex("79 04 00 80 03 01 02 03 04 AA"), 5, kIncomplete, false, 5},
        {"groups", groups, Hex("02 01 00 02 00"), 0, "组地址数目：  02\r\nGPID1: 0001\r\nGPID2: 0002\r\n", true, 5},
        {"reversed", reversed, Hex("00 11 22 33"), 1, "332211\r\n", true, 4},
        {"payload length cut", PrintPayload, Hex("05"), 0, kIncomplete, false, 0},
        // Least significant byte first; each byte in decimal without leading zeros.
        {"IPv4", PrintIpv4Address, Hex("79 01 00 A8 C0"), 1, "192.168.0.1\r\n", true, 5},
        {"IPv4 extremes", PrintIpv4Address, Hex("FF 0A 00 FF"), 0, "255.0.10.255\r\n", true, 4},
        {"IPv4 cut", PrintIpv4Address, Hex("79 01 00 A8"), 1, kIncomplete, false, 1},
    };
    for (const auto& c : cases) {
        std::string text;
        FrameReader in(c.frame, text, c.start);
        EXPECT_EQ(c.print(in, text), c.printed) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
        EXPECT_EQ(in.Position(), c.position) << c.name;
    }
}

// Numbers of one to three digits, and identifiers past the frame's end as zero.
TEST(FieldPrinters, LongGroupIdList) {
    ByteString frame{120};
    for (int i = 1; i <= 110; ++i)
        frame += ByteString{static_cast<unsigned char>(i), static_cast<unsigned char>(0xFF - i)};
    std::string expected = "组地址数目：  120\r\n";
    for (int i = 1; i <= 120; ++i)
        expected += i <= 110 ? StrFormat("GPID%d: %02X%02X\r\n", i, 0xFF - i, i) : StrFormat("GPID%d: 0000\r\n", i);
    std::string text;
    FrameReader in(frame, text, 0);
    PrintGroupIdList(in, text);
    EXPECT_EQ(text, expected);
    EXPECT_EQ(in.Position(), 241);
}

// A payload longer than the text gathers at once, after text already there.
TEST(FieldPrinters, LongPayload) {
    ByteString frame{0x2C, 0x01};
    std::string expected = ">payload len:  300\r\npayload:  ";
    for (int i = 0; i < 300; ++i) {
        frame += static_cast<unsigned char>(i * 7);
        expected += StrFormat("%02X", (i * 7) & 0xFF);
    }
    expected += "\r\n";
    std::string text = ">";
    FrameReader in(frame, text, 0);
    EXPECT_TRUE(PrintPayload(in, text));
    EXPECT_EQ(text, expected);
    EXPECT_EQ(in.Position(), 302);
}

TEST(FieldPrinters, ValueLines) {
    std::string t;
    PrintNumberLine(0xFFFF, t);
    PrintNumberLine(0, t);
    PrintNumberLine(1000, t);
    // Codes without a name.
    PrintTargetDeviceMode(6, t);
    PrintPasswordMode(2, t);
    PrintMulticastFlag(2, t);
    PrintSearchRange(6, t);
    PrintSearchRange(3, t);
    PrintAttributeReplyState(2, t);
    PrintPriority(2, t);
    PrintDecryptState(3, t);
    PrintModifyResult(2, t);
    EXPECT_EQ(t,
              "65535\r\n0\r\n1000\r\n目标设备模式：    出错\r\n网络口令模式: 出错\r\n组播标志：    出错\r\n搜索范围：    RSV\r\n"
              "搜索范围：    \r\n属性回复状态：    \r\n优先级：\r\n解密状态：    \r\n状态：        \r\n");
}

TEST(FieldTables, Lookups) {
    static constexpr CodeText kTable[] = {{0, "零"}, {6, "六"}, {7, "六"}};
    EXPECT_STREQ(TextOfCode(kTable, 6, "?"), "六");
    EXPECT_STREQ(TextOfCode(kTable, 1, "?"), "?");
    EXPECT_STREQ(TextOfCode(kTable, 0x100, "?"), "?");
    uint8_t code = 9;
    EXPECT_TRUE(CodeOfText(kTable, "六", code));
    EXPECT_EQ(code, 6);  // the first equal entry
    EXPECT_FALSE(CodeOfText(kTable, "六 ", code));
    EXPECT_FALSE(CodeOfText(kTable, "", code));
    EXPECT_EQ(code, 6);
}
