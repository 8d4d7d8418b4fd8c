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

std::string HelpPathAs(std::string_view helpPath, std::string_view extension) {
    constexpr std::string_view kHlp = ".hlp";
    if (!EndsWithIgnoringCase(helpPath, kHlp) || helpPath.size() == kHlp.size()) return {};
    std::string path(helpPath.substr(0, helpPath.size() - kHlp.size()));
    path += extension;
    return path;
}

bool IsStubViewerDescription(std::string_view description) {
    // The stand-in describes itself as "Windows Winhlp32 Stub".
    return ContainsIgnoringCase(description, "stub");
}

}  // namespace app
