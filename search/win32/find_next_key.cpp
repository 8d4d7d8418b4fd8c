#include "search/win32/find_next_key.h"

#include "base/win32/records.h"
#include "res/resource.h"

namespace {

HHOOK Hook;
HWND View;

bool InView(HWND window) { return window == View || IsChild(View, window); }

// Sees every message the thread takes from its queue, the view's own modal
// loop included, before the dialog manager does.
LRESULT CALLBACK WatchKeys(int code, WPARAM wp, LPARAM lp) {
    MSG* message = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && message->message == WM_KEYDOWN && message->wParam == VK_F3 &&
        SearchState.SearchActive && InView(message->hwnd)) {
        message->message = WM_NULL;   // taken: no control sees this F3
        PostMessageA(View, WM_COMMAND, IDC_FIND_NEXT, 0);
    }
    return CallNextHookEx(Hook, code, wp, lp);
}

}  // namespace

void WatchFindNextKey(HWND view) {
    StopWatchingFindNextKey();
    View = view;
    Hook = SetWindowsHookExA(WH_GETMESSAGE, WatchKeys, nullptr, GetCurrentThreadId());
}

void StopWatchingFindNextKey() {
    if (Hook != nullptr) UnhookWindowsHookEx(Hook);
    Hook = nullptr;
    View = nullptr;
}
