// Combo texts to codes: every entry of every mapper, and the main window's combo readers.

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/main_tester_dlg.h"
#include "commands/combo_mappers.h"

namespace {

using Mapper = bool (*)(const std::string&, uint8_t&);
using Entries = std::vector<std::pair<std::string, uint8_t>>;

void ExpectEntries(Mapper map, const Entries& entries) {
    for (const auto& e : entries) {
        uint8_t code = 0xEE;
        EXPECT_TRUE(map(e.first, code)) << e.first;
        EXPECT_EQ(code, e.second) << e.first;
    }
    // Whole, case-sensitive texts only; no match leaves the code.
    for (const std::string& other : {std::string(), std::string("RSV "), std::string("none"), std::string("x")}) {
        uint8_t code = 0xEE;
        EXPECT_FALSE(map(other, code)) << other;
        EXPECT_EQ(code, 0xEE) << other;
    }
}

TEST(ComboMappers, DeviceMode) {
    ExpectEntries(MapDeviceModeText, {{"不区分设备类型", 0},
                                      {"网关", 1},
                                      {"TRM5281/82MAC地址", 3},
                                      {"RM5207MAC地址", 4},
                                      {"BLEMAC地址", 5},
                                      {"云服务器", 2}});
}

TEST(ComboMappers, PasswordTypeProtocolMulticastPriority) {
    ExpectEntries(MapPasswordTypeText, {{"00: 初始网络口令", 0}, {"01: 用户网络口令", 1}});
    ExpectEntries(MapProtocolText, {{"0:不区分", 0}, {"1:UDP", 1}, {"2:TCP", 2}});
    ExpectEntries(MapMulticastFlagText, {{"00: 非组播", 0}, {"01: 组播地址", 1}});
    ExpectEntries(MapPriorityText, {{"Normal", 0}, {"High", 1}});
    uint8_t code = 7;
    EXPECT_FALSE(MapPriorityText("high", code));
    EXPECT_EQ(code, 7);
}

TEST(ComboMappers, SearchScopeDecryptParityStopBits) {
    ExpectEntries(MapSearchScopeText, {{"搜索所有设备", 0}, {"搜索同网设备", 1}, {"搜索未入网设备", 2}, {"RSV", 6}});
    ExpectEntries(MapDecryptResultText, {{"无法解密", 0}, {"解密新密钥成功", 1}, {"解密老密钥成功", 2}});
    ExpectEntries(MapParityText, {{"None", 0}, {"Even", 1}, {"Odd", 2}});
    ExpectEntries(MapStopBitsText, {{"1", 0}, {"2", 1}});
}

TEST(ComboMappers, BaudLevelBand) {
    ExpectEntries(MapBaudText, {{"600", 0},
                                {"1200", 1},
                                {"2400", 2},
                                {"4800", 3},
                                {"9600", 4},
                                {"14400", 5},
                                {"19200", 6},
                                {"38400", 7},
                                {"56000", 8},
                                {"57600", 9},
                                {"115200", 10}});
    uint8_t code = 0xEE;
    EXPECT_FALSE(MapBaudText("28800", code));
    EXPECT_EQ(code, 0xEE);
    ExpectEntries(MapLevelText, {{"0 档", 0}, {"1 档", 1}, {"2 档", 2}, {"3 档", 3}});
    ExpectEntries(MapBandText, {{"131", 0}, {"411", 1}});
}

TEST(ComboMappers, TcpStateTypeParticipationConsent) {
    ExpectEntries(MapTcpStateText,
                  {{"不存在", 0}, {"连接中", 1}, {"无法建立连接", 2}, {"连接丢失", 3}, {"建立连接成功", 4}});
    ExpectEntries(MapTcpOrUdpText, {{"0:UDP", 0}, {"1:TCP", 1}});
    ExpectEntries(MapSearchParticipationText, {{"不参与搜索", 0}, {"参与搜索", 1}});
    ExpectEntries(MapChangeConsentText, {{"拒绝修改", 0}, {"同意修改", 1}});
}

// The main window's readers take the selected text of their combo.
class ComboReadersTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg = std::make_unique<CMainTesterDlg>();
        ASSERT_TRUE(dlg->Create());
        PumpMessages();
    }
    void TearDown() override {
        dlg->Close();
        dlg->DestroyWindow();
        dlg.reset();
        PumpMessages();
    }

    // Selects each text in turn and checks the code the reader gives.
    void ExpectReader(ComboBox& combo, const Entries& entries, const std::function<void(uint8_t&)>& read) {
        for (const auto& e : entries) {
            const int index = combo.FindStringExact(e.first);
            ASSERT_GE(index, 0) << e.first;
            combo.SetCurSel(index);
            uint8_t code = 0xEE;
            read(code);
            EXPECT_EQ(code, e.second) << e.first;
        }
        combo.SetCurSel(-1);  // no selection: the field keeps its value
        uint8_t code = 0xEE;
        read(code);
        EXPECT_EQ(code, 0xEE);
    }

    std::unique_ptr<CMainTesterDlg> dlg;
};

TEST_F(ComboReadersTest, DeviceModesOfBothCombos) {
    const Entries modes = {{"不区分设备类型", 0}, {"网关", 1},       {"TRM5281/82MAC地址", 3},
                           {"RM5207MAC地址", 4},  {"BLEMAC地址", 5}, {"云服务器", 2}};
    ExpectReader(dlg->m_deviceModeCombo, modes, [this](uint8_t& c) { dlg->GetDeviceMode(c); });
    ExpectReader(dlg->m_deviceModeCombo2, modes, [this](uint8_t& c) { dlg->GetDeviceMode2(c); });
}

TEST_F(ComboReadersTest, PageCombos) {
    ExpectReader(dlg->m_passwordTypeCombo, {{"00: 初始网络口令", 0}, {"01: 用户网络口令", 1}},
                 [this](uint8_t& c) { dlg->GetPasswordType(c); });
    ExpectReader(dlg->m_passwordTypeCombo, {{"00: 初始网络口令", 0}, {"01: 用户网络口令", 1}},
                 [this](uint8_t& c) { dlg->GetPasswordType2(c); });
    ExpectReader(dlg->m_protocolCombo, {{"0:不区分", 0}, {"1:UDP", 1}, {"2:TCP", 2}},
                 [this](uint8_t& c) { dlg->GetProtocol(c); });
    ExpectReader(dlg->m_multicastCombo, {{"00: 非组播", 0}, {"01: 组播地址", 1}},
                 [this](uint8_t& c) { dlg->GetMulticastFlag(c); });
    ExpectReader(dlg->m_priorityCombo, {{"Normal", 0}, {"High", 1}}, [this](uint8_t& c) { dlg->GetPriority(c); });
    ExpectReader(dlg->m_searchScopeCombo, {{"搜索所有设备", 0}, {"搜索同网设备", 1}, {"搜索未入网设备", 2}},
                 [this](uint8_t& c) { dlg->GetSearchScope(c); });
    ExpectReader(dlg->m_decryptResultCombo, {{"无法解密", 0}, {"解密新密钥成功", 1}, {"解密老密钥成功", 2}},
                 [this](uint8_t& c) { dlg->GetDecryptResult(c); });
    ExpectReader(dlg->m_parityCombo, {{"None", 0}, {"Even", 1}, {"Odd", 2}}, [this](uint8_t& c) { dlg->GetParity(c); });
    ExpectReader(dlg->m_levelCombo, {{"0 档", 0}, {"1 档", 1}, {"2 档", 2}, {"3 档", 3}},
                 [this](uint8_t& c) { dlg->GetLevel(c); });
    ExpectReader(dlg->m_searchParticipationCombo, {{"不参与搜索", 0}, {"参与搜索", 1}},
                 [this](uint8_t& c) { dlg->GetSearchParticipation(c); });
}

TEST_F(ComboReadersTest, AnEntryThatMatchesNothingLeavesTheField) {
    // The search-scope combo of the main window holds an entry that is none of the scopes.
    ComboBox& scope = dlg->m_searchScopeCombo;
    scope.SetCurSel(scope.FindStringExact("云服务器"));
    uint8_t code = 5;
    dlg->GetSearchScope(code);
    EXPECT_EQ(code, 5);
}

TEST_F(ComboReadersTest, MappersWithAResult) {
    ExpectReader(dlg->m_baudRateCombo,
                 {{"600", 0},
                  {"1200", 1},
                  {"2400", 2},
                  {"4800", 3},
                  {"9600", 4},
                  {"14400", 5},
                  {"19200", 6},
                  {"38400", 7},
                  {"56000", 8},
                  {"57600", 9},
                  {"115200", 10}},
                 [this](uint8_t& c) {
                     const bool found = dlg->GetBaudCode(c);
                     EXPECT_EQ(found, c != 0xEE);
                 });
    ExpectReader(dlg->m_bandCombo, {{"131", 0}, {"411", 1}},
                 [this](uint8_t& c) {
                     const bool found = dlg->GetBand(c);
                     EXPECT_EQ(found, c != 0xEE);
                 });
}

TEST_F(ComboReadersTest, MappersThatAppend) {
    const Entries states = {{"不存在", 0}, {"连接中", 1}, {"无法建立连接", 2}, {"连接丢失", 3}, {"建立连接成功", 4}};
    for (const auto& e : states) {
        dlg->m_tcpStateCombo.SetCurSel(dlg->m_tcpStateCombo.FindStringExact(e.first));
        ByteString payload{0xAA};
        dlg->GetTcpState(payload);
        EXPECT_EQ(payload, (ByteString{0xAA, e.second})) << e.first;
    }
    for (const auto& e : Entries{{"0:UDP", 0}, {"1:TCP", 1}}) {
        dlg->m_tcpOrUdpCombo.SetCurSel(dlg->m_tcpOrUdpCombo.FindStringExact(e.first));
        ByteString payload;
        dlg->GetTcpOrUdp(payload);
        EXPECT_EQ(payload, ByteString(1, e.second)) << e.first;
    }
    for (const auto& e : Entries{{"拒绝修改", 0}, {"同意修改", 1}}) {
        dlg->m_changeConsentCombo.SetCurSel(dlg->m_changeConsentCombo.FindStringExact(e.first));
        ByteString payload;
        EXPECT_TRUE(dlg->GetChangeConsent(payload));
        EXPECT_EQ(payload, ByteString(1, e.second)) << e.first;
    }
    // No selection appends nothing.
    dlg->m_tcpStateCombo.SetCurSel(-1);
    dlg->m_tcpOrUdpCombo.SetCurSel(-1);
    dlg->m_changeConsentCombo.SetCurSel(-1);
    ByteString payload;
    dlg->GetTcpState(payload);
    dlg->GetTcpOrUdp(payload);
    EXPECT_FALSE(dlg->GetChangeConsent(payload));
    EXPECT_TRUE(payload.empty());
}

}  // namespace
