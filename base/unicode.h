// UTF-8 and UTF-16, one into the other, for the program's text: UTF-8
// whose lone surrogate code points (the three-byte form UTF-8 would give
// them) stand for what a file holds that is not text, so that such text
// goes through UTF-16 windows and back unchanged. Portable: no <windows.h>.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

bool IsContinuation(unsigned char c);

// Reads the character at text[at] and moves past it. With surrogates, the
// three-byte form of a surrogate code point counts as a character; strict
// UTF-8 refuses it. False, having moved past one byte, for anything else
// that is not a character.
bool NextCodePoint(std::string_view text, std::size_t& at, char32_t& point, bool surrogates);

void AppendUtf8(std::string& out, char32_t point);
void AppendUtf16(std::u16string& out, char32_t point);

// The text (lone surrogates included) to UTF-16 and back, exactly; anything
// else in text comes out as U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// The same, added to units (a buffer kept for many lines).
void AppendAsUtf16(std::u16string& units, std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace base
