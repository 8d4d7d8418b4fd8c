#include "base/path_rules.h"

#include <algorithm>

#include "base/unicode.h"

namespace base {

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

std::size_t Utf16Units(std::string_view text) {
    // A character beyond the first plane takes two units; a byte that
    // starts no character, one.
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        char32_t point = 0;
        units += NextCodePoint(text, at, point, false) && point >= 0x10000 ? 2 : 1;
    }
    return units;
}

bool FitsPathLimit(std::string_view path) { return Utf16Units(path) <= kMaxPathChars; }

bool FitsPathLimit(const IniPath& path) {
    // A bare name is joined to a directory later; alone, it must fit too.
    if (path.directory.empty()) return FitsPathLimit(path.fileName);
    return FitsPathLimit(JoinIniPath(path.directory, path.fileName));
}

std::string CutAtLastBackslash(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) return std::string(path);
    return std::string(path.substr(0, slash));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace base
