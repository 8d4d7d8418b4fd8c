#include "search/search_walk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>

#include <unistd.h>

#include "ini/line_order.h"
#include "ini/scanner.h"
#include "reference_walk.h"
#include "view/listed_lines.h"

namespace fs = std::filesystem;
using search::WalkCursor;
using search::WalkResult;

namespace search {
void PrintTo(const WalkCursor& cursor, std::ostream* out) {
    *out << "{section " << cursor.section << ", line " << cursor.line << ", last matched header "
         << cursor.lastMatchedSection << "}";
}
void PrintTo(WalkResult result, std::ostream* out) {
    *out << (result == WalkResult::Found ? "Found" : result == WalkResult::NothingMore ? "NothingMore" : "CannotOpen");
}
}  // namespace search

namespace {

WalkCursor At(int32_t section, int32_t line, int32_t lastMatched) { return WalkCursor{section, line, lastMatched}; }

// The walk over a file held in memory, with the main list's headers given.
class WalkTest : public ::testing::Test {
protected:
    WalkResult Walk(const std::string& text, bool matchCase = false) {
        search::HeaderVector list(headers);
        auto reader = [this](std::string& bytes) {
            ++reads;
            if (!readable) return false;
            bytes = file;
            return true;
        };
        return search::SearchSections(list, reader, search::WalkRequest{text, matchCase, alphabetize}, cursor);
    }

    std::string file;
    std::vector<std::string> headers;
    WalkCursor cursor;
    int32_t alphabetize = 0;
    bool readable = true;
    int reads = 0;
};

TEST_F(WalkTest, AHeaderMatchComesFirstThenTheLinesOfTheSameSection) {
    file = "[Colors]\r\nBackground=0\r\ncolors=16\r\n[Fonts]\r\nSans=colors.fon\r\n";
    headers = {"[Colors]", "[Fonts]"};
    EXPECT_EQ(Walk("colors"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 0, 0)) << "the header itself matches first";
    EXPECT_EQ(reads, 0) << "a header match needs no reading";
    EXPECT_EQ(Walk("colors"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 2, 0)) << "then the second line of the same section";
    EXPECT_EQ(Walk("colors"), WalkResult::Found);
    EXPECT_EQ(cursor, At(1, 1, -1)) << "then the first line of the next section";
    EXPECT_EQ(Walk("colors"), WalkResult::NothingMore);
    EXPECT_EQ(cursor, At(0, 0, -1));
    EXPECT_EQ(reads, 3) << "one read per walk, not one per section";
}

TEST_F(WalkTest, AfterALineMatchTheNextWalkGoesOnFromTheFollowingLine) {
    file = "[Keys]\nfirst=255\nsecond=1\nthird=255\nfourth=255\n";
    headers = {"[Keys]"};
    EXPECT_EQ(Walk("255"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 1, -1));
    EXPECT_EQ(Walk("255"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 3, -1));
    EXPECT_EQ(Walk("255"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 4, -1));
    EXPECT_EQ(Walk("255"), WalkResult::NothingMore);
}

TEST_F(WalkTest, TheLastMatchedHeaderIsSkippedAndForgottenOnceTheWalkMovesOn) {
    file = "[Find one]\nnothing\n[Find two]\n[Other]\nx=find\n";
    headers = {"[Find one]", "[Find two]", "[Other]"};
    EXPECT_EQ(Walk("find"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 0, 0));
    EXPECT_EQ(Walk("find"), WalkResult::Found);
    EXPECT_EQ(cursor, At(1, 0, 1)) << "header 0 skipped, its line tested, then header 1";
    EXPECT_EQ(Walk("find"), WalkResult::Found);
    EXPECT_EQ(cursor, At(2, 1, -1));
    // The header that matched last is skipped only while the walk stands on it.
    cursor = At(0, 0, 2);
    EXPECT_EQ(Walk("find"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 0, 0));
}

TEST_F(WalkTest, TheWalkStartsAtTheSelectedSectionAndNeverWrapsRound) {
    file = "[A]\nk=match\n[B]\nk=match\n[C]\nk=none\n[D]\nk=match\n";
    headers = {"[A]", "[B]", "[C]", "[D]"};
    cursor = At(2, 0, -1);
    EXPECT_EQ(Walk("match"), WalkResult::Found);
    EXPECT_EQ(cursor, At(3, 1, -1)) << "sections above the start are not searched";
    EXPECT_EQ(Walk("match"), WalkResult::NothingMore);
    EXPECT_EQ(cursor, At(0, 0, -1)) << "the walk does not go round to [A]";
    // Started past the end: nothing to search.
    cursor = At(4, 0, -1);
    EXPECT_EQ(Walk("match"), WalkResult::NothingMore);
}

TEST_F(WalkTest, ASectionWhoseHeaderHasGoneHasNoLinesButItsListedTextStillMatches) {
    file = "[Kept]\nk=1\n[Next]\nk=gone\n";
    headers = {"[Kept]", "[Gone]", "[Next]"};
    EXPECT_EQ(Walk("gone"), WalkResult::Found);
    EXPECT_EQ(cursor, At(1, 0, 1)) << "the list's text of the gone header";
    EXPECT_EQ(Walk("gone"), WalkResult::Found);
    EXPECT_EQ(cursor, At(2, 1, -1)) << "no lines for [Gone]: the walk goes on";
    cursor = At(0, 0, -1);
    EXPECT_EQ(Walk("k="), WalkResult::Found);
    EXPECT_EQ(Walk("k="), WalkResult::Found);
    EXPECT_EQ(cursor, At(2, 1, -1));
}

TEST_F(WalkTest, SectionsOfTheSameHeaderBothShowTheLinesOfTheFirst) {
    file = "[Twin]\nfirst=1\n[Twin]\nsecond=2\n";
    headers = {"[Twin]", "[Twin]"};
    EXPECT_EQ(Walk("second"), WalkResult::NothingMore) << "the second [Twin] is never reached";
    EXPECT_EQ(Walk("first"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 1, -1));
    EXPECT_EQ(Walk("first"), WalkResult::Found);
    EXPECT_EQ(cursor, At(1, 1, -1));
    // A header line that only begins with the header text, and a comment behind it.
    file = "[Twin]x\nfirst=1\n[Twin] ; again\nsecond=2\n";
    cursor = At(0, 0, -1);
    EXPECT_EQ(Walk("second"), WalkResult::NothingMore);
}

TEST_F(WalkTest, HeadersAreSoughtInPiecesOf149CharactersAsTheViewSeeksThem) {
    // A header inside a long line is found where a 149-character piece begins,
    // not where a 249-character one does.
    const std::string rest = "[Deep]\nkey=deep\n";
    headers = {"[Deep]"};
    file = std::string(149, 'x') + rest;
    EXPECT_EQ(Walk("key"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 1, -1));
    file = std::string(249, 'x') + rest;
    cursor = At(0, 0, -1);
    EXPECT_EQ(Walk("key"), WalkResult::NothingMore);
    // A header line with a long comment behind it: the rest of the line is the
    // section's first entry, so the match below it is the view's second entry
    // in file order and sorted alike.
    file = "[Long] ; " + std::string(200, 'a') + "\nk=match\n";
    headers = {"[Long]"};
    for (int32_t sorted : {0, 1}) {
        alphabetize = sorted;
        cursor = At(0, 0, -1);
        ASSERT_EQ(Walk("match"), WalkResult::Found);
        ini::IniText text;
        text.OpenBytes(file);
        ASSERT_TRUE(ini::FindSection(text, "[Long]", ini::kListLimit));
        std::vector<view::ListedEntry> shown = view::ReadListedEntries(text);
        view::SortLikeTheList(shown, sorted == 1);
        ASSERT_EQ(shown.size(), 2u);
        ASSERT_GE(cursor.line, 1);
        EXPECT_EQ(shown[static_cast<size_t>(cursor.line - 1)].text, "k=match") << "Alphabetize " << sorted;
    }
}

TEST_F(WalkTest, WithAlphabetizeOnLinesAreCountedInSortedOrder) {
    file = "[Keys]\nbeta=1\nAlpha=2\nalpha=3\n";
    headers = {"[Keys]"};
    alphabetize = 1;
    EXPECT_EQ(Walk("3"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 2, -1)) << "Alpha=2, alpha=3, beta=1";
    alphabetize = 2;   // only exactly 1 sorts
    cursor = At(0, 0, -1);
    EXPECT_EQ(Walk("3"), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 3, -1));
}

TEST_F(WalkTest, MatchCaseDecidesWhetherLetterCaseCounts) {
    file = "[Keys]\nWINDOW=1\nwindow=2\n";
    headers = {"[Keys]"};
    EXPECT_EQ(Walk("window", true), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 2, -1));
    cursor = At(0, 0, -1);
    EXPECT_EQ(Walk("window", false), WalkResult::Found);
    EXPECT_EQ(cursor, At(0, 1, -1));
}

TEST_F(WalkTest, AFileThatCannotBeReadLeavesTheCursorAsItWas) {
    file = "[Alpha]\nk=beta\n[Beta]\n";
    headers = {"[Alpha]", "[Beta]"};
    readable = false;
    cursor = At(0, 0, -1);
    EXPECT_EQ(Walk("alpha"), WalkResult::Found) << "a header match needs no reading";
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(Walk("beta"), WalkResult::CannotOpen);
    EXPECT_EQ(cursor, At(0, 0, 0));
    EXPECT_EQ(reads, 1);
}

TEST_F(WalkTest, AnEmptyListFindsNothingAndReadsNothing) {
    file = "k=v\n";
    EXPECT_EQ(Walk("k"), WalkResult::NothingMore);
    EXPECT_EQ(reads, 0);
}

// ---- the same results as reading the file afresh for every section ------------------------

class WalkSamenessTest : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder per process: the unit tests also run a second time, built
        // without SSE2, perhaps beside this run.
        dir_ = fs::temp_directory_path() / ("keplin-walk-sameness-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        path_ = (dir_ / "generated.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string RandomFile() {
        static const char* const kNames[] = {"[Alpha]", "[alpha]", "[Beta]", "[B]", "[]", "[x[y]]", "[Caf\xE9]"};
        static const char* const kEnds[] = {"\r\n", "\n", "\r", "\r\n", "\n"};
        auto pick = [&](int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); };
        auto name = [&] { return std::string(kNames[pick(7)]); };
        auto text = [&](int length) {
            static const char kChars[] = "aAbBkK=[] ;x\xE9\xC9-'09";
            std::string s;
            for (int i = 0; i < length; ++i) s += kChars[pick(sizeof kChars - 1)];
            return s;
        };
        std::string bytes;
        const int lines = pick(40);
        for (int i = 0; i < lines; ++i) {
            switch (pick(12)) {
            case 0: case 1: case 2: bytes += name(); break;
            case 3: bytes += " " + name(); break;
            case 4: bytes += "x" + name(); break;
            case 5: bytes += name() + " ; note"; break;
            case 6: bytes += ""; break;
            case 7: {
                // A long line with a header where a 149- or 249-character piece begins, or near it.
                static const int kAt[] = {149, 249, 298, 248, 250, 498};
                std::string line = text(kAt[pick(6)]) + name() + text(pick(200));
                bytes += line;
                break;
            }
            case 8: bytes += text(pick(6)) + '\0' + text(pick(6)); break;
            default: bytes += text(1 + pick(12)) + "=" + text(pick(20)); break;
            }
            if (i + 1 < lines || pick(2)) bytes += kEnds[pick(5)];
        }
        return bytes;
    }

    // The main list's headers for the file: listed and arranged as the main
    // window does, with now and then a header that has gone or an odd text.
    std::vector<std::string> ListedHeaders(int32_t alphabetize) {
        std::string text;
        EXPECT_TRUE(reference::ReadFileBytes(path_, text));
        ini::IniText file;
        file.OpenBytes(text);
        ini::VectorSink sink;
        ini::ListSectionHeaders(file, sink);
        ini::ArrangeByPreference(sink.lines, alphabetize);
        std::vector<std::string> headers = sink.lines;
        if (random_() % 3 == 0) headers.insert(headers.begin() + random_() % (headers.size() + 1), "[Gone]");
        if (random_() % 5 == 0) headers.insert(headers.begin() + random_() % (headers.size() + 1), "k");
        return headers;
    }

    // Every match from this start until the walk ends, by both walks.
    void CompareFrom(const std::vector<std::string>& headers, const search::WalkRequest& request, WalkCursor start) {
        search::HeaderVector list(headers);
        WalkCursor fast = start, slow = start;
        for (int step = 0; step < 200; ++step) {
            int reads = 0;
            WalkResult fastResult = search::SearchSections(
                list, [&](std::string& bytes) { ++reads; return reference::ReadFileBytes(path_, bytes); }, request, fast);
            WalkResult slowResult = reference::SearchSectionsOneReadPerSection(headers, path_, request, slow);
            ASSERT_EQ(fastResult, slowResult) << Describe(headers, request, start, step);
            ASSERT_EQ(fast, slow) << Describe(headers, request, start, step);
            ASSERT_LE(reads, 1);
            ++compared_;
            if (fastResult != WalkResult::Found) return;
        }
        FAIL() << "the walk did not end";
    }

    std::string Describe(const std::vector<std::string>& headers, const search::WalkRequest& request,
                         WalkCursor start, int step) {
        std::string text = "search \"" + std::string(request.searchText) + "\" match case " +
                           std::to_string(request.matchCase) + " alphabetize " +
                           std::to_string(request.alphabetize) + " from " + std::to_string(start.section) + "/" +
                           std::to_string(start.line) + "/" + std::to_string(start.lastMatchedSection) +
                           ", step " + std::to_string(step) + "\nheaders:";
        for (const std::string& h : headers) text += " <" + h + ">";
        std::string bytes;
        reference::ReadFileBytes(path_, bytes);
        return text + "\nfile: <" + bytes + ">";
    }

    std::mt19937 random_{20261208};
    fs::path dir_;
    std::string path_;
    int compared_ = 0;
};

TEST_F(WalkSamenessTest, GivesTheMatchesOfTheOneReadPerSectionWalkOnGeneratedFiles) {
    static const char* const kTexts[] = {"a", "A", "k=", "[", "]", "x[", "\xE9", "\xC9", "b", "zz", "Alpha]", " ", "-", "'"};
    for (int round = 0; round < 150; ++round) {
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << RandomFile();
        for (int32_t alphabetize : {0, 1, 2}) {
            const std::vector<std::string> headers = ListedHeaders(alphabetize);
            const int count = static_cast<int>(headers.size());
            for (int t = 0; t < 3; ++t) {
                const char* text = kTexts[random_() % (sizeof kTexts / sizeof *kTexts)];
                const search::WalkRequest request{text, random_() % 2 == 0, alphabetize};
                const int start = count == 0 ? 0 : static_cast<int>(random_() % static_cast<unsigned>(count + 1));
                ASSERT_NO_FATAL_FAILURE(CompareFrom(headers, request, At(start, 0, -1)));
                // A cursor left by an earlier match somewhere in the list.
                const int at = count == 0 ? 0 : static_cast<int>(random_() % static_cast<unsigned>(count));
                ASSERT_NO_FATAL_FAILURE(
                    CompareFrom(headers, request, At(at, static_cast<int>(random_() % 4), random_() % 2 ? at : -1)));
            }
        }
    }
    std::printf("%d walks compared\n", compared_);
    EXPECT_GT(compared_, 2000) << "too few walks compared to mean much";
}

TEST_F(WalkSamenessTest, AFileThatHasGoneIsReportedByBoth) {
    const std::vector<std::string> headers = {"[A]", "[B]"};
    search::HeaderVector list(headers);
    const search::WalkRequest request{"k", false, 0};
    WalkCursor fast, slow;
    EXPECT_EQ(search::SearchSections(list, [&](std::string& bytes) { return reference::ReadFileBytes(path_, bytes); },
                                     request, fast),
              WalkResult::CannotOpen);
    EXPECT_EQ(reference::SearchSectionsOneReadPerSection(headers, path_, request, slow), WalkResult::CannotOpen);
    EXPECT_EQ(fast, slow);
}

}  // namespace
