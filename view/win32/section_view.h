// The "View" dialog: one section's lines, with Edit, Delete and Insert.
#pragma once
#include <windows.h>

// Runs the view modally for the header text in LineBuffer. Returns 1 when it
// was left through Find Next during a search, else 0.
INT_PTR RunSectionView(HWND owner);

// The view while it is open, else null.
HWND OpenSectionView();
