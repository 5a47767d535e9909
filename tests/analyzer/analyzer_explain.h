#pragma once
// Helpers to run the analyzers in tests.

#include <gtest/gtest.h>

#include <string>

#include "analyzer/analyzer.h"
#include "analyzer_texts.h"

namespace analyzer_texts {

inline constexpr char kIncomplete[] = "\r\nError:报文不完整\r\n";

// Control bytes by direction and reply bit.
inline constexpr unsigned char kHost = 0x40;          // host, normal
inline constexpr unsigned char kHostAbnormal = 0x60;  // host, abnormal bit set
inline constexpr unsigned char kReply = 0x80;         // module, normal
inline constexpr unsigned char kAbnormal = 0xA0;      // module, abnormal

inline std::string Explain(const ByteString& frame) {
    std::string text;
    AnalyzeFrame(frame, text);
    return text;
}

// The explanation after the control-field block.
inline std::string Body(const ByteString& frame) {
    const std::string all = Explain(frame);
    const std::string head = Header(FrameByte(frame, 3));
    EXPECT_EQ(all.compare(0, head.size(), head), 0) << all;
    return all.size() >= head.size() ? all.substr(head.size()) : all;
}

// The text an analyzer that nothing dispatches appends to an empty text.
template <typename Analyzer>
std::string Explained(Analyzer analyzer, const ByteString& frame) {
    std::string text;
    analyzer(frame, text);
    return text;
}

}  // namespace analyzer_texts
