// Commands > Options > Encoding: the current file written anew in another
// encoding, as one change that Undo takes back.
#pragma once
#include <windows.h>

// Converts the current file to the encoding the menu item names, after the
// user agrees; refused, with the reason, when a character or a byte of the
// file would not stay as it is.
void ConvertFileEncoding(HWND window, int itemId);

// Checks the item of the current file's encoding, names the ANSI code page,
// and grays the items under Read Only or without a file. True when menu is
// the Encoding menu.
bool UpdateEncodingItems(HMENU menu);
