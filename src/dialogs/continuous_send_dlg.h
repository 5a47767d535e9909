#pragma once
// The settings of the continuous sending of the send-data frame: switched on or off, its
// interval in seconds, and its counters restarted. Run modally by the button that sends.

#include <cstdint>

#include "platform/ui.h"
#include "res/resource_ids.h"

struct ContinuousSendSettings {
    bool enabled = false;          // switched on in the dialog, at once
    uint32_t ticks = 0;            // the interval in ticks of the 200 ms timer; 0: every tick
    uint32_t count = 0;            // frames sent
    uint32_t success = 0;          // replies judged good
    uint32_t intervalSeconds = 0;  // the interval last stored, shown when the dialog opens
    bool fresh = true;             // set at start-up and by each run, cleared by "中断"
};

// What a refused interval says: negative, or too long to count in ticks.
constexpr const char* kBadContIntervalText = "时间间隔须为0到4294967之间的整数";

class CContinuousSendDlg : public Dialog {
public:
    explicit CContinuousSendDlg(ContinuousSendSettings& settings);

    // Largest interval in seconds: its milliseconds fit in 32 bits.
    static constexpr uint32_t kMaxSeconds = 4294967;

protected:
    bool OnInitDialog() override;
    // Enter and "确定": while enabled, stores the interval read as a whole number ("2.9" is 2,
    // text that is not a number 0) and closes; a negative or too long one is refused.
    void OnOK() override;

private:
    void OnEnableCheck();
    void OnRestartCountCheck();
    bool StoreInterval();

    ContinuousSendSettings& m_settings;
};
