#include "ini/section_name.h"

namespace ini {

std::string SectionNameFromHeader(std::string_view header) {
    if (header.empty()) return std::string();
    const std::size_t close = header.find(']', 1);
    if (close == std::string_view::npos) return std::string(header.substr(1));
    return std::string(header.substr(1, close - 1));
}

std::optional<std::string> ServiceSectionName(std::string_view header) {
    const std::size_t open = header.find_first_not_of(" \t");
    if (open == std::string_view::npos || header[open] != '[') return std::nullopt;
    const std::size_t close = header.find(']', open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return std::string(header.substr(open + 1, close - open - 1));
}

}  // namespace ini
