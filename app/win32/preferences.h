// The Options toggles: Alphabetize, Read Only and Backup, kept in QUENTARO.INI.
#pragma once
#include <windows.h>

// Reads the three values once and sets the check marks and the Read Only lock.
void ReadPreferences(HWND mainWindow);

// Commands 430, 431 and 520.
void TogglePreference(HWND mainWindow, int id);
