// The serial channel of the main window against the simulated module on a pseudo-terminal.

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/main_tester_dlg.h"
#include "commands/TestDlg/test_dlg.h"
#include "link/serial_comm.h"
#include "link/serial_settings_dlg.h"
#include "sim/sim_module.h"
#include "support/main_window_fixture.h"

namespace {

using kvtsim::BuildFrame;
using kvtsim::FromHex;
using testsupport::B;

class MainLinkTest : public testsupport::MainWindowWithModule {
protected:
    MainLinkTest() : MainWindowWithModule(7) {}
    // Opens or closes the port without holding the version wait: the tests here look at it.
    void OpenFromSettingsDialog() { OpenPort(false); }
};

TEST_F(MainLinkTest, OpeningFromTheSettingsDialogStartsTheReceivePath) {
    // The open ends the dialog and starts the 100 ms version wait; the test holds that wait
    // open so the capture does not race the machine's load.
    dlg->PostTask([this] {
        CSerialSettingsDlg& s = *dlg->m_serialSettingsDlg;
        Button(s.GetDlgItem(1021)).Click();
        EXPECT_TRUE(dlg->IsTimerRunning(TIMER_VERSION_WAIT));
        EXPECT_EQ(dlg->m_versionShown, 0u);
        dlg->KillTimer(TIMER_VERSION_WAIT);
    });
    dlg->OnSerialSettings();
    EXPECT_FALSE(dlg->m_serialSettingsDlg->IsCreated());
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_TRUE(dlg->IsGatherThreadRunning());
    EXPECT_TRUE(dlg->IsMonitorThreadRunning());
    EXPECT_EQ(dlg->m_portOpen, 1);
    EXPECT_EQ(dlg->m_channelMode, CHANNEL_SERIAL);
    EXPECT_EQ(dlg->GetDlgItemText(1227), "COM7,115200, 8,无校验, 1");
    // The version request reaches the module byte for byte and is logged as sent.
    ASSERT_TRUE(sim.WaitForFrames(1, std::chrono::seconds(5)));
    EXPECT_EQ(B(sim.ReceivedFrames()[0]), FromHex("79 00 00 40 02 42 42"));
    EXPECT_EQ(HistoryCount('0'), 1u);
    // The module's version reply is captured as the first frame, not classified.
    EXPECT_TRUE(WaitFor([&] { return dlg->GetDlgItemText(3042) == "版本号:QV-5207-01-03-02"; }));
    EXPECT_EQ(dlg->m_versionShown, 1u);
    EXPECT_EQ(HistoryCount('1'), 0u);
}

TEST_F(MainLinkTest, FramesOfOneBurstLandInTheirQueuesLogsAndHistory) {
    OpenPort();
    const ByteString receiveData = B(BuildFrame(0x80, 0x15, FromHex("01 02")));
    const ByteString password = B(BuildFrame(0x80, 0x1D, FromHex("AA")));
    const ByteString remoteVersion = B(BuildFrame(0x80, 0x52, FromHex("56 51 34 12 01 03 02")));
    const ByteString reset2 = B(BuildFrame(0x80, 0xF4, FromHex("02 00")));
    const ByteString reset3 = B(BuildFrame(0x80, 0xF4, FromHex("03 00")));
    const ByteString search = B(BuildFrame(0xC0, 0x19, FromHex("01")));
    kvtsim::Bytes burst;
    for (const ByteString& f : {receiveData, password, remoteVersion, reset2, reset3, search})
        burst += kvtsim::Bytes(f.begin(), f.end());
    ASSERT_TRUE(sim.Send(burst));

    ASSERT_TRUE(WaitFor([&] { return HistoryCount('1') == 6; }));
    {
        LockGuard lock(dlg->m_sendDataLock);
        ASSERT_EQ(dlg->m_receiveDataReplies.size(), 1u);
        EXPECT_EQ(dlg->m_receiveDataReplies.front().frame, receiveData);
        ASSERT_EQ(dlg->m_passwordRequestReplies.size(), 1u);
    }
    EXPECT_EQ(dlg->m_receiveDataArrived, 1);
    EXPECT_EQ(dlg->m_passwordRequestArrived, 1);
    EXPECT_EQ(dlg->m_versionArrived, 1);
    {
        LockGuard lock(dlg->m_resetInfoLock);
        ASSERT_EQ(dlg->m_resetInfoReplies.size(), 2u);  // both sub-commands, oldest first
        EXPECT_EQ(dlg->m_resetInfoReplies[0].frame, reset2);
        EXPECT_EQ(dlg->m_resetInfoReplies[1].frame, reset3);
    }
    EXPECT_EQ(dlg->m_pointReadArrived, 1);
    ASSERT_TRUE(WaitFor([&] {
        return dlg->m_dataReplyLogList.GetItemCount() == 1 && dlg->m_searchLogList.GetItemCount() == 1 &&
               dlg->m_frameLogList.GetItemCount() == 2;
    }));
    EXPECT_EQ(dlg->m_dataReplyLogList.GetItemText(0, 1), "00");
    EXPECT_EQ(dlg->m_dataReplyLogList.GetItemText(0, 2), "79 02 00 80 15 01 02 9A 94 ");
    EXPECT_EQ(dlg->m_passwordReplyLogList.GetItemCount(), 1);
    EXPECT_EQ(dlg->m_searchLogList.GetItemCount(), 1);
    EXPECT_EQ(dlg->m_frameLogList.GetItemCount(), 2);  // the two reset-information replies
    EXPECT_EQ(dlg->m_testPanel->m_logList.GetItemCount() >= 4, true);
    // Time stamps with milliseconds.
    const std::string stamp = dlg->m_dataReplyLogList.GetItemText(0, 0);
    ASSERT_EQ(stamp.size(), 23u);
    EXPECT_EQ(stamp[19], ':');
    // The history keeps them in order, stamped with their arrival.
    LockGuard lock(dlg->m_historyLock);
    std::vector<ByteString> received;
    for (const MonitorRecord& r : dlg->m_frameHistory)
        if (r.kind == '1') received.push_back(r.frame);
    ASSERT_EQ(received.size(), 6u);
    EXPECT_EQ(received[0], receiveData);
    EXPECT_EQ(received[5], search);
}

TEST_F(MainLinkTest, AFrameSplitByAQuietGapIsLostAsTwoRawChunks) {
    OpenPort();
    const kvtsim::Bytes frame = BuildFrame(0x80, 0x15, FromHex("01 02 03 04"));
    ASSERT_TRUE(sim.SendSplit(frame, 5, std::chrono::milliseconds(150)));
    ASSERT_TRUE(WaitFor([&] { return dlg->m_passThroughList.GetItemCount() == 2; }));
    EXPECT_EQ(dlg->m_passThroughList.GetItemText(0, 2), "79 04 00 80 15 ");
    EXPECT_EQ(dlg->m_passThroughList.GetItemText(0, 3), "R");
    EXPECT_EQ(dlg->m_passThroughList.GetItemText(0, 4), "  5");
    LockGuard lock(dlg->m_sendDataLock);
    EXPECT_TRUE(dlg->m_receiveDataReplies.empty());
}

TEST_F(MainLinkTest, SendingWritesTheBytesAndRecordsASentFrame) {
    OpenFromSettingsDialog();
    ASSERT_TRUE(sim.WaitForFrames(1, std::chrono::seconds(5)));
    const ByteString frame = B(BuildFrame(0x40, 0x03, kvtsim::Bytes()));
    dlg->SendFrame(frame);
    ASSERT_TRUE(sim.WaitForFrames(2, std::chrono::seconds(5)));
    EXPECT_EQ(B(sim.ReceivedFrames()[1]), frame);
    EXPECT_EQ(HistoryCount('0'), 2u);
    LockGuard lock(dlg->m_historyLock);
    EXPECT_EQ(dlg->m_frameHistory.back().frame, frame);
    EXPECT_EQ(dlg->m_sentCount, 3u);
}

TEST_F(MainLinkTest, WithNoChannelAFrameIsStillRecordedAsSent) {
    dlg->SendFrame(ByteString{0x79, 0x00, 0x00, 0x40, 0x03, 0x43, 0x43});
    EXPECT_EQ(HistoryCount('0'), 1u);
    EXPECT_EQ(sim.FrameCount(), 0u);
}

TEST_F(MainLinkTest, ReceptionOffLeavesNoRecord) {
    OpenPort();
    Button(dlg->GetDlgItem(1001)).Click();
    ASSERT_TRUE(sim.Send(BuildFrame(0x80, 0x15, FromHex("01"))));
    ASSERT_TRUE(WaitFor([&] { return dlg->m_dataReplyLogList.GetItemCount() == 1; }));
    PumpFor(50);
    EXPECT_EQ(HistoryCount('1'), 0u);
    EXPECT_EQ(dlg->m_receivedCount, 1u);
}

TEST_F(MainLinkTest, CloseAndReopen) {
    OpenFromSettingsDialog();
    ASSERT_TRUE(dlg->IsGatherThreadRunning());
    OpenFromSettingsDialog();  // the button now reads "关闭串口": closes
    EXPECT_FALSE(dlg->IsGatherThreadRunning());
    EXPECT_TRUE(dlg->IsMonitorThreadRunning());  // the monitor keeps running
    EXPECT_EQ(dlg->m_channelMode, CHANNEL_NONE);
    EXPECT_EQ(dlg->m_portOpen, 0);
    EXPECT_EQ(dlg->GetDlgItemText(1227), "串口未打开");
    const std::shared_ptr<WorkerThread> monitor = dlg->m_monitorThread;
    OpenFromSettingsDialog();
    EXPECT_TRUE(dlg->IsGatherThreadRunning());
    EXPECT_EQ(dlg->m_portOpen, 1);
    // Reopening keeps the one monitor thread: no second one is started beside it.
    EXPECT_EQ(dlg->m_monitorThread, monitor);
    EXPECT_FALSE(monitor->IsFinished());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainLinkTest, ClosingTheWindowStopsTheThreads) {
    OpenFromSettingsDialog();
    ASSERT_TRUE(dlg->IsGatherThreadRunning());
    std::shared_ptr<WorkerThread> gather = dlg->m_gatherThread;
    std::shared_ptr<WorkerThread> monitor = dlg->m_monitorThread;
    dlg->Close();
    EXPECT_FALSE(dlg->IsGatherThreadRunning());
    EXPECT_FALSE(dlg->IsMonitorThreadRunning());
    EXPECT_TRUE(gather->IsFinished());
    EXPECT_TRUE(monitor->IsFinished());
    EXPECT_EQ(dlg->m_serialComm, nullptr);
}

TEST_F(MainLinkTest, HangUpClosesThePortCleanly) {
    OpenFromSettingsDialog();
    ASSERT_TRUE(dlg->IsGatherThreadRunning());
    sim.HangUp();
    ASSERT_TRUE(WaitFor([&] { return !dlg->IsGatherThreadRunning(); }));
    EXPECT_EQ(dlg->m_portOpen, 0);
    EXPECT_EQ(dlg->m_channelMode, CHANNEL_NONE);
    EXPECT_EQ(dlg->GetDlgItemText(1227), "串口未打开");
    EXPECT_FALSE(dlg->m_serialComm->IsOpen());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "错误");
}

TEST_F(MainLinkTest, ThePortListShowsFreePortsAndTheOpenOne) {
    auto listedCom7 = [this] {
        bool listed = false;
        dlg->PostTask([this, &listed] {
            CSerialSettingsDlg& s = *dlg->m_serialSettingsDlg;
            ComboBox ports(s.GetDlgItem(1076));
            listed = ports.FindStringExact("COM7") >= 0;
            if (listed) {
                EXPECT_EQ(ports.GetSelectedText(), "COM7");
            }
            EXPECT_EQ(ComboBox(s.GetDlgItem(1006)).GetSelectedText(), "115200");
            EXPECT_EQ(ComboBox(s.GetDlgItem(1007)).GetSelectedText(), "无校验");
            EXPECT_EQ(ComboBox(s.GetDlgItem(1008)).GetSelectedText(), "8");
            EXPECT_EQ(ComboBox(s.GetDlgItem(1009)).GetSelectedText(), "1");
            Button(s.GetDlgItem(2)).Click();
        });
        dlg->OnSerialSettings();
        return listed;
    };
    EXPECT_TRUE(listedCom7());
    {
        CSerialPort other;
        ASSERT_EQ(other.Open(7, 115200, 8, 0, "1"), 0);
        EXPECT_FALSE(listedCom7());  // held by another program
    }
    OpenFromSettingsDialog();
    ASSERT_TRUE(dlg->IsGatherThreadRunning());
    EXPECT_TRUE(listedCom7());  // the tool's own open port
}

TEST_F(MainLinkTest, ABusyPortIsReported) {
    CSerialPort other;
    ASSERT_EQ(other.Open(7, 115200, 8, 0, "1"), 0);
    OpenFromSettingsDialog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "错误");
    EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(kMbOk | kMbIconStop));
    EXPECT_EQ(boxes[0].text.rfind("串口硬件不可用(被其它设备锁定)", 0), 0u) << boxes[0].text;
    EXPECT_EQ(dlg->m_portOpen, 0);
    EXPECT_FALSE(dlg->IsGatherThreadRunning());
}

TEST_F(MainLinkTest, AMissingDeviceIsReported) {
    setenv("KVT_COM7", "/dev/kvt-no-such-device", 1);
    OpenFromSettingsDialog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("串口硬件不可用(被其它设备锁定)", 0), 0u) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("/dev/kvt-no-such-device"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(dlg->m_portOpen, 0);
}

}  // namespace
