#include "link/module_frame.h"

#include <gtest/gtest.h>

#include "test_frames.h"

using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

ModuleFrame Frame(uint8_t command, const ByteString& payload) {
    ModuleFrame f;
    f.start = 0x79;
    f.command = command;
    f.payload = payload;
    f.length = static_cast<uint16_t>(payload.size());
    return f;
}

}  // namespace

TEST(EncodeFrame, EmptyPayloadIsSevenBytes) {
    ModuleFrame f = Frame(0x02, {});
    f.initiator = 1;
    ByteString out = Hex("AA BB");  // replaced, not appended to
    EncodeFrame(out, f);
    EXPECT_EQ(out, Hex("79 00 00 40 02 42 42"));
}

TEST(EncodeFrame, ControlBitsAndChecks) {
    ModuleFrame f = Frame(0x14, Hex("01 02 03"));
    f.direction = 1;
    f.initiator = 0;
    f.replyStatus = 1;
    f.channelType = 3;
    ByteString out;
    EncodeFrame(out, f);
    // 03 00 B8 14 01 02 03: sum D5, xor AF
    EXPECT_EQ(out, Hex("79 03 00 B8 14 01 02 03 D5 AF"));
    EXPECT_EQ(out, MakeFrame(0xB8, 0x14, "01 02 03"));
}

TEST(EncodeFrame, FieldsAreMaskedToTheirWidth) {
    ModuleFrame f = Frame(0x01, {});
    f.direction = 0xFE;    // bit 0 only
    f.initiator = 3;       // 1
    f.replyStatus = 2;     // 0
    f.channelType = 0x06;  // 2
    f.reserved = 0x0F;     // 7
    ByteString out;
    PackControlByte(out, f);
    EXPECT_EQ(out, Hex("57"));
}

TEST(EncodeFrame, LengthComesFromTheFieldNotThePayload) {
    ModuleFrame f = Frame(0x03, Hex("AA BB"));
    f.length = 5;
    ByteString out;
    EncodeFrame(out, f);
    ASSERT_EQ(out.size(), 9u);
    EXPECT_EQ(out[1], 0x05);
    EXPECT_EQ(out[2], 0x00);
    EXPECT_EQ(out.substr(5, 2), Hex("AA BB"));
}

TEST(EncodeFrame, LongPayloadCarriesTheHighLengthByte) {
    ByteString payload;
    for (int i = 0; i < 300; ++i) payload.push_back(static_cast<unsigned char>(i));
    ModuleFrame f = Frame(0x14, payload);
    ByteString out;
    EncodeFrame(out, f);
    ASSERT_EQ(out.size(), 307u);
    EXPECT_EQ(out[1], 0x2C);
    EXPECT_EQ(out[2], 0x01);
    EXPECT_EQ(out, MakeFrame(0x00, 0x14, payload));
}

TEST(FrameChecks, SkipTheStartByte) {
    uint8_t sum = 0xEE, x = 0xEE;
    EXPECT_EQ(FrameSum8(Hex("79 FF 02"), sum), 1);
    EXPECT_EQ(FrameXor8(Hex("79 FF 02"), x), 1);
    EXPECT_EQ(sum, 0x01);
    EXPECT_EQ(x, 0xFD);
    FrameSum8(Hex("79"), sum);
    FrameXor8(ByteString(), x);
    EXPECT_EQ(sum, 0);
    EXPECT_EQ(x, 0);
}

TEST(HeaderTexts, MapToControlFieldValues) {
    uint8_t v = 9;
    ReadDirectionText("从机发出帧", v);
    EXPECT_EQ(v, 1);
    ReadDirectionText("主机发出帧", v);
    EXPECT_EQ(v, 0);
    ReadInitiatorText("主动发起", v);
    EXPECT_EQ(v, 1);
    ReadInitiatorText("命令回应", v);
    EXPECT_EQ(v, 0);
    ReadReplyStatusText("异常应答", v);
    EXPECT_EQ(v, 1);
    ReadReplyStatusText("正常应答", v);
    EXPECT_EQ(v, 0);
    ReadChannelTypeText("5207PLC", v);
    EXPECT_EQ(v, 3);
    ReadChannelTypeText("WiFi", v);
    EXPECT_EQ(v, 2);
    ReadChannelTypeText("Bluetooth", v);
    EXPECT_EQ(v, 1);
    ReadChannelTypeText("5281PLC", v);
    EXPECT_EQ(v, 0);
}

TEST(HeaderTexts, UnknownTextLeavesTheFieldAlone) {
    uint8_t v = 7;
    EXPECT_EQ(ReadDirectionText("", v), 1);
    EXPECT_EQ(ReadChannelTypeText("wifi", v), 1);
    EXPECT_EQ(ReadInitiatorText("主动", v), 1);
    EXPECT_EQ(ReadReplyStatusText("正常应答 ", v), 1);
    EXPECT_EQ(v, 7);
}

TEST(ModuleFrameRecord, StartsZeroed) {
    ModuleFrame f;
    ByteString out;
    PackControlByte(out, f);
    EXPECT_EQ(out, Hex("00"));
    EXPECT_TRUE(f.payload.empty());
}
