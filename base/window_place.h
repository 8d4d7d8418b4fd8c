// Where a window was left, as the preferences file keeps it ("left top width
// height dpi", in pixels at that DPI), and the rules that give it back: the
// size follows the DPI, and a place that lies on no monitor is moved onto one.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

struct Rect {
    long left = 0, top = 0, right = 0, bottom = 0;
    long Width() const { return right - left; }
    long Height() const { return bottom - top; }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

struct WindowPlace {
    Rect rect;
    int dpi = 96;
};

// Five whole numbers separated by blanks; nothing when the text holds anything
// else, an empty size or a DPI outside 48..960 (a hand-edited value is ignored,
// never half taken).
std::optional<WindowPlace> ParseWindowPlace(std::string_view text);
std::string FormatWindowPlace(const WindowPlace& place);

// The place's rectangle at dpi: the top-left corner stays, the size scales.
Rect SizedForDpi(const WindowPlace& place, int dpi);

// The rectangle as it is when some part of it lies on one of the monitors'
// work areas; else moved into the first area (the caller puts the nearest
// first), and made no larger than it.
Rect OntoAMonitor(const Rect& rect, const std::vector<Rect>& workAreas);

}  // namespace base
