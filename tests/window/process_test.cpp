// keplin.exe started as its own process, as the user starts it: the command
// line, the single instance, and how the program ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "immutable_file.h"
#include "small_file_system.h"
#include "test_files.h"
#include "user_steps.h"

using robot::Items;

namespace {

using testfiles::KeplinExe;

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A window titled KEPLIN would make the program restore it and end.
        ASSERT_EQ(FindWindowA(nullptr, "KEPLIN"), nullptr) << "a KEPLIN window of an earlier test is still open";
        DeleteFileA(testfiles::PreferencesFile().c_str());
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::make_unique<testfiles::ScratchFolder>(std::string("process.") + test->name());
    }

    void TearDown() override {
        robot.CheckAllExpectationsMet();
        for (auto& program : programs_) {
            HWND main = robot::FindMainWindowOfProcess(program->ProcessId());
            if (main) PostMessageA(main, WM_CLOSE, 0, 0);
            DWORD exitCode;
            program->WaitForExit(5000, &exitCode);
        }
        programs_.clear();   // any process still running is terminated
        robot.StopWatching();
        DeleteFileA(testfiles::PreferencesFile().c_str());
        folder_.reset();
    }

    std::string WriteIni(const std::string& name, const std::string& bytes) {
        std::string path = *folder_ / name;
        EXPECT_TRUE(testfiles::WriteBytes(path, bytes)) << "cannot write " << path;
        return path;
    }
    std::string PathOf(const std::string& name) const { return *folder_ / name; }

    // Starts keplin.exe with this argument text; its main window, or null.
    // Message boxes shown while it starts are expected before.
    HWND Run(const std::string& argumentText) {
        HWND main = RunFrom(KeplinExe(), argumentText);
        if (!main) return nullptr;
        EXPECT_TRUE(robot.WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "the main window was not shown";
        return main;
    }
    robot::ProgramProcess& Program(size_t index = 0) { return *programs_.at(index); }
    // As Run, with a keplin.exe at exePath.
    HWND RunFrom(const std::string& exePath, const std::string& argumentText) {
        programs_.push_back(std::make_unique<robot::ProgramProcess>());
        robot::ProgramProcess& program = *programs_.back();
        if (!program.Start(exePath, argumentText)) {
            ADD_FAILURE() << "cannot start " << exePath << ", error " << GetLastError();
            return nullptr;
        }
        robot.WatchProcess(program.ProcessId());
        HWND main = program.WaitForMainWindow();
        EXPECT_NE(main, nullptr) << "no main window for " << argumentText;
        if (main) robot.Settle();
        return main;
    }

    static Items Sections(HWND main) { return robot::ListItems(GetDlgItem(main, IDC_SECTION_LIST)); }
    static std::string Label(HWND main) { return robot::Text(GetDlgItem(main, IDC_FILE_LABEL)); }

    DWORD WaitForEnd(robot::ProgramProcess& program) {
        DWORD exitCode = 0xDEAD;
        EXPECT_TRUE(program.WaitForExit(10000, &exitCode)) << "the program did not end";
        return exitCode;
    }

    steps::User robot;

private:
    std::unique_ptr<testfiles::ScratchFolder> folder_;
    std::vector<std::unique_ptr<robot::ProgramProcess>> programs_;
};

// ---- the command line ----------------------------------------------------------

class CommandLineTest : public ProcessTest {};

TEST_F(CommandLineTest, AFullPathListsThatFilesSectionsInFileOrder) {
    std::string path = WriteIni("order.ini", "[Zeta]\r\nz=1\r\n[alpha]\r\n[Zeta]\r\n[Mid]\r\nm=2\r\n");
    HWND main = Run(path);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Sections(main), (Items{"[Zeta]", "[alpha]", "[Zeta]", "[Mid]"}));
    EXPECT_EQ(Label(main), path);
    EXPECT_EQ(robot::Text(main), "KEPLIN");
    EXPECT_TRUE(robot::ShowsText(main, "Sections for"));
    EXPECT_EQ(robot::SelectedIndex(GetDlgItem(main, IDC_SECTION_LIST)), 0);
}

TEST_F(CommandLineTest, ABareFileNameIsLookedForInTheProgramDirectory) {
    const std::string name = "KWTBARE.INI";
    std::string beside = testfiles::ExeDirectory() + "\\" + name;
    ASSERT_TRUE(testfiles::WriteBytes(beside, "[BesideTheProgram]\r\nk=v\r\n"));
    // A file of the same name in the current directory is not the one taken.
    WriteIni(name, "[InTheCurrentDirectory]\r\n");
    SetCurrentDirectoryA(PathOf("").c_str());

    HWND main = Run(name);
    if (main) {
        EXPECT_EQ(Sections(main), Items{"[BesideTheProgram]"});
        EXPECT_EQ(Label(main), beside);
    }
    SetCurrentDirectoryA(testfiles::ExeDirectory().c_str());
    DeleteFileA(beside.c_str());
}

TEST_F(CommandLineTest, AnArgumentEndingInABackslashSelectsNoFile) {
    HWND main = Run(PathOf(""));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Label(main), "No file selected");
    EXPECT_EQ(Sections(main), Items{});
    EXPECT_EQ(robot.Focus(), GetDlgItem(main, IDC_SELECT_INI));
}

TEST_F(CommandLineTest, AMissingFileIsReportedThenNoFileIsSelected) {
    robot.Expect("KEPLIN", "Sorry, Could not find NOPE.INI").Answer(IDOK);
    HWND main = Run(PathOf("NOPE.INI"));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Label(main), "No file selected");
    EXPECT_EQ(Sections(main), Items{});
}

TEST_F(CommandLineTest, APathInQuotesIsTakenLiterally) {
    std::string path = WriteIni("quoted.ini", "[Quoted]\r\n");
    // The closing quote becomes part of the file name, which does not exist.
    robot.Expect("KEPLIN", "Sorry, Could not find quoted.ini\"").Answer(IDOK);
    HWND main = Run("\"" + path + "\"");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Label(main), "No file selected");
}

TEST_F(CommandLineTest, NoArgumentListsWinIniOfTheWindowsDirectory) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string winIni = std::string(windows) + "\\WIN.INI";
    // The headers the user would find reading the file: lines that start
    // with a bracketed name.
    Items expected;
    std::string text = testfiles::ReadBytes(winIni);
    ASSERT_NE(text, "<missing>");
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line[0] == '[' && line.find(']') != std::string::npos)
            expected.push_back(line.substr(0, line.find(']') + 1));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    HWND main = Run("");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Label(main), winIni);
    EXPECT_EQ(Sections(main), expected);
}

// ---- one instance only ----------------------------------------------------------

class SingleInstanceTest : public ProcessTest {};

TEST_F(SingleInstanceTest, ASecondStartRestoresTheFirstWhichKeepsItsFile) {
    std::string first = WriteIni("first.ini", "[First]\r\n");
    std::string second = WriteIni("second.ini", "[Second]\r\n");
    HWND main = Run(first);
    ASSERT_NE(main, nullptr);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(robot.WaitUntil([&] { return IsIconic(main) != FALSE; }));

    robot::ProgramProcess again;
    ASSERT_TRUE(again.Start(KeplinExe(), second));
    EXPECT_EQ(WaitForEnd(again), 0u);

    EXPECT_TRUE(robot.WaitUntil([&] { return !IsIconic(main); })) << "the first window stayed minimized";
    EXPECT_TRUE(robot.WaitUntil([&] { return Sections(main) == Items{"[First]"}; }));
    EXPECT_EQ(Sections(main), Items{"[First]"});
    EXPECT_EQ(Label(main), first);
    EXPECT_EQ(robot::FindMainWindowOfProcess(again.ProcessId()), nullptr);
}

TEST_F(SingleInstanceTest, ASecondStartWithoutAnArgumentAlsoEnds) {
    std::string first = WriteIni("first.ini", "[First]\r\n");
    HWND main = Run(first);
    ASSERT_NE(main, nullptr);

    robot::ProgramProcess again;
    ASSERT_TRUE(again.Start(KeplinExe(), ""));
    EXPECT_EQ(WaitForEnd(again), 0u);
    EXPECT_EQ(Label(main), first);
}

// ---- ending ----------------------------------------------------------------------

class ProcessEndingTest : public ProcessTest {};

TEST_F(ProcessEndingTest, EscapeInTheListEndsTheProgramWithExitCode0) {
    HWND main = Run(WriteIni("a.ini", "[A]\r\n"));
    ASSERT_NE(main, nullptr);
    robot.Key(GetDlgItem(main, IDC_SECTION_LIST), VK_ESCAPE);
    EXPECT_EQ(WaitForEnd(Program()), 0u);
}

TEST_F(ProcessEndingTest, ExitEndsTheProgramWithExitCode0) {
    HWND main = Run(WriteIni("a.ini", "[A]\r\n"));
    ASSERT_NE(main, nullptr);
    robot.Command(main, IDM_EXIT);
    EXPECT_EQ(WaitForEnd(Program()), 0u);
}

// ---- a program folder that cannot be written -------------------------------

class ProgramFolderTest : public ProcessTest {
protected:
    // A small file system of this size mounted in the test's folder, with a
    // copy of the program on it; null where none can be mounted.
    std::unique_ptr<testfiles::SmallFileSystem> SmallProgramFolder(const std::string& name, unsigned kilobytes) {
        std::string folder = PathOf("");
        if (!folder.empty() && folder.back() == '\\') folder.pop_back();
        auto small = std::make_unique<testfiles::SmallFileSystem>(folder, name, kilobytes);
        if (!small->Mounted()) return nullptr;
        EXPECT_TRUE(CopyFileA(KeplinExe().c_str(), (small->Path() + "\\keplin.exe").c_str(), FALSE));
        return small;
    }
    // Delete Section on [Two], the second header, with Yes; the backup made
    // first fails, and says so with this name.
    void DeleteTwoWithoutABackup(HWND main, const std::string& backup) {
        robot.DeleteSection(main, 1, "[Two]", IDYES, "Sorry could not make " + backup);
    }
};

TEST_F(ProgramFolderTest, TogglesLastForTheRunBackupsReportAndChangesStillGoThrough) {
    // The program runs from a folder of its own that refuses new files.
    const std::string folder = PathOf("program");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string exe = folder + "\\keplin.exe";
    ASSERT_TRUE(CopyFileA(KeplinExe().c_str(), exe.c_str(), FALSE));
    std::string ini = WriteIni("one.ini", "[One]\r\na=1\r\n[Two]\r\nb=2\r\n");
    testfiles::ImmutableFile locked(folder);
    // chattr runs as a Unix process of its own: wait until the folder refuses
    // a new file. Each probe has a name of its own: one made just before the
    // folder locked cannot be deleted, and writing it again would succeed.
    int probes = 0;
    ASSERT_TRUE(robot.WaitUntil([&] {
        const std::string probe = folder + "\\probe" + std::to_string(++probes) + ".txt";
        const bool taken = testfiles::WriteBytes(probe, "x");
        if (taken) DeleteFileA(probe.c_str());
        return !taken;
    })) << "the program folder still takes new files";

    HWND main = RunFrom(exe, ini);
    ASSERT_NE(main, nullptr);
    // Backup on: no message, although QUENTARO.INI cannot be written.
    robot.Command(main, IDM_BACKUP);
    EXPECT_FALSE(testfiles::Exists(folder + "\\QUENTARO.INI"));
    // The toggle holds for the run: the change tries a backup, says it could
    // not make it, and still goes through.
    DeleteTwoWithoutABackup(main, folder + "\\one.inB");
    EXPECT_EQ(testfiles::ReadBytes(ini), "[One]\r\na=1\r\n");
    EXPECT_TRUE(robot.WaitUntil([&] { return Sections(main) == Items{"[One]"}; })) << "the list was not read again";
    robot.Command(main, IDM_EXIT);
    EXPECT_EQ(WaitForEnd(Program()), 0u);
}

TEST_F(ProgramFolderTest, ABackupThatRunsOutOfRoomLeavesTheEarlierBackupWhole) {
    // The program, its preferences and an earlier backup on a small file
    // system that has room left for only part of a new backup.
    std::unique_ptr<testfiles::SmallFileSystem> small = SmallProgramFolder("small", 3072);
    if (!small) GTEST_SKIP() << "no small file system can be mounted here";
    const std::string exe = small->Path() + "\\keplin.exe";
    ASSERT_TRUE(testfiles::WriteBytes(small->Path() + "\\QUENTARO.INI", "[KEPLIN]\r\nBackup=1\r\n"));
    const std::string earlier = "[Old]\r\nkept=yes\r\n[BACKUPLOCATION]\r\nOriginalLocation=C:\\x\\one.ini\r\n";
    const std::string backup = small->Path() + "\\one.inB";
    ASSERT_TRUE(testfiles::WriteBytes(backup, earlier));
    std::string body = "[One]\r\n";
    while (body.size() < 200 * 1024) body += "key" + std::to_string(body.size()) + "=some value\r\n";
    std::string ini = WriteIni("one.ini", body + "[Two]\r\nb=2\r\n");
    ASSERT_GT(small->FillUpTo(48 * 1024), 0u);

    HWND main = RunFrom(exe, ini);
    ASSERT_NE(main, nullptr);
    DeleteTwoWithoutABackup(main, backup);
    // The change went through; the earlier backup is as it was.
    EXPECT_EQ(testfiles::ReadBytes(ini), body);
    EXPECT_EQ(testfiles::ReadBytes(backup), earlier);
    robot.Command(main, IDM_EXIT);
    EXPECT_EQ(WaitForEnd(Program()), 0u);
}

TEST_F(ProgramFolderTest, AFullDiskRefusesTheChangeKeepsTheTogglesAndLosesNothing) {
    // The program, its preferences and the INI file on a small file system
    // filled to the last byte.
    std::unique_ptr<testfiles::SmallFileSystem> small = SmallProgramFolder("full", 4096);
    if (!small) GTEST_SKIP() << "no small file system can be mounted here";
    const std::string exe = small->Path() + "\\keplin.exe";
    const std::string preferencesPath = small->Path() + "\\QUENTARO.INI";
    const std::string preferences = "[KEPLIN]\r\nBackup=0\r\nAlphabetize=0\r\n";
    ASSERT_TRUE(testfiles::WriteBytes(preferencesPath, preferences));
    const std::string ini = small->Path() + "\\one.ini";
    const std::string bytes = "[Zeta]\r\nz=1\r\n[Alpha]\r\na=1\r\n";
    ASSERT_TRUE(testfiles::WriteBytes(ini, bytes));
    ASSERT_GT(small->FillUpTo(0), 0u);

    HWND main = RunFrom(exe, ini);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(Sections(main), (Items{"[Zeta]", "[Alpha]"}));
    // Alphabetize on: no message, the list sorted for the run, the
    // preferences as they were.
    robot.Command(main, IDM_ALPHABETIZE);
    EXPECT_TRUE(robot.WaitUntil([&] { return Sections(main) == Items{"[Alpha]", "[Zeta]"}; }))
        << "the toggle did not hold";
    EXPECT_EQ(testfiles::ReadBytes(preferencesPath), preferences);
    // A change: refused as a failed write, the file byte for byte.
    robot.DeleteSection(main, 1, "[Zeta]", IDYES, "KEPLIN could not write profile.");
    EXPECT_EQ(testfiles::ReadBytes(ini), bytes);
    EXPECT_EQ(Sections(main), (Items{"[Alpha]", "[Zeta]"}));
    robot.Command(main, IDM_EXIT);
    EXPECT_EQ(WaitForEnd(Program()), 0u);
    EXPECT_EQ(testfiles::ReadBytes(preferencesPath), preferences);
}

TEST_F(ProgramFolderTest, ABackupNameBeyondThePathLimitIsNeverCutIntoAnotherName) {
    // The program in a deep folder, the file in a shallow one: the file's
    // path fits the platform's limit of 259 characters, its backup's would not.
    std::string deep = PathOf("program");
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    while (deep.size() < 160) {
        deep += "\\a-deeper-folder";
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    }
    const std::string exe = deep + "\\keplin.exe";
    ASSERT_TRUE(CopyFileA(KeplinExe().c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(testfiles::WriteBytes(deep + "\\QUENTARO.INI", "[KEPLIN]\r\nBackup=1\r\n"));
    const size_t room = MAX_PATH - 1 - PathOf("").size();
    const std::string name = std::string(std::min<size_t>(room, 255) - 4, 'n') + ".ini";
    const std::string ini = WriteIni(name, "[One]\r\na=1\r\n[Two]\r\nb=2\r\n");
    ASSERT_LE(ini.size(), static_cast<size_t>(MAX_PATH - 1));
    const std::string backup = deep + "\\" + name.substr(0, name.size() - 1) + "B";
    ASSERT_GT(backup.size(), static_cast<size_t>(MAX_PATH - 1));

    HWND main = RunFrom(exe, ini);
    ASSERT_NE(main, nullptr);
    DeleteTwoWithoutABackup(main, backup);
    EXPECT_EQ(testfiles::ReadBytes(ini), "[One]\r\na=1\r\n");
    robot.Command(main, IDM_EXIT);
    EXPECT_EQ(WaitForEnd(Program()), 0u);
    // Nothing but the program and its preferences in its folder: no backup
    // under a shortened name.
    Items files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((deep + "\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Items{"QUENTARO.INI", "keplin.exe"}));
}

TEST_F(ProgramFolderTest, AProgramInAFolderOfCjkNamesFindsItsPreferencesAndBacksUpBesideItself) {
    // The program's path holds 120 CJK characters: 360 bytes of UTF-8, more
    // than the platform's A call has room for, yet within the limit in
    // UTF-16 units.
    std::string folder = PathOf("");
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    std::string name;
    for (int i = 0; i < 40; ++i) name += "\xE6\x97\xA5";
    for (int depth = 0; depth < 3; ++depth) {
        folder += "\\" + name;
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    const std::string exe = folder + "\\keplin.exe";
    ASSERT_TRUE(CopyFileA(KeplinExe().c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(testfiles::WriteBytes(folder + "\\QUENTARO.INI", "[KEPLIN]\r\nBackup=1\r\n"));
    const std::string bytes = "[One]\r\na=1\r\n[Two]\r\nb=2\r\n";
    const std::string ini = WriteIni("one.ini", bytes);

    HWND main = RunFrom(exe, ini);
    ASSERT_NE(main, nullptr);
    robot.DeleteSection(main, 1, "[Two]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(ini), "[One]\r\na=1\r\n");
    EXPECT_EQ(testfiles::ReadBytes(folder + "\\one.inB"), testfiles::BackupOf(bytes, ini));
    robot.Command(main, IDM_EXIT);
    EXPECT_EQ(WaitForEnd(Program()), 0u);
}

}  // namespace

// ---- windows that grow and open as they were left -----------------------------------

namespace {

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// Where a control stands in its window's client area.
RECT PlaceOf(HWND window, int id) {
    RECT rect = WindowRect(GetDlgItem(window, id));
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT Moved(RECT rect, LONG dx, LONG dy) {
    return RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}
RECT Grown(RECT rect, LONG dx, LONG dy) { return RECT{rect.left, rect.top, rect.right + dx, rect.bottom + dy}; }
LONG Width(const RECT& rect) { return rect.right - rect.left; }
LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

// Rectangles print as "(left, top, right, bottom)".
struct Box {
    RECT rect;
    bool operator==(const Box& other) const { return EqualRect(&rect, &other.rect) != FALSE; }
};
std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "(" << box.rect.left << ", " << box.rect.top << ", " << box.rect.right << ", " << box.rect.bottom
               << ")";
}

}  // namespace

class WindowPlaceTest : public ProcessTest {
protected:
    // Drags the window's frame to make it this much wider and taller and
    // checks that the list grew with it and the buttons kept their distance
    // to the right edge, the file-text label growing along the top.
    void ExpectGrowing(HWND window, LONG dx, LONG dy, int list, int label, std::initializer_list<int> buttons) {
        const RECT listBefore = PlaceOf(window, list), labelBefore = PlaceOf(window, label);
        std::vector<RECT> buttonsBefore;
        for (int id : buttons) buttonsBefore.push_back(PlaceOf(window, id));
        robot.DragFrameTo(window, Grown(WindowRect(window), dx, dy));
        EXPECT_EQ(Box{PlaceOf(window, list)}, Box{Grown(listBefore, dx, dy)}) << "the list";
        EXPECT_EQ(Box{PlaceOf(window, label)}, Box{Grown(labelBefore, dx, 0)}) << "the label along the top";
        size_t i = 0;
        for (int id : buttons)
            EXPECT_EQ(Box{PlaceOf(window, id)}, Box{Moved(buttonsBefore[i++], dx, 0)}) << "control " << id;
    }
};

TEST_F(WindowPlaceTest, BothWindowsGrowByTheirFramesNoSmallerThanMadeAndOpenAsTheyWereLeft) {
    const std::string path = WriteIni("places.ini", "[One]\r\na=1\r\n[Two]\r\nb=2\r\n");
    HWND main = Run(path);
    ASSERT_NE(main, nullptr);
    const RECT made = WindowRect(main);
    robot.DragFrameTo(main, Grown(made, -100, -80));
    EXPECT_EQ(Box{WindowRect(main)}, Box{made}) << "smaller than the window was made";
    robot.DragFrameTo(main, Moved(made, -20, 30));
    ExpectGrowing(main, 220, 110, IDC_SECTION_LIST, IDC_FILE_LABEL,
                  {IDC_VIEW_SECTION, IDC_DELETE_SECTION, IDC_INSERT, IDC_SELECT_INI, IDC_ENCODING_CAPTION,
                   IDC_ENCODING_LABEL});
    const RECT mainLeft = WindowRect(main);

    HWND view = robot.OpenSection(main, 1);
    ASSERT_NE(view, nullptr);
    const RECT viewMade = WindowRect(view);
    robot.DragFrameTo(view, Grown(viewMade, -50, -50));
    EXPECT_EQ(Box{WindowRect(view)}, Box{viewMade}) << "smaller than the view was made";
    ExpectGrowing(view, 150, 70, IDC_VIEW_LIST, IDC_VIEW_HEADER,
                  {IDC_MAIN_MENU, IDC_EDIT_KEY, IDC_DELETE_KEY, IDC_INSERT});
    const RECT viewLeft = WindowRect(view);
    const RECT viewListLeft = PlaceOf(view, IDC_VIEW_LIST);
    robot.LeaveView(view);
    robot.Command(main, IDM_EXIT);
    EXPECT_EQ(WaitForEnd(Program(0)), 0u);

    // The next start: both windows where and as large as they were left.
    main = Run(path);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Box{WindowRect(main)}, Box{mainLeft});
    view = robot.OpenSection(main, 0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Box{WindowRect(view)}, Box{viewLeft});
    EXPECT_EQ(Box{PlaceOf(view, IDC_VIEW_LIST)}, Box{viewListLeft});
    robot.LeaveView(view);
    robot.Command(main, IDM_EXIT);
    EXPECT_EQ(WaitForEnd(Program(1)), 0u);

    // A place on no monitor (another display's, say) comes back onto the screen, as large as it was.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(testfiles::WriteBytes(testfiles::PreferencesFile(),
                                      "[KEPLIN]\r\nMainWindow=5000 -3000 " + std::to_string(Width(mainLeft)) + " " +
                                          std::to_string(Height(mainLeft)) + " " + std::to_string(dpi) + "\r\n"));
    main = Run(path);
    ASSERT_NE(main, nullptr);
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const RECT placed = WindowRect(main);
    RECT within;
    EXPECT_TRUE(IntersectRect(&within, &placed, &work) && EqualRect(&within, &placed))
        << Box{placed} << " is not within the screen's work area " << Box{work};
    EXPECT_EQ(Width(placed), Width(mainLeft));
    EXPECT_EQ(Height(placed), Height(mainLeft));
}
