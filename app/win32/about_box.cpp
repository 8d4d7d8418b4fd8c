#include "app/win32/about_box.h"

#include "base/win32/records.h"
#include "res/resource.h"

namespace {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wp, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        // Only OK ends the box; Escape (IDCANCEL) is ignored on purpose.
        if (LOWORD(wp) == IDC_MAIN_MENU) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

void ShowAboutBox(HWND owner) {
    DialogBoxParamA(ProgramInstance, "About", owner, AboutProc, 0);
}
