// The automatic backup made before the first change to a selected file.
#pragma once
#include <windows.h>

enum class BackupOutcome { Skipped, Failed, Made };

// Copies the current INI file to its backup in the program directory, once
// per file selection, and records in the copy where it came from. Callers go
// on with their write whatever the outcome.
BackupOutcome MakeBackup(HWND owner);

// Runs MakeBackup when the Backup preference is on.
void BackupIfWanted(HWND owner);
