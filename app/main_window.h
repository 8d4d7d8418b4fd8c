// The main window: the file's section headers and every command.
#pragma once
#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp);

// Opens the section selected in the main list; returns the view's result
// (1 when the view was left through Find Next during a search). The search
// opens its match this way; the user's View Section goes through
// ViewSectionByHand.
INT_PTR ViewSection(HWND window);
void ViewSectionByHand(HWND window);
