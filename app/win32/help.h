// Help > Contents and How to Use Help: the WinHelp viewer where the system
// has a working one, the HTML help beside the program where it has not.
#pragma once
#include <windows.h>

void ShowHelpContents(HWND owner);
void ShowHelpOnHelp(HWND owner);

// True when the system's WinHelp viewer (winhlp32.exe in the Windows
// directory) exists and is not the stand-in that refuses .hlp files.
bool WinHelpViewerWorks();
