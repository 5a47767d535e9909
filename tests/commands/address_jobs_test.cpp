// The jobs over the address list as a user meets them, against the simulated module: the page
// read as each address comes, one job at a time, and closing the window while a job runs.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "support/held_line.h"
#include "support/main_window_fixture.h"
#include "support/thread_gate.h"

namespace {

using testsupport::WireBytes;
using kvtsim::Bytes;
using kvtsim::BuildFrame;
using kvtsim::FromHex;
using Strings = std::vector<std::string>;

class AddressJobsTest : public testsupport::MainWindowWithModule {
protected:
    // The clock stands still: an answer takes "00 ms", a silent device its whole second.
    AddressJobsTest() : MainWindowWithModule(33, true) {}

    void SetUp() override {
        MainWindowWithModule::SetUp();
        OpenPort();
    }
    ListView List() { return ListOf(IDC_ADDRESS_LIST); }
    void AddRows(const Strings& addresses) {
        for (const std::string& a : addresses) List().SetCheck(List().AppendRow({"", a, "old", "old", "old"}), true);
    }
    std::string Row(int r) { return List().GetItemText(r, 2) + "|" + List().GetItemText(r, 3); }
    // The frames of this command that reached the module, spaced.
    Strings Requests(uint8_t command) {
        Strings frames;
        for (const Bytes& f : sim.ReceivedFrames())
            if (f[4] == command) frames.push_back(testsupport::Spaced(f));
        return frames;
    }
};

TEST_F(AddressJobsTest, TheDataTestReadsThePageAsEachAddressComes) {
    // After the first request the data change: the second carries the new data. After the second
    // the depth is emptied: the third is refused with its message, nothing is sent for it, and
    // it fails after its wait.
    AddRows({"1", "2", "3"});
    for (const char* a : {"1", "2", "3"}) sim.SetAnswerFor(0x14, 2, WireBytes(a), BuildFrame(0x80, 0x14, {}));
    dlg->SetDlgItemText(IDC_USER_DATA, "A55A");
    Click(IDC_START_DATA_TEST);
    ASSERT_TRUE(WaitFor([&] { return Requests(0x14).size() == 1; }));
    dlg->SetDlgItemText(IDC_USER_DATA, "B66B");
    ASSERT_TRUE(WaitFor([&] { return Requests(0x14).size() == 2; }));
    dlg->SetDlgItemText(IDC_DEPTH, "");
    ASSERT_TRUE(WaitFor([&] { return Enabled(IDC_START_DATA_TEST); }, 10000));
    EXPECT_EQ(Requests(0x14), (Strings{"79 0C 00 40 14 33 08 01 00 00 00 00 00 02 00 A5 5A 9D 9F ",
                                       "79 0C 00 40 14 33 08 02 00 00 00 00 00 02 00 B6 6B C0 BE "}));
    EXPECT_EQ(BoxTexts(), Strings{"depth域不能为空"});
    EXPECT_EQ(Row(0), "成功|00 ms");
    EXPECT_EQ(Row(1), "成功|00 ms");
    EXPECT_EQ(Row(2), "失败|01 秒");
}

TEST_F(AddressJobsTest, PointReadingEndsAtTheDeviceWhoseRequestTheEmptiedLengthRefuses) {
    // The devices are silent. After the first request the data length is emptied: the second
    // device's request is refused with its message and the run ends there.
    AddRows({"1", "2", "3"});
    dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "1");
    Click(IDC_AUTO_POINT_READ);
    ASSERT_TRUE(WaitFor([&] { return Requests(0xF1).size() == 1; }));
    dlg->SetDlgItemText(IDC_POINT_READ_LENGTH, "");
    ASSERT_TRUE(WaitFor([&] { return Enabled(IDC_AUTO_POINT_READ); }, 10000));
    EXPECT_EQ(Requests(0xF1), Strings{"79 09 00 40 F1 00 01 00 00 00 00 00 14 00 4F AD "});
    EXPECT_EQ(BoxTexts(), Strings{"输入数据长度"});
    EXPECT_EQ(Row(0), "失败|01 秒");
    EXPECT_EQ(Row(1), " | ");
    EXPECT_EQ(Row(2), " | ");
}

TEST_F(AddressJobsTest, TwoResetRunsNeverShareTheirReplies) {
    // Each device answers each request at once. The clearing's start ends the reading and waits
    // for it: before the reading has sent anything, or while it waits out its 5 s with the first
    // device's answer queued. The clearing alone takes the answers, and the reading writes no row.
    const uint32_t counts[4] = {1, 2, 3, 4};
    AddRows({"71", "72", "73"});
    for (const char* a : {"71", "72", "73"}) {
        kvtsim::AnswerResetInfoFor(sim, WireBytes(a), false, kvtsim::ResetInfoAnswer(3, WireBytes(a), 9, counts));
    }
    const Strings clearing = {"79 08 00 40 F4 03 00 71 00 00 00 00 00 B0 CE ",
                              "79 08 00 40 F4 03 00 72 00 00 00 00 00 B1 CD ",
                              "79 08 00 40 F4 03 00 73 00 00 00 00 00 B2 CC "};
    for (bool readingWaits : {false, true}) {
        SCOPED_TRACE(readingWaits ? "the reading waits" : "started together");
        sim.ClearReceived();
        const size_t answersBefore = HistoryCount('1');
        dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, readingWaits ? "5" : "1");
        Click(IDC_READ_RESET_INFO);
        Strings expected = clearing;
        if (readingWaits) {
            ASSERT_TRUE(WaitFor([&] { return HistoryCount('1') == answersBefore + 1; }));
            expected.insert(expected.begin(), "79 08 00 40 F4 02 00 71 00 00 00 00 00 AF CF ");
            dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "1");
        }
        Click(IDC_AUTO_CLEAR_RESET);
        ASSERT_TRUE(WaitFor([&] { return Enabled(IDC_AUTO_CLEAR_RESET) && Enabled(IDC_READ_RESET_INFO); }, 20000));
        EXPECT_EQ(Requests(0xF4), expected);
        for (int r = 0; r < 3; ++r) EXPECT_EQ(Row(r) + "|" + List().GetItemText(r, 4), "成功|00 ms| ") << r;
    }
}

TEST_F(AddressJobsTest, ClosingDuringAConfigurationRunStopsIt) {
    AddRows({"81", "82"});
    dlg->SetDlgItemText(IDC_CONFIG_INDEX, "3");
    dlg->SetDlgItemText(IDC_CONFIG_DATA, "1000");
    Click(IDC_CONFIG_PARAMS);  // the devices are silent
    ASSERT_TRUE(WaitFor([&] { return Requests(0xE1).size() == 1; }));
    dlg->Close();
    // The run was joined in the close: its end has given the controls back, and the frame logs
    // it writes into can go with the window.
    PumpMessages();
    EXPECT_TRUE(Enabled(IDC_CONFIG_PARAMS));
    EXPECT_EQ(Row(0), " | ");
    dlg->DestroyWindow();
    dlg.reset();
    EXPECT_EQ(Requests(0xE1).size(), 1u);
}

TEST_F(AddressJobsTest, ACloseDoesNotWaitForAWriteTheDeviceDoesNotTake) {
    // The device stops reading and the line is filled, so the first frame of a data test, larger
    // than any room the line finds later, waits on it for a time-out of 40 s. Once it waits, the
    // window closes: the close ends the write with the port rather than join the run first. Its
    // time is the only sign; the bound lies well between its own work and that time-out.
    testsupport::ModuleReadingHold hold(sim);
    CSerialComm& port = *dlg->Link().SerialComm();
    testsupport::ModuleReadingHold::Fill(port, 40000);
    ASSERT_TRUE(hold.WaitUntilHeld(std::chrono::seconds(10)));
    testsupport::ModuleReadingHold::Fill(port, 40000);  // the room the held chunk left
    AddRows({"1", "2", "3", "4", "5", "6", "7", "8"});
    dlg->SetDlgItemText(IDC_USER_DATA, std::string(120000, 'A'));
    const uint32_t sent = dlg->Link().History().SentCount();
    Click(IDC_START_DATA_TEST);
    ASSERT_TRUE(WaitFor([&] { return port.WritesWaiting() == 1; }, 120000));
    const auto start = std::chrono::steady_clock::now();
    dlg->Close();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 10000);
    EXPECT_EQ(dlg->Link().History().SentCount(), sent);  // the first frame never went out whole
}

// A start that first waits for the running job, pumping the window's messages, while the window
// closes: the running job's thread is held before its first device until the close lets it go.
struct StartDuringClose {
    const char* name;
    int running, pressed;
};

class AStartThatPumpsAClose : public AddressJobsTest, public ::testing::WithParamInterface<StartDuringClose> {};

TEST_P(AStartThatPumpsAClose, StartsNothing) {
    const StartDuringClose& c = GetParam();
    testsupport::ThreadGate threads(dlg->Link().Workers());
    AddRows({"1", "2", "3"});
    dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "1");
    Click(c.running);
    ASSERT_EQ(threads.Starts(), 1u);
    for (int r = 0; r < 3; ++r) List().SetItemText(r, AddressColumn::kResult, "kept");
    const uint32_t sent = dlg->Link().History().SentCount();
    dlg->PostTask([this] { dlg->Close(); });
    dlg->PostTask(threads.Opener());
    Click(c.pressed);
    ASSERT_EQ(dlg->Link().SerialComm(), nullptr);  // the close came in the start
    // No thread, no request, no message; the rows are as the close left them.
    EXPECT_EQ(threads.Starts(), 1u);
    EXPECT_EQ(dlg->Link().History().SentCount(), sent);
    EXPECT_EQ(BoxTexts(), Strings{});
    for (int r = 0; r < 3; ++r) EXPECT_EQ(List().GetItemText(r, AddressColumn::kResult), "kept") << r;
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, AStartThatPumpsAClose,
    ::testing::Values(StartDuringClose{"ResetReadingThenDataTest", IDC_READ_RESET_INFO, IDC_START_DATA_TEST},
                      StartDuringClose{"DataTestThenConfiguration", IDC_START_DATA_TEST, IDC_CONFIG_PARAMS},
                      StartDuringClose{"VersionTestAgain", IDC_VERSION_TEST, IDC_VERSION_TEST}),
    [](const ::testing::TestParamInfo<StartDuringClose>& info) { return std::string(info.param.name); });

}  // namespace
