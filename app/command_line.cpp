#include "app/command_line.h"

namespace app {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string ArgumentText(std::string_view commandLine) {
    std::size_t i = 0;
    const std::size_t n = commandLine.size();
    if (n > 0 && commandLine[0] == '"') {
        // A quoted name may hold blanks; it ends at the closing quote.
        i = commandLine.find('"', 1);
        i = (i == std::string_view::npos) ? n : i + 1;
    } else {
        while (i < n && !IsBlank(commandLine[i])) ++i;
    }
    while (i < n && IsBlank(commandLine[i])) ++i;
    return std::string(commandLine.substr(i));
}

IniPath SplitIniPath(std::string_view text) {
    const std::size_t slash = text.rfind('\\');
    // A backslash at index 0 leaves no directory to name ("\X.INI").
    if (slash == std::string_view::npos || slash == 0) return IniPath{std::string(), std::string(text)};
    return IniPath{std::string(text.substr(0, slash)), std::string(text.substr(slash + 1))};
}

std::string JoinIniPath(std::string_view directory, std::string_view fileName) {
    std::string path(directory);
    path += '\\';
    path += fileName;
    return path;
}

bool FitsPathLimit(const IniPath& path) {
    if (path.directory.empty()) return path.fileName.size() <= kMaxPathChars;
    return path.directory.size() + 1 + path.fileName.size() <= kMaxPathChars;
}

std::string CutAtLastBackslash(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) return std::string(path);
    return std::string(path.substr(0, slash));
}

std::string BuildHelpPath(std::string_view exePath, std::size_t capacity) {
    // The path arrives in a buffer of capacity bytes, so it is cut to fit first.
    if (capacity == 0) return "?";
    std::string_view path = exePath.substr(0, capacity - 1);
    // p stays 0 when no separator is found: the first character is kept.
    long p = static_cast<long>(path.size()) - 1;
    while (p > 0 && path[p] != '\\' && path[p] != ':') --p;
    std::string help(path.substr(0, static_cast<std::size_t>(p + 1)));
    help += (p + 13 < static_cast<long>(capacity)) ? "keplin.hlp" : "?";
    return help;
}

}  // namespace app
