#include "ini/profile_check.h"

#include <cstdint>
#include <unordered_map>
#include <utility>

#include "ini/profile_model.h"
#include "ini/scanner.h"

namespace ini {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
// A list entry holds this many characters; a longer line is listed in pieces.
constexpr std::size_t kPieceCharacters = kListLimit - 1;
// What a finding shows of a long line.
constexpr std::size_t kShownCharacters = 120;
constexpr std::string_view kMark = "\xEF\xBB\xBF";

bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Names as the reader tells them apart (case ignored, cut at a NUL), in an
// open-addressing table whose every probe is counted, so the work stays
// measurable however the names collide. Each name belongs to an owner, and
// a new owner finds the table empty: the slots of the one before count as
// free, so one table serves section after section without being cleared,
// and it grows only as large as the largest of them needs.
class NameTable {
public:
    std::size_t Find(std::size_t owner, std::string_view name, std::size_t& steps) const {
        if (slots_.empty() || owner != owner_) return kNone;
        const Slot& slot = slots_[SlotOf(Hash(name, steps), owner, name, steps)];
        return slot.owner == owner ? slot.value : kNone;
    }
    // Adds (owner, name) with value unless it is there; gives the value held.
    std::size_t Add(std::size_t owner, std::string_view name, std::size_t value, std::size_t& steps) {
        if (owner != owner_) {
            owner_ = owner;
            used_ = 0;
        }
        if ((used_ + 1) * 2 > slots_.size()) Grow(steps);
        const std::uint64_t hash = Hash(name, steps);
        Slot& slot = slots_[SlotOf(hash, owner, name, steps)];
        if (slot.owner == owner) return slot.value;
        slot = {hash, owner, name, value};
        ++used_;
        return value;
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::size_t owner = kNone;   // kNone: never used
        std::string_view name;
        std::size_t value = kNone;
    };

    static std::uint64_t Hash(std::string_view name, std::size_t& steps) {
        std::uint64_t hash = 14695981039346656037ull;
        for (char c : name) {
            ++steps;
            if (c == '\0') break;
            hash = (hash ^ static_cast<unsigned char>(Folded(c))) * 1099511628211ull;
        }
        return hash;
    }

    // The slot holding (owner, name), or the free one where it would go.
    std::size_t SlotOf(std::uint64_t hash, std::size_t owner, std::string_view name, std::size_t& steps) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            ++steps;
            const Slot& slot = slots_[at];
            if (slot.owner != owner) return at;
            if (slot.hash == hash && SameProfileName(slot.name, name)) return at;
        }
    }

    void Grow(std::size_t& steps) {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
        steps += slots_.size();
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.owner != owner_) continue;
            std::size_t at = slot.hash & mask;
            while (slots_[at].owner == owner_) {
                ++steps;
                at = (at + 1) & mask;
            }
            slots_[at] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::size_t owner_ = kNone;
    std::size_t used_ = 0;
};

struct Section {
    std::string_view name;
    std::size_t line = 0;    // of its header; 0 for the lines before the first header
    std::size_t first = 0;   // the section of this name that the reader reads
    std::size_t keys = 0;    // where its keys begin in the checker's keys, when it is the first
};

struct Key {
    std::size_t line = 0;
    std::string_view name;
    bool hasValue = false;
    std::string_view value;   // blanks removed, quotes kept
};

const char* LineEndName(std::string_view end) {
    return end == "\r\n" ? "CR LF" : end == "\n" ? "LF" : "CR";
}

class Checker {
public:
    Checker(std::string_view text, Encoding encoding) : text_(text), encoding_(encoding) {
        sections_.push_back({std::string_view(), 0, 0});
        sectionNames_.Add(0, std::string_view(), 0, report_.steps);
    }

    CheckReport Run() {
        ProfileLines lines(text_);
        ProfileLine line;
        while (lines.Next(line)) Check(line);
        report_.lines = line.number == 0 ? 1 : line.number;
        // An empty file's mark stands on its one empty line.
        if (line.number == 0) Marks(nullptr);
        CountSectionNames();
        return std::move(report_);
    }

private:
    void Check(const ProfileLine& line) {
        report_.steps += line.end - line.start + 1;
        const bool nul = line.content.find('\0') != std::string_view::npos;
        Structure(line);
        nul_ = nul;
        reading_.reset();
        if (line.number == 1) Marks(&line);
        if (nul)
            Add(line, CheckRule::NulByte, Says(line),
                "Windows and Wine read lines with a NUL byte erratically: a name ends at the NUL, and the rest of "
                "the line, or whole lines, can be lost.",
                "");
        if (line.content.find(kMark) != std::string_view::npos) InsideMark(line);
        LineEnd(line);
        LongLine(line);
        if (nul || line.kind == ProfileLineKind::Blank) return;
        if (line.kind == ProfileLineKind::Header)
            HeaderRules(line);
        else
            KeyRules(line);
    }

    // Where the reader puts the line: a new section, or a key of the current one.
    void Structure(const ProfileLine& line) {
        keyOfLine_ = kNone;
        earlierKey_ = kNone;
        if (line.kind == ProfileLineKind::Header) {
            const std::size_t index = sections_.size();
            const std::size_t first = sectionNames_.Add(0, line.name, index, report_.steps);
            sections_.push_back({line.name, line.number, first, keys_.size()});
            current_ = index;
            return;
        }
        if (line.kind != ProfileLineKind::Key || IsComment(line)) return;
        const std::size_t first = sections_[current_].first;
        if (first != current_) {
            earlierKey_ = KeysOf(first).Find(first, line.name, report_.steps);
            return;
        }
        keys_.push_back({line.number, line.name, line.HasValue(), line.Value()});
        const std::size_t held = currentKeys_.Add(current_, line.name, keys_.size() - 1, report_.steps);
        if (held != keys_.size() - 1) {
            earlierKey_ = held;
            keys_.pop_back();
        } else {
            keyOfLine_ = held;
        }
    }

    // The keys of a section the reader reads, for a later copy of it: made
    // once from the section's run of keys, which the sections after it end.
    const NameTable& KeysOf(std::size_t first) {
        auto [at, made] = laterKeys_.try_emplace(first);
        if (!made) return at->second;
        const std::size_t end = first + 1 < sections_.size() ? sections_[first + 1].keys : keys_.size();
        for (std::size_t key = sections_[first].keys; key < end; ++key)
            at->second.Add(first, keys_[key].name, key, report_.steps);
        return at->second;
    }

    static bool IsComment(const ProfileLine& line) { return !line.name.empty() && line.name[0] == ';'; }

    // The calls that show how Wine's reader takes the line.
    std::vector<ReaderCall> Reading(const ProfileLine& line) const {
        std::vector<ReaderCall> calls;
        if (nul_ || line.kind == ProfileLineKind::Blank) return calls;
        if (line.kind == ProfileLineKind::Header) {
            // Wine lists no section with the empty name.
            if (!line.name.empty()) calls.push_back({ReaderCallKind::SectionNameCount, std::string(line.name), "", {}, 0});
            return calls;
        }
        if (IsComment(line) || line.name.empty()) return calls;
        const Section& section = sections_[current_];
        const std::size_t found = keyOfLine_ != kNone ? keyOfLine_ : earlierKey_;
        ReaderCall value{ReaderCallKind::Value, std::string(section.name), std::string(line.name), {}, 0};
        if (found != kNone && keys_[found].hasValue) value.value = std::string(UnquotedProfileValue(keys_[found].value));
        calls.push_back(std::move(value));
        if (current_ != 0 && section.first == current_) {
            std::string entry(line.name);
            if (line.HasValue()) entry += "=" + std::string(line.Value());
            calls.push_back({ReaderCallKind::SectionHolds, std::string(section.name), std::move(entry), {}, 1});
        }
        return calls;
    }

    void Marks(const ProfileLine* line) {
        const bool header = line != nullptr && line->kind == ProfileLineKind::Header;
        if (encoding_ == Encoding::Utf8Bom) {
            std::string gets = "Windows does not honour the mark: its bytes become part of line 1";
            if (header)
                gets += ", so " + std::string(TrimProfileBlanks(line->content)) +
                        " there is no header to it and the keys under it are not found";
            gets += "; the rest is read in the ANSI code page.";
            AddAt(line, CheckRule::Utf8Mark, "A UTF-8 byte-order mark (EF BB BF).", gets,
                  "Wine honours the mark and reads the file as UTF-8.");
        } else if (encoding_ == Encoding::Utf16Be) {
            AddAt(line, CheckRule::Utf16BigEndian, "A UTF-16 big-endian byte-order mark (FE FF).",
                  "Windows does not read UTF-16 big-endian: a program finds none of the file's sections or keys.",
                  "Wine reads the file as UTF-16 big-endian.");
        }
    }

    void InsideMark(const ProfileLine& line) {
        std::string gets =
            "A byte-order mark after the start of the file is an ordinary character (U+FEFF) to the reader, part of "
            "the line";
        std::string without(line.content);
        for (std::size_t at; (at = without.find(kMark)) != std::string::npos;) without.erase(at, kMark.size());
        report_.steps += line.content.size();
        if (line.kind != ProfileLineKind::Header && ParseProfileLine(without).kind == ProfileLineKind::Header)
            gets += ": this line is no header";
        else if (line.kind == ProfileLineKind::Key && line.name.find(kMark) != std::string_view::npos)
            gets += ": the name " + Quoted(line.name) + " holds it";
        Add(line, CheckRule::MarkInside, Says(line), gets + ".", "");
    }

    void LineEnd(const ProfileLine& line) {
        const std::string_view end = line.LineEnd();
        if (end.empty() || mixedReported_) return;
        if (firstEndLine_ == 0) {
            firstEnd_ = end;
            firstEndLine_ = line.number;
            return;
        }
        if (end == firstEnd_) return;
        mixedReported_ = true;
        Add(line, CheckRule::MixedLineEnds,
            std::string("This line ends with ") + LineEndName(end) + ", line " + std::to_string(firstEndLine_) +
                " with " + LineEndName(firstEnd_) + ".",
            "Mixed line ends: CR LF, LF and a lone CR each end a line for the reader; a program that reads the "
            "file's lines itself may split them otherwise.",
            "");
    }

    void LongLine(const ProfileLine& line) {
        // No more characters than bytes.
        if (line.content.size() <= kPieceCharacters) return;
        std::size_t characters = 0;
        for (char c : line.content) characters += StartsCharacter(c);
        report_.steps += line.content.size();
        if (characters <= kPieceCharacters) return;
        Add(line, CheckRule::LongLine, Says(line),
            "The whole line, " + std::to_string(characters) + " characters; KEPLIN's lists show it in pieces of " +
                std::to_string(kPieceCharacters) + ".",
            "");
    }

    void HeaderRules(const ProfileLine& line) {
        const Section& section = sections_[current_];
        if (section.first != current_) DuplicateSection(line);
        const std::string_view trimmed = TrimProfileBlanks(line.content);
        const std::string_view after = TrimProfileBlanks(trimmed.substr(trimmed.find(']') + 1));
        if (after.empty()) return;
        const std::string_view windows = WindowsSectionOfLine(line.content).value_or(std::string_view());
        if (windows == line.name) {
            Add(line, CheckRule::TextAfterBracket, Says(line),
                "Section " + Quoted(line.name) + ": the reader ignores " + Quoted(after) + " after the ].", "");
        } else {
            Add(line, CheckRule::TextAfterBracket, Says(line),
                "Section " + Quoted(windows) + ": Windows ends the name at the first ] and ignores the rest of the "
                "line.",
                "Wine ends the name at the last ]: section " + Quoted(line.name) + ".");
        }
    }

    void DuplicateSection(const ProfileLine& line) {
        const Section& first = sections_[sections_[current_].first];
        if (first.line == 0) {
            // "[]": the name of the lines before the first header, to Wine.
            Add(line, CheckRule::DuplicateSection, Says(line),
                "A section with no name: Windows reads its keys with the section name \"\".",
                "Wine never reads them: to Wine that name means the lines before the first header.");
            return;
        }
        std::string gets = "Never read: the reader reads only the first " + SectionOf(first) + ", on line " +
                           std::to_string(first.line);
        if (first.name != line.name) gets += " (the same name to the reader, which ignores case)";
        Add(line, CheckRule::DuplicateSection, Says(line),
            gets + "; this copy's keys are not found. Listing the sections shows every copy.", "");
    }

    void KeyRules(const ProfileLine& line) {
        const std::string_view trimmed = TrimProfileBlanks(line.content);
        if (trimmed[0] == '[') {
            HeaderWithoutBracket(line, trimmed);
            return;
        }
        if (IsComment(line)) return;
        const Section& section = sections_[current_];
        if (current_ == 0) {
            BeforeFirstHeader(line);
            return;
        }
        // The keys of a "[]" section: its header's finding tells what they are.
        if (section.first == 0) return;
        if (section.first != current_) {
            if (earlierKey_ == kNone) {
                const Section& first = sections_[section.first];
                Add(line, CheckRule::KeyOnlyInLaterCopy, Says(line),
                    "Never read: only this later copy of " + SectionOf(section) + " holds " + Quoted(line.name) +
                        ", and the reader looks in the first, on line " + std::to_string(first.line) + ".",
                    "");
            }
            return;
        }
        if (earlierKey_ != kNone) {
            DuplicateKey(line);
            return;
        }
        const bool hash = line.name[0] == '#';
        if (hash) {
            Add(line, CheckRule::HashLine, Says(line),
                line.HasValue() ? "A key named " + Quoted(line.name) + ": only ; at the start of a line makes a "
                                  "comment, # does not."
                                : std::string("Not a comment: only ; at the start of a line makes one; reading the "
                                              "whole section returns this line."),
                "");
        } else if (!line.HasValue()) {
            Add(line, CheckRule::NoEquals, Says(line),
                "Not a key, for want of =: reading " + Quoted(line.name) +
                    " finds no value; only reading the whole section returns this line.",
                "");
        }
        if (line.HasValue()) ValueRules(line);
    }

    void ValueRules(const ProfileLine& line) {
        const std::string_view value = line.Value();
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
            Add(line, CheckRule::QuotedValue, Says(line),
                Quoted(UnquotedProfileValue(value)) +
                    ", without the outer quotes; a program that writes it back writes no quotes, so it does not "
                    "read the same afterwards.",
                "");
        }
        const std::string_view raw = line.content.substr(line.equals + 1);
        const std::size_t leading = raw.size() - TrimProfileBlanks(raw).size() - TrailingBlanks(raw);
        // One space after "=" is the common style, and nobody means it as part of the value.
        if (TrailingBlanks(raw) > 0 || (leading > 0 && raw.substr(0, leading) != " ")) {
            Add(line, CheckRule::BlanksAroundValue, Says(line),
                Quoted(UnquotedProfileValue(value)) + ": the reader trims the blanks around the value.", "");
        }
    }

    static std::size_t TrailingBlanks(std::string_view text) {
        const std::string_view trimmed = TrimProfileBlanks(text);
        if (trimmed.empty()) return 0;
        return text.size() - (trimmed.data() - text.data()) - trimmed.size();
    }

    void DuplicateKey(const ProfileLine& line) {
        const Key& first = keys_[earlierKey_];
        std::string gets = "Never read: the reader finds " + Quoted(first.name) + " on line " +
                           std::to_string(first.line) + " first";
        if (first.name != line.name) gets += " (the same name to the reader, which ignores case)";
        gets += first.hasValue ? " and gets " + Quoted(UnquotedProfileValue(first.value))
                               : ", a line without =, and gets no value";
        gets += "; reading the whole section returns every copy.";
        Add(line, CheckRule::DuplicateKey, Says(line), gets, "");
    }

    void BeforeFirstHeader(const ProfileLine& line) {
        std::string differs = "Wine keeps the lines before the first header in a section with no name";
        const std::vector<ReaderCall>& reading = ReadingOf(line);
        if (!reading.empty() && reading[0].value)
            differs += ": GetPrivateProfileString(\"\", " + Quoted(line.name) + ") gives " + Quoted(*reading[0].value);
        Add(line, CheckRule::BeforeFirstHeader, Says(line),
            "Not read: Windows ignores the lines before the first header.", differs + ".");
    }

    void HeaderWithoutBracket(const ProfileLine& line, std::string_view trimmed) {
        const std::string_view windows = TrimProfileBlanks(trimmed.substr(1));
        const std::string in = current_ == 0 ? "the lines before the first header" : SectionOf(sections_[current_]);
        Add(line, CheckRule::HeaderWithoutBracket, Says(line),
            "A header without ]: Windows takes it for section " + Quoted(windows) +
                ", the name running to the end of the line, and the lines after it belong to that section.",
            "Wine takes it for no header: it is a line of " + in + ", and so are the lines after it.");
    }

    static std::string SectionOf(const Section& section) { return "[" + std::string(section.name) + "]"; }

    std::string Says(const ProfileLine& line) {
        std::string_view content = line.content;
        std::size_t characters = 0, at = 0;
        for (; at < content.size(); ++at) {
            if (StartsCharacter(content[at]) && characters++ == kShownCharacters) break;
        }
        std::string shown;
        // A NUL shows as the sign for it, so that the text stays whole on screen and on the clipboard.
        for (char c : content.substr(0, at)) shown += c == '\0' ? std::string("\xE2\x90\x80") : std::string(1, c);
        if (at < content.size()) shown += "...";
        return shown;
    }

    // How Wine's reader takes the current line, made once, for its findings only.
    const std::vector<ReaderCall>& ReadingOf(const ProfileLine& line) {
        if (!reading_) reading_ = Reading(line);
        return *reading_;
    }

    void Add(const ProfileLine& line, CheckRule rule, std::string says, std::string gets, std::string differs) {
        std::string section = current_ == 0 ? std::string() : SectionOf(sections_[current_]);
        Keep({rule, line.number, std::move(section), std::move(says), std::move(gets), std::move(differs),
              ReadingOf(line)});
    }

    // A finding about the whole file, on its first line (null: the file has none).
    void AddAt(const ProfileLine* line, CheckRule rule, std::string says, std::string gets, std::string differs) {
        if (line != nullptr) {
            Add(*line, rule, std::move(says), std::move(gets), std::move(differs));
            return;
        }
        Keep({rule, 1, "", std::move(says), std::move(gets), std::move(differs), {}});
    }

    void Keep(CheckFinding&& finding) { report_.findings.push_back(std::move(finding)); }

    // The names listed, counted once the whole file is read.
    void CountSectionNames() {
        std::vector<std::size_t> copies(sections_.size(), 0);
        for (const Section& section : sections_) ++copies[section.first];
        for (CheckFinding& finding : report_.findings) {
            for (ReaderCall& call : finding.calls) {
                if (call.kind != ReaderCallKind::SectionNameCount) continue;
                call.count = copies[sectionNames_.Find(0, call.section, report_.steps)];
            }
        }
    }

    std::string_view text_;
    Encoding encoding_;
    CheckReport report_;
    std::vector<Section> sections_;
    std::vector<Key> keys_;
    NameTable sectionNames_;
    NameTable currentKeys_;   // the keys of the section being read, when it is the first of its name
    std::unordered_map<std::size_t, NameTable> laterKeys_;   // by section, for its later copies
    std::size_t current_ = 0;
    std::size_t keyOfLine_ = kNone;    // this line's entry in keys_, when it is the first of its name
    std::size_t earlierKey_ = kNone;   // the entry of the same name before it
    std::string_view firstEnd_;
    std::size_t firstEndLine_ = 0;
    bool mixedReported_ = false;
    bool nul_ = false;                 // the current line holds a NUL byte
    std::optional<std::vector<ReaderCall>> reading_;
};

}  // namespace

CheckReport CheckProfileText(std::string_view text, Encoding encoding) { return Checker(text, encoding).Run(); }

std::string FindingAsText(const CheckFinding& finding) {
    std::string text = "line " + std::to_string(finding.line) + ":";
    if (!finding.section.empty()) text += " " + finding.section;
    text += " " + finding.says + " | " + finding.gets;
    if (!finding.differs.empty()) text += " | " + finding.differs;
    return text;
}

}  // namespace ini
