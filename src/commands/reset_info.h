#pragma once
// Reading and clearing the reset information of the checked devices of the address list: the
// request of each device and the judgement of its reply. A BatchRunner runs them.

#include <cstdint>
#include <string>
#include <vector>

#include "commands/batch_tests.h"
#include "link/byte_string.h"
#include "platform/ui.h"

// One checked device. Texts in wire order (least significant byte first), upper-case.
struct ResetInfoTarget {
    std::string mac;    // 12 digits
    std::string group;  // 4 digits; empty when the row has none
};

// The checked rows with an address, each with its own row's group address.
std::vector<ResetInfoTarget> GatherResetInfoTargets(ListView list);

// Sub-code, the address-mode byte (bit 0 multicast), the group address when multicast, the
// device address.
ByteString BuildResetInfoPayload(uint8_t subCode, uint8_t multicast, const ResetInfoTarget& target);

// Unchanged for a frame that is not a normal answer from the module or that comes from another
// device; a failure for one that ends before the device address; else a success.
TestStatus JudgeResetInfoReply(const ByteString& frame, const std::string& mac);

// A reset-information reply into the row of the address (display form): the reset word and the
// four reset counts, into the last row of that address. A reply too short for them changes nothing.
void WriteResetStatisticsRow(ListView list, const std::string& address, const ByteString& frame);
