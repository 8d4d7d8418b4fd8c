#include "app/help_files.h"

#include <algorithm>
#include <cctype>

namespace app {

namespace {

bool EqualIgnoringCase(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), text.end() - static_cast<long>(tail.size()), EqualIgnoringCase);
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), EqualIgnoringCase) != text.end();
}

}  // namespace

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

std::string HelpPathAs(std::string_view helpPath, std::string_view extension) {
    constexpr std::string_view kHlp = ".hlp";
    if (!EndsWithIgnoringCase(helpPath, kHlp) || helpPath.size() == kHlp.size()) return {};
    std::string path(helpPath.substr(0, helpPath.size() - kHlp.size()));
    path += extension;
    return path;
}

std::string HelpFileBeside(std::string_view helpPath, std::string_view name) {
    if (HelpPathAs(helpPath, "").empty()) return {};
    const std::size_t folderEnd = helpPath.find_last_of("\\:");
    std::string path(folderEnd == std::string_view::npos ? std::string_view() : helpPath.substr(0, folderEnd + 1));
    path += name;
    return path;
}

bool IsStubViewerDescription(std::string_view description) {
    // The stand-in describes itself as "Windows Winhlp32 Stub".
    return ContainsIgnoringCase(description, "stub");
}

}  // namespace app
