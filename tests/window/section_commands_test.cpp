// Insert Section and Delete Section from the main window: their dialogs and
// questions, what they write to the file, the list afterwards, and what they
// refuse.
#include <string>
#include <vector>

#include "immutable_file.h"
#include "program_test.h"

class SectionCommandsTest : public ProgramTest {};

// ---- Insert Section -------------------------------------------------------------

TEST_F(SectionCommandsTest, InsertSectionAsksForTheNameThenTheKeyAndListsTheNewSection) {
    std::string path = WriteIni("insert.ini", "[One]\r\na=1\r\n[Two]\r\nb=2\r\n");
    Start(path);
    robot.SelectItem(Control(IDC_SECTION_LIST), 1);

    Click(IDC_INSERT);
    HWND nameDialog = robot.Opened(steps::kSectionNameScreen);
    ASSERT_NE(nameDialog, nullptr) << "Insert Section opened no dialog";
    EXPECT_EQ(robot::Text(GetDlgItem(nameDialog, IDC_INPUT_LABEL)), "New Section Name");
    EXPECT_EQ(robot::Text(GetDlgItem(nameDialog, IDC_INPUT_FIELD)), "");
    EXPECT_EQ(Focus(), GetDlgItem(nameDialog, IDC_INPUT_FIELD));
    EXPECT_FALSE(IsWindowEnabled(Main())) << "the dialog is modal";
    robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), "Fresh");
    robot.Ok(nameDialog);

    HWND keyDialog = robot.Opened(steps::kInsertScreen);
    ASSERT_NE(keyDialog, nullptr) << "OK with a section name opened no key dialog";
    EXPECT_TRUE(robot::ShowsText(keyDialog, "New Keyname"));
    EXPECT_TRUE(robot::ShowsText(keyDialog, "New Value"));
    EXPECT_EQ(Focus(), GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD));
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD), "Color");
    robot.SetText(GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD), "deep blue");
    // Nothing is written while the dialogs are open.
    EXPECT_EQ(testfiles::ReadBytes(path), "[One]\r\na=1\r\n[Two]\r\nb=2\r\n");
    robot.Ok(keyDialog);

    EXPECT_EQ(testfiles::ReadBytes(path), "[One]\r\na=1\r\n[Two]\r\nb=2\r\n[Fresh]\r\nColor=deep blue\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]", "[Fresh]"}));
    EXPECT_EQ(SelectedIndex(), 0) << "the list was not built again";
    EXPECT_EQ(Label(), path);
    EXPECT_TRUE(robot.OpenDialogs().empty());
}

TEST_F(SectionCommandsTest, TheNameOfAnExistingSectionAddsTheKeyThereAndAnEmptyValueIsWritten) {
    std::string path = WriteIni("existing.ini", "[One]\r\na=1\r\n[Two]\r\nb=2\r\n");
    Start(path);

    InsertSection("Two", "c", "");
    EXPECT_EQ(testfiles::ReadBytes(path), "[One]\r\na=1\r\n[Two]\r\nb=2\r\nc=\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]"}));

    // A key of that name gets the new value, whatever the case of either name.
    InsertSection("one", "A", "9");
    EXPECT_EQ(testfiles::ReadBytes(path), "[One]\r\na=9\r\n[Two]\r\nb=2\r\nc=\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]"}));
}

TEST_F(SectionCommandsTest, CancelInEitherDialogWritesNothingAndKeepsTheList) {
    const std::string bytes = "; kept\r\n[One]\r\na = 1\r\n\r\n[Two]\r\nb=2";
    std::string path = WriteIni("cancel.ini", bytes);
    Start(path);
    robot.SelectItem(Control(IDC_SECTION_LIST), 1);

    // Cancel in the name dialog, from its Commands menu: no key dialog follows.
    HWND nameDialog = robot.OpenInsertSection(Main());
    ASSERT_NE(nameDialog, nullptr);
    robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), "Dropped");
    robot.Command(nameDialog, IDCANCEL);
    EXPECT_TRUE(robot.WaitUntilGone(nameDialog));
    EXPECT_EQ(robot.FindWindowOf(steps::kInsertScreen), nullptr);
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);

    // Cancel in the key dialog, with its button: the name is dropped too.
    HWND keyDialog = FillInsertSection("Dropped", "key", "value");
    ASSERT_NE(keyDialog, nullptr);
    robot.Cancel(keyDialog);

    robot.ExpectNoMessageBox();
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]"}));
    EXPECT_EQ(SelectedSection(), "[Two]") << "the list was built again";
    EXPECT_TRUE(robot.OpenDialogs().empty());
}

TEST_F(SectionCommandsTest, AnEmptySectionNameOrKeyIsRefusedAndTheDialogStaysOpenAtThatField) {
    std::string path = WriteIni("refuse.ini", "[One]\r\na=1\r\n");
    Start(path);

    HWND nameDialog = robot.OpenInsertSection(Main());
    ASSERT_NE(nameDialog, nullptr);
    // The user tabs to OK and gives it with the field empty.
    Key(VK_TAB);
    ASSERT_EQ(Focus(), GetDlgItem(nameDialog, IDC_MAIN_MENU));
    robot.Expect("KEPLIN", "You must enter a Section name.").Answer(IDOK);
    robot.Click(nameDialog, IDC_MAIN_MENU);
    EXPECT_TRUE(IsWindow(nameDialog) && IsWindowVisible(nameDialog)) << "the name dialog closed";
    EXPECT_EQ(Focus(), GetDlgItem(nameDialog, IDC_INPUT_FIELD));
    EXPECT_EQ(robot.FindWindowOf(steps::kInsertScreen), nullptr);

    robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), "Added");
    robot.Ok(nameDialog);
    HWND keyDialog = robot.Opened(steps::kInsertScreen);
    ASSERT_NE(keyDialog, nullptr);
    // A value alone is not enough; the user is in the value field at OK.
    Key(VK_TAB);
    ASSERT_EQ(Focus(), GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD));
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD), "v");
    robot.Expect("KEPLIN", "You must enter a HEADING.").Answer(IDOK);
    robot.Click(keyDialog, IDC_MAIN_MENU);
    EXPECT_TRUE(IsWindow(keyDialog) && IsWindowVisible(keyDialog)) << "the key dialog closed";
    EXPECT_EQ(Focus(), GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD));
    EXPECT_EQ(robot::Text(GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD)), "v");
    EXPECT_EQ(testfiles::ReadBytes(path), "[One]\r\na=1\r\n");

    robot.Type(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD), "k");
    robot.Ok(keyDialog);
    EXPECT_EQ(testfiles::ReadBytes(path), "[One]\r\na=1\r\n[Added]\r\nk=v\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Added]"}));
}

TEST_F(SectionCommandsTest, AFileWithLoneCrLineEndsListsItsSectionsAndTheInsertedOne) {
    std::string path = WriteIni("cr.ini", "[One]\ra=1\r[Two]\rb=2\r");
    Start(path);
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]"}));
    InsertSection("Fresh", "k", "v");
    EXPECT_EQ(testfiles::ReadBytes(path), "[One]\ra=1\r[Two]\rb=2\r[Fresh]\rk=v\r");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]", "[Fresh]"}));
}

// ---- Delete Section -------------------------------------------------------------

TEST_F(SectionCommandsTest, YesDeletesTheSectionWithItsKeysAndListsTheRest) {
    std::string path = WriteIni("delete.ini", "[One]\r\na=1\r\n[Two]\r\nb=2\r\nc=3\r\n[Three]\r\nd=4\r\n");
    Start(path);
    DeleteSection(1, "[Two]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(path), "[One]\r\na=1\r\n[Three]\r\nd=4\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[Three]"}));
    EXPECT_EQ(SelectedIndex(), 0);

    // From the menu as well.
    robot.Expect("KEPLIN", "Are you sure you want to DELETE\n[One] ?").Answer(IDYES);
    Command(IDC_DELETE_SECTION);
    EXPECT_EQ(testfiles::ReadBytes(path), "[Three]\r\nd=4\r\n");
    EXPECT_EQ(Sections(), Items{"[Three]"});
}

TEST_F(SectionCommandsTest, NoLeavesTheFileUnchangedByteForByte) {
    const std::string bytes = "; top\r\n[One]\r\n  a = 1 \r\n\r\n[Two]\nb=2\r\n\r\n;end";
    std::string path = WriteIni("keep.ini", bytes);
    Start(path);
    DeleteSection(1, "[Two]", IDNO);
    robot.ExpectNoMessageBox();
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);
    EXPECT_EQ(Sections(), (Items{"[One]", "[Two]"}));
    EXPECT_EQ(SelectedSection(), "[Two]");
}

TEST_F(SectionCommandsTest, WithoutAFileBothCommandsSaySoAndOpenNothing) {
    Start(Folder() + "\\");
    ASSERT_EQ(Label(), "No file selected");
    robot.Expect("KEPLIN", "There is no INI file selected.\nYou must select a file before deleting a section.")
        .Answer(IDOK);
    Click(IDC_DELETE_SECTION);
    robot.Expect("KEPLIN", "There is no INI file selected.\nYou must select a file before inserting a section.")
        .Answer(IDOK);
    Command(IDC_INSERT);
    robot.Expect("KEPLIN", "There is no INI file selected.\nYou must select a file before inserting a section.")
        .Answer(IDOK);
    Click(IDC_INSERT);
    EXPECT_TRUE(robot.OpenDialogs().empty());
    EXPECT_EQ(Label(), "No file selected");
}

TEST_F(SectionCommandsTest, AnEmptyListAsksForASelectionAndNothingElse) {
    const std::string bytes = "; no sections\r\nkey=value\r\n";
    std::string path = WriteIni("nosections.ini", bytes);
    Start(path);
    ASSERT_EQ(Sections(), Items{});
    robot.Expect("KEPLIN", "You must select something before you Delete it.").Answer(IDOK);
    Click(IDC_DELETE_SECTION);
    robot.ExpectNoMessageBox();
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);
}

TEST_F(SectionCommandsTest, AHeaderWithALeadingBlankDeletesTheSectionOfThatName) {
    std::string path = WriteIni("blank.ini",
                                "[Top]\r\nt=1\r\n [Colors]\r\nBackground=0 0 0\r\nText=255\r\n[After]\r\nk=v\r\n");
    Start(path);
    ASSERT_EQ(Sections(), (Items{"[Top]", " [Colors]", "[After]"}));
    DeleteSection(1, " [Colors]", IDYES);
    EXPECT_EQ(testfiles::ReadBytes(path), "[Top]\r\nt=1\r\n[After]\r\nk=v\r\n");
    EXPECT_EQ(Sections(), (Items{"[Top]", "[After]"}));
}

TEST_F(SectionCommandsTest, AHeaderWithALetterBeforeItsBracketIsRefusedBeforeTheQuestion) {
    const std::string bytes = "x[Colors]\r\nk=1\r\n[Colors]\r\nk=2\r\n";
    std::string path = WriteIni("letter.ini", bytes);
    Start(path);
    ASSERT_EQ(Sections(), (Items{"x[Colors]", "[Colors]"}));
    ASSERT_EQ(SelectedSection(), "x[Colors]");
    robot.Expect("KEPLIN", "Sorry, KEPLIN cannot change x[Colors]\nbecause its line does not start with [.")
        .Answer(IDOK);
    Click(IDC_DELETE_SECTION);
    robot.ExpectNoMessageBox();
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);
    EXPECT_EQ(Sections(), (Items{"x[Colors]", "[Colors]"}));
}

TEST_F(SectionCommandsTest, TheLongestListedHeaderIsAskedAboutWholeAndDeleted) {
    // 149 characters, the longest header the list holds.
    const std::string header = "[" + std::string(140, 'L') + "Section]";
    ASSERT_EQ(header.size(), 149u);
    std::string path = WriteIni("long.ini", "[First]\r\na=1\r\n" + header + "\r\nk=v\r\n[Last]\r\nz=9\r\n");
    Start(path);
    ASSERT_EQ(Sections(), (Items{"[First]", header, "[Last]"}));
    DeleteSection(1, header, IDYES);
    EXPECT_EQ(testfiles::ReadBytes(path), "[First]\r\na=1\r\n[Last]\r\nz=9\r\n");
    EXPECT_EQ(Sections(), (Items{"[First]", "[Last]"}));
}

// ---- a file that refuses writing ------------------------------------------------------

TEST_F(SectionCommandsTest, AFailedWriteIsReportedAndTheListIsNotBuiltAgain) {
    std::string path = WriteIni("locked.ini", "[One]\r\na=1\r\n[Two]\r\nb=2\r\n");
    Start(path);
    robot.SelectItem(Control(IDC_SECTION_LIST), 1);
    const std::string bytes = testfiles::ReadBytes(path);
    steps::MessageCount refreshes(Main(), WM_REFRESH);
    testfiles::ImmutableFile locked(path);
    ASSERT_TRUE(locked.Immutable()) << "cannot make " << path << " immutable";

    InsertSection("New", "k", "v", "KEPLIN could not write profile.");
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);
    EXPECT_EQ(SelectedSection(), "[Two]");

    DeleteSection(1, "[Two]", IDYES, "KEPLIN could not write profile.");
    EXPECT_EQ(testfiles::ReadBytes(path), bytes);
    EXPECT_EQ(SelectedSection(), "[Two]");
    EXPECT_EQ(refreshes.Count(), 0) << "the list was read again after a failed write";
}
