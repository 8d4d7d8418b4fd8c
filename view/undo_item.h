// The text of the Undo and Redo items of the Commands menus. Portable: no
// <windows.h>; view/win32/undo_commands.cpp puts it into the menus.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace view {

// Names longer than this many characters are cut in the menus.
constexpr std::size_t kMenuNameChars = 40;

// "&Undo Delete Key b\tCtrl+Z": the verb, the change's name as a menu shows
// it, a tab and the key. In the name a tab (or any other control character,
// which a section or key name may hold) shows as a space, since a tab would
// split the item; "&" is doubled; and a name longer than kMenuNameChars
// characters shows its first kMenuNameChars and "…", so that no name makes
// the menu wider than the screen. name is UTF-8; an empty name leaves the
// verb alone.
std::string UndoItemText(std::string_view verb, std::string_view name, std::string_view key);

}  // namespace view
