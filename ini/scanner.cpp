#include "ini/scanner.h"

#include <cstdint>
#include <cstring>

#include "ini/encoding.h"
#include "ini/line_ends.h"

namespace ini {

namespace {

bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// True when the eight bytes hold no line end and nothing but ASCII.
bool PlainAscii(const char* at) {
    std::uint64_t block;
    std::memcpy(&block, at, 8);
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    auto holds = [&](unsigned char c) {
        const std::uint64_t x = block ^ (kOnes * c);
        return ((x - kOnes) & ~x & kHighs) != 0;
    };
    return (block & kHighs) == 0 && !holds('\n') && !holds('\r');
}

}  // namespace

void IniText::OpenBytes(std::string_view text) {
    text_ = text;
    pos_ = 0;
    open_ = true;
}

void IniText::Close() {
    text_ = std::string_view();
    pos_ = 0;
    open_ = false;
}

bool IniText::NextPiece(std::string_view& piece, bool& ended, std::size_t limit) {
    if (!open_ || limit < 2 || pos_ >= text_.size()) return false;
    const std::size_t most = limit - 1;
    const char* data = text_.data();
    const std::size_t end = text_.size();
    const std::size_t lineEnd = static_cast<std::size_t>(FindLineEnd(data + pos_, data + end) - data);
    std::size_t at = lineEnd;
    // Fewer bytes than a piece holds characters: the whole line, its end
    // included. Otherwise characters are counted, and a piece ends before a
    // character, never inside one.
    if (lineEnd - pos_ >= most) {
        std::size_t characters = 0;
        for (at = pos_; at < lineEnd; ++at) {
            if (at + 8 <= lineEnd && characters + 8 <= most && PlainAscii(data + at)) {
                at += 7;
                characters += 8;
                continue;
            }
            if (StartsCharacter(data[at])) {
                if (characters == most) break;
                ++characters;
            }
        }
        // A piece of exactly the limit leaves its line end to the next read.
        if (at == lineEnd && at < end && characters == most) {
            piece = text_.substr(pos_, at - pos_);
            ended = false;
            pos_ = at;
            return true;
        }
    }
    piece = text_.substr(pos_, at - pos_);
    ended = at == lineEnd && at < end;
    // LF, CR LF and a lone CR all end a line.
    if (ended) at = PastLineEnd(text_, at);
    pos_ = at;
    return true;
}

bool IniText::ReadIniLine(std::string& line, std::size_t limit) {
    std::string_view piece;
    bool ended = false;
    if (!NextPiece(piece, ended, limit)) {
        line.clear();
        return false;
    }
    // The rest of the piece after a NUL byte, its newline included, is gone,
    // as it is from a C string.
    const std::size_t nul = piece.find('\0');
    line.assign(piece.substr(0, nul));
    // LF, CR LF and a lone CR come back as one newline.
    if (ended && nul == std::string_view::npos) line.push_back('\n');
    return true;
}

void StripLineEnd(std::string& line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
}

std::size_t SectionHeaderLength(std::string_view line) {
    std::size_t open;
    if (!line.empty() && line[0] == '[')
        open = 0;
    else if (line.size() > 1 && line[1] == '[')
        open = 1;
    else
        return 0;
    const std::size_t close = line.find(']', open + 1);
    return close == std::string_view::npos ? 0 : close + 1;
}

bool IsSectionHeader(std::string& line) {
    const std::size_t length = SectionHeaderLength(line);
    if (length == 0) return false;
    line.resize(length);
    return true;
}

int ListSectionHeaders(IniText& file, LineSink& sink) {
    if (!file.open_) return 0;
    int added = 0;
    // A header is a stretch of the text: the sink may keep the view.
    const auto addIfHeader = [&](std::string_view piece) {
        if (piece.empty() || (piece[0] != '[' && (piece.size() < 2 || piece[1] != '['))) return;
        const std::string_view line = piece.substr(0, piece.find('\0'));
        const std::size_t length = SectionHeaderLength(line);
        if (length == 0) return;
        sink.AddText(line.substr(0, length));
        ++added;
    };
    // A header piece starts with "[" or has one second: a search finds each
    // "[" (most lines have none and are passed at its speed), and only the
    // line holding one is cut into pieces as a read would cut it.
    const char* data = file.text_.data();
    const std::size_t end = file.text_.size(), most = kListLimit - 1;
    std::size_t from = file.pos_;   // a line's start
    while (from < end) {
        const std::size_t bracket = static_cast<std::size_t>(FindByte(data + from, data + end, '[') - data);
        if (bracket == end) break;
        std::size_t start = bracket;
        while (start > from && data[start - 1] != '\n' && data[start - 1] != '\r') --start;
        const std::size_t lineEnd = static_cast<std::size_t>(FindLineEnd(data + bracket, data + end) - data);
        if (lineEnd - start < most) {
            addIfHeader(file.text_.substr(start, lineEnd - start));
        } else {
            // A long line: every piece of it, as a read gives them.
            file.pos_ = start;
            std::string_view piece;
            bool ended = false;
            while (file.pos_ < lineEnd && file.NextPiece(piece, ended, kListLimit)) addIfHeader(piece);
        }
        from = lineEnd;
        from = PastLineEnd(file.text_, from);
    }
    file.pos_ = end;
    return added;
}

namespace {

char16_t UnitAt(const unsigned char* p, std::size_t i, bool little) {
    return static_cast<char16_t>(little ? (p[2 * i + 1] << 8 | p[2 * i]) : (p[2 * i] << 8 | p[2 * i + 1]));
}

// The first unit c in [from, count), or count: eight units at a time with SSE2.
std::size_t FindUnit(const unsigned char* p, std::size_t from, std::size_t count, char16_t c, bool little) {
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(little ? c : static_cast<char16_t>(c << 8 | c >> 8)));
    for (; i + 8 <= count; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * i));
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi16(units, wanted));
        if (found != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(found))) / 2;
    }
#endif
    while (i < count && UnitAt(p, i, little) != c) ++i;
    return i;
}

}  // namespace

void KeepHeaderLinesUtf16(std::string_view body, bool little, std::string& kept) {
    const auto* p = reinterpret_cast<const unsigned char*>(body.data());
    const std::size_t count = body.size() / 2, most = kListLimit - 1;
    const auto unit = [&](std::size_t i) { return UnitAt(p, i, little); };
    std::size_t from = 0;   // a line's start
    while (from < count) {
        const std::size_t bracket = FindUnit(p, from, count, u'[', little);
        if (bracket == count) break;
        std::size_t start = bracket;
        while (start > from && unit(start - 1) != u'\n' && unit(start - 1) != u'\r') --start;
        std::size_t lineEnd = bracket;
        while (lineEnd < count && unit(lineEnd) != u'\n' && unit(lineEnd) != u'\r') ++lineEnd;
        // Only a line whose first or (after an ASCII first) second character
        // is the "[" can be a header, unless it is longer than a piece; such
        // lines are read as a read of their text reads them.
        const bool mayBeHeader = unit(start) == u'[' ||
                                 (start + 1 < lineEnd && unit(start) < 0x80 && unit(start + 1) == u'[');
        if (mayBeHeader || lineEnd - start >= most) {
            kept += DecodeUtf16Body(body.substr(2 * start, 2 * (lineEnd - start)), little);
            kept += '\n';
        }
        from = lineEnd;
        if (from < count) from += (unit(from) == u'\r' && from + 1 < count && unit(from + 1) == u'\n') ? 2 : 1;
    }
}

bool FindSection(IniText& file, std::string_view header, std::size_t seekLimit) {
    std::string line;
    while (file.ReadIniLine(line, seekLimit)) {
        if (std::string_view(line).substr(0, header.size()) == header) return true;
    }
    return false;
}

int ReadSectionBody(IniText& file, LineSink& sink) {
    int added = 0;
    std::string line;
    while (file.ReadIniLine(line, kListLimit)) {
        StripLineEnd(line);
        if (line.empty()) continue;
        // Only a bracket in the first column ends the section; " [x]" is body text.
        if (line[0] == '[') break;
        sink.Add(line);
        ++added;
    }
    return added;
}

int ReadWholeFile(IniText& file, LineSink& sink) {
    int added = 0;
    std::string line;
    while (file.ReadIniLine(line, kListLimit)) {
        StripLineEnd(line);
        sink.Add(line);
        ++added;
    }
    return added;
}

}  // namespace ini
