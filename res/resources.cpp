// Lookup of dialog templates, menus and strings by resource id.
// A new template: declare its function in templates.h and add one row below.

#include "platform/dialog_template.h"
#include "templates.h"
#include "tool_dialogs.h"

namespace {

struct DialogEntry {
    int id;
    const DialogTemplate& (*get)();
};

struct MenuEntry {
    int id;
    const MenuTemplate& (*get)();
};

const DialogEntry kDialogs[] = {
    {100, AboutDialogTemplate},
    {102, MainDialogTemplate},
};

const MenuEntry kMenus[] = {
    {kMainMenuId, MainMenuTemplate},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogEntry& e : kDialogs) {
        if (e.id == id) return &e.get();
    }
    return FindToolDialogTemplate(id);
}

const MenuTemplate* FindMenuTemplate(int id) {
    for (const MenuEntry& e : kMenus) {
        if (e.id == id) return &e.get();
    }
    return nullptr;
}

const char* LoadResString(int id) {
    const char* s = FindStringEntry(id);
    return s ? s : "";
}
