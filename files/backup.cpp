#include "files/backup.h"

#include <optional>
#include <string>

#include "app/message_box.h"
#include "app/preference_rules.h"
#include "app/records.h"
#include "files/backup_name.h"
#include "files/file_copy.h"
#include "ini/profile_store.h"

BackupOutcome MakeBackup(HWND owner) {
    if (BackupMade == 1 || IniLocation.fileName[0] == '\0') return BackupOutcome::Skipped;
    std::optional<std::string> target = files::BackupPath(ProgramDirectory, IniLocation.fileName, FullPath);
    if (!target) {
        // Copying a file onto itself would empty it before it is read.
        Warn(owner, Format("Sorry, %s cannot be backed up onto itself.", FullPath));
        return BackupOutcome::Failed;
    }
    if (FileCopy(owner, FullPath, target->c_str()) < 1) return BackupOutcome::Failed;
    profile::WriteKey("BACKUPLOCATION", "OriginalLocation", FullPath, target->c_str());
    BackupMade = 1;
    return BackupOutcome::Made;
}

void BackupIfWanted(HWND owner) {
    if (app::IsNonZeroOn(Preferences.Backup)) MakeBackup(owner);
}
