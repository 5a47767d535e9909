#include "commands/batch_tests.h"

#include <algorithm>
#include <utility>

#include "commands/field_text.h"
#include "link/conversions.h"
#include "link/received_frame.h"
#include "platform/text_format.h"

namespace {

// Data bytes of a version reply: the device address, six bytes nobody reads, then the version.
constexpr size_t kAddressBytes = 6;
constexpr size_t kVersionStart = 12;

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
    const ReceivedFrame answer(frame);
    if (frame.size() < ReceivedFrame::kFirstDataByte || !answer.IsNormalAnswer()) return TestStatus::Failure;
    return answer.DeclaredLength() == 0 ? TestStatus::Success : TestStatus::Failure;
}

TestStatus JudgeVersionReply(const ByteString& frame, const std::string& wire, const std::string& expected) {
    const ReceivedFrame answer(frame);
    if (!answer.IsNormalAnswer()) return TestStatus::Failure;
    const ByteString data = answer.Data();
    if (data.size() < kAddressBytes) return TestStatus::Failure;
    std::string from;
    BytesToHexText(from, data.substr(0, kAddressBytes));
    if (from != AsciiUpper(wire)) return TestStatus::Unchanged;
    // A reply with no byte past the skipped six carries an empty version.
    ByteString version;
    if (data.size() > kVersionStart)
        version.assign(data.rbegin(), data.rend() - static_cast<std::ptrdiff_t>(kVersionStart));
    std::string text;
    BytesToHexText(text, version);
    return text == expected ? TestStatus::Success : TestStatus::VersionMismatch;
}

std::string ElapsedSecondsText(uint64_t ms) { return StrFormat("%02d 秒", static_cast<int>(ms / 1000)); }

std::string ElapsedMsText(const SystemTime& sent, const SystemTime& arrived) {
    const int64_t ms = std::max<int64_t>(0, SystemTimeDiffMs(arrived, sent));
    return StrFormat("%02lld ms", static_cast<long long>(ms));
}
