// Menu bar of the main window: four commands, no popups.

#include "templates.h"

const MenuTemplate& MainMenuTemplate() {
    static const MenuTemplate menu{
        kMainMenuId,
        {
            {3771, "串口设置", {}},
            {3773, "报文导入", {}},
            {3774, "报文导出", {}},
            {3776, "清除报文", {}},
        },
    };
    return menu;
}
