// Which section a change to a listed header goes to.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

// The section the profile service itself reads for the header line, so that
// a change never lands in a section the user did not mean. For a header with
// text other than blanks before its "[" the service sees no section: the user
// is told, and the result is empty.
std::optional<std::string> EditableSection(HWND owner, const std::string& header);
