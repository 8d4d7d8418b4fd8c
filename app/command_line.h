// The argument text of the command line: a rule of start-up that needs no window.
#pragma once
#include <string>
#include <string_view>

namespace app {

// The command line after the program's own name and the blanks that follow
// it; a name in double quotes counts as one word.
std::string ArgumentText(std::string_view commandLine);

}  // namespace app
