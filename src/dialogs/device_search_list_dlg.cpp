#include "dialogs/device_search_list_dlg.h"

#include <algorithm>
#include <utility>

#include "analyzer/analyzer.h"
#include "dialogs/frame_log.h"
#include "dialogs/text_export.h"
#include "link/conversions.h"
#include "link/received_frame.h"
#include "platform/gbk.h"
#include "platform/local_time.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

constexpr int kColumns = 10;
constexpr int kRoutingColumns = 8;

constexpr const char* kExportFormat =
    "%12s      %-12s   %-12s   %-12s  %-12s    %-12s  %-12s    %-12s   %-12s   %-12s     \n";
constexpr const char* kRoutingFormat = "%12s      %-12s   %-12s   %-12s  %-12s    %-12s   %-12s   %-12s     \n";

const char* const kExportTitles[kColumns] = {"时间",     "编号",     "地址",     "深度",     "网络状态",
                                              "设备类别", "地址模式", "组播地址", "属性长度", "属性"};
// The routing file carries the first eight columns; its titles name them.
const char* const kRoutingTitles[kRoutingColumns] = {"时间",     "编号",     "地址",     "深度",
                                                      "网络状态", "设备类别", "地址模式", "组播地址"};

std::string TrimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return text;
}

}  // namespace

CDeviceSearchListDlg::CDeviceSearchListDlg(MainWindowPort& window)
    : Dialog(IDD_DEVICE_SEARCH_LIST), m_keepMarks(kMaxRows, 1), m_macRecords(kMaxRows), m_window(window) {
    MapCommand(IDC_SEARCH_LIST_DELETE, Notify::Clicked, [this] { OnDeleteDevices(); });
    MapCommand(IDC_SEARCH_LIST_CLEAR, Notify::Clicked, [this] { OnClearList(); });
    MapCommand(IDC_SEARCH_LIST_EXPORT, Notify::Clicked, [this] { OnExportDeviceList(); });
    MapCommand(IDC_SEARCH_LIST_IMPORT, Notify::Clicked, [this] { OnImportDeviceList(); });
    MapCommand(IDC_SEARCH_LIST_COUNT_STATES, Notify::Clicked, [this] { OnCountByNetworkState(); });
    MapCommand(IDC_SEARCH_LIST_COUNT_DEPTHS, Notify::Clicked, [this] { OnCountByDepth(); });
}

void CDeviceSearchListDlg::DoDataExchange() { m_deviceList.Attach(*this, IDC_SEARCH_DEVICE_LIST); }

bool CDeviceSearchListDlg::OnInitDialog() {
    DoDataExchange();
    std::fill(m_keepMarks.begin(), m_keepMarks.end(), 1);
    m_rowCount = 0;
    static const struct {
        const char* title;
        int width;
    } kListColumns[kColumns] = {{"TIME", 170}, {"seq", 45},      {"MACID", 100},   {"Depth", 50}, {"net", 60},
                                {"Devmode", 120}, {"groupmode", 80}, {"groupID", 80}, {"len", 45},   {"Attribute", 500}};
    for (int i = 0; i < kColumns; ++i)
        m_deviceList.InsertColumn(i, kListColumns[i].title, kListColumns[i].width, ListView::kCenter);
    m_deviceList.SetColumnAlign(0, ListView::kRight);
    return true;
}

void CDeviceSearchListDlg::OnClose() {
    m_window.EnableControl(IDC_SHOW_SEARCH_LIST);
    ShowWindow(false);
}

const char* CDeviceSearchListDlg::NetStateText(uint8_t state) {
    static const char* const kNames[] = {"不在网", "属于自己", "属于其他", "未知"};
    return state < 4 ? kNames[state] : "保留";
}

const char* CDeviceSearchListDlg::DeviceTypeText(uint8_t type) {
    static const char* const kNames[] = {"不区分设备", "网关", "云服务器", "8182MAC地址", "07MAC地址", "BLEMAC地址"};
    return type < 6 ? kNames[type] : "出错";
}

const char* CDeviceSearchListDlg::MulticastFlagText(uint8_t flag) { return flag == 1 ? "组播" : "非组播"; }

void CDeviceSearchListDlg::OnSearchReportFrame(ByteString frame) {
    std::string text;
    for (unsigned char b : frame) AppendFormat(text, "%02X ", b);
    text += "\n";
    std::vector<SearchedDeviceRow> rows = ProcessSearchReport(std::move(frame), text, 0);
    auto apply = [this, text = std::move(text), rows = std::move(rows)] {
        AppendDeviceRows(rows);
        SetDlgItemText(IDC_SEARCH_LIST_PANE, text);
    };
    if (IsUiThread())
        apply();
    else
        PostTask(std::move(apply));
}

std::vector<SearchedDeviceRow> CDeviceSearchListDlg::ProcessSearchReport(ByteString frame, std::string& text,
                                                                         int start) {
    AnalyzeFrame(frame, text, m_window);
    std::vector<SearchedDeviceRow> rows;
    if (ReceivedFrame(frame).IsNormalAnswer()) AddSearchedDevices(std::move(frame), start, rows);
    return rows;
}

int CDeviceSearchListDlg::AddSearchedDevices(ByteString frame, int start, std::vector<SearchedDeviceRow>& rows) {
    FrameCursor in = ReceivedFrame(frame).Cursor(static_cast<long long>(start) + ReceivedFrame::kFirstDataByte);
    const int count = in.ByteOrZero();  // one byte: at most 255 entries
    for (int entry = 0; entry < count; ++entry) {
        const std::string time = FormatTimeStamp(GetLocalTime());
        const unsigned char* mac = in.Span(6);
        if (!mac) return -1;
        rows.emplace_back();
        SearchedDeviceRow& row = rows.back();
        row.cells[0] = time;
        row.mac.append(std::make_reverse_iterator(mac + 6), std::make_reverse_iterator(mac));
        BytesToHexText(row.cells[2], row.mac);
        in.Advance(6);

        if (!in.Has(2)) return -1;
        int column = 3;
        DeviceInfoWord fields;
        FormatDeviceInfoWord(frame, static_cast<int>(in.Position()), row, column, fields);
        in.Advance(2);

        if (fields.multicastFlag == 1) {
            const unsigned char* group = in.Span(2);
            if (!group) return -1;
            row.cells[7] = StrFormat("%02X%02X", group[1], group[0]);
            in.Advance(2);
        }

        if (!in.Has(1)) return -1;
        const int length = in.ByteOrZero();
        row.cells[8] = StrFormat("%d", length);

        if (!in.Has(static_cast<size_t>(length))) return -1;
        BytesToHexText(row.cells[9], in.BytesOrZero(static_cast<size_t>(length)));
    }
    return static_cast<int>(in.Position());
}

int CDeviceSearchListDlg::FormatDeviceInfoWord(const ByteString& frame, int pos, SearchedDeviceRow& row, int& column,
                                               DeviceInfoWord& fields) {
    fields = UnpackDeviceInfoWord(FrameWord(frame, pos));
    row.cells[column] = StrFormat("%02d", fields.depth);
    row.cells[column + 1] = NetStateText(fields.netState);
    row.cells[column + 2] = DeviceTypeText(fields.deviceType);
    row.cells[column + 3] = MulticastFlagText(fields.multicastFlag);
    column += 4;
    return pos + 2;
}

void CDeviceSearchListDlg::AppendDeviceRows(const std::vector<SearchedDeviceRow>& rows) {
    if (!IsCreated()) return;
    for (const SearchedDeviceRow& device : rows) {
        if (m_rowCount >= kMaxRows) {
            ++m_droppedRows;
            continue;
        }
        const uint32_t r = m_rowCount;
        m_macRecords[r] = device.mac;
        std::vector<std::string> cells(device.cells, device.cells + kColumns);
        ++m_rowCount;
        cells[1] = StrFormat("%04u", m_rowCount);
        m_deviceList.AppendRow(cells);
    }
}

void CDeviceSearchListDlg::OnDeleteDevices() {
    const std::vector<int> selected = m_deviceList.GetSelectedRows();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        m_deviceList.DeleteItem(*it);
        if (*it >= 0 && static_cast<uint32_t>(*it) < kMaxRows) m_keepMarks[static_cast<size_t>(*it)] = 0;
    }
    const int rows = m_deviceList.GetItemCount();
    for (int i = 0; i < rows; ++i) m_deviceList.SetItemText(i, 1, StrFormat("%04d", i + 1));
    uint32_t kept = 0;
    const uint32_t used = std::min(m_rowCount, kMaxRows);
    for (uint32_t i = 0; i < used; ++i) {
        if (m_keepMarks[i]) {
            if (kept != i) m_macRecords[kept] = std::move(m_macRecords[i]);
            ++kept;
        } else {
            m_keepMarks[i] = 1;
        }
    }
    m_rowCount = kept;
}

void CDeviceSearchListDlg::OnClearList() {
    m_deviceList.DeleteAllItems();
    m_rowCount = 0;
}

std::string CDeviceSearchListDlg::ExportHeader() {
    std::string header = FormatColumnTitles(kExportFormat, kExportTitles, kColumns);
    header.pop_back();  // the line feed
    return header;
}

void CDeviceSearchListDlg::OnExportDeviceList() {
    ExportListRows("ROUTEREXPORT, ", ExportHeader() + "\n", m_deviceList, kColumns);
}

void CDeviceSearchListDlg::OnImportDeviceList() {
    // The header tells the layout to try first; a line may still be in the other one.
    bool exportLayout = false;
    ListImport import;
    import.header = [&exportLayout](const std::string& header) {
        exportLayout = TrimRight(header) == TrimRight(ExportHeader());
    };
    import.parse = [&exportLayout](const std::string& line, std::vector<std::string>& cells) {
        auto exported = [&] { return ParseExportCells(line, kColumns, cells, true); };
        auto fixed = [&] { return ParseFixedCells(line, kColumns, 24, 13, cells); };
        return exportLayout ? exported() || fixed() : fixed() || exported();
    };
    import.full = [this] { return m_rowCount >= kMaxRows; };
    import.columns = kColumns;
    import.add = [this](const std::vector<std::string>& cells) {
        ByteString& mac = m_macRecords[m_rowCount];
        mac.clear();
        HexTextToBytes(cells[2], mac, 0);
        m_deviceList.AppendRow(cells);
        ++m_rowCount;
    };
    m_droppedRows += ImportListRows(import);
}

void CDeviceSearchListDlg::OnCountByNetworkState() {
    static const char* const kStates[] = {"不在网", "属于自己", "属于其他", "未知", "保留"};
    int counts[5] = {};
    const int rows = m_deviceList.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        const std::string text = m_deviceList.GetItemText(r, 4);
        for (int k = 0; k < 5; ++k)
            if (text == kStates[k]) ++counts[k];
    }
    const std::string text = StrFormat("不在网 : %d\n属于自己: %d\n属于其他: %d\n未知   : %d\n保留   : %d\n", counts[0],
                                       counts[1], counts[2], counts[3], counts[4]);
    ShowMessageBox(text, "网络状态", kMbOk);
}

void CDeviceSearchListDlg::OnCountByDepth() {
    int d[16] = {};
    const int rows = m_deviceList.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        const std::string text = m_deviceList.GetItemText(r, 3);
        for (int k = 0; k < 16; ++k)
            if (text == StrFormat("%02d", k)) ++d[k];
    }
    std::string text;
    AppendFormat(text, "0:      %d      1:      %d      2:      %2d\n", d[0], d[1], d[2]);
    AppendFormat(text, "3:      %d      4:      %d      5:      %d\n", d[3], d[4], d[5]);
    AppendFormat(text, "6:      %d      7:      %d      8:      %d\n", d[6], d[7], d[8]);
    AppendFormat(text, "9:      %d      10:     %d      11:     %d\n", d[9], d[10], d[11]);
    AppendFormat(text, "12:     %d      13:     %d      14:    %d\n", d[12], d[13], d[14]);
    AppendFormat(text, "15:     %d         \n", d[15]);
    ShowMessageBox(text, "DepthInfo", kMbOk);
}

void CDeviceSearchListDlg::AutoExportRouting() {
    const std::string name = " routing, " + FileNameStamp(GetLocalTime()) + ".txt";
    // Fails silently; the rows stay unless all of them reached the file.
    if (WriteTextFile(m_routingFile, name,
                      RowsText(FormatColumnTitles(kRoutingFormat, kRoutingTitles, kRoutingColumns), m_deviceList,
                               kRoutingColumns)))
        OnClearList();
}
