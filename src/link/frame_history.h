#pragma once
// Records of the frame history and the elements of the reply queues.

#include <cstdint>

#include "link/byte_string.h"
#include "platform/local_time.h"

// One frame of the history: kind '0' sent, '1' received.
struct MonitorRecord {
    uint32_t kind = '0';
    ByteString frame;
    SystemTime time;        // sent: time of recording; received: arrival time
    SystemTime viewedTime;  // stamped when its monitor row is first selected
    SystemTime shownTime;   // time of recording
    uint32_t notViewed = 1;
};

// A received frame with the local time at which it was filed.
struct ReplyEntry {
    ByteString frame;
    SystemTime time;
};

// A meter answer of the meter-reading rounds.
struct MeterReplyEntry {
    uint8_t valid = 1;
    uint32_t elapsedMs = 0;
    ByteString frame;
    SystemTime time;
};
