#include "files/win32/file_selection.h"

#include <commdlg.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/path_rules.h"
#include "base/preference_rules.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/chosen_file.h"
#include "files/win32/backup.h"
#include "files/win32/file_bytes.h"
#include "files/win32/file_history.h"
#include "files/win32/file_text.h"
#include "files/win32/profile_store.h"
#include "files/win32/safe_replace.h"
#include "ini/profile_writer.h"
#include "res/resource.h"

namespace {

// Set by a Restore, cleared when the dialog opens: the OK that a Restore
// posts passes without the OK checks.
bool JustRestored = false;

// The file that the last accepted OK named. It becomes the current file only
// when the dialog really ends with that OK: a name the dialog takes as a
// directory to open, followed by Cancel, leaves the current file alone.
std::optional<base::IniPath> Chosen;

// Room for any path the dialog may hand back, so it never fails for a
// buffer too small.
constexpr size_t kFileBufferSize = 4096;

// The whole text of a control: long directories and names are never cut.
std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// The dialog's plain boxes, with no icon.
void Tell(HWND owner, const std::string& text) {
    MessageBoxA(owner, text.c_str(), "KEPLIN", MB_OK);
}

bool AskPlain(HWND owner, const std::string& text) {
    return MessageBoxA(owner, text.c_str(), "KEPLIN", MB_YESNO) == IDYES;
}

void WatchFileType(HWND dialog) {
    bool backups = files::IsBackupFileType(ControlText(dialog, IDC_FILE_TYPES));
    ShowWindow(GetDlgItem(dialog, IDC_RESTORE), backups ? SW_SHOW : SW_HIDE);
}

// The file as it was when the backup was made: the backup's text without
// the [BACKUPLOCATION] section, and without the line end that adding the
// section gave a last line that had none, in the backup's own encoding.
// Nothing when the section cannot be taken out (a text our writer refuses).
std::optional<std::string> RestoredBytes(const std::string& bytes) {
    ini::FileText file = files::TextOf(bytes);
    std::optional<std::string> restored = ini::DeleteProfileSection(file.text, "BACKUPLOCATION");
    if (!restored) return restored;
    // Only when the section was the last thing in the file is the line end
    // before it the one that was added.
    const std::string& whole = file.text;
    const bool sectionWasLast = restored->size() < whole.size() && whole.compare(0, restored->size(), *restored) == 0;
    if (sectionWasLast && ini::ReadProfileString(whole, "BACKUPLOCATION", "NoFinalLineEnd") == "1") {
        std::string& text = *restored;
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
            text.resize(text.size() - 2);
        else if (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
    }
    if (*restored == whole) return bytes;
    file.text = std::move(*restored);
    return files::FileBytesOf(std::move(file));
}

// Puts the backup's file back with one replacement of the original's bytes,
// made only once they are complete in memory, so a failed restore leaves the
// original as it was. False after telling the user.
bool CopyBackup(HWND dialog, const std::string& backup, const std::string& original) {
    std::string bytes;
    if (files::ReadFileBytes(backup, bytes) != files::ReadResult::Read) {
        Warn(dialog, Format("Sorry could not open %s", backup.c_str()));
        return false;
    }
    const std::optional<std::string> restored = RestoredBytes(bytes);
    const std::string& written = restored ? *restored : bytes;
    std::string replaced;
    if (!ReplaceFileContents(original.c_str(), written, &replaced)) {
        Warn(dialog, Format("Sorry could not make %s", original.c_str()));
        return false;
    }
    // Undo can take a restore of the current file back.
    files::RecordChange(original, "Restore from " + base::SplitIniPath(backup).fileName, {}, replaced, written);
    // The copy stands; only its location record could not be taken out.
    if (!restored) Warn(dialog, "KEPLIN could not write profile.");
    return true;
}

void Restore(HWND dialog) {
    std::string name = ControlText(dialog, IDC_FILE_NAME);
    if (base::EqualIgnoringCase(name, "*.inb")) {
        Warn(dialog, "A file must be selected before restoring.");
        return;
    }
    std::string backup = files::ChosenPath(ControlText(dialog, IDC_DIRECTORY_TEXT), name);
    if (!base::FitsPathLimit(backup)) {
        RefusePath(dialog, backup.c_str());
        return;
    }
    std::string original = profile::ReadString("BACKUPLOCATION", "OriginalLocation", backup.c_str());
    if (original.empty()) {
        Tell(dialog, "Not a Valid INI BACKUP file.\nPlease check to make sure it is.");
        return;
    }
    // A location longer than any path could only be copied to a file it
    // does not name.
    if (!base::FitsPathLimit(original)) {
        RefusePath(dialog, original.c_str());
        return;
    }
    if (AskPlain(dialog, Format("Are you sure you want to Restore\n%s\nto the file\n%s?", backup.c_str(),
                                original.c_str()))) {
        if (!CopyBackup(dialog, backup, original)) {
            Warn(dialog, Format("Could not Restore %s.", original.c_str()));
            return;
        }
        KeepRestoredBackup(backup);
    }
    // After No the original is not written at all: it may be a backup
    // itself, whose own location must stay.
    JustRestored = true;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

void DeleteChosenFile(HWND dialog) {
    std::string name = ControlText(dialog, IDC_FILE_NAME);
    // A pattern names no one file; deleting it could only fail or surprise.
    if (name.empty() || files::IsPattern(name)) {
        Warn(dialog, "A file must be selected before deletion.");
        return;
    }
    if (files::IsSystemFile(name)) {
        Warn(dialog, Format("I'm sorry but %s is a system file and cannot be deleted.", name.c_str()));
        return;
    }
    std::string path = files::ChosenPath(ControlText(dialog, IDC_DIRECTORY_TEXT), name);
    if (!base::FitsPathLimit(path)) {
        RefusePath(dialog, path.c_str());
        return;
    }
    if (!AskPlain(dialog, Format("Are you sure you want to Delete\n%s?", path.c_str()))) return;
    // A file that refuses to go may still be reported as deleted (the
    // removal is only asked for, and done when the file is closed), so the
    // file is looked for afterwards. Its undo records go with it.
    if (!DeleteFileAndRecords(path.c_str()) || GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        Warn(dialog, Format("Could not delete %s.", path.c_str()));
        return;
    }
    // The directory text may differ from the current file's path in case only.
    if (base::EqualIgnoringCase(path, base::JoinIniPath(IniLocation.directory, IniLocation.fileName)))
        IniLocation.fileName[0] = '\0';
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// 0 lets the dialog's own OK processing follow; 1 keeps the dialog open.
UINT_PTR ConfirmOk(HWND dialog) {
    Chosen.reset();
    std::string name = ControlText(dialog, IDC_FILE_NAME);
    if (base::EqualIgnoringCase(name, "*.ini") || base::EqualIgnoringCase(name, "*.inb")) {
        Warn(dialog, "A file must be selected before selecting OK.");
        return 0;
    }
    // The dialog takes any other pattern as a new filter and stays open.
    if (name.empty() || files::IsPattern(name)) return 0;
    std::string directory = ControlText(dialog, IDC_DIRECTORY_TEXT);
    std::optional<base::IniPath> chosen = files::ChosenLocation(directory, name);
    if (!chosen) {
        RefusePath(dialog, files::ChosenPath(directory, name).c_str());
        return 1;
    }
    if (files::IsBackupFileType(ControlText(dialog, IDC_FILE_TYPES)) &&
        !AskYesNo(dialog, Format("Are you sure you want edit the BACKUP file %s ?", name.c_str())))
        return 1;
    Chosen = chosen;
    return 0;
}

UINT_PTR OnCommand(HWND dialog, WPARAM wp, LPARAM lp) {
    // Any notification of the file-type combo box.
    if (LOWORD(wp) == IDC_FILE_TYPES && lp != 0) {
        WatchFileType(dialog);
        return 0;
    }
    // The whole parameter: a button counts only when it was clicked.
    switch (wp) {
    case IDC_RESTORE:     Restore(dialog); return 0;
    case IDC_DELETE_FILE: DeleteChosenFile(dialog); return 0;
    case IDOK:            return JustRestored ? 0 : ConfirmOk(dialog);
    }
    return 0;
}

void OnInit(HWND dialog) {
    JustRestored = false;
    if (base::IsNonZeroOn(Preferences.LockContents)) ShowWindow(GetDlgItem(dialog, IDC_DELETE_FILE), SW_HIDE);
}

UINT_PTR CALLBACK SelectIniFileHook(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_INITDIALOG: OnInit(dialog); return 0;
    case WM_COMMAND:    return OnCommand(dialog, wp, lp);
    }
    return 0;
}

}  // namespace

int SelectIniFile(HWND owner) {
    static const char kFilter[] =
        "INI Files (*.INI)\0*.ini\0"
        "Backup INI Files (*.INB)\0*.inb\0"
        "All Files (*.*)\0*.*\0";
    std::vector<char> file(kFileBufferSize, '\0');
    CopyInto(file.data(), file.size(), "*.INI");
    std::vector<char> fileTitle(kFileBufferSize, '\0');

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hInstance = ProgramInstance;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrFileTitle = fileTitle.data();
    dialog.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
    dialog.lpstrInitialDir = IniLocation.directory;
    dialog.lpstrTitle = "Select INI File";
    dialog.lpstrDefExt = "*.INI";
    dialog.Flags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_HIDEREADONLY;
    dialog.lpfnHook = SelectIniFileHook;
    dialog.lpTemplateName = MAKEINTRESOURCEA(IDD_SELECT_INI);

    // The dialog moves the process's current directory as the user browses;
    // nothing of ours depends on it, and a directory left current could not
    // be removed while the program runs.
    std::vector<char> currentDirectory(kFileBufferSize, '\0');
    DWORD kept = GetCurrentDirectoryA(static_cast<DWORD>(currentDirectory.size()), currentDirectory.data());
    Chosen.reset();
    BOOL chosen = GetOpenFileNameA(&dialog);
    DWORD failure = chosen ? 0 : CommDlgExtendedError();
    if (kept > 0 && kept < currentDirectory.size()) SetCurrentDirectoryA(currentDirectory.data());
    if (chosen) {
        // A Restore ends the dialog too, but selects nothing: the current
        // file keeps its backup.
        if (!JustRestored && Chosen) {
            CopyInto(IniLocation.directory, sizeof IniLocation.directory, Chosen->directory);
            CopyInto(IniLocation.fileName, sizeof IniLocation.fileName, Chosen->fileName);
            BackupMade = 0;     // a new selection gets its own backup
        }
        return 1;
    }
    if (failure != 0) return -1;
    return IniLocation.fileName[0] == '\0' ? 1 : 0;
}
