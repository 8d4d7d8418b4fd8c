#include "view/listed_lines.h"

#include <algorithm>

#include "ini/line_order.h"

namespace view {

std::vector<ListedEntry> ReadListedEntries(ini::IniText& file) {
    std::vector<ListedEntry> entries;
    std::string piece;
    std::string whole;
    std::size_t firstOfLine = 0;
    bool atLineStart = true;
    bool ended = false;
    auto finishLine = [&] {
        for (std::size_t i = firstOfLine; i < entries.size(); ++i) entries[i].line = whole;
    };
    while (file.ReadIniLine(piece, ini::kListLimit)) {
        const bool endsLine = piece.back() == '\n';
        if (atLineStart) {
            finishLine();
            whole.clear();
            firstOfLine = entries.size();
        }
        const bool begins = atLineStart;
        atLineStart = endsLine;
        ini::StripLineEnd(piece);
        whole += piece;
        if (ended) {
            // Only completing the line of the last entry.
            if (endsLine) break;
            continue;
        }
        if (piece.empty()) continue;
        if (piece[0] == '[') {
            ended = true;
            if (endsLine || begins) break;
            continue;
        }
        entries.push_back({piece, begins, std::string()});
    }
    finishLine();
    return entries;
}

void SortLikeTheList(std::vector<ListedEntry>& entries, bool alphabetize) {
    if (!alphabetize) return;
    std::stable_sort(entries.begin(), entries.end(), [](const ListedEntry& a, const ListedEntry& b) {
        return ini::LessIgnoringCase(a.text, b.text);
    });
}

}  // namespace view
