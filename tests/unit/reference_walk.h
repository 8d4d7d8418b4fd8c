// The cross-section walk written the straightforward way: for every section
// visited the file is opened and read from its top to the section's header
// line (in the pieces the section view reads), and the section's lines are
// read into a fresh store. Slow on big files, plainly right; the fast walk
// must give exactly its results. Used by the unit tests and, for comparison,
// by the search benchmark.
#pragma once
#include <fstream>
#include <string>
#include <vector>

#include "ini/line_order.h"
#include "ini/scanner.h"
#include "search/search_walk.h"
#include "search/text_match.h"

namespace reference {

// A file's bytes, read plainly (the program reads through the platform);
// false when it cannot be opened.
inline bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    bytes.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    return static_cast<bool>(in.read(&bytes[0], size)) || size == 0;
}

inline search::WalkResult SearchSectionsOneReadPerSection(const std::vector<std::string>& headers,
                                                          const std::string& path,
                                                          const search::WalkRequest& request,
                                                          search::WalkCursor& cursor) {
    const int count = static_cast<int>(headers.size());
    ini::IniText file;
    std::string text;   // read afresh for every section
    for (int i = cursor.section < 0 ? 0 : cursor.section; i < count; ++i) {
        const std::string& header = headers[static_cast<std::size_t>(i)];
        if (cursor.line == 0 && i != cursor.lastMatchedSection &&
            search::TextMatches(header, request.searchText, request.matchCase)) {
            cursor.section = i;
            cursor.lastMatchedSection = i;
            cursor.line = 0;
            return search::WalkResult::Found;
        }
        if (!ReadFileBytes(path, text)) return search::WalkResult::CannotOpen;
        file.OpenBytes(text);
        ini::VectorSink store;
        if (ini::FindSection(file, header, ini::kListLimit)) ini::ReadSectionBody(file, store);
        file.Close();
        ini::ArrangeByPreference(store.lines, request.alphabetize);
        const int lineCount = static_cast<int>(store.lines.size());
        for (int j = cursor.line < 0 ? 0 : cursor.line; j < lineCount; ++j) {
            if (search::TextMatches(store.lines[static_cast<std::size_t>(j)], request.searchText,
                                    request.matchCase)) {
                cursor.section = i;
                cursor.line = j + 1;
                return search::WalkResult::Found;
            }
        }
        cursor.lastMatchedSection = -1;
        cursor.line = 0;
    }
    cursor.section = 0;
    cursor.lastMatchedSection = -1;
    cursor.line = 0;
    return search::WalkResult::NothingMore;
}

}  // namespace reference
