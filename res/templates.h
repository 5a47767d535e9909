#pragma once
// The resources of this folder, one function each; resources.cpp indexes them by id.

#include "platform/dialog_template.h"

const DialogTemplate& AboutDialogTemplate();  // 100
const DialogTemplate& MainDialogTemplate();   // 102
const MenuTemplate& MainMenuTemplate();       // kMainMenuId

// Menu of the main window.
constexpr int kMainMenuId = 129;

// String table lookup; nullptr when the id has no entry.
const char* FindStringEntry(int id);
