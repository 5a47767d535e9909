// The received frame view: its header, its data span cut to the frame, its bounded cursor and
// its normal-answer judgement.

#include <gtest/gtest.h>

#include "link/conversions.h"
#include "link/received_frame.h"

namespace {

ByteString Hex(const char* text) {
    ByteString bytes;
    HexTextToBytes(text, bytes, 1);
    return bytes;
}

}  // namespace

TEST(ReceivedFrame, HeaderDataSpanAndJudgement) {
    const struct {
        const char* name;
        const char* frame;
        unsigned direction, status, initiator, channel, command, sub, declared;
        const char* data;
        bool normalAnswer, normalRequest;
    } cases[] = {
        {"empty: zeros", "", 0, 0, 0, 0, 0x00, 0x00, 0, "", false, true},
        {"start and half a length", "79 02", 0, 0, 0, 0, 0x00, 0x00, 2, "", false, true},
        {"header only", "79 02 00 80 F1", 1, 0, 0, 0, 0xF1, 0x00, 2, "", true, false},
        {"normal answer, L as carried", "79 02 00 80 F1 0A 0B 11 22", 1, 0, 0, 0, 0xF1, 0x0A, 2, "0A 0B", true, false},
        {"abnormal answer", "79 01 00 A0 F1 07 11 22", 1, 1, 0, 0, 0xF1, 0x07, 1, "07", false, false},
        // The sub-command is byte 5 whatever L says.
        {"host request", "79 00 00 00 14 11 22", 0, 0, 0, 0, 0x14, 0x11, 0, "", false, true},
        {"abnormal request", "79 00 00 20 14 11 22", 0, 1, 0, 0, 0x14, 0x11, 0, "", false, false},
        {"initiator and channel", "79 00 00 D8 35 11 22", 1, 0, 1, 3, 0x35, 0x11, 0, "", true, false},
        {"L larger than the frame", "79 09 00 80 F1 0A 0B 11 22", 1, 0, 0, 0, 0xF1, 0x0A, 9, "0A 0B", true, false},
        {"L smaller than the frame", "79 01 00 80 F1 0A 0B 11 22", 1, 0, 0, 0, 0xF1, 0x0A, 1, "0A", true, false},
        {"L of 0x0100, little-endian", "79 00 01 80 F1 0A 11 22", 1, 0, 0, 0, 0xF1, 0x0A, 256, "0A", true, false},
        {"cut before the check bytes", "79 02 00 80 F1 0A 0B 11", 1, 0, 0, 0, 0xF1, 0x0A, 2, "0A", true, false},
    };
    for (const auto& c : cases) {
        const ByteString bytes = Hex(c.frame);
        const ReceivedFrame f(bytes);
        EXPECT_EQ(f.Direction(), c.direction) << c.name;
        EXPECT_EQ(f.ReplyStatus(), c.status) << c.name;
        EXPECT_EQ(f.Initiator(), c.initiator) << c.name;
        EXPECT_EQ(f.ChannelType(), c.channel) << c.name;
        EXPECT_EQ(f.Command(), c.command) << c.name;
        EXPECT_EQ(f.SubCommand(), c.sub) << c.name;
        EXPECT_EQ(f.DeclaredLength(), c.declared) << c.name;
        EXPECT_EQ(f.Data(), Hex(c.data)) << c.name;
        EXPECT_EQ(f.DataSize(), Hex(c.data).size()) << c.name;
        EXPECT_EQ(f.IsNormalAnswer(), c.normalAnswer) << c.name;
        EXPECT_EQ(f.IsNormalRequest(), c.normalRequest) << c.name;
        // The data cursor ends where the data span does.
        if (bytes.size() < ReceivedFrame::kFirstDataByte) continue;
        FrameCursor in = f.DataCursor();
        EXPECT_EQ(in.Bytes(f.DataSize()), Hex(c.data)) << c.name;
        EXPECT_FALSE(in.Short()) << c.name;
        EXPECT_EQ(in.Byte(), 0) << c.name;
        EXPECT_TRUE(in.Short()) << c.name;
    }
}

TEST(FrameCursor, ShortFieldsReadAsZeroAndStay) {
    const ByteString frame = Hex("79 03 00 80 F1 01 02 03 44 55");
    const struct {
        const char* name;
        long long from, end;
        size_t want;
        bool fits;
        const char* bytes;  // Bytes(want)
        long long after;    // the cursor after Bytes(want)
    } cases[] = {
        {"inside", 5, 10, 3, true, "01 02 03", 8},
        {"to the very end", 5, 10, 5, true, "01 02 03 44 55", 10},
        {"one past the end", 5, 10, 6, false, "", 5},
        {"before the check bytes", 5, 8, 3, true, "01 02 03", 8},
        {"into the check bytes", 5, 8, 4, false, "", 5},
        {"end past the frame is cut", 8, 99, 3, false, "", 8},
        {"nothing at the end", 10, 10, 0, true, "", 10},
        {"before the frame", -1, 10, 1, false, "", -1},
    };
    for (const auto& c : cases) {
        FrameCursor in(frame, c.from, c.end);
        EXPECT_EQ(in.Has(c.want), c.fits) << c.name;
        EXPECT_EQ(in.Span(c.want) != nullptr, c.fits) << c.name;
        EXPECT_FALSE(in.Short()) << c.name;  // Has and Span only test
        EXPECT_EQ(in.Bytes(c.want), Hex(c.bytes)) << c.name;
        EXPECT_EQ(in.Position(), c.after) << c.name;
        EXPECT_EQ(in.Short(), !c.fits) << c.name;
    }
}

TEST(FrameCursor, ReadsOrZeroTakeWhatIsThereAndMove) {
    const ByteString frame = Hex("79 03 00 80 F1 01 02 03 44 55");
    FrameCursor in(frame, 8, 9);  // one byte before the end
    EXPECT_EQ(in.Word16(), 0);
    EXPECT_TRUE(in.Short());
    EXPECT_EQ(in.Position(), 8);
    EXPECT_EQ(in.Word16OrZero(), 0x0044);  // the byte past the end reads as zero
    EXPECT_EQ(in.Position(), 10);
    EXPECT_EQ(in.Remaining(), 0u);

    FrameCursor whole(frame, 7);
    unsigned char b[5];
    whole.CopyOrZero(b, sizeof b);
    EXPECT_EQ(ByteString(b, sizeof b), Hex("03 44 55 00 00"));
    EXPECT_EQ(whole.Position(), 12);
    EXPECT_FALSE(whole.Short());

    FrameCursor before(frame, -2);
    EXPECT_EQ(before.BytesOrZero(4), Hex("00 00 79 03"));
    EXPECT_EQ(before.PeekOrZero(0), 0x00);
    EXPECT_EQ(before.PeekOrZero(1), 0x80);
}
