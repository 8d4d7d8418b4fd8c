// Copying one file over another, for backups and restores.
#pragma once
#include <windows.h>

// 1 when the whole source was copied, -1 on any failure. Reports the
// failures a user can act on (the source cannot be opened; the target cannot
// be made or written whole) in message boxes owned by owner. The target is
// replaced whole or left as it was.
int FileCopy(HWND owner, const char* source, const char* target);
