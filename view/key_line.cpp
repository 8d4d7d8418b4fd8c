#include "view/key_line.h"

namespace view {

std::optional<KeyValue> SplitKeyLine(std::string_view line) {
    const std::size_t keyStart = line.find_first_not_of('=');
    if (keyStart == std::string_view::npos) return std::nullopt;
    const std::size_t equals = line.find('=', keyStart);
    if (equals == std::string_view::npos) return std::nullopt;
    std::string_view value = line.substr(equals + 1);
    // A CR left in the text (a lone one, never folded) is not part of the value.
    value = value.substr(0, value.find('\r'));
    return KeyValue{std::string(line.substr(keyStart, equals - keyStart)), std::string(value)};
}

std::optional<std::string> KeyOfLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    return std::string(line.substr(0, equals));
}

}  // namespace view
