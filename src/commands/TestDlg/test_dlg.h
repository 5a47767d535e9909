#pragma once
// The module test panel: a page of the main window with groups of module commands, its own
// frame header, log list and text pane.

#include <string>

#include "dialogs/main_window_port.h"
#include "link/module_frame.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

class CTestDlg : public Dialog {
public:
    explicit CTestDlg(MainWindowPort& window) : Dialog(IDD_TEST_PANEL), m_window(window) {}
    // Shows the control group of a function page code.
    void ShowGroup(int pageCode);
    int CurrentGroup() const { return m_group; }

    // Control fields from the panel's own four header combo boxes; always 1.
    int FillControlFields(ModuleFrame& frame);
    // One row in the panel's log list, from any thread.
    void AddLogRow(std::string frameHex);
    void ShowResultText(const std::string& text);
    // The read-version request (command 0x02) that follows the opening of the port.
    void SendVersionRequest();

    ComboBox m_directionCombo;    // IDC_PANEL_DIRECTION_COMBO
    ComboBox m_initiatorCombo;    // IDC_PANEL_INITIATOR_COMBO
    ComboBox m_replyStatusCombo;  // IDC_PANEL_REPLY_STATUS_COMBO
    ComboBox m_channelTypeCombo;  // IDC_PANEL_CHANNEL_TYPE_COMBO
    ListView m_logList;           // IDC_PANEL_LOG_LIST
    uint32_t m_logRow = 0;

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    // A page of the main window: Esc does not take it away.
    void OnCancel() override {}

private:
    void InitComboBoxes();
    void InitLogColumns();
    void OnItemchangedLogList();
    void OnDblclkLogList();
    MainWindowPort& m_window;
    int m_group = 0;
};
