#include "files/chosen_file.h"

#include <algorithm>

namespace files {

std::string WithoutFinalBackslash(std::string_view directory) {
    if (!directory.empty() && directory.back() == '\\') directory.remove_suffix(1);
    return std::string(directory);
}

std::string ChosenPath(std::string_view directoryText, std::string_view nameText) {
    // "d:x.ini" and "d:\x.ini" name their own drive; "\\server\share" too.
    if (nameText.size() >= 2 && nameText[1] == ':') return std::string(nameText);
    if (nameText.substr(0, 2) == "\\\\") return std::string(nameText);
    std::string directory = WithoutFinalBackslash(directoryText);
    if (!nameText.empty() && nameText[0] == '\\') {
        // Rooted on the drive of the current directory.
        std::string drive = directory.size() >= 2 && directory[1] == ':' ? directory.substr(0, 2) : std::string();
        return drive + std::string(nameText);
    }
    return directory + "\\" + std::string(nameText);
}

std::optional<base::IniPath> ChosenLocation(std::string_view directoryText, std::string_view nameText) {
    std::string path = ChosenPath(directoryText, nameText);
    if (!base::FitsPathLimit(path)) return std::nullopt;
    return base::SplitIniPath(path);
}

bool IsPattern(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

bool IsSystemFile(std::string_view path) {
    std::size_t slash = path.find_last_of("\\/:");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return base::EqualIgnoringCase(name, "WIN.INI") || base::EqualIgnoringCase(name, "SYSTEM.INI");
}

bool IsBackupFileType(std::string_view fileTypeText) { return fileTypeText.substr(0, 5) == "Backu"; }

}  // namespace files
