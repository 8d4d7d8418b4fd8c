#include "print/page_layout.h"

#include <algorithm>
#include <cstdint>

namespace print {

PageMetrics ComputePageMetrics(const DeviceFigures& device) {
    PageMetrics metrics;
    // Saturating: a device that reports absurd figures must not overflow the sum.
    std::int64_t height = 0;
    if (__builtin_add_overflow(device.characterHeight, device.externalLeading, &height))
        height = device.characterHeight > 0 ? INT64_MAX : 1;
    metrics.lineHeight = std::max<std::int64_t>(1, height);
    const std::int64_t width = std::max<std::int64_t>(1, device.averageCharacterWidth);
    metrics.charactersPerLine = std::max<std::int64_t>(1, device.horizontalResolution / width);
    metrics.linesPerPage = std::max<std::int64_t>(1, device.verticalResolution / metrics.lineHeight);
    return metrics;
}

std::int64_t PageCount(std::int64_t lineCount, std::int64_t linesPerPage) {
    if (lineCount <= 0) return 0;
    linesPerPage = std::max<std::int64_t>(1, linesPerPage);
    // Not (lineCount + linesPerPage - 1) / linesPerPage, which can overflow.
    return lineCount / linesPerPage + (lineCount % linesPerPage != 0 ? 1 : 0);
}

std::string_view CutRow(std::string_view line, std::int64_t charactersPerLine) {
    // Characters of UTF-8 text: a row ends before a character, never inside one.
    std::int64_t characters = 0;
    for (std::size_t at = 0; at < line.size(); ++at) {
        if ((static_cast<unsigned char>(line[at]) & 0xC0) == 0x80) continue;
        if (characters == charactersPerLine) return line.substr(0, at);
        ++characters;
    }
    return charactersPerLine <= 0 ? line.substr(0, 0) : line;
}

PageRows RowsOfPage(std::int64_t page, std::int64_t lineCount, std::int64_t linesPerPage) {
    linesPerPage = std::max<std::int64_t>(1, linesPerPage);
    PageRows rows;
    if (page < 0 || lineCount <= 0 || page >= PageCount(lineCount, linesPerPage)) return rows;
    rows.first = page * linesPerPage;
    rows.end = rows.first + std::min(linesPerPage, lineCount - rows.first);
    return rows;
}

bool ForEachPrintedPage(std::int64_t pages, std::int64_t copies, bool collate,
                        const std::function<bool(std::int64_t page)>& printPage) {
    copies = std::max<std::int64_t>(1, copies);
    const std::int64_t collatedCopies = collate ? copies : 1;
    const std::int64_t sameCopies = collate ? 1 : copies;
    for (std::int64_t copy = 0; copy < collatedCopies; ++copy)
        for (std::int64_t page = 0; page < pages; ++page)
            for (std::int64_t same = 0; same < sameCopies; ++same)
                if (!printPage(page)) return false;
    return true;
}

}  // namespace print
