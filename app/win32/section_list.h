// The main window's list of section headers.
#pragma once
#include <windows.h>
#include <string>

// Rebuilds the list from the file named by IniLocation and selects its
// first header.
void ListSections(HWND mainWindow);

// Rebuilds the list keeping the selection where it still is (a change made
// by another program, an undo or redo): the header of section when it is
// listed, else the header that was selected, else the place it was at. The
// focus stays where it is.
void ListSectionsAgain(HWND mainWindow, const std::string& section);
