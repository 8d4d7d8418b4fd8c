// Check File: where an INI file says one thing and a program that reads it
// with the platform's profile functions gets another. Portable: no
// <windows.h>. Stands on the one model of the reader (ini/profile_model.h).
//
// Every finding says what Windows' reader gets, and where Wine's reader
// differs, how. Each finding also carries the calls of the reader that show
// it, with what Wine's reader gives for them: the differential tests make
// those calls under Wine and compare.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ini/encoding.h"

namespace ini {

enum class CheckRule {
    DuplicateSection,       // a later header of a name already used: never read
    KeyOnlyInLaterCopy,     // a key that only a later copy of its section holds
    DuplicateKey,           // a later key of a name its section already has
    BeforeFirstHeader,      // a line before the first header
    NoEquals,               // a line without "=" inside a section
    HeaderWithoutBracket,   // "[" and no "]"
    TextAfterBracket,       // text after a header's "]"
    HashLine,               // "#" at the start: data, not a comment
    QuotedValue,            // outer quotes, taken off when read
    BlanksAroundValue,      // blanks the reader trims off a value
    Utf8Mark,               // not honoured by Windows
    Utf16BigEndian,         // not read as Unicode by Windows
    MarkInside,             // U+FEFF after the start: an ordinary character
    NulByte,
    MixedLineEnds,
    LongLine,               // longer than one piece of KEPLIN's lists
};

// One call of the reader, and what Wine's reader gives for it.
enum class ReaderCallKind {
    Value,              // GetPrivateProfileString(section, key)
    SectionNameCount,   // GetPrivateProfileSectionNames: how many names are section (case ignored)
    SectionHolds,       // GetPrivateProfileSection(section): does it return the entry key?
};
struct ReaderCall {
    ReaderCallKind kind = ReaderCallKind::Value;
    std::string section;
    std::string key;                    // Value: the key; SectionHolds: the entry
    std::optional<std::string> value;   // Value: what it gives; nothing when it finds no value
    std::size_t count = 0;              // SectionNameCount: the names; SectionHolds: 1 or 0
};

struct CheckFinding {
    CheckRule rule = CheckRule::LongLine;
    std::size_t line = 0;       // 1 for the first line
    std::string section;        // "[name]" of the section the line is in to Wine's reader; "" before the first header
    std::string says;           // what the file says (long lines cut)
    std::string gets;           // what a program reading it gets on Windows
    std::string differs;        // how Wine's reader differs; empty when it does not
    std::vector<ReaderCall> calls;
};

struct CheckReport {
    std::vector<CheckFinding> findings;   // in line order
    std::size_t lines = 0;                // lines in the file; an empty file has one
    std::size_t steps = 0;                // work done: bytes looked at and name-table probes
};

// Checks a file's text as decoded (ini/encoding.h) in its encoding.
CheckReport CheckProfileText(std::string_view text, Encoding encoding);

// One finding as a line of text for the clipboard: "line N: ...".
std::string FindingAsText(const CheckFinding& finding);

}  // namespace ini
