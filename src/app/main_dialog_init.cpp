// Construction, start-up and closing of the main window.

#include "app/main_tester_dlg.h"
#include "link/conversions.h"
#include "app/page_tables.h"
#include "commands/TestDlg/test_dlg.h"
#include "commands/window_repeats.h"
#include "res/resource_ids.h"

namespace {
std::string ResourcePath(const char* name) { return std::string(KVT_RES_DIR) + "/" + name; }
}  // namespace

CMainTesterDlg::CMainTesterDlg(Dialog* /*parent*/)
    : Dialog(IDD_MAIN_TESTER),
      m_link(static_cast<LinkListener&>(*this)),
      m_serialSettingsDlg(*this),
      m_frameMonitorDlg(*this),
      m_parseFrameDlg(*this),
      m_deviceSearchDlg(*this),
      m_smartHomePage(*this),
      m_testPanel(new CTestDlg(*this)),
      m_repeats(std::make_unique<WindowRepeats>(RepeatWindowParts{
          *this, *this, *this, m_link, m_frameLogs, m_deviceSearchDlg, m_timedSendDlg, *m_testPanel})),
      m_timedSendDlg(*m_repeats),
      m_broadcastTestDlg(*this),
      m_sendConsoleDlg(*this),
      m_meterRounds(m_link, MakeRoundReports()) {
    m_hIcon = ResourcePath("icon128.png");
    // A worker may be blocked on a message sent to this thread: the stop pumps while it waits.
    m_link.Workers().SetWait([](const std::function<bool()>& finished) {
        if (IsUiThread()) WaitPumping(finished);
    });
    MapMessages();
}

CMainTesterDlg::~CMainTesterDlg() {
    // As in a close: nothing starts, the runs are told first and joined after the port has closed.
    m_link.Workers().Close();
    m_addressJobs.RequestStopAll();
    m_meterRounds.RequestStop();
    m_upgrade.Stop();
    m_link.Shutdown();
    StopBatchTests();
    StopMeterRuns();
}

void CMainTesterDlg::DoDataExchange() {
    m_waitModeCombo = ComboBox(GetDlgItem(IDC_ROUND_WAIT_MODE_COMBO));
    m_parityCombo = ComboBox(GetDlgItem(IDC_PARITY_COMBO));
    m_stopBitsCombo = ComboBox(GetDlgItem(IDC_STOP_BITS_COMBO));
    m_baudRateCombo = ComboBox(GetDlgItem(IDC_BAUD_RATE_COMBO));
    m_passwordTypeCombo = ComboBox(GetDlgItem(IDC_KEY_MODE_COMBO));
    m_bandCombo = ComboBox(GetDlgItem(IDC_BAND_COMBO));
    m_tcpOrUdpCombo = ComboBox(GetDlgItem(IDC_TCP_TYPE_COMBO));
    m_tcpStateCombo = ComboBox(GetDlgItem(IDC_TCP_STATE_COMBO));
    m_searchParticipationCombo = ComboBox(GetDlgItem(IDC_SEARCH_PARTICIPATION_COMBO));
    m_levelCombo = ComboBox(GetDlgItem(IDC_TX_POWER_COMBO));
    m_protocolCombo = ComboBox(GetDlgItem(IDC_PROTOCOL_COMBO));
    m_changeConsentCombo = ComboBox(GetDlgItem(IDC_CHANGE_CONSENT_COMBO));
    m_decryptResultCombo = ComboBox(GetDlgItem(IDC_DECRYPT_RESULT_COMBO));
    m_searchScopeCombo = ComboBox(GetDlgItem(IDC_SEARCH_SCOPE_COMBO));
    m_initiatorCombo = ComboBox(GetDlgItem(IDC_INITIATOR_COMBO));
    m_dataLogList = ListView(GetDlgItem(IDC_DATA_LOG));
    m_dataReplyLogList = ListView(GetDlgItem(IDC_DATA_REPLY_LOG));
    m_passwordLogList = ListView(GetDlgItem(IDC_PASSWORD_LOG));
    m_passwordReplyLogList = ListView(GetDlgItem(IDC_PASSWORD_REPLY_LOG));
    m_searchLogList = ListView(GetDlgItem(IDC_SEARCH_LOG));
    m_broadcastLinkCombo = ComboBox(GetDlgItem(IDC_BROADCAST_LINK_COMBO));
    m_priorityCombo = ComboBox(GetDlgItem(IDC_PRIORITY_COMBO));
    m_multicastCombo = ComboBox(GetDlgItem(IDC_MULTICAST_MODE_COMBO));
    m_deviceModeCombo = ComboBox(GetDlgItem(IDC_DST_MODE_COMBO));
    m_deviceModeCombo3 = ComboBox(GetDlgItem(IDC_EXEC_STATE_MODE_COMBO));
    m_deviceModeCombo2 = ComboBox(GetDlgItem(IDC_SRC_MODE_COMBO));
    m_channelTypeCombo = ComboBox(GetDlgItem(IDC_CHANNEL_TYPE_COMBO));
    m_replyStatusCombo = ComboBox(GetDlgItem(IDC_REPLY_STATUS_COMBO));
    m_directionCombo = ComboBox(GetDlgItem(IDC_DIRECTION_COMBO));
    m_analysisEdit = RichEdit(GetDlgItem(IDC_ANALYSIS_PANE));
    m_autoUpdateCheck = Button(GetDlgItem(IDC_AUTO_UPDATE));
    m_addressList = ListView(GetDlgItem(IDC_ADDRESS_LIST));
    m_frameLogList = ListView(GetDlgItem(IDC_FRAME_LOG));
    m_meterReadList = ListView(GetDlgItem(IDC_METER_READ_LIST));
    m_passThroughList = ListView(GetDlgItem(IDC_PASS_THROUGH_LIST));
    m_functionTree = TreeView(GetDlgItem(IDC_FUNCTION_TREE));
    static_cast<TabBar&>(m_receiveTabs) = TabBar(GetDlgItem(IDC_RECEIVE_TABS));
    AttachFrameLogs();
}

bool CMainTesterDlg::OnInitDialog() {
    DoDataExchange();

    const std::string about = LoadResString(IDS_ABOUTBOX);
    if (!about.empty()) {
        AppendSystemMenuItem(0, "");
        AppendSystemMenuItem(IDM_ABOUTBOX, about);
    }
    SetIconFromFile(m_hIcon);
    SetBackgroundImage(ResourcePath("bitmap204.png"));

    Window title = GetDlgItem(IDC_TITLE_TEXT);
    title.SetText(LoadResString(IDS_MAIN_TITLE));
    title.SetFont("Albertus", 16, 800);

    m_receiveTabs.DeleteAllItems();
    m_receiveTabs.SetPageCount(0);
    m_receiveTabs.AddPage("MAC层报文接收", &m_macFramePage, IDD_MAC_FRAME_PAGE);
    m_receiveTabs.AddPage("网络层报文接收", &m_netFramePage, IDD_NET_FRAME_PAGE);
    m_receiveTabs.AddPage("应用层报文接收", &m_appFramePage, IDD_APP_FRAME_PAGE);
    m_receiveTabs.CreatePages();

    m_initialRect = GetWindowRect();
    SetMinTrackSize(800, 500);

    m_deviceSearchDlg.Create(this);
    m_deviceSearchDlg.ShowWindow(false);
    m_frameMonitorDlg.Create(this);
    m_frameMonitorDlg.ShowWindow(false);
    m_smartHomePage.Create(this);
    m_testPanel->Create(this);
    m_sendConsoleDlg.Create(this);
    m_sendConsoleDlg.ShowWindow(false);
    m_broadcastTestDlg.Create(this);
    m_broadcastTestDlg.ShowWindow(false);

    InitListColumns();

    HideAllPages();
    if (const PageTable* start = FindPageTable(PAGE_ROUND_READING)) ShowControls(start->ids, start->count);
    m_currentPage = PAGE_ROUND_READING;

    BuildFunctionTree();
    AddRemoteDebugBranch();
    LayoutControls();
    LimitEditLengths();

    m_link.History().Restart(nullptr);
    m_link.History().SetRecordReceived(true);

    SetPortStatusText("串口未打开");
    InitSerialSettings();
    InitComboBoxes();
    InitDefaultTexts();
    m_autoUpdateCheck.SetCheck(1);

    if (CreateSerialComm() == 0) EndDialog(kIdOk);

    m_import.RequestStop();
    m_link.SetDescramble(false);
    m_link.SetPortOpen(false);

    m_frameDetailDlg.Create(this);
    m_frameDetailDlg.ShowWindow(false);

    m_remoteIp = "192.168.1.8";
    m_link.SetChannelMode(CHANNEL_NONE);

    // The rounds' events live as long as the window, and the version capture is off until a
    // port opens, whether or not the working file opens.
    m_link.EndVersionCapture();
    return m_link.OpenWorkingFile("parsefile.txt");
}

void CMainTesterDlg::InitSerialSettings() {
    m_serialSettings = SavedSerialSettings();
    m_serialSettings.comPort = m_defaultComPort;
}

int CMainTesterDlg::CreateSerialComm() {
    if (m_link.CreateSerialComm() == 0) {
        ShowMessageBox("创建通讯实例错误", "错误", kMbOk | kMbIconStop);
        return 0;
    }
    return 1;
}

void CMainTesterDlg::OnClose() {
    // The import ends at its stop flag before the history is emptied, and starts nothing; no
    // thread starts from here on, even from a start whose stop pumped this close.
    m_closing = true;
    m_link.Workers().Close();
    m_link.Workers().Stop(m_import);
    m_link.History().Clear();
    // No address-list run or meter round sends again or waits on; the port is closed before any
    // of them is joined, so a write the device does not take holds nobody up.
    m_addressJobs.RequestStopAll();
    m_meterRounds.RequestStop();
    if (m_link.IsGatherThreadRunning()) m_link.StopGatherThread();
    if (m_link.IsMonitorThreadRunning()) m_link.StopMonitorThread();
    m_link.DeleteSerialComm();
    StopBatchTests();
    StopMeterRuns();
    if (m_import.IsRunning()) m_link.Workers().Stop(m_import);
    // Joined even when it has ended by itself: its thread may still be looking at its flag.
    m_upgrade.Stop();
    EndDialog(kIdCancel);
}
