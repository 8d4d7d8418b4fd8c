// The "Edit" menu of the input dialogs: Undo, Cut, Copy, Paste, Delete,
// Select All, acting on one edit field.
#pragma once
#include <windows.h>

// Sends the editing command id (514..519) to target; false for other ids.
bool SendEditCommand(HWND target, int id);

// Grays what cannot be done in target right now.
void UpdateEditMenu(HMENU popup, HWND target);
