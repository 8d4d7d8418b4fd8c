// A window's text as the program's UTF-8, through the wide calls: what a
// file holds that is not text (lone surrogates, see base/unicode.h) goes in
// and comes back unchanged, whatever the code page.
#pragma once
#include <windows.h>

#include <string>

// The program's UTF-8 as the wide calls take it, lone surrogates kept.
std::wstring WideText(const std::string& text);

void SetWindowTextUtf8(HWND window, const std::string& text);
void SetItemTextUtf8(HWND dialog, int id, const std::string& text);
std::string WindowTextUtf8(HWND window);
std::string ItemTextUtf8(HWND dialog, int id);

// Puts the text on the clipboard as Unicode text, for owner's moment.
void CopyTextToClipboard(HWND owner, const std::string& text);
