// A small file system of its own, mounted on a folder of the test, so that a
// write can really run out of room half-way. Mounting needs the rights of
// root with the mount capability; where these are missing the object says so
// and the test that needs it is skipped.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "immutable_file.h"
#include "unix_shell.h"

namespace testfiles {

// Total size in bytes of the file system holding the folder, 0 if unknown.
inline ULONGLONG FileSystemSize(const std::string& folder) {
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExA((folder + "\\").c_str(), &available, &total, &free)) return 0;
    return total.QuadPart;
}

class SmallFileSystem {
public:
    // Makes the folder beside the others of parent and mounts a file system
    // of this many kilobytes on it.
    SmallFileSystem(const std::string& parent, const std::string& name, unsigned kilobytes)
        : parent_(parent), folder_(parent + "\\" + name) {
        CreateDirectoryA(folder_.c_str(), nullptr);
        ShellResult mount = RunShell(parent_, "mount -t tmpfs -o size=" + std::to_string(kilobytes) +
                                                  "k keplin-small '" + UnixPathOf(folder_) + "'");
        // Only a file system of exactly that size counts: filling anything
        // else would fill the real disk.
        const ULONGLONG size = static_cast<ULONGLONG>(kilobytes) * 1024;
        mounted_ = mount.ran && mount.status == 0 && FileSystemSize(folder_) == size;
        if (mount.ran && mount.status == 0 && !mounted_) RunShell(parent_, "umount -l '" + UnixPathOf(folder_) + "'");
        limit_ = size;
    }
    ~SmallFileSystem() {
        // Lazily: the program may still look at the folder.
        if (mounted_) RunShell(parent_, "umount -l '" + UnixPathOf(folder_) + "'");
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Path() const { return folder_; }

    // Fills the file system with a file of its own until no more fits, then
    // gives back about keepFree bytes. The filler's size, or 0.
    size_t FillUpTo(size_t keepFree) const {
        if (!mounted_) return 0;
        std::string filler = folder_ + "\\filler";
        HANDLE file =
            CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 0;
        std::vector<char> chunk(1024, 'f');
        size_t written = 0;
        // Never more than the small file system can hold.
        while (written < limit_) {
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

private:
    std::string parent_;
    std::string folder_;
    ULONGLONG limit_ = 0;
    bool mounted_ = false;
};

}  // namespace testfiles
