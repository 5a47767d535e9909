// The program's resources as the platform's lookups find them.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/dialog_template.h"
#include "res/resource_ids.h"
#include "res/resources.h"

TEST(Resources, RegisteredWithThePlatform) {
    RegisterResources();
    RegisterResources();  // a second call changes nothing
    // The main window, the about box, a tool dialog, a child page and the serial settings.
    for (int id : {102, 100, 132, 148, 165}) {
        const DialogTemplate* t = FindDialogTemplate(id);
        ASSERT_NE(t, nullptr) << id;
        EXPECT_EQ(t->id, id);
    }
    EXPECT_EQ(FindDialogTemplate(999), nullptr);
    const int menuId = FindDialogTemplate(102)->menuId;
    ASSERT_NE(FindMenuTemplate(menuId), nullptr);
    EXPECT_EQ(FindMenuTemplate(menuId)->id, menuId);
    EXPECT_EQ(FindMenuTemplate(999), nullptr);
    EXPECT_STREQ(LoadResString(102), "81系统调试软件 ");
    EXPECT_STREQ(LoadResString(103), "");
}

TEST(Resources, TheMainMenuHoldsItsFourCommandsAndNoOther) {
    RegisterResources();
    const MenuTemplate* menu = FindMenuTemplate(FindDialogTemplate(IDD_MAIN_TESTER)->menuId);
    ASSERT_NE(menu, nullptr);
    std::vector<std::pair<int, std::string>> items;
    for (const MenuItemTemplate& item : menu->items) {
        EXPECT_TRUE(item.children.empty()) << item.caption;
        items.emplace_back(item.id, item.caption);
    }
    const std::vector<std::pair<int, std::string>> expected = {{IDM_SERIAL_SETTINGS, "串口设置"},
                                                               {IDM_IMPORT_FRAMES, "报文导入"},
                                                               {IDM_EXPORT_FRAMES, "报文导出"},
                                                               {IDM_CLEAR_FRAME_LISTS, "清除报文"}};
    EXPECT_EQ(items, expected);
}
