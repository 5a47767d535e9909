// The repeats on a recording window: what each start, tick and stop does to the window's
// timers and captions, and when the continuous send sends.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "commands/TestDlg/panel_send_test.h"
#include "commands/repeats.h"
#include "platform/ui.h"
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

// A reply queue filled by hand; its flushes are recorded.
class FakeReplies : public RepeatReplySource {
public:
    FakeReplies(Events& events, ArrivedFlag& arrived) : m_events(events), m_arrived(arrived) {}
    void Flush() override {
        m_events.push_back("flush");
        replies.clear();
        m_arrived = 0;
    }
    bool Arrived() const override { return m_arrived == 1; }
    bool Pop(ReplyEntry& reply) override {
        if (replies.empty()) return false;
        reply.frame = replies.front();
        replies.pop_front();
        return true;
    }
    void LowerArrived() override { m_arrived = 0; }
    std::deque<ByteString> replies;

private:
    Events& m_events;
    ArrivedFlag& m_arrived;
};

// The page: its period edit, and its commands recorded by name.
class FakePage : public PageTexts, public CommandSender {
public:
    explicit FakePage(Events& events) : m_events(events) {}
    std::string ControlText(int id) const override { return id == IDC_REPEAT_PERIOD ? period : std::string(); }
    bool OnCommandButton(int button) override {
        m_events.push_back(button == IDC_SEND_DATA ? "send" : button == IDC_BROADCAST ? "broadcast"
                           : button == IDC_START_SEARCH ? "search" : StrFormat("button %d", button));
        return accepted;
    }
    std::string period;
    bool accepted = true;  // what the page's payload does

private:
    Events& m_events;
};

class ContinuousSendTest : public ::testing::Test {
protected:
    RecordingWindow window;
    ArrivedFlag arrived{1};
    FakeReplies queue{window.events, arrived};  // the send-data queue
    std::deque<ByteString>& replies = queue.replies;
    FakePage page{window.events};
    bool& accepted = page.accepted;
    ContinuousSend sender{window, queue, page};
};

const std::string kStep1 = StrFormat("text %d 第1次发送", IDC_CONTINUOUS_SEND_DATA);
const std::string kTimer = StrFormat("timer %d 200", TIMER_CONTINUOUS_SEND);
const std::string kKill = StrFormat("kill %d", TIMER_CONTINUOUS_SEND);

TEST_F(ContinuousSendTest, TheButtonStartsOnlyWhenEnabled) {
    sender.Settings().ticks = 5;  // one second accepted
    sender.StartIfEnabled();
    EXPECT_EQ(window.Take(), Events());
    EXPECT_EQ(arrived, 1);
    sender.Settings().enabled = true;
    sender.StartIfEnabled();
    EXPECT_EQ(window.Take(), (Events{"flush", "send", kStep1, kTimer}));
    EXPECT_EQ(arrived, 0);
    EXPECT_EQ(sender.Count(), 1u);
}

// No interval ever stored is an interval of 0: the run starts, with nothing to say, and sends
// at every tick.
TEST_F(ContinuousSendTest, WithNoIntervalStoredTheButtonStartsAndSendsEveryTick) {
    std::vector<std::string> shown;
    SetMessageBoxHook([&shown](const MessageBoxRequest& r) {
        shown.push_back(r.text);
        return kIdOk;
    });
    sender.Settings().enabled = true;
    sender.StartIfEnabled();
    EXPECT_EQ(window.Take(), (Events{"flush", "send", kStep1, kTimer}));
    sender.Tick();
    SetMessageBoxHook(nullptr);
    EXPECT_EQ(window.Take(), (Events{kKill, "flush", "send", StrFormat("text %d 第2次发送", IDC_CONTINUOUS_SEND_DATA),
                                     kTimer}));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(sender.Count(), 2u);
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

// Message boxes answered at once, their texts recorded as events.
class RepeatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHook([this](const MessageBoxRequest& r) {
            window.events.push_back("box " + r.text);
            return kIdOk;
        });
    }
    void TearDown() override { SetMessageBoxHook(nullptr); }
    RecordingWindow window;
    FakePage page{window.events};
    std::string& period = page.period;
    bool& accepted = page.accepted;
};

// The timed send's frames and its end.
class FakeTimedOutput : public TimedSendOutput {
public:
    explicit FakeTimedOutput(Events& events) : m_events(events) {}
    void SendTimedFrame(const ByteString& frame) override { sent.push_back(frame); }
    void OnTimedSendEnded() override { m_events.push_back("stopped"); }
    std::vector<ByteString> sent;

private:
    Events& m_events;
};

// The search pass's log, controls and files, recorded.
class FakeSearchPass : public SearchPass {
public:
    explicit FakeSearchPass(Events& events) : m_events(events) {}
    void ClearLog() override { m_events.push_back("clear"); }
    void EnableControls(bool on) override { m_events.push_back(on ? "enable" : "disable"); }
    void SaveFiles() override { m_events.push_back("save"); }

private:
    Events& m_events;
};

TEST_F(RepeatsTest, TheTimedSendSendsItsFrameTheSetNumberOfTimesAndStops) {
    FakeTimedOutput output(window.events);
    std::vector<ByteString>& sent = output.sent;
    TimedSend timed(window, output);
    EXPECT_EQ(timed.Settings().intervalMs, 500u);
    EXPECT_EQ(timed.Settings().count, 2u);
    const std::string timer = StrFormat("timer %d 700", TIMER_TIMED_SEND);
    // Refused: nothing starts.
    for (const TimedSendSettings& bad : {TimedSendSettings{0, 3, "01"}, TimedSendSettings{700, 0, "01"},
                                         TimedSendSettings{700, 3, " \r\n"}, TimedSendSettings{700, 3, "79 0G"},
                                         TimedSendSettings{700, 3, "79 0"}}) {
        timed.Settings() = bad;
        EXPECT_FALSE(timed.Start()) << bad.frameText;
        EXPECT_FALSE(timed.IsRunning());
    }
    EXPECT_EQ(window.Take(), Events());
    timed.Settings() = {700, 3, "79 00 00\r\n40 18 58 58"};
    EXPECT_TRUE(timed.Start());
    EXPECT_TRUE(timed.Start());
    EXPECT_EQ(window.Take(), Events{timer});
    for (int tick = 1; tick <= 4; ++tick) timed.Tick();
    EXPECT_EQ(sent, std::vector<ByteString>(3, ByteString{0x79, 0x00, 0x00, 0x40, 0x18, 0x58, 0x58}));
    EXPECT_EQ(window.Take(), (Events{StrFormat("kill %d", TIMER_TIMED_SEND), "stopped"}));
    EXPECT_EQ(timed.Done(), 3u);
    EXPECT_FALSE(timed.IsRunning());
    // Started again, it counts from 0; stopped by hand, the dialog is not told.
    EXPECT_TRUE(timed.Start());
    timed.Tick();
    timed.Stop();
    EXPECT_EQ(timed.Done(), 1u);
    EXPECT_EQ(window.Take(), (Events{timer, StrFormat("kill %d", TIMER_TIMED_SEND)}));
}

TEST_F(RepeatsTest, TheBroadcastRepeatsAtThePeriodReadAnewAndRefusesABadOne) {
    RepeatedBroadcast broadcast(window, page, page);
    const std::string kill = StrFormat("kill %d", TIMER_CONTINUOUS_BROADCAST);
    auto timer = [](int ms) { return StrFormat("timer %d %d", TIMER_CONTINUOUS_BROADCAST, ms); };
    period = "500";
    EXPECT_TRUE(broadcast.Start());
    EXPECT_EQ(window.Take(), (Events{timer(500), "broadcast"}));
    // The period is read anew at each tick, as its leading whole number.
    const struct {
        const char* typed;
        int ms;
    } periods[] = {{" 2", 2},     {"500ms", 500}, {"500.5", 500}, {"+500", 500}, {"\t 500", 500},
                   {"12a", 12}, {"2147483647", 2147483647}};
    for (const auto& p : periods) {
        period = p.typed;
        broadcast.Tick();
        EXPECT_EQ(window.Take(), (Events{kill, timer(p.ms), "broadcast"})) << p.typed;
        EXPECT_EQ(broadcast.PeriodMs(), static_cast<uint32_t>(p.ms)) << p.typed;
    }
    broadcast.Stop();
    EXPECT_FALSE(broadcast.IsRunning());
    window.Take();
    // A tick that was already queued when it stopped sends nothing.
    broadcast.Tick();
    EXPECT_EQ(window.Take(), Events{kill});
    // A refusal names the range; a number past 32 bits is never taken for its low bits.
    for (const char* bad : {"", "0", "-5", "abc", "0x10", "-0", "2147483648", "4294967297", "99999999999999999999"}) {
        period = bad;
        EXPECT_FALSE(broadcast.Start()) << bad;
        EXPECT_EQ(window.Take(), (Events{kill, "box 超时时间须为1到2147483647之间的整数"})) << bad;
    }
    // A refused broadcast is said once: the repeat stops.
    period = "10";
    accepted = false;
    EXPECT_FALSE(broadcast.Start());
    EXPECT_EQ(window.Take(), (Events{timer(10), "broadcast", kill}));
    EXPECT_FALSE(broadcast.IsRunning());
}

TEST_F(RepeatsTest, TheSearchSavesItsFilesBeforeEachNewPass) {
    FakeSearchPass pass(window.events);
    RepeatedSearch search(window, page, page, pass);
    const std::string kill = StrFormat("kill %d", TIMER_CONTINUOUS_SEARCH);
    auto timer = [](int ms) { return StrFormat("timer %d %d", TIMER_CONTINUOUS_SEARCH, ms); };
    period = "3";
    EXPECT_TRUE(search.Start());
    EXPECT_EQ(window.Take(), (Events{"clear", "disable", timer(3000), "search"}));
    // Seconds are the leading whole number; past 16 bits they are refused.
    const struct {
        const char* typed;
        int ms;
    } periods[] = {{"65535", 65535000}, {"2s", 2000}, {"2.9", 2000}, {"+7", 7000}, {" 7", 7000}};
    for (const auto& p : periods) {
        period = p.typed;
        search.Tick();
        EXPECT_EQ(window.Take(), (Events{kill, "save", "clear", "disable", timer(p.ms), "search"})) << p.typed;
    }
    search.Stop();
    EXPECT_EQ(window.Take(), (Events{kill, "enable"}));
    search.Tick();
    EXPECT_EQ(window.Take(), Events{kill});
    for (const char* bad : {"", "0", "65536", "x", "-5", "4294967296", "4294967297", "99999999999999999999"}) {
        period = bad;
        EXPECT_FALSE(search.Start()) << bad;
        EXPECT_EQ(window.Take(), (Events{kill, "enable", "box 超时时间须为1到65535之间的整数"})) << bad;
    }
    // A bad period typed while it runs ends it at the next pass, after the last pass's files.
    period = "1";
    search.Start();
    period = "";
    search.Tick();
    EXPECT_EQ(window.Take(), (Events{"clear", "disable", timer(1000), "search", kill, "save", kill, "enable",
                                     "box 超时时间须为1到65535之间的整数"}));
    EXPECT_FALSE(search.IsRunning());
    period = "1";
    accepted = false;
    EXPECT_FALSE(search.Start());
    EXPECT_EQ(window.Take(), (Events{"clear", "disable", timer(1000), "search", kill, "enable"}));
}

}  // namespace

namespace {

// The panel's continuous send test on a recording window; replies handed in by hand.
// The panel: the address last entered, its pane and controls, and the pause's task kept.
class FakePanel : public SendTestPanel {
public:
    explicit FakePanel(RecordingWindow& window) : m_window(window) {}
    std::string LastAddressText() const override { return "060504030201"; }
    void ShowResultText(const std::string& text) override { m_window.events.push_back("pane " + text); }
    void SetControlText(int id, const std::string& text) override { m_window.SetControlText(id, text); }
    void EnableControl(int id, bool on) override { m_window.events.push_back(StrFormat("enable %d %d", id, on)); }
    void After(uint32_t ms, std::function<void()> task) override {
        m_window.events.push_back(StrFormat("after %u", ms));
        later = std::move(task);
    }
    std::function<void()> later;

private:
    RecordingWindow& m_window;
};

class PanelSendTestTest : public ::testing::Test {
protected:
    void Reply(const ByteString& frame) {
        replies.push_back(frame);
        arrived = 1;
    }

    RecordingWindow window;
    ArrivedFlag arrived{1};
    FakeReplies queue{window.events, arrived};
    std::deque<ByteString>& replies = queue.replies;
    FakePanel panel{window};
    std::function<void()>& later = panel.later;
    PanelSendTest test{window, queue, panel};
};

// A test-data reply (0xF2, sub-code 3) from the device of the address, wire order.
ByteString TestReply(const ByteString& address) {
    ByteString f = {0x79, 0x07, 0x00, 0x80, 0xF2, 0x03};
    f += address;
    f += {0x00, 0x00};
    return f;
}

const std::string kTestTimer = StrFormat("timer %d 100", TIMER_SEND_TEST_STEP);
const std::string kTestKill = StrFormat("kill %d", TIMER_SEND_TEST_STEP);
std::string Text(int id, const std::string& text) { return StrFormat("text %d ", id) + text; }

TEST_F(PanelSendTestTest, StepsEndByAMatchingReplyOrATimeOutAndShowTheRate) {
    test.Begin();
    EXPECT_EQ(window.Take(), Events{kTestKill});  // not armed: nothing starts
    EXPECT_EQ(test.Rate(), 0u);
    test.Settings() = {true, 3};
    test.Begin();
    EXPECT_EQ(window.Take(), (Events{kTestKill, "flush", Text(IDC_PANEL_CONTINUOUS_SEND, "第1次发送"), kTestTimer,
                                     StrFormat("enable %d 0", IDC_PANEL_CONTINUOUS_SEND)}));
    EXPECT_EQ(arrived, 0);
    // Another device's reply and a short one count nothing; the step ends by time-out.
    Reply(TestReply({1, 2, 3, 4, 5, 7}));
    test.Tick();
    Reply({0x79, 0x01, 0x00, 0x80, 0xF2, 0x03, 0x76, 0x06});
    test.Tick();
    EXPECT_EQ(window.Take(), (Events{"pane 发送测试数据回复结果： \r\n", "pane 发送测试数据回复结果： \r\n"}));
    test.Tick();
    EXPECT_EQ(window.Take(), (Events{kTestKill, "pane 超时", Text(IDC_PANEL_SUCCESS_RATE, "0"), "flush",
                                     Text(IDC_PANEL_CONTINUOUS_SEND, "第2次发送"), kTestTimer}));
    // The matching reply: a success, and the next step after a pause on a timer.
    Reply(TestReply({6, 5, 4, 3, 2, 1}));
    test.Tick();
    EXPECT_EQ(window.Take(), (Events{Text(IDC_PANEL_SUCCESS_RATE, "50"), Text(IDC_PANEL_SUCCESS_COUNT, "1"),
                                     "pane 发送测试数据回复结果： \r\n发送测试数据成功\r\nMAC地址:  010203040506\r\n",
                                     kTestKill, "after 300"}));
    later();
    EXPECT_EQ(window.Take(), (Events{"flush", Text(IDC_PANEL_CONTINUOUS_SEND, "第3次发送"), kTestTimer}));
    Reply(TestReply({6, 5, 4, 3, 2, 1}));
    test.Tick();
    EXPECT_EQ(test.Rate(), 66u);
    EXPECT_EQ(window.Take()[0], Text(IDC_PANEL_SUCCESS_RATE, "66"));
    // Stopped during the pause: the pause's end starts nothing.
    test.Stop();
    EXPECT_EQ(window.Take(), (Events{kTestKill, Text(IDC_PANEL_CONTINUOUS_SEND, "连续发送数据"),
                                     StrFormat("enable %d 1", IDC_PANEL_CONTINUOUS_SEND),
                                     Text(IDC_PANEL_SUCCESS_COUNT, "2")}));
    later();
    EXPECT_EQ(window.Take(), Events());
    EXPECT_FALSE(test.IsActive());
}

}  // namespace
