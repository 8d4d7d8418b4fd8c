#include "view/win32/undo_commands.h"

#include <string>

#include "base/preference_rules.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "base/win32/window_text.h"
#include "files/win32/file_history.h"
#include "res/resource.h"
#include "view/undo_item.h"
#include "view/win32/section_view.h"

namespace {

// What the keyboard gives for Ctrl+Z and Ctrl+Y once translated.
constexpr WPARAM kCtrlZ = 0x1A;
constexpr WPARAM kCtrlY = 0x19;

HHOOK Hook;
HWND Main;

void SetItem(HMENU menu, int id, const char* verb, const std::string& name, const char* key) {
    const bool enabled = !name.empty() && !base::IsNonZeroOn(Preferences.LockContents);
    // Wide, so that the names show as the file holds them whatever the code page.
    ModifyMenuW(menu, id, MF_BYCOMMAND | MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id,
                WideText(view::UndoItemText(verb, name, key)).c_str());
}

bool Within(HWND top, HWND window) { return top != nullptr && (window == top || IsChild(top, window)); }

// Sees every message the thread takes from its queue, modal loops included.
LRESULT CALLBACK WatchKeys(int code, WPARAM wp, LPARAM lp) {
    MSG* message = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && message->message == WM_CHAR &&
        (message->wParam == kCtrlZ || message->wParam == kCtrlY)) {
        HWND view = OpenSectionView();
        HWND top = Within(view, message->hwnd) ? view : Within(Main, message->hwnd) ? Main : nullptr;
        if (top != nullptr) {
            PostMessageA(top, WM_COMMAND, message->wParam == kCtrlZ ? IDM_UNDO : IDM_REDO, 0);
            message->message = WM_NULL;   // taken: no control sees this key
        }
    }
    return CallNextHookEx(Hook, code, wp, lp);
}

}  // namespace

void UpdateUndoItems(HMENU menu) {
    SetItem(menu, IDM_UNDO, "Undo", files::NextUndoName(), "Ctrl+Z");
    SetItem(menu, IDM_REDO, "Redo", files::NextRedoName(), "Ctrl+Y");
}

bool UndoOrRedo(HWND window, bool redo, files::Concerned& concerned) {
    if (base::IsNonZeroOn(Preferences.LockContents)) return false;
    switch (redo ? files::RedoChange(concerned) : files::UndoChange(concerned)) {
    case files::HistoryStep::Done:
        return true;
    case files::HistoryStep::Nothing:
        return false;
    case files::HistoryStep::ChangedElsewhere:
        Warn(window, Format("Sorry, %s has been changed by another program since KEPLIN changed it,\n"
                            "so KEPLIN cannot %s its changes. Nothing was written.",
                            IniLocation.fileName, redo ? "redo" : "undo"));
        return false;
    case files::HistoryStep::NotRead:
        // The history stays: the file may be as KEPLIN left it once it is free.
        Warn(window, Format("Sorry, KEPLIN could not read %s just now,\n"
                            "so it did not %s %s. Nothing was written; try again.",
                            IniLocation.fileName, redo ? "redo" : "undo",
                            (redo ? files::NextRedoName() : files::NextUndoName()).c_str()));
        return false;
    case files::HistoryStep::NotWritten:
        Warn(window, "KEPLIN could not write profile.");
        return false;
    }
    return false;
}

void WatchUndoKeys(HWND mainWindow) {
    StopWatchingUndoKeys();
    Main = mainWindow;
    Hook = SetWindowsHookExA(WH_GETMESSAGE, WatchKeys, nullptr, GetCurrentThreadId());
}

void StopWatchingUndoKeys() {
    if (Hook != nullptr) UnhookWindowsHookEx(Hook);
    Hook = nullptr;
    Main = nullptr;
}
