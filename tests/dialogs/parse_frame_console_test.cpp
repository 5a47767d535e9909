// The parse-frame dialog and the send console.

#include <gtest/gtest.h>

#include "analyzer/analyzer_texts.h"
#include "res/resource_ids.h"
#include "test_frames.h"
#include "tool_window_fixture.h"

namespace {

using namespace dialog_tests;
using testing_frames::Hex;

const std::string kMacReplyText = analyzer_texts::Header(0x80) +
                                  "读取MAC地址帧\r\n"
                                  "MAC地址： 060504030201\r\n"
                                  "\r\n";

class ParseFrameDlgTest : public ToolWindowTest {
protected:
    CParseFrameDlg& Open() {
        Button(dlg->GetDlgItem(IDC_PARSE_FRAME)).Click();
        return dlg->ParseFrame();
    }
};

TEST_F(ParseFrameDlgTest, EachButtonExplainsItsOwnBoxOnTheModuleLayerOnly) {
    const std::string invalid = analyzer_texts::Header(0x00) + "无效的命令字";
    struct Case {
        int layer;  // radio button
        int box;
        const char* text;
        int button;
        std::string result;
    } const cases[] = {
        {IDC_PARSER_PHYSICAL_LAYER, IDC_PARSER_INPUT1, "79 06 00 80 03 01 02 03 04 05 06 9A 9C", IDC_PARSER_BUTTON1,
         ""},
        {IDC_PARSER_NETWORK_LAYER, IDC_PARSER_INPUT1, "79 06 00 80 03 01 02 03 04 05 06 9A 9C", IDC_PARSER_BUTTON1, ""},
        {IDC_PARSER_APP_LAYER, IDC_PARSER_INPUT1, "79 06 00 80 03 01 02 03 04 05 06 9A 9C", IDC_PARSER_BUTTON1, ""},
        {IDC_PARSER_MODULE_PROTOCOL, IDC_PARSER_INPUT1, "79 06 00 80 03 01 02 03 04 05 06 9A 9C", IDC_PARSER_BUTTON1,
         kMacReplyText},
        {IDC_PARSER_MODULE_PROTOCOL, IDC_PARSER_INPUT1, "7906008003010203040506", IDC_PARSER_BUTTON1, kMacReplyText},
        {IDC_PARSER_MODULE_PROTOCOL, IDC_PARSER_INPUT2, "79 06 00 80 03\r\n01 02 03 04 05 06\r\n", IDC_PARSER_BUTTON2,
         kMacReplyText},
        {IDC_PARSER_MODULE_PROTOCOL, IDC_PARSER_INPUT3, "79 0 6 00 80   03 01 02 03 04 05 06", IDC_PARSER_BUTTON3,
         kMacReplyText},
        // An odd digit count gets a 0 in front: 07 90 00 has no control or command byte, and one
        // digit too many before a MAC reply reads 08 79 06 00 80 ...
        {IDC_PARSER_MODULE_PROTOCOL, IDC_PARSER_INPUT1, "79000", IDC_PARSER_BUTTON1, invalid},
        {IDC_PARSER_MODULE_PROTOCOL, IDC_PARSER_INPUT1, "8 79 06 00 80 03 01 02 03 04 05 06", IDC_PARSER_BUTTON1,
         invalid},
        // Each button reads its own box only: the first box empty is an empty frame.
        {IDC_PARSER_MODULE_PROTOCOL, IDC_PARSER_INPUT1, "", IDC_PARSER_BUTTON1, invalid},
        {IDC_PARSER_MODULE_PROTOCOL, IDC_PARSER_INPUT2, "79 06 00 80 03 01 02 03 04 05 06", IDC_PARSER_BUTTON1,
         invalid},
        {IDC_PARSER_MODULE_PROTOCOL, IDC_PARSER_INPUT2, "79 06 00 80 03 01 02 03 04 05 06", IDC_PARSER_BUTTON2,
         kMacReplyText},
    };
    CParseFrameDlg& p = Open();
    for (const Case& c : cases) {
        for (int box : {IDC_PARSER_INPUT1, IDC_PARSER_INPUT2, IDC_PARSER_INPUT3}) p.SetDlgItemText(box, "");
        Edit(p.GetDlgItem(c.box)).TypeText(c.text);
        p.SetDlgItemText(IDC_PARSER_RESULT_PANE, "old");
        Button(p.GetDlgItem(c.layer)).Click();
        Button(p.GetDlgItem(c.button)).Click();
        EXPECT_EQ(p.GetDlgItemText(IDC_PARSER_RESULT_PANE), c.result) << c.text << " " << c.button;
    }
}

TEST_F(ParseFrameDlgTest, ItsButtonOpensItAndClosingDestroysIt) {
    CParseFrameDlg& p = Open();
    ASSERT_TRUE(p.IsCreated());
    EXPECT_TRUE(p.IsWindowVisible());
    EXPECT_FALSE(dlg->GetDlgItem(IDC_PARSE_FRAME).IsEnabled());
    Button(p.GetDlgItem(IDC_PARSER_MODULE_PROTOCOL)).Click();
    p.SetDlgItemText(IDC_PARSER_INPUT1, "79 06");
    p.Close();
    EXPECT_FALSE(p.IsCreated());
    EXPECT_TRUE(dlg->GetDlgItem(IDC_PARSE_FRAME).IsEnabled());
    PumpMessages();

    // Reopened, it starts empty on the physical layer.
    Open();
    ASSERT_TRUE(p.IsCreated());
    EXPECT_EQ(p.GetDlgItemText(IDC_PARSER_INPUT1), "");
    EXPECT_EQ(p.GetDlgItemText(IDC_PARSER_RESULT_PANE), "");
    EXPECT_EQ(Button(p.GetDlgItem(IDC_PARSER_PHYSICAL_LAYER)).GetCheck(), 1);
    EXPECT_EQ(Button(p.GetDlgItem(IDC_PARSER_MODULE_PROTOCOL)).GetCheck(), 0);
    // Enter does nothing; Esc closes as the close box does.
    p.PressKey(Key::Enter);
    EXPECT_TRUE(p.IsCreated());
    p.PressKey(Key::Escape);
    EXPECT_FALSE(p.IsCreated());
    EXPECT_TRUE(dlg->GetDlgItem(IDC_PARSE_FRAME).IsEnabled());
}

class SendConsoleTest : public ToolWindowTest {
protected:
    CSendConsoleDlg& Console() { return dlg->SendConsole(); }
    void Type(const std::string& text) {
        Console().SetDlgItemText(IDC_CONSOLE_FRAME_TEXT, "");
        Edit(Console().GetDlgItem(IDC_CONSOLE_FRAME_TEXT)).TypeText(text);
    }
    void Send() { Button(Console().GetDlgItem(IDC_CONSOLE_SEND)).Click(); }
    std::string Pane() { return Console().GetDlgItemText(IDC_CONSOLE_PANE); }
    bool WaitBytes(const std::string& bytes) {
        const kvtsim::Bytes want(bytes.begin(), bytes.end());
        return WaitPumping([&] { return sim.ReceivedBytes() == want; }, 5000);
    }
    ByteString LastSent() {
        const std::vector<MonitorRecord> history = History();
        return history.empty() ? ByteString() : history.back().frame;
    }
};

TEST_F(SendConsoleTest, TypedTextReachesTheModuleByteForByteAndIsLogged) {
    OpenPort();
    // Blanks are sent as they are, a line break is CR LF, a double-byte character its GBK bytes.
    const struct {
        const char* typed;
        std::string bytes;
        const char* row;
    } sends[] = {{"AB", "AB", "41 42 "},
                 {"79 0\r\n0", "79 0\r\n0", "37 39 20 30 0D 0A 30 "},
                 {"中", "\xD6\xD0", "D6 D0 "}};
    ListView list = Console().m_logList;
    for (int i = 0; i < 3; ++i) {
        sim.ClearReceived();
        Type(sends[i].typed);
        Send();
        ASSERT_TRUE(WaitBytes(sends[i].bytes)) << sends[i].typed;
        ASSERT_EQ(list.GetItemCount(), i + 1);
        EXPECT_EQ(list.GetItemText(i, 0), kFixedStamp);
        EXPECT_EQ(list.GetItemText(i, 1), "0" + std::to_string(i));
        EXPECT_EQ(list.GetItemText(i, 2), sends[i].row);
        EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{i});
        EXPECT_EQ(Pane(), std::string("报文如下：") + sends[i].typed + "\r\n");
        EXPECT_EQ(LastSent(), ByteString(sends[i].bytes.begin(), sends[i].bytes.end()));
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SendConsoleTest, ClearingRestartsTheNumberingAndUncheckedAutoUpdateLeavesThePane) {
    Type("A");
    Send();
    Type("B");
    Send();
    ListView list = Console().m_logList;
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(1, 1), "01");
    Button(Console().GetDlgItem(IDC_CONSOLE_CLEAR)).Click();
    EXPECT_EQ(list.GetItemCount(), 0);
    Type("C");
    Send();
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 1), "00");
    EXPECT_EQ(Pane(), "报文如下：C\r\n");

    Button(Console().GetDlgItem(IDC_CONSOLE_AUTO_UPDATE)).Click();
    ASSERT_EQ(Button(Console().GetDlgItem(IDC_CONSOLE_AUTO_UPDATE)).GetCheck(), 0);
    Type("D");
    Send();
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(1, 2), "44 ");
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{0});
    EXPECT_EQ(Pane(), "报文如下：C\r\n");
    // Without a channel the bytes are still recorded as sent.
    EXPECT_EQ(LastSent(), Hex("44"));
}

TEST_F(SendConsoleTest, SelectingARowShowsItsTextUpToAZeroByte) {
    Console().AddFrameRow("41004243");
    ListView list = Console().m_logList;
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 2), "41 00 42 43 ");
    EXPECT_EQ(Pane(), "报文如下：A\r\n");
    Console().AddFrameRow("4243");
    EXPECT_EQ(Pane(), "报文如下：BC\r\n");
    list.ClickRow(0);
    EXPECT_EQ(Pane(), "报文如下：A\r\n");
}

TEST_F(SendConsoleTest, ADoubleClickShowsTheRowInTheMainWindowsViewerAndEscHides) {
    Type("AB");
    Send();
    EXPECT_FALSE(dlg->FrameDetail().IsWindowVisible());
    Console().m_logList.ClickRow(0, Notify::DblClick);
    EXPECT_TRUE(dlg->FrameDetail().IsWindowVisible());
    EXPECT_EQ(dlg->FrameDetail().GetDlgItemText(IDC_DETAIL_TEXT), "41 42 ");
    // Enter does nothing, Esc hides the console.
    Console().ShowWindow(true);
    Console().PressKey(Key::Enter);
    EXPECT_TRUE(Console().IsWindowVisible());
    Console().PressKey(Key::Escape);
    EXPECT_FALSE(Console().IsWindowVisible());
    EXPECT_TRUE(Console().IsCreated());
}

}  // namespace
