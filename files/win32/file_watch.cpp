#include "files/win32/file_watch.h"

#include <windows.h>

#include <cstdint>

#include "base/path_rules.h"
#include "files/win32/file_bytes.h"

namespace files {

namespace {

struct Stamp {
    bool exists = false;
    uint64_t size = 0;
    uint64_t written = 0;
    bool operator==(const Stamp& other) const {
        return exists == other.exists && size == other.size && written == other.written;
    }
};

std::string Watched;
Stamp Seen;

Stamp StampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    Stamp stamp;
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return stamp;
    stamp.exists = true;
    stamp.size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    stamp.written = static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
    return stamp;
}

}  // namespace

void WatchFile(const std::string& path) {
    Watched = path;
    Seen = path.empty() ? Stamp{} : StampOf(path);
}

void NoteSeen(const std::string& path) {
    if (!Watched.empty() && base::EqualIgnoringCase(path, Watched)) Seen = StampOf(Watched);
}

bool ChangedByAnotherProgram() {
    if (Watched.empty()) return false;
    const Stamp now = StampOf(Watched);
    if (now == Seen) return false;
    Seen = now;
    return true;
}

}  // namespace files
