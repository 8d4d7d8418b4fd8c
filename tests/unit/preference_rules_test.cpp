#include "base/preference_rules.h"

#include <gtest/gtest.h>

namespace {

// A hand-edited value is on or off depending on who asks: exactly 1 for the
// check marks at start and for Alphabetize, non-zero for Read Only in the
// view and for Backup. Toggling flips the lowest bit, so 2 becomes 3.
TEST(PreferenceRulesTest, HandEditedValuesAreOnOnlyWhereNonZeroCounts) {
    struct Case { int32_t value; bool exactly; bool nonZero; int32_t toggled; };
    const Case cases[] = {
        {0, false, false, 1},
        {1, true, true, 0},
        {2, false, true, 3},
        {3, false, true, 2},
        {-1, false, true, -2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(base::IsExactlyOn(c.value), c.exactly) << c.value;
        EXPECT_EQ(base::IsNonZeroOn(c.value), c.nonZero) << c.value;
        EXPECT_EQ(base::FlipLowestBit(c.value), c.toggled) << c.value;
    }
}

}  // namespace
