// The frame codec and the byte and text conversions.

#include <gtest/gtest.h>

#include "link/conversions.h"
#include "link/module_frame.h"
#include "test_frames.h"

using testing_frames::Hex;
using testing_frames::MakeFrame;

TEST(EncodeFrame, WireBytes) {
    ByteString big;
    for (int i = 0; i < 300; ++i) big.push_back(static_cast<unsigned char>(i));
    const struct {
        uint8_t direction, initiator, replyStatus, channelType, reserved, command;
        ByteString payload;
        ByteString wire;
    } cases[] = {
        {0, 1, 0, 0, 0, 0x02, {}, Hex("79 00 00 40 02 42 42")},
        {1, 0, 1, 3, 0, 0x14, Hex("01 02 03"), Hex("79 03 00 B8 14 01 02 03 D5 AF")},
        {0xFE, 3, 2, 6, 0x0F, 0x01, {}, MakeFrame(0x57, 0x01, ByteString())},  // each field masked to its width
        {0, 0, 0, 0, 0, 0x14, big, MakeFrame(0x00, 0x14, big)},                // the high length byte
    };
    for (const auto& c : cases) {
        ModuleFrame f;
        f.direction = c.direction;
        f.initiator = c.initiator;
        f.replyStatus = c.replyStatus;
        f.channelType = c.channelType;
        f.reserved = c.reserved;
        f.command = c.command;
        f.payload = c.payload;
        f.length = static_cast<uint16_t>(c.payload.size());
        ByteString out = Hex("AA BB");  // replaced, not appended to
        EncodeFrame(out, f);
        EXPECT_EQ(out, c.wire) << "command " << int(c.command);
    }
    ModuleFrame g;  // the length comes from its field, not from the payload
    g.payload = Hex("AA BB");
    g.length = 5;
    ByteString out;
    EncodeFrame(out, g);
    EXPECT_EQ(out.substr(0, 7), Hex("79 05 00 00 00 AA BB"));
}

TEST(HexText, ToBytesByModeAndBack) {
    const struct {
        const char* text;
        int mode;
        const char* bytes;
    } cases[] = {
        {"4E\r C0 \r11 ", 0, "4E C0 11"}, {"ABC", 0, "0A BC"}, {"ABC", 1, "AB 0C"},
        {"79ab", 0, "79 AB"},             {"   \r", 0, ""},    {"G0", 0, "00"},  // 'G' counts as 16
    };
    for (const auto& c : cases) {
        ByteString out = Hex("FF FF FF");  // replaced, not appended to
        EXPECT_EQ(HexTextToBytes(c.text, out, c.mode), 1);
        EXPECT_EQ(out, Hex(c.bytes)) << c.text << " mode " << c.mode;
    }
    ByteString out;
    HexTextToBytes(std::string(2 * kMaxHexTextBytes, '1') + "22", out, 0);
    EXPECT_EQ(out, ByteString(kMaxHexTextBytes, 0x11));  // capped, keeping the first bytes
    std::string s = "old";
    EXPECT_EQ(BytesToHexText(s, Hex("01 A0 FF")), 1);
    EXPECT_EQ(s, "01A0FF");
    BytesToHexTextSpaced(s, Hex("01 A0"), 0);
    EXPECT_EQ(s, "01 A0 ");
    BytesToHexTextSpaced(s, Hex("01 A0"), 1);
    EXPECT_EQ(s, "01A0");
}

TEST(Conversions, BcdPaddingAddressesAndCarries) {
    ByteString b = Hex("12 99 45");
    BcdBytesToBinary(b, 2);
    EXPECT_EQ(b, Hex("0C 63 45"));
    EXPECT_TRUE(IsBcdBytes(Hex("1A 99"), 1, 50));
    EXPECT_FALSE(IsBcdBytes(Hex("12 9A 45"), 0, -1));
    std::string s = "地址";  // four GBK bytes
    PadRightBlanks(s, 6);
    EXPECT_EQ(s, "地址  ");
    std::string zeros = "123";
    PadLeftZeros(zeros, 11);
    PadLeftZeros(zeros, 5);  // never shortens
    EXPECT_EQ(zeros, "000000000123");
    b = Hex("01 02 03");
    EXPECT_EQ(FitAddressBytes(b, -1), 6);
    EXPECT_EQ(b, Hex("00 00 00 01 02 03"));
    b = Hex("01 02 03 04 05 06 07 08");
    EXPECT_EQ(FitAddressBytes(b, 6), 6);
    EXPECT_EQ(b, Hex("03 04 05 06 07 08"));
    b = Hex("00 FF FF");
    AddBytesWithCarry(b, Hex("00 00 01"), 3);
    EXPECT_EQ(b, Hex("01 00 00"));
    b = Hex("FF FF 30");
    AddBytesWithCarry(b, Hex("00 01 01"), 2);  // the first two bytes; the final carry is dropped
    EXPECT_EQ(b, Hex("00 00 30"));
    EXPECT_EQ(SumBytesToHexText(Hex("FF 02"), s), 1);
    EXPECT_EQ(s, "01");
}

TEST(Conversions, CalendarDifferencesUseTheRealCalendar) {
    EXPECT_EQ(SystemTimeDiffMs({2024, 3, 0, 1, 0, 0, 0, 5}, {2024, 2, 0, 28, 23, 59, 59, 995}), 86400010LL);
    EXPECT_EQ(SystemTimeDiffMs({2024, 2, 0, 28, 23, 59, 59, 995}, {2024, 3, 0, 1, 0, 0, 0, 5}), -86400010LL);
    EXPECT_EQ(SystemTimeDiffMs({2025, 1, 0, 1, 0, 0, 0, 0}, {2024, 12, 0, 31, 23, 59, 58, 500}), 1500);
    EXPECT_EQ(SystemTimeDiffMs({2025, 5, 0, 1, 12, 0, 0, 0}, {2025, 4, 0, 30, 12, 0, 0, 0}), 86400000LL);
}

namespace {

std::string Reversed(void (*reverse)(std::string&), std::string text) {
    reverse(text);
    return text;
}

}  // namespace

TEST(HexText, AddressByteOrder) {
    const struct {
        std::string result, expected;
    } cases[] = {
        {Reversed(ReverseHexBytes12, "BC9A78563412"), "123456789ABC"},
        {Reversed(ReverseHexBytes12, "1234"), "341200000000"},           // padded
        {Reversed(ReverseHexBytes12, "123456789ABCDE"), "BC9A78563412"},  // cut to 12
        {Reversed(ReverseHexBytes4, "abc"), "bc0a"},                      // case kept
        {Reversed(ReverseHexBytes12, ""), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, c.expected);
}
