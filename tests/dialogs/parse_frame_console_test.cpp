// The parse-frame dialog and the send console.

#include <gtest/gtest.h>

#include "analyzer/analyzer_texts.h"
#include "search_console_fixture.h"
#include "test_frames.h"

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
        Button(dlg->GetDlgItem(1034)).Click();
        return dlg->m_parseFrameDlg;
    }
    void Type(int box, const std::string& text) { Edit(dlg->m_parseFrameDlg.GetDlgItem(box)).TypeText(text); }
    void Choose(int radio) { Button(dlg->m_parseFrameDlg.GetDlgItem(radio)).Click(); }
    void Press(int button) { Button(dlg->m_parseFrameDlg.GetDlgItem(button)).Click(); }
    std::string Result() { return dlg->m_parseFrameDlg.GetDlgItemText(1007); }
};

TEST_F(ParseFrameDlgTest, OpensFromItsMainButtonWithThePhysicalLayerChecked) {
    CParseFrameDlg& p = Open();
    ASSERT_TRUE(p.IsCreated());
    EXPECT_TRUE(p.IsWindowVisible());
    EXPECT_EQ(p.GetWindowText(), "解析报文");
    EXPECT_FALSE(dlg->GetDlgItem(1034).IsEnabled());
    EXPECT_EQ(Button(p.GetDlgItem(1036)).GetCheck(), 1);
    for (int id : {1020, 1026, 1019}) EXPECT_EQ(Button(p.GetDlgItem(id)).GetCheck(), 0) << id;
    for (int id : {1018, 1021, 1029}) EXPECT_EQ(p.GetDlgItemText(id), "》》") << id;
}

TEST_F(ParseFrameDlgTest, OnlyTheModuleLayerExplains) {
    Open();
    Type(1010, "79 06 00 80 03 01 02 03 04 05 06 9A 9C");
    for (int radio : {1036, 1020, 1026}) {
        dlg->m_parseFrameDlg.SetDlgItemText(1007, "old");
        Choose(radio);
        Press(1018);
        EXPECT_EQ(Result(), "") << radio;
    }
    Choose(1019);
    Press(1018);
    EXPECT_EQ(Result(), kMacReplyText);
}

TEST_F(ParseFrameDlgTest, BlanksAndLineBreaksBetweenDigitsMakeNoDifference) {
    Open();
    Choose(1019);
    Type(1010, "7906008003010203040506");
    Press(1018);
    EXPECT_EQ(Result(), kMacReplyText);
    Type(1011, "79 06 00 80 03\r\n01 02 03 04 05 06\r\n");
    Press(1021);
    EXPECT_EQ(Result(), kMacReplyText);
    Type(1012, "79 0 6 00 80   03 01 02 03 04 05 06");
    Press(1029);
    EXPECT_EQ(Result(), kMacReplyText);
}

TEST_F(ParseFrameDlgTest, AnOddDigitCountGetsAZeroInFront) {
    Open();
    Choose(1019);
    // 7 9 0 0 0 reads as 07 90 00: no control or command byte.
    Type(1010, "79000");
    Press(1018);
    EXPECT_EQ(Result(), analyzer_texts::Header(0x00) + "无效的命令字");
    // One digit too many in front of a MAC reply: 08 79 06 00 80 ..., control 0x00, command 0x80.
    dlg->m_parseFrameDlg.SetDlgItemText(1010, "8 79 06 00 80 03 01 02 03 04 05 06");
    Press(1018);
    EXPECT_EQ(Result(), analyzer_texts::Header(0x00) + "无效的命令字");
}

TEST_F(ParseFrameDlgTest, EachButtonReadsItsOwnBox) {
    Open();
    Choose(1019);
    Type(1011, "79 06 00 80 03 01 02 03 04 05 06");
    Press(1018);  // box 1 is empty: an empty frame
    EXPECT_EQ(Result(), analyzer_texts::Header(0x00) + "无效的命令字");
    Press(1029);
    EXPECT_EQ(Result(), analyzer_texts::Header(0x00) + "无效的命令字");
    Press(1021);
    EXPECT_EQ(Result(), kMacReplyText);
}

TEST_F(ParseFrameDlgTest, ClosingDestroysTheWindowAndReopeningStartsEmpty) {
    Open();
    Choose(1019);
    Type(1010, "79 06");
    Press(1018);
    dlg->m_parseFrameDlg.Close();
    EXPECT_FALSE(dlg->m_parseFrameDlg.IsCreated());
    EXPECT_TRUE(dlg->GetDlgItem(1034).IsEnabled());
    PumpMessages();

    CParseFrameDlg& p = Open();
    ASSERT_TRUE(p.IsCreated());
    EXPECT_EQ(p.GetDlgItemText(1010), "");
    EXPECT_EQ(p.GetDlgItemText(1007), "");
    EXPECT_EQ(Button(p.GetDlgItem(1036)).GetCheck(), 1);
    EXPECT_EQ(Button(p.GetDlgItem(1019)).GetCheck(), 0);
    // Enter does nothing; Esc closes as the close box does.
    p.PressKey(Key::Enter);
    EXPECT_TRUE(p.IsCreated());
    p.PressKey(Key::Escape);
    EXPECT_FALSE(p.IsCreated());
    EXPECT_TRUE(dlg->GetDlgItem(1034).IsEnabled());
}

class SendConsoleTest : public ToolWindowTest {
protected:
    CSendConsoleDlg& Console() { return dlg->m_sendConsoleDlg; }
    void Type(const std::string& text) {
        Console().SetDlgItemText(2036, "");
        Edit(Console().GetDlgItem(2036)).TypeText(text);
    }
    void Send() { Button(Console().GetDlgItem(1833)).Click(); }
    std::string Pane() { return Console().GetDlgItemText(1007); }
    bool WaitBytes(const std::string& bytes) {
        const kvtsim::Bytes want(bytes.begin(), bytes.end());
        return WaitPumping([&] { return sim.ReceivedBytes() == want; }, 5000);
    }
    ByteString LastSent() {
        LockGuard lock(dlg->m_historyLock);
        return dlg->m_frameHistory.empty() ? ByteString() : dlg->m_frameHistory.back().frame;
    }
};

TEST_F(SendConsoleTest, StartsWithItsColumnsAndAutoUpdate) {
    ListView list = Console().m_logList;
    ASSERT_EQ(list.GetColumnCount(), 3);
    EXPECT_EQ(list.GetColumnHeading(0), "时间");
    EXPECT_EQ(list.GetColumnHeading(1), "序号");
    EXPECT_EQ(list.GetColumnHeading(2), "报文显示");
    EXPECT_EQ(list.GetColumnWidth(0), 150);
    EXPECT_EQ(list.GetColumnWidth(1), 50);
    EXPECT_EQ(list.GetColumnWidth(2), 1000);
    EXPECT_EQ(Button(Console().GetDlgItem(1008)).GetCheck(), 1);
    EXPECT_EQ(Console().GetDlgItemText(2034), "报文：");
    EXPECT_FALSE(Console().IsWindowVisible());
}

TEST_F(SendConsoleTest, TypedTextReachesTheModuleByteForByteAndIsLogged) {
    OpenPort();
    sim.ClearReceived();
    Type("AB");
    Send();
    ASSERT_TRUE(WaitBytes("AB"));
    ListView list = Console().m_logList;
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 0), kFixedStamp);
    EXPECT_EQ(list.GetItemText(0, 1), "00");
    EXPECT_EQ(list.GetItemText(0, 2), "41 42 ");
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{0});
    EXPECT_EQ(Pane(), "报文如下：AB\r\n");
    EXPECT_EQ(LastSent(), Hex("41 42"));

    // A line break is CR LF; blanks are sent as they are.
    sim.ClearReceived();
    Type("79 0\r\n0");
    Send();
    ASSERT_TRUE(WaitBytes("79 0\r\n0"));
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(1, 1), "01");
    EXPECT_EQ(list.GetItemText(1, 2), "37 39 20 30 0D 0A 30 ");
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{1});
    EXPECT_EQ(Pane(), "报文如下：79 0\r\n0\r\n");
    EXPECT_EQ(LastSent(), Hex("37 39 20 30 0D 0A 30"));

    // A double-byte character gives its two GBK bytes.
    sim.ClearReceived();
    Type("中");
    Send();
    ASSERT_TRUE(WaitBytes("\xD6\xD0"));
    EXPECT_EQ(list.GetItemText(2, 2), "D6 D0 ");
    EXPECT_EQ(Pane(), "报文如下：中\r\n");
    EXPECT_EQ(boxes.size(), 0u);
}

TEST_F(SendConsoleTest, ClearingRestartsTheNumberingAndUncheckedAutoUpdateLeavesThePane) {
    Type("A");
    Send();
    Type("B");
    Send();
    ListView list = Console().m_logList;
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(1, 1), "01");
    Button(Console().GetDlgItem(1018)).Click();
    EXPECT_EQ(list.GetItemCount(), 0);
    Type("C");
    Send();
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 1), "00");
    EXPECT_EQ(Pane(), "报文如下：C\r\n");

    Button(Console().GetDlgItem(1008)).Click();
    ASSERT_EQ(Button(Console().GetDlgItem(1008)).GetCheck(), 0);
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

TEST_F(SendConsoleTest, ADoubleClickOpensTheFrameDetailViewer) {
    Type("AB");
    Send();
    EXPECT_FALSE(dlg->m_frameDetailDlg.IsWindowVisible());
    Console().m_logList.ClickRow(0, Notify::DblClick);
    EXPECT_TRUE(dlg->m_frameDetailDlg.IsWindowVisible());
}

TEST_F(SendConsoleTest, EnterDoesNothingAndEscHides) {
    Console().ShowWindow(true);
    Console().PressKey(Key::Enter);
    EXPECT_TRUE(Console().IsWindowVisible());
    Console().PressKey(Key::Escape);
    EXPECT_FALSE(Console().IsWindowVisible());
    EXPECT_TRUE(Console().IsCreated());
}

}  // namespace
