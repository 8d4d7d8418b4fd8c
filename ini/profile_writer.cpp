#include "ini/profile_writer.h"

namespace ini {

namespace {

std::string_view TrimLeft(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsProfileBlank(text[start])) ++start;
    return text.substr(start);
}

std::string_view TrimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsProfileBlank(text[end - 1])) --end;
    return text.substr(0, end);
}

// Names and values reach the platform as C strings: they end at a NUL byte.
std::string_view CString(std::string_view text) { return text.substr(0, text.find('\0')); }

bool HoldsLineEnd(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool Utf16(std::string_view text) {
    return text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'));
}

// The text with [from, to) replaced by insert.
std::string Splice(std::string_view text, std::size_t from, std::size_t to, std::string_view insert) {
    std::string result;
    result.reserve(text.size() - (to - from) + insert.size());
    result.append(text.substr(0, from));
    result.append(insert);
    result.append(text.substr(to));
    return result;
}

std::string KeyLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    return line;
}

// A section header and, when given, a first key line, added at the end of
// the file as the platform adds a new section.
std::string WithNewSection(std::string_view text, const ProfileLines& file, std::string_view section,
                           const std::string* keyLine) {
    const std::string lineEnd(file.FileLineEnd());
    std::string insert;
    const bool endsOpen = text.size() > file.BodyStart() && text.back() != '\n' && text.back() != '\r';
    if (endsOpen) insert += lineEnd;
    insert += '[';
    insert += section;
    insert += ']';
    if (keyLine != nullptr) {
        insert += lineEnd;
        insert += *keyLine;
    }
    if (!endsOpen) insert += lineEnd;
    return Splice(text, text.size(), text.size(), insert);
}

// Sets key in the first section named section: to value, or, without a
// value, to a line without "=".
std::optional<std::string> WriteKeyLine(std::string_view text, std::string_view section, std::string_view key,
                                        std::optional<std::string_view> value) {
    ProfileLines file(text);
    section = CString(section);
    key = CString(key);
    if (value) value = CString(*value);
    if (Utf16(text) || HoldsLineEnd(section) || HoldsLineEnd(key) || (value && HoldsLineEnd(*value)))
        return std::nullopt;
    section = TrimProfileBlanks(section);
    key = TrimProfileBlanks(key);
    if (value) value = TrimLeft(*value);
    // Without "=", the line must still read as that key: not empty, not a header.
    if (!value && ParseProfileLine(key).kind != ProfileLineKind::Key) return std::nullopt;

    const std::string added = value ? KeyLine(key, *value) : std::string(key);
    // The unnamed part before the first header is the section ""; a named
    // one is sought header by header, its lines then walked.
    const std::size_t start = section.empty() ? file.BodyStart() : FindProfileSection(text, section, file.BodyStart());
    if (start == std::string_view::npos) return WithNewSection(text, file, section, &added);
    ProfileLines lines(text, start);
    bool haveAnchor = false;   // a non-empty line of the target section, or its header
    ProfileLine anchor;
    if (!section.empty()) haveAnchor = lines.Next(anchor);   // the section's own header
    ProfileLine line;
    while (lines.Next(line)) {
        if (line.kind == ProfileLineKind::Header) break;
        if (line.kind == ProfileLineKind::Blank) continue;
        anchor = line;
        haveAnchor = true;
        if (!SameProfileName(line.name, key)) continue;
        if (!value) {
            // The line keeps its name as it stands and loses "=" and the value.
            if (!line.HasValue()) return std::string(text);
            const std::size_t nameEnd = TrimRight(line.content.substr(0, line.equals)).size();
            return Splice(text, line.start + nameEnd, line.contentEnd, "");
        }
        if (!line.HasValue()) {
            // A line without "=" is a key without a value: it gains one.
            std::string replaced(TrimRight(line.content));
            replaced += '=';
            replaced += *value;
            return Splice(text, line.start, line.contentEnd, replaced);
        }
        if (line.Value() == *value) return std::string(text);
        std::size_t valueStart = line.equals + 1;
        while (valueStart < line.content.size() && IsProfileBlank(line.content[valueStart])) ++valueStart;
        return Splice(text, line.start + valueStart, line.contentEnd, *value);
    }

    if (!haveAnchor) {
        // An unnamed part without lines: its first key opens the file.
        const std::string insert = added + std::string(file.FileLineEnd());
        return Splice(text, file.BodyStart(), file.BodyStart(), insert);
    }
    if (!anchor.LineEnd().empty()) return Splice(text, anchor.end, anchor.end, added + std::string(anchor.LineEnd()));
    // The anchor is the last line and has no line end: it stays without one.
    return Splice(text, anchor.end, anchor.end, std::string(file.FileLineEnd()) + added);
}

}  // namespace

std::optional<std::string> WriteProfileKey(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
    return WriteKeyLine(text, section, key, value);
}

std::optional<std::string> WriteProfileKeyWithoutValue(std::string_view text, std::string_view section,
                                                       std::string_view key) {
    return WriteKeyLine(text, section, key, std::nullopt);
}

std::optional<std::string> AddProfileSection(std::string_view text, std::string_view section) {
    ProfileLines file(text);
    section = CString(section);
    if (Utf16(text) || HoldsLineEnd(section)) return std::nullopt;
    section = TrimProfileBlanks(section);
    if (section.empty() || FindProfileSection(text, section, file.BodyStart()) != std::string_view::npos)
        return std::string(text);
    return WithNewSection(text, file, section, nullptr);
}

std::optional<std::string> DeleteProfileKey(std::string_view text, std::string_view section,
                                            std::string_view key) {
    ProfileLines file(text);
    section = CString(section);
    key = CString(key);
    if (Utf16(text) || HoldsLineEnd(section) || HoldsLineEnd(key)) return std::nullopt;
    section = TrimProfileBlanks(section);
    key = TrimProfileBlanks(key);
    // Every section of that name is searched, in file order, as the platform
    // does: the unnamed part first, then each header of that name.
    std::size_t start = section.empty() ? file.BodyStart() : FindProfileSection(text, section, file.BodyStart());
    bool first = !section.empty();   // the walk begins on the section's own header
    while (start != std::string_view::npos) {
        ProfileLines lines(text, start);
        ProfileLine line;
        std::size_t next = text.size();
        while (lines.Next(line)) {
            if (line.kind == ProfileLineKind::Header) {
                if (first) {
                    first = false;
                    continue;
                }
                next = line.start;
                break;
            }
            first = false;
            if (line.kind == ProfileLineKind::Key && SameProfileName(line.name, key))
                return Splice(text, line.start, line.end, "");
        }
        // A later "[]" is a section of the empty name too.
        start = next == text.size() ? std::string_view::npos : FindProfileSection(text, section, next);
        first = true;
    }
    return std::string(text);
}

std::optional<std::string> DeleteProfileSection(std::string_view text, std::string_view section) {
    ProfileLines file(text);
    section = CString(section);
    if (Utf16(text) || HoldsLineEnd(section)) return std::nullopt;
    section = TrimProfileBlanks(section);
    const std::size_t from = section.empty() ? file.BodyStart() : FindProfileSection(text, section, file.BodyStart());
    if (from == std::string_view::npos) return std::string(text);
    ProfileLines lines(text, from);
    ProfileLine line;
    bool header = !section.empty();   // the first line is the section's own header
    while (lines.Next(line)) {
        if (line.kind != ProfileLineKind::Header) continue;
        if (header) {
            header = false;
            continue;
        }
        return Splice(text, from, line.start, "");
    }
    return Splice(text, from, text.size(), "");
}

}  // namespace ini
