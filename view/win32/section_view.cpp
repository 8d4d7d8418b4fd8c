#include "view/win32/section_view.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/path_rules.h"
#include "base/preference_rules.h"
#include "base/win32/anchor_layout.h"
#include "base/win32/dpi.h"
#include "base/win32/fonts.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "base/win32/window_text.h"
#include "files/win32/backup.h"
#include "files/win32/file_text.h"
#include "files/win32/file_watch.h"
#include "files/win32/profile_store.h"
#include "files/win32/window_places.h"
#include "ini/encoding.h"
#include "ini/profile_writer.h"
#include "ini/scanner.h"
#include "ini/section_name.h"
#include "ini/win32/list_box.h"
#include "print/win32/print_job.h"
#include "res/resource.h"
#include "search/win32/find_next_key.h"
#include "search/win32/search_commands.h"
#include "view/key_line.h"
#include "view/listed_lines.h"
#include "view/win32/input_dialogs.h"
#include "view/win32/list_keys.h"
#include "view/win32/section_target.h"
#include "view/win32/undo_commands.h"

namespace {

// The position to select after the next refresh; set by Edit and Delete.
LRESULT SavedSelection;

// What each list position shows, from the last refresh: long lines are listed
// in pieces, and Edit and Delete must act on the whole line.
std::vector<view::ListedEntry> Entries;

HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_VIEW_LIST); }

void FocusList(HWND dialog) { SetFocus(List(dialog)); }

void LockChanges(HWND dialog) {
    HMENU menu = GetMenu(dialog);
    for (int id : {IDC_EDIT_KEY, IDC_DELETE_KEY, IDC_INSERT}) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED);
        EnableWindow(GetDlgItem(dialog, id), FALSE);
    }
}

// The open view.
HWND Shown;

// The whole line of the view's header, as the view last read the file: the
// section a change goes to is read from it without reading the file again.
std::optional<std::string> ViewHeaderLine;

// The line the next view opened selects (Check File): its text and copy.
std::optional<std::pair<std::string, size_t>> LineToSelect;

// Where the list shows the copy-th entry that begins the line; the present
// selection when it shows none.
LRESULT PositionOfLine(const std::pair<std::string, size_t>& wanted, LRESULT otherwise) {
    size_t seen = 0;
    for (size_t i = 0; i < Entries.size(); ++i)
        if (Entries[i].beginsLine && Entries[i].line == wanted.first && seen++ == wanted.second)
            return static_cast<LRESULT>(i);
    return otherwise;
}

// After an undo or redo in this view's section: the key whose line the next
// refresh selects, where it still is.
std::optional<std::string> KeyToSelect;

// The position to select after a refresh that keeps the selection: the key
// to select, else the line that was selected, else the place it was at.
LRESULT KeptSelection(const std::string& selected, LRESULT was) {
    const std::optional<std::string> key = std::move(KeyToSelect);
    KeyToSelect.reset();
    if (key) {
        for (size_t i = 0; i < Entries.size(); ++i) {
            const std::optional<std::string> lineKey = view::KeyOfLine(Entries[i].line);
            if (Entries[i].beginsLine && lineKey && ini::SameProfileName(ini::TrimProfileBlanks(*lineKey), *key))
                return static_cast<LRESULT>(i);
        }
    }
    for (size_t i = 0; i < Entries.size(); ++i)
        if (Entries[i].text == selected) return static_cast<LRESULT>(i);
    if (Entries.empty()) return LB_ERR;
    return was < 0 ? 0 : was < static_cast<LRESULT>(Entries.size()) ? was : static_cast<LRESULT>(Entries.size()) - 1;
}

// The view grows by its frame: the list with it, the header along the top,
// the buttons along the right edge.
AnchorLayout Layout;
constexpr char kPlaceKey[] = "SectionView";

void Leave(HWND dialog, INT_PTR result) {
    KeepWindowPlace(dialog, kPlaceKey);
    Shown = nullptr;
    LineToSelect.reset();
    StopWatchingFindNextKey();
    RemoveListKeys(List(dialog));
    EndDialog(dialog, result);
}

void BackToMainMenu(HWND dialog) {
    // Leaving the view ends any search: Find Next grays until the next Find,
    // and the match this view showed is shown no more.
    EndSearch();
    SearchState.SearchActive = 0;
    Leave(dialog, 0);
}

// Another program (or an undo) has removed the view's section: the view says so and
// goes back to the main list, so that nothing is written to a section that
// is not there (Insert would make it anew at the end of the file).
void SectionGone(HWND dialog) {
    Warn(dialog, Format("The section %s is no longer in %s.", ViewHeader.c_str(),
                        base::SplitIniPath(FullPath).fileName.c_str()));
    BackToMainMenu(dialog);
}

// Opens the file's text and finds the view's section in it; false, after
// saying so, when the section is gone.
bool FindViewSection(HWND dialog, const ini::FileText& text, ini::IniText& file) {
    file.OpenBytes(text.text);
    if (!ini::FindSection(file, ViewHeader, ini::kListLimit)) {
        SectionGone(dialog);
        return false;
    }
    ViewHeaderLine = HeaderLineIn(text.text, ViewHeader);
    return true;
}

// Before a change from the view: false, after saying so, when the view's
// section has gone from the file since the view was listed. The file is
// read only when it has changed since KEPLIN last saw it.
bool SectionStillThere(HWND dialog) {
    if (files::SeenAsItIs(FullPath)) return true;
    ini::FileText text;
    if (files::ReadFileText(FullPath, text) != files::ReadResult::Read) return true;   // the write will say
    ini::IniText file;
    return FindViewSection(dialog, text, file);
}

// Lists the section again from the file; false when the file could not be
// opened (the list and the focus then stay as they were), or the section is
// gone (the view then ends). Keeping the selection, the focus stays where it
// is too, and a file that cannot be read just now is tried again by the
// next look of the watch.
bool Refresh(HWND dialog, bool keepSelection = false) {
    ini::FileText text;
    if (files::ReadFileText(FullPath, text) != files::ReadResult::Read) {
        if (keepSelection) return false;
        ReportFileNotFound(dialog);
        files::NoteSeen(FullPath);
        return false;
    }
    ini::IniText file;
    if (!FindViewSection(dialog, text, file)) return false;
    HWND list = List(dialog);
    std::string selected;
    const LRESULT was = SelectedListText(list, selected);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ListFiller filler(list, ListFiller::Order::ByPreference, Preferences.Alphabetize);
    Entries = view::ReadListedEntries(file);
    file.Close();
    for (const view::ListedEntry& entry : Entries) filler.Add(entry.text);
    filler.Finish();
    view::SortLikeTheList(Entries, Preferences.Alphabetize == 1);
    if (base::IsNonZeroOn(Preferences.LockContents)) LockChanges(dialog);
    if (LineToSelect) SavedSelection = PositionOfLine(*LineToSelect, SavedSelection);
    LineToSelect.reset();
    if (keepSelection) {
        SendMessageA(list, LB_SETCURSEL, KeptSelection(selected, was), 0);
    } else if (SearchState.SearchActive) {
        SendMessageA(list, LB_SETCURSEL, SearchState.LineCursor - 1, 0);
        SetFocus(GetDlgItem(dialog, IDC_MAIN_MENU));
    } else {
        SendMessageA(list, LB_SETCURSEL, SavedSelection, 0);
        FocusList(dialog);
        SavedSelection = 0;
    }
    return true;
}


// The fonts at dpi; the list's extent measured in its font.
void SetFonts(HWND dialog, UINT dpi) {
    SetControlFonts(dialog, ListFont(dpi), {IDC_VIEW_LIST});
    SetControlFonts(dialog, FieldFont(dpi), {IDC_VIEW_HEADER});
    FitHorizontalExtent(List(dialog));
}

void LayOut(HWND dialog) {
    Layout.Attach(dialog, {{IDC_VIEW_HEADER, AnchorLayout::kAlongTop}, {IDC_VIEW_LIST, AnchorLayout::kGrows},
                           {IDC_MAIN_MENU, AnchorLayout::kAlongRight}, {IDC_EDIT_KEY, AnchorLayout::kAlongRight},
                           {IDC_DELETE_KEY, AnchorLayout::kAlongRight}, {IDC_INSERT, AnchorLayout::kAlongRight}});
    SetFonts(dialog, WindowDpi(dialog));
    RestoreWindowPlace(dialog, kPlaceKey);
}

// Moved to a monitor of another DPI.
void OnDpiChanged(HWND dialog, UINT dpi, const RECT* suggested) {
    Layout.ChangeDpi(dialog, dpi, *suggested);
    SetFonts(dialog, dpi);
}

BOOL OnInit(HWND dialog) {
    Shown = dialog;
    SavedSelection = 0;
    KeyToSelect.reset();
    HWND list = List(dialog);
    LayOut(dialog);
    InstallListKeys(list);
    WatchFindNextKey(dialog);
    ViewHeader = LineBuffer;
    SetItemTextUtf8(dialog, IDC_VIEW_HEADER, ViewHeader);
    Entries.clear();
    // Read Only holds even when the first refresh cannot read the file.
    if (base::IsNonZeroOn(Preferences.LockContents)) LockChanges(dialog);
    // FALSE keeps the focus the refresh chose: Main Menu while a search match
    // is shown, else the list.
    return Refresh(dialog) ? FALSE : TRUE;
}

// The selected entry, with its position; false (after telling the user) when
// nothing is selected or the entry is a later piece of a long line. line
// receives the whole line the entry begins.
bool SelectedLine(HWND dialog, const char* verb, LRESULT& position, std::string& line) {
    position = SelectedListText(List(dialog), LineBuffer);
    if (position == LB_ERR) {
        Warn(dialog, Format("You must select something before you %s it.", verb));
        return false;
    }
    line = LineBuffer;
    if (position >= 0 && static_cast<size_t>(position) < Entries.size() && Entries[position].text == LineBuffer) {
        const view::ListedEntry& entry = Entries[position];
        if (!entry.beginsLine) {
            Warn(dialog, Format("This is a later part of a long line:\n%s\n\nSelect the part that begins the line to %s it.",
                                LineBuffer.c_str(), verb));
            return false;
        }
        line = entry.line;
    }
    return true;
}

// The key of the selected line (as Edit or Delete takes it from the whole
// line) and the section a change to it goes to; nothing, after telling the
// user why, when there is no key to change.
template <typename Key>
std::optional<std::pair<Key, std::string>> ChooseKey(HWND dialog, const char* verb, const char* lowerVerb,
                                                     std::optional<Key> (*keyOf)(std::string_view), bool editing) {
    if (base::IsNonZeroOn(Preferences.LockContents)) return std::nullopt;
    LRESULT position;
    std::string whole;
    if (!SelectedLine(dialog, verb, position, whole)) return std::nullopt;
    SavedSelection = position;
    // Bytes that are not text cannot go through an edit field unchanged;
    // Delete takes the line as it stands.
    if (editing && !ini::IsValidUtf8(whole)) {
        Warn(dialog, Format("Sorry, KEPLIN cannot edit this line:\n%s\nIt holds bytes that are not text in its file's "
                            "encoding. KEPLIN keeps them as they are; Delete removes the whole line.",
                            LineBuffer.c_str()));
        return std::nullopt;
    }
    std::optional<Key> key = keyOf(whole);
    if (!key) {
        Warn(dialog, Format("This line holds no key to %s:\n%s", lowerVerb, LineBuffer.c_str()));
        return std::nullopt;
    }
    std::optional<std::string> section = EditableSection(dialog, ViewHeader, ViewHeaderLine);
    if (!section) return std::nullopt;
    return std::make_pair(*key, *section);
}

void EditKey(HWND dialog) {
    std::optional<std::pair<view::KeyValue, std::string>> chosen =
        ChooseKey(dialog, "Edit", "edit", view::SplitKeyLine, true);
    if (!chosen) return;
    KeyBuffer = chosen->first.key;
    ValueBuffer = chosen->first.value;
    LineBuffer = ViewHeader;
    InputMode = 0;
    if (RunInputString(dialog) == 0) {
        FocusList(dialog);
        return;
    }
    if (!SectionStillThere(dialog)) return;
    // The section comes from the file as it stands; what was typed is checked.
    if (!PrepareChange(dialog, {KeyBuffer.c_str(), ValueBuffer.c_str()})) return;
    const std::string change = "Edit Key " + KeyBuffer;
    ReportWrite(dialog, profile::WriteKey(chosen->second.c_str(), KeyBuffer.c_str(), ValueBuffer.c_str(), FullPath,
                                          change.c_str()));
}

void DeleteKey(HWND dialog) {
    std::optional<std::pair<std::string, std::string>> chosen =
        ChooseKey(dialog, "Delete", "delete", view::KeyOfLine, false);
    if (!chosen) return;
    LineBuffer = chosen->first;
    if (!AskYesNo(dialog, Format("Are you sure you want to DELETE\n%s ?", LineBuffer.c_str()))) {
        FocusList(dialog);
        return;
    }
    if (!SectionStillThere(dialog)) return;
    // The names come from the file, as they stand: nothing typed to check.
    if (!PrepareChange(dialog, {})) return;
    const std::string change = "Delete Key " + LineBuffer;
    bool deleted = profile::DeleteKey(chosen->second.c_str(), LineBuffer.c_str(), FullPath, change.c_str());
    ReportWrite(dialog, deleted);
    if (deleted) FocusList(dialog);
}

void InsertKey(HWND dialog) {
    if (base::IsNonZeroOn(Preferences.LockContents)) return;
    std::optional<std::string> section = EditableSection(dialog, ViewHeader, ViewHeaderLine);
    if (!section) return;
    if (RunDoubleInputString(dialog) == 0) {
        FocusList(dialog);
        return;
    }
    if (!SectionStillThere(dialog)) return;
    if (!PrepareChange(dialog, {KeyBuffer.c_str(), ReadBuffer.c_str()})) return;
    const std::string change = "Insert Key " + KeyBuffer;
    ReportWrite(dialog, profile::WriteKey(section->c_str(), KeyBuffer.c_str(), ReadBuffer.c_str(), FullPath,
                                          change.c_str()));
}

// Undo or Redo from the view: the view lists its section again, on the line
// of the key the change concerned where it is in this section, and the main
// window its sections (an undone Delete Section brings one back).
void UndoInView(HWND dialog, bool redo) {
    files::Concerned concerned;
    if (!UndoOrRedo(dialog, redo, concerned)) return;
    const std::optional<std::string> section = ini::ServiceSectionName(ViewHeader);
    if (section && !concerned.key.empty() && ini::SameProfileName(*section, concerned.section))
        KeyToSelect = concerned.key;
    PostMessageA(dialog, WM_REFRESH, REFRESH_KEEPING_SELECTION, 0);
    PostMessageA(MainWindow, WM_REFRESH, REFRESH_KEEPING_SELECTION, 0);
}

void FindNext(HWND dialog) {
    // Opened by the main window's search: hand the walk back to it.
    if (SearchState.SearchActive) {
        Leave(dialog, 1);
        return;
    }
    FindNextInView(dialog);
}

BOOL OnCommand(HWND dialog, int id, int notification) {
    switch (id) {
    case IDC_MAIN_MENU:
    case IDCANCEL:          BackToMainMenu(dialog); return TRUE;
    case IDC_EDIT_KEY:      EditKey(dialog); return TRUE;
    case IDC_DELETE_KEY:    DeleteKey(dialog); return TRUE;
    case IDC_INSERT:        InsertKey(dialog); return TRUE;
    case IDC_PRINT:         PrintJob(ProgramInstance, dialog, 1, ViewHeader); return TRUE;
    case IDC_FIND:          FindInView(dialog); return TRUE;
    case IDC_FIND_NEXT:     FindNext(dialog); return TRUE;
    case IDM_UNDO:          UndoInView(dialog, false); return TRUE;
    case IDM_REDO:          UndoInView(dialog, true); return TRUE;
    case IDC_SECTION_LIST:
        if (notification == LBN_DBLCLK) PostMessageA(dialog, WM_COMMAND, IDC_EDIT_KEY, 0);
        return TRUE;
    }
    return FALSE;
}

BOOL OnMenuPopup(HMENU menu, int position) {
    if (position == 0) {
        UpdateUndoItems(menu);
        return TRUE;
    }
    if (position != 1) return FALSE;
    EnableMenuItem(menu, IDC_FIND_NEXT,
                   MF_BYCOMMAND | (SearchState.SearchText[0] != '\0' ? MF_ENABLED : MF_GRAYED));
    return TRUE;
}

INT_PTR CALLBACK SectionViewProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_INITDIALOG:    return OnInit(dialog);
    case WM_REFRESH:       Refresh(dialog, wp == REFRESH_KEEPING_SELECTION); return TRUE;
    case WM_INITMENUPOPUP: return OnMenuPopup(reinterpret_cast<HMENU>(wp), LOWORD(lp));
    case WM_COMMAND:       return OnCommand(dialog, LOWORD(wp), HIWORD(wp));
    case WM_SIZE:          Layout.Arrange(dialog); return TRUE;
    case WM_GETMINMAXINFO: Layout.LimitTracking(dialog, reinterpret_cast<MINMAXINFO*>(lp)); return TRUE;
    case WM_DPICHANGED:    OnDpiChanged(dialog, HIWORD(wp), reinterpret_cast<RECT*>(lp)); return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR RunSectionView(HWND owner) {
    return DialogBoxParamA(ProgramInstance, "View", owner, SectionViewProc, 0);
}

HWND OpenSectionView() { return Shown; }

void SelectOnNextOpen(const std::string& line, size_t copy) { LineToSelect.emplace(line, copy); }
