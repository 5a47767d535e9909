#pragma once
// The serial settings dialog: chooses the port and its line settings and opens or closes it.

#include <string>

#include "platform/ui.h"

class CMainTesterDlg;

class CSerialSettingsDlg : public Dialog {
public:
    CSerialSettingsDlg() : Dialog(165) {}

    void OnOpenPort();
    void TogglePort();
    void SaveSettings();
    void ReadSettings();
    void FillPortList();
    void UpdateStatus();
    static bool ProbePort(int portNumber);
    void OnDropdownPortCombo() {}

    // The chosen settings.
    int m_portNumber = 0;
    uint32_t m_baudRate = 115200;
    uint32_t m_dataBits = 8;
    uint32_t m_parity = 0;
    std::string m_stopBits = "1";

protected:
    bool OnInitDialog() override;

private:
    // The port number in "COM%d": the digits after the first three characters.
    static bool ParsePortText(const std::string& text, int& port);
    ComboBox m_portCombo;
    CMainTesterDlg* m_main = nullptr;
};
