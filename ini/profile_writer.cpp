#include "ini/profile_writer.h"

#include <cstring>

namespace ini {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view TrimLeft(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    return text.substr(start);
}

std::string_view TrimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    return text.substr(0, end);
}

// Names and values reach the platform as C strings: they end at a NUL byte.
std::string_view CString(std::string_view text) { return text.substr(0, text.find('\0')); }

bool HoldsLineEnd(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// One physical line: its text runs from start to contentEnd, its line end
// (LF, CR LF or a lone CR; none for a last line without one) to end.
struct Line {
    std::size_t start, contentEnd, end;
};

enum class Kind { Blank, Header, Key };

// A line as the platform's reader sees it.
struct Parsed {
    Kind kind;
    std::string_view name;   // header or key name, blanks removed
    std::size_t equals;      // offset of the key's "=" in the line's text, or npos
};

class Text {
public:
    explicit Text(std::string_view text) : text_(text) {
        if (text_.size() >= 3 && text_.compare(0, 3, "\xEF\xBB\xBF") == 0) bodyStart_ = 3;
        pos_ = bodyStart_;
    }
    bool Utf16() const {
        return text_.size() >= 2 && ((text_[0] == '\xFF' && text_[1] == '\xFE') || (text_[0] == '\xFE' && text_[1] == '\xFF'));
    }
    std::size_t BodyStart() const { return bodyStart_; }

    bool Next(Line& line) {
        if (pos_ >= text_.size()) return false;
        line.start = pos_;
        const char* data = text_.data();
        std::size_t i = pos_;
        const std::size_t size = text_.size();
        while (i < size && data[i] != '\n' && data[i] != '\r') ++i;
        line.contentEnd = i;
        if (i < size) i += (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ? 2 : 1;
        line.end = pos_ = i;
        return true;
    }

    std::string_view Content(const Line& line) const {
        return text_.substr(line.start, line.contentEnd - line.start);
    }

    Parsed Parse(const Line& line) const {
        const std::string_view content = Content(line);
        const std::string_view trimmed = TrimProfileBlanks(content);
        if (trimmed.empty()) return {Kind::Blank, {}, std::string_view::npos};
        if (trimmed[0] == '[') {
            const std::size_t close = trimmed.rfind(']');
            if (close != std::string_view::npos && close > 0)
                return {Kind::Header, TrimProfileBlanks(trimmed.substr(1, close - 1)), std::string_view::npos};
        }
        const std::size_t equals = content.find('=');
        if (equals == std::string_view::npos) return {Kind::Key, trimmed, equals};
        return {Kind::Key, TrimProfileBlanks(content.substr(0, equals)), equals};
    }

    // The line end that added lines use: the file's first, or CR LF.
    std::string_view FileLineEnd() const {
        const std::size_t at = text_.find_first_of("\r\n", bodyStart_);
        if (at == std::string_view::npos) return "\r\n";
        if (text_[at] == '\n') return "\n";
        return (at + 1 < text_.size() && text_[at + 1] == '\n') ? "\r\n" : "\r";
    }

    std::string_view LineEndOf(const Line& line) const {
        if (line.end > line.contentEnd) return text_.substr(line.contentEnd, line.end - line.contentEnd);
        return FileLineEnd();
    }

    // The text with [from, to) replaced by insert.
    std::string Splice(std::size_t from, std::size_t to, std::string_view insert) const {
        std::string result;
        result.reserve(text_.size() - (to - from) + insert.size());
        result.append(text_.substr(0, from));
        result.append(insert);
        result.append(text_.substr(to));
        return result;
    }

    std::string Whole() const { return std::string(text_); }
    std::size_t Size() const { return text_.size(); }

private:
    std::string_view text_;
    std::size_t bodyStart_ = 0;
    std::size_t pos_ = 0;
};

std::string KeyLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    return line;
}

}  // namespace

std::string_view TrimProfileBlanks(std::string_view text) { return TrimRight(TrimLeft(text)); }

bool SameProfileName(std::string_view a, std::string_view b) {
    a = a.substr(0, a.find('\0'));
    b = b.substr(0, b.find('\0'));
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::optional<std::string> ProfileSectionOfLine(std::string_view line) {
    line = line.substr(0, line.find_first_of("\r\n"));
    Text text(line);
    Line parsed{};
    if (!text.Next(parsed)) return std::nullopt;
    const Parsed result = text.Parse(parsed);
    if (result.kind != Kind::Header) return std::nullopt;
    return std::string(result.name);
}

std::optional<std::string> WriteProfileKey(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
    Text file(text);
    section = CString(section);
    key = CString(key);
    value = CString(value);
    if (file.Utf16() || HoldsLineEnd(section) || HoldsLineEnd(key) || HoldsLineEnd(value)) return std::nullopt;
    section = TrimProfileBlanks(section);
    key = TrimProfileBlanks(key);
    value = TrimLeft(value);

    // The unnamed part before the first header is the section "".
    bool inTarget = section.empty();
    bool found = inTarget;
    bool haveAnchor = false;   // a non-empty line of the target section, or its header
    Line anchor{};
    Line line{};
    while (file.Next(line)) {
        const Parsed parsed = file.Parse(line);
        if (parsed.kind == Kind::Header) {
            if (inTarget) break;
            if (!found && SameProfileName(parsed.name, section)) {
                inTarget = found = haveAnchor = true;
                anchor = line;
            }
            continue;
        }
        if (parsed.kind == Kind::Blank || !inTarget) continue;
        anchor = line;
        haveAnchor = true;
        if (!SameProfileName(parsed.name, key)) continue;
        const std::string_view content = file.Content(line);
        if (parsed.equals == std::string_view::npos) {
            // A line without "=" is a key without a value: it gains one.
            std::string replaced(TrimRight(content));
            replaced += '=';
            replaced += value;
            return file.Splice(line.start, line.contentEnd, replaced);
        }
        const std::string_view old = TrimProfileBlanks(content.substr(parsed.equals + 1));
        if (old == value) return file.Whole();
        std::size_t valueStart = parsed.equals + 1;
        while (valueStart < content.size() && IsBlank(content[valueStart])) ++valueStart;
        return file.Splice(line.start + valueStart, line.contentEnd, value);
    }

    const std::string added = KeyLine(key, value);
    if (found) {
        if (!haveAnchor) {
            // An unnamed part without lines: its first key opens the file.
            const std::string insert = added + std::string(file.FileLineEnd());
            return file.Splice(file.BodyStart(), file.BodyStart(), insert);
        }
        if (anchor.end > anchor.contentEnd)
            return file.Splice(anchor.end, anchor.end, added + std::string(file.LineEndOf(anchor)));
        // The anchor is the last line and has no line end: it stays without one.
        return file.Splice(anchor.end, anchor.end, std::string(file.FileLineEnd()) + added);
    }

    // A new section at the end of the file.
    const std::string lineEnd(file.FileLineEnd());
    std::string insert;
    const bool endsOpen = file.Size() > file.BodyStart() && text.back() != '\n' && text.back() != '\r';
    if (endsOpen) insert += lineEnd;
    insert += '[';
    insert += section;
    insert += ']';
    insert += lineEnd;
    insert += added;
    if (!endsOpen) insert += lineEnd;
    return file.Splice(file.Size(), file.Size(), insert);
}

std::optional<std::string> DeleteProfileKey(std::string_view text, std::string_view section,
                                            std::string_view key) {
    Text file(text);
    section = CString(section);
    key = CString(key);
    if (file.Utf16() || HoldsLineEnd(section) || HoldsLineEnd(key)) return std::nullopt;
    section = TrimProfileBlanks(section);
    key = TrimProfileBlanks(key);
    // Every section of that name is searched, in file order, as the platform does.
    bool inTarget = section.empty();
    Line line{};
    while (file.Next(line)) {
        const Parsed parsed = file.Parse(line);
        if (parsed.kind == Kind::Header) {
            inTarget = SameProfileName(parsed.name, section);
            continue;
        }
        if (parsed.kind == Kind::Key && inTarget && SameProfileName(parsed.name, key))
            return file.Splice(line.start, line.end, "");
    }
    return file.Whole();
}

std::optional<std::string> DeleteProfileSection(std::string_view text, std::string_view section) {
    Text file(text);
    section = CString(section);
    if (file.Utf16() || HoldsLineEnd(section)) return std::nullopt;
    section = TrimProfileBlanks(section);
    bool inTarget = section.empty();
    std::size_t from = file.BodyStart();
    Line line{};
    while (file.Next(line)) {
        const Parsed parsed = file.Parse(line);
        if (parsed.kind != Kind::Header) continue;
        if (inTarget) return file.Splice(from, line.start, "");
        if (SameProfileName(parsed.name, section)) {
            inTarget = true;
            from = line.start;
        }
    }
    if (inTarget) return file.Splice(from, file.Size(), "");
    return file.Whole();
}

std::vector<ProfileSection> ReadProfileModel(std::string_view text) {
    Text file(text);
    std::vector<ProfileSection> sections(1);
    Line line{};
    while (file.Next(line)) {
        const Parsed parsed = file.Parse(line);
        if (parsed.kind == Kind::Blank) continue;
        if (parsed.kind == Kind::Header) {
            sections.push_back({std::string(parsed.name), {}});
            continue;
        }
        ProfileKey key{std::string(parsed.name), std::nullopt};
        if (parsed.equals != std::string_view::npos)
            key.value = std::string(TrimProfileBlanks(file.Content(line).substr(parsed.equals + 1)));
        sections.back().keys.push_back(std::move(key));
    }
    return sections;
}

std::optional<std::string> ReadProfileString(std::string_view text, std::string_view section,
                                             std::string_view key) {
    const std::string_view wantedSection = TrimProfileBlanks(section), wantedKey = TrimProfileBlanks(key);
    for (const ProfileSection& found : ReadProfileModel(text)) {
        if (!SameProfileName(found.name, wantedSection)) continue;
        for (const ProfileKey& line : found.keys) {
            if (!SameProfileName(line.name, wantedKey)) continue;
            if (!line.value) return std::nullopt;
            std::string value = *line.value;
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
            return value;
        }
        // Only the first section of a name is read.
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace ini
