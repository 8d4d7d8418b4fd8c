// Find and Find Next in the main window and in the section view.
#pragma once
#include <windows.h>

// What a search in the main window found. A match in a line is shown in the
// section view, which the main window opens with SearchActive set.
enum class MainWindowMatch { None, Header, Line };
MainWindowMatch FindInMainWindow(HWND mainWindow);      // command 522
MainWindowMatch FindNextInMainWindow(HWND mainWindow);  // command 523, F3
void FindInView(HWND view);                  // command 522 in the section view
void FindNextInView(HWND view);              // command 523 in the section view, outside a walk

// The cursors back at the start: the next walk begins at the first section.
void StartSearchOver();
// The search is over: the cursors back at the start, no search text (Find
// Next grays until the next Find).
void EndSearch();
