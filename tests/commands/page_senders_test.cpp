// The command buttons of the main window's pages against the simulated module: the exact
// frame that reaches the module, the row in the page's log, and the refusals that send nothing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/main_tester_dlg.h"
#include "link/serial_settings_dlg.h"
#include "sim/sim_module.h"
#include "support/main_window_fixture.h"

namespace {

using kvtsim::FromHex;

constexpr char kStopSearch[] = "79 00 00 40 18 58 58";

class PageSendersTest : public testsupport::MainWindowWithModule {
protected:
    PageSendersTest() : MainWindowWithModule(9) {}
    void SetUp() override {
        MainWindowWithModule::SetUp();
        OpenPort();
        ASSERT_EQ(dlg->m_portOpen, 1);
        // The version request that follows the opening.
        ASSERT_EQ(NextFrame(), "79 00 00 40 02 42 42");
        ASSERT_EQ(SentCount(), 1u);
        // Header: sent by the host, initiated, normal answer, channel 5281PLC (control 0x40).
        SetHeader("主机发出帧", "主动发起", "正常应答", "5281PLC");
        ASSERT_TRUE(boxes.empty());
    }

    void Select(ComboBox& combo, const std::string& text) {
        const int index = combo.FindStringExact(text);
        ASSERT_GE(index, 0) << text;
        combo.SetCurSel(index);
    }

    void SetHeader(const char* direction, const char* initiator, const char* reply, const char* channel) {
        Select(dlg->m_directionCombo, direction);
        Select(dlg->m_initiatorCombo, initiator);
        Select(dlg->m_replyStatusCombo, reply);
        Select(dlg->m_channelTypeCombo, channel);
    }

    void Type(int id, const std::string& text) {
        Edit edit(dlg->GetDlgItem(id));
        edit.SetText("");
        edit.TypeText(text);
    }

    void Click(int id) { Button(dlg->GetDlgItem(id)).Click(); }

    size_t SentCount() {
        LockGuard lock(dlg->m_historyLock);
        size_t n = 0;
        for (const MonitorRecord& r : dlg->m_frameHistory) n += r.kind == '0';
        return n;
    }

    // The next frame that reached the module after those already looked at, as spaced hex.
    std::string NextFrame() {
        const size_t index = seen++;
        if (!sim.WaitForFrames(index + 1, std::chrono::seconds(5))) return "(no frame)";
        const kvtsim::Bytes f = sim.ReceivedFrames()[index];
        std::string text;
        static const char digits[] = "0123456789ABCDEF";
        for (unsigned char b : f) {
            if (!text.empty()) text += ' ';
            text += digits[b >> 4];
            text += digits[b & 0x0F];
        }
        return text;
    }

    // Clicks a button and expects exactly one frame at the module and one row in the list.
    void ExpectSent(int button, const std::string& frame, ListView& log) {
        const int rows = log.GetItemCount();
        const size_t sent = SentCount();
        Click(button);
        EXPECT_EQ(NextFrame(), frame);
        ASSERT_EQ(log.GetItemCount(), rows + 1);
        EXPECT_EQ(log.GetItemText(rows, 2), frame + " ");
        EXPECT_EQ(SentCount(), sent + 1);
        EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    }

    // Clicks a button that must refuse with this message: no frame, no row, no history record.
    // The stop-search frame sent afterwards shows that nothing went out before it.
    void ExpectRefused(int button, const std::string& message) {
        const int rows[] = {dlg->m_frameLogList.GetItemCount(), dlg->m_dataLogList.GetItemCount(),
                            dlg->m_searchLogList.GetItemCount(), dlg->m_passwordLogList.GetItemCount()};
        const size_t sent = SentCount();
        Click(button);
        if (message.empty()) {
            EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, message);
            EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(kMbOk));
        }
        boxes.clear();
        EXPECT_EQ(SentCount(), sent);
        EXPECT_EQ(dlg->m_dataLogList.GetItemCount(), rows[1]);
        EXPECT_EQ(dlg->m_searchLogList.GetItemCount(), rows[2]);
        EXPECT_EQ(dlg->m_passwordLogList.GetItemCount(), rows[3]);
        EXPECT_EQ(dlg->m_frameLogList.GetItemCount(), rows[0]);
        Click(1816);
        EXPECT_EQ(NextFrame(), kStopSearch);
        EXPECT_EQ(SentCount(), sent + 1);
    }

    size_t seen = 0;  // frames of the module already looked at
};

// ---- Send data (0x14) ----

TEST_F(PageSendersTest, SendDataCarriesModeWordAddressAndData) {
    Select(dlg->m_deviceModeCombo2, "网关");             // source 1
    Select(dlg->m_deviceModeCombo, "TRM5281/82MAC地址");  // target 3
    Select(dlg->m_passwordTypeCombo, "01: 用户网络口令");
    Type(3005, "7");
    Type(1638, "123456789ABC");
    Type(1639, "1 23");
    ExpectSent(1601, "79 0C 00 40 14 31 78 BC 9A 78 56 34 12 02 00 01 23 99 1F", dlg->m_dataLogList);
}

TEST_F(PageSendersTest, SendDataWithAnEmptyDataEditAndAnotherHeader) {
    SetHeader("从机发出帧", "命令回应", "异常应答", "WiFi");  // control 0xB0
    Select(dlg->m_deviceModeCombo2, "网关");
    Select(dlg->m_deviceModeCombo, "TRM5281/82MAC地址");
    Select(dlg->m_passwordTypeCombo, "01: 用户网络口令");
    Type(3005, "123");  // read as 12
    Type(1638, "123456789ABC");
    Type(1639, "");
    ExpectSent(1601, "79 0A 00 B0 14 31 C8 BC 9A 78 56 34 12 00 00 31 79", dlg->m_dataLogList);
}

TEST_F(PageSendersTest, SendDataRefusals) {
    Type(3005, "");
    Type(1638, "");
    ExpectRefused(1601, "depth域不能为空");  // the depth is checked first
    Type(3005, "1");
    ExpectRefused(1601, "地址域不能为空");
    Type(1638, " ");
    ExpectRefused(1601, "地址域不能为空");
}

// ---- Execution-state report (0x10) ----

TEST_F(PageSendersTest, ExecStateReportWithAddress) {
    Select(dlg->m_deviceModeCombo2, "BLEMAC地址");  // 5
    Select(dlg->m_deviceModeCombo, "RM5207MAC地址");  // 4
    Type(1546, "201708180");
    Type(1548, "AA BB");
    Type(1550, "c");
    ExpectSent(1553, "79 0A 00 40 10 45 80 81 70 01 02 00 AA BB 0C 84 70", dlg->m_frameLogList);
}

TEST_F(PageSendersTest, ExecStateReportWithoutAddressForAnyDeviceType) {
    Select(dlg->m_deviceModeCombo2, "BLEMAC地址");
    Select(dlg->m_deviceModeCombo, "不区分设备类型");
    Type(1546, "");
    Type(1548, "AA BB");
    Type(1550, "c");
    ExpectSent(1553, "79 04 00 40 10 05 AA BB 0C CA 4C", dlg->m_frameLogList);
}

TEST_F(PageSendersTest, ExecStateReportRefusesAnEmptyAddress) {
    Select(dlg->m_deviceModeCombo, "网关");
    Type(1546, "");
    ExpectRefused(1553, "地址域不能为空");
}

// ---- Start and stop search (0x17, 0x18) ----

TEST_F(PageSendersTest, StartSearch) {
    Select(dlg->m_deviceModeCombo2, "网关");   // 1
    Select(dlg->m_deviceModeCombo, "云服务器");  // 2
    Type(1604, "15");
    Select(dlg->m_searchScopeCombo, "搜索未入网设备");
    Select(dlg->m_multicastCombo, "00: 非组播");
    Type(1640, "1234");  // not sent without the multicast flag
    Type(1639, "0A0B0C");
    ExpectSent(1607, "79 06 00 40 17 21 2F 03 0A 0B 0C D1 51", dlg->m_searchLogList);
}

TEST_F(PageSendersTest, StartSearchWithMulticastAddress) {
    Select(dlg->m_deviceModeCombo2, "网关");
    Select(dlg->m_deviceModeCombo, "云服务器");
    Type(1604, "15");
    Select(dlg->m_searchScopeCombo, "搜索未入网设备");
    Select(dlg->m_multicastCombo, "01: 组播地址");
    Type(1640, "123");
    Type(1639, "0A0B0C");
    ExpectSent(1607, "79 08 00 40 17 21 AF 23 01 03 0A 0B 0C 77 FD", dlg->m_searchLogList);
}

TEST_F(PageSendersTest, StartSearchRadiusSixteenAndEmptyAttribute) {
    Select(dlg->m_deviceModeCombo2, "网关");
    Select(dlg->m_deviceModeCombo, "云服务器");
    Type(1604, "16");  // BCD 16 does not fit in four bits
    Select(dlg->m_searchScopeCombo, "搜索未入网设备");
    Select(dlg->m_multicastCombo, "00: 非组播");
    Type(1639, "");
    ExpectSent(1607, "79 03 00 40 17 21 20 00 9B 55", dlg->m_searchLogList);
}

TEST_F(PageSendersTest, StartSearchAttributeLengthCountsBytesNotBlanks) {
    Select(dlg->m_deviceModeCombo2, "网关");
    Select(dlg->m_deviceModeCombo, "云服务器");
    Type(1604, "15");
    Select(dlg->m_searchScopeCombo, "搜索未入网设备");
    Select(dlg->m_multicastCombo, "00: 非组播");
    Type(1639, "0A 0B");
    ExpectSent(1607, "79 05 00 40 17 21 2F 02 0A 0B C3 5F", dlg->m_searchLogList);
}

TEST_F(PageSendersTest, StartSearchRefusesAMissingMulticastAddress) {
    Select(dlg->m_multicastCombo, "01: 组播地址");
    Type(1640, "");
    ExpectRefused(1607, "请输入组播地址");
}

TEST_F(PageSendersTest, StopSearchIsSevenBytes) { ExpectSent(1816, kStopSearch, dlg->m_frameLogList); }

// ---- Device report (0x19) and the device limit ----

TEST_F(PageSendersTest, DeviceReportCountAndDevices) {
    Type(1563, "12");
    dlg->m_addDeviceText = "1122334455663412";
    ExpectSent(1565, "79 09 00 40 19 0C 11 22 33 44 55 66 34 12 19 0D", dlg->m_frameLogList);
}

TEST_F(PageSendersTest, DeviceReportWithAnEmptyCountStillCarriesTheCountByte) {
    Type(1563, "");
    dlg->m_addDeviceText.clear();
    ExpectSent(1565, "79 01 00 40 19 00 5A 58", dlg->m_frameLogList);
}

TEST_F(PageSendersTest, AddReportDeviceReadsTheLimitAsHexadecimal) {
    Type(1563, "12");
    Click(1564);
    EXPECT_EQ(dlg->m_maxDevices, 18u);
    EXPECT_TRUE(boxes.empty());
    // Nothing is sent.
    ExpectRefused(1564, "");
}

// ---- Continuous sending ----

TEST_F(PageSendersTest, ContinuousSendSendsOneStepAndStartsTheTimer) {
    Select(dlg->m_deviceModeCombo2, "网关");
    Select(dlg->m_deviceModeCombo, "TRM5281/82MAC地址");
    Select(dlg->m_passwordTypeCombo, "01: 用户网络口令");
    Type(3005, "7");
    Type(1638, "123456789ABC");
    Type(1639, "1 23");
    dlg->m_contSendEnabled = 1;
    dlg->m_contSendCount = 4;
    dlg->m_sendDataArrived = 1;
    dlg->m_contReplySeen = 1;
    ExpectSent(1500, "79 0C 00 40 14 31 78 BC 9A 78 56 34 12 02 00 01 23 99 1F", dlg->m_dataLogList);
    EXPECT_EQ(dlg->GetDlgItemText(1500), "第5次发送");
    EXPECT_EQ(dlg->m_contSendCount, 5u);
    EXPECT_EQ(dlg->m_contSendFresh, 1);
    EXPECT_EQ(dlg->m_contSendTick, 0u);
    EXPECT_EQ(dlg->m_sendDataArrived, 0);
    EXPECT_EQ(dlg->m_contReplySeen, 0);
    EXPECT_TRUE(dlg->IsTimerRunning(TIMER_CONTINUOUS_SEND));
    dlg->KillTimer(TIMER_CONTINUOUS_SEND);
}

TEST_F(PageSendersTest, ContinuousSendDisabledDoesNothing) {
    dlg->m_contSendEnabled = 0;
    ExpectRefused(1500, "");
    EXPECT_EQ(dlg->GetDlgItemText(1500), "连续发送数据");
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_CONTINUOUS_SEND));
}

TEST_F(PageSendersTest, ContinuousSendStepCountsARefusedPayload) {
    Type(3005, "");
    dlg->m_contSendEnabled = 1;
    ExpectRefused(1500, "depth域不能为空");
    EXPECT_EQ(dlg->GetDlgItemText(1500), "第1次发送");
    dlg->KillTimer(TIMER_CONTINUOUS_SEND);
}

// ---- Start and delete connection (0x11, 0x13) ----

TEST_F(PageSendersTest, StartConnection) {
    Select(dlg->m_deviceModeCombo2, "网关");       // 1
    Select(dlg->m_deviceModeCombo, "BLEMAC地址");  // 5
    Select(dlg->m_protocolCombo, "2:TCP");
    Type(1546, "A1B2C3D4E5F6");
    ExpectSent(1616, "79 08 00 40 11 51 02 F6 E5 D4 C3 B2 A1 71 1D", dlg->m_frameLogList);
}

TEST_F(PageSendersTest, StartConnectionForAnyDeviceTypeCarriesNoAddress) {
    Select(dlg->m_deviceModeCombo2, "网关");
    Select(dlg->m_deviceModeCombo, "不区分设备类型");
    Select(dlg->m_protocolCombo, "1:UDP");
    Type(1546, "");
    ExpectSent(1616, "79 02 00 40 11 01 01 55 53", dlg->m_frameLogList);
}

TEST_F(PageSendersTest, DeleteConnection) {
    Select(dlg->m_deviceModeCombo2, "TRM5281/82MAC地址");  // 3
    Select(dlg->m_deviceModeCombo, "网关");                // 1
    Select(dlg->m_protocolCombo, "2:TCP");                 // not in this word
    Type(1546, "A1B2C3D4E5F6");
    ExpectSent(1622, "79 08 00 40 13 13 00 F6 E5 D4 C3 B2 A1 33 5F", dlg->m_frameLogList);
}

TEST_F(PageSendersTest, ConnectionsRefuseAnEmptyAddress) {
    Select(dlg->m_deviceModeCombo, "网关");
    Type(1546, "");
    ExpectRefused(1616, "地址域不能为空");
    ExpectRefused(1622, "地址域不能为空");
}

// ---- User network password (0x07) ----

TEST_F(PageSendersTest, SetUserPasswordAsText) {
    Button(dlg->GetDlgItem(1009)).SetCheck(0);
    Type(1614, "12345678");
    ExpectSent(1608, "79 09 00 40 07 08 31 32 33 34 35 36 37 38 FC 4E", dlg->m_passwordLogList);
    EXPECT_EQ(dlg->GetDlgItemText(1611), "8");
}

TEST_F(PageSendersTest, SetUserPasswordAsHexadecimal) {
    Button(dlg->GetDlgItem(1009)).SetCheck(1);
    Type(1614, "A1B2C");
    ExpectSent(1608, "79 04 00 40 07 03 0A 1B 2C 9F 7D", dlg->m_passwordLogList);
    EXPECT_EQ(dlg->GetDlgItemText(1611), "3");
}

TEST_F(PageSendersTest, SetUserPasswordChineseCharactersCountTwo) {
    Button(dlg->GetDlgItem(1009)).SetCheck(0);
    Type(1614, "口令");
    ExpectSent(1608, "79 05 00 40 07 04 BF DA C1 EE 98 0C", dlg->m_passwordLogList);
    EXPECT_EQ(dlg->GetDlgItemText(1611), "4");
}

TEST_F(PageSendersTest, SetUserPasswordLimits) {
    Button(dlg->GetDlgItem(1009)).SetCheck(0);
    Type(1614, std::string(64, 'z'));
    Click(1608);
    const std::string frame = NextFrame();
    EXPECT_EQ(frame.size(), (7u + 65u) * 3 - 1);
    EXPECT_EQ(frame.substr(0, 18), "79 41 00 40 07 40 ");
    Type(1614, std::string(65, 'z'));
    ExpectRefused(1608, "口令长度为1-64");
    Type(1614, std::string(257, 'z'));
    ExpectRefused(1608, "口令长度为1-64");
    Type(1614, "");
    ExpectRefused(1608, "口令长度为1-64");
    Button(dlg->GetDlgItem(1009)).SetCheck(1);
    Type(1614, std::string(129, '1'));
    ExpectRefused(1608, "口令长度为1-64");
    Type(1614, std::string(128, '1'));
    Click(1608);
    EXPECT_EQ(NextFrame().substr(0, 18), "79 41 00 40 07 40 ");
}

// ---- Remote user password setting (0x1C) ----

TEST_F(PageSendersTest, RemotePasswordSetting) {
    Button(dlg->GetDlgItem(1009)).SetCheck(0);
    Select(dlg->m_deviceModeCombo, "不区分设备类型");  // the word is fixed whatever the combos show
    Type(1805, "112233445566");
    Type(1558, "AAAAAAAA");
    Type(1614, "BBBBBBBBB");
    ExpectSent(1609,
               "79 1B 00 40 1C 33 00 66 55 44 33 22 11 08 41 41 41 41 41 41 41 41 09 42 42 42 42 42 42 42 42 42 7A 40",
               dlg->m_passwordLogList);
    EXPECT_EQ(dlg->GetDlgItemText(1556), "8");
    EXPECT_EQ(dlg->GetDlgItemText(1611), "9");
}

TEST_F(PageSendersTest, RemotePasswordSettingRefusals) {
    Button(dlg->GetDlgItem(1009)).SetCheck(0);
    Type(1805, "");
    Type(1558, "AAAAAAAA");
    Type(1614, "BBBBBBBB");
    ExpectRefused(1609, "地址域不能为空");
    Type(1805, "112233445566");
    Type(1558, "AAAAAAA");
    ExpectRefused(1609, "密钥长度为8-64");
    Button(dlg->GetDlgItem(1009)).SetCheck(1);
    Type(1558, "01020304050607");
    ExpectRefused(1609, "口令长度为8-64");
    // The second password refused: the first one's length stays shown.
    Button(dlg->GetDlgItem(1009)).SetCheck(0);
    dlg->SetDlgItemText(1556, "");
    Type(1558, "AAAAAAAAAA");
    Type(1614, "BB");
    ExpectRefused(1609, "密钥长度为8-64");
    EXPECT_EQ(dlg->GetDlgItemText(1556), "10");
}

// ---- Password request (0x1D), reached by no control ----

TEST_F(PageSendersTest, PasswordRequestToTheSlave) {
    Button(dlg->GetDlgItem(1009)).SetCheck(0);
    Select(dlg->m_deviceModeCombo2, "网关");           // 1
    Select(dlg->m_deviceModeCombo, "RM5207MAC地址");   // 4
    Type(1823, "1F");                                  // low 4 bits: F
    Select(dlg->m_decryptResultCombo, "解密老密钥成功");  // 2
    Type(1805, "A1B2C3D4E5F6");
    Type(1558, "12345678");
    dlg->SendRemotePasswordSlaveRequest();
    EXPECT_EQ(NextFrame(), "79 11 00 40 1D 41 2F F6 E5 D4 C3 B2 A1 08 31 32 33 34 35 36 37 38 4F 35");
    ASSERT_EQ(dlg->m_dataLogList.GetItemCount(), 1);
    EXPECT_EQ(dlg->m_dataLogList.GetItemText(0, 2),
              "79 11 00 40 1D 41 2F F6 E5 D4 C3 B2 A1 08 31 32 33 34 35 36 37 38 4F 35 ");
    EXPECT_EQ(dlg->GetDlgItemText(1556), "8");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PageSendersTest, PasswordRequestRefusals) {
    Button(dlg->GetDlgItem(1009)).SetCheck(0);
    Select(dlg->m_deviceModeCombo, "RM5207MAC地址");
    Type(1805, "A1B2C3D4E5F6");
    Type(1558, "1234567");
    dlg->SendRemotePasswordSlaveRequest();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "口令长度为8-64");  // the same text ticked or not
    boxes.clear();
    Type(1805, "");
    Type(1558, "12345678");
    dlg->SendRemotePasswordSlaveRequest();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "地址域不能为空");
    boxes.clear();
    EXPECT_EQ(dlg->m_dataLogList.GetItemCount(), 0);
    ExpectRefused(1564, "");  // only the stop-search frame follows the version request
    EXPECT_EQ(SentCount(), 2u);
}

// ---- Network parameters (0x0E) ----

TEST_F(PageSendersTest, SetNetworkParameters) {
    Type(1588, "15");
    Select(dlg->m_baudRateCombo, "115200");
    Select(dlg->m_parityCombo, "None");
    Select(dlg->m_stopBitsCombo, "1");
    Select(dlg->m_levelCombo, "2 档");
    Select(dlg->m_bandCombo, "411");
    ExpectSent(1591, "79 07 00 40 0E 0F A0 21 00 00 00 00 25 C7", dlg->m_frameLogList);
}

TEST_F(PageSendersTest, SetNetworkParametersOtherChoices) {
    Type(1588, "3");
    Select(dlg->m_baudRateCombo, "9600");
    Select(dlg->m_parityCombo, "Odd");
    Select(dlg->m_stopBitsCombo, "2");
    Select(dlg->m_levelCombo, "3 档");
    Select(dlg->m_bandCombo, "131");
    ExpectSent(1591, "79 07 00 40 0E 03 49 30 00 00 00 00 D1 33", dlg->m_frameLogList);
}

TEST_F(PageSendersTest, SetNetworkParametersDefaultsWhenNothingMatches) {
    Type(1588, "31");  // low 4 bits
    for (ComboBox* c : {&dlg->m_baudRateCombo, &dlg->m_parityCombo, &dlg->m_stopBitsCombo, &dlg->m_levelCombo,
                        &dlg->m_bandCombo})
        c->SetCurSel(-1);
    ExpectSent(1591, "79 07 00 40 0E 0F A0 21 00 00 00 00 25 C7", dlg->m_frameLogList);
}

}  // namespace
