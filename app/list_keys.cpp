#include "app/list_keys.h"

#include "app/records.h"
#include "res/resource.h"

namespace {

const char kOwnProc[] = "KeplinListOwnProc";

WNDPROC OwnProc(HWND list) {
    return reinterpret_cast<WNDPROC>(GetPropA(list, kOwnProc));
}

// Both windows take a double-click on their list as command 10, whatever the
// list's own id.
void SendOpen(HWND list) {
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_SECTION_LIST, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list));
}

LRESULT CALLBACK ListKeysProc(HWND list, UINT message, WPARAM wp, LPARAM lp) {
    WNDPROC own = OwnProc(list);
    switch (message) {
    case WM_GETDLGCODE:
        if (wp == VK_RETURN) {
            SendOpen(list);
            return 0;
        }
        if (wp == VK_F3) {
            if (SearchState.SearchActive) SendMessageA(GetParent(list), WM_COMMAND, IDC_FIND_NEXT, 0);
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        // The first click of the pair has already selected the item.
        SendOpen(list);
        return 0;
    }
    return CallWindowProcA(own, list, message, wp, lp);
}

}  // namespace

void InstallListKeys(HWND list) {
    LONG_PTR own = SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListKeysProc));
    SetPropA(list, kOwnProc, reinterpret_cast<HANDLE>(own));
}

void RemoveListKeys(HWND list) {
    WNDPROC own = OwnProc(list);
    if (own == nullptr) return;
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
    RemovePropA(list, kOwnProc);
}
