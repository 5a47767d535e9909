#pragma once
// Pages of the main window: the control tables that each page code shows, and the items of the
// function tree.

#include "commands/page_codes.h"

// Controls of the main window (IDD_MAIN_TESTER) that one page shows together, in the order
// they are shown.
struct PageTable {
    int code;
    const int* ids;
    int count;
};

// The table of a page code; nullptr when the code has none.
const PageTable* FindPageTable(int code);

// Every table (the live ones first); *count receives their number.
const PageTable* AllPageTables(int* count);

// One item of the function tree; parentCode 0 for a root.
struct TreeItemDef {
    const char* text;
    int code;
    int parentCode;
};

// The local branch, then the remote branch, each root before its children, in insertion
// order; *count receives the number of items.
const TreeItemDef* FunctionTreeItems(int* count);
