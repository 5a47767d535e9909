// The continuous-send settings dialogs over their settings: when "是否重新计数" can be ticked and
// what ticking it does, and how "确定" and the test panel's "开始" read the interval.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/continuous_send_dlg.h"
#include "dialogs/test_continuous_send_dlg.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

namespace {

// A dialog with a look inside its modal loop.
template <typename Base, typename Settings>
class Watched : public Base {
public:
    Watched(Settings& settings, std::function<void(Dialog&)> watch) : Base(settings), m_watch(std::move(watch)) {}

protected:
    bool OnInitDialog() override {
        const bool done = Base::OnInitDialog();
        this->PostTask([this] { m_watch(*this); });
        return done;
    }

private:
    std::function<void(Dialog&)> m_watch;
};
using WatchedDialog = Watched<CContinuousSendDlg, ContinuousSendSettings>;

// "是否重新计数" is greyed while a run is fresh (at start-up, and from a run's start to its
// interruption); where it can be ticked, it zeroes both counters at once.
TEST(ContinuousSendDialog, RestartingTheCountZeroesBothCountersAtOnceOnceInterrupted) {
    const struct {
        bool fresh, enabled;
        uint32_t count, success;
    } cases[] = {{false, true, 6, 3}, {false, false, 6, 3}, {false, true, 0xFFFFFFFF, 0xFFFFFFFF},
                 {true, true, 6, 3}, {true, false, 6, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fresh << " " << c.count);
        ContinuousSendSettings settings;
        settings.fresh = c.fresh;
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
        EXPECT_EQ(restartEnabled, !c.fresh);
        const uint32_t kept = c.fresh ? c.count : 0, keptSuccess = c.fresh ? c.success : 0;
        EXPECT_EQ(count, kept);
        EXPECT_EQ(success, keptSuccess);
        // Unticked again, nothing comes back.
        EXPECT_EQ(countAfterUntick, kept);
        EXPECT_EQ(successAfterUntick, keptSuccess);
        EXPECT_EQ(settings.enabled, c.enabled);
        EXPECT_EQ(settings.ticks, 10u);
        EXPECT_EQ(settings.fresh, c.fresh);
    }
}

// "确定" while enabled reads the interval's leading whole number; 0 is a pace of its own. Only a
// negative number or one too long to count is refused, the dialog left open and nothing stored.
TEST(ContinuousSendDialog, TheIntervalIsTheLeadingWholeNumber) {
    const struct {
        const char* typed;
        int64_t ticks;  // -1: refused
    } cases[] = {{"2", 10},  {"2.9", 10},        {" 7", 35},      {"+3", 15},         {"3abc", 15},
                 {"010", 50}, {"0x10", 0},
                 {"0", 0},   {"abc", 0},         {"", 0},         {"-0", 0},          {"4294967", 21474835},
                 {"-1", -1}, {"-2.5", -1},       {"4294968", -1}, {"99999999999999999999", -1},
                 {"4294967297", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ContinuousSendSettings settings;
        settings.enabled = true;
        settings.ticks = 40;
        settings.intervalSeconds = 8;
        std::vector<std::string> boxes;
        SetMessageBoxHook([&boxes](const MessageBoxRequest& r) {
            boxes.push_back(r.text);
            return kIdOk;
        });
        WatchedDialog dialog(settings, [&](Dialog& d) {
            d.SetDlgItemText(IDC_CONT_SEND_INTERVAL, c.typed);
            d.PressKey(Key::Enter);
            // Refused, the dialog is still open: Esc closes it.
            if (!boxes.empty()) d.PressKey(Key::Escape);
        });
        const int result = dialog.DoModal();
        SetMessageBoxHook(nullptr);
        EXPECT_EQ(result, c.ticks < 0 ? kIdCancel : kIdOk);
        if (c.ticks < 0) {
            EXPECT_EQ(boxes, std::vector<std::string>{"时间间隔须为0到4294967之间的整数"});
            EXPECT_EQ(settings.ticks, 40u);
            EXPECT_EQ(settings.intervalSeconds, 8u);
        } else {
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(settings.ticks, static_cast<uint32_t>(c.ticks));
            EXPECT_EQ(settings.intervalSeconds * 5, settings.ticks);
        }
    }
}

// "开始" reads the interval's leading whole number as milliseconds, at least 300, rounded up to
// 100 ms ticks; a number past 32 bits counts as the largest. A refusal shows its message and
// leaves the settings; the dialog closes either way.
TEST(TestContinuousSendDialog, TheIntervalIsTheLeadingWholeNumberOfAtLeast300Ms) {
    const struct {
        const char* typed;
        int64_t ticks;  // -1: refused
    } cases[] = {{"1000ms", 10}, {"350.5", 4}, {"400abc", 4}, {" +300", 3},  {"99999999999", 21474837},
                 {"99999999999999999999", 21474837},
                 {"299.9", -1},  {"abc", -1},  {"0x500", -1}, {"-500", -1}, {"-99999999999999999999", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TestContinuousSendSettings settings{false, 7, 5, 2};
        std::vector<std::string> boxes;
        SetMessageBoxHook([&boxes](const MessageBoxRequest& r) {
            boxes.push_back(r.text);
            return kIdOk;
        });
        Watched<CTestContinuousSendDlg, TestContinuousSendSettings> dialog(settings, [&](Dialog& d) {
            d.SetDlgItemText(IDC_TEST_SEND_INTERVAL, c.typed);
            Button(d.GetDlgItem(IDC_TEST_SEND_START)).Click();
        });
        EXPECT_EQ(dialog.DoModal(), kIdOk);
        SetMessageBoxHook(nullptr);
        const bool armed = c.ticks >= 0;
        EXPECT_EQ(boxes, std::vector<std::string>(armed ? 0 : 1, "最小间隔为300ms"));
        EXPECT_EQ(settings.armed, armed);
        const std::string kept = std::to_string(settings.ticks) + "|" + std::to_string(settings.total) + "|" +
                                 std::to_string(settings.success);
        EXPECT_EQ(kept, armed ? std::to_string(c.ticks) + "|0|0" : "7|5|2");
    }
}

}  // namespace
