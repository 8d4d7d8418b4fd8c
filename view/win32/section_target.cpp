#include "view/win32/section_target.h"

#include "base/win32/message_box.h"
#include "base/win32/records.h"
#include "files/win32/file_text.h"
#include "ini/profile_writer.h"
#include "ini/scanner.h"
#include "ini/section_name.h"

std::optional<std::string> HeaderLineIn(std::string_view text, const std::string& header) {
    ini::IniText file;
    file.OpenBytes(text);
    std::string_view piece;
    bool ended = false;
    // Whole lines, looked at in place: a C string's view of each, up to a NUL.
    while (file.NextPiece(piece, ended, static_cast<std::size_t>(-1))) {
        const std::string_view line = piece.substr(0, piece.find('\0'));
        if (line.substr(0, header.size()) == header) return std::string(line);
    }
    return std::nullopt;
}

std::optional<std::string> EditableSection(HWND owner, const std::string& header) {
    ini::FileText text;
    if (files::ReadFileText(FullPath, text) != files::ReadResult::Read) return EditableSection(owner, header, {});
    return EditableSection(owner, header, HeaderLineIn(text.text, header));
}

std::optional<std::string> EditableSection(HWND owner, const std::string& header,
                                           const std::optional<std::string>& line) {
    // A name holding bytes that are not text is taken as it stands: the
    // writer finds it by those bytes and writes them back unchanged.
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
