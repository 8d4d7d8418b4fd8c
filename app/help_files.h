// Which help file to show: the rules that need no window.
#pragma once
#include <string>
#include <string_view>

namespace app {

// The help file's path from the executable's whole path: the text up to and
// including the last "\" or ":" (index 0 never examined), then "keplin.hlp";
// "?" instead when the result would be beyond the path limit, which counts
// UTF-16 units as the platform does.
std::string BuildHelpPath(std::string_view exePath);

// Another form of the help beside the WinHelp file: "...\keplin.hlp" with
// ".html" gives "...\keplin.html". Empty when the help path names no .hlp
// file (the "?" path of a program directory too long for it).
std::string HelpPathAs(std::string_view helpPath, std::string_view extension);

// Another help file in the help's folder: "...\keplin.hlp" with "winhelp.hlp"
// gives "...\winhelp.hlp". Empty where HelpPathAs is.
std::string HelpFileBeside(std::string_view helpPath, std::string_view name);

// True when a WinHelp viewer's file description marks it as the stand-in
// that current Windows ships instead of the viewer: it refuses every .hlp
// file, so asking it for help shows nothing but its own apology.
bool IsStubViewerDescription(std::string_view description);

}  // namespace app
