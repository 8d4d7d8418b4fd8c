#include "ini/win32/list_box.h"

#include "ini/encoding.h"
#include "ini/line_order.h"

int ListFiller::Finish() {
    if (order_ == Order::ByPreference) ini::ArrangeByPreference(lines_, alphabetize_);
    size_t units = 0;
    for (const std::string& line : lines_) units += line.size() + 1;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_INITSTORAGE, lines_.size(), units * sizeof(wchar_t));
    // Inserting at the end keeps the order chosen here even in a list that
    // sorts itself. The list holds the text as UTF-16, exactly: what a
    // line holds that is not valid text comes back unchanged (encoding.h).
    for (const std::string& line : lines_) {
        const std::u16string wide = ini::Utf8ToUtf16(line);
        SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    int count = static_cast<int>(lines_.size());
    lines_.clear();
    return count;
}

std::string ListItemText(HWND list, int64_t index) {
    const WPARAM at = static_cast<WPARAM>(index);
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, at, 0);
    if (length == LB_ERR || length <= 0) return std::string();
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    LRESULT copied = SendMessageW(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return ini::Utf16ToUtf8(text);
}

LRESULT SelectedListText(HWND list, std::string& text) {
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return LB_ERR;
    text = ListItemText(list, index);
    return index;
}
