// The two input dialogs of Insert Section: their Edit menu, grayed by what
// can be done in the field, the editing commands, the length a field hands
// back, and Escape.
#include <cstring>
#include <string>
#include <vector>

#include "program_test.h"

using Items = std::vector<std::string>;

namespace {

// The clipboard, as another program would use it. Opened without a window
// of ours, so that nobody waits for this thread to answer.
bool OpenClipboardHere() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(20);
    }
    ADD_FAILURE() << "cannot open the clipboard";
    return false;
}

void EmptyTheClipboard() {
    if (!OpenClipboardHere()) return;
    EmptyClipboard();
    CloseClipboard();
}

void PutOnClipboard(const std::string& text) {
    if (!OpenClipboardHere()) return;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) {
        ADD_FAILURE() << "cannot put text on the clipboard, error " << GetLastError();
        GlobalFree(memory);
    }
    CloseClipboard();
}

// The text on the clipboard, or "<none>".
std::string ClipboardText() {
    if (!OpenClipboardHere()) return "<none>";
    std::string text = "<none>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

class InputDialogsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        path_ = WriteIni("dialogs.ini", "[One]\r\na=1\r\n");
        Start(path_);
    }

    std::string IniBytes() const { return testfiles::ReadBytes(path_); }

    HWND OpenNameDialog() {
        Command(IDC_INSERT);
        HWND dialog = robot.WaitForWindow("Input New Section Name");
        EXPECT_NE(dialog, nullptr) << "Insert Section opened no dialog";
        return dialog;
    }

    // The key dialog, after a section name and OK in the name dialog.
    HWND OpenKeyDialog(const std::string& sectionName = "Added") {
        HWND nameDialog = OpenNameDialog();
        if (!nameDialog) return nullptr;
        robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), sectionName);
        robot.Click(nameDialog, IDC_MAIN_MENU);
        HWND dialog = robot.WaitForWindow("Keyname Insert Screen");
        EXPECT_NE(dialog, nullptr) << "OK with a section name opened no key dialog";
        return dialog;
    }

    // The state of an item of the dialog's Edit menu as the user finds it
    // when the menu opens.
    UINT EditItemState(HWND dialog, int id) {
        HMENU popup = GetSubMenu(GetMenu(dialog), 1);
        EXPECT_NE(popup, nullptr) << "the dialog has no Edit menu";
        DWORD_PTR ignored;
        SendMessageTimeoutA(dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(1, FALSE),
                            SMTO_NORMAL, 5000, &ignored);
        UINT state = GetMenuState(popup, id, MF_BYCOMMAND);
        EXPECT_NE(state, static_cast<UINT>(-1)) << "no item " << id << " in the Edit menu";
        return state;
    }
    bool Grayed(HWND dialog, int id) { return (EditItemState(dialog, id) & (MF_GRAYED | MF_DISABLED)) != 0; }

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

    void CancelDialog(HWND dialog) {
        robot.Click(dialog, IDC_CANCEL_BUTTON);
        EXPECT_TRUE(robot.WaitUntilGone(dialog));
    }

    std::string path_;
};

// ---- the Edit menu ---------------------------------------------------------------------

TEST_F(InputDialogsTest, CutCopyAndDeleteAreUsableOnlyWithASelection) {
    EmptyTheClipboard();
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
    CancelDialog(dialog);
}

TEST_F(InputDialogsTest, UndoIsUsableOnlyAfterAChangeInEitherDialog) {
    EmptyTheClipboard();
    HWND nameDialog = OpenNameDialog();
    ASSERT_NE(nameDialog, nullptr);
    EXPECT_TRUE(Grayed(nameDialog, IDM_EDIT_UNDO));
    robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), "Sect");
    EXPECT_FALSE(Grayed(nameDialog, IDM_EDIT_UNDO));
    robot.Command(nameDialog, IDM_EDIT_UNDO);
    EXPECT_EQ(robot::Text(GetDlgItem(nameDialog, IDC_INPUT_FIELD)), "");
    robot.Type(GetDlgItem(nameDialog, IDC_INPUT_FIELD), "Added");
    robot.Click(nameDialog, IDC_MAIN_MENU);

    HWND keyDialog = robot.WaitForWindow("Keyname Insert Screen");
    ASSERT_NE(keyDialog, nullptr);
    EXPECT_EQ(Usable(keyDialog), "SelectAll");
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD), "key");
    EXPECT_EQ(Usable(keyDialog), "Undo SelectAll");
    // In the value field, still untouched, there is nothing to undo.
    Key(VK_TAB);
    ASSERT_EQ(Focus(), GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD));
    EXPECT_TRUE(Grayed(keyDialog, IDM_EDIT_UNDO));
    CancelDialog(keyDialog);
    EXPECT_EQ(IniBytes(), "[One]\r\na=1\r\n");
}

TEST_F(InputDialogsTest, PasteIsUsableOnlyWithTextOnTheClipboard) {
    EmptyTheClipboard();
    HWND dialog = OpenNameDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Grayed(dialog, IDM_EDIT_PASTE));

    PutOnClipboard("Clipped");
    EXPECT_FALSE(Grayed(dialog, IDM_EDIT_PASTE));
    robot.Command(dialog, IDM_EDIT_PASTE);
    EXPECT_EQ(robot::Text(GetDlgItem(dialog, IDC_INPUT_FIELD)), "Clipped");

    EmptyTheClipboard();
    EXPECT_TRUE(Grayed(dialog, IDM_EDIT_PASTE));
    CancelDialog(dialog);
}

TEST_F(InputDialogsTest, WithTheFocusOnAButtonOnlyPasteAndSelectAllAreUsableAndEditingDoesNothing) {
    PutOnClipboard("marker");
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
    EXPECT_EQ(ClipboardText(), "marker");
    EXPECT_TRUE(IsWindow(dialog));
    CancelDialog(dialog);
}

// ---- the editing commands ----------------------------------------------------------------

TEST_F(InputDialogsTest, SelectAllAndCutEmptiesTheFieldAndPastePutsTheTextBack) {
    EmptyTheClipboard();
    HWND dialog = OpenNameDialog();
    ASSERT_NE(dialog, nullptr);
    HWND field = GetDlgItem(dialog, IDC_INPUT_FIELD);
    robot.Type(field, "Palette");
    robot.Command(dialog, IDM_EDIT_SELECT_ALL);
    robot.Command(dialog, IDM_EDIT_CUT);
    EXPECT_EQ(robot::Text(field), "");
    EXPECT_EQ(ClipboardText(), "Palette");
    robot.Command(dialog, IDM_EDIT_PASTE);
    robot.Command(dialog, IDM_EDIT_PASTE);
    EXPECT_EQ(robot::Text(field), "PalettePalette");

    // What the field shows is what OK takes.
    robot.Click(dialog, IDC_MAIN_MENU);
    HWND keyDialog = robot.WaitForWindow("Keyname Insert Screen");
    ASSERT_NE(keyDialog, nullptr);
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD), "k");
    robot.Click(keyDialog, IDC_MAIN_MENU);
    EXPECT_TRUE(robot.WaitUntilGone(keyDialog));
    EXPECT_EQ(IniBytes(), "[One]\r\na=1\r\n[PalettePalette]\r\nk=\r\n");
}

TEST_F(InputDialogsTest, InTheKeyDialogTheEditingCommandsActOnTheFocusedField) {
    EmptyTheClipboard();
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
    EXPECT_EQ(ClipboardText(), "C:\\TEMP");
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

    robot.Click(dialog, IDC_MAIN_MENU);
    EXPECT_TRUE(robot.WaitUntilGone(dialog));
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
    robot.Click(nameDialog, IDC_MAIN_MENU);
    HWND keyDialog = robot.WaitForWindow("Keyname Insert Screen");
    ASSERT_NE(keyDialog, nullptr);
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD), key);
    robot.Type(GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD), value);
    EXPECT_EQ(robot::Text(GetDlgItem(keyDialog, IDC_NEW_KEY_FIELD)), key.substr(0, 74));
    EXPECT_EQ(robot::Text(GetDlgItem(keyDialog, IDC_NEW_VALUE_FIELD)), value.substr(0, 74));
    robot.Click(keyDialog, IDC_MAIN_MENU);
    EXPECT_TRUE(robot.WaitUntilGone(keyDialog));

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
    EXPECT_EQ(robot.FindWindowOf("Keyname Insert Screen", "#32770"), nullptr);

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
