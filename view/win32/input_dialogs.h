// The two small input dialogs. They hand their text to the caller through the
// shared buffers and never write to the INI file themselves.
#pragma once
#include <windows.h>

#include <string>

// The longest text a field takes from typing or pasting.
constexpr int kFieldChars = 74;

// A field's whole text: its limit already keeps it to what may be written.
std::string FieldText(HWND dialog, int id);

// Limits a field to kFieldChars characters, or to longest when that is more
// (a longer value from the file, offered whole).
void LimitField(HWND dialog, int id, size_t longest);

// "Inputstring". InputMode 1: asks for a new section name, left in
// ValueBuffer. InputMode 0: edits ValueBuffer, the value of KeyBuffer in the
// section whose header is in LineBuffer; on OK LineBuffer holds the section
// name. Returns 1 for OK, 0 for Cancel.
INT_PTR RunInputString(HWND owner);

// "DoubleInputstring": a new key (KeyBuffer) and its value (ReadBuffer).
// Returns 1 for OK, 0 for Cancel.
INT_PTR RunDoubleInputString(HWND owner);
