#include "ini/line_order.h"

#include <gtest/gtest.h>

namespace {

TEST(LineOrderTest, ComparesBytesIgnoringAsciiCase) {
    EXPECT_TRUE(ini::LessIgnoringCase("apple", "Banana"));
    EXPECT_FALSE(ini::LessIgnoringCase("Banana", "apple"));
    EXPECT_FALSE(ini::LessIgnoringCase("ABC", "abc"));
    EXPECT_FALSE(ini::LessIgnoringCase("abc", "ABC"));
    EXPECT_TRUE(ini::LessIgnoringCase("ab", "ABC"));
    EXPECT_TRUE(ini::LessIgnoringCase("_x", "a"));
    EXPECT_TRUE(ini::LessIgnoringCase("[z]", "a"));
    // Bytes above 127 sort after ASCII, not before it as signed chars would.
    EXPECT_TRUE(ini::LessIgnoringCase("z", "\xe9"));
}

TEST(LineOrderTest, SortKeepsFileOrderOfEqualLines) {
    std::vector<std::string> lines = {"[b]", "[A]", "[a]", "[B]", "[_]"};
    ini::SortIgnoringCase(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"[_]", "[A]", "[a]", "[b]", "[B]"}));

    // Long enough that a sort which is not stable shows it: two names, each in
    // all 32 case spellings, interleaved; each name's spellings keep their order.
    std::vector<std::string> mixed, alphas, bravos;
    for (int pattern = 0; pattern < 32; ++pattern) {
        for (std::string name : {"bravo", "alpha"}) {
            for (int bit = 0; bit < 5; ++bit)
                if (pattern & (1 << bit)) name[bit] = static_cast<char>(name[bit] - 'a' + 'A');
            (name[0] == 'a' || name[0] == 'A' ? alphas : bravos).push_back(name);
            mixed.push_back(name);
        }
    }
    ini::SortIgnoringCase(mixed);
    alphas.insert(alphas.end(), bravos.begin(), bravos.end());
    EXPECT_EQ(mixed, alphas);
}

}  // namespace
