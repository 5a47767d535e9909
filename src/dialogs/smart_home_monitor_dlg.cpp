#include "dialogs/smart_home_monitor_dlg.h"

#include "dialogs/frame_log.h"
#include "dialogs/text_export.h"
#include "platform/local_time.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

constexpr int kColumns = 6;
constexpr const char* kExportFormat = "%12s      %-12s   %-12s   %-12s   %-12s   %-12s     \n";
const char* const kExportTitles[kColumns] = {"时间", "编号", "类型", "源地址", "目的地址", "APS数据"};

}  // namespace

CSmartHomeMonitorDlg::CSmartHomeMonitorDlg(MainWindowPort& window) : Dialog(IDD_SMART_HOME_MONITOR), m_window(window) {
    MapCommand(IDC_SMART_HOME_EXPORT, Notify::Clicked, [this] { OnExportFrameList(); });
    MapCommand(IDC_SMART_HOME_CLEAR, Notify::Clicked, [this] { OnClearFrames(); });
    MapCommand(IDC_SMART_HOME_LIST, Notify::DblClick, [this] { OnDblclkFrameList(); });
}

bool CSmartHomeMonitorDlg::OnInitDialog() {
    m_frameList = ListView(GetDlgItem(IDC_SMART_HOME_LIST));
    LayoutControls();
    m_frameList.SetExtendedStyle(ListView::kExGridLines | ListView::kExFullRowSelect | ListView::kExFlatScrollBars);
    static const struct {
        const char* title;
        int width;
        ListView::Align align;
    } kListColumns[kColumns] = {{"时间", 150, ListView::kCenter},   {"序号", 50, ListView::kCenter},
                                {"类型", 50, ListView::kLeft},      {"源地址", 100, ListView::kCenter},
                                {"目的地址", 100, ListView::kCenter}, {"报文显示", 1000, ListView::kLeft}};
    for (int i = 0; i < kColumns; ++i)
        m_frameList.InsertColumn(i, kListColumns[i].title, kListColumns[i].width, kListColumns[i].align);
    m_frameList.SetColumnAlign(0, ListView::kRight);
    return true;
}

void CSmartHomeMonitorDlg::LayoutControls() {
    const Rect r = GetWindowRect();
    const double W = r.Width(), H = r.Height();
    auto place = [&](int id, double x, double y, double w, double h) {
        GetDlgItem(id).Move(static_cast<int>(W * x), static_cast<int>(H * y), static_cast<int>(W * w),
                            static_cast<int>(H * h));
    };
    place(IDC_SMART_HOME_GROUP, 0, 0, 0.999, 0.999);
    place(IDC_SMART_HOME_EXPORT, 0.025, 0.05, 0.12, 0.045);
    place(IDC_SMART_HOME_CLEAR, 0.15, 0.05, 0.12, 0.045);
    place(IDC_SMART_HOME_LIST, 0.018, 0.17, 0.97, 0.8);
}

void CSmartHomeMonitorDlg::OnSize(int /*width*/, int /*height*/) {
    if (IsCreated() && m_frameList.IsValid()) LayoutControls();
}

void CSmartHomeMonitorDlg::AddFrameRow(const std::string& source, const std::string& destination,
                                       const std::string& frame) {
    const int r = m_frameList.GetItemCount();
    m_frameList.AppendRow({FormatTimeStamp(GetLocalTime()), StrFormat("%02d", r), "数据帧", source, destination, frame});
}

void CSmartHomeMonitorDlg::ClearList() { m_frameList.DeleteAllItems(); }

void CSmartHomeMonitorDlg::OnDblclkFrameList() {
    const std::vector<int> selected = m_frameList.GetSelectedRows();
    if (selected.empty()) return;
    m_window.ShowDetailText(m_frameList.GetItemText(selected.front(), 5));
}

void CSmartHomeMonitorDlg::OnClearFrames() {
    if (ShowMessageBox("确认要清除报文吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    ClearList();
}

void CSmartHomeMonitorDlg::OnExportFrameList() {
    ExportListRows("APSDATAEXPORT, ", FormatColumnTitles(kExportFormat, kExportTitles, kColumns), m_frameList, kColumns);
}
