#include "app/help_files.h"

#include <algorithm>
#include <cctype>

#include "base/path_rules.h"

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

std::string BuildHelpPath(std::string_view exePath) {
    // p stays 0 when no separator is found: the first character is kept.
    long p = static_cast<long>(exePath.size()) - 1;
    while (p > 0 && exePath[p] != '\\' && exePath[p] != ':') --p;
    std::string help(exePath.substr(0, static_cast<std::size_t>(p + 1)));
    help += base::FitsPathLimit(help + "keplin.hlp") ? "keplin.hlp" : "?";
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
