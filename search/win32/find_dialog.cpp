// "FINDTEXT": the search text and Match Case, offered again from SearchState.
#include "search/win32/find_dialog.h"
#include "search/win32/search_commands.h"

#include "base/win32/dpi.h"
#include "base/win32/fonts.h"
#include "base/win32/records.h"
#include "base/win32/window_text.h"
#include "res/resource.h"

namespace {

BOOL OnInit(HWND dialog) {
    SetControlFonts(dialog, FieldFont(WindowDpi(dialog)), {IDC_FIND_TEXT});
    CheckDlgButton(dialog, IDC_MATCH_CASE, SearchState.MatchCase == 1 ? BST_CHECKED : BST_UNCHECKED);
    // The field holds no more than the search text can keep.
    SendDlgItemMessageA(dialog, IDC_FIND_TEXT, EM_LIMITTEXT, kSearchTextChars, 0);
    SetItemTextUtf8(dialog, IDC_FIND_TEXT, SearchState.SearchText);
    // The platform puts the focus on the first control that takes it: the field.
    return TRUE;
}

void ForgetSearch(HWND dialog) {
    EndSearch();
    EndDialog(dialog, 0);
}

void OnFind(HWND dialog) {
    // The field's limit keeps the text within the record's buffer.
    CopyInto(SearchState.SearchText, sizeof SearchState.SearchText, ItemTextUtf8(dialog, IDC_FIND_TEXT));
    SearchState.MatchCase = IsDlgButtonChecked(dialog, IDC_MATCH_CASE) == BST_CHECKED ? 1 : 0;
    // An empty text is a cancelled search.
    if (SearchState.SearchText[0] == '\0') {
        ForgetSearch(dialog);
        return;
    }
    EndDialog(dialog, 1);
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_MAIN_MENU:       OnFind(dialog); return TRUE;
    // Escape and the caption's Close come as IDCANCEL: they cancel too.
    case IDCANCEL:
    case IDC_CANCEL_BUTTON:   ForgetSearch(dialog); return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK FindDialogProc(HWND dialog, UINT message, WPARAM wp, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:   return OnInit(dialog);
    case WM_COMMAND:      return OnCommand(dialog, LOWORD(wp));
    }
    return FALSE;
}

}  // namespace

INT_PTR RunFindDialog(HWND owner) {
    return DialogBoxParamA(ProgramInstance, "FINDTEXT", owner, FindDialogProc, 0);
}
