#pragma once
// The module test panel: a page of the main window with groups of module commands.

#include "platform/ui.h"

class CTestDlg : public Dialog {
public:
    CTestDlg() : Dialog(193) {}
    // Shows the control group of a function page code.
    void ShowGroup(int pageCode);
    int CurrentGroup() const { return m_group; }

protected:
    void OnOK() override {}
    void OnCancel() override {}

private:
    int m_group = 0;
};
