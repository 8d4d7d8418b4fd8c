// Undo and Redo in the main window and the section view: the two items of
// their Commands menus, the commands, and the keys Ctrl+Z and Ctrl+Y.
#pragma once
#include <windows.h>

#include "files/change_history.h"

// Names the items after what they would undo and redo ("Undo Delete Section
// [Colors]"); grays them when there is nothing, or when Read Only is on.
void UpdateUndoItems(HMENU menu);

// Undo (or Redo) from window: false when nothing was written (nothing to
// do, Read Only, the file changed by another program, a failed write: the
// user is told). concerned receives what the change was about.
bool UndoOrRedo(HWND window, bool redo, files::Concerned& concerned);

// Ctrl+Z and Ctrl+Y anywhere in the main window, or in the section view
// while it is open, become Undo and Redo; the input screens keep them for
// their fields.
void WatchUndoKeys(HWND mainWindow);
void StopWatchingUndoKeys();
