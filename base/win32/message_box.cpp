#include "base/win32/message_box.h"

#include "base/win32/records.h"
#include "base/win32/window_text.h"
#include "res/resource.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

// Wide, so that a name holding bytes that are not text shows them as the
// lists do, one mark each, however the code page would read them.
int Show(HWND owner, const std::string& text, UINT flags) {
    return MessageBoxW(owner, WideText(text).c_str(), L"KEPLIN", flags);
}

}  // namespace

void Warn(HWND owner, const std::string& text) { Show(owner, text, MB_OK | MB_ICONWARNING); }

void Inform(HWND owner, const std::string& text) { Show(owner, text, MB_OK | MB_ICONINFORMATION); }

bool AskYesNo(HWND owner, const std::string& text) { return Show(owner, text, MB_YESNO | MB_ICONWARNING) == IDYES; }

int AskYesNoCancel(HWND owner, const std::string& text) {
    return Show(owner, text, MB_YESNOCANCEL | MB_ICONQUESTION);
}

void ReportWrite(HWND window, bool written) {
    if (!written)
        Warn(window, "KEPLIN could not write profile.");
    else
        PostMessageA(window, WM_REFRESH, 0, 0);
}

void RefusePath(HWND owner, const char* path) {
    Warn(owner, Format("Sorry, this path is too long:\n%s", path));
}

void ReportFileNotFound(HWND owner) {
    Warn(owner, Format("Sorry, Could not find %s", IniLocation.fileName));
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(again);
    return text;
}
