// Backups: with Backup on, the first change to a file copies it beside the
// program under a name with one letter changed, and records in the copy
// where it came from.
#include <string>
#include <vector>

#include "immutable_file.h"
#include "program_test.h"

namespace {

const char kOriginal[] = "; colours\r\n[One]\r\na=1\r\n[Two]\r\nb=2\r\n";

}  // namespace

class BackupTest : public ProgramTest {};

// ---- when a backup is made ------------------------------------------------------------------

TEST_F(BackupTest, TheFirstChangeCopiesTheFileBesideTheProgramAndLaterChangesDoNot) {
    std::string backup = Beside("bk-first.inB");
    PreferencesAtStart("Backup=1\r\n");
    std::string path = WriteIni("bk-first.ini", kOriginal);
    Start(path);
    ASSERT_TRUE(MenuChecked(IDM_BACKUP));

    InsertSection("New", "k", "v");
    EXPECT_EQ(testfiles::ReadBytes(backup), testfiles::BackupOf(kOriginal, path));
    EXPECT_EQ(testfiles::ReadBytes(path), std::string(kOriginal) + "[New]\r\nk=v\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]", "[New]"}));

    // Whatever becomes of the backup now, later changes leave it alone.
    ASSERT_TRUE(testfiles::WriteBytes(backup, "changed since\r\n"));
    DeleteSection(1, "[Two]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(path), "; colours\r\n[One]\r\na=1\r\n[New]\r\nk=v\r\n");
    InsertSection("Newer", "k", "v");
    EXPECT_EQ(Sections(), (Items{"[One]", "[New]", "[Newer]"}));
    EXPECT_EQ(testfiles::ReadBytes(backup), "changed since\r\n");

    // A file dropped on the window is a new selection: its first change is
    // backed up too.
    const std::string droppedBackup = Beside("bk-dropped.inB");
    const std::string dropped = WriteIni("bk-dropped.ini", kOriginal);
    robot.DropFiles(Main(), {dropped});
    ASSERT_TRUE(robot.WaitUntil([&] { return Label() == dropped; }));
    InsertSection("New", "k", "v");
    EXPECT_EQ(testfiles::ReadBytes(droppedBackup), testfiles::BackupOf(kOriginal, dropped));
}

TEST_F(BackupTest, DeleteSectionBacksUpOnlyAfterYes) {
    std::string backup = Beside("bk-delete.inB");
    PreferencesAtStart("Backup=1\r\n");
    std::string path = WriteIni("bk-delete.ini", kOriginal);
    Start(path);

    DeleteSection(1, "[Two]", IDNO);
    EXPECT_FALSE(testfiles::Exists(backup)) << "No made a backup";
    EXPECT_EQ(testfiles::ReadBytes(path), kOriginal);

    DeleteSection(1, "[Two]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(backup), testfiles::BackupOf(kOriginal, path));
    EXPECT_EQ(testfiles::ReadBytes(path), "; colours\r\n[One]\r\na=1\r\n");
}

TEST_F(BackupTest, CancellingEitherInsertDialogMakesNoBackup) {
    std::string backup = Beside("bk-cancel.inB");
    PreferencesAtStart("Backup=1\r\n");
    std::string path = WriteIni("bk-cancel.ini", kOriginal);
    Start(path);

    HWND nameDialog = robot.OpenInsertSection(Main());
    ASSERT_NE(nameDialog, nullptr);
    robot.Cancel(nameDialog);
    EXPECT_FALSE(testfiles::Exists(backup)) << "Cancel in the name dialog made a backup";

    HWND keyDialog = FillInsertSection("New", "k", "v");
    ASSERT_NE(keyDialog, nullptr);
    robot.Cancel(keyDialog);
    EXPECT_FALSE(testfiles::Exists(backup)) << "Cancel in the key dialog made a backup";
    EXPECT_EQ(testfiles::ReadBytes(path), kOriginal);
}

TEST_F(BackupTest, WithBackupOffChangesMakeNone) {
    std::string backup = Beside("bk-off.inB");
    std::string path = WriteIni("bk-off.ini", kOriginal);
    Start(path);
    ASSERT_FALSE(MenuChecked(IDM_BACKUP));
    InsertSection("New", "k", "v");
    DeleteSection(0, "[One]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(path), "; colours\r\n[Two]\r\nb=2\r\n[New]\r\nk=v\r\n");
    EXPECT_FALSE(testfiles::Exists(backup));
}

TEST_F(BackupTest, TurnedOnFromTheMenuTheNextChangeBacksUpTheFileAsItIsThen) {
    std::string backup = Beside("bk-toggle.inB");
    std::string path = WriteIni("bk-toggle.ini", kOriginal);
    Start(path);
    InsertSection("Before", "k", "1");
    ASSERT_FALSE(testfiles::Exists(backup));
    const std::string changed = testfiles::ReadBytes(path);

    Command(IDM_BACKUP);
    EXPECT_TRUE(MenuChecked(IDM_BACKUP));
    EXPECT_FALSE(testfiles::Exists(backup)) << "turning Backup on made a backup at once";

    InsertSection("After", "k", "2");
    EXPECT_EQ(testfiles::ReadBytes(backup), testfiles::BackupOf(changed, path));
    EXPECT_EQ(testfiles::ReadBytes(path), changed + "[After]\r\nk=2\r\n");
}

TEST_F(BackupTest, AHandEditedValueOf2BacksUpAndItsToggleKeepsTheMarkWhileNonZero) {
    std::string backup = Beside("bk-two.inB");
    PreferencesAtStart("Backup=2\r\n");
    std::string path = WriteIni("bk-two.ini", kOriginal);
    Start(path);
    EXPECT_FALSE(MenuChecked(IDM_BACKUP));
    InsertSection("New", "k", "v");
    EXPECT_EQ(testfiles::ReadBytes(backup), testfiles::BackupOf(kOriginal, path)) << "Backup=2 counts as on";

    // 2 toggles to 3 and back to 2: non-zero both times.
    Command(IDM_BACKUP);
    EXPECT_TRUE(MenuChecked(IDM_BACKUP));
    EXPECT_EQ(testfiles::ReadBytes(testfiles::PreferencesFile()), "[KEPLIN]\r\nBackup=1\r\n");
    Command(IDM_BACKUP);
    EXPECT_TRUE(MenuChecked(IDM_BACKUP));
    EXPECT_EQ(testfiles::ReadBytes(testfiles::PreferencesFile()), "[KEPLIN]\r\nBackup=1\r\n");
}

// ---- the backup's name ------------------------------------------------------------------------

TEST_F(BackupTest, ANameWithoutAnIGetsItsLastLetterChangedToB) {
    std::string backup = Beside("data.cfb");
    PreferencesAtStart("Backup=1\r\n");
    std::string path = WriteIni("data.cfg", kOriginal);
    Start(path);
    DeleteSection(0, "[One]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(backup), testfiles::BackupOf(kOriginal, path));
    EXPECT_EQ(testfiles::ReadBytes(path), "; colours\r\n[Two]\r\nb=2\r\n");
}

TEST_F(BackupTest, AFileThatWouldBeItsOwnBackupIsNotCopiedAndTheChangeIsStillWritten) {
    // Beside the program, a name without an i that ends in b.
    std::string path = Beside("onto-self.cfb");
    PreferencesAtStart("Backup=1\r\n");
    ASSERT_TRUE(testfiles::WriteBytes(path, kOriginal));
    Start(path);
    const std::string refusal = "Sorry, " + path + " cannot be backed up onto itself.";

    InsertSection("New", "k", "v", refusal);
    EXPECT_EQ(testfiles::ReadBytes(path), std::string(kOriginal) + "[New]\r\nk=v\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]", "[New]"}));

    // No backup was made, so the next change tries again.
    DeleteSection(1, "[Two]", IDYES, refusal);
    EXPECT_EQ(testfiles::ReadBytes(path), "; colours\r\n[One]\r\na=1\r\n[New]\r\nk=v\r\n");
}

// ---- failures ----------------------------------------------------------------------------------

TEST_F(BackupTest, ABackupThatCannotBeMadeIsReportedAtEachChangeAndTheChangesAreWritten) {
    // A folder where the backup would go.
    std::string backup = Beside("bk-nomake.inB");
    ASSERT_TRUE(CreateDirectoryA(backup.c_str(), nullptr));
    PreferencesAtStart("Backup=1\r\n");
    std::string path = WriteIni("bk-nomake.ini", kOriginal);
    Start(path);
    const std::string failure = "Sorry could not make " + backup;

    InsertSection("New", "k", "v", failure);
    EXPECT_EQ(testfiles::ReadBytes(path), std::string(kOriginal) + "[New]\r\nk=v\r\n");
    InsertSection("Again", "k", "v", failure);
    EXPECT_EQ(testfiles::ReadBytes(path), std::string(kOriginal) + "[New]\r\nk=v\r\n[Again]\r\nk=v\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]", "[New]", "[Again]"}));
}

TEST_F(BackupTest, TheBackupIsMadeEvenWhenTheChangeCannotBeWritten) {
    std::string backup = Beside("bk-locked.inB");
    PreferencesAtStart("Backup=1\r\n");
    std::string path = WriteIni("bk-locked.ini", kOriginal);
    Start(path);
    testfiles::ImmutableFile locked(path);
    ASSERT_TRUE(locked.Immutable()) << "cannot make " << path << " immutable";

    InsertSection("New", "k", "v", "KEPLIN could not write profile.");
    EXPECT_EQ(testfiles::ReadBytes(backup), testfiles::BackupOf(kOriginal, path));
    EXPECT_EQ(testfiles::ReadBytes(path), kOriginal);
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]"}));
}

TEST_F(BackupTest, TheRecordInTheBackupTakesTheFilesOwnLineEndsAndLeavesItsBytesAlone) {
    std::string backup = Beside("bk-lf.inB");
    PreferencesAtStart("Backup=1\r\n");
    const std::string bytes = "; notes\n[One]\n  a = 1\n\n[Two]   ; second\nb=2";
    std::string path = WriteIni("bk-lf.ini", bytes);
    Start(path);
    InsertSection("New", "k", "v");
    // A second key says that the last line had no line end, for Restore.
    EXPECT_EQ(testfiles::ReadBytes(backup),
              bytes + "\n[BACKUPLOCATION]\nOriginalLocation=" + path + "\nNoFinalLineEnd=1");
    EXPECT_EQ(testfiles::ReadBytes(path), bytes + "\n[New]\nk=v");
}
