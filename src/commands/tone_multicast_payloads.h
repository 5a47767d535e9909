#pragma once
// Payloads of the local tone (0x20) and of the remote multicast-group setting, request (0x25)
// and reply (0x27). Readers gather the fields from the page (false when one is refused, its
// message shown); builders put them in the payload's order.

#include <cstdint>
#include <string>
#include <vector>

#include "link/byte_string.h"
#include "platform/ui.h"

struct ToneFields {
    uint8_t band = 0;
    uint8_t gain = 0;  // edit IDC_TGAIN, decimal, cut to 8 bits (-2 is 0xFE)
};
// A band combo that holds neither of its texts refuses without a message.
bool GatherToneFields(Dialog& page, ToneFields& fields);
void BuildLocalTonePayload(const ToneFields& fields, ByteString& payload);

struct MulticastFields {
    uint8_t sourceMode = 0;
    uint8_t targetMode = 0;
    uint8_t multicast = 0;
    uint8_t participation = 0;       // the reply only; 0 when its combo holds neither text
    std::string group;               // edit IDC_TASK_ID, when the multicast flag is 1
    std::string address;             // edit IDC_DST_ADDR, always six bytes
    ByteString count;                // the request only: edit IDC_MULTICAST_COUNT, BCD digits
    std::vector<std::string> groups; // the request only: one text per counted group
};
bool GatherMulticastRequestFields(Dialog& page, MulticastFields& fields);
void BuildMulticastRequestPayload(const MulticastFields& fields, ByteString& payload);
bool GatherMulticastReplyFields(Dialog& page, MulticastFields& fields);
void BuildMulticastReplyPayload(const MulticastFields& fields, ByteString& payload);
