#include "commands/TestDlg/test_dlg.h"

void CTestDlg::ShowGroup(int pageCode) { m_group = pageCode; }
