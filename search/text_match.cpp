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
    for (std::size_t at = 0; at <= last; ++at) {
        if (Upper(text[at]) != searchText_[0]) continue;
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
