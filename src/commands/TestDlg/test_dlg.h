#pragma once
// The module test panel: a page of the main window with groups of module commands, its own
// frame header, log list and text pane.

#include <string>

#include "dialogs/main_window_port.h"
#include "link/module_frame.h"
#include "platform/ui.h"

class CTestDlg : public Dialog {
public:
    explicit CTestDlg(MainWindowPort& window) : Dialog(193), m_window(window) {}
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

    ComboBox m_directionCombo;    // 1924
    ComboBox m_initiatorCombo;    // 1925
    ComboBox m_replyStatusCombo;  // 1927
    ComboBox m_channelTypeCombo;  // 1928
    ListView m_logList;           // 1006
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
