#include "print/page_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using print::ComputePageMetrics;
using print::DeviceFigures;
using print::PageCount;
using print::PageMetrics;

DeviceFigures Letter300Dpi() {
    // A 10-point fixed-pitch font on a 300 dpi page of 2400 x 3150 dots.
    DeviceFigures device;
    device.horizontalResolution = 2400;
    device.verticalResolution = 3150;
    device.characterHeight = 42;
    device.externalLeading = 8;
    device.averageCharacterWidth = 25;
    return device;
}

TEST(PageLayoutTest, MetricsComeFromTheDeviceFigures) {
    PageMetrics metrics = ComputePageMetrics(Letter300Dpi());
    EXPECT_EQ(metrics.lineHeight, 50);
    EXPECT_EQ(metrics.charactersPerLine, 96);
    EXPECT_EQ(metrics.linesPerPage, 63);

    // Rounded down: a part of a row or of a character does not count.
    DeviceFigures device = Letter300Dpi();
    device.horizontalResolution = 2424;
    device.verticalResolution = 3199;
    metrics = ComputePageMetrics(device);
    EXPECT_EQ(metrics.charactersPerLine, 96);
    EXPECT_EQ(metrics.linesPerPage, 63);
}

TEST(PageLayoutTest, ZeroOrNegativeFiguresNeverDivideByZeroAndStillPrintEveryLine) {
    DeviceFigures zero;
    PageMetrics metrics = ComputePageMetrics(zero);
    EXPECT_EQ(metrics.lineHeight, 1);
    EXPECT_EQ(metrics.charactersPerLine, 1);
    EXPECT_EQ(metrics.linesPerPage, 1);

    DeviceFigures device = Letter300Dpi();
    device.averageCharacterWidth = 0;
    EXPECT_EQ(ComputePageMetrics(device).charactersPerLine, 2400);
    device = Letter300Dpi();
    device.characterHeight = 0;
    device.externalLeading = 0;
    EXPECT_EQ(ComputePageMetrics(device).lineHeight, 1);
    EXPECT_EQ(ComputePageMetrics(device).linesPerPage, 3150);
    // A font taller than the page still gives one row a page.
    device = Letter300Dpi();
    device.characterHeight = 5000;
    EXPECT_EQ(ComputePageMetrics(device).linesPerPage, 1);
    device = Letter300Dpi();
    device.characterHeight = -50;
    device.averageCharacterWidth = -3;
    device.horizontalResolution = -1;
    metrics = ComputePageMetrics(device);
    EXPECT_GE(metrics.lineHeight, 1);
    EXPECT_EQ(metrics.charactersPerLine, 1);
    EXPECT_GE(metrics.linesPerPage, 1);
    EXPECT_EQ(PageCount(10, 0), 10);
    // Found by fuzzing: a height and a leading whose sum overflows.
    device = Letter300Dpi();
    device.characterHeight = INT64_MAX - 10;
    device.externalLeading = 100;
    metrics = ComputePageMetrics(device);
    EXPECT_EQ(metrics.lineHeight, INT64_MAX);
    EXPECT_EQ(metrics.linesPerPage, 1);
    device.characterHeight = INT64_MIN + 10;
    device.externalLeading = -100;
    EXPECT_EQ(ComputePageMetrics(device).lineHeight, 1);
}

TEST(PageLayoutTest, PageCountRoundsUp) {
    EXPECT_EQ(PageCount(0, 50), 0);
    EXPECT_EQ(PageCount(-3, 50), 0);
    EXPECT_EQ(PageCount(1, 50), 1);
    EXPECT_EQ(PageCount(50, 50), 1);
    EXPECT_EQ(PageCount(51, 50), 2);
    EXPECT_EQ(PageCount(60, 50), 2);
    EXPECT_EQ(PageCount(100, 50), 2);
    EXPECT_EQ(PageCount(101, 50), 3);
}

TEST(PageLayoutTest, LargeFilesPrintWhole) {
    // Past every 16-bit limit: 32,768 lines, and the 1.2 million lines of a
    // file of 100,000 sections.
    EXPECT_EQ(PageCount(32767, 63), 521);
    EXPECT_EQ(PageCount(32768, 63), 521);
    EXPECT_EQ(PageCount(32769, 1), 32769);
    EXPECT_EQ(PageCount(1200000, 63), 19048);
    EXPECT_EQ(PageCount(1200000, 50), 24000);
    // No overflow at the very top of the range.
    const std::int64_t most = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(PageCount(most, most), 1);
    EXPECT_EQ(PageCount(most, 1), most);
    EXPECT_EQ(PageCount(most, 2), most / 2 + 1);

    // The last page of 1.2 million lines on 63-line pages holds the last
    // 1200000 - 19047 * 63 = 39 lines; the pages cover every line once.
    print::PageRows last = print::RowsOfPage(19047, 1200000, 63);
    EXPECT_EQ(last.first, 1199961);
    EXPECT_EQ(last.end, 1200000);
    std::int64_t next = 0;
    for (std::int64_t page = 0; page < PageCount(1200000, 63); ++page) {
        print::PageRows rows = print::RowsOfPage(page, 1200000, 63);
        ASSERT_EQ(rows.first, next) << "page " << page;
        ASSERT_GT(rows.end, rows.first) << "page " << page;
        next = rows.end;
    }
    EXPECT_EQ(next, 1200000);

    // Large page metrics from a large device stay exact.
    DeviceFigures huge;
    huge.horizontalResolution = 5000000000LL;
    huge.verticalResolution = 7000000000LL;
    huge.characterHeight = 100;
    huge.averageCharacterWidth = 50;
    PageMetrics metrics = ComputePageMetrics(huge);
    EXPECT_EQ(metrics.charactersPerLine, 100000000);
    EXPECT_EQ(metrics.linesPerPage, 70000000);
}

TEST(PageLayoutTest, RowsOfAPage) {
    // 60 lines on 50-line pages: 50 rows, then 10.
    print::PageRows first = print::RowsOfPage(0, 60, 50);
    EXPECT_EQ(first.first, 0);
    EXPECT_EQ(first.end, 50);
    print::PageRows second = print::RowsOfPage(1, 60, 50);
    EXPECT_EQ(second.first, 50);
    EXPECT_EQ(second.end, 60);
    // Past the end, or no lines: no rows.
    print::PageRows none = print::RowsOfPage(2, 60, 50);
    EXPECT_EQ(none.end - none.first, 0);
    none = print::RowsOfPage(0, 0, 50);
    EXPECT_EQ(none.end - none.first, 0);
    none = print::RowsOfPage(-1, 60, 50);
    EXPECT_EQ(none.end - none.first, 0);
}

TEST(PageLayoutTest, CutRowKeepsAtMostTheCharactersPerLine) {
    EXPECT_EQ(print::CutRow("Wallpaper=(None)", 9), "Wallpaper");
    EXPECT_EQ(print::CutRow("Wallpaper=(None)", 16), "Wallpaper=(None)");
    EXPECT_EQ(print::CutRow("Wallpaper=(None)", 500), "Wallpaper=(None)");
    EXPECT_EQ(print::CutRow("", 80), "");
    EXPECT_EQ(print::CutRow("abc", 0), "");
    EXPECT_EQ(print::CutRow("abc", -5), "");
    // Characters, not bytes: a row never ends inside one.
    EXPECT_EQ(print::CutRow("G\xC3\xA9n\xC3\xA9ral", 3), "G\xC3\xA9n");
    // The longest line a pass gives (149 characters) on an 80-column row.
    std::string longest(149, 'x');
    longest[79] = 'E';
    EXPECT_EQ(print::CutRow(longest, 80), std::string(79, 'x') + "E");
}

std::vector<std::int64_t> Order(std::int64_t pages, std::int64_t copies, bool collate) {
    std::vector<std::int64_t> printed;
    EXPECT_TRUE(print::ForEachPrintedPage(pages, copies, collate, [&](std::int64_t page) {
        printed.push_back(page);
        return true;
    }));
    return printed;
}

TEST(PageLayoutTest, CopiesComeOutCollatedOrPageByPage) {
    using Pages = std::vector<std::int64_t>;
    EXPECT_EQ(Order(3, 2, true), (Pages{0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(Order(3, 2, false), (Pages{0, 0, 1, 1, 2, 2}));
    EXPECT_EQ(Order(3, 1, true), (Pages{0, 1, 2}));
    EXPECT_EQ(Order(3, 1, false), (Pages{0, 1, 2}));
    EXPECT_EQ(Order(2, 3, false), (Pages{0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(Order(1, 0, true), (Pages{0}));
    EXPECT_EQ(Order(0, 2, true), Pages{});
    // More pages than a 16-bit count holds, in order.
    Pages many = Order(40000, 1, true);
    ASSERT_EQ(many.size(), 40000u);
    EXPECT_EQ(many.front(), 0);
    EXPECT_EQ(many[32768], 32768);
    EXPECT_EQ(many.back(), 39999);
}

TEST(PageLayoutTest, StoppingEndsThePrintingAtOnce) {
    std::vector<std::int64_t> printed;
    // Cancelled at the end of the fourth page: 0, 0, 1, 1 printed, no more.
    bool whole = print::ForEachPrintedPage(3, 2, false, [&](std::int64_t page) {
        printed.push_back(page);
        return printed.size() < 4;
    });
    EXPECT_FALSE(whole);
    EXPECT_EQ(printed, (std::vector<std::int64_t>{0, 0, 1, 1}));
}

}  // namespace
