// Files that refuse every write, for the tests of failed writes. The tests run
// as root, for whom a read-only attribute stops nothing; the immutable flag of
// the Linux file system stops root too. Wine starts Unix programs itself, so
// the test sets the flag with chattr, found by its Unix path.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testfiles {

// The Unix path of a Windows path, or "" outside Wine.
inline std::string UnixPathOf(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    ToUnix toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    int size = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(size));
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), size);
    char* unixPath = toUnix(wide.data());
    if (!unixPath) return std::string();
    std::string path = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return path;
}

// Starts a Unix program (Wine runs those itself) and returns at once: Wine
// gives no handle of a Unix process to wait on, so callers watch for what
// the program leaves behind.
inline bool StartUnixProgram(const std::string& commandLine) {
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    return true;
}

// True when the file can be opened for writing now; for a folder, when a new
// file can be made in it. Each probe has a name of its own: one made just
// before the folder locked cannot be deleted.
inline bool CanOpenForWriting(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        static unsigned probes = 0;
        const std::string probe =
            path + "\\probe-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++probes);
        HANDLE made = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (made == INVALID_HANDLE_VALUE) return false;
        CloseHandle(made);
        return true;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// Runs chattr on the file and waits until writing is refused or allowed as
// asked: Wine gives no handle of a Unix process to wait on. True when the
// file is as asked.
inline bool SetImmutable(const std::string& path, bool immutable) {
    std::string unixPath = UnixPathOf(path);
    if (unixPath.empty()) return false;
    std::string commandLine = std::string("/usr/bin/chattr ") + (immutable ? "+i" : "-i") + " \"" + unixPath + "\"";
    if (!StartUnixProgram(commandLine)) return false;
    for (DWORD waited = 0; waited < 5000; waited += 20) {
        if (CanOpenForWriting(path) == !immutable) return true;
        Sleep(20);
    }
    return false;
}

// A file, or a folder, made immutable for the life of this object.
class ImmutableFile {
public:
    explicit ImmutableFile(const std::string& path) : path_(path), immutable_(SetImmutable(path, true)) {}
    ~ImmutableFile() { SetImmutable(path_, false); }
    ImmutableFile(const ImmutableFile&) = delete;
    ImmutableFile& operator=(const ImmutableFile&) = delete;
    // False when the flag could not be set: the test then proves nothing.
    bool Immutable() const { return immutable_; }

private:
    std::string path_;
    bool immutable_;
};

// The folder that ScratchFolder(name) makes.
inline std::string ScratchFolderPath(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + "keplin-window-tests\\" + name;
}

// Frees the files and folders of a folder that an interrupted run left
// immutable, so that the folder can be removed.
inline void FreeImmutableFiles(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = folder + "\\" + name;
        if (!CanOpenForWriting(path)) SetImmutable(path, false);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace testfiles
