#include "files/win32/backup.h"

#include <optional>
#include <string>

#include "base/preference_rules.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/backup_name.h"
#include "files/win32/file_copy.h"
#include "files/win32/profile_store.h"

namespace {

// True when the file's last line has no line end; an empty file has no last line.
bool LastLineIsOpen(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER back;
    back.QuadPart = -1;
    char last = '\n';
    DWORD got = 0;
    const bool open = SetFilePointerEx(file, back, nullptr, FILE_END) && ReadFile(file, &last, 1, &got, nullptr) &&
                      got == 1 && last != '\n' && last != '\r';
    CloseHandle(file);
    return open;
}

}  // namespace

BackupOutcome MakeBackup(HWND owner) {
    if (BackupMade == 1 || IniLocation.fileName[0] == '\0') return BackupOutcome::Skipped;
    std::optional<std::string> target = files::BackupPath(ProgramDirectory, IniLocation.fileName, FullPath);
    if (!target) {
        // Copying a file onto itself would empty it before it is read.
        Warn(owner, Format("Sorry, %s cannot be backed up onto itself.", FullPath));
        return BackupOutcome::Failed;
    }
    if (FileCopy(owner, FullPath, target->c_str()) < 1) return BackupOutcome::Failed;
    // The record's section needs a line of its own, so a last line without a
    // line end gets one; Restore takes it off again when told so here.
    const bool open = LastLineIsOpen(target->c_str());
    profile::WriteKey("BACKUPLOCATION", "OriginalLocation", FullPath, target->c_str());
    if (open) profile::WriteKey("BACKUPLOCATION", "NoFinalLineEnd", "1", target->c_str());
    BackupMade = 1;
    return BackupOutcome::Made;
}

void BackupIfWanted(HWND owner) {
    if (base::IsNonZeroOn(Preferences.Backup)) MakeBackup(owner);
}
