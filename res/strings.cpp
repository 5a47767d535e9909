// String table.

#include "templates.h"

namespace {

struct StringEntry {
    int id;
    const char* text;
};

const StringEntry kStrings[] = {
    {IDS_ABOUTBOX, "关于 Brevanti(&A)..."},  // about item of the system menu
    {IDS_MAIN_TITLE, "81系统调试软件 "},         // title text of the main window; ends in a blank
};

}  // namespace

const char* FindStringEntry(int id) {
    for (const StringEntry& e : kStrings) {
        if (e.id == id) return e.text;
    }
    return nullptr;
}
