// The Select INI File dialog.
#pragma once
#include <windows.h>

// 1: a file is current after the dialog; 0: no file is current; -1: the
// dialog failed.
int SelectIniFile(HWND owner);
