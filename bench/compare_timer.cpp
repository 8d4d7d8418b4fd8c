// compare_timer: measures Compare on a large INI file and a Take in it.
//
//   compare_timer window KEPLIN_EXE INI_FILE WORK_FOLDER
//   compare_timer take INI_FILE WORK_FOLDER
//
// Windows paths. The other file is INI_FILE with 10 values changed, spread
// over the file.
//
// window: INI_FILE is copied to WORK_FOLDER\compare-mine.ini and the other
// file put where keplin.exe keeps that file's backup (beside the program).
// The timer starts keplin.exe on the copy, waits for its section list,
// chooses Compare, answers Yes to the backup it offers, and stops the clock
// when the Compare window lists the 10 differences: "from the command to
// the list shown". Prints "... in N ms".
//
// take: in this process, each on a fresh copy, best of three: one key edit
// through the profile store (as Edit writes it), a Take of that key and a
// Take of its section through the store (as the Compare window writes
// them); then the comparison the window makes again after a Take (the
// current file read, compared with the other file's index it keeps).
//
// Exit status: 0 measured and every result right; 1 otherwise; 2 usage.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "files/backup_name.h"
#include "files/win32/file_text.h"
#include "files/win32/profile_store.h"
#include "ini/profile_compare.h"
#include "ini/profile_model.h"
#include "res/resource.h"

namespace {

constexpr DWORD kPollMs = 1;
constexpr double kTimeoutMs = 600000.0;
constexpr int kPlanted = 10;

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string ReadAll(const std::string& path) {
    ini::FileText text;
    files::ReadFileText(path, text);
    return text.text;
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

struct Search {
    DWORD process;
    std::function<bool(HWND)> wanted;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window) || !search->wanted(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// Polls for a top-level window of the process that satisfies wanted.
HWND WaitForWindow(DWORD process, const std::function<bool(HWND)>& wanted, double until) {
    Search search{process, wanted, nullptr};
    while (Now() < until) {
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        Sleep(kPollMs);
    }
    return nullptr;
}

LRESULT Ask(HWND window, UINT message) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, 60000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

bool Titled(HWND window, const char* title) {
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return std::strcmp(text, title) == 0;
}

// The Compare window from the command to its list: milliseconds, or a negative number.
double TimeCompare(const std::string& exe, const std::string& mine, long sections) {
    std::string commandLine = "\"" + exe + "\" " + mine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "compare_timer: cannot start %s\n", exe.c_str());
        return -1;
    }
    const double until = Now() + kTimeoutMs;
    double result = -1;
    HWND main = WaitForWindow(process.dwProcessId, [](HWND w) {
        return Titled(w, "KEPLIN") && GetDlgItem(w, IDC_SECTION_LIST) != nullptr;
    }, until);
    if (main != nullptr) {
        HWND list = GetDlgItem(main, IDC_SECTION_LIST);
        while (Now() < until && Ask(list, LB_GETCOUNT) < sections) Sleep(5);
        const double start = Now();
        PostMessageA(main, WM_COMMAND, IDM_COMPARE, 0);
        HWND box = WaitForWindow(process.dwProcessId, [](HWND w) {
            return Titled(w, "KEPLIN") && GetDlgItem(w, IDYES) != nullptr;
        }, until);
        const double asked = Now();
        if (box != nullptr) PostMessageA(box, WM_COMMAND, IDYES, reinterpret_cast<LPARAM>(GetDlgItem(box, IDYES)));
        HWND compare = box == nullptr ? nullptr : WaitForWindow(process.dwProcessId, [](HWND w) {
            HWND rows = GetDlgItem(w, IDC_COMPARE_LIST);
            return rows != nullptr && Ask(rows, LVM_GETITEMCOUNT) == kPlanted;
        }, until);
        if (compare != nullptr) {
            result = Now() - start;
            std::printf("(the question after %.0f ms, the list %.0f ms after Yes) ", asked - start, Now() - asked);
            PostMessageA(compare, WM_COMMAND, IDCANCEL, 0);
        }
        PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    }
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

// One change through the store on a fresh copy of the file: its time.
double TimeChange(const std::string& source, const std::string& copy, const std::function<bool()>& change,
                  std::string& after) {
    CopyFileA(source.c_str(), copy.c_str(), FALSE);
    DeleteFileA((copy + ".keplin-undo").c_str());
    const double start = Now();
    const bool done = change();
    const double took = Now() - start;
    after = ReadAll(copy);
    DeleteFileA(copy.c_str());
    return done ? took : -1;
}

// The other file: 10 values changed, the first key of the section at each
// tenth of the file; section receives the middle one's name.
std::string Planted(const std::string& original, std::string& section) {
    std::string other = original;
    for (int i = 0; i < kPlanted; ++i) {
        const size_t header = other.find("\n[", other.size() / kPlanted * i + 1);
        other.insert(other.find('=', header) + 1, "planted ");
        if (i == kPlanted / 2) section = other.substr(header + 2, other.find(']', header) - header - 2);
    }
    return other;
}

int Window(const std::string& exe, const std::string& source, const std::string& work) {
    const std::string mine = work + "\\compare-mine.ini";
    const std::string backup =
        exe.substr(0, exe.find_last_of('\\')) + "\\" + files::BackupFileName("compare-mine.ini");
    const std::string original = ReadAll(source);
    long sections = 0;
    for (size_t at = 0; (at = original.find("\n[", at)) != std::string::npos; ++at) ++sections;
    if (original.compare(0, 1, "[") == 0) ++sections;
    std::string section;
    const std::string other = Planted(original, section) + "[BACKUPLOCATION]\r\nOriginalLocation=" + mine + "\r\n";
    if (!WriteAll(mine, original) || !WriteAll(backup, other)) {
        std::fprintf(stderr, "compare_timer: cannot write the files\n");
        return 2;
    }
    const double compared = TimeCompare(exe, mine, sections);
    DeleteFileA(mine.c_str());
    DeleteFileA(backup.c_str());
    if (compared < 0) {
        std::fprintf(stderr, "compare_timer: the list of %d differences did not show\n", kPlanted);
        return 1;
    }
    std::printf("listed %d differences in %.0f ms\n", kPlanted, compared);
    return 0;
}

int Take(const std::string& source, const std::string& work) {
    const std::string original = ReadAll(source);
    std::string section;
    const std::string other = Planted(original, section);
    const std::string key = "Key1";
    const std::string value = ini::ReadProfileString(other, section, key).value_or("");
    // As the window takes it: from the other file's copy of the section that
    // its comparison found.
    const ini::ProfileComparison compared = ini::CompareProfiles(original, other);
    std::string_view theirs;
    for (const ini::ProfileDifference& row : compared.rows)
        if (row.section == section) theirs = std::string_view(other).substr(row.theirsFrom, row.theirsTo - row.theirsFrom);
    const std::string copy = work + "\\compare-take.ini";
    // Best of three, each on a fresh copy; after: the file as the change left it.
    auto best = [&](const std::function<bool()>& change, std::string& after) {
        double least = -1;
        for (int run = 0; run < 3; ++run) {
            const double took = TimeChange(source, copy, change, after);
            if (took < 0) return -1.0;
            if (least < 0 || took < least) least = took;
        }
        return least;
    };
    std::string afterEdit, afterKey, afterSection;
    const double edit = best([&] {
        return profile::WriteKey(section.c_str(), key.c_str(), value.c_str(), copy.c_str(), "Edit Key Key1");
    }, afterEdit);
    const double takeKey = best([&] {
        return profile::ChangeText(copy.c_str(), "Take", {section, key}, [&](std::string_view text) {
            return ini::TakeProfileKey(text, theirs, section, key);
        });
    }, afterKey);
    const double takeSection = best([&] {
        return profile::ChangeText(copy.c_str(), "Take Section", {section, ""}, [&](std::string_view text) {
            return ini::TakeProfileSection(text, theirs, section);
        });
    }, afterSection);
    std::printf("one key edit (profile store):        %8.1f ms\n", edit);
    std::printf("Take of that key (profile store):    %8.1f ms\n", takeKey);
    std::printf("Take section of its section (store): %8.1f ms\n", takeSection);

    // The list brought up to date after a Take: the current file read again
    // and compared with the other file's index, which the window keeps.
    const ini::ProfileIndex otherIndex(other);
    const double start = Now();
    ini::FileText again;
    files::ReadFileText(source, again);
    const ini::ProfileComparison comparison = ini::CompareProfiles(ini::ProfileIndex(again.text), otherIndex);
    std::printf("compared again after a Take:         %8.1f ms (%zu differences)\n", Now() - start,
                comparison.rows.size());
    const bool right = edit >= 0 && afterKey == afterEdit && afterSection == afterEdit &&
                       comparison.rows.size() == static_cast<size_t>(kPlanted);
    if (!right) std::fprintf(stderr, "compare_timer: a result is wrong\n");
    return right ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "window" && argc == 5) return Window(argv[2], argv[3], argv[4]);
    if (mode == "take" && argc == 4) return Take(argv[2], argv[3]);
    std::fprintf(stderr, "usage: compare_timer window KEPLIN_EXE INI_FILE WORK_FOLDER\n"
                         "       compare_timer take INI_FILE WORK_FOLDER\n");
    return 2;
}
