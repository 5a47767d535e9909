#pragma once
// The checksum calculator: the 8-bit sum or XOR of a typed frame.

#include "platform/ui.h"

class CChecksumDlg : public Dialog {
public:
    CChecksumDlg();
    void OnCompute();

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { DestroyWindow(); }
};
