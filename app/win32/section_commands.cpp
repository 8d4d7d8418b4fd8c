#include "app/win32/section_commands.h"

#include <optional>
#include <string>

#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/backup.h"
#include "files/win32/profile_store.h"
#include "ini/section_name.h"
#include "ini/win32/list_box.h"
#include "res/resource.h"
#include "view/win32/input_dialogs.h"
#include "view/win32/section_target.h"

void DeleteSection(HWND window) {
    if (IniLocation.fileName[0] == '\0') {
        Warn(window, "There is no INI file selected.\nYou must select a file before deleting a section.");
        return;
    }
    if (SelectedListText(GetDlgItem(window, IDC_SECTION_LIST), LineBuffer) == LB_ERR) {
        Warn(window, "You must select something before you Delete it.");
        return;
    }
    std::optional<std::string> section = EditableSection(window, LineBuffer);
    if (!section) return;
    if (!AskYesNo(window, Format("Are you sure you want to DELETE\n%s ?", LineBuffer.c_str()))) return;
    // The name comes from the file, as it stands: nothing typed to check.
    if (!PrepareChange(window, {})) return;
    const std::string change = "Delete Section " + LineBuffer;
    ReportWrite(window, profile::DeleteSection(section->c_str(), FullPath, change.c_str()));
}

void InsertSection(HWND window) {
    if (IniLocation.fileName[0] == '\0') {
        Warn(window, "There is no INI file selected.\nYou must select a file before inserting a section.");
        return;
    }
    InputMode = 1;
    if (RunInputString(window) == 0) return;
    std::string section = ValueBuffer;
    if (RunDoubleInputString(window) == 0) return;
    if (!PrepareChange(window, {section.c_str(), KeyBuffer.c_str(), ReadBuffer.c_str()})) return;
    const std::string change = "Insert Section [" + section + "]";
    ReportWrite(window, profile::WriteKey(section.c_str(), KeyBuffer.c_str(), ReadBuffer.c_str(), FullPath, change.c_str()));
}
