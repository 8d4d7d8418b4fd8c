// The main window's commands that add or remove whole sections.
#pragma once
#include <windows.h>

void DeleteSection(HWND mainWindow);   // command 502
void InsertSection(HWND mainWindow);   // command 508
