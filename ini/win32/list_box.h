// List boxes filled with lines and read back: the one place that puts a
// pass's lines into a list box and the one reader of a list box's text.
#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "ini/scanner.h"

// Collects a pass's lines and puts them into the list in one go with redraw
// off: one insertion at a time into a sorting list box is far too slow for
// files of many thousand sections. A list made visible gets the width of
// its widest line as its horizontal extent (its scroll bar shows when that
// is wider than the list), each line measured in the list's font as it goes
// in: no item is read back or measured again.
class ListFiller : public ini::LineSink {
public:
    enum class Order { ByPreference, InFileOrder };
    // alphabetize: the preference as stored, for Order::ByPreference.
    ListFiller(HWND list, Order order, int32_t alphabetize = 0)
        : list_(list), order_(order), alphabetize_(alphabetize) {}
    void Add(const std::string& line) override {
        owned_.push_back(line);
        lines_.push_back(owned_.back());
    }
    void AddText(std::string_view line) override { lines_.push_back(line); }
    // Sorts when asked (Alphabetize on) and fills the list; returns the count.
    int Finish();

private:
    HWND list_;
    Order order_;
    int32_t alphabetize_;
    std::deque<std::string> owned_;           // lines given as strings, kept in place
    std::vector<std::string_view> lines_;     // every line, in the order added
};

// Measures every item of the list in its font and sets the list's horizontal
// extent: after the list's font has changed.
void FitHorizontalExtent(HWND list);

// The whole text of item index; empty when there is none.
std::string ListItemText(HWND list, int64_t index);

// Puts the text of the list's selected item into text and returns its
// position; LB_ERR (text untouched) when nothing is selected.
LRESULT SelectedListText(HWND list, std::string& text);
