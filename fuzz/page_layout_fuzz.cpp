// Page layout and copy order over arbitrary device figures and counts: no
// division by zero or overflow, every line on exactly one page, and the
// pages of every copy in the promised order.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "print/page_layout.h"

namespace {

std::int64_t Take(const uint8_t*& data, size_t& size) {
    std::int64_t value = 0;
    const size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    print::DeviceFigures device;
    device.horizontalResolution = Take(data, size);
    device.verticalResolution = Take(data, size);
    device.characterHeight = Take(data, size);
    device.externalLeading = Take(data, size);
    device.averageCharacterWidth = Take(data, size);
    const print::PageMetrics metrics = print::ComputePageMetrics(device);
    FUZZ_CHECK(metrics.lineHeight >= 1 && metrics.charactersPerLine >= 1 && metrics.linesPerPage >= 1);

    // Any number of lines: the pages cover them once each, in order.
    const std::int64_t lineCount = Take(data, size) & 0x7fffffffffffLL;
    const std::int64_t pages = print::PageCount(lineCount, metrics.linesPerPage);
    FUZZ_CHECK(pages >= 0 && (lineCount == 0) == (pages == 0));
    if (pages > 0) {
        const print::PageRows last = print::RowsOfPage(pages - 1, lineCount, metrics.linesPerPage);
        FUZZ_CHECK(last.end == lineCount && last.first < last.end);
        FUZZ_CHECK(last.end - last.first <= metrics.linesPerPage);
        const print::PageRows first = print::RowsOfPage(0, lineCount, metrics.linesPerPage);
        FUZZ_CHECK(first.first == 0 && (pages == 1 ? first.end == lineCount
                                                   : first.end == metrics.linesPerPage));
    }
    // Small jobs are walked page by page: consecutive, gap-free.
    const std::int64_t smallLines = lineCount % 5000;
    const std::int64_t smallPages = print::PageCount(smallLines, metrics.linesPerPage);
    std::int64_t next = 0;
    for (std::int64_t p = 0; p < smallPages; ++p) {
        const print::PageRows rows = print::RowsOfPage(p, smallLines, metrics.linesPerPage);
        FUZZ_CHECK(rows.first == next && rows.end > rows.first);
        next = rows.end;
    }
    FUZZ_CHECK(next == smallLines);

    // A row never exceeds the characters per line, and is a prefix of its line.
    const std::string_view line("0123456789abcdefghijklmnopqrstuvwxyz");
    const std::string_view row = print::CutRow(line, metrics.charactersPerLine);
    FUZZ_CHECK(static_cast<std::int64_t>(row.size()) <= metrics.charactersPerLine);
    FUZZ_CHECK(line.substr(0, row.size()) == row);

    // Copy order: each page copies times, collated runs or page by page; a
    // stop ends it at once.
    const std::int64_t order = Take(data, size);
    const std::int64_t orderPages = (order & 0xff) % 12;
    const std::int64_t copies = static_cast<std::int8_t>((order >> 8) & 0xff) % 6;
    const bool collate = (order >> 16) & 1;
    const std::int64_t stopAfter = ((order >> 24) & 0xff) % 80;
    std::vector<std::int64_t> printed;
    const bool finished = print::ForEachPrintedPage(orderPages, copies, collate, [&](std::int64_t page) {
        printed.push_back(page);
        return static_cast<std::int64_t>(printed.size()) != stopAfter;
    });
    const std::int64_t realCopies = copies < 1 ? 1 : copies;
    std::vector<std::int64_t> expected;
    for (std::int64_t outer = 0; outer < (collate ? realCopies : 1); ++outer)
        for (std::int64_t p = 0; p < orderPages; ++p)
            for (std::int64_t inner = 0; inner < (collate ? 1 : realCopies); ++inner) expected.push_back(p);
    if (stopAfter > 0 && stopAfter <= static_cast<std::int64_t>(expected.size())) {
        expected.resize(static_cast<size_t>(stopAfter));
        FUZZ_CHECK(!finished);
    } else {
        FUZZ_CHECK(finished);
    }
    FUZZ_CHECK(printed == expected);
    return 0;
}
