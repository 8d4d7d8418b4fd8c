#include "files/win32/backup.h"

#include <optional>
#include <string>

#include "base/path_rules.h"
#include "base/preference_rules.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/backup_name.h"
#include "files/win32/file_copy.h"
#include "files/win32/file_text.h"
#include "files/win32/profile_store.h"

namespace {

// True when the file's last line has no line end; an empty file has no last
// line. Read as text, so that a UTF-16 file is judged by its characters.
bool LastLineIsOpen(const char* path) {
    ini::FileText file;
    if (files::ReadFileText(path, file) != files::ReadResult::Read || file.text.empty()) return false;
    return file.text.back() != '\n' && file.text.back() != '\r';
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

void KeepRestoredBackup(const std::string& backup) {
    if (IniLocation.fileName[0] == '\0') return;
    const std::optional<std::string> own = files::BackupPath(ProgramDirectory, IniLocation.fileName, FullPath);
    // Compared as the platform may match names, without case: sparing a
    // backup that may be this one is the side that loses nothing.
    if (own && base::EqualIgnoringCase(*own, backup)) BackupMade = 1;
}

void BackupIfWanted(HWND owner) {
    if (base::IsNonZeroOn(Preferences.Backup)) MakeBackup(owner);
}

bool PrepareChange(HWND owner, std::initializer_list<const char*> texts) {
    const std::string refused = profile::CannotWrite(FullPath, texts);
    if (!refused.empty()) {
        Warn(owner, refused);
        return false;
    }
    BackupIfWanted(owner);
    return true;
}
