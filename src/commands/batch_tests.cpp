#include "commands/batch_tests.h"

#include <algorithm>
#include <utility>

#include "commands/field_text.h"
#include "link/conversions.h"
#include "platform/text_format.h"

namespace {

constexpr size_t kHeaderBytes = 5;  // start, two length bytes, control, command
constexpr size_t kCheckBytes = 2;
constexpr unsigned char kAnswerBit = 0x80;
constexpr unsigned char kAbnormalBit = 0x20;
// Data bytes of a version reply: the device address, six bytes nobody reads, then the version.
constexpr size_t kAddressBytes = 6;
constexpr size_t kVersionStart = 12;

bool IsNormalAnswer(const ByteString& frame) {
    return frame.size() > 3 && (frame[3] & kAnswerBit) != 0 && (frame[3] & kAbnormalBit) == 0;
}

// The data the frame carries, as far as the frame holds them.
ByteString DataOf(const ByteString& frame) {
    if (frame.size() < kHeaderBytes + kCheckBytes) return {};
    const size_t declared = frame[1] | static_cast<size_t>(frame[2]) << 8;
    return frame.substr(kHeaderBytes, std::min(declared, frame.size() - kHeaderBytes - kCheckBytes));
}

}  // namespace

std::string SwapAddressOrder(std::string text) {
    ReverseHexBytes12(text);
    return AsciiUpper(std::move(text));
}

const char* StatusText(TestStatus status) {
    switch (status) {
        case TestStatus::Unchanged: break;
        case TestStatus::Success: return "成功";
        case TestStatus::Failure: return "失败";
        case TestStatus::VersionMismatch: return "版本不一致";
    }
    return "";
}

TestStatus JudgeDataReply(const ByteString& frame) {
    if (frame.size() < kHeaderBytes || !IsNormalAnswer(frame)) return TestStatus::Failure;
    const size_t length = frame[1] | static_cast<size_t>(frame[2]) << 8;
    return length == 0 ? TestStatus::Success : TestStatus::Failure;
}

TestStatus JudgeVersionReply(const ByteString& frame, const std::string& wire, const std::string& expected) {
    if (!IsNormalAnswer(frame)) return TestStatus::Failure;
    const ByteString data = DataOf(frame);
    if (data.size() < kAddressBytes) return TestStatus::Failure;
    std::string from;
    BytesToHexText(from, data.substr(0, kAddressBytes), 0);
    if (from != AsciiUpper(wire)) return TestStatus::Unchanged;
    if (data.size() <= kVersionStart) return TestStatus::Failure;
    ByteString version(data.rbegin(), data.rend() - static_cast<std::ptrdiff_t>(kVersionStart));
    std::string text;
    BytesToHexText(text, version, 0);
    return text == expected ? TestStatus::Success : TestStatus::VersionMismatch;
}

std::string ElapsedSecondsText(uint64_t ms) { return StrFormat("%02d 秒", static_cast<int>(ms / 1000)); }

std::string ElapsedMsText(const SystemTime& sent, const SystemTime& arrived) {
    const int64_t ms = std::max<int64_t>(0, SystemTimeDiffMs(arrived, sent));
    return StrFormat("%02lld ms", static_cast<long long>(ms));
}
