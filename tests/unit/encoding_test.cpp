#include "ini/encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "test_code_page.h"

namespace {

using ini::Encoding;

const testing_code_page::TestCodePage kAnsi;

std::string Utf16Le(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string RoundTrip(const std::string& bytes) {
    return ini::EncodeFile(ini::DecodeFile(bytes, kAnsi), kAnsi).value_or("<refused>");
}

}  // namespace

TEST(EncodingTest, DetectsByMarkThenByValidUtf8ElseTheAnsiCodePage) {
    EXPECT_EQ(ini::DetectEncoding("\xFF\xFE[\0a\0"), Encoding::Utf16Le);
    EXPECT_EQ(ini::DetectEncoding("\xFE\xFF\0["), Encoding::Utf16Be);
    EXPECT_EQ(ini::DetectEncoding("\xEF\xBB\xBF[x]\xFF"), Encoding::Utf8Bom);
    EXPECT_EQ(ini::DetectEncoding("\xEF\xBB\xBF"), Encoding::Utf8Bom);
    // Without a mark, plain ASCII (and nothing at all) is the ANSI code page,
    // as the platform's profile calls read it, however long its ASCII run.
    EXPECT_EQ(ini::DetectEncoding("[x]\r\na=1\r\n"), Encoding::Ansi);
    EXPECT_EQ(ini::DetectEncoding(""), Encoding::Ansi);
    EXPECT_EQ(ini::DetectEncoding(std::string(37, 'a') + "\xC3\xA9"), Encoding::Utf8);
    EXPECT_EQ(ini::DetectEncoding(std::string(37, 'a') + "\xE9"), Encoding::Ansi);
    EXPECT_EQ(ini::DetectEncoding("[G\xC3\xA9n\xC3\xA9ral]\r\n[\xE6\x97\xA5\xE6\x9C\xAC]"), Encoding::Utf8);
    EXPECT_EQ(ini::DetectEncoding("[G\xE9n\xE9ral]"), Encoding::Ansi);
    // Not strict UTF-8: an overlong form, a surrogate, beyond U+10FFFF, cut short.
    for (const char* bytes : {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE6\x97"})
        EXPECT_EQ(ini::DetectEncoding(bytes), Encoding::Ansi) << bytes;
}

TEST(EncodingTest, EveryFileComesBackByteForByteWhatUtf8CannotSayIncluded) {
    const std::string cases[] = {
        "",
        "[\xE6\x97\xA5\xE6\x9C\xAC]\r\nk=\xC3\xA9\r",
        // A mark, then bytes that are not UTF-8.
        "\xEF\xBB\xBF[a]\r\nk=\xFF\xC3\n",
        // UTF-16 with a pair, unpaired surrogates both ways round, an odd last byte.
        Utf16Le(u"[a]\r\nk=\U0001F600\xD800x\xDC00\r\n") + "\x41",
        std::string("\xFE\xFF\0[\xD8\x3D", 6),
        // The code page: Latin-1 and a double-byte pair read back; a byte it
        // cannot read, and a lead byte without its trail, keep their lines.
        "[G\xE9n\xE9ral]\r\nk=\x81\x40\r\nbad=\x80\xE9\r\nlead=\x81\r\n",
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(RoundTrip(bytes), bytes);
        // The text goes to UTF-16 (what windows hold) and back exactly; that a
        // real list gives it back so is shown by the window tests (OddBytesTest).
        const std::string text = ini::DecodeFile(bytes, kAnsi).text;
        EXPECT_EQ(ini::Utf16ToUtf8(ini::Utf8ToUtf16(text)), text);
    }
}

TEST(EncodingTest, TextIsUtf8AndALineThatCannotBeSaidIsNotValid) {
    ini::FileText utf16 = ini::DecodeFile(Utf16Le(u"[\x65E5]\r\nk=\xD800\r\n"), kAnsi);
    EXPECT_EQ(utf16.encoding, Encoding::Utf16Le);
    EXPECT_EQ(utf16.text, "[\xE6\x97\xA5]\r\nk=\xED\xA0\x80\r\n");
    EXPECT_FALSE(ini::IsValidUtf8("k=\xED\xA0\x80"));

    ini::FileText ansi = ini::DecodeFile(std::string_view("[G\xE9n\xE9ral]\r\nbad=\x80\xE9\r\n"), kAnsi);
    EXPECT_EQ(ansi.encoding, Encoding::Ansi);
    // Read lines are UTF-8; the line the code page cannot read keeps its bytes.
    EXPECT_EQ(ansi.text.substr(0, 13), "[G\xC3\xA9n\xC3\xA9ral]\r\n");
    EXPECT_TRUE(ini::IsValidUtf8(ansi.text.substr(0, 13)));
    EXPECT_FALSE(ini::IsValidUtf8(ansi.text.substr(13)));
    // The refusals name the line: CR LF, LF and a lone CR each end one.
    EXPECT_EQ(ini::LineOfFirstOddByte(utf16.text), 2u);
    EXPECT_EQ(ini::LineOfFirstOddByte(ansi.text), 2u);
    EXPECT_EQ(ini::LineOfFirstOddByte("a\rb\nc\r\n\xED\xB3\xBF"), 4u);
    EXPECT_EQ(ini::LineOfFirstOddByte("[a]\r\nk=1\r\n"), 0u);
}

TEST(EncodingTest, AChangedTextIsWrittenInTheFileEncodingAndTheRestStays) {
    const std::string before = Utf16Le(u"[a]\r\nk=\xD800\r\n");
    ini::FileText file = ini::DecodeFile(before, kAnsi);
    file.text += "[\xE6\x97\xA5]\r\n";
    EXPECT_EQ(ini::EncodeFile(file, kAnsi), before + Utf16Le(u"[\x65E5]\r\n").substr(2));

    ini::FileText ansi = ini::DecodeFile(std::string_view("bad=\x80\r\n"), kAnsi);
    ansi.text += "k=\xC3\xA9\r\n";
    EXPECT_EQ(ini::EncodeFile(ansi, kAnsi), "bad=\x80\r\nk=\xE9\r\n");
    ansi.text += "j=\xE6\x97\xA5\r\n";
    EXPECT_EQ(ini::EncodeFile(ansi, kAnsi), std::nullopt);
}

TEST(EncodingTest, NamesTheFirstCharacterTheEncodingCannotHold) {
    EXPECT_EQ(ini::FirstCharacterNotHeld("x\xC3\xA9y\xE6\x97\xA5z", Encoding::Ansi, kAnsi), "\xE6\x97\xA5");
    EXPECT_EQ(ini::FirstCharacterNotHeld("x\xC3\xA9y", Encoding::Ansi, kAnsi), "");
    EXPECT_EQ(ini::FirstCharacterNotHeld("\xE6\x97\xA5", Encoding::Utf16Le, kAnsi), "");
    EXPECT_EQ(ini::CodePointName("\xE6\x97\xA5"), "U+65E5");
    EXPECT_EQ(ini::CodePointName("\xF0\x9F\x98\x80"), "U+1F600");
    EXPECT_EQ(ini::EncodingName(Encoding::Ansi, kAnsi), "ANSI code page 9999");
}
