// Find and Find Next: the walk over the whole file from the main window, the
// hand-over to the section view, and the search inside one view.
#include "search/win32/search_commands.h"

#include <string>

#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/file_text.h"
#include "files/win32/file_watch.h"
#include "ini/scanner.h"
#include "ini/win32/list_box.h"
#include "res/resource.h"
#include "search/search_walk.h"
#include "search/text_match.h"
#include "search/win32/find_dialog.h"

namespace {

// The main list's headers, read from the list as the walk reaches them.
class ListHeaders : public search::HeaderList {
public:
    explicit ListHeaders(HWND list) : list_(list) {}
    int Count() const override {
        LRESULT count = SendMessageA(list_, LB_GETCOUNT, 0, 0);
        return count == LB_ERR ? 0 : static_cast<int>(count);
    }
    std::string Header(int index) const override { return ListItemText(list_, index); }

private:
    HWND list_;
};

bool HasSearchText() { return SearchState.SearchText[0] != '\0'; }

LRESULT SelectedIndex(HWND list) {
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? 0 : index;
}

// The cross-section walk from the cursors of SearchState. 1: found, the
// cursors point at the match; 0: nothing more (reported, search ended);
// -1: the file cannot be opened (reported, cursors as they were).
int SearchSections(HWND owner) {
    ListHeaders headers(GetDlgItem(owner, IDC_SECTION_LIST));
    search::WalkCursor cursor{SearchState.SectionCursor, SearchState.LineCursor, SearchState.LastMatchedSection};
    const search::WalkRequest request{SearchState.SearchText, SearchState.MatchCase == 1, Preferences.Alphabetize};
    auto readFile = [](std::string& text) {
        ini::FileText file;
        if (files::ReadFileText(FullPath, file) != files::ReadResult::Read) return false;
        text = std::move(file.text);
        return true;
    };
    switch (search::SearchSections(headers, readFile, request, cursor)) {
    case search::WalkResult::Found:
        SearchState.SectionCursor = cursor.section;
        SearchState.LineCursor = cursor.line;
        SearchState.LastMatchedSection = cursor.lastMatchedSection;
        return 1;
    case search::WalkResult::CannotOpen:
        ReportFileNotFound(owner);
        files::NoteSeen(FullPath);
        return -1;
    case search::WalkResult::NothingMore:
        break;
    }
    Warn(owner, Format("Could not find any more\n%s", SearchState.SearchText));
    EndSearch();
    return 0;
}

// Selects the first line from LineCursor on that holds the search text, and
// moves LineCursor past it; false when no line does.
bool FindInViewList(HWND view) {
    HWND list = GetDlgItem(view, IDC_VIEW_LIST);
    const search::TextMatcher matches(SearchState.SearchText, SearchState.MatchCase == 1);
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT j = SearchState.LineCursor < 0 ? 0 : SearchState.LineCursor; j < count; ++j) {
        if (matches(ListItemText(list, j))) {
            SearchState.LineCursor = static_cast<int32_t>(j + 1);
            SendMessageA(list, LB_SETCURSEL, j, 0);
            return true;
        }
    }
    return false;
}

}  // namespace

void StartSearchOver() {
    SearchState.SectionCursor = 0;
    SearchState.LineCursor = 0;
    SearchState.LastMatchedSection = -1;
}

void EndSearch() {
    StartSearchOver();
    SearchState.SearchText[0] = '\0';
}

MainWindowMatch FindInMainWindow(HWND window) {
    // A new search shows no match until its walk finds one.
    SearchState.SearchActive = 0;
    StartSearchOver();
    if (RunFindDialog(window) != 1) return MainWindowMatch::None;
    SearchState.SectionCursor = static_cast<int32_t>(SelectedIndex(GetDlgItem(window, IDC_SECTION_LIST)));
    return FindNextInMainWindow(window);
}

MainWindowMatch FindNextInMainWindow(HWND window) {
    // F3 reaches here even when no search runs; an empty text would match everything.
    if (!HasSearchText()) return MainWindowMatch::None;
    HWND list = GetDlgItem(window, IDC_SECTION_LIST);
    // Back from a view that handed the walk over, the focus is nowhere; the
    // list is where the user goes on.
    SetFocus(list);
    if (SearchSections(window) != 1) {
        // No match is shown any more, so F3 in a list no longer goes on.
        SearchState.SearchActive = 0;
        return MainWindowMatch::None;
    }
    SearchState.SearchActive = 1;
    SendMessageA(list, LB_SETCURSEL, SearchState.SectionCursor, 0);
    // A match in a header only selects it; one in a line opens the section on it.
    return SearchState.LineCursor == 0 ? MainWindowMatch::Header : MainWindowMatch::Line;
}

void FindInView(HWND view) {
    StartSearchOver();
    INT_PTR result = RunFindDialog(view);
    // This view now searches its own lines, whoever opened it.
    SearchState.SearchActive = 0;
    if (result != 1) return;
    SearchState.LineCursor = static_cast<int32_t>(SelectedIndex(GetDlgItem(view, IDC_VIEW_LIST)));
    if (FindInViewList(view)) return;
    SearchState.LineCursor = 0;
    Warn(view, "Could not find any.");
}

void FindNextInView(HWND view) {
    if (!HasSearchText()) return;
    SearchState.SearchActive = 0;
    if (FindInViewList(view)) return;
    SearchState.LineCursor = 0;
    Warn(view, Format("Could not find any more\n%s", SearchState.SearchText));
    EndSearch();
}
