#pragma once
// The frame type page: the fields of a carrier frame's header, shown for reference; nothing is
// read from them yet.

#include "platform/ui.h"

class CFrameTypeDlg : public Dialog {
public:
    CFrameTypeDlg();

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
};
