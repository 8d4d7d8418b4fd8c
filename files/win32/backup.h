// The automatic backup made before the first change to a selected file.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

enum class BackupOutcome { Skipped, Failed, Made };

// Copies the current INI file to its backup in the program directory, once
// per file selection, and records in the copy where it came from. Callers go
// on with their write whatever the outcome.
BackupOutcome MakeBackup(HWND owner);

// After a Restore from backup: when that is the current file's own backup,
// it counts as this selection's backup, so that no later change copies the
// file over it (after an undone Restore that would put there the very bytes
// the Restore replaced).
void KeepRestoredBackup(const std::string& backup);

// Runs MakeBackup when the Backup preference is on.
void BackupIfWanted(HWND owner);

// Before a change to the current file: texts (names and a value) that the
// file's encoding cannot hold are refused, and the user told why, before
// anything is written; otherwise the backup is made when it is due. False
// when the change must not go ahead.
bool PrepareChange(HWND owner, std::initializer_list<const char*> texts);
