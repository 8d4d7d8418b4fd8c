// A window's place read from arbitrary preferences text: what is taken
// reads back the same once written, scales without overflow, and is put
// within the work area it is moved into.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/window_place.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Pieces pieces(data, size);
    const std::string text = pieces.Next();
    const std::optional<base::WindowPlace> place = base::ParseWindowPlace(text);
    if (!place) return 0;
    FUZZ_CHECK(place->rect.Width() > 0 && place->rect.Height() > 0);
    const std::optional<base::WindowPlace> again = base::ParseWindowPlace(base::FormatWindowPlace(*place));
    FUZZ_CHECK(again && again->rect == place->rect && again->dpi == place->dpi);

    // A second place, when the input holds one, is the work area.
    const std::optional<base::WindowPlace> other = base::ParseWindowPlace(pieces.Next());
    const int dpi = other ? other->dpi : 96;
    const base::Rect sized = base::SizedForDpi(*place, dpi);
    FUZZ_CHECK(sized.left == place->rect.left && sized.top == place->rect.top);
    FUZZ_CHECK(sized.Width() >= 0 && sized.Height() >= 0);
    if (!other) return 0;
    const base::Rect area = other->rect;
    const base::Rect placed = base::OntoAMonitor(sized, std::vector<base::Rect>{area});
    const bool overlapped = sized.left < area.right && area.left < sized.right && sized.top < area.bottom &&
                            area.top < sized.bottom;
    if (overlapped) {
        FUZZ_CHECK(placed == sized);
    } else {
        FUZZ_CHECK(placed.left >= area.left && placed.right <= area.right);
        FUZZ_CHECK(placed.top >= area.top && placed.bottom <= area.bottom);
    }
    return 0;
}
