#pragma once
// The serial settings dialog.

#include "platform/ui.h"

class CSerialSettingsDlg : public Dialog {
public:
    CSerialSettingsDlg() : Dialog(165) {}
};
