#include "base/win32/window_text.h"

#include <cstring>

#include "base/unicode.h"

std::wstring WideText(const std::string& text) {
    const std::u16string units = base::Utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

void SetWindowTextUtf8(HWND window, const std::string& text) { SetWindowTextW(window, WideText(text).c_str()); }

void SetItemTextUtf8(HWND dialog, int id, const std::string& text) { SetWindowTextUtf8(GetDlgItem(dialog, id), text); }

std::string WindowTextUtf8(HWND window) {
    std::u16string wide(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    wide.resize(static_cast<size_t>(
        GetWindowTextW(window, reinterpret_cast<wchar_t*>(&wide[0]), static_cast<int>(wide.size()))));
    return base::Utf16ToUtf8(wide);
}

std::string ItemTextUtf8(HWND dialog, int id) { return WindowTextUtf8(GetDlgItem(dialog, id)); }

void CopyTextToClipboard(HWND owner, const std::string& text) {
    const std::wstring wide = WideText(text);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return;
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return;
    }
    memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
    CloseClipboard();
}
