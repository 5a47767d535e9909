// Point reading.

#include "commands/point_reading.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "analyzer/data_analyzers.h"
#include "commands/field_text.h"
#include "link/conversions.h"
#include "link/module_frame.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"

namespace {

constexpr char kSuccess[] = "成功";
constexpr char kFailure[] = "失败";
constexpr int kVerdictColumn = 2;
constexpr size_t kDataStart = 5;
constexpr size_t kAddressBytes = 6;

// Reads the answer's data and never past them.
class DataReader {
public:
    explicit DataReader(ByteString data) : m_data(std::move(data)) {}
    bool Take(size_t count, ByteString& out) {
        if (m_data.size() - m_at < count) return false;
        out = m_data.substr(m_at, count);
        m_at += count;
        return true;
    }

private:
    ByteString m_data;
    size_t m_at = 0;
};

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
    const unsigned char control = frame[3];
    if ((control & CF_DIR) == 0 || (control & CF_RESP) != 0) return TestStatus::Unchanged;
    const size_t length = frame[1] | static_cast<size_t>(frame[2]) << 8;
    if (length == 1) return TestStatus::Failure;

    DataReader in(frame.substr(kDataStart, std::min(length, frame.size() - kFrameOverhead)));
    ByteString flag, group, address, count, data;
    if (!in.Take(1, flag)) return TestStatus::Failure;
    PointReadFlags flags;
    std::string flagText;
    PrintFlagByte(flag[0], flags, flagText);
    if (flags.multicastFlag == 1 && !in.Take(2, group)) return TestStatus::Failure;
    if (!in.Take(kAddressBytes, address)) return TestStatus::Failure;
    std::string from;
    BytesToHexText(from, address, 0);
    if (from != AsciiUpper(mac)) return TestStatus::Failure;
    if (!in.Take(2, count) || !in.Take(count[0] | static_cast<size_t>(count[1]) << 8, data)) {
        return TestStatus::Failure;
    }
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
    const long seconds = std::strtol(text.c_str(), nullptr, 10);
    if (seconds < 0) return false;
    ms = static_cast<uint32_t>(std::min<long>(seconds, UINT32_MAX / 1000) * 1000);
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
