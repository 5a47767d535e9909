#include "dialogs/broadcast_reply_test_dlg.h"

#include <cstdio>
#include <iterator>
#include <utility>

#include "analyzer/analyzer.h"
#include "dialogs/frame_log.h"
#include "dialogs/number_text.h"
#include "dialogs/text_export.h"
#include "link/broadcast_test.h"
#include "link/conversions.h"
#include "link/received_frame.h"
#include "link/word_layouts.h"
#include "platform/local_time.h"
#include "platform/text_file.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

constexpr int kColumns = BroadcastReplyRow::kColumns;
constexpr int kMacColumn = 6;
constexpr int kDsnColumn = 7;
constexpr int kCurrentCountColumn = 10;

constexpr const char* kExportFormat =
    "%12s      %-12s   %-12s   %-12s   %-12s    %-12s   %-12s  %-12s   %-12s  %-12s   %-12s   %-12s     \n";
const char* const kExportTitles[kColumns] = {"时间",   "编号",   "地址模式", "深度",     "密钥类型", "组播地址",
                                              "MAC地址", "序列号", "时延",     "总次数", "当前次数", "数据长度"};

// The time cell in the list's compact form when it reads back as the same text; else as text.
ListCell TimeCell(const std::string& text) {
    int f[7] = {};
    if (text.size() == 23 && std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d:%3d", &f[0], &f[1], &f[2], &f[3],
                                         &f[4], &f[5], &f[6]) == 7) {
        if (f[0] >= 0 && f[1] >= 1 && f[1] <= 12 && f[2] >= 1 && f[2] <= 31 && f[3] >= 0 && f[3] < 24 &&
            f[4] >= 0 && f[4] < 60 && f[5] >= 0 && f[5] < 60 && f[6] >= 0 && f[6] < 1000) {
            SystemTime t;
            t.year = static_cast<uint16_t>(f[0]);
            t.month = static_cast<uint16_t>(f[1]);
            t.day = static_cast<uint16_t>(f[2]);
            t.hour = static_cast<uint16_t>(f[3]);
            t.minute = static_cast<uint16_t>(f[4]);
            t.second = static_cast<uint16_t>(f[5]);
            t.milliseconds = static_cast<uint16_t>(f[6]);
            if (FormatTimeStamp(t) == text) return ListCell::TimeStamp(t);
        }
    }
    return ListCell::Text(text);
}

}  // namespace

CBroadcastReplyTestDlg::CBroadcastReplyTestDlg(MainWindowPort& window)
    : Dialog(IDD_BROADCAST_REPLY_TEST), m_macRecords(kMaxRows), m_window(window) {
    MapCommand(IDC_BROADCAST_TEST_STATISTICS, Notify::Clicked, [this] { OnStatistics(); });
    MapCommand(IDC_BROADCAST_TEST_EXPORT, Notify::Clicked, [this] { OnExportData(); });
    MapCommand(IDC_BROADCAST_TEST_IMPORT, Notify::Clicked, [this] { OnImportData(); });
    MapCommand(IDC_BROADCAST_TEST_CLEAR, Notify::Clicked, [this] { ClearList(); });
}

bool CBroadcastReplyTestDlg::OnInitDialog() {
    m_replyList.Attach(*this, IDC_BROADCAST_TEST_LIST);
    m_rowCount = 0;
    static const struct {
        const char* title;
        int width;
    } kListColumns[kColumns] = {{"TIME", 160},   {"seq", 45},   {"groupmode", 80}, {"Depth", 50},
                                {"keymode", 80}, {"groupID", 80}, {"MACID", 100},  {"DSN", 60},
                                {"DELAY", 55},   {"RESPTMS", 55}, {"CurRespTms", 55}, {"Datalen", 55}};
    m_replyList.SetExtendedStyle(ListView::kExGridLines | ListView::kExFullRowSelect | ListView::kExFlatScrollBars);
    for (int i = 0; i < kColumns; ++i)
        m_replyList.InsertColumn(i, kListColumns[i].title, kListColumns[i].width, ListView::kCenter);
    m_replyList.SetColumnAlign(0, ListView::kRight);
    return true;
}

void CBroadcastReplyTestDlg::OnBroadcastReplyFrame(ByteString frame) {
    std::string text;
    for (unsigned char b : frame) AppendFormat(text, "%02X ", b);
    text += "\n";
    AnalyzeFrame(frame, text, m_window);
    BroadcastReplyRow row;
    const bool answer = ReceivedFrame(frame).IsNormalAnswer();
    if (answer) ReadReplyRow(frame, 0, row);
    // Answers arrive at the line's rate: they reach the list in batches.
    bool post = false;
    {
        std::lock_guard<std::mutex> lock(m_pendingLock);
        if (answer) m_pendingRows.push_back(std::move(row));
        m_pendingPane = std::move(text);
        post = !m_flushPosted;
        m_flushPosted = true;
    }
    if (!post) return;
    if (IsUiThread())
        FlushPending();
    else
        PostTask([this] { FlushPending(); });
}

void CBroadcastReplyTestDlg::FlushPending() {
    std::vector<BroadcastReplyRow> rows;
    std::string pane;
    {
        std::lock_guard<std::mutex> lock(m_pendingLock);
        rows.swap(m_pendingRows);
        pane.swap(m_pendingPane);
        m_flushPosted = false;
    }
    AppendReplyRows(rows);
    if (IsCreated()) SetDlgItemText(IDC_BROADCAST_TEST_PANE, pane);
}

int CBroadcastReplyTestDlg::ReadReplyRow(const ByteString& frame, int start, BroadcastReplyRow& row) {
    const ReceivedFrame answer(frame);
    const long long d0 = static_cast<long long>(start) + ReceivedFrame::kFirstDataByte;
    // Fields lie in the frame's data: the two check bytes at its end are not read as fields.
    auto field = [&](size_t at, size_t n) { return answer.CursorBeforeChecks(d0 + static_cast<long long>(at)).Span(n); };
    row.cells[0] = FormatTimeStamp(GetLocalTime());
    const unsigned char* flags = field(1, 1);
    if (!flags) return -1;
    using namespace broadcast_test_reply_flags;
    const bool multicast = kMulticast.Get(*flags) == 1;
    row.cells[2] = multicast ? "组播" : "非组播";
    row.cells[3] = StrFormat("%d", kDepth.Get(*flags));
    row.cells[4] = kPasswordMode.Get(*flags) ? "用户密钥" : "初始密钥";
    if (multicast) {
        const unsigned char* group = field(2, 2);
        if (!group) return -1;
        row.cells[5] = StrFormat("%02X%02X", group[1], group[0]);
    }
    const BroadcastTestReplyLayout at = BroadcastTestReplyOffsets(multicast);
    const unsigned char* source = field(at.source, 6);
    if (!source) return -1;
    row.mac.append(std::make_reverse_iterator(source + 6), std::make_reverse_iterator(source));
    BytesToHexText(row.cells[6], row.mac);
    const unsigned char* sequence = field(at.sequence, 1);
    if (!sequence) return -1;
    row.cells[7] = StrFormat("%02X", *sequence);
    const unsigned char* interval = field(at.interval, 2);
    if (!interval) return -1;
    row.cells[8] = StrFormat("%d", interval[0] | interval[1] << 8);
    const unsigned char* reportCount = field(at.reportCount, 1);
    if (!reportCount) return -1;
    row.cells[9] = StrFormat("%d", *reportCount);
    const unsigned char* currentCount = field(at.currentCount, 1);
    if (!currentCount) return -1;
    row.cells[10] = StrFormat("%d", *currentCount);
    const unsigned char* dataLength = field(at.dataLength, 2);
    if (!dataLength) return -1;
    row.cells[11] = StrFormat("%d", dataLength[0] | dataLength[1] << 8);
    return static_cast<int>(d0 + static_cast<long long>(at.length));
}

void CBroadcastReplyTestDlg::AppendReplyRows(std::vector<BroadcastReplyRow>& rows) {
    if (!IsCreated()) return;
    for (BroadcastReplyRow& row : rows) {
        if (m_rowCount >= kMaxRows) {
            ++m_droppedRows;
            continue;
        }
        // Every answer has its row and number, also one cut before its address.
        row.cells[1] = StrFormat("%04u", m_rowCount);
        m_macRecords[m_rowCount] = std::move(row.mac);
        ++m_rowCount;
        ListCell cells[kColumns] = {TimeCell(row.cells[0]),  ListCell::Text(row.cells[1]),
                                    ListCell::Text(row.cells[2]),  ListCell::Text(row.cells[3]),
                                    ListCell::Text(row.cells[4]),  ListCell::Text(row.cells[5]),
                                    ListCell::Text(row.cells[6]),  ListCell::Text(row.cells[7]),
                                    ListCell::Text(row.cells[8]),  ListCell::Text(row.cells[9]),
                                    ListCell::Text(row.cells[10]), ListCell::Text(row.cells[11])};
        m_replyList.AppendCells(cells, kColumns);
    }
}

void CBroadcastReplyTestDlg::ClearList() {
    {
        // Answers taken in before the clear go with the rows.
        std::lock_guard<std::mutex> lock(m_pendingLock);
        m_pendingRows.clear();
    }
    m_replyList.DeleteAllItems();
    m_rowCount = 0;
}

void CBroadcastReplyTestDlg::OnStatistics() {
    std::string dsn = GetDlgItemText(IDC_BROADCAST_TEST_DSN);
    if (dsn.empty()) {
        ShowMessageBox("请输入查找的DSN");
        return;
    }
    ByteString bytes;
    HexTextToBytes(dsn, bytes, 0);
    dsn.clear();
    BytesToHexText(dsn, bytes);

    // Per device in order of first appearance: the distinct current report counts seen.
    std::vector<std::string> devices;
    std::vector<std::vector<uint8_t>> counts;
    uint32_t devicesLeftOut = 0;
    const int rows = m_replyList.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        if (m_replyList.GetItemText(r, kDsnColumn) != dsn) continue;
        const std::string mac = m_replyList.GetItemText(r, kMacColumn);
        size_t d = 0;
        while (d < devices.size() && devices[d] != mac) ++d;
        if (d == devices.size()) {
            if (devices.size() >= kMaxDevices) {
                ++devicesLeftOut;
                continue;
            }
            devices.push_back(mac);
            counts.emplace_back();
        }
        const uint8_t value = static_cast<uint8_t>(LeadingWholeNumber(m_replyList.GetItemText(r, kCurrentCountColumn)));
        std::vector<uint8_t>& seen = counts[d];
        bool known = false;
        for (uint8_t v : seen) known = known || v == value;
        if (!known && seen.size() < kMaxCounts) seen.push_back(value);
    }
    std::string result;
    for (size_t d = 0; d < devices.size(); ++d)
        result += devices[d] + ": " + StrFormat("%d", static_cast<int>(counts[d].size())) + "\r\n";
    if (result.empty()) {
        ShowMessageBox("无此DSN");
        return;
    }
    if (devicesLeftOut) AppendFormat(result, "另有%u个设备未统计\r\n", devicesLeftOut);
    ShowMessageBox(result, "广播应答测试", kMbOk);
}

std::string CBroadcastReplyTestDlg::ExportHeader() {
    std::string header = FormatColumnTitles(kExportFormat, kExportTitles, kColumns);
    header.pop_back();  // the line feed
    return header;
}

void CBroadcastReplyTestDlg::OnExportData() {
    ExportListRows("ROUTEREXPORT, ", ExportHeader() + "\n", m_replyList, kColumns);
}

void CBroadcastReplyTestDlg::OnImportData() {
    ListImport import;
    import.parse = [](const std::string& line, std::vector<std::string>& cells) {
        return ParseExportCells(line, kColumns, cells) || ParseFixedCells(line, kColumns, 24, 13, cells);
    };
    import.full = [this] { return m_rowCount >= kMaxRows; };
    import.columns = kColumns;
    import.add = [this](const std::vector<std::string>& cells) {
        ByteString& mac = m_macRecords[m_rowCount];
        mac.clear();
        HexTextToBytes(cells[kMacColumn], mac, 0);
        m_replyList.AppendRow(cells);
        ++m_rowCount;
    };
    m_droppedRows += ImportListRows(import);
}
