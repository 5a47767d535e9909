#pragma once
// The smart-home monitor page: a list of data frames with their source and destination, its
// export, and a clear.

#include <string>

#include "dialogs/main_window_port.h"
#include "platform/ui.h"

class CSmartHomeMonitorDlg : public Dialog {
public:
    explicit CSmartHomeMonitorDlg(MainWindowPort& window);

    // Appends a row: time, number, "数据帧" and the three texts (user-interface thread).
    void AddFrameRow(const std::string& source, const std::string& destination, const std::string& frame);
    void ClearList();
    void LayoutControls();

    void OnExportFrameList();
    void OnClearFrames();
    void OnDblclkFrameList();

    ListView m_frameList;

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnSize(int width, int height) override;

private:
    MainWindowPort& m_window;
};
