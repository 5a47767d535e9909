// About box (IDD_ABOUTBOX).

#include "platform/ui.h"
#include "templates.h"

const DialogTemplate& AboutDialogTemplate() {
    using K = ControlKind;
    using S = ControlStyle;
    static const DialogTemplate t{
        IDD_ABOUTBOX,
        "关于 Brevantor",
        TemplateUnits::DialogUnits,
        235,
        55,
        "SimSun",
        9,
        kDlgSystemMenu,
        0,
        {
            {-1, K::Picture, "128", 11, 17, 20, 20, S::kNone},  // IDR_MAIN_ICON
            {-1, K::Static, "Brevantor  150918版", 40, 10, 119, 8, S::kNone},
            {-1, K::Static, "Copyright (C) 2015", 40, 25, 119, 8, S::kNone},
            {kIdOk, K::DefPushButton, "确定", 178, 7, 50, 14, S::kNone},
        },
    };
    return t;
}
