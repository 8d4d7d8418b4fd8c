// Rules of start-up that need no window: the argument text, the directory and
// file-name split, joining them again, the help path.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace app {

// The longest full path the program accepts (the platform's MAX_PATH less
// the terminating zero).
constexpr std::size_t kMaxPathChars = 259;

struct IniPath {
    std::string directory;  // no trailing backslash
    std::string fileName;   // empty: no file selected
};

// The command line after the program's own name and the blanks that follow
// it; a name in double quotes counts as one word.
std::string ArgumentText(std::string_view commandLine);

// Splits text at its last backslash. A backslash at index 0 (or none) gives an
// empty directory and the whole text as file name. The text is taken as it
// stands: no quotes removed, no blanks trimmed.
IniPath SplitIniPath(std::string_view text);

// directory + "\\" + fileName.
std::string JoinIniPath(std::string_view directory, std::string_view fileName);

// True when the joined path fits kMaxPathChars (false means: refuse it).
bool FitsPathLimit(const IniPath& path);

// Text before the last backslash, or the text unchanged when it has none.
std::string CutAtLastBackslash(std::string_view path);

// The help file's path from the executable's path: the text up to and
// including the last "\" or ":" (index 0 never examined), then "keplin.hlp";
// "?" instead when the result would not fit capacity bytes with its zero.
std::string BuildHelpPath(std::string_view exePath, std::size_t capacity);

}  // namespace app
