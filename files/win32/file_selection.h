// The Select INI File dialog.
#pragma once
#include <windows.h>

// 1: a file is current after the dialog; 0: no file is current; -1: the
// dialog failed. A file chosen with OK becomes current and gets a backup of
// its own at its first change; a Restore leaves the current file as it was
// selected.
int SelectIniFile(HWND owner);
