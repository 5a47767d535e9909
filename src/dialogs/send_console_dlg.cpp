#include "dialogs/send_console_dlg.h"

#include <algorithm>
#include <vector>

#include "dialogs/frame_log.h"
#include "link/conversions.h"
#include "platform/gbk.h"
#include "platform/local_time.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

CSendConsoleDlg::CSendConsoleDlg(MainWindowPort& window) : Dialog(IDD_SEND_CONSOLE), m_window(window) {
    MapCommand(IDC_CONSOLE_SEND, Notify::Clicked, [this] { OnSend(); });
    MapCommand(IDC_CONSOLE_CLEAR, Notify::Clicked, [this] { OnClearFrames(); });
    MapCommand(IDC_CONSOLE_LOG_LIST, Notify::ItemChanged, [this] { OnItemchangedFrameList(); });
    MapCommand(IDC_CONSOLE_LOG_LIST, Notify::DblClick, [this] { OnDblclkFrameList(); });
    MapCommand(IDC_CONSOLE_LOG_LIST, Notify::Click, [this] { OnClickFrameList(); });
}

void CSendConsoleDlg::DoDataExchange() {
    m_paneEdit = RichEdit(GetDlgItem(IDC_CONSOLE_PANE));
    m_logList = ListView(GetDlgItem(IDC_CONSOLE_LOG_LIST));
}

bool CSendConsoleDlg::OnInitDialog() {
    DoDataExchange();
    InitListColumns();
    Button(GetDlgItem(IDC_CONSOLE_AUTO_UPDATE)).SetCheck(1);
    return true;
}

bool CSendConsoleDlg::PreTranslateKey(Key key) {
    if (key != Key::Escape) return false;
    OnCancel();
    return true;
}

void CSendConsoleDlg::InitListColumns() {
    m_logList.InsertColumn(0, "时间", 150, ListView::kCenter);
    m_logList.InsertColumn(1, "序号", 50, ListView::kCenter);
    m_logList.InsertColumn(2, "报文显示", 1000, ListView::kLeft);
    m_logList.SetColumnAlign(0, ListView::kRight);
}

int CSendConsoleDlg::ReadEditBytes(int controlId, ByteString& out) {
    out.clear();
    const std::string bytes = Utf8ToGbk(GetDlgItemText(controlId));
    for (char c : bytes) out.push_back(static_cast<unsigned char>(c));
    return 1;
}

void CSendConsoleDlg::OnSend() {
    ByteString bytes;
    ReadEditBytes(IDC_CONSOLE_FRAME_TEXT, bytes);
    m_window.SendFrame(bytes);
    std::string hex;
    BytesToHexText(hex, bytes);
    AddFrameRow(hex);
}

void CSendConsoleDlg::AddFrameRow(std::string hex) {
    const int r = m_logList.GetItemCount();
    SpaceHexPairs(hex);
    const int row = m_logList.AppendRow({FormatTimeStamp(GetLocalTime()), StrFormat("%02d", r), hex});
    if (row < 0 || !Button(GetDlgItem(IDC_CONSOLE_AUTO_UPDATE)).GetCheck()) return;
    m_logList.EnsureVisible(row);
    m_logList.ClearSelection();
    m_logList.SelectRow(row);
}

void CSendConsoleDlg::ShowPaneText(std::string text) {
    m_paneEdit.SetSel(0, -1);
    m_paneEdit.ReplaceSel(text + "\r\n");
}

void CSendConsoleDlg::OnItemchangedFrameList() {
    const std::vector<int> selected = m_logList.GetSelectedRows();
    if (selected.empty()) return;
    std::string hex = m_logList.GetItemText(selected.front(), 2);
    hex.erase(std::remove(hex.begin(), hex.end(), ' '), hex.end());
    ByteString bytes;
    HexTextToBytes(hex, bytes, 0);
    // The bytes as characters; a zero byte ends the text.
    std::string chars;
    for (unsigned char b : bytes) {
        if (b == 0) break;
        chars.push_back(static_cast<char>(b));
    }
    ShowPaneText("报文如下：" + GbkToUtf8(chars));
}

void CSendConsoleDlg::OnDblclkFrameList() { m_window.ShowRowDetail(m_logList); }

void CSendConsoleDlg::OnClearFrames() { m_logList.DeleteAllItems(); }
