// Printing one section or the whole file.
#pragma once
#include <windows.h>

#include <string>

// origin 0: from the main window (headerText: the selected header or empty);
// origin 1: from the section view (always that one section).
// 0 when printing started and then failed or was cancelled, else 1.
int PrintJob(HINSTANCE instance, HWND owner, int origin, const std::string& headerText);

// The abort procedure of the printer dc: lets the program, and the cancel box
// above all, handle its waiting messages. FALSE once the user cancelled.
BOOL CALLBACK PrintAbortProc(HDC dc, int code);
