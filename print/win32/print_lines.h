// The lines a print job prints, read from the current INI file into the
// job's hidden line store.
#pragma once
#include <windows.h>

#include <string>

// Empties list and fills it in file order: with oneSection, headerText and
// then the lines of that section (empty lines left out); otherwise every line
// of the file, empty ones included. Returns the number of lines added (0 when
// the section is not in the file), or -1 after telling the user that the file
// cannot be opened.
int FillPrintLines(const std::string& headerText, bool oneSection, HWND list, HWND owner);
