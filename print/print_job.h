// Printing one section or the whole file.
#pragma once
#include <windows.h>

#include <string>

// origin 0: from the main window (headerText: the selected header or empty);
// origin 1: from the section view (always that one section).
int PrintJob(HINSTANCE instance, HWND owner, int origin, const std::string& headerText);
