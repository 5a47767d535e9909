#pragma once

#include "platform/ui.h"

// The about box.
class CAboutDlg : public Dialog {
public:
    CAboutDlg() : Dialog(100) {}
};
