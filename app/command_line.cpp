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

}  // namespace app
