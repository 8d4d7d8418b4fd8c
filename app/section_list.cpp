#include "app/section_list.h"

#include <cstdio>

#include "app/command_line.h"
#include "app/message_box.h"
#include "app/startup.h"
#include "files/safe_replace.h"
#include "app/records.h"
#include "ini/list_filler.h"
#include "ini/scanner.h"
#include "res/resource.h"

void ShowNoFileSelected(HWND window) {
    SetFocus(GetDlgItem(window, IDC_SELECT_INI));
    SetDlgItemTextA(window, IDC_FILE_LABEL, "No file selected");
    SendDlgItemMessageA(window, IDC_SECTION_LIST, LB_RESETCONTENT, 0, 0);
}

void ListSections(HWND window) {
    if (IniLocation.fileName[0] == '\0') {
        ShowNoFileSelected(window);
        return;
    }
    // A bare name is joined to the program directory only at start-up, so the
    // joined path is tested here: cut, it would name another file.
    const std::string joined = app::JoinIniPath(IniLocation.directory, IniLocation.fileName);
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
    ini::IniText file;
    if (!file.Open(FullPath)) {
        Warn(window, Format("Sorry, Could not find %s", IniLocation.fileName));
        IniLocation.fileName[0] = '\0';
        ShowNoFileSelected(window);
        return;
    }
    ListFiller filler(list, ListFiller::Order::ByPreference);
    ini::ListSectionHeaders(file, filler);
    file.Close();
    filler.Finish();
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SetFocus(list);
}

LRESULT SelectedListText(HWND list, std::string& text) {
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return LB_ERR;
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return LB_ERR;
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<size_t>(length));
    text = buffer;
    return index;
}
