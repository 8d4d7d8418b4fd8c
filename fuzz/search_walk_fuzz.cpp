// The one-read search walk against the walk that reads the file afresh for
// every section (the oracle, kept with the unit tests): over arbitrary file
// bytes, search texts, Match Case and Alphabetize, both must give the same
// sequence of matches and cursors, walk after walk, to the end. Also the
// text matcher against a plain model of its rule.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "ini/scanner.h"
#include "search/search_walk.h"
#include "search/text_match.h"
#include "tests/unit/reference_walk.h"

namespace {

// Only a to z fold to A to Z; every other byte compares as it stands.
bool ModelMatches(const std::string& text, const std::string& searchText, bool matchCase) {
    auto fold = [&](char c) { return !matchCase && c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (searchText.size() > text.size()) return false;
    for (size_t at = 0; at + searchText.size() <= text.size(); ++at) {
        size_t i = 0;
        while (i < searchText.size() && fold(text[at + i]) == fold(searchText[i])) ++i;
        if (i == searchText.size()) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const bool matchCase = data[0] & 1;
    const int32_t alphabetize = (data[0] >> 1) % 3;
    const size_t startAt = data[1] % 8;
    fuzz::Pieces pieces(data + 2, size - 2);
    const std::string searchText = pieces.Next();
    const std::string bytes = pieces.Next();

    FUZZ_CHECK(search::TextMatches(bytes, searchText, matchCase) == ModelMatches(bytes, searchText, matchCase));
    if (searchText.empty()) return 0;

    const std::string& path = fuzz::WriteScratchFile(bytes);
    ini::IniText file;
    file.OpenBytes(bytes);
    ini::VectorSink listed;
    ini::ListSectionHeaders(file, listed);
    file.Close();
    if (listed.lines.empty()) return 0;
    ini::ArrangeByPreference(listed.lines, alphabetize);
    const search::HeaderVector headers(listed.lines);

    const search::WalkRequest request{searchText, matchCase, alphabetize};
    search::WalkCursor fast, slow;
    fast.section = slow.section = static_cast<int32_t>(startAt % listed.lines.size());
    const search::FileReader read = [&](std::string& all) {
        all = bytes;
        return true;
    };
    // Walk after walk, as Find Next does, until nothing more is found.
    for (int walk = 0; walk < 64; ++walk) {
        const search::WalkResult a = search::SearchSections(headers, read, request, fast);
        const search::WalkResult b = reference::SearchSectionsOneReadPerSection(listed.lines, path, request, slow);
        FUZZ_CHECK(a == b);
        FUZZ_CHECK(fast == slow);
        if (a != search::WalkResult::Found) break;
    }
    return 0;
}
