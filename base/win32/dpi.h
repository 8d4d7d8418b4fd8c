// Dots per inch of a window, for programs that also run where the platform
// knows only one DPI for the whole screen.
#pragma once
#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI of the monitor the window is on (per-monitor awareness), else the
// screen's.
UINT WindowDpi(HWND window);

// value, in pixels at DPI from, in pixels at DPI to.
inline int ScaleForDpi(int value, UINT from, UINT to) {
    return MulDiv(value, static_cast<int>(to), static_cast<int>(from));
}
