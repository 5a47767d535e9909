// Construction, start-up and closing of the main window.

#include <atomic>

#include "app/main_tester_dlg.h"
#include "app/page_tables.h"
#include "commands/TestDlg/test_dlg.h"

namespace {
std::atomic<CMainTesterDlg*> g_mainDialog{nullptr};

std::string ResourcePath(const char* name) { return std::string(KVT_RES_DIR) + "/" + name; }
}  // namespace

CMainTesterDlg* CMainTesterDlg::Instance() { return g_mainDialog.load(); }

void CMainTesterDlg::SetInstance(CMainTesterDlg* dlg) { g_mainDialog.store(dlg); }

CMainTesterDlg::CMainTesterDlg(Dialog* /*parent*/)
    : Dialog(102),
      m_link(static_cast<LinkListener&>(*this)),
      m_sendDataArrived(m_link.Queues().sendDataArrived),
      m_serialSettingsDlg(*this),
      m_frameMonitorDlg(*this),
      m_parseFrameDlg(*this),
      m_deviceSearchDlg(*this),
      m_testPanel(new CTestDlg(*this)),
      m_timedSendDlg(*this),
      m_sendConsoleDlg(*this) {
    m_hIcon = ResourcePath("icon128.png");
    // A worker may be blocked on a message sent to this thread: the stop pumps while it waits.
    m_link.Workers().SetWait([](const std::function<bool()>& finished) {
        if (IsUiThread()) WaitPumping(finished);
    });
    MapMessages();
}

CMainTesterDlg::~CMainTesterDlg() {
    m_link.Shutdown();
    SetVersionTextTarget(nullptr);
    if (Instance() == this) SetInstance(nullptr);
}

void CMainTesterDlg::DoDataExchange() {
    m_resultEdit = RichEdit(GetDlgItem(2043));
    m_waitModeCombo = ComboBox(GetDlgItem(3012));
    m_parityCombo = ComboBox(GetDlgItem(2009));
    m_stopBitsCombo = ComboBox(GetDlgItem(1993));
    m_baudRateCombo = ComboBox(GetDlgItem(1977));
    m_passwordTypeCombo = ComboBox(GetDlgItem(1940));
    m_bandCombo = ComboBox(GetDlgItem(1543));
    m_tcpOrUdpCombo = ComboBox(GetDlgItem(1908));
    m_tcpStateCombo = ComboBox(GetDlgItem(1905));
    m_searchParticipationCombo = ComboBox(GetDlgItem(1882));
    m_levelCombo = ComboBox(GetDlgItem(1859));
    m_protocolCombo = ComboBox(GetDlgItem(1856));
    m_changeConsentCombo = ComboBox(GetDlgItem(1829));
    m_decryptResultCombo = ComboBox(GetDlgItem(1825));
    m_searchScopeCombo = ComboBox(GetDlgItem(1814));
    m_initiatorCombo = ComboBox(GetDlgItem(1798));
    m_dataLogList = ListView(GetDlgItem(1630));
    m_dataReplyLogList = ListView(GetDlgItem(1636));
    m_passwordLogList = ListView(GetDlgItem(1637));
    m_passwordReplyLogList = ListView(GetDlgItem(1641));
    m_searchLogList = ListView(GetDlgItem(1629));
    m_broadcastLinkCombo = ComboBox(GetDlgItem(1597));
    m_priorityCombo = ComboBox(GetDlgItem(1599));
    m_multicastCombo = ComboBox(GetDlgItem(1595));
    m_deviceModeCombo = ComboBox(GetDlgItem(1542));
    m_deviceModeCombo3 = ComboBox(GetDlgItem(1528));
    m_deviceModeCombo2 = ComboBox(GetDlgItem(3003));
    m_channelTypeCombo = ComboBox(GetDlgItem(1523));
    m_replyStatusCombo = ComboBox(GetDlgItem(1521));
    m_directionCombo = ComboBox(GetDlgItem(1518));
    m_analysisEdit = RichEdit(GetDlgItem(1012));
    m_autoUpdateCheck = Button(GetDlgItem(1008));
    m_addressList = ListView(GetDlgItem(1015));
    m_frameLogList = ListView(GetDlgItem(1272));
    m_meterReadList = ListView(GetDlgItem(3032));
    m_passThroughList = ListView(GetDlgItem(3037));
    m_functionTree = TreeView(GetDlgItem(1265));
    static_cast<TabBar&>(m_receiveTabs) = TabBar(GetDlgItem(1047));
}

bool CMainTesterDlg::OnInitDialog() {
    SetInstance(this);
    SetVersionTextTarget(this);
    DoDataExchange();

    const std::string about = LoadResString(101);
    if (!about.empty()) {
        AppendSystemMenuItem(0, "");
        AppendSystemMenuItem(IDM_ABOUTBOX, about);
    }
    SetIconFromFile(m_hIcon);
    SetBackgroundImage(ResourcePath("bitmap204.png"));

    Window title = GetDlgItem(1013);
    title.SetText(LoadResString(102));
    title.SetFont("Albertus", 16, 800);

    m_receiveTabs.DeleteAllItems();
    m_receiveTabs.SetPageCount(0);
    m_receiveTabs.AddPage("MAC层报文接收", &m_macFramePage, 148);
    m_receiveTabs.AddPage("网络层报文接收", &m_netFramePage, 182);
    m_receiveTabs.AddPage("应用层报文接收", &m_appFramePage, 189);
    m_receiveTabs.CreatePages();

    m_initialRect = GetWindowRect();
    SetMinTrackSize(800, 500);

    m_deviceSearchDlg.Create(this);
    m_deviceSearchDlg.ShowWindow(false);
    m_frameMonitorDlg.Create(this);
    m_monitorCreated = 1;
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
    m_netTestSeq = 0;

    SetPortStatusText("串口未打开");
    InitSerialSettings();
    InitComboBoxes();
    InitDefaultTexts();
    m_autoUpdateCheck.SetCheck(1);

    if (CreateSerialComm() == 0) EndDialog(1);

    m_timedSendInterval = 500;
    m_timedSendCount = 2;
    m_timedSendDone = 0;
    m_contSendTicks = 0;
    m_contSendCount = 0;
    m_contSendSuccess = 0;
    m_timedSendTimer = 0;
    m_versionTest.RequestStop();
    m_addressTest.RequestStop();
    m_import.RequestStop();
    m_defaultFrameText = "4E C0 11 C8 0B 0001 00 64 C1 E1 E777 92 B0 FF FF ";
    m_link.SetDescramble(false);
    m_dataLogRow = 0;
    m_searchLogRow = 0;
    m_frameLogRow = 0;
    m_localSettingsWait = 0;
    m_link.SetPortOpen(false);
    m_stopUpgrade = 0;
    m_contSendFresh = 1;
    m_workerRunning = 1;
    m_relayCount = 0;

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
    m_link.History().Clear();
    if (m_link.IsGatherThreadRunning()) m_link.StopGatherThread();
    if (m_link.IsMonitorThreadRunning()) m_link.StopMonitorThread();
    WorkerSet& workers = m_link.Workers();
    for (Worker* worker : {&m_versionTest, &m_addressTest, &m_import, &m_upgrade, &m_pointRead, &m_roundRead}) {
        if (worker->IsRunning()) workers.Stop(*worker);
    }
    m_link.DeleteSerialComm();
    EndDialog(kIdCancel);
}
