#include <gtest/gtest.h>

#include <set>

#include "app/main_tester_dlg.h"
#include "app/page_tables.h"
#include "commands/TestDlg/test_dlg.h"

namespace {

// A main window created for one test and closed after it.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg = std::make_unique<CMainTesterDlg>();
        ASSERT_TRUE(dlg->Create());
        dlg->ShowWindow(true);
        PumpMessages();
    }
    void TearDown() override {
        dlg->Close();
        dlg->DestroyWindow();
        dlg.reset();
        PumpMessages();
    }

    bool Visible(int id) const { return dlg->GetDlgItem(id).IsVisible(); }

    std::set<int> AllPageControls() const {
        std::set<int> ids;
        int n = 0;
        const PageTable* tables = AllPageTables(&n);
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < tables[i].count; ++k) ids.insert(tables[i].ids[k]);
        return ids;
    }

    // Clicks the tree item with the given code as a user would.
    void ClickTreeItem(int code) {
        TreeView& tree = dlg->m_functionTree;
        for (TreeItem root = tree.GetRootItem(); root; root = tree.GetNextSibling(root)) {
            tree.Expand(root);
            PumpMessages();
            if (tree.GetItemData(root) == code) {
                tree.ClickAt(tree.ItemCenter(root));
                return;
            }
            for (TreeItem c = tree.GetChildItem(root); c; c = tree.GetNextSibling(c)) {
                if (tree.GetItemData(c) == code) {
                    tree.ClickAt(tree.ItemCenter(c));
                    return;
                }
            }
        }
        FAIL() << "no tree item for code " << code;
    }

    void ExpectOnlyPageVisible(int code) {
        const PageTable* page = FindPageTable(code);
        ASSERT_NE(page, nullptr) << code;
        const std::set<int> shown(page->ids, page->ids + page->count);
        for (int id : AllPageControls()) EXPECT_EQ(Visible(id), shown.count(id) == 1) << "page " << code << " id " << id;
    }

    std::unique_ptr<CMainTesterDlg> dlg;
};

TEST_F(MainWindowTest, StartsOnTheRoundReadingPage) {
    ExpectOnlyPageVisible(PAGE_ROUND_READING);
    EXPECT_EQ(dlg->GetDlgItemText(1227), "串口未打开");
    EXPECT_EQ(dlg->GetDlgItemText(1001), "关闭接收");
    EXPECT_EQ(dlg->m_autoUpdateCheck.GetCheck(), 1);
    EXPECT_EQ(dlg->m_recordReceived, 1u);
    EXPECT_EQ(dlg->GetDlgItemText(1013), "81系统调试软件 ");
    // Laid out at start-up against the real client area.
    const Rect client = dlg->GetClientRect();
    const Rect title = dlg->GetDlgItem(1013).GetRectInParent();
    EXPECT_EQ(title.left, static_cast<int>(0.45 * client.Width()));
    EXPECT_EQ(title.top, static_cast<int>(0.02 * client.Height()));
    EXPECT_EQ(title.Width(), static_cast<int>(0.12 * client.Width()));
    EXPECT_EQ(dlg->GetWindowText(), "KV3391T");
    const TreeItem root = dlg->m_functionTree.GetRootItem();
    EXPECT_EQ(dlg->m_functionTree.GetItemText(root), "本地功能调试");
    EXPECT_TRUE(dlg->m_functionTree.IsExpanded(root));
    const TreeItem remote = dlg->m_functionTree.GetNextSibling(root);
    EXPECT_EQ(dlg->m_functionTree.GetItemText(remote), "远程调试功能");
    EXPECT_FALSE(dlg->m_functionTree.IsExpanded(remote));
    EXPECT_FALSE(dlg->IsGatherThreadRunning());
    EXPECT_FALSE(dlg->IsMonitorThreadRunning());
    EXPECT_EQ(dlg->m_sentCount, 1u);
    EXPECT_EQ(dlg->m_receivedCount, 1u);
    EXPECT_EQ(dlg->m_defaultFrameText, "4E C0 11 C8 0B 0001 00 64 C1 E1 E777 92 B0 FF FF ");
    EXPECT_EQ(dlg->m_remoteIp, "192.168.1.8");
    EXPECT_EQ(dlg->m_baudIndex, 7u);
    EXPECT_EQ(dlg->m_dataBitsIndex, 3u);
    ASSERT_NE(dlg->m_meterReplyEvent, nullptr);
    ASSERT_NE(dlg->m_stopRoundEvent, nullptr);
    EXPECT_EQ(dlg->SystemMenuItems(), (std::vector<std::string>{"", "关于 Brevanti(&A)..."}));
}

TEST_F(MainWindowTest, TreeItemsShowExactlyTheirPage) {
    for (int code : {PAGE_PASS_THROUGH, PAGE_CUSTOM_FRAME, PAGE_SET_NETWORK_PARAMS, PAGE_SEND_DATA, PAGE_START_SEARCH,
                     PAGE_ANSWER_SEARCH, PAGE_REMOTE_PASSWORD_SET, PAGE_SET_USER_PASSWORD, PAGE_ROUND_READING}) {
        ClickTreeItem(code);
        EXPECT_EQ(dlg->CurrentPageCode(), code);
        EXPECT_FALSE(dlg->m_testPanel->IsWindowVisible());
        ExpectOnlyPageVisible(code);
    }
}

TEST_F(MainWindowTest, ModuleCommandItemsShowTheTestPanelOnly) {
    for (int code : {PAGE_MODULE_RESTART, PAGE_READ_VERSION, PAGE_READ_MAC, PAGE_READ_COMM_ADDRESS,
                     PAGE_SET_COMM_ADDRESS, PAGE_READ_USER_PASSWORD, PAGE_READ_NETWORK_PARAMS,
                     PAGE_REMOTE_READ_VERSION, PAGE_REMOTE_READ_MAC, PAGE_REMOTE_READ_NETWORK_PARAMS}) {
        ClickTreeItem(code);
        EXPECT_TRUE(dlg->m_testPanel->IsWindowVisible()) << code;
        EXPECT_EQ(dlg->m_testPanel->CurrentGroup(), code);
        for (int id : AllPageControls()) EXPECT_FALSE(Visible(id)) << "code " << code << " id " << id;
    }
}

TEST_F(MainWindowTest, RootsAndEmptySpaceLeaveThePageAlone) {
    ClickTreeItem(PAGE_SEND_DATA);
    ClickTreeItem(PAGE_LOCAL_ROOT);
    ExpectOnlyPageVisible(PAGE_SEND_DATA);
    ClickTreeItem(PAGE_REMOTE_ROOT);
    ExpectOnlyPageVisible(PAGE_SEND_DATA);
    dlg->m_functionTree.ClickAt(Point{5, dlg->m_functionTree.GetClientRect().Height() - 2});
    ExpectOnlyPageVisible(PAGE_SEND_DATA);
}

TEST_F(MainWindowTest, PasswordLogHeightFollowsThePage) {
    ClickTreeItem(PAGE_SET_USER_PASSWORD);
    const Rect tall = dlg->m_passwordLogList.GetRectInParent();
    ClickTreeItem(PAGE_REMOTE_PASSWORD_SET);
    const Rect shortRect = dlg->m_passwordLogList.GetRectInParent();
    const int H = dlg->m_initialRect.Height();
    EXPECT_EQ(tall.Height(), static_cast<int>(0.617 * H));
    EXPECT_EQ(shortRect.Height(), static_cast<int>(0.285 * H));
    EXPECT_LT(shortRect.bottom, dlg->m_passwordReplyLogList.GetRectInParent().top + 1);
}

TEST_F(MainWindowTest, HeaderCombosAndOptionDefaults) {
    EXPECT_EQ(dlg->m_directionCombo.GetSelectedText(), "主机发出帧");
    EXPECT_EQ(dlg->m_replyStatusCombo.GetSelectedText(), "正常应答");
    EXPECT_EQ(dlg->m_initiatorCombo.GetSelectedText(), "主动发起");
    EXPECT_EQ(dlg->m_channelTypeCombo.GetSelectedText(), "5281PLC");
    EXPECT_EQ(dlg->m_baudRateCombo.GetSelectedText(), "115200");
    EXPECT_EQ(dlg->m_deviceModeCombo.GetSelectedText(), "TRM5281/82MAC地址");
    EXPECT_EQ(dlg->m_deviceModeCombo2.GetSelectedText(), "TRM5281/82MAC地址");
    EXPECT_EQ(dlg->m_priorityCombo.GetSelectedText(), "Normal");
    EXPECT_EQ(dlg->m_broadcastLinkCombo.GetSelectedText(), "00: 广播");
    EXPECT_EQ(dlg->m_multicastCombo.GetSelectedText(), "00: 非组播");
    EXPECT_EQ(dlg->m_searchScopeCombo.GetSelectedText(), "搜索所有设备");
    EXPECT_EQ(dlg->m_decryptResultCombo.GetSelectedText(), "解密老密钥成功");
    EXPECT_EQ(dlg->m_changeConsentCombo.GetSelectedText(), "同意修改");
    EXPECT_EQ(dlg->m_protocolCombo.GetSelectedText(), "0:不区分");
    EXPECT_EQ(dlg->m_levelCombo.GetSelectedText(), "2 档");
    EXPECT_EQ(dlg->m_searchParticipationCombo.GetSelectedText(), "参与搜索");
    EXPECT_EQ(dlg->m_tcpStateCombo.GetSelectedText(), "建立连接成功");
    EXPECT_EQ(dlg->m_tcpOrUdpCombo.GetSelectedText(), "1:TCP");
    EXPECT_EQ(dlg->m_bandCombo.GetSelectedText(), "411");
    EXPECT_EQ(dlg->m_passwordTypeCombo.GetSelectedText(), "01: 用户网络口令");
    EXPECT_EQ(dlg->m_stopBitsCombo.GetSelectedText(), "1");
    EXPECT_EQ(dlg->m_parityCombo.GetSelectedText(), "None");
    EXPECT_EQ(dlg->m_waitModeCombo.GetSelectedText(), "超时时间(ms)");
    EXPECT_EQ(dlg->m_tcpStateCombo.GetCount(), 5);
    EXPECT_EQ(dlg->m_tcpStateCombo.GetLBText(0), "不存在");

    // The header combos make a host, initiating, normal frame of the first channel type.
    ModuleFrame f;
    ReadDirectionText(dlg->m_directionCombo.GetSelectedText(), f.direction);
    ReadInitiatorText(dlg->m_initiatorCombo.GetSelectedText(), f.initiator);
    ReadReplyStatusText(dlg->m_replyStatusCombo.GetSelectedText(), f.replyStatus);
    ReadChannelTypeText(dlg->m_channelTypeCombo.GetSelectedText(), f.channelType);
    ByteString control;
    PackControlByte(control, f);
    EXPECT_EQ(control, ByteString(1, 0x40));
}

TEST_F(MainWindowTest, DefaultTextsAndEditLimits) {
    EXPECT_EQ(dlg->GetDlgItemText(1639), "00010203040506070809");
    EXPECT_EQ(dlg->GetDlgItemText(1614), "5A3C91E07B42D86F");
    EXPECT_EQ(dlg->GetDlgItemText(3007), "201708180001");
    EXPECT_EQ(dlg->GetDlgItemText(3034), "00010000");
    EXPECT_EQ(dlg->GetDlgItemText(1868), "1200");
    EXPECT_EQ(dlg->GetDlgItemText(1640), "1234");
    for (int id : {1638, 1546, 1805, 3007, 3009}) {
        Edit e(dlg->GetDlgItem(id));
        e.SetText("");
        e.TypeText("1234567890ABC");
        EXPECT_EQ(e.GetText(), "1234567890AB") << id;
    }
    Edit multicast(dlg->GetDlgItem(1640));
    multicast.SetText("");
    multicast.TypeText("123456");
    EXPECT_EQ(multicast.GetText(), "1234");
    EXPECT_EQ(Edit(dlg->GetDlgItem(3034)).GetLimitText(), 8);
    EXPECT_EQ(Edit(dlg->GetDlgItem(3015)).GetLimitText(), 9);
}

TEST_F(MainWindowTest, ListColumns) {
    EXPECT_EQ(dlg->m_addressList.GetColumnCount(), 10);
    EXPECT_EQ(dlg->m_addressList.GetColumnHeading(7), "看门狗复位次数");
    EXPECT_EQ(dlg->m_addressList.GetColumnWidth(7), 100);
    for (ListView* l : {&dlg->m_frameLogList, &dlg->m_dataLogList, &dlg->m_searchLogList}) {
        ASSERT_EQ(l->GetColumnCount(), 3);
        EXPECT_EQ(l->GetColumnHeading(0), "时间");
        EXPECT_EQ(l->GetColumnHeading(2), "报文显示");
        EXPECT_EQ(l->GetColumnWidth(2), 1000);
    }
    EXPECT_EQ(dlg->m_meterReadList.GetColumnHeading(4), "耗时");
    EXPECT_EQ(dlg->m_passThroughList.GetColumnHeading(3), "方向");
    EXPECT_EQ(dlg->m_receiveTabs.GetItemCount(), 3);
    EXPECT_EQ(dlg->m_receiveTabs.GetItemText(1), "网络层报文接收");
    EXPECT_EQ(dlg->m_macFramePage.m_list.GetColumnHeading(6), "帧内容");
}

TEST_F(MainWindowTest, TellingRowsAtTwoWindowSizes) {
    for (const auto& size : {std::pair<int, int>{1280, 800}, std::pair<int, int>{1600, 1000}}) {
        const Rect r = dlg->GetWindowRect();
        dlg->MoveWindow(r.left, r.top, size.first, size.second);
        PumpMessages();
        dlg->LayoutControls();
        const Rect win = dlg->GetWindowRect();
        const int W = win.Width();
        const int H = win.Height();
        auto expect = [&](int id, double x, double y, double w, double h) {
            const Rect got = dlg->GetDlgItem(id).GetRectInParent();
            EXPECT_EQ(got.left, static_cast<int>(x * W)) << id;
            EXPECT_EQ(got.top, static_cast<int>(y * H)) << id;
            EXPECT_EQ(got.Width(), static_cast<int>(w * W)) << id;
            if (h >= 0) {
                EXPECT_EQ(got.Height(), static_cast<int>(h * H)) << id;
            }
        };
        const int buttons[] = {1001, 1021, 1232, 1033, 1034, 1044, 1045, 1046};
        for (int i = 0; i < 8; ++i) expect(buttons[i], 0.20 + 0.09 * i, 0.07, 0.08, 0.03);
        expect(1272, 0.195, 0.23, 0.50, 0.617);
        expect(1012, 0.70, 0.24, 0.27, 0.617);
        expect(1015, 0.702, 0.24, 0.27, 0.617);
        expect(3032, 0.195, 0.23, 0.77, 0.617);
        expect(1630, 0.195, 0.24, 0.50, 0.285);
        expect(1636, 0.195, 0.565, 0.50, 0.285);
        expect(1629, 0.195, 0.242, 0.50, 0.617);
        expect(1008, 0.20, 0.85, 0.07, 0.035);
        expect(1227, 0.02, 0.89, 0.20, 0.015);
        expect(3042, 0.02, 0.91, 0.20, 0.03);
        expect(3012, 0.65, 0.14, 0.09, -1);
        expect(1977, 0.375, 0.14, 0.07, -1);
        expect(1265, 0.02, 0.04, 0.15, 0.85);
        const Rect client = dlg->GetClientRect();
        const Rect tabs = dlg->GetDlgItem(1047).GetRectInParent();
        EXPECT_EQ(tabs.left, static_cast<int>(0.19 * client.Width()));
        EXPECT_EQ(tabs.top, static_cast<int>(0.14 * client.Height()));
        EXPECT_EQ(tabs.Height(), static_cast<int>(0.82 * client.Height()));
    }
}

TEST_F(MainWindowTest, RefusesToShrinkBelowTheMinimum) {
    const Rect r = dlg->GetWindowRect();
    dlg->MoveWindow(r.left, r.top, 600, 400);
    PumpMessages();
    EXPECT_GE(dlg->GetWindowRect().Width(), 800);
    EXPECT_GE(dlg->GetWindowRect().Height(), 500);
}

TEST_F(MainWindowTest, EnterAndEscDoNotClose) {
    EXPECT_TRUE(dlg->PressKey(Key::Enter));
    EXPECT_TRUE(dlg->PressKey(Key::Escape));
    EXPECT_TRUE(dlg->IsWindowVisible());
    Edit e(dlg->GetDlgItem(3034));
    e.SetFocus();
    EXPECT_TRUE(dlg->PressKey(Key::Enter));
    EXPECT_TRUE(dlg->IsWindowVisible());
}

TEST_F(MainWindowTest, ShiftChecksTheRowsBetweenTheFirstTwoChecked) {
    for (int i = 0; i < 10; ++i) dlg->m_addressList.InsertItem(i, std::to_string(i));
    dlg->m_addressList.SetCheck(2, true);
    dlg->m_addressList.SetCheck(7, true);
    dlg->m_addressList.SetCheck(9, true);
    dlg->PressKey(Key::Shift);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(dlg->m_addressList.GetCheck(i), (i >= 2 && i <= 7) || i == 9) << i;
}

TEST_F(MainWindowTest, ToggleReceiveAndStatusTexts) {
    Button(dlg->GetDlgItem(1001)).Click();
    EXPECT_EQ(dlg->GetDlgItemText(1001), "打开接收");
    EXPECT_EQ(dlg->m_recordReceived, 0u);
    Button(dlg->GetDlgItem(1001)).Click();
    EXPECT_EQ(dlg->GetDlgItemText(1001), "关闭接收");
    EXPECT_EQ(dlg->m_recordReceived, 1u);
    dlg->SetVersionText("版本号:QV-1234-01-02-03");
    EXPECT_EQ(dlg->GetDlgItemText(3042), "版本号:QV-1234-01-02-03");
    dlg->SetVersionText("");
    EXPECT_EQ(dlg->GetDlgItemText(3042), "版本号:QV-1234-01-02-03");
    EXPECT_TRUE(dlg->IsTimerRunning(TIMER_VERSION_WAIT));
    dlg->m_versionShown = 0;
    EXPECT_TRUE(WaitPumping([&] { return dlg->m_versionShown == 1; }, 5000));
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_VERSION_WAIT));
}

TEST_F(MainWindowTest, FrameMonitorButtonStaysDisabledUntilTheMonitorCloses) {
    Button(dlg->GetDlgItem(1021)).Click();
    EXPECT_TRUE(dlg->m_frameMonitorDlg.IsWindowVisible());
    EXPECT_FALSE(dlg->GetDlgItem(1021).IsEnabled());
    dlg->m_frameMonitorDlg.Close();
    EXPECT_FALSE(dlg->m_frameMonitorDlg.IsWindowVisible());
    EXPECT_TRUE(dlg->GetDlgItem(1021).IsEnabled());
}

TEST_F(MainWindowTest, RowsFromAnotherThreadKeepTheirOrderAndTheNewestIsSelected) {
    auto worker = WorkerThread::Start([this] {
        for (int i = 0; i < 50; ++i) dlg->AddDataReplyLogRow(i % 2 ? "7900008015" : "790100801501");
    });
    worker->Join();
    dlg->AddDataReplyLogRow("0A0B0");  // on the UI thread: after the rows written before it
    ListView& list = dlg->m_dataReplyLogList;
    ASSERT_EQ(list.GetItemCount(), 51);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(list.GetItemText(i, 1), i < 10 ? "0" + std::to_string(i) : std::to_string(i));
        EXPECT_EQ(list.GetItemText(i, 2), i % 2 ? "79 00 00 80 15 " : "79 01 00 80 15 01 ");
    }
    EXPECT_EQ(list.GetItemText(50, 2), "0A 0B ");  // an odd last digit is dropped
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{50});
    EXPECT_EQ(dlg->m_dataReplyLogRow, 50u);
    // The selection explains the newest frame in the analysis pane.
    EXPECT_EQ(dlg->m_analysisEdit.GetText().rfind("解析信息:\r\n控制域解析信息：", 0), 0u);
    // With 自动更新 cleared, new rows neither scroll nor select.
    dlg->m_autoUpdateCheck.SetCheck(0);
    list.ClearSelection();
    dlg->AddDataReplyLogRow("7900008015");
    EXPECT_EQ(list.GetItemCount(), 52);
    EXPECT_TRUE(list.GetSelectedRows().empty());
}

TEST_F(MainWindowTest, ClosingWithNothingRunningStopsNothing) {
    EXPECT_NE(dlg->m_serialComm, nullptr);
    dlg->Close();
    EXPECT_EQ(dlg->m_serialComm, nullptr);
    EXPECT_FALSE(dlg->IsGatherThreadRunning());
    EXPECT_FALSE(dlg->IsMonitorThreadRunning());
}

}  // namespace
