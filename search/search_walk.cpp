#include "search/search_walk.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "ini/line_order.h"
#include "ini/scanner.h"
#include "search/text_match.h"

namespace search {

namespace {

// A header text that the header test leaves as it is. A line begins with such
// a text exactly when the header test cuts the line to that text, so the
// first line beginning with it can be looked up by the cut text.
bool IsCutHeader(const std::string& header) {
    std::string cut = header;
    return ini::IsSectionHeader(cut) && cut.size() == header.size();
}

// Counts a section's lines in file order and notes the first, from a given
// position on, that holds the search text.
class MatchingSink : public ini::LineSink {
public:
    MatchingSink(const TextMatcher& matches, int from) : matches_(matches), from_(from) {}
    void Add(const std::string& line) override {
        if (found_ < 0 && count_ >= from_ && matches_(line)) found_ = count_;
        ++count_;
    }
    int Found() const { return found_; }

private:
    const TextMatcher& matches_;
    int from_;
    int count_ = 0;
    int found_ = -1;
};

// The sections of a file already read. Lines are read from the top in the
// pieces the section view and the main list read (the list limit), so a
// line's position here is its position in the view whatever the line
// lengths; as far as the last lookup needed and no further. Each header met
// is remembered with the first place it occurs.
class FileSections {
public:
    FileSections(std::string_view bytes, int headerCount) : bytes_(bytes) {
        scan_.OpenBytes(bytes);
        firstLine_.reserve(static_cast<std::size_t>(headerCount));
    }

    // The offset just after the first line that begins with header; nothing
    // when no line does.
    std::optional<std::size_t> BodyStart(const std::string& header) {
        if (!IsCutHeader(header)) return SeekFromTop(header);
        auto known = firstLine_.find(header);
        if (known != firstLine_.end()) return known->second;
        while (!scanned_) {
            const std::size_t lineStart = scan_.Offset();
            if (!scan_.ReadIniLine(line_, ini::kListLimit)) {
                scanned_ = true;
                break;
            }
            if (!ini::IsSectionHeader(line_)) continue;
            // A cut header holds no line end, so it stands in the bytes as read:
            // the key can point there instead of being a copy.
            const std::string_view cut = bytes_.substr(lineStart, line_.size());
            // The first line of a header text wins; later ones are never reached.
            auto added = firstLine_.emplace(cut, scan_.Offset());
            if (added.second && cut == header) return scan_.Offset();
        }
        return std::nullopt;
    }

    // The position of the first line, from `from` on, that holds the search
    // text, counted in the order the section view lists the lines; -1: none.
    int FirstMatch(std::size_t bodyStart, int from, const TextMatcher& matches, int32_t alphabetize) {
        // Every line is a run of the bytes between the body's start and the
        // next line that begins with "[", so where those bytes do not hold
        // the text no line does, and nothing needs to be read.
        if (!matches(bytes_.substr(bodyStart, BodyBound(bodyStart) - bodyStart))) return -1;
        ini::IniText body;
        body.OpenBytes(bytes_.substr(bodyStart));
        if (!ini::SortsByPreference(alphabetize)) {
            // File order: the lines can be tested as they are read.
            MatchingSink sink(matches, from);
            ini::ReadSectionBody(body, sink);
            return sink.Found();
        }
        ini::VectorSink sink;
        ini::ReadSectionBody(body, sink);
        ini::ArrangeByPreference(sink.lines, alphabetize);
        for (int j = from; j < static_cast<int>(sink.lines.size()); ++j)
            if (matches(sink.lines[static_cast<std::size_t>(j)])) return j;
        return -1;
    }

private:
    // Where the section's lines end at the latest: at a "[" where they begin,
    // else at the next line that begins with "[" (after an LF or a lone CR).
    std::size_t BodyBound(std::size_t bodyStart) const {
        if (bodyStart >= bytes_.size() || bytes_[bodyStart] == '[') return bodyStart;
        for (std::size_t at = bytes_.find('[', bodyStart); at != std::string_view::npos; at = bytes_.find('[', at + 1))
            if (bytes_[at - 1] == '\n' || bytes_[at - 1] == '\r') return at;
        return bytes_.size();
    }

    // Any other text (the list only ever holds cut headers): the plain search.
    std::optional<std::size_t> SeekFromTop(const std::string& header) const {
        ini::IniText text;
        text.OpenBytes(bytes_);
        if (!ini::FindSection(text, header, ini::kListLimit)) return std::nullopt;
        return text.Offset();
    }

    std::string_view bytes_;
    ini::IniText scan_;
    bool scanned_ = false;
    std::string line_;
    std::unordered_map<std::string_view, std::size_t> firstLine_;
};

}  // namespace

WalkResult SearchSections(const HeaderList& headers, const FileReader& readFile, const WalkRequest& request,
                          WalkCursor& cursor) {
    const TextMatcher matches(request.searchText, request.matchCase);
    std::string bytes;
    std::optional<FileSections> sections;
    const int count = headers.Count();
    for (int i = std::max(cursor.section, 0); i < count; ++i) {
        const std::string header = headers.Header(i);
        if (cursor.line == 0 && i != cursor.lastMatchedSection && matches(header)) {
            cursor = WalkCursor{i, 0, i};
            return WalkResult::Found;
        }
        // The file is read when the first section's lines are wanted.
        if (!sections) {
            if (!readFile(bytes)) return WalkResult::CannotOpen;
            sections.emplace(bytes, count);
        }
        if (std::optional<std::size_t> start = sections->BodyStart(header)) {
            const int j = sections->FirstMatch(*start, std::max(cursor.line, 0), matches, request.alphabetize);
            if (j >= 0) {
                cursor.section = i;
                cursor.line = j + 1;
                return WalkResult::Found;
            }
        }
        cursor.lastMatchedSection = -1;
        cursor.line = 0;
    }
    cursor = WalkCursor{};
    return WalkResult::NothingMore;
}

}  // namespace search
