// The module test panel's upgrade-file group: an image is chosen, and its upgrade file is
// written next to it under the version typed.

#include "commands/TestDlg/test_dlg.h"

void CTestDlg::OnSelectUpgradeFile() {
    FileDialogRequest request;
    request.open = true;
    request.filter = ".BIN Files(*.bin)|*.bin||";
    m_upgradeFilePath = ShowFileDialog(request);
    SetDlgItemText(IDC_PANEL_UPGRADE_VERSION, VersionTextOfImage(m_upgradeFilePath));
}

void CTestDlg::ProcessUpgradeFile(UpgradeForm form) {
    const UpgradeOutcome outcome =
        PrepareUpgradeFile(form, m_upgradeFilePath, GetDlgItemText(IDC_PANEL_UPGRADE_VERSION));
    if (!outcome.refusal.empty()) ShowMessageBox(outcome.refusal);
}
