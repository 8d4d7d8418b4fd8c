// Puts the lines of a scanner pass into a list box.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ini/scanner.h"

// Collects a pass's lines and puts them into the list in one go with redraw
// off: one insertion at a time into a sorting list box is far too slow for
// files of many thousand sections.
class ListFiller : public ini::LineSink {
public:
    enum class Order { ByPreference, InFileOrder };
    ListFiller(HWND list, Order order) : list_(list), order_(order) {}
    void Add(const std::string& line) override { lines_.push_back(line); }
    // Sorts when asked (Alphabetize on) and fills the list; returns the count.
    int Finish();

private:
    HWND list_;
    Order order_;
    std::vector<std::string> lines_;
};
