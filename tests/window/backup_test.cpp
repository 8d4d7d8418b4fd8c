// Backups: with Backup on, the first change to a file copies it beside the
// program under a name with one letter changed, and records in the copy
// where it came from.
#include <string>
#include <vector>

#include "immutable_file.h"
#include "program_test.h"

using Items = std::vector<std::string>;

namespace {

using testfiles::PreferencesFile;

const char kOriginal[] = "; colours\r\n[One]\r\na=1\r\n[Two]\r\nb=2\r\n";

}  // namespace

class BackupTest : public ProgramTest {
protected:
    // Backup on, as an earlier run left it.
    void BackupOnAtStart(const char* value = "1") {
        ASSERT_TRUE(testfiles::WriteBytes(PreferencesFile(), std::string("[KEPLIN]\r\nBackup=") + value + "\r\n"));
    }

    // What a backup of a file of these bytes at this path holds.
    static std::string BackupOf(const std::string& bytes, const std::string& path) {
        return bytes + "[BACKUPLOCATION]\r\nOriginalLocation=" + path + "\r\n";
    }

    // Insert Section from the menu up to the key dialog, filled in; null when
    // a dialog did not come.
    HWND FillInsertDialogs(const std::string& name, const std::string& key, const std::string& value) {
        Command(IDC_INSERT);
        HWND nameDialog = robot.WaitForWindow("Input New Section Name");
        EXPECT_NE(nameDialog, nullptr) << "Insert Section opened no dialog";
        if (!nameDialog) return nullptr;
        robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), name);
        robot.Click(nameDialog, IDC_MAIN_MENU);
        HWND keyDialog = robot.WaitForWindow("Keyname Insert Screen");
        EXPECT_NE(keyDialog, nullptr) << "OK with a section name opened no key dialog";
        if (!keyDialog) return nullptr;
        robot.Type(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD), key);
        robot.Type(GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD), value);
        return keyDialog;
    }

    // Insert Section, OK in both dialogs. A message box the change shows is
    // expected with expectedBox.
    void InsertSection(const std::string& name, const std::string& key, const std::string& value,
                       const std::string& expectedBox = "") {
        HWND keyDialog = FillInsertDialogs(name, key, value);
        ASSERT_NE(keyDialog, nullptr);
        if (!expectedBox.empty()) robot.Expect("KEPLIN", expectedBox).Answer(IDOK);
        robot.Click(keyDialog, IDC_MAIN_MENU);
        EXPECT_TRUE(robot.WaitUntilGone(keyDialog));
    }

    // Delete Section on the header at index, with this answer to the question.
    void DeleteSection(int index, const std::string& header, int answer) {
        robot.SelectItem(Control(IDC_SECTION_LIST), index);
        ASSERT_EQ(SelectedSection(), header);
        robot.Expect("KEPLIN", "Are you sure you want to DELETE\n" + header + " ?").Answer(answer);
        Click(IDC_DELETE_SECTION);
    }
};

// ---- when a backup is made ------------------------------------------------------------------

TEST_F(BackupTest, TheFirstChangeCopiesTheFileBesideTheProgramAndLaterChangesDoNot) {
    std::string backup = Beside("bk-first.inB");
    BackupOnAtStart();
    std::string path = WriteIni("bk-first.ini", kOriginal);
    Start(path);
    ASSERT_TRUE(MenuChecked(IDM_BACKUP));

    InsertSection("New", "k", "v");
    EXPECT_EQ(testfiles::ReadBytes(backup), BackupOf(kOriginal, path));
    EXPECT_EQ(testfiles::ReadBytes(path), std::string(kOriginal) + "[New]\r\nk=v\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]", "[New]"}));

    // Whatever becomes of the backup now, later changes leave it alone.
    ASSERT_TRUE(testfiles::WriteBytes(backup, "changed since\r\n"));
    DeleteSection(1, "[Two]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(path), "; colours\r\n[One]\r\na=1\r\n[New]\r\nk=v\r\n");
    InsertSection("Newer", "k", "v");
    EXPECT_EQ(Sections(), (Items{"[One]", "[New]", "[Newer]"}));
    EXPECT_EQ(testfiles::ReadBytes(backup), "changed since\r\n");
}

TEST_F(BackupTest, DeleteSectionBacksUpOnlyAfterYes) {
    std::string backup = Beside("bk-delete.inB");
    BackupOnAtStart();
    std::string path = WriteIni("bk-delete.ini", kOriginal);
    Start(path);

    DeleteSection(1, "[Two]", IDNO);
    EXPECT_FALSE(testfiles::Exists(backup)) << "No made a backup";
    EXPECT_EQ(testfiles::ReadBytes(path), kOriginal);

    DeleteSection(1, "[Two]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(backup), BackupOf(kOriginal, path));
    EXPECT_EQ(testfiles::ReadBytes(path), "; colours\r\n[One]\r\na=1\r\n");
}

TEST_F(BackupTest, CancellingEitherInsertDialogMakesNoBackup) {
    std::string backup = Beside("bk-cancel.inB");
    BackupOnAtStart();
    std::string path = WriteIni("bk-cancel.ini", kOriginal);
    Start(path);

    Command(IDC_INSERT);
    HWND nameDialog = robot.WaitForWindow("Input New Section Name");
    ASSERT_NE(nameDialog, nullptr);
    robot.Click(nameDialog, IDC_CANCEL_BUTTON);
    EXPECT_TRUE(robot.WaitUntilGone(nameDialog));
    EXPECT_FALSE(testfiles::Exists(backup)) << "Cancel in the name dialog made a backup";

    HWND keyDialog = FillInsertDialogs("New", "k", "v");
    ASSERT_NE(keyDialog, nullptr);
    robot.Click(keyDialog, IDC_CANCEL_BUTTON);
    EXPECT_TRUE(robot.WaitUntilGone(keyDialog));
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
    EXPECT_EQ(testfiles::ReadBytes(backup), BackupOf(changed, path));
    EXPECT_EQ(testfiles::ReadBytes(path), changed + "[After]\r\nk=2\r\n");
}

TEST_F(BackupTest, AHandEditedValueOf2BacksUpAndItsToggleKeepsTheMarkWhileNonZero) {
    std::string backup = Beside("bk-two.inB");
    BackupOnAtStart("2");
    std::string path = WriteIni("bk-two.ini", kOriginal);
    Start(path);
    EXPECT_FALSE(MenuChecked(IDM_BACKUP));
    InsertSection("New", "k", "v");
    EXPECT_EQ(testfiles::ReadBytes(backup), BackupOf(kOriginal, path)) << "Backup=2 counts as on";

    // 2 toggles to 3 and back to 2: non-zero both times.
    Command(IDM_BACKUP);
    EXPECT_TRUE(MenuChecked(IDM_BACKUP));
    EXPECT_EQ(testfiles::ReadBytes(PreferencesFile()), "[KEPLIN]\r\nBackup=1\r\n");
    Command(IDM_BACKUP);
    EXPECT_TRUE(MenuChecked(IDM_BACKUP));
    EXPECT_EQ(testfiles::ReadBytes(PreferencesFile()), "[KEPLIN]\r\nBackup=1\r\n");
}

// ---- the backup's name ------------------------------------------------------------------------

TEST_F(BackupTest, ANameWithoutAnIGetsItsLastLetterChangedToB) {
    std::string backup = Beside("data.cfb");
    BackupOnAtStart();
    std::string path = WriteIni("data.cfg", kOriginal);
    Start(path);
    DeleteSection(0, "[One]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(backup), BackupOf(kOriginal, path));
    EXPECT_EQ(testfiles::ReadBytes(path), "; colours\r\n[Two]\r\nb=2\r\n");
}

TEST_F(BackupTest, AFileThatWouldBeItsOwnBackupIsNotCopiedAndTheChangeIsStillWritten) {
    // Beside the program, a name without an i that ends in b.
    std::string path = Beside("onto-self.cfb");
    BackupOnAtStart();
    ASSERT_TRUE(testfiles::WriteBytes(path, kOriginal));
    Start(path);
    const std::string refusal = "Sorry, " + path + " cannot be backed up onto itself.";

    InsertSection("New", "k", "v", refusal);
    EXPECT_EQ(testfiles::ReadBytes(path), std::string(kOriginal) + "[New]\r\nk=v\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]", "[New]"}));

    // No backup was made, so the next change tries again.
    robot.SelectItem(Control(IDC_SECTION_LIST), 1);
    robot.Expect("KEPLIN", "Are you sure you want to DELETE\n[Two] ?").Answer(IDYES);
    robot.Expect("KEPLIN", refusal).Answer(IDOK);
    Click(IDC_DELETE_SECTION);
    EXPECT_EQ(testfiles::ReadBytes(path), "; colours\r\n[One]\r\na=1\r\n[New]\r\nk=v\r\n");
}

// ---- failures ----------------------------------------------------------------------------------

TEST_F(BackupTest, ABackupThatCannotBeMadeIsReportedAtEachChangeAndTheChangesAreWritten) {
    // A folder where the backup would go.
    std::string backup = Beside("bk-nomake.inB");
    ASSERT_TRUE(CreateDirectoryA(backup.c_str(), nullptr));
    BackupOnAtStart();
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
    BackupOnAtStart();
    std::string path = WriteIni("bk-locked.ini", kOriginal);
    Start(path);
    testfiles::ImmutableFile locked(path);
    ASSERT_TRUE(locked.Immutable()) << "cannot make " << path << " immutable";

    InsertSection("New", "k", "v", "KEPLIN could not write profile.");
    EXPECT_EQ(testfiles::ReadBytes(backup), BackupOf(kOriginal, path));
    EXPECT_EQ(testfiles::ReadBytes(path), kOriginal);
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]"}));
}

TEST_F(BackupTest, TheRecordInTheBackupTakesTheFilesOwnLineEndsAndLeavesItsBytesAlone) {
    std::string backup = Beside("bk-lf.inB");
    BackupOnAtStart();
    const std::string bytes = "; notes\n[One]\n  a = 1\n\n[Two]   ; second\nb=2";
    std::string path = WriteIni("bk-lf.ini", bytes);
    Start(path);
    InsertSection("New", "k", "v");
    // A second key says that the last line had no line end, for Restore.
    EXPECT_EQ(testfiles::ReadBytes(backup),
              bytes + "\n[BACKUPLOCATION]\nOriginalLocation=" + path + "\nNoFinalLineEnd=1");
    EXPECT_EQ(testfiles::ReadBytes(path), bytes + "\n[New]\nk=v");
}
