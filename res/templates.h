#pragma once
// The resources of this folder, one function each; resources.cpp indexes them by id.

#include "platform/dialog_template.h"
#include "resource_ids.h"

const DialogTemplate& AboutDialogTemplate();  // IDD_ABOUTBOX
const DialogTemplate& MainDialogTemplate();   // IDD_MAIN_TESTER
const MenuTemplate& MainMenuTemplate();       // IDR_MAIN_MENU

// Menu of the main window (the older name of IDR_MAIN_MENU).
constexpr int kMainMenuId = IDR_MAIN_MENU;

// String table lookup; nullptr when the id has no entry.
const char* FindStringEntry(int id);
