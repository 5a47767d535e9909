#include "dialogs/serial_settings_dlg.h"

#include <cstdlib>

#include "link/module_link.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

const uint32_t kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr char kOpenFailed[] = "打开串口失败";
constexpr char kClosed[] = "串口未打开";
constexpr char kNetworkOpen[] = "网口已打开";

}  // namespace

void ShowSerialChannelClosed(SerialSettingsHost& host) {
    if (host.Link().GetChannelMode() == CHANNEL_NETWORK) {
        host.SetPortStatusText(kNetworkOpen);
        return;
    }
    host.SetPortStatusText(kClosed);
    host.SetVersionText("版本号:");
}

CSerialSettingsDlg::CSerialSettingsDlg(SerialSettingsHost& host) : Dialog(IDD_SERIAL_SETTINGS), m_host(host) {}

bool CSerialSettingsDlg::OnInitDialog() {
    m_portCombo = ComboBox(GetDlgItem(IDC_SERIAL_PORT_COMBO));
    ComboBox baud(GetDlgItem(IDC_SERIAL_BAUD_COMBO));
    for (uint32_t b : kBaudRates) baud.AddString(std::to_string(b));
    ComboBox parity(GetDlgItem(IDC_SERIAL_PARITY_COMBO));
    for (const char* p : {"无校验", "奇校验", "偶校验"}) parity.AddString(p);
    ComboBox dataBits(GetDlgItem(IDC_SERIAL_DATA_BITS_COMBO));
    for (const char* d : {"5", "6", "7", "8"}) dataBits.AddString(d);
    ComboBox stopBits(GetDlgItem(IDC_SERIAL_STOP_BITS_COMBO));
    for (const char* s : {"1", "1.5", "2"}) stopBits.AddString(s);
    MapCommand(IDC_SERIAL_OPEN_CLOSE, Notify::Clicked, [this] { OnOpenPort(); });
    MapCommand(kIdCancel, Notify::Clicked, [this] { EndDialog(kIdCancel); });
    FillPortList();
    UpdateStatus();
    return true;
}

bool CSerialSettingsDlg::ProbePort(int portNumber) { return CSerialPort::ProbePort(portNumber); }

bool CSerialSettingsDlg::ParsePortText(const std::string& text, int& port) {
    if (text.size() < 4) return false;
    char* end = nullptr;
    const long n = std::strtol(text.c_str() + 3, &end, 10);
    if (end == text.c_str() + 3) return false;
    port = static_cast<int>(n);
    return true;
}

void CSerialSettingsDlg::FillPortList() {
    const SavedSerialSettings& saved = m_host.SerialSettingsRecord();
    m_portCombo.ResetContent();
    for (int n = 1; n <= 99; ++n) {
        const bool openNow = static_cast<int>(saved.comPort) == n && m_host.Link().IsSerialOpen();
        if (openNow || ProbePort(n)) {
            const int index = m_portCombo.AddString(StrFormat("COM%d", n));
            if (static_cast<int>(saved.comPort) == n) m_portCombo.SetCurSel(index);
        }
    }
    ComboBox(GetDlgItem(IDC_SERIAL_BAUD_COMBO)).SetCurSel(static_cast<int>(saved.baudIndex));
    ComboBox(GetDlgItem(IDC_SERIAL_PARITY_COMBO)).SetCurSel(static_cast<int>(saved.parityIndex));
    ComboBox(GetDlgItem(IDC_SERIAL_DATA_BITS_COMBO)).SetCurSel(static_cast<int>(saved.dataBitsIndex));
    ComboBox(GetDlgItem(IDC_SERIAL_STOP_BITS_COMBO)).SetCurSel(static_cast<int>(saved.stopBitsIndex));
}

void CSerialSettingsDlg::ReadSettings() {
    int port = 0;
    m_portNumber = ParsePortText(m_portCombo.GetSelectedText(), port) ? port
                                                                       : static_cast<int>(m_host.SerialSettingsRecord().comPort);
    const int baud = ComboBox(GetDlgItem(IDC_SERIAL_BAUD_COMBO)).GetCurSel();
    m_baudRate = baud >= 0 && baud < 8 ? kBaudRates[baud] : 115200;
    const int bits = ComboBox(GetDlgItem(IDC_SERIAL_DATA_BITS_COMBO)).GetCurSel();
    m_dataBits = static_cast<uint32_t>((bits < 0 ? 3 : bits) + 5);
    const int parity = ComboBox(GetDlgItem(IDC_SERIAL_PARITY_COMBO)).GetCurSel();
    m_parity = static_cast<uint32_t>(parity < 0 ? 0 : parity);
    m_stopBits = ComboBox(GetDlgItem(IDC_SERIAL_STOP_BITS_COMBO)).GetSelectedText();
}

void CSerialSettingsDlg::SaveSettings() {
    SavedSerialSettings& saved = m_host.SerialSettingsRecord();
    int port = 0;
    if (ParsePortText(m_portCombo.GetSelectedText(), port)) saved.comPort = static_cast<uint32_t>(port);
    auto index = [this](int id) {
        const int i = ComboBox(GetDlgItem(id)).GetCurSel();
        return static_cast<uint32_t>(i < 0 ? 0 : i);
    };
    saved.baudIndex = index(IDC_SERIAL_BAUD_COMBO);
    saved.parityIndex = index(IDC_SERIAL_PARITY_COMBO);
    saved.dataBitsIndex = index(IDC_SERIAL_DATA_BITS_COMBO);
    saved.stopBitsIndex = index(IDC_SERIAL_STOP_BITS_COMBO);
}

std::string CSerialSettingsDlg::OpenFailureText(int result, SerialFault fault, const std::string& faultText) {
    if (result != SERIAL_CANNOT_OPEN || fault == SerialFault::NoDevice) return kOpenFailed;
    // Linux alone refuses a port for want of permission: say which group the user needs.
    if (fault == SerialFault::PermissionDenied) return std::string(kOpenFailed) + "\r\n" + faultText;
    return "串口硬件不可用(被其它设备锁定)";
}

void CSerialSettingsDlg::TogglePort() {
    ModuleLink& link = m_host.Link();
    if (GetDlgItemText(IDC_SERIAL_OPEN_CLOSE) != "打开串口") {
        link.CloseSerialChannel();
        ShowSerialChannelClosed(m_host);
    } else {
        ReadSettings();
        SaveSettings();
        CSerialComm& comm = *link.SerialComm();
        comm.SetSettings(SerialSettings{m_portNumber, m_baudRate, m_dataBits, m_parity, m_stopBits});
        const int result = comm.Open();
        if (result == SERIAL_OK) {
            SetDlgItemText(IDC_SERIAL_OPEN_CLOSE, "关闭串口");
            if (link.StartGatherThread() && link.StartMonitorThread()) {
                SaveSettings();
                UpdateStatus();
                link.SetPortOpen(true);
                link.SetChannelMode(CHANNEL_SERIAL);
                return;
            }
            // Without its receive threads the port is of no use: it is closed again.
            link.CloseSerialChannel();
            ShowMessageBox(kOpenFailed, "错误", kMbOk | kMbIconStop);
        } else {
            ShowMessageBox(OpenFailureText(result, comm.LastFault(), comm.LastErrorText()), "错误",
                           kMbOk | kMbIconStop);
        }
        // An open network channel stays open.
        if (!link.Network().IsSocketOpen()) link.SetPortOpen(false);
    }
    UpdateStatus();
}

void CSerialSettingsDlg::OnOpenPort() {
    TogglePort();
    if (GetDlgItemText(IDC_SERIAL_OPEN_CLOSE) == "关闭串口" && m_host.Link().IsPortOpen()) {
        EndDialog(kIdOk);
        m_host.Link().ArmVersionCapture();
        m_host.SendVersionRequest();
        m_host.SetVersionText("");
    }
}

void CSerialSettingsDlg::UpdateStatus() {
    // The gather thread also runs for the network channel: only the port itself tells.
    if (m_host.Link().IsSerialOpen()) {
        const std::string port = m_portCombo.GetSelectedText();
        if (port.empty()) {
            SetDlgItemText(IDC_SERIAL_OPEN_CLOSE, "打开串口");
            SetDlgItemText(IDC_SERIAL_STATUS, kClosed);
            m_host.SetPortStatusText(kClosed);
            return;
        }
        SetDlgItemText(IDC_SERIAL_OPEN_CLOSE, "关闭串口");
        const std::string status = port + "," + ComboBox(GetDlgItem(IDC_SERIAL_BAUD_COMBO)).GetSelectedText() + ", " +
                                   ComboBox(GetDlgItem(IDC_SERIAL_DATA_BITS_COMBO)).GetSelectedText() + "," +
                                   ComboBox(GetDlgItem(IDC_SERIAL_PARITY_COMBO)).GetSelectedText() + ", " +
                                   ComboBox(GetDlgItem(IDC_SERIAL_STOP_BITS_COMBO)).GetSelectedText();
        SetDlgItemText(IDC_SERIAL_STATUS, status);
        m_host.SetPortStatusText(status);
    } else {
        SetDlgItemText(IDC_SERIAL_OPEN_CLOSE, "打开串口");
        SetDlgItemText(IDC_SERIAL_STATUS, kClosed);
        // An open network channel keeps the window's status and version.
        if (m_host.Link().Network().IsSocketOpen()) return;
        m_host.SetPortStatusText(kClosed);
        m_host.SetVersionText("版本号:");
    }
}
