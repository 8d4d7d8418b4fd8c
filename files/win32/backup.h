// The automatic backup made before the first change to a selected file.
#pragma once
#include <windows.h>

#include <initializer_list>

enum class BackupOutcome { Skipped, Failed, Made };

// Copies the current INI file to its backup in the program directory, once
// per file selection, and records in the copy where it came from. Callers go
// on with their write whatever the outcome.
BackupOutcome MakeBackup(HWND owner);

// Runs MakeBackup when the Backup preference is on.
void BackupIfWanted(HWND owner);

// Before a change to the current file: texts (names and a value) that the
// file's encoding cannot hold are refused, and the user told why, before
// anything is written; otherwise the backup is made when it is due. False
// when the change must not go ahead.
bool PrepareChange(HWND owner, std::initializer_list<const char*> texts);
