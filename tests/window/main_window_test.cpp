// The main window, run in this process: its list of sections, the label with
// the file's path, dropped files, closing, the menus and the About box.
#include <cctype>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "program_test.h"

namespace {

const char kFourHeaders[] =
    "[Zeta]\r\nz=1\r\n"
    "[alpha]\r\na=1\r\n"
    "[Zeta]\r\nagain=2\r\n"
    "[Mid]\r\nm=3\r\n";

}  // namespace

// ---- the section list --------------------------------------------------------

class SectionListTest : public ProgramTest {};

TEST_F(SectionListTest, ListsTheHeadersInFileOrderWithDuplicates) {
    std::string path = WriteIni("four.ini", kFourHeaders);
    Start(path);
    EXPECT_EQ(Sections(), (Items{"[Zeta]", "[alpha]", "[Zeta]", "[Mid]"}));
    EXPECT_EQ(Label(), path);
    EXPECT_EQ(SelectedIndex(), 0);
    EXPECT_EQ(Focus(), Control(IDC_SECTION_LIST));
}

TEST_F(SectionListTest, ShowsEachHeaderLineUpToItsFirstClosingBracket) {
    std::string path = WriteIni("headers.ini",
                                "[Colors] ; the palette\r\n"
                                "Background=0 0 0\r\n"
                                " [Blank]\r\n"
                                "  [TwoBlanks]\r\n"
                                ";[Semi]\r\n"
                                "x[Letter]\r\n"
                                "[Open\r\n"
                                "key=[not a header]\r\n"
                                "[]\r\n"
                                "[A]]tail]\r\n"
                                "[Last]");
    Start(path);
    EXPECT_EQ(Sections(), (Items{"[Colors]", " [Blank]", ";[Semi]", "x[Letter]", "[]", "[A]", "[Last]"}));
}

TEST_F(SectionListTest, FileWithoutHeadersGivesAnEmptyListAndViewSectionAsksForASelection) {
    std::string path = WriteIni("keys-only.ini", "; no sections here\r\nkey=value\r\nother=1\r\n");
    Start(path);
    EXPECT_EQ(Sections(), Items{});
    EXPECT_EQ(Label(), path);

    robot.Expect("KEPLIN", "You must select something before you View it.").Answer(IDOK);
    Click(IDC_VIEW_SECTION);
    robot.Expect("KEPLIN", "You must select something before you View it.").Answer(IDOK);
    Command(IDC_VIEW_SECTION);
    EXPECT_EQ(Label(), path);
}

TEST_F(SectionListTest, EmptyFileGivesAnEmptyListWithoutAMessage) {
    std::string path = WriteIni("empty.ini", "");
    Start(path);
    EXPECT_EQ(Sections(), Items{});
    EXPECT_EQ(Label(), path);
    robot.ExpectNoMessageBox();
}

TEST_F(SectionListTest, OverLongLinesAreReadInPiecesOf149Characters) {
    std::string path = WriteIni("long.ini",
                                std::string("[First]\r\n") +
                                    // A header too long for one piece is no header.
                                    "[" + std::string(200, 'A') + "]\r\n" +
                                    // The second piece of this line starts with a header.
                                    std::string(149, 'x') + "[Split]\r\n" +
                                    "[Last]\r\n");
    Start(path);
    EXPECT_EQ(Sections(), (Items{"[First]", "[Split]", "[Last]"}));
}

TEST_F(SectionListTest, ALineOfAHundredThousandCharactersIsPassedOver) {
    std::string path = WriteIni("huge.ini", "[First]\r\nkey=" + std::string(100000, 'v') + "\r\n[Last]\r\nk=1\r\n");
    Start(path);
    EXPECT_EQ(Sections(), (Items{"[First]", "[Last]"}));
}

TEST_F(SectionListTest, BinaryFileListsOnlyItsHeaderLines) {
    std::string bytes = testfiles::Bytes("\x01\x02\x03\xff\xfe garbage\x00\x00 more\r\n");
    bytes += "[Clean]\r\n";
    bytes += testfiles::Bytes("\x80\x90\xa0=\x00\x00\x1a\x7f\n");
    bytes += "[Second]\r\n";
    for (int i = 0; i < 600; ++i) bytes += static_cast<char>(i % 256 == '[' ? '.' : i % 256);
    Start(WriteIni("binary.ini", bytes));
    Items sections = Sections();
    ASSERT_GE(sections.size(), 2u);
    EXPECT_EQ(sections[0], "[Clean]");
    EXPECT_EQ(sections[1], "[Second]");
    EXPECT_EQ(sections.size(), 2u);
}

TEST_F(SectionListTest, RestoringTheMinimizedWindowReadsTheFileAgain) {
    std::string path = WriteIni("grows.ini", "[One]\r\na=1\r\n");
    Start(path);
    ASSERT_EQ(Sections(), Items{"[One]"});

    // Another program changes the file just before KEPLIN is minimized
    // (while minimized, it does not look at the file).
    robot.ChangeBeforeNextAction([&] { EXPECT_TRUE(testfiles::AppendBytes(path, "[Added]\r\nb=2\r\n")); });
    robot.Post(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(IsIconic(Main()));
    EXPECT_EQ(Sections(), Items{"[One]"});

    robot.Post(Main(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(Main()));
    EXPECT_EQ(Sections(), (Items{"[One]", "[Added]"}));
    EXPECT_EQ(Label(), path);
}

// ---- a file that cannot be read -------------------------------------------------

class UnreadableFileTest : public ProgramTest {};

TEST_F(UnreadableFileTest, MissingFileIsReportedThenNoFileIsSelected) {
    robot.Expect("KEPLIN", "Sorry, Could not find NOPE.INI").Answer(IDOK);
    Start(PathOf("NOPE.INI"));
    EXPECT_EQ(Label(), "No file selected");
    EXPECT_EQ(Sections(), Items{});
    EXPECT_EQ(Focus(), Control(IDC_SELECT_INI));

    // The file name was cleared: View Section now says that no file is selected.
    robot.Expect("KEPLIN", "There is no INI file selected.\nYou must select a file before viewing a section.")
        .Answer(IDOK);
    Click(IDC_VIEW_SECTION);
}

TEST_F(UnreadableFileTest, DirectoryNamedAsTheFileIsReportedAsNotFound) {
    ASSERT_TRUE(CreateDirectoryA(PathOf("FOLDER.INI").c_str(), nullptr));
    robot.Expect("KEPLIN", "Sorry, Could not find FOLDER.INI").Answer(IDOK);
    Start(PathOf("FOLDER.INI"));
    EXPECT_EQ(Label(), "No file selected");
    EXPECT_EQ(Sections(), Items{});
}

TEST_F(UnreadableFileTest, ViewSectionWithoutAFileSaysSo) {
    // A path that ends in a backslash names no file.
    Start(Folder() + "\\");
    EXPECT_EQ(Label(), "No file selected");
    EXPECT_EQ(Sections(), Items{});
    EXPECT_EQ(Focus(), Control(IDC_SELECT_INI));

    robot.Expect("KEPLIN", "There is no INI file selected.\nYou must select a file before viewing a section.")
        .Answer(IDOK);
    Click(IDC_VIEW_SECTION);
    robot.Expect("KEPLIN", "There is no INI file selected.\nYou must select a file before viewing a section.")
        .Answer(IDOK);
    Command(IDC_VIEW_SECTION);
    EXPECT_EQ(Label(), "No file selected");
}

// ---- dropped files ------------------------------------------------------------

TEST_F(UnreadableFileTest, AFileAnotherProgramHoldsLockedIsReportedAsNotFound) {
    std::string path = WriteIni("locked.ini", "[Locked]\r\n");
    // Opened with no sharing, as a program holding the file to itself does.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    robot.Expect("KEPLIN", "Sorry, Could not find locked.ini").Answer(IDOK);
    Start(path);
    CloseHandle(held);
    EXPECT_EQ(Label(), "No file selected");
    EXPECT_EQ(Sections(), Items{});
}

// A path longer than Windows allows is refused; no other file is opened in
// its place (not even WIN.INI, which an empty command line would open).
TEST_F(UnreadableFileTest, AnOverLongPathIsRefusedAndNoFileIsSelected) {
    std::string tooLong = Folder() + "\\" + std::string(300, 'x') + ".ini";
    robot.Expect("KEPLIN", "Sorry, this path is too long:\n" + tooLong).Answer(IDOK);
    Start(tooLong);
    EXPECT_EQ(Label(), "No file selected");
    EXPECT_EQ(Sections(), Items{});
}

class DroppedFilesTest : public ProgramTest {};

TEST_F(DroppedFilesTest, DroppingAFileListsIt) {
    Start(WriteIni("first.ini", "[Before]\r\nk=v\r\n"));
    std::string dropped = WriteIni("dropped.ini", "[Dropped]\r\nk=v\r\n[Also]\r\n");
    robot.DropFiles(Main(), {dropped});
    EXPECT_EQ(Sections(), (Items{"[Dropped]", "[Also]"}));
    EXPECT_EQ(Label(), dropped);
    EXPECT_EQ(SelectedIndex(), 0);
}

TEST_F(DroppedFilesTest, DroppingThreeFilesWarnsOnceAndListsTheFirst) {
    Start(WriteIni("start.ini", "[Start]\r\n"));
    std::string one = WriteIni("one.ini", "[One]\r\n");
    std::string two = WriteIni("two.ini", "[Two]\r\n");
    std::string three = WriteIni("three.ini", "[Three]\r\n");
    robot.Expect("KEPLIN", "Only one file is allowed to be viewed at a time.").Answer(IDOK);
    robot.DropFiles(Main(), {one, two, three});
    EXPECT_EQ(Sections(), Items{"[One]"});
    EXPECT_EQ(Label(), one);
}

TEST_F(DroppedFilesTest, DroppingAnOverLongPathIsRefusedAndSelectsNoFile) {
    Start(WriteIni("start.ini", "[Start]\r\n"));
    std::string tooLong = Folder() + "\\" + std::string(300, 'y') + ".ini";
    robot.Expect("KEPLIN", "Sorry, this path is too long:\n" + tooLong).Answer(IDOK);
    robot.DropFiles(Main(), {tooLong});
    EXPECT_EQ(Label(), "No file selected");
    EXPECT_EQ(Sections(), Items{});
}

TEST_F(DroppedFilesTest, DroppingAFileThatIsGoneReportsItThenNoFileIsSelected) {
    Start(WriteIni("start.ini", "[Start]\r\n"));
    robot.Expect("KEPLIN", "Sorry, Could not find GONE.INI").Answer(IDOK);
    robot.DropFiles(Main(), {PathOf("GONE.INI")});
    EXPECT_EQ(Label(), "No file selected");
    EXPECT_EQ(Sections(), Items{});
}

// ---- ending the program ---------------------------------------------------------

class EndingTest : public ProgramTest {};

TEST_F(EndingTest, EscapeInTheListEndsTheProgram) {
    Start(WriteIni("a.ini", "[A]\r\n"));
    ASSERT_EQ(Focus(), Control(IDC_SECTION_LIST));
    HWND main = Main();
    Key(VK_ESCAPE);
    EXPECT_EQ(WaitForProgramEnd(), 0u);
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(EndingTest, ExitEndsTheProgram) {
    Start(WriteIni("a.ini", "[A]\r\n"));
    HWND main = Main();
    Command(IDM_EXIT);
    EXPECT_EQ(WaitForProgramEnd(), 0u);
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(EndingTest, CloseFromTheSystemMenuEndsTheProgram) {
    Start(WriteIni("a.ini", "[A]\r\n"));
    HWND main = Main();
    robot.Post(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForProgramEnd(), 0u);
    EXPECT_FALSE(IsWindow(main));
}

// ---- menus and the About box ------------------------------------------------------

class MainMenuTest : public ProgramTest {};

TEST_F(MainMenuTest, FindNextIsGrayedWhenTheSearchMenuOpensWithoutASearchText) {
    Start(WriteIni("a.ini", "[A]\r\n"));
    // Whatever state the item was left in, opening the menu decides it.
    EnableMenuItem(GetMenu(Main()), IDC_FIND_NEXT, MF_BYCOMMAND | MF_ENABLED);
    OpenMenu(1);
    EXPECT_TRUE(MenuGrayed(IDC_FIND_NEXT));
    EXPECT_FALSE(MenuGrayed(IDC_FIND));
}

// Alt and a letter reach every item: each has its own letter in its popup.
TEST_F(MainMenuTest, EveryItemOfEveryMenuHasAnAccessLetterOfItsOwn) {
    std::string missing;
    std::function<void(HMENU, const std::string&)> walk = [&](HMENU menu, const std::string& path) {
        std::set<char> letters;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[128] = "";
            if (GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION) == 0) continue;  // a separator
            const std::string item = path + text;
            const char* amp = std::strchr(text, '&');
            if (amp == nullptr || amp[1] == '\0')
                missing += item + ": no access letter\n";
            else if (!letters.insert(static_cast<char>(std::tolower(static_cast<unsigned char>(amp[1])))).second)
                missing += item + ": its letter is taken\n";
            if (HMENU popup = GetSubMenu(menu, i)) walk(popup, item + " > ");
        }
    };
    for (const char* name : {"KEPLIN", "THE_VIEW", "THE_EDIT"}) {
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), name);
        ASSERT_NE(menu, nullptr) << name;
        walk(menu, std::string(name) + ": ");
        DestroyMenu(menu);
    }
    EXPECT_EQ(missing, "");
}

class AboutBoxTest : public ProgramTest {
protected:
    HWND OpenAbout() {
        Command(IDM_ABOUT);
        return robot.Opened(steps::kAbout);
    }
};

TEST_F(AboutBoxTest, ShowsTheProgramItsVersionAndLicenceWithRoomForEachLineAndClosesWithOk) {
    Start(WriteIni("a.ini", "[A]\r\n"));
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(robot::ShowsText(about, "KEPLIN for Windows NT"));
    EXPECT_TRUE(robot::ShowsText(about, "Version 2.2"));
    EXPECT_TRUE(robot::ShowsText(about, "Copyright (c) 2026 the KEPLIN authors"));
    EXPECT_TRUE(robot::ShowsText(about, "Free software under the MIT License"));
    EXPECT_EQ(robot::CrampedTexts(about), "");
    EXPECT_FALSE(IsWindowEnabled(Main())) << "the About box is modal";

    robot.Ok(about);
    EXPECT_TRUE(IsWindowEnabled(Main()));
}

TEST_F(AboutBoxTest, EscapeDoesNotCloseItButEnterDoes) {
    Start(WriteIni("a.ini", "[A]\r\n"));
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);

    Key(VK_ESCAPE);
    EXPECT_TRUE(IsWindow(about) && IsWindowVisible(about)) << "Escape closed the About box";
    robot.Post(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindow(about) && IsWindowVisible(about)) << "Cancel closed the About box";

    Key(VK_RETURN);
    EXPECT_TRUE(robot.WaitUntilGone(about)) << "Enter did not close the About box";
}

// ---- opening a section from the list ------------------------------------------------

class OpeningASectionTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start(WriteIni("two.ini", "[One]\r\na=1\r\n[Two]\r\nb=2\r\n\r\nc=3\r\n"));
    }
    // The section view, once it is open.
    HWND View() { return robot.Opened(steps::kSectionView); }
};

TEST_F(OpeningASectionTest, DoubleClickOnAHeaderOpensThatSection) {
    robot.DoubleClickItem(Control(IDC_SECTION_LIST), 1);
    HWND view = View();
    ASSERT_NE(view, nullptr) << "the double-click opened no section view";
    EXPECT_EQ(robot::Text(GetDlgItem(view, IDC_VIEW_HEADER)), "[Two]");
    EXPECT_EQ(robot::ListItems(GetDlgItem(view, IDC_VIEW_LIST)), (Items{"b=2", "c=3"}));
    robot.LeaveView(view);
    EXPECT_EQ(Focus(), Control(IDC_SECTION_LIST));
    EXPECT_EQ(SelectedSection(), "[Two]");
}

TEST_F(OpeningASectionTest, EnterOnAHeaderOpensThatSection) {
    robot.SelectItem(Control(IDC_SECTION_LIST), 1);
    ASSERT_EQ(SelectedSection(), "[Two]");
    Key(VK_RETURN);
    HWND view = View();
    ASSERT_NE(view, nullptr) << "Enter opened no section view";
    EXPECT_EQ(robot::Text(GetDlgItem(view, IDC_VIEW_HEADER)), "[Two]");
    robot.LeaveView(view);
}

TEST_F(OpeningASectionTest, ViewSectionOpensTheSelectedSection) {
    Click(IDC_VIEW_SECTION);
    HWND view = View();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(robot::Text(GetDlgItem(view, IDC_VIEW_HEADER)), "[One]");
    EXPECT_EQ(robot::ListItems(GetDlgItem(view, IDC_VIEW_LIST)), Items{"a=1"});
    robot.LeaveView(view);
}

TEST_F(OpeningASectionTest, F3InTheListDoesNothingWithoutASearch) {
    Key(VK_F3);
    EXPECT_TRUE(robot.OpenDialogs().empty());
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]"}));
    EXPECT_EQ(SelectedSection(), "[One]");
}

// A bare file name is looked up in the program directory: the refusal of an
// over-long path applies to the two joined, so no cut name opens another file.
TEST_F(UnreadableFileTest, ABareNameTooLongOnceJoinedToTheProgramDirectoryIsRefused) {
    const std::string directory = testfiles::ExeDirectory();
    ASSERT_LT(directory.size(), 250u);
    const std::string name = std::string(259 - directory.size(), 'n');
    robot.Expect("KEPLIN", "Sorry, this path is too long:\n" + directory + "\\" + name).Answer(IDOK);
    Start(name);
    EXPECT_EQ(Label(), "No file selected");
    EXPECT_EQ(Sections(), Items{});
}
