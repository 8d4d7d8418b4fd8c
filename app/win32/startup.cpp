#include "app/win32/startup.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/help_files.h"
#include "app/win32/main_window.h"
#include "base/path_rules.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/file_bytes.h"
#include "res/resource.h"

namespace {

// Set when the command line named a path too long to hold: the program then
// starts with no file rather than opening WIN.INI in its place, and says so
// once its window is up.
bool ArgumentRefused;
std::string RefusedArgument;

void ParseCommandLine(const char* argumentText) {
    if (argumentText == nullptr || *argumentText == '\0') return;
    ArgumentRefused = !SetIniLocation(argumentText);
    if (ArgumentRefused) RefusedArgument = argumentText;
}

// A path no file can have ("?" is not allowed in names): where the program's
// own path cannot be named, what would lie beside it is looked for there,
// found nowhere and written nowhere, rather than somewhere else.
const char kNoPath[] = "?";

// The program's own path, read wide and whole (the A call cuts a path whose
// bytes outgrow its buffer, and puts look-alikes for characters the code
// page lacks), in the code page of the A calls that take it. kNoPath when
// that code page cannot name it exactly, or it is beyond the path limit.
std::string ProgramPath() {
    std::wstring wide(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &wide[0], static_cast<DWORD>(wide.size()));
        if (length == 0) return kNoPath;
        if (length < wide.size()) {
            wide.resize(length);
            break;
        }
        if (wide.size() >= 32768) return kNoPath;
        wide.resize(wide.size() * 2);
    }
    // Exactly: only a path that reads back as the same characters (a lone
    // surrogate does not) names this program.
    const std::optional<std::string> path = files::NarrowPath(wide);
    if (!path || !base::FitsPathLimit(*path)) return kNoPath;
    return *path;
}

void FillHelpPath() {
    const std::string exePath = ProgramPath();
    CopyInto(HelpPath, sizeof HelpPath, exePath == kNoPath ? exePath : app::BuildHelpPath(exePath));
}

bool IsCdRomPath(const char* path) {
    char root[4] = "";
    std::snprintf(root, sizeof root, "%.3s", path);
    return GetDriveTypeA(root) == DRIVE_CDROM;
}

// The first window titled "KEPLIN" belongs to a running instance.
bool RestoreRunningInstance() {
    HWND running = FindWindowA(nullptr, "KEPLIN");
    if (running == nullptr) return false;
    ShowWindow(running, SW_RESTORE);
    return true;
}

void RegisterMainClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "KEPLIN");
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszMenuName = "KEPLIN";
    wc.lpszClassName = "KEPLIN";
    RegisterClassA(&wc);    // an existing registration (a second run in one process) is fine
}

// The window's class procedure is MainWindowProc, so the dialog manager sends
// every message there, WM_INITDIALOG included; it sends WM_INITDIALOG only
// when it is given a dialog procedure, and this one stands in for that.
INT_PTR CALLBACK MainDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (MainWindow != nullptr && IsDialogMessageA(MainWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

bool SetIniLocation(const char* path) {
    base::IniPath split = base::SplitIniPath(path);
    if (!base::FitsPathLimit(split)) {
        IniLocation.directory[0] = '\0';
        IniLocation.fileName[0] = '\0';
        return false;
    }
    CopyInto(IniLocation.directory, sizeof IniLocation.directory, split.directory);
    CopyInto(IniLocation.fileName, sizeof IniLocation.fileName, split.fileName);
    BackupMade = 0;   // a new selection gets its own backup
    return true;
}

void ComputeProgramDirectory() {
    const std::string exePath = ProgramPath();
    std::string directory = exePath;
    // From a CD-ROM the program directory cannot be written: keep preferences
    // and backups beside the INI files instead. With no directory to cut
    // there, stay with the executable's directory.
    if (exePath != kNoPath && IsCdRomPath(exePath.c_str()) && std::strchr(IniLocation.directory, '\\') != nullptr)
        directory = IniLocation.directory;
    CopyInto(ProgramDirectory, sizeof ProgramDirectory, base::CutAtLastBackslash(directory));
}

void CompleteIniLocation() {
    if (IniLocation.directory[0] != '\0' || ArgumentRefused) return;
    if (IniLocation.fileName[0] == '\0') {
        GetWindowsDirectoryA(IniLocation.directory, sizeof IniLocation.directory);
        CopyInto(IniLocation.fileName, sizeof IniLocation.fileName, "WIN.INI");
    } else {
        CopyInto(IniLocation.directory, sizeof IniLocation.directory, ProgramDirectory);
    }
}

int KeplinMain(HINSTANCE instance, const char* argumentText, int showCommand) {
    ResetProgramRecords();
    ArgumentRefused = false;
    RefusedArgument.clear();
    ProgramInstance = instance;
    if (RestoreRunningInstance()) return 0;
    ParseCommandLine(argumentText);
    FillHelpPath();
    // The manifest asks for version 6 of the common controls; older systems
    // that honour it create no dialog until the library is loaded.
    InitCommonControls();
    RegisterMainClass(instance);
    // Loaded as the program always has; F3 reaches Find Next through the
    // windows' own key handling, so the loop translates no accelerators.
    LoadAcceleratorsA(instance, "KEPLIN");
    MainWindow = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    if (MainWindow == nullptr) {
        Warn(nullptr, "Sorry, KEPLIN could not create its main window.");
        return 1;
    }
    ShowWindow(MainWindow, showCommand);
    if (ArgumentRefused) RefusePath(MainWindow, RefusedArgument.c_str());
    int exitCode = RunMessageLoop();
    MainWindow = nullptr;
    return exitCode;
}
