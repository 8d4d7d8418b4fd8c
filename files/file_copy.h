// Copying one file over another, for backups and restores.
#pragma once
#include <windows.h>

// 1 when the whole source was copied, -1 on any failure. Reports the two
// failures a user can act on (open, create) in message boxes owned by owner.
int FileCopy(HWND owner, const char* source, const char* target);
