#include "commands/reset_info.h"

#include "commands/field_text.h"
#include "link/conversions.h"
#include "link/received_frame.h"
#include "platform/text_format.h"

namespace {

constexpr int kAddressColumn = 1;
constexpr int kGroupColumn = 5;
constexpr long long kAddressAt = 6;
constexpr size_t kAddressBytes = 6;

std::string WireText(std::string text, int pairs) {
    text = StripHexSeparators(text);
    ReverseHexPairs(text, pairs);
    return AsciiUpper(text);
}

}  // namespace

std::vector<ResetInfoTarget> GatherResetInfoTargets(ListView list) {
    std::vector<ResetInfoTarget> targets;
    const int rows = list.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        if (!list.GetCheck(r)) continue;
        ResetInfoTarget target{WireText(list.GetItemText(r, kAddressColumn), 6),
                               WireText(list.GetItemText(r, kGroupColumn), 2)};
        if (!target.mac.empty()) targets.push_back(std::move(target));
    }
    return targets;
}

ByteString BuildResetInfoPayload(uint8_t subCode, uint8_t multicast, const ResetInfoTarget& target) {
    ByteString payload{subCode, static_cast<unsigned char>(multicast & 1)};
    ByteString bytes;
    if (multicast == 1) {
        HexTextToBytes(target.group, bytes, 0);
        payload += bytes;
    }
    HexTextToBytes(target.mac, bytes, 0);
    payload += bytes;
    return payload;
}

TestStatus JudgeResetInfoReply(const ByteString& frame, const std::string& mac) {
    if (!ReceivedFrame(frame).IsNormalAnswer()) return TestStatus::Unchanged;
    // The address and at least one byte after it.
    const unsigned char* from = ReceivedFrame(frame).Cursor(kAddressAt).Span(kAddressBytes + 1);
    if (!from) return TestStatus::Failure;
    std::string address;
    for (size_t i = 0; i < kAddressBytes; ++i) AppendFormat(address, "%02X", from[i]);
    return address == AsciiUpper(mac) ? TestStatus::Success : TestStatus::Unchanged;
}
