// Where each window was left: its size and position, kept under a key of its
// own in the preferences file's [KEPLIN] section and given back at its next
// opening, moved onto a monitor when it lies on none.
#pragma once
#include <windows.h>

// Puts the window where the key says it was left; a window with no such
// value, or a value that is not a place, stays where it opened.
void RestoreWindowPlace(HWND window, const char* key);

// Notes where the window is now, when that is not where it opened.
void KeepWindowPlace(HWND window, const char* key);
