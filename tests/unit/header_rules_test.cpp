#include "ini/section_name.h"

#include <gtest/gtest.h>

namespace {

TEST(SectionNameTest, DropsFirstCharacterAndStopsAtFirstClose) {
    const std::pair<std::string, std::string> cases[] = {
        {"[Boot]", "Boot"}, {" [Colors]", "[Colors"}, {"[]", ""},     {"[a]b]", "a"},
        {"[Open", "Open"},  {"x", ""},                {"", ""},       {"]x]", "x"},
    };
    for (const auto& [header, name] : cases) EXPECT_EQ(ini::SectionNameFromHeader(header), name) << header;
}

TEST(SectionNameTest, ServiceSkipsLeadingBlanksButNoOtherCharacter) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"[Boot]", "Boot"},     {" [Colors]", "Colors"}, {"\t [C] ; c", "C"},
        {"[a]b]", "a"},         {"[]", ""},              {"x[Colors]", std::nullopt},
        {";[x]", std::nullopt}, {"[Open", std::nullopt}, {"  ", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [header, name] : cases) EXPECT_EQ(ini::ServiceSectionName(header), name) << header;
}

}  // namespace
