#include "ini/scanner.h"

#include <gtest/gtest.h>

#include "ini/header_stream.h"
#include "test_code_page.h"

#include <random>

using Lines = std::vector<std::string>;

namespace {

// Characters of UTF-8 text, as the limits count them.
std::size_t Characters(const std::string& text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

class ScannerTest : public ::testing::Test {
protected:
    void Open(const std::string& bytes) {
        text_ = bytes;
        file_.OpenBytes(text_);
    }

    Lines Raw(const std::string& bytes, std::size_t limit) {
        Open(bytes);
        Lines lines;
        for (std::string line; file_.ReadIniLine(line, limit);) lines.push_back(line);
        return lines;
    }
    Lines Headers(const std::string& bytes) {
        Open(bytes);
        ini::VectorSink sink;
        const int added = ini::ListSectionHeaders(file_, sink);
        EXPECT_EQ(added, static_cast<int>(sink.lines.size()));
        return sink.lines;
    }
    Lines Whole(const std::string& bytes) {
        Open(bytes);
        ini::VectorSink sink;
        const int added = ini::ReadWholeFile(file_, sink);
        EXPECT_EQ(added, static_cast<int>(sink.lines.size()));
        return sink.lines;
    }
    // What the section view shows for header; nullopt when it is not found.
    std::optional<Lines> Section(const std::string& bytes, const std::string& header,
                                 std::size_t seekLimit = ini::kListLimit) {
        Open(bytes);
        if (!ini::FindSection(file_, header, seekLimit)) return std::nullopt;
        ini::VectorSink sink;
        ini::ReadSectionBody(file_, sink);
        return sink.lines;
    }

    std::string text_;
    ini::IniText file_;
};

TEST(HeaderTest, AcceptsBracketAtIndexZeroOrOneAndCutsAfterFirstClose) {
    struct Case { std::string text; bool header; std::string after; };
    const Case cases[] = {
        {"[Boot]\n", true, "[Boot]"},
        {"[Boot] ; comment\n", true, "[Boot]"},
        {" [Boot]\n", true, " [Boot]"},
        {"  [Boot]\n", false, "  [Boot]\n"},
        {";[x]\n", true, ";[x]"},
        {"a[x]", true, "a[x]"},
        {"[Boot\n", false, "[Boot\n"},
        {"[]\n", true, "[]"},
        {"[a]b]\n", true, "[a]"},
        {"]x[]", false, "]x[]"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        std::string line = c.text;
        EXPECT_EQ(ini::IsSectionHeader(line), c.header) << c.text;
        EXPECT_EQ(line, c.after) << c.text;
    }
}

TEST_F(ScannerTest, ListsHeadersOnlyInFileOrder) {
    EXPECT_EQ(Headers("; top\r\n[Zeta] ; z\r\nk=v\r\n\r\n [Blank]\r\n  [Two]\r\n[Open\r\n[Alpha]"),
              (Lines{"[Zeta]", " [Blank]", "[Alpha]"}));
    EXPECT_EQ(Headers(""), Lines{});
}

TEST_F(ScannerTest, LinesEndAtCrLfLfOrALoneCrAndComeBackWithOneNewline) {
    struct Case { std::string bytes; Lines lines; };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a\n", "b\n"}},
        {"a\rb\r", {"a\n", "b\n"}},
        {"a\r\nb\nc\rd", {"a\n", "b\n", "c\n", "d"}},
        {"a\r\r\n", {"a\n", "\n"}},
        {"a\n\rb", {"a\n", "\n", "b"}},
        {"a\x1a\nb", {"a\x1a\n", "b"}},
        {std::string("ab\0cd\nef", 8), {"ab", "ef"}},
        {std::string("\0x\n", 3), {""}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Raw(c.bytes, ini::kListLimit), c.lines);
    // The writer gives new lines a lone-CR file's own line end: every pass sees them.
    const std::string loneCr = "[One]\ra=1\r[Two]\r\rb=2\r[Added]\rk=v";
    EXPECT_EQ(Headers(loneCr), (Lines{"[One]", "[Two]", "[Added]"}));
    EXPECT_EQ(Section(loneCr, "[Two]"), (Lines{"b=2"}));
    EXPECT_EQ(Whole(loneCr), (Lines{"[One]", "a=1", "[Two]", "", "b=2", "[Added]", "k=v"}));
}

TEST_F(ScannerTest, SectionViewFindsFirstExactHeaderAndStopsAtColumnOneBracket) {
    const std::string ini =
        "[Boot]\r\nshell=progman.exe\r\n\r\n; comment\r\n[boot]\r\nlower=1\r\n"
        "[Fonts] ; the fonts\r\nArial=arial.fon\r\n [Hidden]\r\nhidden=1\r\n"
        "[Boot]\r\nsecond=2\r\n[Last]\r\na=b\r\nlast=no newline";
    EXPECT_EQ(Section(ini, "[Boot]"), (Lines{"shell=progman.exe", "; comment"}));
    EXPECT_EQ(Section(ini, "[boot]"), (Lines{"lower=1"}));
    EXPECT_EQ(Section(ini, "[Fonts]"), (Lines{"Arial=arial.fon", " [Hidden]", "hidden=1"}));
    EXPECT_EQ(Section(ini, "[Last]"), (Lines{"a=b", "last=no newline"}));
    EXPECT_EQ(Section(ini, "[BOOT]"), std::nullopt);
    EXPECT_EQ(Section(ini, "[Missing]"), std::nullopt);
}

TEST_F(ScannerTest, OverLongLinesComeInPiecesOfTheLimit) {
    const std::string body(200, 'k');
    EXPECT_EQ(Section("[S]\n" + body + "\n", "[S]"), (Lines{body.substr(0, 149), body.substr(149)}));

    // A header hidden behind 249 characters is a piece of its own only at the seek limit 250.
    const std::string hidden = std::string(249, 'x') + "[Hid]\nk=v\n";
    EXPECT_EQ(Section(hidden, "[Hid]", ini::kSeekLimit), (Lines{"k=v"}));
    EXPECT_EQ(Section(hidden, "[Hid]", ini::kListLimit), std::nullopt);

    // Limits count characters: a piece ends before one, never inside it.
    std::string accents;
    for (int i = 0; i < 200; ++i) accents += i % 2 ? "\xC3\xA9" : "\xE6\x97\xA5";
    const Lines accented = Whole(accents);
    ASSERT_EQ(accented.size(), 2u);
    EXPECT_EQ(Characters(accented[0]), 149u);
    EXPECT_EQ(accented[0] + accented[1], accents);

    const std::string huge(100000, 'q');
    const Lines pieces = Whole(huge + "\n");
    ASSERT_EQ(pieces.size(), (huge.size() + 148) / 149);
    std::string joined;
    for (const std::string& piece : pieces) {
        EXPECT_LE(piece.size(), 149u);
        joined += piece;
    }
    EXPECT_EQ(joined, huge);
}

TEST_F(ScannerTest, WholeFileKeepsEveryLineIncludingEmptyOnes) {
    EXPECT_EQ(Whole("[A]\r\nk=v\r\n\r\n; c\r\nlast"), (Lines{"[A]", "k=v", "", "; c", "last"}));
    EXPECT_EQ(Whole(""), Lines{});
}

TEST_F(ScannerTest, BinaryGarbageGivesBoundedLinesAndValidHeaders) {
    std::mt19937 random(12345);
    std::string bytes(1 << 20, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    for (const std::string& line : Whole(bytes)) {
        EXPECT_LE(Characters(line), 149u);
        EXPECT_EQ(line.find('\n'), std::string::npos);
    }
    for (const std::string& header : Headers(bytes)) {
        ASSERT_TRUE(header[0] == '[' || header[1] == '[');
        EXPECT_EQ(header.back(), ']');
    }
}

// A file given in pieces, as it is read, lists the headers of its decoded
// text whichever way it is cut: a mark, a CR LF, a UTF-16 unit or a
// character split between pieces, and a byte near the end that makes a file
// of valid-looking UTF-8 one of the ANSI code page.
TEST(HeaderStreamTest, AFileCutAnywhereListsItsHeadersInTheEncodingItsLastByteDecides) {
    struct Case {
        std::string bytes;
        ini::Encoding encoding;
        Lines headers;
        std::string oddByte;
    };
    const std::string utf16 = std::string("\xFF\xFE") + std::string("[\0A\0]\0\r\0\n\0k\0[\0\n\0[\0\xE9\0]\0\n\0", 24) + "x";
    const Case cases[] = {
        {"[A]\r\nk=[v]\r\n [B] \n", ini::Encoding::Ansi, {"[A]", " [B]"}, ""},
        {"[caf\xC3\xA9]\r\nk=v\r\n[b]\r\nv=\x85\r\n[\x81\x5B]\n", ini::Encoding::Ansi,
         {"[caf\xC3\x83\xC2\xA9]", "[b]", "[\xEE\x85\x9B]"}, ""},
        {"\xEF\xBB\xBF[caf\xC3\xA9]\r\n[\xFF]\r", ini::Encoding::Utf8Bom, {"[caf\xC3\xA9]", "[\xED\xB3\xBF]"}, ""},
        {utf16, ini::Encoding::Utf16Le, {"[A]", "[\xC3\xA9]"}, "x"},
    };
    const testing_code_page::TestCodePage ansi;
    for (const Case& c : cases) {
        // Cut once at every place, then one byte at a time.
        for (std::size_t cut = 0; cut <= c.bytes.size() + 1; ++cut) {
            ini::VectorSink sink;
            ini::HeaderStream stream(sink);
            if (cut <= c.bytes.size()) {
                stream.Feed(std::string_view(c.bytes).substr(0, cut));
                stream.Feed(std::string_view(c.bytes).substr(cut));
            } else {
                for (char byte : c.bytes) stream.Feed(std::string_view(&byte, 1));
            }
            std::string text;
            const ini::FileText kind = stream.Finish(ansi, text);
            EXPECT_EQ(sink.lines, c.headers) << c.bytes << " cut at " << cut;
            EXPECT_EQ(kind.encoding, c.encoding) << c.bytes << " cut at " << cut;
            EXPECT_EQ(kind.oddByte, c.oddByte) << c.bytes << " cut at " << cut;
        }
    }
}

}  // namespace
