// The bounded reader, the printers that read through it, and the code tables' lookups.

#include "analyzer/frame_reader.h"

#include <gtest/gtest.h>

#include "analyzer/field_printers.h"
#include "analyzer/field_tables.h"
#include "analyzer_explain.h"

using namespace analyzer_texts;

TEST(FrameReader, ReadsInOrderAndReportsTheFirstShortFieldOnce) {
    const ByteString frame = Hex("79 03 00 80 15 34 12 AB");
    std::string text = "x";
    FrameReader in(frame, text);
    EXPECT_EQ(in.Remaining(), 3u);
    EXPECT_EQ(in.Word16(), 0x1234);
    EXPECT_TRUE(in.Need(1));
    EXPECT_EQ(in.Bytes(2), ByteString());  // one byte is left
    EXPECT_EQ(text, std::string("x") + kIncomplete);
    EXPECT_FALSE(in.ok());
    EXPECT_EQ(in.Position(), 7);
    EXPECT_EQ(in.Word16(), 0);
    EXPECT_FALSE(in.Skip(2));
    EXPECT_FALSE(in.Need(3));
    EXPECT_EQ(text, std::string("x") + kIncomplete);
    // A field that fits is still read after a failure.
    EXPECT_EQ(in.Byte(), 0xAB);
    EXPECT_EQ(in.Position(), 8);
    EXPECT_TRUE(in.Need(0));  // an empty field right at the end fits
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(FrameReader, OrZeroReadsMoveAndNeverReport) {
    const ByteString frame = Hex("79 03 00 80 15 34 12");
    std::string text;
    FrameReader in(frame, text, 6);
    EXPECT_EQ(in.Word16OrZero(), 0x0012);
    EXPECT_EQ(in.ByteOrZero(), 0);
    EXPECT_EQ(in.BytesOrZero(3), ByteString(3, 0));
    EXPECT_EQ(in.Position(), 12);
    in.Advance(4);
    EXPECT_EQ(in.Position(), 16);
    EXPECT_TRUE(text.empty());
    EXPECT_TRUE(in.ok());
    EXPECT_EQ(in.Remaining(), 0u);
    // Past the end even an empty field does not fit.
    EXPECT_FALSE(in.Need(0));
    EXPECT_EQ(text, kIncomplete);
}

TEST(FieldPrinters, ReadFieldsFromTheReader) {
    using Printer = bool (*)(FrameReader&, std::string&);
    const struct {
        const char* name;
        Printer print;
        ByteString frame;
        long long start;
        std::string text;
        bool printed;
        int position;
    } cases[] = {
        {"address", [](FrameReader& in, std::string& t) { PrintAddress(in, t); return true; },
         Hex("79 06 00 80 03 01 02 03 04 05 06"), 5, "060504030201\r\n", true, 11},
        {"address past the end", [](FrameReader& in, std::string& t) { PrintAddress(in, t); return true; },
         Hex("79 06 00 80 03 01 02 03 04 05 06"), 8, "000000060504\r\n", true, 14},
        // The bound is the whole frame, the check bytes included.
        {"checked address", PrintAddressChecked, Hex("79 04 00 80 03 01 02 03 04 AA BB"), 5, "BBAA04030201\r\n", true, 11},
        {"checked address cut", PrintAddressChecked, Hex("79 04 00 80 03 01 02 03 04 AA"), 5, kIncomplete, false, 5},
        {"multicast", PrintMulticastAddressChecked, Hex("34 12"), 0, "组播地址：    1234\r\n", true, 2},
        {"multicast cut", PrintMulticastAddressChecked, Hex("34"), 0, kIncomplete, false, 0},
        {"groups", [](FrameReader& in, std::string& t) { PrintGroupIdList(in, t); return true; }, Hex("02 01 00 02 00"), 0,
         "组地址数目：  02\r\nGPID1: 0001\r\nGPID2: 0002\r\n", true, 5},
        {"no groups", [](FrameReader& in, std::string& t) { PrintGroupIdList(in, t); return true; }, Hex("00"), 0,
         "组地址数目：  00\r\n", true, 1},
        {"reversed", [](FrameReader& in, std::string& t) { PrintReversedBytes(in, t, 3); return true; },
         Hex("00 11 22 33"), 1, "332211\r\n", true, 4},
        {"ipv4", PrintIpv4Address, Hex("FF 01 00 A8 C0"), 1, "192.168.0.1\r\n", true, 5},
        {"ipv4 cut", PrintIpv4Address, Hex("FF 01 00 A8 C0"), 2, kIncomplete, false, 2},
        {"payload", PrintPayload, Hex("03 00 AA BB CC DD"), 0, "payload len:  3\r\npayload:  AABBCC\r\n", true, 5},
        {"empty payload", PrintPayload, Hex("00 00"), 0, "payload len:  0\r\npayload:  \r\n", true, 2},
        {"payload cut", PrintPayload, Hex("05 00 AA"), 0, std::string("payload len:  5\r\n") + kIncomplete, false, 2},
        {"payload length cut", PrintPayload, Hex("05"), 0, kIncomplete, false, 0},
        {"attribute", PrintAttribute, Hex("79 04 00 80 19 03 41 42 43"), 5, "属性长度: 3\r\n属性: ABC(0x434241)\r\n", true, 9},
        {"attribute length cut", PrintAttribute, Hex("79 04 00 80 19 03 41 42 43"), 9, kIncomplete, false, 9},
        {"attribute cut", PrintAttribute, Hex("79 04 00 80 19 04 41 42 43"), 5, std::string("属性长度: 4\r\n") + kIncomplete,
         false, 6},
    };
    for (const auto& c : cases) {
        std::string text;
        FrameReader in(c.frame, text, c.start);
        EXPECT_EQ(c.print(in, text), c.printed) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
        EXPECT_EQ(in.Position(), c.position) << c.name;
    }
}

TEST(FieldPrinters, ValueLines) {
    std::string t;
    PrintErrorStatus(0x06, t);
    PrintErrorStatus(0xFF, t);
    PrintTargetDeviceMode(6, t);
    PrintSourceDeviceMode(3, t);
    PrintPasswordMode(2, t);
    PrintMulticastFlag(2, t);
    uint8_t flag = 9;
    PrintMulticastBit(0xFE, flag, t);
    EXPECT_EQ(flag, 0);
    PrintMulticastBit(0x03, flag, t);
    EXPECT_EQ(flag, 1);
    PrintNumberLine(0xFFFF, t);
    EXPECT_EQ(t,
              "RESV\r\nRESV\r\n目标设备模式：    出错\r\nSrc 设备模式：    TRM5281/82 MAC地址\r\n网络口令模式: 出错\r\n"
              "组播标志：    出错\r\n组播标志：    非组播\r\n组播标志：    组播\r\n65535\r\n");
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
