#include "ini/line_order.h"

#include <algorithm>

#include "base/preference_rules.h"

namespace ini {

namespace {

// Folding to lower case puts "_" and "[" before the letters, as the list
// control's own case-blind order does.
unsigned char Fold(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

}  // namespace

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Fold(x) < Fold(y); });
}

void SortIgnoringCase(std::vector<std::string>& lines) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const std::string& a, const std::string& b) { return LessIgnoringCase(a, b); });
}

void SortIgnoringCase(std::vector<std::string_view>& lines) {
    std::stable_sort(lines.begin(), lines.end(), LessIgnoringCase);
}

bool SortsByPreference(int32_t alphabetize) { return base::IsExactlyOn(alphabetize); }

void ArrangeByPreference(std::vector<std::string>& lines, int32_t alphabetize) {
    if (SortsByPreference(alphabetize)) SortIgnoringCase(lines);
}

void ArrangeByPreference(std::vector<std::string_view>& lines, int32_t alphabetize) {
    if (SortsByPreference(alphabetize)) SortIgnoringCase(lines);
}

}  // namespace ini
