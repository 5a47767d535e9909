// Lookup of dialog templates, menus and strings by resource id, registered with the platform.
// A new template: declare its function in templates.h and add one row below.

#include "resources.h"

#include <mutex>

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

const DialogTemplate* DialogById(int id) {
    for (const DialogEntry& e : kDialogs) {
        if (e.id == id) return &e.get();
    }
    if (const DialogTemplate* t = FindToolDialogTemplate(id)) return t;
    return FindDormantDialogTemplate(id);
}

const char* ImageById(int id) {
    switch (id) {
        case IDR_MAIN_ICON: return KVT_RES_DIR "/icon128.png";
        case IDR_WARNING_BITMAP: return KVT_RES_DIR "/bitmap195.png";
        default: return nullptr;
    }
}

const MenuTemplate* MenuById(int id) {
    for (const MenuEntry& e : kMenus) {
        if (e.id == id) return &e.get();
    }
    return nullptr;
}

}  // namespace

void RegisterResources() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterResourceSource({DialogById, MenuById, FindStringEntry});
        RegisterImageSource(ImageById);
    });
}
