// Find and Find Next in the main window and in the section view.
#pragma once
#include <windows.h>

void FindInMainWindow(HWND mainWindow);      // command 522
void FindNextInMainWindow(HWND mainWindow);  // command 523, F3
void FindInView(HWND view);                  // command 522 in the section view
void FindNextInView(HWND view);              // command 523 in the section view, outside a walk
