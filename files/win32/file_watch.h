// Notices a change another program makes to the current file: the file's
// size and time of last writing are compared with what they were when KEPLIN
// last listed or wrote it. Cheap enough to ask twice a second.
#pragma once
#include <cstdint>
#include <string>

namespace files {

// A file's size and time of last writing: what any write changes.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t written = 0;
    bool operator==(const FileStamp& other) const {
        return exists == other.exists && size == other.size && written == other.written;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// The file's stamp now; exists is false when it cannot be found.
FileStamp StampOf(const std::string& path);

// Watches the file at path from now on; an empty path watches nothing.
void WatchFile(const std::string& path);

// KEPLIN is about to write the file at path: if it is the watched file and
// another program has changed it since KEPLIN last saw it, that change is
// still news after KEPLIN's own write.
void NoteWriting(const std::string& path);

// KEPLIN has written the file at path, or listed it: if it is the watched
// file, the file as it is now is no news (but for a change NoteWriting kept).
void NoteSeen(const std::string& path);

// True when path is the watched file and it is as KEPLIN last saw it.
bool SeenAsItIs(const std::string& path);

enum class WatchNews {
    None,      // nothing new, or the file has been missing for a moment only
    Changed,   // the file has changed: list it again (until that succeeds, the news stays)
    Gone,      // the file has been missing for two seconds
};

// What a look at the watched file finds. A file that programs save by
// deleting and writing it anew is missing for a moment: only a file missing
// at every look for two seconds is gone. A file that is there but cannot be
// read for a moment stays Changed until it is listed.
WatchNews LookAtWatchedFile();

}  // namespace files
