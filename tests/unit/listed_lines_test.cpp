#include "view/listed_lines.h"

#include <gtest/gtest.h>

namespace {

// Reads the body after the first line of bytes both ways: with the scanner's
// own pass and with ReadListedEntries, which must list the same texts.
std::vector<view::ListedEntry> Entries(const std::string& bytes, std::vector<std::string>* listed) {
    ini::IniText file;
    file.OpenBytes(bytes);
    ini::VectorSink sink;
    std::string header;
    file.ReadIniLine(header, ini::kListLimit);
    ini::ReadSectionBody(file, sink);
    *listed = sink.lines;
    file.OpenBytes(bytes);
    file.ReadIniLine(header, ini::kListLimit);
    return view::ReadListedEntries(file);
}

TEST(ListedLinesTest, EachPieceOfALongLineLeadsToTheWholeLine) {
    const std::string longLine = "Long=" + std::string(300, 'v');
    std::vector<std::string> listed;
    const auto entries = Entries("[A]\r\nShort=1\r\n\r\n" + longLine + "\r\nlast=2", &listed);
    ASSERT_EQ(entries.size(), listed.size());
    ASSERT_EQ(entries.size(), 5u);
    for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].text, listed[i]) << i;
    EXPECT_TRUE(entries[0].beginsLine);
    EXPECT_EQ(entries[0].line, "Short=1");
    EXPECT_TRUE(entries[1].beginsLine);
    EXPECT_FALSE(entries[2].beginsLine);
    EXPECT_FALSE(entries[3].beginsLine);
    for (int i : {1, 2, 3}) EXPECT_EQ(entries[i].line, longLine) << i;
    EXPECT_EQ(entries[4].line, "last=2");
}

TEST(ListedLinesTest, APieceStartingWithABracketEndsTheBodyAsTheScannerDoes) {
    const std::string line = "k=" + std::string(147, 'x') + "[Next]tail";
    std::vector<std::string> listed;
    const auto entries = Entries("[A]\n" + line + "\nafter=1\n", &listed);
    ASSERT_EQ(listed, std::vector<std::string>{line.substr(0, 149)});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].line, line) << "the whole line, though the body ends inside it";
}

TEST(ListedLinesTest, SortingFollowsTheListsOrder) {
    std::vector<view::ListedEntry> entries{{"b=1", true, "b=1"}, {"A=2", true, "A=2"}, {"a=3", true, "a=3"}};
    view::SortLikeTheList(entries, false);
    EXPECT_EQ(entries[0].text, "b=1");
    view::SortLikeTheList(entries, true);
    EXPECT_EQ(entries[0].text, "A=2");
    EXPECT_EQ(entries[1].text, "a=3");
    EXPECT_EQ(entries[2].text, "b=1");
}

}  // namespace
