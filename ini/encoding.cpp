#include "ini/encoding.h"

#include "base/unicode.h"
#include "ini/line_ends.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ini {

using base::AppendUtf16;
using base::AppendUtf8;
using base::IsContinuation;
using base::NextCodePoint;

namespace {

// How many bytes at the start are ASCII: sixteen at a time with SSE2, else
// eight.
std::size_t AsciiPrefix(std::string_view text) {
    std::size_t at = 0;
#if defined(__SSE2__)
    for (; at + 16 <= text.size(); at += 16)
        if (_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at))) != 0) break;
#endif
    while (at + 8 <= text.size()) {
        std::uint64_t block;
        std::memcpy(&block, text.data() + at, 8);
        if (block & 0x8080808080808080ull) break;
        at += 8;
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) ++at;
    return at;
}


constexpr char32_t kEscapedByteBase = 0xDC00;   // U+DC80..U+DCFF: bytes 80..FF

// UTF-8 with surrogates to UTF-16; nothing when text holds anything else.
std::optional<std::u16string> ExactUtf16(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        char32_t point;
        if (!NextCodePoint(text, at, point, true)) return std::nullopt;
        AppendUtf16(units, point);
    }
    return units;
}

// Where the next line begins: after LF, CR LF or a lone CR.
std::size_t NextLineStart(std::string_view text, std::size_t at) {
    const char* end = FindLineEnd(text.data() + at, text.data() + text.size());
    return PastLineEnd(text, static_cast<std::size_t>(end - text.data()));
}

// The code page's reading of bytes, when writing it back gives the same bytes.
std::optional<std::string> ReadExactly(std::string_view bytes, const CodePage& ansi) {
    std::optional<std::u16string> units = ansi.Read(bytes);
    if (!units) return std::nullopt;
    std::optional<std::string> back = ansi.Write(*units);
    if (!back || *back != bytes) return std::nullopt;
    std::string text = Utf16ToUtf8(*units);
    // A reading that needs the escape form itself could not be told from it.
    if (!IsValidUtf8(text)) return std::nullopt;
    return text;
}

void AppendEscaped(std::string& text, unsigned char byte) { AppendUtf8(text, kEscapedByteBase + byte); }

// UTF-8 bytes as text: valid characters as they are, any other byte kept as
// its escape.
std::string DecodeUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t start = at;
        char32_t point;
        if (NextCodePoint(bytes, at, point, false))
            text.append(bytes.substr(start, at - start));
        else
            AppendEscaped(text, static_cast<unsigned char>(bytes[start]));
    }
    return text;
}

std::string DecodeAnsi(std::string_view bytes, const CodePage& ansi) {
    if (std::optional<std::string> whole = ReadExactly(bytes, ansi)) return *whole;
    // Some line is not read back unchanged: such lines keep their bytes.
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t next = NextLineStart(bytes, at);
        const std::string_view line = bytes.substr(at, next - at);
        if (std::optional<std::string> read = ReadExactly(line, ansi)) {
            text += *read;
        } else {
            for (char c : line) {
                if (static_cast<unsigned char>(c) < 0x80)
                    text += c;
                else
                    AppendEscaped(text, static_cast<unsigned char>(c));
            }
        }
        at = next;
    }
    return text;
}

// Text back into bytes: each escape gives back its byte, and the runs between
// them go through write; nothing when write refuses a run.
template <typename WriteRun>
std::optional<std::string> Unescape(std::string_view text, WriteRun write) {
    std::string bytes;
    bytes.reserve(text.size());
    std::size_t runStart = 0;
    auto flush = [&](std::size_t end) {
        if (end == runStart) return true;
        std::optional<std::string> written = write(text.substr(runStart, end - runStart));
        if (!written) return false;
        bytes += *written;
        return true;
    };
    // Escapes stand out as ED B2 xx or ED B3 xx.
    for (std::size_t at = text.find('\xED'); at != std::string_view::npos; at = text.find('\xED', at + 1)) {
        if (at + 2 >= text.size()) break;
        const unsigned char second = static_cast<unsigned char>(text[at + 1]);
        if ((second != 0xB2 && second != 0xB3) || !IsContinuation(static_cast<unsigned char>(text[at + 2])))
            continue;
        if (!flush(at)) return std::nullopt;
        const char32_t point = 0xD000 | ((second & 0x3F) << 6) | (text[at + 2] & 0x3F);
        bytes += static_cast<char>(point - kEscapedByteBase);
        runStart = at + 3;
        at += 2;
    }
    if (!flush(text.size())) return std::nullopt;
    return bytes;
}

std::optional<std::string> EncodeAnsi(std::string_view text, const CodePage& ansi) {
    return Unescape(text, [&](std::string_view run) -> std::optional<std::string> {
        std::optional<std::u16string> units = ExactUtf16(run);
        if (!units) return std::nullopt;
        return ansi.Write(*units);
    });
}

std::optional<std::string> EncodeUtf8(std::string_view text) {
    // Text without escapes is its own bytes.
    if (IsValidUtf8(text)) return std::string(text);
    return Unescape(text, [](std::string_view run) -> std::optional<std::string> {
        // Between the escapes only characters: a surrogate cannot be written in UTF-8.
        if (!IsValidUtf8(run)) return std::nullopt;
        return std::string(run);
    });
}

// Runs of ASCII, the bulk of most files, go through UTF-16 a block at a time
// (eight units with SSE2, one at a time elsewhere).
std::uint16_t UnitAt(const unsigned char* p, bool little) {
    return static_cast<std::uint16_t>(little ? (p[1] << 8 | p[0]) : (p[0] << 8 | p[1]));
}

// How many units from p on (of count) are ASCII before the first that is not.
std::size_t AsciiUnits(const unsigned char* p, std::size_t count, bool little) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80)), zero = _mm_setzero_si128();
    for (; i + 8 <= count; i += 8) {
        __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * i));
        if (!little) units = _mm_or_si128(_mm_slli_epi16(units, 8), _mm_srli_epi16(units, 8));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, high), zero)) != 0xFFFF) break;
    }
#endif
    while (i < count && UnitAt(p + 2 * i, little) < 0x80) ++i;
    return i;
}

// The bytes of n ASCII units from p.
void NarrowAsciiUnits(const unsigned char* p, std::size_t n, bool little, char* out) {
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * i));
        if (!little) units = _mm_or_si128(_mm_slli_epi16(units, 8), _mm_srli_epi16(units, 8));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(units, units));
    }
#endif
    for (; i < n; ++i) out[i] = static_cast<char>(p[2 * i + (little ? 0 : 1)]);
}

// The units of n ASCII bytes.
void WidenAscii(const char* text, std::size_t n, bool little, char* out) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        __m128i* to = reinterpret_cast<__m128i*>(out + 2 * i);
        _mm_storeu_si128(to, little ? _mm_unpacklo_epi8(bytes, zero) : _mm_unpacklo_epi8(zero, bytes));
        _mm_storeu_si128(to + 1, little ? _mm_unpackhi_epi8(bytes, zero) : _mm_unpackhi_epi8(zero, bytes));
    }
#endif
    for (; i < n; ++i) {
        out[2 * i + (little ? 0 : 1)] = text[i];
        out[2 * i + (little ? 1 : 0)] = '\0';
    }
}

}  // namespace

std::string DecodeUtf16Body(std::string_view body, bool little) {
    const auto* p = reinterpret_cast<const unsigned char*>(body.data());
    const std::size_t count = body.size() / 2;
    auto unit = [&](std::size_t i) -> char32_t { return UnitAt(p + 2 * i, little); };
    auto paired = [&](std::size_t i) {
        const char32_t high = unit(i);
        return high >= 0xD800 && high <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF;
    };
    std::size_t length = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t run = AsciiUnits(p + 2 * i, count - i, little);
        length += run;
        i += run;
        if (i >= count) break;
        const char32_t u = unit(i);
        if (u < 0x800) length += 2;
        else if (paired(i)) length += 4, ++i;
        else length += 3;
    }
    std::string text(length, '\0');
    char* out = &text[0];
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t run = AsciiUnits(p + 2 * i, count - i, little);
        NarrowAsciiUnits(p + 2 * i, run, little, out);
        out += run;
        i += run;
        if (i >= count) break;
        char32_t u = unit(i);
        if (paired(i)) {
            u = 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        }
        if (u < 0x800) {
            *out++ = static_cast<char>(0xC0 | (u >> 6));
        } else if (u < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (u >> 12));
            *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (u >> 18));
            *out++ = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        }
        *out++ = static_cast<char>(0x80 | (u & 0x3F));
    }
    return text;
}

namespace {

// The text as a UTF-16 file's body; nothing when it holds anything but
// characters and surrogates. Two passes, as above.
std::optional<std::string> EncodeUtf16(std::string_view text, bool little) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t run = AsciiPrefix(text.substr(at));
        units += run;
        at += run;
        if (at >= text.size()) break;
        char32_t point;
        if (!NextCodePoint(text, at, point, true)) return std::nullopt;
        units += point >= 0x10000 ? 2 : 1;
    }
    std::string bytes(2 * units, '\0');
    char* out = &bytes[0];
    auto put = [&](char32_t unit) {
        *out++ = static_cast<char>(little ? unit & 0xFF : unit >> 8);
        *out++ = static_cast<char>(little ? unit >> 8 : unit & 0xFF);
    };
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t run = AsciiPrefix(text.substr(at));
        WidenAscii(text.data() + at, run, little, out);
        out += 2 * run;
        at += run;
        if (at >= text.size()) break;
        char32_t point;
        NextCodePoint(text, at, point, true);
        if (point < 0x10000) {
            put(point);
        } else {
            point -= 0x10000;
            put(0xD800 | (point >> 10));
            put(0xDC00 | (point & 0x3FF));
        }
    }
    return bytes;
}

}  // namespace


bool IsAscii(std::string_view text) { return AsciiPrefix(text) == text.size(); }

namespace {

// The encoding, and whether the bytes are the text as they stand (a file
// without a mark of ASCII, or of valid UTF-8): found in one pass.
struct Found {
    Encoding encoding;
    bool bytesAreText;
};

Found Detect(std::string_view bytes) {
    const Encoding marked = EncodingByMark(bytes);
    if (marked != Encoding::Ansi) return {marked, false};
    // Without a mark the platform reads a file in the ANSI code page: a plain
    // ASCII file is one, and what is typed into it must be written so.
    const std::size_t ascii = AsciiPrefix(bytes);
    if (ascii == bytes.size()) return {Encoding::Ansi, true};
    if (IsValidUtf8(bytes.substr(ascii))) return {Encoding::Utf8, true};
    return {Encoding::Ansi, false};
}

}  // namespace

Encoding DetectEncoding(std::string_view bytes) { return Detect(bytes).encoding; }

Encoding EncodingByMark(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE") return Encoding::Utf16Le;
    if (bytes.substr(0, 2) == "\xFE\xFF") return Encoding::Utf16Be;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return Encoding::Utf8Bom;
    return Encoding::Ansi;
}

std::optional<Encoding> EncodingOfBytesThatAreText(std::string_view bytes) {
    const Found found = Detect(bytes);
    if (!found.bytesAreText) return std::nullopt;
    return found.encoding;
}

std::string EncodingName(Encoding encoding, const CodePage& ansi) {
    switch (encoding) {
    case Encoding::Ansi:    return ansi.Name();
    case Encoding::Utf8:    return "UTF-8";
    case Encoding::Utf8Bom: return "UTF-8 with BOM";
    case Encoding::Utf16Le: return "UTF-16 LE";
    case Encoding::Utf16Be: return "UTF-16 BE";
    }
    return "";
}

bool IsValidUtf8(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        at += AsciiPrefix(text.substr(at));
        if (at >= text.size()) break;
        char32_t point;
        if (!NextCodePoint(text, at, point, false)) return false;
    }
    return true;
}

FileText DecodeFile(std::string_view bytes, const CodePage& ansi) {
    const Found found = Detect(bytes);
    if (found.bytesAreText) return FileText{found.encoding, std::string(bytes), {}};
    return DecodeFile(bytes, found.encoding, ansi);
}

FileText DecodeFile(std::string_view bytes, Encoding encoding, const CodePage& ansi) {
    FileText file;
    file.encoding = encoding;
    switch (encoding) {
    case Encoding::Utf8:
        file.text = DecodeUtf8(bytes);
        break;
    case Encoding::Utf8Bom:
        file.text = DecodeUtf8(bytes.substr(bytes.size() < 3 ? bytes.size() : 3));
        break;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const std::string_view body = bytes.substr(bytes.size() < 2 ? bytes.size() : 2);
        file.text = DecodeUtf16Body(body, encoding == Encoding::Utf16Le);
        if (body.size() % 2) file.oddByte.assign(body.substr(body.size() - 1));
        break;
    }
    case Encoding::Ansi:
        // Every ANSI code page reads ASCII as ASCII.
        file.text = IsAscii(bytes) ? std::string(bytes) : DecodeAnsi(bytes, ansi);
        break;
    }
    return file;
}

FileText DecodeFile(std::string&& bytes, const CodePage& ansi) {
    const Found found = Detect(bytes);
    if (!found.bytesAreText) return DecodeFile(std::string_view(bytes), found.encoding, ansi);
    // Valid UTF-8, or ASCII in the ANSI code page: the bytes are the text.
    return FileText{found.encoding, std::move(bytes), {}};
}

std::optional<std::string> EncodeFile(FileText&& file, const CodePage& ansi) {
    if (file.encoding == Encoding::Utf8 && IsValidUtf8(file.text)) return std::move(file.text);
    if (file.encoding == Encoding::Ansi && IsAscii(file.text)) return std::move(file.text);
    return EncodeFile(static_cast<const FileText&>(file), ansi);
}

std::optional<std::string> EncodeFile(const FileText& file, const CodePage& ansi) {
    switch (file.encoding) {
    case Encoding::Utf8:
        return EncodeUtf8(file.text);
    case Encoding::Utf8Bom: {
        std::optional<std::string> bytes = EncodeUtf8(file.text);
        if (!bytes) return std::nullopt;
        return "\xEF\xBB\xBF" + *bytes;
    }
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const bool little = file.encoding == Encoding::Utf16Le;
        std::optional<std::string> body = EncodeUtf16(file.text, little);
        if (!body) return std::nullopt;
        return (little ? "\xFF\xFE" : "\xFE\xFF") + *body + file.oddByte;
    }
    case Encoding::Ansi:
        return EncodeAnsi(file.text, ansi);
    }
    return std::nullopt;
}

std::size_t LineOfFirstOddByte(std::string_view text) {
    std::size_t line = 1;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        char32_t point;
        if (!NextCodePoint(text, at, point, false)) return line;
        // CR LF is one line end; a lone CR or LF is one too.
        if (text[start] == '\n' && !(start > 0 && text[start - 1] == '\r')) ++line;
        if (text[start] == '\r') ++line;
    }
    return 0;
}

std::string FirstCharacterNotHeld(std::string_view text, Encoding encoding, const CodePage& ansi) {
    if (encoding != Encoding::Ansi) return "";
    if (EncodeAnsi(text, ansi)) return "";
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        char32_t point;
        NextCodePoint(text, at, point, false);
        const std::string_view character = text.substr(start, at - start);
        if (!EncodeAnsi(character, ansi)) return std::string(character);
    }
    return "";
}

std::string CodePointName(std::string_view character) {
    std::size_t at = 0;
    char32_t point = 0xFFFD;
    if (!character.empty() && !NextCodePoint(character, at, point, true)) point = 0xFFFD;
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(point));
    return name;
}

}  // namespace ini
