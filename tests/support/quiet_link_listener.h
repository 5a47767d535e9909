#pragma once
// A link listener that ignores everything; tests and benchmarks override what they watch.

#include <string>

#include "link/module_link.h"

namespace testsupport {

class QuietLinkListener : public LinkListener {
public:
    void OnLogFrame(LogList, const ByteString&) override {}
    void OnVersionText(const std::string&) override {}
    void OnHangUp() override {}
    void OnToolFrame(ToolFrame, const ByteString&) override {}
    void OnFrameRecorded(char, const ByteString&, const SystemTime&, uint32_t) override {}
    void OnThreadStartFailed(const std::string&) override {}
};

}  // namespace testsupport
