// Start-up contents of the main window's lists, combo boxes and edits.

#include <iterator>

#include "app/main_tester_dlg.h"
#include "commands/combo_mappers.h"
#include "link/conversions.h"
#include "res/resource_ids.h"

namespace {

struct ColumnDef {
    const char* heading;
    int width;
    ListView::Align align;
};

void AddColumns(ListView& list, std::initializer_list<ColumnDef> columns) {
    int i = 0;
    for (const ColumnDef& c : columns) list.InsertColumn(i++, c.heading, c.width, c.align);
    // The first column is right-aligned once the columns are in.
    list.SetColumnAlign(0, ListView::kRight);
}

constexpr ListView::Align C = ListView::kCenter;
constexpr ListView::Align L = ListView::kLeft;

void AddEntries(ComboBox& combo, std::initializer_list<const char*> entries) {
    for (const char* e : entries) combo.AddString(e);
}

// Selects the entry at a position of the sorted list, only when the box holds entries.
void SelectIfFilled(ComboBox& combo, int position) {
    if (combo.GetCount() > 0) combo.SetCurSel(position);
}

}  // namespace

void CMainTesterDlg::InitListColumns() {
    m_addressList.SetCheckBoxes(true);
    AddColumns(m_addressList, {{"序号", 40, C},
                               {"地址", 90, C},
                               {"测试结果", 80, C},
                               {"测试时间", 80, L},
                               {"复位信息", 80, C},
                               {"组播地址", 80, C},
                               {"软复位次数", 80, C},
                               {"看门狗复位次数", 100, C},
                               {"掉电复位次数", 100, C},
                               {"外部复位次数", 100, C}});
    AddColumns(m_frameLogList, {{"时间", 150, C}, {"序号", 50, C}, {"报文显示", 1000, L}});
    AddColumns(m_meterReadList,
               {{"时间", 150, C}, {"序号", 50, C}, {"报文显示", 400, L}, {"结果", 50, C}, {"耗时", 50, C}});
    AddColumns(m_passThroughList,
               {{"时间", 150, C}, {"序号", 50, C}, {"报文显示", 400, L}, {"方向", 20, C}, {"长度", 50, L}});
    for (ListView* list : {&m_dataLogList, &m_searchLogList, &m_dataReplyLogList, &m_passwordLogList,
                           &m_passwordReplyLogList})
        AddColumns(*list, {{"时间", 150, C}, {"序号", 50, C}, {"报文显示", 1000, L}});
}

void CMainTesterDlg::LimitEditLengths() {
    struct Group {
        int limit;
        std::initializer_list<int> edits;
    };
    const Group groups[] = {
        {12, {IDC_SEND_DST_ADDR, IDC_MULTICAST_ADDR, IDC_DST_ADDR, IDC_PASSWORD_DST_ADDR}},
        {2, {IDC_POINT_READ_INTERVAL, IDC_DEVICE_COUNT, IDC_RELAY_DEPTH, IDC_RADIUS, IDC_OLD_PSK_LEN, IDC_NEW_PSK_LEN}},
        {4, {IDC_MULTICAST_ADDR, IDC_POINT_READ_LENGTH}},
        {12, {IDC_ROUND_START_ADDR, IDC_ROUND_END_ADDR}},
        {9, {IDC_ROUND_COUNT, IDC_ROUND_WAIT_TIME, IDC_ROUND_SEND_DELAY}},
        {8, {IDC_ROUND_DATA_ID}},
    };
    for (const Group& g : groups)
        for (int id : g.edits) Edit(GetDlgItem(id)).SetLimitText(g.limit);
}

void CMainTesterDlg::InitComboBoxes() {
    AddChoices(m_directionCombo, kDirectionNames);
    SelectIfFilled(m_directionCombo, m_directionCombo.GetCount() - 1);
    AddChoices(m_replyStatusCombo, kReplyStatusNames);
    SelectIfFilled(m_replyStatusCombo, m_replyStatusCombo.GetCount() - 1);
    AddChoices(m_initiatorCombo, kInitiatorNames);
    SelectIfFilled(m_initiatorCombo, m_initiatorCombo.GetCount() - 1);
    AddChoices(m_channelTypeCombo, kChannelTypeNames);
    m_channelTypeCombo.SetCurSel(1);
    InitOptionComboBoxes();
    AddChoices(m_baudRateCombo, kBaudRateNames);
    m_baudRateCombo.SetCurSel(0);
}

void CMainTesterDlg::InitOptionComboBoxes() {
    for (ComboBox* c : {&m_deviceModeCombo, &m_deviceModeCombo3, &m_deviceModeCombo2}) {
        AddChoices(*c, kDeviceModeNames);
        SelectIfFilled(*c, 2);
    }
    AddChoices(m_priorityCombo, kPriorityNames);
    SelectIfFilled(m_priorityCombo, m_priorityCombo.GetCount() - 1);
    AddEntries(m_broadcastLinkCombo, {"00: 广播", "01: 链接"});
    SelectIfFilled(m_broadcastLinkCombo, m_broadcastLinkCombo.GetCount() - 2);
    AddChoices(m_multicastCombo, kMulticastFlagNames);
    SelectIfFilled(m_multicastCombo, m_multicastCombo.GetCount() - 2);

    // The scopes but RSV, which can only be typed, and the cloud server, which has no code.
    AddChoices(m_searchScopeCombo, kSearchScopeNames, std::size(kSearchScopeNames) - 1);
    m_searchScopeCombo.AddString("云服务器");
    m_searchScopeCombo.SetCurSel(0);
    AddChoices(m_decryptResultCombo, kDecryptResultNames);
    m_decryptResultCombo.SetCurSel(0);
    AddChoices(m_changeConsentCombo, kChangeResultNames);
    m_changeConsentCombo.SetCurSel(1);
    AddChoices(m_protocolCombo, kProtocolNames);
    m_protocolCombo.SetCurSel(0);
    AddChoices(m_levelCombo, kPowerLevelNames);
    m_levelCombo.SetCurSel(2);
    AddChoices(m_searchParticipationCombo, kSearchParticipationNames);
    m_searchParticipationCombo.SetCurSel(1);
    AddChoices(m_tcpStateCombo, kTcpStateNames);
    m_tcpStateCombo.SetCurSel(1);
    AddChoices(m_tcpOrUdpCombo, kTransportNames);
    m_tcpOrUdpCombo.SetCurSel(1);
    AddChoices(m_bandCombo, kBandNames);
    m_bandCombo.SetCurSel(1);
    AddChoices(m_passwordTypeCombo, kPasswordModeNames);
    m_passwordTypeCombo.SetCurSel(1);
    AddChoices(m_stopBitsCombo, kStopBitsNames);
    m_stopBitsCombo.SetCurSel(0);
    AddChoices(m_parityCombo, kParityNames);
    m_parityCombo.SetCurSel(1);
    AddEntries(m_waitModeCombo, {"超时时间(ms)", "间隔时间(ms)"});
    m_waitModeCombo.SetCurSel(0);
}

void CMainTesterDlg::InitDefaultTexts() {
    ByteString tenBytes;
    for (unsigned char b = 0; b < 10; ++b) tenBytes.push_back(b);
    std::string tenHex;
    BytesToHexText(tenHex, tenBytes);
    const std::pair<int, std::string> texts[] = {
        {IDC_POINT_READ_LENGTH, "20"}, {IDC_SEARCH_DEPTH, "15"}, {IDC_REPEAT_PERIOD, "1200"},
        {IDC_POINT_READ_INTERVAL, "1"}, {IDC_TGAIN, "6"}, {IDC_POINT_READ_MULTICAST, "1234"},
        {IDC_MULTICAST_ADDR, "1234"}, {IDC_USER_DATA, tenHex}, {IDC_RADIUS, "15"},
        {IDC_ROUND_START_ADDR, "201708180001"}, {IDC_ROUND_END_ADDR, "201708180160"}, {IDC_ROUND_COUNT, "0"},
        {IDC_ROUND_WAIT_TIME, "3000"}, {IDC_ROUND_SEND_DELAY, "10"}, {IDC_ROUND_DATA_ID, "00010000"}, {IDC_DEPTH, "0"},
        {IDC_SEND_DST_ADDR, "201708180"}, {IDC_DST_ADDR, "201708180"}, {IDC_NEW_PSK, "5A3C91E07B42D86F"},
        {IDC_PASSWORD_DST_ADDR, "201708180"}, {IDC_PASS_THROUGH_LEVEL_LIMIT, "15"},
    };
    for (const auto& t : texts) SetDlgItemText(t.first, t.second);
}
