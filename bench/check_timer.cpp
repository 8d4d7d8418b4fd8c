// check_timer: measures how long Check File takes in keplin.exe, from the
// command to its result shown.
//
//   check_timer KEPLIN_EXE INI_FILE SECTIONS FINDINGS [TIMEOUT_SECONDS]
//
// Both paths are Windows paths. The timer starts keplin.exe on INI_FILE and
// waits until its section list holds SECTIONS items. Then it starts the clock,
// sends Check File (command IDM_CHECK_FILE) to the main window and polls every
// millisecond until the result shows: with FINDINGS above 0, the visible
// "Check File" window whose list holds FINDINGS rows; with 0, the visible
// message "No problems found in ...". It closes both, ends the program and
// prints "checked: ... shown in M ms".
//
// Exit status: 0 measured; 1 the result did not come in time or was another;
// 2 usage or start-up error.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "res/resource.h"

namespace {

struct Finder {
    DWORD processId;
    const char* caption;
    HWND other;   // a window of that caption that is not the one sought
    HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM param) {
    Finder* finder = reinterpret_cast<Finder*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[64];
    if (pid != finder->processId || window == finder->other || !IsWindowVisible(window) || GetWindowTextA(window, title, sizeof title) == 0 ||
        std::strcmp(title, finder->caption) != 0)
        return TRUE;
    finder->found = window;
    return FALSE;
}

HWND VisibleWindow(DWORD processId, const char* caption, HWND other = nullptr) {
    Finder finder{processId, caption, other, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&finder));
    return finder.found;
}

long Ask(HWND window, UINT message) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, 0, 0, SMTO_NORMAL, 1000, &result) == 0) return -1;
    return static_cast<long>(static_cast<LRESULT>(result));
}

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& frequency) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5 || argc > 6) {
        std::fprintf(stderr, "usage: check_timer KEPLIN_EXE INI_FILE SECTIONS FINDINGS [TIMEOUT_SECONDS]\n");
        return 2;
    }
    const long sections = std::strtol(argv[3], nullptr, 10);
    const long findings = std::strtol(argv[4], nullptr, 10);
    const double timeoutMs = (argc > 5 ? std::strtod(argv[5], nullptr) : 600.0) * 1000.0;
    char commandLine[1024];
    if (std::snprintf(commandLine, sizeof commandLine, "\"%s\" %s", argv[1], argv[2]) >=
        static_cast<int>(sizeof commandLine)) {
        std::fprintf(stderr, "check_timer: paths too long\n");
        return 2;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(argv[1], commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "check_timer: cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 2;
    }
    LARGE_INTEGER frequency, start;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);

    // The file listed first: the figure is Check File's alone.
    HWND main = nullptr;
    while (Milliseconds(start, frequency) < timeoutMs) {
        if (main == nullptr) main = VisibleWindow(process.dwProcessId, "KEPLIN");
        if (main != nullptr && Ask(GetDlgItem(main, IDC_SECTION_LIST), LB_GETCOUNT) >= sections) break;
        Sleep(5);
    }
    int status = 1;
    double shownMs = 0.0;
    if (main != nullptr) {
        QueryPerformanceCounter(&start);
        PostMessageW(main, WM_COMMAND, IDM_CHECK_FILE, 0);
        while ((shownMs = Milliseconds(start, frequency)) < timeoutMs) {
            if (findings > 0) {
                HWND window = VisibleWindow(process.dwProcessId, "Check File");
                if (window != nullptr && Ask(GetDlgItem(window, IDC_CHECK_LIST), LVM_GETITEMCOUNT) == findings) {
                    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
                    status = 0;
                    break;
                }
            } else {
                HWND box = VisibleWindow(process.dwProcessId, "KEPLIN", main);
                char text[64] = "";
                if (box != nullptr && GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0 &&
                    std::strncmp(text, "No problems found in ", 21) == 0) {
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                    status = 0;
                    break;
                }
            }
            Sleep(1);
        }
        Sleep(200);
        PostMessageW(main, WM_COMMAND, IDM_EXIT, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (status != 0) {
        std::fprintf(stderr, "check_timer: no result within %.0f s\n", timeoutMs / 1000.0);
        return 1;
    }
    if (findings > 0)
        std::printf("checked: %ld findings shown in %.0f ms\n", findings, shownMs);
    else
        std::printf("checked: no problems shown in %.0f ms\n", shownMs);
    return 0;
}
