#include "search/search_commands.h"

// Searching is not available yet: the commands are wired to these and do
// nothing, so Find Next stays grayed (no search text is ever set).
void FindInMainWindow(HWND) {}
void FindNextInMainWindow(HWND) {}
void FindInView(HWND) {}
void FindNextInView(HWND) {}
