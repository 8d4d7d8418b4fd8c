#include "ini/profile_model.h"

#include "ini/line_ends.h"

namespace ini {

bool IsProfileBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view TrimProfileBlanks(std::string_view text) {
    std::size_t start = 0, end = text.size();
    while (start < end && IsProfileBlank(text[start])) ++start;
    while (end > start && IsProfileBlank(text[end - 1])) --end;
    return text.substr(start, end - start);
}

std::string_view ProfileLine::Value() const {
    if (!HasValue()) return {};
    return TrimProfileBlanks(content.substr(equals + 1));
}

std::string_view ProfileLine::LineEnd() const {
    if (end == contentEnd) return {};
    // The line end follows the content in the same text.
    return std::string_view(content.data() + content.size(), end - contentEnd);
}

ProfileLine ParseProfileLine(std::string_view content) {
    ProfileLine line;
    line.content = content;
    line.contentEnd = line.end = content.size();
    const std::string_view trimmed = TrimProfileBlanks(content);
    if (trimmed.empty()) return line;
    if (trimmed[0] == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.kind = ProfileLineKind::Header;
            line.name = TrimProfileBlanks(trimmed.substr(1, close - 1));
            return line;
        }
    }
    line.kind = ProfileLineKind::Key;
    line.equals = content.find('=');
    line.name = line.HasValue() ? TrimProfileBlanks(content.substr(0, line.equals)) : trimmed;
    return line;
}

ProfileLines::ProfileLines(std::string_view text) : text_(text) {
    if (text_.size() >= 3 && text_.compare(0, 3, "\xEF\xBB\xBF") == 0) bodyStart_ = 3;
    pos_ = bodyStart_;
}

ProfileLines::ProfileLines(std::string_view text, std::size_t offset) : ProfileLines(text) {
    if (offset > pos_) pos_ = offset < text_.size() ? offset : text_.size();
}

std::size_t FindProfileSection(std::string_view text, std::string_view section, std::size_t offset) {
    const char* data = text.data();
    const char* end = data + text.size();
    std::size_t from = offset;   // a line's start
    while (from < text.size()) {
        const char* bracket = FindByte(data + from, end, '[');
        if (bracket == end) break;
        // A header's "[" has only blanks before it on its line.
        const char* start = bracket;
        while (start > data + from && IsProfileBlank(start[-1])) --start;
        const bool lineStart = start == data + from || start[-1] == '\n' || start[-1] == '\r';
        const char* lineEnd = FindLineEnd(bracket, end);
        if (lineStart) {
            const ProfileLine line = ParseProfileLine(std::string_view(start, static_cast<std::size_t>(lineEnd - start)));
            if (line.kind == ProfileLineKind::Header && SameProfileName(line.name, section))
                return static_cast<std::size_t>(start - data);
        }
        from = static_cast<std::size_t>(lineEnd - data);
        from = PastLineEnd(text, from);
    }
    return std::string_view::npos;
}

bool ProfileLines::Next(ProfileLine& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t start = pos_;
    const std::size_t contentEnd =
        static_cast<std::size_t>(FindLineEnd(text_.data() + start, text_.data() + text_.size()) - text_.data());
    const std::size_t end = PastLineEnd(text_, contentEnd);
    line = ParseProfileLine(text_.substr(start, contentEnd - start));
    line.start = start;
    line.contentEnd = contentEnd;
    line.end = pos_ = end;
    line.number = ++number_;
    return true;
}

std::string_view ProfileLines::FileLineEnd() const {
    const std::size_t at = static_cast<std::size_t>(
        FindLineEnd(text_.data() + bodyStart_, text_.data() + text_.size()) - text_.data());
    if (at == text_.size()) return "\r\n";
    if (text_[at] == '\n') return "\n";
    return (at + 1 < text_.size() && text_[at + 1] == '\n') ? "\r\n" : "\r";
}

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
    const ProfileLine parsed = ParseProfileLine(line.substr(0, line.find_first_of("\r\n")));
    if (parsed.kind != ProfileLineKind::Header) return std::nullopt;
    return std::string(parsed.name);
}

std::vector<ProfileSection> ReadProfileModel(std::string_view text) {
    ProfileLines lines(text);
    std::vector<ProfileSection> sections(1);
    ProfileLine line;
    while (lines.Next(line)) {
        if (line.kind == ProfileLineKind::Blank) continue;
        if (line.kind == ProfileLineKind::Header) {
            sections.push_back({std::string(line.name), {}});
            continue;
        }
        ProfileKey key{std::string(line.name), std::nullopt};
        if (line.HasValue()) key.value = std::string(line.Value());
        sections.back().keys.push_back(std::move(key));
    }
    return sections;
}

std::string_view UnquotedProfileValue(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::optional<std::string_view> WindowsSectionOfLine(std::string_view content) {
    const std::string_view trimmed = TrimProfileBlanks(content);
    if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
    return TrimProfileBlanks(trimmed.substr(1, trimmed.find(']') - 1));
}

std::optional<std::string> ReadProfileString(std::string_view text, std::string_view section,
                                             std::string_view key) {
    const std::string_view wantedSection = TrimProfileBlanks(section), wantedKey = TrimProfileBlanks(key);
    for (const ProfileSection& found : ReadProfileModel(text)) {
        if (!SameProfileName(found.name, wantedSection)) continue;
        for (const ProfileKey& line : found.keys) {
            if (!SameProfileName(line.name, wantedKey)) continue;
            if (!line.value) return std::nullopt;
            return std::string(UnquotedProfileValue(*line.value));
        }
        // Only the first section of a name is read.
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace ini
