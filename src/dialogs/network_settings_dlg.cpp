#include "dialogs/network_settings_dlg.h"

#include "link/module_link.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

constexpr char kNoAdapter[] = "错误，找不到网卡！请确认网卡已启用";
constexpr char kSetUpFailed[] = "初始化失败或已完成";
constexpr char kSetUpDone[] = "初始化完成，点击开始进行绑定";
constexpr char kOpened[] = "网口已打开";
constexpr char kClosed[] = "网口已关闭";
constexpr char kBackToSerial[] = "网口已关闭，改用串口COM%d";
// Time the adapter is given to take its new address.
constexpr uint32_t kSettleMs = 1000;

}  // namespace

void ShowNetworkChannelEnded(NetworkSettingsHost& host) {
    ModuleLink& link = host.Link();
    if (link.EndNetworkChannel() == CHANNEL_SERIAL && link.SerialComm()) {
        host.SetPortStatusText(StrFormat(kBackToSerial, link.SerialComm()->Settings().portNumber));
    } else {
        host.SetPortStatusText(kClosed);
    }
}

CNetworkSettingsDlg::CNetworkSettingsDlg(NetworkSettingsHost& host) : Dialog(IDD_NETWORK_SETTINGS), m_host(host) {
    MapCommand(IDC_NET_START_STOP, Notify::Clicked, [this] { OnStart(); });
    MapCommand(IDC_NET_INIT_ADAPTER, Notify::Clicked, [this] { OnInitAdapter(); });
    MapCommand(IDC_NET_CLOSE, Notify::Clicked, [this] { OnCloseButton(); });
    MapCommand(IDC_NET_ADAPTER_COMBO, Notify::SelChange, [this] { OnSelchangeAdapter(); });
    MapCommand(IDC_NET_TCP_SERVER, Notify::Clicked, [this] { OnTcpServer(); });
    MapCommand(IDC_NET_TCP_CLIENT, Notify::Clicked, [this] { OnTcpClient(); });
    MapCommand(IDC_NET_UDP, Notify::Clicked, [this] { OnUdp(); });
}

bool CNetworkSettingsDlg::OnInitDialog() {
    m_protocol = NET_TCP_CLIENT;
    Button(GetDlgItem(IDC_NET_TCP_SERVER)).SetCheck(0);
    Button(GetDlgItem(IDC_NET_TCP_CLIENT)).SetCheck(1);
    Button(GetDlgItem(IDC_NET_UDP)).SetCheck(0);

    m_adapters = m_host.AdapterConfigurator().ListAdapters();
    if (m_adapters.size() > kMaxAdapters) m_adapters.resize(kMaxAdapters);
    if (m_adapters.empty()) ShowMessageBox(kNoAdapter);
    ComboBox adapters(GetDlgItem(IDC_NET_ADAPTER_COMBO));
    adapters.ResetContent();
    for (const AdapterInfo& a : m_adapters) adapters.AddString(a.description);
    uint32_t ip = 0;
    if (!m_adapters.empty()) {
        adapters.SetCurSel(0);
        if (ParseIpv4(m_adapters.front().ipAddress, ip)) IpAddressEdit(GetDlgItem(IDC_NET_LOCAL_IP)).SetAddress(ip);
    }
    SetDlgItemText(IDC_NET_LOCAL_PORT, "8081");
    if (ParseIpv4(m_host.RemoteIp(), ip)) IpAddressEdit(GetDlgItem(IDC_NET_REMOTE_IP)).SetAddress(ip);
    SetDlgItemText(IDC_NET_REMOTE_PORT, "2222");

    if (m_host.Link().Network().IsSocketOpen()) {
        SetDlgItemText(IDC_NET_START_STOP, "停止");
        m_host.SetPortStatusText(kOpened);
    } else {
        SetDlgItemText(IDC_NET_START_STOP, "开始");
    }
    EnableFields();
    return true;
}

void CNetworkSettingsDlg::OnProtocolRadio() {
    if (Button(GetDlgItem(IDC_NET_TCP_SERVER)).GetCheck()) m_protocol = NET_TCP_SERVER;
    if (Button(GetDlgItem(IDC_NET_TCP_CLIENT)).GetCheck()) m_protocol = NET_TCP_CLIENT;
    if (Button(GetDlgItem(IDC_NET_UDP)).GetCheck()) m_protocol = NET_UDP;
    EnableFields();
}

void CNetworkSettingsDlg::EnableFields() {
    const bool local = m_protocol != NET_TCP_CLIENT;
    const bool remote = m_protocol != NET_TCP_SERVER;
    GetDlgItem(IDC_NET_LOCAL_IP).Enable(local);
    GetDlgItem(IDC_NET_LOCAL_PORT).Enable(local);
    GetDlgItem(IDC_NET_REMOTE_IP).Enable(remote);
    GetDlgItem(IDC_NET_REMOTE_PORT).Enable(remote);
}

void CNetworkSettingsDlg::OnSelchangeAdapter() {
    const int index = ComboBox(GetDlgItem(IDC_NET_ADAPTER_COMBO)).GetCurSel();
    uint32_t ip = 0;
    if (index < 0 || static_cast<size_t>(index) >= m_adapters.size() ||
        !ParseIpv4(m_adapters[static_cast<size_t>(index)].ipAddress, ip))
        return;
    IpAddressEdit(GetDlgItem(IDC_NET_LOCAL_IP)).SetAddress(ip);
    IpAddressEdit(GetDlgItem(IDC_NET_REMOTE_IP)).SetAddress(ip);
}

bool CNetworkSettingsDlg::ReadAddress(int ipId, int portId, const char* which, SocketAddress& address) {
    if (!ParseIpv4(GetDlgItemText(ipId), address.ip)) {
        ShowMessageBox(std::string(which) + "IP地址无效！");
        return false;
    }
    if (!ParsePortText(GetDlgItemText(portId), address.port)) {
        ShowMessageBox(std::string(which) + "端口无效！端口是0到65535的数字");
        return false;
    }
    return true;
}

void CNetworkSettingsDlg::OnStart() {
    NetworkLink& network = m_host.Link().Network();
    if (network.IsConnecting()) return;
    if (network.IsSocketOpen()) {
        // "停止": whatever the protocol now chosen, the open socket closes.
        network.CloseSocket();
    } else {
        SocketAddress local;
        SocketAddress remote;
        if (m_protocol != NET_TCP_CLIENT && !ReadAddress(IDC_NET_LOCAL_IP, IDC_NET_LOCAL_PORT, "本机", local)) return;
        if (m_protocol != NET_TCP_SERVER && !ReadAddress(IDC_NET_REMOTE_IP, IDC_NET_REMOTE_PORT, "对方", remote))
            return;
        network.SetPeer(remote);
        network.SetSendMode(static_cast<NetProtocol>(m_protocol));
        switch (m_protocol) {
            case NET_TCP_SERVER: network.OpenListeningSocket(local); break;
            case NET_TCP_CLIENT: network.ToggleTcpClientSocket(remote); break;
            case NET_UDP: network.ToggleUdpSocket(local); break;
            default: break;
        }
    }
    ShowChannelState();
    EndDialog(kIdOk);
}

void CNetworkSettingsDlg::ShowChannelState() {
    ModuleLink& link = m_host.Link();
    NetworkLink& network = link.Network();
    if (network.IsSocketOpen() && link.StartNetworkChannel()) {
        SetDlgItemText(IDC_NET_START_STOP, "停止");
        m_host.SetPortStatusText(kOpened);
        return;
    }
    // A socket whose frames could not be recorded is not left open behind a closed look.
    if (network.IsSocketOpen()) network.CloseSocket();
    SetDlgItemText(IDC_NET_START_STOP, "开始");
    ShowNetworkChannelEnded(m_host);
}

void CNetworkSettingsDlg::OnInitAdapter() {
    const int index = ComboBox(GetDlgItem(IDC_NET_ADAPTER_COMBO)).GetCurSel();
    NetworkAdapterConfigurator& configurator = m_host.AdapterConfigurator();
    const std::string address = m_host.RemoteIp();
    bool done = index >= 0 && static_cast<size_t>(index) < m_adapters.size();
    if (done) {
        const AdapterInfo& adapter = m_adapters[static_cast<size_t>(index)];
        done = configurator.FindAdapterConfig(adapter.name) &&
               configurator.SetAdapterStaticAddress(address, adapter.subnetMask, adapter.gateway);
    }
    if (!done) {
        const std::string why = configurator.LastErrorText();
        ShowMessageBox(why.empty() ? std::string(kSetUpFailed) : std::string(kSetUpFailed) + "\r\n" + why);
        return;
    }
    PumpFor(kSettleMs);
    uint32_t ip = 0;
    if (ParseIpv4(address, ip)) IpAddressEdit(GetDlgItem(IDC_NET_LOCAL_IP)).SetAddress(ip);
    SetTimer(TIMER_NET_INIT_NOTICE, 1000);
    ShowMessageBox(kSetUpDone);
}

void CNetworkSettingsDlg::OnTimer(int id) {
    if (id != TIMER_NET_INIT_NOTICE) return;
    KillTimer(TIMER_NET_INIT_NOTICE);
    // Closes the notice if it is still up.
    PressKeyOnFocusWindow(Key::Enter);
}
