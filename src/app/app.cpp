#include "app/app.h"

#include "app/main_tester_dlg.h"

bool CBrevantiApp::InitInstance() {
    SetApplicationTitle("KV3391T");
    CMainTesterDlg dlg;
    CMainTesterDlg::SetInstance(&dlg);
    dlg.DoModal();
    CMainTesterDlg::SetInstance(nullptr);
    return false;
}
