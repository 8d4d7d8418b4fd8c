#include "view/undo_item.h"

#include <gtest/gtest.h>

#include <string>

TEST(UndoItemTest, ATabShowsAsASpaceAndALongNameIsCutAfterFortyCharacters) {
    EXPECT_EQ(view::UndoItemText("Undo", "", "Ctrl+Z"), "&Undo\tCtrl+Z");
    EXPECT_EQ(view::UndoItemText("Undo", "Edit Key a\tb", "Ctrl+Z"), "&Undo Edit Key a b\tCtrl+Z");
    EXPECT_EQ(view::UndoItemText("Redo", "Delete Section [R&D]", "Ctrl+Y"), "&Redo Delete Section [R&&D]\tCtrl+Y");
    // Forty characters are shown whole; one more and the name is cut, by
    // characters, not bytes (each of these is three bytes).
    std::string forty = "Delete Section [";
    for (int i = 0; i < 23; ++i) forty += "\xE6\x97\xA5";
    forty += "]";
    EXPECT_EQ(view::UndoItemText("Undo", forty, "Ctrl+Z"), "&Undo " + forty + "\tCtrl+Z");
    EXPECT_EQ(view::UndoItemText("Undo", forty + "x", "Ctrl+Z"), "&Undo " + forty + "\xE2\x80\xA6\tCtrl+Z");
    EXPECT_EQ(view::UndoItemText("Undo", "Edit Key " + std::string(500, 'k'), "Ctrl+Z"),
              "&Undo Edit Key " + std::string(31, 'k') + "\xE2\x80\xA6\tCtrl+Z");
}
