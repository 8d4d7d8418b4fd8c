// Notices a change another program makes to the current file: the file's
// size and time of last writing are compared with what they were when KEPLIN
// last listed or wrote it. Cheap enough to ask twice a second.
#pragma once
#include <string>

namespace files {

// Watches the file at path from now on; an empty path watches nothing.
void WatchFile(const std::string& path);

// KEPLIN has written the file at path, or found it gone and said so: if it
// is the watched file, the file as it is now is no news.
void NoteSeen(const std::string& path);

// True, once, when the watched file has changed (or gone, or come back)
// since it was watched or last noted.
bool ChangedByAnotherProgram();

}  // namespace files
