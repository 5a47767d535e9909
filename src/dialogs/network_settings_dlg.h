#pragma once
// The network settings dialog: chooses the adapter, the addresses and the protocol, sets the
// adapter up, and opens or closes the network channel.

#include <string>
#include <vector>

#include "link/network_adapters.h"
#include "link/network_link.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

class ModuleLink;

// What the dialog needs of the window that owns it.
class NetworkSettingsHost {
public:
    virtual ~NetworkSettingsHost() = default;
    virtual ModuleLink& Link() = 0;
    virtual void SetPortStatusText(const std::string& text) = 0;
    // The remote address ("192.168.1.8" at start).
    virtual std::string RemoteIp() const = 0;
    virtual NetworkAdapterConfigurator& AdapterConfigurator() = 0;
};

// The network channel has stopped or failed to open: sending returns to the serial port when it
// is open, else no channel is left, and the port status says which.
void ShowNetworkChannelEnded(NetworkSettingsHost& host);

class CNetworkSettingsDlg : public Dialog {
public:
    explicit CNetworkSettingsDlg(NetworkSettingsHost& host);

    void OnStart();
    void OnInitAdapter();
    void OnCloseButton() { EndDialog(kIdCancel); }
    void OnSelchangeAdapter();
    void OnTcpServer() { OnProtocolRadio(); }
    void OnTcpClient() { OnProtocolRadio(); }
    void OnUdp() { OnProtocolRadio(); }

    // -1 until the dialog opens, then the chosen protocol.
    int m_protocol = -1;
    std::vector<AdapterInfo> m_adapters;

protected:
    bool OnInitDialog() override;
    void OnTimer(int id) override;
    // Enter does nothing here: the key that closes the set-up notice must not press a button.
    bool PreTranslateKey(Key key) override { return key == Key::Enter; }

private:
    void OnProtocolRadio();
    // Enables the address fields the protocol uses.
    void EnableFields();
    // The address of an IP control and a port edit; false, with the message shown, when the
    // address is not four numbers of 0-255 or the port no number of 0-65535.
    bool ReadAddress(int ipId, int portId, const char* which, SocketAddress& address);
    // Step 4 of a start: shows the channel's state and sets the link's channel mode.
    void ShowChannelState();

    NetworkSettingsHost& m_host;
};
