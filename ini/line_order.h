// The one case-insensitive order shared by every sorted list: the section
// list, the section view and the search's line store, so that positions found
// in one are positions in the other.
#pragma once
#include <string>
#include <vector>

namespace ini {

// True when a sorts before b ignoring ASCII case.
bool LessIgnoringCase(const std::string& a, const std::string& b);

// Sorts lines by LessIgnoringCase; lines that compare equal keep file order.
void SortIgnoringCase(std::vector<std::string>& lines);

}  // namespace ini
