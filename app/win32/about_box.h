#pragma once
#include <windows.h>

// The "About" box, modal; OK is its only way out.
void ShowAboutBox(HWND owner);
