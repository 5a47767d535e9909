// The continuous-send settings dialog over its settings: "是否重新计数" zeroes both counters the
// moment it is ticked, whatever the run is doing.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dialogs/continuous_send_dlg.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

namespace {

// The dialog with a look inside its modal loop.
class WatchedDialog : public CContinuousSendDlg {
public:
    WatchedDialog(ContinuousSendSettings& settings, std::function<void(Dialog&)> watch)
        : CContinuousSendDlg(settings), m_watch(std::move(watch)) {}

protected:
    bool OnInitDialog() override {
        const bool done = CContinuousSendDlg::OnInitDialog();
        PostTask([this] { m_watch(*this); });
        return done;
    }

private:
    std::function<void(Dialog&)> m_watch;
};

TEST(ContinuousSendDialog, RestartingTheCountZeroesBothCountersAtOnce) {
    const struct {
        bool enabled;  // a run switched on, or not
        uint32_t count, success;
    } cases[] = {{true, 6, 3}, {false, 6, 3}, {true, 0xFFFFFFFF, 0xFFFFFFFF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        ContinuousSendSettings settings;
        settings.enabled = c.enabled;
        settings.ticks = 10;
        settings.intervalSeconds = 2;
        settings.count = c.count;
        settings.success = c.success;
        bool restartEnabled = false;
        uint32_t count = 1, success = 1, countAfterUntick = 1, successAfterUntick = 1;
        WatchedDialog dialog(settings, [&](Dialog& d) {
            restartEnabled = d.GetDlgItem(IDC_CONT_SEND_RESTART_COUNT).IsEnabled();
            Button restart(d.GetDlgItem(IDC_CONT_SEND_RESTART_COUNT));
            restart.Click();
            count = settings.count;
            success = settings.success;
            restart.Click();
            countAfterUntick = settings.count;
            successAfterUntick = settings.success;
            d.PressKey(Key::Escape);
        });
        EXPECT_EQ(dialog.DoModal(), kIdCancel);
        EXPECT_TRUE(restartEnabled);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(success, 0u);
        // Unticked again, nothing comes back.
        EXPECT_EQ(countAfterUntick, 0u);
        EXPECT_EQ(successAfterUntick, 0u);
        EXPECT_EQ(settings.enabled, c.enabled);
        EXPECT_EQ(settings.ticks, 10u);
    }
}

}  // namespace
