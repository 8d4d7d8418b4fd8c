// The Check File rules, one small file each, with the findings expected:
// the unit tests check the checker against it, and the differential tests
// (tests/window/check_differential_test.cpp) make every finding's reader
// calls on the same files under Wine.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "ini/encoding.h"
#include "ini/profile_check.h"

namespace check_table {

using namespace std::string_literals;
using Rule = ini::CheckRule;
// A finding expected: its rule, its line, and whether real Windows reads the
// line otherwise than Wine (the finding says how; its calls are Wine's).
struct Finding {
    Rule rule;
    std::size_t line;
    bool windowsDiffers = false;
    bool operator==(const Finding& other) const {
        return rule == other.rule && line == other.line && windowsDiffers == other.windowsDiffers;
    }
};
using Expected = std::vector<Finding>;

enum class Family { Duplicates, Lines, Headers, Values, Marks, Layout };

struct Case {
    Family family;
    std::string text;   // UTF-8, written in encoding
    ini::Encoding encoding;
    Expected expected;
};

inline const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {Family::Duplicates,
         "[A]\r\nk=1\r\nk=2\r\nK=3\r\n[B]\r\nx=1\r\n[A]\r\nk=4\r\nonly=5\r\n[a]\r\nz=6\r\n",
         ini::Encoding::Utf8,
         {{Rule::DuplicateKey, 3},
          {Rule::DuplicateKey, 4},
          {Rule::DuplicateSection, 7},
          {Rule::KeyOnlyInLaterCopy, 9},
          {Rule::DuplicateSection, 10},
          {Rule::KeyOnlyInLaterCopy, 11}}},
        {Family::Duplicates, "top=1\n[]\nk=2\n", ini::Encoding::Utf8,
         {{Rule::BeforeFirstHeader, 1, true}, {Rule::DuplicateSection, 2, true}}},
        {Family::Lines, "; about\nfree=1\nnote\n[S]\nk=v\njust text\n#c=1\n# heading\n;c=2\n", ini::Encoding::Utf8,
         {{Rule::BeforeFirstHeader, 2, true},
          {Rule::BeforeFirstHeader, 3, true},
          {Rule::NoEquals, 6},
          {Rule::HashLine, 7},
          {Rule::HashLine, 8}}},
        {Family::Headers, "[A] ; note\nk=1\n[B]]\nb=1\n[C] x ]\n[Colors\nc=2\n  [D]\nd=1\n", ini::Encoding::Utf8,
         {{Rule::TextAfterBracket, 1},
          {Rule::TextAfterBracket, 3, true},
          {Rule::TextAfterBracket, 5, true},
          {Rule::HeaderWithoutBracket, 6, true}}},
        {Family::Values,
         "[V]\nq=\"quoted\"\ns='single'\nmixed=\"x'\nt=trail  \ntab=\tx\nsp= one\ntwo=  two\nempty=   \n",
         ini::Encoding::Utf8,
         {{Rule::QuotedValue, 2},
          {Rule::QuotedValue, 3},
          {Rule::BlanksAroundValue, 5},
          {Rule::BlanksAroundValue, 6},
          {Rule::BlanksAroundValue, 8},
          {Rule::BlanksAroundValue, 9}}},
        {Family::Marks, "[A]\r\nk=1\r\n", ini::Encoding::Utf8Bom, {{Rule::Utf8Mark, 1, true}}},
        {Family::Marks, "[A]\r\nk=1\r\n", ini::Encoding::Utf16Be, {{Rule::Utf16BigEndian, 1, true}}},
        {Family::Marks, "[A]\nk=1\n\xEF\xBB\xBF[B]\nb=2\n", ini::Encoding::Utf8, {{Rule::MarkInside, 3}, {Rule::NoEquals, 3}}},
        {Family::Marks, "[A]\nk=1\nn=a\0b\n"s, ini::Encoding::Utf8, {{Rule::NulByte, 3}}},
        {Family::Layout, "[A]\r\nk=1\nj=2\r\n", ini::Encoding::Utf8, {{Rule::MixedLineEnds, 2}}},
        {Family::Layout, "[A]\nlong=" + std::string(200, 'x') + "\n", ini::Encoding::Utf8, {{Rule::LongLine, 2}}},
        {Family::Layout, "[A]\r\nk=1\r\n; comment\r\n\r\n[B]\r\nk = v\r\n\r\n", ini::Encoding::Utf16Le, {}},
    };
    return cases;
}

}  // namespace check_table
