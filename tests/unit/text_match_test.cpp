#include "search/text_match.h"

#include <gtest/gtest.h>

using search::TextMatches;

TEST(TextMatchesTest, FindsTheTextAnywhereInTheLineAsOneRun) {
    EXPECT_TRUE(TextMatches("Wallpaper=(None)", "paper", true));
    EXPECT_TRUE(TextMatches("Wallpaper=(None)", "Wallpaper=(None)", true));
    EXPECT_TRUE(TextMatches("Wallpaper=(None)", "W", true));
    EXPECT_TRUE(TextMatches("Wallpaper=(None)", ")", true));
    EXPECT_FALSE(TextMatches("Wallpaper=(None)", "Wall paper", true));
    EXPECT_FALSE(TextMatches("Wall", "Wallpaper", true));
    EXPECT_FALSE(TextMatches("", "a", false));
    // A partial match that breaks off must not hide a full one just after it.
    EXPECT_TRUE(TextMatches("aab", "ab", false));
    EXPECT_TRUE(TextMatches("xyxyz", "xyz", false));
    EXPECT_FALSE(TextMatches("xyxy", "xyz", false));
}

TEST(TextMatchesTest, WithoutMatchCaseOnlyAsciiLettersIgnoreCase) {
    EXPECT_TRUE(TextMatches("BACKGROUND=0", "background", false));
    EXPECT_TRUE(TextMatches("background=0", "BackGround", false));
    EXPECT_FALSE(TextMatches("BACKGROUND=0", "background", true));
    EXPECT_TRUE(TextMatches("background=0", "background", true));
    // Accented letters compare as they stand (Latin-1 e acute and E acute).
    EXPECT_FALSE(TextMatches("Caf\xC9", "caf\xE9", false));
    EXPECT_TRUE(TextMatches("Caf\xE9", "CAF\xE9", false));
    // Only a to z fold: "[" and "{" are not "_" or "[" in another case.
    EXPECT_FALSE(TextMatches("[x]", "{X}", false));
    EXPECT_FALSE(TextMatches("@", "`", false));
    EXPECT_TRUE(TextMatches("Z@", "z@", false));
}

TEST(TextMatchesTest, NeitherTextIsChanged) {
    const std::string line = "MiXeD=Case";
    const std::string text = "mixed";
    search::TextMatcher matcher(text, false);
    EXPECT_TRUE(matcher(line));
    EXPECT_EQ(line, "MiXeD=Case");
    EXPECT_EQ(text, "mixed");
    // One matcher tests many lines.
    EXPECT_FALSE(matcher("other"));
    EXPECT_TRUE(matcher("a mixed line"));
}

TEST(TextMatchesTest, BytesAboveAsciiAndControlCharactersCompareAsTheyStand) {
    EXPECT_TRUE(TextMatches("a\x01\xFF" "b", "\x01\xFF", false));
    EXPECT_FALSE(TextMatches("a\x01\xFF" "b", "\x01\xFE", false));
    EXPECT_TRUE(TextMatches("tab\there", "B\tH", false));
}
