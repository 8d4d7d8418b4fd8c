// "DoubleInputstring": two fields, a new key and its value.
#include <string>

#include "base/win32/dpi.h"
#include "base/win32/fonts.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "res/resource.h"
#include "view/win32/edit_menu.h"
#include "view/win32/input_dialogs.h"

namespace {

void OnOk(HWND dialog) {
    KeyBuffer = FieldText(dialog, IDC_NEW_KEY_FIELD);
    ReadBuffer = FieldText(dialog, IDC_NEW_VALUE_FIELD);
    if (KeyBuffer.empty()) {
        Warn(dialog, "You must enter a HEADING.");
        SetFocus(GetDlgItem(dialog, IDC_NEW_KEY_FIELD));
        return;
    }
    EndDialog(dialog, 1);
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK:
    case IDC_MAIN_MENU:       OnOk(dialog); return TRUE;
    case IDCANCEL:
    case IDC_CANCEL_BUTTON:   EndDialog(dialog, 0); return TRUE;
    }
    // The editing commands act on whichever field has the focus.
    SendEditCommand(GetFocus(), id);
    return FALSE;
}

INT_PTR CALLBACK DoubleInputStringProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_INITDIALOG:
        SetControlFonts(dialog, FieldFont(WindowDpi(dialog)), {IDC_NEW_KEY_FIELD, IDC_NEW_VALUE_FIELD});
        LimitField(dialog, IDC_NEW_KEY_FIELD, 0);
        LimitField(dialog, IDC_NEW_VALUE_FIELD, 0);
        SetFocus(GetDlgItem(dialog, IDC_NEW_KEY_FIELD));
        return FALSE;   // the focus is set
    case WM_COMMAND:       return OnCommand(dialog, LOWORD(wp));
    case WM_INITMENUPOPUP:
        if (LOWORD(lp) == 1) UpdateEditMenu(reinterpret_cast<HMENU>(wp), GetFocus());
        return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR RunDoubleInputString(HWND owner) {
    return DialogBoxParamA(ProgramInstance, "DoubleInputstring", owner, DoubleInputStringProc, 0);
}
