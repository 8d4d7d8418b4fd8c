#include "view/undo_item.h"

#include "base/unicode.h"

namespace view {

std::string UndoItemText(std::string_view verb, std::string_view name, std::string_view key) {
    std::string text = "&";
    text += verb;
    if (!name.empty()) text += ' ';
    std::size_t characters = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (!base::IsContinuation(static_cast<unsigned char>(c)) && ++characters > kMenuNameChars) {
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
