// F3 in the section view that a search opened: it goes on with the search
// whichever of the view's controls has the focus. The view opens with the
// focus on "&Main Menu", where no list would ever see the key.
#pragma once
#include <windows.h>

void WatchFindNextKey(HWND view);   // while the view is open
void StopWatchingFindNextKey();
