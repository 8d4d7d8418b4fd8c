#include "program_test.h"

#include "immutable_file.h"

void ProgramTest::SetUp() {
    // A window titled KEPLIN would make the program restore it and end.
    ASSERT_EQ(FindWindowA(nullptr, "KEPLIN"), nullptr) << "a KEPLIN window of an earlier test is still open";
    DeleteFileA(testfiles::PreferencesFile().c_str());
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name();
    // A run stopped halfway may have left a file locked against writes.
    testfiles::FreeImmutableFiles(testfiles::ScratchFolderPath(name));
    folder_ = std::make_unique<testfiles::ScratchFolder>(name);
}

void ProgramTest::TearDown() {
    if (program_.ThreadId() != 0 && !ended_) {
        robot.CheckAllExpectationsMet();
        CloseLeftOverDialogs();
        if (IsWindow(Main())) PostMessageA(Main(), WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        if (program_.WaitForExit(10000, &exitCode))
            EXPECT_EQ(exitCode, 0u) << "exit code of the program";
        else
            ADD_FAILURE() << "the program did not end after Close";
    }
    robot.CheckAllExpectationsMet();
    robot.StopWatching();
    DeleteFileA(testfiles::PreferencesFile().c_str());
    for (const std::string& path : besideTheProgram_) testfiles::DeleteTree(path);
    folder_.reset();
}

void ProgramTest::PreferencesAtStart(const std::string& lines) {
    ASSERT_TRUE(testfiles::WriteBytes(testfiles::PreferencesFile(), "[KEPLIN]\r\n" + lines));
}

std::string ProgramTest::Beside(const std::string& fileName) {
    std::string path = testfiles::ExeDirectory() + "\\" + fileName;
    besideTheProgram_.push_back(path);
    testfiles::DeleteTree(path);
    return path;
}

void ProgramTest::CloseLeftOverDialogs() {
    for (const robot::WindowSeen& dialog : robot.OpenDialogs()) {
        ADD_FAILURE() << "left open at the end of the test: " << dialog.Describe();
        if (robot::IsMessageBox(dialog.window)) {
            PostMessageA(dialog.window, WM_COMMAND, GetDlgItem(dialog.window, IDNO) ? IDNO : IDOK, 0);
        } else {
            PostMessageA(dialog.window, WM_COMMAND, IDCANCEL, 0);
            if (!robot.WaitUntilGone(dialog.window, 1000))
                PostMessageA(dialog.window, WM_COMMAND, IDC_MAIN_MENU, 0);
        }
        robot.WaitUntilGone(dialog.window, 2000);
    }
}

std::string ProgramTest::WriteIni(const std::string& name, const std::string& bytes) {
    std::string path = PathOf(name);
    EXPECT_TRUE(testfiles::WriteBytes(path, bytes)) << "cannot write " << path;
    return path;
}

void ProgramTest::Start(const std::string& argumentText) {
    ASSERT_TRUE(program_.Start(argumentText)) << "the main window did not appear";
    robot.WatchThread(program_.ThreadId());
    robot.Settle();
    ASSERT_TRUE(robot.WaitUntil([&] { return IsWindowVisible(Main()) != FALSE; }))
        << "the main window was not shown";
}

DWORD ProgramTest::WaitForProgramEnd() {
    DWORD exitCode = 0xDEAD;
    EXPECT_TRUE(program_.WaitForExit(5000, &exitCode)) << "the program did not end";
    ended_ = true;
    return exitCode;
}

std::string ProgramTest::SelectedSection() const {
    int index = SelectedIndex();
    std::vector<std::string> items = Sections();
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
}

bool ProgramTest::FindNextGrayed(HWND window) {
    if (!window) window = Main();
    robot.OpenMenu(window, 1);
    return robot::MenuGrayed(window, IDC_FIND_NEXT);
}
