#include "view/win32/list_keys.h"

#include "base/win32/records.h"
#include "res/resource.h"

namespace {

// The lists' own procedures, kept here rather than in a window property:
// under Wine every property lookup is a round trip to the server, and the
// list procedure runs for every message, thousands of them while a large
// file is listed.
struct OwnProcEntry {
    HWND list;
    WNDPROC own;
};
OwnProcEntry ownProcs[4];

WNDPROC OwnProc(HWND list) {
    for (const OwnProcEntry& entry : ownProcs) {
        if (entry.list == list) return entry.own;
    }
    return nullptr;
}

OwnProcEntry* FreeEntry() {
    for (OwnProcEntry& entry : ownProcs) {
        if (entry.list == nullptr) return &entry;
    }
    return nullptr;
}

// Both windows take a double-click on their list as command 10, whatever the
// list's own id.
void SendOpen(HWND list) {
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_SECTION_LIST, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list));
}

// The dialog manager asks with the key's code alone, and a typed character
// shares its code with a key ("r" is 114, as F3 is): only a key-down counts.
bool IsKeyDown(LPARAM lp, WPARAM key) {
    const MSG* msg = reinterpret_cast<const MSG*>(lp);
    return msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == key;
}

LRESULT CALLBACK ListKeysProc(HWND list, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_GETDLGCODE:
        if (IsKeyDown(lp, VK_RETURN)) {
            SendOpen(list);
            return 0;
        }
        if (IsKeyDown(lp, VK_F3)) {
            if (SearchState.SearchActive) SendMessageA(GetParent(list), WM_COMMAND, IDC_FIND_NEXT, 0);
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        // The first click of the pair has already selected the item.
        SendOpen(list);
        return 0;
    case WM_NCDESTROY: {
        // A list destroyed with its window gives up its entry.
        WNDPROC own = OwnProc(list);
        RemoveListKeys(list);
        return CallWindowProcW(own, list, message, wp, lp);
    }
    }
    return CallWindowProcW(OwnProc(list), list, message, wp, lp);
}

}  // namespace

// Wide: an ANSI procedure would make the list an ANSI window, whose text
// then comes back through the code page, bytes that are not text lost.
void InstallListKeys(HWND list) {
    OwnProcEntry* entry = FreeEntry();
    if (entry == nullptr || OwnProc(list) != nullptr) return;
    entry->own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC));
    entry->list = list;
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListKeysProc));
}

void RemoveListKeys(HWND list) {
    for (OwnProcEntry& entry : ownProcs) {
        if (entry.list != list) continue;
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.own));
        entry = OwnProcEntry{};
    }
}
