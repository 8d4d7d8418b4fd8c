// Naming a backup: the program directory, a backslash, the INI file name with
// one letter changed.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace files {

// Changes one letter of the file name: its last "i" or "I" becomes "B"; with
// none, its last character becomes "b". Only the file-name part is ever
// changed, so a backup never lands in another directory.
std::string BackupFileName(std::string_view fileName);

// programDirectory + "\\" + BackupFileName(fileName). Empty optional when the
// result would name the INI file itself (iniFullPath, compared ignoring case).
std::optional<std::string> BackupPath(std::string_view programDirectory,
                                      std::string_view fileName,
                                      std::string_view iniFullPath);

}  // namespace files
