// Our profile writer against the platform's, under Wine: generated files in
// UTF-8 (with and without a byte-order mark) and UTF-16 LE, holding names and
// values outside ASCII, and random operations, each applied once by
// WritePrivateProfileStringW and once by our writer, on the file's text as
// KEPLIN reads and writes it (decoded, changed, encoded again). The
// platform's reader must see the same sections, lines and values in both
// results, and our result may differ from the original only in the lines
// the operation concerns. Files of the ANSI code page are left out: there
// the platform reads and writes in the program's own code page, UTF-8, and
// KEPLIN in the system's (docs/PROFILE_RULES.md).
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ini/encoding.h"
#include "ini/profile_writer.h"
#include "ini/win32/code_page.h"
#include "test_files.h"

namespace {

using Lines = std::vector<std::string>;

// Vocabulary of the generated files: headers the reader takes, and some it
// does not (" x[S1]", "[S1" without "]"), duplicates in other case, blanks,
// comments, lines without "=", values with "=" and quotes. "[]" is left out:
// the platform writes such a header back as nothing (see docs/PROFILE_RULES.md).
const char* const kHeaders[] = {"[S1]", "[s1]", " [S2]", "\t[S2] ; note", "[S3]x]", "[ S4 ]", "x[S1]", "[S1",
                                "[S5]]", ";[S2]"};
const char* const kKeys[] = {"k1=v1", "K1 = v2 ", "  k2=", "k3", ";k1=c", "=x", "k1==y", "k2=\"q\"", "k4\t=\t4",
                             "\u00c9k=e1", "\u00e9k=e2", "k5 = a b c", "[k6", "\u540d\u524d=\u5024"};
const char* const kBlanks[] = {"", "  ", "\t"};
const char* const kLineEnds[] = {"\r\n", "\n", "\r"};
const char* const kSections[] = {"S1", "s1", "S2", " S2 ", "S3", "S3]x", "S4", "S5]", "S6", "", "[S1", "x[S1]",
                                 "\u65e5\u672c", "G\u00e9n\u00e9ral"};
const char* const kKeyNames[] = {"k1", "K1", "k2", " k2 ", "k3", ";k1", "", "k4", "\u00c9k", "\u00e9k", "k5", "k6",
                                 "[k6", "new", "\u540d\u524d"};
// Looked up by name in every result: case, blanks, comment keys, first match.
const char* const kLookedUpSections[] = {"S1", "s1", " S2 ", "S3]x", "", "S5]", "\u65e5\u672c"};
const char* const kLookedUpKeys[] = {"k1", " k2 ", ";k1", "\u00e9k", "[k6", "k3", "\u540d\u524d"};
const char* const kValues[] = {"v", "", "  lead", "trail  ", "a=b", "\"q\"", "\u00e8t\u00e9", "\u5024"};
// The encodings of the generated files.
const ini::Encoding kEncodings[] = {ini::Encoding::Utf8, ini::Encoding::Utf8Bom, ini::Encoding::Utf16Le};

template <size_t N>
const char* Pick(std::mt19937& random, const char* const (&items)[N]) {
    return items[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
}

// A file's text (UTF-8); the encoding it is written in is chosen apart.
std::string GenerateFile(std::mt19937& random) {
    std::string text;
    const int mode = static_cast<int>(random() % 4);   // one line end for the file, or mixed
    const int lines = static_cast<int>(random() % 14);
    for (int i = 0; i < lines; ++i) {
        const unsigned kind = random() % 10;
        std::string line = kind < 3 ? Pick(random, kHeaders) : kind < 8 ? Pick(random, kKeys) : Pick(random, kBlanks);
        text += line;
        if (i + 1 < lines || random() % 3 != 0) text += mode < 3 ? kLineEnds[mode] : Pick(random, kLineEnds);
    }
    return text;
}

// The text with line ends, tabs and other bytes outside ASCII made visible.
std::string Shown(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\n') out += "\\n\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c < 32 || c >= 127) {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else out += static_cast<char>(c);
    }
    return out;
}

// Physical lines with their line ends.
Lines LinesOf(const std::string& text) {
    Lines lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        else end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// The lines of the texts taken out and put in between the unchanged start and end.
void ChangedLines(const std::string& before, const std::string& after, size_t& removed, size_t& added) {
    const Lines a = LinesOf(before), b = LinesOf(after);
    size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
    removed = a.size() - head - tail;
    added = b.size() - head - tail;
}

std::wstring Wide(const std::string& text) {
    const std::u16string units = ini::Utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

std::string Narrow(const wchar_t* text, size_t length) {
    return ini::Utf16ToUtf8(std::u16string(text, text + length));
}

std::string Strings(const std::vector<wchar_t>& buffer, DWORD length) {
    std::string out;
    for (const wchar_t* p = buffer.data(); p < buffer.data() + length && *p; p += wcslen(p) + 1)
        out += "<" + Narrow(p, wcslen(p)) + ">";
    return out;
}

// What the platform's reader sees in the file: section names, each listed
// section's lines, and the value of every key of the vocabulary (comment keys
// included, which the section lines leave out) in every section name used.
std::string ReaderView(const std::string& path) {
    const std::wstring file = Wide(path);
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());   // drop the platform's cache
    std::vector<wchar_t> buffer(1 << 16);
    std::string view;
    DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    view += "names" + Strings(buffer, length) + "\n";
    std::vector<std::wstring> sections{L""};
    for (const wchar_t* p = buffer.data(); p < buffer.data() + length && *p; p += wcslen(p) + 1) sections.push_back(p);
    for (const std::wstring& section : sections) {
        length = GetPrivateProfileSectionW(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
        view += "[" + Narrow(section.data(), section.size()) + "]" + Strings(buffer, length) + "\n";
    }
    for (const char* section : kLookedUpSections) {
        for (const char* key : kLookedUpKeys) {
            wchar_t value[256];
            GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"<none>", value, 256, file.c_str());
            if (std::wstring(value) != L"<none>")
                view += std::string(section) + "/" + key + "=" + Narrow(value, wcslen(value)) + "\n";
        }
    }
    return view;
}

// The platform's write of a key (value null: delete the key; key null: the section).
void PlatformWrite(const std::string& path, const char* section, const char* key, const char* value) {
    const std::wstring s = Wide(section), k = key ? Wide(key) : L"", v = value ? Wide(value) : L"";
    ASSERT_TRUE(WritePrivateProfileStringW(s.c_str(), key ? k.c_str() : nullptr, value ? v.c_str() : nullptr,
                                           Wide(path).c_str()) || !value);
}

// 250 generated files, three operations on each in a row, from this seed.
void CompareWriters(unsigned seed) {
    testfiles::ScratchFolder folder("ProfileDifferentialTest." + std::to_string(seed));
    const std::string platform = folder / "platform.ini";
    const std::string ours = folder / "ours.ini";
    std::mt19937 random(seed);
    const ini::CodePage& ansi = SystemAnsiCodePage();
    for (int file = 0; file < 250; ++file) {
        ini::FileText text;
        text.encoding = kEncodings[random() % 3];
        text.text = GenerateFile(random);
        for (int step = 0; step < 3; ++step) {
            const std::optional<std::string> bytes = ini::EncodeFile(text, ansi);
            ASSERT_TRUE(bytes);
            ASSERT_TRUE(testfiles::WriteBytes(platform, *bytes));
            const unsigned kind = random() % 6;
            std::string section = Pick(random, kSections);
            std::string key = Pick(random, kKeyNames);
            std::string value = Pick(random, kValues);
            std::optional<std::string> changed;
            std::string what;
            size_t removed = 0, added = 0;
            if (kind < 3) {
                what = "write [" + section + "] " + key + "=" + value;
                ASSERT_NO_FATAL_FAILURE(PlatformWrite(platform, section.c_str(), key.c_str(), value.c_str()));
                changed = ini::WriteProfileKey(text.text, section, key, value);
                ASSERT_TRUE(changed) << what;
                ChangedLines(text.text, *changed, removed, added);
                EXPECT_LE(removed, 1u) << what << "\n" << text.text;
                EXPECT_LE(added, removed + 2) << what << "\n" << text.text;
            } else {
                // Our writer takes the names without blanks around them, as
                // every other operation does; the platform's delete would
                // match nothing for " S2 ". Its delete gets the trimmed names.
                section = std::string(ini::TrimProfileBlanks(section));
                key = std::string(ini::TrimProfileBlanks(key));
                if (kind < 5) {
                    what = "delete key [" + section + "] " + key;
                    ASSERT_NO_FATAL_FAILURE(PlatformWrite(platform, section.c_str(), key.c_str(), nullptr));
                    changed = ini::DeleteProfileKey(text.text, section, key);
                    ASSERT_TRUE(changed) << what;
                    ChangedLines(text.text, *changed, removed, added);
                    EXPECT_LE(removed, 1u) << what << "\n" << text.text;
                } else {
                    what = "delete section [" + section + "]";
                    ASSERT_NO_FATAL_FAILURE(PlatformWrite(platform, section.c_str(), nullptr, nullptr));
                    changed = ini::DeleteProfileSection(text.text, section);
                    ASSERT_TRUE(changed) << what;
                    ChangedLines(text.text, *changed, removed, added);
                }
                EXPECT_EQ(added, 0u) << what << "\n" << text.text;
            }
            const std::string original = *bytes;
            text.text = *changed;
            const std::optional<std::string> written = ini::EncodeFile(text, ansi);
            ASSERT_TRUE(written) << what;
            ASSERT_TRUE(testfiles::WriteBytes(ours, *written));
            const std::string expected = ReaderView(platform);
            const std::string got = ReaderView(ours);
            ASSERT_EQ(got, expected) << "file " << file << " step " << step << " ("
                                     << ini::EncodingName(text.encoding, ansi) << "): " << what << "\n--- original:\n"
                                     << Shown(original) << "\n--- platform:\n" << Shown(testfiles::ReadBytes(platform))
                                     << "\n--- ours:\n" << Shown(*written);
        }
    }
}

// Four runs of 750 operations, each its own test so each keeps within the
// time a window test may take.
TEST(ProfileDifferentialTest, GeneratedFilesFromSeed1) { CompareWriters(1); }
TEST(ProfileDifferentialTest, GeneratedFilesFromSeed2) { CompareWriters(2); }
TEST(ProfileDifferentialTest, GeneratedFilesFromSeed3) { CompareWriters(3); }
TEST(ProfileDifferentialTest, GeneratedFilesFromSeed4) { CompareWriters(4); }

}  // namespace
