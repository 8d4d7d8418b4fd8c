// Where a finding's line shows in KEPLIN's lists: which header of the main
// list, and which of the view's entries.
#include <gtest/gtest.h>

#include "view/line_place.h"

namespace {

TEST(LinePlaceTest, ALineIsFoundUnderItsHeaderAmongLikeLinesAndOnlyInTheViewThatListsIt) {
    const std::string text = "top=1\n[A]\nk=1\n\nk=1\n[B]\n[A]\nk=1\n[Colors\nx=2\n";
    const view::LinePlace top = view::PlaceOfLine(text, 1);
    EXPECT_TRUE(top.header.empty());
    EXPECT_FALSE(top.inView);

    // The second "k=1" of the first [A]: the view lists one like it before.
    const view::LinePlace second = view::PlaceOfLine(text, 5);
    EXPECT_EQ(second.header, "[A]");
    EXPECT_EQ(second.headerCopy, 0u);
    EXPECT_TRUE(second.inView);
    EXPECT_EQ(second.line, "k=1");
    EXPECT_EQ(second.lineCopy, 1u);

    // The later [A] is the main list's second "[A]"; the view of "[A]"
    // shows the first, so its lines are not in a view.
    const view::LinePlace header = view::PlaceOfLine(text, 7);
    EXPECT_TRUE(header.isHeader);
    EXPECT_EQ(header.headerCopy, 1u);
    const view::LinePlace later = view::PlaceOfLine(text, 8);
    EXPECT_EQ(later.headerCopy, 1u);
    EXPECT_FALSE(later.inView);

    // A line starting with "[" ends the view's list.
    EXPECT_FALSE(view::PlaceOfLine(text, 10).inView);
    EXPECT_EQ(view::PlaceOfLine(text, 99).header, "");
}

}  // namespace
