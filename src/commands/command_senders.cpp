// The command buttons of the main window's pages.

#include "app/main_tester_dlg.h"

void CMainTesterDlg::MapCommandSenders() {}
