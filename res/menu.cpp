// Menu bar of the main window: four commands, no popups. The network settings have no item.

#include "templates.h"

const MenuTemplate& MainMenuTemplate() {
    static const MenuTemplate menu{
        IDR_MAIN_MENU,
        {
            {IDM_SERIAL_SETTINGS, "串口设置", {}},
            {IDM_IMPORT_FRAMES, "报文导入", {}},
            {IDM_EXPORT_FRAMES, "报文导出", {}},
            {IDM_CLEAR_FRAME_LISTS, "清除报文", {}},
        },
    };
    return menu;
}
