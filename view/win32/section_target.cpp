#include "view/win32/section_target.h"

#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/file_text.h"
#include "ini/profile_writer.h"
#include "ini/scanner.h"
#include "ini/section_name.h"

namespace {

// The whole first line of the file that begins with the listed header text:
// the list shows a header cut after its first "]", but the profile service
// reads its name up to the last "]" of the line.
std::optional<std::string> HeaderLine(const std::string& header) {
    ini::FileText text;
    if (files::ReadFileText(FullPath, text) != files::ReadResult::Read) return std::nullopt;
    ini::IniText file;
    file.OpenBytes(text.text);
    std::string line;
    while (file.ReadIniLine(line, static_cast<std::size_t>(-1))) {
        if (line.compare(0, header.size(), header) == 0) return line;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> EditableSection(HWND owner, const std::string& header) {
    // A name holding bytes that are not text is taken as it stands: the
    // writer finds it by those bytes and writes them back unchanged.
    std::optional<std::string> line = HeaderLine(header);
    std::optional<std::string> section = line ? ini::ProfileSectionOfLine(*line) : ini::ServiceSectionName(header);
    if (!section) {
        Warn(owner, Format("Sorry, KEPLIN cannot change %s\nbecause its line does not start with [.", header.c_str()));
    } else if (section->empty()) {
        // To the profile service the empty name means the lines before the
        // first header, not this section: a change would land there.
        Warn(owner, Format("Sorry, KEPLIN cannot change %s\nbecause its section has no name.", header.c_str()));
        section.reset();
    }
    return section;
}
