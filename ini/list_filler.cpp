#include "ini/list_filler.h"

#include "app/records.h"
#include "ini/line_order.h"

int ListFiller::Finish() {
    if (order_ == Order::ByPreference) ini::ArrangeByPreference(lines_, Preferences.Alphabetize);
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
