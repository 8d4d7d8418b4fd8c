#include "view/line_place.h"

#include <unordered_map>

#include "ini/profile_model.h"
#include "ini/scanner.h"

namespace view {

LinePlace PlaceOfLine(std::string_view text, std::size_t number) {
    LinePlace place;
    ini::ProfileLines lines(text);
    ini::ProfileLine line;
    std::string_view target;
    while (lines.Next(line) && line.number < number) {}
    if (line.number != number) return place;
    target = line.content;

    // The lists read the text in pieces of up to 149 characters: the main
    // list takes every piece that looks like a header, the view the pieces
    // after its header up to one that starts with "[".
    ini::ProfileLines again(text);
    ini::IniText file;
    file.OpenBytes(text);
    std::unordered_map<std::string, std::size_t> headerCopies;
    std::string piece;
    bool inBody = false;
    while (again.Next(line)) {
        for (bool begins = true; file.Offset() < line.end && file.ReadIniLine(piece, ini::kListLimit); begins = false) {
            std::string header = piece;
            if (ini::IsSectionHeader(header)) {
                if (begins && line.number == number) {
                    place.isHeader = true;
                    place.header = header;
                    place.headerCopy = headerCopies[header];
                    return place;
                }
                place.headerCopy = headerCopies[header]++;
                place.header = std::move(header);
                place.lineCopy = 0;
                inBody = true;
                continue;
            }
            ini::StripLineEnd(piece);
            if (piece.empty()) continue;
            if (piece[0] == '[') {
                inBody = false;
                continue;
            }
            if (!begins || !inBody) continue;
            if (line.number == number) {
                // The view opens on the first header of this text.
                place.inView = place.headerCopy == 0;
                place.line = std::string(target);
                return place;
            }
            if (line.content == target) ++place.lineCopy;
        }
        if (line.number == number) return place;
    }
    return place;
}

}  // namespace view
