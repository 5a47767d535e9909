// The local settings page: its DL/T 645 requests, their answers from a node behind the simulated
// module, and the checks of the typed fields.

#include <gtest/gtest.h>

#include <atomic>

#include "commands/meter_rounds.h"
#include "dialogs/local_settings_dlg.h"
#include "dialogs/warning_dlg.h"
#include "platform/text_format.h"
#include "sim/dlt645_meter.h"
#include "support/main_window_fixture.h"
#include "test_frames.h"

namespace {

using namespace testsupport;
using testing_frames::Hex;

// 68 A0..A5 68 C L DATA CS 16.
ByteString Dlt(const std::string& text) {
    ByteString f = Hex(text);
    unsigned sum = 0;
    for (unsigned char b : f) sum += b;
    f.push_back(static_cast<unsigned char>(sum));
    f.push_back(0x16);
    return f;
}

// The node's parameters (each plus 0x33): long address 010203040506, short address 0x1234,
// PanID 0xABCD, slot 0102, RTLID 112233445566, depth 3, channel group 5, power 2, threshold 9,
// baud rate 4 (9600), ndmt 1, event 0, cap 7.
std::string NodeAnswer(const std::string& address) {
    const ByteString params = Hex("06 05 04 03 02 01 34 12 CD AB 02 01 11 22 33 44 55 66 03 05 02 09 04 01 00 07");
    std::string text = "68 " + address + " 68 9F 1D 49 78 3A";
    for (unsigned char p : params) text += StrFormat(" %02X", static_cast<unsigned char>(p + 0x33));
    return text;
}

const char* const kNodeText =
    "抄读GPIB信息:\r\n长地址: 010203040506\r\n短地址:    0x1234\r\nPanID: 0xABCD\r\nslot:  0102\r\n"
    "RTLID:  112233445566\r\ndepth: 03\r\nwkchgp:    05\r\npower: 02\r\nthresd:    09\r\n波特率:  9600\r\n"
    "ndmt:  01\r\nevent: 00\r\ncap:   07\r\n";

TEST(LocalSettingsFrames, RequestsChannelGroupsAndAnswers) {
    EXPECT_EQ(CLocalSettingsDlg::BuildSyncFrame("000000000001"), Dlt("68 01 00 00 00 00 00 68 1F 03 49 78 3A"));
    EXPECT_EQ(CLocalSettingsDlg::BuildSetChannelFrame(0x38), Dlt("68 00 00 00 00 00 00 68 38 01 38"));
    EXPECT_EQ(CLocalSettingsDlg::BuildReadChannelFrame(), Dlt("68 00 00 00 00 00 00 68 38 00"));

    struct Channel {
        const char* typed;
        int byte;  // -1: refused
        const char* refusal;
    } const channels[] = {{"5", 0x38, ""},  {"12", 0x3F, ""}, {"32", 0x53, ""},
                          {"0", -1, "信道范围为1-32"}, {"33", -1, "信道范围为1-32"},
                          {"1A", -1, "信道组只能占一个字节或不是BCD格式"}, {"123", -1, "信道组只能占一个字节或不是BCD格式"},
                          {"", -1, "信道组不能为空"}, {" ", -1, "信道组不能为空"},
                          // Blanks are dropped before the checks.
                          {" 5", 0x38, ""}, {"1 2", 0x3F, ""}, {"1 A", -1, "信道组只能占一个字节或不是BCD格式"}};
    for (const Channel& c : channels) {
        uint8_t byte = 0;
        std::string refusal;
        EXPECT_EQ(CLocalSettingsDlg::ReadChannelGroup(c.typed, byte, refusal), c.byte >= 0) << c.typed;
        if (c.byte >= 0) {
            EXPECT_EQ(byte, c.byte) << c.typed;
        }
        EXPECT_EQ(refusal, c.refusal) << c.typed;
    }

    const std::string node = "010000000000";
    std::string text;
    uint8_t group = 0;
    EXPECT_TRUE(CLocalSettingsDlg::DecodeNodeParameters(Dlt(NodeAnswer("01 00 00 00 00 00")), node, text, group));
    EXPECT_EQ(text, kNodeText);
    EXPECT_EQ(group, 5);
    EXPECT_FALSE(CLocalSettingsDlg::DecodeNodeParameters(Dlt(NodeAnswer("02 00 00 00 00 00")), node, text, group));
    EXPECT_EQ(text, "抄读GPIB信息:\r\n地址错误");
    // One parameter short: its place would be the check sum.
    ByteString cut = Hex(NodeAnswer("01 00 00 00 00 00"));
    cut.pop_back();
    cut[9] = 0x1C;
    EXPECT_FALSE(CLocalSettingsDlg::DecodeNodeParameters(Dlt(std::string(Spaced(cut))), node, text, group));

    const std::string zero = "000000000000";
    EXPECT_TRUE(CLocalSettingsDlg::DecodeSetChannelResult(Dlt("68 00 00 00 00 00 00 68 B8 00"), zero, text));
    EXPECT_EQ(text, "设置信道信息:\r\n设置信道成功");
    EXPECT_FALSE(CLocalSettingsDlg::DecodeSetChannelResult(Dlt("68 01 00 00 00 00 00 68 B8 00"), zero, text));
    EXPECT_EQ(text, "设置信道信息:\r\n设置信道失败");
    EXPECT_TRUE(CLocalSettingsDlg::DecodeReadChannelResult(Dlt("68 00 00 00 00 00 00 68 B8 04 33 33 33 3D"), zero, text));
    EXPECT_EQ(text, "读取信道信息:\r\n10");
    EXPECT_FALSE(CLocalSettingsDlg::DecodeReadChannelResult(Dlt("68 00 00 00 00 00 00 68 B8 01 3D"), zero, text));
    EXPECT_EQ(text, "读取信道信息:\r\n读取信道失败");
}

class LocalSettingsTest : public MainWindowWithModule {
protected:
    LocalSettingsTest() : MainWindowWithModule(15, true) {}

    void SetUp() override {
        MainWindowWithModule::SetUp();
        pagePtr = std::make_unique<CLocalSettingsDlg>(*dlg);
        ASSERT_TRUE(page().Create(dlg.get()));
        page().ShowWindow(true);
    }
    void TearDown() override {
        sim.SetByteTap(nullptr);
        if (pagePtr) page().DestroyWindow();
        pagePtr.reset();
        MainWindowWithModule::TearDown();
    }
    // A node behind the module at 000000000001 answering every request; read channel gives 7.
    void AnswerAsNode() {
        sim.SetByteTap([this](const ByteString& bytes) {
            if (bytes.size() < 12 || bytes[0] != 0x68) return;
            if (bytes[8] == 0x1F) sim.Send(Dlt(NodeAnswer("01 00 00 00 00 00")));
            if (bytes[8] == 0x38 && bytes[9] == 1) sim.Send(Dlt("68 00 00 00 00 00 00 68 B8 00"));
            if (bytes[8] == 0x38 && bytes[9] == 0) sim.Send(Dlt("68 00 00 00 00 00 00 68 B8 04 33 33 33 3A"));
        });
    }
    std::string Pane(int id) { return page().GetDlgItemText(id); }
    void Press(int id) { Button(page().GetDlgItem(id)).Click(); }

    CLocalSettingsDlg& page() { return *pagePtr; }
    std::unique_ptr<CLocalSettingsDlg> pagePtr;
};

TEST_F(LocalSettingsTest, SynchronisationSetsTheNodesChannelGroup) {
    OpenPort();
    AnswerAsNode();
    page().SetDlgItemText(IDC_LOCAL_METER_ADDRESS, "1");
    Press(IDC_LOCAL_AUTO_SYNC);
    ASSERT_TRUE(WaitFor([&] { return Pane(IDC_LOCAL_SYNC_RESULT) == "同步成功\r\n"; })) << Pane(IDC_LOCAL_SYNC_RESULT);
    EXPECT_EQ(page().GetDlgItemText(IDC_LOCAL_CHANNEL), "05");
    EXPECT_EQ(Pane(IDC_LOCAL_CHANNEL_RESULT), "设置信道信息:\r\n设置信道成功\r\n");
    const ByteString sent = sim.ReceivedBytes();
    const ByteString expected = Dlt("68 01 00 00 00 00 00 68 1F 03 49 78 3A") + Dlt("68 00 00 00 00 00 00 68 38 01 38");
    ASSERT_GE(sent.size(), expected.size());
    EXPECT_EQ(Spaced(sent.substr(sent.size() - expected.size())), Spaced(expected));

    Press(IDC_LOCAL_READ_CHANNEL);
    ASSERT_TRUE(WaitFor([&] { return Pane(IDC_LOCAL_CHANNEL_RESULT) == "读取信道信息:\r\n07\r\n"; }))
        << Pane(IDC_LOCAL_CHANNEL_RESULT);
    // Each request once in the frame history: the version request and three.
    EXPECT_EQ(HistoryCount('0'), 4u);
}

TEST_F(LocalSettingsTest, BadFieldsSendNothingAndASilentNodeTimesOut) {
    OpenPort();
    const size_t before = sim.ReceivedBytes().size();
    struct Bad {
        int edit;
        const char* text;
        int button;
        const char* warning;
    } const bad[] = {
        {IDC_LOCAL_METER_ADDRESS, "12345678901A", IDC_LOCAL_AUTO_SYNC, "表地址地址过长或不是BCD格式"},
        {IDC_LOCAL_CHANNEL, "", IDC_LOCAL_SET_CHANNEL, "信道组不能为空"},
        {IDC_LOCAL_CHANNEL, "40", IDC_LOCAL_SET_CHANNEL, "信道范围为1-32"},
        // Written texts longer than the edits' typing limits are checked whole.
        {IDC_LOCAL_CHANNEL, "204", IDC_LOCAL_SET_CHANNEL, "信道组只能占一个字节或不是BCD格式"},
        {IDC_LOCAL_METER_ADDRESS, "1234567890123", IDC_LOCAL_AUTO_SYNC, "表地址地址过长或不是BCD格式"},
    };
    for (const Bad& b : bad) {
        page().SetDlgItemText(b.edit, b.text);
        Press(b.button);
        ASSERT_TRUE(WarningBox().IsCreated()) << b.text;
        EXPECT_EQ(WarningBox().GetDlgItemText(IDC_WARNING_TEXT), b.warning);
    }
    PumpFor(100);
    EXPECT_EQ(sim.ReceivedBytes().size(), before);

    page().SetDlgItemText(IDC_LOCAL_METER_ADDRESS, "000000000001");
    Press(IDC_LOCAL_AUTO_SYNC);
    EXPECT_TRUE(WaitFor([&] { return Pane(IDC_LOCAL_SYNC_RESULT) == "超时\r\n"; }, 4000));
    EXPECT_TRUE(WaitFor([&] { return Pane(IDC_LOCAL_SYNC_RESULT) == "同步失败\r\n"; }, 6000));
}

TEST_F(LocalSettingsTest, ItsAnswerAndTheMeterRoundsAnswersReachBothWhileTheyRunTogether) {
    OpenPort();
    kvtsim::Dlt645Meters line(sim);
    // The meter answers late, so the page asks the node while the round waits; the node answers
    // right after the meter, in the same block.
    const char* meter = "201708180001";
    line.Add(meter, {kvtsim::MeterFault::None, std::chrono::milliseconds(400), false});
    line.SetOtherAnswers([](const kvtsim::Bytes& request) {
        return request[8] == 0x38 && request[9] == 0 ? Dlt("68 00 00 00 00 00 00 68 B8 04 33 33 33 3A") : ByteString();
    });
    const std::pair<int, const char*> fields[] = {{IDC_ROUND_START_ADDR, meter}, {IDC_ROUND_END_ADDR, meter},
                                                  {IDC_ROUND_COUNT, "3"},        {IDC_ROUND_WAIT_TIME, "1500"},
                                                  {IDC_ROUND_SEND_DELAY, "0"},   {IDC_ROUND_DATA_ID, "00010000"}};
    for (const auto& f : fields) dlg->SetDlgItemText(f.first, f.second);
    ComboBox mode(dlg->GetDlgItem(IDC_ROUND_WAIT_MODE_COMBO));
    mode.SetCurSel(mode.FindStringExact(kTimeoutModeText));
    Click(IDC_ROUND_START);
    ASSERT_TRUE(WaitFor([&] { return line.Requests().size() == 1; }));
    Press(IDC_LOCAL_READ_CHANNEL);

    EXPECT_TRUE(WaitFor([&] { return Pane(IDC_LOCAL_CHANNEL_RESULT) == "读取信道信息:\r\n07\r\n"; }, 3000))
        << Pane(IDC_LOCAL_CHANNEL_RESULT);
    ASSERT_TRUE(WaitFor([&] { return Enabled(IDC_ROUND_START) && !dlg->RoundReadingWorker().IsRunning(); }, 8000));
    EXPECT_EQ(Text(IDC_ROUND_SENT) + " " + Text(IDC_ROUND_REPLIES), "3 3");
    EXPECT_EQ(ListOf(IDC_METER_READ_LIST).GetItemText(1, 3), "成功");
}

}  // namespace
