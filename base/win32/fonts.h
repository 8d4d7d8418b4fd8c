// The fonts of the controls that show a file's text: the lists, the fields
// and labels that hold a header, a key or a value, and the printed page.
//
// One fixed-pitch TrueType face for all of them (columns of key=value lines
// line up), chosen once per run so that the platform shows the characters of
// other scripts in it as well: on Windows a face that font linking extends
// (Consolas, Courier New); where the platform links none of them, as under
// Wine, a fixed-pitch face that holds the CJK ideographs itself.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

// The face chosen, or "" for the platform's own fixed-pitch face.
const std::wstring& FixedPitchFace();

// A new font of that face, points high at dpi; the caller deletes it.
HFONT CreateFixedPitchFont(int points, int dpi);

// The font of the lists (10 points) and of the fields and labels of file text
// (9 points, so that a line fits a dialog's field) at a DPI. Made once for
// each DPI and kept for the run: the caller does not delete them.
HFONT ListFont(UINT dpi);
HFONT FieldFont(UINT dpi);

// Gives each of the window's controls named by id the font.
void SetControlFonts(HWND window, HFONT font, std::initializer_list<int> ids);
