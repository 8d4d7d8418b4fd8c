// The watch on the open file never loses a file that is still there, and the
// lists never stay behind another program's change, even one made while an
// input screen was open or one that removes the open section.
#include <string>

#include "program_test.h"
#include "unix_shell.h"

namespace {

const char kFile[] = "[One]\r\na=1\r\n[Two]\r\nc=3\r\n";

}  // namespace

class WatchTest : public ProgramTest {};

TEST_F(WatchTest, AFileDeletedAndWrittenAnewAMomentLaterIsListedWithoutAWord) {
    const std::string path = WriteIni("file.ini", kFile);
    ASSERT_NO_FATAL_FAILURE(Start(path));
    // As editors save: the file removed, then written anew 0.7 s later.
    testfiles::ShellResult saved = testfiles::RunShell(
        Folder(), "rm file.ini && sleep 0.7 && printf '[One]\\r\\na=1\\r\\n[New]\\r\\nn=1\\r\\n' >file.ini");
    ASSERT_TRUE(saved.ran && saved.status == 0) << saved.output;
    EXPECT_TRUE(robot.WaitUntil([&] { return Sections() == Items{"[One]", "[New]"}; }))
        << "the list did not follow the file";
    robot.Settle();   // a "could not find" box would fail the test here
    EXPECT_EQ(Label(), path);
}

TEST_F(WatchTest, AChangeMadeWhileTheEditScreenIsOpenShowsInBothListsAfterOK) {
    const std::string path = WriteIni("file.ini", kFile);
    ASSERT_NO_FATAL_FAILURE(Start(path));
    HWND view = robot.OpenSection(Main(), 0);
    ASSERT_NE(view, nullptr);
    HWND screen = robot.EditLine(view, 0);
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(testfiles::WriteBytes(path, "[One]\r\na=1\r\nb=2\r\n[Two]\r\nc=3\r\n[Three]\r\nd=4\r\n"));
    robot.SetText(GetDlgItem(screen, IDC_INPUT_FIELD), "9");
    robot.Ok(screen);
    HWND lines = GetDlgItem(view, IDC_VIEW_LIST);
    EXPECT_TRUE(robot.WaitUntil([&] { return robot::ListItems(lines) == Items{"a=9", "b=2"}; }))
        << "the view did not show the other program's line";
    EXPECT_TRUE(robot.WaitUntil([&] { return Sections() == Items{"[One]", "[Two]", "[Three]"}; }))
        << "the main list did not show the other program's section";
    EXPECT_EQ(testfiles::ReadBytes(path), "[One]\r\na=9\r\nb=2\r\n[Two]\r\nc=3\r\n[Three]\r\nd=4\r\n");
    robot.LeaveView(view);
}

TEST_F(WatchTest, AViewWhoseSectionAnotherProgramRemovedSaysSoAndNothingIsWrittenToIt) {
    const std::string path = WriteIni("file.ini", kFile);
    ASSERT_NO_FATAL_FAILURE(Start(path));
    HWND view = robot.OpenSection(Main(), 1);
    ASSERT_NE(view, nullptr);
    // Removed while the insert screen is open: OK must not make it anew.
    HWND screen = robot.FillInsertKey(view, "k", "v");
    ASSERT_NE(screen, nullptr);
    const std::string without = "[One]\r\na=1\r\n";
    ASSERT_TRUE(testfiles::WriteBytes(path, without));
    robot.Expect("KEPLIN", "The section [Two] is no longer in file.ini.").Answer(IDOK);
    robot.Ok(screen);
    robot.Settle();
    EXPECT_TRUE(robot.WaitUntilGone(view)) << "the view stayed open on a section that is gone";
    EXPECT_EQ(testfiles::ReadBytes(path), without);
    EXPECT_TRUE(robot.WaitUntil([&] { return Sections() == Items{"[One]"}; }));

    // Removed while the view is open: the watch finds it.
    ASSERT_TRUE(testfiles::WriteBytes(path, kFile));
    ASSERT_TRUE(robot.WaitUntil([&] { return Sections() == Items{"[One]", "[Two]"}; }));
    view = robot.OpenSection(Main(), 1);
    ASSERT_NE(view, nullptr);
    robot.Expect("KEPLIN", "The section [Two] is no longer in file.ini.").Answer(IDOK);
    ASSERT_TRUE(testfiles::WriteBytes(path, without));
    EXPECT_TRUE(robot.WaitUntil([&] { return !robot.OpenMessageBoxes().empty(); })) << "nothing was said";
    robot.Settle();
    EXPECT_TRUE(robot.WaitUntilGone(view));
    EXPECT_EQ(Sections(), Items{"[One]"});
}
