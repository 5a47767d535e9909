// The program's resources as the platform's lookups find them.

#include <gtest/gtest.h>

#include "platform/dialog_template.h"
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
