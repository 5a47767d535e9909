#include "link/broadcast_test.h"

#include "link/conversions.h"
#include "link/sub_commands.h"
#include "link/word_layouts.h"

void BuildBroadcastReplyPayload(const BroadcastReplyRequest& request, ByteString& payload) {
    using namespace broadcast_test_request_flags;
    payload.push_back(BROADCAST_TEST_REQUEST);
    payload.push_back(
        static_cast<unsigned char>(kMulticast.Put(request.multicast) | kPasswordMode.Put(request.keyMode)));
    if (request.multicast == 1) payload += request.group;
    payload.push_back(request.sequence);
    AppendWord16(payload, request.delay);
    payload.push_back(request.replyTimes);
    AppendWord16(payload, request.dataLength);
}

BroadcastTestReplyLayout BroadcastTestReplyOffsets(bool multicast) {
    const size_t source = multicast ? 4 : 2;
    return BroadcastTestReplyLayout{source, source + 6, source + 7, source + 9, source + 10, source + 11, source + 13};
}
