#include "dialogs/frame_monitor_dlg.h"

#include <limits>

#include "analyzer/analyzer.h"
#include "dialogs/frame_log.h"
#include "link/conversions.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

// Process-wide: the first size message of any monitor comes while it is being created.
bool g_monitorSized = false;

int Frac(int size, double f) { return static_cast<int>(size * f); }

}  // namespace

void CFrameDetailDlg::SetText(std::string text) { SetDlgItemText(IDC_DETAIL_TEXT, text); }

CFrameMonitorDlg::CFrameMonitorDlg(MainWindowPort& window) : Dialog(IDD_FRAME_MONITOR), m_window(window) {
    MapCommand(IDC_MONITOR_LIST, Notify::ItemChanged, [this] { OnItemchangedFrameList(); });
    MapCommand(IDC_MONITOR_LIST, Notify::RClick, [this] { OnRclickFrameList(); });
    MapCommand(IDC_MONITOR_LIST, Notify::DblClick, [this] { OnDblclkFrameList(); });
}

void CFrameMonitorDlg::DoDataExchange() {
    m_autoRefreshCheck = Button(GetDlgItem(IDC_MONITOR_AUTO_REFRESH));
    m_parseEdit = RichEdit(GetDlgItem(IDC_MONITOR_ANALYSIS_PANE));
    m_frameList.Attach(*this, IDC_MONITOR_LIST);
}

bool CFrameMonitorDlg::OnInitDialog() {
    DoDataExchange();
    const std::vector<std::string> titles = {"时间", "序号", "报文"};
    const std::vector<uint8_t> shares = {15, 5, 80};
    m_frameList.SetColumns(&titles, &shares, ListView::kLeft);
    // Grid lines are drawn; the rows draw no check boxes (each row's own drawing leaves them out).
    m_autoRefreshCheck.SetCheck(1);
    // The rows follow the history's own bound (see ShowPendingRows), never the list's.
    m_frameList.SetRowLimit(std::numeric_limits<int>::max(), 1);
    LayoutControls();
    {
        // A showing still planned for an earlier window of this monitor is void.
        std::lock_guard<std::mutex> lock(m_pendingLock);
        m_showPosted = false;
    }
    m_firstFrame = 1;
    m_detailDlg.Create(this);
    m_detailDlg.ShowWindow(false);
    SetMinTrackSize(400, 300);
    return true;
}

ColorRef CFrameMonitorDlg::KindColor(char kind) {
    switch (kind) {
        case '0': return 0x0000F0;
        case '2': return 0xFF0000;
        case '3': return 0x808080;
        case '4': return 0x008000;
        case '6': return 0x0080FF;
        case '7': return 0xFF8080;
        case '8': return 0xFF80FF;
        case '9': return 0x808080;
        case ':': return 0xFFFF00;
        default: return 0x000000;
    }
}

std::string CFrameMonitorDlg::FormatElapsed(int64_t ms) {
    if (ms < 0) ms = 0;
    return StrFormat("%02d:%02d:%02d:%03d", static_cast<int>((ms / 3600000) % 24), static_cast<int>((ms / 60000) % 60),
                     static_cast<int>((ms / 1000) % 60), static_cast<int>(ms % 1000));
}

void CFrameMonitorDlg::AddFrameRow(char kind, const ByteString& frame, const SystemTime& time, uint32_t number) {
    // Called in record order under the history's lock: the row's record is the history's next
    // position, counted from 0 again after each clearing.
    const uint32_t generation = m_firstFrame.Generation();
    if (generation != m_addGeneration) {
        m_addGeneration = generation;
        m_addPosition = 0;
    }
    QueueRow(kind, frame, time, number, m_addPosition++);
}

void CFrameMonitorDlg::QueueRow(char kind, const ByteString& frame, const SystemTime& time, uint32_t number,
                                intptr_t position) {
    PendingRow row;
    row.kind = kind;
    row.frame = frame;
    row.time = time;
    row.number = number;
    row.position = position;
    // The caller's monitor lock orders this with the clearing that raises the flag.
    if (m_firstFrame) {
        m_firstFrame = 0;
        m_referenceTime = time;
    } else {
        row.elapsedMs = SystemTimeDiffMs(time, m_referenceTime);
        row.hasElapsed = true;
    }
    row.generation = m_firstFrame.Generation();
    {
        std::lock_guard<std::mutex> lock(m_pendingLock);
        m_pendingRows.push_back(std::move(row));
        if (m_showPosted) return;
        m_showPosted = true;
    }
    // The rest of a received block follows its first frames at once: one showing takes it all.
    if (IsUiThread()) PostTask([this] { ScheduleShow(); });
    else PostTaskAfter(kSettleMs, [this] { ScheduleShow(); });
}

void CFrameMonitorDlg::ScheduleShow() {
    const uint64_t since = GetTickCountMs() - m_lastShown;
    if (since >= kShowIntervalMs || !IsCreated()) {
        ShowPendingRows();
        return;
    }
    SetTimer(kShowTimer, static_cast<uint32_t>(kShowIntervalMs - since));
}

void CFrameMonitorDlg::OnTimer(int id) {
    if (id == kExplainTimer) {
        ExplainSelection();
        // As after a refresh: the pane back at its top.
        if (m_autoRefreshCheck.GetCheck()) m_parseEdit.SetSel(0, 0);
        return;
    }
    if (id != kShowTimer) return;
    KillTimer(kShowTimer);
    ShowPendingRows();
}

void CFrameMonitorDlg::ShowPendingRows() {
    m_lastShown = GetTickCountMs();
    std::vector<PendingRow> rows;
    {
        std::lock_guard<std::mutex> lock(m_pendingLock);
        rows.swap(m_pendingRows);
        m_showPosted = false;
    }
    // Without its window the monitor has nowhere to put them.
    if (!IsCreated()) return;
    const uint32_t generation = m_firstFrame.Generation();
    if (generation != m_listGeneration) {
        // The clearing emptied the list with the history.
        m_listGeneration = generation;
        m_firstListed = 0;
    }
    // The history's bound drops its oldest records; their rows go with them, wherever a sort has
    // put them, and no other row goes.
    const intptr_t firstKept = m_window.FirstHistoryPosition();
    if (firstKept > m_firstListed) {
        m_frameList.DeleteItemsWithDataBelow(firstKept);
        m_firstListed = firstKept;
    }
    int last = -1;
    intptr_t firstPosition = -1;
    intptr_t lastPosition = -1;
    const PendingRow* newest = nullptr;
    for (const PendingRow& r : rows) {
        // Recorded before the last clearing, or dropped by the bound since: the history no
        // longer holds it.
        if (r.generation != generation || r.position < firstKept) continue;
        const ListCell cells[] = {ListCell::TimeStamp(r.time), ListCell::Number(static_cast<int>(r.number)),
                                  ListCell::HexBytes(r.frame.data(), r.frame.size())};
        const int row = m_frameList.AppendCellRow(cells, 3, KindColor(r.kind));
        if (row < 0) continue;
        last = row;
        // The row's own record, also after a sort has moved the row.
        m_frameList.SetItemData(last, r.position);
        if (firstPosition < 0 || r.position < firstPosition) firstPosition = r.position;
        if (r.position > lastPosition) lastPosition = r.position;
        if (r.hasElapsed) newest = &r;
    }
    // A burst is shown at once: every row of it counts as selected in turn, so each record is
    // stamped as viewed; only the newest row is scrolled to and selected.
    if (last >= 0 && m_autoRefreshCheck.GetCheck()) {
        m_window.ViewHistoryRecords(firstPosition, lastPosition);
        m_frameList.EnsureVisible(last);
        m_refreshSelecting = true;
        m_frameList.SetItemState(last, ListView::kStateSelected | ListView::kStateFocused,
                                 ListView::kStateSelected | ListView::kStateFocused);
        m_refreshSelecting = false;
    }
    if (newest) SetDlgItemText(IDC_MONITOR_ELAPSED, FormatElapsed(newest->elapsedMs));
    // After the selection's explanation, the pane goes back to its top; in the same turn, so
    // the pane is drawn once.
    if (last >= 0 && m_autoRefreshCheck.GetCheck()) m_parseEdit.SetSel(0, 0);
}

void CFrameMonitorDlg::RefillRows() {
    intptr_t first = 0;
    m_window.VisitHistory([this, &first](uint32_t index, const MonitorRecord& r) {
        // Each row keeps its own record; the next recorded frame's position stays as it was.
        if (index == 0) first = m_window.FirstHistoryPosition();
        QueueRow(static_cast<char>(r.kind & 0xFF), r.frame, r.time, index, first + index);
    });
}

void CFrameMonitorDlg::BuildParseText(ByteString frame, std::string& text) {
    if (FrameByte(frame, 0) == 0x79) {
        text = "解析信息：\r\n";
        AnalyzeFrame(frame, text, m_window);
    } else if (FrameByte(frame, 0) == 0x68 && frame.size() > 16) {
        AnalyzeMeterFrame(frame, text);
    }
}

void CFrameMonitorDlg::OnItemchangedFrameList() {
    if (m_refreshSelecting) {
        const uint64_t since = GetTickCountMs() - m_lastExplained;
        if (since < kExplainIntervalMs) {
            if (!m_explainDue) {
                m_explainDue = true;
                SetTimer(kExplainTimer, static_cast<uint32_t>(kExplainIntervalMs - since));
            }
            return;
        }
    }
    ExplainSelection();
}

void CFrameMonitorDlg::ExplainSelection() {
    if (m_explainDue) {
        KillTimer(kExplainTimer);
        m_explainDue = false;
    }
    const std::vector<int> selected = m_frameList.GetSelectedRows();
    if (selected.empty()) return;
    const int row = selected.front();
    // The row's own record, also after a sort has moved the row.
    SystemTime shown;
    SystemTime viewed;
    const MainWindowPort::RecordView view = m_window.ViewHistoryRecord(m_frameList.GetItemData(row), shown, viewed);
    // The recording threads never wait for this thread while they hold the history, and this
    // handler does not wait for them either: when the history is busy it runs again later.
    if (view == MainWindowPort::RecordView::Busy) {
        PostTask([this] { ExplainSelection(); });
        return;
    }
    m_lastExplained = GetTickCountMs();
    ByteString frame;
    HexTextToBytes(m_frameList.GetItemText(row, 2), frame, 0);
    std::string text;
    BuildParseText(frame, text);
    text += m_frameList.GetItemText(row, 0);
    text += "\n";
    if (view == MainWindowPort::RecordView::Found) {
        text += FormatTimeStamp(shown) + "\n";
        text += FormatTimeStamp(viewed) + "\n";
    }
    m_parseEdit.SetText(text);
    // Checked: the last line at the bottom of the pane; else the first line at the top.
    if (m_autoRefreshCheck.GetCheck()) m_parseEdit.SetSel(-1, -1);
    else m_parseEdit.SetSel(0, 0);
}

void CFrameMonitorDlg::OnRclickFrameList() {
    const std::vector<int> selected = m_frameList.GetSelectedRows();
    if (selected.empty()) return;
    SetClipboardText(m_frameList.GetItemText(selected.front(), 2));
}

void CFrameMonitorDlg::OnDblclkFrameList() {
    const std::vector<int> selected = m_frameList.GetSelectedRows();
    if (selected.empty()) return;
    m_detailDlg.ShowWindow(true);
    m_detailDlg.SetText(m_frameList.GetItemText(selected.front(), 2));
}

void CFrameMonitorDlg::LayoutControls() {
    const Rect r = GetWindowRect();
    const int W = r.Width();
    const int H = r.Height();
    m_frameList.Move(0, 0, Frac(W, 0.7), Frac(H, 0.9));
    m_frameList.SetColumnWidth(0, static_cast<int>(W * 0.7 * 0.24));
    m_frameList.SetColumnWidth(1, static_cast<int>(W * 0.7 * 0.06));
    m_frameList.SetColumnWidth(2, static_cast<int>(W * 0.7 * 0.7));
    m_frameList.Invalidate();
    m_parseEdit.Move(Frac(W, 0.71), Frac(H, 0.03), Frac(W, 0.27), Frac(H, 0.85));
    m_autoRefreshCheck.Move(Frac(W, 0.71), Frac(H, 0.88), Frac(W, 0.1), Frac(H, 0.04));
    GetDlgItem(IDC_MONITOR_ELAPSED).Move(Frac(W, 0.81), Frac(H, 0.88), Frac(W, 0.15), Frac(H, 0.04));
}

void CFrameMonitorDlg::OnSize(int /*width*/, int /*height*/) {
    if (!g_monitorSized) {
        g_monitorSized = true;
        return;
    }
    LayoutControls();
}

bool CFrameMonitorDlg::PreTranslateKey(Key key) { return key == Key::Enter || key == Key::Escape; }

void CFrameMonitorDlg::OnClose() {
    m_window.EnableControl(IDC_SHOW_FRAME_MONITOR);
    ShowWindow(false);
}
