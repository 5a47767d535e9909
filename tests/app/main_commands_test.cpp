// Commands of the main window that send no frame: the upgrade's start and stop with the
// controls they switch and the thread they run, and the command that opens the network settings.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/main_window_fixture.h"
#include "support/thread_recorder.h"

namespace {

using testsupport::MainWindowWithModule;
using testsupport::ThreadRecorder;

constexpr int kUpgradeControls[] = {IDC_UPGRADE_START, IDC_UPGRADE_CHOOSE_FILE, IDC_BAUD_RATE_COMBO,
                                    IDC_EXPECTED_VERSION, IDC_PARITY_COMBO};

class MainCommandsTest : public MainWindowWithModule {
protected:
    MainCommandsTest() : MainWindowWithModule(13) {}

    // The enabled states of the controls an upgrade switches, in their order.
    std::vector<bool> UpgradeControls() {
        std::vector<bool> states;
        for (int id : kUpgradeControls) states.push_back(Enabled(id));
        return states;
    }
    // Message boxes answered with answer; each records the controls' states as it shows.
    void AnswerBoxes(int answer) {
        SetMessageBoxHook([this, answer](const MessageBoxRequest& r) {
            boxes.push_back(r);
            statesAtBox.push_back(UpgradeControls());
            return answer;
        });
    }
    // The recorder goes before the window it launches for.
    void TearDown() override {
        recorder.reset();
        MainWindowWithModule::TearDown();
    }
    // From now on the threads the link's workers start are remembered: the last is the upgrade's.
    void RecordThreads() { recorder = std::make_unique<ThreadRecorder>(dlg->Link().Workers()); }
    // The upgrade's thread while its worker holds it (nullptr before a start, or once stopped).
    std::shared_ptr<WorkerThread> UpgradeThread() { return recorder ? recorder->Last() : nullptr; }
    // The upgrade's thread has ended: its loop saw its run flag cleared.
    bool UpgradeThreadFinished() {
        const std::shared_ptr<WorkerThread> thread = UpgradeThread();
        return thread && thread->IsFinished();
    }

    std::unique_ptr<ThreadRecorder> recorder;

    const std::vector<bool> enabled = std::vector<bool>(5, true);
    const std::vector<bool> disabled = std::vector<bool>(5, false);
    std::vector<std::vector<bool>> statesAtBox;
};

TEST_F(MainCommandsTest, UpgradeWithoutAChannelSaysSoAndGivesItsControlsBack) {
    RecordThreads();
    AnswerBoxes(kIdOk);
    Click(IDC_UPGRADE_START);
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{"串口未打开"});
    EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(kMbOk));
    EXPECT_EQ(statesAtBox[0], disabled);
    EXPECT_EQ(UpgradeControls(), enabled);
    EXPECT_EQ(UpgradeThread(), nullptr);
}

TEST_F(MainCommandsTest, UpgradeRunsItsThreadUntilAConfirmedStop) {
    OpenPort();
    RecordThreads();
    AnswerBoxes(kIdCancel);
    Click(IDC_UPGRADE_START);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(UpgradeControls(), disabled);
    EXPECT_TRUE(Enabled(IDC_UPGRADE_STOP));
    ASSERT_EQ(recorder->Count(), 1u);
    const std::weak_ptr<WorkerThread> thread = UpgradeThread();
    ASSERT_NE(UpgradeThread(), nullptr);
    // The work is empty: the thread ends by itself and clears its flag.
    ASSERT_TRUE(WaitFor([&] { return UpgradeThreadFinished(); }));

    for (int answer : {kIdCancel, kIdOk}) {
        AnswerBoxes(answer);
        Click(IDC_UPGRADE_STOP);
        ASSERT_EQ(boxes.size(), answer == kIdOk ? 2u : 1u);
        EXPECT_EQ(boxes.back().text + "|" + boxes.back().caption, "确认要停止升级吗？|提示");
        EXPECT_EQ(boxes.back().type, static_cast<uint32_t>(kMbOkCancel | kMbIconInformation));
        // Cancel changes nothing; OK joins the thread and gives the controls back.
        EXPECT_EQ(UpgradeControls(), answer == kIdOk ? enabled : disabled);
        EXPECT_EQ(UpgradeThread(), answer == kIdOk ? nullptr : thread.lock());
    }

    // Started again, it runs on a new thread, which the window's close joins.
    Click(IDC_UPGRADE_START);
    ASSERT_EQ(recorder->Count(), 2u);
    ASSERT_NE(UpgradeThread(), nullptr);
    EXPECT_TRUE(thread.expired());
    ASSERT_TRUE(WaitFor([&] { return UpgradeThreadFinished(); }));
    dlg->Close();
    EXPECT_EQ(UpgradeThread(), nullptr);
}

TEST_F(MainCommandsTest, AnUpgradeThreadThatCannotStartLeavesNothingRunning) {
    OpenPort();
    dlg->Link().Workers().SetLauncher([](std::function<void()>) { return std::shared_ptr<WorkerThread>(); });
    AnswerBoxes(kIdOk);
    Click(IDC_UPGRADE_START);
    dlg->Link().Workers().SetLauncher(nullptr);
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{"启动串口通讯线程失败"});
    EXPECT_EQ(boxes[0].caption, "错误");
    EXPECT_EQ(UpgradeControls(), enabled);
    // Nothing runs: a start with threads to be had starts one afresh, which ends by itself.
    RecordThreads();
    Click(IDC_UPGRADE_START);
    ASSERT_EQ(recorder->Count(), 1u);
    ASSERT_TRUE(WaitFor([&] { return UpgradeThreadFinished(); }));
    EXPECT_EQ(UpgradeControls(), disabled);
}

TEST_F(MainCommandsTest, TheNetworkSettingsCommandOpensTheirDialog) {
    bool shown = false;
    dlg->PostTask([this, &shown] {
        shown = dlg->NetworkSettingsDialog().IsWindowVisible();
        dlg->NetworkSettingsDialog().EndDialog(kIdCancel);
    });
    EXPECT_TRUE(dlg->DispatchNotify(IDM_NETWORK_SETTINGS, Notify::Clicked));
    EXPECT_TRUE(shown);
}

}  // namespace
