// The section view, run in this process: the lines it lists, Edit, Delete and
// Insert of keys, Read Only, the backup before a write, leaving the view, and
// headers and lines that the profile service does not take as sections or keys.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/win32/records.h"
#include "immutable_file.h"
#include "program_test.h"

namespace {

// A desktop settings file; [Colors] holds a value with an equals sign.
const char kColors[] =
    "[Desktop]\r\nWallpaper=(None)\r\n"
    "[Colors]\r\nBackground=0 0 0\r\nlong=has=equals\r\nWindow=255 255 255\r\n"
    "[Fonts]\r\nSans=sans.fon\r\n";
const int kColorsSection = 1;
// A value longer than the 74 characters a field gives back.
const std::string kHundredDigits = [] {
    std::string digits;
    for (int i = 0; i < 10; ++i) digits += "0123456789";
    return digits;
}();
const Items kColorsLines{"Background=0 0 0", "long=has=equals", "Window=255 255 255"};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "\"" << from << "\" is not in the text";
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}


}  // namespace

class SectionViewTest : public ProgramTest {
protected:
    // Opens the section at this position of the main window's list with View Section.
    void OpenSection(int index) {
        view_ = robot.OpenSection(Main(), index);
        ASSERT_NE(view_, nullptr);
    }
    void OpenView(const std::string& path, int index) {
        ASSERT_NO_FATAL_FAILURE(Start(path));
        OpenSection(index);
    }
    void LeaveView() { robot.LeaveView(view_); }

    // What the user sees in the view.
    HWND View() const { return view_; }
    HWND ViewControl(int id) const { return GetDlgItem(view_, id); }
    HWND ViewList() const { return ViewControl(IDC_VIEW_LIST); }
    Items Lines() const { return robot::ListItems(ViewList()); }
    int SelectedLine() const { return robot::SelectedIndex(ViewList()); }
    std::string Header() const { return robot::Text(ViewControl(IDC_VIEW_HEADER)); }
    bool ViewButtonEnabled(int id) const { return robot::IsEnabled(ViewControl(id)); }

    // The user's actions in the view.
    void SelectLine(int index) { robot.SelectItem(ViewList(), index); }
    void ClickInView(int id) { robot.Click(view_, id); }

    static std::string TextOf(HWND dialog, int id) { return robot::Text(GetDlgItem(dialog, id)); }
    // Selects the line at this position and chooses Edit; the edit screen.
    HWND EditLine(int line) { return robot.EditLine(View(), line); }
    // Edits the value of the line at this position through the Edit button.
    void EditValue(int line, const std::string& value) { robot.EditValue(View(), line, value); }
    bool EditScreenOpen() const { return robot.FindWindowOf(steps::kEditScreen) != nullptr; }

private:
    HWND view_ = nullptr;
};

// ---- opening ---------------------------------------------------------------------

class SectionViewOpeningTest : public SectionViewTest {};

TEST_F(SectionViewOpeningTest, ShowsTheHeaderAndTheLinesOfTheSectionWithoutItsEmptyLines) {
    const std::string bytes =
        "[Desktop] ; the screen\r\n"
        "Wallpaper=(None)\r\n"
        "\r\n"
        "; tiles the wallpaper\r\n"
        "TileWallpaper=0\r\n"
        "  GridGranularity=0\r\n"
        " [Screen]\r\n"
        "Saver=off\r\n"
        "\r\n"
        "[Fonts]\r\n"
        "Sans=sans.fon\r\n";
    ASSERT_NO_FATAL_FAILURE(OpenView(WriteIni("desktop.ini", bytes), 0));
    EXPECT_EQ(robot::Text(View()), steps::kSectionView);
    EXPECT_EQ(Header(), "[Desktop]");
    // A header with a leading blank does not end the section; "[" in the first place does.
    EXPECT_EQ(Lines(), (Items{"Wallpaper=(None)", "; tiles the wallpaper", "TileWallpaper=0", "  GridGranularity=0",
                              " [Screen]", "Saver=off"}));
    EXPECT_EQ(SelectedLine(), 0);
    EXPECT_EQ(Focus(), ViewList());
    EXPECT_TRUE(ViewButtonEnabled(IDC_EDIT_KEY));
    EXPECT_TRUE(ViewButtonEnabled(IDC_DELETE_KEY));
    EXPECT_TRUE(ViewButtonEnabled(IDC_INSERT));
    LeaveView();
}

TEST_F(SectionViewOpeningTest, AlphabetizeSortsTheLinesWithoutRegardToCase) {
    PreferencesAtStart("Alphabetize=1\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenView(WriteIni("keys.ini", "[Keys]\r\nbeta=2\r\nAlpha=1\r\ngamma=3\r\nDelta=4\r\n"), 0));
    EXPECT_EQ(Lines(), (Items{"Alpha=1", "beta=2", "Delta=4", "gamma=3"}));
    EXPECT_EQ(SelectedLine(), 0);
    LeaveView();
}

// ---- Edit --------------------------------------------------------------------------

class SectionViewEditTest : public SectionViewTest {};

TEST_F(SectionViewEditTest, AValueHoldingEqualsIsOfferedWholeAndOkWritesTheNewValue) {
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    ASSERT_EQ(Lines(), kColorsLines);
    HWND screen = EditLine(1);
    ASSERT_NE(screen, nullptr);
    HWND header = GetDlgItem(screen, IDC_INPUT_HEADER);
    EXPECT_EQ(robot::Text(header), "[Colors]");
    EXPECT_EQ(GetWindowLongA(header, GWL_STYLE) & SS_TYPEMASK, SS_CENTER) << "the header is not centred";
    EXPECT_EQ(TextOf(screen, IDC_INPUT_LABEL), "long");
    EXPECT_EQ(TextOf(screen, IDC_INPUT_FIELD), "has=equals");

    robot.SetText(GetDlgItem(screen, IDC_INPUT_FIELD), "still=has=equals");
    robot.Ok(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), Replace(kColors, "long=has=equals", "long=still=has=equals"));
    EXPECT_EQ(Lines(), (Items{"Background=0 0 0", "long=still=has=equals", "Window=255 255 255"}));
    EXPECT_EQ(SelectedLine(), 1) << "the edited position is selected after the refresh";
    EXPECT_EQ(Focus(), ViewList());
    LeaveView();
}

TEST_F(SectionViewEditTest, CancelChangesNothing) {
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    HWND screen = EditLine(2);
    ASSERT_NE(screen, nullptr);
    robot.SetText(GetDlgItem(screen, IDC_INPUT_FIELD), "0 0 255");
    robot.Cancel(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), kColors);
    EXPECT_EQ(Lines(), kColorsLines);
    EXPECT_EQ(SelectedLine(), 2);
    EXPECT_EQ(Focus(), ViewList());
    LeaveView();
}

TEST_F(SectionViewEditTest, EnterAndDoubleClickOnALineOpenItsEditScreen) {
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    SelectLine(2);
    Key(VK_RETURN);
    HWND screen = robot.Opened(steps::kEditScreen);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(TextOf(screen, IDC_INPUT_LABEL), "Window");
    EXPECT_EQ(TextOf(screen, IDC_INPUT_FIELD), "255 255 255");
    robot.Cancel(screen);

    robot.DoubleClickItem(ViewList(), 0);
    screen = robot.Opened(steps::kEditScreen);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(TextOf(screen, IDC_INPUT_LABEL), "Background");
    EXPECT_EQ(TextOf(screen, IDC_INPUT_FIELD), "0 0 0");
    robot.Cancel(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), kColors);
    LeaveView();
}

TEST_F(SectionViewEditTest, ALineWithoutAKeyIsRefusedForEditAndDelete) {
    const std::string bytes =
        "[Colors]\r\n; the palette\r\nBackground=0 0 0\r\nplain text\r\n=orphan\r\n[Fonts]\r\nSans=sans.fon\r\n";
    std::string path = WriteIni("comments.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    ASSERT_EQ(Lines(), (Items{"; the palette", "Background=0 0 0", "plain text", "=orphan"}));
    for (int line : {0, 2, 3}) {
        const std::string text = Lines()[line];
        SelectLine(line);
        robot.Expect("KEPLIN", "This line holds no key to edit:\n" + text).Answer(IDOK);
        ClickInView(IDC_EDIT_KEY);
        EXPECT_FALSE(EditScreenOpen());
        robot.Expect("KEPLIN", "This line holds no key to delete:\n" + text).Answer(IDOK);
        ClickInView(IDC_DELETE_KEY);
    }
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);
    LeaveView();
}

TEST_F(SectionViewEditTest, AValueOf100CharactersLeftUntouchedIsWrittenBackWhole) {
    const std::string value = kHundredDigits;
    const std::string bytes = "[Colors]\r\nShort=1\r\nLong=" + value + "\r\nWindow=255 255 255\r\n";
    std::string path = WriteIni("long-value.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    HWND screen = EditLine(1);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(TextOf(screen, IDC_INPUT_FIELD), value);
    robot.Ok(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), bytes) << "the value was cut";
    EXPECT_EQ(Lines(), (Items{"Short=1", "Long=" + value, "Window=255 255 255"}));
    EXPECT_EQ(SelectedLine(), 1);
    LeaveView();
}

TEST_F(SectionViewEditTest, TheValueFieldTakes74CharactersOrTheLengthOfTheLongerValueItWasGiven) {
    const std::string value = kHundredDigits;
    const std::string bytes = "[Colors]\r\nShort=1\r\nLong=" + value + "\r\n";
    std::string path = WriteIni("long-value.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    const std::string typed = std::string(45, 'a') + std::string(45, 'b') + std::string(20, 'c');

    HWND screen = EditLine(0);
    ASSERT_NE(screen, nullptr);
    HWND field = GetDlgItem(screen, IDC_INPUT_FIELD);
    robot.SetText(field, "");
    robot.Type(field, typed);
    EXPECT_EQ(robot::Text(field), typed.substr(0, 74)) << "typing stops at 74 characters";
    robot.Ok(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), "[Colors]\r\nShort=" + typed.substr(0, 74) + "\r\nLong=" + value + "\r\n");

    screen = EditLine(1);
    ASSERT_NE(screen, nullptr);
    field = GetDlgItem(screen, IDC_INPUT_FIELD);
    robot.SetText(field, "");
    robot.Type(field, typed);
    EXPECT_EQ(robot::Text(field), typed.substr(0, 100)) << "a 100-character value allows 100";
    robot.Ok(screen);
    EXPECT_EQ(testfiles::ReadBytes(path),
              "[Colors]\r\nShort=" + typed.substr(0, 74) + "\r\nLong=" + typed.substr(0, 100) + "\r\n");
    LeaveView();
}

TEST_F(SectionViewEditTest, AKeyOf90CharactersEditsThatKeyAndNoShorterOne) {
    std::string key90 = "Key";
    while (key90.size() < 90) key90 += static_cast<char>('a' + key90.size() % 26);
    const std::string key74 = key90.substr(0, 74);
    const std::string key79 = key90.substr(0, 79);
    const std::string bytes = "[Colors]\r\n" + key74 + "=short74\r\n" + key79 + "=short79\r\n" + key90 + "=old\r\n";
    std::string path = WriteIni("long-key.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    HWND screen = EditLine(2);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(TextOf(screen, IDC_INPUT_LABEL), key90);
    EXPECT_EQ(TextOf(screen, IDC_INPUT_FIELD), "old");
    robot.SetText(GetDlgItem(screen, IDC_INPUT_FIELD), "new");
    robot.Ok(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), Replace(bytes, key90 + "=old", key90 + "=new"));
    EXPECT_EQ(SelectedLine(), 2);
    LeaveView();
}

// ---- Insert ------------------------------------------------------------------------

class SectionViewInsertTest : public SectionViewTest {};

TEST_F(SectionViewInsertTest, OkWritesTheKeyIntoTheSectionAndSelectsTheFirstLine) {
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    SelectLine(2);
    ClickInView(IDC_INSERT);
    HWND screen = robot.Opened(steps::kInsertScreen);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(Focus(), GetDlgItem(screen, IDC_NEW_KEY_FIELD));
    robot.SetText(GetDlgItem(screen, IDC_NEW_KEY_FIELD), "Border");
    robot.SetText(GetDlgItem(screen, IDC_NEW_VALUE_FIELD), "3");
    robot.Ok(screen);
    EXPECT_EQ(testfiles::ReadBytes(path),
              Replace(kColors, "Window=255 255 255\r\n", "Window=255 255 255\r\nBorder=3\r\n"));
    EXPECT_EQ(Lines(), (Items{"Background=0 0 0", "long=has=equals", "Window=255 255 255", "Border=3"}));
    EXPECT_EQ(SelectedLine(), 0);
    EXPECT_EQ(Focus(), ViewList());
    LeaveView();
}

TEST_F(SectionViewInsertTest, CancelWritesNothing) {
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    SelectLine(1);
    HWND screen = robot.FillInsertKey(View(), "Border", "3");
    ASSERT_NE(screen, nullptr);
    robot.Cancel(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), kColors);
    EXPECT_EQ(Lines(), kColorsLines);
    EXPECT_EQ(SelectedLine(), 1);
    LeaveView();
}

TEST_F(SectionViewInsertTest, AFileThatRefusesWritingIsReportedAndKeptByteForByte) {
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    testfiles::ImmutableFile locked(path);
    ASSERT_TRUE(locked.Immutable()) << "cannot make " << path << " refuse writes";
    robot.InsertKey(View(), "Border", "3", "KEPLIN could not write profile.");
    EXPECT_EQ(testfiles::ReadBytes(path), kColors);
    EXPECT_EQ(Lines(), kColorsLines);
    LeaveView();
}

TEST_F(SectionViewInsertTest, AFileDeletedAfterTheListingIsReportedWhenTheViewOpens) {
    std::string path = WriteIni("colors.ini", kColors);
    Start(path);
    robot.SelectItem(Control(IDC_SECTION_LIST), kColorsSection);
    // Gone just before View Section, before the program could notice.
    robot.ChangeBeforeNextAction([&] { EXPECT_TRUE(DeleteFileA(path.c_str())); });
    robot.Expect("KEPLIN", "Sorry, Could not find colors.ini").Answer(IDOK);
    Command(IDC_VIEW_SECTION);
    HWND view = robot.Opened(steps::kSectionView);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(robot::ListItems(GetDlgItem(view, IDC_VIEW_LIST)), Items{});
    robot.LeaveView(view);
    EXPECT_FALSE(testfiles::Exists(path)) << "viewing a deleted file made it again";
}

// ---- Delete ------------------------------------------------------------------------

class SectionViewDeleteTest : public SectionViewTest {};

TEST_F(SectionViewDeleteTest, YesRemovesTheKeyAndSelectsTheLineNowAtItsPosition) {
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    SelectLine(1);
    robot.Expect("KEPLIN", "Are you sure you want to DELETE\nlong ?").Answer(IDYES);
    ClickInView(IDC_DELETE_KEY);
    EXPECT_EQ(testfiles::ReadBytes(path), Replace(kColors, "long=has=equals\r\n", ""));
    EXPECT_EQ(Lines(), (Items{"Background=0 0 0", "Window=255 255 255"}));
    EXPECT_EQ(SelectedLine(), 1);
    EXPECT_EQ(Focus(), ViewList());
    LeaveView();
}

TEST_F(SectionViewDeleteTest, NoKeepsTheFileByteForByte) {
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    SelectLine(2);
    robot.Expect("KEPLIN", "Are you sure you want to DELETE\nWindow ?").Answer(IDNO);
    ClickInView(IDC_DELETE_KEY);
    EXPECT_EQ(testfiles::ReadBytes(path), kColors);
    EXPECT_EQ(Lines(), kColorsLines);
    EXPECT_EQ(SelectedLine(), 2);
    EXPECT_EQ(Focus(), ViewList());
    LeaveView();
}

TEST_F(SectionViewDeleteTest, AFileThatRefusesWritingIsReportedAndKeptByteForByte) {
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    testfiles::ImmutableFile locked(path);
    ASSERT_TRUE(locked.Immutable()) << "cannot make " << path << " refuse writes";
    SelectLine(2);
    robot.Expect("KEPLIN", "Are you sure you want to DELETE\nWindow ?").Answer(IDYES);
    robot.Expect("KEPLIN", "KEPLIN could not write profile.").Answer(IDOK);
    ClickInView(IDC_DELETE_KEY);
    EXPECT_EQ(testfiles::ReadBytes(path), kColors);
    EXPECT_EQ(Lines(), kColorsLines);
    LeaveView();
}

TEST_F(SectionViewDeleteTest, AnEmptySectionShowsNoLinesAndEditOrDeleteAskForASelection) {
    const std::string bytes = "[Desktop]\r\nWallpaper=(None)\r\n[Empty]\r\n\r\n[Fonts]\r\nSans=sans.fon\r\n";
    std::string path = WriteIni("empty-section.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 1));
    EXPECT_EQ(Header(), "[Empty]");
    EXPECT_EQ(Lines(), Items{});
    EXPECT_EQ(SelectedLine(), -1);
    robot.Expect("KEPLIN", "You must select something before you Delete it.").Answer(IDOK);
    ClickInView(IDC_DELETE_KEY);
    robot.Expect("KEPLIN", "You must select something before you Edit it.").Answer(IDOK);
    ClickInView(IDC_EDIT_KEY);
    EXPECT_FALSE(EditScreenOpen());
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);
    LeaveView();
}

// ---- Read Only ---------------------------------------------------------------------

class SectionViewReadOnlyTest : public SectionViewTest {
protected:
    // Read Only as the user finds it in the view: no way to change a line.
    void ExpectNothingCanBeChanged(const std::string& path) {
        EXPECT_EQ(Lines(), kColorsLines);
        for (int id : {IDC_EDIT_KEY, IDC_DELETE_KEY, IDC_INSERT}) {
            EXPECT_FALSE(ViewButtonEnabled(id)) << "button " << id;
            EXPECT_TRUE(robot::MenuGrayed(View(), id)) << "menu item " << id;
        }
        EXPECT_TRUE(ViewButtonEnabled(IDC_MAIN_MENU));
        EXPECT_FALSE(robot::MenuGrayed(View(), IDC_MAIN_MENU));

        SelectLine(1);
        Key(VK_RETURN);
        EXPECT_FALSE(EditScreenOpen()) << "Enter opened the edit screen";
        robot.DoubleClickItem(ViewList(), 2);
        EXPECT_FALSE(EditScreenOpen()) << "a double-click opened the edit screen";
        EXPECT_EQ(robot.OpenDialogs().size(), 1u) << "only the view is open";
        EXPECT_EQ(testfiles::ReadBytes(path), kColors);
    }
};

TEST_F(SectionViewReadOnlyTest, ReadOnlyFromThePreferencesFileLocksEditDeleteAndInsert) {
    PreferencesAtStart("LockContents=1\r\n");
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    ExpectNothingCanBeChanged(path);
    LeaveView();
}

TEST_F(SectionViewReadOnlyTest, ReadOnlyChosenInTheMainWindowLocksTheViewOpenedAfter) {
    std::string path = WriteIni("colors.ini", kColors);
    Start(path);
    Command(IDM_READ_ONLY);
    ASSERT_TRUE(MenuChecked(IDM_READ_ONLY));
    ASSERT_NO_FATAL_FAILURE(OpenSection(kColorsSection));
    ExpectNothingCanBeChanged(path);
    LeaveView();
}

// ---- the backup before a write -------------------------------------------------------

class SectionViewBackupTest : public SectionViewTest {
protected:
    void SetUp() override {
        SectionViewTest::SetUp();
        DeleteFileA(BackupFile().c_str());
    }
    void TearDown() override {
        SectionViewTest::TearDown();
        DeleteFileA(BackupFile().c_str());
    }
    // Beside the program, named after the INI file with its last "i" made "B".
    static std::string BackupFile() { return testfiles::ExeDirectory() + "\\view.inB"; }
};

TEST_F(SectionViewBackupTest, TheFirstWriteIsPrecededByABackupOfTheFileAsItWas) {
    PreferencesAtStart("Backup=1\r\n");
    std::string path = WriteIni("view.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, kColorsSection));
    ASSERT_FALSE(testfiles::Exists(BackupFile()));

    EditValue(0, "1 1 1");
    const std::string edited = Replace(kColors, "Background=0 0 0", "Background=1 1 1");
    EXPECT_EQ(testfiles::ReadBytes(path), edited);
    EXPECT_EQ(testfiles::ReadBytes(BackupFile()), testfiles::BackupOf(kColors, path));

    // One backup for the file: the next write leaves it as it is.
    EditValue(0, "2 2 2");
    EXPECT_EQ(testfiles::ReadBytes(path), Replace(kColors, "Background=0 0 0", "Background=2 2 2"));
    EXPECT_EQ(testfiles::ReadBytes(BackupFile()), testfiles::BackupOf(kColors, path));
    LeaveView();
}

TEST_F(SectionViewBackupTest, TheBackupIsMadeAlsoWhenTheWriteThenFails) {
    PreferencesAtStart("Backup=1\r\n");
    const std::string bytes = "[Desktop]\r\nWallpaper=(None)\r\n[Colors]\r\nBackground=0 0 0\r\n";
    std::string path = WriteIni("view.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 1));
    ASSERT_EQ(Lines(), Items{"Background=0 0 0"});
    const std::string& onDisk = bytes;
    steps::MessageCount refreshes(View(), WM_REFRESH);
    testfiles::ImmutableFile locked(path);
    ASSERT_TRUE(locked.Immutable()) << "cannot make " << path << " refuse writes";

    HWND screen = EditLine(0);
    ASSERT_NE(screen, nullptr);
    robot.SetText(GetDlgItem(screen, IDC_INPUT_FIELD), "1 1 1");
    robot.Expect("KEPLIN", "KEPLIN could not write profile.").Answer(IDOK);
    robot.Ok(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), onDisk);
    EXPECT_EQ(testfiles::ReadBytes(BackupFile()), testfiles::BackupOf(onDisk, path));
    EXPECT_EQ(refreshes.Count(), 0) << "the view was read again after a failed write";
    LeaveView();
}

// ---- leaving the view ------------------------------------------------------------------

class SectionViewLeavingTest : public SectionViewTest {
protected:
    // The search text that a Find leaves behind.
    static void SetSearchText(const char* text) {
        std::strncpy(SearchState.SearchText, text, sizeof SearchState.SearchText - 1);
    }
};

TEST_F(SectionViewLeavingTest, FindNextIsGrayedInTheViewsSearchMenuWithoutASearchText) {
    ASSERT_NO_FATAL_FAILURE(OpenView(WriteIni("colors.ini", kColors), kColorsSection));
    // Whatever state the item was left in, opening the menu decides it.
    EnableMenuItem(GetMenu(View()), IDC_FIND_NEXT, MF_BYCOMMAND | MF_ENABLED);
    EXPECT_TRUE(FindNextGrayed(View()));
    EXPECT_FALSE(robot::MenuGrayed(View(), IDC_FIND));

    SetSearchText("255");
    EXPECT_FALSE(FindNextGrayed(View()));
    LeaveView();
}

TEST_F(SectionViewLeavingTest, MainMenuReturnsToTheListAndEndsTheSearch) {
    Start(WriteIni("colors.ini", kColors));
    steps::MessageCount findNext(Main(), WM_COMMAND, IDC_FIND_NEXT);
    ASSERT_NO_FATAL_FAILURE(OpenSection(kColorsSection));
    SetSearchText("255");
    LeaveView();
    EXPECT_EQ(findNext.Count(), 0) << "the view ended with a result that continues a search";
    EXPECT_EQ(Focus(), Control(IDC_SECTION_LIST));
    EXPECT_EQ(SelectedSection(), "[Colors]");
    EXPECT_EQ(SearchState.SearchText[0], '\0');
    EXPECT_TRUE(FindNextGrayed());
}

TEST_F(SectionViewLeavingTest, EscapeLeavesLikeMainMenu) {
    Start(WriteIni("colors.ini", kColors));
    steps::MessageCount findNext(Main(), WM_COMMAND, IDC_FIND_NEXT);
    ASSERT_NO_FATAL_FAILURE(OpenSection(kColorsSection));
    SetSearchText("255");
    HWND view = View();
    Key(VK_ESCAPE);
    EXPECT_TRUE(robot.WaitUntilGone(view)) << "Escape did not leave the view";
    EXPECT_EQ(findNext.Count(), 0);
    EXPECT_EQ(Focus(), Control(IDC_SECTION_LIST));
    EXPECT_TRUE(FindNextGrayed());
}

TEST_F(SectionViewLeavingTest, FindNextInAViewOpenedByASearchHandsTheSearchBack) {
    Start(WriteIni("colors.ini", kColors));
    // The main window's search from [Colors] opens the view on its match in
    // the third line (a view opened by hand shows no match).
    SetSearchText("255");
    SearchState.SectionCursor = kColorsSection;
    robot.Command(Main(), IDC_FIND_NEXT);
    HWND view = robot.WaitForWindow(steps::kSectionView);
    ASSERT_NE(view, nullptr) << "the search opened no view";
    steps::MessageCount findNext(Main(), WM_COMMAND, IDC_FIND_NEXT);
    EXPECT_EQ(robot::SelectedIndex(GetDlgItem(view, IDC_VIEW_LIST)), 2) << "the matched line is not selected";
    EXPECT_EQ(Focus(), GetDlgItem(view, IDC_MAIN_MENU)) << "the focus is not on Main Menu";
    // The main window goes on after the last line of [Colors] and finds no more.
    robot.Expect("KEPLIN", "Could not find any more\n255").Answer(IDOK);
    robot.Command(view, IDC_FIND_NEXT);
    EXPECT_TRUE(robot.WaitUntilGone(view)) << "Find Next did not leave the view";
    EXPECT_EQ(findNext.Count(), 1) << "the main window was not told to go on with the search";
}

// ---- headers that are no section for the profile service ---------------------------------

class SectionViewHeaderTest : public SectionViewTest {};

TEST_F(SectionViewHeaderTest, AHeaderWithALeadingBlankEditsThatSection) {
    const std::string bytes =
        "[Desktop]\r\nWallpaper=(None)\r\n [Colors]\r\nBackground=0 0 0\r\nWindow=255 255 255\r\n"
        "[Fonts]\r\nSans=sans.fon\r\n";
    std::string path = WriteIni("blank.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 1));
    EXPECT_EQ(Header(), " [Colors]");
    ASSERT_EQ(Lines(), (Items{"Background=0 0 0", "Window=255 255 255"}));
    EditValue(0, "1 1 1");
    // The service may keep the header's blank or write the header anew; either
    // way the key changed in place and no second Colors section was made.
    std::string after = testfiles::ReadBytes(path);
    EXPECT_EQ(Count(after, "Colors]"), 1u) << after;
    EXPECT_EQ(after.find("Background=0 0 0"), std::string::npos) << after;
    EXPECT_NE(after.find("Colors]\r\nBackground=1 1 1\r\nWindow=255 255 255\r\n[Fonts]\r\nSans=sans.fon\r\n"),
              std::string::npos)
        << after;
    EXPECT_EQ(after.rfind("[Desktop]\r\nWallpaper=(None)\r\n", 0), 0u) << after;
    LeaveView();
}

TEST_F(SectionViewHeaderTest, AHeaderWithALetterBeforeItsBracketIsRefusedForEveryChange) {
    const std::string bytes =
        "[Desktop]\r\nWallpaper=(None)\r\nx[Colors]\r\nBackground=0 0 0\r\n[Fonts]\r\nSans=sans.fon\r\n";
    std::string path = WriteIni("letter.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 1));
    EXPECT_EQ(Header(), "x[Colors]");
    ASSERT_EQ(Lines(), Items{"Background=0 0 0"});
    const std::string refusal = "Sorry, KEPLIN cannot change x[Colors]\nbecause its line does not start with [.";

    SelectLine(0);
    robot.Expect("KEPLIN", refusal).Answer(IDOK);
    ClickInView(IDC_EDIT_KEY);
    EXPECT_FALSE(EditScreenOpen());
    robot.Expect("KEPLIN", refusal).Answer(IDOK);
    ClickInView(IDC_DELETE_KEY);
    robot.Expect("KEPLIN", refusal).Answer(IDOK);
    ClickInView(IDC_INSERT);
    EXPECT_EQ(robot.FindWindowOf(steps::kInsertScreen), nullptr);

    EXPECT_EQ(testfiles::ReadBytes(path), bytes) << "a change reached the file";
    EXPECT_EQ(Lines(), Items{"Background=0 0 0"});
    LeaveView();
}

// ---- long lines, listed in pieces ---------------------------------------------------

class SectionViewLongLineTest : public SectionViewTest {
protected:
    // A key whose line of 205 characters is listed as pieces of 149 and 56.
    const std::string value_ = std::string(100, 'a') + std::string(100, 'b');
    const std::string bytes_ = "[Long]\r\nShort=1\r\nLong=" + value_ + "\r\nAfter=2\r\n[Next]\r\n";
    const Items lines_{"Short=1", ("Long=" + value_).substr(0, 149), ("Long=" + value_).substr(149), "After=2"};
};

TEST_F(SectionViewLongLineTest, EditOnTheFirstPieceOffersAndKeepsTheWholeValue) {
    std::string path = WriteIni("long-line.ini", bytes_);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    ASSERT_EQ(Lines(), lines_) << "the list shows the pieces as before";
    HWND screen = EditLine(1);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(TextOf(screen, IDC_INPUT_LABEL), "Long");
    EXPECT_EQ(TextOf(screen, IDC_INPUT_FIELD), value_);
    robot.Ok(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), bytes_) << "OK with nothing changed changed the file";

    screen = EditLine(1);
    ASSERT_NE(screen, nullptr);
    robot.SetText(GetDlgItem(screen, IDC_INPUT_FIELD), "c" + value_.substr(1));
    robot.Ok(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), Replace(bytes_, "Long=a", "Long=c"));
    LeaveView();
}

TEST_F(SectionViewLongLineTest, ALaterPieceIsRefusedForEditAndDeleteAndTheFirstDeletesTheWholeLine) {
    std::string path = WriteIni("long-line.ini", bytes_);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    ASSERT_EQ(Lines(), lines_);
    SelectLine(2);
    const std::string piece = lines_[2];
    robot.Expect("KEPLIN", "This is a later part of a long line:\n" + piece +
                               "\n\nSelect the part that begins the line to Edit it.").Answer(IDOK);
    ClickInView(IDC_EDIT_KEY);
    EXPECT_FALSE(EditScreenOpen());
    robot.Expect("KEPLIN", "This is a later part of a long line:\n" + piece +
                               "\n\nSelect the part that begins the line to Delete it.").Answer(IDOK);
    ClickInView(IDC_DELETE_KEY);
    EXPECT_EQ(testfiles::ReadBytes(path), bytes_);

    SelectLine(1);
    robot.Expect("KEPLIN", "Are you sure you want to DELETE\nLong ?").Answer(IDYES);
    ClickInView(IDC_DELETE_KEY);
    EXPECT_EQ(testfiles::ReadBytes(path), "[Long]\r\nShort=1\r\nAfter=2\r\n[Next]\r\n");
    EXPECT_EQ(Lines(), (Items{"Short=1", "After=2"}));
    LeaveView();
}

TEST_F(SectionViewLongLineTest, WithAlphabetizeOnThePiecesStillLeadToTheirLines) {
    PreferencesAtStart("Alphabetize=1\r\n");
    const std::string bytes = "[Long]\r\nzz=" + std::string(200, 'z') + "\r\naa=" + std::string(200, 'a') + "\r\n";
    std::string path = WriteIni("sorted-long.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    // Sorted: "aa=a...", its later piece "aaa...", then "zz=...", "zzz...".
    ASSERT_EQ(Lines().size(), 4u);
    HWND screen = EditLine(2);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(TextOf(screen, IDC_INPUT_LABEL), "zz");
    EXPECT_EQ(TextOf(screen, IDC_INPUT_FIELD), std::string(200, 'z'));
    robot.Cancel(screen);
    SelectLine(1);
    robot.Expect("KEPLIN", "This is a later part of a long line:\n" + Lines()[1] +
                               "\n\nSelect the part that begins the line to Edit it.").Answer(IDOK);
    ClickInView(IDC_EDIT_KEY);
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);
    LeaveView();
}

// A line of 205 characters, deleted and inserted again by Undo: the list
// scrolls sideways as far as its widest line, as the list's font draws it,
// and no farther; with short lines only, not at all.
TEST_F(SectionViewLongLineTest, TheListScrollsSidewaysAsFarAsItsWidestLineAsALongLineGoesAndComesBack) {
    std::string path = WriteIni("long-line.ini", bytes_);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    const auto expectExtentOfWidestLine = [&](bool scrolls) {
        LONG widest = 0;
        for (const std::string& line : Lines()) widest = std::max(widest, robot::TextExtent(ViewList(), line).cx);
        const LRESULT extent = SendMessageW(ViewList(), LB_GETHORIZONTALEXTENT, 0, 0);
        EXPECT_GE(extent, widest);
        EXPECT_LT(extent, widest + robot::TextExtent(ViewList(), "M").cx);
        EXPECT_EQ((GetWindowLongW(ViewList(), GWL_STYLE) & WS_HSCROLL) != 0, scrolls) << "the horizontal scroll bar";
    };
    ASSERT_EQ(Lines(), lines_);
    expectExtentOfWidestLine(true);

    SelectLine(1);
    robot.Expect("KEPLIN", "Are you sure you want to DELETE\nLong ?").Answer(IDYES);
    ClickInView(IDC_DELETE_KEY);
    ASSERT_EQ(Lines(), (Items{"Short=1", "After=2"}));
    expectExtentOfWidestLine(false);

    robot.Command(View(), IDM_UNDO);
    ASSERT_EQ(Lines(), lines_);
    expectExtentOfWidestLine(true);
    LeaveView();
}

// ---- Read Only when the file cannot be read ------------------------------------------

TEST_F(SectionViewReadOnlyTest, ReadOnlyHoldsWhenTheFirstRefreshCannotReadTheFile) {
    PreferencesAtStart("LockContents=1\r\n");
    std::string path = WriteIni("colors.ini", kColors);
    ASSERT_NO_FATAL_FAILURE(Start(path));
    robot.SelectItem(Control(IDC_SECTION_LIST), kColorsSection);
    robot.ChangeBeforeNextAction([&] { EXPECT_TRUE(DeleteFileA(path.c_str())); });
    robot.Expect("KEPLIN", "Sorry, Could not find colors.ini").Answer(IDOK);
    Click(IDC_VIEW_SECTION);
    HWND view = robot.Opened(steps::kSectionView);
    ASSERT_NE(view, nullptr);
    for (int id : {IDC_EDIT_KEY, IDC_DELETE_KEY, IDC_INSERT}) {
        EXPECT_FALSE(robot::IsEnabled(GetDlgItem(view, id))) << "button " << id;
        EXPECT_TRUE(robot::MenuGrayed(view, id)) << "menu item " << id;
    }
    // The commands themselves refuse too, whatever reaches them.
    robot.Command(view, IDC_INSERT);
    EXPECT_EQ(robot.FindWindowOf(steps::kInsertScreen), nullptr);
    robot.LeaveView(view);
    EXPECT_FALSE(testfiles::Exists(path)) << "a change made the file again";
}

TEST_F(SectionViewHeaderTest, AHeaderWithASecondBracketEditsTheSectionTheServiceReads) {
    // The list shows "[A]"; the profile service reads the section "A] ; see [B]".
    const std::string bytes = "[A] ; see [B]\r\nk=1\r\n[B]\r\nb=2\r\n";
    std::string path = WriteIni("brackets.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    EXPECT_EQ(Header(), "[A]");
    EditValue(0, "2");
    EXPECT_EQ(testfiles::ReadBytes(path), "[A] ; see [B]\r\nk=2\r\n[B]\r\nb=2\r\n");
    LeaveView();
}

TEST_F(SectionViewHeaderTest, ASectionWithoutANameIsRefusedForEveryChange) {
    // To the profile service the empty name means the lines before the first
    // header, so a change would land there.
    const std::string bytes = "top=1\r\n[]\r\ne=1\r\n";
    std::string path = WriteIni("no-name.ini", bytes);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    ASSERT_EQ(Header(), "[]");
    const std::string refusal = "Sorry, KEPLIN cannot change []\nbecause its section has no name.";
    SelectLine(0);
    robot.Expect("KEPLIN", refusal).Answer(IDOK);
    ClickInView(IDC_EDIT_KEY);
    robot.Expect("KEPLIN", refusal).Answer(IDOK);
    ClickInView(IDC_INSERT);
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);
    LeaveView();
}

// ---- a binary file --------------------------------------------------------------

namespace {

// A section among bytes that are no text: a NUL inside a line, control and
// high bytes (not UTF-8, so read in the ANSI code page, 1252 here), and a
// last line of NULs without a line end.
const std::string kBinary = testfiles::Bytes(
    "\x01\x02\xff\xfe\x00\x00 junk\r\n[Bin]\r\none=1\r\nnul=before\0after\r\n\x01\x02junk\x7f\xff\xfe\r\n"
    "two=2\r\nraw=\x01\x02\x7f\x80\xff\r\n[End]\r\nz=9\r\n\0\0\x01tail");

}  // namespace

class SectionViewBinaryTest : public SectionViewTest {};

TEST_F(SectionViewBinaryTest, LinesEndAtANulAndChangesKeepEveryOtherByte) {
    std::string path = WriteIni("binary.ini", kBinary);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 0));
    EXPECT_EQ(Header(), "[Bin]");
    // The bytes above 127 are the code page's characters: 80 is the euro sign.
    EXPECT_EQ(Lines(), (Items{"one=1", "nul=before", "\x01\x02junk\x7f\u00ff\u00fe", "two=2",
                              "raw=\x01\x02\x7f\u20ac\u00ff"}));

    // A value of control and high bytes goes through the edit screen and
    // back unchanged.
    HWND screen = EditLine(4);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(TextOf(screen, IDC_INPUT_FIELD), "\x01\x02\x7f\u20ac\u00ff");
    robot.Ok(screen);
    EXPECT_EQ(testfiles::ReadBytes(path), kBinary);

    EditValue(3, "2b");
    std::string expected = Replace(kBinary, "two=2\r\n", "two=2b\r\n");
    EXPECT_EQ(testfiles::ReadBytes(path), expected);
    SelectLine(0);
    robot.Expect("KEPLIN", "Are you sure you want to DELETE\none ?").Answer(IDYES);
    ClickInView(IDC_DELETE_KEY);
    expected = Replace(expected, "one=1\r\n", "");
    EXPECT_EQ(testfiles::ReadBytes(path), expected);
    ASSERT_EQ(Lines(), (Items{"nul=before", "\x01\x02junk\x7f\u00ff\u00fe", "two=2b", "raw=\x01\x02\x7f\u20ac\u00ff"}));

    // Find goes over the same lines the view shows: the text after a NUL is
    // not one of them.
    SelectLine(0);
    robot.Find(View(), "JUNK");
    EXPECT_EQ(SelectedLine(), 1);
    SelectLine(0);
    robot.Find(View(), "after", false, "Could not find any.");
    LeaveView();
    // And so does the walk over the whole file from the main window.
    robot.Find(Main(), "\x7f\u20ac");
    HWND found = robot.Opened(steps::kSectionView);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(robot::SelectedIndex(GetDlgItem(found, IDC_VIEW_LIST)), 3);
    robot.LeaveView(found);
    robot.SelectItem(Control(IDC_SECTION_LIST), 0);
    robot.Find(Main(), "after", false, "Could not find any more\nafter");
    EXPECT_EQ(testfiles::ReadBytes(path), expected);
}

TEST_F(SectionViewBinaryTest, AKeyInsertedAfterALastLineOfNulsWithoutALineEndKeepsThatLine) {
    std::string path = WriteIni("binary.ini", kBinary);
    ASSERT_NO_FATAL_FAILURE(OpenView(path, 1));
    ASSERT_EQ(Header(), "[End]");
    robot.InsertKey(View(), "new", "3");
    // The last line gets its line end; the file still ends without one.
    EXPECT_EQ(testfiles::ReadBytes(path), kBinary + "\r\nnew=3");
    EXPECT_EQ(Lines(), (Items{"z=9", "new=3"}));
    LeaveView();
}
