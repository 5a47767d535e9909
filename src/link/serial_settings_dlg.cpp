#include "link/serial_settings_dlg.h"

#include <cstdlib>

#include "app/main_tester_dlg.h"
#include "commands/TestDlg/test_dlg.h"
#include "link/serial_comm.h"
#include "platform/text_format.h"

namespace {

const uint32_t kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

}  // namespace

bool CSerialSettingsDlg::OnInitDialog() {
    m_main = CMainTesterDlg::Instance();
    m_portCombo = ComboBox(GetDlgItem(1076));
    ComboBox baud(GetDlgItem(1006));
    for (uint32_t b : kBaudRates) baud.AddString(std::to_string(b));
    ComboBox parity(GetDlgItem(1007));
    for (const char* p : {"无校验", "奇校验", "偶校验"}) parity.AddString(p);
    ComboBox dataBits(GetDlgItem(1008));
    for (const char* d : {"5", "6", "7", "8"}) dataBits.AddString(d);
    ComboBox stopBits(GetDlgItem(1009));
    for (const char* s : {"1", "1.5", "2"}) stopBits.AddString(s);
    MapCommand(1021, Notify::Clicked, [this] { OnOpenPort(); });
    MapCommand(2, Notify::Clicked, [this] { EndDialog(kIdCancel); });
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
    if (!m_main) return;
    m_portCombo.ResetContent();
    for (int n = 1; n <= 99; ++n) {
        const bool openNow = static_cast<int>(m_main->m_comPort) == n && m_main->IsGatherThreadRunning();
        if (openNow || ProbePort(n)) {
            const int index = m_portCombo.AddString(StrFormat("COM%d", n));
            if (static_cast<int>(m_main->m_comPort) == n) m_portCombo.SetCurSel(index);
        }
    }
    ComboBox(GetDlgItem(1006)).SetCurSel(static_cast<int>(m_main->m_baudIndex));
    ComboBox(GetDlgItem(1007)).SetCurSel(static_cast<int>(m_main->m_parityIndex));
    ComboBox(GetDlgItem(1008)).SetCurSel(static_cast<int>(m_main->m_dataBitsIndex));
    ComboBox(GetDlgItem(1009)).SetCurSel(static_cast<int>(m_main->m_stopBitsIndex));
}

void CSerialSettingsDlg::ReadSettings() {
    int port = 0;
    m_portNumber = ParsePortText(m_portCombo.GetSelectedText(), port) ? port : static_cast<int>(m_main->m_comPort);
    const int baud = ComboBox(GetDlgItem(1006)).GetCurSel();
    m_baudRate = baud >= 0 && baud < 8 ? kBaudRates[baud] : 115200;
    const int bits = ComboBox(GetDlgItem(1008)).GetCurSel();
    m_dataBits = static_cast<uint32_t>((bits < 0 ? 3 : bits) + 5);
    const int parity = ComboBox(GetDlgItem(1007)).GetCurSel();
    m_parity = static_cast<uint32_t>(parity < 0 ? 0 : parity);
    m_stopBits = ComboBox(GetDlgItem(1009)).GetSelectedText();
}

void CSerialSettingsDlg::SaveSettings() {
    int port = 0;
    if (ParsePortText(m_portCombo.GetSelectedText(), port)) m_main->m_comPort = static_cast<uint32_t>(port);
    auto index = [this](int id) {
        const int i = ComboBox(GetDlgItem(id)).GetCurSel();
        return static_cast<uint32_t>(i < 0 ? 0 : i);
    };
    m_main->m_baudIndex = index(1006);
    m_main->m_parityIndex = index(1007);
    m_main->m_dataBitsIndex = index(1008);
    m_main->m_stopBitsIndex = index(1009);
}

void CSerialSettingsDlg::TogglePort() {
    if (GetDlgItemText(1021) != "打开串口") {
        m_main->m_serialComm->Close();
        m_main->StopGatherThread();
        m_main->m_portOpen = 0;
        m_main->m_channelMode = CHANNEL_NONE;
    } else {
        ReadSettings();
        SaveSettings();
        CSerialComm& comm = *m_main->m_serialComm;
        CMainTesterDlg* main = m_main;
        comm.SetHangUpHandler([main] { main->PostTask([main] { main->OnPortHungUp(); }); });
        const int result = comm.Open(m_portNumber, m_baudRate, m_dataBits, m_parity, m_stopBits);
        if (result == 0) {
            SetDlgItemText(1021, "关闭串口");
            if (m_main->StartGatherThread() && m_main->StartMonitorThread()) {
                SaveSettings();
                UpdateStatus();
                m_main->m_portOpen = 1;
                m_main->m_channelMode = CHANNEL_SERIAL;
                return;
            }
            ShowMessageBox("打开串口失败", "错误", kMbOk | kMbIconStop);
        } else if (result == 8010) {
            const std::string detail = comm.LastErrorText();
            ShowMessageBox(detail.empty() ? "串口硬件不可用(被其它设备锁定)"
                                          : "串口硬件不可用(被其它设备锁定)\r\n" + detail,
                           "错误", kMbOk | kMbIconStop);
        } else {
            const std::string detail = comm.LastErrorText();
            ShowMessageBox(detail.empty() ? "打开串口失败" : "打开串口失败\r\n" + detail, "错误", kMbOk | kMbIconStop);
        }
        m_main->m_portOpen = 0;
    }
    UpdateStatus();
}

void CSerialSettingsDlg::OnOpenPort() {
    TogglePort();
    if (GetDlgItemText(1021) == "关闭串口" && m_main->m_portOpen) {
        EndDialog(kIdOk);
        m_main->m_versionShown = 0;
        m_main->m_testPanel->SendVersionRequest();
        m_main->SetVersionText("");
    }
}

void CSerialSettingsDlg::UpdateStatus() {
    if (m_main->IsGatherThreadRunning()) {
        const std::string port = m_portCombo.GetSelectedText();
        if (port.empty()) {
            SetDlgItemText(1021, "打开串口");
            SetDlgItemText(1077, "串口未打开");
            m_main->SetPortStatusText("串口未打开");
            return;
        }
        SetDlgItemText(1021, "关闭串口");
        const std::string status = port + "," + ComboBox(GetDlgItem(1006)).GetSelectedText() + ", " +
                                   ComboBox(GetDlgItem(1008)).GetSelectedText() + "," +
                                   ComboBox(GetDlgItem(1007)).GetSelectedText() + ", " +
                                   ComboBox(GetDlgItem(1009)).GetSelectedText();
        SetDlgItemText(1077, status);
        m_main->SetPortStatusText(status);
    } else {
        SetDlgItemText(1021, "打开串口");
        SetDlgItemText(1077, "串口未打开");
        m_main->SetPortStatusText("串口未打开");
        m_main->SetVersionText("版本号:");
    }
}

void CMainTesterDlg::OnSerialSettings() { m_serialSettingsDlg->DoModal(this); }

void CMainTesterDlg::OnPortHungUp() {
    if (!m_serialComm || !m_serialComm->HasHungUp()) return;
    const std::string why = m_serialComm->LastErrorText();
    m_serialComm->Close();
    StopGatherThread();
    m_portOpen = 0;
    m_channelMode = CHANNEL_NONE;
    SetPortStatusText("串口未打开");
    SetVersionText("版本号:");
    ShowMessageBox(why.empty() ? "串口已断开" : why, "错误", kMbOk | kMbIconStop);
}
