// The cancel box "PrintDlgBox": shown while a job prints, it lets the user
// stop the job at the next page end.
#pragma once
#include <windows.h>

// 1 once the user cancelled; cleared by the job as it starts printing.
extern int PrintAborted;
// The cancel box while it is open; cleared when it is destroyed.
extern HWND CancelBox;

INT_PTR CALLBACK CancelBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
