#pragma once
// Helpers to run the analyzers in tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyzer/analyzer.h"
#include "analyzer/version_text.h"
#include "analyzer_texts.h"
#include "test_frames.h"

namespace analyzer_texts {

using testing_frames::Hex;
using testing_frames::MakeFrame;

inline constexpr char kIncomplete[] = "\r\nError:报文不完整\r\n";

// Control bytes by direction and reply bit.
inline constexpr unsigned char kHost = 0x40;          // host, normal
inline constexpr unsigned char kHostAbnormal = 0x60;  // host, abnormal bit set
inline constexpr unsigned char kReply = 0x80;         // module, normal
inline constexpr unsigned char kAbnormal = 0xA0;      // module, abnormal

// The explanation of a frame, appended to a text that must be kept.
inline std::string Explain(const ByteString& frame) {
    std::string text = ">";
    AnalyzeFrame(frame, text);
    EXPECT_EQ(text[0], '>');
    return text.substr(1);
}

// The explanation after the control-field block.
inline std::string Body(const ByteString& frame) {
    const std::string all = Explain(frame);
    const std::string head = Header(FrameByte(frame, 3));
    EXPECT_EQ(all.compare(0, head.size(), head), 0) << all;
    return all.size() >= head.size() ? all.substr(head.size()) : all;
}

// A frame and its explanation after the control-field block.
struct BodyCase {
    const char* name;
    ByteString frame;
    std::string body;
};

inline void ExpectBodies(const std::vector<BodyCase>& cases) {
    for (const BodyCase& c : cases) EXPECT_EQ(Body(c.frame), c.body) << c.name;
}

// A frame, the text an analyzer appends, and its result.
struct ResultCase {
    const char* name;
    ByteString frame;
    std::string text;
    int result;
};

template <typename Analyzer>
void ExpectResults(Analyzer analyzer, const std::vector<ResultCase>& cases) {
    for (const ResultCase& c : cases) {
        std::string text = ">";
        EXPECT_EQ(analyzer(c.frame, text), c.result) << c.name;
        EXPECT_EQ(text, ">" + c.text) << c.name;
    }
}

// Records the version texts that explained version replies show.
class VersionRecorder : public VersionTextTarget {
public:
    VersionRecorder() { SetVersionTextTarget(this); }
    ~VersionRecorder() override { SetVersionTextTarget(nullptr); }
    void SetVersionText(std::string text) override { texts.push_back(std::move(text)); }
    std::vector<std::string> texts;
};

}  // namespace analyzer_texts
