// Select INI File: the platform's file-open dialog with the program's own
// template, driven as a user drives it: typing into the file-name box,
// picking a file type, pressing the buttons, answering the questions.
#include <string>
#include <vector>

#include "immutable_file.h"
#include "program_test.h"
#include "small_file_system.h"

namespace {

const char kOriginal[] = "; colours\r\n[One]\r\na=1\r\n[Two]\r\nb=2\r\n";
const char kOther[] = "[Other]\r\nx=1\r\n";

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                                  b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

// The items of a drop-down list, read with the wide calls.
std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[512] = L"";
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        char narrow[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        items.push_back(narrow);
    }
    return items;
}

}  // namespace

class FileSelectionTest : public ProgramTest {
protected:
    // Select INI Files in the main window; the dialog, or null when none came.
    HWND OpenDialog() { return robot.OpenSelectIniFile(Main()); }

    // Starts on path and opens the dialog from the main window.
    HWND StartAndOpenDialog(const std::string& path) {
        Start(path);
        return OpenDialog();
    }
    // The current file as it was before the dialog: its label and its list.
    void ExpectCurrentFileKept(const std::string& path) {
        EXPECT_EQ(Label(), path);
        EXPECT_EQ(Sections(), (Items{"[One]", "[Two]"}));
    }

    HWND Item(HWND dialog, int id) const { return GetDlgItem(dialog, id); }
    bool Shown(HWND dialog, int id) const { return IsWindowVisible(Item(dialog, id)) != FALSE; }
    std::string DirectoryShown(HWND dialog) const { return robot::Text(Item(dialog, IDC_DIRECTORY_TEXT)); }
    std::string NameBox(HWND dialog) const { return robot::Text(Item(dialog, IDC_FILE_NAME)); }
    std::vector<std::string> FilesListed(HWND dialog) const { return robot::ListItems(Item(dialog, IDC_FILE_LIST)); }

    void TypeName(HWND dialog, const std::string& text) { robot.TypeFileName(dialog, text); }

    // Picks a file type with the arrow keys, as from the keyboard.
    void PickFileType(HWND dialog, int index) {
        HWND types = Item(dialog, IDC_FILE_TYPES);
        for (int guard = 0; guard < 5; ++guard) {
            int current = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
            if (current == index) break;
            robot.Key(types, current < index ? VK_DOWN : VK_UP);
        }
        ASSERT_EQ(SendMessageW(types, CB_GETCURSEL, 0, 0), index);
    }

    // Presses OK; true when the dialog closed. The dialog ends while the
    // click is handled, so once the robot has settled it is gone or stays.
    bool PressOK(HWND dialog) {
        robot.Click(dialog, IDOK);
        return !IsWindow(dialog);
    }

    // Types the name and presses OK; true when the dialog closed.
    bool ChooseByName(HWND dialog, const std::string& name) {
        TypeName(dialog, name);
        return PressOK(dialog);
    }

    // The directory the dialog shows is the folder, whatever its case.
    void ExpectShowing(HWND dialog, const std::string& folder) {
        EXPECT_TRUE(EqualIgnoringCase(DirectoryShown(dialog), folder))
            << "the dialog shows \"" << DirectoryShown(dialog) << "\", not " << folder;
    }

    // Opens a directory by typing its path and pressing OK: the dialog stays.
    void OpenDirectory(HWND dialog, const std::string& folder) {
        TypeName(dialog, folder);
        robot.Click(dialog, IDOK);
        ASSERT_TRUE(IsWindow(dialog)) << "OK on a directory closed the dialog";
        ExpectShowing(dialog, folder);
    }

    void Restore(HWND dialog, const std::string& backupName, const std::string& target, int answer,
                 const std::vector<std::string>& thenBoxes = {}) {
        robot.Restore(dialog, backupName, target, answer, thenBoxes);
    }

    // Restore of backupName over target, Yes to the question: the copy fails,
    // the dialog says so, first as the file copy does, and stays open; then
    // Cancel.
    void ExpectRestoreToFail(const std::string& backupName, const std::string& target) {
        HWND dialog = OpenDialog();
        ASSERT_NE(dialog, nullptr);
        Restore(dialog, backupName, target, IDYES,
                {"Sorry could not make " + target, "Could not Restore " + target + "."});
        ASSERT_TRUE(IsWindow(dialog)) << "a failed restore closed the dialog";
        Cancel(dialog);
    }

    void Cancel(HWND dialog) { robot.ClickToClose(dialog, IDCANCEL); }
};

// ---- the dialog as it opens ------------------------------------------------------------------

TEST_F(FileSelectionTest, OpensOnTheCurrentFilesDirectoryWithTheProgramsButtonsAndFileTypes) {
    std::string path = WriteIni("current.ini", kOriginal);
    WriteIni("second.ini", kOther);
    WriteIni("backup.inb", kOther);
    WriteIni("notes.txt", "text");
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    ExpectShowing(dialog, Folder());
    EXPECT_EQ(NameBox(dialog), "*.INI");
    EXPECT_EQ(FilesListed(dialog), (Items{"current.ini", "second.ini"}));
    EXPECT_EQ(ComboItems(Item(dialog, IDC_FILE_TYPES)),
              (Items{"INI Files (*.INI)", "Backup INI Files (*.INB)", "All Files (*.*)"}));
    EXPECT_EQ(SendMessageW(Item(dialog, IDC_FILE_TYPES), CB_GETCURSEL, 0, 0), 0);
    // Help and Read Only are the dialog's own and hidden; Restore stands in Help's place.
    EXPECT_FALSE(Shown(dialog, IDC_FILE_HELP));
    EXPECT_FALSE(Shown(dialog, IDC_FILE_READ_ONLY));
    EXPECT_TRUE(Shown(dialog, IDC_RESTORE));
    EXPECT_TRUE(Shown(dialog, IDC_DELETE_FILE));
    EXPECT_EQ(robot::Text(Item(dialog, IDC_RESTORE)), "Restore");
    EXPECT_EQ(robot::Text(Item(dialog, IDC_DELETE_FILE)), "Delete file");
    RECT restore{}, help{};
    GetWindowRect(Item(dialog, IDC_RESTORE), &restore);
    GetWindowRect(Item(dialog, IDC_FILE_HELP), &help);
    EXPECT_EQ(restore.left, help.left);

    Cancel(dialog);
    ExpectCurrentFileKept(path);
}

TEST_F(FileSelectionTest, OnlyTheBackupFileTypeShowsRestore) {
    std::string path = WriteIni("current.ini", kOriginal);
    WriteIni("backup.inb", kOther);
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    PickFileType(dialog, 1);
    EXPECT_TRUE(Shown(dialog, IDC_RESTORE));
    EXPECT_EQ(FilesListed(dialog), (Items{"backup.inb"}));
    PickFileType(dialog, 2);
    EXPECT_FALSE(Shown(dialog, IDC_RESTORE));
    EXPECT_EQ(FilesListed(dialog), (Items{"backup.inb", "current.ini"}));
    PickFileType(dialog, 1);
    EXPECT_TRUE(Shown(dialog, IDC_RESTORE));
    PickFileType(dialog, 0);
    EXPECT_FALSE(Shown(dialog, IDC_RESTORE));
    Cancel(dialog);
}

// ---- choosing a file --------------------------------------------------------------------------

TEST_F(FileSelectionTest, AFileInAnotherDirectoryBecomesCurrent) {
    std::string path = WriteIni("current.ini", kOriginal);
    std::string other = PathOf("other");
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
    ASSERT_TRUE(testfiles::WriteBytes(other + "\\b.ini", kOther));
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    OpenDirectory(dialog, other);
    EXPECT_EQ(FilesListed(dialog), (Items{"b.ini"}));
    EXPECT_TRUE(ChooseByName(dialog, "b.ini")) << "OK on a file did not close the dialog";
    robot.Settle();
    // The directory comes from the dialog, which may show it in another case.
    EXPECT_TRUE(EqualIgnoringCase(Label(), other + "\\b.ini")) << Label();
    EXPECT_EQ(Sections(), (Items{"[Other]"}));
}

TEST_F(FileSelectionTest, DoubleClickingAFileInTheListMakesItCurrent) {
    std::string path = WriteIni("current.ini", kOriginal);
    std::string second = WriteIni("second.ini", kOther);
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    ASSERT_EQ(FilesListed(dialog), (Items{"current.ini", "second.ini"}));
    robot.SelectItem(Item(dialog, IDC_FILE_LIST), 1);
    EXPECT_EQ(NameBox(dialog), "second.ini");
    robot.DoubleClickItem(Item(dialog, IDC_FILE_LIST), 1);
    EXPECT_TRUE(robot.WaitUntilGone(dialog)) << "a double-click on a file did not close the dialog";
    robot.Settle();
    EXPECT_TRUE(EqualIgnoringCase(Label(), second)) << Label();
    EXPECT_EQ(Sections(), (Items{"[Other]"}));
}

TEST_F(FileSelectionTest, AFullPathTypedIntoTheNameBoxIsTakenWhole) {
    std::string path = WriteIni("current.ini", kOriginal);
    std::string other = PathOf("other");
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
    ASSERT_TRUE(testfiles::WriteBytes(other + "\\b.ini", kOther));
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    EXPECT_TRUE(ChooseByName(dialog, other + "\\b.ini"));
    robot.Settle();
    EXPECT_EQ(Label(), other + "\\b.ini");
    EXPECT_EQ(Sections(), (Items{"[Other]"}));
}

TEST_F(FileSelectionTest, CancelAfterOpeningADirectoryKeepsTheCurrentFile) {
    std::string path = WriteIni("current.ini", kOriginal);
    std::string other = PathOf("other");
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    OpenDirectory(dialog, other);
    Cancel(dialog);
    robot.Settle();
    EXPECT_EQ(Label(), path);
    // Restoring the window from an icon lists the file again: still the same one.
    ShowWindow(Main(), SW_MINIMIZE);
    robot.Settle();
    ShowWindow(Main(), SW_RESTORE);
    robot.Settle();
    ExpectCurrentFileKept(path);
}

TEST_F(FileSelectionTest, OKWithAPatternSaysAFileMustBeSelectedAndKeepsTheDialogOpen) {
    std::string path = WriteIni("current.ini", kOriginal);
    WriteIni("backup.inb", kOther);
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    for (const char* pattern : {"*.inb", "*.INI"}) {
        TypeName(dialog, pattern);
        robot.Expect("KEPLIN", "A file must be selected before selecting OK.").Answer(IDOK);
        EXPECT_FALSE(PressOK(dialog)) << pattern;
    }
    // Another pattern is the dialog's own business: no message, no choice.
    TypeName(dialog, "b*");
    EXPECT_FALSE(PressOK(dialog));
    Cancel(dialog);
    ExpectCurrentFileKept(path);
}

TEST_F(FileSelectionTest, ABackupIsEditedOnlyAfterYesToTheQuestion) {
    std::string path = WriteIni("current.ini", kOriginal);
    std::string backup = WriteIni("saved.inb", kOther);
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);
    PickFileType(dialog, 1);

    TypeName(dialog, "saved.inb");
    robot.Expect("KEPLIN", "Are you sure you want edit the BACKUP file saved.inb ?").Answer(IDNO);
    EXPECT_FALSE(PressOK(dialog)) << "No closed the dialog";
    EXPECT_EQ(NameBox(dialog), "saved.inb");
    EXPECT_EQ(Label(), path);

    robot.Expect("KEPLIN", "Are you sure you want edit the BACKUP file saved.inb ?").Answer(IDYES);
    EXPECT_TRUE(PressOK(dialog));
    robot.Settle();
    EXPECT_TRUE(EqualIgnoringCase(Label(), backup)) << Label();
    EXPECT_EQ(Sections(), (Items{"[Other]"}));
}

TEST_F(FileSelectionTest, ChoosingAFileMakesTheNextChangeBackItUpAgain) {
    std::string first = Beside("fs-again.inB");
    PreferencesAtStart("Backup=1\r\n");
    std::string path = WriteIni("fs-again.ini", kOriginal);
    Start(path);
    // A first change makes the backup; a second makes none.
    DeleteSection(1, "[Two]", IDYES);
    ASSERT_TRUE(testfiles::Exists(first));
    ASSERT_TRUE(testfiles::WriteBytes(first, "stale\r\n"));

    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(ChooseByName(dialog, "fs-again.ini"));
    robot.Settle();
    DeleteSection(0, "[One]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(first), testfiles::BackupOf("; colours\r\n[One]\r\na=1\r\n", Label()))
        << "no fresh backup after a new selection";
}

TEST_F(FileSelectionTest, ANameLongerThanThePathLimitIsRefusedNotCut) {
    std::string path = WriteIni("current.ini", kOriginal);
    // The longest name that fits the path limit, and one character more.
    std::string fits(259 - Folder().size() - 1, 'n');
    std::string longPath = WriteIni(fits, kOther);
    ASSERT_EQ(longPath.size(), 259u);
    Start(path);

    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    std::string tooLong = fits + "x";
    TypeName(dialog, tooLong);
    robot.Expect("KEPLIN", "Sorry, this path is too long:\n" + DirectoryShown(dialog) + "\\" + tooLong).Answer(IDOK);
    EXPECT_FALSE(PressOK(dialog)) << "a name too long closed the dialog";
    EXPECT_TRUE(ChooseByName(dialog, fits));
    robot.Settle();
    EXPECT_TRUE(EqualIgnoringCase(Label(), longPath)) << Label();
    EXPECT_EQ(Sections(), (Items{"[Other]"}));
}

// ---- Delete file ------------------------------------------------------------------------------

TEST_F(FileSelectionTest, DeleteFileRefusesPatternsAndSystemFilesInAnyCase) {
    std::string path = WriteIni("current.ini", kOriginal);
    std::string winIni = WriteIni("win.ini", kOther);
    std::string systemIni = WriteIni("System.Ini", kOther);
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    for (const char* pattern : {"*.ini", "*.INB", "c*.ini"}) {
        TypeName(dialog, pattern);
        robot.Expect("KEPLIN", "A file must be selected before deletion.").Answer(IDOK);
        robot.Click(dialog, IDC_DELETE_FILE);
    }
    for (const char* name : {"win.ini", "WIN.INI", "System.Ini", "SYSTEM.INI"}) {
        TypeName(dialog, name);
        robot.Expect("KEPLIN", std::string("I'm sorry but ") + name + " is a system file and cannot be deleted.")
            .Answer(IDOK);
        robot.Click(dialog, IDC_DELETE_FILE);
    }
    // WIN.INI of another directory is refused too.
    TypeName(dialog, "sub\\Win.Ini");
    robot.Expect("KEPLIN", "I'm sorry but sub\\Win.Ini is a system file and cannot be deleted.").Answer(IDOK);
    robot.Click(dialog, IDC_DELETE_FILE);

    ASSERT_TRUE(IsWindow(dialog)) << "a refusal closed the dialog";
    EXPECT_TRUE(testfiles::Exists(winIni));
    EXPECT_TRUE(testfiles::Exists(systemIni));
    EXPECT_TRUE(testfiles::Exists(path));
    Cancel(dialog);
}

TEST_F(FileSelectionTest, DeletingAnotherFileAsksThenDeletesAndKeepsTheCurrentFile) {
    std::string path = WriteIni("current.ini", kOriginal);
    std::string other = WriteIni("other.ini", kOther);
    // What a killed change left for it goes with it.
    WriteIni("other.ini.keplin-undo", "an undo record");
    WriteIni("other.ini.keplin-part", "a new file cut short");
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);
    const std::string question = "Are you sure you want to Delete\n" + DirectoryShown(dialog) + "\\other.ini?";

    TypeName(dialog, "other.ini");
    robot.Expect("KEPLIN", question).Answer(IDNO);
    robot.Click(dialog, IDC_DELETE_FILE);
    ASSERT_TRUE(IsWindow(dialog)) << "No closed the dialog";
    EXPECT_EQ(testfiles::ReadBytes(other), kOther);

    robot.Expect("KEPLIN", question).Answer(IDYES);
    robot.Click(dialog, IDC_DELETE_FILE);
    EXPECT_TRUE(robot.WaitUntilGone(dialog)) << "a deletion did not close the dialog";
    robot.Settle();
    EXPECT_FALSE(testfiles::Exists(other));
    EXPECT_FALSE(testfiles::Exists(other + ".keplin-undo"));
    EXPECT_FALSE(testfiles::Exists(other + ".keplin-part"));
    ExpectCurrentFileKept(path);
    EXPECT_EQ(testfiles::ReadBytes(path), kOriginal);
}

TEST_F(FileSelectionTest, DeletingTheCurrentFileLeavesNoFileSelected) {
    std::string path = WriteIni("current.ini", kOriginal);
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    // The directory shown differs from the current file's in case only.
    TypeName(dialog, "CURRENT.INI");
    robot.Expect("KEPLIN", "Are you sure you want to Delete\n" + DirectoryShown(dialog) + "\\CURRENT.INI?")
        .Answer(IDYES);
    robot.Click(dialog, IDC_DELETE_FILE);
    EXPECT_TRUE(robot.WaitUntilGone(dialog));
    robot.Settle();
    EXPECT_FALSE(testfiles::Exists(path));
    EXPECT_EQ(Label(), "No file selected");
    EXPECT_EQ(Sections(), Items{});
    EXPECT_EQ(Focus(), Control(IDC_SELECT_INI));
}

TEST_F(FileSelectionTest, AFileThatCannotBeDeletedIsReportedAndKept) {
    std::string path = WriteIni("current.ini", kOriginal);
    std::string locked = WriteIni("locked.ini", kOther);
    Start(path);
    testfiles::ImmutableFile immutable(locked);
    ASSERT_TRUE(immutable.Immutable()) << "cannot make " << locked << " immutable";
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);

    TypeName(dialog, "locked.ini");
    const std::string target = DirectoryShown(dialog) + "\\locked.ini";
    robot.Expect("KEPLIN", "Are you sure you want to Delete\n" + target + "?").Answer(IDYES);
    robot.Expect("KEPLIN", "Could not delete " + target + ".").Answer(IDOK);
    robot.Click(dialog, IDC_DELETE_FILE);
    ASSERT_TRUE(IsWindow(dialog)) << "a failed deletion closed the dialog";
    EXPECT_EQ(testfiles::ReadBytes(locked), kOther);
    Cancel(dialog);
    EXPECT_EQ(Label(), path);
}

TEST_F(FileSelectionTest, ReadOnlyHidesDeleteFileAndLeavesOKAndRestore) {
    PreferencesAtStart("LockContents=1\r\n");
    std::string path = WriteIni("current.ini", kOriginal);
    WriteIni("second.ini", kOther);
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    EXPECT_FALSE(Shown(dialog, IDC_DELETE_FILE));
    EXPECT_TRUE(Shown(dialog, IDC_RESTORE));
    EXPECT_TRUE(ChooseByName(dialog, "second.ini"));
    robot.Settle();
    EXPECT_EQ(Sections(), (Items{"[Other]"}));

    // Read Only off again: the button is back the next time.
    Command(IDM_READ_ONLY);
    dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Shown(dialog, IDC_DELETE_FILE));
    Cancel(dialog);
}

// ---- Restore ----------------------------------------------------------------------------------

TEST_F(FileSelectionTest, RestoreOfABackupMadeByTheProgramPutsBackTheFileWithoutItsLocation) {
    std::string backup = Beside("fs-restore.inB");
    PreferencesAtStart("Backup=1\r\n");
    std::string path = WriteIni("fs-restore.ini", kOriginal);
    Start(path);
    DeleteSection(1, "[Two]", IDYES);
    ASSERT_EQ(testfiles::ReadBytes(path), "; colours\r\n[One]\r\na=1\r\n");
    const std::string saved = testfiles::ReadBytes(backup);
    ASSERT_EQ(saved, testfiles::BackupOf(kOriginal, path)) << "the program made no backup to restore";

    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    OpenDirectory(dialog, testfiles::ExeDirectory());
    PickFileType(dialog, 1);
    Restore(dialog, "fs-restore.inB", path, IDYES);
    EXPECT_TRUE(robot.WaitUntilGone(dialog)) << "a restore did not close the dialog";
    robot.Settle();

    EXPECT_EQ(testfiles::ReadBytes(path), kOriginal);
    EXPECT_EQ(testfiles::ReadBytes(backup), saved) << "the backup keeps its location";
    ExpectCurrentFileKept(path);
}

TEST_F(FileSelectionTest, RestorePutsBackEveryByteOfAFileTheProfileServiceWouldReshape) {
    std::string backup = Beside("fs-exact.inB");
    PreferencesAtStart("Backup=1\r\n");
    // LF line ends, blank lines, indentation, text after a header, and no
    // line end after the last line.
    const std::string original = "; kept as typed\n\n[One]  ; first\n  a = 1\n\n[Two]\nb=2";
    std::string path = WriteIni("fs-exact.ini", original);
    Start(path);
    DeleteSection(0, "[One]", IDYES);
    ASSERT_NE(testfiles::ReadBytes(path), original);
    ASSERT_TRUE(testfiles::Exists(backup));

    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    OpenDirectory(dialog, testfiles::ExeDirectory());
    PickFileType(dialog, 1);
    Restore(dialog, "fs-exact.inB", path, IDYES);
    EXPECT_TRUE(robot.WaitUntilGone(dialog));
    robot.Settle();
    EXPECT_EQ(testfiles::ReadBytes(path), original);
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]"}));
}

TEST_F(FileSelectionTest, NoToTheRestoreQuestionClosesTheDialogAndWritesNothing) {
    std::string path = WriteIni("current.ini", kOriginal);
    std::string target = WriteIni("target.ini", "[Kept]\r\n[BACKUPLOCATION]\r\nOriginalLocation=x\r\n");
    std::string backup = WriteIni("saved.inb", testfiles::BackupOf(kOther, target));
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    Restore(dialog, "saved.inb", target, IDNO);
    EXPECT_TRUE(robot.WaitUntilGone(dialog));
    robot.Settle();
    EXPECT_EQ(testfiles::ReadBytes(target), "[Kept]\r\n[BACKUPLOCATION]\r\nOriginalLocation=x\r\n");
    ExpectCurrentFileKept(path);
}

TEST_F(FileSelectionTest, RestoreRefusesAPatternAndAFileThatIsNotABackup) {
    std::string path = WriteIni("current.ini", kOriginal);
    std::string plain = WriteIni("plain.inb", kOther);
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);
    PickFileType(dialog, 1);

    TypeName(dialog, "*.INB");
    robot.Expect("KEPLIN", "A file must be selected before restoring.").Answer(IDOK);
    robot.Click(dialog, IDC_RESTORE);
    for (const char* name : {"plain.inb", "*.ini", "missing.inb"}) {
        TypeName(dialog, name);
        robot.Expect("KEPLIN", "Not a Valid INI BACKUP file.\nPlease check to make sure it is.").Answer(IDOK);
        robot.Click(dialog, IDC_RESTORE);
    }
    ASSERT_TRUE(IsWindow(dialog)) << "a refused restore closed the dialog";
    EXPECT_EQ(testfiles::ReadBytes(plain), kOther);
    EXPECT_EQ(testfiles::ReadBytes(path), kOriginal);
    Cancel(dialog);
}

TEST_F(FileSelectionTest, ARestoreThatCannotBeWrittenLeavesTheOriginalAsItWas) {
    std::string path = WriteIni("current.ini", kOriginal);
    const std::string changed = "[Changed]\r\nc=3\r\n";
    std::string target = WriteIni("target.ini", changed);
    WriteIni("saved.inb", testfiles::BackupOf(kOther, target));
    Start(path);
    testfiles::ImmutableFile immutable(target);
    ASSERT_TRUE(immutable.Immutable()) << "cannot make " << target << " immutable";
    ExpectRestoreToFail("saved.inb", target);
    EXPECT_EQ(testfiles::ReadBytes(target), changed);
    EXPECT_EQ(Label(), path);
}

TEST_F(FileSelectionTest, ARestoreThatRunsOutOfRoomHalfWayLeavesTheOriginalAsItWas) {
    std::string path = WriteIni("current.ini", kOriginal);
    testfiles::SmallFileSystem small(Folder(), "small", 256);
    if (!small.Mounted()) GTEST_SKIP() << "no small file system can be mounted here";
    const std::string original = "[Original]\r\nkeep=this\r\n";
    std::string target = small.Path() + "\\target.ini";
    ASSERT_TRUE(testfiles::WriteBytes(target, original));
    // Room for part of the backup only: the copy stops half-way.
    ASSERT_GT(small.FillUpTo(64 * 1024), 0u);
    std::string big = "[Big]\r\n";
    while (big.size() < 200 * 1024) big += "key" + std::to_string(big.size()) + "=some value\r\n";
    WriteIni("big.inb", testfiles::BackupOf(big, target));
    Start(path);
    ExpectRestoreToFail("big.inb", target);
    EXPECT_EQ(testfiles::ReadBytes(target), original);
    EXPECT_EQ(Label(), path);
}

TEST_F(FileSelectionTest, ALongOriginalLocationIsReadWholeNotCutIntoAnotherName) {
    std::string path = WriteIni("current.ini", kOriginal);
    // A location longer than 254 characters, and the file its first 254 name.
    std::string longName(258 - Folder().size() - 1, 'r');
    std::string target = WriteIni(longName + "x", "[Old]\r\n");
    ASSERT_EQ(target.size(), 259u);
    std::string cut = target.substr(0, 254);
    WriteIni(cut.substr(cut.rfind('\\') + 1), "[Other file]\r\n");
    WriteIni("saved.inb", testfiles::BackupOf(kOther, target));
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);

    // The question names the whole location; No writes nothing anywhere.
    Restore(dialog, "saved.inb", target, IDNO);
    EXPECT_TRUE(robot.WaitUntilGone(dialog));
    robot.Settle();
    EXPECT_EQ(testfiles::ReadBytes(target), "[Old]\r\n");
    EXPECT_EQ(testfiles::ReadBytes(cut), "[Other file]\r\n");

    // Yes writes the whole location, at the platform's limit, and only it.
    dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    Restore(dialog, "saved.inb", target, IDYES);
    EXPECT_TRUE(robot.WaitUntilGone(dialog)) << "a restore did not close the dialog";
    robot.Settle();
    EXPECT_EQ(testfiles::ReadBytes(target), kOther);
    EXPECT_EQ(testfiles::ReadBytes(cut), "[Other file]\r\n");
    EXPECT_EQ(Label(), path) << "a restore keeps the current file";
}

TEST_F(FileSelectionTest, ALocationBeyondThePathLimitIsRefusedBeforeTheQuestion) {
    std::string path = WriteIni("current.ini", kOriginal);
    // 300 characters; the file its first 259 name exists.
    const std::string target = Folder() + "\\" + std::string(300 - Folder().size() - 1, 'r');
    const std::string cut = target.substr(0, MAX_PATH - 1);
    WriteIni(cut.substr(cut.rfind('\\') + 1), "[Other file]\r\n");
    WriteIni("saved.inb", testfiles::BackupOf(kOther, target));
    HWND dialog = StartAndOpenDialog(path);
    ASSERT_NE(dialog, nullptr);
    TypeName(dialog, "saved.inb");
    robot.Expect("KEPLIN", "Sorry, this path is too long:\n" + target).Answer(IDOK);
    robot.Click(dialog, IDC_RESTORE);
    ASSERT_TRUE(IsWindow(dialog)) << "a refused restore closed the dialog";
    Cancel(dialog);
    EXPECT_EQ(testfiles::ReadBytes(cut), "[Other file]\r\n");
    EXPECT_EQ(Label(), path);
    EXPECT_EQ(testfiles::ReadBytes(path), kOriginal);
}
