#include "ini/win32/list_box.h"

#include "ini/line_order.h"

int ListFiller::Finish() {
    if (order_ == Order::ByPreference) ini::ArrangeByPreference(lines_, alphabetize_);
    size_t bytes = 0;
    for (const std::string& line : lines_) bytes += line.size() + 1;
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LB_INITSTORAGE, lines_.size(), bytes);
    // Inserting at the end keeps the order chosen here even in a list that
    // sorts itself.
    for (const std::string& line : lines_)
        SendMessageA(list_, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    int count = static_cast<int>(lines_.size());
    lines_.clear();
    return count;
}

std::string ListItemText(HWND list, int64_t index) {
    const WPARAM at = static_cast<WPARAM>(index);
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, at, 0);
    if (length == LB_ERR || length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = SendMessageA(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

LRESULT SelectedListText(HWND list, std::string& text) {
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return LB_ERR;
    text = ListItemText(list, index);
    return index;
}
