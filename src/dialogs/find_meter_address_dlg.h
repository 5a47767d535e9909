#pragma once
// Looks up the long addresses of typed short addresses (4 digits each).

#include <string>

#include "platform/ui.h"

class CFindMeterAddressDlg : public Dialog {
public:
    CFindMeterAddressDlg();
    void OnFind();
    // The long address of a short address; false when it is not known (no table is kept yet).
    static bool FindLongAddress(const std::string& shortAddress, std::string& longAddress);

protected:
    void OnOK() override {}
    void OnDestroy() override;
};
