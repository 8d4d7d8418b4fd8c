// The one case-insensitive order shared by every sorted list: the section
// list, the section view and the search's line store, so that positions found
// in one are positions in the other.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ini {

// True when a sorts before b ignoring ASCII case.
bool LessIgnoringCase(std::string_view a, std::string_view b);

// Sorts lines by LessIgnoringCase; lines that compare equal keep file order.
void SortIgnoringCase(std::vector<std::string>& lines);
void SortIgnoringCase(std::vector<std::string_view>& lines);

// Whether lists filled by preference sort their lines: Alphabetize exactly 1.
bool SortsByPreference(int32_t alphabetize);

// Puts a pass's lines in the order its list shows them: sorted when the
// Alphabetize preference is on, file order otherwise. Every list filled by
// preference and the search's line store go through here.
void ArrangeByPreference(std::vector<std::string>& lines, int32_t alphabetize);
void ArrangeByPreference(std::vector<std::string_view>& lines, int32_t alphabetize);

}  // namespace ini
