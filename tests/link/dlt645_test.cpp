// The DL/T 645 read request and the texts it is made from.

#include <gtest/gtest.h>

#include "link/dlt645.h"
#include "test_frames.h"

using testing_frames::Hex;

TEST(Dlt645, IdentifierAndAddressBytes) {
    const struct {
        const char* name;
        ByteString bytes, expected;
    } cases[] = {
        {"identifier", DataIdentifierBytes("00010000"), Hex("33 33 34 33")},
        {"short identifier padded", DataIdentifierBytes("1"), Hex("34 33 33 33")},
        {"empty identifier", DataIdentifierBytes(""), Hex("33 33 33 33")},
        {"lower case, 0xCD + 0x33 wraps", DataIdentifierBytes("abcd"), Hex("00 DE 33 33")},
        {"address", MeterAddressBytes("123456789012"), Hex("12 90 78 56 34 12")},
        {"short address padded", MeterAddressBytes("1"), Hex("01 00 00 00 00 00")},
    };
    for (const auto& c : cases) EXPECT_EQ(c.bytes, c.expected) << c.name;
}

TEST(Dlt645, ReadFrame) {
    EXPECT_EQ(Dlt645ReadFrame(Hex("01 00 00 00 00 00"), Hex("33 33 34 33")),
              Hex("68 01 00 00 00 00 00 68 11 04 33 33 34 33 B3 16"));
    EXPECT_EQ(Dlt645ReadFrame(Hex("12 90 78 56 34 12"), Hex("33 33 33 33")),
              Hex("68 12 90 78 56 34 12 68 11 04 33 33 33 33 67 16"));
}

TEST(Dlt645, WholeFramesFoundAtAnOffset) {
    const ByteString frame = Dlt645Frame(Hex("01 00 00 00 00 00"), 0xB8, Hex("34"));
    EXPECT_EQ(frame, Hex("68 01 00 00 00 00 00 68 B8 01 34 BE 16"));
    const struct {
        const char* name;
        ByteString bytes;
        size_t offset, size;
    } cases[] = {
        {"whole", frame, 0, 13},
        {"after other bytes", Hex("FE FE") + frame + Hex("00"), 2, 13},
        {"not at a start", Hex("FE") + frame, 0, 0},
        {"wrong sum", Hex("68 01 00 00 00 00 00 68 B8 01 34 BD 16"), 0, 0},
        {"no end byte", Hex("68 01 00 00 00 00 00 68 B8 01 34 BE 17"), 0, 0},
        {"no second start", Hex("68 01 00 00 00 00 00 69 B8 01 34 BF 16"), 0, 0},
        {"cut short", frame.substr(0, 12), 0, 0},
        {"offset past the end", frame, 14, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Dlt645FrameAt(c.bytes, c.offset), c.size) << c.name;
}
