// The main window's side of the module link: sending, the serial settings dialog, and what the
// link reports to the window.

#include "app/main_tester_dlg.h"
#include "commands/TestDlg/test_dlg.h"
#include "link/conversions.h"
#include "platform/text_format.h"

void CMainTesterDlg::SendFrame(ByteString frame) { m_link.SendFrame(std::move(frame)); }

void CMainTesterDlg::SendVersionRequest() { m_testPanel->SendVersionRequest(); }

void CMainTesterDlg::OnSerialSettings() { m_serialSettingsDlg.DoModal(this); }

void CMainTesterDlg::OnPortHungUp() {
    std::string why;
    if (!m_link.CloseAfterHangUp(why)) return;
    ShowSerialChannelClosed(*this);
    ShowMessageBox(why.empty() ? "串口已断开" : why, "错误", kMbOk | kMbIconStop);
}

void CMainTesterDlg::OnLogFrame(LogList list, const ByteString& frame) {
    // The row keeps the bytes: the list makes their hex text when it draws the row.
    FrameLogRow row;
    row.stamp = GetLocalTime();
    row.hasStamp = true;
    row.frame = frame;
    row.hasFrame = true;
    if (list == LogList::PassThrough) row.extra = {"R", StrFormat("%3d", static_cast<int>(frame.size()))};
    m_frameLogs.Add(list, std::move(row));
}

void CMainTesterDlg::OnVersionText(const std::string& text) { SetVersionText(text); }

void CMainTesterDlg::OnHangUp() {
    PostTask([this] { OnPortHungUp(); });
}

void CMainTesterDlg::OnToolFrame(ToolFrame tool, const ByteString& frame) {
    switch (tool) {
        case ToolFrame::None: break;
        case ToolFrame::SearchReport: m_deviceSearchDlg.OnSearchReportFrame(frame); break;
        case ToolFrame::BroadcastReply: m_broadcastTestDlg.OnBroadcastReplyFrame(frame); break;
        case ToolFrame::TestPanelLog: {
            std::string hex;
            BytesToHexText(hex, frame);
            m_testPanel->AddLogRow(hex);
            break;
        }
    }
}

void CMainTesterDlg::OnFrameRecorded(char kind, const ByteString& frame, const SystemTime& time, uint32_t number) {
    m_frameMonitorDlg.AddFrameRow(kind, frame, time, number);
}

void CMainTesterDlg::OnThreadStartFailed(const std::string& text) {
    ShowMessageBox(text, "错误", kMbOk | kMbIconStop);
}

void CMainTesterDlg::OnSendFailed(int sent, size_t size) {
    const unsigned total = static_cast<unsigned>(size);
    SetPortStatusText(sent >= 0 ? StrFormat("发送失败：已发出%d/%u字节", sent, total)
                                : StrFormat("发送失败：%u字节未能全部发出", total));
}
