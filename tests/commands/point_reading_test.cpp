// Point reading against the simulated module: the requests on the line, the verdict and time
// each answer gives the device's row, the refusals, stopping and the totals.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/text_format.h"
#include "support/main_window_fixture.h"

namespace {

using kvtsim::Bytes;
using kvtsim::FromHex;

constexpr char kMac[] = "123456789ABC";
constexpr char kWireMac[] = "BC 9A 78 56 34 12";

std::string Spaced(const Bytes& bytes) {
    std::string text;
    for (unsigned char b : bytes) text += StrFormat("%02X ", b);
    return text.substr(0, text.size() - 1);
}

// The counting data 00 01 .. of n bytes.
Bytes Counting(size_t n) {
    Bytes data;
    for (size_t i = 0; i < n; ++i) data.push_back(static_cast<unsigned char>(i));
    return data;
}

// An answer of the module: flag 00, the device address, the announced length, the data.
Bytes Answer(const char* wireMac, unsigned announced, const Bytes& data, uint8_t control = 0x80) {
    Bytes body = FromHex("00") + FromHex(wireMac) + Bytes{static_cast<unsigned char>(announced), 0} + data;
    return kvtsim::BuildFrame(control, 0xF1, body);
}

class PointReadingTest : public testsupport::MainWindowWithModule {
protected:
    PointReadingTest() : MainWindowWithModule(24) {}

    void SetUp() override {
        MainWindowWithModule::SetUp();
        OpenPort();
        Choose({{IDC_DIRECTION_COMBO, "主机发出帧"}, {IDC_INITIATOR_COMBO, "主动发起"},
                {IDC_REPLY_STATUS_COMBO, "正常应答"}, {IDC_CHANNEL_TYPE_COMBO, "5281PLC"},
                {IDC_MULTICAST_MODE_COMBO, "00: 非组播"}, {IDC_STOP_BITS_COMBO, "1"}});
    }

    void Choose(const std::vector<std::pair<int, const char*>>& combos) {
        for (const auto& c : combos) {
            ComboBox combo(dlg->GetDlgItem(c.first));
            combo.SetCurSel(combo.FindStringExact(c.second));
        }
    }
    ListView Addresses() { return ListView(dlg->GetDlgItem(IDC_ADDRESS_LIST)); }
    void AddRow(const std::string& address, const std::string& group, bool checked = true) {
        const int row = Addresses().AppendRow({std::to_string(Addresses().GetItemCount()), address, "", "", "", group});
        Addresses().SetCheck(row, checked);
    }
    void Press(int id) { Button(dlg->GetDlgItem(id)).Click(); }
    bool Ended() { return dlg->GetDlgItem(IDC_AUTO_POINT_READ).IsEnabled() && !dlg->PointReadingWorker().IsRunning(); }
    // The point-reading frames that reached the module, spaced.
    std::vector<std::string> Requests() {
        std::vector<std::string> frames;
        for (const Bytes& f : sim.ReceivedFrames())
            if (f[4] == 0xF1) frames.push_back(Spaced(f));
        return frames;
    }
};

TEST_F(PointReadingTest, EachAnswerGivesTheDeviceItsVerdictAndTime) {
    Bytes changed = Counting(20);
    changed[7] = 0x70;
    const struct {
        const char* name;
        Bytes answer;  // empty: silent
        const char* verdict;
        const char* time;  // the end of the time column
    } cases[] = {
        {"counting", Answer(kWireMac, 20, Counting(20)), "成功", " ms"},
        {"changed byte", Answer(kWireMac, 20, changed), "失败", " ms"},
        {"failure answer", kvtsim::BuildFrame(0x80, 0xF1, FromHex("01")), "失败", " ms"},
        {"silent", Bytes(), "失败", "01 秒"},
        {"another address", Answer("BD 9A 78 56 34 12", 20, Counting(20)), "失败", " ms"},
        {"shorter than announced", Answer(kWireMac, 20, Counting(5)), "失败", " ms"},
        {"abnormal answer", Answer(kWireMac, 20, Counting(20), 0xA0), "", " ms"},
    };
    AddRow(kMac, "");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim.SetAnswer(0xF1, c.answer);
        sim.ClearReceived();
        Addresses().SetItemText(0, 2, "old");
        Press(IDC_AUTO_POINT_READ);
        ASSERT_TRUE(WaitFor([&] { return Ended() && !Addresses().GetItemText(0, 3).empty(); }, 4000));
        EXPECT_EQ(Requests(), std::vector<std::string>{"79 09 00 40 F1 00 BC 9A 78 56 34 12 14 00 B8 82"});
        EXPECT_EQ(Addresses().GetItemText(0, 2), c.verdict);
        const std::string time = Addresses().GetItemText(0, 3);
        EXPECT_EQ(time.substr(time.size() - std::string(c.time).size()), c.time) << time;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PointReadingTest, RequestsCarryTheFlagGroupAddressAndLength) {
    const struct {
        const char* multicast;
        const char* stopBits;
        int button;
        std::vector<std::string> frames;
    } cases[] = {
        {"00: 非组播", "2", IDC_AUTO_POINT_READ, {"79 09 00 40 F1 02 BC 9A 78 56 34 12 14 00 BA 80"}},
        {"01: 组播地址", "1", IDC_AUTO_POINT_READ,
         {"79 0B 00 40 F1 01 01 00 BC 9A 78 56 34 12 14 00 BC 80", "79 0B 00 40 F1 01 02 00 66 55 44 33 22 11 14 00 B8 DA"}},
        {"01: 组播地址", "1", IDC_REMOTE_POINT_READ, {"79 0B 00 40 F1 01 34 12 BC 9A 78 56 34 12 14 00 01 A7"}},
    };
    AddRow(kMac, "0001");
    AddRow("445566778899", "0009", false);
    AddRow("112233445566", "0002");
    dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "0");
    dlg->SetDlgItemText(IDC_DST_ADDR, kMac);
    dlg->SetDlgItemText(IDC_POINT_READ_MULTICAST, "1234");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frames[0]);
        sim.ClearReceived();
        Choose({{IDC_MULTICAST_MODE_COMBO, c.multicast}, {IDC_STOP_BITS_COMBO, c.stopBits}});
        Addresses().SetCheck(2, c.frames.size() > 1);
        Press(c.button);
        ASSERT_TRUE(WaitFor([&] { return Ended() && Requests().size() == c.frames.size(); }));
        EXPECT_EQ(Requests(), c.frames);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PointReadingTest, FieldsThatCannotMakeARunAreRefusedAndNothingIsSent) {
    const struct {
        std::vector<std::pair<int, std::string>> edits;
        const char* multicast;
        std::vector<std::pair<std::string, bool>> rows;  // group, checked
        int button;
        const char* message;
    } cases[] = {
        {{{IDC_POINT_READ_INTERVAL, ""}}, "00: 非组播", {{"0001", true}}, IDC_AUTO_POINT_READ, "输入点抄间隔"},
        {{}, "00: 非组播", {{"0001", false}}, IDC_AUTO_POINT_READ, "请选择MAC地址"},
        {{}, "01: 组播地址", {{"", true}}, IDC_AUTO_POINT_READ, "请选择组播地址"},
        {{}, "01: 组播地址", {{"0001", true}, {"", true}}, IDC_AUTO_POINT_READ, "组播地址与MAC地址个数不一致"},
        {{{IDC_POINT_READ_LENGTH, ""}}, "00: 非组播", {{"0001", true}}, IDC_AUTO_POINT_READ, "输入数据长度"},
        {{{IDC_POINT_READ_MULTICAST, ""}}, "01: 组播地址", {}, IDC_REMOTE_POINT_READ, "请输入组播地址"},
        {{{IDC_DST_ADDR, ""}}, "00: 非组播", {}, IDC_REMOTE_POINT_READ, "地址域不能为空"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const std::pair<int, const char*> good[] = {{IDC_POINT_READ_INTERVAL, "1"}, {IDC_POINT_READ_LENGTH, "20"},
                                                    {IDC_POINT_READ_MULTICAST, "1234"}, {IDC_DST_ADDR, kMac}};
        for (const auto& g : good) dlg->SetDlgItemText(g.first, g.second);
        for (const auto& e : c.edits) dlg->SetDlgItemText(e.first, e.second);
        Choose({{IDC_MULTICAST_MODE_COMBO, c.multicast}});
        Addresses().DeleteAllItems();
        for (const auto& r : c.rows) AddRow(kMac, r.first, r.second);
        boxes.clear();
        Press(c.button);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_TRUE(Ended());
    }
    dlg->Link().CloseSerialChannel();
    boxes.clear();
    Press(IDC_AUTO_POINT_READ);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "串口未开");
    EXPECT_TRUE(Ended());
    EXPECT_TRUE(Requests().empty());
}

TEST_F(PointReadingTest, StopAsksFirstAndEndsTheWaitAtOnce) {
    for (const char* mac : {"000000000001", "000000000002", "000000000003"}) AddRow(mac, "");
    dlg->SetDlgItemText(IDC_POINT_READ_INTERVAL, "5");
    Press(IDC_AUTO_POINT_READ);
    ASSERT_TRUE(WaitFor([&] { return Requests().size() == 1; }));
    const std::shared_ptr<WorkerThread> thread = dlg->PointReadingWorker().Thread();
    for (int answer : {kIdCancel, kIdOk}) {
        SetMessageBoxHook([this, answer](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return answer;
        });
        Press(IDC_STOP_POINT_READ);
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().text, "确认要停止点抄吗？");
        EXPECT_EQ(boxes.back().type, static_cast<uint32_t>(kMbOkCancel | kMbIconInformation));
        EXPECT_EQ(thread->IsFinished(), answer == kIdOk);
    }
    EXPECT_TRUE(Ended());
    PumpFor(100);
    EXPECT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Addresses().GetItemText(0, 2), "");  // cut short: no verdict
}

TEST_F(PointReadingTest, TotalsCountTheVerdictsOfEveryRow) {
    const char* verdicts[] = {"成功", "失败", "成功", "", "成功", "失败", "成功", "成功", "失败", "成功"};
    for (const char* v : verdicts) {
        AddRow(kMac, "", false);
        Addresses().SetItemText(Addresses().GetItemCount() - 1, 2, v);
    }
    Press(IDC_POINT_READ_STATISTICS);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "总次数：10\r\n成功次数：6\r\n失败次数：3\r\n");
    EXPECT_EQ(boxes[0].caption, "统计");
}

}  // namespace
