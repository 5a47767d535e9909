#pragma once
// The main window: controls, pages, layout, timers, and the wiring of the module link, the
// command senders and the tool dialogs. Its state is its own and private; the link's state
// lives in the ModuleLink it owns.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/page_tab_ctrl.h"
#include "app/reception_pages.h"
#include "commands/address_jobs.h"
#include "commands/address_list_commands.h"
#include "commands/batch_tests.h"
#include "commands/command_frame.h"
#include "commands/image_compare_buttons.h"
#include "commands/meter_rounds.h"
#include "commands/point_reading.h"
#include "commands/repeat_ports.h"
#include "commands/upgrade_run.h"
#include "dialogs/frame_log.h"
#include "dialogs/main_window_port.h"
#include "dialogs/network_settings_dlg.h"
#include "dialogs/serial_settings_dlg.h"
#include "dialogs/timed_send_dlg.h"
#include "dialogs/tool_dialogs.h"
#include "link/byte_string.h"
#include "link/module_frame.h"
#include "link/module_link.h"
#include "platform/local_time.h"
#include "platform/socket_notifier.h"
#include "platform/sync.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

class CTestDlg;
class WindowRepeats;

class CMainTesterDlg : public Dialog,
                       public SerialSettingsHost,
                       public NetworkSettingsHost,
                       public MainWindowPort,
                       public RepeatHost,
                       private LinkListener,
                       private NetworkListener {
public:
    explicit CMainTesterDlg(Dialog* parent = nullptr);
    ~CMainTesterDlg() override;

    // The module link: channel, reply queues, frame history and worker threads.
    ModuleLink& Link() override { return m_link; }

    // Status texts. An empty version text starts the 100 ms wait for the version reply.
    void SetPortStatusText(const std::string& text) override;
    void SetVersionText(std::string text) override;

    // What explained frames change: the version label and the descrambling of received data.
    void ShowVersionText(const std::string& text) override { SetVersionText(text); }
    void SetDescramble(bool on) override { m_link.SetDescramble(on); }

    // The serial settings dialog (menu item "串口设置") and what it keeps between openings.
    void OnSerialSettings();
    CSerialSettingsDlg& SerialSettingsDialog() { return m_serialSettingsDlg; }
    SavedSerialSettings& SerialSettingsRecord() override { return m_serialSettings; }
    // The module test panel's read-version request.
    void SendVersionRequest() override;
    // The port hung up: the receive path stops and the port shows as closed.
    void OnPortHungUp();

    // The network settings dialog (command IDM_NETWORK_SETTINGS, which no menu item carries), what
    // it needs of the window, and the network socket's read message.
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

    // The frame log lists by their key; rows from any thread.
    FrameLogs& Logs() { return m_frameLogs; }
    void ShowAnalysisText(const std::string& text);
    void ShowRowAnalysis(ListView list, const char* header);
    void ShowRowDetail(ListView list) override;

    // ---- Command senders of the pages (module commands) ----
    // Maps the command buttons of the pages to their commands.
    void MapCommandSenders();
    // The sender pattern: header fields, payload (a builder returning false refuses: nothing is
    // sent, no row), encoding, sending, one row in the page's log.
    bool SendModuleCommand(uint8_t command, const PagePayload& payload, LogList log);
    // The command of a row of the command table by its button (false: refused or no such row).
    bool OnCommandButton(int button) override;
    // "发送": the typed bytes as they stand; "组帧测试": a frame of the typed command and data.
    void OnSendRawText();
    void OnFrameTest();
    // Device report (0x19), button IDC_DEVICE_REPORT; "添加上报设备", button IDC_ADD_REPORT_DEVICE.
    void OnDeviceReport();
    void OnAddReportDevice();
    // Runs the device adding dialog; its confirmed devices become those of the device report.
    void AddReportDevices(CAddDeviceDlg& adding);
    // Command IDM_DEBUGGER_CLOCK: sends the carrier debugger's clock frame of the local time, then
    // a second later (TIMER_DEBUGGER_CLOCK) shows the verdict on its answer in the parse-text pane.
    void OnSetDebuggerClock();
    // Commands IDM_COMMAND_F3_ON and IDM_COMMAND_F3_OFF: command 0xF3 with data 1 or 0.
    void SendCommandF3(uint8_t on);
    void ReportClockReply();
    // Where that local time comes from; tests give a fixed one.
    void SetClockSource(std::function<SystemTime()> source) { m_clockSource = std::move(source); }
    // Tests see each modal dialog the window runs: watch is called inside its modal loop.
    void SetModalWatcher(std::function<void(Dialog&)> watch) { m_modalWatcher = std::move(watch); }
    // Password request (0x1D) with the data log's row; no control sends it.
    void SendRemotePasswordSlaveRequest();

    // The window's side of the tool dialogs and the test panel.
    void EnableControl(int id) override;
    void ShowDetailText(const std::string& text) override;
    void WatchNodeAnswer(bool on, const ByteString& address) override { m_link.AnswerWatch().Watch(on, address); }
    ByteString TakeNodeAnswer() override { return m_link.AnswerWatch().Take(); }
    // A data frame's row on the smart-home page (nothing sends one yet).
    void PostDataFrameRow(const std::string& text);
    bool IsVersionCaptureArmed() override { return m_link.IsVersionCaptureArmed(); }
    void ShowBroadcastReplyTest() override;
    void ClearBroadcastReplyList() override;
    void OnPanelContinuousSend() override;
    void OnPanelStopContinuousSend() override;
    void VisitHistory(const std::function<void(uint32_t index, const MonitorRecord&)>& visit) override;
    RecordView ViewHistoryRecord(intptr_t position, SystemTime& shown, SystemTime& viewed) override;
    void ViewHistoryRecords(intptr_t first, intptr_t last) override;
    intptr_t FirstHistoryPosition() override;
    // ---- end of command senders ----

    // ---- Address list and the batch tests over it ----
    // Ends every running address-list job within its current wait and waits for its thread.
    void StopBatchTests() { m_addressJobs.StopAll(); }
    // The repeated search's log: the search log list into a file named by the local time in
    // the working folder.
    void SaveSearchLog() override;
    // The thread of the meter-reading rounds.
    const Worker& RoundReadingWorker() const { return m_meterRounds.ThreadWorker(); }

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

    // Runs a dialog modally over the window (the modal watcher sees it).
    int RunModal(Dialog& dialog) override;

    // What the link reports.
    void OnLogFrame(LogList list, const ByteString& frame) override;
    void OnVersionText(const std::string& text) override;
    void OnHangUp() override;
    void OnToolFrame(ToolFrame tool, const ByteString& frame) override;
    void OnFrameRecorded(char kind, const ByteString& frame, const SystemTime& time, uint32_t number) override;
    void OnThreadStartFailed(const std::string& text) override;
    void OnSendFailed(int sent, size_t size) override;
    // What the network side of the link reports.
    void OnNetworkMessage(const std::string& text) override;
    bool OnNetworkSocket(int fd) override;
    void OnNetworkClosed(const std::string& why) override;
    void RequestNetworkRead(uint32_t delayMs) override;
    void OnForeignDatagrams(uint64_t count) override;
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
    void AttachFrameLogs();
    void OnToggleReceive();
    void OnShowFrameMonitor();
    void OnShowSearchList();
    void OnClearRecords();
    void OnClearMessages();
    void OnBuildFrame();
    void OnParseFrame();
    void OnImportRecords();
    void FillCheckRange();

    // Record and log files.
    void MapRecordFileHandlers();
    void OnExportRecords();
    void OnExportFrameLog();
    void OnImportFrameLog();
    // The received records of a file into the history; counts the lines that fit no layout.
    void ImportRecordFile(const std::string& path);
    // The meter-reading page: rounds, raw send and frame text generation.
    void MapMeterPageHandlers();
    RoundReports MakeRoundReports();
    void OnStartRoundReading();
    void OnStopRoundReading();
    void OnSetfocusEndAddress();
    void OnSelchangeReadMode();
    void EnableRoundInputs(bool enable);
    void ShowRoundStatistics(const RoundStatistics& stats);
    void OnMeterSend();
    void OnGenerateArray();

    // Ends the rounds, waiting for their thread.
    void StopMeterRuns();

    // The window's own worker threads.
    void StopImportThread();
    // Stops the monitor thread while the records are read in; the import's end starts it again.
    int StartImportThread();
    void ImportWorker();
    // On the window's thread when import run has ended: joins it and restarts the monitor,
    // unless a later import runs or the window is closing.
    void OnImportEnded(uint32_t run);

    // ---- Controls bound by DoDataExchange ----
    ComboBox m_waitModeCombo;             // IDC_ROUND_WAIT_MODE_COMBO
    ComboBox m_parityCombo;               // IDC_PARITY_COMBO
    ComboBox m_stopBitsCombo;             // IDC_STOP_BITS_COMBO
    ComboBox m_baudRateCombo;             // IDC_BAUD_RATE_COMBO
    ComboBox m_passwordTypeCombo;         // IDC_KEY_MODE_COMBO
    ComboBox m_bandCombo;                 // IDC_BAND_COMBO
    ComboBox m_tcpOrUdpCombo;             // IDC_TCP_TYPE_COMBO
    ComboBox m_tcpStateCombo;             // IDC_TCP_STATE_COMBO
    ComboBox m_searchParticipationCombo;  // IDC_SEARCH_PARTICIPATION_COMBO
    ComboBox m_levelCombo;                // IDC_TX_POWER_COMBO
    ComboBox m_protocolCombo;             // IDC_PROTOCOL_COMBO
    ComboBox m_changeConsentCombo;        // IDC_CHANGE_CONSENT_COMBO
    ComboBox m_decryptResultCombo;        // IDC_DECRYPT_RESULT_COMBO
    ComboBox m_searchScopeCombo;          // IDC_SEARCH_SCOPE_COMBO
    ComboBox m_initiatorCombo;            // IDC_INITIATOR_COMBO
    ListView m_dataLogList;               // IDC_DATA_LOG
    ListView m_dataReplyLogList;          // IDC_DATA_REPLY_LOG
    ListView m_passwordLogList;           // IDC_PASSWORD_LOG
    ListView m_passwordReplyLogList;      // IDC_PASSWORD_REPLY_LOG
    ListView m_searchLogList;             // IDC_SEARCH_LOG
    ComboBox m_broadcastLinkCombo;        // IDC_BROADCAST_LINK_COMBO
    ComboBox m_priorityCombo;             // IDC_PRIORITY_COMBO
    ComboBox m_multicastCombo;            // IDC_MULTICAST_MODE_COMBO
    ComboBox m_deviceModeCombo;           // IDC_DST_MODE_COMBO
    ComboBox m_deviceModeCombo3;          // IDC_EXEC_STATE_MODE_COMBO
    ComboBox m_deviceModeCombo2;          // IDC_SRC_MODE_COMBO
    ComboBox m_channelTypeCombo;          // IDC_CHANNEL_TYPE_COMBO
    ComboBox m_replyStatusCombo;          // IDC_REPLY_STATUS_COMBO
    ComboBox m_directionCombo;            // IDC_DIRECTION_COMBO
    RichEdit m_analysisEdit;              // IDC_ANALYSIS_PANE
    Button m_autoUpdateCheck;             // IDC_AUTO_UPDATE
    ListView m_addressList;               // IDC_ADDRESS_LIST
    ListView m_frameLogList;              // IDC_FRAME_LOG
    ListView m_meterReadList;             // IDC_METER_READ_LIST
    ListView m_passThroughList;           // IDC_PASS_THROUGH_LIST
    TreeView m_functionTree;              // IDC_FUNCTION_TREE
    CPageTabCtrl m_receiveTabs;           // IDC_RECEIVE_TABS

    // ---- The module link ----
    // Declared before the dialogs it reports to; the destructor shuts it down before they go.
    ModuleLink m_link;
    std::function<SystemTime()> m_clockSource = GetLocalTime;

    // ---- Child dialogs and pages ----
    CSerialSettingsDlg m_serialSettingsDlg;
    CFrameMonitorDlg m_frameMonitorDlg;
    CParseFrameDlg m_parseFrameDlg;
    CDeviceSearchListDlg m_deviceSearchDlg;
    CSmartHomeMonitorDlg m_smartHomePage;
    std::unique_ptr<CTestDlg> m_testPanel;
    // The repeats on the window's timers; the timed send's window is theirs to run.
    std::unique_ptr<WindowRepeats> m_repeats;
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
    Worker m_import;
    uint32_t m_importRun = 0;             // the latest import started
    bool m_closing = false;               // OnClose has begun: nothing starts again

    // ---- Meter-reading rounds ----
    MeterRounds m_meterRounds;

    // Sees each modal dialog the window runs (SetModalWatcher).
    std::function<void(Dialog&)> m_modalWatcher;

    // ---- Frame lists and layout ----
    FrameLogs m_frameLogs;  // each log's list, counter and lock
    // The address-list jobs by their buttons; after the frame logs and the link they write into,
    // so their runs are stopped and joined before those go.
    DialogJobWindow m_jobWindow{*this, m_frameLogs};
    AddressJobs m_addressJobs{m_jobWindow, m_link};
    // The address list's own commands, the image comparison and the upgrade's run.
    AddressListCommands m_addressListCommands{m_jobWindow};
    ImageCompareButtons m_imageCompare{*this};
    UpgradeRun m_upgrade{*this, m_link};
    Rect m_initialRect;
    std::string m_hIcon;
    int m_currentPage = 0;
    bool m_firstSize = true;

    // ---- Other settings of the pages ----
    std::string m_addDeviceText;
    std::string m_dataFrameSource;       // the smart-home rows' source and destination: nothing sets them
    std::string m_dataFrameDestination;
};
