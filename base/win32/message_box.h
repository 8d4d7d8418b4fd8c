// Message boxes captioned "KEPLIN", so no call site repeats the flags.
#pragma once
#include <windows.h>
#include <string>

// A warning with an OK button.
void Warn(HWND owner, const std::string& text);

// A piece of news with an OK button.
void Inform(HWND owner, const std::string& text);

// A warning with Yes and No; true only on Yes.
bool AskYesNo(HWND owner, const std::string& text);

// A question with Yes, No and Cancel: IDYES, IDNO or IDCANCEL.
int AskYesNoCancel(HWND owner, const std::string& text);

// After a write through the profile service: asks window to list the file
// again, or says that the write failed.
void ReportWrite(HWND window, bool written);

// A path longer than the program can hold: "Sorry, this path is too long:".
void RefusePath(HWND owner, const char* path);

// The current INI file cannot be opened: "Sorry, Could not find" its name.
void ReportFileNotFound(HWND owner);

// printf-style formatting into a string of any length.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
