#pragma once
// The module test panel: a page of the main window with groups of module commands, its own
// frame header, log list and text pane. The main window's function tree shows the panel with
// one control group at a time, so each group looks like a page of its own.

#include <cstdint>
#include <functional>
#include <string>

#include "commands/command_frame.h"
#include "commands/upgrade_image.h"
#include "dialogs/frame_log.h"
#include "dialogs/main_window_port.h"
#include "link/module_frame.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

class CTestDlg : public Dialog {
public:
    explicit CTestDlg(MainWindowPort& window);

    // Whether a page code shows a group of the panel.
    static bool HasGroup(int pageCode);
    // Hides every group, then shows the group of the page code (none for a code without one).
    void ShowGroup(int pageCode);
    void HideAllGroups();

    // Control fields from the panel's own four header combo boxes; always 1.
    int FillControlFields(ModuleFrame& frame);
    // One row in the panel's log list, from any thread.
    void AddLogRow(std::string frameHex);
    void ClearLogList();
    // Replaces the text pane's content by the text and a line break.
    void ShowResultText(const std::string& text);
    // The read-version request (command 0x02) that follows the opening of the port: while the
    // version reply is awaited it is sent without a log row.
    void SendVersionRequest() { OnReadVersion(); }

    // The address text that an address reader of the panel read last, in wire order.
    const std::string& LastAddressText() const { return m_lastAddressText; }

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    // A page of the main window: Esc does not take it away.
    void OnCancel() override {}
    void OnSize(int width, int height) override;
    void OnTimer(int id) override;

private:
    // Start-up and layout.
    void MapHandlers();
    void InitComboBoxes();
    void InitDefaultTexts();
    void InitLogColumns();
    void LayoutControls();
    void OnItemchangedLogList();
    void OnDblclkLogList();

    // The sender shape: header fields, payload (a builder that returns false refuses: nothing
    // is sent, no row), encoding, sending, and a log row when asked for. False when refused.
    using Payload = std::function<bool(ByteString& payload)>;
    bool SendCommand(uint8_t command, const Payload& payload = nullptr, bool logRow = true);

    // Field readers: each appends to the payload, or shows its message and gives false.
    bool ReadHexAddressEdit(int editId, ByteString& payload);
    bool ReadMulticastAddress(int editId, ByteString& payload);
    // The address-mode byte, the multicast address when chosen, and the destination address.
    bool ReadRemoteTarget(ByteString& payload);
    // The leading whole number of a decimal edit, from 0 to high; otherwise shows the message.
    bool ReadDecimalEdit(int editId, const char* field, long long high, long long& value);
    // Combo getters: the code of the selected text; 0 when the text is none of the entries.
    uint8_t GetMulticastFlag();
    uint8_t GetKeyMode();
    // Appends the LWIP mode byte; a text that is none of the entries appends nothing.
    void GetOpenClose(ByteString& payload);

    // Payload builders of the remote, test-tool and reset commands.
    bool BuildZeroAndDstPayload(ByteString& payload);
    bool BuildLwipPayload(ByteString& payload);
    bool BuildSubCodeAndDstPayload(uint8_t subCode, ByteString& payload);
    bool BuildSubCodeAndTargetPayload(uint8_t subCode, ByteString& payload);

    // The pairing commands (command 0x60): one row per button, its sub-code and its fields.
    void MapPairingHandlers();
    // Pairing field readers. A fixed-size hex field of count bytes, least significant byte
    // first; an empty or malformed one shows "请输入所需内容" and gives false.
    bool ReadHexEdit(int editId, ByteString& payload, size_t count);
    // The data edit's count byte and bytes; the count goes into the number edit. A malformed
    // text is refused as ReadHexEdit refuses.
    bool AppendHexEdit(ByteString& payload, int editId);
    // The rule byte of the selected rule text; false, silently, when none is selected.
    bool GetPairingScope(ByteString& payload);
    // Pairing payload builders: the sub-code, then the fields in payload order.
    bool AppendPanId(ByteString& payload, uint8_t subCode);
    bool AppendPairingTime(ByteString& payload, uint8_t subCode);
    bool AppendSearchRequestData(ByteString& payload, uint8_t subCode);
    bool AppendAddressAndData(ByteString& payload, uint8_t subCode);
    bool AppendAddressAndPanId(ByteString& payload, uint8_t subCode);
    bool AppendSearchRule(ByteString& payload, uint8_t subCode);
    bool AppendAddress6(ByteString& payload, uint8_t subCode);

    // "读取版本号": logged unless the version reply of the port's opening is still awaited.
    void OnReadVersion();

    // Network-port test and throughput request.
    bool BuildNetTestPacket(ByteString& payload);
    void OnNetPortTest();
    void OnStopNetPortTest();
    void SendNetPortTestFrame();

    // Broadcast reply test.
    bool BuildBroadcastReplyTestPayload(ByteString& payload);
    void OnBroadcastReplyTest();

    // The upgrade-file group: the image's choice, and its upgrade file in either form.
    void OnSelectUpgradeFile();
    void OnProcessBootFile() { ProcessUpgradeFile(UpgradeForm::kBoot); }
    void OnProcessSecHighFile() { ProcessUpgradeFile(UpgradeForm::kSecHigh); }
    void ProcessUpgradeFile(UpgradeForm form);

    MainWindowPort& m_window;
    ListView m_logList;  // IDC_PANEL_LOG_LIST
    FrameLog m_log;      // its rows, counter and lock
    int m_group = 0;
    std::string m_lastAddressText;
    std::string m_upgradeFilePath;  // the chosen image; empty until chosen, and after a cancel
    // The network-port test: ticks to run, ticks so far, and the packets' sequence number
    // (shared with the throughput request; never reset).
    int32_t m_netTestCount = 0;
    int32_t m_netTestTicks = 0;
    uint32_t m_netTestSequence = 0;
};
