#include "app/win32/section_list.h"

#include <cstdio>
#include <optional>

#include "app/win32/startup.h"
#include "base/path_rules.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/file_history.h"
#include "files/win32/file_text.h"
#include "files/win32/file_watch.h"
#include "files/win32/safe_replace.h"
#include "ini/profile_writer.h"
#include "ini/scanner.h"
#include "ini/section_name.h"
#include "ini/win32/list_box.h"
#include "res/resource.h"

namespace {

std::optional<ini::Encoding> Listed;

// A listing that keeps the selection leaves the focus alone: the window may
// be behind the section view, or an input screen may be open.
void FocusUnlessKept(HWND window, int id, bool keep) {
    if (!keep) SetFocus(GetDlgItem(window, id));
}

void ShowNoFile(HWND window, bool keep) {
    FocusUnlessKept(window, IDC_SELECT_INI, keep);
    SetDlgItemTextA(window, IDC_FILE_LABEL, "No file selected");
    SetDlgItemTextA(window, IDC_ENCODING_LABEL, "");
    Listed.reset();
    SendDlgItemMessageA(window, IDC_SECTION_LIST, LB_RESETCONTENT, 0, 0);
    files::WatchFile("");
    files::StartHistory("");
}

// The header to select after a listing that keeps the selection.
LRESULT KeptHeader(HWND list, const std::string& section, const std::string& selected, LRESULT was) {
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count <= 0) return LB_ERR;
    if (!section.empty()) {
        for (LRESULT i = 0; i < count; ++i) {
            const std::optional<std::string> name = ini::ServiceSectionName(ListItemText(list, i));
            if (name && ini::SameProfileName(*name, section)) return i;
        }
    }
    for (LRESULT i = 0; i < count; ++i)
        if (ListItemText(list, i) == selected) return i;
    return was < 0 ? 0 : was < count ? was : count - 1;
}

// How a listing goes when the file cannot be read.
enum class OnFailure { Report, StayQuiet };

// False when the file could not be read (and, staying quiet, nothing changed).
bool List(HWND window, bool keep, const std::string& section, OnFailure failure = OnFailure::Report) {
    if (IniLocation.fileName[0] == '\0') {
        ShowNoFile(window, keep);
        return false;
    }
    // A bare name is joined to the program directory only at start-up, so the
    // joined path is tested here: cut, it would name another file.
    const std::string joined = base::JoinIniPath(IniLocation.directory, IniLocation.fileName);
    if (!base::FitsPathLimit(joined)) {
        IniLocation.fileName[0] = '\0';
        ShowNoFile(window, keep);
        RefusePath(window, joined.c_str());
        return false;
    }
    std::snprintf(FullPath, sizeof FullPath, "%s", joined.c_str());
    SetDlgItemTextA(window, IDC_FILE_LABEL, FullPath);
    // A change cut short by a killed run is undone before the file is shown.
    RecoverInterruptedReplace(FullPath);
    HWND list = GetDlgItem(window, IDC_SECTION_LIST);
    ListFiller filler(list, ListFiller::Order::ByPreference, Preferences.Alphabetize);
    ini::FileText kind;
    std::string text;   // what the filler's lines view
    if (files::ListFileHeaders(FullPath, filler, kind, text) != files::ReadResult::Read) {
        if (failure == OnFailure::StayQuiet) return false;
        ReportFileNotFound(window);
        IniLocation.fileName[0] = '\0';
        ShowNoFile(window, keep);
        return false;
    }
    std::string selected;
    const LRESULT was = SelectedListText(list, selected);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    // From now on, changes by other programs show, and Undo acts on this file.
    files::WatchFile(FullPath);
    files::StartHistory(FullPath);
    SetDlgItemTextA(window, IDC_ENCODING_LABEL, files::EncodingNameOf(kind.encoding).c_str());
    Listed = kind.encoding;
    filler.Finish();
    SendMessageA(list, LB_SETCURSEL, keep ? KeptHeader(list, section, selected, was) : 0, 0);
    FocusUnlessKept(window, IDC_SECTION_LIST, keep);
    return true;
}

}  // namespace

void ListSections(HWND window) { List(window, false, ""); }

void ListSectionsAgain(HWND window, const std::string& section) { List(window, true, section); }

bool ListChangedSections(HWND window) { return List(window, true, "", OnFailure::StayQuiet); }

std::optional<ini::Encoding> ListedEncoding() { return Listed; }
