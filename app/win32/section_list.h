// The main window's list of section headers.
#pragma once
#include <windows.h>
#include <optional>
#include <string>

#include "ini/encoding.h"

// Rebuilds the list from the file named by IniLocation and selects its
// first header.
void ListSections(HWND mainWindow);

// Rebuilds the list keeping the selection where it still is (a change made
// by another program, an undo or redo): the header of section when it is
// listed, else the header that was selected, else the place it was at. The
// focus stays where it is.
void ListSectionsAgain(HWND mainWindow, const std::string& section);

// The same, for a file that another program has changed; when the file
// cannot be read just now, nothing is said or changed and the result is
// false.
bool ListChangedSections(HWND mainWindow);

// The encoding the listed file was read in; nothing when no file is listed.
std::optional<ini::Encoding> ListedEncoding();
