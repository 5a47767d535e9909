#include "app/app.h"

#include "app/main_tester_dlg.h"

bool CBrevantiApp::InitInstance() {
    SetApplicationTitle("KV3391T");
    CMainTesterDlg dlg;
    dlg.DoModal();
    return false;
}
