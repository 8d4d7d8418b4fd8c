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

// Finds where sections begin in bytes already read. Lines are read with the
// seek limit from the top, as far as the last lookup needed and no further;
// each header met is remembered with the first place it occurs.
class SectionIndex {
public:
    explicit SectionIndex(std::string_view bytes) : bytes_(bytes) { scan_.OpenBytes(bytes); }

    // The offset just after the first line that begins with header; nothing
    // when no line does.
    std::optional<std::size_t> BodyStart(const std::string& header) {
        if (!IsCutHeader(header)) return SeekFromTop(header);
        auto known = firstLine_.find(header);
        if (known != firstLine_.end()) return known->second;
        while (!scanned_) {
            if (!scan_.ReadIniLine(line_, ini::kSeekLimit)) {
                scanned_ = true;
                break;
            }
            if (!ini::IsSectionHeader(line_)) continue;
            // The first line of a header text wins; later ones are never reached.
            auto added = firstLine_.emplace(line_, scan_.Offset());
            if (added.second && line_ == header) return scan_.Offset();
        }
        return std::nullopt;
    }

    // The section's lines, read as the section view reads them, in its order.
    std::vector<std::string> Lines(std::size_t bodyStart, int32_t alphabetize) const {
        ini::IniText body;
        body.OpenBytes(bytes_.substr(bodyStart));
        ini::VectorSink sink;
        ini::ReadSectionBody(body, sink);
        ini::ArrangeByPreference(sink.lines, alphabetize);
        return std::move(sink.lines);
    }

private:
    // Any other text (the list only ever holds cut headers): the plain search.
    std::optional<std::size_t> SeekFromTop(const std::string& header) const {
        ini::IniText text;
        text.OpenBytes(bytes_);
        if (!ini::FindSection(text, header, ini::kSeekLimit)) return std::nullopt;
        return text.Offset();
    }

    std::string_view bytes_;
    ini::IniText scan_;
    bool scanned_ = false;
    std::string line_;
    std::unordered_map<std::string, std::size_t> firstLine_;
};

}  // namespace

WalkResult SearchSections(const HeaderList& headers, const FileReader& readFile, const WalkRequest& request,
                          WalkCursor& cursor) {
    const TextMatcher matches(request.searchText, request.matchCase);
    std::string bytes;
    std::optional<SectionIndex> index;
    const int count = headers.Count();
    for (int i = std::max(cursor.section, 0); i < count; ++i) {
        const std::string header = headers.Header(i);
        if (cursor.line == 0 && i != cursor.lastMatchedSection && matches(header)) {
            cursor = WalkCursor{i, 0, i};
            return WalkResult::Found;
        }
        // The file is read when the first section's lines are wanted.
        if (!index) {
            if (!readFile(bytes)) return WalkResult::CannotOpen;
            index.emplace(bytes);
        }
        if (std::optional<std::size_t> start = index->BodyStart(header)) {
            const std::vector<std::string> lines = index->Lines(*start, request.alphabetize);
            const int lineCount = static_cast<int>(lines.size());
            for (int j = std::max(cursor.line, 0); j < lineCount; ++j) {
                if (matches(lines[static_cast<std::size_t>(j)])) {
                    cursor.section = i;
                    cursor.line = j + 1;
                    return WalkResult::Found;
                }
            }
        }
        cursor.lastMatchedSection = -1;
        cursor.line = 0;
    }
    cursor = WalkCursor{};
    return WalkResult::NothingMore;
}

}  // namespace search
