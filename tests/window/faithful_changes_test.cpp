// Every change touches only its own lines: each command run on a copy of the
// installed Wine's own wine.inf (2,600 lines, LF line ends, empty lines,
// indented continuation lines, comments), on a preferences file with the
// user's notes in it, and on a backup.
#include <windows.h>

#include <string>
#include <vector>

#include "program_test.h"

namespace {

// The file's lines, each with its line end.
Items LinesOf(const std::string& text) {
    Items lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// What a change did to a text: the lines it took out and the lines it put in
// their place, found between the longest unchanged start and end.
struct Change {
    Items removed;
    Items added;
    size_t at = 0;   // index of the first changed line
};

Change ChangeBetween(const std::string& before, const std::string& after) {
    const Items a = LinesOf(before), b = LinesOf(after);
    size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
    Change change;
    change.at = head;
    change.removed.assign(a.begin() + head, a.end() - tail);
    change.added.assign(b.begin() + head, b.end() - tail);
    return change;
}

size_t IndexOf(const Items& items, const std::string& item) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == item) return i;
    return items.size();
}

}  // namespace

class FaithfulChangesTest : public ProgramTest {
protected:
    // A copy of the installed Wine's wine.inf in the test's folder.
    std::string CopyOfWineInf() {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        const std::string candidates[] = {"Z:\\usr\\share\\wine\\wine.inf", std::string(windows) + "\\inf\\wine.inf"};
        const std::string copy = PathOf("wine.inf");
        for (const std::string& source : candidates)
            if (CopyFileA(source.c_str(), copy.c_str(), FALSE)) return copy;
        return std::string();
    }
    void OpenWineInf() {
        path_ = CopyOfWineInf();
        ASSERT_FALSE(path_.empty()) << "no wine.inf found in the installed Wine";
        original_ = testfiles::ReadBytes(path_);
        ASSERT_GT(LinesOf(original_).size(), 1000u);
        ASSERT_EQ(original_.find('\r'), std::string::npos) << "expected a file with LF line ends";
        ASSERT_NO_FATAL_FAILURE(Start(path_));
    }
    void SelectSection(const std::string& header) {
        const Items sections = Sections();
        const size_t index = IndexOf(sections, header);
        ASSERT_LT(index, sections.size()) << header << " is not listed";
        robot.SelectItem(Control(IDC_SECTION_LIST), static_cast<int>(index));
    }
    HWND OpenView(const std::string& header) {
        SelectSection(header);
        return robot.OpenSection(Main(), SelectedIndex());
    }
    Change ChangeSoFar() {
        const std::string now = testfiles::ReadBytes(path_);
        Change change = ChangeBetween(original_, now);
        original_ = now;
        return change;
    }

    std::string path_;
    std::string original_;
};

TEST_F(FaithfulChangesTest, EditingAKeyInWineInfChangesExactlyThatLine) {
    ASSERT_NO_FATAL_FAILURE(OpenWineInf());
    HWND view = OpenView("[version]");
    ASSERT_NE(view, nullptr);
    HWND list = GetDlgItem(view, IDC_VIEW_LIST);
    ASSERT_EQ(robot::ListItems(list), Items{"signature=\"$CHICAGO$\""});
    robot.EditValue(view, 0, "\"$Windows NT$\"");
    const Change change = ChangeSoFar();
    EXPECT_EQ(change.removed, Items{"signature=\"$CHICAGO$\"\n"});
    EXPECT_EQ(change.added, Items{"signature=\"$Windows NT$\"\n"});
    EXPECT_EQ(robot::ListItems(list), Items{"signature=\"$Windows NT$\""});
    robot.LeaveView(view);
}

TEST_F(FaithfulChangesTest, InsertAndDeleteOfKeysAndSectionsInWineInfChangeOnlyTheirOwnLines) {
    ASSERT_NO_FATAL_FAILURE(OpenWineInf());
    const Items before = LinesOf(original_);
    const size_t header = IndexOf(before, "[PreInstall]\n");
    ASSERT_LT(header, before.size());

    // Insert in the view: one new line after the section's last non-empty line.
    HWND view = OpenView("[PreInstall]");
    ASSERT_NE(view, nullptr);
    robot.InsertKey(view, "Added", "by a test");
    Change change = ChangeSoFar();
    EXPECT_TRUE(change.removed.empty());
    EXPECT_EQ(change.added, Items{"Added=by a test\n"});
    EXPECT_EQ(change.at, header + 2) << "not right after WineFakeDlls=";

    // Delete in the view: that line alone goes.
    HWND list = GetDlgItem(view, IDC_VIEW_LIST);
    ASSERT_EQ(robot::ListItems(list), (Items{"WineFakeDlls=FakeDllsPreInstall", "Added=by a test"}));
    robot.DeleteKey(view, 0, "WineFakeDlls");
    change = ChangeSoFar();
    EXPECT_EQ(change.removed, Items{"WineFakeDlls=FakeDllsPreInstall\n"});
    EXPECT_TRUE(change.added.empty());
    robot.LeaveView(view);

    // Insert Section: two lines at the end of the file.
    InsertSection("Tested", "Key", "Value");
    const size_t lineCount = LinesOf(original_).size();
    change = ChangeSoFar();
    EXPECT_TRUE(change.removed.empty());
    EXPECT_EQ(change.added, (Items{"[Tested]\n", "Key=Value\n"}));
    EXPECT_EQ(change.at, lineCount);

    // Delete Section: its header and every line up to the next header.
    const Items now = LinesOf(original_);
    const size_t from = IndexOf(now, "[PreInstall]\n");
    size_t to = from + 1;
    while (to < now.size() && now[to][0] != '[') ++to;
    const Items section(now.begin() + from, now.begin() + to);
    ASSERT_EQ(section, (Items{"[PreInstall]\n", "Added=by a test\n", "\n"}));
    SelectSection("[PreInstall]");
    robot.Expect("KEPLIN", "Are you sure you want to DELETE\n[PreInstall] ?").Answer(IDYES);
    Click(IDC_DELETE_SECTION);
    change = ChangeSoFar();
    EXPECT_EQ(change.removed, section);
    EXPECT_TRUE(change.added.empty());
    EXPECT_EQ(change.at, from);
}

TEST_F(FaithfulChangesTest, APreferenceToggleChangesOnlyItsValueAmongTheUsersNotes) {
    const std::string notes =
        "; my settings, kept by hand\n"
        "[KEPLIN]\n"
        "\n"
        "   alphabetize = 0\n"
        "Backup=0\n"
        "[Other]\n"
        "Kept=yes";
    ASSERT_TRUE(testfiles::WriteBytes(testfiles::PreferencesFile(), notes));
    ASSERT_NO_FATAL_FAILURE(Start(WriteIni("a.ini", "[A]\r\n")));
    Command(IDM_ALPHABETIZE);
    robot.Settle();
    std::string expected = notes;
    expected.replace(expected.find("= 0"), 3, "= 1");
    EXPECT_EQ(testfiles::ReadBytes(testfiles::PreferencesFile()), expected);
    Command(IDM_READ_ONLY);
    robot.Settle();
    expected.replace(expected.find("Backup=0\n"), 9, "Backup=0\nLockContents=1\n");
    EXPECT_EQ(testfiles::ReadBytes(testfiles::PreferencesFile()), expected);
}
