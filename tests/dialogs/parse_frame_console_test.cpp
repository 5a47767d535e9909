// The parse-frame dialog and the send console.

#include <gtest/gtest.h>

#include "analyzer/analyzer_texts.h"
#include "support/dialog_lookup.h"
#include "support/main_window_fixture.h"
#include "test_frames.h"

namespace {

using namespace testsupport;

class ParseFrameDlgTest : public MainWindowWithModule {
protected:
    ParseFrameDlgTest() : MainWindowWithModule(11, true) {}

    CParseFrameDlg& Open() {
        Click(IDC_PARSE_FRAME);
        return Within<CParseFrameDlg>(*dlg);
    }
};

TEST_F(ParseFrameDlgTest, EachButtonExplainsItsOwnBoxOnTheModuleLayerOnly) {
    const std::string mac = analyzer_texts::Header(0x80) + "读取MAC地址帧\r\nMAC地址： 060504030201\r\n\r\n";
    const std::string invalid = analyzer_texts::Header(0x00) + "无效的命令字";
    const char* const frame = "79 06 00 80 03 01 02 03 04 05 06 9A 9C";
    const int module = IDC_PARSER_MODULE_PROTOCOL, box1 = IDC_PARSER_INPUT1, box2 = IDC_PARSER_INPUT2;
    struct Case {
        int layer;  // radio button
        int box;
        const char* text;
        int button;
        std::string result;
    } const cases[] = {
        {IDC_PARSER_PHYSICAL_LAYER, box1, frame, IDC_PARSER_BUTTON1, ""},
        {IDC_PARSER_NETWORK_LAYER, box1, frame, IDC_PARSER_BUTTON1, ""},
        {IDC_PARSER_APP_LAYER, box1, frame, IDC_PARSER_BUTTON1, ""},
        {module, box1, frame, IDC_PARSER_BUTTON1, mac},
        {module, box1, "7906008003010203040506", IDC_PARSER_BUTTON1, mac},
        {module, box2, "79 06 00 80 03\r\n01 02 03 04 05 06\r\n", IDC_PARSER_BUTTON2, mac},
        {module, IDC_PARSER_INPUT3, "79 0 6 00 80   03 01 02 03 04 05 06", IDC_PARSER_BUTTON3, mac},
        // An odd digit count gets a 0 in front: 07 90 00 has no control or command byte, and one
        // digit too many before a MAC reply reads 08 79 06 00 80 ...
        {module, box1, "79000", IDC_PARSER_BUTTON1, invalid},
        {module, box1, "8 79 06 00 80 03 01 02 03 04 05 06", IDC_PARSER_BUTTON1, invalid},
        // Each button reads its own box only: the first box empty is an empty frame.
        {module, box1, "", IDC_PARSER_BUTTON1, invalid},
        {module, box2, frame, IDC_PARSER_BUTTON1, invalid},
        {module, box2, frame, IDC_PARSER_BUTTON2, mac},
    };
    CParseFrameDlg& p = Open();
    for (const Case& c : cases) {
        for (int box : {box1, box2, IDC_PARSER_INPUT3}) p.SetDlgItemText(box, "");
        Edit(p.GetDlgItem(c.box)).TypeText(c.text);
        p.SetDlgItemText(IDC_PARSER_RESULT_PANE, "old");
        Button(p.GetDlgItem(c.layer)).Click();
        Button(p.GetDlgItem(c.button)).Click();
        EXPECT_EQ(p.GetDlgItemText(IDC_PARSER_RESULT_PANE), c.result) << c.text << " " << c.button;
    }
}

// The dialog hands the window to the analyzer: a whole version reply shows its version there.
TEST_F(ParseFrameDlgTest, AnExplainedVersionReplyShowsItsVersionInTheMainWindow) {
    CParseFrameDlg& p = Open();
    Button(p.GetDlgItem(IDC_PARSER_MODULE_PROTOCOL)).Click();
    p.SetDlgItemText(IDC_PARSER_INPUT1, "79 07 00 80 02 56 51 34 12 01 03 02 00 00");
    Button(p.GetDlgItem(IDC_PARSER_BUTTON1)).Click();
    PumpMessages();
    EXPECT_EQ(dlg->GetDlgItemText(IDC_VERSION_TEXT), "版本号:QV-1234-01-02-03");
}

TEST_F(ParseFrameDlgTest, ItsButtonOpensItAndClosingDestroysIt) {
    CParseFrameDlg& p = Open();
    ASSERT_TRUE(p.IsCreated());
    EXPECT_TRUE(p.IsWindowVisible());
    EXPECT_FALSE(Enabled(IDC_PARSE_FRAME));
    Button(p.GetDlgItem(IDC_PARSER_MODULE_PROTOCOL)).Click();
    p.SetDlgItemText(IDC_PARSER_INPUT1, "79 06");
    p.Close();
    EXPECT_FALSE(p.IsCreated());
    EXPECT_TRUE(Enabled(IDC_PARSE_FRAME));
    PumpMessages();

    // Reopened, it starts empty on the physical layer.
    Open();
    ASSERT_TRUE(p.IsCreated());
    EXPECT_EQ(p.GetDlgItemText(IDC_PARSER_INPUT1) + p.GetDlgItemText(IDC_PARSER_RESULT_PANE), "");
    EXPECT_EQ(Button(p.GetDlgItem(IDC_PARSER_PHYSICAL_LAYER)).GetCheck(), 1);
    EXPECT_EQ(Button(p.GetDlgItem(IDC_PARSER_MODULE_PROTOCOL)).GetCheck(), 0);
    // Enter does nothing; Esc closes as the close box does.
    p.PressKey(Key::Enter);
    EXPECT_TRUE(p.IsCreated());
    p.PressKey(Key::Escape);
    EXPECT_FALSE(p.IsCreated());
    EXPECT_TRUE(Enabled(IDC_PARSE_FRAME));
}

class SendConsoleTest : public MainWindowWithModule {
protected:
    SendConsoleTest() : MainWindowWithModule(11, true) {}

    CSendConsoleDlg& Console() { return Within<CSendConsoleDlg>(*dlg); }
    ListView Log() { return Console().m_logList; }
    void Send(const std::string& text) {
        Console().SetDlgItemText(IDC_CONSOLE_FRAME_TEXT, "");
        Edit(Console().GetDlgItem(IDC_CONSOLE_FRAME_TEXT)).TypeText(text);
        Button(Console().GetDlgItem(IDC_CONSOLE_SEND)).Click();
    }
    std::string Pane() { return Console().GetDlgItemText(IDC_CONSOLE_PANE); }
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
    for (int i = 0; i < 3; ++i) {
        const ByteString bytes(sends[i].bytes.begin(), sends[i].bytes.end());
        sim.ClearReceived();
        Send(sends[i].typed);
        ASSERT_TRUE(WaitFor([&] { return sim.ReceivedBytes() == bytes; })) << sends[i].typed;
        ASSERT_EQ(Log().GetItemCount(), i + 1);
        EXPECT_EQ(Log().GetItemText(i, 0), kFixedStamp);
        EXPECT_EQ(Log().GetItemText(i, 1), "0" + std::to_string(i));
        EXPECT_EQ(Log().GetItemText(i, 2), sends[i].row);
        EXPECT_EQ(Log().GetSelectedRows(), std::vector<int>{i});
        EXPECT_EQ(Pane(), std::string("报文如下：") + sends[i].typed + "\r\n");
        EXPECT_EQ(LastSent(), bytes);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SendConsoleTest, ClearingRestartsTheNumberingAndUncheckedAutoUpdateLeavesThePane) {
    Send("A");
    Send("B");
    ASSERT_EQ(Log().GetItemCount(), 2);
    EXPECT_EQ(Log().GetItemText(1, 1), "01");
    Button(Console().GetDlgItem(IDC_CONSOLE_CLEAR)).Click();
    EXPECT_EQ(Log().GetItemCount(), 0);
    Send("C");
    ASSERT_EQ(Log().GetItemCount(), 1);
    EXPECT_EQ(Log().GetItemText(0, 1), "00");
    EXPECT_EQ(Pane(), "报文如下：C\r\n");

    Button(Console().GetDlgItem(IDC_CONSOLE_AUTO_UPDATE)).Click();
    ASSERT_EQ(Button(Console().GetDlgItem(IDC_CONSOLE_AUTO_UPDATE)).GetCheck(), 0);
    Send("D");
    ASSERT_EQ(Log().GetItemCount(), 2);
    EXPECT_EQ(Log().GetItemText(1, 2), "44 ");
    EXPECT_EQ(Log().GetSelectedRows(), std::vector<int>{0});
    EXPECT_EQ(Pane(), "报文如下：C\r\n");
    // Without a channel nothing took the bytes: they are logged, not recorded as sent.
    EXPECT_EQ(LastSent(), ByteString());
    // A double click shows the row in the main window's viewer.
    EXPECT_FALSE(Within<CFrameDetailDlg>(*dlg).IsWindowVisible());
    Log().ClickRow(1, Notify::DblClick);
    EXPECT_TRUE(Within<CFrameDetailDlg>(*dlg).IsWindowVisible());
    EXPECT_EQ(Within<CFrameDetailDlg>(*dlg).GetDlgItemText(IDC_DETAIL_TEXT), "44 ");
}

TEST_F(SendConsoleTest, SelectingARowShowsItsTextUpToAZeroByte) {
    Console().AddFrameRow("41004243");
    ASSERT_EQ(Log().GetItemCount(), 1);
    EXPECT_EQ(Log().GetItemText(0, 2), "41 00 42 43 ");
    EXPECT_EQ(Pane(), "报文如下：A\r\n");
    Console().AddFrameRow("4243");
    EXPECT_EQ(Pane(), "报文如下：BC\r\n");
    Log().ClickRow(0);
    EXPECT_EQ(Pane(), "报文如下：A\r\n");
}

}  // namespace
