// "Inputstring": one field, for a new section name or a key's new value.
#include <string>

#include "base/win32/dpi.h"
#include "base/win32/fonts.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "base/win32/window_text.h"
#include "ini/section_name.h"
#include "res/resource.h"
#include "view/win32/edit_menu.h"
#include "view/win32/input_dialogs.h"

std::string FieldText(HWND dialog, int id) { return ItemTextUtf8(dialog, id); }

void LimitField(HWND dialog, int id, size_t longest) {
    const size_t limit = longest > static_cast<size_t>(kFieldChars) ? longest : kFieldChars;
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, limit, 0);
}

namespace {

BOOL OnInit(HWND dialog) {
    SetControlFonts(dialog, FieldFont(WindowDpi(dialog)), {IDC_INPUT_HEADER, IDC_INPUT_LABEL, IDC_INPUT_FIELD});
    if (InputMode == 0) {
        SetItemTextUtf8(dialog, IDC_INPUT_HEADER, LineBuffer);
        SetItemTextUtf8(dialog, IDC_INPUT_LABEL, KeyBuffer);
        // A longer value from the file is offered whole, and the field takes
        // no more than that.
        LimitField(dialog, IDC_INPUT_FIELD, ValueBuffer.size());
        SetItemTextUtf8(dialog, IDC_INPUT_FIELD, ValueBuffer);
    } else {
        LimitField(dialog, IDC_INPUT_FIELD, 0);
        SetWindowTextA(dialog, "Input New Section Name");
        SetDlgItemTextA(dialog, IDC_INPUT_LABEL, "New Section Name");
    }
    return TRUE;
}

void OnOk(HWND dialog) {
    HWND field = GetDlgItem(dialog, IDC_INPUT_FIELD);
    // The field's limit is what may be written: its text is taken whole.
    ValueBuffer = FieldText(dialog, IDC_INPUT_FIELD);
    if (InputMode == 0) {
        LineBuffer = ini::SectionNameFromHeader(LineBuffer);
        EndDialog(dialog, 1);
        return;
    }
    if (ValueBuffer.empty()) {
        Warn(dialog, "You must enter a Section name.");
        SetFocus(field);
        return;
    }
    EndDialog(dialog, 1);
}

void OnCancel(HWND dialog) {
    ValueBuffer.clear();
    EndDialog(dialog, 0);
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK:
    case IDC_MAIN_MENU:       OnOk(dialog); return TRUE;
    case IDCANCEL:
    case IDC_CANCEL_BUTTON:   OnCancel(dialog); return TRUE;
    }
    SendEditCommand(GetDlgItem(dialog, IDC_INPUT_FIELD), id);
    return FALSE;
}

INT_PTR CALLBACK InputStringProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_INITDIALOG:    return OnInit(dialog);
    case WM_COMMAND:       return OnCommand(dialog, LOWORD(wp));
    case WM_INITMENUPOPUP:
        if (LOWORD(lp) == 1) UpdateEditMenu(reinterpret_cast<HMENU>(wp), GetDlgItem(dialog, IDC_INPUT_FIELD));
        return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR RunInputString(HWND owner) {
    return DialogBoxParamA(ProgramInstance, "Inputstring", owner, InputStringProc, 0);
}
