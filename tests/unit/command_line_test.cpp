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

TEST(CommandLineTest, PathLimitCountsTheJoiningBackslash) {
    EXPECT_TRUE(base::FitsPathLimit({std::string(254, 'd'), "A.IN"}));
    EXPECT_FALSE(base::FitsPathLimit({std::string(254, 'd'), "A.INI"}));
    EXPECT_TRUE(base::FitsPathLimit({"", std::string(259, 'f')}));
    EXPECT_FALSE(base::FitsPathLimit({"", std::string(260, 'f')}));
}

TEST(CommandLineTest, CutAtLastBackslashGivesParent) {
    EXPECT_EQ(base::CutAtLastBackslash("C:\\APPS\\KEPLIN.EXE"), "C:\\APPS");
    EXPECT_EQ(base::CutAtLastBackslash("D:\\DATA\\INI"), "D:\\DATA");
    EXPECT_EQ(base::CutAtLastBackslash("C:"), "C:");
}

TEST(CommandLineTest, HelpPathReplacesFileNameOrGivesUpWhenTooLong) {
    const std::string at114 = std::string(114, 'a') + "\\K.EXE";
    const std::string at115 = std::string(115, 'a') + "\\K.EXE";
    // Only the first 127 characters arrive, so the second backslash is never seen.
    const std::string clipped = "C:\\" + std::string(130, 'b') + "\\K.EXE";
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\APPS\\KEPLIN.EXE", "C:\\APPS\\keplin.hlp"},
        {"C:KEPLIN.EXE", "C:keplin.hlp"},
        {"KEPLIN.EXE", "Kkeplin.hlp"},
        {at114, std::string(114, 'a') + "\\keplin.hlp"},
        {at115, std::string(115, 'a') + "\\?"},
        {clipped, "C:\\keplin.hlp"},
        {"", "keplin.hlp"},
    };
    for (const auto& [exe, help] : cases) EXPECT_EQ(app::BuildHelpPath(exe, 128), help) << exe;
}

}  // namespace
