#include "commands/address_list_commands.h"

#include "commands/batch_tests.h"
#include "dialogs/meter_manage_dlg.h"
#include "dialogs/text_export.h"
#include "link/conversions.h"
#include "platform/local_time.h"
#include "res/resource_ids.h"

namespace {

constexpr int kAddressColumn = 1;
constexpr int kResultColumn = 2;
constexpr int kTimeColumn = 3;

}  // namespace

void AddressListCommands::MapButtons() {
    Dialog& w = m_window.Page();
    w.MapCommand(IDC_ADD_ADDRESS, Notify::Clicked, [this] { AddAddresses(); });
    w.MapCommand(IDC_CLEAR_TEST_RESULTS, Notify::Clicked, [this] { ClearResults(); });
    w.MapCommand(IDC_DELETE_ADDRESSES, Notify::Clicked, [this] { DeleteChecked(); });
    w.MapCommand(IDC_INVERT_CHECKS, Notify::Clicked, [this] { InvertChecks(); });
    w.MapCommand(IDC_SELECT_FAILED, Notify::Clicked, [this] { CheckFailedRows(); });
    w.MapCommand(IDC_ADDRESS_LIST, Notify::Click, [this] { ToggleSelected(); });
    w.MapCommand(IDC_EXPORT_RESULTS, Notify::Clicked, [this] { ExportResults(); });
}

void AddressListCommands::AddAddresses() {
    CMeterManageDlg meters(m_window.AddressList());
    meters.DoModal();
}

void AddressListCommands::ClearResults() {
    if (ShowMessageBox("确认要清除选中地址的测试结果吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    BlankCheckedResults(m_window.AddressList());
}

void AddressListCommands::DeleteChecked() {
    if (ShowMessageBox("确认要清除选中表地址吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    ListView list = m_window.AddressList();
    for (int r = list.GetItemCount(); r-- > 0;) {
        if (list.GetCheck(r)) list.DeleteItem(r);
    }
}

void AddressListCommands::InvertChecks() {
    ListView list = m_window.AddressList();
    for (int r = list.GetItemCount(); r-- > 0;) list.SetCheck(r, !list.GetCheck(r));
}

void AddressListCommands::CheckFailedRows() {
    ListView list = m_window.AddressList();
    for (int r = list.GetItemCount(); r-- > 0;)
        list.SetCheck(r, list.GetItemText(r, kResultColumn) == StatusText(TestStatus::Failure));
}

void AddressListCommands::ToggleSelected() {
    ListView list = m_window.AddressList();
    const int rows = list.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        if (list.GetItemState(r, ListView::kStateSelected) != 0) list.SetCheck(r, !list.GetCheck(r));
    }
}

void AddressListCommands::ExportResults() {
    TextFileDialog dialog;
    dialog.fileName = "ResultExport, " + FileNameStamp(GetLocalTime()) + ".txt";
    const ListView list = m_window.AddressList();
    ExportTextFile(dialog, "导出失败！", [&list](std::string& text) {
        const int rows = list.GetItemCount();
        if (rows == 0) return false;
        auto padded = [](std::string cell, int width) {
            PadRightBlanks(cell, width);
            return cell;
        };
        text = padded("地址", 12) + "    " + padded("结果", 6) + "  " + padded("时间", 6) + "\n";
        for (int r = 0; r < rows; ++r) {
            for (int c : {kAddressColumn, kResultColumn, kTimeColumn}) text += list.GetItemText(r, c) + "    ";
            text += "\n";
        }
        return true;
    });
}
