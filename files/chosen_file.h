// Rules of the Select INI File dialog that need no window: which file its
// boxes name, and which names it refuses.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "base/path_rules.h"

namespace files {

// The directory text less one final backslash (a drive's root "c:\" gives "c:").
std::string WithoutFinalBackslash(std::string_view directory);

// The path the dialog's boxes name: the file-name box text taken in the
// current directory, unless the text is itself a full path ("d:\x.ini",
// "\\server\share\x.ini") or rooted on the current drive ("\x.ini").
std::string ChosenPath(std::string_view directoryText, std::string_view nameText);

// ChosenPath split at its last backslash into the directory and the file
// name the program keeps; nothing when the path is longer than the platform
// allows (it is then refused, never cut).
std::optional<base::IniPath> ChosenLocation(std::string_view directoryText, std::string_view nameText);

// True when the name holds a wildcard, so it names a pattern, not a file.
bool IsPattern(std::string_view name);

// True for WIN.INI and SYSTEM.INI in any case, wherever they lie.
bool IsSystemFile(std::string_view path);

// True for the file type "Backup INI Files (*.INB)": its first five
// characters are "Backu", compared case-sensitively.
bool IsBackupFileType(std::string_view fileTypeText);

}  // namespace files
