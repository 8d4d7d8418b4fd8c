// How the platform's profile reader reads an INI file's text: the one model
// of its rules (docs/PROFILE_RULES.md) that the writer, Check File and
// Compare all stand on. Portable: no <windows.h>.
//
// Lines end at LF, CR LF or a lone CR; blanks (space, tab, VT, FF, Ctrl-Z)
// around names and values do not count; a header is a line whose first
// non-blank character is "[" and whose name runs to its last "]"; any other
// non-blank line is a key line, its name the text before its first "=";
// names compare without regard to ASCII case and end at a NUL; the first
// matching section is the one that counts; the lines before the first header
// form a section with the empty name.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ini {

enum class ProfileLineKind { Blank, Header, Key };

// One physical line of the text as the reader sees it.
struct ProfileLine {
    std::size_t start = 0;        // offset of its first byte
    std::size_t contentEnd = 0;   // offset of its line end (or of the text's end)
    std::size_t end = 0;          // offset just after its line end
    std::size_t number = 0;       // 1 for the first line
    ProfileLineKind kind = ProfileLineKind::Blank;
    std::string_view content;     // the line without its line end
    std::string_view name;        // a header's section name or a key's name, blanks removed
    std::size_t equals = std::string_view::npos;   // offset of a key's "=" in content

    bool HasValue() const { return equals != std::string_view::npos; }
    // A key's value as it stands, blanks at both ends removed (no quotes taken off).
    std::string_view Value() const;
    // The line end as it stands: "\n", "\r\n", "\r", or empty for a last line without one.
    std::string_view LineEnd() const;
};

// The lines of a text, one after another. A UTF-8 byte-order mark at the
// start is not part of the first line. The text must outlive the reader.
class ProfileLines {
public:
    explicit ProfileLines(std::string_view text);
    // The lines from the line that starts at offset on (numbered from 1 there).
    ProfileLines(std::string_view text, std::size_t offset);
    // The next line; false at the end of the text.
    bool Next(ProfileLine& line);
    // Where the first line starts (after a UTF-8 mark).
    std::size_t BodyStart() const { return bodyStart_; }
    // The line end that added lines take: the file's first, or CR LF.
    std::string_view FileLineEnd() const;
    std::string_view Text() const { return text_; }

private:
    std::string_view text_;
    std::size_t bodyStart_ = 0;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

// A line's text as the reader takes it.
ProfileLine ParseProfileLine(std::string_view content);

// Where the line of the first header naming section starts, looking from
// the line that starts at offset on; npos when there is none. Lines that
// hold no "[" are passed over at the speed of a byte search.
std::size_t FindProfileSection(std::string_view text, std::string_view section, std::size_t offset);

// What the reader sees in a text: every section (the unnamed first one
// included, with the name "") with its key lines in file order, each as name
// and value (no value for a line without "="). Comment lines are kept as
// keys, as the reader keeps them.
struct ProfileKey {
    std::string name;
    std::optional<std::string> value;
};
struct ProfileSection {
    std::string name;
    std::vector<ProfileKey> keys;
};
std::vector<ProfileSection> ReadProfileModel(std::string_view text);

// A value as the reader gives it back: one pair of surrounding quotes, both
// double or both single, removed.
std::string_view UnquotedProfileValue(std::string_view value);

// The value the reader gives for key in section: the first matching section,
// its first matching key, blanks at both ends and one pair of surrounding
// quotes removed. Nothing when there is no such key or it has no "=".
std::optional<std::string> ReadProfileString(std::string_view text, std::string_view section,
                                             std::string_view key);

// True when two names are the same name to the reader: ASCII letters compare
// without case, and a name ends at a NUL byte.
bool SameProfileName(std::string_view a, std::string_view b);

// The section a line opens to the reader: the text between its "[" and its
// last "]", blanks removed. Nothing when the reader takes the line for no
// header ("x[Colors]", "[Colors" without "]").
std::optional<std::string> ProfileSectionOfLine(std::string_view line);

// The section Windows' reader takes a line for, where it parts from Wine's
// (the rules above): the name ends at the first "]", not the last, and a line
// whose first non-blank character is "[" with no "]" after it is a header
// too, its name running to the end of the line. Blanks around the name do
// not count. Nothing when Windows takes the line for no header.
std::optional<std::string_view> WindowsSectionOfLine(std::string_view content);

bool IsProfileBlank(char c);
// The text with the reader's blanks removed from both ends.
std::string_view TrimProfileBlanks(std::string_view text);

}  // namespace ini
