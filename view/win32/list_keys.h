// Keys and double-clicks in the two line lists (the main window's headers and
// the section view's lines): Enter and a double-click open the item, F3
// continues a search that is showing a match.
#pragma once
#include <windows.h>

// Installs the list procedure, keeping the list's own for everything else.
void InstallListKeys(HWND list);

// Gives the list its own procedure back.
void RemoveListKeys(HWND list);
