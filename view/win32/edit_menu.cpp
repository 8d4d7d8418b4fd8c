#include "view/win32/edit_menu.h"

#include "res/resource.h"

bool SendEditCommand(HWND target, int id) {
    switch (id) {
    case IDM_EDIT_UNDO:       SendMessageA(target, WM_UNDO, 0, 0); return true;
    case IDM_EDIT_CUT:        SendMessageA(target, WM_CUT, 0, 0); return true;
    case IDM_EDIT_COPY:       SendMessageA(target, WM_COPY, 0, 0); return true;
    case IDM_EDIT_PASTE:      SendMessageA(target, WM_PASTE, 0, 0); return true;
    case IDM_EDIT_DELETE:     SendMessageA(target, WM_CLEAR, 0, 0); return true;
    case IDM_EDIT_SELECT_ALL: SendMessageA(target, EM_SETSEL, 0, 0x7FFF0000); return true;
    }
    return false;
}

void UpdateEditMenu(HMENU popup, HWND target) {
    auto enable = [popup](int id, bool on) {
        EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(IDM_EDIT_UNDO, SendMessageA(target, EM_CANUNDO, 0, 0) != 0);
    enable(IDM_EDIT_PASTE, IsClipboardFormatAvailable(CF_TEXT) != 0);
    // A button answers EM_GETSEL with 0, so with the focus on one these gray.
    DWORD selection = static_cast<DWORD>(SendMessageA(target, EM_GETSEL, 0, 0));
    bool selected = LOWORD(selection) != HIWORD(selection);
    enable(IDM_EDIT_CUT, selected);
    enable(IDM_EDIT_COPY, selected);
    enable(IDM_EDIT_DELETE, selected);
    enable(IDM_EDIT_SELECT_ALL, true);
}
