#pragma once
// Helpers to run the analyzers in tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyzer/analyzer.h"
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
inline std::string Explain(const ByteString& frame, AnalyzerSink& sink) {
    std::string text = ">";
    AnalyzeFrame(frame, text, sink);
    EXPECT_EQ(text[0], '>');
    return text.substr(1);
}

inline std::string Explain(const ByteString& frame) {
    AnalyzerSink none;
    return Explain(frame, none);
}

// The explanation after the control-field block.
inline std::string Body(const ByteString& frame, AnalyzerSink& sink) {
    const std::string all = Explain(frame, sink);
    const std::string head = Header(FrameByte(frame, 3));
    EXPECT_EQ(all.compare(0, head.size(), head), 0) << all;
    return all.size() >= head.size() ? all.substr(head.size()) : all;
}

inline std::string Body(const ByteString& frame) {
    AnalyzerSink none;
    return Body(frame, none);
}

// A frame and its explanation after the control-field block.
struct BodyCase {
    const char* name;
    ByteString frame;
    std::string body;
};

inline void ExpectBodies(const std::vector<BodyCase>& cases, AnalyzerSink& sink) {
    for (const BodyCase& c : cases) EXPECT_EQ(Body(c.frame, sink), c.body) << c.name;
}

inline void ExpectBodies(const std::vector<BodyCase>& cases) {
    AnalyzerSink none;
    ExpectBodies(cases, none);
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

// Records what explanations handed to it: the version texts and the descrambling switches.
class SinkRecorder : public AnalyzerSink {
public:
    void ShowVersionText(const std::string& text) override { texts.push_back(text); }
    void SetDescramble(bool on) override { descramble.push_back(on); }
    std::vector<std::string> texts;
    std::vector<bool> descramble;
};

}  // namespace analyzer_texts
