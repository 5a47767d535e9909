#pragma once
// The main window: owns every piece of state of a run. Its member functions are defined in the
// folder of the subsystem they belong to, one file per concern.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analyzer/version_text.h"
#include "app/page_tab_ctrl.h"
#include "app/reception_pages.h"
#include "commands/command_frame.h"
#include "dialogs/frame_log.h"
#include "dialogs/main_window_port.h"
#include "dialogs/tool_dialogs.h"
#include "link/byte_string.h"
#include "link/frame_history.h"
#include "link/receive_gatherer.h"
#include "link/module_frame.h"
#include "platform/local_time.h"
#include "platform/sync.h"
#include "platform/text_file.h"
#include "platform/ui.h"

class CSerialComm;
class CTestDlg;
class CSerialSettingsDlg;

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

enum ChannelMode : uint32_t { CHANNEL_NONE = 0, CHANNEL_SERIAL = 1, CHANNEL_NETWORK = 2 };

// The about command of the system menu.
constexpr int IDM_ABOUTBOX = 0x10;

class CMainTesterDlg : public Dialog, public VersionTextTarget, public MainWindowPort {
public:
    explicit CMainTesterDlg(Dialog* parent = nullptr);
    ~CMainTesterDlg() override;

    // The one main window of the process (the framework's main-window pointer).
    static CMainTesterDlg* Instance();
    static void SetInstance(CMainTesterDlg* dlg);

    // Status texts.
    void SetPortStatusText(const std::string& text);
    void SetVersionText(std::string text) override;

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
    TreeItem InsertTreeItem(const std::string& text, TreeItem parent);
    void SetTreeItemData(TreeItem item, intptr_t code);
    void ExpandTreeItem(TreeItem item);
    void ShowControls(const int* ids, int count);
    void HideControls(const int* ids, int count);
    void HideAllPages();
    void OnTreeClick();
    // The page code shown last (for tests and the layout).
    int CurrentPageCode() const { return m_currentPage; }

    // General buttons and keys.
    void OnToggleReceive();
    void OnShowFrameMonitor();
    void OnShowSearchList();
    void OnClearRecords();
    void ClearRecords();
    void OnBuildFrame();
    void OnParseFrame();
    void OnTimedSend();
    void OnImportRecords();
    void FillCheckRange();
    int ReadHexBytes(int controlId, ByteString& out);

    // Frame log lists.
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

    // Sending, the frame history and the receive path.
    void SendFrame(ByteString frame) override;
    void RecordSentFrame(char kind, const ByteString& frame);
    void RecordReceivedFrame(char kind, const ByteString& frame, const SystemTime& arrival);
    void MonitorThreadStep();
    int StartGatherThread();
    void OnReceivedChunk(const ByteString& block);
    void SplitReceivedStream(const ByteString& block);
    void ClassifyReceivedFrame(const ByteString& frame, int mode);
    void LogNumberedReceive(const ByteString& frame);
    void FlushCmdF0Replies();
    void FlushSendDataReplies();
    void FlushTestReplies();
    void FlushPointReadReplies();
    void FlushConfigReplies();
    void FlushResetInfoReplies();
    void FlushSpareReplies();
    // Opening and closing the serial channel (the serial settings dialog).
    void OnSerialSettings();
    // The port hung up: the receive path stops and the port shows as closed.
    void OnPortHungUp();

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

    // Worker-thread queries (the receive path fills these in).
    bool IsGatherThreadRunning() const { return m_gatherThreadRunning.load() != 0; }
    bool IsMonitorThreadRunning() const { return m_monitorThreadRunning.load() != 0; }
    void StopGatherThread();
    void StopMonitorThread();
    int StartMonitorThread();
    void StopImportThread();
    int StartImportThread();
    // The start and stop of every worker thread: the run flag is 1 while it is to run.
    int StartWorker(std::atomic<uint32_t>& runFlag, std::shared_ptr<WorkerThread>& thread,
                    std::function<void()> procedure, const char* errorText);
    void StopWorker(std::atomic<uint32_t>& runFlag, std::shared_ptr<WorkerThread>& thread);
    // A procedure that runs its worker once per start.
    std::function<void()> OneShot(std::atomic<uint32_t>& runFlag, std::function<void()> worker);
    void ImportWorker();

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

    // ---- Child dialogs and pages ----
    std::unique_ptr<CSerialSettingsDlg> m_serialSettingsDlg;
    CFrameMonitorDlg m_frameMonitorDlg;
    CParseFrameDlg m_parseFrameDlg;
    CChecksumDlg m_checksumDlg;
    CDeviceSearchListDlg m_deviceSearchDlg;
    CSmartHomeMonitorDlg m_smartHomePage;
    std::unique_ptr<CTestDlg> m_testPanel;
    CWarningDlg m_warningDlg;
    CTimedSendDlg m_timedSendDlg;
    CMacLayerFramePage m_macFramePage;
    CNetworkLayerFramePage m_netFramePage;
    CAppLayerFramePage m_appFramePage;
    CBroadcastReplyTestDlg m_broadcastTestDlg;
    CFrameTypeDlg m_frameTypeDlg;
    CLocalSettingsDlg m_localSettingsDlg;
    CMeterManageDlg m_meterManageDlg;
    CSendConsoleDlg m_sendConsoleDlg;
    CContinuousSendDlg m_contSendDlg;
    CFrameDetailDlg m_frameDetailDlg;

    // ---- Communication and channel ----
    std::unique_ptr<CSerialComm> m_serialComm;
    std::atomic<uint32_t> m_channelMode{CHANNEL_NONE};
    std::atomic<uint8_t> m_portOpen{0};
    int m_socket = -1;
    std::string m_peerAddr;
    uint32_t m_netSendMode = 2;
    uint32_t m_socketOpen = 0;
    std::string m_remoteIp;
    uint32_t m_comPort = 0;
    uint32_t m_baudIndex = 0;
    uint32_t m_parityIndex = 0;
    uint32_t m_dataBitsIndex = 0;
    uint32_t m_stopBitsIndex = 0;
    uint32_t m_defaultComPort = 0;

    // ---- Frame history and reception ----
    std::vector<MonitorRecord> m_frameHistory;
    uint32_t m_sentCount = 0;
    uint32_t m_receivedCount = 0;
    std::atomic<uint32_t> m_recordReceived{0};
    std::atomic<uint32_t> m_versionShown{1};
    std::atomic<uint8_t> m_descramble{0};
    // Mirror of check box 1402 "显示所有串口接收报文" for the receive thread.
    std::atomic<bool> m_showAllReceived{false};

    // ---- Worker threads: run flags and thread objects ----
    std::atomic<uint32_t> m_gatherThreadRunning{0};
    std::shared_ptr<WorkerThread> m_gatherThread;
    std::atomic<uint32_t> m_monitorThreadRunning{0};
    std::shared_ptr<WorkerThread> m_monitorThread;
    std::atomic<uint32_t> m_roundReadRunning{0};
    std::shared_ptr<WorkerThread> m_roundReadThread;
    std::atomic<uint32_t> m_versionTestRunning{0};
    std::shared_ptr<WorkerThread> m_versionTestThread;
    std::atomic<uint32_t> m_importRunning{0};
    std::shared_ptr<WorkerThread> m_importThread;
    std::atomic<uint32_t> m_upgradeRunning{0};
    std::shared_ptr<WorkerThread> m_upgradeThread;
    std::atomic<uint32_t> m_resetReadRunning{0};
    std::shared_ptr<WorkerThread> m_resetReadThread;
    std::atomic<uint32_t> m_resetClearRunning{0};
    std::shared_ptr<WorkerThread> m_resetClearThread;
    std::atomic<uint32_t> m_configRunning{0};
    std::shared_ptr<WorkerThread> m_configThread;
    std::atomic<uint32_t> m_addressTestRunning{0};
    std::shared_ptr<WorkerThread> m_addressTestThread;
    std::atomic<uint32_t> m_pointReadRunning{0};
    std::shared_ptr<WorkerThread> m_pointReadThread;
    std::atomic<uint8_t> m_workerRunning{0};
    std::atomic<uint8_t> m_stopUpgrade{0};

    // ---- Locks, reply queues and arrived flags ----
    ReceiveGatherer m_rxGatherer;  // the receive text of the serial port, with its lock
    CriticalSection m_historyLock;
    CriticalSection m_monitorLock;
    CriticalSection m_pendingLock;
    CriticalSection m_listLock;
    CriticalSection m_sendDataLock;  // also the receive-data, remote-password and password-request queues
    CriticalSection m_pointReadLock;
    CriticalSection m_meterLock;
    CriticalSection m_allFramesLock;
    CriticalSection m_cmdF0Lock;
    CriticalSection m_spareRepliesLock;
    CriticalSection m_versionLock;
    CriticalSection m_testLock;
    CriticalSection m_resetInfoLock;
    CriticalSection m_resetInfoLock2;
    CriticalSection m_configLock;
    CriticalSection m_clockLock;
    std::deque<ReplyEntry> m_sendDataReplies;
    std::deque<ReplyEntry> m_receiveDataReplies;
    std::deque<ReplyEntry> m_remotePasswordReplies;
    std::deque<ReplyEntry> m_passwordRequestReplies;
    std::deque<ByteString> m_testReplies;
    std::deque<ReplyEntry> m_pointReadReplies;
    std::deque<MeterReplyEntry> m_meterReplies;
    std::deque<ReplyEntry> m_resetInfoReplies;
    std::deque<ByteString> m_allFrames;
    std::deque<ByteString> m_cmdF0Replies;
    std::deque<ReplyEntry> m_spareReplies;
    std::deque<ReplyEntry> m_versionReplies;
    std::deque<ByteString> m_configReplies;
    std::deque<ReplyEntry> m_clockReplies;
    std::deque<ReplyEntry> m_pendingFrames;
    std::atomic<uint8_t> m_sendDataArrived{0};
    std::atomic<uint8_t> m_receiveDataArrived{0};
    std::atomic<uint8_t> m_remotePasswordArrived{0};
    std::atomic<uint8_t> m_passwordRequestArrived{0};
    std::atomic<uint8_t> m_pointReadArrived{0};
    std::atomic<uint8_t> m_versionArrived{0};
    std::atomic<uint8_t> m_configArrived{0};
    std::atomic<uint8_t> m_testArrived{0};

    // ---- Meter-reading rounds ----
    std::unique_ptr<AutoResetEvent> m_meterReplyEvent;
    std::unique_ptr<AutoResetEvent> m_stopRoundEvent;
    uint32_t m_roundSendTick = 0;
    uint32_t m_roundSent = 0;
    uint32_t m_roundReplies = 0;
    uint32_t m_roundTimeSum = 0;
    uint32_t m_roundTimeAvg = 0;
    uint32_t m_roundTimeMax = 0;
    uint32_t m_roundTimeMin = 0;
    float m_roundSuccessRate = 0;
    ByteString m_meterReplyFrame;
    ByteString m_meterAddress;

    // ---- Continuous, timed and test sends ----
    uint32_t m_contSendTick = 0;
    uint32_t m_contSendTicks = 0;
    uint32_t m_contSendCount = 0;
    uint32_t m_contSendSuccess = 0;
    uint32_t m_contSuccessRate = 0;
    std::atomic<uint8_t> m_contSendEnabled{0};
    std::atomic<uint8_t> m_contReplySeen{0};
    std::atomic<uint8_t> m_contSendFresh{0};
    std::atomic<uint8_t> m_testSendArmed{0};
    std::atomic<uint8_t> m_testSendActive{0};
    uint32_t m_testSendTotal = 0;
    uint32_t m_testSendSuccess = 0;
    uint32_t m_testSendTicks = 0;
    uint32_t m_testSendTickCount = 0;
    std::atomic<uint8_t> m_testReplyDone{0};
    std::string m_timedSendFrame;
    uint32_t m_timedSendTimer = 0;
    uint32_t m_timedSendInterval = 0;
    uint32_t m_timedSendCount = 0;
    uint32_t m_timedSendDone = 0;
    uint32_t m_lastSendTick = 0;
    SystemTime m_lastSendTime;
    uint32_t m_lastElapsed = 0;

    // ---- Files and paths ----
    TextFile m_parseFile;
    uint32_t m_testPacketCount = 0;
    TextFile m_searchLogFile;
    std::string m_masterBinPath;
    std::string m_compareBinPath;

    // ---- Frame lists and layout ----
    uint32_t m_frameLogRow = 0;
    uint32_t m_searchLogRow = 0;
    uint32_t m_dataLogRow = 0;
    uint32_t m_dataReplyLogRow = 0;
    uint32_t m_passwordLogRow = 0;
    uint32_t m_passwordReplyLogRow = 0;
    Rect m_initialRect;
    std::string m_hIcon;

    // ---- Other settings of the pages ----
    std::string m_defaultFrameText;
    uint32_t m_searchInterval = 0;
    std::atomic<uint8_t> m_localSettingsWait{0};
    std::string m_relayText;
    std::string m_relayAddrs[6];
    uint32_t m_relayCount = 0;
    uint8_t m_relayEnabled = 0;
    uint8_t m_relayIndexOn = 0;
    std::string m_addDeviceText;
    uint32_t m_maxDevices = 0;
    uint32_t m_netTestSeq = 0;
    uint32_t m_monitorCreated = 0;
    uint8_t m_readViaAcqUnit = 0;
    uint8_t m_acqUnitAddress[6] = {};
    uint8_t m_acqUnitSet = 0;
    std::string m_dataFrameSource;
    std::string m_dataFrameDestination;

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
    void MapMessages();
    void MapFrameLogHandlers();
    void WriteRow(ListView list, uint32_t& counter, FrameLogRow row, bool sharedLock);
    int m_currentPage = 0;
    bool m_firstSize = true;
};
