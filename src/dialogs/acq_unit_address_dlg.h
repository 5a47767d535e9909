#pragma once
// Reading meters through an acquisition unit: its address and where the meter's 485 address goes.

#include "dialogs/main_window_port.h"
#include "platform/ui.h"

class CAcqUnitAddressDlg : public Dialog {
public:
    explicit CAcqUnitAddressDlg(MainWindowPort& window);
    void OnReadViaAcqUnitCheck();
    void OnConfirm();

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnDestroy() override;

private:
    MainWindowPort& m_window;
};
