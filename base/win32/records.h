// Program-wide records, alive for the whole run. Declared once here; each says
// who changes it.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

#include "base/path_rules.h"

// The current INI file. Set by start-up, by dropped files and by the file
// selection dialog. An empty file name means no file is selected.
// Paths are held in UTF-8, up to the platform's limit in UTF-16 units: the
// buffers have room for the UTF-8 of that many.
struct IniLocationRecord {
    char directory[base::kPathBufferBytes];   // no trailing backslash
    char fileName[base::kPathBufferBytes];
};
extern IniLocationRecord IniLocation;

// "%s\\%s" of IniLocation, formed by each listing of the main window; every
// write to the INI file targets it.
extern char FullPath[base::kPathBufferBytes];

// Directory of the executable (from a CD-ROM: the INI directory's parent).
// Set once while the main window initialises; holds QUENTARO.INI and backups.
extern char ProgramDirectory[base::kPathBufferBytes];

// Full path of keplin.hlp, or a path ending in "?" when it would not fit.
// Set at start-up.
extern char HelpPath[base::kPathBufferBytes];

extern HINSTANCE ProgramInstance;   // set at start-up
extern HWND MainWindow;             // null until the main window exists

// The Options toggles. Read once at start, changed only by the toggles.
struct PreferencesRecord {
    int32_t Alphabetize;
    int32_t LockContents;           // shown as Read Only
    int32_t Backup;
};
extern PreferencesRecord Preferences;

// Find state shared by the main window, the section view and the search.
constexpr int kSearchTextChars = 255;
struct SearchStateRecord {
    // Empty: no search running. At most kSearchTextChars characters, in
    // UTF-8 (up to three bytes each, as UTF-16 counts them).
    char SearchText[kSearchTextChars * 3 + 1];
    unsigned char MatchCase;
    unsigned char SearchActive;     // set while a match found by the walk is shown
    int32_t SectionCursor;
    int32_t LineCursor;             // next line to test; 0: from the first
    int32_t LastMatchedSection;     // -1: none
};
extern SearchStateRecord SearchState;

// Shared text buffers. Strings rather than fixed arrays, so that long lines,
// keys and values are held whole; the dialogs apply their own field limits.
extern std::string LineBuffer;      // header handed between main window, view, commands, print
extern std::string ReadBuffer;      // value typed in "DoubleInputstring"
extern std::string KeyBuffer;       // key exchanged with the input dialogs
extern std::string ValueBuffer;     // value or section name exchanged with the input dialogs
extern std::string ViewHeader;      // header text of the section view
extern int InputMode;               // "Inputstring": 1 new section name, 0 value edit
// 1 once a backup exists for the current selection: set by MakeBackup, and by
// a Restore from the current file's own backup (KeepRestoredBackup); 0 again
// when Select INI File makes a file current.
extern unsigned char BackupMade;

// Fills one of the records' fixed buffers: the text, cut to fit only where
// the caller has checked that it fits.
void CopyInto(char* target, size_t size, const std::string& text);

// Puts every record back to its start-of-run state.
void ResetProgramRecords();
