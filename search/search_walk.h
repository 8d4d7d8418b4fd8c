// The cross-section walk: finds the search text in the section headers of the
// main list and in each section's lines, in list order, from a cursor.
// Portable: no <windows.h>.
//
// The file is read once per walk and gone over in memory, yet every result is
// the one that reading the file afresh for each section would give: a
// section's lines begin after the first line, read in the section view's
// pieces, that begins with its header text, and they stand in the order the
// section view lists them.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace search {

// The fields of the search state that the walk moves.
struct WalkCursor {
    int32_t section = 0;              // where the walk goes on
    int32_t line = 0;                 // next line to test there; 0: test the header first
    int32_t lastMatchedSection = -1;  // a header not tested again; -1: none
    bool operator==(const WalkCursor& other) const {
        return section == other.section && line == other.line && lastMatchedSection == other.lastMatchedSection;
    }
};

enum class WalkResult {
    Found,        // the cursor points at the match
    NothingMore,  // the cursor is back at its start: section 0, line 0, no header
    CannotOpen,   // the file could not be read; the cursor is as it was
};

// The section headers of the main list, by position.
class HeaderList {
public:
    virtual ~HeaderList() = default;
    virtual int Count() const = 0;
    virtual std::string Header(int index) const = 0;
};

class HeaderVector : public HeaderList {
public:
    explicit HeaderVector(std::vector<std::string> headers) : headers_(std::move(headers)) {}
    int Count() const override { return static_cast<int>(headers_.size()); }
    std::string Header(int index) const override { return headers_[static_cast<std::size_t>(index)]; }

private:
    std::vector<std::string> headers_;
};

struct WalkRequest {
    std::string_view searchText;
    bool matchCase = false;
    int32_t alphabetize = 0;          // the preference as stored
};

// Gives the INI file's bytes; false when the file cannot be opened. Called at
// most once per walk, and only when a section's lines are needed.
using FileReader = std::function<bool(std::string& bytes)>;

// Tests header by header and line by line from the cursor and stops at the
// first match. A header is tested only when the cursor's line is 0 and it is
// not the last matched header. The walk never wraps round to the first section.
WalkResult SearchSections(const HeaderList& headers, const FileReader& readFile, const WalkRequest& request,
                          WalkCursor& cursor);

}  // namespace search
