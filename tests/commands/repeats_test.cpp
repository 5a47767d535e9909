// The repeats on a recording window: what each start, tick and stop does to the window's
// timers and captions, and when the continuous send sends.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "commands/repeats.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

using Events = std::vector<std::string>;

class RecordingWindow : public RepeatWindow {
public:
    void StartTimer(int id, uint32_t periodMs) override { events.push_back(StrFormat("timer %d %u", id, periodMs)); }
    void StopTimer(int id) override { events.push_back(StrFormat("kill %d", id)); }
    void SetControlText(int id, const std::string& text) override {
        events.push_back(StrFormat("text %d ", id) + text);
    }
    Events Take() {
        Events taken;
        taken.swap(events);
        return taken;
    }
    Events events;
};

class ContinuousSendTest : public ::testing::Test {
protected:
    RecordingWindow window;
    ArrivedFlag arrived{1};
    bool accepted = true;         // what the page's payload does
    std::deque<ByteString> replies;  // the send-data queue
    ContinuousSend sender{window, arrived, [this] { window.events.push_back("flush"); },
                          [this] {
                              window.events.push_back("send");
                              return accepted;
                          },
                          [this](ByteString& reply) {
                              if (replies.empty()) return false;
                              reply = replies.front();
                              replies.pop_front();
                              return true;
                          }};
};

const std::string kStep1 = StrFormat("text %d 第1次发送", IDC_CONTINUOUS_SEND_DATA);
const std::string kTimer = StrFormat("timer %d 200", TIMER_CONTINUOUS_SEND);
const std::string kKill = StrFormat("kill %d", TIMER_CONTINUOUS_SEND);

TEST_F(ContinuousSendTest, TheButtonStartsOnlyWhenEnabled) {
    sender.StartIfEnabled();
    EXPECT_EQ(window.Take(), Events());
    EXPECT_EQ(arrived, 1);
    sender.Settings().enabled = true;
    sender.StartIfEnabled();
    EXPECT_EQ(window.Take(), (Events{"flush", "send", kStep1, kTimer}));
    EXPECT_EQ(arrived, 0);
    EXPECT_EQ(sender.Count(), 1u);
}

TEST_F(ContinuousSendTest, AStepLeavesAfterTheIntervalsTicksAndEachTickInBetweenClearsTheReplyFlag) {
    const struct {
        uint32_t ticks, run, sends;  // interval, ticks run after the start, steps in all
    } cases[] = {{0, 4, 5}, {2, 5, 2}, {2, 6, 3}, {5, 5, 1}, {5, 6, 2}, {0xFFFFFFFF, 3, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks);
        sender.Settings().ticks = c.ticks;
        sender.ResetCount();
        sender.Start();
        window.Take();
        uint32_t sends = 1;
        for (uint32_t tick = 1; tick <= c.run; ++tick) {
            arrived = 1;
            sender.Tick();
            const Events events = window.Take();
            if (events.empty()) {
                EXPECT_EQ(arrived, 0) << tick;
                continue;
            }
            ++sends;
            const std::string caption = StrFormat("text %d 第%u次发送", IDC_CONTINUOUS_SEND_DATA, sends);
            EXPECT_EQ(events, (Events{kKill, "flush", "send", caption, kTimer})) << tick;
        }
        EXPECT_EQ(sends, c.sends);
        EXPECT_EQ(sender.Count(), c.sends);
    }
}

TEST_F(ContinuousSendTest, StopSwitchesSendingOffAndTheNextTickEndsTheTimer) {
    sender.Settings() = {true, 3};
    sender.Start();
    sender.Tick();
    sender.Stop();
    EXPECT_FALSE(sender.IsGoingOn());
    EXPECT_FALSE(sender.Settings().enabled);
    window.Take();
    arrived = 1;
    sender.Tick();
    EXPECT_EQ(window.Take(), Events{kKill});
    EXPECT_EQ(arrived, 1);
    // The count goes on from where it stood until it is reset.
    sender.Settings().enabled = true;
    sender.StartIfEnabled();
    EXPECT_TRUE(sender.IsGoingOn());
    EXPECT_EQ(sender.Count(), 2u);
    sender.Stop();
    EXPECT_EQ(window.Take().back(), StrFormat("text %d 连续发送数据", IDC_CONTINUOUS_SEND_DATA));
}

TEST_F(ContinuousSendTest, ARefusedPayloadStopsTheSendingOnce) {
    sender.Settings() = {true, 2};
    sender.Start();
    window.Take();
    accepted = false;
    for (int tick = 0; tick < 3; ++tick) sender.Tick();
    // The third tick steps: refused, it stops at once, uncounted, the caption restored.
    EXPECT_EQ(window.Take(),
              (Events{kKill, "flush", "send", kKill, StrFormat("text %d 连续发送数据", IDC_CONTINUOUS_SEND_DATA)}));
    EXPECT_FALSE(sender.IsGoingOn());
    EXPECT_FALSE(sender.Settings().enabled);
    EXPECT_EQ(sender.Count(), 1u);
}

TEST_F(ContinuousSendTest, GoodRepliesMakeTheSuccessRate) {
    const ByteString good = {0x79, 0x00, 0x00, 0x80, 0x14, 0x94, 0x94};
    const ByteString abnormal = {0x79, 0x00, 0x00, 0xA0, 0x14, 0xB4, 0xB4};
    const ByteString withData = {0x79, 0x01, 0x00, 0x80, 0x14, 0x00, 0x95, 0x95};
    const ByteString fromHost = {0x79, 0x00, 0x00, 0x40, 0x14, 0x54, 0x54};
    EXPECT_EQ(sender.SuccessRate(), 0u);
    sender.Settings() = {true, 0};
    sender.Start();
    // One step a tick; before each, the reply to the last step, if any came.
    const std::vector<ByteString> answers = {good, {}, good, abnormal, withData, fromHost, good, {}};
    for (const ByteString& answer : answers) {
        if (!answer.empty()) {
            replies.push_back(answer);
            arrived = 1;
        }
        sender.Tick();
    }
    EXPECT_EQ(sender.Count(), 9u);
    EXPECT_EQ(sender.Successes(), 3u);
    EXPECT_EQ(sender.SuccessRate(), 33u);
    // A reply without the raised flag is not looked at.
    replies.push_back(good);
    sender.Tick();
    EXPECT_EQ(sender.Successes(), 3u);
    sender.ResetCount();
    EXPECT_EQ(sender.SuccessRate(), 0u);
}

TEST(RepeatsTest, EachRepeatRunsOnItsOwnTimerWithItsPeriod) {
    RecordingWindow window;
    TimedSend timed(window);
    RepeatedSearch search(window);
    RepeatedBroadcast broadcast(window);
    EXPECT_EQ(timed.Settings().intervalMs, 500u);
    EXPECT_EQ(timed.Settings().count, 2u);
    timed.Settings().intervalMs = 700;
    search.Settings().periodMs = 3000;
    broadcast.Settings().periodMs = 2;
    // The timed send keeps a running timer; the others restart theirs.
    const struct {
        std::function<void()> start, stop, tick;
        std::function<bool()> running;
        int timer;
        uint32_t period;
        bool restarts;
    } cases[] = {
        {[&] { timed.Start(); }, [&] { timed.Stop(); }, [&] { timed.Tick(); }, [&] { return timed.IsRunning(); },
         TIMER_TIMED_SEND, 700, false},
        {[&] { search.Start(); }, [&] { search.Stop(); }, [&] { search.Tick(); }, [&] { return search.IsRunning(); },
         TIMER_CONTINUOUS_SEARCH, 3000, true},
        {[&] { broadcast.Start(); }, [&] { broadcast.Stop(); }, [&] { broadcast.Tick(); },
         [&] { return broadcast.IsRunning(); }, TIMER_CONTINUOUS_BROADCAST, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.timer);
        const std::string timer = StrFormat("timer %d %u", c.timer, c.period);
        c.start();
        c.start();
        EXPECT_EQ(window.Take(), (c.restarts ? Events{timer, timer} : Events{timer}));
        EXPECT_TRUE(c.running());
        c.tick();
        EXPECT_EQ(window.Take(), Events());
        c.stop();
        EXPECT_EQ(window.Take(), Events{StrFormat("kill %d", c.timer)});
        EXPECT_FALSE(c.running());
    }
    // A timed send starts counting from 0 again.
    EXPECT_EQ(timed.Done(), 0u);
}

}  // namespace
