// Combo texts to codes, and the readers of the command pages' combos.

#include "commands/combo_mappers.h"

#include "res/resource_ids.h"

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

namespace {

std::string SelectedText(Dialog& page, int comboId) { return ComboBox(page.GetDlgItem(comboId)).GetSelectedText(); }

}  // namespace

void GetDeviceMode(Dialog& page, uint8_t& mode) { MapDeviceModeText(SelectedText(page, IDC_DST_MODE_COMBO), mode); }

void GetDeviceMode2(Dialog& page, uint8_t& mode) { MapDeviceModeText(SelectedText(page, IDC_SRC_MODE_COMBO), mode); }

void GetPasswordType(Dialog& page, uint8_t& type) { MapPasswordTypeText(SelectedText(page, IDC_KEY_MODE_COMBO), type); }

void GetPasswordType2(Dialog& page, uint8_t& type) {
    MapPasswordTypeText(SelectedText(page, IDC_KEY_MODE_COMBO), type);
}

void GetProtocol(Dialog& page, uint8_t& protocol) { MapProtocolText(SelectedText(page, IDC_PROTOCOL_COMBO), protocol); }

void GetMulticastFlag(Dialog& page, uint8_t& flag) {
    MapMulticastFlagText(SelectedText(page, IDC_MULTICAST_MODE_COMBO), flag);
}

void GetPriority(Dialog& page, uint8_t& priority) { MapPriorityText(SelectedText(page, IDC_PRIORITY_COMBO), priority); }

void GetSearchScope(Dialog& page, uint8_t& scope) {
    MapSearchScopeText(SelectedText(page, IDC_SEARCH_SCOPE_COMBO), scope);
}

void GetDecryptResult(Dialog& page, uint8_t& result) {
    MapDecryptResultText(SelectedText(page, IDC_DECRYPT_RESULT_COMBO), result);
}

void GetParity(Dialog& page, uint8_t& parity) { MapParityText(SelectedText(page, IDC_PARITY_COMBO), parity); }

void GetStopBits(Dialog& page, uint8_t& stopBits) {
    MapStopBitsText(SelectedText(page, IDC_STOP_BITS_COMBO), stopBits);
}

// The mappers of the network-parameter, TCP/IP, search-attribute and password-reply pages.

bool GetBaudCode(Dialog& page, uint8_t& code) { return MapBaudText(SelectedText(page, IDC_BAUD_RATE_COMBO), code); }

void GetLevel(Dialog& page, uint8_t& level) { MapLevelText(SelectedText(page, IDC_TX_POWER_COMBO), level); }

bool GetBand(Dialog& page, uint8_t& band) { return MapBandText(SelectedText(page, IDC_BAND_COMBO), band); }

void GetTcpState(Dialog& page, ByteString& payload) {
    uint8_t code = 0;
    if (MapTcpStateText(SelectedText(page, IDC_TCP_STATE_COMBO), code)) payload.push_back(code);
}

void GetTcpOrUdp(Dialog& page, ByteString& payload) {
    uint8_t code = 0;
    if (MapTcpOrUdpText(SelectedText(page, IDC_TCP_TYPE_COMBO), code)) payload.push_back(code);
}

void GetSearchParticipation(Dialog& page, uint8_t& state) {
    MapSearchParticipationText(SelectedText(page, IDC_SEARCH_PARTICIPATION_COMBO), state);
}

bool GetChangeConsent(Dialog& page, ByteString& payload) {
    uint8_t code = 0;
    if (!MapChangeConsentText(SelectedText(page, IDC_CHANGE_CONSENT_COMBO), code)) return false;
    payload.push_back(code);
    return true;
}
