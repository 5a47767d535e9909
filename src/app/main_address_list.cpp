// The address list of the main window: its commands, the results file, and the buttons of the
// jobs that run over its checked rows.

#include "app/main_tester_dlg.h"
#include "commands/combo_mappers.h"
#include "commands/field_readers.h"
#include "commands/page_payloads.h"
#include "dialogs/frame_log.h"
#include "dialogs/text_export.h"
#include "link/conversions.h"
#include "link/module_command.h"
#include "link/word_layouts.h"
#include "platform/gbk.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

constexpr int kAddressColumn = 1;
constexpr int kResultColumn = 2;
constexpr int kTimeColumn = 3;

}  // namespace

void CMainTesterDlg::MapAddressListHandlers() {
    MapCommand(IDC_ADD_ADDRESS, Notify::Clicked, [this] { OnAddAddress(); });
    MapCommand(IDC_CLEAR_TEST_RESULTS, Notify::Clicked, [this] { OnClearTestResults(); });
    MapCommand(IDC_DELETE_ADDRESSES, Notify::Clicked, [this] { OnDeleteAddresses(); });
    MapCommand(IDC_INVERT_CHECKS, Notify::Clicked, [this] { OnInvertChecks(); });
    MapCommand(IDC_SELECT_FAILED, Notify::Clicked, [this] { OnSelectFailedRows(); });
    MapCommand(IDC_ADDRESS_LIST, Notify::Click, [this] { OnAddressListClick(); });
    MapCommand(IDC_EXPORT_RESULTS, Notify::Clicked, [this] { OnExportResults(); });
    for (int id : m_addressJobs.Buttons()) MapCommand(id, Notify::Clicked, [this, id] { m_addressJobs.OnButton(id); });
}

// ---- Commands of the list ----

void CMainTesterDlg::OnAddAddress() {
    CMeterManageDlg meters(m_addressList);
    meters.DoModal();
}

void CMainTesterDlg::OnClearTestResults() {
    if (ShowMessageBox("确认要清除选中地址的测试结果吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    BlankCheckedResults(m_addressList);
}

void CMainTesterDlg::OnDeleteAddresses() {
    if (ShowMessageBox("确认要清除选中表地址吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    for (int r = m_addressList.GetItemCount(); r-- > 0;) {
        if (m_addressList.GetCheck(r)) m_addressList.DeleteItem(r);
    }
}

void CMainTesterDlg::OnInvertChecks() {
    for (int r = m_addressList.GetItemCount(); r-- > 0;) m_addressList.SetCheck(r, !m_addressList.GetCheck(r));
}

void CMainTesterDlg::OnSelectFailedRows() {
    for (int r = m_addressList.GetItemCount(); r-- > 0;)
        m_addressList.SetCheck(r, m_addressList.GetItemText(r, kResultColumn) == StatusText(TestStatus::Failure));
}

void CMainTesterDlg::OnAddressListClick() {
    const int rows = m_addressList.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        if (m_addressList.GetItemState(r, ListView::kStateSelected) != 0)
            m_addressList.SetCheck(r, !m_addressList.GetCheck(r));
    }
}

void CMainTesterDlg::OnExportResults() {
    TextFileDialog dialog;
    dialog.fileName = "ResultExport, " + FileNameStamp(GetLocalTime()) + ".txt";
    ExportTextFile(dialog, "导出失败！", [this](std::string& text) {
        const int rows = m_addressList.GetItemCount();
        if (rows == 0) return false;
        auto padded = [](std::string cell, int width) {
            PadRightBlanks(cell, width);
            return cell;
        };
        text = padded("地址", 12) + "    " + padded("结果", 6) + "  " + padded("时间", 6) + "\n";
        for (int r = 0; r < rows; ++r) {
            for (int c : {kAddressColumn, kResultColumn, kTimeColumn}) text += m_addressList.GetItemText(r, c) + "    ";
            text += "\n";
        }
        return true;
    });
}

void CMainTesterDlg::StopBatchTests() { m_addressJobs.StopAll(); }
