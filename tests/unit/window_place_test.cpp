#include "base/window_place.h"

#include <gtest/gtest.h>

namespace {

using base::Rect;

TEST(WindowPlaceTest, OnlyFiveWholeNumbersOfAUsableSizeAndDpiAreTaken) {
    const std::optional<base::WindowPlace> place = base::ParseWindowPlace(" -8 20 640  480 144 ");
    ASSERT_TRUE(place);
    EXPECT_EQ(place->rect, (Rect{-8, 20, 632, 500}));
    EXPECT_EQ(place->dpi, 144);
    EXPECT_EQ(base::FormatWindowPlace(*place), "-8 20 640 480 144");
    for (const char* text : {"", "1 2 3 4", "1 2 3 4 96 5", "1 2 0 4 96", "1 2 3 -4 96", "1 2 3 4 20", "1 2 3 4 96x",
                             "a 2 3 4 96", "1 2 3 4 99999999999999999999", "1 2 3 4 2000"})
        EXPECT_FALSE(base::ParseWindowPlace(text)) << '"' << text << '"';
}

TEST(WindowPlaceTest, TheSizeFollowsTheDpiAndTheCornerStays) {
    const base::WindowPlace place{Rect{100, 50, 700, 450}, 96};
    EXPECT_EQ(base::SizedForDpi(place, 144), (Rect{100, 50, 1000, 650}));
    EXPECT_EQ(base::SizedForDpi(place, 96), place.rect);
}

TEST(WindowPlaceTest, APlaceOnNoMonitorIsMovedIntoTheFirstWorkAreaAndOneOnAnyIsKept) {
    const std::vector<Rect> areas{Rect{0, 0, 1024, 738}, Rect{1024, 0, 2048, 768}};
    // Partly on the second monitor: kept, even past the first's edge.
    EXPECT_EQ(base::OntoAMonitor(Rect{2000, 700, 2400, 1000}, areas), (Rect{2000, 700, 2400, 1000}));
    // Beyond every monitor: within the first, at the nearest edge.
    EXPECT_EQ(base::OntoAMonitor(Rect{5000, -900, 5400, -600}, areas), (Rect{624, 0, 1024, 300}));
    EXPECT_EQ(base::OntoAMonitor(Rect{-3000, 300, -2600, 500}, areas), (Rect{0, 300, 400, 500}));
    // Larger than the area: made to fit it.
    EXPECT_EQ(base::OntoAMonitor(Rect{0, 900, 3000, 1900}, areas), (Rect{0, 0, 1024, 738}));
}

}  // namespace
