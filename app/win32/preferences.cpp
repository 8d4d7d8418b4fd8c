#include "app/win32/preferences.h"

#include <string>

#include "base/preference_rules.h"
#include "base/win32/records.h"
#include "files/win32/profile_store.h"
#include "res/resource.h"

namespace {

// A string, so that a long program directory is never cut into another name.
std::string PreferencesPath;

void SetCheck(HWND window, int id, bool checked) {
    CheckMenuItem(GetMenu(window), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void WriteValue(const char* key, int32_t value) {
    // A failed write goes unreported: the value then holds for this run only.
    profile::WriteKey("KEPLIN", key, value != 0 ? "1" : "0", PreferencesPath.c_str());
}

// Read Only locks the two commands that change the file's sections.
void LockSectionCommands(HWND window, bool locked) {
    HMENU menu = GetMenu(window);
    for (int id : {IDC_DELETE_SECTION, IDC_INSERT}) {
        EnableWindow(GetDlgItem(window, id), !locked);
        EnableMenuItem(menu, id, MF_BYCOMMAND | (locked ? MF_GRAYED : MF_ENABLED));
    }
}

void ToggleAlphabetize(HWND window) {
    Preferences.Alphabetize = base::FlipLowestBit(Preferences.Alphabetize);
    SetCheck(window, IDM_ALPHABETIZE, Preferences.Alphabetize == 1);
    WriteValue("Alphabetize", Preferences.Alphabetize);
    PostMessageA(window, WM_REFRESH, 0, 0);
}

void ToggleReadOnly(HWND window) {
    Preferences.LockContents = base::IsNonZeroOn(Preferences.LockContents) ? 0 : 1;
    SetCheck(window, IDM_READ_ONLY, Preferences.LockContents == 1);
    WriteValue("LockContents", Preferences.LockContents);
    LockSectionCommands(window, Preferences.LockContents == 1);
}

void ToggleBackup(HWND window) {
    Preferences.Backup = base::FlipLowestBit(Preferences.Backup);
    SetCheck(window, IDM_BACKUP, base::IsNonZeroOn(Preferences.Backup));  // the mark shows what writes will do
    WriteValue("Backup", Preferences.Backup);
}

}  // namespace

void ReadPreferences(HWND window) {
    PreferencesPath = profile::PreferencesFile();
    Preferences.Alphabetize = profile::ReadInt("KEPLIN", "Alphabetize", PreferencesPath.c_str());
    SetCheck(window, IDM_ALPHABETIZE, base::IsExactlyOn(Preferences.Alphabetize));
    Preferences.LockContents = profile::ReadInt("KEPLIN", "LockContents", PreferencesPath.c_str());
    SetCheck(window, IDM_READ_ONLY, base::IsExactlyOn(Preferences.LockContents));
    LockSectionCommands(window, base::IsExactlyOn(Preferences.LockContents));
    Preferences.Backup = profile::ReadInt("KEPLIN", "Backup", PreferencesPath.c_str());
    SetCheck(window, IDM_BACKUP, base::IsExactlyOn(Preferences.Backup));
}

void TogglePreference(HWND window, int id) {
    switch (id) {
    case IDM_ALPHABETIZE: ToggleAlphabetize(window); break;
    case IDM_READ_ONLY:   ToggleReadOnly(window); break;
    case IDM_BACKUP:      ToggleBackup(window); break;
    }
}
