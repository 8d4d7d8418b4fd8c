// list_timer: measures how long keplin.exe takes to list the sections of an INI file.
//
//   list_timer KEPLIN_EXE INI_FILE [EXPECTED_COUNT [TIMEOUT_SECONDS]]
//
// Both paths are Windows paths. The timer starts keplin.exe with INI_FILE as its
// argument and polls every 5 ms for the program's top-level window titled "KEPLIN"
// and its section list (the list box with control id 10). It stops the clock when
// the list holds EXPECTED_COUNT items, or, without an expected count (or 0), when
// the count has stayed the same for a second. It then reads the most memory
// the program has held (its peak working set), closes it (Exit, command 2)
// and prints "listed N sections in M ms" and, on a line of its own, "peak
// memory: X MB".
//
// Exit status: 0 measured; 1 the count settled below the expected count or the
// time ran out; 2 usage or start-up error.

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kSectionListId = 10;
const DWORD kPollMs = 5;
const double kStableMs = 1000.0;

struct Finder {
    DWORD process_id;
    HWND main_window;
    HWND list;
};

// Looks for a top-level window of our process titled "KEPLIN" that has the section list.
BOOL CALLBACK find_main_window(HWND hwnd, LPARAM param) {
    Finder* finder = reinterpret_cast<Finder*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != finder->process_id) {
        return TRUE;
    }
    char title[32];
    if (GetWindowTextA(hwnd, title, sizeof title) == 0 || std::strcmp(title, "KEPLIN") != 0) {
        return TRUE;
    }
    HWND list = GetDlgItem(hwnd, kSectionListId);
    if (list == nullptr) {
        return TRUE;
    }
    char cls[16];
    if (GetClassNameA(list, cls, sizeof cls) == 0 || lstrcmpiA(cls, "ListBox") != 0) {
        return TRUE;
    }
    finder->main_window = hwnd;
    finder->list = list;
    return FALSE;
}

double elapsed_ms(const LARGE_INTEGER& start, const LARGE_INTEGER& frequency) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// The list's item count, or -1 when the program does not answer within the timeout.
long list_count(HWND list, UINT timeout_ms) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, timeout_ms, &result) == 0) {
        return -1;
    }
    return static_cast<long>(static_cast<LRESULT>(result));
}

void close_program(const PROCESS_INFORMATION& pi, HWND main_window) {
    if (main_window != nullptr && IsWindow(main_window)) {
        PostMessageA(main_window, WM_COMMAND, MAKEWPARAM(2, 0), 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "list_timer: keplin.exe did not close; ending it\n");
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr,
                     "usage: list_timer KEPLIN_EXE INI_FILE [EXPECTED_COUNT [TIMEOUT_SECONDS]]\n");
        return 2;
    }
    const char* exe = argv[1];
    const char* ini = argv[2];
    const long expected = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 0;
    const double timeout_ms = (argc > 4 ? std::strtod(argv[4], nullptr) : 600.0) * 1000.0;

    // The program takes its argument text literally, so it is passed unquoted.
    char command_line[1024];
    if (std::snprintf(command_line, sizeof command_line, "\"%s\" %s", exe, ini) >=
        static_cast<int>(sizeof command_line)) {
        std::fprintf(stderr, "list_timer: paths too long\n");
        return 2;
    }

    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    QueryPerformanceFrequency(&frequency);

    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof pi);

    QueryPerformanceCounter(&start);
    if (!CreateProcessA(exe, command_line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "list_timer: cannot start %s (error %lu)\n", exe, GetLastError());
        return 2;
    }

    Finder finder = {pi.dwProcessId, nullptr, nullptr};
    long count = -1;
    long last_count = -1;
    double last_change_ms = 0.0;
    int status = 1;
    bool timed_out = false;

    for (;;) {
        const double now = elapsed_ms(start, frequency);
        if (now > timeout_ms) {
            timed_out = true;
            break;
        }
        if (finder.list == nullptr) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
                std::fprintf(stderr,
                             "list_timer: keplin.exe ended before its window appeared "
                             "(is another KEPLIN running?)\n");
                CloseHandle(pi.hThread);
                CloseHandle(pi.hProcess);
                return 2;
            }
            EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&finder));
        }
        if (finder.list != nullptr) {
            const double remaining = timeout_ms - now;
            count = list_count(finder.list, remaining > 1.0 ? static_cast<UINT>(remaining) : 1u);
            const double seen = elapsed_ms(start, frequency);
            if (count < 0) {
                if (!IsWindow(finder.list)) {
                    std::fprintf(stderr, "list_timer: the section list went away\n");
                    break;
                }
            } else {
                if (count != last_count) {
                    last_count = count;
                    last_change_ms = seen;
                }
                if (expected > 0 && count >= expected) {
                    status = 0;
                    break;
                }
                if (seen - last_change_ms >= kStableMs) {
                    status = expected > 0 ? 1 : 0;
                    break;
                }
            }
        }
        Sleep(kPollMs);
    }

    PROCESS_MEMORY_COUNTERS memory;
    ZeroMemory(&memory, sizeof memory);
    const bool measured = GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory) != FALSE;
    close_program(pi, finder.main_window);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);

    if (last_count < 0) {
        std::fprintf(stderr, "list_timer: no section list appeared within %.0f s\n", timeout_ms / 1000.0);
        return 1;
    }
    std::printf("listed %ld sections in %.0f ms\n", last_count, last_change_ms);
    if (measured) std::printf("peak memory: %.1f MB\n", static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0);
    if (timed_out) {
        std::fprintf(stderr, "list_timer: timed out after %.0f s\n", timeout_ms / 1000.0);
        return 1;
    }
    if (expected > 0 && last_count < expected) {
        std::fprintf(stderr, "list_timer: the list settled at %ld of %ld expected sections\n",
                     last_count, expected);
    }
    std::fflush(stdout);
    return status;
}
