// libFuzzer target over the comparison and Take: any two texts A (the
// current file) and B (the other file). Every difference the comparison finds
// is taken from B into A, a key at a time or a whole section (the input
// chooses), and then, under AddressSanitizer and UndefinedBehaviorSanitizer:
// - no Take is refused (every name and value comes from a text the reader
//   read), but in a text holding a NUL, where a name can end before it
//   starts;
// - each Take changed A only within the first section of its name, or at
//   the end of the file for a new section, or removed exactly every copy of
//   a section B lacks: every other byte stays;
// - afterwards the comparison finds no difference, and the reader's model
//   gives the same value (or the same absence) for every (section, key) in
//   A as in B.
// The last check is left out where the reader's view cannot follow the
// writer's: a text holding a NUL (the writer cuts names and values there,
// the reader trims them first), and a key spelled like a byte-order mark
// that a Take puts, or leaves, first in the file.
// Run with fuzz/run.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "ini/profile_compare.h"
#include "ini/profile_model.h"

namespace {

using ini::ProfileLine;
using ini::ProfileLineKind;
using ini::ProfileLines;

struct Span {
    bool found = false;
    size_t from = 0, to = 0;
};

// Every copy of the section: from its header (for "", the start of the
// text) to the next header.
std::vector<Span> Copies(const std::string& text, const std::string& section) {
    std::vector<Span> copies;
    if (section.empty()) copies.push_back({true, 0, text.size()});
    ProfileLines lines(text);
    ProfileLine line;
    while (lines.Next(line)) {
        if (line.kind != ProfileLineKind::Header) continue;
        if (!copies.empty() && copies.back().to == text.size() && copies.back().found) copies.back().to = line.start;
        if (ini::SameProfileName(line.name, section)) copies.push_back({true, line.start, text.size()});
    }
    return copies;
}

bool StartsWithMark(const std::string& text) { return text.compare(0, 3, "\xEF\xBB\xBF") == 0; }

// True when after holds before's bytes outside [from, to) unchanged, with
// whatever in between.
bool KeptOutside(const std::string& before, const std::string& after, size_t from, size_t to) {
    const size_t tail = before.size() - to;
    return after.size() >= from + tail && after.compare(0, from, before, 0, from) == 0 &&
           after.compare(after.size() - tail, tail, before, to, tail) == 0;
}

void CheckTouchedOnlyItsSection(const std::string& before, const std::string& after, const std::string& section,
                                const std::string& theirs) {
    if (before == after) return;
    const std::vector<Span> copies = Copies(before, section);
    if (Copies(theirs, section).empty()) {
        // B lacks the section: A is A without any copy of it.
        std::string expected;
        size_t at = 0;
        for (const Span& copy : copies) {
            expected.append(before, at, copy.from - at);
            at = copy.to;
        }
        expected.append(before, at, std::string::npos);
        FUZZ_CHECK(after == expected);
        return;
    }
    if (copies.empty()) FUZZ_CHECK(KeptOutside(before, after, before.size(), before.size()));   // a new section at the end
    else FUZZ_CHECK(KeptOutside(before, after, copies.front().from, copies.front().to));
}

// The reader's model: the first section of a name, its first key of a name.
const ini::ProfileKey* Find(const std::vector<ini::ProfileSection>& model, const std::string& section,
                            const std::string& key) {
    for (const ini::ProfileSection& candidate : model) {
        if (!ini::SameProfileName(candidate.name, section)) continue;
        for (const ini::ProfileKey& line : candidate.keys)
            if (ini::SameProfileName(line.name, key)) return &line;
        return nullptr;
    }
    return nullptr;
}

void CheckSameValues(const std::string& a, const std::string& b) {
    const std::vector<ini::ProfileSection> modelA = ini::ReadProfileModel(a), modelB = ini::ReadProfileModel(b);
    for (const auto* model : {&modelA, &modelB}) {
        for (const ini::ProfileSection& section : *model) {
            for (const ini::ProfileKey& key : section.keys) {
                if (!key.name.empty() && key.name[0] == ';') continue;   // comments are not compared
                const ini::ProfileKey* inA = Find(modelA, section.name, key.name);
                const ini::ProfileKey* inB = Find(modelB, section.name, key.name);
                FUZZ_CHECK((inA == nullptr) == (inB == nullptr));
                if (inA != nullptr) FUZZ_CHECK(inA->value == inB->value);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const uint64_t wholeSections = input.ConsumeIntegral<uint64_t>();   // one bit per row: Take section
    std::string a = input.ConsumeRandomLengthString(1024);
    std::string b = input.ConsumeRemainingBytesAsString();
    // A file's text as KEPLIN reads it is UTF-8, with what is not text kept
    // as lone surrogates: it never holds the bytes FE and FF, which the writer
    // would take for a UTF-16 mark at the start.
    for (std::string* text : {&a, &b})
        for (char& c : *text)
            if (c == '\xFE' || c == '\xFF') c = '\xFD';
    const std::string original = a;
    const bool nul = a.find('\0') != std::string::npos || b.find('\0') != std::string::npos;

    const ini::ProfileComparison comparison = ini::CompareProfiles(a, b);
    size_t index = 0;
    for (const ini::ProfileDifference& row : comparison.rows) {
        if (row.kind == ini::DifferenceKind::Duplicate) continue;
        const bool whole = row.wholeSection || ((wholeSections >> (index++ % 64)) & 1) != 0;
        // The row's copy of the section is all a Take needs of B; the first
        // rows are taken with the whole of B.
        const std::string_view theirs =
            index <= 2 ? std::string_view(b) : std::string_view(b).substr(row.theirsFrom, row.theirsTo - row.theirsFrom);
        std::optional<std::string> taken = whole ? ini::TakeProfileSection(a, theirs, row.section)
                                                 : ini::TakeProfileKey(a, theirs, row.section, row.key);
        FUZZ_CHECK(taken.has_value() || nul);
        if (!taken) continue;
        CheckTouchedOnlyItsSection(a, *taken, row.section, b);
        a = std::move(*taken);
    }

    if (nul || (StartsWithMark(a) && !StartsWithMark(original))) return 0;
    FUZZ_CHECK(ini::CompareProfiles(a, b).Same());
    CheckSameValues(a, b);
    return 0;
}
