// The section view lists a long line (150 characters or more) as pieces of
// 149. Editing must still act on whole lines: this pass reads a section body
// exactly as the view lists it and says, for each entry, whether it begins a
// line and which whole line it was cut from.
#pragma once
#include <string>
#include <vector>

#include "ini/scanner.h"

namespace view {

struct ListedEntry {
    std::string text;   // as listed
    bool beginsLine;    // false for the later pieces of a long line
    std::string line;   // the whole line it was cut from, line end removed
};

// Reads the body of a found section with the rules of ini::ReadSectionBody,
// giving the entries in file order.
std::vector<ListedEntry> ReadListedEntries(ini::IniText& file);

// The entries in the order the list shows them: sorted as the list sorts
// when Alphabetize is on, else as they are.
void SortLikeTheList(std::vector<ListedEntry>& entries, bool alphabetize);

}  // namespace view
