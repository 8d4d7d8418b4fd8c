// The two small input dialogs. They hand their text to the caller through the
// shared buffers and never write to the INI file themselves.
#pragma once
#include <windows.h>

#include <string>

// The longest text taken back from a field.
constexpr int kFieldChars = 74;

// A field's text, at most kFieldChars characters of it.
std::string FieldText(HWND dialog, int id);

// "Inputstring". InputMode 1: asks for a new section name, left in
// ValueBuffer. InputMode 0: edits ValueBuffer, the value of KeyBuffer in the
// section whose header is in LineBuffer; on OK LineBuffer holds the section
// name. Returns 1 for OK, 0 for Cancel.
INT_PTR RunInputString(HWND owner);

// "DoubleInputstring": a new key (KeyBuffer) and its value (ReadBuffer).
// Returns 1 for OK, 0 for Cancel.
INT_PTR RunDoubleInputString(HWND owner);
