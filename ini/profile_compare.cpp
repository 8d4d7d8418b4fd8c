#include "ini/profile_compare.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "ini/profile_model.h"
#include "ini/profile_writer.h"

namespace ini {

namespace {

// A string as the reader's C strings give it: up to a NUL.
std::string_view CString(std::string_view text) { return text.substr(0, text.find('\0')); }

// FNV-1a over the name as SameProfileName compares it: ASCII letters folded,
// up to a NUL. Equal names have equal hashes.
std::uint64_t NameHash(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (char c : CString(name)) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// The writer cuts what it is given at a NUL, and only then trims blanks: such
// a name could reach another section or key than the one the reader sees.
bool HoldsNul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

bool IsComment(std::string_view name) { return !name.empty() && name[0] == ';'; }

struct Key {
    std::string_view name;
    std::string_view value;                   // up to a NUL
    std::uint32_t copies = 1;
    bool hasValue = false;                    // false: a line without "="
    bool later = false;                       // a later copy: the reader never sees it

    std::optional<std::string_view> Value() const {
        return hasValue ? std::optional<std::string_view>(value) : std::nullopt;
    }
};

struct Section {
    std::string_view name;
    std::size_t from = 0, to = 0;             // from its header to the next (the unnamed part: from the start)
    std::size_t keyBegin = 0, keyEnd = 0;     // its key lines in Reading::keys
    std::uint32_t copies = 1;
    bool later = false;
    bool leftOut = false;
};

using Order = std::vector<std::pair<std::uint64_t, std::size_t>>;   // (name hash, index), sorted

// What the reader sees in a text, indexed by name. Views into the text.
class Reading {
public:
    Reading(std::string_view text, std::optional<std::string_view> leftOut) {
        ProfileLines lines(text);
        sections_.push_back(Section{});   // the unnamed part before the first header
        ProfileLine line;
        while (lines.Next(line)) {
            if (line.kind == ProfileLineKind::Header) {
                sections_.back().to = line.start;
                Section section;
                section.name = line.name;
                section.from = line.start;
                section.keyBegin = section.keyEnd = keys_.size();
                section.leftOut = leftOut && SameProfileName(line.name, *leftOut);
                sections_.push_back(section);
            } else if (line.kind == ProfileLineKind::Key && !IsComment(line.name)) {
                Key key;
                key.name = line.name;
                key.hasValue = line.HasValue();
                if (key.hasValue) key.value = CString(line.Value());
                keys_.push_back(key);
                sections_.back().keyEnd = keys_.size();
            }
        }
        sections_.back().to = text.size();
        sectionOrder_.resize(sections_.size());
        SortByName(sections_, sectionOrder_, 0, sections_.size());
        MarkLaterCopies(sections_, sectionOrder_, 0, sections_.size());
        keyOrder_.resize(keys_.size());
        for (const Section& section : sections_) {
            if (section.later || section.leftOut) continue;
            SortByName(keys_, keyOrder_, section.keyBegin, section.keyEnd);
            MarkLaterCopies(keys_, keyOrder_, section.keyBegin, section.keyEnd);
        }
    }

    const std::vector<Section>& Sections() const { return sections_; }
    const std::vector<Key>& Keys() const { return keys_; }

    // The first copy of the section named name; nothing when there is none
    // (or it is left out).
    std::optional<std::size_t> FindSection(std::string_view name) const {
        std::optional<std::size_t> found = Find(sections_, sectionOrder_, 0, sections_.size(), name);
        if (found && sections_[*found].leftOut) return std::nullopt;
        return found;
    }
    std::optional<std::size_t> FindKey(const Section& section, std::string_view name) const {
        return Find(keys_, keyOrder_, section.keyBegin, section.keyEnd, name);
    }

private:
    // order[begin, end) becomes (name hash, index) of items[begin, end), sorted.
    template <typename Item>
    static void SortByName(const std::vector<Item>& items, Order& order, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) order[i] = {NameHash(items[i].name), i};
        std::sort(order.begin() + static_cast<std::ptrdiff_t>(begin), order.begin() + static_cast<std::ptrdiff_t>(end));
    }

    // Within each run of equal hashes (in file order), a name met before is
    // a later copy of it.
    template <typename Item>
    static void MarkLaterCopies(std::vector<Item>& items, const Order& order, std::size_t begin, std::size_t end) {
        for (std::size_t run = begin; run < end;) {
            std::size_t runEnd = run + 1;
            while (runEnd < end && order[runEnd].first == order[run].first) ++runEnd;
            for (std::size_t i = run + 1; i < runEnd; ++i) {
                Item& item = items[order[i].second];
                for (std::size_t j = run; j < i; ++j) {
                    Item& first = items[order[j].second];
                    if (first.later || !SameProfileName(first.name, item.name)) continue;
                    item.later = true;
                    ++first.copies;
                    break;
                }
            }
            run = runEnd;
        }
    }

    template <typename Item>
    static std::optional<std::size_t> Find(const std::vector<Item>& items, const Order& order, std::size_t begin,
                                           std::size_t end, std::string_view name) {
        const std::uint64_t hash = NameHash(name);
        auto at = std::lower_bound(order.begin() + static_cast<std::ptrdiff_t>(begin),
                                   order.begin() + static_cast<std::ptrdiff_t>(end), std::make_pair(hash, std::size_t{0}));
        for (; at != order.begin() + static_cast<std::ptrdiff_t>(end) && at->first == hash; ++at) {
            const Item& item = items[at->second];
            if (!item.later && SameProfileName(item.name, name)) return at->second;
        }
        return std::nullopt;
    }

    std::vector<Section> sections_;
    std::vector<Key> keys_;
    Order sectionOrder_;
    Order keyOrder_;   // for each section, its keys' order at the same positions as its keys
};

std::optional<std::string> Owned(std::optional<std::string_view> value) {
    if (!value) return std::nullopt;
    return std::string(*value);
}

class Comparer {
public:
    Comparer(const Reading& mine, const Reading& theirs) : mine_(mine), theirs_(theirs) {}

    ProfileComparison Compare() {
        std::vector<bool> sectionMatched(theirs_.Sections().size(), false);
        keyMatched_.assign(theirs_.Keys().size(), false);
        for (const Section& section : mine_.Sections()) {
            if (section.later || section.leftOut) continue;
            const std::optional<std::size_t> other = theirs_.FindSection(section.name);
            if (!other) {
                AddSectionRows(DifferenceKind::SectionOnlyMine, section, mine_);
                continue;
            }
            sectionMatched[*other] = true;
            CompareKeys(section, theirs_.Sections()[*other]);
        }
        for (std::size_t i = 0; i < theirs_.Sections().size(); ++i) {
            const Section& section = theirs_.Sections()[i];
            if (!section.later && !section.leftOut && !sectionMatched[i])
                AddSectionRows(DifferenceKind::SectionOnlyTheirs, section, theirs_);
        }
        return std::move(result_);
    }

private:
    ProfileDifference& Add(DifferenceKind kind, std::string_view section) {
        ++result_.counts[static_cast<std::size_t>(kind)];
        ProfileDifference row;
        row.kind = kind;
        row.section = std::string(section);
        if (theirsSection_ != nullptr) {
            row.theirsFrom = theirsSection_->from;
            row.theirsTo = theirsSection_->to;
        }
        result_.rows.push_back(std::move(row));
        return result_.rows.back();
    }

    void AddDuplicate(std::string_view section, const std::string_view* key, std::size_t mineCopies,
                      std::size_t theirsCopies) {
        if (mineCopies < 2 && theirsCopies < 2) return;
        ProfileDifference& row = Add(DifferenceKind::Duplicate, section);
        row.wholeSection = key == nullptr;
        if (key != nullptr) row.key = std::string(*key);
        row.mineCopies = mineCopies;
        row.theirsCopies = theirsCopies;
    }

    // A section only one file holds: one row, and its duplicates.
    void AddSectionRows(DifferenceKind kind, const Section& section, const Reading& reading) {
        const bool isMine = kind == DifferenceKind::SectionOnlyMine;
        theirsSection_ = isMine ? nullptr : &section;
        Add(kind, section.name).wholeSection = true;
        AddDuplicate(section.name, nullptr, isMine ? section.copies : 0, isMine ? 0 : section.copies);
        for (std::size_t i = section.keyBegin; i < section.keyEnd; ++i) {
            const Key& key = reading.Keys()[i];
            if (!key.later) AddDuplicate(section.name, &key.name, isMine ? key.copies : 0, isMine ? 0 : key.copies);
        }
    }

    void CompareKeys(const Section& mine, const Section& theirs) {
        theirsSection_ = &theirs;
        AddDuplicate(mine.name, nullptr, mine.copies, theirs.copies);
        // Keys either file holds more than once, flagged after the differences.
        struct Duplicated {
            std::string_view name;
            std::size_t mineCopies, theirsCopies;
        };
        std::vector<Duplicated> duplicated;
        for (std::size_t i = mine.keyBegin; i < mine.keyEnd; ++i) {
            const Key& key = mine_.Keys()[i];
            if (key.later) continue;
            const std::optional<std::size_t> other = theirs_.FindKey(theirs, key.name);
            const std::size_t theirCopies = other ? theirs_.Keys()[*other].copies : 0;
            if (key.copies > 1 || theirCopies > 1) duplicated.push_back({key.name, key.copies, theirCopies});
            if (!other) {
                ProfileDifference& row = Add(DifferenceKind::KeyOnlyMine, mine.name);
                row.key = std::string(key.name);
                row.mine = Owned(key.Value());
                continue;
            }
            keyMatched_[*other] = true;
            const Key& theirKey = theirs_.Keys()[*other];
            if (key.hasValue == theirKey.hasValue && key.value == theirKey.value) continue;
            ProfileDifference& row = Add(DifferenceKind::ValueDiffers, mine.name);
            row.key = std::string(key.name);
            row.mine = Owned(key.Value());
            row.theirs = Owned(theirKey.Value());
        }
        for (std::size_t i = theirs.keyBegin; i < theirs.keyEnd; ++i) {
            const Key& key = theirs_.Keys()[i];
            if (key.later || keyMatched_[i]) continue;
            if (key.copies > 1) duplicated.push_back({key.name, 0, key.copies});
            ProfileDifference& row = Add(DifferenceKind::KeyOnlyTheirs, mine.name);
            row.key = std::string(key.name);
            row.theirs = Owned(key.Value());
        }
        for (const Duplicated& key : duplicated) AddDuplicate(mine.name, &key.name, key.mineCopies, key.theirsCopies);
    }

    const Reading& mine_;
    const Reading& theirs_;
    std::vector<bool> keyMatched_;
    const Section* theirsSection_ = nullptr;   // the other file's copy of the section rows are added for
    ProfileComparison result_;
};

// ---- taking ----

// Where the first section of a name lies in a text: from its header line to
// the next header (for the empty name, the part before the first header,
// from the start of the text).
struct SectionSpan {
    bool found = false;
    std::size_t from = 0, to = 0;
    bool hasLines = false;   // the span holds a line besides its header
};

SectionSpan FindSectionSpan(std::string_view text, std::string_view section) {
    ProfileLines lines(text);
    SectionSpan span;
    span.found = section.empty();
    span.to = text.size();
    ProfileLine line;
    while (lines.Next(line)) {
        if (line.kind != ProfileLineKind::Header) {
            if (span.found) span.hasLines = true;
            continue;
        }
        if (span.found) {
            span.to = line.start;
            return span;
        }
        if (SameProfileName(line.name, section)) {
            span.found = true;
            span.from = line.start;
        }
    }
    return span;
}

std::size_t CopiesOfSection(std::string_view text, std::string_view section) {
    ProfileLines lines(text);
    std::size_t copies = 0;
    ProfileLine line;
    while (lines.Next(line))
        if (line.kind == ProfileLineKind::Header && SameProfileName(line.name, section)) ++copies;
    return copies;
}

// One writer call on a section: a key set to a value, set without a value,
// or deleted (every copy).
struct KeyChange {
    std::string_view key;
    bool remove = false;
    std::optional<std::string_view> value;
};

std::optional<std::string> Apply(std::string text, std::string_view section, const KeyChange& change) {
    if (!change.remove) {
        return change.value ? WriteProfileKey(text, section, change.key, *change.value)
                            : WriteProfileKeyWithoutValue(text, section, change.key);
    }
    for (;;) {
        std::optional<std::string> removed = DeleteProfileKey(text, section, change.key);
        if (!removed || *removed == text) return removed;
        text = std::move(*removed);
    }
}

// Makes the changes to the first section of that name. They run on that
// section alone, cut out of the text (with the file's line end before it, so
// that lines added take the same line end), and the result is put back: the
// writer then reads one section, not the whole file, however many changes a
// section takes.
std::optional<std::string> ChangeSection(std::string_view text, std::string_view section,
                                         std::vector<KeyChange> changes, std::optional<SectionSpan> span = std::nullopt) {
    for (const KeyChange& change : changes)
        if (HoldsNul(change.key) || (change.value && HoldsNul(*change.value))) return std::nullopt;
    std::string owned;
    if (!span) span = FindSectionSpan(text, section);
    const bool canCut = span->found && (!section.empty() || span->hasLines);
    if (!canCut) {
        // No lines to delete from; the first key written makes the section.
        changes.erase(changes.begin(), std::find_if(changes.begin(), changes.end(),
                                                    [](const KeyChange& change) { return !change.remove; }));
        if (changes.empty()) return std::string(text);
        std::optional<std::string> first = Apply(std::string(text), section, changes.front());
        if (!first) return std::nullopt;
        owned = std::move(*first);
        text = owned;
        changes.erase(changes.begin());
        if (changes.empty()) return owned;
        span = FindSectionSpan(text, section);
        if (!span->found) return std::nullopt;
    }
    const std::string prefix = section.empty() ? std::string() : std::string(ProfileLines(text).FileLineEnd());
    std::string work = prefix;
    work.append(text.substr(span->from, span->to - span->from));
    for (const KeyChange& change : changes) {
        std::optional<std::string> changed = Apply(std::move(work), section, change);
        if (!changed) return std::nullopt;
        work = std::move(*changed);
    }
    std::string result;
    result.reserve(text.size() - (span->to - span->from) + work.size() - prefix.size());
    result.append(text.substr(0, span->from));
    result.append(work, prefix.size(), std::string::npos);
    result.append(text.substr(span->to));
    return result;
}

// The first section of that name in text, read alone: its reading holds the
// unnamed part and, for a named section, the section.
struct SectionReading {
    SectionSpan span;
    std::string_view slice;
    std::optional<Reading> reading;
    const Section* section = nullptr;
};

void ReadSection(std::string_view text, std::string_view name, SectionReading& out) {
    out.span = FindSectionSpan(text, name);
    if (!out.span.found) return;
    out.slice = text.substr(out.span.from, out.span.to - out.span.from);
    out.reading.emplace(out.slice, std::nullopt);
    out.section = &out.reading->Sections()[name.empty() ? 0 : 1];
}

KeyChange TakenValue(const Key& key) { return KeyChange{key.name, false, key.Value()}; }

}  // namespace

bool ProfileComparison::Same() const {
    for (std::size_t kind = 0; kind < kDifferenceKinds; ++kind)
        if (kind != static_cast<std::size_t>(DifferenceKind::Duplicate) && counts[kind] != 0) return false;
    return true;
}

struct ProfileIndex::Data {
    Reading reading;
};

ProfileIndex::ProfileIndex(std::string_view text, std::optional<std::string_view> leftOut)
    : data_(new Data{Reading(text, leftOut)}) {}
ProfileIndex::~ProfileIndex() = default;
ProfileIndex::ProfileIndex(ProfileIndex&&) noexcept = default;
ProfileIndex& ProfileIndex::operator=(ProfileIndex&&) noexcept = default;

ProfileComparison CompareProfiles(const ProfileIndex& mine, const ProfileIndex& theirs) {
    return Comparer(mine.data_->reading, theirs.data_->reading).Compare();
}

ProfileComparison CompareProfiles(std::string_view mine, std::string_view theirs,
                                  std::optional<std::string_view> leftOutOfTheirs) {
    return CompareProfiles(ProfileIndex(mine), ProfileIndex(theirs, leftOutOfTheirs));
}

namespace {

std::string Quoted(const std::optional<std::string>& value) {
    return value ? "\"" + *value + "\"" : std::string("(missing)");
}

std::string Copies(std::size_t copies) {
    return std::to_string(copies) + (copies == 1 ? " copy" : " copies");
}

// "1 value differs", "2 values differ".
std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

DifferenceCells CellsOf(const ProfileDifference& row) {
    DifferenceCells cells;
    cells.section = "[" + row.section + "]";
    if (!row.wholeSection) cells.key = row.key;
    switch (row.kind) {
    case DifferenceKind::ValueDiffers:      cells.what = "Values differ"; break;
    case DifferenceKind::KeyOnlyMine:       cells.what = "Key only in this file"; break;
    case DifferenceKind::KeyOnlyTheirs:     cells.what = "Key only in the other file"; break;
    case DifferenceKind::SectionOnlyMine:   cells.what = "Section only in this file"; break;
    case DifferenceKind::SectionOnlyTheirs: cells.what = "Section only in the other file"; break;
    case DifferenceKind::Duplicate:         cells.what = "Duplicate: the first copy is compared"; break;
    }
    if (row.kind == DifferenceKind::Duplicate) {
        cells.mine = Copies(row.mineCopies);
        cells.theirs = Copies(row.theirsCopies);
    } else if (row.wholeSection) {
        const bool mine = row.kind == DifferenceKind::SectionOnlyMine;
        cells.mine = mine ? "(section)" : "(missing)";
        cells.theirs = mine ? "(missing)" : "(section)";
    } else {
        cells.mine = Quoted(row.mine);
        cells.theirs = Quoted(row.theirs);
    }
    return cells;
}

std::string DifferenceLine(const ProfileDifference& row) {
    const DifferenceCells cells = CellsOf(row);
    std::string line = cells.section;
    if (!row.wholeSection) line += " " + cells.key;
    line += ": " + cells.mine + " \xE2\x86\x92 " + cells.theirs;
    if (row.kind == DifferenceKind::Duplicate) line += " (" + cells.what + ")";
    return line;
}

std::string ComparisonSummary(const ProfileComparison& comparison) {
    std::string summary;
    if (comparison.Same()) {
        summary = "The files hold the same keys and values.";
    } else {
        struct Part {
            DifferenceKind kind;
            const char* one;
            const char* many;
        };
        const Part parts[] = {
            {DifferenceKind::ValueDiffers, "value differs", "values differ"},
            {DifferenceKind::KeyOnlyMine, "key only in this file", "keys only in this file"},
            {DifferenceKind::KeyOnlyTheirs, "key only in the other file", "keys only in the other file"},
            {DifferenceKind::SectionOnlyMine, "section only in this file", "sections only in this file"},
            {DifferenceKind::SectionOnlyTheirs, "section only in the other file", "sections only in the other file"},
        };
        std::size_t total = 0;
        std::string listed;
        for (const Part& part : parts) {
            const std::size_t count = comparison.Count(part.kind);
            if (count == 0) continue;
            total += count;
            listed += (listed.empty() ? "" : ", ") + Counted(count, part.one, part.many);
        }
        summary = Counted(total, "difference", "differences") + ": " + listed + ".";
    }
    const std::size_t duplicates = comparison.Count(DifferenceKind::Duplicate);
    if (duplicates != 0)
        summary += " " + Counted(duplicates, "duplicate", "duplicates") + " (the first copy is compared).";
    return summary;
}

std::optional<std::string> TakeProfileKey(std::string_view mine, std::string_view theirs, std::string_view section,
                                          std::string_view key) {
    if (HoldsNul(section) || HoldsNul(key)) return std::nullopt;
    SectionReading other;
    ReadSection(theirs, section, other);
    std::optional<std::size_t> found;
    if (other.section != nullptr) found = other.reading->FindKey(*other.section, key);
    const KeyChange change = found ? TakenValue(other.reading->Keys()[*found]) : KeyChange{key, true, std::nullopt};
    return ChangeSection(mine, section, {change});
}

std::optional<std::string> TakeProfileSection(std::string_view mine, std::string_view theirs,
                                              std::string_view section) {
    if (HoldsNul(section)) return std::nullopt;
    SectionReading other;
    ReadSection(theirs, section, other);
    if (other.section == nullptr) {
        // Every copy goes: a later one would otherwise be the one read.
        std::string text(mine);
        for (std::size_t copies = CopiesOfSection(text, section); copies > 0; --copies) {
            std::optional<std::string> deleted = DeleteProfileSection(text, section);
            if (!deleted) return std::nullopt;
            text = std::move(*deleted);
        }
        return text;
    }
    SectionReading current;
    ReadSection(mine, section, current);
    std::vector<KeyChange> changes;
    if (current.section != nullptr) {
        for (std::size_t i = current.section->keyBegin; i < current.section->keyEnd; ++i) {
            const Key& key = current.reading->Keys()[i];
            if (!key.later && !other.reading->FindKey(*other.section, key.name))
                changes.push_back(KeyChange{key.name, true, std::nullopt});
        }
    }
    for (std::size_t i = other.section->keyBegin; i < other.section->keyEnd; ++i) {
        const Key& key = other.reading->Keys()[i];
        if (!key.later) changes.push_back(TakenValue(key));
    }
    if (changes.empty() && !current.span.found) return AddProfileSection(mine, section);
    return ChangeSection(mine, section, std::move(changes), current.span);
}

std::string TakenSectionText(std::string_view theirs, std::string_view section) {
    std::string text(section);
    SectionReading other;
    ReadSection(theirs, section, other);
    if (other.section == nullptr) return text;
    for (std::size_t i = other.section->keyBegin; i < other.section->keyEnd; ++i) {
        const Key& key = other.reading->Keys()[i];
        if (key.later) continue;
        text += key.name;
        text += key.value;
    }
    return text;
}

}  // namespace ini
