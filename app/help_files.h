// Which help file to show: the rules that need no window.
#pragma once
#include <string>
#include <string_view>

namespace app {

// Another form of the help beside the WinHelp file: "...\keplin.hlp" with
// ".html" gives "...\keplin.html". Empty when the help path names no .hlp
// file (the "?" path of a program directory too long for it).
std::string HelpPathAs(std::string_view helpPath, std::string_view extension);

// True when a WinHelp viewer's file description marks it as the stand-in
// that current Windows ships instead of the viewer: it refuses every .hlp
// file, so asking it for help shows nothing but its own apology.
bool IsStubViewerDescription(std::string_view description);

}  // namespace app
