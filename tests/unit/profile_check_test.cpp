// Check File's checker against the rule table, one family of rules a test.
#include <gtest/gtest.h>

#include "ini/profile_check.h"
#include "tests/unit/check_rule_table.h"

namespace check_table {
std::ostream& operator<<(std::ostream& out, const Finding& finding) {
    return out << "{rule " << static_cast<int>(finding.rule) << ", line " << finding.line
               << (finding.windowsDiffers ? ", Windows differs}" : "}");
}
}  // namespace check_table

namespace {

using check_table::Family;

std::vector<ini::CheckReport> ExpectFindings(Family family) {
    std::vector<ini::CheckReport> reports;
    for (const check_table::Case& c : check_table::Cases()) {
        if (c.family != family) continue;
        reports.push_back(ini::CheckProfileText(c.text, c.encoding));
        check_table::Expected got;
        for (const ini::CheckFinding& finding : reports.back().findings) {
            got.push_back({finding.rule, finding.line, !finding.differs.empty()});
            EXPECT_FALSE(finding.gets.empty()) << finding.line;
        }
        EXPECT_EQ(got, c.expected) << c.text;
    }
    return reports;
}

TEST(ProfileCheckTest, Duplicates) {
    const std::vector<ini::CheckReport> reports = ExpectFindings(Family::Duplicates);
    // The reader gets the first key's value; a key only a later copy holds gives nothing.
    const ini::CheckFinding& key = reports[0].findings[1];
    ASSERT_EQ(key.calls.size(), 2u);
    EXPECT_EQ(key.calls[0].section, "A");
    EXPECT_EQ(key.calls[0].key, "K");
    EXPECT_EQ(key.calls[0].value, "1");
    EXPECT_EQ(reports[0].findings[3].calls[0].value, std::nullopt);
    // Listing the sections shows all three copies of A.
    EXPECT_EQ(reports[0].findings[4].calls[0].count, 3u);
    EXPECT_EQ(ini::FindingAsText(key).rfind("line 4: [A] K=3 | Never read: ", 0), 0u) << ini::FindingAsText(key);
}

TEST(ProfileCheckTest, Lines) { ExpectFindings(Family::Lines); }
TEST(ProfileCheckTest, Headers) { ExpectFindings(Family::Headers); }
TEST(ProfileCheckTest, Values) { ExpectFindings(Family::Values); }
TEST(ProfileCheckTest, Marks) { ExpectFindings(Family::Marks); }
TEST(ProfileCheckTest, LineEndsLengthsAndACleanFile) { ExpectFindings(Family::Layout); }

}  // namespace
