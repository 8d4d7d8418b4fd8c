#include "user_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace steps {

namespace {

// The one count: what it counts and the procedure it wraps.
struct Counted {
    UINT message;
    int commandId;
    WNDPROC own;
    volatile LONG count;
} counted;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == counted.message && (message != WM_COMMAND || LOWORD(wp) == counted.commandId))
        InterlockedIncrement(&counted.count);
    return CallWindowProcW(counted.own, window, message, wp, lp);
}

}  // namespace

MessageCount::MessageCount(HWND window, UINT message, int commandId) : window_(window) {
    counted.message = message;
    counted.commandId = commandId;
    counted.count = 0;
    counted.own = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
}

MessageCount::~MessageCount() {
    if (IsWindow(window_)) SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counted.own));
}

LONG MessageCount::Count() const { return counted.count; }

HWND User::Opened(const char* caption) {
    HWND window = WaitForWindow(caption);
    EXPECT_NE(window, nullptr) << "\"" << caption << "\" did not open";
    // A modal dialog shows itself only once its queue first runs empty.
    if (!window) return nullptr;
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; })) << "\"" << caption << "\" is hidden";
    return window;
}

void User::PressCtrl(HWND window, WPARAM character) {
    HWND target = Focus();
    Post(target && (target == window || IsChild(window, target)) ? target : window, WM_CHAR, character, 1);
}

void User::ClickToClose(HWND window, int buttonId) {
    const std::string caption = robot::Text(window);
    const std::string button = robot::Text(GetDlgItem(window, buttonId));
    Click(window, buttonId);
    EXPECT_TRUE(WaitUntilGone(window)) << "\"" << caption << "\" stayed open after " << button;
}

HWND User::OpenInsertSection(HWND main) {
    Command(main, IDC_INSERT);
    return Opened(kSectionNameScreen);
}

HWND User::FillInsertSection(HWND main, const std::string& name, const std::string& key, const std::string& value) {
    HWND nameScreen = OpenInsertSection(main);
    if (!nameScreen) return nullptr;
    Type(GetDlgItem(nameScreen, IDC_INPUT_FIELD), name);
    Ok(nameScreen);
    return FillInsertScreen(key, value);
}

void User::InsertSection(HWND main, const std::string& name, const std::string& key, const std::string& value,
                         const std::string& expectedBox) {
    HWND screen = FillInsertSection(main, name, key, value);
    if (!screen) return;
    if (!expectedBox.empty()) Expect("KEPLIN", expectedBox).Answer(IDOK);
    Ok(screen);
}

HWND User::FillInsertKey(HWND view, const std::string& key, const std::string& value) {
    Click(view, IDC_INSERT);
    return FillInsertScreen(key, value);
}

void User::InsertKey(HWND view, const std::string& key, const std::string& value, const std::string& expectedBox) {
    HWND screen = FillInsertKey(view, key, value);
    if (!screen) return;
    if (!expectedBox.empty()) Expect("KEPLIN", expectedBox).Answer(IDOK);
    Ok(screen);
}

HWND User::FillInsertScreen(const std::string& key, const std::string& value) {
    HWND screen = Opened(kInsertScreen);
    if (!screen) return nullptr;
    Type(GetDlgItem(screen, IDC_NEW_KEY_FIELD), key);
    Type(GetDlgItem(screen, IDC_NEW_VALUE_FIELD), value);
    return screen;
}

void User::DeleteSection(HWND main, int index, const std::string& header, int answer, const std::string& thenBox) {
    HWND list = GetDlgItem(main, IDC_SECTION_LIST);
    SelectItem(list, index);
    const std::vector<std::string> items = robot::ListItems(list);
    const int selected = robot::SelectedIndex(list);
    ASSERT_EQ(selected >= 0 && selected < static_cast<int>(items.size()) ? items[selected] : "<none>", header)
        << "the header selected for Delete Section";
    Expect("KEPLIN", "Are you sure you want to DELETE\n" + header + " ?").Answer(answer);
    if (!thenBox.empty()) Expect("KEPLIN", thenBox).Answer(IDOK);
    Click(main, IDC_DELETE_SECTION);
}

void User::DeleteKey(HWND view, int index, const std::string& key, int answer) {
    SelectItem(GetDlgItem(view, IDC_VIEW_LIST), index);
    Expect("KEPLIN", "Are you sure you want to DELETE\n" + key + " ?").Answer(answer);
    Click(view, IDC_DELETE_KEY);
}

HWND User::OpenSection(HWND main, int index) {
    SelectItem(GetDlgItem(main, IDC_SECTION_LIST), index);
    Click(main, IDC_VIEW_SECTION);
    return Opened(kSectionView);
}

void User::DragFrameTo(HWND window, const RECT& place) {
    // The platform's sizing loop ends in this call, which asks the window
    // for its smallest size.
    SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
}

HWND User::OpenFind(HWND owner) {
    Command(owner, IDC_FIND);
    return Opened(kFind);
}

void User::Find(HWND owner, const std::string& text, bool matchCase, const char* box) {
    HWND dialog = OpenFind(owner);
    if (!dialog) return;
    SetText(GetDlgItem(dialog, IDC_FIND_TEXT), text);
    HWND matchCaseBox = GetDlgItem(dialog, IDC_MATCH_CASE);
    if ((IsDlgButtonChecked(dialog, IDC_MATCH_CASE) == BST_CHECKED) != matchCase) Post(matchCaseBox, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MATCH_CASE) == BST_CHECKED, matchCase) << "Match Case";
    if (box) Expect("KEPLIN", box).Answer(IDOK);
    Ok(dialog);
}

HWND User::OpenSelectIniFile(HWND main) {
    Click(main, IDC_SELECT_INI);
    return Opened(kSelectIniFile);
}

void User::TypeFileName(HWND dialog, const std::string& text) {
    HWND box = GetDlgItem(dialog, IDC_FILE_NAME);
    Post(box, EM_SETSEL, 0, -1);
    Paste(box, text);
    EXPECT_EQ(robot::Text(box), text);
}

void User::Restore(HWND dialog, const std::string& backupName, const std::string& target, int answer,
                   const std::vector<std::string>& thenBoxes) {
    TypeFileName(dialog, backupName);
    const std::string folder = robot::Text(GetDlgItem(dialog, IDC_DIRECTORY_TEXT));
    const std::string backup = backupName.find('\\') != std::string::npos ? backupName : folder + "\\" + backupName;
    Expect("KEPLIN", "Are you sure you want to Restore\n" + backup + "\nto the file\n" + target + "?").Answer(answer);
    for (const std::string& box : thenBoxes) Expect("KEPLIN", box).Answer(IDOK);
    Click(dialog, IDC_RESTORE);
}

HWND User::OpenCompare(HWND main, const std::string& caption, const std::string& question, int answer) {
    if (!question.empty()) Expect("KEPLIN", question).Answer(answer);
    Command(main, IDM_COMPARE);
    return Opened(caption.c_str());
}

namespace {

BOOL CALLBACK TakeVisibleEdit(HWND child, LPARAM found) {
    wchar_t name[16] = L"";
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Edit") != 0 || !IsWindowVisible(child)) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

}  // namespace

void User::CompareWithOtherFile(HWND compare, const std::string& path) {
    Post(compare, WM_COMMAND, IDC_OTHER_FILE, 0);
    HWND dialog = Opened("Compare with");
    ASSERT_NE(dialog, nullptr);
    // The name box: the dialog's one edit, however deep its combo boxes hold it.
    HWND box = nullptr;
    EnumChildWindows(dialog, TakeVisibleEdit, reinterpret_cast<LPARAM>(&box));
    ASSERT_NE(box, nullptr) << "no file-name box in the file-open dialog";
    SetWindowTextA(box, path.c_str());
    Click(dialog, IDOK);
}

robot::Items User::CompareRows(HWND compare) {
    HWND list = GetDlgItem(compare, IDC_COMPARE_LIST);
    const int columns = static_cast<int>(SendMessageW(
        reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
    robot::Items rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string row;
        for (int column = 0; column < columns; ++column) {
            wchar_t text[1024] = L"";
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 1024;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            char narrow[3072] = "";
            WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
            row += (column == 0 ? "" : " | ") + std::string(narrow);
        }
        rows.push_back(row);
    }
    return rows;
}

void User::SelectRow(HWND compare, int index) {
    HWND list = GetDlgItem(compare, IDC_COMPARE_LIST);
    RECT row = {};
    row.left = LVIR_LABEL;
    if (!SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row)))
        ADD_FAILURE() << "the Compare window lists no row " << index;
    const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    Settle();
}

HWND User::EditLine(HWND view, int index) {
    SelectItem(GetDlgItem(view, IDC_VIEW_LIST), index);
    Click(view, IDC_EDIT_KEY);
    return Opened(kEditScreen);
}

void User::EditValue(HWND view, int index, const std::string& value) {
    HWND screen = EditLine(view, index);
    if (!screen) return;
    SetText(GetDlgItem(screen, IDC_INPUT_FIELD), value);
    Ok(screen);
}

}  // namespace steps
