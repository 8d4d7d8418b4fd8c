// Where a line of the file shows in KEPLIN's own lists, which read it with
// the scanner's rules (ini/scanner.h), not the reader's: Check File shows a
// finding's line there. Portable: no <windows.h>.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace view {

struct LinePlace {
    std::string header;            // the main list's text of the header over the line (or the line's own); empty: none
    std::size_t headerCopy = 0;    // how many headers of that same text come before it
    bool isHeader = false;         // the line is that header
    bool inView = false;           // the section view opened on that header lists the line
    std::string line;              // the whole line, as the view's entries hold it
    std::size_t lineCopy = 0;      // how many lines of that same text the view lists before it
};

// The place of line number (1 for the first) in the decoded text.
LinePlace PlaceOfLine(std::string_view text, std::size_t number);

}  // namespace view
