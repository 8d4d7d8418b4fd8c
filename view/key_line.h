// Splitting a section line into key and value for the section view.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace view {

struct KeyValue {
    std::string key;
    std::string value;
};

// Edit's split: leading "=" characters are passed over, the key runs to the
// next "=", the value is what follows that "=" up to the first carriage
// return (further "=" belong to the value). Empty optional for a line that
// holds no "=" after its key, or whose key is empty: such a line is not a key.
std::optional<KeyValue> SplitKeyLine(std::string_view line);

// Delete's cut: the text before the first "=". Empty optional when the line
// has no "=" or nothing before it.
std::optional<std::string> KeyOfLine(std::string_view line);

}  // namespace view
