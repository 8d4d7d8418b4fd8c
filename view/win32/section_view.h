// The "View" dialog: one section's lines, with Edit, Delete and Insert.
#pragma once
#include <windows.h>

#include <string>

// Runs the view modally for the header text in LineBuffer. Returns 1 when it
// was left through Find Next during a search, else 0.
INT_PTR RunSectionView(HWND owner);

// The next view opened selects this whole line, the copy-th of that text it
// lists (0 for the first), where it lists it.
void SelectOnNextOpen(const std::string& line, size_t copy);

// The view while it is open, else null.
HWND OpenSectionView();
