#include "view/undo_item.h"

namespace view {

namespace {

// A UTF-8 byte that goes on a character rather than beginning one.
bool Continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string UndoItemText(std::string_view verb, std::string_view name, std::string_view key) {
    std::string text = "&";
    text += verb;
    if (!name.empty()) text += ' ';
    std::size_t characters = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (!Continues(c) && ++characters > kMenuNameChars) {
            text += "\xE2\x80\xA6";   // …
            break;
        }
        if (c == '&')
            text += "&&";
        else
            text += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    }
    text += '\t';
    text += key;
    return text;
}

}  // namespace view
