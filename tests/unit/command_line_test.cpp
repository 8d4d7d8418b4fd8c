#include "app/command_line.h"
#include "app/help_files.h"
#include "base/path_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, ArgumentTextSkipsProgramNameAndBlanksOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"keplin.exe C:\\WIN\\SYSTEM.INI", "C:\\WIN\\SYSTEM.INI"},
        {"\"C:\\My Tools\\keplin.exe\"  a b ", "a b "},
        {"keplin.exe\t\"C:\\a b\\X.INI\"", "\"C:\\a b\\X.INI\""},
        {"keplin.exe   ", ""},
        {"\"C:\\unterminated x.ini", ""},
        {"", ""},
    };
    for (const auto& [line, argument] : cases) EXPECT_EQ(app::ArgumentText(line), argument) << line;
}

TEST(CommandLineTest, SplitsAtLastBackslashAfterFirstCharacter) {
    struct Case { std::string text, directory, fileName; };
    const Case cases[] = {
        {"C:\\WIN\\SYSTEM.INI", "C:\\WIN", "SYSTEM.INI"},
        {"C:\\X.INI", "C:", "X.INI"},
        {"C:\\WIN\\", "C:\\WIN", ""},
        {"MY.INI", "", "MY.INI"},
        {"\\X.INI", "", "\\X.INI"},
        {"\"C:\\A\\X.INI\" ", "\"C:\\A", "X.INI\" "},
    };
    for (const Case& c : cases) {
        const base::IniPath path = base::SplitIniPath(c.text);
        EXPECT_EQ(path.directory, c.directory) << c.text;
        EXPECT_EQ(path.fileName, c.fileName) << c.text;
    }
    EXPECT_EQ(base::JoinIniPath("C:\\WIN", "SYSTEM.INI"), "C:\\WIN\\SYSTEM.INI");
}

TEST(CommandLineTest, PathLimitCountsTheJoiningBackslashAndUtf16UnitsNotBytes) {
    EXPECT_TRUE(base::FitsPathLimit({std::string(254, 'd'), "A.IN"}));
    EXPECT_FALSE(base::FitsPathLimit({std::string(254, 'd'), "A.INI"}));
    EXPECT_TRUE(base::FitsPathLimit({"", std::string(259, 'f')}));
    EXPECT_FALSE(base::FitsPathLimit({"", std::string(260, 'f')}));
    // A CJK character is three bytes and one unit; one outside the first
    // plane four bytes and two units; a stray byte one.
    std::string cjk;
    for (int i = 0; i < 90; ++i) cjk += "\xE6\x97\xA5";
    EXPECT_TRUE(base::FitsPathLimit({"C:\\" + cjk, "a.ini"}));
    std::string at259 = "C:";
    for (int i = 0; i < 257; ++i) at259 += "\xE6\x97\xA5";
    EXPECT_TRUE(base::FitsPathLimit(at259));
    EXPECT_FALSE(base::FitsPathLimit(at259 + "x"));
    std::string pairs = "C:\\";
    for (int i = 0; i < 128; ++i) pairs += "\xF0\x9F\x98\x80";
    EXPECT_TRUE(base::FitsPathLimit(pairs));
    EXPECT_FALSE(base::FitsPathLimit(pairs + "\xF0\x9F\x98\x80"));
    EXPECT_FALSE(base::FitsPathLimit(std::string(260, '\xE9')));
}

TEST(CommandLineTest, CutAtLastBackslashGivesParent) {
    EXPECT_EQ(base::CutAtLastBackslash("C:\\APPS\\KEPLIN.EXE"), "C:\\APPS");
    EXPECT_EQ(base::CutAtLastBackslash("D:\\DATA\\INI"), "D:\\DATA");
    EXPECT_EQ(base::CutAtLastBackslash("C:"), "C:");
}

TEST(CommandLineTest, HelpPathReplacesFileNameOrGivesUpWhenTooLong) {
    // The folder part and "keplin.hlp" fill the limit of 259 units exactly.
    const std::string at248 = std::string(248, 'a') + "\\K.EXE";
    const std::string at249 = std::string(249, 'a') + "\\K.EXE";
    std::string cjk = "C:\\";
    for (int i = 0; i < 245; ++i) cjk += "\xE6\x97\xA5";
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\APPS\\KEPLIN.EXE", "C:\\APPS\\keplin.hlp"},
        {"C:KEPLIN.EXE", "C:keplin.hlp"},
        {"KEPLIN.EXE", "Kkeplin.hlp"},
        {at248, std::string(248, 'a') + "\\keplin.hlp"},
        {at249, std::string(249, 'a') + "\\?"},
        {cjk + "\\K.EXE", cjk + "\\keplin.hlp"},
        {"", "keplin.hlp"},
    };
    for (const auto& [exe, help] : cases) EXPECT_EQ(app::BuildHelpPath(exe), help) << exe;
}

}  // namespace
