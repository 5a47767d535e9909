// Field readers of the command pages: the text helpers, the edit readers of the main window
// with their messages, and the header readers of the sender pattern.

#include <gtest/gtest.h>

#include <memory>

#include "app/main_tester_dlg.h"
#include "commands/field_text.h"
#include "test_frames.h"

namespace {

using testing_frames::Hex;

TEST(FieldText, ReverseHexPairsPadsCutsAndReverses) {
    std::string t = "123456789ABC";
    ReverseHexPairs(t, 6);
    EXPECT_EQ(t, "BC9A78563412");
    ReverseHexPairs(t, 6);  // the same conversion turns it back
    EXPECT_EQ(t, "123456789ABC");
    t = "1234";
    ReverseHexPairs(t, 6);
    EXPECT_EQ(t, "341200000000");
    t = "123456789ABCDE";  // beyond 12 digits only the first 12 count
    ReverseHexPairs(t, 6);
    EXPECT_EQ(t, "BC9A78563412");
    t = "abc";
    ReverseHexPairs(t, 2);
    EXPECT_EQ(t, "bc0a");
    t.clear();
    ReverseHexPairs(t, 6);
    EXPECT_EQ(t, "");
}

TEST(FieldText, DepthReadsTheFirstTwoCharactersAsDecimal) {
    EXPECT_EQ(DepthFromText("123"), 12);
    EXPECT_EQ(DepthFromText("7"), 7);
    EXPECT_EQ(DepthFromText("x5"), 0);
    EXPECT_EQ(DepthFromText("9x"), 9);
}

TEST(FieldText, AddressesGoLeastSignificantByteFirst) {
    ByteString p;
    AppendAddressText("123456789ABC", p);
    EXPECT_EQ(p, Hex("BC 9A 78 56 34 12"));
    p.clear();
    AppendAddressText("123456789ABCDE", p);  // 14 digits: the last two are dropped
    EXPECT_EQ(p, Hex("BC 9A 78 56 34 12"));
    p.clear();
    AppendAddressText("201708180", p);
    EXPECT_EQ(p, Hex("80 81 70 01 02 00"));
    p.clear();
    AppendAddressText("12 34", p);  // blanks do not shift the byte pairs
    EXPECT_EQ(p, Hex("34 12 00 00 00 00"));
    p.clear();
    AppendMulticastText("123", p);
    EXPECT_EQ(p, Hex("23 01"));
    p.clear();
    AppendMulticastText("12345", p);
    EXPECT_EQ(p, Hex("34 12"));
}

TEST(FieldText, DataTextCarriesItsByteCount) {
    ByteString p;
    AppendDataText("", p);
    EXPECT_EQ(p, Hex("00 00"));
    p.clear();
    AppendDataText("1 23", p);
    EXPECT_EQ(p, Hex("02 00 01 23"));
    p.clear();
    AppendDataText("01\r\n02 03", p);
    EXPECT_EQ(p, Hex("03 00 01 02 03"));
    p.clear();
    std::string big(600, 'A');
    AppendDataText(big, p);
    ASSERT_EQ(p.size(), 302u);
    EXPECT_EQ(p[0], 0x2C);
    EXPECT_EQ(p[1], 0x01);
}

TEST(FieldText, PortsAreSixteenBitsLowByteFirst) {
    ByteString p;
    EXPECT_TRUE(AppendPortText("8081", p));
    EXPECT_EQ(p, Hex("91 1F"));
    p.clear();
    EXPECT_TRUE(AppendPortText("65535", p));
    EXPECT_EQ(p, Hex("FF FF"));
    p.clear();
    EXPECT_FALSE(AppendPortText("65536", p));
    EXPECT_FALSE(AppendPortText("-1", p));
    EXPECT_FALSE(AppendPortText("99999999999999999999999", p));
    EXPECT_TRUE(p.empty());
}

TEST(FieldText, PasswordBytes) {
    EXPECT_EQ(PasswordTextToBytes("A1B2C", true), Hex("0A 1B 2C"));
    EXPECT_EQ(PasswordTextToBytes("abc", false), Hex("61 62 63"));
    EXPECT_EQ(PasswordTextToBytes("口令", false), Hex("BF DA C1 EE"));  // two bytes a character
    EXPECT_TRUE(PasswordTextToBytes("", true).empty());
}

// The readers on the main window, with every message answered and recorded.
class FieldReadersTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousHook = SetMessageBoxHook([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return kIdOk;
        });
        dlg = std::make_unique<CMainTesterDlg>();
        ASSERT_TRUE(dlg->Create());
        PumpMessages();
    }
    void TearDown() override {
        dlg->Close();
        dlg->DestroyWindow();
        dlg.reset();
        PumpMessages();
        SetMessageBoxHook(previousHook);
    }

    void ExpectOneMessage(const std::string& text) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].type, static_cast<uint32_t>(kMbOk));
        boxes.clear();
    }

    void Select(ComboBox& combo, const std::string& text) {
        const int index = combo.FindStringExact(text);
        ASSERT_GE(index, 0) << text;
        combo.SetCurSel(index);
    }

    std::unique_ptr<CMainTesterDlg> dlg;
    std::vector<MessageBoxRequest> boxes;
    MessageBoxHook previousHook;
};

TEST_F(FieldReadersTest, Depth) {
    uint8_t depth = 0xEE;
    dlg->SetDlgItemText(3005, "");
    EXPECT_FALSE(dlg->ReadDepth(depth));
    ExpectOneMessage("depth域不能为空");
    EXPECT_EQ(depth, 0xEE);
    dlg->SetDlgItemText(3005, "123");
    EXPECT_TRUE(dlg->ReadDepth(depth));
    EXPECT_EQ(depth, 12);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FieldReadersTest, AddressFieldByTargetMode) {
    ByteString p;
    dlg->SetDlgItemText(1546, "");
    EXPECT_TRUE(dlg->ReadAddressField(1546, p, 0));  // mode 0: no address at all
    EXPECT_TRUE(p.empty());
    for (uint8_t mode = 1; mode <= 5; ++mode) {
        EXPECT_FALSE(dlg->ReadAddressField(1546, p, mode));
        ExpectOneMessage("地址域不能为空");
    }
    dlg->SetDlgItemText(1546, "  ");
    EXPECT_FALSE(dlg->ReadAddressField(1546, p, 3));
    ExpectOneMessage("地址域不能为空");
    EXPECT_FALSE(dlg->ReadAddressField(1546, p, 6));  // beyond 5: refused without a message
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(p.empty());
    dlg->SetDlgItemText(1546, "123456789ABC");
    EXPECT_TRUE(dlg->ReadAddressField(1546, p, 5));
    EXPECT_EQ(p, Hex("BC 9A 78 56 34 12"));
    EXPECT_FALSE(dlg->ReadAddressField(1546, p, 6));
    EXPECT_EQ(p.size(), 6u);
}

TEST_F(FieldReadersTest, MulticastAddress) {
    ByteString p;
    dlg->SetDlgItemText(1640, "");
    EXPECT_FALSE(dlg->ReadMulticastAddress(1640, p));
    ExpectOneMessage("请输入组播地址");
    dlg->SetDlgItemText(1640, "123");
    EXPECT_TRUE(dlg->ReadMulticastAddress(1640, p));
    EXPECT_EQ(p, Hex("23 01"));
}

TEST_F(FieldReadersTest, DataEdit) {
    ByteString p{0x55};
    dlg->SetDlgItemText(1639, "");
    EXPECT_TRUE(dlg->ReadDataEdit(1639, p));
    dlg->SetDlgItemText(1639, "1 23");
    EXPECT_TRUE(dlg->ReadDataEdit(1639, p));
    EXPECT_EQ(p, Hex("55 00 00 02 00 01 23"));
}

TEST_F(FieldReadersTest, PortNumber) {
    ByteString p;
    dlg->SetDlgItemText(1898, "");
    EXPECT_FALSE(dlg->ReadPortNumber(1898, p));
    ExpectOneMessage("输入端口号");
    dlg->SetDlgItemText(1898, "70000");
    EXPECT_FALSE(dlg->ReadPortNumber(1898, p));
    ExpectOneMessage("输入端口号");
    EXPECT_TRUE(p.empty());
    dlg->SetDlgItemText(1898, "8081");
    EXPECT_TRUE(dlg->ReadPortNumber(1898, p));
    EXPECT_EQ(p, Hex("91 1F"));
}

TEST_F(FieldReadersTest, IpAddressLastOctetFirst) {
    IpAddressEdit(dlg->GetDlgItem(1896)).SetAddress(0xC0A80108);  // 192.168.1.8
    ByteString p;
    EXPECT_TRUE(dlg->ReadIpAddress(1896, p));
    EXPECT_EQ(p, Hex("08 01 A8 C0"));
}

TEST_F(FieldReadersTest, PasswordFieldRangesAndMessages) {
    Button hex(dlg->GetDlgItem(1009));
    hex.SetCheck(0);
    ByteString p;
    dlg->SetDlgItemText(1614, std::string(64, 'a'));
    EXPECT_TRUE(dlg->ReadPasswordField(1614, 1611, 1, 64, "H", "T", p));
    EXPECT_EQ(p.size(), 65u);
    EXPECT_EQ(p[0], 64);
    EXPECT_EQ(dlg->GetDlgItemText(1611), "64");
    p.clear();
    dlg->SetDlgItemText(1614, std::string(65, 'a'));
    EXPECT_FALSE(dlg->ReadPasswordField(1614, 1611, 1, 64, "H", "T", p));
    ExpectOneMessage("T");
    // 256 characters and more are refused too, not taken as their length modulo 256.
    dlg->SetDlgItemText(1614, std::string(257, 'a'));
    EXPECT_FALSE(dlg->ReadPasswordField(1614, 1611, 1, 64, "H", "T", p));
    ExpectOneMessage("T");
    hex.SetCheck(1);
    dlg->SetDlgItemText(1614, std::string(128, '1'));
    EXPECT_TRUE(dlg->ReadPasswordField(1614, 1611, 1, 64, "H", "T", p));
    EXPECT_EQ(p[0], 64);
    p.clear();
    dlg->SetDlgItemText(1614, std::string(129, '1'));
    EXPECT_FALSE(dlg->ReadPasswordField(1614, 1611, 1, 64, "H", "T", p));
    ExpectOneMessage("H");
    dlg->SetDlgItemText(1614, "");
    EXPECT_FALSE(dlg->ReadPasswordField(1614, 1611, 1, 64, "H", "T", p));
    ExpectOneMessage("H");
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(dlg->GetDlgItemText(1611), "64");
}

TEST_F(FieldReadersTest, AddressConversionsOfTheWindow) {
    std::string t = "1234";
    CMainTesterDlg::ReverseHexBytes12(t);
    EXPECT_EQ(t, "341200000000");
    t = "123";
    CMainTesterDlg::ReverseHexBytes4(t);
    EXPECT_EQ(t, "2301");
    t.clear();
    CMainTesterDlg::ReverseHexBytes4(t);
    EXPECT_EQ(t, "");
}

TEST_F(FieldReadersTest, HeaderCombosGiveTheControlFields) {
    Select(dlg->m_directionCombo, "主机发出帧");
    Select(dlg->m_initiatorCombo, "主动发起");
    Select(dlg->m_replyStatusCombo, "正常应答");
    Select(dlg->m_channelTypeCombo, "5281PLC");
    ModuleFrame f;
    f.reserved = 5;
    EXPECT_EQ(dlg->FillControlFields(f), 1);
    EXPECT_EQ(f.direction, 0);
    EXPECT_EQ(f.initiator, 1);
    EXPECT_EQ(f.replyStatus, 0);
    EXPECT_EQ(f.channelType, 0);
    EXPECT_EQ(f.reserved, 0);
    Select(dlg->m_directionCombo, "从机发出帧");
    Select(dlg->m_initiatorCombo, "命令回应");
    Select(dlg->m_replyStatusCombo, "异常应答");
    for (const auto& c : {std::make_pair("Bluetooth", 1), std::make_pair("WiFi", 2), std::make_pair("5207PLC", 3)}) {
        Select(dlg->m_channelTypeCombo, c.first);
        EXPECT_EQ(dlg->FillControlFields(f), 1);
        EXPECT_EQ(f.channelType, c.second);
    }
    EXPECT_EQ(f.direction, 1);
    EXPECT_EQ(f.initiator, 0);
    EXPECT_EQ(f.replyStatus, 1);
    // No selection leaves each field as it was.
    for (ComboBox* c : {&dlg->m_directionCombo, &dlg->m_initiatorCombo, &dlg->m_replyStatusCombo,
                        &dlg->m_channelTypeCombo})
        c->SetCurSel(-1);
    EXPECT_EQ(dlg->FillControlFields(f), 1);
    EXPECT_EQ(f.direction, 1);
    EXPECT_EQ(f.initiator, 0);
    EXPECT_EQ(f.replyStatus, 1);
    EXPECT_EQ(f.channelType, 3);
}

TEST_F(FieldReadersTest, EncodeFrameOfTheWindow) {
    ModuleFrame f;
    f.initiator = 1;
    f.command = 0x18;
    ByteString out = Hex("FF");
    dlg->EncodeFrame(out, f);
    EXPECT_EQ(out, Hex("79 00 00 40 18 58 58"));
}

}  // namespace
