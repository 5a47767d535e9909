#pragma once
// The serial settings dialog: chooses the port and its line settings and opens or closes it.

#include <cstdint>
#include <string>

#include "link/serial_port.h"
#include "platform/ui.h"

class ModuleLink;

// The settings the dialog keeps between openings: the port number and the list positions of
// the four setting combos.
struct SavedSerialSettings {
    uint32_t comPort = 0;
    uint32_t baudIndex = 7;  // 115200
    uint32_t parityIndex = 0;
    uint32_t dataBitsIndex = 3;  // 8 bits
    uint32_t stopBitsIndex = 0;  // "1"
};

// What the dialog needs of the window that owns it.
class SerialSettingsHost {
public:
    virtual ~SerialSettingsHost() = default;
    virtual ModuleLink& Link() = 0;
    virtual SavedSerialSettings& SerialSettingsRecord() = 0;
    virtual void SetPortStatusText(const std::string& text) = 0;
    // An empty text starts the wait for the module's version reply.
    virtual void SetVersionText(std::string text) = 0;
    // The read-version request that follows the opening of the port.
    virtual void SendVersionRequest() = 0;
};

// The serial port has closed: sending returns to an open network socket and the port status
// says so; else the status and the version say the port is closed.
void ShowSerialChannelClosed(SerialSettingsHost& host);

class CSerialSettingsDlg : public Dialog {
public:
    explicit CSerialSettingsDlg(SerialSettingsHost& host);

    void OnOpenPort();
    void TogglePort();
    void SaveSettings();
    void ReadSettings();
    void FillPortList();
    void UpdateStatus();
    static bool ProbePort(int portNumber);
    // The box of a failed open: result and fault of the port, and the port's own text of it.
    static std::string OpenFailureText(int result, SerialFault fault, const std::string& faultText);

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
    SerialSettingsHost& m_host;
};
