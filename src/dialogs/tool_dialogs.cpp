#include "dialogs/tool_dialogs.h"

#include "app/frame_log.h"
#include "app/main_tester_dlg.h"
#include "link/conversions.h"

namespace {
void EnableMainButton(int id) {
    if (CMainTesterDlg* main = CMainTesterDlg::Instance()) main->GetDlgItem(id).Enable(true);
}
}  // namespace

void CFrameMonitorDlg::OnClose() {
    EnableMainButton(1021);
    ShowWindow(false);
}

void CDeviceSearchListDlg::OnClose() {
    EnableMainButton(1834);
    ShowWindow(false);
}

void CFrameMonitorDlg::AddFrameRow(char kind, const ByteString& frame, const SystemTime& time, uint32_t number) {
    if (m_firstFrame) {
        m_firstFrameTime = time;
        m_firstFrame = 0;
    }
    std::string hex;
    BytesToHexTextSpaced(hex, frame, 0);
    std::vector<std::string> cells = {FormatTimeStamp(time), std::to_string(number), hex};
    PostTask([this, kind, cells = std::move(cells)] {
        ListView list(GetDlgItem(1006));
        const int row = list.AppendRow(cells);
        list.SetRowTextColor(row, kind == '0' ? MakeRgb(0, 0, 255) : MakeRgb(0, 128, 0));
    });
}

void CDeviceSearchListDlg::OnSearchReportFrame(const ByteString& /*frame*/) {}

void CBroadcastReplyTestDlg::OnBroadcastReplyFrame(const ByteString& /*frame*/) {}

void CBroadcastReplyTestDlg::ClearList() {}

void CFrameDetailDlg::SetText(std::string text) { SetDlgItemText(1010, text); }

void CButtonOwnedDialog::Release() {
    EnableMainButton(m_ownerButton);
    DestroyWindow();
}
