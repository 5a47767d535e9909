// The main window's image comparison: the master image and the image to compare are chosen,
// and the verdict replaces the text of the result pane.

#include "app/main_tester_dlg.h"
#include "commands/image_compare.h"
#include "res/resource_ids.h"

namespace {

std::string AskImagePath() {
    FileDialogRequest request;
    request.open = true;
    request.filter = ".BIN Files(*.bin)|*.bin||";
    return ShowFileDialog(request);
}

}  // namespace

void CMainTesterDlg::MapImageCompareHandlers() {
    MapCommand(IDC_CHOOSE_MASTER_IMAGE, Notify::Clicked, [this] { OnSelectMasterFile(); });
    MapCommand(IDC_CHOOSE_COMPARE_IMAGE, Notify::Clicked, [this] { OnSelectCompareFile(); });
    MapCommand(IDC_COMPARE_IMAGES, Notify::Clicked, [this] { OnCompareFiles(); });
}

void CMainTesterDlg::OnSelectMasterFile() { m_masterBinPath = AskImagePath(); }

void CMainTesterDlg::OnSelectCompareFile() { m_compareBinPath = AskImagePath(); }

void CMainTesterDlg::OnCompareFiles() {
    ShowCompareResult(ComparisonText(CompareImageFiles(m_masterBinPath, m_compareBinPath)));
}

void CMainTesterDlg::ShowCompareResult(const std::string& text) {
    m_resultEdit.SetSel(0, -1);
    m_resultEdit.ReplaceSel(text + "\r\n");
}
