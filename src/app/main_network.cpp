// The main window's side of the network channel: the settings dialog, the socket's read
// message, and what the network side of the link reports.

#include "app/main_tester_dlg.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

void CMainTesterDlg::MapNetworkChannel() {
    MapCommand(IDM_NETWORK_SETTINGS, Notify::Clicked, [this] { OnNetworkSettings(); });
    MapMessage(WM_NETWORK_READ, [this](uintptr_t wParam, intptr_t lParam) -> intptr_t {
        OnNetworkRead(wParam, lParam);
        return 0;
    });
    if (!m_adapterConfigurator) m_adapterConfigurator = std::make_unique<NmcliAdapterConfigurator>();
    NetworkLink& network = m_link.Network();
    network.SetListener(this);
    // A connect that waits keeps the window alive.
    network.SetWait([](const std::function<bool()>& finished) {
        if (IsUiThread()) WaitPumping(finished);
    });
}

void CMainTesterDlg::OnNetworkSettings() { m_networkSettingsDlg.DoModal(this); }

void CMainTesterDlg::SetAdapterConfigurator(std::unique_ptr<NetworkAdapterConfigurator> configurator) {
    if (configurator) m_adapterConfigurator = std::move(configurator);
}

void CMainTesterDlg::OnNetworkRead(uintptr_t wParam, intptr_t lParam) {
    m_link.Network().OnNetworkRead(wParam, lParam);
}

void CMainTesterDlg::OnNetworkMessage(const std::string& text) {
    if (IsUiThread()) {
        ShowMessageBox(text);
    } else {
        PostTask([text] { ShowMessageBox(text); });
    }
}

bool CMainTesterDlg::OnNetworkSocket(int fd) {
    bool watching = false;
    SendTask([this, fd, &watching] {
        m_socketNotifier.reset();
        if (fd < 0) return;
        m_socketNotifier = std::make_unique<SocketNotifier>(*this, fd, WM_NETWORK_READ);
        watching = true;
    });
    return watching;
}

void CMainTesterDlg::RequestNetworkRead(uint32_t delayMs) {
    const int fd = m_link.Network().SocketFd();
    PostTaskAfter(delayMs, [this, fd] { OnNetworkRead(static_cast<uintptr_t>(fd), kNetworkQuietEvent); });
}

void CMainTesterDlg::OnNetworkClosed(const std::string& why) {
    ShowNetworkChannelEnded(*this);
    ShowMessageBox(why);
}

void CMainTesterDlg::OnForeignDatagrams(uint64_t count) {
    SetPortStatusText(StrFormat("网口已打开，已丢弃其他地址的数据报%llu个", static_cast<unsigned long long>(count)));
}
