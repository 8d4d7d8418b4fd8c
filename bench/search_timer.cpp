// search_timer: measures Find over a whole INI file.
//
//   search_timer program KEPLIN_EXE INI_FILE COUNT TEXT
//       Starts keplin.exe on INI_FILE (Windows paths), waits until its section
//       list holds COUNT items, chooses Search > Find..., types TEXT and
//       starts the clock as it chooses Find. The clock stops when the program
//       shows its "Could not find any more" box, so TEXT must be in no header
//       and no line. Prints "searched N sections, found nothing, in M ms".
//
//   search_timer reference INI_FILE TEXT
//       Runs the walk in this process the straightforward way, opening and
//       reading the file from the top for every section, and then the walk
//       keplin.exe uses, which reads the file once; prints both times.
//
//   search_timer walk INI_FILE TEXT
//       Only the walk keplin.exe uses, in this process: the walk without the
//       windows around it.
//
// Exit status: 0 measured; 1 the search did not end as expected or timed
// out; 2 usage or start-up error.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ini/scanner.h"
#include "reference_walk.h"
#include "search/search_walk.h"

namespace {

const int kSectionListId = 10;
const int kFindCommand = 522;
const int kFindTextField = 427;
const int kFindButton = 98;
const double kTimeoutMs = 600000.0;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct WindowQuery {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM data) {
    WindowQuery* query = reinterpret_cast<WindowQuery*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    // A dialog shows itself once its controls exist and are initialised.
    if (processId != query->processId || !IsWindowVisible(window)) return TRUE;
    char text[64] = "";
    char name[64] = "";
    GetWindowTextA(window, text, sizeof text);
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(text, query->caption) != 0 || std::strcmp(name, query->className) != 0) return TRUE;
    query->found = window;
    return FALSE;
}

// A visible top-level window of the process with this class and caption, waited for.
HWND WaitForWindow(DWORD processId, const char* className, const char* caption, double timeoutMs) {
    const double start = NowMs();
    for (;;) {
        WindowQuery query{processId, className, caption, nullptr};
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&query));
        if (query.found != nullptr) return query.found;
        if (NowMs() - start > timeoutMs) return nullptr;
        Sleep(1);
    }
}

long ListCount(HWND list) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 60000, &count)) return -1;
    return static_cast<long>(static_cast<LRESULT>(count));
}

std::string MessageText(HWND box) {
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

int TimeProgram(const char* exe, const char* ini, long count, const char* text) {
    char commandLine[1024];
    // The program takes its argument text literally, so it is passed unquoted.
    if (std::snprintf(commandLine, sizeof commandLine, "\"%s\" %s", exe, ini) >= static_cast<int>(sizeof commandLine)) {
        std::fprintf(stderr, "search_timer: paths too long\n");
        return 2;
    }
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    if (!CreateProcessA(exe, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "search_timer: cannot start %s (error %lu)\n", exe, GetLastError());
        return 2;
    }
    int status = 1;
    HWND main = WaitForWindow(process.dwProcessId, "KEPLIN", "KEPLIN", 60000);
    HWND list = nullptr;
    const double listStart = NowMs();
    // The window exists a moment before its controls do.
    while (main != nullptr && (list = GetDlgItem(main, kSectionListId)) == nullptr && NowMs() - listStart < 60000)
        Sleep(5);
    while (list != nullptr && ListCount(list) < count && NowMs() - listStart < kTimeoutMs) Sleep(5);
    if (list == nullptr || ListCount(list) < count) {
        std::fprintf(stderr, "search_timer: the list did not fill with %ld sections\n", count);
    } else {
        PostMessageA(main, WM_COMMAND, kFindCommand, 0);
        HWND find = WaitForWindow(process.dwProcessId, "#32770", "Find", 10000);
        if (find == nullptr) {
            std::fprintf(stderr, "search_timer: the Find dialog did not open\n");
        } else {
            SendMessageA(GetDlgItem(find, kFindTextField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
            const double start = NowMs();
            PostMessageA(find, WM_COMMAND, MAKEWPARAM(kFindButton, BN_CLICKED), 0);
            HWND box = WaitForWindow(process.dwProcessId, "#32770", "KEPLIN", kTimeoutMs);
            const double elapsed = NowMs() - start;
            if (box == nullptr) {
                std::fprintf(stderr, "search_timer: the search did not end within %.0f s\n", kTimeoutMs / 1000);
            } else {
                const std::string said = MessageText(box);
                if (said.rfind("Could not find any more", 0) != 0) {
                    std::fprintf(stderr, "search_timer: the search ended with \"%s\"\n", said.c_str());
                } else {
                    std::printf("searched %ld sections, found nothing, in %.0f ms\n", count, elapsed);
                    status = 0;
                }
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
        }
    }
    if (main != nullptr) {
        Sleep(200);
        PostMessageA(main, WM_COMMAND, 2, 0);   // Exit
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "search_timer: keplin.exe did not close; ending it\n");
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::fflush(stdout);
    return status;
}

// Runs a walk from the first section until it reports nothing more; the number of matches.
template <typename Walk>
int WalkToTheEnd(Walk walk) {
    search::WalkCursor cursor;
    int found = 0;
    while (walk(cursor) == search::WalkResult::Found) ++found;
    return found;
}

int TimeWalks(const char* ini, const char* text, bool withReference) {
    std::string bytes;
    if (!reference::ReadFileBytes(ini, bytes)) {
        std::fprintf(stderr, "search_timer: cannot open %s\n", ini);
        return 2;
    }
    ini::IniText file;
    file.OpenBytes(bytes);
    ini::VectorSink headers;
    ini::ListSectionHeaders(file, headers);
    file.Close();
    const search::WalkRequest request{text, false, 0};
    int slowFound = 0;
    if (withReference) {
        const double start = NowMs();
        slowFound = WalkToTheEnd([&](search::WalkCursor& cursor) {
            return reference::SearchSectionsOneReadPerSection(headers.lines, ini, request, cursor);
        });
        std::printf("one read per section: searched %zu sections, %d found, in %.0f ms\n", headers.lines.size(),
                    slowFound, NowMs() - start);
    }
    search::HeaderVector list(headers.lines);
    const double start = NowMs();
    const int fastFound = WalkToTheEnd([&](search::WalkCursor& cursor) {
        return search::SearchSections(list, [&](std::string& bytes) { return reference::ReadFileBytes(ini, bytes); },
                                      request, cursor);
    });
    std::printf("one read per walk:    searched %zu sections, %d found, in %.0f ms\n", headers.lines.size(),
                fastFound, NowMs() - start);
    return !withReference || slowFound == fastFound ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "program") == 0)
        return TimeProgram(argv[2], argv[3], std::strtol(argv[4], nullptr, 10), argv[5]);
    if (argc == 4 && std::strcmp(argv[1], "reference") == 0) return TimeWalks(argv[2], argv[3], true);
    if (argc == 4 && std::strcmp(argv[1], "walk") == 0) return TimeWalks(argv[2], argv[3], false);
    std::fprintf(stderr,
                 "usage: search_timer program KEPLIN_EXE INI_FILE COUNT TEXT\n"
                 "       search_timer reference INI_FILE TEXT\n"
                 "       search_timer walk INI_FILE TEXT\n");
    return 2;
}
