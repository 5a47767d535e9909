#include "dialogs/frame_type_dlg.h"

#include "res/resource_ids.h"

CFrameTypeDlg::CFrameTypeDlg() : Dialog(IDD_FRAME_TYPE) {}

bool CFrameTypeDlg::OnInitDialog() {
    const std::string about = LoadResString(IDS_ABOUTBOX);
    if (!about.empty()) {
        AppendSystemMenuItem(0, "");
        AppendSystemMenuItem(IDM_ABOUTBOX, about);
    }
    return true;
}
