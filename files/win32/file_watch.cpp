#include "files/win32/file_watch.h"

#include <windows.h>

#include <cstdint>

#include "files/win32/file_bytes.h"

namespace files {

namespace {

// How long a file must stay missing before it is taken for gone.
constexpr DWORD kGoneAfterMs = 2000;

std::string Watched;
FileStamp Seen;
bool ChangeKept = false;       // another program's change, noticed as KEPLIN wrote over it
bool Missing = false;          // the last look found no file
DWORD MissingSince = 0;        // the tick count of the first look of those that found none

// Exactly: two names that differ in case are two files on a case-sensitive disk.
bool IsWatched(const std::string& path) { return !Watched.empty() && path == Watched; }

}  // namespace

FileStamp StampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    FileStamp stamp;
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return stamp;
    stamp.exists = true;
    stamp.size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    stamp.written = static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
    return stamp;
}

void WatchFile(const std::string& path) {
    Watched = path;
    Seen = path.empty() ? FileStamp{} : StampOf(path);
    ChangeKept = false;
    Missing = false;
}

void NoteWriting(const std::string& path) {
    if (IsWatched(path) && StampOf(Watched) != Seen) ChangeKept = true;
}

void NoteSeen(const std::string& path) {
    if (IsWatched(path)) Seen = StampOf(Watched);
}

bool SeenAsItIs(const std::string& path) { return IsWatched(path) && !ChangeKept && StampOf(Watched) == Seen; }

WatchNews LookAtWatchedFile() {
    if (Watched.empty()) return WatchNews::None;
    const FileStamp now = StampOf(Watched);
    if (!now.exists) {
        // Unsigned, so that the count wrapping round still gives the time between.
        const DWORD tick = GetTickCount();
        if (!Missing) MissingSince = tick;
        Missing = true;
        return tick - MissingSince >= kGoneAfterMs ? WatchNews::Gone : WatchNews::None;
    }
    Missing = false;
    return now == Seen && !ChangeKept ? WatchNews::None : WatchNews::Changed;
}

}  // namespace files
