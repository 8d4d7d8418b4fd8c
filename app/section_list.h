// The main window's list of section headers.
#pragma once
#include <windows.h>
#include <string>

// Rebuilds the list from the file named by IniLocation.
void ListSections(HWND mainWindow);

// Puts the window in its "no file" state: label, empty list, focus on Select INI Files.
void ShowNoFileSelected(HWND mainWindow);

// Puts the text of the list's selected item into text and returns its
// position; LB_ERR (text untouched) when nothing is selected.
LRESULT SelectedListText(HWND list, std::string& text);
