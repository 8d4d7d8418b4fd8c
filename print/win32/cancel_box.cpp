#include "print/win32/cancel_box.h"

int PrintAborted;
HWND CancelBox;

namespace {

BOOL OnInit(HWND box) {
    EnableMenuItem(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    SetWindowTextA(box, "KEPLIN is Printing");
    return TRUE;
}

// The Cancel button, Enter or Escape: the owner is usable again at once; the
// job itself stops at its next page end.
void CancelPrinting(HWND box) {
    PrintAborted = 1;
    EnableWindow(GetParent(box), TRUE);
    DestroyWindow(box);
    CancelBox = nullptr;
}

}  // namespace

INT_PTR CALLBACK CancelBoxProc(HWND box, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInit(box);
    case WM_COMMAND:    CancelPrinting(box); return TRUE;
    }
    return FALSE;
}
