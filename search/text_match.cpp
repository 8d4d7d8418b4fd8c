#include "search/text_match.h"

namespace search {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

TextMatcher::TextMatcher(std::string_view searchText, bool matchCase)
    : searchText_(searchText), matchCase_(matchCase) {
    if (!matchCase_)
        for (char& c : searchText_) c = Upper(c);
}

bool TextMatcher::operator()(std::string_view text) const {
    if (matchCase_) return text.find(searchText_) != std::string_view::npos;
    const std::size_t length = searchText_.size();
    if (length == 0) return true;
    if (text.size() < length) return false;
    const std::size_t last = text.size() - length;
    const char first = searchText_[0];
    // A letter in either case differs from its other case in bit 0x20 alone,
    // and no other byte does; that keeps the hunt for the first one cheap.
    const bool letter = first >= 'A' && first <= 'Z';
    const char lowerFirst = static_cast<char>(first | 0x20);
    for (std::size_t at = 0; at <= last; ++at) {
        const char c = text[at];
        if (letter ? (c | 0x20) != lowerFirst : c != first) continue;
        std::size_t k = 1;
        while (k < length && Upper(text[at + k]) == searchText_[k]) ++k;
        if (k == length) return true;
    }
    return false;
}

bool TextMatches(std::string_view text, std::string_view searchText, bool matchCase) {
    return TextMatcher(searchText, matchCase)(text);
}

}  // namespace search
