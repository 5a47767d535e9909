#include "link/conversions.h"

#include <gtest/gtest.h>

#include "test_frames.h"

using testing_frames::Hex;

TEST(HexTextToBytes, BlanksAndCarriageReturnsAreIgnored) {
    ByteString a, b, c;
    HexTextToBytes("4E C0 11", a, 0);
    HexTextToBytes("4EC011", b, 0);
    HexTextToBytes("4E\r C0 \r11 ", c, 0);
    EXPECT_EQ(a, Hex("4E C0 11"));
    EXPECT_EQ(b, a);
    EXPECT_EQ(c, a);
}

TEST(HexTextToBytes, OddLengthByMode) {
    ByteString out;
    HexTextToBytes("ABC", out, 0);
    EXPECT_EQ(out, Hex("0A BC"));
    HexTextToBytes("ABC", out, 1);
    EXPECT_EQ(out, Hex("AB 0C"));
    HexTextToBytes("7", out, 0);
    EXPECT_EQ(out, Hex("07"));
}

TEST(HexTextToBytes, LowerCaseAndReplacement) {
    ByteString out = Hex("FF FF FF");
    HexTextToBytes("79ab", out, 0);
    EXPECT_EQ(out, Hex("79 AB"));
    HexTextToBytes("", out, 0);
    EXPECT_TRUE(out.empty());
    HexTextToBytes("   \r", out, 0);
    EXPECT_TRUE(out.empty());
}

TEST(HexTextToBytes, OtherCharactersConvertUncheckedButSafely) {
    ByteString out;
    // 'G' counts as 16, a line feed as its value above '0'; the result is masked to a byte.
    HexTextToBytes("G0", out, 0);
    EXPECT_EQ(out, Hex("00"));
    HexTextToBytes("1\n", out, 0);
    EXPECT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], static_cast<unsigned char>((16 + ('\n' - '0')) & 0xFF));
    HexTextToBytes("\xE4\xB8\xAD\xE6", out, 0);  // non-ASCII text
    EXPECT_EQ(out.size(), 2u);
}

TEST(HexTextToBytes, CapsAtTheLimitKeepingTheFirstBytes) {
    std::string text;
    for (size_t i = 0; i < kMaxHexTextBytes + 10; ++i) text += (i < kMaxHexTextBytes ? "11" : "22");
    ByteString out;
    HexTextToBytes(text, out, 0);
    ASSERT_EQ(out.size(), kMaxHexTextBytes);
    EXPECT_EQ(out.back(), 0x11);
}

TEST(HexToBytesRaw, ReadsPairsFromTheEnd) {
    unsigned char buf[4] = {};
    int count = 0;
    HexToBytesRaw("0A1B2C", buf, count, sizeof buf);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(buf[0], 0x2C);
    EXPECT_EQ(buf[1], 0x1B);
    EXPECT_EQ(buf[2], 0x0A);
    count = 0;
    HexToBytesRaw("F12", buf, count, sizeof buf);  // odd: first character unread
    EXPECT_EQ(count, 1);
    EXPECT_EQ(buf[0], 0x12);
    count = 3;
    HexToBytesRaw("1122", buf, count, sizeof buf);  // stops at the capacity
    EXPECT_EQ(count, 4);
    EXPECT_EQ(buf[3], 0x22);
}

TEST(BytesToHexText, PlainAndSpaced) {
    std::string s = "old";
    EXPECT_EQ(BytesToHexText(s, Hex("01 A0 FF"), 1), 1);
    EXPECT_EQ(s, "01A0FF");
    BytesToHexText(s, ByteString(), 0);
    EXPECT_EQ(s, "");
    BytesToHexTextSpaced(s, Hex("01 A0"), 0);
    EXPECT_EQ(s, "01 A0 ");
    BytesToHexTextSpaced(s, Hex("01 A0"), 1);
    EXPECT_EQ(s, "01A0");
}

TEST(ByteAt, InsideAndOutside) {
    EXPECT_EQ(ByteAt("AB", 1), 'B');
    EXPECT_EQ(ByteAt("AB", 2), 0);
    EXPECT_EQ(ByteAt("AB", -1), 0);
}

TEST(Bcd, ConvertAndTest) {
    ByteString b = Hex("12 99 45");
    BcdBytesToBinary(b, 2);
    EXPECT_EQ(b, Hex("0C 63 45"));
    b = Hex("12 99 45");
    BcdBytesToBinary(b, -1);
    EXPECT_EQ(b, Hex("0C 63 2D"));
    BcdBytesToBinary(b, 100);  // a count past the end stops at the end
    EXPECT_TRUE(IsBcdBytes(Hex("12 99 45"), 0, -1));
    EXPECT_FALSE(IsBcdBytes(Hex("12 9A 45"), 0, -1));
    EXPECT_FALSE(IsBcdBytes(Hex("12 A9"), 1, 1));
    EXPECT_TRUE(IsBcdBytes(Hex("1A 99"), 1, 1));
    EXPECT_TRUE(IsBcdBytes(Hex("1A 99"), 1, 50));
    EXPECT_FALSE(IsBcdBytes(Hex("1A 99"), 0, 1));
}

TEST(Padding, RightBlanksCountGbkBytes) {
    std::string s = "ab";
    PadRightBlanks(s, 5);
    EXPECT_EQ(s, "ab   ");
    PadRightBlanks(s, 3);
    EXPECT_EQ(s, "ab   ");
    std::string c = "地址";  // four GBK bytes
    PadRightBlanks(c, 6);
    EXPECT_EQ(c, "地址  ");
}

TEST(Padding, LeftZeros) {
    std::string s = "123";
    PadLeftZeros(s, 11);
    EXPECT_EQ(s, "000000000123");
    std::string longer = "1234567890ABC";
    PadLeftZeros(longer, 11);
    EXPECT_EQ(longer, "1234567890ABC");
}

TEST(FitAddressBytes, DefaultAndExplicitLengths) {
    ByteString b = Hex("05");
    EXPECT_EQ(FitAddressBytes(b, -1), 2);
    EXPECT_EQ(b, Hex("00 05"));
    b = Hex("01 02 03");
    EXPECT_EQ(FitAddressBytes(b, -1), 6);
    EXPECT_EQ(b, Hex("00 00 00 01 02 03"));
    b = Hex("01 02 03 04 05 06 07 08");
    EXPECT_EQ(FitAddressBytes(b, 6), 6);
    EXPECT_EQ(b, Hex("03 04 05 06 07 08"));
    b.clear();
    EXPECT_EQ(FitAddressBytes(b, -1), 2);
    EXPECT_EQ(b, Hex("00 00"));
}

TEST(SystemTimeDiffMs, UsesTheRealCalendar) {
    SystemTime a{2024, 3, 0, 1, 0, 0, 0, 5};
    SystemTime b{2024, 2, 0, 28, 23, 59, 59, 995};
    // 2024 is a leap year: Feb 29 lies between.
    EXPECT_EQ(SystemTimeDiffMs(a, b), 86400000LL + 10);
    EXPECT_EQ(SystemTimeDiffMs(b, a), -(86400000LL + 10));
    SystemTime y1{2025, 1, 0, 1, 0, 0, 0, 0};
    SystemTime y0{2024, 12, 0, 31, 23, 59, 58, 500};
    EXPECT_EQ(SystemTimeDiffMs(y1, y0), 1500);
    SystemTime m1{2025, 5, 0, 1, 12, 0, 0, 0};
    SystemTime m0{2025, 4, 0, 30, 12, 0, 0, 0};
    EXPECT_EQ(SystemTimeDiffMs(m1, m0), 86400000LL);
}

TEST(AddBytesWithCarry, CarriesFromTheLastByte) {
    ByteString a = Hex("00 FF FF");
    AddBytesWithCarry(a, Hex("00 00 01"), 3);
    EXPECT_EQ(a, Hex("01 00 00"));
    a = Hex("FF FF");
    AddBytesWithCarry(a, Hex("00 01"), 2);  // final carry dropped
    EXPECT_EQ(a, Hex("00 00"));
    a = Hex("10 20 30");
    AddBytesWithCarry(a, Hex("01 01 01"), 2);  // only the first two bytes
    EXPECT_EQ(a, Hex("11 21 30"));
    a = Hex("10");
    AddBytesWithCarry(a, Hex("01"), 5);  // count past the end is safe
    EXPECT_EQ(a, Hex("11"));
}

TEST(SumBytesToHexText, ModuloTwoFiftySix) {
    std::string s;
    EXPECT_EQ(SumBytesToHexText(Hex("FF 02"), s), 1);
    EXPECT_EQ(s, "01");
    SumBytesToHexText(ByteString(), s);
    EXPECT_EQ(s, "00");
    EXPECT_EQ(ImageChecksum(), 0);
}
