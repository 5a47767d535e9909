// Point reading.

#include "commands/point_reading.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "commands/field_text.h"
#include "dialogs/number_text.h"
#include "link/conversions.h"
#include "link/module_frame.h"
#include "link/point_read.h"
#include "link/received_frame.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"

namespace {

constexpr char kSuccess[] = "成功";
constexpr char kFailure[] = "失败";
constexpr int kVerdictColumn = 2;
constexpr size_t kAddressBytes = 6;

}  // namespace

ByteString BuildPointReadPayload(const PointReadRequest& request) {
    ByteString payload;
    payload.push_back(static_cast<unsigned char>(point_read_flags::kMulticast.Put(request.multicast) |
                                                 point_read_flags::kPasswordMode.Put(request.stopBits)));
    ByteString bytes;
    if (request.multicast == 1) {
        HexTextToBytes(request.group, bytes, 0);
        payload += bytes;
    }
    HexTextToBytes(request.mac, bytes, 0);
    payload += bytes;
    payload.push_back(static_cast<unsigned char>(request.length & 0xFF));
    payload.push_back(static_cast<unsigned char>(request.length >> 8));
    return payload;
}

TestStatus JudgePointReadReply(const ByteString& frame, const std::string& mac) {
    if (frame.size() < kFrameOverhead) return TestStatus::Unchanged;
    const ReceivedFrame answer(frame);
    if (!answer.IsNormalAnswer()) return TestStatus::Unchanged;
    if (answer.DeclaredLength() == 1) return TestStatus::Failure;

    FrameCursor in = answer.DataCursor();
    const uint8_t flag = in.Byte();
    if (!in.Short() && point_read_flags::kMulticast.Get(flag) == 1) in.Bytes(2);
    const ByteString address = in.Bytes(kAddressBytes);
    if (in.Short()) return TestStatus::Failure;
    std::string from;
    BytesToHexText(from, address);
    if (from != AsciiUpper(mac)) return TestStatus::Failure;
    const ByteString data = in.Bytes(in.Word16());
    if (in.Short()) return TestStatus::Failure;
    return IsCountingPattern(data) ? TestStatus::Success : TestStatus::Failure;
}

std::string GatherCheckedColumn(ListView list, int column, int pairs) {
    std::string gathered;
    const int rows = list.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        if (!list.GetCheck(row)) continue;
        std::string text = list.GetItemText(row, column);
        ReverseHexPairs(text, pairs);
        gathered += text;
    }
    return AsciiUpper(gathered);
}

bool PointReadIntervalMs(const std::string& text, uint32_t& ms) {
    if (text.empty()) return false;
    const long long seconds = LeadingWholeNumber(text);
    if (seconds < 0) return false;
    ms = static_cast<uint32_t>(std::min<long long>(seconds, UINT32_MAX / 1000) * 1000);
    return true;
}

std::string PointReadTotalsText(ListView list) {
    const int rows = list.GetItemCount();
    int success = 0;
    int failure = 0;
    for (int row = 0; row < rows; ++row) {
        const std::string verdict = list.GetItemText(row, kVerdictColumn);
        success += verdict == kSuccess;
        failure += verdict == kFailure;
    }
    return StrFormat("总次数：%d\r\n成功次数：%d\r\n失败次数：%d\r\n", rows, success, failure);
}
