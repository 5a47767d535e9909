#pragma once
// The program's dialog templates, menus and strings.

// Registers them with the platform's lookups. Call once at start-up, before the first window
// is made; later calls do nothing.
void RegisterResources();
