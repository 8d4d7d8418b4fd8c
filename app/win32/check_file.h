// Check File: what the current file says against what the programs that read
// it with the platform's profile functions get (ini/profile_check.h), in a
// window of its own, one finding a row.
#pragma once
#include <windows.h>

#include <optional>

#include "view/line_place.h"

// Checks the current file and shows the findings, or "No problems found in
// F." when there are none. Gives where the finding the user opened lies in
// KEPLIN's lists, for the main window to show; nothing when the user closed
// the window.
std::optional<view::LinePlace> RunCheckFile(HWND owner);

// Ctrl+K in the main window and Ctrl+C in the Check File window reach the
// windows as the characters 0x0B and 0x03: a hook takes them before any
// control and turns them into Check File and Copy.
void WatchCheckKeys(HWND mainWindow);
void StopWatchingCheckKeys();
