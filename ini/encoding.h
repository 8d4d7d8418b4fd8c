// A file's text encoding: found when the file is read, kept when it is
// written. Portable: no <windows.h>; the system's ANSI code page is reached
// through a CodePage that the program backs with the platform's conversions.
//
// KEPLIN works on UTF-8 text whatever the file holds, and turns it back into
// the file's own bytes exactly: decoding and encoding an unchanged text gives
// the same bytes, every byte. What UTF-8 cannot say is kept in the text as a
// lone surrogate code point, written as the three bytes UTF-8 would give it
// (ED A0 80 to ED BF BF):
// - an unpaired surrogate of a UTF-16 file, as itself;
// - a byte that is not part of a character: in a UTF-8 file a byte that
//   is not valid UTF-8, in a file of the ANSI code page each byte above 127
//   of a line that the code page cannot read and write back unchanged; the
//   byte b is kept as U+DC00 + b (U+DC80 to U+DCFF).
// None of these is valid UTF-8, which is how the program tells a line it
// cannot change without changing its bytes. The same text goes through
// UTF-16 and back unchanged, so list boxes hold it exactly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/unicode.h"

namespace ini {

enum class Encoding {
    Ansi,      // the system's ANSI code page
    Utf8,      // UTF-8 without a byte-order mark
    Utf8Bom,   // UTF-8 with EF BB BF
    Utf16Le,   // UTF-16 little-endian with FF FE
    Utf16Be,   // UTF-16 big-endian with FE FF
};

// The system's ANSI code page, converted by the platform.
class CodePage {
public:
    virtual ~CodePage() = default;
    // The UTF-16 reading of bytes; nothing when the code page refuses them.
    virtual std::optional<std::u16string> Read(std::string_view bytes) const = 0;
    // The bytes for text; nothing when a character cannot be held exactly
    // (no best-fit substitutes, no default character).
    virtual std::optional<std::string> Write(std::u16string_view text) const = 0;
    // How the user knows it, such as "ANSI code page 1252".
    virtual std::string Name() const = 0;
};

// 1. UTF-16 by its byte-order mark; 2. UTF-8 by its mark; 3. UTF-8 when the
// bytes are valid UTF-8 and not all ASCII; 4. the ANSI code page, as the
// platform's profile calls read every file without a mark (plain ASCII and
// empty files included).
Encoding DetectEncoding(std::string_view bytes);
// The encoding a byte-order mark at the start names; Ansi without one.
Encoding EncodingByMark(std::string_view bytes);

// How the main window names an encoding.
std::string EncodingName(Encoding encoding, const CodePage& ansi);

// Strict UTF-8: shortest forms only, no surrogate code points, nothing above
// U+10FFFF.
bool IsValidUtf8(std::string_view text);
bool IsAscii(std::string_view text);

// A file's text, and how to give back its bytes.
struct FileText {
    Encoding encoding = Encoding::Utf8;
    std::string text;          // UTF-8 as described above, without the mark
    std::string oddByte;       // a UTF-16 file's last byte when its length is odd
};

// The encoding of bytes that are their own text (a file without a mark of
// ASCII, or of valid UTF-8); nothing when they must be decoded.
std::optional<Encoding> EncodingOfBytesThatAreText(std::string_view bytes);

FileText DecodeFile(std::string_view bytes, const CodePage& ansi);
FileText DecodeFile(std::string_view bytes, Encoding encoding, const CodePage& ansi);
// The same, taking the bytes: a UTF-8 file's bytes become its text without
// a copy (a file may be tens of megabytes).
FileText DecodeFile(std::string&& bytes, const CodePage& ansi);

// A UTF-16 file's body (after its mark) as text: pairs as characters,
// unpaired surrogates as themselves (see above), a last odd byte left out.
std::string DecodeUtf16Body(std::string_view body, bool little);

// The file's bytes for text in that file's encoding: the mark first, every
// line in the encoding. Nothing when a character cannot be written in it.
std::optional<std::string> EncodeFile(const FileText& file, const CodePage& ansi);
// The same, taking the text: UTF-8 text becomes the bytes without a copy.
std::optional<std::string> EncodeFile(FileText&& file, const CodePage& ansi);

// The number (from 1) of the line holding the first of text's bytes that are
// not text in their file's encoding (kept as lone surrogates); 0 when none.
std::size_t LineOfFirstOddByte(std::string_view text);

// The first character of text that the encoding cannot hold, as UTF-8; empty
// when it holds them all. Text must be valid UTF-8.
std::string FirstCharacterNotHeld(std::string_view text, Encoding encoding, const CodePage& ansi);

// The text (surrogates written as above included) to UTF-16 and back,
// exactly.
using base::AppendAsUtf16;
using base::Utf16ToUtf8;
using base::Utf8ToUtf16;

// The code point at the start of a UTF-8 character, for messages ("U+65E5").
std::string CodePointName(std::string_view character);

}  // namespace ini
