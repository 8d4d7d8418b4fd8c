// The "Compare" window: the current file beside its backup or any INI file,
// by section and key, with Take, Take section and Copy.
#pragma once
#include <windows.h>

// Compare from the main window: offers the current file's backup first, when
// there is one, else (or on request) the platform's file-open dialog; then
// shows the differences until the user closes the window. True when a Take
// changed the current file.
bool RunCompare(HWND owner);
