#include "base/path_rules.h"

#include <algorithm>

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

namespace {

// The length of the valid UTF-8 character at the start of text, 0 when none
// starts there (overlong forms and surrogates are none).
std::size_t CharacterLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    const unsigned char second = byte(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second >= 0x90))
        return 0;
    return length;
}

}  // namespace

std::size_t Utf16Units(std::string_view text) {
    std::size_t units = 0;
    while (!text.empty()) {
        const std::size_t length = CharacterLength(text);
        units += length == 4 ? 2 : 1;
        text.remove_prefix(length == 0 ? 1 : length);
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
