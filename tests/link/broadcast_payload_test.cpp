// The broadcast reply test's payloads: the request's bytes and where an answer's fields lie.

#include <gtest/gtest.h>

#include "link/broadcast_test.h"
#include "test_frames.h"

using testing_frames::Hex;

TEST(BroadcastTestPayload, RequestBytes) {
    const struct {
        const char* name;
        BroadcastReplyRequest request;
        ByteString bytes;
    } cases[] = {
        {"user key", {0, 1, {}, 5, 300, 3, 0x0102}, Hex("00 02 05 2C 01 03 02 01")},
        {"multicast", {1, 0, Hex("34 12"), 0xFF, 0xFFFF, 0, 0}, Hex("00 01 34 12 FF FF FF 00 00 00")},
        // Each flag cut to its bit; only a flag of 1 carries the address.
        {"flags cut", {2, 3, Hex("34 12"), 1, 2, 3, 4}, Hex("00 02 01 02 00 03 04 00")},
    };
    for (const auto& c : cases) {
        ByteString payload = Hex("AA");
        BuildBroadcastReplyPayload(c.request, payload);
        EXPECT_EQ(payload, Hex("AA") + c.bytes) << c.name;
    }
}

TEST(BroadcastTestPayload, AnswerFieldsFollowTheMulticastAddress) {
    for (bool multicast : {false, true}) {
        const BroadcastTestReplyLayout l = BroadcastTestReplyOffsets(multicast);
        const size_t shift = multicast ? 2 : 0;
        EXPECT_EQ(l.source, 2 + shift) << multicast;
        EXPECT_EQ(l.sequence, 8 + shift) << multicast;
        EXPECT_EQ(l.interval, 9 + shift) << multicast;
        EXPECT_EQ(l.reportCount, 11 + shift) << multicast;
        EXPECT_EQ(l.currentCount, 12 + shift) << multicast;
        EXPECT_EQ(l.dataLength, 13 + shift) << multicast;
        EXPECT_EQ(l.length, 15 + shift) << multicast;
    }
}
