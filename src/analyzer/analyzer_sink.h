#pragma once
// What explaining a frame may change besides its text. The caller of the analyzer hands one in;
// the default does nothing.

#include <string>

class AnalyzerSink {
public:
    virtual ~AnalyzerSink() = default;
    // An explained version reply shows its version in the main window's label.
    virtual void ShowVersionText(const std::string& /*text*/) {}
    // An explained smart-monitor reply switches the descrambling of received data.
    virtual void SetDescramble(bool /*on*/) {}
};
