// The "FINDTEXT" dialog: asks for the search text and Match Case.
#pragma once
#include <windows.h>

// Runs the dialog modally. 1: search with SearchState as now set; 0: no
// search, and the search text and both cursors have been cleared.
INT_PTR RunFindDialog(HWND owner);
