// Whether a line holds the search text. Portable: no <windows.h>.
#pragma once
#include <string>
#include <string_view>

namespace search {

// Tests many lines against one search text, folding the search text once.
// With matchCase false only the ASCII letters a to z compare without regard
// to case; every other byte, accented letters included, compares as it stands.
class TextMatcher {
public:
    TextMatcher(std::string_view searchText, bool matchCase);
    // True when the search text occurs in text as one unbroken run.
    bool operator()(std::string_view text) const;

private:
    std::string searchText_;   // upper-cased when matchCase is false
    bool matchCase_;
};

// One test, for callers that test a line or two.
bool TextMatches(std::string_view text, std::string_view searchText, bool matchCase);

}  // namespace search
