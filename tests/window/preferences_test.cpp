// The Options menu: Alphabetize, Read Only and Backup, their check marks, what
// they change in the main window, and QUENTARO.INI beside the program.
#include <string>
#include <vector>

#include "program_test.h"

namespace {

using testfiles::PreferencesFile;

const char kUnsorted[] = "[Zeta]\r\nz=1\r\n[alpha]\r\na=1\r\n[Mid]\r\nm=1\r\n";

}  // namespace

class PreferencesTest : public ProgramTest {};

TEST_F(PreferencesTest, OptionsStartUncheckedWithoutAPreferencesFile) {
    Start(WriteIni("a.ini", kUnsorted));
    EXPECT_FALSE(MenuChecked(IDM_ALPHABETIZE));
    EXPECT_FALSE(MenuChecked(IDM_READ_ONLY));
    EXPECT_FALSE(MenuChecked(IDM_BACKUP));
    EXPECT_TRUE(ButtonEnabled(IDC_DELETE_SECTION));
    EXPECT_TRUE(ButtonEnabled(IDC_INSERT));
    EXPECT_FALSE(MenuGrayed(IDC_DELETE_SECTION));
    EXPECT_FALSE(MenuGrayed(IDC_INSERT));
}

TEST_F(PreferencesTest, FirstToggleCreatesThePreferencesFileWithThatKeyAlone) {
    Start(WriteIni("a.ini", kUnsorted));
    ASSERT_FALSE(testfiles::Exists(PreferencesFile()));
    Command(IDM_BACKUP);
    EXPECT_TRUE(MenuChecked(IDM_BACKUP));
    EXPECT_FALSE(MenuChecked(IDM_ALPHABETIZE));
    EXPECT_FALSE(MenuChecked(IDM_READ_ONLY));
    EXPECT_EQ(testfiles::ReadBytes(PreferencesFile()), "[KEPLIN]\r\nBackup=1\r\n");
}

TEST_F(PreferencesTest, AlphabetizeSortsTheListAndASecondToggleRestoresFileOrder) {
    Start(WriteIni("a.ini", kUnsorted));
    Command(IDM_ALPHABETIZE);
    EXPECT_TRUE(MenuChecked(IDM_ALPHABETIZE));
    EXPECT_EQ(Sections(), (Items{"[alpha]", "[Mid]", "[Zeta]"}));
    EXPECT_EQ(SelectedIndex(), 0);

    Command(IDM_ALPHABETIZE);
    EXPECT_FALSE(MenuChecked(IDM_ALPHABETIZE));
    EXPECT_EQ(Sections(), (Items{"[Zeta]", "[alpha]", "[Mid]"}));
    EXPECT_EQ(testfiles::ReadBytes(PreferencesFile()), "[KEPLIN]\r\nAlphabetize=0\r\n");
}

TEST_F(PreferencesTest, ReadOnlyGraysDeleteAndInsertButNotViewSelectOrPrint) {
    Start(WriteIni("a.ini", kUnsorted));
    Command(IDM_READ_ONLY);
    EXPECT_TRUE(MenuChecked(IDM_READ_ONLY));
    EXPECT_FALSE(ButtonEnabled(IDC_DELETE_SECTION));
    EXPECT_FALSE(ButtonEnabled(IDC_INSERT));
    EXPECT_TRUE(MenuGrayed(IDC_DELETE_SECTION));
    EXPECT_TRUE(MenuGrayed(IDC_INSERT));
    EXPECT_TRUE(ButtonEnabled(IDC_VIEW_SECTION));
    EXPECT_TRUE(ButtonEnabled(IDC_SELECT_INI));
    EXPECT_FALSE(MenuGrayed(IDC_VIEW_SECTION));
    EXPECT_FALSE(MenuGrayed(IDC_PRINT));
    EXPECT_EQ(testfiles::ReadBytes(PreferencesFile()), "[KEPLIN]\r\nLockContents=1\r\n");

    Command(IDM_READ_ONLY);
    EXPECT_FALSE(MenuChecked(IDM_READ_ONLY));
    EXPECT_TRUE(ButtonEnabled(IDC_DELETE_SECTION));
    EXPECT_TRUE(ButtonEnabled(IDC_INSERT));
    EXPECT_FALSE(MenuGrayed(IDC_DELETE_SECTION));
    EXPECT_FALSE(MenuGrayed(IDC_INSERT));
    EXPECT_EQ(testfiles::ReadBytes(PreferencesFile()), "[KEPLIN]\r\nLockContents=0\r\n");
}

TEST_F(PreferencesTest, PreferencesOfAnEarlierRunAreShownAtStart) {
    PreferencesAtStart("Alphabetize=1\r\nLockContents=1\r\nBackup=1\r\n");
    Start(WriteIni("a.ini", kUnsorted));
    EXPECT_TRUE(MenuChecked(IDM_ALPHABETIZE));
    EXPECT_TRUE(MenuChecked(IDM_READ_ONLY));
    EXPECT_TRUE(MenuChecked(IDM_BACKUP));
    EXPECT_EQ(Sections(), (Items{"[alpha]", "[Mid]", "[Zeta]"}));
    EXPECT_FALSE(ButtonEnabled(IDC_DELETE_SECTION));
    EXPECT_FALSE(ButtonEnabled(IDC_INSERT));
}

TEST_F(PreferencesTest, AHandEditedValueOf2ShowsNoCheckMarkAndLocksNothingAtStart) {
    PreferencesAtStart("Alphabetize=2\r\nLockContents=2\r\nBackup=2\r\n");
    Start(WriteIni("a.ini", kUnsorted));
    EXPECT_FALSE(MenuChecked(IDM_ALPHABETIZE));
    EXPECT_FALSE(MenuChecked(IDM_READ_ONLY));
    EXPECT_FALSE(MenuChecked(IDM_BACKUP));
    EXPECT_EQ(Sections(), (Items{"[Zeta]", "[alpha]", "[Mid]"}));
    EXPECT_TRUE(ButtonEnabled(IDC_DELETE_SECTION));
    EXPECT_TRUE(ButtonEnabled(IDC_INSERT));
}
