#include "app/win32/main_window.h"

#include <shellapi.h>

#include <string>

#include "app/win32/about_box.h"
#include "app/win32/file_encoding.h"
#include "app/win32/check_file.h"
#include "app/win32/compare_window.h"
#include "app/win32/help.h"
#include "app/win32/preferences.h"
#include "app/win32/section_commands.h"
#include "app/win32/section_list.h"
#include "app/win32/startup.h"
#include "base/win32/anchor_layout.h"
#include "base/win32/dpi.h"
#include "base/win32/fonts.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/backup.h"
#include "files/win32/file_selection.h"
#include "files/win32/file_watch.h"
#include "files/win32/window_places.h"
#include "ini/win32/list_box.h"
#include "print/win32/print_job.h"
#include "res/resource.h"
#include "search/win32/search_commands.h"
#include "view/win32/list_keys.h"
#include "view/win32/section_view.h"
#include "view/win32/undo_commands.h"

namespace {

// The watch on the file: a light look at its size and time twice a second,
// so that a change by another program shows within one.
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 500;

// The window grows by its frame: the list with it, the file's name along the
// top, the buttons and the encoding along the right edge.
AnchorLayout Layout;
constexpr char kPlaceKey[] = "MainWindow";

// The fonts at dpi; the list's extent measured in its font.
void SetFonts(HWND window, UINT dpi) {
    SetControlFonts(window, ListFont(dpi), {IDC_SECTION_LIST});
    SetControlFonts(window, FieldFont(dpi), {IDC_FILE_LABEL});
    FitHorizontalExtent(GetDlgItem(window, IDC_SECTION_LIST));
}

void LayOut(HWND window) {
    Layout.Attach(window, {{IDC_FILE_LABEL, AnchorLayout::kAlongTop}, {IDC_SECTION_LIST, AnchorLayout::kGrows},
                           {IDC_VIEW_SECTION, AnchorLayout::kAlongRight},
                           {IDC_DELETE_SECTION, AnchorLayout::kAlongRight}, {IDC_INSERT, AnchorLayout::kAlongRight},
                           {IDC_SELECT_INI, AnchorLayout::kAlongRight},
                           {IDC_ENCODING_CAPTION, AnchorLayout::kAlongRight},
                           {IDC_ENCODING_LABEL, AnchorLayout::kAlongRight}});
    SetFonts(window, WindowDpi(window));
    RestoreWindowPlace(window, kPlaceKey);
}

// Moved to a monitor of another DPI.
void OnDpiChanged(HWND window, UINT dpi, const RECT* suggested) {
    Layout.ChangeDpi(window, dpi, *suggested);
    SetFonts(window, dpi);
}

LRESULT OnInit(HWND window) {
    DragAcceptFiles(window, TRUE);
    EndSearch();
    ComputeProgramDirectory();
    ReadPreferences(window);
    HWND list = GetDlgItem(window, IDC_SECTION_LIST);
    InstallListKeys(list);
    LayOut(window);
    CompleteIniLocation();
    ListSections(window);
    WatchUndoKeys(window);
    WatchCheckKeys(window);
    SetTimer(window, kWatchTimer, kWatchMs, nullptr);
    // Not TRUE: the focus stays where the listing put it.
    return 0;
}

// Another program changed the file: the lists show it, each keeping its
// selection where it still is. Only while the main window, or the section
// view over it, takes input: a message box, an input screen or another
// dialog first has its answer (the change shows when it has closed), and a
// minimized window lists the file when it is restored.
void OnWatchTimer(HWND window) {
    static bool listing = false;
    HWND view = OpenSectionView();
    const bool takesInput = view != nullptr ? IsWindowEnabled(view) != FALSE : IsWindowEnabled(window) != FALSE;
    if (listing || !takesInput || IsIconic(window)) return;
    const files::WatchNews news = files::LookAtWatchedFile();
    if (news == files::WatchNews::None) return;
    listing = true;
    if (news == files::WatchNews::Gone) {
        // Says that the file is missing, and leaves no file selected.
        if (view != nullptr) PostMessageA(view, WM_COMMAND, IDC_MAIN_MENU, 0);
        ListSectionsAgain(window, "");
    } else if (ListChangedSections(window) && view != nullptr) {
        PostMessageA(view, WM_REFRESH, REFRESH_KEEPING_SELECTION, 0);
    }
    listing = false;
}

void UndoInMainWindow(HWND window, bool redo) {
    files::Concerned concerned;
    if (UndoOrRedo(window, redo, concerned)) ListSectionsAgain(window, concerned.section);
}

void OpenDroppedFiles(HWND window, HDROP drop) {
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count > 1) Warn(window, "Only one file is allowed to be viewed at a time.");
    // The first dropped file is the one that is taken.
    if (count > 0) {
        UINT length = DragQueryFileA(drop, 0, nullptr, 0);
        std::string path(length + 1, '\0');
        DragQueryFileA(drop, 0, path.data(), length + 1);
        if (!SetIniLocation(path.c_str())) RefusePath(window, path.c_str());
    }
    DragFinish(drop);
    PostMessageA(window, WM_REFRESH, 0, 0);
}

void SelectIniFiles(HWND window) {
    switch (SelectIniFile(window)) {
    case 1:
        PostMessageA(window, WM_REFRESH, 0, 0);
        break;
    case -1:
        SetFocus(GetDlgItem(window, IDC_SECTION_LIST));
        break;
    }
}

void Print(HWND window) {
    std::string header;
    SelectedListText(GetDlgItem(window, IDC_SECTION_LIST), header);
    LineBuffer = header;
    PrintJob(ProgramInstance, window, 0, LineBuffer);
}

// Opens the section selected in the main list. A view left through Find Next
// during a search hands the walk back: it goes on from here.
void ViewSection(HWND window) {
    if (IniLocation.fileName[0] == '\0') {
        Warn(window, "There is no INI file selected.\nYou must select a file before viewing a section.");
        return;
    }
    HWND list = GetDlgItem(window, IDC_SECTION_LIST);
    if (SelectedListText(list, LineBuffer) == LB_ERR) {
        Warn(window, "You must select something before you View it.");
        return;
    }
    if (RunSectionView(window) != 0)
        PostMessageA(window, WM_COMMAND, IDC_FIND_NEXT, 0);
    else
        SetFocus(list);
}

// View Section from the button, the menu, Enter or a double-click: whatever
// match a search showed is no longer shown, so the view is an ordinary one
// (its selection and focus are the user's, and F3 does not end it).
void ViewSectionByHand(HWND window) {
    SearchState.SearchActive = 0;
    ViewSection(window);
}

// A match in a line is shown in the section view, opened on it while
// SearchActive says so; a match in a header is shown by its selection alone.
void ShowMatch(HWND window, MainWindowMatch match) {
    if (match != MainWindowMatch::Line) return;
    ViewSection(window);
    SearchState.SearchActive = 0;
}

// The copy-th item of the list with exactly this text; LB_ERR when none.
LRESULT ListIndexOf(HWND list, const std::string& text, size_t copy) {
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (ListItemText(list, i) == text && copy-- == 0) return i;
    return LB_ERR;
}

// Check File; the finding the user opened is shown here: its header
// selected in the list, and a line the section view lists, in the view.
void CheckFile(HWND window) {
    const std::optional<view::LinePlace> place = RunCheckFile(window);
    if (!place) return;
    HWND list = GetDlgItem(window, IDC_SECTION_LIST);
    const LRESULT index = ListIndexOf(list, place->header, place->headerCopy);
    if (index == LB_ERR) return;
    SendMessageA(list, LB_SETCURSEL, index, 0);
    SetFocus(list);
    if (place->isHeader || !place->inView) return;
    SelectOnNextOpen(place->line, place->lineCopy);
    ViewSectionByHand(window);
}

void OnCommand(HWND window, int id, int notification) {
    switch (id) {
    case IDM_EXIT:            PostMessageA(window, WM_CLOSE, 0, 0); break;
    case IDM_ABOUT:           ShowAboutBox(window); break;
    case IDC_SECTION_LIST:
        if (notification == LBN_DBLCLK) SendMessageA(window, WM_COMMAND, IDC_VIEW_SECTION, 0);
        break;
    case IDM_HELP_CONTENTS:   ShowHelpContents(window); break;
    case IDM_HELP_ON_HELP:    ShowHelpOnHelp(window); break;
    case IDM_ALPHABETIZE:
    case IDM_READ_ONLY:
    case IDM_BACKUP:          TogglePreference(window, id); break;
    case IDC_VIEW_SECTION:    ViewSectionByHand(window); break;
    case IDC_DELETE_SECTION:  DeleteSection(window); break;
    case IDC_SELECT_INI:      SelectIniFiles(window); break;
    case IDC_INSERT:          InsertSection(window); break;
    case IDC_PRINT:           Print(window); break;
    case IDC_FIND:            ShowMatch(window, FindInMainWindow(window)); break;
    case IDC_FIND_NEXT:       ShowMatch(window, FindNextInMainWindow(window)); break;
    case IDM_UNDO:            UndoInMainWindow(window, false); break;
    case IDM_REDO:            UndoInMainWindow(window, true); break;
    case IDM_ENCODING_ANSI:
    case IDM_ENCODING_UTF8:
    case IDM_ENCODING_UTF8_BOM:
    case IDM_ENCODING_UTF16_LE: ConvertFileEncoding(window, id); break;
    case IDM_CHECK_FILE:      CheckFile(window); break;
    case IDM_COMPARE:
        if (RunCompare(window)) ListSectionsAgain(window, "");
        break;
    }
}

void OnMenuPopup(HMENU menu, int position) {
    if (UpdateEncodingItems(menu)) return;
    if (position == 0) UpdateUndoItems(menu);
    // Every popup but "Commands" may hold Find Next; it needs a search text.
    if (position != 0)
        EnableMenuItem(menu, IDC_FIND_NEXT,
                       MF_BYCOMMAND | (SearchState.SearchText[0] != '\0' ? MF_ENABLED : MF_GRAYED));
}

LRESULT OnPaint(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (IsIconic(window)) return DefWindowProcA(window, message, wp, lp);
    // Nothing of our own to draw: the controls paint themselves. BeginPaint
    // validates the area and erases it with the class brush.
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_INITDIALOG:    return OnInit(window);
    case WM_COMMAND:       OnCommand(window, LOWORD(wp), HIWORD(wp)); return 0;
    case WM_REFRESH:
        if (wp == REFRESH_KEEPING_SELECTION)
            ListSectionsAgain(window, "");
        else
            ListSections(window);
        return 0;
    case WM_TIMER:
        if (wp == kWatchTimer) OnWatchTimer(window);
        return 0;
    case WM_DROPFILES:     OpenDroppedFiles(window, reinterpret_cast<HDROP>(wp)); return 0;
    case WM_QUERYOPEN:     PostMessageA(window, WM_REFRESH, 0, 0); break;
    case WM_INITMENUPOPUP: OnMenuPopup(reinterpret_cast<HMENU>(wp), LOWORD(lp)); break;
    case WM_KEYDOWN:
        if (wp == VK_F3) {
            SendMessageA(window, WM_COMMAND, IDC_FIND_NEXT, 0);
            return 0;
        }
        break;
    case WM_PAINT:         return OnPaint(window, message, wp, lp);
    case WM_SIZE:          Layout.Arrange(window); return 0;
    case WM_GETMINMAXINFO: Layout.LimitTracking(window, reinterpret_cast<MINMAXINFO*>(lp)); return 0;
    case WM_DPICHANGED:    OnDpiChanged(window, HIWORD(wp), reinterpret_cast<RECT*>(lp)); return 0;
    case WM_CLOSE:
        KeepWindowPlace(window, kPlaceKey);
        EndDialog(window, 0);
        break;
    case WM_DESTROY:
        KillTimer(window, kWatchTimer);
        StopWatchingUndoKeys();
        StopWatchingCheckKeys();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wp, lp);
}
