#include "files/change_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ChangeHistoryTest, UndoAndRedoGiveBackEveryVersionAndHoldOnlyWhatChanged) {
    std::string big;
    for (int i = 0; i < 20000; ++i) big += "[S" + std::to_string(i) + "]\r\nk=v\r\n";
    const std::vector<std::string> versions = {
        big,
        // A value changed in the middle, a key inserted, a section deleted at the top.
        std::string(big).replace(big.find("[S9999]\r\nk=v"), 12, "[S9999]\r\nk=longer value"),
    };
    std::vector<std::string> all = versions;
    all.push_back(all.back() + "[New]\r\nkey=1\r\n");
    all.push_back(all.back().substr(all.back().find("[S1]")));
    files::ChangeHistory history;
    for (size_t i = 1; i < all.size(); ++i) history.Record("change " + std::to_string(i), {}, all[i - 1], all[i]);
    EXPECT_LT(history.HeldBytes(), 1000u);
    EXPECT_EQ(history.NextUndo()->name, "change 3");
    // The first section went: its 11 bytes, wherever the shared text lets them start.
    EXPECT_EQ(history.NextUndo()->change.before.size(), 11u);
    EXPECT_EQ(history.NextUndo()->change.after, "");

    std::string file = all.back();
    for (size_t i = all.size() - 1; i > 0; --i) {
        std::optional<std::string> undone = history.UndoneText(file);
        ASSERT_TRUE(undone) << "undo " << i;
        EXPECT_TRUE(*undone == all[i - 1]) << "undo " << i;
        history.Undone();
        file = *undone;
    }
    EXPECT_EQ(history.NextUndo(), nullptr);
    for (size_t i = 1; i < all.size(); ++i) {
        std::optional<std::string> redone = history.RedoneText(file);
        ASSERT_TRUE(redone) << "redo " << i;
        EXPECT_TRUE(*redone == all[i]) << "redo " << i;
        history.Redone();
        file = *redone;
    }
    EXPECT_EQ(history.NextRedo(), nullptr);
}

TEST(ChangeHistoryTest, ActsOnlyOnTheFileAsItWasLeftAndANewChangeEndsRedo) {
    files::ChangeHistory history;
    history.Record("Insert Key b", {"A", "b"}, "[A]\r\na=1\r\n", "[A]\r\na=1\r\nb=2\r\n");
    // Another program changed a byte far from the change itself.
    EXPECT_EQ(history.UndoneText("[B]\r\na=1\r\nb=2\r\n"), std::nullopt);
    ASSERT_TRUE(history.UndoneText("[A]\r\na=1\r\nb=2\r\n"));
    history.Undone();
    EXPECT_EQ(history.RedoneText("[A]\r\na=1\r\n "), std::nullopt);
    ASSERT_NE(history.NextRedo(), nullptr);
    history.Record("Delete Key a", {"A", "a"}, "[A]\r\na=1\r\n", "[A]\r\n");
    EXPECT_EQ(history.NextRedo(), nullptr);
    EXPECT_EQ(history.NextUndo()->name, "Delete Key a");
}

TEST(ChangeHistoryTest, AFileOfTheSameSizeIsToldApartWhereAWeakerHashSawNoChange) {
    // Bit 7 of the bytes at offsets 7 and 15 flipped: the same size, and the
    // same hash under FNV over eight-byte words, which an Undo once took for
    // the file KEPLIN left.
    const std::string left = "[A]\r\nk=1\r\nj=22\r\n[B]\r\n";
    std::string theirs = left;
    theirs[7] = static_cast<char>(theirs[7] ^ 0x80);
    theirs[15] = static_cast<char>(theirs[15] ^ 0x80);
    EXPECT_NE(files::FingerprintOf(theirs), files::FingerprintOf(left));
    files::ChangeHistory history;
    // The change lies after both bytes, so only the fingerprint can tell.
    history.Record("Insert Section [B]", {"B", ""}, "[A]\r\nk=1\r\nj=22\r\n", left);
    EXPECT_EQ(history.UndoneText(theirs), std::nullopt);
    EXPECT_TRUE(history.UndoneText(left));
    // The hash is XXH3-128: its value for no bytes.
    EXPECT_EQ(files::HexOf(files::HashOf("")), "99aa06d3014798d86001c324468d497f");
}
