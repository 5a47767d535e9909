#pragma once
// Sends one typed frame as it stands.

#include "dialogs/main_window_port.h"
#include "platform/ui.h"

class CSendFrameDlg : public Dialog {
public:
    explicit CSendFrameDlg(MainWindowPort& window);
    void OnSend();

protected:
    bool OnInitDialog() override;
    void OnOK() override {}

private:
    MainWindowPort& m_window;
};
