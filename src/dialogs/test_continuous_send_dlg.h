#pragma once
// The settings of the test panel's continuous send test: the step interval in milliseconds (at
// least 300) and its counters. Run modally by the panel's start button.

#include <cstdint>

#include "platform/ui.h"
#include "res/resource_ids.h"

struct TestContinuousSendSettings {
    bool armed = false;    // set by "开始", cleared by the panel's stop
    uint32_t ticks = 0;    // the interval in ticks of the 100 ms timer
    uint32_t total = 0;    // steps counted
    uint32_t success = 0;  // matching replies
};

class CTestContinuousSendDlg : public Dialog {
public:
    explicit CTestContinuousSendDlg(TestContinuousSendSettings& settings);

    static constexpr uint32_t kMinMs = 300;
    static constexpr uint32_t kMaxMs = 0x7FFFFFFF;  // a larger number typed counts as this

protected:
    bool OnInitDialog() override;
    // Enter does nothing.
    void OnOK() override {}

private:
    // "开始": a good interval restarts the counters and arms the test; the dialog closes either way.
    void OnStart();
    bool ValidateInterval();

    TestContinuousSendSettings& m_settings;
};
