// The main window's list of section headers.
#pragma once
#include <windows.h>
#include <string>

// Rebuilds the list from the file named by IniLocation.
void ListSections(HWND mainWindow);

// Puts the window in its "no file" state: label, empty list, focus on Select INI Files.
void ShowNoFileSelected(HWND mainWindow);
