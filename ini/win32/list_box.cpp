#include "ini/win32/list_box.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "ini/encoding.h"
#include "ini/line_order.h"

namespace {

// Widths of lines in a list's font: the sum of their characters' advance
// widths, as the list draws them. The printable ASCII characters are
// measured in one call, any other character the first time it comes.
class LineWidths {
public:
    explicit LineWidths(HWND list) : list_(list), dc_(GetDC(list)) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
        old_ = SelectObject(dc_, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
        if (!GetCharWidth32W(dc_, kFirst, kLast, ascii_)) std::fill(std::begin(ascii_), std::end(ascii_), 0);
    }
    ~LineWidths() {
        SelectObject(dc_, old_);
        ReleaseDC(list_, dc_);
    }
    LineWidths(const LineWidths&) = delete;
    LineWidths& operator=(const LineWidths&) = delete;

    int Of(const std::u16string& line) {
        int width = 0;
        for (char16_t c : line) {
            // Unsigned: one comparison keeps a character within the table.
            if (static_cast<unsigned>(c - kFirst) <= static_cast<unsigned>(kLast - kFirst)) {
                width += ascii_[c - kFirst];
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                return Whole(line);    // a character beyond the first plane
            } else {
                auto [known, added] = others_.try_emplace(c, 0);
                if (added) {
                    INT measured = 0;
                    GetCharWidth32W(dc_, c, c, &measured);
                    known->second = measured;
                }
                width += known->second;
            }
        }
        return width;
    }

    // The extent that shows the widest line whole: the list draws its items
    // a little in from its edge.
    void SetExtent(int widest) const {
        const int margin = widest > 0 ? 2 * GetSystemMetrics(SM_CXEDGE) : 0;
        SendMessageW(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + margin), 0);
    }

private:
    static constexpr char16_t kFirst = 0x20, kLast = 0x7E;

    int Whole(const std::u16string& line) const {
        SIZE size = {};
        const wchar_t* text = reinterpret_cast<const wchar_t*>(line.c_str());
        GetTextExtentPoint32W(dc_, text, static_cast<int>(line.size()), &size);
        return size.cx;
    }

    HWND list_;
    HDC dc_;
    HGDIOBJ old_;
    INT ascii_[kLast - kFirst + 1];
    std::unordered_map<char16_t, int> others_;
};

std::u16string WideItemText(HWND list, int64_t index) {
    const WPARAM at = static_cast<WPARAM>(index);
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, at, 0);
    if (length == LB_ERR || length <= 0) return std::u16string();
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    LRESULT copied = SendMessageW(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

// A list made to be seen, which the windows make with a horizontal scroll
// bar; not the hidden store of lines that printing and searching use. (The
// style's WS_HSCROLL says only whether the bar shows now.)
bool ScrollsSideways(HWND list) { return (GetWindowLongW(list, GWL_STYLE) & WS_VISIBLE) != 0; }

constexpr size_t kReserveEvery = 16384;    // items

}  // namespace

int ListFiller::Finish() {
    if (order_ == Order::ByPreference) ini::ArrangeByPreference(lines_, alphabetize_);
    size_t units = 0;
    for (std::string_view line : lines_) units += line.size() + 1;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    std::optional<LineWidths> widths;
    if (ScrollsSideways(list_)) widths.emplace(list_);
    int widest = 0;
    // The list's own procedure takes the lines straight: a hundred thousand
    // of them through the message dispatch and the procedure KEPLIN puts
    // before it (which has nothing to do with them) cost a third more.
    const WNDPROC insert = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list_, GCLP_WNDPROC));
    // Inserting at the end keeps the order chosen here even in a list that
    // sorts itself. The list holds the text as UTF-16, exactly: what a
    // line holds that is not valid text comes back unchanged (encoding.h).
    //
    // LB_INITSTORAGE reserves room for the items to come. Wine's list gives
    // the room back at the next insertion while its block is small, and then
    // grows the block 64 KB at a time, copying all of it each time (a third
    // of the time of 100,000 insertions, half of 200,000). A big block the
    // heap shrinks and grows in place, so reserving the rest again every so
    // often keeps the copies away.
    std::u16string wide;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        if (i % kReserveEvery == 0) SendMessageW(list_, LB_INITSTORAGE, lines_.size() - i, units * sizeof(wchar_t));
        units -= line.size() + 1;
        wide.clear();
        ini::AppendAsUtf16(wide, line);
        if (widths) widest = std::max(widest, widths->Of(wide));
        CallWindowProcW(insert, list_, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
    }
    if (widths) widths->SetExtent(widest);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    int count = static_cast<int>(lines_.size());
    lines_.clear();
    owned_.clear();
    return count;
}

void FitHorizontalExtent(HWND list) {
    if (!ScrollsSideways(list)) return;
    LineWidths widths(list);
    int widest = 0;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) widest = std::max(widest, widths.Of(WideItemText(list, i)));
    widths.SetExtent(widest);
}

std::string ListItemText(HWND list, int64_t index) { return ini::Utf16ToUtf8(WideItemText(list, index)); }

LRESULT SelectedListText(HWND list, std::string& text) {
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return LB_ERR;
    text = ListItemText(list, index);
    return index;
}
