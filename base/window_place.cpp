#include "base/window_place.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace base {

namespace {

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

long Scaled(long value, int from, int to) {
    return static_cast<long>((static_cast<int64_t>(value) * to + from / 2) / from);
}

}  // namespace

std::optional<WindowPlace> ParseWindowPlace(std::string_view text) {
    long numbers[5];
    size_t at = 0;
    for (long& number : numbers) {
        while (at < text.size() && text[at] == ' ') ++at;
        const char* begin = text.data() + at;
        const auto [end, error] = std::from_chars(begin, text.data() + text.size(), number);
        if (error != std::errc() || end == begin) return std::nullopt;
        at = static_cast<size_t>(end - text.data());
    }
    while (at < text.size() && text[at] == ' ') ++at;
    if (at != text.size()) return std::nullopt;
    const long width = numbers[2], height = numbers[3], dpi = numbers[4];
    // Far beyond any screen: a value no run of the program wrote.
    const long kLimit = 1L << 20;
    if (width <= 0 || height <= 0 || width > kLimit || height > kLimit || dpi < 48 || dpi > 960) return std::nullopt;
    if (numbers[0] < -kLimit || numbers[0] > kLimit || numbers[1] < -kLimit || numbers[1] > kLimit) return std::nullopt;
    WindowPlace place;
    place.rect = Rect{numbers[0], numbers[1], numbers[0] + width, numbers[1] + height};
    place.dpi = static_cast<int>(dpi);
    return place;
}

std::string FormatWindowPlace(const WindowPlace& place) {
    return std::to_string(place.rect.left) + " " + std::to_string(place.rect.top) + " " +
           std::to_string(place.rect.Width()) + " " + std::to_string(place.rect.Height()) + " " +
           std::to_string(place.dpi);
}

Rect SizedForDpi(const WindowPlace& place, int dpi) {
    const Rect& r = place.rect;
    return Rect{r.left, r.top, r.left + Scaled(r.Width(), place.dpi, dpi), r.top + Scaled(r.Height(), place.dpi, dpi)};
}

Rect OntoAMonitor(const Rect& rect, const std::vector<Rect>& workAreas) {
    if (workAreas.empty()) return rect;
    for (const Rect& area : workAreas)
        if (Overlap(rect, area)) return rect;
    const Rect& area = workAreas.front();
    const long width = std::min(rect.Width(), area.Width());
    const long height = std::min(rect.Height(), area.Height());
    const long left = std::clamp(rect.left, area.left, area.right - width);
    const long top = std::clamp(rect.top, area.top, area.bottom - height);
    return Rect{left, top, left + width, top + height};
}

}  // namespace base
