// A small file system of its own, mounted on a folder of the test, so that a
// write can really run out of room half-way. Mounting needs the rights of
// root with the mount capability; where these are missing the object says so
// and the test that needs it is skipped.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "immutable_file.h"

namespace testfiles {

// Starts a Unix program through Wine; true when it could be started. Wine
// gives no handle to wait on for its end, so callers poll for its effect.
inline bool StartUnixCommand(const std::string& commandLine) {
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) {
        WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess);
    }
    return true;
}

// Total size in bytes of the file system holding the folder, 0 if unknown.
inline ULONGLONG FileSystemSize(const std::string& folder) {
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExA((folder + "\\").c_str(), &available, &total, &free)) return 0;
    return total.QuadPart;
}

class SmallFileSystem {
public:
    // Makes the folder and mounts a file system of this many kilobytes on it.
    SmallFileSystem(const std::string& folder, unsigned kilobytes) : folder_(folder) {
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string unixPath = UnixPathOf(folder);
        if (unixPath.empty()) return;
        const ULONGLONG size = static_cast<ULONGLONG>(kilobytes) * 1024;
        if (!StartUnixCommand("/bin/mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k keplin-small \"" +
                              unixPath + "\""))
            return;
        for (DWORD waited = 0; waited < 5000 && !mounted_; waited += 20) {
            mounted_ = FileSystemSize(folder) == size;
            if (!mounted_) Sleep(20);
        }
        unixPath_ = unixPath;
    }
    ~SmallFileSystem() {
        if (unixPath_.empty()) return;
        const ULONGLONG size = FileSystemSize(folder_);
        StartUnixCommand("/bin/umount -l \"" + unixPath_ + "\"");
        for (DWORD waited = 0; waited < 5000 && FileSystemSize(folder_) == size; waited += 20) Sleep(20);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Path() const { return folder_; }

private:
    std::string folder_;
    std::string unixPath_;
    bool mounted_ = false;
};

// Fills the file system of the folder with a file of its own until no more
// fits, then gives back about keepFree bytes. The filler's size, or 0.
inline size_t FillUpTo(const std::string& folder, size_t keepFree) {
    std::string filler = folder + "\\filler";
    HANDLE file = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    std::vector<char> chunk(1024, 'f');
    size_t written = 0;
    for (;;) {
        DWORD put = 0;
        if (!WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &put, nullptr) || put == 0) break;
        written += put;
    }
    size_t kept = written > keepFree ? written - keepFree : 0;
    SetFilePointer(file, static_cast<LONG>(kept), nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    return kept;
}

}  // namespace testfiles
