#include "view/section_target.h"

#include "app/message_box.h"
#include "ini/section_name.h"

std::optional<std::string> EditableSection(HWND owner, const std::string& header) {
    std::optional<std::string> section = ini::ServiceSectionName(header);
    if (!section)
        Warn(owner, Format("Sorry, KEPLIN cannot change %s\nbecause its line does not start with [.", header.c_str()));
    return section;
}
