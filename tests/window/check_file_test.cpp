// Check File, run in this process: a file with a planted duplicate section,
// duplicate key, "#" line and UTF-8 mark; its findings listed, copied, and
// opened in the main window and the section view.
#include <string>

#include "program_test.h"

namespace {

// What the keyboard gives for Ctrl+K and Ctrl+C once translated.
constexpr WPARAM kCtrlK = 0x0B;
constexpr WPARAM kCtrlC = 0x03;

const char kPlanted[] =
    "\xEF\xBB\xBF[Colors]\r\nBackground=0 0 0\r\nWindow=1\r\nbackground=9\r\n#note=x\r\n"
    "[Fonts]\r\nSans=a\r\n[colors]\r\nextra=1\r\n";

// The first cell of each row, or of each clipboard line up to its ":".
Items Lines(const Items& rows) {
    Items lines;
    for (const std::string& row : rows) lines.push_back(row.substr(0, row.find('\t')));
    return lines;
}

}  // namespace

class CheckFileTest : public ProgramTest {
protected:
    HWND OpenCheckFile() {
        robot.PressCtrl(Main(), kCtrlK);
        return robot.Opened(steps::kCheckFile);
    }
};

TEST_F(CheckFileTest, FindingsAreListedCopiedAndOpenTheirLine) {
    const std::string path = WriteIni("planted.ini", kPlanted);
    ASSERT_NO_FATAL_FAILURE(Start(path));
    HWND check = OpenCheckFile();
    ASSERT_NE(check, nullptr);
    HWND list = GetDlgItem(check, IDC_CHECK_LIST);
    const Items rows = robot::ListViewRows(list);
    // The mark, the later "background", the "#" line, the later [colors] and the key only it holds.
    EXPECT_EQ(Lines(rows), (Items{"1", "4", "5", "8", "9"}));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1],
              "4\t[Colors]\tbackground=9\tNever read: the reader finds \"Background\" on line 2 first (the same name "
              "to the reader, which ignores case) and gets \"0 0 0\"; reading the whole section returns every copy.\t");
    EXPECT_NE(rows[0].find("Wine honours the mark"), std::string::npos) << rows[0];

    // Copy, and Ctrl+C: every finding, a line each, beginning with "line N:".
    robot::EmptyTheClipboard();
    robot.Click(check, IDC_CHECK_COPY);
    const std::string copied = robot::ClipboardText();
    EXPECT_EQ(copied.rfind("line 1: [Colors] A UTF-8 byte-order mark (EF BB BF). | Windows does not honour", 0), 0u)
        << copied;
    EXPECT_NE(copied.find("\r\nline 4: [Colors] background=9 | Never read: "), std::string::npos) << copied;
    EXPECT_NE(copied.find("\r\nline 9: [colors] extra=1 | Never read: "), std::string::npos) << copied;
    robot::EmptyTheClipboard();
    robot.PressCtrl(check, kCtrlC);
    EXPECT_EQ(robot::ClipboardText(), copied);

    // A double-click on the duplicate key opens the view on its line.
    robot.DoubleClickItem(list, 1);
    EXPECT_TRUE(robot.WaitUntilGone(check));
    HWND view = robot.Opened(steps::kSectionView);
    ASSERT_NE(view, nullptr);
    HWND lines = GetDlgItem(view, IDC_VIEW_LIST);
    EXPECT_EQ(robot::ListItems(lines)[robot::SelectedIndex(lines)], "background=9");
    robot.LeaveView(view);

    // Enter on the later [colors] selects its header in the main list.
    check = OpenCheckFile();
    ASSERT_NE(check, nullptr);
    robot.SelectItem(GetDlgItem(check, IDC_CHECK_LIST), 3);
    robot.Key(GetDlgItem(check, IDC_CHECK_LIST), VK_RETURN);
    EXPECT_TRUE(robot.WaitUntilGone(check));
    EXPECT_EQ(SelectedIndex(), 2);
    EXPECT_EQ(SelectedSection(), "[colors]");
    EXPECT_EQ(robot.FindWindowOf(steps::kSectionView), nullptr);

    // A clean file: a message, not an empty window.
    WriteIni("planted.ini", "[Colors]\r\nBackground=0 0 0\r\n");
    robot.Expect("KEPLIN", "No problems found in " + path + ".").Answer(IDOK);
    robot.PressCtrl(Main(), kCtrlK);
    EXPECT_EQ(robot.FindWindowOf(steps::kCheckFile), nullptr);
}
