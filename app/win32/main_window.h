// The main window: the file's section headers and every command.
#pragma once
#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp);

