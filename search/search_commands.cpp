// Find and Find Next: the walk over the whole file from the main window, the
// hand-over to the section view, and the search inside one view.
#include "search/search_commands.h"

#include <string>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/records.h"
#include "app/section_list.h"
#include "ini/scanner.h"
#include "res/resource.h"
#include "search/find_dialog.h"
#include "search/search_walk.h"
#include "search/text_match.h"

namespace {

// The main list's headers, read from the list as the walk reaches them.
class ListHeaders : public search::HeaderList {
public:
    explicit ListHeaders(HWND list) : list_(list) {}
    int Count() const override {
        LRESULT count = SendMessageA(list_, LB_GETCOUNT, 0, 0);
        return count == LB_ERR ? 0 : static_cast<int>(count);
    }
    std::string Header(int index) const override { return ItemText(list_, index); }

    static std::string ItemText(HWND list, int index) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
        if (length == LB_ERR) return std::string();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        LRESULT copied = SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
        return text;
    }

private:
    HWND list_;
};

bool HasSearchText() { return SearchState.SearchText[0] != '\0'; }

// The search is over: Find Next grays until the next Find.
void EndSearch() {
    SearchState.SectionCursor = 0;
    SearchState.LastMatchedSection = -1;
    SearchState.LineCursor = 0;
    SearchState.SearchText[0] = '\0';
}

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
    auto readFile = [](std::string& bytes) { return ini::ReadFileBytes(FullPath, bytes); };
    switch (search::SearchSections(headers, readFile, request, cursor)) {
    case search::WalkResult::Found:
        SearchState.SectionCursor = cursor.section;
        SearchState.LineCursor = cursor.line;
        SearchState.LastMatchedSection = cursor.lastMatchedSection;
        return 1;
    case search::WalkResult::CannotOpen:
        Warn(owner, Format("Sorry, Could not find %s", IniLocation.fileName));
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
        if (matches(ListHeaders::ItemText(list, static_cast<int>(j)))) {
            SearchState.LineCursor = static_cast<int32_t>(j + 1);
            SendMessageA(list, LB_SETCURSEL, j, 0);
            return true;
        }
    }
    return false;
}

}  // namespace

void FindInMainWindow(HWND window) {
    // A new search shows no match until its walk finds one.
    SearchState.SearchActive = 0;
    SearchState.LastMatchedSection = -1;
    SearchState.LineCursor = 0;
    SearchState.SectionCursor = 0;
    if (RunFindDialog(window) != 1) return;
    SearchState.SectionCursor = static_cast<int32_t>(SelectedIndex(GetDlgItem(window, IDC_SECTION_LIST)));
    FindNextInMainWindow(window);
}

void FindNextInMainWindow(HWND window) {
    // F3 reaches here even when no search runs; an empty text would match everything.
    if (!HasSearchText()) return;
    HWND list = GetDlgItem(window, IDC_SECTION_LIST);
    // Back from a view that handed the walk over, the focus is nowhere; the
    // list is where the user goes on.
    SetFocus(list);
    if (SearchSections(window) != 1) {
        // No match is shown any more, so F3 in a list no longer goes on.
        SearchState.SearchActive = 0;
        return;
    }
    SearchState.SearchActive = 1;
    SendMessageA(list, LB_SETCURSEL, SearchState.SectionCursor, 0);
    // A match in a header only selects it; one in a line opens the section on it.
    if (SearchState.LineCursor == 0) return;
    ViewSection(window);
    SearchState.SearchActive = 0;
}

void FindInView(HWND view) {
    SearchState.LastMatchedSection = -1;
    SearchState.LineCursor = 0;
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
    SearchState.SearchActive = 0;
    EndSearch();
}
