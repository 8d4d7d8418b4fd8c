// Which section a change to a listed header goes to.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// The section the profile service itself reads for the header line, so that
// a change never lands in a section the user did not mean. For a header with
// text other than blanks before its "[" the service sees no section: the user
// is told, and the result is empty.
std::optional<std::string> EditableSection(HWND owner, const std::string& header);
// The same with the header's whole line already found (HeaderLineIn), so
// that the file is not read again.
std::optional<std::string> EditableSection(HWND owner, const std::string& header,
                                           const std::optional<std::string>& line);

// The whole first line of text that begins with the listed header text: the
// list shows a header cut after its first "]", but the profile service reads
// its name up to the last "]" of the line.
std::optional<std::string> HeaderLineIn(std::string_view text, const std::string& header);
