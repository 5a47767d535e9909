#pragma once

#include "platform/ui.h"
#include "res/resource_ids.h"

// The about box.
class CAboutDlg : public Dialog {
public:
    CAboutDlg() : Dialog(IDD_ABOUTBOX) {}
};
