// Laying printed lines out on pages: the page metrics from what the printer
// reports, cutting a line to a row, and the order in which pages and copies
// come out. Portable: no <windows.h>.
//
// Counts are 64-bit, so that a file of any length prints whole and in order
// (a file of 100,000 sections has more than a million lines).
#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

namespace print {

// What the printer's device context reports for its current font and page.
struct DeviceFigures {
    std::int64_t horizontalResolution = 0;   // printable width in device units
    std::int64_t verticalResolution = 0;     // printable height in device units
    std::int64_t characterHeight = 0;
    std::int64_t externalLeading = 0;
    std::int64_t averageCharacterWidth = 0;
};

struct PageMetrics {
    std::int64_t lineHeight = 1;        // device units from one row to the next
    std::int64_t charactersPerLine = 1;
    std::int64_t linesPerPage = 1;
};

// Line height = character height + external leading; characters per line =
// width / average character width; lines per page = height / line height.
// A device that reports a zero or negative figure never makes us divide by
// zero or print nothing: each of the three results is at least 1, so every
// line still prints, one row per line.
PageMetrics ComputePageMetrics(const DeviceFigures& device);

// Pages needed for lineCount lines: lineCount / linesPerPage, rounded up.
// 0 for no lines; linesPerPage below 1 counts as 1.
std::int64_t PageCount(std::int64_t lineCount, std::int64_t linesPerPage);

// The first charactersPerLine characters (not bytes) of the UTF-8 line, all
// of it when shorter.
std::string_view CutRow(std::string_view line, std::int64_t charactersPerLine);

// The rows of page (0-based): the lines from first up to, not including, end.
struct PageRows {
    std::int64_t first = 0;
    std::int64_t end = 0;
};
PageRows RowsOfPage(std::int64_t page, std::int64_t lineCount, std::int64_t linesPerPage);

// Calls printPage(page) for each page to print, in the order the pages come
// out: with collate, copies runs of 0, 1, ..., pages - 1; without, each page
// copies times before the next. Stops as soon as printPage returns false.
// Copies below 1 count as 1. Returns false when it was stopped.
bool ForEachPrintedPage(std::int64_t pages, std::int64_t copies, bool collate,
                        const std::function<bool(std::int64_t page)>& printPage);

}  // namespace print
