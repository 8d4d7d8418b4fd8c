#include "app/win32/help.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/help_files.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"

namespace {

// The viewer WinHelp starts: in the Windows directory, or, where a system has
// none there (a 64-bit Wine without its 32-bit half), in the system directory.
std::string ViewerPath() {
    for (int place = 0; place < 2; ++place) {
        char directory[MAX_PATH] = "";
        const UINT length = place == 0 ? GetWindowsDirectoryA(directory, sizeof directory)
                                       : GetSystemDirectoryA(directory, sizeof directory);
        if (length == 0 || length >= sizeof directory) continue;
        std::string path = directory;
        if (path.back() != '\\') path += '\\';
        path += "winhlp32.exe";
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
    }
    return {};
}

// The file's own description from its version resource, "" when it has none.
std::string FileDescription(const std::string& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> info(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data())) return {};
    struct Translation { WORD language; WORD codePage; };
    Translation* translations = nullptr;
    UINT bytes = 0;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &bytes) || bytes < sizeof(Translation))
        return {};
    char key[64];
    wsprintfA(key, "\\StringFileInfo\\%04x%04x\\FileDescription",
              translations[0].language, translations[0].codePage);
    char* text = nullptr;
    if (!VerQueryValueA(info.data(), key, reinterpret_cast<void**>(&text), &bytes) || text == nullptr)
        return {};
    return text;
}

bool OpenWithShell(HWND owner, const std::string& path) {
    if (path.empty()) return false;
    HINSTANCE result = ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

// The web-page help in the user's browser; where no program opens web pages
// (a bare Wine prefix), the compiled HTML help.
void OpenHtmlHelp(HWND owner) {
    std::string html = app::HelpPathAs(HelpPath, ".html");
    if (OpenWithShell(owner, html)) return;
    if (OpenWithShell(owner, app::HelpPathAs(HelpPath, ".chm"))) return;
    Warn(owner, Format("Sorry, KEPLIN could not open its help file %s",
                       html.empty() ? HelpPath : html.c_str()));
}

}  // namespace

bool WinHelpViewerWorks() {
    std::string viewer = ViewerPath();
    if (viewer.empty()) return false;
    return !app::IsStubViewerDescription(FileDescription(viewer));
}

void ShowHelpContents(HWND owner) {
    // WinHelp itself says FALSE when its viewer cannot be started.
    if (WinHelpViewerWorks() && WinHelpA(owner, HelpPath, HELP_CONTENTS, 0)) return;
    OpenHtmlHelp(owner);
}

void ShowHelpOnHelp(HWND owner) {
    // The viewer's own winhelp.hlp is missing from most systems (Wine has
    // none): KEPLIN ships its own beside keplin.hlp.
    const std::string guide = app::HelpFileBeside(HelpPath, "winhelp.hlp");
    if (WinHelpViewerWorks() && !guide.empty() && GetFileAttributesA(guide.c_str()) != INVALID_FILE_ATTRIBUTES &&
        WinHelpA(owner, guide.c_str(), HELP_CONTENTS, 0))
        return;
    // A web browser needs no instructions of ours: the HTML help itself.
    OpenHtmlHelp(owner);
}
