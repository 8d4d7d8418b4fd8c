// Find and Find Next, run in this process: the Find dialog, the walk over the
// sections from the main window, the hand-over to the section view and back,
// and the search inside one section view.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/win32/records.h"
#include "program_test.h"
#include "unix_shell.h"

namespace {

// A desktop settings file. "window" is in two lines of [Colors] and in the
// header [Windows]; "0 0" only in [Colors].
const char kDesktop[] =
    "[Desktop]\r\nWallpaper=(None)\r\nTileWallpaper=0\r\n"
    "[Colors]\r\nBackground=0 0 0\r\nWindow=255 255 255\r\nWindowText=0 0 0\r\n"
    "[Fonts]\r\nSans=sans.fon\r\n"
    "[Windows]\r\nload=\r\nrun=\r\n";
const int kColors = 1;
const int kFonts = 2;
const int kWindows = 3;

}  // namespace

class SearchTest : public ProgramTest {
protected:
    void StartOn(const std::string& bytes) { ASSERT_NO_FATAL_FAILURE(Start(WriteIni("search.ini", bytes))); }

    static bool MatchCaseChecked(HWND dialog) { return IsDlgButtonChecked(dialog, IDC_MATCH_CASE) == BST_CHECKED; }
    static std::string FieldText(HWND dialog) { return robot::Text(GetDlgItem(dialog, IDC_FIND_TEXT)); }

    // The section view, when one is open.
    HWND OpenView() const { return robot.FindWindowOf(steps::kSectionView); }
    HWND WaitForView() { return robot.Opened(steps::kSectionView); }
    static HWND ViewList(HWND view) { return GetDlgItem(view, IDC_VIEW_LIST); }
    static std::string ViewHeaderText(HWND view) { return robot::Text(GetDlgItem(view, IDC_VIEW_HEADER)); }
    static int ViewSelection(HWND view) { return robot::SelectedIndex(ViewList(view)); }
    static std::string SelectedLineText(HWND view) {
        Items lines = robot::ListItems(ViewList(view));
        int at = ViewSelection(view);
        return at >= 0 && at < static_cast<int>(lines.size()) ? lines[at] : "<none>";
    }
    // Find Next from the view's Search menu.
    void FindNextInView(HWND view) { robot.Command(view, IDC_FIND_NEXT); }

    // Find from the main window for a text whose first match is in a line:
    // the section view that the search opens.
    HWND FoundInALine(const std::string& text) {
        robot.Find(Main(), text);
        return WaitForView();
    }
};

// ---- the Find dialog ------------------------------------------------------------------

class FindDialogTest : public SearchTest {};

TEST_F(FindDialogTest, AsksForTheTextAndMatchCaseWithTheFocusInTheField) {
    StartOn(kDesktop);
    HWND dialog = robot.OpenFind(Main());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(robot::ShowsText(dialog, "Fi&nd What:"));
    EXPECT_TRUE(robot::ShowsText(dialog, "Match &Case"));
    EXPECT_TRUE(robot::ShowsText(dialog, "&Find"));
    EXPECT_TRUE(robot::ShowsText(dialog, "Cancel"));
    EXPECT_EQ(FieldText(dialog), "");
    EXPECT_FALSE(MatchCaseChecked(dialog));
    EXPECT_EQ(Focus(), GetDlgItem(dialog, IDC_FIND_TEXT));
    EXPECT_FALSE(IsWindowEnabled(Main())) << "the Find dialog is modal";
    // Enter in the field chooses Find, the default button.
    robot.SetText(GetDlgItem(dialog, IDC_FIND_TEXT), "0 0");
    Key(VK_RETURN);
    EXPECT_TRUE(robot.WaitUntilGone(dialog));
    HWND view = WaitForView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(SelectedLineText(view), "Background=0 0 0");
    robot.LeaveView(view);
}

TEST_F(FindDialogTest, FindWithAnEmptyTextSearchesNothingAndLeavesFindNextGrayed) {
    StartOn(kDesktop);
    robot.SelectItem(Control(IDC_SECTION_LIST), kFonts);
    robot.Find(Main(), "");
    robot.ExpectNoMessageBox();
    EXPECT_EQ(OpenView(), nullptr);
    EXPECT_EQ(SelectedIndex(), kFonts);
    EXPECT_TRUE(FindNextGrayed());
    // F3 with no search running does nothing either.
    Key(VK_F3);
    robot.ExpectNoMessageBox();
    EXPECT_EQ(SelectedIndex(), kFonts);
}

TEST_F(FindDialogTest, TheTextAndMatchCaseAreOfferedAgainUntilTheSearchEnds) {
    StartOn(kDesktop);
    // "Windows" in this case is the header [Windows]: selected, no view.
    robot.Find(Main(), "Windows", true);
    EXPECT_EQ(SelectedIndex(), kWindows);
    EXPECT_FALSE(FindNextGrayed());

    HWND dialog = robot.OpenFind(Main());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FieldText(dialog), "Windows");
    EXPECT_TRUE(MatchCaseChecked(dialog));
    robot.Cancel(dialog);

    // Cancel ended the search: the text is gone, Match Case stays as last set.
    dialog = robot.OpenFind(Main());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FieldText(dialog), "");
    EXPECT_TRUE(MatchCaseChecked(dialog));
    robot.Cancel(dialog);
}

TEST_F(FindDialogTest, CancelDuringASearchGraysFindNextAndEndsTheSearch) {
    StartOn(kDesktop);
    robot.Find(Main(), "[windows]");
    ASSERT_EQ(SelectedIndex(), kWindows);
    EXPECT_FALSE(FindNextGrayed());
    HWND dialog = robot.OpenFind(Main());
    ASSERT_NE(dialog, nullptr);
    robot.Cancel(dialog);
    EXPECT_TRUE(FindNextGrayed());
    EXPECT_EQ(SearchState.SearchText[0], '\0');
    // F3 in the list goes on with no search.
    Key(VK_F3);
    robot.ExpectNoMessageBox();
    EXPECT_EQ(OpenView(), nullptr);
}

TEST_F(FindDialogTest, EscapeAndTheCaptionsCloseActAsCancel) {
    StartOn(kDesktop);
    robot.Find(Main(), "[windows]");
    ASSERT_FALSE(FindNextGrayed());
    HWND dialog = robot.OpenFind(Main());
    ASSERT_NE(dialog, nullptr);
    Key(VK_ESCAPE);
    EXPECT_TRUE(robot.WaitUntilGone(dialog)) << "Escape did not close the Find dialog";
    EXPECT_TRUE(FindNextGrayed());

    robot.Find(Main(), "[windows]");
    ASSERT_FALSE(FindNextGrayed());
    dialog = robot.OpenFind(Main());
    ASSERT_NE(dialog, nullptr);
    robot.Post(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(robot.WaitUntilGone(dialog)) << "Close did not close the Find dialog";
    EXPECT_TRUE(FindNextGrayed());
    EXPECT_EQ(OpenView(), nullptr);
}

// ---- the walk from the main window ------------------------------------------------------

class SearchWalkTest : public SearchTest {};

TEST_F(SearchWalkTest, AMatchInALineOpensTheSectionOnThatLineWithTheFocusOnMainMenu) {
    StartOn(kDesktop);
    HWND view = FoundInALine("window");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(SelectedSection(), "[Colors]");
    EXPECT_EQ(ViewHeaderText(view), "[Colors]");
    EXPECT_EQ(ViewSelection(view), 1);
    EXPECT_EQ(SelectedLineText(view), "Window=255 255 255");
    EXPECT_EQ(Focus(), GetDlgItem(view, IDC_MAIN_MENU));
    robot.LeaveView(view);
}

TEST_F(SearchWalkTest, FindNextAndF3InTheViewGoOnWithTheWalkToTheEnd) {
    StartOn(kDesktop);
    HWND first = FoundInALine("window");
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(ViewSelection(first), 1);

    // Find Next from the view's menu: the view closes and opens again on the next line.
    FindNextInView(first);
    ASSERT_TRUE(robot.WaitUntilGone(first)) << "Find Next did not leave the view";
    HWND second = WaitForView();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ViewSelection(second), 2);
    EXPECT_EQ(SelectedLineText(second), "WindowText=0 0 0");
    ASSERT_EQ(Focus(), GetDlgItem(second, IDC_MAIN_MENU));

    // F3 where the focus is, on Main Menu: the walk goes on to the header [Windows].
    Key(VK_F3);
    ASSERT_TRUE(robot.WaitUntilGone(second)) << "F3 did not leave the view";
    EXPECT_EQ(OpenView(), nullptr) << "a header match opens no view";
    EXPECT_EQ(SelectedIndex(), kWindows);
    EXPECT_EQ(Focus(), Control(IDC_SECTION_LIST));

    // F3 in the list: the lines of [Windows], then the end. No wrap to [Colors].
    robot.Expect("KEPLIN", "Could not find any more\nwindow").Answer(IDOK);
    Key(VK_F3);
    EXPECT_EQ(OpenView(), nullptr);
    EXPECT_EQ(SelectedIndex(), kWindows);
    EXPECT_TRUE(FindNextGrayed());
    Key(VK_F3);
    robot.ExpectNoMessageBox();
}

TEST_F(SearchWalkTest, ATypedRInAViewOpenedByASearchDoesNotEndIt) {
    StartOn(kDesktop);
    HWND view = FoundInALine("window");
    ASSERT_NE(view, nullptr);
    // "r" shares its code, 114, with F3.
    robot.SelectItem(ViewList(view), 0);
    ASSERT_EQ(Focus(), ViewList(view));
    robot.Type(ViewList(view), "r");
    robot.ExpectNoMessageBox();
    EXPECT_EQ(OpenView(), view) << "a typed r ended the view";
    // The F3 key itself still goes on from the list.
    Key(VK_F3);
    EXPECT_TRUE(robot.WaitUntilGone(view)) << "F3 in the list did not go on";
    HWND next = WaitForView();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(SelectedLineText(next), "WindowText=0 0 0");
    robot.LeaveView(next);
}

TEST_F(SearchWalkTest, F3SentToTheMainWindowItselfGoesOn) {
    StartOn(kDesktop);
    robot.Find(Main(), "[fonts]");
    ASSERT_EQ(SelectedIndex(), kFonts);
    robot.Expect("KEPLIN", "Could not find any more\n[fonts]").Answer(IDOK);
    robot.Key(Main(), VK_F3);
    EXPECT_TRUE(FindNextGrayed());
}

TEST_F(SearchWalkTest, MainMenuInTheViewEndsTheSearch) {
    StartOn(kDesktop);
    HWND view = FoundInALine("window");
    ASSERT_NE(view, nullptr);
    robot.LeaveView(view);
    robot.ExpectNoMessageBox();
    EXPECT_EQ(OpenView(), nullptr) << "the walk went on after Main Menu";
    EXPECT_EQ(SelectedSection(), "[Colors]");
    EXPECT_EQ(Focus(), Control(IDC_SECTION_LIST));
    EXPECT_TRUE(FindNextGrayed());
    Key(VK_F3);
    robot.ExpectNoMessageBox();
    EXPECT_EQ(OpenView(), nullptr);
}

TEST_F(SearchWalkTest, AHeaderMatchSelectsItAndTheNextFindNextTestsItsLines) {
    StartOn("[Desktop]\r\nWallpaper=(None)\r\n[Sound]\r\nSystemDefault=sound.wav\r\n[Fonts]\r\nSans=sans.fon\r\n");
    robot.Find(Main(), "SOUND");
    EXPECT_EQ(SelectedSection(), "[Sound]");
    EXPECT_EQ(OpenView(), nullptr);
    Command(IDC_FIND_NEXT);
    HWND view = WaitForView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ViewHeaderText(view), "[Sound]");
    EXPECT_EQ(SelectedLineText(view), "SystemDefault=sound.wav");
    robot.Expect("KEPLIN", "Could not find any more\nSOUND").Answer(IDOK);
    FindNextInView(view);
    EXPECT_TRUE(robot.WaitUntilGone(view));
    EXPECT_EQ(OpenView(), nullptr) << "the header [Sound] was found again";
}

TEST_F(SearchWalkTest, TheWalkStartsAtTheSelectedSectionAndDoesNotWrapRound) {
    StartOn(kDesktop);
    robot.SelectItem(Control(IDC_SECTION_LIST), kFonts);
    robot.Find(Main(), "0 0", false, "Could not find any more\n0 0");
    EXPECT_EQ(OpenView(), nullptr) << "the walk went back to [Colors]";
    EXPECT_EQ(SelectedIndex(), kFonts);
    EXPECT_TRUE(FindNextGrayed());
}

TEST_F(SearchWalkTest, MatchCaseOnFindsOnlyTheSameLetterCase) {
    StartOn(kDesktop);
    robot.Find(Main(), "WINDOW", true, "Could not find any more\nWINDOW");
    EXPECT_EQ(OpenView(), nullptr);
    robot.Find(Main(), "WindowT", true);
    HWND view = WaitForView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(SelectedLineText(view), "WindowText=0 0 0");
    robot.LeaveView(view);
}

TEST_F(SearchWalkTest, ASectionNoLongerInTheFileIsPassedOver) {
    StartOn(kDesktop);
    ASSERT_EQ(Sections(), (Items{"[Desktop]", "[Colors]", "[Fonts]", "[Windows]"}));
    // Another program removes [Colors] after the list was made, just before Find.
    robot.ChangeBeforeNextAction([&] {
        EXPECT_TRUE(testfiles::WriteBytes(PathOf("search.ini"),
                                          "[Desktop]\r\nWallpaper=(None)\r\n[Fonts]\r\nSans=sans.fon\r\n"
                                          "[Windows]\r\nload=\r\nrun=\r\n"));
    });
    robot.Find(Main(), "window");
    EXPECT_EQ(OpenView(), nullptr);
    // The list follows the file once the search is done: the match stays selected.
    EXPECT_EQ(SelectedSection(), "[Windows]");
}

TEST_F(SearchWalkTest, AFileThatHasGoneIsReportedWhenItsLinesAreNeeded) {
    StartOn(kDesktop);
    robot.ChangeBeforeNextAction([&] { EXPECT_TRUE(DeleteFileA(PathOf("search.ini").c_str())); });
    robot.Find(Main(), "window", false, "Sorry, Could not find search.ini");
    EXPECT_EQ(OpenView(), nullptr);
    EXPECT_EQ(Sections().size(), 4u) << "the list stays as it was";
    EXPECT_FALSE(FindNextGrayed()) << "the search text stays";
}

TEST_F(SearchWalkTest, AFileReplacedBetweenFindAndFindNextIsReadAgainAtTheCursor) {
    StartOn(kDesktop);
    HWND view = FoundInALine("window");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(SelectedLineText(view), "Window=255 255 255");
    // Another program puts a new version in place: "window" now also in the
    // lines of [Fonts], and the first match's line is gone.
    ASSERT_TRUE(testfiles::WriteBytes(PathOf("new.ini"),
                                      "[Desktop]\r\n[Colors]\r\nBackground=0 0 0\r\nWindowText=0 0 0\r\n"
                                      "[Fonts]\r\nWindow=mono.fon\r\n[Windows]\r\n"));
    robot.ChangeBeforeNextAction([&] {
        EXPECT_TRUE(MoveFileExA(PathOf("new.ini").c_str(), PathOf("search.ini").c_str(), MOVEFILE_REPLACE_EXISTING));
    });
    // Find Next goes on from line 2 of [Colors] in the new version.
    FindNextInView(view);
    ASSERT_TRUE(robot.WaitUntilGone(view));
    view = WaitForView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ViewHeaderText(view), "[Fonts]");
    EXPECT_EQ(SelectedLineText(view), "Window=mono.fon");
    // The file goes away, then comes back: reported once, then the walk goes on.
    robot.ChangeBeforeNextAction(
        [&] { EXPECT_TRUE(MoveFileExA(PathOf("search.ini").c_str(), PathOf("away.ini").c_str(), 0)); });
    robot.Expect("KEPLIN", "Sorry, Could not find search.ini").Answer(IDOK);
    FindNextInView(view);
    ASSERT_TRUE(robot.WaitUntilGone(view));
    EXPECT_EQ(OpenView(), nullptr);
    robot.ChangeBeforeNextAction(
        [&] { EXPECT_TRUE(MoveFileExA(PathOf("away.ini").c_str(), PathOf("search.ini").c_str(), 0)); });
    robot.Command(Main(), IDC_FIND_NEXT);
    EXPECT_EQ(OpenView(), nullptr) << "a header match opens no view";
    EXPECT_EQ(SelectedIndex(), kWindows);
}

TEST_F(SearchWalkTest, WalksWhileAnotherProgramReplacesTheFileOverAndOverEachReadOneWholeVersion) {
    // Two versions with the same headers: "needle" in line 2 of [S1500] in
    // both, but the sections before it hold one line more in the second, so
    // a walk that mixed bytes of the two would land elsewhere.
    std::string first, second;
    for (int i = 0; i < 3000; ++i) {
        const std::string n = std::to_string(i);
        first += "[S" + n + "]\r\nk=" + n + "\r\n";
        second += "[S" + n + "]\r\nk=" + n + "\r\n";
        if (i < 1500) second += "pad=" + n + "\r\n";
        if (i == 1500) {
            first += "needle=first\r\n";
            second += "needle=second\r\n";
        }
    }
    StartOn(first);
    ASSERT_TRUE(testfiles::WriteBytes(PathOf("first.ini"), first));
    ASSERT_TRUE(testfiles::WriteBytes(PathOf("second.ini"), second));
    // The other program: a Unix loop renaming a fresh copy of each version
    // over the file in turn until told to stop.
    const std::string loop =
        "(while [ ! -e stop ]; do for v in first second; do cp $v.ini next.ini && mv -f next.ini search.ini; done; "
        "done; touch stopped) >/dev/null 2>&1 &";
    ASSERT_EQ(testfiles::RunShell(Folder(), loop).status, 0);
    int firsts = 0, seconds = 0;
    for (int round = 0; round < 20; ++round) {
        robot.SelectItem(Control(IDC_SECTION_LIST), 0);
        HWND view = FoundInALine("needle");
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(ViewHeaderText(view), "[S1500]");
        const std::string line = SelectedLineText(view);
        EXPECT_TRUE(line == "needle=first" || line == "needle=second") << line;
        (line == "needle=first" ? firsts : seconds) += 1;
        robot.LeaveView(view);
    }
    ASSERT_TRUE(testfiles::WriteBytes(PathOf("stop"), ""));
    EXPECT_TRUE(robot.WaitUntil([&] { return testfiles::Exists(PathOf("stopped")); }, 10000));
    // Searching wrote nothing: the file is one version or the other, whole.
    const std::string last = testfiles::ReadBytes(PathOf("search.ini"));
    EXPECT_TRUE(last == first || last == second);
    // The program started on the first version; the second seen proves that
    // the file really was replaced while the searches ran.
    EXPECT_GT(seconds, 0) << "the file was never replaced during the searches";
    std::printf("[          ] views on the first version: %d, on the second: %d\n", firsts, seconds);
}

TEST_F(SearchWalkTest, WithAlphabetizeOnTheViewShowsTheMatchedLineAtTheFoundPosition) {
    PreferencesAtStart("Alphabetize=1\r\n");
    // Lines that differ only in case, hyphens and apostrophes, digits and leading blanks.
    StartOn("[Mixed]\r\nb-key=hyphen\r\nbkey=plain\r\nB'key=apostrophe\r\nBKEY=upper\r\n bkey=blank\r\n"
            "b10=ten\r\nb9=nine key\r\nbKey=mixed\r\n"
            "[alpha]\r\nzkey=1\r\nakey=2\r\n");
    ASSERT_EQ(Sections(), (Items{"[alpha]", "[Mixed]"}));
    Items found;
    std::vector<int> positions;
    robot.SelectItem(Control(IDC_SECTION_LIST), 0);
    robot.Find(Main(), "key");
    for (HWND view = WaitForView(); view != nullptr; view = robot.WaitForWindow(steps::kSectionView, "#32770", 1000)) {
        found.push_back(ViewHeaderText(view) + " " + SelectedLineText(view));
        positions.push_back(ViewSelection(view));
        if (found.size() == 9) robot.Expect("KEPLIN", "Could not find any more\nkey").Answer(IDOK);
        FindNextInView(view);
        ASSERT_TRUE(robot.WaitUntilGone(view));
        if (found.size() > 12) break;
    }
    EXPECT_EQ(found, (Items{"[alpha] akey=2", "[alpha] zkey=1", "[Mixed]  bkey=blank", "[Mixed] B'key=apostrophe",
                            "[Mixed] b-key=hyphen", "[Mixed] b9=nine key", "[Mixed] bKey=mixed",
                            "[Mixed] bkey=plain", "[Mixed] BKEY=upper"}));
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 0, 1, 2, 4, 5, 6, 7}));
}

TEST_F(SearchWalkTest, ASectionOpenedByHandAfterAHeaderMatchIsAnOrdinaryView) {
    StartOn("[Desktop]\r\nWallpaper=(None)\r\n[Sound]\r\nBeep=yes\r\nSystemDefault=sound.wav\r\n");
    robot.Find(Main(), "sound");
    ASSERT_EQ(SelectedSection(), "[Sound]");
    ASSERT_EQ(OpenView(), nullptr);
    // Enter opens the matched section by hand: no match is shown in it.
    Key(VK_RETURN);
    HWND view = WaitForView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ViewSelection(view), 0);
    EXPECT_EQ(Focus(), ViewList(view));
    Key(VK_F3);
    robot.ExpectNoMessageBox();
    EXPECT_EQ(OpenView(), view) << "F3 ended a view the search did not open";
    robot.LeaveView(view);
}

// ---- searching inside one section view --------------------------------------------------

class ViewSearchTest : public SearchTest {};

TEST_F(ViewSearchTest, FindStartsAtTheSelectedLineItselfAndFindNextGoesOnToTheEnd) {
    StartOn(kDesktop);
    HWND view = robot.OpenSection(Main(), kColors);
    ASSERT_NE(view, nullptr);
    robot.SelectItem(ViewList(view), 2);
    robot.Find(view, "0 0");
    EXPECT_EQ(ViewSelection(view), 2) << "the selected line itself holds the text";

    robot.SelectItem(ViewList(view), 1);
    robot.Find(view, "0 0");
    EXPECT_EQ(ViewSelection(view), 2);
    robot.Expect("KEPLIN", "Could not find any more\n0 0").Answer(IDOK);
    FindNextInView(view);
    EXPECT_EQ(OpenView(), view) << "the view's own search never leaves it";
    EXPECT_TRUE(FindNextGrayed(view));
    robot.LeaveView(view);
    EXPECT_EQ(OpenView(), nullptr);
}

TEST_F(ViewSearchTest, NothingFoundFromTheSelectedLineKeepsTheTextForFindNextFromTheTop) {
    StartOn(kDesktop);
    HWND view = robot.OpenSection(Main(), kColors);
    ASSERT_NE(view, nullptr);
    robot.SelectItem(ViewList(view), 1);
    robot.Find(view, "background", false, "Could not find any.");
    EXPECT_FALSE(FindNextGrayed(view));
    FindNextInView(view);
    EXPECT_EQ(ViewSelection(view), 0);
    EXPECT_EQ(SelectedLineText(view), "Background=0 0 0");
    robot.LeaveView(view);
}

TEST_F(ViewSearchTest, FindInAViewOpenedByTheWalkSearchesOnlyThatView) {
    StartOn(kDesktop);
    HWND view = FoundInALine("window");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(ViewSelection(view), 1);
    robot.Find(view, "0 0");
    EXPECT_EQ(ViewSelection(view), 2);
    robot.Expect("KEPLIN", "Could not find any more\n0 0").Answer(IDOK);
    FindNextInView(view);
    EXPECT_EQ(OpenView(), view);
    robot.LeaveView(view);
    robot.ExpectNoMessageBox();
    EXPECT_EQ(OpenView(), nullptr);
    EXPECT_TRUE(FindNextGrayed());
}

TEST_F(ViewSearchTest, CancelInTheViewsFindDialogGraysItsFindNext) {
    StartOn(kDesktop);
    HWND view = robot.OpenSection(Main(), kColors);
    ASSERT_NE(view, nullptr);
    robot.Find(view, "255");
    EXPECT_EQ(ViewSelection(view), 1);
    EXPECT_FALSE(FindNextGrayed(view));
    HWND dialog = robot.OpenFind(view);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FieldText(dialog), "255");
    robot.Cancel(dialog);
    EXPECT_TRUE(FindNextGrayed(view));
    robot.LeaveView(view);
}
