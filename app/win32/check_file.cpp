#include "app/win32/check_file.h"

#include <commctrl.h>

#include <iterator>
#include <string>
#include <vector>

#include "base/win32/anchor_layout.h"
#include "base/win32/dpi.h"
#include "base/win32/fonts.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "base/win32/window_text.h"
#include "files/win32/file_text.h"
#include "files/win32/file_watch.h"
#include "ini/encoding.h"
#include "ini/profile_check.h"
#include "res/resource.h"

namespace {

constexpr WPARAM kCtrlC = 0x03;
constexpr WPARAM kCtrlK = 0x0B;

// What the open window shows: the file's text and its findings.
struct Shown {
    HWND window = nullptr;
    const std::string* text = nullptr;
    const std::vector<ini::CheckFinding>* findings = nullptr;
    view::LinePlace chosen;
} Open;

// The list grows with the window, the label runs along its top, the buttons
// stay at its foot on the right.
AnchorLayout Layout;
constexpr unsigned kAtFoot = AnchorLayout::kRight | AnchorLayout::kBottom;
const wchar_t* const kColumns[] = {L"Line", L"Section", L"The file says", L"The reader gets", L"Windows and Wine"};
// Of the list's width, in hundredths.
constexpr int kColumnShares[] = {5, 11, 20, 40, 24};

HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_CHECK_LIST); }

void AddColumns(HWND list) {
    RECT area;
    GetClientRect(list, &area);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(kColumns[i]);
        column.cx = (area.right - area.left) * kColumnShares[i] / 100;
        column.iSubItem = i;
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

BOOL OnInit(HWND dialog) {
    Open.window = dialog;
    Layout.Attach(dialog, {{IDC_CHECK_LABEL, AnchorLayout::kAlongTop}, {IDC_CHECK_LIST, AnchorLayout::kGrows},
                           {IDOK, kAtFoot}, {IDC_CHECK_COPY, kAtFoot}, {IDCANCEL, kAtFoot}});
    // The file's text in the face that shows every script.
    SetControlFonts(dialog, ListFont(WindowDpi(dialog)), {IDC_CHECK_LIST});
    const size_t count = Open.findings->size();
    SetDlgItemTextW(dialog, IDC_CHECK_LABEL,
                    WideText(std::to_string(count) + (count == 1 ? " finding in " : " findings in ") + FullPath).c_str());
    HWND list = List(dialog);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddColumns(list);
    // The rows are made as they show (LVS_OWNERDATA), however many there are.
    SendMessageW(list, LVM_SETITEMCOUNT, count, 0);
    LVITEMW first{};
    first.stateMask = first.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
    SetFocus(list);
    return FALSE;
}

// The columns keep their shares of the list's width, as the user left them.
void OnSize(HWND dialog) {
    RECT was;
    GetClientRect(List(dialog), &was);
    Layout.Arrange(dialog);
    RECT now;
    GetClientRect(List(dialog), &now);
    if (was.right <= 0 || now.right == was.right) return;
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        const LRESULT columnWidth = SendMessageW(List(dialog), LVM_GETCOLUMNWIDTH, column, 0);
        SendMessageW(List(dialog), LVM_SETCOLUMNWIDTH, column, MAKELPARAM(columnWidth * now.right / was.right, 0));
    }
}

void OnDpiChanged(HWND dialog, UINT dpi, const RECT* suggested) {
    Layout.ChangeDpi(dialog, dpi, *suggested);
    SetControlFonts(dialog, ListFont(dpi), {IDC_CHECK_LIST});
}

std::string Cell(const ini::CheckFinding& finding, int column) {
    switch (column) {
    case 0: return std::to_string(finding.line);
    case 1: return finding.section;
    case 2: return finding.says;
    case 3: return finding.gets;
    default: return finding.differs;
    }
}

void ShowCell(NMLVDISPINFOW* info) {
    if (!(info->item.mask & LVIF_TEXT) || info->item.iItem < 0 ||
        static_cast<size_t>(info->item.iItem) >= Open.findings->size())
        return;
    const std::wstring text = WideText(Cell((*Open.findings)[info->item.iItem], info->item.iSubItem));
    lstrcpynW(info->item.pszText, text.c_str(), info->item.cchTextMax);
}

// Every finding on the clipboard, a line each, as text.
void CopyFindings(HWND dialog) {
    std::string all;
    for (const ini::CheckFinding& finding : *Open.findings) all += ini::FindingAsText(finding) + "\r\n";
    CopyTextToClipboard(dialog, all);
}

// The selected finding's line, shown by the main window: the window ends.
void OpenFinding(HWND dialog) {
    const LRESULT selected = SendMessageW(List(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (selected < 0) {
        Warn(dialog, "You must select something before you Open it.");
        return;
    }
    const size_t line = (*Open.findings)[selected].line;
    Open.chosen = view::PlaceOfLine(*Open.text, line);
    if (Open.chosen.header.empty()) {
        Warn(dialog, Format("KEPLIN's lists do not show line %lu: no header comes before it.",
                            static_cast<unsigned long>(line)));
        return;
    }
    EndDialog(dialog, 1);
}

BOOL OnNotify(HWND dialog, const NMHDR* header) {
    if (header->idFrom != IDC_CHECK_LIST) return FALSE;
    switch (header->code) {
    case LVN_GETDISPINFOW: ShowCell(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header))); return TRUE;
    case NM_DBLCLK:        OpenFinding(dialog); return TRUE;
    }
    return FALSE;
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK:           OpenFinding(dialog); return TRUE;
    case IDC_CHECK_COPY: CopyFindings(dialog); return TRUE;
    case IDCANCEL:       EndDialog(dialog, 0); return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK CheckFileProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_INITDIALOG:    return OnInit(dialog);
    case WM_SIZE:          OnSize(dialog); return TRUE;
    case WM_GETMINMAXINFO: Layout.LimitTracking(dialog, reinterpret_cast<MINMAXINFO*>(lp)); return TRUE;
    case WM_DPICHANGED:    OnDpiChanged(dialog, HIWORD(wp), reinterpret_cast<RECT*>(lp)); return TRUE;
    case WM_NOTIFY:        return OnNotify(dialog, reinterpret_cast<const NMHDR*>(lp));
    case WM_COMMAND:       return OnCommand(dialog, LOWORD(wp));
    }
    return FALSE;
}

HHOOK Hook;
HWND Main;

bool Within(HWND top, HWND window) { return top != nullptr && (window == top || IsChild(top, window)); }

// Sees every message the thread takes from its queue, modal loops included.
LRESULT CALLBACK WatchKeys(int code, WPARAM wp, LPARAM lp) {
    MSG* message = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && message->message == WM_CHAR) {
        if (message->wParam == kCtrlK && Within(Main, message->hwnd) && IsWindowEnabled(Main)) {
            PostMessageW(Main, WM_COMMAND, IDM_CHECK_FILE, 0);
            message->message = WM_NULL;   // taken: no control sees this key
        } else if (message->wParam == kCtrlC && Within(Open.window, message->hwnd)) {
            PostMessageW(Open.window, WM_COMMAND, IDC_CHECK_COPY, 0);
            message->message = WM_NULL;
        }
    }
    return CallNextHookEx(Hook, code, wp, lp);
}

}  // namespace

std::optional<view::LinePlace> RunCheckFile(HWND owner) {
    if (IniLocation.fileName[0] == '\0') {
        Warn(owner, "There is no INI file selected.\nYou must select a file before checking it.");
        return std::nullopt;
    }
    ini::FileText text;
    if (files::ReadFileText(FullPath, text) != files::ReadResult::Read) {
        ReportFileNotFound(owner);
        files::NoteSeen(FullPath);
        return std::nullopt;
    }
    const ini::CheckReport report = ini::CheckProfileText(text.text, text.encoding);
    if (report.findings.empty()) {
        Inform(owner, Format("No problems found in %s.", FullPath));
        return std::nullopt;
    }
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    Open = Shown{};
    Open.text = &text.text;
    Open.findings = &report.findings;
    const INT_PTR result = DialogBoxParamW(ProgramInstance, L"CheckFile", owner, CheckFileProc, 0);
    std::optional<view::LinePlace> chosen;
    if (result == 1) chosen = std::move(Open.chosen);
    Open = Shown{};
    return chosen;
}

void WatchCheckKeys(HWND mainWindow) {
    StopWatchingCheckKeys();
    Main = mainWindow;
    Hook = SetWindowsHookExW(WH_GETMESSAGE, WatchKeys, nullptr, GetCurrentThreadId());
}

void StopWatchingCheckKeys() {
    if (Hook != nullptr) UnhookWindowsHookEx(Hook);
    Hook = nullptr;
    Main = nullptr;
}
