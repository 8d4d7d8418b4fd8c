#include "app/win32/section_list.h"

#include <cstdio>

#include "app/win32/startup.h"
#include "base/path_rules.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/file_text.h"
#include "files/win32/safe_replace.h"
#include "ini/scanner.h"
#include "ini/win32/list_box.h"
#include "res/resource.h"

void ShowNoFileSelected(HWND window) {
    SetFocus(GetDlgItem(window, IDC_SELECT_INI));
    SetDlgItemTextA(window, IDC_FILE_LABEL, "No file selected");
    SetDlgItemTextA(window, IDC_ENCODING_LABEL, "");
    SendDlgItemMessageA(window, IDC_SECTION_LIST, LB_RESETCONTENT, 0, 0);
}

void ListSections(HWND window) {
    if (IniLocation.fileName[0] == '\0') {
        ShowNoFileSelected(window);
        return;
    }
    // A bare name is joined to the program directory only at start-up, so the
    // joined path is tested here: cut, it would name another file.
    const std::string joined = base::JoinIniPath(IniLocation.directory, IniLocation.fileName);
    if (joined.size() >= sizeof FullPath) {
        IniLocation.fileName[0] = '\0';
        ShowNoFileSelected(window);
        RefusePath(window, joined.c_str());
        return;
    }
    std::snprintf(FullPath, sizeof FullPath, "%s", joined.c_str());
    SetDlgItemTextA(window, IDC_FILE_LABEL, FullPath);
    // A change cut short by a killed run is undone before the file is shown.
    RecoverInterruptedReplace(FullPath);
    HWND list = GetDlgItem(window, IDC_SECTION_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ini::FileText text;
    if (files::ReadFileText(FullPath, text) != files::ReadResult::Read) {
        ReportFileNotFound(window);
        IniLocation.fileName[0] = '\0';
        ShowNoFileSelected(window);
        return;
    }
    SetDlgItemTextA(window, IDC_ENCODING_LABEL, files::EncodingNameOf(text.encoding).c_str());
    ini::IniText file;
    file.OpenBytes(text.text);
    ListFiller filler(list, ListFiller::Order::ByPreference, Preferences.Alphabetize);
    ini::ListSectionHeaders(file, filler);
    file.Close();
    filler.Finish();
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SetFocus(list);
}
