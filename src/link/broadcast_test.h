#pragma once
// The payloads of the broadcast reply test (0xF5): the request the host broadcasts and the
// answers the devices send back. Multi-byte values travel low byte first; the multicast address
// is there only when the flag byte says so and shifts the fields after it.

#include <cstddef>
#include <cstdint>

#include "link/byte_string.h"

// The request: sub-command 0, the flag byte (multicast, key mode), the multicast address, DSN,
// reply interval (16 bits), report count, data length (16 bits).
struct BroadcastReplyRequest {
    uint8_t multicast = 0;
    uint8_t keyMode = 0;
    ByteString group;  // two bytes, only when multicast
    uint8_t sequence = 0;
    uint16_t delay = 0;
    uint8_t replyTimes = 0;
    uint16_t dataLength = 0;
};
void BuildBroadcastReplyPayload(const BroadcastReplyRequest& request, ByteString& payload);

// Where the fields of an answer lie, as data byte numbers (d0 is the sub-command, d1 the flag
// byte), and the data length L of a whole answer.
struct BroadcastTestReplyLayout {
    size_t source;        // 6 bytes: the answering device
    size_t sequence;      // the DSN answered
    size_t interval;      // 16 bits
    size_t reportCount;   // answers the device sends in all
    size_t currentCount;  // the number of this answer
    size_t dataLength;    // 16 bits
    size_t length;
};
BroadcastTestReplyLayout BroadcastTestReplyOffsets(bool multicast);
