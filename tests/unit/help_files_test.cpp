// Which help file the program shows when the WinHelp viewer cannot.
#include "app/help_files.h"

#include <gtest/gtest.h>

TEST(HelpFiles, TheOtherFormsLieBesideTheWinHelpFile) {
    EXPECT_EQ(app::HelpPathAs("C:\\APPS\\keplin.hlp", ".html"), "C:\\APPS\\keplin.html");
    EXPECT_EQ(app::HelpPathAs("C:\\APPS\\keplin.hlp", ".chm"), "C:\\APPS\\keplin.chm");
    EXPECT_EQ(app::HelpPathAs("D:keplin.HLP", ".html"), "D:keplin.html");
    // The "?" of a program directory too long for the help path, and other
    // paths that name no .hlp file, name no other form either.
    EXPECT_EQ(app::HelpPathAs("C:\\A\\?", ".html"), "");
    EXPECT_EQ(app::HelpPathAs(".hlp", ".html"), "");
    EXPECT_EQ(app::HelpPathAs("", ".html"), "");
    EXPECT_EQ(app::HelpPathAs("C:\\A\\keplin.hlpx", ".html"), "");
    // How to Use Help's own file, beside the program's.
    EXPECT_EQ(app::HelpFileBeside("C:\\APPS\\keplin.hlp", "winhelp.hlp"), "C:\\APPS\\winhelp.hlp");
    EXPECT_EQ(app::HelpFileBeside("D:keplin.hlp", "winhelp.hlp"), "D:winhelp.hlp");
    EXPECT_EQ(app::HelpFileBeside("C:\\A\\?", "winhelp.hlp"), "");
}

TEST(HelpFiles, OnlyTheStandInViewerCountsAsRefusing) {
    EXPECT_TRUE(app::IsStubViewerDescription("Windows Winhlp32 Stub"));
    EXPECT_TRUE(app::IsStubViewerDescription("WINHLP32 STUB"));
    // The real viewers, and one whose description cannot be read, are asked.
    EXPECT_FALSE(app::IsStubViewerDescription("Windows Help"));
    EXPECT_FALSE(app::IsStubViewerDescription(""));
}
