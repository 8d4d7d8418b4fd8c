// Changing an INI file's text the way the platform's profile service would,
// while leaving every byte the change does not concern as it was.
// Portable: no <windows.h>. Each function takes the file's bytes and gives the
// new bytes, or an empty optional when the change is refused (see below).
//
// Sections and keys are found as the platform's reader finds them (the rules
// are written down in docs/PROFILE_RULES.md): lines end at LF, CR LF or a lone
// CR; blanks (space, tab, VT, FF, Ctrl-Z) around names and values do not
// count; a header is a line whose first non-blank character is "[" and whose
// name runs to its last "]"; names compare without regard to ASCII case; the
// first matching section is the one that counts; the lines before the first
// header form a section with the empty name.
//
// Refused: a section, key or value holding a CR or LF (it would split the
// line), and a UTF-16 file (byte-order mark FF FE or FE FF).
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ini {

// Sets key to value in the first section named section. An existing key keeps
// its line, indentation and line end; only the text after its "=" (and the
// blanks that follow the "=") changes. A new key goes on a line of its own
// after the section's last non-empty line; a new section (header and key)
// goes at the end of the file. Leading blanks of value are dropped, as the
// platform does. Unchanged text when the key already holds that value.
std::optional<std::string> WriteProfileKey(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value);

// Removes the line of the first key named key in the first section named
// section that holds one. Unchanged text when there is none.
std::optional<std::string> DeleteProfileKey(std::string_view text, std::string_view section,
                                            std::string_view key);

// Removes the first section named section: its header line and every line
// up to the next header. For the empty name, the lines before the first
// header. Unchanged text when there is no such section.
std::optional<std::string> DeleteProfileSection(std::string_view text, std::string_view section);

// What the platform's reader sees in a text: every section (the unnamed first
// one included, with the name "") with its key lines in file order, each as
// name and value (no value for a line without "="). Comment lines are kept
// as keys, as the reader keeps them. For tests and the fuzzer's oracle.
struct ProfileKey {
    std::string name;
    std::optional<std::string> value;
};
struct ProfileSection {
    std::string name;
    std::vector<ProfileKey> keys;
};
std::vector<ProfileSection> ReadProfileModel(std::string_view text);

// The value the platform's reader gives for key in section: the first
// matching section, its first matching key, blanks at both ends and one pair
// of surrounding double quotes removed. Nothing when there is no such key
// or it has no "=".
std::optional<std::string> ReadProfileString(std::string_view text, std::string_view section,
                                             std::string_view key);

// True when two names are the same name to the platform: ASCII letters compare
// without case, and a name ends at a NUL byte.
bool SameProfileName(std::string_view a, std::string_view b);

// The section a line opens to the platform's reader: the text between its
// "[" and its last "]", blanks removed. Nothing when the reader takes the line
// for no header ("x[Colors]", "[Colors" without "]").
std::optional<std::string> ProfileSectionOfLine(std::string_view line);

// The name with the platform's blanks removed from both ends.
std::string_view TrimProfileBlanks(std::string_view text);

}  // namespace ini
