// Undo and Redo of every change to the current file, and the lists following
// changes that other programs make to it.
#include <cstdio>
#include <string>
#include <vector>

#include "program_test.h"
#include "unix_shell.h"

namespace {

const char kFile[] =
    "; settings\r\n[One]\r\na=1\r\nb=2\r\n[Two]\r\nc=3\r\n";

// What the keyboard gives for Ctrl+Z and Ctrl+Y once translated.
constexpr WPARAM kCtrlZ = 0x1A;
constexpr WPARAM kCtrlY = 0x19;

}  // namespace

class UndoTest : public ProgramTest {
protected:
    // The text of an item of window's Commands menu, as the user sees it
    // when the menu opens.
    std::string Item(HWND window, int id) {
        robot.OpenMenu(window, 0);
        wchar_t text[256] = L"";
        GetMenuStringW(GetMenu(window), id, text, 256, MF_BYCOMMAND);
        char narrow[512] = "";
        WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        return narrow;
    }
    void PressCtrl(HWND window, WPARAM character) { robot.PressCtrl(window, character); }
    // Whether the item is grayed when the user opens the Commands menu.
    bool Grayed(HWND window, int id) {
        robot.OpenMenu(window, 0);
        return robot::MenuGrayed(window, id);
    }
    std::string File() { return testfiles::ReadBytes(path_); }

    std::string path_;
};

TEST_F(UndoTest, EveryKindOfChangeIsUndoneAndRedoneByteForByte) {
    path_ = WriteIni("file.ini", kFile);
    // A backup of the file as it is, to restore at the end.
    const std::string backup = WriteIni("file.inB", std::string(kFile) + "[BACKUPLOCATION]\r\nOriginalLocation=" +
                                                        path_ + "\r\n");
    ASSERT_NO_FATAL_FAILURE(Start(path_));
    std::vector<std::string> versions{File()};
    std::vector<std::string> names;
    EXPECT_EQ(Item(Main(), IDM_UNDO), "&Undo\tCtrl+Z");
    EXPECT_TRUE(Grayed(Main(), IDM_UNDO));

    HWND view = robot.OpenSection(Main(), 0);
    ASSERT_NE(view, nullptr);
    HWND lines = GetDlgItem(view, IDC_VIEW_LIST);
    robot.EditValue(view, 0, "10");
    versions.push_back(File());
    names.push_back("Edit Key a");
    robot.InsertKey(view, "d", "4");
    versions.push_back(File());
    names.push_back("Insert Key d");
    robot.DeleteKey(view, 1, "b");
    versions.push_back(File());
    names.push_back("Delete Key b");
    // Undo in the view, Ctrl+Z: the deleted line is back and selected; Redo
    // from its menu deletes it again.
    EXPECT_EQ(Item(view, IDM_UNDO), "&Undo Delete Key b\tCtrl+Z");
    PressCtrl(view, kCtrlZ);
    EXPECT_EQ(File(), versions[2]);
    EXPECT_EQ(robot::ListItems(lines), (Items{"a=10", "b=2", "d=4"}));
    EXPECT_EQ(robot::SelectedIndex(lines), 1);
    robot.Command(view, IDM_REDO);
    EXPECT_EQ(File(), versions[3]);
    robot.LeaveView(view);

    robot.InsertSection(Main(), "Three", "e", "5");
    versions.push_back(File());
    names.push_back("Insert Section [Three]");
    robot.DeleteSection(Main(), 1, "[Two]", IDYES);
    versions.push_back(File());
    names.push_back("Delete Section [Two]");
    HWND dialog = robot.OpenSelectIniFile(Main());
    ASSERT_NE(dialog, nullptr);
    robot.Restore(dialog, "file.inB", path_, IDYES);
    ASSERT_TRUE(robot.WaitUntilGone(dialog));
    versions.push_back(File());
    names.push_back("Restore from file.inB");
    ASSERT_EQ(versions.back(), kFile);

    // Newest first, each back to the bytes before it; then each made again.
    for (size_t i = names.size(); i > 0; --i) {
        EXPECT_EQ(Item(Main(), IDM_UNDO), "&Undo " + names[i - 1] + "\tCtrl+Z");
        Command(IDM_UNDO);
        EXPECT_EQ(File(), versions[i - 1]) << "after undoing " << names[i - 1];
    }
    EXPECT_TRUE(Grayed(Main(), IDM_UNDO));
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(Item(Main(), IDM_REDO), "&Redo " + names[i] + "\tCtrl+Y");
        PressCtrl(Main(), kCtrlY);
        EXPECT_EQ(File(), versions[i + 1]) << "after redoing " << names[i];
    }
    EXPECT_TRUE(Grayed(Main(), IDM_REDO));
    // Undone, Delete Section brings [Two] back, selected.
    Command(IDM_UNDO);
    Command(IDM_UNDO);
    EXPECT_EQ(SelectedSection(), "[Two]");
}

TEST_F(UndoTest, AFileHeldForAMomentKeepsTheHistoryAndAnotherProgramsChangeDropsIt) {
    path_ = WriteIni("file.ini", kFile);
    ASSERT_NO_FATAL_FAILURE(Start(path_));
    robot.InsertSection(Main(), "Three", "e", "5");
    const std::string inserted = File();
    // Another program holds the file, sharing it with no one: KEPLIN can
    // neither read it nor write it for now.
    HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    robot.Expect("KEPLIN", "Sorry, KEPLIN could not read file.ini just now,\n"
                           "so it did not undo Insert Section [Three]. Nothing was written; try again.")
        .Answer(IDOK);
    Command(IDM_UNDO);
    CloseHandle(held);
    EXPECT_EQ(File(), inserted);
    // Let go, the file is as KEPLIN left it, and the history still knows it.
    EXPECT_EQ(Item(Main(), IDM_UNDO), "&Undo Insert Section [Three]\tCtrl+Z");
    Command(IDM_UNDO);
    EXPECT_EQ(File(), kFile);
    Command(IDM_REDO);
    ASSERT_EQ(File(), inserted);

    const std::string changed = File() + "f=6\r\n";
    ASSERT_TRUE(testfiles::WriteBytes(path_, changed));
    robot.Expect("KEPLIN", "Sorry, file.ini has been changed by another program since KEPLIN changed it,\n"
                           "so KEPLIN cannot undo its changes. Nothing was written.")
        .Answer(IDOK);
    Command(IDM_UNDO);
    EXPECT_EQ(File(), changed);
    // The history is gone with the file it was about.
    EXPECT_TRUE(Grayed(Main(), IDM_UNDO));
    EXPECT_TRUE(Grayed(Main(), IDM_REDO));
}

TEST_F(UndoTest, AnUndoneRestoreLeavesTheBackupItCameFromAsItWas) {
    // The backup an earlier run made, and the file changed since.
    const std::string backup = Beside("file.inB");
    PreferencesAtStart("Backup=1\r\n");
    path_ = WriteIni("file.ini", std::string(kFile) + "[Three]\r\ne=5\r\n");
    const std::string earlier = testfiles::BackupOf(kFile, path_);
    ASSERT_TRUE(testfiles::WriteBytes(backup, earlier));
    const std::string changedSince = File();
    ASSERT_NO_FATAL_FAILURE(Start(path_));
    HWND dialog = robot.OpenSelectIniFile(Main());
    ASSERT_NE(dialog, nullptr);
    robot.Restore(dialog, backup, path_, IDYES);
    ASSERT_TRUE(robot.WaitUntilGone(dialog));
    ASSERT_EQ(File(), kFile);
    Command(IDM_UNDO);
    ASSERT_EQ(File(), changedSince);
    // The next change is the first since the Restore: the backup restored
    // from stays as it was, not the bytes the Restore replaced.
    robot.InsertSection(Main(), "Four", "f", "6");
    EXPECT_EQ(File(), changedSince + "[Four]\r\nf=6\r\n");
    EXPECT_EQ(testfiles::ReadBytes(backup), earlier);
}

TEST_F(UndoTest, PathsThatDifferOnlyInCaseAreTwoFilesEachWithItsOwnHistory) {
    // Under Wine on a file system that tells case apart: the second file is
    // made by Linux, since Wine would open the first under the second name.
    path_ = WriteIni("file.ini", kFile);
    testfiles::ShellResult made = testfiles::RunShell(Folder(), "printf '[Other]\\r\\nx=1\\r\\n' >FILE.INI");
    ASSERT_TRUE(made.ran && made.status == 0) << made.output;
    const std::string other = PathOf("FILE.INI");
    ASSERT_NO_FATAL_FAILURE(Start(path_));
    robot.InsertSection(Main(), "Three", "e", "5");
    robot.DropFiles(Main(), {other});
    ASSERT_TRUE(robot.WaitUntil([&] { return Sections() == Items{"[Other]"}; }));
    EXPECT_TRUE(Grayed(Main(), IDM_UNDO)) << "the history of file.ini was kept for FILE.INI";
}

TEST_F(UndoTest, APathOfNinetyCjkCharactersIsTakenAndItsChangesAreUndone) {
    // 90 CJK characters, 270 bytes of UTF-8, beside the folder's path: over
    // 259 bytes but well within 259 UTF-16 units, as the platform counts
    // paths. In two parts, since a Linux name holds at most 255 bytes.
    std::string half;
    for (int i = 0; i < 45; ++i) half += "\xE6\x97\xA5";
    ASSERT_TRUE(CreateDirectoryA(PathOf(half).c_str(), nullptr));
    path_ = WriteIni(half + "\\" + half + ".ini", kFile);
    ASSERT_NO_FATAL_FAILURE(Start(path_));
    EXPECT_EQ(Label(), path_);
    robot.InsertSection(Main(), "Three", "e", "5");
    EXPECT_EQ(File(), std::string(kFile) + "[Three]\r\ne=5\r\n");
    Command(IDM_UNDO);
    EXPECT_EQ(File(), kFile);
}

TEST_F(UndoTest, ReadOnlyGraysUndoAndRedoAndCtrlZDoesNothing) {
    path_ = WriteIni("file.ini", kFile);
    ASSERT_NO_FATAL_FAILURE(Start(path_));
    robot.InsertSection(Main(), "Three", "e", "5");
    const std::string inserted = File();
    EXPECT_FALSE(Grayed(Main(), IDM_UNDO));
    Command(IDM_READ_ONLY);
    EXPECT_TRUE(Grayed(Main(), IDM_UNDO));
    EXPECT_TRUE(Grayed(Main(), IDM_REDO));
    PressCtrl(Main(), kCtrlZ);
    EXPECT_EQ(File(), inserted);
    Command(IDM_READ_ONLY);
    PressCtrl(Main(), kCtrlZ);
    EXPECT_EQ(File(), kFile);
}

TEST_F(UndoTest, AChangeByAnotherProgramShowsInTheListAndThenInTheOpenView) {
    path_ = WriteIni("file.ini", kFile);
    ASSERT_NO_FATAL_FAILURE(Start(path_));
    robot.SelectItem(Control(IDC_SECTION_LIST), 1);
    // Another program adds a section before the selected one.
    testfiles::ShellResult added = testfiles::RunShell(Folder(), "printf '[Zero]\\r\\nz=0\\r\\n' | cat - file.ini >"
                                                                 " file.new && mv file.new file.ini");
    ASSERT_TRUE(added.ran && added.status == 0) << added.output;
    const DWORD changed = GetTickCount();
    EXPECT_TRUE(robot.WaitUntil([&] { return Sections() == Items{"[Zero]", "[One]", "[Two]"}; }))
        << "the list did not follow the file";
    // Seen, not asserted: how soon the list followed (a loaded machine is slower).
    std::printf("[          ] the list followed the file %lu ms after the change was made\n",
                static_cast<unsigned long>(GetTickCount() - changed));
    EXPECT_EQ(SelectedSection(), "[Two]");

    HWND view = robot.OpenSection(Main(), 1);
    ASSERT_NE(view, nullptr);
    HWND lines = GetDlgItem(view, IDC_VIEW_LIST);
    robot.SelectItem(lines, 1);
    // And a line to the open section.
    testfiles::ShellResult line = testfiles::RunShell(
        Folder(), "printf '[Zero]\\r\\nz=0\\r\\n; settings\\r\\n[One]\\r\\na=1\\r\\nab=12\\r\\nb=2\\r\\n[Two]\\r\\n"
                  "c=3\\r\\n' >file.new && mv file.new file.ini");
    ASSERT_TRUE(line.ran && line.status == 0) << line.output;
    EXPECT_TRUE(robot.WaitUntil([&] { return robot::ListItems(lines) == Items{"a=1", "ab=12", "b=2"}; }))
        << "the view did not follow the file";
    EXPECT_EQ(robot::SelectedIndex(lines), 2) << "the selected line b=2 is not selected any more";
    EXPECT_EQ(Focus(), lines);
    robot.LeaveView(view);
}
