// Paths as the program holds them: a directory and a file name, joined by a
// backslash, within the platform's limit. Used on every floor.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

// The longest full path the program accepts, in UTF-16 units as the
// platform counts it (its MAX_PATH less the terminating zero).
constexpr std::size_t kMaxPathChars = 259;
// Room for such a path in the program's UTF-8, with its zero: a UTF-16 unit
// takes at most three bytes (a pair of two, four).
constexpr std::size_t kPathBufferBytes = kMaxPathChars * 3 + 1;

struct IniPath {
    std::string directory;  // no trailing backslash
    std::string fileName;   // empty: no file selected
};

// Splits text at its last backslash. A backslash at index 0 (or none) gives an
// empty directory and the whole text as file name. The text is taken as it
// stands: no quotes removed, no blanks trimmed.
IniPath SplitIniPath(std::string_view text);

// directory + "\\" + fileName.
std::string JoinIniPath(std::string_view directory, std::string_view fileName);

// The UTF-16 units the platform makes of text in the program's code page,
// UTF-8. A byte that is no part of a valid UTF-8 character counts as one (a
// code page of one byte per character, as on older systems).
std::size_t Utf16Units(std::string_view text);

// True when the path fits kMaxPathChars UTF-16 units: a longer one is
// refused, never cut.
bool FitsPathLimit(std::string_view path);
bool FitsPathLimit(const IniPath& path);

// Text before the last backslash, or the text unchanged when it has none.
std::string CutAtLastBackslash(std::string_view path);

// ASCII case-insensitive equality, for names the platform may match without
// case (patterns, system files, a backup that may be the file itself). What
// belongs to one file (its undo history and records) is keyed by the exact
// path instead: where case counts, paths differing in case are two files.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace base
