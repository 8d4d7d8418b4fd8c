// Turning a listed header text into the section name the profile service uses.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace ini {

// The characters from the second one up to, not including, the first "]"
// after it ("[Boot]" gives "Boot"; " [Colors]" gives "[Colors").
// Without such a "]" the rest of the text after the first character.
std::string SectionNameFromHeader(std::string_view header);

// The section that the private-profile service itself sees for a header line.
// The service passes over leading blanks and tabs, so " [Colors]" is the
// section Colors; any other character before the "[" ("x[Colors]", ";[Colors]")
// makes the line no section for the service, although our list shows it.
// The name is the text between that "[" and the first "]" after it. Empty
// optional when the line is no section for the service.
std::optional<std::string> ServiceSectionName(std::string_view header);

}  // namespace ini
