// Combo texts to codes, and the main window's readers of its command-page combos.

#include "commands/combo_mappers.h"

#include "app/main_tester_dlg.h"

namespace {

struct TextCode {
    const char* text;
    uint8_t code;
};

template <size_t N>
bool MapText(const TextCode (&table)[N], const std::string& text, uint8_t& code) {
    for (const TextCode& e : table) {
        if (text == e.text) {
            code = e.code;
            return true;
        }
    }
    return false;
}

}  // namespace

bool MapDeviceModeText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {
        {"不区分设备类型", DEVICE_MODE_ANY},      {"网关", DEVICE_MODE_GATEWAY},
        {"TRM5281/82MAC地址", DEVICE_MODE_TRM5281_MAC}, {"RM5207MAC地址", DEVICE_MODE_RM5207_MAC},
        {"BLEMAC地址", DEVICE_MODE_BLE_MAC},      {"云服务器", DEVICE_MODE_CLOUD_SERVER}};
    return MapText(table, text, code);
}

bool MapPasswordTypeText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"00: 初始网络口令", 0}, {"01: 用户网络口令", 1}};
    return MapText(table, text, code);
}

bool MapProtocolText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"0:不区分", 0}, {"1:UDP", 1}, {"2:TCP", 2}};
    return MapText(table, text, code);
}

bool MapMulticastFlagText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"00: 非组播", 0}, {"01: 组播地址", 1}};
    return MapText(table, text, code);
}

bool MapPriorityText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"Normal", 0}, {"High", 1}};
    return MapText(table, text, code);
}

bool MapSearchScopeText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"搜索所有设备", 0}, {"搜索同网设备", 1}, {"搜索未入网设备", 2}, {"RSV", 6}};
    return MapText(table, text, code);
}

bool MapDecryptResultText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"无法解密", 0}, {"解密新密钥成功", 1}, {"解密老密钥成功", 2}};
    return MapText(table, text, code);
}

bool MapParityText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"None", 0}, {"Even", 1}, {"Odd", 2}};
    return MapText(table, text, code);
}

bool MapStopBitsText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"1", 0}, {"2", 1}};
    return MapText(table, text, code);
}

bool MapBaudText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"600", 0},   {"1200", 1},  {"2400", 2},  {"4800", 3},
                                     {"9600", 4},  {"14400", 5}, {"19200", 6}, {"38400", 7},
                                     {"56000", 8}, {"57600", 9}, {"115200", 10}};
    return MapText(table, text, code);
}

bool MapLevelText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"0 档", 0}, {"1 档", 1}, {"2 档", 2}, {"3 档", 3}};
    return MapText(table, text, code);
}

bool MapBandText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"131", 0}, {"411", 1}};
    return MapText(table, text, code);
}

bool MapTcpStateText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {
        {"不存在", 0}, {"连接中", 1}, {"无法建立连接", 2}, {"连接丢失", 3}, {"建立连接成功", 4}};
    return MapText(table, text, code);
}

bool MapTcpOrUdpText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"0:UDP", 0}, {"1:TCP", 1}};
    return MapText(table, text, code);
}

bool MapSearchParticipationText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"不参与搜索", 0}, {"参与搜索", 1}};
    return MapText(table, text, code);
}

bool MapChangeConsentText(const std::string& text, uint8_t& code) {
    static const TextCode table[] = {{"拒绝修改", 0}, {"同意修改", 1}};
    return MapText(table, text, code);
}

// Readers of the command pages' combos: a text that matches nothing leaves the field as it was.

void CMainTesterDlg::GetDeviceMode(uint8_t& mode) { MapDeviceModeText(m_deviceModeCombo.GetSelectedText(), mode); }

void CMainTesterDlg::GetDeviceMode2(uint8_t& mode) { MapDeviceModeText(m_deviceModeCombo2.GetSelectedText(), mode); }

void CMainTesterDlg::GetPasswordType(uint8_t& type) {
    MapPasswordTypeText(m_passwordTypeCombo.GetSelectedText(), type);
}

void CMainTesterDlg::GetPasswordType2(uint8_t& type) {
    MapPasswordTypeText(m_passwordTypeCombo.GetSelectedText(), type);
}

void CMainTesterDlg::GetProtocol(uint8_t& protocol) { MapProtocolText(m_protocolCombo.GetSelectedText(), protocol); }

void CMainTesterDlg::GetMulticastFlag(uint8_t& flag) { MapMulticastFlagText(m_multicastCombo.GetSelectedText(), flag); }

void CMainTesterDlg::GetPriority(uint8_t& priority) { MapPriorityText(m_priorityCombo.GetSelectedText(), priority); }

void CMainTesterDlg::GetSearchScope(uint8_t& scope) { MapSearchScopeText(m_searchScopeCombo.GetSelectedText(), scope); }

void CMainTesterDlg::GetDecryptResult(uint8_t& result) {
    MapDecryptResultText(m_decryptResultCombo.GetSelectedText(), result);
}

void CMainTesterDlg::GetParity(uint8_t& parity) { MapParityText(m_parityCombo.GetSelectedText(), parity); }

// The mappers of the network-parameter, TCP/IP, search-attribute and password-reply pages.

bool CMainTesterDlg::GetBaudCode(uint8_t& code) { return MapBaudText(m_baudRateCombo.GetSelectedText(), code); }

void CMainTesterDlg::GetLevel(uint8_t& level) { MapLevelText(m_levelCombo.GetSelectedText(), level); }

bool CMainTesterDlg::GetBand(uint8_t& band) { return MapBandText(m_bandCombo.GetSelectedText(), band); }

void CMainTesterDlg::GetTcpState(ByteString& payload) {
    uint8_t code = 0;
    if (MapTcpStateText(m_tcpStateCombo.GetSelectedText(), code)) payload.push_back(code);
}

void CMainTesterDlg::GetTcpOrUdp(ByteString& payload) {
    uint8_t code = 0;
    if (MapTcpOrUdpText(m_tcpOrUdpCombo.GetSelectedText(), code)) payload.push_back(code);
}

void CMainTesterDlg::GetSearchParticipation(uint8_t& state) {
    MapSearchParticipationText(m_searchParticipationCombo.GetSelectedText(), state);
}

bool CMainTesterDlg::GetChangeConsent(ByteString& payload) {
    uint8_t code = 0;
    if (!MapChangeConsentText(m_changeConsentCombo.GetSelectedText(), code)) return false;
    payload.push_back(code);
    return true;
}
