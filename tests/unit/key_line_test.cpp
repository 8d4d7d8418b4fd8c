#include "view/key_line.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyLineTest, EditSplitsAtFirstEqualsAfterKey) {
    struct Case { std::string line; std::optional<std::pair<std::string, std::string>> split; };
    const Case cases[] = {
        {"Shell=progman.exe", {{"Shell", "progman.exe"}}},
        {"a=b=c", {{"a", "b=c"}}},
        {"==k=v", {{"k", "v"}}},
        {"k=", {{"k", ""}}},
        {"k=v\rjunk", {{"k", "v"}}},
        {" k = v ", {{" k ", " v "}}},
        {"; comment", std::nullopt},
        {"===", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto split = view::SplitKeyLine(c.line);
        ASSERT_EQ(split.has_value(), c.split.has_value()) << c.line;
        if (!split) continue;
        EXPECT_EQ(split->key, c.split->first) << c.line;
        EXPECT_EQ(split->value, c.split->second) << c.line;
    }
}

TEST(KeyLineTest, DeleteCutsBeforeFirstEquals) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"k=v", "k"}, {"a=b=c", "a"}, {" k =v", " k "}, {"=v", std::nullopt}, {"none", std::nullopt},
    };
    for (const auto& [line, key] : cases) EXPECT_EQ(view::KeyOfLine(line), key) << line;
}

}  // namespace
