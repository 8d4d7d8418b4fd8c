// Our profile writer against the platform's, under Wine: generated files and
// random operations, each applied once by WritePrivateProfileStringA and once
// by our writer. The platform's reader must see the same sections, lines and
// values in both results, and our result may differ from the original only in
// the lines the operation concerns.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ini/profile_writer.h"
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
                             "\xC9k=e1", "\xE9k=e2", "k5 = a b c", "[k6"};
const char* const kBlanks[] = {"", "  ", "\t"};
const char* const kLineEnds[] = {"\r\n", "\n", "\r"};
const char* const kSections[] = {"S1", "s1", "S2", " S2 ", "S3", "S3]x", "S4", "S5]", "S6", "", "[S1", "x[S1]"};
const char* const kKeyNames[] = {"k1", "K1", "k2", " k2 ", "k3", ";k1", "", "k4", "\xC9k", "\xE9k", "k5", "k6",
                                 "[k6", "new"};
// Looked up by name in every result: case, blanks, comment keys, first match.
const char* const kLookedUpSections[] = {"S1", "s1", " S2 ", "S3]x", "", "S5]"};
const char* const kLookedUpKeys[] = {"k1", " k2 ", ";k1", "\xE9k", "[k6", "k3"};
const char* const kValues[] = {"v", "", "  lead", "trail  ", "a=b", "\"q\"", "\xE8t\xE9"};

template <size_t N>
const char* Pick(std::mt19937& random, const char* const (&items)[N]) {
    return items[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
}

std::string GenerateFile(std::mt19937& random) {
    std::string text;
    const bool bom = random() % 8 == 0;
    if (bom) text += "\xEF\xBB\xBF";
    const int mode = static_cast<int>(random() % 4);   // one line end for the file, or mixed
    const int lines = static_cast<int>(random() % 14);
    for (int i = 0; i < lines; ++i) {
        const unsigned kind = random() % 10;
        std::string line = kind < 3 ? Pick(random, kHeaders) : kind < 8 ? Pick(random, kKeys) : Pick(random, kBlanks);
        // A file with a byte-order mark is UTF-8 to the platform: keep it ASCII.
        if (bom && line.find_first_of("\xC9\xE9") != std::string::npos) line = "k1=v";
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

// The lines taken out and put in between the unchanged start and end.
void ChangedLines(std::string before, std::string after, size_t& removed, size_t& added) {
    // The byte-order mark stays in place, before whatever line comes first.
    const std::string mark = "\xEF\xBB\xBF";
    if (before.compare(0, 3, mark) == 0 && after.compare(0, 3, mark) == 0) {
        before.erase(0, 3);
        after.erase(0, 3);
    }
    const Lines a = LinesOf(before), b = LinesOf(after);
    size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
    removed = a.size() - head - tail;
    added = b.size() - head - tail;
}

std::string Strings(const std::vector<char>& buffer, DWORD length) {
    std::string out;
    for (const char* p = buffer.data(); p < buffer.data() + length && *p; p += strlen(p) + 1) out += "<" + std::string(p) + ">";
    return out;
}

// What the platform's reader sees in the file: section names, each listed
// section's lines, and the value of every key of the vocabulary (comment keys
// included, which the section lines leave out) in every section name used.
std::string ReaderView(const std::string& path) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());   // drop the platform's cache
    std::vector<char> buffer(1 << 16);
    std::string view;
    DWORD length = GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
    std::string names = Strings(buffer, length);
    view += "names" + names + "\n";
    std::vector<std::string> sections{""};
    for (const char* p = buffer.data(); p < buffer.data() + length && *p; p += strlen(p) + 1) sections.push_back(p);
    for (const std::string& section : sections) {
        length = GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
        view += "[" + section + "]" + Strings(buffer, length) + "\n";
    }
    for (const char* section : kLookedUpSections) {
        for (const char* key : kLookedUpKeys) {
            char value[256];
            GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, path.c_str());
            if (std::string(value) != "<none>") view += std::string(section) + "/" + key + "=" + value + "\n";
        }
    }
    return view;
}

// 250 generated files, three operations on each in a row, from this seed.
void CompareWriters(unsigned seed) {
    testfiles::ScratchFolder folder("ProfileDifferentialTest." + std::to_string(seed));
    const std::string platform = folder / "platform.ini";
    const std::string ours = folder / "ours.ini";
    std::mt19937 random(seed);
    for (int file = 0; file < 250; ++file) {
        std::string text = GenerateFile(random);
        for (int step = 0; step < 3; ++step) {
            ASSERT_TRUE(testfiles::WriteBytes(platform, text));
            const unsigned kind = random() % 6;
            std::string section = Pick(random, kSections);
            std::string key = Pick(random, kKeyNames);
            std::string value = Pick(random, kValues);
            // To the platform a file with a byte-order mark is UTF-8, and it
            // converts what it writes there; we write the bytes as given (see
            // docs/PROFILE_RULES.md). Such files get ASCII names and values.
            if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
                for (std::string* text : {&section, &key, &value})
                    if (text->find_first_of("\xC9\xE8\xE9") != std::string::npos) *text = "k1";
            }
            std::optional<std::string> changed;
            std::string what;
            size_t removed = 0, added = 0;
            if (kind < 3) {
                what = "write [" + section + "] " + key + "=" + value;
                ASSERT_TRUE(WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), platform.c_str()));
                changed = ini::WriteProfileKey(text, section, key, value);
                ASSERT_TRUE(changed) << what;
                ChangedLines(text, *changed, removed, added);
                EXPECT_LE(removed, 1u) << what << "\n" << text;
                EXPECT_LE(added, removed + 2) << what << "\n" << text;
            } else {
                // Our writer takes the names without blanks around them, as
                // every other operation does; the platform's delete would
                // match nothing for " S2 ". Its delete gets the trimmed names.
                section = std::string(ini::TrimProfileBlanks(section));
                key = std::string(ini::TrimProfileBlanks(key));
                if (kind < 5) {
                    what = "delete key [" + section + "] " + key;
                    WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, platform.c_str());
                    changed = ini::DeleteProfileKey(text, section, key);
                    ASSERT_TRUE(changed) << what;
                    ChangedLines(text, *changed, removed, added);
                    EXPECT_LE(removed, 1u) << what << "\n" << text;
                } else {
                    what = "delete section [" + section + "]";
                    WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, platform.c_str());
                    changed = ini::DeleteProfileSection(text, section);
                    ASSERT_TRUE(changed) << what;
                    ChangedLines(text, *changed, removed, added);
                }
                EXPECT_EQ(added, 0u) << what << "\n" << text;
            }
            ASSERT_TRUE(testfiles::WriteBytes(ours, *changed));
            const std::string expected = ReaderView(platform);
            const std::string got = ReaderView(ours);
            ASSERT_EQ(got, expected) << "file " << file << " step " << step << ": " << what << "\n--- original:\n"
                                     << Shown(text) << "\n--- platform:\n" << Shown(testfiles::ReadBytes(platform))
                                     << "\n--- ours:\n" << Shown(*changed);
            text = *changed;
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
