// Changing an INI file's text the way the platform's profile service would,
// while leaving every byte the change does not concern as it was.
// Portable: no <windows.h>. Each function takes the file's bytes and gives the
// new bytes, or an empty optional when the change is refused (see below).
//
// Sections and keys are found as the platform's reader finds them
// (ini/profile_model.h).
//
// Refused: a section, key or value holding a CR or LF (it would split the
// line), and a UTF-16 file (byte-order mark FF FE or FE FF).
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "ini/profile_model.h"

namespace ini {

// Sets key to value in the first section named section. An existing key keeps
// its line, indentation and line end; only the text after its "=" (and the
// blanks that follow the "=") changes. A new key goes on a line of its own
// after the section's last non-empty line; a new section (header and key)
// goes at the end of the file. Leading blanks of value are dropped, as the
// platform does. Unchanged text when the key already holds that value.
std::optional<std::string> WriteProfileKey(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value);

// Sets key in the first section named section to a line without "=" (a key
// without a value), as WriteProfileKey places and keeps lines: an existing
// key keeps its line and the spelling before its "=", and loses the "=" and
// the value. Unchanged text when the key already has no value; refused for
// a key that would not read back as a key on a line of its own (empty, or
// a header such as "[x]").
std::optional<std::string> WriteProfileKeyWithoutValue(std::string_view text, std::string_view section,
                                                       std::string_view key);

// Adds an empty section (its header alone) at the end of the file, as
// WriteProfileKey adds a new one. Unchanged text when there is a section of
// that name, or for the empty name (the part before the first header).
std::optional<std::string> AddProfileSection(std::string_view text, std::string_view section);

// Removes the line of the first key named key in the first section named
// section that holds one. Unchanged text when there is none.
std::optional<std::string> DeleteProfileKey(std::string_view text, std::string_view section,
                                            std::string_view key);

// Removes the first section named section: its header line and every line
// up to the next header. For the empty name, the lines before the first
// header. Unchanged text when there is no such section.
std::optional<std::string> DeleteProfileSection(std::string_view text, std::string_view section);

}  // namespace ini
