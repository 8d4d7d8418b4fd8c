#include "app/win32/compare_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/path_rules.h"
#include "base/preference_rules.h"
#include "base/win32/anchor_layout.h"
#include "base/win32/dpi.h"
#include "base/win32/fonts.h"
#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "base/win32/window_text.h"
#include "files/backup_name.h"
#include "files/win32/backup.h"
#include "files/win32/file_bytes.h"
#include "files/win32/file_text.h"
#include "files/win32/file_watch.h"
#include "files/win32/profile_store.h"
#include "ini/encoding.h"
#include "ini/profile_compare.h"
#include "res/resource.h"

namespace {

// The list follows changes to either file, by KEPLIN or another program,
// within a second, as the main window does.
constexpr UINT_PTR kFollowTimer = 1;
constexpr UINT kFollowMs = 500;
// A backup's record of where it came from: not part of the file.
constexpr char kBackupRecord[] = "BACKUPLOCATION";

// One side of the comparison: the file, its text as last read and indexed,
// and its stamp then.
struct Side {
    std::string path;
    std::optional<std::string_view> leftOut;
    ini::FileText text;
    std::optional<ini::ProfileIndex> index;   // views into text; none when the file could not be read
    files::FileStamp stamp;
    bool stale = false;   // written by KEPLIN: read again whatever the stamp says

    // Reads the file again when it has changed since it was read; true when it did.
    bool Follow() {
        const files::FileStamp now = files::StampOf(path);
        if (index && !stale && now == stamp) return false;
        stamp = now;
        stale = false;
        index.reset();
        if (files::ReadFileText(path, text) == files::ReadResult::Read) index.emplace(text.text, leftOut);
        return true;
    }
};

// The open window's state; one Compare window at a time.
Side Mine, Theirs;   // Theirs leaves out the backup's record when it is the current file's backup
ini::ProfileComparison Comparison;
bool Changed;                 // a Take wrote the current file
std::wstring Cell;            // the text last handed to the list

// The list grows with the window, the summary runs along its top, the
// buttons keep to its right edge, Close at its foot.
AnchorLayout Layout;


HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_COMPARE_LIST); }

int SelectedIndex(HWND dialog) {
    return static_cast<int>(SendMessageW(List(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

const ini::ProfileDifference* SelectedRow(HWND dialog) {
    const int index = SelectedIndex(dialog);
    if (index < 0 || static_cast<size_t>(index) >= Comparison.rows.size()) return nullptr;
    return &Comparison.rows[static_cast<size_t>(index)];
}

void Select(HWND dialog, int index) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = index >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageW(List(dialog), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    if (index >= 0) SendMessageW(List(dialog), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

bool ReadOnly() { return base::IsNonZeroOn(Preferences.LockContents); }

void UpdateButtons(HWND dialog) {
    const ini::ProfileDifference* row = SelectedRow(dialog);
    const bool canTake = row != nullptr && !ReadOnly();
    EnableWindow(GetDlgItem(dialog, IDC_TAKE), canTake && row->kind != ini::DifferenceKind::Duplicate);
    EnableWindow(GetDlgItem(dialog, IDC_TAKE_SECTION), canTake);
    EnableWindow(GetDlgItem(dialog, IDC_COPY), !Comparison.rows.empty());
    // A button grayed under the focus would leave the keyboard nowhere.
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(dialog, focus) && !IsWindowEnabled(focus)) SetFocus(List(dialog));
}

void ShowTitle(HWND dialog) {
    SetWindowTextW(dialog, (L"Compare " + files::WideOfCodePage(Mine.path) + L" with " + files::WideOfCodePage(Theirs.path)).c_str());
}

// Compares the two texts as last read and lists the differences, selecting
// the row about the same section and key as before where there is one, else
// the row at the same place.
void ListDifferences(HWND dialog) {
    const int was = SelectedIndex(dialog);
    std::optional<ini::ProfileDifference> selected;
    if (const ini::ProfileDifference* row = SelectedRow(dialog)) selected = *row;
    std::string summary;
    if (!Mine.index || !Theirs.index) {
        Comparison = ini::ProfileComparison{};
        summary = Format("Sorry, KEPLIN cannot read %s.", (Mine.index ? Theirs : Mine).path.c_str());
    } else {
        Comparison = ini::CompareProfiles(*Mine.index, *Theirs.index);
        summary = ini::ComparisonSummary(Comparison);
    }
    SetDlgItemTextW(dialog, IDC_COMPARE_SUMMARY, WideText(summary).c_str());
    HWND list = List(dialog);
    SendMessageW(list, LVM_SETITEMCOUNT, Comparison.rows.size(), 0);
    int index = -1;
    for (size_t i = 0; selected && i < Comparison.rows.size(); ++i) {
        const ini::ProfileDifference& row = Comparison.rows[i];
        if (row.kind == selected->kind && row.wholeSection == selected->wholeSection &&
            row.section == selected->section && row.key == selected->key)
            index = static_cast<int>(i);
    }
    if (index < 0 && !Comparison.rows.empty())
        index = was < 0 ? 0 : std::min(was, static_cast<int>(Comparison.rows.size()) - 1);
    Select(dialog, index);
    InvalidateRect(list, nullptr, TRUE);
    UpdateButtons(dialog);
}

// Reads again whichever file has changed, and compares again if one has.
void FollowChanges(HWND dialog) {
    const bool mine = Mine.Follow();
    const bool theirs = Theirs.Follow();
    if (mine || theirs) ListDifferences(dialog);
}

void AddColumn(HWND list, int index, const wchar_t* title, int width) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title);
    column.cx = width;
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void LayOut(HWND dialog) {
    Layout.Attach(dialog, {{IDC_COMPARE_SUMMARY, AnchorLayout::kAlongTop}, {IDC_COMPARE_LIST, AnchorLayout::kGrows},
                           {IDC_TAKE, AnchorLayout::kAlongRight}, {IDC_TAKE_SECTION, AnchorLayout::kAlongRight},
                           {IDC_COPY, AnchorLayout::kAlongRight}, {IDC_OTHER_FILE, AnchorLayout::kAlongRight},
                           {IDCANCEL, AnchorLayout::kRight | AnchorLayout::kBottom}});
    // The files' text in the face that shows every script.
    SetControlFonts(dialog, ListFont(WindowDpi(dialog)), {IDC_COMPARE_LIST});
}

void OnDpiChanged(HWND dialog, UINT dpi, const RECT* suggested) {
    Layout.ChangeDpi(dialog, dpi, *suggested);
    SetControlFonts(dialog, ListFont(dpi), {IDC_COMPARE_LIST});
}

BOOL OnInit(HWND dialog) {
    Comparison = ini::ProfileComparison{};
    Changed = false;
    HWND list = List(dialog);
    SendMessageW(list, CCM_SETUNICODEFORMAT, TRUE, 0);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT area;
    GetClientRect(list, &area);
    const int width = area.right - GetSystemMetrics(SM_CXVSCROLL);
    const wchar_t* titles[] = {L"Section", L"Key", L"This file", L"Other file", L"Difference"};
    const int shares[] = {18, 16, 20, 20, 26};
    for (int i = 0; i < 5; ++i) AddColumn(list, i, titles[i], width * shares[i] / 100);
    LayOut(dialog);
    ShowTitle(dialog);
    ListDifferences(dialog);
    SetTimer(dialog, kFollowTimer, kFollowMs, nullptr);
    SetFocus(list);
    return FALSE;
}

// The list asks for a cell's text as it draws it.
void GiveCell(NMLVDISPINFOW* info) {
    if (!(info->item.mask & LVIF_TEXT) || info->item.iItem < 0 ||
        static_cast<size_t>(info->item.iItem) >= Comparison.rows.size())
        return;
    const ini::DifferenceCells cells = ini::CellsOf(Comparison.rows[static_cast<size_t>(info->item.iItem)]);
    const std::string* texts[] = {&cells.section, &cells.key, &cells.mine, &cells.theirs, &cells.what};
    const int column = info->item.iSubItem;
    Cell = column >= 0 && column < 5 ? WideText(*texts[column]) : std::wstring();
    info->item.pszText = &Cell[0];
}

void Copy(HWND dialog) {
    if (Comparison.rows.empty()) return;
    std::string text;
    for (const ini::ProfileDifference& row : Comparison.rows) text += ini::DifferenceLine(row) + "\r\n";
    CopyTextToClipboard(dialog, text);
}

// Take (one key) or Take section: one change to the current file, backed up
// first as any change and named for Undo.
void Take(HWND dialog, bool section) {
    const ini::ProfileDifference* selected = SelectedRow(dialog);
    if (ReadOnly() || selected == nullptr) return;
    section = section || selected->wholeSection;
    if (!section && selected->kind == ini::DifferenceKind::Duplicate) return;
    // A file changed since it was listed: the list first shows what it holds now.
    if (files::StampOf(Mine.path) != Mine.stamp || files::StampOf(Theirs.path) != Theirs.stamp) {
        FollowChanges(dialog);
        return;
    }
    const ini::ProfileDifference row = *selected;
    const std::string header = "[" + row.section + "]";
    const std::string change = section ? "Take Section " + header : "Take " + header + " " + row.key;
    // Of the other file, only its copy of the section is read.
    const std::string_view theirs =
        std::string_view(Theirs.text.text).substr(row.theirsFrom, row.theirsTo - row.theirsFrom);
    // What the file's encoding must hold: the names and values written.
    std::string written;
    if (section) written = ini::TakenSectionText(theirs, row.section);
    else if (row.kind != ini::DifferenceKind::KeyOnlyMine) written = row.section + row.key + row.theirs.value_or("");
    // Taken from the backup, the backup stays as it is: it is what the user takes from.
    if (Theirs.leftOut) BackupMade = 1;
    if (!PrepareChange(dialog, {written.c_str()})) return;
    const bool done = profile::ChangeText(FullPath, change.c_str(), {row.section, section ? "" : row.key},
                                          [&](std::string_view text) {
                                              return section ? ini::TakeProfileSection(text, theirs, row.section)
                                                             : ini::TakeProfileKey(text, theirs, row.section, row.key);
                                          });
    if (!done) Warn(dialog, "KEPLIN could not write profile.");
    Changed = Changed || done;
    // A file system that keeps times coarsely may show the same size and time.
    Mine.stale = done;
    FollowChanges(dialog);
}

// The platform's file-open dialog for the file to compare with; nothing when
// the user cancels, or picks a name the program's code page cannot hold.
std::optional<std::string> ChooseOtherFile(HWND owner) {
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring directory = files::WideOfCodePage(IniLocation.directory);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"INI Files (*.INI)\0*.ini\0Backup INI Files (*.INB)\0*.inb\0All Files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = directory.c_str();
    dialog.lpstrTitle = L"Compare with";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    const std::optional<std::string> path = files::NarrowPath(file.data());
    if (!path) {
        Warn(owner, "Sorry, KEPLIN cannot open a file of that name: it is not in the system's code page.");
        return std::nullopt;
    }
    return path;
}

bool IsBackupOfCurrentFile(const std::string& path) {
    const std::optional<std::string> backup = files::BackupPath(ProgramDirectory, IniLocation.fileName, FullPath);
    return backup && base::EqualIgnoringCase(*backup, path);
}

void UseOtherFile(const std::string& path) {
    Theirs = Side{};
    Theirs.path = path;
    if (IsBackupOfCurrentFile(path)) Theirs.leftOut = kBackupRecord;
    Theirs.Follow();
}

void CompareWithAnotherFile(HWND dialog) {
    const std::optional<std::string> path = ChooseOtherFile(dialog);
    if (!path) return;
    UseOtherFile(*path);
    ShowTitle(dialog);
    ListDifferences(dialog);
}

void Close(HWND dialog) {
    KillTimer(dialog, kFollowTimer);
    EndDialog(dialog, 0);
}

BOOL OnNotify(HWND dialog, NMHDR* header) {
    if (header->idFrom != IDC_COMPARE_LIST) return FALSE;
    switch (header->code) {
    case LVN_GETDISPINFOW:  GiveCell(reinterpret_cast<NMLVDISPINFOW*>(header)); return TRUE;
    case LVN_ITEMCHANGED:   UpdateButtons(dialog); return TRUE;
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == 'C' && GetKeyState(VK_CONTROL) < 0) Copy(dialog);
        return TRUE;
    }
    return FALSE;
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_TAKE:          Take(dialog, false); return TRUE;
    case IDC_TAKE_SECTION:  Take(dialog, true); return TRUE;
    case IDC_COPY:          Copy(dialog); return TRUE;
    case IDC_OTHER_FILE:    CompareWithAnotherFile(dialog); return TRUE;
    case IDCANCEL:          Close(dialog); return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK CompareProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_INITDIALOG: return OnInit(dialog);
    case WM_COMMAND:    return OnCommand(dialog, LOWORD(wp));
    case WM_NOTIFY:     return OnNotify(dialog, reinterpret_cast<NMHDR*>(lp));
    case WM_SIZE:       Layout.Arrange(dialog); return TRUE;
    case WM_GETMINMAXINFO: Layout.LimitTracking(dialog, reinterpret_cast<MINMAXINFO*>(lp)); return TRUE;
    case WM_DPICHANGED: OnDpiChanged(dialog, HIWORD(wp), reinterpret_cast<RECT*>(lp)); return TRUE;
    case WM_TIMER:
        // Not while a message box or the file dialog waits for an answer.
        if (wp == kFollowTimer && IsWindowEnabled(dialog)) FollowChanges(dialog);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

bool RunCompare(HWND owner) {
    if (IniLocation.fileName[0] == '\0') {
        Warn(owner, "There is no INI file selected.\nYou must select a file before comparing it.");
        return false;
    }
    Mine = Side{};
    Mine.path = FullPath;
    Mine.Follow();
    if (!Mine.index) {
        ReportFileNotFound(owner);
        return false;
    }
    std::optional<std::string> other;
    const std::optional<std::string> backup = files::BackupPath(ProgramDirectory, IniLocation.fileName, FullPath);
    if (backup && files::StampOf(*backup).exists) {
        switch (AskYesNoCancel(owner, Format("Compare %s with its backup,\n%s?\n\nNo chooses another file.",
                                             IniLocation.fileName, backup->c_str()))) {
        case IDYES: other = *backup; break;
        case IDNO:  break;
        default:    return false;
        }
    }
    if (!other) other = ChooseOtherFile(owner);
    if (!other) return false;
    UseOtherFile(*other);
    if (!Theirs.index) {
        Warn(owner, Format("Sorry, KEPLIN cannot read %s.", other->c_str()));
        return false;
    }
    DialogBoxParamW(ProgramInstance, L"Compare", owner, CompareProc, 0);
    Mine = Side{};
    Theirs = Side{};
    Comparison = ini::ProfileComparison{};
    return Changed;
}
