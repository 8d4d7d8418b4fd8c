#include "ini/profile_compare.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini/encoding.h"
#include "test_code_page.h"

namespace {

using ini::CompareProfiles;
using ini::TakeProfileKey;
using ini::TakeProfileSection;

std::vector<std::string> Lines(const ini::ProfileComparison& comparison) {
    std::vector<std::string> lines;
    for (const ini::ProfileDifference& row : comparison.rows) lines.push_back(ini::DifferenceLine(row));
    return lines;
}

struct Case {
    const char* what;
    std::string mine;
    std::string theirs;
    std::string after;
};

}  // namespace

TEST(ProfileCompareTest, FindsEachKindOfDifferenceSectionBySectionInTheCurrentFilesOrder) {
    const std::string mine = "[Zeta]\r\nsame=1\r\nchanged=old\r\nmineOnly=m\r\n[Gone]\r\nx=1\r\n[Alpha]\r\na=\r\n";
    const std::string theirs = "[New]\r\nn=1\r\n[Alpha]\r\na\r\n[Zeta]\r\ntheirsOnly=t\r\nchanged=new\r\nsame=1\r\n"
                               "[BACKUPLOCATION]\r\nOriginalLocation=C:\\x.ini\r\n";
    const ini::ProfileComparison comparison = CompareProfiles(mine, theirs, "BACKUPLOCATION");
    EXPECT_EQ(Lines(comparison), (std::vector<std::string>{
                                     "[Zeta] changed: \"old\" \xE2\x86\x92 \"new\"",
                                     "[Zeta] mineOnly: \"m\" \xE2\x86\x92 (missing)",
                                     "[Zeta] theirsOnly: (missing) \xE2\x86\x92 \"t\"",
                                     "[Gone]: (section) \xE2\x86\x92 (missing)",
                                     "[Alpha] a: \"\" \xE2\x86\x92 (missing)",
                                     "[New]: (missing) \xE2\x86\x92 (section)",
                                 }));
    EXPECT_EQ(comparison.rows[4].kind, ini::DifferenceKind::ValueDiffers) << "an empty value is not a missing one";
    EXPECT_EQ(ini::ComparisonSummary(comparison),
              "6 differences: 2 values differ, 1 key only in this file, 1 key only in the other file, "
              "1 section only in this file, 1 section only in the other file.");
    EXPECT_EQ(ini::ComparisonSummary(CompareProfiles(mine, mine)), "The files hold the same keys and values.");
    EXPECT_EQ(CompareProfiles(mine, theirs).Count(ini::DifferenceKind::SectionOnlyTheirs), 2u)
        << "the record is compared when not left out";
}

TEST(ProfileCompareTest, WhatTheReaderDoesNotSeeIsNoDifferenceAndValuesCompareExactly) {
    const std::string mine = "; top\r\n[A]\r\nk=1\r\nj = two words \r\n\r\n[B]\r\n;c=1\r\nx=\"q\"\r\n";
    const char* const same[] = {
        "[b]\nX=\"q\"\n[ a ]\n  J=two words\n; other comment\nK  =  1\n",
        "[A]\rk=1\rj=two words\r[B]\rx=\"q\"",
        "[A]\nk=1\nj=two words\n[B]\n;c=2\nx=\"q\"\n",
    };
    for (const char* theirs : same)
        EXPECT_TRUE(CompareProfiles(mine, theirs).Same()) << theirs << ": " << ini::ComparisonSummary(CompareProfiles(mine, theirs));
    const char* const different[] = {
        "[A]\nk=1\nj=two  words\n[B]\nx=\"q\"\n",   // inner spacing is part of the value
        "[A]\nk=1\nj=two words\n[B]\nx=q\n",         // so are the quotes
        "[A]\nk=1\nj=two words\n[B]\nx=\"Q\"\n",     // and the case
        "[A]\nk\nj=two words\n[B]\nx=\"q\"\n",       // no value is not "1"
        "[A]\nk=1\nj=two words\n[B]\nx=\"q\"\n[A]\nk=2\n[C]\n",   // an empty section counts
    };
    for (const char* theirs : different) EXPECT_FALSE(CompareProfiles(mine, theirs).Same()) << theirs;
}

TEST(ProfileCompareTest, DuplicatesAreFlaggedAndOnlyTheFirstCopyIsCompared) {
    const std::string mine = "k=top\r\n[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3\r\nlater=x\r\n[]\r\nk=hidden\r\n";
    const std::string theirs = "k=top\r\n[A]\r\nk=1\r\n";
    const ini::ProfileComparison comparison = CompareProfiles(mine, theirs);
    EXPECT_EQ(Lines(comparison), (std::vector<std::string>{
                                     "[]: 2 copies \xE2\x86\x92 1 copy (Duplicate: the first copy is compared)",
                                     "[A]: 2 copies \xE2\x86\x92 1 copy (Duplicate: the first copy is compared)",
                                     "[A] k: 2 copies \xE2\x86\x92 1 copy (Duplicate: the first copy is compared)",
                                 }));
    EXPECT_TRUE(comparison.Same());
    EXPECT_EQ(ini::ComparisonSummary(comparison),
              "The files hold the same keys and values. 3 duplicates (the first copy is compared).");
}

TEST(ProfileCompareTest, FilesInDifferentEncodingsAreComparedAsText) {
    const testing_code_page::TestCodePage ansi;
    // [Général] caf\xE9=\xE9t\xE9 in UTF-16 LE with its mark, in UTF-8, and in the ANSI code page.
    const std::u16string text = u"[G\u00E9n\u00E9ral]\r\ncaf\u00E9=\u00E9t\u00E9\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t unit : text) {
        utf16 += static_cast<char>(unit & 0xFF);
        utf16 += static_cast<char>(unit >> 8);
    }
    const std::string utf8 = ini::Utf16ToUtf8(text);
    const std::string latin = "[G\xE9n\xE9ral]\r\ncaf\xE9=\xE9t\xE9\r\n";
    const ini::FileText a = ini::DecodeFile(utf16, ansi), b = ini::DecodeFile(utf8, ansi), c = ini::DecodeFile(latin, ansi);
    ASSERT_EQ(a.encoding, ini::Encoding::Utf16Le);
    ASSERT_EQ(c.encoding, ini::Encoding::Ansi);
    EXPECT_TRUE(CompareProfiles(a.text, b.text).Same());
    EXPECT_TRUE(CompareProfiles(c.text, a.text).Same());
    EXPECT_FALSE(CompareProfiles(c.text, "[G\xC3\xA9n\xC3\xA9ral]\r\ncaf\xC3\xA9=et\xC3\xA9\r\n").Same());
}

TEST(ProfileCompareTest, TakingAKeyTouchesOnlyItsLines) {
    const Case cases[] = {
        {"a value changed in place", "; c\r\n[A]\r\n  k = old \r\nj=1\r\n", "[A]\nk=new\n", "; c\r\n[A]\r\n  k = new\r\nj=1\r\n"},
        {"a new key after the section's last line", "[A]\r\nj=1\r\n\r\n[B]\r\n", "[A]\nk=new\n", "[A]\r\nj=1\r\nk=new\r\n\r\n[B]\r\n"},
        {"every copy deleted", "[A]\nk=1\nj=2\nk=3\n[A]\nk=4\n", "[A]\nj=2\n", "[A]\nj=2\n[A]\nk=4\n"},
        {"a new section at the end, open last line kept", "[B]\r\nb=1", "[A]\nk=new\n", "[B]\r\nb=1\r\n[A]\r\nk=new"},
        {"a key without a value", "[A]\nk = 1\n", "[A]\nk\n", "[A]\nk\n"},
        {"a key without a value added", "[A]\nj=1\n", "[A]\nk\n", "[A]\nj=1\nk\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TakeProfileKey(c.mine, c.theirs, "A", "k").value_or("<refused>"), c.after) << c.what;
    // The part before the first header, with lines and without.
    EXPECT_EQ(TakeProfileKey("\xEF\xBB\xBFj=1\n[A]\n", "k=new\n", "", "k"), "\xEF\xBB\xBFj=1\nk=new\n[A]\n");
    EXPECT_EQ(TakeProfileKey("[A]\n", "k=new\n", "", "k"), "k=new\n[A]\n");
    // A line added after a last line without a line end takes the file's first line end.
    EXPECT_EQ(TakeProfileKey("x=1\n[Z]\r\nj=1", "[Z]\nk=new", "Z", "k"), "x=1\n[Z]\r\nj=1\nk=new");
}

TEST(ProfileCompareTest, TakingASectionMakesItHoldWhatTheOtherHolds) {
    const Case cases[] = {
        {"changed in place, added in the other file's order, the rest deleted, comments kept",
         "[B]\r\nb=1\r\n[A]\r\n; note\r\nc=3\r\nmine=1\r\nd=old\r\n\r\n[C]\r\n",
         "[A]\nz=26\nd=new\ny=25\nc=3\n",
         "[B]\r\nb=1\r\n[A]\r\n; note\r\nc=3\r\nd=new\r\nz=26\r\ny=25\r\n\r\n[C]\r\n"},
        {"a section only in the other file", "[B]\nb=1\n", "[A]\nk=1\nj\n", "[B]\nb=1\n[A]\nk=1\nj\n"},
        {"an empty section only in the other file", "[B]\nb=1", "[A]\n", "[B]\nb=1\n[A]"},
        {"a section only in this file, every copy", "[A]\nk=1\n[B]\nb=1\n[a]\nk=2\n", "[B]\nb=1\n", "[B]\nb=1\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TakeProfileSection(c.mine, c.theirs, "A").value_or("<refused>"), c.after) << c.what;
    // What the file's encoding is asked to hold: every name and value written, comments and later copies not.
    EXPECT_EQ(ini::TakenSectionText("[B]\nb=1\n[A]\nk=v\n;c=x\nj\nK=2\n[B]\n", "A"), "Akvj");
}
