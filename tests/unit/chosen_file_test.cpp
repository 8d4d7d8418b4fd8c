#include "files/chosen_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using files::ChosenLocation;
using files::ChosenPath;

TEST(ChosenFileTest, FileNamesCompareIgnoringCaseOnly) {
    EXPECT_TRUE(base::EqualIgnoringCase("z:\\tmp\\x\\A.INI", "Z:\\TMP\\X\\a.ini"));
    EXPECT_TRUE(base::EqualIgnoringCase("", ""));
    EXPECT_FALSE(base::EqualIgnoringCase("a.ini", "a.ini "));
    EXPECT_FALSE(base::EqualIgnoringCase("a.ini", "a.inb"));
    // Only ASCII letters fold: "[" and "{" sit 32 apart but are not a case pair.
    EXPECT_FALSE(base::EqualIgnoringCase("[", "{"));
}

TEST(ChosenFileTest, TheNameBoxIsTakenInTheDirectoryShownUnlessItIsAFullPath) {
    EXPECT_EQ(ChosenPath("z:\\tmp\\x", "a.ini"), "z:\\tmp\\x\\a.ini");
    // A drive's root arrives with its backslash; it is dropped once.
    EXPECT_EQ(ChosenPath("c:\\", "win.ini"), "c:\\win.ini");
    EXPECT_EQ(ChosenPath("z:\\tmp\\x", "sub\\a.ini"), "z:\\tmp\\x\\sub\\a.ini");
    EXPECT_EQ(ChosenPath("z:\\tmp\\x", "D:\\other\\a.ini"), "D:\\other\\a.ini");
    EXPECT_EQ(ChosenPath("z:\\tmp\\x", "d:a.ini"), "d:a.ini");
    EXPECT_EQ(ChosenPath("z:\\tmp\\x", "\\\\server\\share\\a.ini"), "\\\\server\\share\\a.ini");
    EXPECT_EQ(ChosenPath("z:\\tmp\\x", "\\top\\a.ini"), "z:\\top\\a.ini");
    EXPECT_EQ(ChosenPath("z:\\tmp\\x", ""), "z:\\tmp\\x\\");
}

TEST(ChosenFileTest, LongNamesAreKeptWholeUpToThePathLimitAndRefusedBeyond) {
    const std::string directory = "c:\\" + std::string(140, 'd');   // 143 characters
    const std::string name(259 - 144, 'n');                           // fills the limit exactly
    auto kept = ChosenLocation(directory, name);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->directory, directory);
    EXPECT_EQ(kept->fileName, name);
    EXPECT_EQ(ChosenLocation(directory, name + "x"), std::nullopt);
    // A typed full path counts as a whole, whatever directory is shown.
    EXPECT_EQ(ChosenLocation("c:", directory + "\\" + name + "x"), std::nullopt);
    EXPECT_TRUE(base::FitsPathLimit(std::string(259, 'p')));
    EXPECT_FALSE(base::FitsPathLimit(std::string(260, 'p')));
}

TEST(ChosenFileTest, ATypedPathIsSplitIntoDirectoryAndName) {
    auto root = ChosenLocation("c:\\", "a.ini");
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(root->directory, "c:");
    EXPECT_EQ(root->fileName, "a.ini");
    auto sub = ChosenLocation("c:\\tmp", "sub\\b.ini");
    ASSERT_TRUE(sub.has_value());
    EXPECT_EQ(sub->directory, "c:\\tmp\\sub");
    EXPECT_EQ(sub->fileName, "b.ini");
}

TEST(ChosenFileTest, PatternsAreNotFiles) {
    for (const char* pattern : {"*.ini", "*.INB", "a?.ini", "*", "x*"}) EXPECT_TRUE(files::IsPattern(pattern)) << pattern;
    for (const char* name : {"a.ini", "", "sub\\a.ini", "a b.ini"}) EXPECT_FALSE(files::IsPattern(name)) << name;
}

TEST(ChosenFileTest, WinIniAndSystemIniAreSystemFilesInAnyCaseAndDirectory) {
    for (const char* name : {"WIN.INI", "win.ini", "System.Ini", "SYSTEM.INI", "c:\\windows\\win.ini",
                             "sub\\SYSTEM.ini", "d:win.ini", "c:/x/win.ini"})
        EXPECT_TRUE(files::IsSystemFile(name)) << name;
    for (const char* name : {"WIN.INB", "XWIN.INI", "win.ini.bak", "SYSTEM", "", "win.ini\\x.ini"})
        EXPECT_FALSE(files::IsSystemFile(name)) << name;
}

TEST(ChosenFileTest, OnlyTheBackupFileTypeStartsWithBacku) {
    EXPECT_TRUE(files::IsBackupFileType("Backup INI Files (*.INB)"));
    EXPECT_FALSE(files::IsBackupFileType("INI Files (*.INI)"));
    EXPECT_FALSE(files::IsBackupFileType("All Files (*.*)"));
    EXPECT_FALSE(files::IsBackupFileType("backup INI Files (*.INB)"));
    EXPECT_FALSE(files::IsBackupFileType("Back"));
    EXPECT_FALSE(files::IsBackupFileType(""));
}

}  // namespace
