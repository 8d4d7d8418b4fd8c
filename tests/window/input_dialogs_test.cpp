// The two input dialogs of Insert Section: their Edit menu, grayed by what
// can be done in the field, the editing commands, the length a field hands
// back, and Escape.
#include <string>
#include <vector>

#include "program_test.h"

class InputDialogsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        path_ = WriteIni("dialogs.ini", "[One]\r\na=1\r\n");
        Start(path_);
    }

    std::string IniBytes() const { return testfiles::ReadBytes(path_); }

    HWND OpenNameDialog() { return robot.OpenInsertSection(Main()); }
    // The key dialog, after a section name and OK in the name dialog.
    HWND OpenKeyDialog(const std::string& sectionName = "Added") { return FillInsertSection(sectionName, "", ""); }

    // An item of the dialog's Edit menu as the user finds it when the menu opens.
    bool Grayed(HWND dialog, int id) {
        robot.OpenMenu(dialog, 1);
        return robot::MenuGrayed(dialog, id);
    }

    // Which of Undo, Cut, Copy, Paste, Delete and Select All are usable.
    std::string Usable(HWND dialog) {
        static const struct {
            int id;
            const char* name;
        } items[] = {{IDM_EDIT_UNDO, "Undo"},     {IDM_EDIT_CUT, "Cut"},       {IDM_EDIT_COPY, "Copy"},
                     {IDM_EDIT_PASTE, "Paste"},   {IDM_EDIT_DELETE, "Delete"}, {IDM_EDIT_SELECT_ALL, "SelectAll"}};
        std::string usable;
        for (const auto& item : items)
            if (!Grayed(dialog, item.id)) usable += (usable.empty() ? "" : " ") + std::string(item.name);
        return usable;
    }

    std::string path_;
};

// ---- the Edit menu ---------------------------------------------------------------------

TEST_F(InputDialogsTest, CutCopyAndDeleteAreUsableOnlyWithASelection) {
    robot::EmptyTheClipboard();
    HWND dialog = OpenNameDialog();
    ASSERT_NE(dialog, nullptr);
    HWND field = GetDlgItem(dialog, IDC_INPUT_FIELD);
    EXPECT_EQ(Usable(dialog), "SelectAll");

    robot.Type(field, "Palette");
    EXPECT_EQ(Usable(dialog), "Undo SelectAll") << "the caret stands after the typed text, nothing selected";

    // The user drags over "Pal".
    robot.Post(field, EM_SETSEL, 0, 3);
    EXPECT_EQ(Usable(dialog), "Undo Cut Copy Delete SelectAll");
    robot.Command(dialog, IDM_EDIT_DELETE);
    EXPECT_EQ(robot::Text(field), "ette");
    EXPECT_EQ(Usable(dialog), "Undo SelectAll");
    robot.Cancel(dialog);
}

TEST_F(InputDialogsTest, UndoIsUsableOnlyAfterAChangeInEitherDialog) {
    robot::EmptyTheClipboard();
    HWND nameDialog = OpenNameDialog();
    ASSERT_NE(nameDialog, nullptr);
    EXPECT_TRUE(Grayed(nameDialog, IDM_EDIT_UNDO));
    robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), "Sect");
    EXPECT_FALSE(Grayed(nameDialog, IDM_EDIT_UNDO));
    robot.Command(nameDialog, IDM_EDIT_UNDO);
    EXPECT_EQ(robot::Text(GetDlgItem(nameDialog, IDC_INPUT_FIELD)), "");
    robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), "Added");
    robot.Ok(nameDialog);

    HWND keyDialog = robot.Opened(steps::kInsertScreen);
    ASSERT_NE(keyDialog, nullptr);
    EXPECT_EQ(Usable(keyDialog), "SelectAll");
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD), "key");
    EXPECT_EQ(Usable(keyDialog), "Undo SelectAll");
    // In the value field, still untouched, there is nothing to undo.
    Key(VK_TAB);
    ASSERT_EQ(Focus(), GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD));
    EXPECT_TRUE(Grayed(keyDialog, IDM_EDIT_UNDO));
    robot.Cancel(keyDialog);
    EXPECT_EQ(IniBytes(), "[One]\r\na=1\r\n");
}

TEST_F(InputDialogsTest, PasteIsUsableOnlyWithTextOnTheClipboard) {
    robot::EmptyTheClipboard();
    HWND dialog = OpenNameDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Grayed(dialog, IDM_EDIT_PASTE));

    robot::PutOnClipboard("Clipped");
    EXPECT_FALSE(Grayed(dialog, IDM_EDIT_PASTE));
    robot.Command(dialog, IDM_EDIT_PASTE);
    EXPECT_EQ(robot::Text(GetDlgItem(dialog, IDC_INPUT_FIELD)), "Clipped");

    robot::EmptyTheClipboard();
    EXPECT_TRUE(Grayed(dialog, IDM_EDIT_PASTE));
    robot.Cancel(dialog);
}

TEST_F(InputDialogsTest, WithTheFocusOnAButtonOnlyPasteAndSelectAllAreUsableAndEditingDoesNothing) {
    robot::PutOnClipboard("marker");
    HWND dialog = OpenKeyDialog();
    ASSERT_NE(dialog, nullptr);
    HWND key = GetDlgItem(dialog, IDC_NEW_KEY_FIELD);
    HWND value = GetDlgItem(dialog, IDC_NEW_VALUE_FIELD);
    robot.Type(key, "Shell");
    Key(VK_TAB);
    robot.Type(value, "progman.exe");
    robot.Post(value, EM_SETSEL, 0, -1);
    ASSERT_EQ(Usable(dialog), "Undo Cut Copy Paste Delete SelectAll");

    Key(VK_TAB);
    ASSERT_EQ(Focus(), GetDlgItem(dialog, IDC_MAIN_MENU)) << "Tab did not reach OK";
    EXPECT_EQ(Usable(dialog), "Paste SelectAll");

    for (int id : {IDM_EDIT_CUT, IDM_EDIT_DELETE, IDM_EDIT_UNDO, IDM_EDIT_PASTE}) robot.Command(dialog, id);
    EXPECT_EQ(robot::Text(key), "Shell");
    EXPECT_EQ(robot::Text(value), "progman.exe");
    EXPECT_EQ(robot::ClipboardText(), "marker");
    EXPECT_TRUE(IsWindow(dialog));
    robot.Cancel(dialog);
}

// ---- the editing commands ----------------------------------------------------------------

TEST_F(InputDialogsTest, SelectAllAndCutEmptiesTheFieldAndPastePutsTheTextBack) {
    robot::EmptyTheClipboard();
    HWND dialog = OpenNameDialog();
    ASSERT_NE(dialog, nullptr);
    HWND field = GetDlgItem(dialog, IDC_INPUT_FIELD);
    robot.Type(field, "Palette");
    robot.Command(dialog, IDM_EDIT_SELECT_ALL);
    robot.Command(dialog, IDM_EDIT_CUT);
    EXPECT_EQ(robot::Text(field), "");
    EXPECT_EQ(robot::ClipboardText(), "Palette");
    robot.Command(dialog, IDM_EDIT_PASTE);
    robot.Command(dialog, IDM_EDIT_PASTE);
    EXPECT_EQ(robot::Text(field), "PalettePalette");

    // What the field shows is what OK takes.
    robot.Ok(dialog);
    HWND keyDialog = robot.Opened(steps::kInsertScreen);
    ASSERT_NE(keyDialog, nullptr);
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD), "k");
    robot.Ok(keyDialog);
    EXPECT_EQ(IniBytes(), "[One]\r\na=1\r\n[PalettePalette]\r\nk=\r\n");
}

TEST_F(InputDialogsTest, InTheKeyDialogTheEditingCommandsActOnTheFocusedField) {
    robot::EmptyTheClipboard();
    HWND dialog = OpenKeyDialog("Paths");
    ASSERT_NE(dialog, nullptr);
    HWND key = GetDlgItem(dialog, IDC_NEW_KEY_FIELD);
    HWND value = GetDlgItem(dialog, IDC_NEW_VALUE_FIELD);
    robot.Type(key, "Temp");
    Key(VK_TAB);
    ASSERT_EQ(Focus(), value);
    robot.Type(value, "C:\\TEMP");

    robot.Command(dialog, IDM_EDIT_SELECT_ALL);
    robot.Command(dialog, IDM_EDIT_COPY);
    EXPECT_EQ(robot::ClipboardText(), "C:\\TEMP");
    robot.Command(dialog, IDM_EDIT_DELETE);
    EXPECT_EQ(robot::Text(value), "");
    EXPECT_EQ(robot::Text(key), "Temp");

    // Back to the key field, caret at its end, and the copied text pasted.
    robot.Post(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(key), TRUE);
    ASSERT_EQ(Focus(), key);
    robot.Post(key, EM_SETSEL, 4, 4);
    robot.Command(dialog, IDM_EDIT_PASTE);
    EXPECT_EQ(robot::Text(key), "TempC:\\TEMP");
    EXPECT_EQ(robot::Text(value), "");

    robot.Ok(dialog);
    EXPECT_EQ(IniBytes(), "[One]\r\na=1\r\n[Paths]\r\nTempC:\\TEMP=\r\n");
}

// ---- what OK takes, and Escape ---------------------------------------------------------------

TEST_F(InputDialogsTest, EachFieldTakesNoMoreThan74Characters) {
    auto ninety = [](char first) {
        std::string text;
        for (int i = 0; i < 90; ++i) text += static_cast<char>(first + i % 26);
        return text;
    };
    const std::string name = ninety('A');
    const std::string key = ninety('a');
    const std::string value = "v" + ninety('a').substr(1);

    HWND nameDialog = OpenNameDialog();
    ASSERT_NE(nameDialog, nullptr);
    robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), name);
    EXPECT_EQ(robot::Text(GetDlgItem(nameDialog, IDC_INPUT_FIELD)), name.substr(0, 74))
        << "the field takes no more than is written";
    robot.Ok(nameDialog);
    HWND keyDialog = robot.Opened(steps::kInsertScreen);
    ASSERT_NE(keyDialog, nullptr);
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD), key);
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD), value);
    EXPECT_EQ(robot::Text(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD)), key.substr(0, 74));
    EXPECT_EQ(robot::Text(GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD)), value.substr(0, 74));
    robot.Ok(keyDialog);

    EXPECT_EQ(IniBytes(), "[One]\r\na=1\r\n[" + name.substr(0, 74) + "]\r\n" + key.substr(0, 74) + "=" +
                              value.substr(0, 74) + "\r\n");
    EXPECT_EQ(Sections(), (Items{"[One]", "[" + name.substr(0, 74) + "]"}));
}

TEST_F(InputDialogsTest, EscapeCancelsEitherDialog) {
    HWND nameDialog = OpenNameDialog();
    ASSERT_NE(nameDialog, nullptr);
    robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), "Gone");
    Key(VK_ESCAPE);
    EXPECT_TRUE(robot.WaitUntilGone(nameDialog)) << "Escape left the name dialog open";
    EXPECT_EQ(robot.FindWindowOf(steps::kInsertScreen), nullptr);

    HWND keyDialog = OpenKeyDialog();
    ASSERT_NE(keyDialog, nullptr);
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD), "k");
    Key(VK_ESCAPE);
    EXPECT_TRUE(robot.WaitUntilGone(keyDialog)) << "Escape left the key dialog open";

    robot.ExpectNoMessageBox();
    EXPECT_TRUE(robot.OpenDialogs().empty());
    EXPECT_EQ(IniBytes(), "[One]\r\na=1\r\n");
    EXPECT_EQ(Sections(), Items{"[One]"});
    EXPECT_TRUE(IsWindowEnabled(Main()));
}
