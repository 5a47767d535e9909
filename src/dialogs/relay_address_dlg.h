#pragma once
// The relay addresses of the main window's requests: up to six meter addresses, checked ones
// taken in row order.

#include "dialogs/main_window_port.h"
#include "platform/ui.h"

class CRelayAddressDlg : public Dialog {
public:
    explicit CRelayAddressDlg(MainWindowPort& window);

    void OnAddRelay();
    void OnDeleteRelays();
    void OnSelectAll();
    void OnConfirmRelays();
    void OnUseRelaysCheck();
    void OnIndexCheck();
    void OnClickRelayList();
    // Checks every row strictly between the first two checked rows.
    void FillCheckRange();

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnClose() override { ShowWindow(false); }
    bool PreTranslateKey(Key key) override;
    void OnDestroy() override;

private:
    MainWindowPort& m_window;
    ListView m_relayList;
    int m_rowCount = 0;
};
