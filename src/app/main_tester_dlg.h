#pragma once
// The main window: controls, pages, layout, timers, and the wiring of the module link, the
// command senders and the tool dialogs. Its state is its own and private; the link's state
// lives in the ModuleLink it owns.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "analyzer/version_text.h"
#include "app/page_tab_ctrl.h"
#include "app/reception_pages.h"
#include "commands/command_frame.h"
#include "dialogs/frame_log.h"
#include "dialogs/main_window_port.h"
#include "dialogs/network_settings_dlg.h"
#include "dialogs/serial_settings_dlg.h"
#include "dialogs/tool_dialogs.h"
#include "link/byte_string.h"
#include "link/module_frame.h"
#include "link/module_link.h"
#include "platform/local_time.h"
#include "platform/socket_notifier.h"
#include "platform/sync.h"
#include "platform/ui.h"

class CTestDlg;

// Ids of the main window's timers.
enum MainTimerId {
    TIMER_WAIT_MODE_REFRESH = 1,
    TIMER_UNUSED_2 = 2,
    TIMER_UNUSED_3 = 3,
    TIMER_CONTINUOUS_SEND = 4,
    TIMER_SEND_TEST_STEP = 5,
    TIMER_CONTINUOUS_SEARCH = 6,
    TIMER_PORT_TEST = 7,
    TIMER_CONTINUOUS_BROADCAST = 8,
    TIMER_PASS_THROUGH_SEND = 9,
    TIMER_VERSION_WAIT = 10,
};

class CMainTesterDlg : public Dialog,
                       public VersionTextTarget,
                       public SerialSettingsHost,
                       public NetworkSettingsHost,
                       public MainWindowPort,
                       private LinkListener,
                       private NetworkListener {
public:
    explicit CMainTesterDlg(Dialog* parent = nullptr);
    ~CMainTesterDlg() override;

    // The one main window of the process (the framework's main-window pointer).
    static CMainTesterDlg* Instance();
    static void SetInstance(CMainTesterDlg* dlg);

    // The module link: channel, reply queues, frame history and worker threads.
    ModuleLink& Link() override { return m_link; }

    // Status texts. An empty version text starts the 100 ms wait for the version reply.
    void SetPortStatusText(const std::string& text) override;
    void SetVersionText(std::string text) override;

    // The serial settings dialog (menu item "串口设置") and what it keeps between openings.
    void OnSerialSettings();
    CSerialSettingsDlg& SerialSettingsDialog() { return m_serialSettingsDlg; }
    SavedSerialSettings& SerialSettingsRecord() override { return m_serialSettings; }
    // The module test panel's read-version request.
    void SendVersionRequest() override;
    // The port hung up: the receive path stops and the port shows as closed.
    void OnPortHungUp();

    // The network settings dialog (menu item "网口设置"), what it needs of the window, and the
    // network socket's read message.
    void OnNetworkSettings();
    CNetworkSettingsDlg& NetworkSettingsDialog() { return m_networkSettingsDlg; }
    std::string RemoteIp() const override { return m_remoteIp; }
    NetworkAdapterConfigurator& AdapterConfigurator() override { return *m_adapterConfigurator; }
    // The configurator the dialog sets adapters up with (by default the network manager's).
    void SetAdapterConfigurator(std::unique_ptr<NetworkAdapterConfigurator> configurator);
    void OnNetworkRead(uintptr_t wParam, intptr_t lParam);

    // Writes the frame on the open channel and records it as sent.
    void SendFrame(ByteString frame) override;

    // The page code shown last.
    int CurrentPageCode() const { return m_currentPage; }
    // "清除报文": asks, then empties the reception pages, the frame monitor and the history.
    void ClearRecords();

    // Frame log lists: one row of the frame's hex text, from any thread.
    void AddFrameLogRow(std::string frameHex);
    void AddMeterReadRequestRow(std::string frameHex);
    void AddMeterReadResultRow(const MeterReplyEntry* entry);
    void AddPassThroughRow(std::string frameHex, unsigned char received);
    void AddSearchLogRow(std::string frameHex);
    void AddDataLogRow(std::string frameHex);
    void AddDataReplyLogRow(std::string frameHex);
    void AddPasswordLogRow(std::string frameHex);
    void AddPasswordReplyLogRow(std::string frameHex);
    void ShowAnalysisText(const std::string& text);
    void ShowRowAnalysis(ListView list, const char* header);
    void ShowRowDetail(ListView list) override;

    // ---- Command senders of the pages (module commands) ----
    // Maps the command buttons of the pages to their commands.
    void MapCommandSenders();
    // The sender pattern: header fields, payload (a builder returning false refuses: nothing is
    // sent, no row), encoding, sending, one row through the page's row writer.
    using RowWriter = void (CMainTesterDlg::*)(std::string);
    bool SendModuleCommand(uint8_t command, const PagePayload& payload, RowWriter writeRow);
    // Send data (0x14), button 1601; also each step of continuous sending.
    void OnSendData();
    // Device report (0x19), button 1565; "添加上报设备", button 1564.
    void OnDeviceReport();
    void OnAddReportDevice();
    // "连续发送数据", button 1500: one step now, then timer 4.
    void OnContinuousSendData();
    void StartContinuousSend();
    void SendContinuousStep();
    // Password request (0x1D) with the data log's row; no control sends it.
    void SendRemotePasswordSlaveRequest();

    // The window's side of the tool dialogs and the test panel.
    void EnableControl(int id) override;
    void VisitHistory(const std::function<void(uint32_t index, const MonitorRecord&)>& visit) override;
    RecordView ViewHistoryRecord(intptr_t position, SystemTime& shown, SystemTime& viewed) override;
    CFrameMonitorDlg& FrameMonitor() { return m_frameMonitorDlg; }
    CParseFrameDlg& ParseFrame() { return m_parseFrameDlg; }
    CFrameDetailDlg& FrameDetail() { return m_frameDetailDlg; }
    CDeviceSearchListDlg& DeviceSearchList() { return m_deviceSearchDlg; }
    CSendConsoleDlg& SendConsole() { return m_sendConsoleDlg; }
    // ---- end of command senders ----

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnClose() override;
    void OnTimer(int id) override;
    void OnSize(int width, int height) override;
    void OnSysCommand(int id) override;
    bool PreTranslateKey(Key key) override;

private:
    // Shows its frame in the window's frame detail viewer.
    friend class CSendConsoleDlg;

    // What the link reports.
    void OnLogFrame(LogList list, const std::string& hex) override;
    void OnVersionText(const std::string& text) override;
    void OnHangUp() override;
    void OnToolFrame(ToolFrame tool, const ByteString& frame) override;
    void OnFrameRecorded(char kind, const ByteString& frame, const SystemTime& time, uint32_t number) override;
    void OnThreadStartFailed(const std::string& text) override;
    // What the network side of the link reports.
    void OnNetworkMessage(const std::string& text) override;
    bool OnNetworkSocket(int fd) override;
    void OnNetworkClosed(const std::string& why) override;
    void RequestNetworkRead(uint32_t delayMs) override;
    void MapNetworkChannel();

    // Binds the member controls to their ids.
    void DoDataExchange();

    // Start-up preparation of the controls.
    void InitListColumns();
    void LimitEditLengths();
    void InitComboBoxes();
    void InitOptionComboBoxes();
    void InitDefaultTexts();
    void InitSerialSettings();
    int CreateSerialComm();

    // Layout.
    void LayoutControls();
    void PlaceEmbeddedPages();
    Window PageAreaFrame() const;

    // Function tree and pages.
    void BuildFunctionTree();
    void AddRemoteDebugBranch();
    // Inserts the root of the given code and its children.
    TreeItem InsertBranch(int rootCode);
    TreeItem InsertTreeItem(const std::string& text, TreeItem parent);
    void SetTreeItemData(TreeItem item, intptr_t code);
    void ExpandTreeItem(TreeItem item);
    void ShowControls(const int* ids, int count);
    void HideControls(const int* ids, int count);
    void HideAllPages();
    void OnTreeClick();

    // General buttons and keys.
    void MapMessages();
    void MapFrameLogHandlers();
    void OnToggleReceive();
    void OnShowFrameMonitor();
    void OnShowSearchList();
    void OnClearRecords();
    void OnBuildFrame();
    void OnParseFrame();
    void OnTimedSend();
    void OnImportRecords();
    void FillCheckRange();
    int ReadHexBytes(int controlId, ByteString& out);
    void WriteRow(ListView list, uint32_t& counter, FrameLogRow row, bool sharedLock);

    // The window's own worker threads.
    void StopImportThread();
    int StartImportThread();
    void ImportWorker();
    // The continuous sender empties the send-data queue before each step.
    void FlushSendDataReplies() { m_link.FlushSendDataReplies(); }

    // ---- Controls bound by DoDataExchange ----
    RichEdit m_resultEdit;             // 2043
    ComboBox m_waitModeCombo;          // 3012
    ComboBox m_parityCombo;            // 2009
    ComboBox m_stopBitsCombo;          // 1993
    ComboBox m_baudRateCombo;          // 1977
    ComboBox m_passwordTypeCombo;      // 1940
    ComboBox m_bandCombo;              // 1543
    ComboBox m_tcpOrUdpCombo;          // 1908
    ComboBox m_tcpStateCombo;          // 1905
    ComboBox m_searchParticipationCombo;  // 1882
    ComboBox m_levelCombo;             // 1859
    ComboBox m_protocolCombo;          // 1856
    ComboBox m_changeConsentCombo;     // 1829
    ComboBox m_decryptResultCombo;     // 1825
    ComboBox m_searchScopeCombo;       // 1814
    ComboBox m_initiatorCombo;         // 1798
    ListView m_dataLogList;            // 1630
    ListView m_dataReplyLogList;       // 1636
    ListView m_passwordLogList;        // 1637
    ListView m_passwordReplyLogList;   // 1641
    ListView m_searchLogList;          // 1629
    ComboBox m_broadcastLinkCombo;     // 1597
    ComboBox m_priorityCombo;          // 1599
    ComboBox m_multicastCombo;         // 1595
    ComboBox m_deviceModeCombo;        // 1542
    ComboBox m_deviceModeCombo3;       // 1528
    ComboBox m_deviceModeCombo2;       // 3003
    ComboBox m_channelTypeCombo;       // 1523
    ComboBox m_replyStatusCombo;       // 1521
    ComboBox m_directionCombo;         // 1518
    RichEdit m_analysisEdit;           // 1012
    Button m_autoUpdateCheck;          // 1008
    ListView m_addressList;            // 1015
    ListView m_frameLogList;           // 1272
    ListView m_meterReadList;          // 3032
    ListView m_passThroughList;        // 3037
    TreeView m_functionTree;           // 1265
    CPageTabCtrl m_receiveTabs;        // 1047

    // ---- The module link ----
    // Declared before the dialogs it reports to; the destructor shuts it down before they go.
    ModuleLink m_link;
    // Raised by each send-data reply; the continuous sender clears it.
    ArrivedFlag& m_sendDataArrived;

    // ---- Child dialogs and pages ----
    CSerialSettingsDlg m_serialSettingsDlg;
    CFrameMonitorDlg m_frameMonitorDlg;
    CParseFrameDlg m_parseFrameDlg;
    CDeviceSearchListDlg m_deviceSearchDlg;
    CSmartHomeMonitorDlg m_smartHomePage;
    std::unique_ptr<CTestDlg> m_testPanel;
    CTimedSendDlg m_timedSendDlg;
    CMacLayerFramePage m_macFramePage;
    CNetworkLayerFramePage m_netFramePage;
    CAppLayerFramePage m_appFramePage;
    CBroadcastReplyTestDlg m_broadcastTestDlg;
    CSendConsoleDlg m_sendConsoleDlg;
    CFrameDetailDlg m_frameDetailDlg;

    // ---- Channel settings ----
    SavedSerialSettings m_serialSettings;
    uint32_t m_defaultComPort = 0;
    std::string m_remoteIp;
    CNetworkSettingsDlg m_networkSettingsDlg{*this};
    std::unique_ptr<NetworkAdapterConfigurator> m_adapterConfigurator;
    std::unique_ptr<SocketNotifier> m_socketNotifier;  // watches the network socket while it is open

    // ---- Worker threads of the window's jobs ----
    Worker m_versionTest;
    Worker m_addressTest;
    Worker m_import;
    Worker m_upgrade;
    Worker m_pointRead;
    Worker m_roundRead;
    std::atomic<uint8_t> m_workerRunning{0};
    std::atomic<uint8_t> m_stopUpgrade{0};

    // ---- Meter-reading rounds ----
    AutoResetEvent m_stopRoundEvent;

    // ---- Continuous and timed sends ----
    uint32_t m_contSendTick = 0;
    uint32_t m_contSendTicks = 0;
    uint32_t m_contSendCount = 0;
    uint32_t m_contSendSuccess = 0;
    std::atomic<uint8_t> m_contSendEnabled{0};
    std::atomic<uint8_t> m_contReplySeen{0};
    std::atomic<uint8_t> m_contSendFresh{0};
    uint32_t m_timedSendTimer = 0;
    uint32_t m_timedSendInterval = 0;
    uint32_t m_timedSendCount = 0;
    uint32_t m_timedSendDone = 0;

    // ---- Frame lists and layout ----
    CriticalSection m_listLock;  // the writers of the three lists that share m_frameLogRow
    uint32_t m_frameLogRow = 0;
    uint32_t m_searchLogRow = 0;
    uint32_t m_dataLogRow = 0;
    uint32_t m_dataReplyLogRow = 0;
    uint32_t m_passwordLogRow = 0;
    uint32_t m_passwordReplyLogRow = 0;
    Rect m_initialRect;
    std::string m_hIcon;
    int m_currentPage = 0;
    bool m_firstSize = true;

    // ---- Other settings of the pages ----
    std::string m_defaultFrameText;
    std::atomic<uint8_t> m_localSettingsWait{0};
    uint32_t m_relayCount = 0;
    std::string m_addDeviceText;
    uint32_t m_maxDevices = 0;
    uint32_t m_netTestSeq = 0;
    uint32_t m_monitorCreated = 0;
};
