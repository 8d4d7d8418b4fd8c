#include "ini/profile_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ini::DeleteProfileKey;
using ini::DeleteProfileSection;
using ini::WriteProfileKey;

struct Case {
    const char* what;
    std::string before;
    std::string after;
};

std::string Written(const std::string& text, const char* section, const char* key, const char* value) {
    return WriteProfileKey(text, section, key, value).value_or("<refused>");
}

TEST(ProfileWriterTest, ChangingAKeyRewritesOnlyTheTextAfterItsEquals) {
    const Case cases[] = {
        {"LF file", "[A]\nk=old\nj=2\n", "[A]\nk=new\nj=2\n"},
        {"CR LF file", "[A]\r\nk=old\r\nj=2\r\n", "[A]\r\nk=new\r\nj=2\r\n"},
        {"lone CR ends lines", "[A]\rk=old\rj=2\r", "[A]\rk=new\rj=2\r"},
        {"mixed line ends kept", "[A]\r\nk=old\nj=2\r", "[A]\r\nk=new\nj=2\r"},
        {"indentation and blanks around = kept", "[A]\n   k  =  old  \n", "[A]\n   k  =  new\n"},
        {"case of the key ignored, its spelling kept", "[A]\nK=old\n", "[A]\nK=new\n"},
        {"case of the section ignored", "[a]\nk=old\n", "[a]\nk=new\n"},
        {"first of two keys", "[A]\nk=1\nk=2\n", "[A]\nk=new\nk=2\n"},
        {"first of two sections", "[A]\nk=1\n[a]\nk=2\n", "[A]\nk=new\n[a]\nk=2\n"},
        {"missing final line end stays missing", "[A]\nk=old", "[A]\nk=new"},
        {"empty value", "[A]\nk=\n", "[A]\nk=new\n"},
        {"line without = gains a value", "[A]\nk  \n", "[A]\nk=new\n"},
        {"comment after the header kept", "[A] ; note\nk=old\n", "[A] ; note\nk=new\n"},
        {"header with a blank before it", "x=1\n [A]\nk=old\n", "x=1\n [A]\nk=new\n"},
        {"header name runs to its last ]", "[A] ; x ]\nk=1\n[A]\nk=old\n", "[A] ; x ]\nk=1\n[A]\nk=new\n"},
        {"byte-order mark and non-ASCII bytes kept", "\xEF\xBB\xBF[A]\n\xE9=\xE8\nk=old\n",
         "\xEF\xBB\xBF[A]\n\xE9=\xE8\nk=new\n"},
        {"blank around the section name", "[  A  ]\nk=old\n", "[  A  ]\nk=new\n"},
        {"unnamed part before the first header is not A", "k=top\n[A]\nk=old\n", "k=top\n[A]\nk=new\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Written(c.before, "A", "k", "new"), c.after) << c.what;
}

TEST(ProfileWriterTest, ANewKeyGoesAfterTheSectionsLastNonEmptyLine) {
    const Case cases[] = {
        {"before empty lines", "[A]\nj=1\n\n\n[B]\n", "[A]\nj=1\nk=new\n\n\n[B]\n"},
        {"after a comment", "[A]\nj=1\n; last\n\n[B]\n", "[A]\nj=1\n; last\nk=new\n\n[B]\n"},
        {"uses the line end of the line it follows", "[A]\r\nj=1\n[B]\r\n", "[A]\r\nj=1\nk=new\n[B]\r\n"},
        {"empty section", "[A]\r\n[B]\r\n", "[A]\r\nk=new\r\n[B]\r\n"},
        {"last line without line end", "[A]\r\nj=1", "[A]\r\nj=1\r\nk=new"},
        {"header alone without line end, no line end anywhere", "[A]", "[A]\r\nk=new"},
        {"x[A] is a key line, not a header", "[B]\nx[A]\n", "[B]\nx[A]\n[A]\nk=new\n"},
        {"a blank before [ still makes a header", "[B]\n\t[A]\nj=1\n[C]\n", "[B]\n\t[A]\nj=1\nk=new\n[C]\n"},
        {"a [ without ] is a key line", "[A]\n[C\n", "[A]\n[C\nk=new\n"},
        {"key in the second section of that name only", "[A]\nj=1\n[a]\nk=2\n", "[A]\nj=1\nk=new\n[a]\nk=2\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Written(c.before, "A", "k", "new"), c.after) << c.what;
}

TEST(ProfileWriterTest, ANewSectionGoesAtTheEndOfTheFile) {
    const Case cases[] = {
        {"empty file", "", "[A]\r\nk=new\r\n"},
        {"byte-order mark only", "\xEF\xBB\xBF", "\xEF\xBB\xBF[A]\r\nk=new\r\n"},
        {"LF file", "[B]\nb=1\n", "[B]\nb=1\n[A]\nk=new\n"},
        {"file without final line end", "[B]\r\nb=1", "[B]\r\nb=1\r\n[A]\r\nk=new"},
        {"ends in empty lines", "[B]\n\n\n", "[B]\n\n\n[A]\nk=new\n"},
        {"[A without ] is no section", "[A\nx=1\n", "[A\nx=1\n[A]\nk=new\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Written(c.before, "A", "k", "new"), c.after) << c.what;
}

TEST(ProfileWriterTest, NamesAndValuesAreTakenAsThePlatformTakesThem) {
    EXPECT_EQ(Written("[A]\nk=1\n", "  a\t", " K ", "  v  "), "[A]\nk=v  \n");
    EXPECT_EQ(Written("[A]\nk=v   \r\n", "A", "k", "v"), "[A]\nk=v   \r\n") << "same value: nothing changes";
    EXPECT_EQ(Written("[A]\nk=1\n", "A", "k", ""), "[A]\nk=\n");
    EXPECT_EQ(Written("top=1\n[A]\n", "", "top", "2"), "top=2\n[A]\n") << "the empty name is the part before the first header";
    EXPECT_EQ(Written("[A]\n", "", "top", "2"), "top=2\n[A]\n");
    EXPECT_EQ(Written("[A]", "", "top", "2"), "top=2\r\n[A]");
    EXPECT_EQ(Written("\n\n[A]\n", "", "top", "2"), "top=2\n\n\n[A]\n");
    EXPECT_EQ(Written("[A]\n;c=1\n", "A", ";c", "2"), "[A]\n;c=2\n") << "a comment line is a key to the platform";
    EXPECT_EQ(Written("[A]\nk=1\n", "B", "k", "x\ny"), "<refused>");
    EXPECT_EQ(Written("[A]\nk=1\n", "B\r", "k", "x"), "<refused>");
    EXPECT_EQ(Written("\xFF\xFE[\0A\0]\0", "A", "k", "x"), "<refused>") << "UTF-16";
}

TEST(ProfileWriterTest, DeletingAKeyRemovesItsLineOnly) {
    const Case cases[] = {
        {"middle line", "[A]\r\nj=1\r\nk=2\r\nl=3\r\n", "[A]\r\nj=1\r\nl=3\r\n"},
        {"case and blanks ignored", "[a]\n  K = 2\n", "[a]\n"},
        {"last line without line end", "[A]\nj=1\nk=2", "[A]\nj=1\n"},
        {"first key of that name", "[A]\nk=1\nk=2\n", "[A]\nk=2\n"},
        {"found in a later section of that name", "[A]\nj=1\n[B]\nk=0\n[a]\nk=2\n", "[A]\nj=1\n[B]\nk=0\n[a]\n"},
        {"line without =", "[A]\nk\nj=1\n", "[A]\nj=1\n"},
        {"empty lines around kept", "[A]\n\nk=2\n\n", "[A]\n\n\n"},
        {"no such key: unchanged", "[A]\nj=1\n[B]\nk=1\n", "[A]\nj=1\n[B]\nk=1\n"},
        {"no such section: unchanged", "[B]\nk=1\n", "[B]\nk=1\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(DeleteProfileKey(c.before, " A ", "k"), c.after) << c.what;
}

TEST(ProfileWriterTest, DeletingASectionRemovesHeaderAndBodyUpToTheNextHeader) {
    const Case cases[] = {
        {"middle section", "[B]\nb=1\n[A]\nk=1\n; note\n\n[C]\nc=1\n", "[B]\nb=1\n[C]\nc=1\n"},
        {"last section without line end", "[B]\nb=1\n[A]\nk=1", "[B]\nb=1\n"},
        {"only the first of two", "[A]\nk=1\n[B]\n[a]\nk=2\n", "[B]\n[a]\nk=2\n"},
        {"up to a header with a blank before it", "[A]\nk=1\n [C]\nc=1\n", " [C]\nc=1\n"},
        {"x[C] does not end it", "[A]\nk=1\nx[C]\nc=1\n[D]\n", "[D]\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[A]\r\nk=1\r\n", "\xEF\xBB\xBF"},
        {"no such section: unchanged", "[B]\nb=1\n", "[B]\nb=1\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(DeleteProfileSection(c.before, "a"), c.after) << c.what;
    EXPECT_EQ(DeleteProfileSection("top=1\n\n[A]\nk=1\n", ""), "[A]\nk=1\n") << "the unnamed part";
}

TEST(ProfileWriterTest, TheReaderModelFollowsThePlatformsReader) {
    const auto model = ini::ReadProfileModel("top=1\n[A] ; c\n  k = v \nnoequals\n[]\n [B ]\n=x\n");
    ASSERT_EQ(model.size(), 4u);
    EXPECT_EQ(model[0].name, "");
    EXPECT_EQ(model[1].name, "A");
    ASSERT_EQ(model[1].keys.size(), 2u);
    EXPECT_EQ(model[1].keys[0].name, "k");
    EXPECT_EQ(model[1].keys[0].value, "v");
    EXPECT_EQ(model[1].keys[1].name, "noequals");
    EXPECT_FALSE(model[1].keys[1].value.has_value());
    EXPECT_EQ(model[2].name, "");
    EXPECT_EQ(model[3].name, "B");
    EXPECT_EQ(model[3].keys[0].name, "");
    EXPECT_TRUE(ini::SameProfileName("Colors", "cOLORS"));
    EXPECT_FALSE(ini::SameProfileName("\xC9", "\xE9")) << "only ASCII letters ignore case";
    EXPECT_TRUE(ini::SameProfileName(std::string("ab\0c", 4), "AB"));
}

}  // namespace

namespace {

// Where the platform's writer and ours part ways on purpose.
TEST(ProfileWriterTest, ChoicesWhereThePlatformDiffers) {
    // The platform writes a "[]" header back as nothing, so its keys join the
    // section before; ours leaves every other line alone.
    EXPECT_EQ(Written("[B]\nb=1\n[]\ne=1\n", "A", "k", "v"), "[B]\nb=1\n[]\ne=1\n[A]\nk=v\n");
    EXPECT_EQ(DeleteProfileSection("top=1\n[]\ne=1\n", ""), "[]\ne=1\n");
    // The platform's delete matches nothing for names with blanks around
    // them; ours takes names as every write does.
    EXPECT_EQ(DeleteProfileKey("[A]\nk=1\n", "  A", "k  "), "[A]\n");
    EXPECT_EQ(DeleteProfileSection("[A]\nk=1\n[B]\n", " A "), "[B]\n");
    // The platform converts what it writes into a UTF-8 file; ours writes the
    // bytes as KEPLIN shows and takes them.
    EXPECT_EQ(Written("\xEF\xBB\xBF[A]\n", "A", "\xE9", "\xC3\xA9"), "\xEF\xBB\xBF[A]\n\xE9=\xC3\xA9\n");
}

}  // namespace

namespace {

TEST(ProfileWriterTest, TheSectionALineOpensRunsToItsLastBracket) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"[Colors]", "Colors"},        {" [Colors] ; note", "Colors"}, {"\t[ Colors ]\r\n", "Colors"},
        {"[A] ; b ]", "A] ; b"},       {"[]", ""},                     {"[  ]", ""},
        {"x[Colors]", std::nullopt},   {"[Colors", std::nullopt},      {"", std::nullopt},
        {"[A]\rk=v", "A"},
    };
    for (const auto& [line, name] : cases) EXPECT_EQ(ini::ProfileSectionOfLine(line), name) << line;
}

}  // namespace

namespace {

TEST(ProfileWriterTest, NamesAndValuesEndAtANulAsTheyDoAtThePlatformsCalls) {
    using namespace std::string_literals;
    EXPECT_EQ(WriteProfileKey("top=1\n[A]\n", "\0A"s, "top", "2"), "top=2\n[A]\n") << "the section is \"\"";
    EXPECT_EQ(WriteProfileKey("[A]\nk=1\n", "A", "k\0x"s, "2\0\n"s), "[A]\nk=2\n");
    EXPECT_EQ(DeleteProfileKey("[A]\nk=1\n", "A\0B"s, "k"), "[A]\n");
}

}  // namespace
