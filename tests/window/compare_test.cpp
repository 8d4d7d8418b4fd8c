// Compare: the current file beside its backup, the differences copied, a key
// and a section taken across and undone, Read Only, and the list following
// a change another program makes.
#include <string>

#include "program_test.h"

namespace {

const char kOriginal[] =
    "; settings\r\n[Colors]\r\nBackground=0 0 0\r\nWindow=255 255 255\r\n"
    "[Fonts]\r\nArial=ARIAL.TTF\r\n[Ports]\r\nLPT1:=\r\n";
// After the three changes: one value edited, one key inserted, [Ports] deleted.
const char kChanged[] =
    "; settings\r\n[Colors]\r\nBackground=1 2 3\r\nWindow=255 255 255\r\nMenu=192 192 192\r\n"
    "[Fonts]\r\nArial=ARIAL.TTF\r\n";
const char kKeyTaken[] =
    "; settings\r\n[Colors]\r\nBackground=0 0 0\r\nWindow=255 255 255\r\nMenu=192 192 192\r\n"
    "[Fonts]\r\nArial=ARIAL.TTF\r\n";
const char kSectionTaken[] =
    "; settings\r\n[Colors]\r\nBackground=0 0 0\r\nWindow=255 255 255\r\nMenu=192 192 192\r\n"
    "[Fonts]\r\nArial=ARIAL.TTF\r\n[Ports]\r\nLPT1:=\r\n";

}  // namespace

class CompareTest : public ProgramTest {};

TEST_F(CompareTest, TheBackupIsComparedCopiedTakenFromAndTheTakesUndone) {
    const std::string backup = Beside("cmp-take.inB");
    PreferencesAtStart("Backup=1\r\n");
    const std::string path = WriteIni("cmp-take.ini", kOriginal);
    ASSERT_NO_FATAL_FAILURE(Start(path));
    HWND view = robot.OpenSection(Main(), 0);
    ASSERT_NE(view, nullptr);
    robot.EditValue(view, 0, "1 2 3");
    robot.InsertKey(view, "Menu", "192 192 192");
    robot.LeaveView(view);
    DeleteSection(2, "[Ports]", IDYES);
    ASSERT_EQ(testfiles::ReadBytes(path), kChanged);
    const std::string backedUp = testfiles::BackupOf(kOriginal, path);
    ASSERT_EQ(testfiles::ReadBytes(backup), backedUp);

    const std::string caption = "Compare " + path + " with " + backup;
    const std::string question = "Compare cmp-take.ini with its backup,\n" + backup + "?\n\nNo chooses another file.";
    HWND compare = robot.OpenCompare(Main(), caption, question, IDYES);
    ASSERT_NE(compare, nullptr);
    // The backup's record of where it came from is no difference.
    EXPECT_EQ(steps::User::CompareRows(compare),
              (Items{"[Colors] | Background | \"1 2 3\" | \"0 0 0\" | Values differ",
                     "[Colors] | Menu | \"192 192 192\" | (missing) | Key only in this file",
                     "[Ports] |  | (missing) | (section) | Section only in the other file"}));
    EXPECT_EQ(robot::Text(GetDlgItem(compare, IDC_COMPARE_SUMMARY)),
              "3 differences: 1 value differs, 1 key only in this file, 1 section only in the other file.");
    robot::EmptyTheClipboard();
    robot.Click(compare, IDC_COPY);
    EXPECT_EQ(robot::ClipboardText(),
              "[Colors] Background: \"1 2 3\" \xE2\x86\x92 \"0 0 0\"\r\n"
              "[Colors] Menu: \"192 192 192\" \xE2\x86\x92 (missing)\r\n"
              "[Ports]: (missing) \xE2\x86\x92 (section)\r\n");

    robot.SelectRow(compare, 0);
    robot.Click(compare, IDC_TAKE);
    EXPECT_EQ(testfiles::ReadBytes(path), kKeyTaken);
    ASSERT_EQ(steps::User::CompareRows(compare).size(), 2u) << "the list is brought up to date";
    robot.SelectRow(compare, 1);
    robot.Click(compare, IDC_TAKE_SECTION);
    EXPECT_EQ(testfiles::ReadBytes(path), kSectionTaken);
    EXPECT_EQ(steps::User::CompareRows(compare),
              (Items{"[Colors] | Menu | \"192 192 192\" | (missing) | Key only in this file"}));
    EXPECT_EQ(testfiles::ReadBytes(backup), backedUp) << "taking from the backup left it as it was";
    robot.ClickToClose(compare, IDCANCEL);

    Command(IDM_UNDO);
    EXPECT_EQ(testfiles::ReadBytes(path), kKeyTaken);
    Command(IDM_UNDO);
    EXPECT_EQ(testfiles::ReadBytes(path), kChanged);

    // Read Only grays Take; a change another program makes to either file shows.
    Command(IDM_READ_ONLY);
    compare = robot.OpenCompare(Main(), caption, question, IDYES);
    ASSERT_NE(compare, nullptr);
    robot.SelectRow(compare, 0);
    EXPECT_FALSE(robot::IsEnabled(GetDlgItem(compare, IDC_TAKE)));
    EXPECT_FALSE(robot::IsEnabled(GetDlgItem(compare, IDC_TAKE_SECTION)));
    ASSERT_TRUE(testfiles::WriteBytes(backup, std::string(kChanged) + "[Ports]\r\nLPT1:=\r\n"));
    EXPECT_TRUE(robot.WaitUntil([&] {
        return steps::User::CompareRows(compare) ==
               Items{"[Ports] |  | (missing) | (section) | Section only in the other file"};
    })) << "the list did not follow the backup";

    // Any other file, chosen in the platform's file-open dialog.
    const std::string other = WriteIni("cmp-other.ini", kOriginal);
    robot.CompareWithOtherFile(compare, other);
    EXPECT_TRUE(robot.WaitUntil([&] { return robot::Text(compare) == "Compare " + path + " with " + other; }));
    EXPECT_EQ(steps::User::CompareRows(compare), (Items{"[Colors] | Background | \"1 2 3\" | \"0 0 0\" | Values differ",
                                                        "[Colors] | Menu | \"192 192 192\" | (missing) | Key only in this file",
                                                        "[Ports] |  | (missing) | (section) | Section only in the other file"}));
    robot.ClickToClose(compare, IDCANCEL);
    Command(IDM_READ_ONLY);
}
